#include "grid/model/CurrentCell.h"

#include "grid/foundation/GridCommonVariant.h"
#include "grid/foundation/ImageList.h"
#include "grid/foundation/TextChars.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/InplaceControl.h"
#include "platform/gui/Clipboard.h"

#include <algorithm>

namespace grid {

int TgxCurrentCell::GetDataCol() const {
    return FGrid->InGridState() ? FGrid->GetDataCol(FGrid->Col()) : -1;
}

int TgxCurrentCell::GetDataRow() const {
    return FGrid->InGridState() ? FGrid->GetDataRow(FGrid->Row()) : -1;
}

TgxControlType TgxCurrentCell::GetControlType() const {
    return FGrid->InGridState() ? FGrid->GiveCellControlType(GetDataCol(), GetDataRow()) : ctNone;
}

bool TgxCurrentCell::SetEditValue(const Variant& Value, bool ShowEditor, bool Repaint) {
    if (!FGrid->InGridState() || !FGrid->InEditState()) return false;
    if (!FGrid->CheckVarType(GetControlType(), Value)) return false;
    if (!FGrid->StartEdit() || !FGrid->StartCellChange(GetDataCol(), false)) return false;
    if (ShowEditor) FGrid->ShowEditor();
    ClearBuffer();
    FGrid->SetControlSelectMode(gxAll);
    FGrid->SetControlValue(Value, true, ShowEditor);
    if (Repaint) FGrid->CheckInvalidateCell(FGrid->Col(), FGrid->Row());
    return true;
}

Variant TgxCurrentCell::GetValue() {
    if (!FGrid->InGridState()) return Variant();
    const int Col = GetDataCol();
    const int Row = GetDataRow();
    FetchCellValue();
    return ValueSet(Col, Row) ? FBuffer : Variant();
}

void TgxCurrentCell::SetBuffer(const Variant& Value, bool OwnsObject) {
    if (!FGrid->InGridState()) return;
    ClearBuffer();
    FBufferCol = GetDataCol();
    FBufferRow = GetDataRow();
    FStretchDefault = FGrid->StretchPicture();
    FShrinkDefault = FGrid->ShrinkPicture();
    FCenterDefault = FGrid->CenterPicture();
    FKeepAspectDefault = FGrid->KeepAspectRatio();
    FTransparentColor = clNone;
    FBuffer = Value;
    FOwnsObject = OwnsObject;
}

void TgxCurrentCell::ClearBuffer() {
    FBufferCol = FBufferRow = -1;
    if (FOwnsObject) delete VariantToObject(FBuffer);
    FBuffer = Variant();
    FOwnsObject = false;
}

bool TgxCurrentCell::ValueSet(int DataCol, int DataRow) const {
    return !FBuffer.IsEmpty() && FBufferCol == DataCol && FBufferRow == DataRow;
}

int TgxCurrentCell::GetTag() const {
    return FGrid->InGridState() ? FGrid->GetCellTag(GetDataCol(), GetDataRow()) : 0;
}

void TgxCurrentCell::SetTag(int Value) {
    if (FGrid->InGridState()) FGrid->SetCellTag(GetDataCol(), GetDataRow(), Value);
}

TObject* TgxCurrentCell::GetData() const {
    return FGrid->InGridState() ? FGrid->GetCellData(GetDataCol(), GetDataRow()) : nullptr;
}

void TgxCurrentCell::SetData(TObject* Value) {
    if (FGrid->InGridState()) FGrid->SetCellData(GetDataCol(), GetDataRow(), Value);
}

int TgxCurrentCell::GetTextWidth() {
    if (!FGrid->InGridState()) return 0;
    FetchCellValue();
    return FGrid->GetCellTextWidth(GetDataCol(), GetDataRow());
}

int TgxCurrentCell::GetTextHeight() {
    if (!FGrid->InGridState()) return 0;
    FetchCellValue();
    return FGrid->GetCellTextHeight(GetDataCol(), GetDataRow());
}

int TgxCurrentCell::GetTextLines() {
    if (!FGrid->InGridState()) return 0;
    FetchCellValue();
    return FGrid->GetCellTextLines(GetDataCol(), GetDataRow());
}

void TgxCurrentCell::MoveTo(int DataCol, int DataRow) {
    if (!FGrid->CheckIndex(itCol, DataCol, FGrid->GetGridColCount(), 1)) return;
    if (!FGrid->CheckIndex(itRow, DataRow, FGrid->GetGridRowCount(), 1)) return;
    if (!FGrid->InGridState()) return;
    FGrid->SetCurrentCell(FGrid->GetDisplayCol(DataCol), FGrid->GetDisplayRow(DataRow));
    FGrid->SetControlSelectMode(gxAll);
    if (!FGrid->InSetFocus() && FGrid->HandleAllocated() && FGrid->CanFocus()) FGrid->SetFocus();
}

namespace {

int CharLength(const AnsiString& Text) {
    int Count = 0;
    for (int Pos = 0; Pos < static_cast<int>(Text.size());) {
        Pos += std::max(NextCharCount(Text, Pos), 1);
        ++Count;
    }
    return Count;
}

} // namespace

void TgxCurrentCell::FetchCellValue() {
    if (!FGrid->InGridState()) return;
    const int Col = GetDataCol();
    const int Row = GetDataRow();
    if (ValueSet(Col, Row)) return;
    if (Col < 1 || Col > FGrid->GetGridColCount() || Row < 1 || Row > FGrid->GetGridRowCount())
        return;
    const Variant Value = FGrid->GetCellValue(Col, Row);
    SetBuffer(Value, false);
    // Loading the control is no edit of the cell.
    struct TStartEditOff {
        TgxBaseGrid* Grid;
        explicit TStartEditOff(TgxBaseGrid* G) : Grid(G) { Grid->SetEnableStartEdit(false); }
        ~TStartEditOff() { Grid->SetEnableStartEdit(true); }
    } Off(FGrid);
    if (TgxCustomGridControl* Control =
            FGrid->GridCellControl(FGrid->GiveCellControlType(Col, Row)))
        Control->SetValue(Value);
}

namespace {

// The edit control of a text cell, for the selection operations.
TgxCustomGridControl* TextControl(TgxBaseGrid* Grid, const TgxCurrentCell& Cell) {
    if (!Grid->InGridState() ||
        Grid->GiveCellControlType(Cell.GetDataCol(), Cell.GetDataRow()) != ctText)
        return nullptr;
    return Grid->GridCellControl(ctText);
}

} // namespace

void TgxCurrentCell::SetSelStart(int Value) {
    FetchCellValue();
    FSelStart = Value;
    if (!FGrid->HandleAllocated()) return;
    if (TgxCustomGridControl* Control = TextControl(FGrid, *this)) Control->SetSelStart(Value);
}

void TgxCurrentCell::SetSelLength(int Value) {
    FetchCellValue();
    FSelLength = Value;
    if (!FGrid->HandleAllocated()) return;
    if (TgxCustomGridControl* Control = TextControl(FGrid, *this)) Control->SetSelLength(Value);
}

void TgxCurrentCell::SelectAll() {
    FetchCellValue();
    if (!FGrid->HandleAllocated()) return;
    if (TgxCustomGridControl* Control = TextControl(FGrid, *this)) {
        Control->SelectAll();
        SelectionReported(Control->GetSelStart(), Control->GetSelLength());
    }
}

AnsiString TgxCurrentCell::GetSelText() {
    FetchCellValue();
    TgxCustomGridControl* Control = TextControl(FGrid, *this);
    return Control ? Control->GetSelText() : AnsiString();
}

bool TgxCurrentCell::CopyToClipboard() {
    if (!FGrid->HandleAllocated()) return false;
    FetchCellValue();
    TgxCustomGridControl* Control = TextControl(FGrid, *this);
    if (!Control) return false;
    Control->CopyToClipboard();
    return true;
}

void TgxCurrentCell::SetSelText(const AnsiString& Text) {
    if (!FGrid->HandleAllocated() || !FGrid->InEditState()) return;
    FetchCellValue();
    if (TgxCustomGridControl* Control = TextControl(FGrid, *this)) Control->SetSelText(Text);
}

namespace {

// A text cell being edited, with the grid's window: the cell's editor.
TgxCustomGridControl* EditedTextControl(TgxBaseGrid* Grid, const TgxCurrentCell& Cell) {
    if (!Grid->HandleAllocated() || !Grid->InEditState()) return nullptr;
    return TextControl(Grid, Cell);
}

} // namespace

bool TgxCurrentCell::CutToClipboard() {
    if (!FGrid->HandleAllocated()) return false;
    if (!FGrid->EditorShown()) FGrid->StartShowEditor(false);
    TgxCustomGridControl* Control = EditedTextControl(FGrid, *this);
    if (!Control) return false;
    Control->CutToClipboard(true);
    if (!FGrid->EditorShown()) FGrid->CheckInvalidateCell(FGrid->Col(), FGrid->Row());
    return true;
}

bool TgxCurrentCell::PasteFromClipboard() {
    TgxCustomGridControl* Control = EditedTextControl(FGrid, *this);
    if (!Control || !Clipboard()->HasFormat(CF_TEXT)) return false;
    FetchCellValue();
    if (!NewlengthOk(Clipboard()->AsText())) return false;
    if (!FGrid->EditorShown()) FGrid->StartShowEditor(false);
    Control->PasteFromClipboard(true);
    if (!FGrid->EditorShown()) FGrid->CheckInvalidateCell(FGrid->Col(), FGrid->Row());
    return true;
}

bool TgxCurrentCell::NewlengthOk(const AnsiString& Text) const {
    const int DataCol = GetDataCol();
    if (DataCol < 1) return true;
    const int Max = FGrid->GridCols()->Item(DataCol)->MaxLength();
    if (Max == 0) return true;
    const AnsiString Current =
        FBuffer.IsEmpty() || FBuffer.IsNull() ? AnsiString() : FBuffer.AsString();
    return CharLength(Current) + CharLength(Text) - FSelLength <= Max;
}

bool TgxCurrentCell::AllSelected() {
    if (!FGrid->InGridState()) return true;
    if (FGrid->GiveCellControlType(GetDataCol(), GetDataRow()) != ctText) return true;
    const Variant Value = GetValue();
    const AnsiString Text = Value.IsEmpty() || Value.IsNull() ? AnsiString() : Value.AsString();
    // The control reports its selection in characters.
    return FSelStart == 0 && FSelLength == CharLength(Text);
}

void TgxCurrentCell::SetPictureDefault(int Index, bool Value) {
    switch (Index) {
    case 1:
        FStretchDefault = Value;
        break;
    case 2:
        FShrinkDefault = Value;
        break;
    case 3:
        FCenterDefault = Value;
        break;
    case 4:
        FKeepAspectDefault = Value;
        break;
    default:
        break;
    }
}

bool TgxCurrentCell::PictureOption(int Index, bool Default) const {
    if (!FGrid->InGridState()) return Default;
    switch (FGrid->GiveCellPicture(GetDataCol(), GetDataRow(), Index)) {
    case dopOn:
        return true;
    case dopOff:
        return false;
    default:
        return Default;
    }
}

void TgxCurrentCell::MoveToInsertRow(int DataCol) {
    if (FGrid->GridMode() != gmEditInsert || FGrid->GridStatus() != grNormal) return;
    if (FGrid->ColSelection().Count() > 0 || FGrid->RowSelection().Count() > 0) return;
    if (FGrid->HoldsInsertRow(FGrid->Row())) return;
    if (DataCol < 1 || DataCol > FGrid->GetGridColCount()) return;
    if (!FGrid->CheckEndEdit(0, 0, false)) return;
    FGrid->CheckInvalidateRow(FGrid->Row());
    ClearBuffer();
    // The move hides and shows the control, draws the focus frame and
    // reports the new row; the view then shows the insertion row at the
    // bottom, the column scrolled to.
    const int DisplayCol = FGrid->GetDisplayCol(DataCol);
    const int InsertRow = FGrid->RowCount() - 1;
    FGrid->SetControlSelectMode(gxCurrent);
    FGrid->SetCurrentCell(DisplayCol, InsertRow);
    FGrid->PutInView(DisplayCol, InsertRow, vpNone, false, false, ctlBoth);
    FGrid->CheckInvalidateRow(InsertRow);
    FGrid->GridStatusChanged();
    if (FGrid->HandleAllocated()) FGrid->Update();
}

TColor TgxCurrentCell::GetTransparentColor() {
    if (GetControlType() != ctPicture) return FTransparentColor;
    FetchCellValue();
    TColor Given = clNone;
    if (FBuffer.Type() == varString) {
        TgxImageListComponent* List = FGrid->ImageList();
        if (TgxImageItem* Image = List ? List->GetImage(FBuffer) : nullptr)
            Given = Image->GetTransparent() ? Image->GetTransparentColor() : clNone;
    } else if (TBitmap* Bitmap = VariantToBitmap(FBuffer)) {
        // A bare bitmap gives its colour to the current cell.
        if (Bitmap->Transparent()) FTransparentColor = Bitmap->TransparentColor();
    }
    return Given != clNone ? Given : FTransparentColor;
}

void TgxCurrentCell::PutInView() {
    if (!FGrid->InGridState()) return;
    if (FGrid->Col() < 1 || FGrid->Col() >= FGrid->ColCount()) return;
    if (FGrid->Row() < 1 || FGrid->Row() >= FGrid->RowCount()) return;
    FGrid->PutInView(FGrid->Col(), FGrid->Row(), vpNone, true, false, ctlBoth);
    if (FGrid->HandleAllocated()) FGrid->Update();
}

void TgxCurrentCell::Refresh() {
    if (!FGrid->InGridState()) return;
    ClearBuffer();
    FGrid->SetControlSelectMode(gxCurrent);
    if (FGrid->Row() > 0) FGrid->CheckInvalidateCell(FGrid->Col(), FGrid->Row());
}

} // namespace grid
