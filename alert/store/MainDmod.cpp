#include "alert/store/MainDmod.h"

#include "datamodules/format/DateSettings.h"
#include "datamodules/format/DateText.h"
#include "platform/data/DBExceptions.h"
#include "platform/data/DataSource.h"
#include "platform/data/Database.h"
#include "platform/data/Query.h"
#include "platform/data/StdFields.h"
#include "platform/rtl/DateTimeFormat.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr const char* DatabaseName = "Dornwickdbms";

TQuery* NewQuery(TComponent* Owner, const char* Name, std::initializer_list<const char*> Lines) {
    auto* query = new TQuery(Owner);
    query->SetName(Name);
    query->SetDatabaseName(DatabaseName);
    for (const char* line : Lines)
        query->SQL()->Add(line);
    return query;
}

TDataSource* NewDataSource(TComponent* Owner, const char* Name, TDataSet* DataSet) {
    auto* source = new TDataSource(Owner);
    source->SetName(Name);
    source->SetDataSet(DataSet);
    return source;
}

// A persistent field: its name, column, label and width as the module shows them.
struct FieldLook {
    const char* Label = nullptr;
    int Width = 0;
    bool Visible = true;
};

template <class Field, class... Size>
Field* NewField(TComponent* Owner, TDataSet* DataSet, const char* Name, const char* Column,
                FieldLook Look, Size... size) {
    auto* field = new Field(Owner, size...);
    field->SetName(Name);
    field->SetFieldName(Column);
    if (Look.Label) field->SetDisplayLabel(Look.Label);
    if (Look.Width > 0) field->SetDisplayWidth(Look.Width);
    field->SetVisible(Look.Visible);
    field->SetDataSet(DataSet);
    return field;
}

} // namespace

void SetStatementText(TQuery& Query, const AnsiString& Sql) {
    Query.Close();
    TStringList& lines = *Query.SQL();
    // The same statement again keeps its compiled form and parameters.
    if (lines.Count() == 1 && lines.Strings(0) == Sql) return;
    lines.BeginUpdate();
    lines.Clear();
    lines.Add(Sql);
    lines.EndUpdate();
}

void ExecStatement(TQuery& Query, const AnsiString& Sql) {
    SetStatementText(Query, Sql);
    Query.ExecSQL();
}

void OpenStatement(TQuery& Query, const AnsiString& Sql) {
    SetStatementText(Query, Sql);
    Query.Open();
}

std::size_t CountRows(TQuery& Query, const AnsiString& Table) {
    SetStatementText(Query, "Select count(*) From " + Table + " ");
    std::int64_t count = 0;
    Query.ReadRows([&](const TRowReader& Row) { count = Row.AsInt64(0); });
    return static_cast<std::size_t>(std::max<std::int64_t>(count, 0));
}

TMainDmod::TMainDmod(TComponent* AOwner) : TComponent(AOwner) {
    SetName("MainDmod");
    CreateComponents();
    ConnectDatabase();
}

void TMainDmod::CreateComponents() {
    MyDatabase = new TDatabase(this);
    MyDatabase->SetName("MyDatabase");
    MyDatabase->SetAliasName("Pellworth11");
    MyDatabase->SetDatabaseName(DatabaseName);
    MyDatabase->SetLoginPrompt(false);
    MyDatabase->SetSessionName("Default");
    for (const char* param :
         {"BLOBS TO CACHE=1024", "BLOB SIZE=256", "SHAREDMEMLOCATION=7000", "SHAREDMEMSIZE=4096"})
        MyDatabase->Params()->Add(param);

    CommonSql = NewQuery(this, "CommonSql", {});

    UserLogonQ = NewQuery(
        this, "UserLogonQ",
        {"Select USERID, NAME,DORN_USER", "from USER_LOGON", "where USERID >= 0", "order by NAME"});
    UserLogonQUSERID = NewField<TSmallintField>(this, UserLogonQ, "UserLogonQUSERID", "USERID",
                                                {nullptr, 0, false});
    UserLogonQNAME =
        NewField<TStringField>(this, UserLogonQ, "UserLogonQNAME", "NAME", {"User Id"}, 10);
    UserLogonQDORN_USER = NewField<TIntegerField>(this, UserLogonQ, "UserLogonQDORN_USER",
                                                  "DORN_USER", {nullptr, 0, false});
    DsUserLogon = NewDataSource(this, "DsUserLogon", UserLogonQ);

    ActiveUsersQ =
        NewQuery(this, "ActiveUsersQ",
                 {"Select CU.UserId, TimeOn, VElmCount, DOrnCount, NAME,",
                  "Fname, Lname, DORN_USER ", "from CURRENT_USERS CU, USER_LOGON U, EMPLOYEE E",
                  "where CU.UserId = U.USERID", "and U.DORN_USER = E.EmpNbr ", "order by TimeOn"});
    DsActiveUsers = NewDataSource(this, "DsActiveUsers", ActiveUsersQ);
    StringField1 =
        NewField<TStringField>(this, ActiveUsersQ, "StringField1", "NAME", {"User Id", 9}, 10);
    ActiveUsersQFname = NewField<TStringField>(this, ActiveUsersQ, "ActiveUsersQFname", "Fname",
                                               {"First Name", 10}, 15);
    ActiveUsersQLname = NewField<TStringField>(this, ActiveUsersQ, "ActiveUsersQLname", "Lname",
                                               {"Last Name", 16}, 22);
    ActiveUsersQShowTimeOn = NewField<TStringField>(this, ActiveUsersQ, "ActiveUsersQShowTimeOn",
                                                    "ShowTimeOn", {"Time Logged On", 20}, 20);
    ActiveUsersQShowTimeOn->SetFieldKind(fkCalculated);
    ActiveUsersQVElmCount = NewField<TIntegerField>(this, ActiveUsersQ, "ActiveUsersQVElmCount",
                                                    "VElmCount", {"VElm", 5});
    ActiveUsersQDOrnCount = NewField<TIntegerField>(this, ActiveUsersQ, "ActiveUsersQDOrnCount",
                                                    "DOrnCount", {"DOrn", 5});
    ActiveUsersQTimeOn = NewField<TDateTimeField>(this, ActiveUsersQ, "ActiveUsersQTimeOn",
                                                  "TimeOn", {"Time Logged On", 21, false});
    SmallintField1 = NewField<TSmallintField>(this, ActiveUsersQ, "SmallintField1", "USERID",
                                              {nullptr, 0, false});
    IntegerField1 = NewField<TIntegerField>(this, ActiveUsersQ, "IntegerField1", "DORN_USER",
                                            {nullptr, 0, false});
    ActiveUsersQ->OnCalcFields = [this](TDataSet* DataSet) { ActiveUsersQCalcFields(DataSet); };

    PcProfileListQ =
        NewQuery(this, "PcProfileListQ",
                 {"select Descr, PcToken ", "from PC_DATA_COLLECTION_SETUP ", "order by Descr"});
    PcProfileListQPcToken =
        NewField<TIntegerField>(this, PcProfileListQ, "PcProfileListQPcToken", "PcToken", {});
    PcProfileListQDescr =
        NewField<TStringField>(this, PcProfileListQ, "PcProfileListQDescr", "Descr", {}, 30);
    DsPcProfileList = NewDataSource(this, "DsPcProfileList", PcProfileListQ);

    CommonSql2 = NewQuery(this, "CommonSql2", {});
    CommonSql3 = NewQuery(this, "CommonSql3", {});
    AlertTransactionsQ = NewQuery(this, "AlertTransactionsQ", {});
    HistorySql = NewQuery(this, "HistorySql", {});
    ForwardSql = NewQuery(this, "ForwardSql", {});

    MDCProfileListQ = NewQuery(this, "MDCProfileListQ",
                               {"select Name, ProfileNbr  ", "from MDC_PROFILE ", "order by Name"});
    MDCProfileListQName =
        NewField<TStringField>(this, MDCProfileListQ, "MDCProfileListQName", "Name", {}, 30);
    MDCProfileListQProfileNbr = NewField<TIntegerField>(
        this, MDCProfileListQ, "MDCProfileListQProfileNbr", "ProfileNbr", {});
    DsMDCProfileList = NewDataSource(this, "DsMDCProfileList", MDCProfileListQ);
}

int TMainDmod::ConnectDatabase() {
    MyDatabase->SetConnected(false);
    try {
        MyDatabase->SetConnected(true);
    } catch (const Exception&) {
        // Not reachable now: the first statement that needs the database
        // tries again and reports why it failed.
        return -99;
    }
    return 1;
}

void TMainDmod::ActiveUsersQCalcFields(TDataSet* DataSet) {
    TField* timeOnField = DataSet->FieldByName("TimeOn");
    // A user without a logon time shows none rather than failing every
    // display of the list.
    if (timeOnField->IsNull()) return;
    TDateTime timeOn;
    {
        // TimeOn is stored in the statement form, whatever the settings say.
        ForceDateTimeSettings();
        TSlashDateSeparator slashes;
        timeOn = StrToDateTime(timeOnField->AsString());
    }
    AnsiString text;
    FormatDateByCode(timeOn, text, 9);
    ActiveUsersQShowTimeOn->SetAsString(text);
}
