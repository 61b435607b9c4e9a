// The calculated fields of the job-form data module's list queries.
#include "datamodules/DmodJobForm.h"

#include "datamodules/DmodEmp.h"
#include "datamodules/DmodInventory.h"
#include "datamodules/DmodJobStatus.h"
#include "datamodules/DmodJobType.h"
#include "datamodules/DmodShip.h"
#include "datamodules/DmodVelm.h"
#include "datamodules/DmodWoType.h"
#include "datamodules/format/DateText.h"
#include "datamodules/format/DisplayText.h"
#include "datamodules/format/RowSearch.h"
#include "platform/data/Query.h"

namespace {

// The disposition's name; an unknown number gives the empty text.
AnsiString DispositionText(const TDataSet& Row) {
    AnsiString name;
    TColor unused = 0;
    DispositionName(Row.FieldByName("DispNbr")->AsInteger(), name, false, unused);
    return name;
}

// Text by code 0, 1, 2; another code (or NULL) leaves the field unset.
void SetByCode(TDataSet& Row, const char* CodeField, const char* TextField,
               const std::array<const char*, 3>& Names) {
    const TField* code = Row.FieldByName(CodeField);
    if (!code->IsNull() && code->AsInteger() >= 0 && code->AsInteger() <= 2)
        Row.FieldByName(TextField)->SetAsString(Names[static_cast<std::size_t>(code->AsInteger())]);
}

} // namespace

AnsiString TJobFormDmod::UomText(const TDataSet& Row, const char* Field) {
    const TField* unit = Row.FieldByName(Field);
    if (unit->IsNull()) return "";
    return PeerDmod<TVelmDmod>(*this, DmodNames::Velm)
        .GetUomName(static_cast<std::int16_t>(unit->AsInteger()));
}

void TJobFormDmod::SetJobStatusAndType(TDataSet& Row) {
    const TField* status = Row.FieldByName("JobStatusNbr");
    if (!status->IsNull()) {
        AnsiString name;
        PeerDmod<TJobStatusDmod>(*this, DmodNames::JobStatus)
            .GetJobStatusName(status->AsInteger(), name);
        Row.FieldByName("Status")->SetAsString(name);
    }
    const TField* type = Row.FieldByName("JobTypeNbr");
    if (!type->IsNull()) {
        AnsiString name;
        PeerDmod<TJobTypeDmod>(*this, DmodNames::JobType).GetJobTypeName(type->AsInteger(), name);
        Row.FieldByName("Type")->SetAsString(name);
    }
}

void TJobFormDmod::GrpWoListQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *GrpWoListQ;
    AnsiString status;
    WorkOrderStatusName(q.FieldByName("WorkOrdStatusNbr")->AsInteger(), status);
    q.FieldByName("Status")->SetAsString(status);

    AnsiString type;
    const int typeNbr = q.FieldByName("WorkOrdTypeNbr")->AsInteger();
    if (typeNbr != -99) {
        TQuery& types = *PeerDmod<TWoTypeDmod>(*this, DmodNames::WoType).SelectAllQuery;
        if (FindRowIndexByValue(&types, "WorkOrdTypeNbr", typeNbr) != -99)
            type = types.FieldByName("WorkOrdType")->AsString();
    }
    q.FieldByName("Type")->SetAsString(type);
    q.FieldByName("Disp")->SetAsString(DispositionText(q));
}

void TJobFormDmod::JobListQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *JobListQ;
    q.FieldByName("Company")->SetAsString(CompanyDisplayText(q));
    q.FieldByName("Disp")->SetAsString(DispositionText(q));
    SetJobStatusAndType(q);

    const TField* shipTo = q.FieldByName("ShipToNbr");
    if (shipTo->IsNull()) {
        if (!q.FieldByName("ShipToAddr")->IsNull())
            q.FieldByName("ShipToCompany")->SetAsString("User Entered");
        return;
    }
    TVelmDmod& velm = PeerDmod<TVelmDmod>(*this, DmodNames::Velm);
    velm.SelectCompany(shipTo->AsInteger(), q.FieldByName("ShipToPub")->AsString());
    q.FieldByName("ShipToCompany")->SetAsString(CompanyDisplayText(*velm.CommonSql));
}

void TJobFormDmod::ListDeptTmpItemsQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *ListDeptTmpItemsQ;
    OpenLookup(*CommonSql, {"select count(*) from TEMPLATE_OPCODE_ITEM where DeptToken = :a"},
               {q.FieldByName("DeptToken")->AsInteger()});
    q.FieldByName("OpCdCount")->SetAsInteger(CommonSql->Fields()[0]->AsInteger());
}

void TJobFormDmod::EmpAssignQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *EmpAssignQ;
    q.FieldByName("Name")->SetAsString(q.FieldByName("Fname")->AsString() + " " +
                                       q.FieldByName("Lname")->AsString());
    TEmpDmod& emp = PeerDmod<TEmpDmod>(*this, DmodNames::Emp);
    emp.SelectEmployee(q.FieldByName("AssignBy")->AsInteger());
    const TQuery& assigner = *emp.SelectEmpQuery;
    q.FieldByName("AssignByName")
        ->SetAsString(assigner.FieldByName("Fname")->AsString() + " " +
                      assigner.FieldByName("Lname")->AsString());
}

void TJobFormDmod::WoLaborQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *WoLaborQ;
    q.FieldByName("Notes")->SetAsBoolean(!q.FieldByName("RtNotes")->IsNull());
    q.FieldByName("uom")->SetAsString(UomText(q, "UomRef"));
    SetByCode(q, "OpCdCat", "OpType", {"Setup", "Direct", "Indirect"});
}

void TJobFormDmod::MatItemsQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *MatItemsQ;
    q.FieldByName("NoteChk")->SetAsBoolean(!q.FieldByName("Notes")->IsNull());
    q.FieldByName("EstUom")->SetAsString(UomText(q, "EstUomRef"));

    AnsiString code;
    const TField* item = q.FieldByName("InvNbr");
    if (!item->IsNull()) {
        TInventoryDmod& inventory = PeerDmod<TInventoryDmod>(*this, DmodNames::Inventory);
        inventory.SelectInventoryItem(item->AsInteger());
        code = inventory.CommonSql->FieldByName("Code")->AsString();
    }
    q.FieldByName("Code")->SetAsString(code);
}

void TJobFormDmod::OthCostQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *OthCostQ;
    SetByCode(q, "Type", "Stype", {"Travel", "Freight", "Misc"});
    AnsiString date;
    DateTextByPreference(DatePreference, q.FieldByName("OthCostDt")->AsString(), date);
    q.FieldByName("ShortDate")->SetAsString(date);
}

void TJobFormDmod::ProgBillingQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *ProgBillingQ;
    q.FieldByName("Company")->SetAsString(CompanyDisplayText(q));
    q.FieldByName("Status")->SetAsString("");
    q.FieldByName("Type")->SetAsString("");
    SetJobStatusAndType(q);

    AnsiString shipVia;
    const TField* shipViaNbr = q.FieldByName("ShipViaNbr");
    if (!shipViaNbr->IsNull())
        PeerDmod<TShipDmod>(*this, DmodNames::Ship)
            .GetShipViaName(shipViaNbr->AsInteger(), shipVia);
    q.FieldByName("ShipVia")->SetAsString(shipVia);
}
