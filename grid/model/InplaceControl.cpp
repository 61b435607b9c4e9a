#include "grid/model/InplaceControl.h"

namespace grid {

TgxCustomGridControl::TgxCustomGridControl(std::unique_ptr<TgxGridControl> AControl)
    : FControl(std::move(AControl)) {}

TgxCustomGridControl::~TgxCustomGridControl() = default;

bool TgxCustomGridControl::GetVisible() const {
    return FControl->Visible();
}

void TgxCustomGridControl::SetVisible(bool Value) {
    if (FControl->Visible() != Value) FControl->SetVisible(Value);
}

void TgxCustomGridControl::SetMouseCapture(bool Value) {
    FControl->SetMouseCapture(Value);
}

bool TgxCustomGridControl::GetMouseCapture() const {
    return FControl->MouseCapture();
}

void TgxCustomGridControl::SetEnter(TNotifyEvent Value) {
    FControl->OnEnter = std::move(Value);
}
void TgxCustomGridControl::SetExit(TNotifyEvent Value) {
    FControl->OnExit = std::move(Value);
}
void TgxCustomGridControl::SetKillFocus(TNotifyEvent Value) {
    FControl->OnKillFocus = std::move(Value);
}
void TgxCustomGridControl::SetKeyDown(TKeyEvent Value) {
    FControl->OnKeyDown = std::move(Value);
}
void TgxCustomGridControl::SetKeyUp(TKeyEvent Value) {
    FControl->OnKeyUp = std::move(Value);
}
void TgxCustomGridControl::SetKeyPress(TKeyPressEvent Value) {
    FControl->OnKeyPress = std::move(Value);
}
void TgxCustomGridControl::SetClick(TNotifyEvent Value) {
    FControl->OnClick = std::move(Value);
}
void TgxCustomGridControl::SetDblClick(TNotifyEvent Value) {
    FControl->OnDblClick = std::move(Value);
}
void TgxCustomGridControl::SetDragDrop(TDragDropEvent Value) {
    FControl->OnDragDrop = std::move(Value);
}
void TgxCustomGridControl::SetDragOver(TDragOverEvent Value) {
    FControl->OnDragOver = std::move(Value);
}
void TgxCustomGridControl::SetEndDrag(TEndDragEvent Value) {
    FControl->OnEndDrag = std::move(Value);
}
void TgxCustomGridControl::SetMouseDown(TMouseEvent Value) {
    FControl->OnMouseDown = std::move(Value);
}
void TgxCustomGridControl::SetMouseMove(TMouseMoveEvent Value) {
    FControl->OnMouseMove = std::move(Value);
}
void TgxCustomGridControl::SetMouseUp(TMouseEvent Value) {
    FControl->OnMouseUp = std::move(Value);
}
void TgxCustomGridControl::SetStartDrag(TStartDragEvent Value) {
    FControl->OnStartDrag = std::move(Value);
}
void TgxCustomGridControl::SetEndKeyDown(TKeyEvent Value) {
    FControl->OnEndKeyDown = std::move(Value);
}
void TgxCustomGridControl::SetEndKeyUp(TKeyEvent Value) {
    FControl->OnEndKeyUp = std::move(Value);
}
void TgxCustomGridControl::SetEndKeyPress(TKeyPressEvent Value) {
    FControl->OnEndKeyPress = std::move(Value);
}
void TgxCustomGridControl::SetNotifyChanged(TgxNotifyChangedEvent Value) {
    FControl->OnNotifyChanged = std::move(Value);
}
void TgxCustomGridControl::SetChanged(TgxChangedEvent Value) {
    FControl->OnChanged = std::move(Value);
}
void TgxCustomGridControl::SetEdit(TgxEditEvent Value) {
    FControl->OnEdit = std::move(Value);
}
void TgxCustomGridControl::SetCanChange(TgxCanChangeEvent Value) {
    FControl->OnCanChange = std::move(Value);
}
void TgxCustomGridControl::SetUndoChanged(TgxUndoChangedEvent Value) {
    FControl->OnUndoChanged = std::move(Value);
}
void TgxCustomGridControl::SetWantKey(TgxWantKeyEvent Value) {
    FControl->OnWantKey = std::move(Value);
}
void TgxCustomGridControl::SetInvalidKeys(TgxInvalidKeysEvent Value) {
    FControl->OnInvalidKeys = std::move(Value);
}
void TgxCustomGridControl::SetEditTextResized(TgxEditTextResizedEvent Value) {
    FControl->OnEditTextResized = std::move(Value);
}

TNotifyEvent TgxCustomGridControl::GetEnter() const {
    return FControl->OnEnter;
}
TNotifyEvent TgxCustomGridControl::GetExit() const {
    return FControl->OnExit;
}
TNotifyEvent TgxCustomGridControl::GetKillFocus() const {
    return FControl->OnKillFocus;
}
TKeyEvent TgxCustomGridControl::GetKeyDown() const {
    return FControl->OnKeyDown;
}
TKeyEvent TgxCustomGridControl::GetKeyUp() const {
    return FControl->OnKeyUp;
}
TKeyPressEvent TgxCustomGridControl::GetKeyPress() const {
    return FControl->OnKeyPress;
}
TNotifyEvent TgxCustomGridControl::GetClick() const {
    return FControl->OnClick;
}
TNotifyEvent TgxCustomGridControl::GetDblClick() const {
    return FControl->OnDblClick;
}
TDragDropEvent TgxCustomGridControl::GetDragDrop() const {
    return FControl->OnDragDrop;
}
TDragOverEvent TgxCustomGridControl::GetDragOver() const {
    return FControl->OnDragOver;
}
TEndDragEvent TgxCustomGridControl::GetEndDrag() const {
    return FControl->OnEndDrag;
}
TMouseEvent TgxCustomGridControl::GetMouseDown() const {
    return FControl->OnMouseDown;
}
TMouseMoveEvent TgxCustomGridControl::GetMouseMove() const {
    return FControl->OnMouseMove;
}
TMouseEvent TgxCustomGridControl::GetMouseUp() const {
    return FControl->OnMouseUp;
}
TStartDragEvent TgxCustomGridControl::GetStartDrag() const {
    return FControl->OnStartDrag;
}
TKeyEvent TgxCustomGridControl::GetEndKeyDown() const {
    return FControl->OnEndKeyDown;
}
TKeyEvent TgxCustomGridControl::GetEndKeyUp() const {
    return FControl->OnEndKeyUp;
}
TKeyPressEvent TgxCustomGridControl::GetEndKeyPress() const {
    return FControl->OnEndKeyPress;
}
TgxNotifyChangedEvent TgxCustomGridControl::GetNotifyChanged() const {
    return FControl->OnNotifyChanged;
}
TgxChangedEvent TgxCustomGridControl::GetChanged() const {
    return FControl->OnChanged;
}
TgxEditEvent TgxCustomGridControl::GetEdit() const {
    return FControl->OnEdit;
}
TgxCanChangeEvent TgxCustomGridControl::GetCanChange() const {
    return FControl->OnCanChange;
}
TgxUndoChangedEvent TgxCustomGridControl::GetUndoChanged() const {
    return FControl->OnUndoChanged;
}
TgxWantKeyEvent TgxCustomGridControl::GetWantKey() const {
    return FControl->OnWantKey;
}
TgxInvalidKeysEvent TgxCustomGridControl::GetInvalidKeys() const {
    return FControl->OnInvalidKeys;
}
TgxEditTextResizedEvent TgxCustomGridControl::GetEditTextResized() const {
    return FControl->OnEditTextResized;
}

void TgxCustomGridControl::SetSelStart(int) {}
void TgxCustomGridControl::SetSelLength(int) {}
void TgxCustomGridControl::SetSelText(const AnsiString&) {}

void TgxCustomGridControl::SetKeyEdit(bool Value) {
    FControl->SetKeyEdit(Value);
}
void TgxCustomGridControl::SetMouseSelect(bool Value) {
    FControl->SetMouseSelect(Value);
}
void TgxCustomGridControl::SetCursor(TCursor Value) {
    FControl->SetCursor(Value);
}
void TgxCustomGridControl::SetMaxLength(int) {}
void TgxCustomGridControl::SetWantTabs(bool Value) {
    FControl->SetWantTabs(Value);
}
void TgxCustomGridControl::SetMaskDefs(TgxMaskDefsComponent*) {}
void TgxCustomGridControl::SetMaskName(const AnsiString&) {}
void TgxCustomGridControl::SetAlwaysShowFocus(bool Value) {
    FControl->SetAlwaysShowFocus(Value);
}

int TgxCustomGridControl::GetSelStart() const {
    return 0;
}
int TgxCustomGridControl::GetSelLength() const {
    return 0;
}
AnsiString TgxCustomGridControl::GetSelText() const {
    return {};
}
bool TgxCustomGridControl::GetKeyEdit() const {
    return FControl->KeyEdit();
}
bool TgxCustomGridControl::GetMouseSelect() const {
    return FControl->MouseSelect();
}
TCursor TgxCustomGridControl::GetCursor() const {
    return FControl->Cursor();
}
int TgxCustomGridControl::GetMaxLength() const {
    return 0;
}
bool TgxCustomGridControl::GetWantTabs() const {
    return FControl->WantTabs();
}
TgxMaskDefsComponent* TgxCustomGridControl::GetMaskDefs() const {
    return nullptr;
}
AnsiString TgxCustomGridControl::GetMaskName() const {
    return {};
}
bool TgxCustomGridControl::GetAlwaysShowFocus() const {
    return FControl->AlwaysShowFocus();
}

void TgxCustomGridControl::Hide() {
    FControl->SetVisible(false);
}
void TgxCustomGridControl::Show() {
    FControl->Show();
}
void TgxCustomGridControl::Repaint() {
    FControl->Repaint();
}
void TgxCustomGridControl::Invalidate() {
    FControl->Invalidate();
}
void TgxCustomGridControl::SetFocus() {
    FControl->SetFocus();
}
bool TgxCustomGridControl::CanFocus() const {
    return FControl->CanFocus();
}
TPoint TgxCustomGridControl::ScreenToClient(const TPoint& P) const {
    return FControl->ScreenToClient(P);
}
void TgxCustomGridControl::SaveCurrentState() {}
bool TgxCustomGridControl::Focused() const {
    return FControl->Focused();
}
bool TgxCustomGridControl::IsEditKey(char Key) {
    return FControl->IsEditKey(Key);
}
bool TgxCustomGridControl::MultiLine() const {
    return false;
}
void TgxCustomGridControl::CutToClipboard(bool) {}
void TgxCustomGridControl::CopyToClipboard() {}
void TgxCustomGridControl::PasteFromClipboard(bool) {}
void TgxCustomGridControl::SelectAll() {}
void TgxCustomGridControl::DblClick() {
    FControl->PerformDblClick();
}

void TgxCustomGridControl::SetLeft(int Value) {
    if (FControl->Left() != Value) FControl->SetLeft(Value);
}
void TgxCustomGridControl::SetTop(int Value) {
    if (FControl->Top() != Value) FControl->SetTop(Value);
}
void TgxCustomGridControl::SetWidth(int Value) {
    if (FControl->Width() != Value) FControl->SetWidth(Value);
}
void TgxCustomGridControl::SetHeight(int Value) {
    if (FControl->Height() != Value) FControl->SetHeight(Value);
}
void TgxCustomGridControl::SetParent(TWinControl* Value) {
    if (FControl->Parent() != Value) FControl->SetParent(Value);
}

HWND TgxCustomGridControl::GetHandle() const {
    return FControl->Parent() ? FControl->Handle() : nullptr;
}

// ---- TgxDefaultGridControl ---------------------------------------------------------

TgxDefaultGridControl::TgxDefaultGridControl(TComponent* AOwner)
    : TgxCustomGridControl(std::make_unique<TgxGridControl>(AOwner)) {
    FControl->SetVisible(false);
}

} // namespace grid
