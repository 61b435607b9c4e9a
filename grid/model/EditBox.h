#pragma once
// The grid's in-place text editor. It draws its own text, caret and
// selection (it is no system edit control): single-line and word-wrapped
// multi-line text, multibyte characters stepped over whole, moves by
// characters, words, lines and pages, selection by keys and mouse, a length
// limit in characters, an edit mask checked while typing and pasting, one
// level of undo and the clipboard. Every change is reported to the grid
// through the events of its window base.
//
// Positions inside the text are byte offsets; the public selection
// operations count characters.
#include "grid/foundation/IntLists.h"
#include "grid/foundation/MaskDefs.h"
#include "grid/foundation/TextLayout.h"
#include "grid/model/GridControl.h"

#include <memory>

namespace grid {

class TgxGridEditBox;

// The edit box's link to its mask definitions: a changed or vanished mask
// is looked up again on next use.
class TgxEditMaskLink : public TgxMaskLink {
public:
    explicit TgxEditMaskLink(TgxGridEditBox* AEditBox) : FEditBox(AEditBox) {}
    AnsiString ClassName() const override { return "TgxEditMaskLink"; }
    void MaskChanged(TgxMaskItem* Mask) override;
    void MaskDefsDeleted() override;

private:
    TgxGridEditBox* FEditBox;
};

class TgxGridEditBox : public TgxGridControl {
public:
    explicit TgxGridEditBox(TComponent* AOwner);
    ~TgxGridEditBox() override;
    AnsiString ClassName() const override { return "TgxGridEditBox"; }

    // ---- the text
    const AnsiString& EditText() const { return FText; }
    // Sets the text as a value, when OnCanChange allows: no undo state.
    void SetText(const AnsiString& Value);
    // Sets the text as an edit, when the edit check allows. With Flag (and
    // keyboard or mouse editing on) the old text is kept for undo.
    void SetEditText(const AnsiString& Value, bool Flag);

    // ---- selection, in characters
    void SelectAll();
    int GetSelStart();
    void SetSelStart(int Value);
    int GetSelLength();
    void SetSelLength(int Value);
    AnsiString GetSelText() const;
    void SetSelText(const AnsiString& Value);
    // Moves the caret to the selection start.
    void TextPosToSelStart();

    // ---- limits and mask
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value) { FMaxLength = Value > 0 ? Value : 0; }
    TgxMaskDefsComponent* MaskDefs() const { return FMaskLink->MaskDefs(); }
    void SetMaskDefs(TgxMaskDefsComponent* Value);
    const AnsiString& MaskName() const { return FMaskName; }
    void SetMaskName(const AnsiString& Value);
    TgxMaskItem* GetEditMask();
    void MaskGone() { FEditMask = nullptr; }

    // ---- clipboard; the flag tells the edit check whether a key did it
    void CutToClipboard(bool ByKey);
    void CopyToClipboard();
    void PasteFromClipboard(bool ByKey);

    // ---- layout
    int LineCount() const { return FLines->Count(); }
    // Word wrap is on and the box is tall enough for a second line.
    bool IsMultiLine();
    // Draws the text into any canvas: Height decides whether it wraps, Left
    // and Top are where the first line starts.
    void DrawControl(TCanvas* ACanvas, int AHeight, const TRect& R, int Top, int Left);

    void SetAlignment(TAlignment Value) override;
    void SetVertAlignment(TgxVertAlignment Value) override;
    void SetWordWrap(TgxWordWrap Value) override;
    bool IsEditKey(char Key) override;

    // Restores the text before the first change; true when it did.
    bool Undo();

    // ---- state, as the box holds it (byte offsets)
    int SelByteStart() const { return FSelByteStart; }
    int SelByteLength() const { return FSelByteLength; }
    int TextPos() const { return FTextPos; }
    int TopLine() const { return FTopLine; }
    int ScrollPos() const { return FScrollPos; }
    TPoint CaretPoint() const { return FCaretPoint; }
    int CaretRow() const { return FCaretRow; }
    bool CaretCreated() const { return FCaretCreated; }
    bool UndoSaved() const { return FOldTextSaved; }
    int LineStart(int Row) const;

    void Dispatch(TMessage& Message) override;

protected:
    AnsiString GetText() const override { return FText; }
    void Paint() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;
    void WMLButtonUp(TMessage& Message) override;

private:
    // ---- measuring and layout (EditBoxLayout.cpp)
    TTextMetric Metrics();
    int LineHeight();
    int LineEnd(int Row) const;
    bool LineEndsWithBreak(int Row) const;
    TRect DrawRect() const { return Rect(-FLeftMargin, 0, Width(), Height()); }
    int Measure(int From, int To);
    int Measure(const TTextMetric& M, int From, int To);
    int NearestEdge(const TTextMetric& M, int From, int Limit, int StartX, int X, bool Forward);
    void LayoutLines();
    void ReDisplay();
    int LineStartX(int Row);
    int SingleLineOrigin();
    int SingleLineX(int Pos);
    int SingleLineY();
    int MultiLineTop();
    void SetTextPosition(int Pos, bool AtLineStart);
    void PlaceCaret();
    void MoveCaretIntoView(bool Repaint, double Fraction);
    int PosInRow(int Row, int X, bool& AtLineStart);
    void GetPointCaretPos(TPoint P, int& Pos, bool& AtLineStart);
    void UpdateSystemCaret();

    // ---- selection and editing (EditBoxEdit.cpp)
    void SetSelection(int Start, int Length);
    void CollapseToCaret() { SetSelection(FTextPos, 0); }
    void PrepareMove();
    void FinishMove(int OldPos, bool Extend);
    bool WholeSelected() const;
    int CharLength(int From, int To) const;
    bool LengthAllows(const AnsiString& Input) const;
    bool MaskAllows(AnsiString& Input, int At);
    void SaveUndo();
    void DeleteBytes(int From, int Count);
    void AssignText(const AnsiString& Value, bool Edit, bool Flag);
    bool AddCharToText(const AnsiString& Input);
    bool DeleteForward();
    bool DeleteBack();
    void ReplaceSelection(const AnsiString& Value);
    void AfterEdit(int CaretPos);
    bool EditTextResized(bool Flag);

    // ---- moves (EditBoxKeys.cpp)
    bool MoveLeft(bool Word, bool Extend);
    bool MoveRight(bool Word, bool Extend);
    bool MoveLine(bool Down, bool Extend);
    bool MovePage(bool Down, bool Extend);
    bool MoveLineEdge(bool ToEnd, bool Extend);
    bool MoveTextEdge(bool ToEnd, bool Extend);
    bool KeyTable(Word& Key, TShiftState Shift, bool& Changed, bool& Undone);

    void MakeCaretBitmap();

    AnsiString FText;
    AnsiString FOldText;
    bool FOldTextSaved = false;
    int FSelStartChars = 0;
    int FSelLengthChars = 0;
    int FSelByteStart = 0;
    int FSelByteLength = 0;
    int FTextPos = 0;
    int FScrollPos = 0;
    int FTopLine = 0;
    std::unique_ptr<TgxIntegerList> FLines;
    TPoint FCaretPoint;
    int FCaretRow = 0;
    int FCaretOffset = 0;
    bool FCaretAtLineStart = true;
    bool FCaretCreated = false;
    bool FCaretVisible = false;
    bool FCaretOnFocus = true;
    bool FShowCaretAfterMouseDown = false;
    bool FMouseSelecting = false;
    int FSelAnchor = 0;
    TPoint FMouseDownPoint;
    bool FMouseNotMoved = false;
    // A move to keep the view scrolling waits in the queue.
    bool FScrollMovePosted = false;
    bool FKeyRepeat = false;
    int FRightMargin = 0;
    std::unique_ptr<TBitmap> FCaretBitmap;
    int FMaxLength = 0;
    // The start of a multibyte character typed byte by byte, waiting for
    // the rest of its sequence.
    AnsiString FLeadBytes;
    TgxMaskItem* FEditMask = nullptr;
    std::unique_ptr<TgxEditMaskLink> FMaskLink;
    AnsiString FMaskName;
};

} // namespace grid
