#pragma once
// TgxBaseGrid: the core of the grid control. It owns the column, row and
// sparse cell property model, the display order of columns and rows, the
// selections of whole columns and rows, the current cell, the optional
// cell value store and the shared cell buttons, and fixes the defaults of
// every grid setting.
//
// One class, split over files by concern: construction (BaseGridCreate),
// values and checks (BaseGridValues), display numbers and moves
// (BaseGridNumbers), row accessors (BaseGridRows), cell accessors and text
// sizes (BaseGridCells), counts and layout (view/GridLayout), sizes and
// visible ranges (view/GridSizes) and the event relays (view/GridRelays).
#include "grid/foundation/CustomGrid.h"
#include "grid/model/EditorHostTypes.h"
#include "grid/model/ComboTypes.h"
#include "grid/model/GridTypes.h"
#include "grid/model/PropKinds.h"
#include "grid/model/Selection.h"
#include "grid/model/VisibleItems.h"
#include "grid/model/GridMouseTypes.h"
#include "grid/model/ScalingFlags.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Bits.h"

#include <initializer_list>
#include <memory>
#include <vector>

class TStringList;
class TStream;
class TFiler;
class TReader;
class TWriter;
enum class TCloseAction : std::uint8_t;

namespace grid {

class Tgx2DStorage;
enum class TgxValueType : std::uint8_t;
class TgxCol;
class TgxGridCols;
class TgxRow;
class TgxGridRows;
class TgxCellPropSet;
class TgxCellElement;
class TgxCoordList;
class TgxCurrentCell;
class TgxCustomButton;
class TgxNormalButton;
class TgxGridMaskLink;
class TgxGridImageLink;
class TgxGridDateTimeLink;
class TgxIntegerSetList;
class TgxCustomGridControl;
class TgxIntegerList;
class TgxDateTimeDefComponent;
class TgxCombo;
class TgxComboGrid;
class TgxDropDownForm;
class TgxImageListComponent;
class TgxImageItem;
class TgxMaskDefsComponent;
struct TgxDrawData;
struct TgxDrawInfo;

class TgxBaseGrid : public TCustomGrid_ts {
public:
    explicit TgxBaseGrid(TComponent* AOwner);
    ~TgxBaseGrid() override;
    AnsiString ClassName() const override { return "TgxBaseGrid"; }

    static AnsiString GetVersion() { return "1.0.0a"; }
    static void SetVersion(const AnsiString&) {}
    static constexpr int DefaultColCount = 4;
    static constexpr int DefaultRowCount = 4;

    // ---- owned model ----------------------------------------------------------------
    TgxGridCols* GridCols() const { return FCols.get(); }
    TgxGridRows* GridRows() const { return FRows.get(); }
    TgxCellPropSet* CellProps() const { return FCellProps.get(); }
    TgxCoordList* CoordList() const { return FCoordList.get(); }
    TgxCurrentCell* CurrentCell() const { return FCurrentCell.get(); }
    TgxSelection& ColSelection() { return FColSelection; }
    TgxSelection& RowSelection() { return FRowSelection; }
    TgxVisibleItems& VisibleCols() { return FVisibleCols; }
    TgxVisibleItems& VisibleRows() { return FVisibleRows; }
    const TBits& ChangedRows() const { return FChangedRows; }
    TgxIntegerSetList* ColCellProps() const { return FColCellProps.get(); }
    TgxIntegerSetList* RowCellProps() const { return FRowCellProps.get(); }
    TgxIntegerList* AutoFontCols() const { return FAutoFontCols.get(); }
    TgxIntegerList* AutoFontRows() const { return FAutoFontRows.get(); }
    TStringList* ImageListIds() const { return FImageListIds.get(); }
    Tgx2DStorage* DataStore() const { return FStore.get(); }
    TgxGridMaskLink* MaskLink() const { return FMaskLink.get(); }
    TgxGridImageLink* ImageLink() const { return FImageLink.get(); }
    TgxGridDateTimeLink* DateTimeLink() const { return FDateTimeLink.get(); }
    TgxImageListComponent* ImageList() const;
    // The picture of the image list a cell value names, or none.
    TgxImageItem* ImageListPicture(const Variant& Value) const;
    // The colour a picture is drawn transparent with: an image item's own
    // when it is transparent, else clNone (the cell's or the grid's colour
    // then serves). A bare transparent bitmap gives its colour to the grid
    // (TransparentColor), which then serves it, and answers clNone.
    TColor PictureTransparentColor(TBitmap* Bitmap, TgxImageItem* Item);
    void SetImageList(TgxImageListComponent* Value);
    TFont* HeadingFont() const { return FHeadingFont.get(); }
    bool HeadingParentFont() const { return FHeadingParentFont; }
    // Setting the heading font parts it from its parent's; following the
    // parent again takes the parent's font (the grid's own without one).
    void SetHeadingFont(TFont* Value);
    void SetHeadingParentFont(bool Value);

    // ---- counts (view/GridLayout) ----------------------------------------------------
    // The data counts: the stored count less the columns (rows) a running
    // deletion has taken out already. The insertion row never counts.
    virtual int GetGridColCount() const { return FDataColCount - FDeletedCols; }
    virtual void SetGridColCount(int Value);
    virtual int GetGridRowCount() const { return FDataRowCount - FDeletedRows; }
    virtual void SetGridRowCount(int Value);
    int InsertionRows() const { return FInsertionRowShown ? 1 : 0; }
    bool InsertionRowShown() const { return FInsertionRowShown; }
    // Keeps the previous value and records the new one; the caller sets the
    // row count.
    void SetInsertionRow(bool Shown);
    // A row (column) at display position P: 1 .. count + 1.
    void InsertRow(int P);
    void InsertCol(int P);
    bool AddColumn(int P);
    int FixedColCount() const { return FFixedColCount; }
    void SetFixedColCount(int Value);
    int FixedRowCount() const { return FFixedRowCount; }
    void SetFixedRowCount(int Value);
    bool GetRowBarOn() const;
    void SetRowBarOn(bool Value);
    int GetRowBarWidth() const;
    void SetRowBarWidth(int Value);
    // The row-bar width (heading height) a double-click on its edge returns
    // to follows every change but the user's own sizing of it.
    void RowBarWidthSet(int Value) {
        if (!FSizingRowBar) FRowBarWidthRef = Value;
    }
    void HeadingHeightSet(int Value) {
        if (!FSizingHeading) FHeadingHeightRef = Value;
    }
    bool GetHeadingOn() const;
    void SetHeadingOn(bool Value);
    int GetHeadingHeight() const;
    void SetHeadingHeight(int Value);
    int FixedWidth() const { return FFixedWidth; }
    int FixedHeight() const { return FFixedHeight; }
    int HorzLineWidth() const { return FHorzLineWidth; }
    int VertLineWidth() const { return FVertLineWidth; }
    bool ColInView(int DisplayCol) const;
    bool RowInView(int DisplayRow) const;
    bool CellVisible(int DisplayCol, int DisplayRow) const;
    int GetMaxTopRow() const;
    int GetMaxLeftCol() const;

    // ---- sizes and visible ranges (view/GridSizes) -------------------------------------
    // Display position, -1 for all; events report the data number.
    virtual void ColResized(int DisplayCol);
    virtual void RowResized(int DisplayRow);
    int LastVisibleCol(int First) const;
    int LastVisibleRow(int First) const;
    int CompVisibleCols(int First) const;
    int CompVisibleRows(int First) const;
    int MaxVisibleCol() const;
    int MaxVisibleRow() const;
    // Columns that fit when scrolling one page left of the left column.
    int PrevVisibleCols() const;
    // Visible (not hidden) rows and columns that fit above or left of the
    // top row (left column), or from it on.
    int PrevScrollRows() const;
    int VisibleScrollRows() const;
    int PrevScrollCols() const;
    int VisibleScrollCols() const;
    // Raises the top-left event when the top-left cell differs from the
    // one last reported.
    virtual void CheckTopLeftChanged(bool ByUser);
    // The application's top-left event; the custom grid raises it.
    virtual void TopLeftChangedEvent(int OldLeftCol, int OldTopRow, bool ByUser, int NewTopRow,
                                     int NewLeftCol);
    void SingleColWidthChanged(int DisplayCol);
    void SingleRowHeightChanged(int DisplayRow);
    // The grid's button object of a type, made on first use.
    TgxCustomButton* GridCellButton(int DisplayCol, TgxButtonType Type);
    // Forgets the shared buttons (they are made again at the next use).
    void ResetCellButtons();
    // The default normal (combo) button replaced by one with the program's
    // picture, transparent colour and size; it keeps them when the default
    // button size changes. Destroyed, the stock button is made again at the
    // grid's size on next use.
    void CreateDefaultButton(TBitmap* Bitmap, TColor TransparentColor, int Width, int Height);
    void CreateDefaultCombo(TBitmap* Bitmap, TColor TransparentColor, int Width, int Height);
    void DestroyDefaultButton();
    void DestroyDefaultCombo();
    // The in-place control of a control type: the edit control for text,
    // the check control for check boxes, a default control otherwise.
    TgxCustomGridControl* GridCellControl(TgxControlType Type) const;

    // ---- checks and errors (BaseGridValues) -------------------------------------------
    bool CheckIndex(TgxIndexType IndexType, int Index, int Max, int Min) const;
    bool CheckGetCell() const;
    bool CheckVarType(TgxControlType ControlType, const Variant& Value) const;
    bool CheckRaise(const AnsiString& Message) const;
    [[noreturn]] void InvalidOp(const AnsiString& Message) const;
    [[noreturn]] void InvalidMaskOp(const AnsiString& Message) const;
    // The check switch: while on (from construction) a failed check raises.
    bool ReportInvalidOps() const { return FReportInvalidOps; }
    void SetReportInvalidOps(bool Value) { FReportInvalidOps = Value; }
    bool InCellLoaded() const { return FInCellLoaded; }
    void SetInCellLoaded(bool Value) { FInCellLoaded = Value; }

    // ---- cell values (BaseGridValues) -----------------------------------------------
    bool StoreData() const { return FStoreData; }
    virtual void SetStoreData(bool Value);
    Variant GetDataValue(int DataCol, int DataRow, TgxControlType ControlType);
    void SetDataValue(int DataCol, int DataRow, TgxControlType ControlType, const Variant& Value);
    static TgxValueType ControlDataType(TgxControlType ControlType, const Variant& Value);
    static bool ControlDataTypeOk(TgxControlType ControlType, TgxValueType ValueType);
    void CheckGridData(int DataCol, int DataRow);
    void DeleteColData(int From, int To);
    void DeleteRowData(int From, int To);
    void FreeGridData();
    static Variant CheckStrValue(TgxControlType ControlType, const Variant& Value);
    AnsiString CheckPictureValue(int DataCol, int DataRow, TgxControlType ControlType,
                                 const Variant& Value);
    int ImageListIndex(const AnsiString& ImageListId);
    // The cell value as the application sees it: with StoreData the store.
    virtual Variant GetCellValue(int DataCol, int DataRow);
    virtual void SetCellValue(int DataCol, int DataRow, const Variant& Value);
    // Stores a text as it is and shows it as a text, whatever kind the cell is.
    void SetCellPText(int DataCol, int DataRow, const char* Text);
    // Draws a value just written into its cell now, as the text it is or as
    // its kind of cell shows it; a cell not kept by the grid shows the value
    // until the application is asked for it by the next paint.
    void DrawWrittenValue(int DataCol, int DataRow, const Variant& Value, bool AsText);
    // Tells the cell store how many columns and rows to allocate for.
    void SetDataAllocSize(int Cols, int Rows);

    // ---- display numbers (BaseGridNumbers) ----------------------------------------------
    int GetDataCol(int DisplayCol) const;
    void SetDataCol(int DisplayCol, int DataCol);
    int GetDataColnr(int DisplayCol) const;
    int GetDataRow(int DisplayRow) const {
        if (DisplayRow < 0 || DisplayRow > GetGridRowCount() ||
            DisplayRow >= static_cast<int>(FDisplayRows.size()))
            return -1;
        return FDisplayRows[static_cast<std::size_t>(DisplayRow)];
    }
    void SetDataRow(int DisplayRow, int DataRow);
    int GetDataRownr(int DisplayRow) const { return DisplayRow >= 1 ? GetDataRow(DisplayRow) : -1; }
    int GetDisplayCol(int DataCol) const;
    void SetDisplayColnr(int DataCol, int DisplayCol);
    int GetDisplayColnr(int DataCol) const;
    int GetDisplayRow(int DataRow) const;
    void SetDisplayRownr(int DataRow, int DisplayRow);
    int GetDisplayRownr(int DataRow) const;
    // One column (row) moves from display position From to To.
    void ChangeDisplayCol(int From, int To);
    void ChangeColWidths(int From, int To);
    void MoveVisibleCol(int From, int To);
    void ChangeSelectedCols(int From, int To);
    void ChangeCurrentColPosition(int From, int To);
    void ChangeDisplayRow(int From, int To);
    void ChangeRowHeights(int From, int To);
    void MoveVisibleRow(int From, int To);
    void ChangeSelectedRows(int From, int To);
    void ChangeCurrentRowPosition(int From, int To);
    // Removes everything kept for one data column (row) shown up to
    // LastPosition: its cell properties, selection, display position and
    // sizes; later data columns (rows) move down by one.
    void DeleteAllAtCol(int DataCol, int LastPosition);
    void DeleteAllAtRow(int DataRow, int LastPosition);
    // DeleteAllAtRow for every data row above NewCount, in one pass.
    void DeleteTrailingRows(int NewCount);

    // ---- columns and rows (BaseGridRows) -------------------------------------------------
    TgxCol* GetCol(const Variant& Col) const;
    TgxRow* GetRow(int DataRow) const;
    TColor GetRowColor(int DataRow) const;
    void SetRowColor(int DataRow, TColor Value);
    int GetRowHeight(int DataRow) const;
    void SetRowHeight(int DataRow, int Value);
    bool GetRowVisible(int DataRow) const;
    void SetRowVisible(int DataRow, bool Value);
    bool IsRowVisible(int DataRow) const;
    TgxHorzAlignment GetRowHorzAlignment(int DataRow) const;
    void SetRowHorzAlignment(int DataRow, TgxHorzAlignment Value);
    TgxVertAlignment GetRowVertAlignment(int DataRow) const;
    void SetRowVertAlignment(int DataRow, TgxVertAlignment Value);
    TgxWordWrap GetRowWordWrap(int DataRow) const;
    void SetRowWordWrap(int DataRow, TgxWordWrap Value);
    bool GetRowReadOnly(int DataRow) const;
    void SetRowReadOnly(int DataRow, bool Value);
    bool IsRowReadOnly(int DataRow) const;
    bool GetRowIs3D(int DataRow) const;
    void SetRowIs3D(int DataRow, bool Value);
    TgxControlType GetRowControlType(int DataRow) const;
    void SetRowControlType(int DataRow, TgxControlType Value);
    TgxButtonType GetRowButtonType(int DataRow) const;
    void SetRowButtonType(int DataRow, TgxButtonType Value);
    AnsiString GetRowMaskName(int DataRow) const;
    void SetRowMaskName(int DataRow, const AnsiString& Value);
    TFont* GetRowFont(int DataRow) const;
    void SetRowFont(int DataRow, TFont* Value);
    bool GetRowParentFont(int DataRow) const;
    void SetRowParentFont(int DataRow, bool Value);
    TAlignment GetRowAlignment(int DataRow) const;
    void SetRowAlignment(int DataRow, TAlignment Value);
    bool GetRowAlign(int DataRow) const;
    void SetRowAlign(int DataRow, bool Value);
    TgxDrawOption GetRowPicture(int DataRow, int Index) const;
    // Index 1 stretch, 2 shrink, 3 centre, 4 keep aspect ratio.
    void SetRowPicture(int DataRow, int Index, TgxDrawOption Value);
    TgxSpinOptions GetRowSpinOptions(int DataRow) const;
    void SetRowSpinOptions(int DataRow, TgxSpinOptions Value);
    double GetRowSpinIncrement(int DataRow) const;
    void SetRowSpinIncrement(int DataRow, double Value);
    TgxDropDownStyle GetRowDropDownStyle(int DataRow) const;
    void SetRowDropDownStyle(int DataRow, TgxDropDownStyle Value);
    TgxDateTimeDefComponent* GetRowDateTimeDef(int DataRow) const;
    void SetRowDateTimeDef(int DataRow, TgxDateTimeDefComponent* Value);
    bool GetRowAutoCreateFont(int DataRow) const;
    void SetRowAutoCreateFont(int DataRow, bool Value);
    // The row takes a font of its own (a copy of the grid font), or drops it.
    void AssignRowFont(int DataRow);
    void ResetRowFont(int DataRow);
    bool GetRowParentCombo(int DataRow) const;
    void SetRowParentCombo(int DataRow, bool Value);
    // The row's own list; none while it uses the grid's. Setting copies the
    // given list into the row's own (none drops it).
    TgxCombo* GetRowCombo(int DataRow) const;
    void SetRowCombo(int DataRow, TgxCombo* Value);
    void AssignRowCombo(int DataRow);
    void ResetRowCombo(int DataRow) { SetRowCombo(DataRow, nullptr); }
    void SetRowChanged(int DataRow, bool Value);
    bool GetRowChanged(int DataRow) const;
    bool IsRowChanged(int DataRow) const;
    void SetRowSelected(int DataRow, bool Value);
    bool GetRowSelected(int DataRow) const;
    bool IsRowSelected(int DataRow) const;
    int GetRowId(int DataRow) const;
    int GetIdDataRow(int Id) const;
    int GetIDDataCol(int Id) const;

    // ---- cells (BaseGridCells) -------------------------------------------------------------
    TgxCellElement* GetCellElement(int DataCol, int DataRow, bool Check);
    TgxCellElement* CreateCellElement(int DataCol, int DataRow);
    // The cell's own value of a property, or its default.
    Variant GetCellProperty(int DataCol, int DataRow, TgxProperty Prop, int SubIndex = 0);
    // True when the value changed.
    bool SetCellProperty(int DataCol, int DataRow, TgxProperty Prop, const Variant& Value,
                         int SubIndex = 0, bool Redraw = true);
    TColor GetCellColor(int DataCol, int DataRow);
    void SetCellColor(int DataCol, int DataRow, TColor Value);
    bool GetCellIs3D(int DataCol, int DataRow);
    void SetCellIs3D(int DataCol, int DataRow, bool Value);
    TgxWordWrap GetCellWordWrap(int DataCol, int DataRow);
    void SetCellWordWrap(int DataCol, int DataRow, TgxWordWrap Value);
    TgxHorzAlignment GetCellHorzAlignment(int DataCol, int DataRow);
    void SetCellHorzAlignment(int DataCol, int DataRow, TgxHorzAlignment Value);
    TgxVertAlignment GetCellVertAlignment(int DataCol, int DataRow);
    void SetCellVertAlignment(int DataCol, int DataRow, TgxVertAlignment Value);
    TgxControlType GetCellControlType(int DataCol, int DataRow);
    void SetCellControlType(int DataCol, int DataRow, TgxControlType Value);
    TgxButtonType GetCellButtonType(int DataCol, int DataRow);
    static bool IsSpinButton(TgxButtonType Type) { return Type == btVertSpin || Type == btHorzSpin; }
    void SetCellButtonType(int DataCol, int DataRow, TgxButtonType Value);
    AnsiString GetCellMaskName(int DataCol, int DataRow);
    void SetCellMaskName(int DataCol, int DataRow, const AnsiString& Value);
    TgxReadOnly IsCellReadOnly(int DataCol, int DataRow);
    void SetCellReadOnly(int DataCol, int DataRow, TgxReadOnly Value);
    int GetCellTag(int DataCol, int DataRow);
    void SetCellTag(int DataCol, int DataRow, int Value);
    TObject* GetCellData(int DataCol, int DataRow);
    void SetCellData(int DataCol, int DataRow, TObject* Value);
    TAlignment GetCellAlignment(int DataCol, int DataRow);
    void SetCellAlignment(int DataCol, int DataRow, TAlignment Value);
    bool GetCellAlign(int DataCol, int DataRow);
    void SetCellAlign(int DataCol, int DataRow, bool Value);
    TgxDrawOption GetCellPicture(int DataCol, int DataRow, int Index);
    // Index 1 stretch, 2 shrink, 3 centre, 4 keep aspect ratio.
    void SetCellPicture(int DataCol, int DataRow, int Index, TgxDrawOption Value);
    TgxSpinOptions GetCellSpinOptions(int DataCol, int DataRow);
    void SetCellSpinOptions(int DataCol, int DataRow, TgxSpinOptions Value);
    double GetCellSpinIncrement(int DataCol, int DataRow);
    void SetCellSpinIncrement(int DataCol, int DataRow, double Value);
    TgxDropDownStyle GetCellDropDownStyle(int DataCol, int DataRow);
    void SetCellDropDownStyle(int DataCol, int DataRow, TgxDropDownStyle Value);
    TgxDateTimeDefComponent* GetCellDateTimeDef(int DataCol, int DataRow);
    void SetCellDateTimeDef(int DataCol, int DataRow, TgxDateTimeDefComponent* Value);
    bool GetCellParentCombo(int DataCol, int DataRow);
    void SetCellParentCombo(int DataCol, int DataRow, bool Value);
    // As the row's list, for one cell.
    TgxCombo* GetCellCombo(int DataCol, int DataRow);
    void SetCellCombo(int DataCol, int DataRow, TgxCombo* Value);
    void AssignCellCombo(int DataCol, int DataRow);
    void ResetCellCombo(int DataCol, int DataRow) { SetCellCombo(DataCol, DataRow, nullptr); }
    TFont* GetCellFont(int DataCol, int DataRow);
    void SetCellFont(int DataCol, int DataRow, TFont* Value);
    bool GetCellParentFont(int DataCol, int DataRow);
    void SetCellParentFont(int DataCol, int DataRow, bool Value);
    void AssignCellFont(int DataCol, int DataRow);
    void ResetCellFont(int DataCol, int DataRow) { SetCellFont(DataCol, DataRow, nullptr); }
    void ResetCellTag(int DataCol, int DataRow) { SetCellTag(DataCol, DataRow, 0); }
    void ResetCellData(int DataCol, int DataRow) { SetCellData(DataCol, DataRow, nullptr); }
    // The cell's value as a check-box state, through its check-box values.
    TCheckBoxState GetCellCheckBoxState(int DataCol, int DataRow);
    void SetCellCheckBoxState(int DataCol, int DataRow, TCheckBoxState Value);
    // The check-box values that apply to a cell: its column's, else the grid's.
    AnsiString GiveCellCheckBoxValues(int DataCol, int DataRow);
    // The cell is drawn raised when any level says so.
    bool DrawCell3D(int DataCol, int DataRow);
    // Forgets the cached element (the set changed).
    void ResetLastCell() { FLastCellValid = false; }
    // Keep the per-column and per-row lists of cells with properties.
    void AddToPropList(TgxCellElement* Element);
    void DeleteFromPropList(TgxCellElement* Element);
    void ResizeCellPropArrays(int OldColCount, int OldRowCount);
    // Refreshes the own fonts of the cells that keep one automatically.
    void UpdateCellFonts();

    // A cell's effective control type and word wrap: the cell, then its row
    // or column (DrawOverlap decides which first), then the grid.
    virtual TgxControlType GiveCellControlType(int DataCol, int DataRow);
    TgxWordWrap GiveCellWordWrap(int DataCol, int DataRow);
    TFont* GiveCellFont(int DataCol, int DataRow);
    // The font of the cell's row or column, else the grid's.
    TFont* GiveCellFontBehind(int DataCol, int DataRow);
    // A picture option (1 stretch .. 4 keep aspect ratio): the cell's, then
    // the row's and the column's in DrawOverlap order; dopDefault when none.
    TgxDrawOption GiveCellPicture(int DataCol, int DataRow, int Index);
    TgxButtonType GiveCellButtonType(int DataCol, int DataRow);

    // Text sizes of a cell's value laid out at its column's width.
    int CalcTextHeight() const;
    void GetTextSize(int DataCol, int DataRow, int& Height, int& Lines);
    int GetCellTextHeight(int DataCol, int DataRow);
    int GetCellTextLines(int DataCol, int DataRow);
    // The printed width of the cell's text, wrapped where the cell wraps.
    int GetCellTextWidth(int DataCol, int DataRow);
    // The heading of a column laid out in the heading font at its width.
    void GetHeadingTextSize(int DataCol, int& Height, int& Lines);
    int GetHeadingTextHeight(int DataCol);
    int GetHeadingTextLines(int DataCol);
    // The application may refuse the selection of a row.
    bool CanSelectRow(int DataRow, const Variant& Value);
    virtual void DoCanSelectRow(int DataRow, const Variant& Value, bool& Cancel);
    // The check-box control's pictures for checked, unchecked and grayed.
    void SetCheckBoxOnBitmap(TBitmap* Bitmap);
    void SetCheckBoxOffBitmap(TBitmap* Bitmap);
    void SetCheckBoxGrayedBitmap(TBitmap* Bitmap);

    // ---- invalidation (nothing while there is no window or in bulk) ------------------------
    bool GetFastAssign() const { return FFastAssign > 0 || IsLoading(); }
    void SetFastAssign(bool On);
    void SetEnablePaint(bool Enable) {
        if (!Enable)
            ++FPaintLock;
        else if (FPaintLock > 0)
            --FPaintLock;
        if (PaintEnabled() && (FComboExtentsPending || FPaintSkipped)) PaintResumed();
    }
    bool PaintEnabled() const { return FPaintLock == 0; }
    bool GetEnablePaint() const { return PaintEnabled(); }
    // Redrawing off also stops the window's own repainting until it is on
    // again, which repaints the grid at once (view/GridRedraw).
    void SetEnableRedraw(bool Enable);
    bool GetEnableRedraw() const { return FRedrawLock == 0; }
    void SetRedraw(bool Enable);
    // Painting and redrawing are both on.
    bool CanPaint() const { return PaintEnabled() && GetEnableRedraw(); }
    // Off while the combo list's extents are not to follow its settings.
    void SetSetComboExtents(bool Enable);
    bool GetSetComboExtents() const { return FComboExtentsLock == 0; }
    // Public invalidation does nothing during fast assign.
    void InvalidateCell(int DisplayCol, int DisplayRow);
    void InvalidateCol(int DisplayCol);
    void InvalidateRow(int DisplayRow);
    void Update() override;
    // The grid and its cells after a change of scale: the heading, the row
    // bar, the buttons, the columns, rows and cells.
    virtual void ChangeScale(int M, int D);
    bool Painting() const { return FPainting; }
    bool Destroying() const { return ComponentState().Contains(csDestroying); }
    bool IsLoading() const { return ComponentState().Contains(csLoading); }
    // The gated relays call their handlers only while this answers true:
    // not while the grid is being loaded (read from its form or from a
    // saved state).
    virtual bool CanActivateEvent() const;
    // The end of a form load: what the load put off is carried out.
    void Loaded() override;
    bool GetInDesignMode() const;
    bool SetInDesignMode(bool Value);
    bool CheckInvalidateCol(int DisplayCol);
    bool CheckInvalidateRow(int DisplayRow);
    bool CheckInvalidateCell(int DisplayCol, int DisplayRow);
    void InvalidateGridCell(int DisplayCol, int DisplayRow);
    // The in-place control is placed again over the current cell (the
    // editor hosting does the work; without it there is nothing to place).
    void RedisplayControl(bool Force = false);
    // After a row's height changed: a row below the current one moves
    // neither the current cell nor its control, which stays as it is.
    void RedisplayControlForRow(int DisplayRow);

    // The edit flow's answer whether an edit of another cell may end; with
    // no edit under way it may.
    virtual bool CheckEndEdit(int DataCol, int DataRow, bool ByUser);
    bool InGridState() const;
    bool InEditMode() const {
        return (FGridMode == gmEdit || FGridMode == gmEditInsert) && FGridStatus == grNormal;
    }
    bool IsInsertRow(int DisplayRow) const;
    // The insertion row, shown or entered: until something is typed into an
    // entered insertion row, no fresh one shows below it and it is still the
    // last display row.
    bool HoldsInsertRow(int DisplayRow) const;
    // Makes a display cell current (both within the grid).
    void SetCurrentCell(int DisplayCol, int DisplayRow);
    // The base control's moves (Col, Row, FocusCell, the selection) take the
    // grid's own way: the edit ends for the new cell, and the editor comes
    // back over it. With Show the new cell is scrolled into view. The anchor
    // always goes with the current cell.
    void MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show) override;
    void SetSelection(const TGridRect& Value) override;
    void CheckTopLeftNow() { CheckTopLeft(false); }
    void InvalidateGridNow();
    void CheckSetMask(int DataCol, int DataRow);
    // A date-time definition went away: nothing refers to it any more.
    void DateTimeDefDeleted(TgxDateTimeDefComponent* Component);
    // Pixel sizes set by the model itself, with only the one column (row)
    // brought in step afterwards.
    void SetColPixelWidth(int DisplayCol, int Width);
    void SetRowPixelHeight(int DisplayRow, int Height);
    // A row's height set by the model and the row reported resized: with no
    // one to hear of it, the scroll bars are brought up to date once, after
    // the report, instead of also in between.
    void ResizeRowPixels(int DisplayRow, int Height);

    // ---- relays of editing, the current cell, rows and date-time lists
    // (view/GridEditRelays). Cancel and Accept start false, so a silent
    // handler means "go on" and "refuse".
    virtual void DoStartCellEdit(int DataCol, int DataRow, bool& Cancel);
    virtual void DoStartRowEdit(int DataRow, bool& Cancel);
    virtual void DoEndCellEdit(int DataCol, int DataRow, bool& Cancel);
    // Always for the current data row.
    virtual void DoEndRowEdit(int DataRow, bool& Cancel);
    virtual void DoShowEditor(int DataCol, int DataRow, bool& Cancel);
    virtual void DoHideEditor(int DataCol, int DataRow);
    virtual void DoInvalidMaskValue(int DataCol, int DataRow, bool& Accept);
    virtual void DoInvalidMaskEdit(const AnsiString& Keys, int DataCol, int DataRow, bool& Accept);
    virtual void DoUndoCellEdit(int DataCol, int DataRow, bool ByUser, bool& Cancel);
    virtual void DoUndoRowEdit(int DataRow, bool ByUser, bool& Cancel);
    virtual void DoCellEdit(int DataCol, int DataRow, bool ByUser);
    // Gated.
    virtual void DoCellChanged(int OldCol, int NewCol, int OldRow, int NewRow);
    virtual void DoRowChanged(int OldRow, int NewRow);
    virtual void DoDeleteRow(int DataRow, bool ByUser);
    virtual void DoInsertRow(int DataRow, bool ByUser);
    virtual void DoDateTimeInit(TgxDateTimeDefComponent* Def, int DataCol, int DataRow);
    virtual void DoDateTimeDropDown(TgxDateTimeDefComponent* Def, int DataCol, int DataRow);
    virtual void DoDateTimeRollUp(TgxDateTimeDefComponent* Def, int DataCol, int DataRow);
    virtual void DoDateTimeGetValue(TgxDateTimeDefComponent* Def, int DataCol, int DataRow,
                                    Variant& Value);

    // ---- event relays (view/GridRelays) -----------------------------------------------------
    virtual void DoPaint();
    virtual void DoResize();
    virtual void DoHeadingDown(int DataCol);
    virtual void DoHeadingUp(int DataCol);
    virtual void DoHeadingClick(int DataCol);
    virtual void DoColMoved(int ToDisplayCol, int Count, bool ByUser);
    // While another grid's order is taken over, the steps that put each
    // column or row in place are not moves of their own and report nothing;
    // the taking over reports each column or row that ended elsewhere once.
    bool MovesHeld() const { return FMovesHeld > 0; }
    void HoldMoves(bool Hold) { FMovesHeld += Hold ? 1 : -1; }
    virtual void DoRowMoved(int ToDisplayRow, int Count, bool ByUser);
    virtual void DoColChanged(int OldCol);
    virtual void DoSelectChanged(TgxSelectType SelectType, bool ByUser);
    virtual void DoColCountChanged(int OldCount, int NewCount);
    virtual void DoRowCountChanged(int OldCount, int NewCount);
    virtual void DoColResized(int DataCol);
    virtual void DoRowResized(int DataRow);
    virtual bool DoCanStartDrag();
    virtual void DoMouseStatusChanged(TgxMouseStatus OldStatus, TgxMouseStatus NewStatus);
    virtual void DoGridStatusChanged(TgxGridStatus OldStatus, TgxGridStatus NewStatus);
    virtual void DoEditTextResized(bool ByUser);
    virtual void DoDeleteCol(int DataCol, bool ByUser);
    virtual void DoInsertCol(int DataCol, bool ByUser);
    virtual void DoComboCompareValue(const AnsiString& ComboString,
                                     const AnsiString& CurrentCellString, int& CompareRes);
    virtual void DoComboLCompareValue(const AnsiString& ComboString,
                                      const AnsiString& CurrentCellString, int Len,
                                      int& CompareRes);
    virtual void DoKeyDown(Word& Key, TShiftState Shift);
    virtual void DoKeyUp(Word& Key, TShiftState Shift);
    virtual void DoKeyPress(char& Key);
    // The reactions to a changed row count and an inserted row; the custom
    // grid raises their events.
    virtual void CheckRowCountChanged(int OldCount, int NewCount);
    virtual void RowInserted(int DataRow, bool ByUser);

    // ---- attribute resolution (view/GridAttributes) ----------------------------------------
    // Which value of an attribute is in force for a cell: the cell's own,
    // then its column and row in DrawOverlap order, then the grid's. Column
    // 0 and row 0 are heading cells. None of these changes anything.
    TColor GiveCellColor(int DataCol, int DataRow, bool Is3D);
    TFont* GiveHeadingFont(int DataCol);
    TgxWordWrap GiveHeadingWordWrap(int DataCol);
    TgxHorzAlignment GiveCellHorzAlignment(int DataCol, int DataRow);
    TgxHorzAlignment GiveHeadingHorzAlignment(int DataCol);
    TAlignment GiveCellAlignment(int DataCol, int DataRow);
    TgxVertAlignment GiveCellVertAlignment(int DataCol, int DataRow);
    TgxVertAlignment GiveHeadingVertAlignment(int DataCol);
    bool GiveCell3D(int DataCol, int DataRow);
    // The button and its drop-down style come from the same level.
    TgxButtonType GiveCellButton(int DataCol, int DataRow, TgxDropDownStyle& Style);
    TgxDropDownStyle GiveCellDropDownStyle(int DataCol, int DataRow);
    // False (and an empty name) when no level names a mask.
    bool GiveCellMaskName(int DataCol, int DataRow, AnsiString& Name);
    virtual TgxSpinOptions GiveCellSpinOptions(int DataCol, int DataRow);
    virtual double GiveCellSpinIncrement(int DataCol, int DataRow);
    TgxDrawOption GiveCellStretchPicture(int DataCol, int DataRow);
    TgxDrawOption GiveCellShrinkPicture(int DataCol, int DataRow);
    TgxDrawOption GiveCellCenterPicture(int DataCol, int DataRow);
    TgxDrawOption GiveCellKeepAspectRatio(int DataCol, int DataRow);
    bool CanEditCol(int DataCol) const;
    bool CanEditRow(int DataRow) const;
    bool CanEditCell(int DataCol, int DataRow);
    bool CellIsReadOnly(int DataCol, int DataRow);
    // The same questions for the current cell.
    virtual AnsiString CurCellMaskName();
    virtual TgxControlType CurCellControlType();
    virtual bool CurCellReadOnly();
    virtual AnsiString CurCellCheckBoxValues();
    virtual bool CurCellSelected();
    // GiveCellControlType for a column within the grid and a row within
    // 0 .. Rows; ctNone (raising when index errors are reported) otherwise.
    TgxControlType ActiveControlType(int DataCol, const Variant& DataRow);
    // Grid-level looks: each stores a new value and repaints what can change.
    TAlignment HeadingAlignment() const { return FHeadingAlignment; }
    // Kept for old forms: left-justified means "as the grid aligns".
    void SetHeadingAlignment(TAlignment Value);
    void SetHeadingHorzAlignment(TgxHorzAlignment Value);
    void SetHeadingVertAlignment(TgxVertAlignment Value);
    void SetHeadingWordWrap(TgxWordWrap Value);
    void SetHorzAlignment(TgxHorzAlignment Value);
    void SetVertAlignment(TgxVertAlignment Value);
    void SetRowBarAlignment(TgxVertAlignment Value);

    // ---- geometry and hit testing (view/GridGeometry) --------------------------------------
    // The left (top) edge of a display column (row) on screen, -1 when the
    // column is not on screen. Column widths and row heights include the
    // grid line; CellRect leaves it out.
    int CalcColOffset(int DisplayCol) const;
    int CalcRowOffset(int DisplayRow) const;
    TRect CalcCellRect(int DisplayCol, int DisplayRow) const;
    TRect CellRect(int DisplayCol, int DisplayRow) const;
    TRect BoxRect(int LeftCol, int TopRow, int RightCol, int BottomRow) const;
    // -1 outside the client area (or the grid).
    bool ColFromX(int X, int& DisplayCol) const;
    bool RowFromY(int Y, int& DisplayRow) const;
    bool CellFromXY(int X, int Y, int& DisplayCol, int& DisplayRow) const;
    // Like CellFromXY, but a point outside maps to the grid's edge.
    void ColRowFromXY(int X, int Y, int& DisplayCol, int& DisplayRow) const;
    int MinLeftCol() const;
    int MinTopRow() const;
    bool GetVisibleLeftCol(int Col, int& NewCol) const;
    bool GetVisibleTopRow(int Row, int& NewRow) const;
    virtual bool ShowHorzScrollBar(int Width) const;
    virtual bool ShowVertScrollBar(int Height) const;
    virtual bool CanShowHorzScrollBar() const;
    virtual bool CanShowVertScrollBar() const;
    bool GetHorzScrollBarVisible() const;
    bool GetVertScrollBarVisible() const;
    int GetHorzScrollBarHeight() const;
    int GetVertScrollBarWidth() const;
    bool ButtonInColHeading(int DisplayCol) const;
    bool IsColHeadingButton(int DisplayCol) const;
    // The grid's own scroll-bar setting (the base control's stays off: the
    // grid shows its bars itself); brings the bars up to date.
    void SetGridScrollBars(TScrollStyle Value);
    void SetAlwaysShowScrollBar(TScrollStyle Value);
    void SetHeadingButton(TgxHeadingButton Value);

    // ---- navigation searches (view/GridNavigation) -----------------------------------------
    // The next (previous) visible display column or row a move may land on;
    // the position found (or where the walk ended) goes to the out value.
    bool GetNextCol(int DisplayCol, bool SkipReadOnlyCols, bool RowSelect, int& NewCol) const;
    bool GetPrevCol(int DisplayCol, bool SkipReadOnlyCols, bool RowSelect, int& NewCol) const;
    bool GetNextRow(int DisplayRow, bool SkipReadOnlyRows, bool RowSelect, int& NewRow) const;
    bool GetPrevRow(int DisplayRow, bool SkipReadOnlyRows, bool RowSelect, int& NewRow) const;
    int LeftMostCol(bool SkipReadOnlyCols, bool RowSelect) const;
    int RightMostCol(bool SkipReadOnlyCols, bool RowSelect) const;
    int TopMostRow(bool SkipReadOnlyRows, bool RowSelect) const;
    int BottomMostRow(bool SkipReadOnlyRows, bool RowSelect) const;
    bool CanSkipReadOnly() const;
    bool InRowSelectMode() const;

    // ---- current cell positioning and moves (view/GridNavigation) ------------------------
    // Records a new current display cell (and its data cell); no repaint, no event.
    void PositionCell(int DisplayCol, int DisplayRow);
    // PositionCell, then the current cell's buffer is dropped when the data
    // cell changed, and the insertion row is settled. Flag is the derived
    // grid's to use; the moves here pass true.
    virtual void SetCurrentPosition(int DisplayCol, int DisplayRow, bool Repaint, bool Flag);
    // The same, then the current-row mark is repainted, also after an error.
    void SetCurrentPositionAndDraw(int DisplayCol, int DisplayRow, bool Repaint, bool Flag);
    // The previous current display cell (before the last positioning).
    int PrevDisplayCol() const { return FPrevDisplayCol; }
    int PrevDisplayRow() const { return FPrevDisplayRow; }
    // The data cell recorded by the last positioning.
    int PositionedDataCol() const { return FPositionedDataCol; }
    int PositionedDataRow() const { return FPositionedDataRow; }
    // Reading-order searches over the data area; with EditableOnly a found
    // cell must also be editable.
    bool GetNextCell(int DisplayCol, int DisplayRow, bool EditableOnly, int& NewCol, int& NewRow);
    bool GetPrevCell(int DisplayCol, int DisplayRow, bool EditableOnly, int& NewCol, int& NewRow);
    bool GetNextDownCell(int DisplayCol, int DisplayRow, bool EditableOnly, int& NewCol,
                         int& NewRow);
    bool GetNextUpCell(int DisplayCol, int DisplayRow, bool EditableOnly, int& NewCol,
                       int& NewRow);
    int LeftMostScrollCol() const;
    int TopMostScrollRow() const;
    // Makes the column at DisplayCol current, or the next good one to the
    // right, else to the left, else the leftmost; 0 when there is none.
    void MoveToNewCol(int DisplayCol, bool ClearFocus, bool SkipReadOnlyCols, bool RowSelect);
    // The same for rows; the insertion row is never the target of a search.
    virtual void MoveToNewRow(int DisplayRow, bool ClearFocus, bool SkipReadOnlyRows,
                              bool RowSelect);
    // Re-validates the current cell after columns or rows changed.
    void CheckRowColPos();
    // Makes the display cell of a data cell current.
    void SetNewCurrentCell(int DataCol, int DataRow);
    void SetTopLeft(int ALeft, int ATop);
    // The grid or its in-place control has the focus.
    bool IsFocused() const;
    virtual bool ButtonsActive() const { return true; }
    virtual bool CanDrawInsert() const { return false; }
    // The insertion-row mark in the row bar of the last row.
    void DrawInsert();
    // The current cell repainted without (with) its focus frame around a
    // change; while disabled the frame is not drawn.
    void ClearCurrentFocusRect(bool UpdateNow);
    void DrawCurrentFocusRect(bool UpdateNow);
    void SetFocusRectDisabled(bool Value);
    bool GetFocusRectDisabled() const { return FFocusRectDisabled > 0; }

    // ---- seams: the edit flow and editor hosting fill these in ---------------------------
    // Reports a changed current row or column to the application.
    void CheckRowColChanged();
    // Turns a left insertion row into an appended row (or takes it back).
    void CheckInsertionRow(bool Repaint);
    // Hides (shows again) the in-place control of the current cell.
    void HideGridControl(bool Invalidate);
    void ShowGridControl();

    // ---- scrolling with a mode (view/GridScrollMode) ----------------------------------------
    // How the pixels move while the top-left cell changes: the whole data
    // area (smWindow), around the in-place control (smGridControl) or
    // around the current row's row-bar cell (smRowSelect).
    enum TgxScrollMode : std::uint8_t { smWindow, smGridControl, smRowSelect };
    TgxScrollMode ScrollMode() const { return FScrollMode; }
    void ScrollGrid(int ALeft, int ATop, TgxScrollMode Mode);
    void SetScrollMode(TgxScrollMode Mode);
    void ResetScrollMode();
    void ScrollDataInfo(int DX, int DY, const TGridDrawInfo& DrawInfo) override;
    void ScrollRect(int Left, int Top, bool Horizontal, int Distance, int Bottom, int Right);
    void ScrollUp(int DY);
    void ScrollDown(int DY);
    void ScrollLeft(int DX);
    void ScrollRight(int DX);
    void ScrollControlVertical(int DY);
    void ScrollControlHorizontal(int DX);
    void ScrollRowSelect(int DY);
    // |DY| plus the fixed height plus the rows from the top row on that fit.
    int GetScrollHeight(int DY) const;
    int GetScrollWidth(int DX) const;
    void HideControlBeforeScroll(bool Invalidate);
    void ShowControlAfterScroll();
    // Whether the next auto-scroll step may be taken now: waits out the
    // delay of ScrollSpeed unless mouse input or Escape arrives first.
    bool ScrollDelay(int ScreenX, int ScreenY, int Direction);
    bool CheckEscape() const;
    void SetScrollSpeed(TgxScrollSpeed Value) { FScrollSpeed = Value; }

    // ---- picture overlay and check-box look (view/GridPaintMask) ----------------------------
    // A picture cell is not filled with the selection or focus colour: the
    // colour goes over it as a checkered overlay.
    void DrawPictureMask(const TRect& Rect, TColor Color);
    void InitPictureMaskColor(TColor Color);
    void CheckPictureMaskColor(TColor Color);
    void CheckPictureMask(bool Create);
    TgxCheckBoxStyle CheckBoxStyle() const { return FCheckBoxStyle; }
    void SetCheckBoxStyle(TgxCheckBoxStyle Value);

    // ---- looks under the mouse (view/GridPaintLooks) ---------------------------------------
    // A cell's button: flat, raised while the mouse is over it, pressed
    // while the mouse holds it down.
    enum TgxButtonMode : std::uint8_t { bmFlat, bmUp, bmDown };
    TgxButtonMode CellButtonMode(int DisplayCol, int DisplayRow) const;
    // Cell buttons (view/GridPaintButtons).
    TColor ButtonBrushColor(TColor Color, const TgxDrawData& Data, bool Selected) const;
    bool DrawCurrentButton(int DisplayCol, int DisplayRow) const;
    bool CanDrawButton(int DisplayCol, int DisplayRow, bool Check) const;
    bool DrawFlatButtonUp(int DisplayCol, int DisplayRow) const;
    void DrawButtonBox(TColor Color, TgxButtonMode Mode, bool Selected, TgxDrawData& Data);
    void DrawButtonPicture(TgxDrawData& Data, TColor Color, TgxButtonMode Mode);
    void DrawSpinButtons(bool Selected, TgxDrawData& Data, TColor Color, TgxButtonMode Mode,
                         TgxSpinButton Pressed);
    // The two parts of a spin cell's button as drawn (and hit by the mouse);
    // false when the cell has no spin button to split.
    bool GetSpinRects(const TgxDrawData& Data, TRect& Increment, TRect& Decrement);
    // The heading the mouse holds down, as a whole or by its button.
    bool HeadingHeld(int DataCol) const;
    bool HeadingButtonHeld(int DataCol) const;
    // The box of a heading's button, raised or pressed.
    void DrawHeadingButtonUp(TCanvas* Canvas, const TRect& Button, bool Held);
    void DrawHeadingButtonDown(TCanvas* Canvas, const TRect& Button, bool RightAligned);

    // ---- visible extent and scaling (view/GridExtent) --------------------------------------
    // Whole columns (rows) that fit from the left column (top row) on,
    // counted after the fixed area.
    int GetVisibleColCount() const;
    int GetVisibleRowCount() const;
    // Visible columns (rows) that fit, plus the fraction of the next one.
    double GetVisibleCols() const;
    double GetVisibleRows() const;
    int GetGridRowHeights(int DisplayRow) const;
    bool ResizeCol(int DisplayCol, int Width);
    bool ResizeRow(int DisplayRow, int Height, bool Silent);
    void ScaleRows(int M, int D, TScalingFlags Flags);
    void ScaleCols(int M, int D, TScalingFlags Flags);
    // Fonts of the cells that keep their own.
    void ScaleCells(int M, int D, TScalingFlags Flags);
    // A combo's drop-down grid follows its parent grid's setting.
    bool GetAutoScale() const;
    void SetAutoScale(bool Value);
    // "Checked|Unchecked" or "Checked|Unchecked|Grayed"; any other text
    // raises and keeps the values there were.
    void SetCheckBoxValues(const AnsiString& Value);
    // The heading's look as an HTML style attribute.
    AnsiString HTMLFont();

    // ---- scroll bars (view/GridScroll) ------------------------------------------------------
    // The bars work on positions in the visible lists, so hidden rows and
    // columns never appear on them; above 32,767 scrollable rows (columns)
    // a bar is scaled to fit its 16-bit positions.
    int GetMaxScrollRow() const;
    int GetMaxScrollCol() const;
    void GetVertScrollRange(int& Count, int& Max, bool& Scaled, int& Last, int& First) const;
    void GetHorzScrollRange(int& Count, int& Max, bool& Scaled, int& Last, int& First) const;
    int GetVertScrollPos() const;
    int GetHorzScrollPos() const;
    int VertScrollPageSize(int Max, int Count, int Last) const;
    int HorzScrollPageSize(int Max, int Count, int Last) const;
    bool AlwaysShowHorzScrollBar() const;
    bool AlwaysShowVertScrollBar() const;
    void SetHorzVisible(bool Value);
    void SetVertVisible(bool Value);
    void UpdateScrollRange() override;
    void UpdateScrollPos() override;
    // The display row (column) a scroll-bar code and thumb position lead to.
    int CalcVertScrollBar(int ScrollCode, int Pos) const;
    int CalcHorzScrollBar(int ScrollCode, int Pos) const;
    void ModifyVertScrollBar(int ScrollCode, int Pos);
    void ModifyHorzScrollBar(int ScrollCode, int Pos);
    // Clamps to the largest top-left and to visible columns and rows first.
    void MoveTopLeft(int ALeft, int ATop) override;
    // The bottom of the last visible row's cell with its line, at most the
    // client height.
    int GetMaxScrollHeight() const;
    // The wait between two auto-scroll steps for the mouse at the screen
    // point: slow near the data area, fast further out. Direction 0 is
    // across, 1 up and down, 2 both.
    int WaitingTime(int ScreenX, int ScreenY, int Direction) const;
    static constexpr int ScrollHighSpeedDelay = 0;
    static constexpr int ScrollLowSpeedDelay = 200;

    // ---- painting (view/GridPaint*) -----------------------------------------------------------
    // Lines first, then the fixed and the scrolling cells that meet the clip
    // rectangle, then the area beyond the last column and row.
    virtual void PaintGrid();
    void DrawGridLines(const TRect& Clip, int FirstCol, int FirstRow);
    void DrawCells(const TRect& Clip, int FirstCol, int& Right, int& Bottom, int FirstRow);
    void DrawRowCells(int DisplayRow, int Y, int& Right, int FirstCol, const TRect& Clip);
    void DrawEmptyArea(int Right, int Bottom);
    virtual void DoDrawCell(int DisplayCol, int DisplayRow, bool Selected, const TRect& Rect);
    void GetDrawData(int DisplayCol, int DisplayRow, TgxDrawData& Data, bool Full);
    void SetDrawRect(TgxDrawData& Data);
    void SetDrawFont(TgxDrawData& Data);
    void FetchDrawInfo(TgxDrawData& Data);
    // Whether a cell is painted selected: its row or column is.
    bool CellPaintSelected(int DisplayCol, int DisplayRow) const;
    bool SelectionColorEnabled() const;
    // The application's hooks; the custom grid raises their events.
    virtual bool PaintCell(TgxDrawData& Data, const TRect& Rect, bool Selected);
    virtual void CellLoadedEvent(int DataCol, int DataRow, TgxControlType ControlType,
                                 Variant& Value);
    virtual bool ActivateDoGetDrawInfo();
    virtual void GetDrawInfo(int DataCol, int DataRow, TgxDrawInfo& DrawInfo);
    void CellLoaded(TgxDrawData& Data, bool Selected);
    void AssignCellValue(const Variant& Value, TgxDrawData& Data, bool Selected);
    virtual void DrawCellText(const AnsiString& Text, TgxDrawData& Data, bool Selected);
    void DrawCheck(const Variant& Value, TgxDrawData& Data, bool Selected);
    void DrawPicture(TBitmap* Bitmap, TgxDrawData& Data, bool Selected);
    void DrawEmpty(TgxDrawData& Data, bool Selected);
    // The button inside a data cell, in its flat look.
    void DrawButtonInCell(TgxDrawData& Data, bool Selected);
    void FillButtonPart(TgxDrawData& Data, bool Selected);
    // Gives the canvas a font, unless it took that same font last in this paint.
    void UsePaintFont(TFont* Value);
    // The cell background by selection and focus.
    TColor CellBackground(const TgxDrawData& Data, bool Selected, bool ForPicture = false) const;
    void DrawFixedCellUnselected(const TgxDrawData& Data);
    void DrawHeadingCell(TgxDrawData& Data);
    // The heading's text area and its button (a push button or a sort
    // picture), and their drawing.
    void GetHeadDrawData(int DisplayCol, TgxDrawData& Data);
    virtual TBitmap* DoGetSortPicture(TgxSortPicture Picture);
    virtual void DrawHeadingButton(TCanvas* Canvas, int DisplayCol, TgxDrawData& Data);
    bool MouseOverHeadingButton(int X, int Y, int DisplayCol);
    // A click at the point may press the column's heading (its button, or
    // the whole heading when that is the button).
    bool CanClickHeading(int X, int Y, int DisplayCol);
    // Whether the canvas clip rectangle reaches into Rect.
    bool InClipRect(const TRect& Rect);
    void DrawFixedCellFrame(const TRect& Rect, TColor Color);
    // The current-row mark in the row bar.
    void DrawCurrent(int DisplayRow);
    // The same mark on a current row that is selected.
    void DrawCurrentSelected(int DisplayRow);
    // Whether the row bar shows the changed-row picture for the data row.
    bool DrawRowChangedIndicator(int DataRow) const;
    void DrawCurrentMark(int DisplayRow, TCopyMode Mode);
    // ---- focus frame (view/GridFocusFrame)
    // A look is set: a border, or a focus colour.
    bool FocusEnabled() const;
    // A look is set and the grid is neither a list box nor selecting.
    bool FocusRectActive() const;
    // As far as the in-place control goes, the cell may show the frame:
    // never a row-bar or heading cell, nor the current cell while its
    // control is active or shown over it (unless the cell is read-only).
    bool FocusRectVisible(int DisplayCol, int DisplayRow) const;
    // Every condition of the frame but that the cell is the current one;
    // CheckFocus asks for the focus as well, unless AlwaysShowFocus.
    bool CheckCellFocusRect(int DisplayCol, int DisplayRow, bool CheckFocus) const;
    // The current cell shows its frame now.
    bool DisplayFocusRect(int DisplayCol, int DisplayRow, bool CheckFocus = true) const;
    // Draws the frame of the cell in the FocusBorder look onto Canvas,
    // whether or not it shows; DrawCellFocusRect draws it where it shows.
    void DrawFocusRect(TCanvas* Canvas, int DisplayCol, int DisplayRow);
    void DrawCellFocusRect(int DisplayCol, int DisplayRow);
    // The frame's area; a solid frame reaches a pixel into the lines left and above.
    void InvalidateFocusRect(int DisplayCol, int DisplayRow, bool WholeBox);
    // The grid gained or lost the focus: the current cell's frame (and its
    // focus colours) are repainted; WholeBox takes the solid frame's area.
    void FocusChanged(bool WholeBox);
    // Update, with the frame left out for its length when asked.
    void UpdateGrid(bool WithoutFrame);

    // ---- one cell repainted off-screen (view/GridOffScreen)
    // Points the canvas at the grids' shared memory surface, holding the
    // window's pixels of Rect, so that a cell is put together there and
    // reaches the window in one piece. False when this grid already paints
    // off-screen or another grid holds the surface: the caller then paints
    // straight onto the canvas as it is, and does not call CanvasToScreen.
    bool PrepareCanvas(const TRect& Rect);
    // Copies Rect (held to the client area) from the surface to the window,
    // then gives the canvas back to the window and the surface to others;
    // the copy is left out when the canvas was taken off the surface.
    void CanvasToScreen(const TRect& Rect);
    // Puts the canvas back on the surface after application code ran in
    // the middle of an off-screen cell; nothing otherwise.
    void RestoreHandle();
    // Makes sure the bitmap's canvas has its surface, then the grid's
    // canvas its own.
    void BmpHandleNeeded(TBitmap* Bitmap);
    bool PaintingOffScreen() const { return FPaintingOffScreen; }
    void SetFocusBorder(TgxFocusBorder Value);
    void SetFocusBorderColor(TColor Value);
    void SetFocusFontColor(TColor Value);
    void SetSelectionColor(TColor Value);
    void SetSelectionFontColor(TColor Value);

    // ---- selection (view/GridSelect*, view/GridHighlight*, view/GridDrag*) ---------------
    // Marks of whole columns and rows by display range; a reversed range is
    // turned round, and the counts, ends and grid status stay exact.
    void AddColSelection(int FromCol, int ToCol);
    void DeleteColSelection(int FromCol, int ToCol);
    void ChangeColSelection(int FromCol, int ToCol);
    void NewColSelection(int FromCol, int ToCol);
    void DeleteAllColSelection();
    virtual void AddRowSelection(int FromRow, int ToRow);
    virtual void DeleteRowSelection(int FromRow, int ToRow);
    virtual void ChangeRowSelection(int FromRow, int ToRow);
    void NewRowSelection(int FromRow, int ToRow);
    virtual void DeleteAllRowSelection();
    int NumberOfColsSelected(int From, int To) const;
    int NumberOfRowsSelected(int From, int To) const;
    // The row selected first while one row was selected; -1 with none.
    int SelectionAnchorRow() const { return FSelAnchorRow; }
    // Changes are collected per kind and reported once, rows first.
    void SetSelectChanged(TgxSelectType SelectType);
    void SelectChanged(TgxSelectType SelectType, bool ByUser);
    void SelectionsChanged(bool ByUser);
    // The selection model: one kind of selection at a time.
    void SelectRows(int StartRow, int EndRow, bool Select);
    void DoRowSelection(int StartRow, int EndRow, bool ByUser, bool Select);
    void SelectCols(int StartCol, int EndCol, bool Select);
    void SelectCells(int StartCol, int StartRow, int EndCol, int EndRow);
    void SelectAll();
    void ResetSelection();
    // Kinds empty: whatever is selected.
    void DeleteSelections(SmallSet<TgxGridStatus> Kinds, bool Update);
    void AdjustSelection(TgxSelectType Keep);
    void InvertRowSelection(int StartRow, int EndRow, bool Select);
    bool IsCellSelected(int DisplayCol, int DisplayRow) const;
    bool CellSelected(int DisplayCol, int DisplayRow) const;
    bool CellInGridSelection(int DisplayCol, int DisplayRow) const;
    bool RowRangeSelected(int From, int To) const;
    bool ColRangeSelected(int From, int To) const;
    bool RowRangeUnselected(int From, int To) const;
    bool ColRangeUnselected(int From, int To) const;
    bool FixedRowsSelected() const;
    bool FixedColsSelected() const;
    void SetSelectedRow(int DisplayRow, bool Selected);
    // The cell range (display numbers; all 0 with none) and its anchor cell.
    TRect SelectedRange() const { return FRange; }
    TGridCoord RangeAnchor() const { return FRangeAnchor; }
    void StartCellSelection(int DisplayCol, int DisplayRow);
    void ChangeCellSelection(int DisplayCol, int DisplayRow);
    void DeleteRangeSelection();
    void DeleteSelectedCellsCol(int DisplayCol);
    void DeleteSelectedCellsRow(int DisplayRow);
    void CheckSelectedCellsCol(int DisplayCol);
    void CheckSelectedCellsRow(int DisplayRow);
    void ForgetEmptiedRange();
    int CompareRowPos(int DisplayRow) const;
    // Highlight drawing: inverted pixels, or cells repainted in the
    // selection colours. Canvas nullptr: the grid's own.
    void RectInvert(TCanvas* DC, const TRect& R, bool State);
    void GridRectInvert(TCanvas* DC, const TRect& Cells, bool State, const TRect& Clip);
    virtual void InvertRange(int Left, int Top, TCanvas* DC, bool State, const TRect& Clip,
                             int Bottom, int Right);
    void InvertCell(int DisplayCol, int DisplayRow, TCanvas* DC, bool State, const TRect& Clip);
    virtual void InvertRow(int DisplayRow, bool State, TCanvas* DC = nullptr);
    void InvertCol(int DisplayCol, TgxInvert Part, TCanvas* DC, bool State);
    void InvertHeading(bool State);
    void InvertLabel(bool State);
    void InvertGrid(bool State);
    void InvertNew(const TRect& NewRange);
    void InvertNewRangeSelecting(const TRect& NewRange);
    void InvertNewColSelecting(const TRect& NewRange);
    void InvertNewRowSelecting(const TRect& NewRange);
    // Mouse presses that select (display row before display column).
    void MDRowSelect(TShiftState Shift, int X, int DisplayRow, int DisplayCol, int Y);
    void MDColSelect(TShiftState Shift, int X, int DisplayRow, int DisplayCol, int Y);
    void MDRangeSelecting(TShiftState Shift, int X, int DisplayRow, int DisplayCol, int Y);
    void MDSelectNone(TShiftState Shift, int X, int DisplayRow, int DisplayCol, int Y);
    bool DblClickSelectNone(TShiftState Shift, int X, int DisplayRow, int DisplayCol, int Y);
    void MDSelectAll(bool ByMouse);
    bool CanSelect(int DisplayCol, int DisplayRow) const;
    void FlashButtonArea(int DisplayCol, int DisplayRow);
    void MouseSelectRows(TShiftState Shift, int DisplayRow);
    void MouseSelectCols(TShiftState Shift, int DisplayCol);
    void SelectRowMouseDown(int DisplayRow);
    void SelectRowCtrlMouseDown(int DisplayRow);
    void SelectRowShiftMouseDown(int DisplayRow);
    void SelectRowShiftCtrlMouseDown(int DisplayRow);
    void SelectColMouseDown(int DisplayCol);
    void SelectColCtrlMouseDown(int DisplayCol);
    void SelectColShiftMouseDown(int DisplayCol);
    void SelectColShiftCtrlMouseDown(int DisplayCol);
    virtual void SelectSingleRow(int DisplayRow, bool NoDrawing);
    virtual void SetNewSelectedRow(int DisplayRow);
    virtual void CheckRowSelection(bool NoDrawing = false);
    virtual void SetSelectionStartRow(int DisplayRow) { FSelectionStartRow = DisplayRow; }
    virtual int SelectionStartRownr() const { return FSelectionStartRow; }
    virtual void SetLastAddedRow(int DisplayRow) { FLastAddedRow = DisplayRow; }
    // Moves the current cell (to NewCol when given and not -1) and drops
    // every selection.
    void SelectNone(int& DisplayCol, int& DisplayRow, int NewCol = -1);
    void StartRowMoving(int DisplayRow);
    void StartColMoving(int DisplayCol);
    void DrawRowMove();
    void DrawColMove();
    // Dragging with the left button held: selection, moving, auto-scroll.
    void MouseMoveRowSelecting(int X, int Y, int DisplayCol, int DisplayRow);
    void MouseMoveColSelecting(int X, int Y, int DisplayCol, int DisplayRow);
    void MouseMoveRangeSelecting(int X, int Y, int DisplayCol, int DisplayRow);
    void MouseMoveRowMoving(int X, int Y, int DisplayCol, int DisplayRow);
    void MouseMoveColMoving(int X, int Y, int DisplayCol, int DisplayRow);
    void MouseMoveSetPosition(int X, int Y, int& DisplayCol, int& DisplayRow, int& NewX,
                              int& NewY);
    bool ScrollRows(int Y, int& DisplayCol, int& DisplayRow);
    bool ScrollCols(int X, int& DisplayCol, int& DisplayRow);
    void MoveView(TgxMoveDirection Direction, int& DisplayCol, int& DisplayRow);
    bool CheckMouseOverGrid(int X, int Y) const;
    int RowsInView(int Height, int Top) const;
    int ColsInView(int Width, int Left) const;
    void SetNewTopRow(int DisplayRow, int Height, int Y);
    void SetNewLeftCol(int DisplayCol, int Width, int X);
    void ChangeAllRowHeights(int Height, bool KeepPosition);
    void ChangeAllColWidths(int Width, bool KeepPosition);
    void EndRowSelecting(bool Apply);
    void EndColSelecting(bool Apply);
    void EndCellSelecting(bool Apply);
    void EndRowMoving(bool Apply);
    void EndColMoving(bool Apply);
    // The steps of a drag: the selection runs from the current row (column)
    // to the given one; the drop mark moves to the given place.
    void SelectLargerRows(int DisplayRow);
    void SelectSmallerRows(int DisplayRow);
    void SelectCurrentRow(int DisplayRow);
    void SelectLargerCols(int DisplayCol);
    void SelectSmallerCols(int DisplayCol);
    void SelectCurrentCol(int DisplayCol);
    void DragRowsTo(int DisplayRow);
    void DragColsTo(int DisplayCol);
    void ChangeRowMovePos(int DisplayRow);
    void ChangeColMovePos(int DisplayCol);
    // Where a row (column) drag ends now, and the drop place of a move.
    int RowSelectEnd() const { return FRowSelectEnd; }
    int ColSelectEnd() const { return FColSelectEnd; }
    int MoveStart() const { return FMoveStart; }
    int MovePosition() const { return FMovePos; }
    // A combo list that just dropped down holds auto-scroll off.
    void SetScrollHold(bool Value) { FScrollHold = Value; }
    // ---- the selection's needs, met by the mouse handling and the edit flow ---------------
    // The gesture of the mouse in progress.
    TgxMouseStatus MouseStatus() const { return FMouseStatus; }
    void SetMouseStatus(TgxMouseStatus Value);
    // A row, column, heading or row-bar boundary is being dragged.
    bool InResizing() const;
    // Reports a changed grid status to the application.
    void GridStatusChanged();
    // Moves the selected columns (rows) starting at From to the place To.
    void MoveColRange(int From, int To);
    void MoveRowRange(int From, int To);

    // ---- mouse, resizing, deleting and moving, cell buttons (view/GridMouse*, GridSizing*,
    //      GridMove*, GridCellButtons*) ----------------------------------------------------------
    // The three mouse entry points: one gesture at a time, by MouseStatus.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void SetMouseDownColRow(int DisplayCol, int DisplayRow);
    void SetMouseUpColRow(int DisplayCol, int DisplayRow);
    int MouseDownCol() const { return FMouseDownCol; }
    int MouseDownRow() const { return FMouseDownRow; }
    int MouseUpCol() const { return FMouseUpCol; }
    int MouseUpRow() const { return FMouseUpRow; }
    // The data column whose heading is held down, -1 for none, and whether
    // it is drawn pressed (the mouse is still over it).
    int HeadingDownCol() const { return FHeadingDownCol; }
    bool HeadingIsButton() const { return FHeadingIsButton; }
    bool HeadingPressed() const { return FHeadingPressed; }
    // A press on this selected cell may start a drag of the whole control.
    bool InDragArea(int DataCol, int DataRow);
    TgxClickPosition ClickPos(int Col, int Row) const;
    // Click events in data coordinates.
    void ClickCell(int DownCol, int DownRow, int UpCol, int UpRow);
    void DblClickCell(int DataCol, int DataRow);
    virtual bool DoClickCell(int DataColDown, const Variant& DataRowDown, int DataColUp,
                             const Variant& DataRowUp, TgxClickPosition DownPos,
                             TgxClickPosition UpPos);
    virtual void DoDblClickCell(int DataCol, const Variant& DataRow, TgxClickPosition Pos);
    void SetCheckMouseFocus(bool Value) { FCheckMouseFocus = Value; }
    void SetResizeColsInGrid(bool Value) { FResizeColsInGrid = Value; }
    void SetResizeRowsInGrid(bool Value) { FResizeRowsInGrid = Value; }
    void SetSelectedAreaCursor(TCursor Value) { FSelectedAreaCursor = Value; }
    // The cursor the grid shows at a client point over a display cell;
    // crNone where the framework's own handling decides.
    virtual TCursor ShapeCursor(int X, int Y, int DisplayRow, int DisplayCol);
    // The resize zone under a point: which boundary would be dragged.
    TgxMouseStatus GetSizingState(int X, int Y, int DisplayRow, int DisplayCol);
    void CalcColSizingState(int X, TgxMouseStatus& Status);
    void CalcRowSizingState(int Y, TgxMouseStatus& Status);
    int NextSizingCol(int DisplayCol) const;
    int NextSizingRow(int DisplayRow) const;
    // Row bar and heading strips where their own boundary may be taken.
    bool RowBarSizingArea(int X) const;
    bool HeadingSizingArea(int Y) const;
    // Starts a resize when the point is on a boundary.
    bool MDSizing(int X, int Y, int DisplayRow, int DisplayCol);
    void MouseDownResize();
    // The dotted XOR line of a resize; drawn twice it is gone.
    void DrawSizingLine();
    void MUResizedCol(int X, bool Apply);
    void MUResizedRow(int Y, bool Apply);
    int SizingIndex() const { return FMouseSizingIndex; }
    int SizingLinePos() const { return FSizingLinePos; }
    int SizingOffset() const { return FSizingOffset; }
    // Taking data columns (rows) out, with everything attached to them.
    void DeleteCols(int FromDataCol, int ToDataCol);
    void DeleteRows(int FromDataRow, int ToDataRow);
    void DeleteSelectedCols();
    void DeleteSelectedRows();
    // After the last data row went: a fresh, empty insertion row ends the
    // grid again.
    void ShowInsertionRowAgain();
    void InvalidateNextCols(int DataCol);
    void InvalidateNextRows(int DataRow);
    void MoveColRangeLeft(int From, int To);
    void MoveColRangeRight(int From, int To);
    void MoveRowRangeUp(int From, int To);
    void MoveRowRangeDown(int From, int To);
    // Columns and rows back in data order and the view scrolled home.
    void RefreshData(TgxResetOrder ResetOrder, TgxResetPosition ResetPosition);
    // The changed-row bits follow the row count.
    void ResizeRowChanged();
    int DiffSelectedCols(int Position, int From) const;
    int DiffSelectedRows(int Position, int From) const;
    // Cell buttons: where they are, whether they react, and their state.
    bool ValidButton(int X, int Y, int DisplayCol, int DisplayRow, TgxButtonType ButtonType);
    bool MouseOverButton(int X, int Y, int DisplayCol, int DisplayRow);
    bool DrawButtonDown(int X, int Y, int DisplayCol, int DisplayRow);
    virtual bool MouseOverCombo(int X, int Y);
    // The spin part under a point of a cell whose button the mouse is over.
    TgxSpinButton SpinPartAt(int X, int Y, int DisplayCol, int DisplayRow);
    void ResetButton();
    void ResetButtonUp();
    void ResetButtonDown();
    void CheckResetButtons();
    TColor ButtonColor(int DisplayCol, int DisplayRow);
    bool SpinTimerActive();
    void ResetSpinTimer();
    void SetInactiveButtonState(TgxInactiveButtonState Value);
    void SetAlwaysDetectButton(bool Value) { FAlwaysDetectButton = Value; }
    void SetSpinStartDelay(int Value) { FSpinStartDelay = Value; }
    void SetSpinRepeatDelay(int Value) { FSpinRepeatDelay = Value; }
    int PressedButtonCol() const { return FDownButtonCol; }
    int PressedButtonRow() const { return FDownButtonRow; }
    TgxSpinButton PressedSpinPart() const { return FDownSpinPart; }
    int HotButtonCol() const { return FHotButtonCol; }
    int HotButtonRow() const { return FHotButtonRow; }
    int SpinRepeatCount() const { return FSpinRepeatCount; }
    void MDButtonDown(TShiftState Shift, int X, int Y, int DisplayCol, int DisplayRow);
    void MouseMoveButtonDown(int X, int Y, int DisplayCol, int DisplayRow);
    void MouseMoveDrawButton(int X, int Y, int DisplayCol, int DisplayRow);
    void MUButtonUp(int X, int Y);
    void ButtonClick(int DataCol, int DataRow);
    void ButtonDown(int DataCol, int DataRow);
    void ButtonUp(int DataCol, int DataRow);
    void SpinButtonClick(int DataCol, int DataRow, TgxSpinButton SpinButton);
    void SpinButtonDown(int DataCol, int DataRow, TgxSpinButton SpinButton);
    void SpinButtonUp(int DataCol, int DataRow, TgxSpinButton SpinButton);
    virtual void SpinRepeat(int DataCol, int DataRow, TgxSpinButton SpinButton, int Count);
    virtual void DoButtonClick(int DataCol, const Variant& DataRow);
    virtual void DoButtonDown(int DataCol, const Variant& DataRow);
    virtual void DoButtonUp(int DataCol, const Variant& DataRow);
    virtual void DoSpinButtonClick(int DataCol, const Variant& DataRow, TgxSpinButton SpinButton);
    virtual void DoSpinButtonDown(int DataCol, const Variant& DataRow, TgxSpinButton SpinButton);
    virtual void DoSpinButtonUp(int DataCol, const Variant& DataRow, TgxSpinButton SpinButton);
    virtual void DoSpinRepeat(int DataCol, const Variant& DataRow, int Count,
                              TgxSpinButton SpinButton);
    // The grid's reaction to a deleted row; raises OnDeleteRow.
    virtual void RowDeleted(int DataRow, bool ByUser);
    // ---- a press handed to the in-place control (view/GridEditControl)
    // Hands the pending press to the in-place control; Capture is whether
    // the control takes the mouse capture.
    void MouseMessageToControl(bool Capture);
    void WMSetCursor(TMessage& Message) override;

    // ---- published settings ------------------------------------------------------------
    TgxGridMode GridMode() const { return FGridMode; }
    // Lays the rows out again, hides or shows the editor (edit modes only).
    virtual void SetGridMode(TgxGridMode Value);
    TgxDrawOverlap DrawOverlap() const { return FDrawOverlap; }
    void SetDrawOverlap(TgxDrawOverlap Value);
    TgxWordWrap WordWrap() const { return FWordWrap; }
    void SetWordWrap(TgxWordWrap Value);
    TgxGridStatus GridStatus() const { return FGridStatus; }
    TgxColSelectMode ColSelectMode() const { return FColSelectMode; }
    void SetColSelectMode(TgxColSelectMode Value) { FColSelectMode = Value; }
    TgxRowSelectMode RowSelectMode() const { return FRowSelectMode; }
    // Narrows the row selection to what the new mode allows.
    void SetRowSelectMode(TgxRowSelectMode Value);
    TgxCellSelectMode CellSelectMode() const { return FCellSelectMode; }
    void SetCellSelectMode(TgxCellSelectMode Value) { FCellSelectMode = Value; }
    bool ColMoving() const { return FColMoving; }
    void SetColMoving(bool Value) { FColMoving = Value; }
    bool RowMoving() const { return FRowMoving; }
    void SetRowMoving(bool Value) { FRowMoving = Value; }
    TgxResizeCols ResizeCols() const { return FResizeCols; }
    void SetResizeCols(TgxResizeCols Value) { FResizeCols = Value; }
    TgxResizeRows ResizeRows() const { return FResizeRows; }
    void SetResizeRows(TgxResizeRows Value) { FResizeRows = Value; }
    TgxGridLines GridLines() const { return FGridLines; }
    TColor LineColor() const { return FLineColor; }
    void SetLineColor(TColor Value);
    TColor FixedLineColor() const { return FFixedLineColor; }
    TColor HeadingColor() const { return FHeadingColor; }
    TColor EditColor() const { return FEditColor; }
    void SetEditColor(TColor Value);
    TColor EditFontColor() const { return FEditFontColor; }
    TColor SelectionColor() const { return FSelectionColor; }
    TColor SelectionFontColor() const { return FSelectionFontColor; }
    TgxSelectionType SelectionType() const { return FSelectionType; }
    // Repaints what is selected.
    void SetSelectionType(TgxSelectionType Value);
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor Value);
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    TColor FocusFontColor() const { return FFocusFontColor; }
    TgxFocusBorder FocusBorder() const { return FFocusBorder; }
    TColor TransparentColor() const { return FTransparentColor; }
    bool SkipReadOnly() const { return FSkipReadOnly; }
    void SetSkipReadOnly(bool Value);
    TgxRowChangedIndicator RowChangedIndicator() const { return FRowChangedIndicator; }
    virtual void SetRowChangedIndicator(TgxRowChangedIndicator Value);
    bool AlwaysShowEditor() const { return FAlwaysShowEditor; }
    void SetAlwaysShowEditor(bool Value);
    bool AlwaysShowFocus() const { return FAlwaysShowFocus; }
    bool CheckMouseFocus() const { return FCheckMouseFocus; }
    const AnsiString& CheckBoxValues() const { return FCheckBoxValues; }
    TScrollStyle AlwaysShowScrollBar() const { return FAlwaysShowScrollBar; }
    TScrollStyle GridScrollBars() const { return FGridScrollBars; }
    bool AutoScale() const { return FAutoScale; }
    bool ReadOnlyButton() const { return FReadOnlyButton; }
    bool TabRowWrap() const { return FTabRowWrap; }
    bool WantTabs() const { return FWantTabs; }
    bool FlatButtons() const { return FFlatButtons; }
    bool RowBarIndicator() const { return FRowBarIndicator; }
    bool StretchPicture() const { return FStretchPicture; }
    bool ShrinkPicture() const { return FShrinkPicture; }
    bool CenterPicture() const { return FCenterPicture; }
    bool KeepAspectRatio() const { return FKeepAspectRatio; }
    bool SelectFixed() const { return FSelectFixed; }
    void SetSelectFixed(bool Value);
    bool ResizeRowsInGrid() const { return FResizeRowsInGrid; }
    bool ResizeColsInGrid() const { return FResizeColsInGrid; }
    TCursor SelectedAreaCursor() const { return FSelectedAreaCursor; }
    TgxScrollSpeed ScrollSpeed() const { return FScrollSpeed; }
    bool ThumbTracking() const { return FThumbTracking; }
    void SetThumbTracking(bool Value);
    bool Is3D() const { return FIs3D; }
    bool Heading3D() const { return FHeading3D; }
    TgxInactiveButtonState InactiveButtonState() const { return FInactiveButtonState; }
    int ButtonEdgeWidth() const { return FButtonEdgeWidth; }
    void SetButtonEdgeWidth(int Value);
    int DefaultButtonWidth() const { return FDefaultButtonWidth; }
    void SetDefaultButtonWidth(int Value);
    int DefaultButtonHeight() const { return FDefaultButtonHeight; }
    void SetDefaultButtonHeight(int Value);
    int SpinButtonWidth() const { return FSpinButtonWidth; }
    void SetSpinButtonWidth(int Value);
    int SpinButtonHeight() const { return FSpinButtonHeight; }
    void SetSpinButtonHeight(int Value);
    int SpinStartDelay() const { return FSpinStartDelay; }
    int SpinRepeatDelay() const { return FSpinRepeatDelay; }
    TgxHeadingButton HeadingButton() const { return FHeadingButton; }
    TgxHorzAlignment HeadingHorzAlignment() const { return FHeadingHorzAlignment; }
    TgxVertAlignment HeadingVertAlignment() const { return FHeadingVertAlignment; }
    TgxWordWrap HeadingWordWrap() const { return FHeadingWordWrap; }
    TgxHorzAlignment HorzAlignment() const { return FHorzAlignment; }
    TgxVertAlignment VertAlignment() const { return FVertAlignment; }
    TgxVertAlignment RowBarAlignment() const { return FRowBarAlignment; }
    const AnsiString& ExportDelimiter() const { return FExportDelimiter; }
    void SetExportDelimiter(const AnsiString& Value) { FExportDelimiter = Value; }
    int PrintLinesPerPage() const { return FPrintLinesPerPage; }
    void SetPrintLinesPerPage(int Value) { FPrintLinesPerPage = Value; }
    TgxPrintMode PrintOrientation() const { return FPrintOrientation; }
    void SetPrintOrientation(TgxPrintMode Value) { FPrintOrientation = Value; }
    bool PrintTotals() const { return FPrintTotals; }
    void SetPrintTotals(bool Value) { FPrintTotals = Value; }
    bool PrintWithGridFormats() const { return FPrintWithGridFormats; }
    void SetPrintWithGridFormats(bool Value) { FPrintWithGridFormats = Value; }
    bool ProvideGridMenu() const { return FProvideGridMenu; }
    void SetProvideGridMenu(bool Value) { FProvideGridMenu = Value; }
    bool AlwaysDetectButton() const { return FAlwaysDetectButton; }
    // The row bar and the heading keep their own sizes: a new default is
    // the size of the data columns and rows that have none.
    void SetDefaultColWidth(int Value) override;
    void SetDefaultRowHeight(int Value) override;
    // The grid's default row height and column width as the model knows
    // them (the base control keeps the pixel values).
    int GridDefaultRowHeight() const { return DefaultRowHeight(); }
    int SetDefaultRowHeightValue() const { return FSetDefaultRowHeight; }
    TgxColMatch ColMatch() const { return FColMatch; }
    bool IsComboGrid() const { return FIsComboGrid; }
    // For a combo's drop-down grid, the grid whose combo it serves.
    virtual TgxBaseGrid* GetParentGrid() const { return nullptr; }

    // ---- saved state and state transfer (model/GridPersistence, model/GridAssign) ---------
    // What a stream may ask of a grid: counts and pixel sizes beyond these
    // are refused as damage.
    static constexpr int MaxStreamCols = 16384;
    static constexpr int MaxStreamRows = 1048576;
    static constexpr int MaxStreamExtent = 65535;
    virtual void SaveToStream(TStream* Stream, bool SaveData);
    virtual void SavePropToStream(TStream* Stream, TgxPropKinds Kinds, TgxProperties Properties,
                                  bool SaveData);
    // A damaged stream raises EReadError naming the fault; the grid is then
    // as it was before.
    virtual void LoadFromStream(TStream* Stream, TgxColMatch ColMatch);
    virtual void SaveToFile(const AnsiString& FileName, bool SaveData);
    virtual void SavePropToFile(const AnsiString& FileName, TgxPropKinds Kinds,
                                TgxProperties Properties, bool SaveData);
    virtual void LoadFromFile(const AnsiString& FileName, TgxColMatch ColMatch);
    // A registry value under Key (a path naming its root) holds the saved
    // state itself, or, with a FileName, the full name of the file that does.
    virtual void SaveToRegistry(const AnsiString& Key, const AnsiString& ValueName,
                                const AnsiString& FileName, bool SaveData);
    virtual void SavePropToRegistry(const AnsiString& Key, const AnsiString& ValueName,
                                    const AnsiString& FileName, TgxPropKinds Kinds,
                                    TgxProperties Properties, bool SaveData);
    // False (and nothing changed) for a missing key or value, or a value of
    // another type.
    virtual bool LoadFromRegistry(const AnsiString& Key, const AnsiString& ValueName,
                                  TgxColMatch ColMatch);
    void DefineProperties(TFiler* Filer) override;
    // While the counter is up, the grid's form data leaves out its columns,
    // rows, cells and values.
    void SetSaveAllProps(bool Value);
    bool GetSaveAllProps() const { return FSaveAllLock == 0; }
    bool Reading() const;
    bool Writing() const;
    // For a load matching columns by field name: the properties a found
    // column resets, and the stored column each found column's values are
    // read from.
    TgxProperties ColResetProperties() const { return FColResetProps; }
    void SetColResetProperties(TgxProperties Value) { FColResetProps = Value; }
    void RecordReadCol(int StoredCol, int DataCol);
    // The data column a stored column was matched to; 0 for none.
    int ReadColFor(int StoredCol) const;
    // Refuses a count (columns or rows) a stream asks for beyond Max.
    static void CheckStreamCount(const char* What, int Value, int Max);
    // Refuses a pixel size a stream asks for outside Min..MaxStreamExtent.
    static void CheckStreamSize(const char* What, int Value, int Min);
    // Copies groups of another grid's state, each group as it is.
    void Assign(TPersistent* Source) override;
    virtual void AssignPropKinds(TgxBaseGrid* Source, TgxPropKinds Kinds, bool WithData);
    void CopyData(TgxBaseGrid* Source);
    // The single groups. Published grid-level properties except the names
    // listed (";"-separated, any case) and where the grid stands.
    void AssignProperties(TgxBaseGrid* Source, const AnsiString& ExcludedNames);
    // Needs the same column count; moved columns are reported as moves.
    void AssignColProperties(TgxBaseGrid* Source);
    void AssignRowProperties(TgxBaseGrid* Source);
    void AssignChangedRows(TgxBaseGrid* Source);
    void AssignCellProperties(TgxBaseGrid* Source);
    void AssignSelections(TgxBaseGrid* Source, TgxPropKinds Kinds);
    // True when the selection changed.
    bool AssignColSelections(TgxBaseGrid* Source);
    bool AssignRowSelections(TgxBaseGrid* Source);
    bool AssignCellSelections(TgxBaseGrid* Source);
    void AssignGridData(TgxBaseGrid* Source);
    // Back to the state of a new grid of this class, group by group.
    virtual void ResetPropKinds(TgxPropKinds Kinds);
    // Every group at once: the grid's, the columns', the rows' and the cells'.
    virtual void Reset() { ResetPropKinds(TgxPropKinds{pkGrid, pkCols, pkRows, pkCells}); }
    void ResetProperties(TgxProperties Properties);
    void ResetColProperties(TgxProperties Properties);
    void ResetRowProperties(TgxProperties Properties);
    void ResetCellProperties(TgxProperties Properties);
    void CheckGridStatus();
    // A new, unowned grid of this grid's class.
    std::unique_ptr<TgxBaseGrid> CreateSameGrid() const;
    // The saved state read into this grid without the trial run.
    void ReadState(TStream* Stream, TgxColMatch ColMatch);
    // The current cell and its selection anchor, as display positions.
    void WriteCurrentCell(TWriter* Writer);
    void ReadCurrentCell(TReader* Reader);
    void ReadStoreData(TStream* Stream);

    // ---- editing: edit flow, cell values, keys, grid modes, editor hosting, window
    // messages and timers (view/GridEdit*, view/GridKeys*, view/GridModes*,
    // view/GridMessages*, model/EditorHost*) ------------------------------------------------
    // A cell edit nests in a row edit; each step asks the application,
    // which may refuse it. Starting needs gmEdit or gmEditInsert, grNormal
    // and a data cell.
    bool StartEdit();
    bool Edit() { return StartEdit(); }
    bool EditRow();
    virtual bool StartCellEdit();
    virtual bool StartRowEdit();
    virtual void CellEdit(int DataCol, int DataRow, bool ByUser);
    // Ending: a move to another row ends the cell and the row edit, a move
    // within the row the cell edit only; a refusal keeps the edit (and the
    // typed value in the editor) and stops the move.
    virtual bool CanEndEdit(bool ByUser);
    virtual bool CanEndCellEdit(bool ByUser);
    virtual bool CanEndRowEdit(bool ByUser);
    virtual bool EndCellEdit();
    virtual bool EndRowEdit();
    virtual bool CheckMaskValue();
    void EndEdit(bool Cancel);
    void ResetCellEdit();
    void ResetEdit(int DataRow);
    // The first undo takes back the cell edit, the next one (or UndoAll)
    // the row edit. False when a handler refused.
    bool UndoEdit(bool UndoAll, bool ByUser, bool& KeepBuffer, bool& UndoPending);
    virtual bool CheckUndoRowEdit(bool UndoAll);
    virtual bool UndoCellEdit(bool ByUser);
    virtual bool UndoRowEdit(bool ByUser, bool DoRow);
    void UndoInsertRow();
    void ShowInsertionRow();
    bool IsAppendRow(int DisplayRow) const;
    bool CheckColChanged();
    virtual bool CheckRowChanged();
    virtual void ActivateCellChanged(int OldCol, int NewCol, int OldRow, int NewRow);
    void MouseStatusChanged();
    void ResetChangedRowStatus();
    bool ActivateInvalidMaskValue();
    bool ActivateInvalidMaskEdit(const AnsiString& Keys);
    void ClearControlBuffer();
    void ClearCellBuffer();
    void MoveCellBuffer(int DataCol, int DataRow);
    virtual bool StartCellChange(int DataCol, bool ByUser);
    bool CellEditing() const { return FCellEditing; }
    bool RowEditing() const { return FRowEditing; }
    bool RowModified() const { return FRowModified; }
    bool CellEditEnded() const { return FCellEditEnded; }
    bool RowAppendedByEdit() const { return FRowAppendedByEdit; }
    bool UndoInProgress() const { return FUndoInProgress; }
    // The in-place control's reports to the grid.
    void CtrlOnEdit(TObject* Sender, bool& Cancel);
    void CtrlOnCanChange(TObject* Sender, bool Changing, bool& Cancel);
    void CtrlOnNotifyChanged(TObject* Sender, bool ValueChanged);
    void CtrlOnChanged(TObject* Sender, bool ValueChanged, bool FromTyping, bool ByUser);
    void CtrlOnUndoChanged(TObject* Sender, bool ByUser, bool& Cancel);
    void CtrlOnWantKey(TObject* Sender, Word Key, bool& Want);
    void CtrlOnInvalidMaskEdit(TObject* Sender, const AnsiString& Keys, bool& Accept);
    void CtrlOnEditTextResized(TObject* Sender, bool ByUser);
    void CtrlOnKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void CtrlOnKeyUp(TObject* Sender, Word& Key, TShiftState Shift);
    void CtrlOnKeyPress(TObject* Sender, char& Key);
    void CtrlOnEndKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void CtrlOnEndKeyPress(TObject* Sender, char& Key);
    void CtrlOnClick(TObject* Sender);
    void CtrlOnDblClick(TObject* Sender);
    void CtrlOnMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void CtrlOnMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void CtrlOnMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    // Installs the handlers above in an in-place control.
    void SetControlEvents(TgxCustomGridControl* Control);

    // Cell values as the editor sees them.
    static Variant EmptyCellValue(TgxControlType ControlType);
    static Variant GetCheckBoxValue(const Variant& Value);
    void SetControlValue(const Variant& Value, bool AsEditValue, bool Flag);
    Variant AssignControlValue(TgxControlType ControlType, const Variant& Value, bool Flag,
                               bool AsEditValue);
    void SetControlMask();
    bool SetControlCheckBoxValues();
    void ControlValueChanged(bool ValueChanged, bool ByUser, bool FromTyping);
    bool InGridMode() const;
    bool InEditState() const;
    void SetEnableStartEdit(bool Value);
    bool GetEnableStartEdit() const { return FStartEditDisabled == 0; }
    bool CopyCellToClipboard();
    bool CutCellToClipboard();
    bool PasteCellFromClipboard();
    // One spin step of a cell with automatic increment.
    void CheckSpinIncrement(int DataCol, int DataRow, bool Up);
    // The picture name after (before) Current in the grid's image list,
    // with its set's name and "." in front when it has one; empty when
    // there is none.
    AnsiString IncrementPictureValue(const Variant& Current, bool Up) const;
    // Pos and Len: where the caret goes after the step and how much text
    // is selected from there; the handler may change both.
    virtual void DoSpinIncrement(int DataCol, int DataRow, bool Up, Variant& Value, int& Pos,
                                 int& Len, bool& Accept);

    // Editor hosting: the one in-place control over the current cell.
    TgxCustomGridControl* GridControl() const { return FGridControl; }
    TgxTextSelectMode ControlSelectMode() const { return FControlSelectMode; }
    void SetControlSelectMode(TgxTextSelectMode Value) { FControlSelectMode = Value; }
    void SetMaxTextLength(int DisplayCol, int Length);
    void SetWantTabs(bool Value);
    void SetFlatButtons(bool Value);
    void SetRowBarIndicator(bool Value);
    virtual void SetControlProperties(TgxCustomGridControl* Control);
    void UpdateControlProperties(const TgxDrawData& Data);
    void SetGridControl(TgxControlType ControlType);
    void CheckEnableControl(bool Enable, bool Redisplay, TgxTextSelectMode SelectMode);
    bool InternalShowEditor(TgxTextSelectMode SelectMode, bool Update);
    bool ShowEditor();
    bool StartShowEditor(bool Update);
    bool HideEditor();
    bool EditorActive();
    bool EditorShown() const { return FEditorShown; }
    void MakeGridControlVisible();
    bool FocusToGridControl();
    void SetCanProcessKey(bool Allow);
    bool GetCanProcessKey() const { return FKeyBlock == 0; }
    void MoveRowIntoView(int DisplayRow, int& TopRowOut);
    void MoveColToRight(int DisplayCol, int& LeftColOut);
    void MoveRowToBottom(int DisplayRow, int& TopRowOut);
    int MoveToDisplayCol(int ALeftCol, int DisplayCol, TgxViewPosition ViewPosition);
    void PutInView(int DisplayCol, int DisplayRow, TgxViewPosition ViewPosition,
                   bool InvalidateOldRowBar, bool SetCurrent, TgxChangeTopLeft ChangeTopLeft);
    void PutCellInView(int DataCol, int DataRow);

    // Window timers: 1 the button timer, 2 the spin timer.
    static constexpr unsigned ButtonTimerId = 1;
    static constexpr unsigned SpinTimerId = 2;
    static constexpr unsigned ButtonTimerPeriod = 50;
    bool StopTimer(unsigned& Handle);
    void StartTimer(unsigned& Handle, unsigned TimerId, bool Restart, unsigned Period);
    void StartButtonTimer();
    void StartSpinTimer(bool First);
    void CheckRestartSpinTimer();
    unsigned ButtonTimerHandle() const { return FButtonTimer; }
    unsigned SpinTimerHandle() const { return FSpinTimer; }
    bool CurrentCellInView() const;
    bool GridControlActive();
    bool CanSetControl();
    bool ControlDisplayed() const;
    void DoHideControl(bool Invalidate);
    bool CheckHideControl(bool Invalidate);
    bool InSetFocus() const { return FSetFocusCount > 0; }
    bool InDoExit() const { return FDoExitCount > 0; }

    // Keys: the grid's own table, used while the grid or its editor has
    // the keyboard.
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    // The wheel scrolls the rows by the system's wheel lines (3), at most a
    // window's worth; with a Shift-state key held it is left alone.
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    static constexpr int WheelScrollLines = 3;
    virtual void ProcessKeyDown(Word& Key, TShiftState Shift);
    void CtrlKeyDown(Word& Key);
    virtual void KeyDownVK_Up();
    virtual void KeyDownVK_Down();
    virtual void VK_UpRowSelect();
    virtual void VK_DownRowSelect();
    virtual void KeyDownVK_Prior();
    virtual void KeyDownVK_Next();
    virtual void KeyCtrl_Up();
    virtual void KeyCtrl_Down();
    virtual void KeyCtrl_Home();
    virtual void KeyCtrl_End();
    void KeyCtrl_Left();
    void KeyCtrl_Right();
    virtual void KeyDownVK_Tab(Word Key);
    virtual void ShiftKeyDownVK_Tab();
    virtual bool KeydownVK_Escape();
    int CalcNewTopRowVK_Next(int Target);
    bool CurrentPosInView() const;
    virtual bool CanMoveToPos(int DisplayCol, int DisplayRow) const;
    void BackToCurrentCell(bool MoveCol, bool MoveRow);
    bool CheckMoveCol(TShiftState Shift, Word Key) const;
    bool CheckMoveRow(TShiftState Shift, Word Key) const;
    // Keys while the list (the date-time drop-down) is open; true (Key 0)
    // when the key was used.
    bool ProcessKeyDownCombo(Word& Key, TShiftState Shift);
    void ProcessKeyDownDateTime(Word& Key, TShiftState Shift);
    // A character typed into a combo cell moves its list.
    void ProcessKeyDropDownList(char Key);
    bool KeyDropDown();
    bool KeyDropDownCombo();
    bool KeyDropDownDateTime();
    // The cell's button must be one of the types (btCombo, btDateTimeDropDown,
    // btDateTimePopup ...), the cell writable and the grid editing.
    bool CanDropDown(int DataCol, int DataRow, std::initializer_list<TgxButtonType> Allowed);
    int GetAccelHeading(char Ch);
    void SetTabRowWrap(bool Value) { FTabRowWrap = Value; }

    // Grid modes and options.
    static TgxEditMode GridModeToEditMode(TgxGridMode Mode);
    static TgxGridMode EditModeToGridMode(TgxEditMode Mode);
    static TgxEditMode EditModeStrValue(const AnsiString& Text);
    TgxEditMode EditMode() const { return GridModeToEditMode(FGridMode); }
    virtual void SetEditMode(TgxEditMode Value);
    virtual void SetInsertRowOn();
    virtual void SetInsertRowOff();
    void SetAlwaysShowFocus(bool Value);
    void CheckDisableControl();
    bool EditorPermanent() const { return FEditorPermanent; }
    void SetGridLines(TgxGridLines Value);
    void SetEditFontColor(TColor Value);
    void SetIs3D(bool Value);
    void SetReadOnlyButton(bool Value);
    void SetFixedLineColor(TColor Value);
    void SetHeadingColor(TColor Value);
    void SetHeading3D(bool Value);
    void SetStretchPicture(bool Value);
    void SetShrinkPicture(bool Value);
    void SetCenterPicture(bool Value);
    void SetKeepAspectRatio(bool Value);
    void SetTransparentColor(TColor Value);
    virtual void SetMaskDefs(TgxMaskDefsComponent* Value);
    virtual TgxMaskDefsComponent* GetMaskDefs() const;
    int GetCurrentDataRow() const;
    void SetCurrentDataRow(int DataRow);
    int GetCurrentDataCol() const;
    void SetCurrentDataCol(int DataCol);
    virtual bool CanSetFocus();
    void SetFocus() override;
    void SetGridFocus();
    bool HasHeadingButtons();
    // Whether the current row is selected; SetCurrentSelected selects it.
    bool GetCurrentSelected() const;
    bool GetStartRowSelected() const { return GetCurrentSelected(); }
    virtual void SetCurrentSelected();

    // The application's events of editing.
    TgxCellEditingEvent OnStartCellEdit;
    TgxCellEditingEvent OnEndCellEdit;
    TgxRowEditingEvent OnStartRowEdit;
    TgxRowEditingEvent OnEndRowEdit;
    TgxUndoCellEditEvent OnUndoCellEdit;
    TgxUndoRowEditEvent OnUndoRowEdit;
    TgxCellEditEvent OnCellEdit;
    TgxInvalidCellValueEvent OnInvalidMaskValue;
    TgxInvalidCellKeysEvent OnInvalidMaskEdit;
    TgxShowEditorEvent OnShowEditor;
    TgxHideEditorEvent OnHideEditor;
    TgxRowChangedEvent OnRowChanged;
    TgxCellChangedEvent OnCellChanged;
    TgxInsertRowEvent OnInsertRow;
    TgxDeleteRowEvent OnDeleteRow;
    using TgxSpinIncrementEvent =
        std::function<void(TObject* Sender, int DataCol, int DataRow, bool Up, Variant& Value,
                           int& Pos, int& Len, bool& Accept)>;
    TgxSpinIncrementEvent OnSpinIncrement;

    // ---- the mouse's part in the timers and keys (view/GridCellButtons, view/GridMouse) ------
    // The button timer's and the spin timer's work.
    virtual void CheckMousePosition();
    virtual void SpinTimerEvent();
    // Ends the mouse gesture in progress (a resize, a move, a selection).
    virtual void CancelMouseAction();

    // ---- drop-downs: combo lists and date-time calendars -----------------------------------
    // (model/ComboSearch, view/DropDown*, view/Combo*, view/DateTimeDropDown*)
    // The grid's shared combo and the forms its drop-downs live on, made on
    // first use.
    TgxCombo* GetCombo();
    void CheckComboCreated();
    bool ComboCreated() const { return FCombo != nullptr; }
    TgxDropDownForm* GetComboForm();
    TgxDropDownForm* GetDateTimeForm();
    // The combo form as the window a list grid is placed on, for callers
    // that know the form only by name.
    TWinControl* GetComboFormWindow();
    // The base grid has no list: both raise; the custom grid makes them.
    virtual TgxCombo* CreateCombo();
    virtual TgxComboGrid* CreateComboGrid();
    virtual void InitializeDropDownForm(TgxDropDownForm* Form);
    virtual void InitializeComboSettings(TgxComboGrid* ListGrid);
    // The settings of a list that no column, row or cell defines.
    virtual void InitCombo(TgxCombo* Combo);
    virtual void InitComboData(bool Assigned);
    virtual bool CheckInitComboRow();
    virtual bool IsLookupCombo(int DataCol);
    // The list grid marks itself as one.
    void SetIsComboGrid(bool Value) { FIsComboGrid = Value; }
    // The combo a cell drops down: its own, its column's or its row's;
    // nullptr where the grid's shared list serves.
    virtual TgxCombo* GiveCellCombo(int DataCol, int DataRow);
    TgxCombo* ActiveCombo(int DataCol, const Variant& DataRow);
    // The row height of lists no definition sizes.
    int DropDownRowHeight() const { return FDropDownRowHeight; }
    void SetDropDownRowHeight(int Value) { FDropDownRowHeight = Value; }
    // What was set up for the current cell; forgetting it makes the next
    // drop-down set up again.
    void ResetLastUsedCombo() { FLastUsedCombo = nullptr; }
    void CheckLastUsedCombo(TgxCombo* Combo);
    void ResetCombo();
    void ResetComboInit(bool ResetList);
    void CheckResetComboInit(TgxCombo* Combo, bool ResetList);
    void ResetDateTimeInit();
    void CheckResetDateTimeInit(TgxDateTimeDefComponent* Def);
    void ResetLastUsedDateTime() { FLastUsedDateTime = nullptr; }
    void CheckLastUsedDateTime(TgxDateTimeDefComponent* Def);
    bool DropDownVisible() const { return ComboVisible() || DateTimeVisible(); }
    bool ComboVisible() const;
    bool DateTimeVisible() const;
    bool IsDateTimeHandle(HWND Handle) const;
    int TotalColWidth() const;
    // The cell whose list (calendar) is open; -1, -1 when none is.
    int ComboDataCol() const { return FComboCol; }
    int ComboDataRow() const { return FComboRow; }
    int DateTimeDataCol() const { return FDateTimeCol; }
    int DateTimeDataRow() const { return FDateTimeRow; }
    // Closing; true when something was open.
    bool TurnComboOff(bool Activate, bool Repaint);
    bool TurnDateTimeOff(bool Activate, bool Repaint);
    // Closes whichever drop-down is open and raises its roll-up event.
    void CheckDropDownOff(bool Activate);
    // Keeps a form of Size at Pos (screen) inside the work area: moved left,
    // or above the cell when it would leave the bottom.
    void PositionDropDownForm(int DisplayCol, int DisplayRow, const TPoint& Size, TPoint& Pos);
    // Centres a form of Size in the work area.
    void PositionPopupForm(int DisplayCol, int DisplayRow, const TPoint& Size, TPoint& Pos);

    // Searching the list for typed text (model/ComboSearch).
    int CompCaseSensitive(const AnsiString& A, const AnsiString& B, int Len);
    int CompCaseInsensitive(const AnsiString& A, const AnsiString& B, int Len);
    int CompOwn(const AnsiString& A, const AnsiString& B, int Len);
    // Compares by the combo's compare type.
    int ComboCompare(const AnsiString& A, const AnsiString& B, int Len);
    bool ComboValueEqual(const AnsiString& A, const AnsiString& B);
    // The list's value text of a data row.
    AnsiString ComboRowValue(int ListRow);
    void SearchBinary(int Lo, int Hi, const AnsiString& Text, int& BestLength, int& Row,
                      bool& Found);
    void SearchLinear(int Lo, int Hi, const AnsiString& Text, int& Row, bool& Found);
    int FindComboRow(const AnsiString& Text, bool WholeText, bool& Found);
    int FindNextComboRow(const AnsiString& Text, bool& Found);
    int FindComboFirstChar(char Key, bool& Found);
    int FindComboString(char Key, bool& Found);
    void SetComboRow(int Row);
    void PositionComboRow();
    void PositionDropDownList(char Key, Variant& Value);
    bool PositionAutoFill(bool OnExit);
    void CheckSetAutoFillValue();
    void SetAutoFillValue(const Variant& Value, TgxConvertCase ConvertCase, bool OnExit);
    bool ResetComboSearchValue();
    void CheckResetComboSearchValue();
    const AnsiString& ComboSearchValue() const { return FComboSearchValue; }
    // A mouse press on the grid while the list opens goes on to the list.
    void SetComboPoint() { FCaptureToCombo = !GetInDesignMode(); }
    void MouseCaptureToCombo();

    // Showing the list and taking a value from it (view/Combo*).
    void DisplayCombo(int DataCol, int DataRow);
    void ShowCombo();
    void HideCombo() { CheckDropDownOff(false); }
    // The combo button of a cell toggles its list; true when it was handled.
    bool ComboButtonDown(int DataCol, int DataRow);
    void InternalShowCombo(int DataCol, int DataRow);
    void ComboInit(int DataCol, int DataRow);
    void ComboDropDown(int DataCol, int DataRow);
    void ComboRollUp();
    void ActivateComboInit(int DataCol, int DataRow);
    void ActivateComboDropDown(int DataCol, int DataRow);
    void ActivateComboRollUp(int DataCol, int DataRow);
    // The list grid the combo events hand their handlers.
    TgxComboGrid* CurrentComboGrid();
    virtual void DoComboInit(int DataCol, const Variant& DataRow);
    virtual void DoComboDropDown(int DataCol, const Variant& DataRow);
    virtual void DoComboRollUp(int DataCol, const Variant& DataRow);
    virtual void DoComboGetValue(int DataCol, int DataRow, Variant& Value, int ListRow);
    void GetComboValue(int ValueCol, Variant& Value);
    void SetComboValue(const Variant& Value);
    void SetCurrentValue(const Variant& Value, bool SelectAll, bool ByUser);
    // The list's current row goes into the current cell (a click in the
    // list, Enter); with no row the list just closes.
    void ComboClickCell(TObject* Sender, int DataCol, int DataRow);
    void GetComboGridExtents(int Cols, int Rows, int& Height, int& Width);
    void UpdateComboExtents(int Cols, int Rows, bool Force);
    void SetComboGridExtents(int Cols, int Rows);
    void SetComboFormExtents(TgxComboGrid* ListGrid);
    void SetComboFormGridExtents(TgxComboGrid* ListGrid, int Width, int Height);
    void AdjustComboGridExtents(int Cols, int Rows);
    bool CanSetComboExtents();
    int ComboInitWidth(int Cols);
    int ComboInitHeight(int Rows);
    void InitComboColWidth(int Width);

    // The date-time drop-down (view/DateTimeDropDown*). The grid's own
    // definition serves the cells no cell, row or column gives one.
    TgxDateTimeDefComponent* DateTimeDef() const { return FDateTimeDefLevel; }
    void SetDateTimeDef(TgxDateTimeDefComponent* Value);
    TgxDateTimeDefComponent* DateTimeInstance() const { return FDateTimeInstance; }
    TgxDateTimeDefComponent* GiveCellDateTime(int DataCol, int DataRow);
    void CheckCreateDateTime(int DataCol, int DataRow);
    void DateTimeInit(int DataCol, int DataRow, TgxButtonType ButtonType);
    bool DateTimeControlAssigned() const;
    void UpdateDateTime();
    Variant GetCurrentDateTime();
    void InitDateTimeForm(TgxButtonType ButtonType);
    void SetdateTimeFormExtents(int DataCol, int DataRow);
    void SetDateTimeVisible();
    void InternalShowDateTime(int DataCol, int DataRow);
    void DisplayDateTime(int DataCol, int DataRow);
    void ShowDateTime();
    void HideDateTime() { CheckDropDownOff(false); }
    bool DateTimeButtonDown(int DataCol, int DataRow);
    void DateTimeActivate(TObject* Sender);
    void DateTimeClose(TObject* Sender, TCloseAction& Action);
    void DateTimeDropDown(int DataCol, int DataRow);
    void DateTimeRollUp();
    void ActivateDateTimeInit(TgxDateTimeDefComponent* Def, int DataCol, int DataRow);
    void ActivateDateTimeDropDown(TgxDateTimeDefComponent* Def, int DataCol, int DataRow);
    void ActivateDateTimeRollUp(TgxDateTimeDefComponent* Def, int DataCol, int DataRow);
    void ActivateDateTimeGetValue(TgxDateTimeDefComponent* Def, int DataCol, int DataRow,
                                  Variant& Value);
    // The picked value as the cell takes it: a date or time as text in the
    // grid's edit format; other values unchanged.
    void GetDateTimeValue(int DataCol, int DataRow, Variant& Value);
    void SetDateTimeSelection();
    void CancelDateTimeSelection();
    void DateTimeSelect(TObject* Sender);
    void DateTimeCancel(TObject* Sender);
    // The grid's date format for edited dates.
    AnsiString EditDateFormat() const;

    TgxComboCellEvent OnComboInit;
    TgxComboCellEvent OnComboDropDown;
    TgxComboCellEvent OnComboRollUp;
    TgxComboGetValueEvent OnComboGetValue;
    TgxDateTimeCellEvent OnDateTimeInit;
    TgxDateTimeCellEvent OnDateTimeDropDown;
    TgxDateTimeCellEvent OnDateTimeRollUp;
    TgxDateTimeGetValueEvent OnDateTimeGetValue;

    // ---- published events --------------------------------------------------------------
    TNotifyEvent OnPaint;
    // OnResize is the control's own: the grid raises it once per size change.
    TgxHeadingClickEvent OnHeadingDown;
    TgxHeadingClickEvent OnHeadingUp;
    TgxHeadingClickEvent OnHeadingClick;
    TgxColMovedEvent OnColMoved;
    TgxRowMovedEvent OnRowMoved;
    TgxColChangedEvent OnColChanged;
    TgxSelectChangedEvent OnSelectChanged;
    TgxCountChangedEvent OnColCountChanged;
    TgxCountChangedEvent OnRowCountChanged;
    TgxResizedEvent OnColResized;
    TgxResizedEvent OnRowResized;
    TgxCanStartDragEvent OnCanStartDrag;
    TgxMouseStatusChangedEvent OnMouseStatusChanged;
    TgxGridStatusChangedEvent OnGridStatusChanged;
    TgxEditTextResizedEvent OnEditTextResized;
    TgxDeleteColEvent OnDeleteCol;
    TgxInsertColEvent OnInsertCol;
    TgxComboCompareValueEvent OnComboCompareValue;
    TgxComboLCompareValueEvent OnComboLCompareValue;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

protected:
    // Factories a descendant may replace.
    virtual std::unique_ptr<TgxGridCols> CreateCols(int Count);
    virtual std::unique_ptr<TgxGridRows> CreateRows(int Count);
    virtual std::unique_ptr<TgxCurrentCell> CreateCurrentCell();
    virtual void CreateGridControls();
    void CreateDefaultValues();
    // The copy of AssignPropKinds; for a reset (from a new grid) the values
    // and the counts stay.
    void CopyPropKinds(TgxBaseGrid* Source, TgxPropKinds Kinds, bool WithData, bool Reset);
    // The heading font changed: the heading row is repainted.
    virtual void HeadingFontChanged();

    // Base control slots.
    void SizeChanged(int OldColCount, int OldRowCount) override;
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    void TopLeftMoved(const TGridCoord& OldTopLeft) override;
    void TopLeftChanged() override;

    // Layout steps (view/GridLayout).
    void SetNewColCount(int Value);
    void SetNewRowCount(int Value);
    void ChangeCountsInStep(const std::function<void()>& Change);
    void KeepCurrentCol(int DisplayCol);
    void KeepCurrentRow(int DisplayRow);
    void ResizeVisibleCols(int OldLast);
    void ResizeVisibleRows(int OldLast);
    // False, changing nothing, when the edit under way may not end.
    bool SetInternalFixedCols(int Value);
    bool SetInternalFixedRows(int Value);
    bool EndEditBeforeFixedChange(int NewFixedCols, int NewFixedRows);
    void FollowCurrentAfterFixedChange(const TGridCoord& Before);
    void CheckFixedCols();
    void CheckFixedRows();
    void CalcHorzFixedWidth();
    void CalcVertFixedHeight();
    void CheckTopLeft(bool PaintingOff);
    // MoveTopLeft with Left and Top already kept to the last ones that fill
    // the client area.
    void MoveTopLeftWithin(int Left, int Top);
    void AdjustCurrentAfterCount();
    // The model after the data row count changed: new positions numbered,
    // the change reported once.
    void RowCountSettled();
    // What a column or row count change does last (view/GridLayout).
    void CountChangeSettled();
    void AdjustOwnComboExtents();

    // Size synchronisation (view/GridSizes).
    void CheckColWidths(int& ChangedWidth);
    void CheckRowHeights(int& ChangedHeight);

    // Messages and focus of the editing grid (view/GridMessages).
    void Dispatch(TMessage& Message) override;
    void DispatchMessage(TMessage& Message);
    void CheckOwnFonts();
    void WMGetDlgCode(TMessage& Message) override;
    void CMDesignHitTest(TMessage& Message) override;
    void WMTimer(TMessage& Message) override;
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;
    // Entering repaints the in-place control; leaving first asks whether
    // the cell edit may end, and takes the focus back when it may not.
    void DoEnter() override;
    void DoExit() override;
    // The size changed: the top-left cell kept valid, the drop-down list
    // fitted, OnResize (not while loading), the scroll range again.
    void WMSize(TMessage& Message) override;
    // Realigns only: the grid raises OnResize itself from WMSize.
    void Resize() override;
    // The grid's font changed: columns, rows and cells that follow it, and
    // the drop-down forms, take it.
    void CMFontChanged(TMessage& Message) override;
    // The window exists: the in-place controls are hosted by it, the
    // current position placed again and the scroll range worked out.
    void WidgetCreated() override;
    virtual void SetGridControlParent();

    // Scroll messages (view/GridScroll).
    void WMVScroll(TMessage& Message) override;
    void WMHScroll(TMessage& Message) override;
    // The paint driver (view/GridPaint).
    void Paint() override;
    void InvalidateWidgetArea(const TRect* R) override;
    // The shared memory surface sized for this grid: room is made on the
    // first use and grown with the grid; ResetGridDc gives it back.
    void SetGridDc(HDC Target);
    void ResetGridDc();
    // Fast assign's start and end (view/GridRedraw).
    void InitFastAssign();
    void EndFastAssign();
    void PerformFastAssignActions();
    // A move of the current row repaints the row bar's marks.
    bool SelectCell(int ACol, int ARow) override;

private:
    int FMovesHeld = 0;
    // The source's stored values (and the picture names they use) into
    // this grid's store.
    void CopyStoredValues(TgxBaseGrid* Source);
    void ResizeDisplayArrays();
    void PaintResumed();
    // The scroll range and position updates put off while painting was off.
    void UpdatePendingScrollBars();
    void FitScrollBars();
    // The heading font takes From without parting from its parent.
    void FollowHeadingFont(TFont* From);
    void CheckSpinPicture(int DataCol, int DataRow, bool Up);
    // The row accessors' one scheme: check, create the object when the
    // value is not the default, set, drop the object when it became empty.
    template <class T, class Setter>
    void SetRowProperty(int DataRow, const T& Value, const T& Default, Setter Set);
    template <class Getter> auto GetRowProperty(int DataRow, Getter Get) const;
    // The row's own visibility, unchecked: true without a row object, false
    // outside the row objects.
    bool RowObjectShown(int DataRow) const;
    int RowBarOnValue() const;

    // ---- owned objects, in the order the constructor makes them ----------------------
    std::vector<std::int32_t> FDisplayCols; // display position -> data column
    std::vector<std::int32_t> FDisplayRows; // display position -> data row
    std::unique_ptr<TgxGridCols> FCols;
    std::unique_ptr<TgxGridRows> FRows;
    std::unique_ptr<TgxCurrentCell> FCurrentCell;
    std::unique_ptr<TgxIntegerSetList> FColCellProps;
    std::unique_ptr<TgxIntegerSetList> FRowCellProps;
    std::unique_ptr<TgxCellPropSet> FCellProps;
    std::unique_ptr<TgxGridMaskLink> FMaskLink;
    std::unique_ptr<TgxGridImageLink> FImageLink;
    std::unique_ptr<TgxGridDateTimeLink> FDateTimeLink;
    std::unique_ptr<TStringList> FImageListIds;
    std::unique_ptr<TgxIntegerList> FAutoFontCols;
    std::unique_ptr<TgxIntegerList> FAutoFontRows;
    std::unique_ptr<TgxCoordList> FCoordList;
    TgxSelection FRowSelection;
    TgxSelection FColSelection;
    TgxVisibleItems FVisibleCols;
    TgxVisibleItems FVisibleRows;
    TBits FChangedRows;
    std::unique_ptr<TFont> FHeadingFont;
    // In-place controls: edit, check, and the default control twice (for
    // pictures and for everything else).
    std::unique_ptr<TgxCustomGridControl> FEditControl;
    std::unique_ptr<TgxCustomGridControl> FCheckControl;
    std::unique_ptr<TgxCustomGridControl> FDefaultControls[2];
    std::unique_ptr<Tgx2DStorage> FStore;
    // The shared buttons, by kind: combo, normal, vertical spin, horizontal
    // spin, date-time drop-down, date-time pop-up.
    std::unique_ptr<TgxCustomButton> FButtons[6];

    // ---- state ----------------------------------------------------------------------
    bool FReportInvalidOps = true;
    bool FInCellLoaded = false;
    // The cell GetCellValue is reading: a value written to it meanwhile is
    // the value read.
    struct TReadCell {
        bool Active = false;
        int DataCol = 0;
        int DataRow = 0;
        Variant Value;
    } FReadCell;
    bool FDesignOverride = false;
    bool FIsComboGrid = false;
    bool FSettingDefaults = false;
    TgxColMatch FColMatch = cmaNone;
    TgxGridStatus FGridStatus = grNormal;
    int FFastAssign = 0;
    int FPaintLock = 0;
    int FRedrawLock = 0;
    int FComboExtentsLock = 0;
    bool FComboExtentsPending = false;
    bool FPaintSkipped = false;
    bool FPainting = false;
    int FDeletedCols = 0; // taken out by a running column deletion
    int FDeletedRows = 0;
    int FDataColCount = 0;
    int FDataRowCount = 0;
    int FReportedRowCount = DefaultRowCount; // data rows the last count event told
    bool FInsertionRowShown = false;
    bool FPrevInsertionRowShown = false;
    int FColDeleting = 0;
    int FRowDeleting = 0;
    int FFixedColCount = 0;
    int FFixedRowCount = 0;
    int FLastFixedCol = 0;
    int FLastFixedRow = 0;
    int FFixedWidth = 0;
    int FFixedHeight = 0;
    int FHorzLineWidth = 1;
    int FVertLineWidth = 1;
    int FRowBarWidthRef = 14;
    int FHeadingHeightRef = 15;
    int FSetDefaultRowHeight = 14;
    int FSetDefaultColWidth = 64;
    bool FSizingHeading = false;
    bool FSizingRowBar = false;
    bool FInRowHeightsChanged = false;
    bool FInColWidthsChanged = false;
    bool FModelSizing = false;
    // Sizes set within its scope are the model's own, not the user's; the
    // previous state comes back however the scope is left.
    class TModelSizing {
    public:
        explicit TModelSizing(TgxBaseGrid& Grid) : FGrid(Grid), FOld(Grid.FModelSizing) {
            Grid.FModelSizing = true;
        }
        ~TModelSizing() { FGrid.FModelSizing = FOld; }
        TModelSizing(const TModelSizing&) = delete;
        TModelSizing& operator=(const TModelSizing&) = delete;

    private:
        TgxBaseGrid& FGrid;
        bool FOld;
    };
    // The top-left cell last reported, the nesting of top-left changes, and
    // what a fast assignment put off.
    TGridCoord FReportedTopLeft{1, 1};
    int FTopLeftNesting = 0;
    bool FTopLeftChangedPending = false;
    // A count change under way: the base counts are ahead of the column
    // and row lists until it ends, so a top-left change waits for its end.
    int FCountChanging = 0;
    bool FTopLeftChangeDeferred = false;
    // The nesting of the user's input being handled (keys, mouse, wheel,
    // scroll bars): a top-left cell moved meanwhile was moved by the user.
    int FUserInput = 0;
    bool FPendingTopLeftMoved = false;
    bool FPendingCheckTopLeft = false;
    // The one-entry cache of cell elements.
    bool FLastCellValid = false;
    int FLastCellCol = 0;
    int FLastCellRow = 0;
    TgxCellElement* FLastCell = nullptr;

    // ---- settings ----------------------------------------------------------------------
    TgxGridMode FGridMode = gmEdit;
    TgxDrawOverlap FDrawOverlap = doDrawColOnTop;
    TgxWordWrap FWordWrap = uiDefault;
    TgxColSelectMode FColSelectMode = csMulti;
    TgxRowSelectMode FRowSelectMode = rsMulti;
    TgxCellSelectMode FCellSelectMode = cmRange;
    bool FColMoving = true;
    bool FRowMoving = true;
    TgxResizeCols FResizeCols = rcSingle;
    TgxResizeRows FResizeRows = rrAll;
    bool FResizeRowsInGrid = false;
    bool FResizeColsInGrid = false;
    TgxGridLines FGridLines = glBoth;
    TColor FLineColor = 0x00C0C0C0;
    TColor FFixedLineColor = 0;
    TColor FHeadingColor = static_cast<TColor>(0x8000000F);
    TColor FEditColor = clNone;
    TColor FEditFontColor = clNone;
    TColor FSelectionColor = static_cast<TColor>(0x8000000D);
    TColor FSelectionFontColor = static_cast<TColor>(0x8000000E);
    TgxSelectionType FSelectionType = sltDefault;
    TColor FFocusColor = clNone;
    TColor FFocusBorderColor = clNone;
    TColor FFocusFontColor = clNone;
    TgxFocusBorder FFocusBorder = fbDot;
    TColor FTransparentColor = clNone;
    bool FSkipReadOnly = true;
    TgxRowChangedIndicator FRowChangedIndicator = riOn;
    bool FAlwaysShowEditor = true;
    bool FAlwaysShowFocus = false;
    bool FCheckMouseFocus = true;
    AnsiString FCheckBoxValues;
    TScrollStyle FAlwaysShowScrollBar = ssNone;
    TScrollStyle FGridScrollBars = ssBoth;
    bool FAutoScale = false;
    bool FReadOnlyButton = true;
    bool FTabRowWrap = true;
    bool FWantTabs = true;
    bool FFlatButtons = true;
    bool FRowBarIndicator = true;
    bool FStoreData = false;
    bool FStretchPicture = true;
    bool FShrinkPicture = true;
    bool FCenterPicture = true;
    bool FKeepAspectRatio = false;
    bool FSelectFixed = true;
    TCursor FSelectedAreaCursor = crDefault;
    TgxScrollSpeed FScrollSpeed = spVariable;
    int FScrollWaitTime = 200;
    bool FThumbTracking = false;
    bool FIs3D = false;
    bool FHeading3D = true;
    TgxInactiveButtonState FInactiveButtonState = ibsBackGround;
    int FButtonEdgeWidth = 2;
    int FDefaultButtonWidth = 11;
    int FDefaultButtonHeight = 9;
    int FSpinButtonWidth = 11;
    int FSpinButtonHeight = 9;
    int FSpinStartDelay = 500;
    int FSpinRepeatDelay = 80;
    TgxHeadingButton FHeadingButton = hbNone;
    TgxHorzAlignment FHeadingHorzAlignment = htaDefault;
    TgxVertAlignment FHeadingVertAlignment = vtaDefault;
    TgxWordWrap FHeadingWordWrap = uiDefault;
    TgxHorzAlignment FHorzAlignment = htaDefault;
    TgxVertAlignment FVertAlignment = vtaDefault;
    TgxVertAlignment FRowBarAlignment = vtaDefault;
    bool FHeadingParentFont = true;
    bool FUpdatingHeadingFont = false;
    AnsiString FExportDelimiter = ",";
    int FPrintLinesPerPage = 40;
    TgxPrintMode FPrintOrientation = pmLandscape;
    bool FPrintTotals = true;
    bool FPrintWithGridFormats = true;
    bool FProvideGridMenu = false;
    bool FAlwaysDetectButton = false;

    // ---- saved state ----------------------------------------------------------------------
    int FSaveAllLock = 0;
    int FStateLoads = 0;
    int FStateSaves = 0;
    TgxProperties FColResetProps;
    std::unique_ptr<TgxIntegerList> FReadColMap;
    // The cell items read from a form, kept until the form's links are
    // resolved on their cells (Loaded lets them go).
    std::vector<std::unique_ptr<TObject>> FReadCellItems;

    // ---- scroll bar state (view/GridScroll) ----------------------------------------------------
    bool FHorzShown = false;
    bool FVertShown = false;
    bool FScrollRangePending = false;
    bool FScrollRangeAgain = false;
    bool FInScrollRange = false;
    bool FHoldScrollRange = false;
    bool FScrollPosPending = false;
    // A scroll-bar scroll is under way: the in-place control stays hidden
    // until the bar reports the end of the scroll.
    bool FControlHeldForScroll = false;

    // ---- selection state (view/GridSelect*, view/GridHighlight*, view/GridDrag*) ----------------
    bool FSelectChanged[3] = {false, false, false}; // by TgxSelectType
    int FSelAnchorRow = -1;
    TRect FRange{0, 0, 0, 0};
    TGridCoord FRangeAnchor{0, 0};
    int FSelectionStartRow = -1;
    int FLastAddedRow = -1;
    int FRowSelectEnd = -1;
    int FColSelectEnd = -1;
    int FMoveStart = -1;
    int FMovePos = -1;
    bool FColMoveMarkDrawn = false;
    bool FRowMoveMarkDrawn = false;
    bool FPastLastRow = false;
    bool FPastLastCol = false;
    bool FMouseOverGrid = false;
    bool FScrollHold = false;
    int FDragX = 0; // the mouse at the last drag move, client pixels
    int FDragY = 0;
    // A drag's selection when it began, to undo a cancelled drag.
    TgxSelection FDragStartSelection;
    TgxMouseStatus FMouseStatus = msNormal;
    TgxGridStatus FReportedGridStatus = grNormal;

    // ---- paint state (view/GridPaint*) -----------------------------------------------------------
    std::unique_ptr<TFont> FDrawFont; // scratch font handed to draw-info handlers
    TFont* FLastPaintFont = nullptr;  // the font the canvas took last in this paint
    TAlignment FHeadingAlignment = taLeftJustify; // the older heading alignment
    bool FPaintedOnce = false;
    // One cell is being put together on the shared memory surface; the
    // window's own device context waits in FWindowDc meanwhile.
    bool FPaintingOffScreen = false;
    HDC FWindowDc = nullptr;
    // The shared surface holds room for this grid (sized to it once, then grown).
    bool FMemoryCanvasPrepared = false;
    // The canvas is made ready on the first surface it is pointed at.
    bool FCanvasNeedsInit = true;
    // The window asked for a paint while a cell was off-screen.
    bool FOffScreenPaintSkipped = false;

    // ---- editing state (view/GridEdit*, view/GridKeys*, view/GridMessages*) ---------------
    bool FCellEditing = false;
    bool FRowEditing = false;
    bool FRowModified = false;
    bool FCellEditEnded = false;
    bool FRowAppendedByEdit = false;
    bool FInEndEditCheck = false;
    bool FEditorEventRaised = false; // OnShowEditor raised, OnHideEditor not yet
    bool FUndoInProgress = false;
    int FReportedDataCol = -1;
    int FReportedDataRow = -1;
    TgxMouseStatus FReportedMouseStatus = msNormal;
    int FStartEditDisabled = 0;
    bool FLoadingControl = false; // a value is being put into the control
    bool FValueChanged = false;
    bool FRowChanged = false;
    TgxCustomGridControl* FGridControl = nullptr;
    bool FEditorShown = true; // follows AlwaysShowEditor, on by default
    bool FControlPlaced = false;
    bool FControlHiddenOnRequest = false;
    bool FInHideControl = false;
    bool FSuppressInvalidate = false;
    bool FEditorPermanent = true;
    TgxTextSelectMode FControlSelectMode = gxCurrent;
    int FKeyBlock = 0;
    int FSetFocusCount = 0;
    int FDoExitCount = 0;
    bool FKeyNavigation = false;
    bool FRefocusOnKeyUp = false;
    unsigned FButtonTimer = 0;
    unsigned FSpinTimer = 0;
    bool FFirstSpinPeriod = false;

    // ---- current cell positioning (view/GridNavigation) -----------------------------------
    int FPrevDisplayCol = 1;
    int FPrevDisplayRow = 1;
    int FPositionedDataCol = -1;
    int FPositionedDataRow = -1;
    int FFocusRectDisabled = 0;
    TgxScrollMode FScrollMode = smWindow;
    TRect FControlRect;
    TRect FRowSelectRect;
    std::uint32_t FScrollWaitStart = 0;
    std::unique_ptr<TBitmap> FPictureMask;
    // What cell texts are measured on: a row added measures its texts for
    // its height, and a bitmap and canvas made each time cost more than that.
    std::unique_ptr<TBitmap> FMeasureBitmap;
    TColor FPictureMaskColor = clNone;
    TgxCheckBoxStyle FCheckBoxStyle = stCheck;
    void RepaintStrip(const TRect& Strip);
    void InvalidateDataArea(bool Across);
    void TakeFocusForScroll();
    // Where the cell being painted lies and the client size, so geometry
    // asked during a paint need not walk the rows and columns again.
    int FPaintRow = -1;
    int FPaintRowTop = 0;
    int FPaintCol = -1;
    int FPaintColLeft = 0;
    TRect FPaintClient;

    // ---- drop-downs (view/DropDown*, view/Combo*, view/DateTimeDropDown*) ------------------
    TgxOwnedCombo FCombo;
    TgxDropDownForm* FComboForm = nullptr;    // owned by the grid as a component
    TgxDropDownForm* FDateTimeForm = nullptr; // owned by the grid as a component
    TgxDateTimeDefComponent* FDateTimeInstance = nullptr; // owned by the date-time form
    TgxDateTimeDefComponent* FLastAssignedDateTime = nullptr;
    TgxDateTimeDefComponent* FLastUsedDateTime = nullptr;
    TgxDateTimeDefComponent* FDateTimeDefLevel = nullptr;
    TgxCombo* FLastUsedCombo = nullptr;
    bool FComboInitialized = false;
    bool FInComboInit = false;
    bool FComboPointSet = false;
    bool FCaptureToCombo = false;
    bool FDateTimeInitialized = false;
    bool FDateTimeOpen = false;
    bool FDateTimeSelected = false;
    bool FDateTimeCancelled = false;
    bool FDateTimeModal = false;
    TgxButtonType FDateTimeFormType = btDateTimeDropDown;
    int FComboCol = -1;
    int FComboRow = -1;
    int FDateTimeCol = -1;
    int FDateTimeRow = -1;
    // The cells the list and the calendar were last set up for: another
    // current cell sets them up again.
    int FComboInitCol = -1;
    int FComboInitRow = -1;
    int FDateTimeInitCol = -1;
    int FDateTimeInitRow = -1;
    int FDropDownRowHeight = 14;
    AnsiString FComboSearchValue;
    std::uint32_t FComboSearchTick = 0;
    // Closes the drop-downs and leaves the drop-down hooks as the grid goes
    // (declared last, so it runs while the rest of the grid is there).
    struct TDropDownGuard {
        TgxBaseGrid* Grid;
        ~TDropDownGuard();
    } FDropDownGuard{this};

    // ---- mouse state (view/GridMouse*, GridSizing*, GridCellButtons*) ----------------------
    int FMouseDownCol = -1;
    int FMouseDownRow = -1;
    int FMouseUpCol = -1;
    int FMouseUpRow = -1;
    int FHeadingDownCol = -1;
    bool FHeadingIsButton = false;
    bool FHeadingPressed = false;
    bool FDblClickDone = false;
    bool FMouseDownActive = false;
    bool FForwardToControl = false;
    // A press the in-place control is still to get, in grid client
    // coordinates, and whether it was the second press of a double click.
    bool FMouseToControl = false;
    bool FMouseToControlDouble = false;
    TPoint FMouseToControlPos;
    bool FInMouseMove = false;
    int FMouseSizingIndex = -1;
    int FSizingLinePos = 0;
    int FSizingOffset = 0;
    bool FSizingByDblClick = false;
    bool FMouseSizingLineDrawn = false;
    int FHotButtonCol = -1;
    int FHotButtonRow = -1;
    TgxSpinButton FHotSpinPart = spbNone;
    int FDownButtonCol = -1;
    int FDownButtonRow = -1;
    TgxSpinButton FDownSpinPart = spbNone;
    bool FButtonPressPending = false;
    TgxSpinButton FPendingSpinPart = spbNone;
    int FSpinRepeatCount = 0;
    TgxCustomButton* FHitButton = nullptr;
    // The two halves of a press and the heading held down.
    void RightPress(TShiftState Shift, int X, int Y, int DisplayCol, int DisplayRow);
    void LeftPress(TShiftState Shift, int X, int Y, int DisplayCol, int DisplayRow);
    void MouseMoveHeadingDown(int X, int Y, int DisplayCol, int DisplayRow);
    void MUHeadingUp(TMouseButton Button);
    // Ends the gesture of Status: applied on a release, undone on a cancel.
    void EndGesture(TgxMouseStatus Status, bool Apply, int X, int Y, TMouseButton Button);
};

} // namespace grid
