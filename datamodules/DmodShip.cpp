#include "datamodules/DmodShip.h"

#include "datamodules/DmodCommon.h"
#include "datamodules/DmodVelm.h"
#include "datamodules/format/DateText.h"
#include "platform/data/DataSource.h"
#include "platform/data/Query.h"

TShipDmod::TShipDmod(TComponent* AOwner) : TComponent(AOwner) {
    SetName(DmodNames::Ship);
    CreateComponents();
    ReadShippingSettings();
}

void TShipDmod::CreateComponents() {
    CommonSql = NewQuery(this, "CommonSql", {});

    ShipViaQ = NewQuery(this, "ShipViaQ", {"select * from SHIPVIA", "order by ShipVia"});
    AddDataFields(this, ShipViaQ, {{"ShipViaNbr", ftInteger}, {"ShipVia", ftString, 25}});
    DsShipVia = NewDataSource(this, "DsShipVia", ShipViaQ, false);

    ShipListQ = NewQuery(this, "ShipListQ",
                         {"select ShipTicketNbr, ShipDt, ShipStatusNbr, JobId, JobDescr, NAME, "
                          "FNAME, ShipToNbr, ShipToPub, ShipToAddr, S.JobNbr",
                          "from SHIP_TICKET S, JOBS J, COMPANY C",
                          "where S.JobNbr = J.JobNbr and J.CompanyNbr = C.COMPANY_NBR",
                          "and J.CompanyPub = C.PUB"});
    AddDataFields(this, ShipListQ,
                  {{"ShipTicketNbr", ftInteger},
                   {"ShipDt", ftDate},
                   {"ShipStatusNbr", ftInteger},
                   {"JobId", ftString, 20},
                   {"JobDescr", ftString, 60},
                   {"NAME", ftString, 40},
                   {"FNAME", ftString},
                   {"ShipToNbr", ftInteger},
                   {"ShipToPub", ftString, 10},
                   {"ShipToAddr", ftMemo},
                   {"JobNbr", ftInteger}});
    AddCalcFields(this, ShipListQ,
                  {{"Company", ftString, 55},
                   {"ShortDt", ftString, 8},
                   {"ShipStatus", ftString},
                   {"ShipCompany", ftString, 65}});
    ShipListQ->OnCalcFields = [this](TDataSet* DataSet) { ShipListQCalcFields(DataSet); };
    dsShipListQ = NewDataSource(this, "dsShipListQ", ShipListQ);

    CommonSql2 = NewQuery(this, "CommonSql2", {});

    BillingQ = NewQuery(this, "BillingQ",
                        {"select BillingNbr, InvoiceDt, JobId, JobDescr, NAME, FNAME, InvoiceNbr, "
                         "ShipTicketNbr, B.JobNbr, CompanyNbr, CompanyPub",
                         "from BILLING B, JOBS J, COMPANY C",
                         "where B.JobNbr = J.JobNbr and J.CompanyNbr = C.COMPANY_NBR",
                         "and J.CompanyPub = C.PUB and BillingNbr = 33"});
    AddDataFields(this, BillingQ,
                  {{"BillingNbr", ftInteger},
                   {"InvoiceDt", ftDate},
                   {"JobId", ftString, 20},
                   {"JobDescr", ftString, 60},
                   {"NAME", ftString, 40},
                   {"FNAME", ftString},
                   {"InvoiceNbr", ftInteger},
                   {"ShipTicketNbr", ftInteger},
                   {"JobNbr", ftInteger},
                   {"CompanyNbr", ftInteger},
                   {"CompanyPub", ftString, 10}});
    AddCalcFields(this, BillingQ, {{"Company", ftString, 70}, {"sDate", ftString, 8}});
    BillingQ->OnCalcFields = [this](TDataSet* DataSet) { BillingQCalcFields(DataSet); };
    dsBillingQ = NewDataSource(this, "dsBillingQ", BillingQ);

    CommonSql3 = NewQuery(this, "CommonSql3", {});
    CommonSql4 = NewQuery(this, "CommonSql4", {});

    FilterProductsQ =
        NewQuery(this, "FilterProductsQ", {"select P.*, WoDescr,JobItemNbr from WO_PRODUCTS P,WO"});
    dsFilterProductsQ = NewDataSource(this, "dsFilterProductsQ", FilterProductsQ, false);
}

void TShipDmod::ReadShippingSettings() {
    SetStatement(*CommonSql, {"select PcCntProduct,PcCntHardware,PcCntOther,PcCntService,"
                              "PcCntMaterial,AutoShipBOCalcInd,UseBuiltFlagInd from "
                              "DORNWICK_OPTIONS "});
    CommonSql->Open();
    // With no options row, or a NULL setting, there is nothing to convert and
    // creating the module fails; the message names what is missing, since the
    // program entry shows it as the reason the program ends.
    if (CommonSql->Eof())
        throw EVariantTypeCastError(
            "DORNWICK_OPTIONS has no row to read the shipping settings from");
    std::int32_t* const settings[] = {&PcCntProduct,   &PcCntHardware, &PcCntOther,
                                      &PcCntService,   &PcCntMaterial, &AutoShipBOCalcInd,
                                      &UseBuiltFlagInd};
    int index = 0;
    for (std::int32_t* setting : settings) {
        const TField* field = CommonSql->Fields()[index++];
        if (field->IsNull())
            throw EVariantTypeCastError("The shipping setting " + field->FieldName() +
                                        " of DORNWICK_OPTIONS is empty");
        *setting = field->Value().AsInteger();
    }
}

void TShipDmod::GetShipViaName(int ShipViaNbr, AnsiString& Name) {
    OpenLookup(*CommonSql4, {"Select ShipVia from SHIPVIA where ShipViaNbr = :a"}, {ShipViaNbr});
    if (CommonSql4->RecordCount() == 0)
        Name = "";
    else
        Name = CommonSql4->FieldByName("ShipVia")->Value().AsString();
}

void TShipDmod::ShipListQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *ShipListQ;
    q.FieldByName("Company")->SetAsString(CompanyDisplayText(q));

    AnsiString shortDate;
    if (!q.FieldByName("ShipDt")->IsNull())
        DateTextByPreference(DatePreference, q.FieldByName("ShipDt")->AsString(), shortDate);
    q.FieldByName("ShortDt")->SetAsString(shortDate);

    static const char* const statusNames[] = {"Pending", "Check Load", "Shipped",
                                              "Shipped Incomplete"};
    const TField* status = q.FieldByName("ShipStatusNbr");
    if (!status->IsNull() && status->AsInteger() >= 0 && status->AsInteger() <= 3)
        q.FieldByName("ShipStatus")->SetAsString(statusNames[status->AsInteger()]);

    const TField* shipTo = q.FieldByName("ShipToNbr");
    if (shipTo->IsNull()) {
        q.FieldByName("ShipCompany")->SetAsString("User Entered");
    } else {
        TVelmDmod& velm = PeerDmod<TVelmDmod>(*this, DmodNames::Velm);
        velm.SelectCompany(shipTo->AsInteger(), q.FieldByName("ShipToPub")->AsString());
        q.FieldByName("ShipCompany")->SetAsString(CompanyDisplayText(*velm.CommonSql));
    }
}

void TShipDmod::BillingQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *BillingQ;
    q.FieldByName("Company")->SetAsString(CompanyDisplayText(q));
    AnsiString date;
    DateTextByPreference(DatePreference, q.FieldByName("InvoiceDt")->AsString(), date);
    q.FieldByName("sDate")->SetAsString(date);
}
