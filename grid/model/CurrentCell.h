#pragma once
// The cell that has the focus, as applications and the grid reach it: its
// data position, its value with a one-cell buffer, its tag and text sizes,
// and moving the focus to another cell.
#include "grid/model/GridTypes.h"
#include "platform/gui/Colors.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Variant.h"

namespace grid {

class TgxBaseGrid;

class TgxCurrentCell : public TObject {
public:
    explicit TgxCurrentCell(TgxBaseGrid* Grid) : FGrid(Grid) {}
    ~TgxCurrentCell() override { ClearBuffer(); }
    AnsiString ClassName() const override { return "TgxCurrentCell"; }

    // -1 while the grid has no valid current cell.
    int GetDataCol() const;
    int GetDataRow() const;
    // ctNone while the grid has no valid current cell.
    TgxControlType GetControlType() const;
    // Unassigned while the grid has no valid current cell.
    Variant GetValue();
    // The value goes to the in-place control as an edit of the current
    // cell; false when the grid is not editing, the value does not suit the
    // cell or the edit may not start.
    bool SetValue(const Variant& Value) { return SetEditValue(Value, false, true); }
    bool SetEditValue(const Variant& Value, bool ShowEditor, bool Repaint);
    const Variant& BufferValue() const { return FBuffer; }
    int BufferCol() const { return FBufferCol; }
    int BufferRow() const { return FBufferRow; }
    // Holds Value for the current cell.
    void SetBuffer(const Variant& Value, bool OwnsObject);
    void ClearBuffer();
    bool ValueSet(int DataCol, int DataRow) const;
    bool IsClear() const { return FBuffer.IsEmpty(); }
    // The buffered column follows a column deletion (-1 when it went).
    void SetBufferCol(int Value) { FBufferCol = Value; }
    void SetBufferRow(int Value) { FBufferRow = Value; }

    int GetTag() const;
    void SetTag(int Value);
    TObject* GetData() const;
    void SetData(TObject* Value);
    int GetTextWidth();
    int GetTextHeight();
    int GetTextLines();
    // Makes the display cell of that data cell current (both checked).
    void MoveTo(int DataCol, int DataRow);
    // Forgets the buffer and repaints the cell.
    void Refresh();
    // Scrolls the current cell into view.
    void PutInView();

    // Whether Text fits into the current column's MaxLength when it
    // replaces the selection of the buffered text (characters, not bytes).
    bool NewlengthOk(const AnsiString& Text) const;
    // A text cell whose whole text is selected; any other cell.
    bool AllSelected();
    // The picture options the grid resolves for the current cell; a cell
    // that sets none takes the current cell's defaults.
    bool GetStretchPicture() const { return PictureOption(1, FStretchDefault); }
    bool GetShrinkPicture() const { return PictureOption(2, FShrinkDefault); }
    bool GetCenterPicture() const { return PictureOption(3, FCenterDefault); }
    bool GetKeepAspectRatio() const { return PictureOption(4, FKeepAspectDefault); }
    // The grid's picture option of that index (as above) changed.
    void SetPictureDefault(int Index, bool Value);
    // Makes the insertion row at that data column current (in gmEditInsert
    // with no selection, once a pending edit has ended).
    void MoveToInsertRow(int DataCol);

    // The value is given to the in-place control of the cell's type unless
    // the buffer already holds this cell (no edit starts).
    void FetchCellValue();
    // The text selection in the in-place control; the setters and
    // SelectAll need the grid's window. The getters answer what the control
    // last reported.
    int SelStart() const { return FSelStart; }
    int SelLength() const { return FSelLength; }
    void SetSelStart(int Value);
    void SetSelLength(int Value);
    void SelectAll();
    AnsiString GetSelText();
    // Replaces the selected text of the editor (while editing).
    void SetSelText(const AnsiString& Text);
    // The control reports its selection.
    void SelectionReported(int Start, int Length) {
        FSelStart = Start;
        FSelLength = Length;
    }
    // Copies the selected text of a text cell (needs the grid's window).
    bool CopyToClipboard();
    // Cut and paste while a text cell is edited; a paste that would make
    // the text longer than the column's MaxLength is refused. Each answers
    // whether it acted.
    bool CutToClipboard();
    bool PasteFromClipboard();
    TColor TransparentColor() const { return FTransparentColor; }
    // The transparent colour the current cell's picture gives, else the
    // current cell's own.
    TColor GetTransparentColor();

private:
    bool PictureOption(int Index, bool Default) const;

    TgxBaseGrid* FGrid;
    Variant FBuffer;
    bool FOwnsObject = false;
    int FBufferCol = -1;
    int FBufferRow = -1;
    int FSelStart = 0;
    int FSelLength = 0;
    bool FStretchDefault = true;
    bool FShrinkDefault = true;
    TColor FTransparentColor = clNone;
    bool FCenterDefault = true;
    bool FKeepAspectDefault = false;
};

} // namespace grid
