#pragma once
// The main data module: the program's one database connection and the shared
// queries through which every statement on the alert tables and the options
// row runs. Every query of the program finds the connection by the database
// name "Dornwickdbms".
//
// The built statements go into CommonSql (a lookup leaves it open for the
// caller to read by field name); CommonSql2 serves the source and value reads
// of a setting, CommonSql3 the recipients of an alert id and the date-driven
// checks. Each statement replaces the text of its query, so a caller reads
// what a lookup left before the next statement on the same query.
#include "alert/store/AlertSetting.h"
#include "alert/store/AlertTransaction.h"
#include "alert/store/ShopOptions.h"
#include "alert/store/UnitConversion.h"
#include "platform/classes/Component.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

class TDatabase;
class TDataSet;
class TDataSource;
class TDateTimeField;
class TIntegerField;
class TQuery;
class TSmallintField;
class TStringField;

class TMainDmod : public TComponent {
public:
    // Builds the components and tries the connection; a failed connection is
    // no failure here (the next statement tries again and reports it).
    explicit TMainDmod(TComponent* AOwner);
    AnsiString ClassName() const override { return "TMainDmod"; }

    // Closes and reopens the connection: 1 when connected, -99 when the
    // database could not be reached.
    int ConnectDatabase();

    // OnCalcFields of ActiveUsersQ: ShowTimeOn from TimeOn.
    void ActiveUsersQCalcFields(TDataSet* DataSet);

    // --- The options row ------------------------------------------------
    // Fills Options from the options row (TokenKey 1) and the user defaults.
    // A missing options row raises; a NULL where a value is required raises
    // the variant conversion error, the members read before it keeping their
    // new values.
    void LoadOptions(ShopOptions& Options);
    // The writers set their columns in every row of DORNWICK_OPTIONS.
    void TurnAlertsOn();
    void TurnAlertsOff();
    void SaveProcessTime(int Hour, int Minute, int AmPm);
    void SaveSmtpSettings(const AnsiString& Server, int Encryption, int Port,
                          const AnsiString& Account, const AnsiString& Password, int EmailType);
    void SetEmailTypeSmtp();
    void SetEmailTypeOff();

    // --- Alert settings and recipients ------------------------------------
    // Loads the employee's setting for the alert id with its sources and
    // values; false, Setting untouched, when there is none.
    bool LoadAlertSetting(int AlertId, int EmpNbr, AlertSetting& Setting);
    // Appends one setting per recipient of the alert id (employees whose
    // alerts are not halted and whose logon receives alerts).
    void LoadAlertSettings(int AlertId, std::vector<AlertSetting>& Result);
    // The same with the recipients as LoadAlertRecipients read them: one
    // read of them serves the settings of every alert id a batch loads.
    void LoadAlertSettings(int AlertId, const AlertRecipients& Recipients,
                           std::vector<AlertSetting>& Result);
    void LoadAlertRecipients(AlertRecipients& Recipients);
    // Every alert id's settings in one read of each table: for each alert id
    // with a setting, the list LoadAlertSettings gives it. An alert id whose
    // settings raise when loaded is left out.
    void LoadAllAlertSettings(const AlertRecipients& Recipients,
                              std::map<std::int32_t, std::vector<AlertSetting>>& Result);
    // The next identity of ALERT_SETTING and its row count: a change in
    // either means settings were added, removed or replaced.
    void GetAlertSettingMarkers(int& Identity, int& Count);

    // --- Alert history ----------------------------------------------------
    void InsertAlertHistory(const AlertTransaction& Alert);
    // The employee this employee's alerts are forwarded to; 0 for none.
    int GetForwardToEmpNbr(int EmpNbr);
    // Leaves CommonSql open on the alerts a run of the class e-mails, by
    // recipient; a class other than 1, 3, 4 or 5 raises.
    void OpenAlertsToEmail(std::uint8_t RunClass);
    // Marks the alerts of the class sent; another class does nothing. The
    // alerts of the recipients in KeepDue stay due: their message did not
    // reach the server, so the next run of their class sends them.
    void MarkAlertsSent(std::uint8_t RunClass, const std::vector<std::int32_t>& KeepDue = {});
    // Marks the recipient's alerts of the class sent, in a transaction of
    // its own, as soon as the server has taken the recipient's message: a
    // run cut off after it does not send them again.
    void MarkRecipientAlertsSent(std::uint8_t RunClass, std::int32_t RecipientNbr);
    // Deletes each recipient's alerts older than the recipient's purge age.
    void PurgeAlertHistory();
    void DeleteAlertTransaction(int AlertTransToken);

    // --- Threshold snapshots ------------------------------------------------
    // Brings the five snapshot tables up to the live figures.
    void RefreshAlertThresholds();
    // Each leaves CommonSql open on the snapshot row (or on nothing).
    void SelectJobThreshold(int JobNbr);
    void SelectJobItemThreshold(int JobItemNbr);
    void SelectWoThreshold(int WoNbr);
    void SelectWoDeptThreshold(int WoNbr, int DeptRef);
    void SelectProductThreshold(int WoProductNbr);

    // --- Unit conversion ----------------------------------------------------
    // Loads the conversion row of Record.VelmUomRef; false when there is none.
    bool LoadUnitConversion(UnitConversion& Record);

    // Components, owned by the module.
    TDatabase* MyDatabase = nullptr;
    TQuery* CommonSql = nullptr;
    TQuery* UserLogonQ = nullptr;
    TSmallintField* UserLogonQUSERID = nullptr;
    TStringField* UserLogonQNAME = nullptr;
    TIntegerField* UserLogonQDORN_USER = nullptr;
    TDataSource* DsUserLogon = nullptr;
    TDataSource* DsActiveUsers = nullptr;
    TQuery* ActiveUsersQ = nullptr;
    TStringField* StringField1 = nullptr;
    TStringField* ActiveUsersQFname = nullptr;
    TStringField* ActiveUsersQLname = nullptr;
    TStringField* ActiveUsersQShowTimeOn = nullptr;
    TIntegerField* ActiveUsersQVElmCount = nullptr;
    TIntegerField* ActiveUsersQDOrnCount = nullptr;
    TDateTimeField* ActiveUsersQTimeOn = nullptr;
    TSmallintField* SmallintField1 = nullptr;
    TIntegerField* IntegerField1 = nullptr;
    TQuery* PcProfileListQ = nullptr;
    TIntegerField* PcProfileListQPcToken = nullptr;
    TStringField* PcProfileListQDescr = nullptr;
    TDataSource* DsPcProfileList = nullptr;
    TQuery* CommonSql2 = nullptr;
    TQuery* CommonSql3 = nullptr;
    TQuery* AlertTransactionsQ = nullptr;
    // The history insert and the forwarding lookup, run for every alert:
    // each on a query of its own, which keeps its compiled statement.
    TQuery* HistorySql = nullptr;
    TQuery* ForwardSql = nullptr;
    TQuery* MDCProfileListQ = nullptr;
    TStringField* MDCProfileListQName = nullptr;
    TIntegerField* MDCProfileListQProfileNbr = nullptr;
    TDataSource* DsMDCProfileList = nullptr;

private:
    void CreateComponents();
};

// Gives Query the statement and runs it (ExecStatement) or opens it
// (OpenStatement); the query is closed first. SetStatementText only gives it:
// the caller sets the parameters. A query that has the statement already
// keeps it, with its parameters' values.
void SetStatementText(TQuery& Query, const AnsiString& Sql);
void ExecStatement(TQuery& Query, const AnsiString& Sql);
void OpenStatement(TQuery& Query, const AnsiString& Sql);
// The rows Table holds, counted on Query: the size of a list about to take
// them, made once instead of grown by doubling (which touches twice the
// memory, every page new to the process a fault).
std::size_t CountRows(TQuery& Query, const AnsiString& Table);
