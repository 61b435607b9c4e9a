// The grid's three menu commands (preview, print, export) and the hooks
// that hand printing to the linked report component.
#include "grid/model/GxGrid.h"
#include "grid/model/GridGuards.h"
#include "grid/view/GridReport.h"
#include "platform/gui/Menus.h"

namespace grid {

namespace {

// The items the grid added to Menu, last first.
void RemoveGridItems(TMenu* Menu) {
    TMenuItem* Root = Menu->Items();
    for (int I = Root->Count() - 1; I >= 0; --I) {
        TMenuItem* Item = Root->Items(I);
        if (Item->Tag() != TgxCustomGrid::GridMenuTag) continue;
        Root->Delete(I);
        delete Item;
    }
}

} // namespace

void TgxCustomGrid::SetGridReport(TgoCustomGridReport* Value) {
    if (Value == FGridReport) return;
    if (FGridReport) FGridReport->RemoveFreeNotification(this);
    FGridReport = Value;
    if (!Value) return;
    Value->FreeNotification(this);
    // The next showing adds the items again, with the report's captions.
    if (Reading()) return;
    if (PopupMenu())
        RemoveGridItems(PopupMenu());
    else if (FGridMenu)
        RemoveGridItems(FGridMenu);
}

void TgxCustomGrid::Notification(TComponent* AComponent, TOperation Operation) {
    TgxBaseGrid::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FGridReport) FGridReport = nullptr;
    if (AComponent == FGridMenu) FGridMenu = nullptr;
}

void TgxCustomGrid::Print() {
    if (!FGridReport)
        throw Exception("Cellmoor requires a GridReport component to be associated to this grid "
                        "to support printing !");
    TgxRedrawOff Off(*this);
    FGridReport->Print(this);
}

void TgxCustomGrid::PrintPreview() {
    if (!FGridReport)
        throw Exception("Cellmoor requires a GridReport component to be associated to this grid "
                        "to support printing !");
    TgxRedrawOff Off(*this);
    FGridReport->PrintPreview(this);
}

void TgxCustomGrid::DoPrintGrid(bool& Cancel) {
    if (OnPrintGrid && CanActivateEvent()) OnPrintGrid(this, Cancel);
}

void TgxCustomGrid::DoPrintRow(int DataRow, bool& Cancel) {
    if (OnPrintRow && CanActivateEvent()) OnPrintRow(this, DataRow, Cancel);
}

void TgxCustomGrid::DoPrintCell(int DataCol, int DataRow, bool& Cancel) {
    if (OnPrintCell && CanActivateEvent()) OnPrintCell(this, DataCol, DataRow, Cancel);
}

void TgxCustomGrid::AddGridMenuItems(TPopupMenu* Menu) {
    TMenuItem* Root = Menu->Items();
    for (int I = 0; I < Root->Count(); ++I)
        if (Root->Items(I)->Tag() == GridMenuTag) return;
    const auto Add = [this, Root](const AnsiString& Caption, TNotifyEvent OnClick) {
        auto* Item = new TMenuItem(this);
        Item->SetCaption(Caption);
        Item->SetTag(GridMenuTag);
        Item->OnClick = std::move(OnClick);
        Root->Add(Item);
    };
    if (Menu == PopupMenu()) Add("-", nullptr);
    const TgoCustomGridReport* Report = FGridReport;
    if (!Report || !Report->PreviewCaption().empty())
        Add(Report ? Report->PreviewCaption() : AnsiString("Preview Grid..."),
            [this](TObject*) { PrintPreview(); });
    Add(Report ? Report->PrintCaption() : AnsiString("Print Grid..."),
        [this](TObject*) { Print(); });
    Add(Report ? Report->ExportCaption() : AnsiString("Export Grid..."),
        [this](TObject*) { ExportGrid(); });
}

void TgxCustomGrid::ConfigureGridMenu() {
    delete FGridMenu;
    FGridMenu = new TPopupMenu(this);
    FGridMenu->SetPopupComponent(this);
    AddGridMenuItems(FGridMenu);
}

void TgxCustomGrid::ShowGridMenu(int X, int Y) {
    const TPoint At = ClientToScreen(TPoint{X, Y});
    if (TPopupMenu* Menu = PopupMenu()) {
        AddGridMenuItems(Menu);
        Menu->Popup(At.X, At.Y);
        return;
    }
    // The items a report link took away come back, with its captions.
    if (!FGridMenu)
        ConfigureGridMenu();
    else
        AddGridMenuItems(FGridMenu);
    FGridMenu->Popup(At.X, At.Y);
}

void TgxCustomGrid::DoContextPopup(const TPoint& MousePos, bool& Handled) {
    TgxBaseGrid::DoContextPopup(MousePos, Handled);
    if (Handled) return;
    if (!ProvideGridMenu() && !(FGridReport && FGridReport->ProvideGridMenu())) return;
    ShowGridMenu(MousePos.X, MousePos.Y);
    Handled = true;
}

// The window stops repainting while the grid goes on keeping itself in
// order; switched on again it repaints at once.
void TgxCustomGrid::BeginUpdate() {
    SetEnableRedraw(false);
}

void TgxCustomGrid::EndUpdate() {
    SetEnableRedraw(true);
}

void TgxCustomGrid::PaintToMetaFileCanvas(TCanvas* Canvas) {
    // There are no metafiles here: the picture goes onto the canvas given.
    PaintTo(Canvas);
}

} // namespace grid
