-- Shop database schema for SQLite (3.40 or later):
--     sqlite3 shop.db < db/schema.sql
-- Creates every table the alert program and its data modules read or write,
-- empty but for the seed rows at the end that any shop database needs.
--
--  * Declared types choose the field class the data layer builds: INTEGER,
--    SMALLINT, DOUBLE/REAL, VARCHAR(n) (text of size n), LONG VARCHAR (memo),
--    DATE, TIMESTAMP. SQLite ignores the sizes; the data layer does not.
--  * Dates are text 'yyyy/mm/dd', date-times 'yyyy/mm/dd hh:mm:ss', the form
--    the program writes into its statements. Text order is time order, so =,
--    <, BETWEEN and ORDER BY compare them correctly.
--  * Text columns are COLLATE NOCASE: the shop product's own server compares
--    text without case and its statements rely on that. Codes the program
--    compares exactly (unit operators, rounding words, PO destinations) keep
--    BINARY.
--  * Numbers the database hands out are INTEGER PRIMARY KEY AUTOINCREMENT, so
--    sqlite_sequence can answer get_identity().
--  * A column that a statement names without a table prefix lives in only one
--    of the tables it joins (Seq and Name only in DEPT, JobId and JobDescr only
--    in JOBS, ItemNbr and JobItemDescr only in JOB_ITEM, ...): SQLite rejects an
--    ambiguous name.

PRAGMA foreign_keys = OFF;

BEGIN;

-- The options row (TokenKey = 1), read on every timer tick, columns in the
-- order the program's options record keeps them. Every column has a non-NULL
-- default because the load treats NULL in most of them as an error: a row
-- inserted with its key alone loads cleanly.
CREATE TABLE DORNWICK_OPTIONS (
    TokenKey                        INTEGER PRIMARY KEY,
    DBMS_Level                      VARCHAR(255) COLLATE NOCASE DEFAULT '',
    ConvWorkGrp                     INTEGER DEFAULT 0,
    ShipItemUomConvInd              DOUBLE DEFAULT 0,
    ConvProductQtyOverride          DOUBLE DEFAULT 0,
    JobStatusNbr                    INTEGER DEFAULT 0,
    JobTypeNbr                      INTEGER DEFAULT 0,
    ItemTypeNbr                     INTEGER DEFAULT 0,
    WorkOrdTypeNbr                  INTEGER DEFAULT 0,
    SelfIncrJobId                   INTEGER DEFAULT 0,
    WoSignoffNeeded                 INTEGER DEFAULT 0,
    WoCustLabel1                    VARCHAR(255) COLLATE NOCASE DEFAULT '',
    WoCustLabel2                    VARCHAR(255) COLLATE NOCASE DEFAULT '',
    WoCustLabel3                    VARCHAR(255) COLLATE NOCASE DEFAULT '',
    WoCustLabel4                    VARCHAR(255) COLLATE NOCASE DEFAULT '',
    WoCustLabel5                    VARCHAR(255) COLLATE NOCASE DEFAULT '',
    WoCustLabel6                    VARCHAR(255) COLLATE NOCASE DEFAULT '',
    WoCustLabel7                    VARCHAR(255) COLLATE NOCASE DEFAULT '',
    WoCustLabel8                    VARCHAR(255) COLLATE NOCASE DEFAULT '',
    WoCustLabel9                    VARCHAR(255) COLLATE NOCASE DEFAULT '',
    WoCustLabel10                   VARCHAR(255) COLLATE NOCASE DEFAULT '',
    ItemLabelQty                    INTEGER DEFAULT 0,
    WoLabelQty                      INTEGER DEFAULT 0,
    MatPoBuilderFlag                INTEGER DEFAULT 0,
    WoProductOnWo                   INTEGER DEFAULT 0,
    WoProductOnShipTicket           INTEGER DEFAULT 0,
    ActFinChgLevel                  INTEGER DEFAULT 0,
    PriceMaintenance                INTEGER DEFAULT 0,
    ContactListInd                  INTEGER DEFAULT 0,
    NewJobStuffTaxable              INTEGER DEFAULT 0,
    BarCodeProdLabels               INTEGER DEFAULT 0,
    IncludeVelmCustCols             INTEGER DEFAULT 0,
    TaxType                         INTEGER DEFAULT 0,
    GLaccntRequiredField            INTEGER DEFAULT 0,
    WoBillableDefault               INTEGER DEFAULT 0,
    WoMatMaintLevel                 INTEGER DEFAULT 0,
    WoLaborMaintLevel               INTEGER DEFAULT 0,
    PostShipDeptNbr                 INTEGER DEFAULT 0,
    WoStatusMassChgCtrlInd          INTEGER DEFAULT 0,
    WoMatInvUomConvInd              INTEGER DEFAULT 0,
    ConvJobItem                     INTEGER DEFAULT 0,
    ConvWorkOrder                   INTEGER DEFAULT 0,
    ConvSubConPo                    INTEGER DEFAULT 0,
    ConvWoItems                     INTEGER DEFAULT 0,
    AvgLaborCost                    DOUBLE DEFAULT 0,
    LaborPercent                    REAL DEFAULT 0,
    ConvDeptEst                     INTEGER DEFAULT 0,
    ConvNotes                       INTEGER DEFAULT 0,
    ConvBuyPo                       INTEGER DEFAULT 0,
    ConvSalesTax                    INTEGER DEFAULT 0,
    ConvPoBuilderFlag               INTEGER DEFAULT 0,
    ConvSetMatQtyToVelmQtyFlag      INTEGER DEFAULT 0,
    ConvBuildProductRows            INTEGER DEFAULT 0,
    ConvOnlyJobStuff                INTEGER DEFAULT 0,
    ConvEndGrpNotes                 INTEGER DEFAULT 0,
    ConvAddUseTax                   INTEGER DEFAULT 0,
    ConvLaborWo                     INTEGER DEFAULT 0,
    ConvMatWo                       INTEGER DEFAULT 0,
    ConvUseCustColsForItems         INTEGER DEFAULT 0,
    ConvProdLabelWoShipFlagSetting  INTEGER DEFAULT 0,
    ConvFillProductLocInd           INTEGER DEFAULT 0,
    ConvFillMatLocInd               INTEGER DEFAULT 0,
    ConvQualifyNames                INTEGER DEFAULT 0,
    ConvScope                       INTEGER DEFAULT 0,
    ConvProductCodeForWo            INTEGER DEFAULT 0,
    ConvProductCodeForJobItem       INTEGER DEFAULT 0,
    ConvProductNotes                INTEGER DEFAULT 0,
    ConvCommentsForInstructions     INTEGER DEFAULT 0,
    ConvJobSpecCatForInstruc        INTEGER DEFAULT 0,
    ConvJobSpecSubCatForInstruc     INTEGER DEFAULT 0,
    ConvEngOnlyWorkOrder            INTEGER DEFAULT 0,
    ConvDelOnlyWorkOrder            INTEGER DEFAULT 0,
    ConvInstallOnlyWorkOrder        INTEGER DEFAULT 0,
    ConvPmOnlyWorkOrder             INTEGER DEFAULT 0,
    POShipToAddrRef                 INTEGER DEFAULT 0,
    POShipToPub                     VARCHAR(255) COLLATE NOCASE DEFAULT '',
    POLineDest                      VARCHAR(255) COLLATE NOCASE DEFAULT '',
    POType                          VARCHAR(255) COLLATE NOCASE DEFAULT '',
    PoTaxInd                        VARCHAR(255) COLLATE NOCASE DEFAULT '',
    PoTaxRate                       REAL DEFAULT 0,
    PoAutoCloseInd                  INTEGER DEFAULT 0,
    PoAutoChangeStatusNbr           INTEGER DEFAULT 0,
    PoPrefix                        VARCHAR(255) COLLATE NOCASE DEFAULT '',
    PoSuffix                        VARCHAR(255) COLLATE NOCASE DEFAULT '',
    PoUpdtVelm                      INTEGER DEFAULT 0,
    PoLabelJob                      INTEGER DEFAULT 0,
    PoLabelReserve                  INTEGER DEFAULT 0,
    PoLabelStock                    INTEGER DEFAULT 0,
    PoDirMatJobCosting              INTEGER DEFAULT 0,
    PoFreightTax                    INTEGER DEFAULT 0,
    QuoteReqAutoDelete              INTEGER DEFAULT 0,
    ConvUserLine1                   INTEGER DEFAULT 0,
    ConvUserLine2                   INTEGER DEFAULT 0,
    ConvUserLine3                   INTEGER DEFAULT 0,
    ConvUserLine4                   INTEGER DEFAULT 0,
    ConvUserLine5                   INTEGER DEFAULT 0,
    ConvAddOn                       INTEGER DEFAULT 0,
    ConvItem                        INTEGER DEFAULT 0,
    ConvEquip                       INTEGER DEFAULT 0,
    OverheadHrlyRate                DOUBLE DEFAULT 0,
    OverheadMatRate                 REAL DEFAULT 0,
    OtRate1                         REAL DEFAULT 0,
    OtRate2                         REAL DEFAULT 0,
    DirectJobPurchases              INTEGER DEFAULT 0,
    AutoShopFloorTransPosting       INTEGER DEFAULT 0,
    AutoTimeCardTransPosting        INTEGER DEFAULT 0,
    BatchApproveHour                INTEGER DEFAULT 0,
    BatchApproveMin                 INTEGER DEFAULT 0,
    BatchApproveAMPM                INTEGER DEFAULT 0,
    LaborUomRef                     SMALLINT DEFAULT 0,
    PoFreightJobCosting             INTEGER DEFAULT 0,
    InvoiceFreightJobCosting        INTEGER DEFAULT 0,
    PCDCmultWoHrs                   INTEGER DEFAULT 0,
    AutoPickInd                     INTEGER DEFAULT 0,
    AutoPickFabInd                  INTEGER DEFAULT 0,
    AutoPickShipInd                 INTEGER DEFAULT 0,
    AutoPickTransPosting            INTEGER DEFAULT 0,
    ActualsDisplayPrefRef           INTEGER DEFAULT 0,
    WoPercentDoneCalc               INTEGER DEFAULT 0,
    JobItemPerDoneCalc              INTEGER DEFAULT 0,
    JobPercentDoneCalc              INTEGER DEFAULT 0,
    DeptHrPerDoneCalc               INTEGER DEFAULT 0,
    AutoTimeApprvInd                INTEGER DEFAULT 0,
    TimeCardManualChgColor          INTEGER DEFAULT 0,
    MatCardManualChgColor           INTEGER DEFAULT 0,
    PoPutInInv                      INTEGER DEFAULT 0,
    InvValuation                    INTEGER DEFAULT 0,
    VelmLibSeq                      INTEGER DEFAULT 0,
    InvPickTag1                     VARCHAR(255) COLLATE NOCASE DEFAULT '',
    InvPickTag2                     VARCHAR(255) COLLATE NOCASE DEFAULT '',
    ReservationRoundUpInd           INTEGER DEFAULT 0,
    ShipViaNbr                      INTEGER DEFAULT 0,
    CustContactListInd              INTEGER DEFAULT 0,
    ShipToContactListInd            INTEGER DEFAULT 0,
    AutoShipBOCalcInd               INTEGER DEFAULT 0,
    ShipAutoDecrementInv            INTEGER DEFAULT 0,
    UseBuiltFlagInd                 INTEGER DEFAULT 0,
    PcCntProduct                    INTEGER DEFAULT 0,
    PcCntHardware                   INTEGER DEFAULT 0,
    PcCntOther                      INTEGER DEFAULT 0,
    PcCntService                    INTEGER DEFAULT 0,
    PcCntMaterial                   INTEGER DEFAULT 0,
    BillingApproach                 INTEGER DEFAULT 0,
    BillingLevel                    INTEGER DEFAULT 0,
    JobRetainagePercent             DOUBLE DEFAULT 0,
    MatRetainagePercent             DOUBLE DEFAULT 0,
    MarkNewItemsAsProgBill          INTEGER DEFAULT 0,
    CustomerIsOwner                 INTEGER DEFAULT 0,
    CustomerIsContractor            INTEGER DEFAULT 0,
    CustomerIsArchitect             INTEGER DEFAULT 0,
    Option6                         INTEGER DEFAULT 0,
    AcctPackage                     INTEGER DEFAULT 0,
    MfgPackage                      INTEGER DEFAULT 0,
    ReceivableGLacct                SMALLINT DEFAULT 0,
    PayableGLacct                   SMALLINT DEFAULT 0,
    TaxGLacct                       SMALLINT DEFAULT 0,
    FreightGLacct                   SMALLINT DEFAULT 0,
    TaxAuthName                     VARCHAR(255) COLLATE NOCASE DEFAULT '',
    InvoiceTaxName1                 INTEGER DEFAULT 0,
    InvoiceTaxName2                 INTEGER DEFAULT 0,
    InvoiceTaxName3                 INTEGER DEFAULT 0,
    CashGLacct                      SMALLINT DEFAULT 0,
    FirstDayOfWeek                  INTEGER DEFAULT 1,
    LastDayOfWeek                   INTEGER DEFAULT 7,
    QBImportCode                    VARCHAR(255) COLLATE NOCASE DEFAULT '',
    TaxableCode                     VARCHAR(255) COLLATE NOCASE DEFAULT '',
    ExemptCode                      VARCHAR(255) COLLATE NOCASE DEFAULT '',
    SendJobRefForInvoice            INTEGER DEFAULT 0,
    IncludeFreightUseTax            INTEGER DEFAULT 0,
    PayrollExportType               INTEGER DEFAULT 0,
    AlertsGenInd                    INTEGER DEFAULT 0,              -- 0 off, 1 on
    AlertsProcessHour               INTEGER DEFAULT 12,             -- daily run time: hour 1-12,
    AlertsProcessMin                INTEGER DEFAULT 0,              -- minute,
    AlertsProcessAmPm               INTEGER DEFAULT 0,              -- 1 PM, else AM
    AlertsEmailType                 INTEGER DEFAULT 0,              -- 0 no e-mail, 1 SMTP
    SMTPserver                      VARCHAR(255) COLLATE NOCASE DEFAULT '',
    SMTPencryption                  INTEGER DEFAULT 0,              -- 0 none, 1 TLS from the start, 2 STARTTLS
    SMTPport                        INTEGER DEFAULT 0,
    SMTPaccount                     VARCHAR(255) COLLATE NOCASE DEFAULT '',
    SMTPpassword                    VARCHAR(255) COLLATE NOCASE DEFAULT '',
    TurnOnPoBuilderFlag             INTEGER DEFAULT 0
);

-- User defaults; the program reads the first row.
CREATE TABLE WU_DFLTS (
    CustomCode      VARCHAR(255) COLLATE NOCASE DEFAULT '',
    QtyDecimals     INTEGER DEFAULT 0,
    CostDecimals    INTEGER DEFAULT 0,
    DT_PREF         INTEGER DEFAULT 0,                              -- 1 month-first dates, else day-first
    PH_PREF         INTEGER DEFAULT 0
);

-- Alert subscriptions: one row per employee and alert id.
CREATE TABLE ALERT_SETTING (
    AlertSettingNbr INTEGER PRIMARY KEY AUTOINCREMENT,
    AlertId         INTEGER,
    EmpNbr          INTEGER,                                        -- the recipient
    EmailFrequency  SMALLINT,                                       -- 1 daily, 3 hourly, 4 half-hourly, 5 quarter-hourly
    Priority        SMALLINT,                                       -- 0 Low, 1 Medium, 2 High, 3 None
    Source          SMALLINT                                        -- what the setting's source ids are (employees, departments, ...)
);
CREATE INDEX ALERT_SETTING_ALERT ON ALERT_SETTING (AlertId, EmpNbr);

-- The source ids of a setting, read in row order; each row gives one id, the
-- first non-NULL of EmpNbr, DeptNbr and InvTypeNbr.
CREATE TABLE ALERT_SETTING_SOURCE (
    AlertSettingNbr INTEGER,
    EmpNbr          INTEGER,
    DeptNbr         INTEGER,
    InvTypeNbr      INTEGER
);
CREATE INDEX ALERT_SETTING_SOURCE_SET ON ALERT_SETTING_SOURCE (AlertSettingNbr);

-- Threshold values of a setting: one ALERT_VALUE row per value group, one
-- ALERT_SUB_VALUE row per value (Sequence 0 opens a group). Sequence and the
-- value columns exist only in ALERT_SUB_VALUE because the read joins both
-- tables and names them without a prefix.
CREATE TABLE ALERT_VALUE (
    AlertValueNbr   INTEGER PRIMARY KEY AUTOINCREMENT,
    AlertSettingNbr INTEGER
);
CREATE INDEX ALERT_VALUE_SET ON ALERT_VALUE (AlertSettingNbr);

CREATE TABLE ALERT_SUB_VALUE (
    AlertValueNbr   INTEGER,
    Sequence        INTEGER,
    IntValue        INTEGER,                                        -- exactly one of these five is set
    RealValue       DOUBLE,
    StringValue     VARCHAR(255) COLLATE NOCASE,
    JobStatusNbr    INTEGER,
    WoStatusNbr     INTEGER
);
CREATE INDEX ALERT_SUB_VALUE_VAL ON ALERT_SUB_VALUE (AlertValueNbr, Sequence);

-- Per-recipient defaults. An employee without a row here gets no alerts, and
-- the purge leaves that employee's history alone.
CREATE TABLE ALERT_USER_DEFAULTS (
    EmpNbr              INTEGER PRIMARY KEY,
    HaltAlertGeneration INTEGER DEFAULT 0,
    ForwardToEmpNbr     INTEGER,
    PurgeAfterNbrOfDays INTEGER DEFAULT 30
);

-- Every generated alert; SendEmail falls to 0 once a run has e-mailed it.
CREATE TABLE ALERT_HISTORY (
    AlertNbr              INTEGER,
    AlertRecipientNbr     INTEGER,
    DateGenerated         TIMESTAMP,                                -- 'yyyy/mm/dd' alone at midnight
    Priority              SMALLINT,
    Descr                 VARCHAR(2000) COLLATE NOCASE,
    SendEmail             SMALLINT,                                 -- the e-mail frequency code; 0 once sent
    EmpNbrTriggeredAlert  INTEGER,
    JobNbr                INTEGER,
    PoNbr                 INTEGER,
    JobItemNbr            INTEGER,
    WoNbr                 INTEGER,
    ProgressBillingNbr    INTEGER,
    ShipTicketNbr         INTEGER,
    InvNbr                INTEGER,
    EmpNbr                INTEGER,
    WoProductNbr          INTEGER,
    DeptNbr               INTEGER,
    PoItemNbr             INTEGER,
    ActionItemNbr         INTEGER,
    RFINbr                INTEGER,
    QuoteNbr              INTEGER
);
CREATE INDEX ALERT_HISTORY_SEND ON ALERT_HISTORY (SendEmail);
CREATE INDEX ALERT_HISTORY_RECIP ON ALERT_HISTORY (AlertRecipientNbr, DateGenerated);

-- Events written by the shop product (status and cost changes, receipts,
-- deletions, ...), deleted by the batch that processes them.
CREATE TABLE ALERT_TRANSACTION (
    AlertTransToken       INTEGER PRIMARY KEY AUTOINCREMENT,
    AlertNbr              INTEGER,
    TransType             INTEGER,
    EventTimeStamp        TIMESTAMP,
    EmpNbrGeneratedTrans  INTEGER,
    JobNbr                INTEGER,
    JobItemNbr            INTEGER,
    WoNbr                 INTEGER,
    PoNbr                 INTEGER,
    PoItemNbr             INTEGER,
    BillingNbr            INTEGER,
    ProgressBillingNbr    INTEGER,
    ShipTicketNbr         INTEGER,
    InvNbr                INTEGER,
    EmpNbr                INTEGER,
    WoProductNbr          INTEGER,
    DeptNbr               INTEGER,
    Tag1 VARCHAR(255) COLLATE NOCASE, Arg1 VARCHAR(255) COLLATE NOCASE,
    Tag2 VARCHAR(255) COLLATE NOCASE, Arg2 VARCHAR(255) COLLATE NOCASE,
    Tag3 VARCHAR(255) COLLATE NOCASE, Arg3 VARCHAR(255) COLLATE NOCASE,
    Tag4 VARCHAR(255) COLLATE NOCASE, Arg4 VARCHAR(255) COLLATE NOCASE
);

-- Figures as they stood at the end of the previous batch: a threshold alert
-- fires only for a value crossed since that snapshot.
CREATE TABLE ALERT_THRESHOLD_JOBS (
    JobNbr        INTEGER PRIMARY KEY,
    PercentBudget INTEGER,
    PercentComp   INTEGER,
    EstMatCost    DOUBLE,
    MaterialCost  DOUBLE,
    LaborHours    DOUBLE,
    EstLaborHours DOUBLE,
    LaborCost     DOUBLE,
    EstLaborCost  DOUBLE,
    TotalCosts    DOUBLE,
    TotalBilled   DOUBLE
);
CREATE TABLE ALERT_THRESHOLD_JOB_ITEM (
    JobItemNbr    INTEGER PRIMARY KEY,
    PercentBudget INTEGER,
    PercentComp   INTEGER,
    EstMatCost    DOUBLE,
    MaterialCost  DOUBLE,
    LaborHours    DOUBLE,
    EstLaborHours DOUBLE,
    LaborCost     DOUBLE,
    EstLaborCost  DOUBLE
);
CREATE TABLE ALERT_THRESHOLD_WO (
    WoNbr         INTEGER PRIMARY KEY,
    PercentBudget INTEGER,
    PercentComp   INTEGER,
    EstMatCost    DOUBLE,
    MaterialCost  DOUBLE,
    LaborHours    DOUBLE,
    EstLaborHours DOUBLE,
    LaborCost     DOUBLE,
    EstLaborCost  DOUBLE
);
CREATE TABLE ALERT_THRESHOLD_WO_DEPT (
    WoNbr         INTEGER,
    DeptRef       INTEGER,
    PercentBudget INTEGER,
    PRIMARY KEY (WoNbr, DeptRef)
);
CREATE TABLE ALERT_THRESHOLD_PRODUCT (
    WoProductNbr  INTEGER PRIMARY KEY,
    ScanQty       INTEGER,
    MakeQty       INTEGER
);

-- Unit-of-measure conversions from the cost library's units to the shop's.
CREATE TABLE UNIT_CONV (
    UnitConvNbr    INTEGER PRIMARY KEY,
    VelmUomRef     SMALLINT,
    DornUomRef     SMALLINT,
    QtyOperator    VARCHAR(1) COLLATE BINARY,                       -- '*', '/', '+' or '-'
    QtyFactor      REAL,
    QtyRounding    VARCHAR(20) COLLATE BINARY,                      -- 'Round Up' or 'Round Down'
    QtyPrecision   INTEGER,
    CostOperator   VARCHAR(1) COLLATE BINARY,
    CostFactor     REAL,
    CostRounding   VARCHAR(20) COLLATE BINARY,
    CostPrecision  INTEGER
);
CREATE INDEX UNIT_CONV_VELM ON UNIT_CONV (VelmUomRef);

-- Shop product logons, linked to employees.
CREATE TABLE USER_LOGON (
    USERID      SMALLINT PRIMARY KEY,
    NAME        VARCHAR(10) COLLATE NOCASE,
    DORN_USER   INTEGER,                                            -- employee number
    DORN_ALERTS INTEGER DEFAULT 0,                                  -- above 0: receives alerts
    ContactNbr  INTEGER                                             -- the user as a contact (RFI.CreatedByNbr)
);
CREATE TABLE CURRENT_USERS (
    UserId    SMALLINT,
    TimeOn    TIMESTAMP,
    VElmCount INTEGER,
    DOrnCount INTEGER
);
CREATE TABLE PC_DATA_COLLECTION_SETUP (
    PcToken INTEGER PRIMARY KEY,
    Descr   VARCHAR(30) COLLATE NOCASE
);
CREATE TABLE MDC_PROFILE (
    ProfileNbr INTEGER PRIMARY KEY,
    Name       VARCHAR(30) COLLATE NOCASE
);

-- Employees: the people alerts are about and sent to (at AlertEmail).
CREATE TABLE EMPLOYEE (
    EmpNbr          INTEGER PRIMARY KEY,
    EmpId           VARCHAR(4)  COLLATE NOCASE,
    FringeCost      DOUBLE,
    Fname           VARCHAR(15) COLLATE NOCASE,
    Lname           VARCHAR(22) COLLATE NOCASE,
    DirectCost      DOUBLE,
    OverheadCost    DOUBLE,
    PayrollCost     DOUBLE,
    TotalCost       DOUBLE,
    UseTimeCard     INTEGER DEFAULT 0,
    BuildingNbr     INTEGER,
    UndevelopedCost DOUBLE,
    MarkupPercent   DOUBLE,
    ShiftNbr        INTEGER,
    DeptNbr         INTEGER,
    EmpCode         VARCHAR(12) COLLATE NOCASE,
    ProductionEmp   INTEGER DEFAULT 0,
    GLacct          INTEGER,
    Dornwickuser    INTEGER DEFAULT 0,
    Inactive        INTEGER DEFAULT 0,
    HourlyEmployee  INTEGER DEFAULT 0,
    ScheduleInd     INTEGER DEFAULT 0,
    TempEmpInd      INTEGER DEFAULT 0,
    AlertEmail      VARCHAR(100) COLLATE NOCASE
);

CREATE TABLE ACTUALS (
    ActNbr             INTEGER PRIMARY KEY,
    WoNbr              INTEGER,
    EmpNbr             INTEGER,
    TimeOn             TIMESTAMP,
    TimeOff            TIMESTAMP,
    TotalTime          REAL,                                        -- minutes
    OtInd              INTEGER,
    FinInd             INTEGER,
    ApproveInd         INTEGER,
    OpCdNbr            INTEGER,
    WorkDt             DATE,
    QtyFinished        DOUBLE,
    ApprovalEmpNbr     INTEGER,
    Source             INTEGER,                                     -- 0 shop, 1 user, 2 overtime calculation, 3 mobile
    PercentComplete    INTEGER,
    RemovedLunchTime   REAL,
    MultipleWorkOrders INTEGER,
    LatLngOn           VARCHAR(50) COLLATE NOCASE,
    LatLngOff          VARCHAR(50) COLLATE NOCASE,
    Notes              LONG VARCHAR
);

-- Time-clock rows; the times are in minutes.
CREATE TABLE TIMECLOCK (
    TimeClockNbr     INTEGER PRIMARY KEY,
    EmpNbr           INTEGER,
    WorkDt           DATE,
    TimeOn           TIMESTAMP,
    TimeOff          TIMESTAMP,
    TotalTime        REAL,
    RegTime          REAL,
    Ot1Time          REAL,
    Ot2Time          REAL,
    PayItemTypeToken INTEGER,                                       -- 0 regular, 1 vacation, 2 sick, 3 holiday, 4 comp
    RemovedLunchTime REAL,
    LatLngOn         VARCHAR(50) COLLATE NOCASE,
    LatLngOff        VARCHAR(50) COLLATE NOCASE
);
CREATE INDEX TIMECLOCK_EMP_DT ON TIMECLOCK (EmpNbr, WorkDt);

CREATE TABLE PAY_ITEM_TYPE (
    PayItemTypeToken INTEGER PRIMARY KEY,
    ShortName        VARCHAR(20) COLLATE NOCASE,
    Item             VARCHAR(40) COLLATE NOCASE
);
CREATE TABLE PAYROLL_ITEM (
    PayrollItemToken INTEGER PRIMARY KEY,
    PayItemTypeToken INTEGER,
    Item             VARCHAR(40) COLLATE NOCASE
);
CREATE TABLE PAY_GRADE (
    PayGradeToken INTEGER PRIMARY KEY,
    Descr         VARCHAR(40) COLLATE NOCASE
);
CREATE TABLE PAYROLL_ITEM_MAPPING (
    PayGradeToken    INTEGER,
    PayItemTypeToken INTEGER,
    PayrollItemToken INTEGER
);
CREATE TABLE EMP_WAGE (
    EmpWageNbr    INTEGER PRIMARY KEY,
    EmpNbr        INTEGER,
    StartDt       DATE,
    ThruDt        DATE,
    DirectCost    DOUBLE,
    PayrollCost   DOUBLE,
    FringeCost    DOUBLE,
    EmpClassToken INTEGER
);

-- Departments and their operation codes; -99 is the "no department" row.
CREATE TABLE DEPT (
    DeptNbr INTEGER PRIMARY KEY,
    Name    VARCHAR(20) COLLATE NOCASE,
    Seq     INTEGER
);
CREATE TABLE OPCODE (
    OpCdNbr   INTEGER PRIMARY KEY,
    OpCode    VARCHAR(3)  COLLATE NOCASE,
    OpCdDescr VARCHAR(22) COLLATE NOCASE,
    DeptNbr   INTEGER,
    OpCdCat   INTEGER                                               -- 0 setup, 1 direct, 2 indirect
);

CREATE TABLE MAINT_REF (
    TYPE INTEGER,
    ID   SMALLINT,
    ITEM VARCHAR(40) COLLATE NOCASE,
    PRIMARY KEY (TYPE, ID)
);
CREATE TABLE CUSTOM_TEMPLATE (
    TYPE INTEGER,
    ID   INTEGER,
    TAG  VARCHAR(40) COLLATE NOCASE,
    PRIMARY KEY (TYPE, ID)
);

-- Jobs, their items and work orders, with running cost figures.
CREATE TABLE JOBS (
    JobNbr             INTEGER PRIMARY KEY,
    JobId              VARCHAR(20) COLLATE NOCASE,
    JobDescr           VARCHAR(60) COLLATE NOCASE,
    JobStatusNbr       INTEGER,                                     -- 0 closed
    JobTypeNbr         INTEGER,
    DispNbr            INTEGER,
    CompanyNbr         INTEGER,                                     -- jobs without a customer get no snapshot
    CompanyPub         VARCHAR(10) COLLATE NOCASE,
    ShipToNbr          INTEGER,
    ShipToPub          VARCHAR(10) COLLATE NOCASE,
    ShipToAddr         LONG VARCHAR,
    BillProjectNbrs    VARCHAR(255) COLLATE NOCASE,
    PoNbr              VARCHAR(30) COLLATE NOCASE,
    ShipViaNbr         INTEGER,
    VelmJobNbr         INTEGER,
    VelmJobPub         VARCHAR(10) COLLATE NOCASE,
    IndirectJob        INTEGER DEFAULT 0,
    ChangedByScheduler INTEGER DEFAULT 0,
    PercentBudget      INTEGER,
    PercentComp        INTEGER,
    EstMatCost         DOUBLE DEFAULT 0,
    ActMatCost         DOUBLE DEFAULT 0,
    ActPoCost          DOUBLE DEFAULT 0,
    ActFinInvMatCost   DOUBLE DEFAULT 0,
    ActLaborHrs        DOUBLE DEFAULT 0,
    ActSetupHrs        DOUBLE DEFAULT 0,
    EstLaborHrs        DOUBLE DEFAULT 0,
    EstSetupHrs        DOUBLE DEFAULT 0,
    ActLaborCost       DOUBLE DEFAULT 0,
    ActSetupCost       DOUBLE DEFAULT 0,
    ActFinInvLabCost   DOUBLE DEFAULT 0,
    EstLaborCost       DOUBLE DEFAULT 0,
    EstSetupCost       DOUBLE DEFAULT 0,
    ActSubCost         DOUBLE DEFAULT 0,
    OverheadAmt        DOUBLE DEFAULT 0,
    MatOverheadAmt     DOUBLE DEFAULT 0,
    ActFreightCost     DOUBLE DEFAULT 0,
    ActMiscCost        DOUBLE DEFAULT 0,
    ActTravelCost      DOUBLE DEFAULT 0,
    FinInvOverheadAmt  DOUBLE DEFAULT 0,
    PoMatOverheadAmt   DOUBLE DEFAULT 0,
    ProjManagerId      INTEGER,                                     -- the project manager's employee number
    GenerateAlerts     INTEGER DEFAULT 1
);

CREATE TABLE JOB_ITEM (
    JobItemNbr         INTEGER PRIMARY KEY,
    JobNbr             INTEGER,
    ItemNbr            INTEGER,
    JobItemDescr       VARCHAR(60) COLLATE NOCASE,
    ChangedByScheduler INTEGER DEFAULT 0,
    PercentBudget      INTEGER,
    PercentComp        INTEGER,
    EstMatCost         DOUBLE DEFAULT 0,
    ActMatCost         DOUBLE DEFAULT 0,
    ActPoCost          DOUBLE DEFAULT 0,
    ActFinInvMatCost   DOUBLE DEFAULT 0,
    ActLaborHrs        DOUBLE DEFAULT 0,
    ActSetupHrs        DOUBLE DEFAULT 0,
    EstLaborHrs        DOUBLE DEFAULT 0,
    EstSetupHrs        DOUBLE DEFAULT 0,
    ActLaborCost       DOUBLE DEFAULT 0,
    ActSetupCost       DOUBLE DEFAULT 0,
    ActFinInvLabCost   DOUBLE DEFAULT 0,
    EstLaborCost       DOUBLE DEFAULT 0,
    EstSetupCost       DOUBLE DEFAULT 0
);
CREATE INDEX JOB_ITEM_JOB ON JOB_ITEM (JobNbr);

CREATE TABLE WO (
    WoNbr              INTEGER PRIMARY KEY,
    JobNbr             INTEGER,
    JobItemNbr         INTEGER,
    GrpNbr             INTEGER,
    WoDescr            VARCHAR(60) COLLATE NOCASE,
    WorkOrdStatusNbr   INTEGER,                                     -- 0 Pending .. 9 Paid
    WorkOrdTypeNbr     INTEGER,                                     -- -99 none
    DispNbr            INTEGER,
    WoTotalSellPrice   DOUBLE,
    StatusChgInd       INTEGER DEFAULT 0,
    ChangedByScheduler INTEGER DEFAULT 0,
    PercentBudget      INTEGER,
    PercentComp        INTEGER,
    EstMatCost         DOUBLE DEFAULT 0,
    ActMatCost         DOUBLE DEFAULT 0,
    ActPoCost          DOUBLE DEFAULT 0,
    ActLaborHrs        DOUBLE DEFAULT 0,
    ActSetupHrs        DOUBLE DEFAULT 0,
    EstLaborHrs        DOUBLE,                                      -- may be NULL; the snapshot refresh sets it to 0
    EstSetupHrs        DOUBLE DEFAULT 0,
    ActLaborCost       DOUBLE DEFAULT 0,
    ActSetupCost       DOUBLE DEFAULT 0,
    EstLaborCost       DOUBLE DEFAULT 0,
    EstSetupCost       DOUBLE DEFAULT 0,
    ActualFinDt        DATE,
    EmpNbr             INTEGER,                                     -- the employee responsible
    GenerateAlerts     INTEGER DEFAULT 1,
    SchedStartDt       DATE,
    SchedFinDt         DATE,
    ShipDt             DATE,
    ActualStartDt      DATE
);
CREATE INDEX WO_JOB ON WO (JobNbr);
CREATE INDEX WO_JOB_ITEM ON WO (JobItemNbr);

CREATE TABLE WO_PRODUCTS (
    WoProductNbr INTEGER PRIMARY KEY,
    WoNbr        INTEGER,
    ScanQty      INTEGER,
    MakeQty      INTEGER
);

-- Department estimates of a work order. No key: a pair may repeat, and the
-- lookup by work order and department then finds nothing.
CREATE TABLE DEPT_EST (
    WoNbr            INTEGER,
    DeptRef          INTEGER,
    EstHrs           DOUBLE,
    ActualHrs        DOUBLE,
    PercentComp      INTEGER,
    SchedStartDt     DATE,
    SchedFinDt       DATE,
    NbrOfResources   INTEGER,
    DeptActLaborCost DOUBLE,
    PercentBudget    INTEGER,
    ActualStartDt    DATE,
    ActualFinDt      DATE,
    VelmHrs          DOUBLE,
    DurationInDays   INTEGER,
    CreatedBy        VARCHAR(20) COLLATE NOCASE,
    CreateDt         TIMESTAMP,
    ChangedBy        VARCHAR(20) COLLATE NOCASE,
    ChangeDt         TIMESTAMP,
    TargetFinDt      DATE
);
CREATE INDEX DEPT_EST_WO ON DEPT_EST (WoNbr, DeptRef);

CREATE TABLE OPERATION (
    OpItemNbr     INTEGER PRIMARY KEY,
    WoNbr         INTEGER,
    OpCdNbr       INTEGER,
    EstQty        DOUBLE,
    EstCost       DOUBLE,
    Seq           INTEGER,
    RtNotes       LONG VARCHAR,
    LineType      INTEGER,
    UomRef        SMALLINT,
    SchedStartDt  DATE,
    SchedFinDt    DATE,
    ActualStartDt DATE,
    ActualFinDt   DATE,
    PercentComp   INTEGER,
    ActualHrs     DOUBLE,
    VelmQty       DOUBLE,
    VelmCost      DOUBLE,
    CreatedBy     VARCHAR(20) COLLATE NOCASE,
    CreateDt      TIMESTAMP,
    ChangedBy     VARCHAR(20) COLLATE NOCASE,
    ChangeDt      TIMESTAMP
);
CREATE TABLE WO_MAT (
    WoMatNbr  INTEGER PRIMARY KEY,
    WoNbr     INTEGER,
    InvNbr    INTEGER,
    EstUomRef SMALLINT,
    Notes     LONG VARCHAR
);
CREATE TABLE ASSIGNMENT (
    WoNbr         INTEGER,
    DeptRef       INTEGER,
    EmpNbr        INTEGER,
    AssignDt      DATE,
    PercentAssign DOUBLE,
    AssignBy      INTEGER
);
CREATE TABLE JOB_ITEM_OTH_COST (
    OthCostNbr INTEGER PRIMARY KEY,
    JobItemNbr INTEGER,
    Type       INTEGER,
    OthCostDt  DATE
);
CREATE TABLE DEPT_TEMPLATE (
    DeptTemplNbr  INTEGER PRIMARY KEY,
    DeptTemplName VARCHAR(40) COLLATE NOCASE
);
CREATE TABLE TEMPLATE_DEPT_ITEM (
    DeptToken    INTEGER PRIMARY KEY,
    DeptTemplNbr INTEGER,
    DeptRef      INTEGER
);
CREATE TABLE TEMPLATE_OPCODE_ITEM (
    DeptToken INTEGER,
    OpCdNbr   INTEGER
);

-- Invoices and progress billings of a job.
CREATE TABLE BILLING (
    BillingNbr    INTEGER PRIMARY KEY,
    JobNbr        INTEGER,
    InvoiceNbr    INTEGER,                                          -- NULL until invoiced
    InvoiceDt     DATE,
    ShipTicketNbr INTEGER,
    TotalPrice    DOUBLE,
    PostedInd     INTEGER DEFAULT 0
);
CREATE TABLE PROGRESS_BILLING (
    ProgressBillingNbr INTEGER PRIMARY KEY,
    JobNbr             INTEGER,
    InvoiceNbr         INTEGER,
    InvoiceFromDt      DATE,
    InvoiceToDt        DATE,
    ApplicationNbr     INTEGER,
    DueDt              DATE
);
CREATE TABLE PROG_BILL_ITEM (
    ProgressBillingNbr INTEGER,
    TotComplStoredAmt  DOUBLE
);

-- Companies, contacts and projects, shared with the cost-library product.
CREATE TABLE COMPANY (
    COMPANY_NBR INTEGER,
    PUB         VARCHAR(10) COLLATE NOCASE,
    NAME        VARCHAR(60) COLLATE NOCASE,
    FNAME       VARCHAR(40) COLLATE NOCASE,
    PHONE_NBR   VARCHAR(20) COLLATE NOCASE,
    FAX_NBR     VARCHAR(20) COLLATE NOCASE,
    STREET_1    VARCHAR(40) COLLATE NOCASE,
    STREET_2    VARCHAR(40) COLLATE NOCASE,
    CITY        VARCHAR(30) COLLATE NOCASE,
    STATE       VARCHAR(10) COLLATE NOCASE,
    ZIP_5       VARCHAR(10) COLLATE NOCASE,
    PRIMARY KEY (COMPANY_NBR, PUB)
);
CREATE TABLE CONTACT (
    CONTACT_NBR INTEGER,
    PUB         VARCHAR(10) COLLATE NOCASE,
    SALUTATION  SMALLINT,
    LAST_NAME   VARCHAR(18) COLLATE NOCASE,
    FIRST_NAME  VARCHAR(12) COLLATE NOCASE,
    TITLE       VARCHAR(30) COLLATE NOCASE,
    COMPANY_NBR INTEGER,
    COMPANY_PUB VARCHAR(10) COLLATE NOCASE,
    EXTENSION   VARCHAR(5)  COLLATE NOCASE,
    LOC_NBR     INTEGER,
    LOC_PUB     VARCHAR(10) COLLATE NOCASE,
    PHONE_NBR   VARCHAR(20) COLLATE NOCASE,
    FAX_NBR     VARCHAR(20) COLLATE NOCASE,
    PAGER_NBR   VARCHAR(20) COLLATE NOCASE,
    MOBILE_NBR  VARCHAR(20) COLLATE NOCASE,
    HOME_NBR    VARCHAR(20) COLLATE NOCASE,
    GREETING    VARCHAR(12) COLLATE NOCASE,
    ROW_TS      TIMESTAMP,                                          -- when the row last changed
    EMAIL       VARCHAR(50) COLLATE NOCASE,
    PRIMARY KEY (CONTACT_NBR, PUB)
);

CREATE TABLE JOB (
    JOB_NBR       INTEGER,
    PUB           VARCHAR(10) COLLATE NOCASE,
    JOB_TAG       VARCHAR(20) COLLATE NOCASE,
    DESCRIPTION   VARCHAR(40) COLLATE NOCASE,
    GCJobNbr      VARCHAR(30) COLLATE NOCASE,
    STATUS_REF_ID SMALLINT,
    COMPANY_NBR   INTEGER,
    COMPANY_PUB   VARCHAR(10) COLLATE NOCASE,
    PRIMARY KEY (JOB_NBR, PUB)
);
CREATE TABLE WRITEUP (
    WRITEUP_NBR INTEGER,
    JOB_PUB     VARCHAR(10) COLLATE NOCASE
);

-- User-kept type lists.
CREATE TABLE JOB_STATUS (
    JobStatusNbr INTEGER PRIMARY KEY AUTOINCREMENT,
    JobStatus    VARCHAR(25) COLLATE NOCASE
);
CREATE TABLE JOB_TYPE (
    JobTypeNbr INTEGER PRIMARY KEY AUTOINCREMENT,
    JobType    VARCHAR(25) COLLATE NOCASE
);
CREATE TABLE WO_TYPE (
    WorkOrdTypeNbr INTEGER PRIMARY KEY AUTOINCREMENT,
    WorkOrdType    VARCHAR(25) COLLATE NOCASE
);

-- Transmittals and requests for information; the column order is the order in
-- which the report connections publish them.
CREATE TABLE TRANSMITTAL (
    TransmittalNbr             INTEGER,
    TransmittalDate            DATE,
    DornJobNbr                 INTEGER,
    VelmProjectNbr             INTEGER,
    VelmProjectPub             VARCHAR(10) COLLATE NOCASE,
    Descr                      VARCHAR(60) COLLATE NOCASE,
    CompanyNbr                 INTEGER,
    CompanyPub                 VARCHAR(10) COLLATE NOCASE,
    CompanyName                VARCHAR(60) COLLATE NOCASE,
    ContactNbr                 INTEGER,
    ContactPub                 VARCHAR(10) COLLATE NOCASE,
    ContactName                VARCHAR(30) COLLATE NOCASE,
    ContactListInd             INTEGER,
    CreatedByNbr               INTEGER,
    CreatedByPub               VARCHAR(10) COLLATE NOCASE,
    Signature                  VARCHAR(40) COLLATE NOCASE,
    CopyTo                     VARCHAR(60) COLLATE NOCASE,
    SendInfo                   INTEGER,
    ShipVia                    INTEGER,
    TypeRFI                    INTEGER,
    TypeBid                    INTEGER,
    TypeChangeOrder            INTEGER,
    TypeOther                  INTEGER,
    TypeDrawings               INTEGER,
    TypeSpecs                  INTEGER,
    TypeSamples                INTEGER,
    TypePlans                  INTEGER,
    TypePrints                 INTEGER,
    TypeLEED                   INTEGER,
    TypeCopyLetter             INTEGER,
    TypeContract               INTEGER,
    TypeOtherText              VARCHAR(30) COLLATE NOCASE,
    ReasForApproval            INTEGER,
    ReasForYourUse             INTEGER,
    ReasAsRequested            INTEGER,
    ReasForReviewComment       INTEGER,
    ReasApprovedAsSubmitted    INTEGER,
    ReasApprovedAsNoted        INTEGER,
    ReasReturnedCorrection     INTEGER,
    ReasOnLoanReturn           INTEGER,
    ReasResubmitApproval       INTEGER,
    ResubmitApprovalCopies     INTEGER,
    ReasSubmitDistribution     INTEGER,
    SubmitDistCopies           INTEGER,
    ReasReturnCorrectPrints    INTEGER,
    ReturnCorrectPrintSets     INTEGER,
    ReasForBidsDue             INTEGER,
    ReasForOther               INTEGER,
    ReasOtherText              VARCHAR(30) COLLATE NOCASE,
    ReasBidDueDate             DATE,
    Remarks                    LONG VARCHAR,
    CompanyListInd             INTEGER,
    RevisionNbr                INTEGER,
    PrintTransmittalNbr        INTEGER,
    PRIMARY KEY (TransmittalNbr)
);
CREATE TABLE TRANSMITTAL_ITEM (
    TransmittalItemNbr INTEGER PRIMARY KEY,
    TransmittalNbr     INTEGER,
    ItemDate           DATE,
    ItemDescr          VARCHAR(50) COLLATE NOCASE,
    ItemNumberId       VARCHAR(30) COLLATE NOCASE,
    Copies             INTEGER,
    Status             INTEGER                                      -- 0 Pending, 1 Approved, 2 Rejected, 3 Revise & Resubmit
);
CREATE TABLE RFI (
    RFINbr                     INTEGER,
    RFIDate                    DATE,
    DornJobNbr                 INTEGER,
    VelmProjectNbr             INTEGER,
    VelmProjectPub             VARCHAR(10) COLLATE NOCASE,
    Descr                      VARCHAR(60) COLLATE NOCASE,
    CompanyListInd             INTEGER,
    CompanyNbr                 INTEGER,
    CompanyPub                 VARCHAR(10) COLLATE NOCASE,
    CompanyName                VARCHAR(60) COLLATE NOCASE,
    ContactNbr                 INTEGER,
    ContactPub                 VARCHAR(10) COLLATE NOCASE,
    ContactName                VARCHAR(30) COLLATE NOCASE,
    ContactListInd             INTEGER,
    CreatedByNbr               INTEGER,
    CreatedByPub               VARCHAR(10) COLLATE NOCASE,
    Status                     INTEGER,
    Reason                     INTEGER,
    ReasonOtherText            VARCHAR(30) COLLATE NOCASE,
    ApprovalInd                INTEGER,
    CostImpact                 INTEGER,
    SchedImpact                INTEGER,
    Specification              VARCHAR(30) COLLATE NOCASE,
    Drawing                    VARCHAR(30) COLLATE NOCASE,
    RequiredByDt               DATE,
    ReceivedDt                 DATE,
    InfoRequested              LONG VARCHAR,
    Proposed                   LONG VARCHAR,
    Response                   LONG VARCHAR,
    PrintRFINbr                INTEGER,
    PRIMARY KEY (RFINbr)
);

-- Purchasing: orders, items, their job links, receipts and quote requests.
CREATE TABLE PURCHASE_ORDER (
    POnbr          INTEGER PRIMARY KEY,                             -- statements also write PoNbr
    PoStatusNbr    INTEGER,                                         -- 0 Pending, 1 Open, 2 Back Order, 3 Received, 4 Closed, 5 Cancel
    CompanyNbr     INTEGER,
    CompanyPub     VARCHAR(10) COLLATE NOCASE,
    POdt           DATE,
    UserEditingPo  INTEGER,
    TabWherePoOpen INTEGER,
    StatusChgInd   INTEGER DEFAULT 0,
    EmpNbr         INTEGER,                                         -- the buyer
    ReqByEmpNbr    INTEGER,                                         -- the requester
    ReqByDt        DATE,
    ReceivedDt     DATE,
    TotalAmt       DOUBLE,
    GenerateAlerts INTEGER DEFAULT 1
);
CREATE TABLE PO_ITEM (
    PoItemNbr      INTEGER PRIMARY KEY,
    PoNbr          INTEGER,
    Seq            INTEGER,
    Descr          VARCHAR(200) COLLATE NOCASE,
    ExtDescr1      VARCHAR(200) COLLATE NOCASE,
    ExtDescr2      VARCHAR(200) COLLATE NOCASE,
    PoDest         VARCHAR(10) COLLATE BINARY,                      -- 'Job' or 'Reserve'
    PrintLabel     INTEGER DEFAULT 0,
    Notes          LONG VARCHAR,
    UnitPrice      DOUBLE,
    QtyOrdered     DOUBLE,
    UomRef         SMALLINT,
    InvNbr         INTEGER,
    TaxInd         INTEGER,
    OverheadMarkup DOUBLE,
    VendStockNbr   VARCHAR(30) COLLATE NOCASE,
    DamageInd      INTEGER,
    GLacct         INTEGER,
    ReqByDt        DATE
);
CREATE INDEX PO_ITEM_PO ON PO_ITEM (PoNbr);
CREATE TABLE PO_DOC (
    PoNbr          INTEGER,
    PrintExtDescr1 INTEGER DEFAULT 0,
    PrintExtDescr2 INTEGER DEFAULT 0
);
CREATE TABLE PO_ITEM_JOB (
    PoItemJobNbr INTEGER PRIMARY KEY,
    PoItemNbr    INTEGER,
    JobNbr       INTEGER,
    JobItemNbr   INTEGER,
    WoNbr        INTEGER,
    QtyOrdered   DOUBLE,
    QtyReceived  DOUBLE,
    UnitPrice    DOUBLE,
    ShippingAmt  DOUBLE,
    Visible      INTEGER DEFAULT 1,
    PrintLabel   INTEGER DEFAULT 0,
    JobCosting   INTEGER DEFAULT 1,
    ReserveInd   INTEGER DEFAULT 0
);
CREATE INDEX PO_ITEM_JOB_ITEM ON PO_ITEM_JOB (PoItemNbr);
CREATE TABLE JOB_GRP (
    GrpNbr   INTEGER PRIMARY KEY,
    GrpDescr VARCHAR(60) COLLATE NOCASE
);
CREATE TABLE TERMS (TermsNbr INTEGER PRIMARY KEY, Terms VARCHAR(30) COLLATE NOCASE);
CREATE TABLE FOB   (FOBnbr   INTEGER PRIMARY KEY, FOB   VARCHAR(30) COLLATE NOCASE);
CREATE TABLE PO_STATUS (
    PoStatusNbr INTEGER PRIMARY KEY,
    PoStatus    VARCHAR(20) COLLATE NOCASE
);
CREATE TABLE RECEIVER (
    ReceiverNbr     INTEGER PRIMARY KEY,
    PoNbr           INTEGER,
    ReceivedDt      DATE,
    ReceiptEmpNbr   INTEGER,
    ReconcileDt     DATE,
    ReconcileEmpNbr INTEGER,
    InvoiceDt       DATE,
    ExportDt        TIMESTAMP,
    ExportEmpNbr    INTEGER,
    RemitToNbr      INTEGER,
    RemitToPub      VARCHAR(10) COLLATE NOCASE,
    InvoiceTotalAmt DOUBLE,
    DueDt           DATE,
    Notes           LONG VARCHAR
);
CREATE TABLE RECEIVER_ITEM (
    ReceiverItemNbr INTEGER PRIMARY KEY,
    ReceiverNbr     INTEGER,
    PoItemNbr       INTEGER,
    QtyReceived     DOUBLE,
    UnitPrice       DOUBLE,
    InvNbr          INTEGER,
    Notes           LONG VARCHAR

);
CREATE TABLE RECEIVER_ITEM_JOB (
    ReceiverItemJobNbr INTEGER PRIMARY KEY,
    ReceiverItemNbr    INTEGER,
    PoItemJobNbr       INTEGER
);
CREATE TABLE QUOTE_REQUEST (
    QuoteNbr       INTEGER PRIMARY KEY,
    Descr          VARCHAR(60) COLLATE NOCASE,
    QuoteStatusNbr INTEGER,                                         -- 0 Pending, 1 Sent, 2 Received
    NeedPricesByDt DATE,
    CreateDt       DATE,
    EmpNbr         INTEGER                                          -- who asked for the quote
);
CREATE TABLE QUOTE_REQ_ITEM (
    QuoteNbr INTEGER,
    Descr    VARCHAR(60) COLLATE NOCASE,
    MatCode  VARCHAR(30) COLLATE NOCASE
);
CREATE TABLE QUOTE_REQ_VENDOR_ITEM (
    QuoteNbr   INTEGER,
    CompanyNbr INTEGER,
    CompanyPub VARCHAR(10) COLLATE NOCASE
);

-- Shipping.
CREATE TABLE SHIPVIA (
    ShipViaNbr INTEGER PRIMARY KEY,
    ShipVia    VARCHAR(25) COLLATE NOCASE
);
CREATE TABLE SHIP_TICKET (
    ShipTicketNbr INTEGER PRIMARY KEY,
    JobNbr        INTEGER,
    ShipDt        DATE,
    ShipStatusNbr INTEGER                                           -- 0 Pending, 1 Check Load, 2 Shipped, 3 Shipped Incomplete
);

-- Inventory and its locations; -99 is the "none" building, zone and bin.
CREATE TABLE INVENTORY_ITEM (
    InvNbr             INTEGER PRIMARY KEY,
    Code               VARCHAR(15) COLLATE NOCASE,
    Descr              VARCHAR(60) COLLATE NOCASE,
    IDescr2            VARCHAR(25) COLLATE NOCASE,
    IDescr3            VARCHAR(25) COLLATE NOCASE,
    IDescr4            VARCHAR(25) COLLATE NOCASE,
    IDescr5            VARCHAR(25) COLLATE NOCASE,
    LibDivRef          SMALLINT,
    LibSubDivRef       SMALLINT,
    LibItemRef         SMALLINT,
    Inactive           INTEGER DEFAULT 0,
    InvTypeNbr         INTEGER,
    InvConvNbr         INTEGER,
    StockUomRef        SMALLINT,
    OrdUomRef          SMALLINT,
    TrackByThePiece    INTEGER DEFAULT 0,
    ReorderPoint       DOUBLE,
    QtyOnHand          DOUBLE DEFAULT 0,
    QtyOnHandReserved  DOUBLE DEFAULT 0,
    QtyOnOrder         DOUBLE DEFAULT 0,
    QtyOnOrderReserved DOUBLE DEFAULT 0
);
CREATE INDEX INVENTORY_ITEM_LIB ON INVENTORY_ITEM (LibDivRef, LibSubDivRef, LibItemRef);
CREATE TABLE INV_CONV (
    InvConvNbr    INTEGER PRIMARY KEY,
    QtyOperator   VARCHAR(1) COLLATE BINARY,
    QtyFactor     REAL,
    QtyRounding   VARCHAR(20) COLLATE BINARY,
    QtyPrecision  INTEGER,
    CostOperator  VARCHAR(1) COLLATE BINARY,
    CostFactor    REAL,
    CostRounding  VARCHAR(20) COLLATE BINARY,
    CostPrecision INTEGER
);
CREATE TABLE INV_TYPE (
    InvTypeNbr  INTEGER PRIMARY KEY,
    Type        VARCHAR(25) COLLATE NOCASE,
    FinGoodsInd INTEGER DEFAULT 0
);
CREATE TABLE BUILDING (
    BuildingNbr INTEGER PRIMARY KEY AUTOINCREMENT,
    Building    VARCHAR(4)  COLLATE NOCASE,
    Descr       VARCHAR(15) COLLATE NOCASE
);
CREATE TABLE ZONE (
    ZoneNbr     INTEGER PRIMARY KEY,
    BuildingNbr INTEGER,
    Zone        VARCHAR(2)  COLLATE NOCASE,
    Descr       VARCHAR(15) COLLATE NOCASE
);
CREATE TABLE BIN (
    BinNbr  INTEGER PRIMARY KEY,
    ZoneNbr INTEGER,
    Bin     VARCHAR(2)  COLLATE NOCASE,
    Descr   VARCHAR(15) COLLATE NOCASE
);
CREATE TABLE INV_LOC (
    InvLocNbr     INTEGER PRIMARY KEY,
    InvNbr        INTEGER,
    BuildingNbr   INTEGER,
    ZoneNbr       INTEGER,
    BinNbr        INTEGER,
    ReceiveLocInd INTEGER DEFAULT 0,
    QtyOnHand     DOUBLE,
    Size          VARCHAR(20) COLLATE NOCASE
);
CREATE TABLE INV_RESERV (
    ReservationNbr INTEGER PRIMARY KEY,
    InvNbr         INTEGER,
    JobNbr         INTEGER,
    JobItemNbr     INTEGER,
    WoNbr          INTEGER,
    PoItemJobNbr   INTEGER,
    Type           INTEGER,                                         -- 1 made by a purchase order
    Picks          DOUBLE,
    Returns        DOUBLE,
    InitReserveCnt DOUBLE,
    CreateDt       DATE
);
CREATE TABLE INVENTORY_TRANS (
    InvTransNbr             INTEGER PRIMARY KEY,
    InvNbr                  INTEGER,
    InvLocNbr               INTEGER,
    Qty                     DOUBLE,
    Ts                      TIMESTAMP,
    UnitCost                DOUBLE,
    EmpNbr                  INTEGER,
    InvTransTypeNbr         INTEGER,
    PoItemNbr               INTEGER,
    WoNbr                   INTEGER,
    CompanyNbr              INTEGER,
    CompanyPub              VARCHAR(10) COLLATE NOCASE,
    TransDt                 DATE,
    ApproveInd              INTEGER,
    TotalCost               DOUBLE,
    InvPieceNbr             INTEGER,
    Source                  INTEGER,
    Notes                   LONG VARCHAR,
    ItemValueBef            DOUBLE,
    ItemValueAft            DOUBLE,
    UpdatedReservationCount INTEGER
);
CREATE TABLE INV_BALANCE (
    InvBalNbr INTEGER PRIMARY KEY,
    InvNbr    INTEGER,
    Qty       DOUBLE,
    UnitCost  DOUBLE,
    TotalCost DOUBLE,
    MatCost   DOUBLE,
    LaborCost DOUBLE,
    Price     DOUBLE,
    Ts        TIMESTAMP
);
CREATE TABLE INV_USER1 (InvUserNbr INTEGER PRIMARY KEY, Item VARCHAR(30) COLLATE NOCASE);
CREATE TABLE INV_USER2 (InvUserNbr INTEGER PRIMARY KEY, Item VARCHAR(30) COLLATE NOCASE);
CREATE TABLE INV_PIECE_TYPE (
    InvPieceTypeNbr INTEGER PRIMARY KEY,
    Type            VARCHAR(25) COLLATE NOCASE
);
CREATE TABLE INV_SUPPLIER (
    InvSupplierNbr INTEGER PRIMARY KEY,
    InvNbr         INTEGER,
    COMPANY_NBR    INTEGER,
    COMPANY_PUB    VARCHAR(10) COLLATE NOCASE,
    COST           DOUBLE,
    QUOTE_DATE     DATE,
    STOCK          VARCHAR(30) COLLATE NOCASE,
    PRIMARY_VNDR   INTEGER DEFAULT 0
);
CREATE TABLE INV_PIECE (
    InvPieceNbr      INTEGER PRIMARY KEY,
    InvNbr           INTEGER,
    InvLocNbr        INTEGER,
    PoItemNbr        INTEGER,
    Size             VARCHAR(20) COLLATE NOCASE,
    MnfrSeqNbr       VARCHAR(30) COLLATE NOCASE,
    TotalCost        DOUBLE,
    ReceiveDt        DATE,
    UsedDt           DATE,
    UomCost          DOUBLE,
    UomQty           DOUBLE,
    Notes            LONG VARCHAR,
    JobId            VARCHAR(20) COLLATE NOCASE,
    InvPieceTypeNbr  INTEGER,
    UomRef           SMALLINT,
    CustName         VARCHAR(40) COLLATE NOCASE,
    CompanyNbr       INTEGER,
    CompanyPub       VARCHAR(10) COLLATE NOCASE,
    PieceDescription VARCHAR(80) COLLATE NOCASE
);
CREATE TABLE INV_NEED_LOC (
    NeedLocNbr      INTEGER PRIMARY KEY,
    InvNbr          INTEGER,
    PoItemNbr       INTEGER,
    PoNbr           INTEGER,
    Size            VARCHAR(20) COLLATE NOCASE,
    MnfrSeqNbr      VARCHAR(30) COLLATE NOCASE,
    TotalCost       DOUBLE,
    ReceiveDt       DATE,
    UnitCost        DOUBLE,
    Qty             DOUBLE,
    QtyReserved     DOUBLE,
    Notes           LONG VARCHAR,
    JobId           VARCHAR(20) COLLATE NOCASE,
    InvPieceTypeNbr INTEGER,
    UomRef          SMALLINT,
    CustName        VARCHAR(40) COLLATE NOCASE,
    CompanyNbr      INTEGER,
    CompanyPub      VARCHAR(10) COLLATE NOCASE
);

-- The cost library.
CREATE TABLE DIVISION (
    DIV_NBR SMALLINT PRIMARY KEY,
    CODE    VARCHAR(10) COLLATE NOCASE,
    HEADING VARCHAR(40) COLLATE NOCASE
);
CREATE TABLE SECT (
    SECTION_NBR SMALLINT,
    DIV_NBR     SMALLINT,
    CODE        VARCHAR(10) COLLATE NOCASE,
    HEADING     VARCHAR(40) COLLATE NOCASE,
    PRIMARY KEY (DIV_NBR, SECTION_NBR)
);
CREATE TABLE LIB_ITEM (
    DIV_NBR     SMALLINT,
    SECTION_NBR SMALLINT,
    ITEM_NBR    SMALLINT,
    DESCRIPTION VARCHAR(60) COLLATE NOCASE,
    DESCR2      VARCHAR(25) COLLATE NOCASE,
    DESCR3      VARCHAR(25) COLLATE NOCASE,
    DESCR4      VARCHAR(25) COLLATE NOCASE,
    DESCR5      VARCHAR(25) COLLATE NOCASE,
    SEQ_CODE    VARCHAR(20) COLLATE NOCASE,
    UNIT_REF_ID SMALLINT,
    UNIT_COST   DOUBLE,
    LINETAG     VARCHAR(20) COLLATE NOCASE,
    DEPT_REF    INTEGER,
    OP_CD_REF   INTEGER,
    NOTES       LONG VARCHAR,
    PRIMARY KEY (DIV_NBR, SECTION_NBR, ITEM_NBR)
);
CREATE TABLE SUPPLIER (
    DIV_NBR      SMALLINT,
    SECTION_NBR  SMALLINT,
    ITEM_NBR     SMALLINT,
    COMPANY_NBR  INTEGER,
    COMPANY_PUB  VARCHAR(10) COLLATE NOCASE,
    STOCK        VARCHAR(30) COLLATE NOCASE,
    COST         DOUBLE,
    PRIMARY_VNDR INTEGER DEFAULT 0
);

-- Action items of a job.
CREATE TABLE ACTION_ITEM (
    ActionItemNbr INTEGER PRIMARY KEY,
    JobNbr        INTEGER,
    Descr         VARCHAR(255) COLLATE NOCASE,
    NeedByDt      DATE,
    FinishDt      DATE,
    AssignedTo    INTEGER                                           -- employee number
);

-- Seed rows: the options row (all defaults: alerts off, no e-mail), the user
-- defaults, the "none" rows that joins and "!= -99" filters expect, and job
-- status 0, which the program treats as closed.
INSERT INTO DORNWICK_OPTIONS (TokenKey) VALUES (1);
INSERT INTO WU_DFLTS (CustomCode, QtyDecimals, CostDecimals, DT_PREF, PH_PREF)
       VALUES ('', 2, 2, 1, 1);

INSERT INTO BUILDING (BuildingNbr, Building, Descr) VALUES (-99, '', '');
INSERT INTO ZONE (ZoneNbr, BuildingNbr, Zone, Descr) VALUES (-99, -99, '', '');
INSERT INTO BIN (BinNbr, ZoneNbr, Bin, Descr) VALUES (-99, -99, '', '');
INSERT INTO DEPT (DeptNbr, Name, Seq) VALUES (-99, '', 0);
INSERT INTO OPCODE (OpCdNbr, OpCode, OpCdDescr, DeptNbr, OpCdCat) VALUES (-99, '', '', -99, NULL);
INSERT INTO JOB_STATUS (JobStatusNbr, JobStatus) VALUES (0, 'Closed');

COMMIT;
