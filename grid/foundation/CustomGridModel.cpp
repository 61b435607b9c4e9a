// The base grid's model: counts, extents, options, the current cell and
// the anchor, size changes, insertions and deletions, column and row moves,
// and the stored form of the extents.
#include "grid/foundation/CustomGrid.h"

#include "grid/foundation/InplaceEdit.h"
#include "platform/classes/Filer.h"
#include "platform/gui/GdiLines.h"
#include "platform/gui/WindowScroll.h"
#include "platform/rtl/Format.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace grid {

namespace {

[[noreturn]] void InvalidOp(const char* Message) {
    throw EInvalidGridOperation(Message);
}

constexpr int MaxExtentCount = 134217725;

// Where a coordinate ends up when the cell at From moves to To.
void MoveAdjust(int& CellPos, int From, int To) {
    if (CellPos == From) {
        CellPos = To;
        return;
    }
    const int Lo = std::min(From, To), Hi = std::max(From, To);
    if (CellPos >= Lo && CellPos <= Hi) CellPos += From > To ? 1 : -1;
}

} // namespace

// ---- TGridExtents ---------------------------------------------------------------------

void TGridExtents::Touch() {
    // One count for all arrays: an array assigned from another takes that
    // one's stamp with its contents, and arrays that share a stamp agree on
    // every cell both hold.
    static std::uint64_t Changes = 0;
    FStamp = ++Changes;
}

void TGridExtents::Make(int Count, int Default) {
    Touch();
    FValues.assign(static_cast<std::size_t>(std::max(Count, 0)), Default);
}

void TGridExtents::Modify(int Index, int Amount, int Default) {
    if (Amount == 0) return;
    const int OldCount = Count();
    if (Index < 0 || Index > OldCount) InvalidOp("Grid index out of range");
    const long long NewCount = static_cast<long long>(OldCount) + Amount;
    if (NewCount < 0 || (Amount < 0 && Index - Amount > OldCount))
        InvalidOp("Too many rows or columns deleted");
    if (NewCount > MaxExtentCount) InvalidOp("Grid too large for operation");
    if (Amount < 0 || Index < OldCount) Touch();
    const auto At = FValues.begin() + Index;
    if (Amount == 1 && Index == OldCount)
        FValues.push_back(Default); // a row added at the end, the common case
    else if (Amount > 0)
        FValues.insert(At, static_cast<std::size_t>(Amount), Default);
    else
        FValues.erase(At, At - Amount);
    if (FValues.empty()) FValues.shrink_to_fit();
}

void TGridExtents::Move(int From, int To) {
    if (From == To || From < 0 || To < 0 || From >= Count() || To >= Count()) return;
    Touch();
    const std::int32_t Value = FValues[static_cast<std::size_t>(From)];
    FValues.erase(FValues.begin() + From);
    FValues.insert(FValues.begin() + To, Value);
}

// ---- construction ------------------------------------------------------------------------

TCustomGrid_ts::TCustomGrid_ts(TComponent* AOwner) : TCustomControl(AOwner) {
    ControlStyle << csCaptureMouse << csOpaque << csDoubleClicks;
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    // The grid scrolls its own pixels and repaints only what is uncovered.
    SetKeepImage(true);
    SetBounds(Left(), Top(), FColCount * FDefaultColWidth, FRowCount * FDefaultRowHeight);
    // The client edge is there from the start; the window made later asks
    // again, so that a derived grid's styles count.
    TCreateParams Params;
    TCustomGrid_ts::CreateParams(Params);
    ApplyCreateParams(Params);
    Initialize();
}

TCustomGrid_ts::~TCustomGrid_ts() {
    KillTimer(this, AutoScrollTimerId);
    FInplaceEdit.reset();
}

void TCustomGrid_ts::Initialize() {
    FTopLeft = {FFixedCols, FFixedRows};
    FCurrent = FTopLeft;
    FAnchor = FCurrent;
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
}

TGridOptions TCustomGrid_ts::EffectiveOptions() const {
    return Designing() ? FOptions + FDesignOptionsBoost : FOptions;
}

// ---- counts ------------------------------------------------------------------------------

void TCustomGrid_ts::SetColCount(int Value) {
    if (Value <= 0) Value = 1;
    if (Value == FColCount) return;
    if (FFixedCols >= Value) SetFixedCols(Value - 1);
    ChangeSize(Value, FRowCount);
    if (FOptions.Contains(goRowSelect)) {
        FAnchor.X = FColCount - 1;
        InvalidateGrid();
    }
}

void TCustomGrid_ts::SetRowCount(int Value) {
    if (Value <= 0) Value = 1;
    if (Value == FRowCount) return;
    if (FFixedRows >= Value) SetFixedRows(Value - 1);
    ChangeSize(FColCount, Value);
}

void TCustomGrid_ts::SetFixedCols(int Value) {
    if (Value == FFixedCols) return;
    if (Value < 0) InvalidOp("Grid index out of range");
    if (Value >= FColCount) InvalidOp("Fixed column count must be less than column count");
    FFixedCols = Value;
    Initialize();
    InvalidateGrid();
}

void TCustomGrid_ts::SetFixedRows(int Value) {
    if (Value == FFixedRows) return;
    if (Value < 0) InvalidOp("Grid index out of range");
    if (Value >= FRowCount) InvalidOp("Fixed row count must be less than row count");
    FFixedRows = Value;
    Initialize();
    InvalidateGrid();
}

// ---- extents -------------------------------------------------------------------------------

int TCustomGrid_ts::ExtentOutside(int Index, int Default) {
    if (Index < 0) InvalidOp("Grid index out of range");
    return Default;
}

bool TCustomGrid_ts::TabStops(int Index) const {
    if (Index < 0) InvalidOp("Grid index out of range");
    if (FTabStops.Empty() || Index >= FTabStops.Count()) return true;
    return FTabStops[Index] != 0;
}

void TCustomGrid_ts::SetColWidths(int Index, int Value) {
    SetExtent(false, Index, Value);
}

void TCustomGrid_ts::SetRowHeights(int Index, int Value) {
    SetExtent(true, Index, Value);
}

void TCustomGrid_ts::SetExtent(bool Rows, int Index, int Value) {
    TGridExtents& Extents = Rows ? FRowHeights : FColWidths;
    const int Count = Rows ? FRowCount : FColCount;
    if (Extents.Empty()) Extents.Make(Count, Rows ? FDefaultRowHeight : FDefaultColWidth);
    if (Index < 0 || Index >= Count) InvalidOp("Grid index out of range");
    // Read as kept: only the write below changes the extents' stamp.
    const int Old = std::as_const(Extents)[Index];
    if (Value == Old) return;
    bool Below = false;
    if (Rows)
        Below = ResizeRow(Index, Old, Value);
    else
        ResizeCol(Index, Old, Value);
    Extents[Index] = Value;
    // Nor does it move any row above it: which rows lie below stays known.
    if (Below) FRowsBelow.Heights = FRowHeights.Stamp();
    if (Rows)
        RowHeightsChanged();
    else
        ColWidthsChanged();
}

void TCustomGrid_ts::SetTabStops(int Index, bool Value) {
    if (FTabStops.Empty()) FTabStops.Make(FColCount, 1);
    if (Index < 0 || Index >= FColCount) InvalidOp("Grid index out of range");
    FTabStops[Index] = Value ? 1 : 0;
}

void TCustomGrid_ts::SetDefaultColWidth(int Value) {
    FColWidths.Clear();
    FDefaultColWidth = Value;
    ColWidthsChanged();
    InvalidateGrid();
}

void TCustomGrid_ts::SetDefaultRowHeight(int Value) {
    FRowHeights.Clear();
    FDefaultRowHeight = Value;
    RowHeightsChanged();
    InvalidateGrid();
}

void TCustomGrid_ts::ResizeCol(int, int, int) {
    InvalidateGrid();
}

bool TCustomGrid_ts::ResizeRow(int Index, int, int) {
    // A row wholly below the client area moves only rows further down:
    // nothing shown changes (a row added below the screen gets its height).
    TGridAxisDrawInfo Vert;
    bool Laid = false;
    if (HandleAllocated() && RowBelowClient(Index, Vert, Laid)) return true;
    InvalidateGrid();
    return false;
}

void TCustomGrid_ts::SetGridLineWidth(int Value) {
    if (Value == FGridLineWidth) return;
    FGridLineWidth = Value;
    InvalidateGrid();
}

void TCustomGrid_ts::SetFixedColor(TColor Value) {
    if (Value == FFixedColor) return;
    FFixedColor = Value;
    InvalidateGrid();
}

// ---- options and window style --------------------------------------------------------------

void TCustomGrid_ts::SetOptions(TGridOptions Value) {
    if (Value == FOptions) return;
    if (Value.Contains(goRowSelect)) Value.Exclude(goAlwaysShowEditor);
    FOptions = Value;
    if (!FEditorMode) {
        if (FOptions.Contains(goAlwaysShowEditor))
            ShowEditor();
        else
            HideEditor();
    }
    if (FOptions.Contains(goRowSelect)) PlaceCurrent(FCurrent.X, FCurrent.Y, true, false);
    InvalidateGrid();
}

void TCustomGrid_ts::SetBorderStyle(TBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    RecreateWnd();
}

void TCustomGrid_ts::SetCtl3D(bool Value) {
    if (Value == FCtl3D) return;
    FCtl3D = Value;
    Perform(CM_CTL3DCHANGED, 0, 0);
}

void TCustomGrid_ts::SetScrollBars(TScrollStyle Value) {
    if (Value == FScrollBars) return;
    FScrollBars = Value;
    RecreateWnd();
}

void TCustomGrid_ts::CreateParams(TCreateParams& Params) {
    Params.Style |= WS_TABSTOP;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
    Params.WindowClassStyle |= CS_DBLCLKS;
    if (FBorderStyle == bsSingle) {
        if (FCtl3D) {
            Params.Style &= ~WS_BORDER;
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        } else {
            Params.Style |= WS_BORDER;
        }
    }
}

void TCustomGrid_ts::ApplyCreateParams(const TCreateParams& Params) {
    if (Params.ExStyle & WS_EX_CLIENTEDGE)
        SetWindowFrame(2, EDGE_SUNKEN, 0);
    else if (Params.Style & WS_BORDER)
        SetWindowFrame(1, BDR_RAISEDOUTER, BF_MONO);
    else
        SetWindowFrame(0, 0, 0);
}

QWidget* TCustomGrid_ts::CreateWidget() {
    TCreateParams Params;
    CreateParams(Params);
    ApplyCreateParams(Params);
    return TCustomControl::CreateWidget();
}

void TCustomGrid_ts::RecreateWnd() {
    // The window keeps its widget: its frame changes in place (the client
    // area and the layout follow through WM_SIZE), the bars the style no
    // longer allows go, and the others follow the range.
    TCreateParams Params;
    CreateParams(Params);
    ApplyCreateParams(Params);
    if (!HandleAllocated()) return;
    if (!(Params.Style & WS_HSCROLL)) ShowScrollBar(this, SB_HORZ, false);
    if (!(Params.Style & WS_VSCROLL)) ShowScrollBar(this, SB_VERT, false);
    UpdateScrollRange();
    InvalidateGrid();
}

// ---- current cell, top-left, selection ---------------------------------------------------------

void TCustomGrid_ts::SetCol(int Value) {
    if (Value != FCurrent.X) FocusCell(Value, FCurrent.Y, true);
}

void TCustomGrid_ts::SetRow(int Value) {
    if (Value != FCurrent.Y) FocusCell(FCurrent.X, Value, true);
}

void TCustomGrid_ts::SetLeftCol(int Value) {
    if (Value != FTopLeft.X) MoveTopLeft(Value, FTopLeft.Y);
}

void TCustomGrid_ts::SetTopRow(int Value) {
    if (Value != FTopLeft.Y) MoveTopLeft(FTopLeft.X, Value);
}

TGridRect TCustomGrid_ts::Selection() const {
    return TGridRect{std::min(FCurrent.X, FAnchor.X), std::min(FCurrent.Y, FAnchor.Y),
                     std::max(FCurrent.X, FAnchor.X), std::max(FCurrent.Y, FAnchor.Y)};
}

void TCustomGrid_ts::SetSelection(const TGridRect& Value) {
    const TGridRect Old = Selection();
    FAnchor = {Value.Left, Value.Top};
    FCurrent = {Value.Right, Value.Bottom};
    SelectionMoved(Old);
}

void TCustomGrid_ts::SetEditorMode(bool Value) {
    if (!Value) {
        HideEditor();
        return;
    }
    ShowEditor();
    if (FInplaceEdit) FInplaceEdit->Deselect();
}

// ---- size changes -------------------------------------------------------------------------------

void TCustomGrid_ts::ChangeSize(int NewColCount, int NewRowCount) {
    const bool HadWindow = HandleAllocated();
    const TGridCoord OldTopLeft = FTopLeft;
    // Only a grid with a window compares what it showed before with after;
    // one without is invalidated whole, and is spared laying out the info.
    std::optional<TGridDrawInfo> OldInfo;
    // Rows that come or go wholly below the client area, the columns
    // staying, change nothing shown: the rows above them keep their places.
    // Rows added one at a time below the screen come here for each.
    bool AllBelow = false;
    if (HadWindow) {
        OldInfo.emplace();
        if (NewColCount == FColCount && NewRowCount != FRowCount) {
            bool Laid = false;
            AllBelow = RowBelowClient(std::min(NewRowCount, FRowCount), OldInfo->Vert, Laid);
        }
        if (!AllBelow) CalcDrawInfo(*OldInfo);
    }
    const int OldColCount = FColCount, OldRowCount = FRowCount;

    auto Apply = [&] {
        if (!FColWidths.Empty()) FColWidths.Resize(FColCount, FDefaultColWidth);
        if (!FTabStops.Empty()) FTabStops.Resize(FColCount, 1);
        if (!FRowHeights.Empty()) FRowHeights.Resize(FRowCount, FDefaultRowHeight);
        TGridCoord NewCur = FCurrent;
        NewCur.X = std::min(NewCur.X, FColCount - 1);
        NewCur.Y = std::min(NewCur.Y, FRowCount - 1);
        if (NewCur != FCurrent) PlaceCurrent(NewCur.X, NewCur.Y, true, true);
        if (FAnchor != NewCur) MoveAnchor(NewCur);
        if (FVirtualView || !HadWindow || FTopLeft != OldTopLeft) {
            InvalidateGrid();
        } else if (HandleAllocated() && !AllBelow) {
            TGridDrawInfo NewInfo;
            CalcDrawInfo(NewInfo);
            const TRect Client = ClientRect();
            const int W = Client.Width(), H = Client.Height();
            // From the first cell whose place may have changed to the edges.
            if (OldColCount != FColCount) {
                int First =
                    std::min(OldInfo->Horz.LastFullVisibleCell, NewInfo.Horz.LastFullVisibleCell);
                // A hidden column has no width to start from: the strip
                // starts where the shown one before it ends.
                while (First > FTopLeft.X && ColWidths(First) <= 0)
                    --First;
                TRect R = GridRectToScreenRect(TGridRect{First, 0, First, 0}, false, NewInfo);
                if (R.Right > R.Left) {
                    TRect Strip = UseRightToLeftAlignment() ? Rect(0, 0, R.Right, H)
                                                            : Rect(R.Left, 0, W, H);
                    ::InvalidateRect(this, &Strip, false);
                }
            }
            if (OldRowCount != FRowCount) {
                int First =
                    std::min(OldInfo->Vert.LastFullVisibleCell, NewInfo.Vert.LastFullVisibleCell);
                while (First > FTopLeft.Y && RowHeights(First) <= 0)
                    --First;
                TRect R = GridRectToScreenRect(TGridRect{0, First, 0, First}, false, NewInfo);
                if (R.Bottom > R.Top) {
                    TRect Strip = Rect(0, R.Top, W, H);
                    ::InvalidateRect(this, &Strip, false);
                }
            }
        }
        UpdateScrollRange();
        SizeChanged(OldColCount, OldRowCount);
    };

    FColCount = NewColCount;
    FRowCount = NewRowCount;
    if (FFixedCols > FColCount) FFixedCols = FColCount - 1;
    if (FFixedRows > FRowCount) FFixedRows = FRowCount - 1;
    try {
        Apply();
    } catch (...) {
        FColCount = OldColCount;
        FRowCount = OldRowCount;
        try {
            Apply();
        } catch (...) {
        }
        InvalidateGrid();
        throw;
    }
}

void TCustomGrid_ts::AdjustSize(int Index, int Amount, bool Rows) {
    if (Amount == 0) return;
    const int OldColCount = FColCount, OldRowCount = FRowCount;
    const int OldCount = Rows ? FRowCount : FColCount;
    const int NewCount = OldCount + Amount;
    if (NewCount < Index || NewCount < 0) InvalidOp("Too many rows or columns deleted");
    if (Index < 0 || Index > OldCount) InvalidOp("Grid index out of range");
    TGridExtents& Extents = Rows ? FRowHeights : FColWidths;
    const int Default = Rows ? FDefaultRowHeight : FDefaultColWidth;

    // The signed pixel size of the cells that come or go.
    long long MovePixels = 0;
    if (Amount > 0) {
        MovePixels = static_cast<long long>(Amount) * Default;
    } else if (Extents.Empty()) {
        MovePixels = static_cast<long long>(Amount) * Default;
    } else {
        for (int I = Index; I < Index - Amount; ++I)
            MovePixels -= Extents[I];
    }
    if (!Extents.Empty()) Extents.Modify(Index, Amount, Default);
    if (!Rows && !FTabStops.Empty()) FTabStops.Modify(Index, Amount, 1);

    TGridCoord NewCur = FCurrent;
    int& Axis = Rows ? NewCur.Y : NewCur.X;
    if (Axis >= Index) {
        if (Amount < 0 && Axis < Index - Amount)
            Axis = Index;
        else
            Axis += Amount;
    }
    // A current cell among the last cells deleted stays on the grid.
    Axis = std::min(Axis, NewCount - 1);
    (Rows ? FRowCount : FColCount) = NewCount;

    if (HandleAllocated()) {
        const int First = Rows ? FTopLeft.Y : FTopLeft.X;
        int LastMoved = OldCount - 1;
        if (Index + std::abs(Amount) <= First) LastMoved = First - 1;
        TGridRect Moved = Rows ? TGridRect{FFixedCols, Index, OldColCount - 1, LastMoved}
                               : TGridRect{Index, FFixedRows, LastMoved, OldRowCount - 1};
        TRect R = GridRectToScreenRect(Moved, true);
        if (R.Right > R.Left && R.Bottom > R.Top) {
            const int Pixels = static_cast<int>(std::clamp<long long>(MovePixels, -1000000, 1000000));
            ScrollWindow(this, Rows ? 0 : Pixels, Rows ? Pixels : 0, &R, &R);
            Update();
        }
    }
    SizeChanged(OldColCount, OldRowCount);
    if (NewCur != FCurrent) PlaceCurrent(NewCur.X, NewCur.Y, true, true);
}

// ---- moves ----------------------------------------------------------------------------------------

void TCustomGrid_ts::MoveColumn(int FromIndex, int ToIndex) {
    if (FromIndex == ToIndex) return;
    if (!FColWidths.Empty()) {
        FColWidths.Move(FromIndex, ToIndex);
        FTabStops.Move(FromIndex, ToIndex);
    }
    MoveAdjust(FCurrent.X, FromIndex, ToIndex);
    MoveAdjust(FAnchor.X, FromIndex, ToIndex);
    MoveAdjust(FInplaceCol, FromIndex, ToIndex);
    // Every row of the columns between: the heading and what is on screen.
    InvalidateRect(TGridRect{std::min(FromIndex, ToIndex), 0, std::max(FromIndex, ToIndex),
                             FRowCount - 1});
    ColumnMoved(FromIndex, ToIndex);
    if (!FColWidths.Empty()) ColWidthsChanged();
    UpdateEdit();
}

void TCustomGrid_ts::MoveRow(int FromIndex, int ToIndex) {
    if (!FRowHeights.Empty()) FRowHeights.Move(FromIndex, ToIndex);
    MoveAdjust(FCurrent.Y, FromIndex, ToIndex);
    MoveAdjust(FAnchor.Y, FromIndex, ToIndex);
    MoveAdjust(FInplaceRow, FromIndex, ToIndex);
    RowMoved(FromIndex, ToIndex);
    if (!FRowHeights.Empty()) RowHeightsChanged();
    UpdateEdit();
}

void TCustomGrid_ts::DeleteColumn(int ACol) {
    MoveColumn(ACol, FColCount - 1);
    SetColCount(FColCount - 1);
}

void TCustomGrid_ts::DeleteRow(int ARow) {
    MoveRow(ARow, FRowCount - 1);
    SetRowCount(FRowCount - 1);
}

// ---- hooks with nothing to do here ------------------------------------------------------------------

bool TCustomGrid_ts::SelectCell(int, int) {
    return true;
}
bool TCustomGrid_ts::CanEditAcceptKey(char) {
    return true;
}
bool TCustomGrid_ts::CanGridAcceptKey(Word, TShiftState) {
    return true;
}
bool TCustomGrid_ts::CanEditModify() {
    return FCanEditModify;
}
AnsiString TCustomGrid_ts::GetEditText(int, int) {
    return AnsiString();
}
void TCustomGrid_ts::SetEditText(int, int, const AnsiString&) {}
AnsiString TCustomGrid_ts::GetEditMask(int, int) {
    return AnsiString();
}
int TCustomGrid_ts::GetEditLimit() {
    return 0;
}
void TCustomGrid_ts::ColumnMoved(int, int) {}
void TCustomGrid_ts::RowMoved(int, int) {}
void TCustomGrid_ts::SizeChanged(int, int) {}
bool TCustomGrid_ts::BeginColumnDrag(int&, int&, const TPoint&) {
    return true;
}
bool TCustomGrid_ts::BeginRowDrag(int&, int&, const TPoint&) {
    return true;
}
bool TCustomGrid_ts::CheckColumnDrag(int&, int&, const TPoint&) {
    return true;
}
bool TCustomGrid_ts::CheckRowDrag(int&, int&, const TPoint&) {
    return true;
}
bool TCustomGrid_ts::EndColumnDrag(int&, int&, const TPoint&) {
    return true;
}
bool TCustomGrid_ts::EndRowDrag(int&, int&, const TPoint&) {
    return true;
}

// ---- stored extents -----------------------------------------------------------------------------

namespace {

bool ExtentsStored(bool Save, const TGridExtents& Own, const TGridExtents* Ancestor) {
    if (!Save) return false;
    if (Ancestor) return !(Own == *Ancestor);
    return !Own.Empty();
}

} // namespace

bool TCustomGrid_ts::ColWidthsStored(const TCustomGrid_ts* Ancestor) const {
    return ExtentsStored(FSaveCellExtents, FColWidths, Ancestor ? &Ancestor->FColWidths : nullptr);
}

bool TCustomGrid_ts::RowHeightsStored(const TCustomGrid_ts* Ancestor) const {
    return ExtentsStored(FSaveCellExtents, FRowHeights,
                         Ancestor ? &Ancestor->FRowHeights : nullptr);
}

std::vector<std::int32_t> TCustomGrid_ts::StoredColWidths() const {
    std::vector<std::int32_t> Result;
    Result.reserve(static_cast<std::size_t>(FColCount));
    for (int I = 0; I < FColCount; ++I)
        Result.push_back(GetColWidths(I));
    return Result;
}

std::vector<std::int32_t> TCustomGrid_ts::StoredRowHeights() const {
    std::vector<std::int32_t> Result;
    Result.reserve(static_cast<std::size_t>(FRowCount));
    for (int I = 0; I < FRowCount; ++I)
        Result.push_back(GetRowHeights(I));
    return Result;
}

void TCustomGrid_ts::DefineProperties(TFiler* Filer) {
    TCustomControl::DefineProperties(Filer);
    if (!FSaveCellExtents) return;
    // A list holding more integers than there are cells stops there.
    auto ReadList = [](TReader* Reader, int Count, const char* Name) {
        std::vector<std::int32_t> Values;
        Reader->ReadListBegin();
        while (!Reader->EndOfList()) {
            if (static_cast<int>(Values.size()) == Count)
                throw EReadError(Format("Invalid property value: %s holds more than %d values",
                                        Name, Count));
            Values.push_back(Reader->ReadInteger());
        }
        Reader->ReadListEnd();
        return Values;
    };
    auto WriteList = [](TWriter* Writer, const std::vector<std::int32_t>& Values) {
        Writer->WriteListBegin();
        for (std::int32_t V : Values)
            Writer->WriteInteger(V);
        Writer->WriteListEnd();
    };
    // Written as a descendant, only the extents that differ from the
    // ancestor grid's are stored.
    const auto* Ancestor = dynamic_cast<const TCustomGrid_ts*>(Filer->Ancestor());
    Filer->DefineProperty(
        "ColWidths",
        [this, ReadList](TReader* R) { LoadColWidths(ReadList(R, FColCount, "ColWidths")); },
        [this, WriteList](TWriter* W) { WriteList(W, StoredColWidths()); },
        ColWidthsStored(Ancestor));
    Filer->DefineProperty(
        "RowHeights",
        [this, ReadList](TReader* R) { LoadRowHeights(ReadList(R, FRowCount, "RowHeights")); },
        [this, WriteList](TWriter* W) { WriteList(W, StoredRowHeights()); },
        RowHeightsStored(Ancestor));
}

void TCustomGrid_ts::LoadColWidths(const std::vector<std::int32_t>& Widths) {
    if (static_cast<int>(Widths.size()) != FColCount)
        throw EReadError(Format("Invalid property value: ColWidths holds %d values for %d columns",
                                static_cast<int>(Widths.size()), FColCount));
    for (int I = 0; I < FColCount; ++I)
        SetColWidths(I, Widths[static_cast<std::size_t>(I)]);
}

void TCustomGrid_ts::LoadRowHeights(const std::vector<std::int32_t>& Heights) {
    if (static_cast<int>(Heights.size()) != FRowCount)
        throw EReadError(Format("Invalid property value: RowHeights holds %d values for %d rows",
                                static_cast<int>(Heights.size()), FRowCount));
    for (int I = 0; I < FRowCount; ++I)
        SetRowHeights(I, Heights[static_cast<std::size_t>(I)]);
}

} // namespace grid
