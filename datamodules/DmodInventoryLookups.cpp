// The inventory module's keyed lookups on its scratch queries.
#include "datamodules/DmodInventory.h"

#include "platform/data/Query.h"

void TInventoryDmod::SelectInventoryItem(int InvNbr) {
    OpenLookup(*CommonSql, {"Select * from INVENTORY_ITEM where InvNbr = :a"}, {InvNbr});
}

int TInventoryDmod::FindInventoryItemByLibRef(std::int16_t DivNbr, std::int16_t SectionNbr,
                                              std::int16_t ItemNbr) {
    SetStatement(*CommonSql, {"select InvNbr from INVENTORY_ITEM where LibDivRef = :a",
                              " and LibSubDivRef = :b and LibItemRef = :c and Inactive = 0"});
    CommonSql->Prepare();
    CommonSql->Params()[0]->SetAsSmallInt(DivNbr);
    CommonSql->Params()[1]->SetAsSmallInt(SectionNbr);
    CommonSql->Params()[2]->SetAsSmallInt(ItemNbr);
    CommonSql->Open();
    // Two active items made from one library item are as good as none: the
    // caller cannot tell which one is meant.
    if (CommonSql->RecordCount() != 1) return -99;
    return CommonSql->FieldByName("InvNbr")->AsInteger();
}

void TInventoryDmod::SelectInvConv(int InvConvNbr) {
    OpenLookup(*CommonSql2, {"select * from INV_CONV where InvConvNbr = :a"}, {InvConvNbr});
}

int TInventoryDmod::SelectInvPiece(int InvPieceNbr) {
    OpenLookup(*CommonSql, {"select * from INV_PIECE where InvPieceNbr = :a"}, {InvPieceNbr});
    return CommonSql->RecordCount();
}

void TInventoryDmod::SelectInvPieceType(int InvPieceTypeNbr) {
    OpenLookup(*CommonSql2, {"select * from INV_PIECE_TYPE where InvPieceTypeNbr = :a"},
               {InvPieceTypeNbr});
}

void TInventoryDmod::SelectWoJobInfo(int WoNbr) {
    OpenLookup(*CommonSql,
               {"Select WoDescr, ", "JobId, JobDescr, ItemNbr, JobItemDescr, WO.JobNbr  ",
                "from WO, JOBS J, JOB_ITEM JI where WoNbr = :a ",
                "and WO.JobItemNbr = JI.JobItemNbr ", "and WO.JobNbr = J.JobNbr "},
               {WoNbr});
}

void TInventoryDmod::SelectWoDescr(int WoNbr) {
    OpenLookup(*CommonSql, {"Select WoDescr  ", "from WO where WoNbr = :a "}, {WoNbr});
}

bool TInventoryDmod::SelectPoItemJob(int PoItemJobNbr) {
    OpenLookup(*CommonSql,
               {"Select PIJ.QtyReceived,PIJ.QtyOrdered, PO.POnbr, POdt, PIJ.UnitPrice, "
                "PO.CompanyNbr, ",
                "PO.CompanyPub, PO.EmpNbr,  PO.ReqByEmpNbr, PIJ.JobNbr,PIJ.ShippingAmt ",
                "from  PURCHASE_ORDER PO, PO_ITEM PI,PO_ITEM_JOB PIJ ",
                "where PIJ.PoItemJobNbr = :a ", "    and PIJ.Visible = 1 ",
                "    and PIJ.PoItemNbr = PI.PoItemNbr ", "    and PI.PoNbr = PO.POnbr "},
               {PoItemJobNbr});
    return CommonSql->RecordCount() > 0;
}

AnsiString TInventoryDmod::PairText() {
    // No row gives two empty texts and so " - ".
    return CommonSql2->Fields()[0]->AsString() + " - " + CommonSql2->Fields()[1]->AsString();
}

AnsiString TInventoryDmod::GetBuildingText(int BuildingNbr) {
    OpenLookup(*CommonSql2, {"select Building, Descr from BUILDING where BuildingNbr = :a"},
               {BuildingNbr});
    return PairText();
}

AnsiString TInventoryDmod::GetZoneText(int ZoneNbr) {
    OpenLookup(*CommonSql2, {"select Zone, Descr from ZONE where ZoneNbr = :a"}, {ZoneNbr});
    return PairText();
}

AnsiString TInventoryDmod::GetBinText(int BinNbr) {
    OpenLookup(*CommonSql2, {"select Bin,Descr from BIN where BinNbr = :a"}, {BinNbr});
    return PairText();
}

AnsiString TInventoryDmod::GetLocationText(int InvLocNbr) {
    OpenLookup(*CommonSql2,
               {"select Building,Zone,Bin,I.BuildingNbr,I.ZoneNbr,I.BinNbr from INV_LOC I,",
                "Building B,Zone Z, Bin where InvLocNbr = :a and I.BuildingNbr = B.BuildingNbr ",
                "and I.ZoneNbr = Z.ZoneNbr and I.BinNbr = Bin.BinNbr"},
               {InvLocNbr});
    const TQuery& row = *CommonSql2;
    AnsiString text = row.FieldByName("Building")->AsString();
    // Zone and bin -99 are the "none" rows: the location is the building alone.
    const AnsiString zone =
        row.FieldByName("ZoneNbr")->AsInteger() != -99 ? row.FieldByName("Zone")->AsString() : "";
    const AnsiString bin =
        row.FieldByName("BinNbr")->AsInteger() != -99 ? row.FieldByName("Bin")->AsString() : "";
    if (!zone.empty()) text += "-" + zone;
    if (!bin.empty()) text += "-" + bin;
    return text;
}
