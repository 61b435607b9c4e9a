#pragma once
// The inventory data module: stock locations (buildings, zones, bins),
// inventory items and their locations, reservations, inventory
// transactions, balances, suppliers, pieces and received goods that still
// need a location, each list with its calculated display fields, and the
// keyed lookups on the scratch queries.
//
// A lookup leaves its row on its scratch query for the caller to read by
// field name: CommonSql holds the last inventory item, piece, work order or
// purchase-order item job; CommonSql2 the last conversion row, piece type,
// location or name lookup. The calculated fields move both, so a caller
// reads its row right after selecting it. A key that matches nothing leaves
// the query open and empty.
#include "datamodules/DmodCommon.h"
#include "platform/classes/Component.h"

#include <cstdint>

class TDataSet;
class TDataSource;
class TQuery;

class TInventoryDmod : public TComponent, public TDecimalCounts {
public:
    explicit TInventoryDmod(TComponent* AOwner);
    AnsiString ClassName() const override { return "TInventoryDmod"; }

    // --- Lookups ----------------------------------------------------------
    // CommonSql on the INVENTORY_ITEM row (InvTypeNbr, Code, Descr, InvConvNbr...).
    void SelectInventoryItem(int InvNbr);
    // The active item made from the cost-library item; -99 unless exactly one.
    int FindInventoryItemByLibRef(std::int16_t DivNbr, std::int16_t SectionNbr,
                                  std::int16_t ItemNbr);
    // CommonSql2 on the INV_CONV row that the by-row unit conversions read.
    void SelectInvConv(int InvConvNbr);
    // CommonSql on the piece; returns the number of rows found.
    int SelectInvPiece(int InvPieceNbr);
    // CommonSql2 on the piece type (Type).
    void SelectInvPieceType(int InvPieceTypeNbr);
    // CommonSql on the work order with its job and job item.
    void SelectWoJobInfo(int WoNbr);
    // CommonSql on the work order's description.
    void SelectWoDescr(int WoNbr);
    // CommonSql on the visible purchase-order item job with its order;
    // true when there is one.
    bool SelectPoItemJob(int PoItemJobNbr);
    // "Building - Descr", "Zone - Descr", "Bin - Descr"; " - " when there is no row.
    AnsiString GetBuildingText(int BuildingNbr);
    AnsiString GetZoneText(int ZoneNbr);
    AnsiString GetBinText(int BinNbr);
    // The short location text: building, then "-zone" and "-bin" where the
    // location has them (A-01-02); empty when the location or one of its
    // building, zone and bin rows is missing.
    AnsiString GetLocationText(int InvLocNbr);

    // --- Calculated fields --------------------------------------------------
    void ListBldgQueryCalcFields(TDataSet* DataSet);
    void ListZoneQueryCalcFields(TDataSet* DataSet);
    void ListBinQueryCalcFields(TDataSet* DataSet);
    void InvReservQCalcFields(TDataSet* DataSet);
    void InvTransQCalcFields(TDataSet* DataSet);
    void InvListQCalcFields(TDataSet* DataSet);
    void InvLocQCalcFields(TDataSet* DataSet);
    void MatCardDailyQCalcFields(TDataSet* DataSet);
    void InvCostQCalcFields(TDataSet* DataSet);
    void InvSupplierQCalcFields(TDataSet* DataSet);
    void ListPieceQCalcFields(TDataSet* DataSet);
    void ListNoLocQCalcFields(TDataSet* DataSet);
    void ListNoLocQ2CalcFields(TDataSet* DataSet);
    void ListInvPieceQCalcFields(TDataSet* DataSet);

    // Display preferences; 0 unless a caller sets them: dates show day-first
    // (dd/mm/yy) and supplier phones empty.
    std::int32_t DatePreference = 0;
    std::int32_t PhonePreference = 0;

    // Components, owned by the module, in form order.
    TDataSource* DsBldg = nullptr;
    TQuery* ListBldgQuery = nullptr;
    TQuery* CommonSql = nullptr;
    TDataSource* DsZone = nullptr;
    TQuery* ListZoneQuery = nullptr;
    TDataSource* DsBin = nullptr;
    TQuery* ListBinQuery = nullptr;
    TQuery* InvReservQ = nullptr;
    TDataSource* InvReservations = nullptr;
    TQuery* InvTransQ = nullptr;
    TDataSource* InvTrans = nullptr;
    TQuery* InvListQ = nullptr;
    TDataSource* DsInvList = nullptr;
    TQuery* InvLocQ = nullptr;
    TDataSource* DsInvLoc = nullptr;
    TQuery* MatCardDailyQ = nullptr;
    TDataSource* DsMatCardDaily = nullptr;
    TQuery* InvCostQ = nullptr;
    TDataSource* DsInvCostQ = nullptr;
    TQuery* CommonSql2 = nullptr;
    TQuery* User1PickQ = nullptr;
    TQuery* User2PickQ = nullptr;
    TDataSource* DsUser1 = nullptr;
    TDataSource* DsUser2 = nullptr;
    TQuery* InvCatQ = nullptr;
    TDataSource* DsInvCat = nullptr;
    TQuery* InvPieceTypeQ = nullptr;
    TDataSource* DsInvPieceType = nullptr;
    TQuery* InvSupplierQ = nullptr;
    TDataSource* DsInvSupplier = nullptr;
    TQuery* ListPieceQ = nullptr;
    TQuery* ListNoLocQ = nullptr;
    TQuery* ListNoLocQ2 = nullptr;
    TQuery* InvReservMatCardQ = nullptr;
    TQuery* CommonSql3 = nullptr;
    TDataSource* DsListInvPiece = nullptr;
    TQuery* ListInvPieceQ = nullptr;
    TQuery* CommonSql4 = nullptr;

private:
    void CreateComponents();
    void CreateLocationQueries();
    void CreateReservationAndTransactionQueries();
    void CreateItemQueries();
    void CreatePieceQueries();
    // The first two columns of CommonSql2's row joined by " - ".
    AnsiString PairText();
    // The name of a unit of measure; empty for a NULL reference.
    AnsiString UomText(const TField* UomRef);
    // The piece type's name; empty for a NULL type.
    AnsiString PieceTypeText(const TField* InvPieceTypeNbr);
    // The vendor as the lists show it: FNAME and NAME, or NAME alone.
    AnsiString VendorText(int CompanyNbr, const AnsiString& CompanyPub);
    // The employee's "First Last".
    AnsiString EmployeeName(int EmpNbr);
    // Text of a number with CostDecimals decimals.
    AnsiString CostText(double Value) const;
};
