// Cell property accessors over the sparse cell set, the per-column and
// per-row lists of cells with properties, and the text sizes of a cell.
#include "grid/foundation/DateTimeDefs.h"
#include "grid/foundation/GridCommonCheckBox.h"
#include "grid/foundation/GridCommonText.h"
#include "grid/foundation/GridCommonVariant.h"
#include "grid/foundation/TextLayout.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/CellButtons.h"
#include "grid/model/CellProps.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/Rows.h"

#include <algorithm>

namespace grid {

// ---- the cell element of a cell ------------------------------------------------------------

TgxCellElement* TgxBaseGrid::GetCellElement(int DataCol, int DataRow, bool Check) {
    if (FLastCellValid && FLastCellCol == DataCol && FLastCellRow == DataRow) return FLastCell;
    if (Check && (!CheckIndex(itCol, DataCol, GetGridColCount(), 1) ||
                  !CheckIndex(itRow, DataRow, GetGridRowCount(), 1)))
        return nullptr;
    if (FCellProps->Count() == 0) return nullptr;
    if (Check) {
        const bool ColHas = DataCol < FColCellProps->Count() && FColCellProps->GetItem(DataCol);
        const bool RowHas = DataRow < FRowCellProps->Count() && FRowCellProps->GetItem(DataRow);
        if (!ColHas && !RowHas) return nullptr;
    }
    FLastCell = FCellProps->Find(DataCol, DataRow);
    FLastCellCol = DataCol;
    FLastCellRow = DataRow;
    FLastCellValid = true;
    return FLastCell;
}

TgxCellElement* TgxBaseGrid::CreateCellElement(int DataCol, int DataRow) {
    auto* Element = static_cast<TgxCellElement*>(FCellProps->CreateElement(DataCol, DataRow));
    FCellProps->AddElement(Element);
    return Element;
}

Variant TgxBaseGrid::GetCellProperty(int DataCol, int DataRow, TgxProperty Prop, int SubIndex) {
    const TgxCellElement* Element = GetCellElement(DataCol, DataRow, false);
    return Element ? Element->GetPropValue(Prop, SubIndex) : PropertyDefaultValue(Prop);
}

bool TgxBaseGrid::SetCellProperty(int DataCol, int DataRow, TgxProperty Prop, const Variant& Value,
                                  int SubIndex, bool Redraw) {
    if (!CheckIndex(itCol, DataCol, GetGridColCount(), 1) ||
        !CheckIndex(itRow, DataRow, GetGridRowCount(), 1))
        return false;
    TgxCustomElement* Element = GetCellElement(DataCol, DataRow, true);
    const bool Changed =
        FCellProps->SetProperty(DataCol, DataRow, Redraw, SubIndex, Prop, Value, Element);
    ResetLastCell();
    return Changed;
}

TColor TgxBaseGrid::GetCellColor(int DataCol, int DataRow) {
    return GetCellProperty(DataCol, DataRow, prColor).AsInteger();
}

void TgxBaseGrid::SetCellColor(int DataCol, int DataRow, TColor Value) {
    SetCellProperty(DataCol, DataRow, prColor, static_cast<int>(Value));
}

bool TgxBaseGrid::GetCellIs3D(int DataCol, int DataRow) {
    return GetCellProperty(DataCol, DataRow, prIs3D).AsBoolean();
}

void TgxBaseGrid::SetCellIs3D(int DataCol, int DataRow, bool Value) {
    SetCellProperty(DataCol, DataRow, prIs3D, Value);
}

namespace {

// An enumerated property of a cell. Most cells have no properties of their
// own, and their default is known without making and reading a Variant:
// adding a row asks for these several times a cell.
template <class T>
T EnumProperty(const TgxCellElement* Element, TgxProperty Prop, T Default) {
    return Element ? static_cast<T>(Element->GetPropValue(Prop, 0).AsInteger()) : Default;
}

} // namespace

TgxWordWrap TgxBaseGrid::GetCellWordWrap(int DataCol, int DataRow) {
    return EnumProperty(GetCellElement(DataCol, DataRow, false), prWordWrap, uiDefault);
}

void TgxBaseGrid::SetCellWordWrap(int DataCol, int DataRow, TgxWordWrap Value) {
    SetCellProperty(DataCol, DataRow, prWordWrap, static_cast<int>(Value));
}

TgxHorzAlignment TgxBaseGrid::GetCellHorzAlignment(int DataCol, int DataRow) {
    return static_cast<TgxHorzAlignment>(
        GetCellProperty(DataCol, DataRow, prHorzAlignment).AsInteger());
}

void TgxBaseGrid::SetCellHorzAlignment(int DataCol, int DataRow, TgxHorzAlignment Value) {
    SetCellProperty(DataCol, DataRow, prHorzAlignment, static_cast<int>(Value));
}

TgxVertAlignment TgxBaseGrid::GetCellVertAlignment(int DataCol, int DataRow) {
    return static_cast<TgxVertAlignment>(
        GetCellProperty(DataCol, DataRow, prVertAlignment).AsInteger());
}

void TgxBaseGrid::SetCellVertAlignment(int DataCol, int DataRow, TgxVertAlignment Value) {
    SetCellProperty(DataCol, DataRow, prVertAlignment, static_cast<int>(Value));
}

TgxControlType TgxBaseGrid::GetCellControlType(int DataCol, int DataRow) {
    return EnumProperty(GetCellElement(DataCol, DataRow, false), prControlType, ctDefault);
}

void TgxBaseGrid::SetCellControlType(int DataCol, int DataRow, TgxControlType Value) {
    if (SetCellProperty(DataCol, DataRow, prControlType, static_cast<int>(Value)))
        CheckGridData(DataCol, DataRow);
}

TgxButtonType TgxBaseGrid::GetCellButtonType(int DataCol, int DataRow) {
    return EnumProperty(GetCellElement(DataCol, DataRow, false), prButtonType, btDefault);
}

void TgxBaseGrid::SetCellButtonType(int DataCol, int DataRow, TgxButtonType Value) {
    if (FIsComboGrid) return;
    SetCellProperty(DataCol, DataRow, prButtonType, static_cast<int>(Value));
}

AnsiString TgxBaseGrid::GetCellMaskName(int DataCol, int DataRow) {
    return GetCellProperty(DataCol, DataRow, prMask).AsString();
}

void TgxBaseGrid::SetCellMaskName(int DataCol, int DataRow, const AnsiString& Value) {
    SetCellProperty(DataCol, DataRow, prMask, Value, 0, false);
}

TgxReadOnly TgxBaseGrid::IsCellReadOnly(int DataCol, int DataRow) {
    const TgxCellElement* Element =
        FCellProps->Count() ? FCellProps->Find(DataCol, DataRow) : nullptr;
    return Element ? static_cast<TgxReadOnly>(Element->GetPropValue(prCellReadOnly, 0).AsInteger())
                   : roDefault;
}

void TgxBaseGrid::SetCellReadOnly(int DataCol, int DataRow, TgxReadOnly Value) {
    SetCellProperty(DataCol, DataRow, prCellReadOnly, static_cast<int>(Value));
}

int TgxBaseGrid::GetCellTag(int DataCol, int DataRow) {
    return GetCellProperty(DataCol, DataRow, prTag).AsInteger();
}

void TgxBaseGrid::SetCellTag(int DataCol, int DataRow, int Value) {
    SetCellProperty(DataCol, DataRow, prTag, Value);
}

TObject* TgxBaseGrid::GetCellData(int DataCol, int DataRow) {
    return VariantToObject(GetCellProperty(DataCol, DataRow, prData));
}

void TgxBaseGrid::SetCellData(int DataCol, int DataRow, TObject* Value) {
    SetCellProperty(DataCol, DataRow, prData, ObjectToVariant(Value));
}

TAlignment TgxBaseGrid::GetCellAlignment(int DataCol, int DataRow) {
    return static_cast<TAlignment>(GetCellProperty(DataCol, DataRow, prAlignment).AsInteger());
}

void TgxBaseGrid::SetCellAlignment(int DataCol, int DataRow, TAlignment Value) {
    SetCellProperty(DataCol, DataRow, prAlignment, static_cast<int>(Value));
}

bool TgxBaseGrid::GetCellAlign(int DataCol, int DataRow) {
    return GetCellProperty(DataCol, DataRow, prAlign).AsBoolean();
}

void TgxBaseGrid::SetCellAlign(int DataCol, int DataRow, bool Value) {
    SetCellProperty(DataCol, DataRow, prAlign, Value);
}

TgxDrawOption TgxBaseGrid::GetCellPicture(int DataCol, int DataRow, int Index) {
    if (Index < 1 || Index > 4) return dopDefault;
    return static_cast<TgxDrawOption>(
        GetCellProperty(DataCol, DataRow, prPicture, Index).AsInteger());
}

void TgxBaseGrid::SetCellPicture(int DataCol, int DataRow, int Index, TgxDrawOption Value) {
    if (Index < 1 || Index > 4) return;
    SetCellProperty(DataCol, DataRow, prPicture, static_cast<int>(Value), Index);
}

TgxSpinOptions TgxBaseGrid::GetCellSpinOptions(int DataCol, int DataRow) {
    return TgxSpinOptions::FromBits(static_cast<TgxSpinOptions::TBits>(
        GetCellProperty(DataCol, DataRow, prSpinOptions).AsInteger()));
}

void TgxBaseGrid::SetCellSpinOptions(int DataCol, int DataRow, TgxSpinOptions Value) {
    SetCellProperty(DataCol, DataRow, prSpinOptions, static_cast<int>(Value.Bits()));
}

double TgxBaseGrid::GetCellSpinIncrement(int DataCol, int DataRow) {
    return GetCellProperty(DataCol, DataRow, prSpinIncrement).AsDouble();
}

void TgxBaseGrid::SetCellSpinIncrement(int DataCol, int DataRow, double Value) {
    SetCellProperty(DataCol, DataRow, prSpinIncrement, Value);
}

TgxDropDownStyle TgxBaseGrid::GetCellDropDownStyle(int DataCol, int DataRow) {
    return static_cast<TgxDropDownStyle>(
        GetCellProperty(DataCol, DataRow, prDropDownStyle).AsInteger());
}

void TgxBaseGrid::SetCellDropDownStyle(int DataCol, int DataRow, TgxDropDownStyle Value) {
    SetCellProperty(DataCol, DataRow, prDropDownStyle, static_cast<int>(Value));
}

TgxDateTimeDefComponent* TgxBaseGrid::GetCellDateTimeDef(int DataCol, int DataRow) {
    return dynamic_cast<TgxDateTimeDefComponent*>(
        VariantToObject(GetCellProperty(DataCol, DataRow, prDateTime)));
}

void TgxBaseGrid::SetCellDateTimeDef(int DataCol, int DataRow, TgxDateTimeDefComponent* Value) {
    SetCellProperty(DataCol, DataRow, prDateTime, ObjectToVariant(Value), 0, false);
}

bool TgxBaseGrid::GetCellParentCombo(int DataCol, int DataRow) {
    return GetCellProperty(DataCol, DataRow, prParentCombo).AsBoolean();
}

void TgxBaseGrid::SetCellParentCombo(int DataCol, int DataRow, bool Value) {
    SetCellProperty(DataCol, DataRow, prParentCombo, Value, 0, false);
}

TgxCombo* TgxBaseGrid::GetCellCombo(int DataCol, int DataRow) {
    return dynamic_cast<TgxCombo*>(VariantToObject(GetCellProperty(DataCol, DataRow, prCombo)));
}

void TgxBaseGrid::SetCellCombo(int DataCol, int DataRow, TgxCombo* Value) {
    if (FIsComboGrid) return;
    SetCellProperty(DataCol, DataRow, prCombo, ObjectToVariant(Value));
}

void TgxBaseGrid::AssignCellCombo(int DataCol, int DataRow) {
    if (FIsComboGrid || !CheckIndex(itCol, DataCol, GetGridColCount(), 1) ||
        !CheckIndex(itRow, DataRow, GetGridRowCount(), 1))
        return;
    TgxCellElement* Element = GetCellElement(DataCol, DataRow, true);
    if (!Element) Element = CreateCellElement(DataCol, DataRow);
    Element->AssignCombo();
    if (GetCurrentDataCol() == DataCol && GetCurrentDataRow() == DataRow) ResetComboInit(false);
}

TFont* TgxBaseGrid::GetCellFont(int DataCol, int DataRow) {
    TgxCellElement* Element = GetCellElement(DataCol, DataRow, false);
    if (!Element) return nullptr;
    if (!Element->Font() && Element->AutoCreateFont()) {
        Element->SetParentFont(false);
        Element->SetParentFont(true);
    }
    if (ComponentState().Contains(csWriting) && Element->ParentFont()) return nullptr;
    return Element->Font();
}

void TgxBaseGrid::SetCellFont(int DataCol, int DataRow, TFont* Value) {
    SetCellProperty(DataCol, DataRow, prFont, ObjectToVariant(Value));
}

bool TgxBaseGrid::GetCellParentFont(int DataCol, int DataRow) {
    return GetCellProperty(DataCol, DataRow, prParentFont).AsBoolean();
}

void TgxBaseGrid::SetCellParentFont(int DataCol, int DataRow, bool Value) {
    if (Value == GetCellParentFont(DataCol, DataRow)) return;
    if (!Value && !GetCellElement(DataCol, DataRow, true)) {
        // A cell that stops following the grid font gets the font it shows.
        TFont Shown;
        Shown.Assign(GiveCellFont(DataCol, DataRow));
        SetCellFont(DataCol, DataRow, &Shown);
        return;
    }
    SetCellProperty(DataCol, DataRow, prParentFont, Value);
}

void TgxBaseGrid::AssignCellFont(int DataCol, int DataRow) {
    if (!GetCellFont(DataCol, DataRow)) SetCellFont(DataCol, DataRow, Font());
}

AnsiString TgxBaseGrid::GiveCellCheckBoxValues(int DataCol, int DataRow) {
    (void)DataRow;
    if (DataCol < 1 || DataCol > GetGridColCount()) return AnsiString();
    const TgxCol* Col = FCols->Item(DataCol);
    if (!Col->UseCheckBoxValues()) return AnsiString();
    return Col->CheckBoxValues().empty() ? FCheckBoxValues : Col->CheckBoxValues();
}

TCheckBoxState TgxBaseGrid::GetCellCheckBoxState(int DataCol, int DataRow) {
    return VariantToCheckBox(GetCellValue(DataCol, DataRow),
                             GiveCellCheckBoxValues(DataCol, DataRow));
}

void TgxBaseGrid::SetCellCheckBoxState(int DataCol, int DataRow, TCheckBoxState Value) {
    SetCellValue(DataCol, DataRow,
                 CheckBoxToVariant(Value, GiveCellCheckBoxValues(DataCol, DataRow)));
}

bool TgxBaseGrid::DrawCell3D(int DataCol, int DataRow) {
    if (!CheckIndex(itCol, DataCol, GetGridColCount(), 1) ||
        !CheckIndex(itRow, DataRow, GetGridRowCount(), 1))
        return false;
    if (FIs3D || FCols->Item(DataCol)->Is3D()) return true;
    if (const TgxRow* Row = FRows->Item(DataRow); Row && Row->Is3D()) return true;
    return GetCellIs3D(DataCol, DataRow);
}

// ---- which columns and rows have cells with properties -------------------------------------

namespace {

void AddTo(TgxIntegerSetList& Lists, int Slot, int Member) {
    if (Slot < 0) return;
    if (Slot >= Lists.Count()) Lists.SetCount(Slot + 1);
    TgxIntegerSet* Set = Lists.GetItem(Slot);
    if (!Set) {
        Set = new TgxIntegerSet();
        Lists.SetItem(Slot, Set);
    }
    Set->Add(Member);
}

void RemoveFrom(TgxIntegerSetList& Lists, int Slot, int Member) {
    if (Slot < 0 || Slot >= Lists.Count()) return;
    TgxIntegerSet* Set = Lists.GetItem(Slot);
    if (!Set) return;
    Set->Remove(Member);
    if (Set->Count() == 0) Lists.SetItem(Slot, nullptr);
}

} // namespace

void TgxBaseGrid::AddToPropList(TgxCellElement* Element) {
    AddTo(*FColCellProps, Element->DataCol(), Element->DataRow());
    AddTo(*FRowCellProps, Element->DataRow(), Element->DataCol());
}

void TgxBaseGrid::DeleteFromPropList(TgxCellElement* Element) {
    RemoveFrom(*FColCellProps, Element->DataCol(), Element->DataRow());
    RemoveFrom(*FRowCellProps, Element->DataRow(), Element->DataCol());
}

void TgxBaseGrid::ResizeCellPropArrays(int /*OldColCount*/, int /*OldRowCount*/) {
    const auto Fit = [this](TgxIntegerSetList& Lists, int Count) {
        if (Count == Lists.Count()) return; // the other axis changed
        if (Count < Lists.Count() && !GetInDesignMode())
            for (int I = Count; I < Lists.Count(); ++I)
                Lists.SetItem(I, nullptr);
        // Room grows by half again, so rows added one at a time cost
        // amortised constant time here.
        if (Count > Lists.Capacity()) Lists.SetCapacity(std::max(Count, Lists.Capacity() * 3 / 2));
        Lists.SetCount(Count);
    };
    Fit(*FColCellProps, ColCount());
    Fit(*FRowCellProps, RowCount());
}

void TgxBaseGrid::UpdateCellFonts() {
    int Index = 0;
    int Col = 0;
    int Row = 0;
    while (FCoordList->NextCoord(Index, Col, Row))
        if (TgxCellElement* Element = FCellProps->Find(Col, Row))
            Element->CheckFont(GiveCellFontBehind(Col, Row));
}

// ---- text sizes -------------------------------------------------------------------------------

int TgxBaseGrid::CalcTextHeight() const {
    if (!HandleAllocated()) return 0;
    TBitmap Scratch;
    Scratch.Canvas()->Font()->Assign(Font());
    return GetTextMetrics(Scratch.Canvas()).tmHeight;
}

void TgxBaseGrid::GetTextSize(int DataCol, int DataRow, int& Height, int& Lines) {
    Height = Lines = 0;
    if (DataCol < 1 || DataCol > GetGridColCount() || DataRow < 1 || DataRow > GetGridRowCount())
        return;
    if (GiveCellControlType(DataCol, DataRow) != ctText) return;
    const AnsiString Text = GetCellValue(DataCol, DataRow).AsString();
    const TgxCol* Col = FCols->Item(DataCol);
    int Width = Col->Width() - FVertLineWidth - 3;
    const TgxButtonType Button = GiveCellButtonType(DataCol, DataRow);
    if (Button != btNone)
        if (TgxCustomButton* Face = GridCellButton(GetDisplayCol(DataCol), Button))
            Width -= Face->FullWidth();
    if (!FMeasureBitmap) FMeasureBitmap = std::make_unique<TBitmap>();
    TCanvas* Canvas = FMeasureBitmap->Canvas();
    Canvas->Font()->Assign(GiveCellFont(DataCol, DataRow));
    const bool Wrap = GiveCellWordWrap(DataCol, DataRow) != uiOff;
    int LayoutHeight = 0;
    GetTextHeight(Canvas, Text, Width, taLeftJustify, Wrap, Lines, LayoutHeight);
    Height = LayoutHeight + 1;
}

int TgxBaseGrid::GetCellTextHeight(int DataCol, int DataRow) {
    int Height = 0;
    int Lines = 0;
    GetTextSize(DataCol, DataRow, Height, Lines);
    return Height;
}

int TgxBaseGrid::GetCellTextLines(int DataCol, int DataRow) {
    int Height = 0;
    int Lines = 0;
    GetTextSize(DataCol, DataRow, Height, Lines);
    return Lines;
}

int TgxBaseGrid::GetCellTextWidth(int DataCol, int DataRow) {
    if (DataCol < 1 || DataCol > GetGridColCount() || DataRow < 1 || DataRow > GetGridRowCount())
        return 0;
    const AnsiString Text = GetCellValue(DataCol, DataRow).AsString();
    TBitmap Scratch;
    TCanvas* Canvas = Scratch.Canvas();
    Canvas->Font()->Assign(GiveCellFont(DataCol, DataRow));
    const TgxWordWrap Wrap = GetCellWordWrap(DataCol, DataRow);
    const bool Wrapping = Wrap == uiOn || (Wrap == uiDefault && FWordWrap == uiOn);
    const TTextMetric Metrics = GetTextMetrics(Canvas);
    if (!Wrapping) return FullTextWidth(Canvas, Metrics, Text);
    // Wrapped at line ends only: the widest line.
    int Widest = 0;
    std::size_t Start = 0;
    while (Start <= Text.size()) {
        std::size_t End = Text.find_first_of("\r\n", Start);
        if (End == AnsiString::npos) End = Text.size();
        Widest = std::max(Widest, FullTextWidth(Canvas, Metrics,
                                                std::string_view(Text).substr(Start, End - Start)));
        if (End >= Text.size()) break;
        Start = End + (Text.compare(End, 2, "\r\n") == 0 ? 2 : 1);
    }
    return Widest;
}

void TgxBaseGrid::GetHeadingTextSize(int DataCol, int& Height, int& Lines) {
    Height = Lines = 0;
    if (DataCol < 1 || DataCol > GetGridColCount()) return;
    const TgxCol* Col = FCols->Item(DataCol);
    TBitmap Scratch;
    TCanvas* Canvas = Scratch.Canvas();
    Canvas->Font()->Assign(Col->HeadingParentFont() || !Col->HeadingFontObject()
                               ? FHeadingFont.get()
                               : Col->HeadingFontObject());
    AnsiString Text;
    int AccelPos = 0;
    TextAccelKey(Col->GetHeading(), Text, AccelPos);
    const TgxWordWrap Wrap =
        Col->HeadingWordWrap() != uiDefault ? Col->HeadingWordWrap() : FHeadingWordWrap;
    int LayoutHeight = 0;
    GetTextHeight(Canvas, Text, ColWidths(Col->DisplayCol()) - 3, taLeftJustify, Wrap != uiOff,
                  Lines, LayoutHeight);
    Height = LayoutHeight + 1;
}

int TgxBaseGrid::GetHeadingTextHeight(int DataCol) {
    int Height = 0;
    int Lines = 0;
    GetHeadingTextSize(DataCol, Height, Lines);
    return Height;
}

int TgxBaseGrid::GetHeadingTextLines(int DataCol) {
    int Height = 0;
    int Lines = 0;
    GetHeadingTextSize(DataCol, Height, Lines);
    return Lines;
}

bool TgxBaseGrid::CanSelectRow(int DataRow, const Variant& Value) {
    bool Cancel = false;
    DoCanSelectRow(DataRow, Value, Cancel);
    return !Cancel;
}

void TgxBaseGrid::DoCanSelectRow(int, const Variant&, bool&) {}

TgxDrawOption TgxBaseGrid::GiveCellPicture(int DataCol, int DataRow, int Index) {
    if (DataCol < 1 || DataRow < 1 || DataCol > GetGridColCount() || DataRow > GetGridRowCount() ||
        Index < 1 || Index > 4)
        return dopDefault;
    const TgxDrawOption Own = GetCellPicture(DataCol, DataRow, Index);
    if (Own != dopDefault) return Own;
    const TgxRow* Row = FRows->Item(DataRow);
    const TgxDrawOption RowOption = Row ? Row->Picture(Index - 1) : dopDefault;
    const TgxCol* Col = FCols->Item(DataCol);
    const TgxDrawOption ColOption = Index == 1   ? Col->StretchPicture()
                                    : Index == 2 ? Col->ShrinkPicture()
                                    : Index == 3 ? Col->CenterPicture()
                                                 : Col->KeepAspectRatio();
    if (FDrawOverlap == doDrawRowOnTop) return RowOption != dopDefault ? RowOption : ColOption;
    return ColOption != dopDefault ? ColOption : RowOption;
}

TFont* TgxBaseGrid::GiveCellFont(int DataCol, int DataRow) {
    if (DataCol == 0 || DataRow == 0) return GiveHeadingFont(DataCol);
    if (const TgxCellElement* Element = GetCellElement(DataCol, DataRow, false))
        if (!Element->ParentFont() && Element->Font()) return Element->Font();
    return GiveCellFontBehind(DataCol, DataRow);
}

TFont* TgxBaseGrid::GiveCellFontBehind(int DataCol, int DataRow) {
    TgxRow* Row = DataRow >= 0 && DataRow < FRows->Count() ? FRows->Item(DataRow) : nullptr;
    TFont* RowFont = Row && !Row->ParentFont() ? Row->Font() : nullptr;
    TgxCol* Col = DataCol >= 0 && DataCol < FCols->Count() ? FCols->Item(DataCol) : nullptr;
    TFont* ColFont = Col && !Col->ParentFont() ? Col->GetFont() : nullptr;
    TFont* First = FDrawOverlap == doDrawRowOnTop ? RowFont : ColFont;
    TFont* Second = FDrawOverlap == doDrawRowOnTop ? ColFont : RowFont;
    if (First) return First;
    if (Second) return Second;
    return Font();
}

TgxButtonType TgxBaseGrid::GiveCellButtonType(int DataCol, int DataRow) {
    // The button half of the full answer, so a read-only cell loses its
    // button here too when the grid gives read-only cells none.
    TgxDropDownStyle Style = ddDropDown;
    return GiveCellButton(DataCol, DataRow, Style);
}

} // namespace grid
