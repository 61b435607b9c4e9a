#include "datamodules/DmodInventory.h"

#include "platform/data/DataSource.h"
#include "platform/data/Query.h"

TInventoryDmod::TInventoryDmod(TComponent* AOwner) : TComponent(AOwner) {
    SetName(DmodNames::Inventory);
    CreateComponents();
}

void TInventoryDmod::CreateComponents() {
    CreateLocationQueries();
    CreateReservationAndTransactionQueries();
    CreateItemQueries();
    CreatePieceQueries();
}

void TInventoryDmod::CreateLocationQueries() {
    ListBldgQuery = NewQuery(this, "ListBldgQuery",
                             {"select BuildingNbr, Building, Descr", "from BUILDING",
                              "where BuildingNbr != -99", "order by Building"});
    AddDataFields(this, ListBldgQuery,
                  {{"BuildingNbr", ftInteger}, {"Building", ftString, 4}, {"Descr", ftString, 15}});
    AddCalcFields(this, ListBldgQuery, {{"BandD", ftString, 25}});
    ListBldgQuery->OnCalcFields = [this](TDataSet* DataSet) { ListBldgQueryCalcFields(DataSet); };
    DsBldg = NewDataSource(this, "DsBldg", ListBldgQuery);

    CommonSql = NewQuery(this, "CommonSql", {});

    ListZoneQuery = NewQuery(this, "ListZoneQuery",
                             {"select * from ZONE", "where BuildingNbr = :BuildingNbr",
                              "and ZoneNbr != -99", "order by Zone"});
    ListZoneQuery->SetDataSource(DsBldg);
    AddDataFields(this, ListZoneQuery,
                  {{"ZoneNbr", ftInteger},
                   {"BuildingNbr", ftInteger},
                   {"Zone", ftString, 2},
                   {"Descr", ftString, 15}});
    AddCalcFields(this, ListZoneQuery, {{"ZandD", ftString, 21}});
    ListZoneQuery->OnCalcFields = [this](TDataSet* DataSet) { ListZoneQueryCalcFields(DataSet); };
    DsZone = NewDataSource(this, "DsZone", ListZoneQuery);

    ListBinQuery = NewQuery(
        this, "ListBinQuery",
        {"Select * from BIN", "where ZoneNbr = :ZoneNbr", "and BinNbr != -99", "order by Bin"});
    ListBinQuery->SetDataSource(DsZone);
    AddDataFields(this, ListBinQuery,
                  {{"BinNbr", ftInteger},
                   {"ZoneNbr", ftInteger},
                   {"Bin", ftString, 2},
                   {"Descr", ftString, 15}});
    AddCalcFields(this, ListBinQuery, {{"BandD", ftString, 22}});
    ListBinQuery->OnCalcFields = [this](TDataSet* DataSet) { ListBinQueryCalcFields(DataSet); };
    DsBin = NewDataSource(this, "DsBin", ListBinQuery);
}

void TInventoryDmod::CreateReservationAndTransactionQueries() {
    InvReservQ = NewQuery(
        this, "InvReservQ",
        {"select JobId, JobDescr, ItemNbr, JobItemDescr, I.JobItemNbr, Picks, Returns, I.JobNbr,",
         "InvNbr, InitReserveCnt, ReservationNbr, I.PoItemJobNbr, I.Type, I.CreateDt, I.WoNbr",
         "from INV_RESERV I, JOBS J, JOB_ITEM JI",
         "where I.JobItemNbr = JI.JobItemNbr and I.JobNbr = J.JobNbr", "and InvNbr = 1",
         "order by JobId desc"});
    AddDataFields(this, InvReservQ,
                  {{"JobId", ftString, 20},
                   {"JobDescr", ftString, 60},
                   {"ItemNbr", ftInteger},
                   {"JobItemDescr", ftString, 60},
                   {"JobItemNbr", ftInteger},
                   {"Picks", ftFloat},
                   {"Returns", ftFloat},
                   {"JobNbr", ftInteger},
                   {"InvNbr", ftInteger},
                   {"InitReserveCnt", ftFloat},
                   {"ReservationNbr", ftInteger},
                   {"PoItemJobNbr", ftInteger},
                   {"Type", ftInteger},
                   {"CreateDt", ftDate},
                   {"WoNbr", ftInteger}});
    AddCalcFields(this, InvReservQ, {{"QtyUsed", ftFloat},        {"QtyOrdered", ftFloat},
                                     {"QtyReceived", ftFloat},    {"ShowNbr", ftInteger},
                                     {"ShowDescr", ftString, 60}, {"ShowQtyOrdered", ftFloat},
                                     {"ShowUnitPrice", ftFloat},  {"ShowQtyReceived", ftFloat},
                                     {"POnbr", ftInteger},        {"POdt", ftDate},
                                     {"date", ftString, 8},       {"UnitPrice", ftFloat},
                                     {"CompanyNbr", ftSmallint},  {"CompanyPub", ftString, 10},
                                     {"Vendor", ftString, 40},    {"EmpNbr", ftInteger},
                                     {"EmpName", ftString, 40},   {"ReqByEmpNbr", ftInteger},
                                     {"ReqName", ftString, 40},   {"ShowType", ftString, 8},
                                     {"WoDescr", ftString, 60},   {"ShortCreateDt", ftString, 8},
                                     {"ShowReturns", ftFloat}});
    InvReservQ->OnCalcFields = [this](TDataSet* DataSet) { InvReservQCalcFields(DataSet); };
    InvReservations = NewDataSource(this, "InvReservations", InvReservQ);

    // The form's statement has no selection: the application adds one.
    InvTransQ = NewQuery(this, "InvTransQ",
                         {"Select I.*, Fname, Lname ", "from INVENTORY_TRANS I, EMPLOYEE E "});
    AddDataFields(this, InvTransQ,
                  {{"InvTransNbr", ftInteger},
                   {"InvNbr", ftInteger},
                   {"InvLocNbr", ftInteger},
                   {"Qty", ftFloat},
                   {"Ts", ftDateTime},
                   {"UnitCost", ftFloat},
                   {"EmpNbr", ftInteger},
                   {"InvTransTypeNbr", ftInteger},
                   {"PoItemNbr", ftInteger},
                   {"WoNbr", ftInteger},
                   {"CompanyNbr", ftInteger},
                   {"CompanyPub", ftString, 10},
                   {"TransDt", ftDate},
                   {"ApproveInd", ftInteger},
                   {"TotalCost", ftFloat, 0, nullptr, "####,###,###.00"},
                   {"InvPieceNbr", ftInteger},
                   {"Source", ftInteger},
                   {"Fname", ftString, 15},
                   {"Lname", ftString, 22},
                   {"Notes", ftMemo},
                   {"ItemValueBef", ftFloat},
                   {"ItemValueAft", ftFloat}});
    AddCalcFields(this, InvTransQ,
                  {{"PoNbr", ftInteger},
                   {"NAME", ftString, 40},
                   {"JobId", ftString, 20},
                   {"JobDescr", ftString, 60},
                   {"JobItemDescr", ftString, 60},
                   {"WoDescr", ftString, 60},
                   {"Building", ftString, 1},
                   {"Descr", ftString, 15},
                   {"TypeLiteral", ftString, 40},
                   {"Location", ftString, 7},
                   {"InvPieceDescr", ftString, 80},
                   {"TransDtString", ftString, 8},
                   {"GridNotes", ftString, 255},
                   {"NetEffectToShow", ftString, 15}});
    InvTransQ->OnCalcFields = [this](TDataSet* DataSet) { InvTransQCalcFields(DataSet); };
    InvTrans = NewDataSource(this, "InvTrans", InvTransQ);
}

void TInventoryDmod::CreateItemQueries() {
    // Each item with its library item and its locations.
    InvListQ = NewQuery(
        this, "InvListQ",
        {"select I.InvNbr, I.Code, D.CODE, D.HEADING, SD.CODE, SD.HEADING, DESCRIPTION,",
         "DESCR2, DESCR3, DESCR4, DESCR5, SEQ_CODE, D.DIV_NBR, SD.SECTION_NBR, L.ITEM_NBR,",
         "L.UNIT_REF_ID, L.UNIT_COST, I.Descr, IDescr2, IDescr3, IDescr4, IDescr5, Inactive,",
         "IL.BuildingNbr, IL.ZoneNbr, IL.BinNbr, B.Building, Z.Zone, BN.Bin",
         "from INVENTORY_ITEM I, DIVISION D, SECT SD, LIB_ITEM L, INV_LOC IL, BUILDING B,",
         "ZONE Z, BIN BN", "where I.LibDivRef = L.DIV_NBR and I.LibSubDivRef = L.SECTION_NBR",
         "and I.LibItemRef = L.ITEM_NBR and L.DIV_NBR = D.DIV_NBR",
         "and L.SECTION_NBR = SD.SECTION_NBR and SD.DIV_NBR = L.DIV_NBR",
         "and IL.InvNbr = I.InvNbr and IL.BuildingNbr = B.BuildingNbr",
         "and IL.ZoneNbr = Z.ZoneNbr and IL.BinNbr = BN.BinNbr"});
    AddDataFields(
        this, InvListQ,
        {{"InvNbr", ftInteger},       {"Code", ftString, 15},     {"DESCRIPTION", ftString, 60},
         {"DESCR2", ftString, 25},    {"DESCR3", ftString, 25},   {"DESCR4", ftString, 25},
         {"DESCR5", ftString, 25},    {"SEQ_CODE", ftString, 20}, {"DIV_NBR", ftSmallint},
         {"SECTION_NBR", ftSmallint}, {"ITEM_NBR", ftSmallint},   {"UNIT_REF_ID", ftSmallint},
         {"UNIT_COST", ftFloat},      {"Descr", ftString, 60},    {"IDescr2", ftString, 25},
         {"IDescr3", ftString, 25},   {"IDescr4", ftString, 25},  {"IDescr5", ftString, 25},
         {"Inactive", ftInteger},     {"BuildingNbr", ftInteger}, {"ZoneNbr", ftInteger},
         {"BinNbr", ftInteger},       {"Building", ftString, 4},  {"Zone", ftString, 2},
         {"Bin", ftString, 2}});
    AddCalcFields(this, InvListQ,
                  {{"DispDesc", ftString, 160},
                   {"DispDesc2", ftString, 25},
                   {"DispDesc3", ftString, 25},
                   {"DispDesc4", ftString, 25},
                   {"DispDesc5", ftString, 25}});
    InvListQ->FieldByName("DispDesc")->SetDisplayWidth(80);
    InvListQ->OnCalcFields = [this](TDataSet* DataSet) { InvListQCalcFields(DataSet); };
    DsInvList = NewDataSource(this, "DsInvList", InvListQ);

    InvLocQ = NewQuery(this, "InvLocQ",
                       {"select * from INV_LOC", "where InvNbr = :a", "order by BuildingNbr"});
    AddDataFields(this, InvLocQ,
                  {{"ReceiveLocInd", ftInteger, 0, "Auto Receive"},
                   {"QtyOnHand", ftFloat, 0, "Qty"},
                   {"Size", ftString, 20},
                   {"InvLocNbr", ftInteger},
                   {"BuildingNbr", ftInteger},
                   {"ZoneNbr", ftInteger},
                   {"BinNbr", ftInteger}});
    for (const char* hidden : {"InvLocNbr", "BuildingNbr", "ZoneNbr", "BinNbr"})
        InvLocQ->FieldByName(hidden)->SetVisible(false);
    AddCalcFields(this, InvLocQ,
                  {{"Building", ftString, 23}, {"Zone", ftString, 20}, {"Bin", ftString, 20}});
    InvLocQ->OnCalcFields = [this](TDataSet* DataSet) { InvLocQCalcFields(DataSet); };
    DsInvLoc = NewDataSource(this, "DsInvLoc", InvLocQ);

    MatCardDailyQ = NewQuery(
        this, "MatCardDailyQ",
        {"select T.Qty, InvTransTypeNbr, StockUOMRef, II.Code, II.Descr, IDescr2, IDescr3,",
         "IDescr4, IDescr5, TrackByThePiece, T.InvPieceNbr, T.Source, T.Notes,",
         "T.UpdatedReservationCount, T.Ts, WoDescr, JobId, JobDescr, JobItemDescr, IL.InvLocNbr",
         "from INVENTORY_TRANS T, INVENTORY_ITEM II, WO, JOBS J, JOB_ITEM I, INV_LOC IL",
         "where T.InvNbr = II.InvNbr and T.WoNbr = WO.WoNbr and WO.JobNbr = J.JobNbr",
         "and WO.JobItemNbr = I.JobItemNbr and T.InvLocNbr = IL.InvLocNbr",
         "and (InvTransTypeNbr = 1 or InvTransTypeNbr = 2)",
         "and T.EmpNbr = 6 and TransDt = '2006/11/16'", "order by T.Ts"});
    AddDataFields(this, MatCardDailyQ,
                  {{"Qty", ftFloat},
                   {"InvTransTypeNbr", ftInteger},
                   {"StockUOMRef", ftSmallint},
                   {"Code", ftString, 15},
                   {"Descr", ftString, 60},
                   {"IDescr2", ftString, 25},
                   {"IDescr3", ftString, 25},
                   {"IDescr4", ftString, 25},
                   {"IDescr5", ftString, 25},
                   {"TrackByThePiece", ftInteger},
                   {"InvPieceNbr", ftInteger},
                   {"Source", ftInteger},
                   {"Notes", ftMemo},
                   {"UpdatedReservationCount", ftInteger}});
    AddCalcFields(this, MatCardDailyQ,
                  {{"Direction", ftString, 8, "Type"},
                   {"UOM", ftString, 8},
                   {"CodeDescr", ftString, 175},
                   {"GridNotes", ftString, 255}});
    MatCardDailyQ->FieldByName("CodeDescr")->SetVisible(false);
    MatCardDailyQ->OnCalcFields = [this](TDataSet* DataSet) { MatCardDailyQCalcFields(DataSet); };
    DsMatCardDaily = NewDataSource(this, "DsMatCardDaily", MatCardDailyQ);

    InvCostQ =
        NewQuery(this, "InvCostQ",
                 {"select Qty, UnitCost, TotalCost, MatCost, LaborCost, Price, Ts, InvBalNbr",
                  "from INV_BALANCE", "where InvNbr =  :a ", "order by Ts"});
    AddDataFields(this, InvCostQ,
                  {{"Qty", ftFloat},
                   {"UnitCost", ftFloat, 0, nullptr, "#.000"},
                   {"TotalCost", ftCurrency},
                   {"MatCost", ftCurrency},
                   {"LaborCost", ftCurrency},
                   {"Price", ftCurrency},
                   {"Ts", ftDateTime},
                   {"InvBalNbr", ftInteger}});
    AddCalcFields(this, InvCostQ,
                  {{"Date", ftString, 8},
                   {"UnitCostString", ftString, 15},
                   {"TotalCostString", ftString, 15},
                   {"MatCostString", ftString, 15},
                   {"LaborCostString", ftString, 15}});
    InvCostQ->OnCalcFields = [this](TDataSet* DataSet) { InvCostQCalcFields(DataSet); };
    DsInvCostQ = NewDataSource(this, "DsInvCostQ", InvCostQ);

    CommonSql2 = NewQuery(this, "CommonSql2", {});

    // The form names the building list's handler for the two pick lists; with
    // no calculated fields it never runs, so none is set.
    User1PickQ = NewQuery(this, "User1PickQ",
                          {"select InvUserNbr, Item", "from INV_USER1", "order by Item"});
    User2PickQ = NewQuery(this, "User2PickQ",
                          {"select InvUserNbr, Item", "from INV_USER2", "order by Item"});
    DsUser1 = NewDataSource(this, "DsUser1", User1PickQ);
    DsUser2 = NewDataSource(this, "DsUser2", User2PickQ);

    InvCatQ = NewQuery(this, "InvCatQ",
                       {"select InvTypeNbr, Type, FinGoodsInd from INV_TYPE order by Type"});
    AddDataFields(this, InvCatQ,
                  {{"InvTypeNbr", ftInteger},
                   {"Type", ftString, 25, "Category"},
                   {"FinGoodsInd", ftInteger, 0, "Finished~Goods"}});
    DsInvCat = NewDataSource(this, "DsInvCat", InvCatQ);

    InvPieceTypeQ =
        NewQuery(this, "InvPieceTypeQ", {"select * from INV_PIECE_TYPE order by Type "});
    DsInvPieceType = NewDataSource(this, "DsInvPieceType", InvPieceTypeQ);

    InvSupplierQ = NewQuery(
        this, "InvSupplierQ",
        {"select InvSupplierNbr, I.COMPANY_NBR, COMPANY_PUB, COST, QUOTE_DATE, STOCK, NAME,",
         "PHONE_NBR", "from INV_SUPPLIER I, COMPANY C",
         "where I.COMPANY_NBR = C.COMPANY_NBR and C.PUB = I.COMPANY_PUB", "and InvNbr = :a",
         "order by NAME"});
    AddDataFields(this, InvSupplierQ,
                  {{"InvSupplierNbr", ftInteger},
                   {"COMPANY_NBR", ftInteger},
                   {"COMPANY_PUB", ftString, 10},
                   {"COST", ftFloat, 0, nullptr, "#.000"},
                   {"QUOTE_DATE", ftDate},
                   {"STOCK", ftString, 30},
                   {"NAME", ftString, 60},
                   {"PHONE_NBR", ftString, 20}});
    AddCalcFields(this, InvSupplierQ, {{"Qdate", ftString, 8}, {"Phone", ftString, 16}});
    InvSupplierQ->OnCalcFields = [this](TDataSet* DataSet) { InvSupplierQCalcFields(DataSet); };
    DsInvSupplier = NewDataSource(this, "DsInvSupplier", InvSupplierQ);
}

void TInventoryDmod::CreatePieceQueries() {
    const char* pieceColumns[] = {
        "select InvPieceNbr, P.InvNbr, P.InvLocNbr, P.PoItemNbr, P.Size, MnfrSeqNbr, P.TotalCost,",
        "I.Code, I.Descr, P.ReceiveDt, P.UsedDt, UomCost, UomQty, P.Notes, P.JobId,",
        "P.InvPieceTypeNbr, P.UomRef, CustName, P.CompanyNbr, P.CompanyPub, P.PieceDescription",
        "from INV_PIECE P, INVENTORY_ITEM I"};
    const std::initializer_list<FieldSpec> pieceFields = {{"InvPieceNbr", ftInteger},
                                                          {"InvNbr", ftInteger},
                                                          {"InvLocNbr", ftInteger},
                                                          {"PoItemNbr", ftInteger},
                                                          {"Size", ftString, 20},
                                                          {"MnfrSeqNbr", ftString, 30},
                                                          {"TotalCost", ftFloat},
                                                          {"Code", ftString, 15},
                                                          {"Descr", ftString, 60},
                                                          {"ReceiveDt", ftDate},
                                                          {"UsedDt", ftDate},
                                                          {"UomCost", ftFloat},
                                                          {"UomQty", ftFloat},
                                                          {"Notes", ftMemo},
                                                          {"JobId", ftString, 20},
                                                          {"InvPieceTypeNbr", ftInteger},
                                                          {"UomRef", ftSmallint},
                                                          {"CustName", ftString, 40},
                                                          {"CompanyNbr", ftInteger},
                                                          {"CompanyPub", ftString, 10},
                                                          {"PieceDescription", ftString, 80}};

    ListPieceQ = NewQuery(this, "ListPieceQ",
                          {pieceColumns[0], pieceColumns[1], pieceColumns[2], pieceColumns[3],
                           "where P.InvNbr = I.InvNbr"});
    AddDataFields(this, ListPieceQ, pieceFields);
    AddCalcFields(this, ListPieceQ,
                  {{"uom", ftString, 8},
                   {"Location", ftString, 7},
                   {"PoNumber", ftInteger},
                   {"PieceType", ftString, 25}});
    ListPieceQ->OnCalcFields = [this](TDataSet* DataSet) { ListPieceQCalcFields(DataSet); };

    ListNoLocQ = NewQuery(
        this, "ListNoLocQ",
        {"select NeedLocNbr, P.InvNbr, P.PoItemNbr, P.Size, MnfrSeqNbr, P.TotalCost, I.Code,",
         "I.Descr, P.ReceiveDt, P.UnitCost, P.Qty, P.Notes, P.JobId, P.InvPieceTypeNbr,",
         "P.UomRef, CustName, P.CompanyNbr, P.CompanyPub, TrackByThePiece, PoNbr, QtyReserved",
         "from INV_NEED_LOC P, INVENTORY_ITEM I", "where P.InvNbr = I.InvNbr"});
    AddDataFields(this, ListNoLocQ,
                  {{"NeedLocNbr", ftInteger},
                   {"InvNbr", ftInteger},
                   {"PoItemNbr", ftInteger},
                   {"Size", ftString, 20},
                   {"MnfrSeqNbr", ftString, 30},
                   {"TotalCost", ftFloat},
                   {"Code", ftString, 15},
                   {"Descr", ftString, 60},
                   {"ReceiveDt", ftDate},
                   {"UnitCost", ftFloat},
                   {"Qty", ftFloat},
                   {"Notes", ftMemo},
                   {"JobId", ftString, 20},
                   {"InvPieceTypeNbr", ftInteger},
                   {"UomRef", ftSmallint},
                   {"CustName", ftString, 40},
                   {"CompanyNbr", ftInteger},
                   {"CompanyPub", ftString, 10},
                   {"TrackByThePiece", ftInteger},
                   {"PoNbr", ftInteger},
                   {"QtyReserved", ftFloat}});
    AddCalcFields(this, ListNoLocQ, {{"uom", ftString, 8}, {"piecetype", ftString, 25}});
    ListNoLocQ->OnCalcFields = [this](TDataSet* DataSet) { ListNoLocQCalcFields(DataSet); };

    ListNoLocQ2 = NewQuery(
        this, "ListNoLocQ2",
        {"select NeedLocNbr, P.InvNbr, P.PoItemNbr, P.TotalCost, I.Code, I.Descr, P.ReceiveDt,",
         "P.UnitCost, P.Qty, P.Notes, P.JobId, P.UomRef, CustName, P.CompanyNbr, P.CompanyPub,",
         "TrackByThePiece, PoNbr, QtyReserved", "from INV_NEED_LOC P, INVENTORY_ITEM I",
         "where P.InvNbr = I.InvNbr"});
    AddDataFields(this, ListNoLocQ2,
                  {{"NeedLocNbr", ftInteger},
                   {"InvNbr", ftInteger},
                   {"PoItemNbr", ftInteger},
                   {"TotalCost", ftFloat},
                   {"Code", ftString, 15},
                   {"Descr", ftString, 60},
                   {"ReceiveDt", ftDate},
                   {"UnitCost", ftFloat},
                   {"Qty", ftFloat},
                   {"Notes", ftMemo},
                   {"JobId", ftString, 20},
                   {"UomRef", ftSmallint},
                   {"CustName", ftString, 40},
                   {"CompanyNbr", ftInteger},
                   {"CompanyPub", ftString, 10},
                   {"TrackByThePiece", ftInteger},
                   {"PoNbr", ftInteger},
                   {"QtyReserved", ftFloat}});
    AddCalcFields(this, ListNoLocQ2, {{"uom", ftString, 8}});
    ListNoLocQ2->OnCalcFields = [this](TDataSet* DataSet) { ListNoLocQ2CalcFields(DataSet); };

    InvReservMatCardQ = NewQuery(this, "InvReservMatCardQ",
                                 {"Select * from INV_RESERV", "where   InvNbr = :a",
                                  "and JobNbr = :b", "order by ReservationNbr"});
    CommonSql3 = NewQuery(this, "CommonSql3", {});

    // The form's statement has no selection: the application adds one.
    ListInvPieceQ = NewQuery(this, "ListInvPieceQ",
                             {pieceColumns[0], pieceColumns[1], pieceColumns[2], pieceColumns[3]});
    AddDataFields(this, ListInvPieceQ, pieceFields);
    AddCalcFields(this, ListInvPieceQ,
                  {{"PieceType", ftString, 25},
                   {"PoNumber", ftInteger},
                   {"Location", ftString, 7},
                   {"uom", ftString, 8},
                   {"MainDescr", ftString, 160}});
    ListInvPieceQ->OnCalcFields = [this](TDataSet* DataSet) { ListInvPieceQCalcFields(DataSet); };
    DsListInvPiece = NewDataSource(this, "DsListInvPiece", ListInvPieceQ);
    CommonSql4 = NewQuery(this, "CommonSql4", {});
}
