#pragma once
// The base grid control: a custom-drawn window of cells in rows and
// columns, with a band of fixed rows at the top and fixed columns at the
// left, individually sized columns and rows, grid lines, a current cell
// with a selection rectangle, and a hosted in-place editor. It knows
// nothing of cell contents: DrawCell paints them and the editing hooks
// supply and take the editor's text.
//
// Cost follows the screen: layout, painting, hit testing and scrolling
// walk only the cells between the top-left and the client edge, so a grid
// of a million rows costs what a grid of a screenful costs.
//
// The members are split over CustomGrid*.cpp by concern: model and
// extents, layout, painting, mouse, keys and scrolling, editor hosting.
//
// Changed: IsRightToLeft() is now the control's own (TControl, true for
// every right-to-left BiDiMode); the grid lays out mirrored when
// UseRightToLeftAlignment() holds.
#include "platform/classes/SmallSet.h"
#include "platform/gui/CustomControl.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Exceptions.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace grid {

RTL_DECLARE_EXCEPTION(EInvalidGridOperation, Exception);

class TInplaceEdit;
class TCustomGrid_ts;

// The window styles a grid asks for (the window system's numbers).
inline constexpr unsigned WS_TABSTOP = 0x00010000;
inline constexpr unsigned WS_HSCROLL = 0x00100000;
inline constexpr unsigned WS_VSCROLL = 0x00200000;
inline constexpr unsigned WS_BORDER = 0x00800000;
inline constexpr unsigned WS_EX_CLIENTEDGE = 0x00000200;
inline constexpr unsigned CS_DBLCLKS = 0x0008;

struct TCreateParams {
    unsigned Style = 0;
    unsigned ExStyle = 0;
    unsigned WindowClassStyle = 0;
};

// A cell: X is the column, Y the row, both counting fixed cells from 0.
struct TGridCoord {
    std::int32_t X = 0;
    std::int32_t Y = 0;

    friend constexpr bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// A block of cells, all four edges inclusive.
struct TGridRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;

    friend constexpr bool operator==(const TGridRect&, const TGridRect&) = default;
};

enum class TGridState : std::uint8_t {
    gsNormal,
    gsSelecting,
    gsRowSizing,
    gsColSizing,
    gsRowMoving,
    gsColMoving
};
using enum TGridState;

// Ordinals are the bits of the stored option set.
enum class TGridOption : std::uint8_t {
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goRowSizing,
    goColSizing,
    goRowMoving,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking
};
using enum TGridOption;
using TGridOptions = SmallSet<TGridOption>;

inline constexpr TGridOptions DefaultGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine,
                                                 goHorzLine, goRangeSelect};

// The state a cell is drawn in: bit 0 selected, bit 1 focused, bit 2 fixed.
enum class TGridDrawStateItem : std::uint8_t { gdSelected, gdFocused, gdFixed };
using enum TGridDrawStateItem;
using TGridDrawState = SmallSet<TGridDrawStateItem>;

// Directions of an auto-scroll tick (TimedScroll): left 1, right 2, up 4, down 8.
enum class TGridScrollDirection : std::uint8_t { sdLeft, sdRight, sdUp, sdDown };
using enum TGridScrollDirection;
using TGridScrollDirections = SmallSet<TGridScrollDirection>;

// The extent of cell Index on one axis (a column's width or a row's height).
using TGetExtentsFunc = int (TCustomGrid_ts::*)(int Index) const;

// The layout of one axis for the present client size and top-left.
struct TGridAxisDrawInfo {
    int EffectiveLineWidth = 0;
    int FixedBoundary = 0;
    int GridBoundary = 0;
    int GridExtent = 0;
    int LastFullVisibleCell = 0;
    int FullVisBoundary = 0;
    int FixedCellCount = 0;
    int FirstGridCell = 0;
    int GridCellCount = 0;
    const TCustomGrid_ts* Grid = nullptr;
    TGetExtentsFunc GetExtentFunc = nullptr;

    int GetExtent(int Index) const { return (Grid->*GetExtentFunc)(Index); }
};

struct TGridDrawInfo {
    TGridAxisDrawInfo Horz;
    TGridAxisDrawInfo Vert;
};

// An extent array: per-cell values for one axis, made on the first
// explicit set and following the cell count from then on. Element 0 of
// the stored form is the count.
class TGridExtents {
public:
    bool Empty() const { return FValues.empty(); }
    int Count() const { return static_cast<int>(FValues.size()); }
    int operator[](int Index) const { return FValues[static_cast<std::size_t>(Index)]; }
    int& operator[](int Index) {
        Touch();
        return FValues[static_cast<std::size_t>(Index)];
    }
    // Differs from every earlier stamp of any array once a cell this one
    // holds may have changed or gone; cells appended at the end keep it.
    // Equal stamps mean the cells both arrays hold are equal. Layouts worked
    // out from the extents keep it to tell whether they still hold.
    std::uint64_t Stamp() const { return FStamp; }
    // Fills Count cells with Default.
    void Make(int Count, int Default);
    // Changes the count by Amount at Index (negative removes cells); every
    // cell from Index on then holds Default. Raises "Grid index out of
    // range", "Too many rows or columns deleted" or "Grid too large for
    // operation"; a resulting count of 0 frees the array.
    void Modify(int Index, int Amount, int Default);
    // A plain change of count: cells go from the end or come there with Default.
    void Resize(int NewCount, int Default) { Modify(NewCount < Count() ? NewCount : Count(), NewCount - Count(), Default); }
    // Moves entry From to To, shifting those between.
    void Move(int From, int To);
    void Clear() {
        Touch();
        FValues.clear();
    }
    friend bool operator==(const TGridExtents& A, const TGridExtents& B) {
        return A.FValues == B.FValues;
    }

private:
    void Touch();

    std::vector<std::int32_t> FValues;
    std::uint64_t FStamp = 0; // 0: never changed, so the default extents
};

// Event types of the draw grid and the string grid.
using TMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;
using TDrawCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;
using TGetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, AnsiString& Value)>;
using TSetEditEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, const AnsiString& Value)>;
using TSelectCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;

class TCustomGrid_ts : public TCustomControl {
public:
    explicit TCustomGrid_ts(TComponent* AOwner);
    ~TCustomGrid_ts() override;
    AnsiString ClassName() const override { return "TCustomGrid_ts"; }

    // ---- counts -------------------------------------------------------------------
    int ColCount() const { return FColCount; }
    void SetColCount(int Value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int Value);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int Value);

    // ---- extents ----------------------------------------------------------------------
    int DefaultColWidth() const { return FDefaultColWidth; }
    virtual void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    virtual void SetDefaultRowHeight(int Value);
    // Reads at or beyond the count give the default; a negative index
    // raises "Grid index out of range".
    int ColWidths(int Index) const { return GetColWidths(Index); }
    void SetColWidths(int Index, int Value);
    int RowHeights(int Index) const { return GetRowHeights(Index); }
    void SetRowHeights(int Index, int Value);
    bool TabStops(int Index) const;
    void SetTabStops(int Index, bool Value);
    // Asked for over and over while cells are laid out: a kept extent is
    // read here, the default and the fault out of line.
    int GetColWidths(int Index) const {
        return Index >= 0 && Index < FColWidths.Count() ? FColWidths[Index]
                                                         : ExtentOutside(Index, FDefaultColWidth);
    }
    int GetRowHeights(int Index) const {
        return Index >= 0 && Index < FRowHeights.Count() ? FRowHeights[Index]
                                                          : ExtentOutside(Index, FDefaultRowHeight);
    }
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value);

    // ---- options and appearance -------------------------------------------------------
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    // A 3-D grid takes a sunken client edge for its single border and
    // raised edges on its fixed cells; a flat one a one-pixel border and
    // plain fixed cells. A change goes out as CM_CTL3DCHANGED.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value) { FDefaultDrawing = Value; }
    bool SaveCellExtents() const { return FSaveCellExtents; }
    void SetSaveCellExtents(bool Value) { FSaveCellExtents = Value; }
    TGridOptions DesignOptionsBoost() const { return FDesignOptionsBoost; }
    void SetDesignOptionsBoost(TGridOptions Value) { FDesignOptionsBoost = Value; }
    bool VirtualView() const { return FVirtualView; }
    void SetVirtualView(bool Value) { FVirtualView = Value; }

    // ---- current cell, top-left and selection -------------------------------------------
    int Col() const { return FCurrent.X; }
    void SetCol(int Value);
    int Row() const { return FCurrent.Y; }
    void SetRow(int Value);
    int LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int Value);
    int TopRow() const { return FTopLeft.Y; }
    void SetTopRow(int Value);
    TGridCoord Anchor() const { return FAnchor; }
    TGridRect Selection() const;
    virtual void SetSelection(const TGridRect& Value);
    int VisibleColCount() const;
    int VisibleRowCount() const;
    int GridWidth() const;
    int GridHeight() const;
    TGridState GridState() const { return FGridState; }
    int ColOffset() const { return FColOffset; }

    // ---- editor -------------------------------------------------------------------------
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool Value);
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit.get(); }
    int EditorCol() const { return FInplaceCol; }
    int EditorRow() const { return FInplaceRow; }
    // Whether a cell may be edited, as found when the editor was loaded.
    bool CanEditModifyField() const { return FCanEditModify; }

    // ---- geometry -----------------------------------------------------------------------
    void CalcDrawInfo(TGridDrawInfo& DrawInfo) const;
    void CalcDrawInfoXY(TGridDrawInfo& DrawInfo, int UseWidth, int UseHeight) const;
    void CalcFixedInfo(TGridDrawInfo& DrawInfo) const;
    TGridCoord CalcMaxTopLeft(const TGridCoord& Coord, const TGridDrawInfo& DrawInfo) const;
    TGridCoord CalcCoordFromPoint(int X, int Y, const TGridDrawInfo& DrawInfo) const;
    TRect CellRect(int ACol, int ARow) const;
    TRect BoxRect(int ALeft, int ATop, int ARight, int ABottom) const;
    TRect GridRectToScreenRect(const TGridRect& GridRect, bool IncludeLine) const;
    // The same from a layout already worked out for the present client area.
    TRect GridRectToScreenRect(const TGridRect& GridRect, bool IncludeLine,
                               const TGridDrawInfo& DrawInfo) const;
    TGridCoord MouseCoord(int X, int Y) const;

    // ---- repainting -----------------------------------------------------------------------
    void InvalidateCell(int ACol, int ARow);
    void InvalidateCol(int ACol);
    void InvalidateRow(int ARow);
    void InvalidateRect(const TGridRect& ARect);
    void InvalidateGrid();
    void InvalidateEditor();

    // ---- structure ------------------------------------------------------------------------
    void MoveColumn(int FromIndex, int ToIndex);
    void MoveRow(int FromIndex, int ToIndex);
    virtual void DeleteColumn(int ACol);
    virtual void DeleteRow(int ARow);

    // ---- navigation -----------------------------------------------------------------------
    // Every move of the current cell by program or by the user lands here,
    // so a derived grid that keeps more state about its current cell (an
    // edit to end, an editor to reload) takes each of them one way.
    virtual void MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show);
    void MoveAnchor(const TGridCoord& NewAnchor);
    void FocusCell(int ACol, int ARow, bool MoveAnchor);
    void MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show);
    void ClampInView(const TGridCoord& Coord);
    virtual void MoveTopLeft(int ALeft, int ATop);
    void ScrollData(int DX, int DY);
    void ModifyScrollBar(int ScrollBar, int ScrollCode, int Pos, bool UseRightToLeft);
    virtual void UpdateScrollRange();
    virtual void UpdateScrollPos();

    // ---- editor hosting ---------------------------------------------------------------------
    void ShowEditor();
    void HideEditor();
    void ShowEditorChar(char Ch);
    void UpdateEdit();
    void HideEdit();
    void UpdateText();
    bool IsActiveControl();

    // ---- stored extents ("ColWidths" and "RowHeights" of a stored form) ------------------------
    // One integer per column (row); stored only when SaveCellExtents is on
    // and the array differs from the ancestor's (without an ancestor: when
    // an array exists).
    bool ColWidthsStored(const TCustomGrid_ts* Ancestor) const;
    bool RowHeightsStored(const TCustomGrid_ts* Ancestor) const;
    std::vector<std::int32_t> StoredColWidths() const;
    std::vector<std::int32_t> StoredRowHeights() const;
    // The list must hold exactly ColCount (RowCount) integers, else
    // EReadError names the property.
    void LoadColWidths(const std::vector<std::int32_t>& Widths);
    void LoadRowHeights(const std::vector<std::int32_t>& Heights);

    // ---- hooks the editor and derived grids use ----------------------------------------------
    virtual bool CanEditAcceptKey(char Key);
    virtual bool CanGridAcceptKey(Word Key, TShiftState Shift);
    virtual bool CanEditModify();
    virtual AnsiString GetEditText(int ACol, int ARow);
    virtual void SetEditText(int ACol, int ARow, const AnsiString& Value);
    virtual AnsiString GetEditMask(int ACol, int ARow);
    virtual int GetEditLimit();

    // Key and mouse entry points (public so the in-place editor can hand
    // keys back to its grid).
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void DblClick() override;
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);

    // Timer 1: auto-scroll while selecting or dragging, every 60 ms.
    static constexpr unsigned AutoScrollTimerId = 1;
    static constexpr unsigned AutoScrollInterval = 60;
    // The fixed range of the scroll bars of a grid with more than one column.
    static constexpr int ScrollRangeMax = 127;

    TNotifyEvent OnTopLeftChanged;

protected:
    // ---- slots of the base grid ----------------------------------------------------------------
    virtual void ScrollDataInfo(int DX, int DY, const TGridDrawInfo& DrawInfo);
    virtual void TopLeftMoved(const TGridCoord& OldTopLeft);
    virtual void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                                 int& SizingOfs, TGridDrawInfo& FixedInfo);
    virtual std::unique_ptr<TInplaceEdit> CreateEditor();
    virtual bool CanEditShow();
    virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) = 0;
    virtual bool SelectCell(int ACol, int ARow);
    // The base grid's own move of the current cell. The count and order
    // changes that only keep the current cell inside the grid use it
    // directly: they are no move a derived grid has to end an edit for.
    void PlaceCurrent(int ACol, int ARow, bool MoveAnchor, bool Show);
    // "Grid index out of range" for a cell outside the grid.
    void CheckCellIndex(int ACol, int ARow) const;

    // ---- overridable hooks ------------------------------------------------------------------
    virtual void AdjustSize(int Index, int Amount, bool Rows);
    virtual void ColumnMoved(int FromIndex, int ToIndex);
    virtual void RowMoved(int FromIndex, int ToIndex);
    virtual void SizeChanged(int OldColCount, int OldRowCount);
    virtual void TopLeftChanged();
    virtual void TimedScroll(TGridScrollDirections Direction);
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual bool BeginColumnDrag(int& Origin, int& Destination, const TPoint& MousePt);
    virtual bool BeginRowDrag(int& Origin, int& Destination, const TPoint& MousePt);
    virtual bool CheckColumnDrag(int& Origin, int& Destination, const TPoint& MousePt);
    virtual bool CheckRowDrag(int& Origin, int& Destination, const TPoint& MousePt);
    virtual bool EndColumnDrag(int& Origin, int& Destination, const TPoint& MousePt);
    virtual bool EndRowDrag(int& Origin, int& Destination, const TPoint& MousePt);

    // The window's styles: its tab stop, the scroll bars ScrollBars allows,
    // double clicks, and with bsSingle a client edge when the grid is 3-D,
    // else a plain border.
    virtual void CreateParams(TCreateParams& Params);
    QWidget* CreateWidget() override;

    // "ColWidths" and "RowHeights" in a stored form, when SaveCellExtents
    // is on and an extent array exists: a list of one integer per column
    // (row). Reading checks the count against the grid's.
    void DefineProperties(TFiler* Filer) override;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DoExit() override;
    void Paint() override;
    bool WantsKey(Word Key) const override;

    // ---- message handlers (a derived grid's handler calls these first) --------------------------
    void Dispatch(TMessage& Message) override;
    virtual void WMGetDlgCode(TMessage& Message);
    virtual void CMWantSpecialKey(TMessage& Message);
    virtual void WMChar(TMessage& Message);
    virtual void WMSetFocus(TMessage& Message);
    virtual void WMKillFocus(TMessage& Message);
    virtual void WMLButtonDown(TMessage& Message);
    virtual void WMNCHitTest(TMessage& Message);
    virtual void WMSetCursor(TMessage& Message);
    virtual void WMSize(TMessage& Message);
    virtual void WMHScroll(TMessage& Message);
    virtual void WMVScroll(TMessage& Message);
    virtual void WMTimer(TMessage& Message);
    virtual void WMCancelMode(TMessage& Message);
    virtual void CMCancelMode(TMessage& Message);
    virtual void CMFontChanged(TMessage& Message);
    virtual void CMCtl3DChanged(TMessage& Message);
    virtual void CMShowingChanged(TMessage& Message);
    virtual void CMDesignHitTest(TMessage& Message);
    virtual void WMCommand(TMessage& Message);

    // ---- model and layout helpers ----------------------------------------------------------------
    void Initialize();
    void ChangeSize(int NewColCount, int NewRowCount);
    void SelectionMoved(const TGridRect& OldSel);
    void ResizeCol(int Index, int OldSize, int NewSize);
    // Repaints for a row's new height; true when the row lies wholly below
    // the client area, which changes nothing shown.
    bool ResizeRow(int Index, int OldSize, int NewSize);
    // Whether Row lies wholly below the client area (nothing of it shows).
    bool RowBelowClient(int Row) const {
        TGridAxisDrawInfo Vert;
        bool Laid = false;
        return RowBelowClient(Row, Vert, Laid);
    }
    void UpdateDesigner();
    bool Sizing(int X, int Y);
    void CancelMode();
    void MoveAndScroll(int Mouse, int CellHit, TGridDrawInfo& DrawInfo, TGridAxisDrawInfo& Axis,
                       int ScrollBar, const TPoint& MousePt);
    // The XOR feedback lines of a resize and a drag; drawing twice erases.
    void DrawSizingLine(const TGridDrawInfo& DrawInfo);
    void DrawMoveLine();
    // Applies the border and scroll-bar style to the window.
    void RecreateWnd();
    // The frame CreateParams asks for: a client edge of two pixels, a
    // border of one, or none; the client area shrinks by it.
    void ApplyCreateParams(const TCreateParams& Params);
    // The options in effect (with the design boost while designing).
    TGridOptions EffectiveOptions() const;
    bool Designing() const { return ComponentState().Contains(csDesigning); }

    // ---- fields, in the order the model relies on ------------------------------------------------
    TGridCoord FAnchor{1, 1};
    TBorderStyle FBorderStyle = bsSingle;
    bool FCanEditModify = true;
    int FColCount = 5;
    TGridExtents FColWidths;
    TGridExtents FTabStops;
    TGridCoord FCurrent{1, 1};
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    int FFixedCols = 1;
    int FFixedRows = 1;
    TColor FFixedColor = clBtnFace;
    int FGridLineWidth = 1;
    TGridOptions FOptions = DefaultGridOptions;
    int FRowCount = 5;
    TGridExtents FRowHeights;
    TScrollStyle FScrollBars = ssBoth;
    TGridCoord FTopLeft{1, 1};
    int FSizingIndex = 0;
    int FSizingPos = 0;
    int FSizingOfs = 0;
    int FMoveIndex = 0;
    int FMovePos = 0;
    TPoint FHitTest;
    std::unique_ptr<TInplaceEdit> FInplaceEdit;
    int FInplaceCol = -1;
    int FInplaceRow = -1;
    int FColOffset = 0;
    bool FDefaultDrawing = true;
    bool FEditorMode = false;
    TGridState FGridState = gsNormal;
    bool FSaveCellExtents = true;
    TGridOptions FDesignOptionsBoost{goRowSizing, goColSizing};
    bool FVirtualView = false;
    bool FCtl3D = true;

private:
    // An extent not kept: the default, or "Grid index out of range" below 0.
    static int ExtentOutside(int Index, int Default);
    void SetExtent(bool Rows, int Index, int Value);
    void PixelScrollHorz(int ScrollCode, int Pos, int Direction, const TGridDrawInfo& DrawInfo);
    void FocusGrid();
    void DrawLines(const TGridDrawInfo& DrawInfo);
    void DrawCells(int ACol, int ARow, int StartX, int StartY, int StopX, int StopY, TColor Color,
                   TGridDrawState IncludeDrawState, const TRect& Clip);
    void TabStep(TGridCoord& Current, bool Backward) const;

    bool FLoadingEditor = false;
    bool FMoveLineDrawn = false;
    bool FSizingLineDrawn = false;

    // The first row that lies wholly below the client area, with what it
    // was worked out from. Rows are added below the screen one at a time
    // and each of their cells asks to be repainted; this answers without
    // laying the visible rows out again.
    struct TRowsBelow {
        int TopRow = -1;
        int RowCount = 0;
        int FixedRows = 0;
        int LineWidth = 0;
        int DefaultHeight = 0;
        int ClientHeight = 0;
        std::uint64_t Heights = 0;
        int First = -1; // -1: not worked out
        bool Matches(const TRowsBelow& Now) const {
            // Rows past the first one below do not change where it lies.
            const bool Rows =
                RowCount == Now.RowCount || (First <= RowCount && First <= Now.RowCount);
            return First >= 0 && Rows && TopRow == Now.TopRow &&
                   FixedRows == Now.FixedRows && LineWidth == Now.LineWidth &&
                   DefaultHeight == Now.DefaultHeight && ClientHeight == Now.ClientHeight &&
                   Heights == Now.Heights;
        }
    };
    mutable TRowsBelow FRowsBelow;
    // Whether Row lies wholly below the client area; Laid tells whether the
    // rows had to be laid out for it, into Vert.
    bool RowBelowClient(int Row, TGridAxisDrawInfo& Vert, bool& Laid) const;
};

} // namespace grid
