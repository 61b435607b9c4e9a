// The edit box's keys: caret moves by characters, words, lines and pages,
// selection by keys, and the key table that decides which keys the box
// uses and which it leaves to the grid.
#include "grid/foundation/TextChars.h"
#include "grid/model/EditBox.h"

#include <algorithm>
#include <cstdlib>

namespace grid {

namespace {

// Bytes in the UTF-8 sequence a lead byte begins.
std::size_t SequenceBytes(char Lead) {
    const auto C = static_cast<unsigned char>(Lead);
    if (C >= 0xF0) return 4;
    if (C >= 0xE0) return 3;
    return 2;
}

// Control characters a key makes that are no text: Ctrl+A, Ctrl+C,
// Backspace, Tab, LF, CR, Ctrl+V, Ctrl+X, Ctrl+Z and Escape.
bool NotInserted(unsigned char C) {
    switch (C) {
    case 1:
    case 3:
    case 8:
    case 9:
    case 10:
    case 13:
    case 22:
    case 24:
    case 26:
    case 27:
        return true;
    default:
        return false;
    }
}

} // namespace

// ---- selection around a move ------------------------------------------------------------

void TgxGridEditBox::PrepareMove() {
    const int End = FSelByteStart + FSelByteLength;
    if (FSelByteLength == 0 || (FTextPos != FSelByteStart && FTextPos != End))
        SetSelection(FTextPos, 0);
}

void TgxGridEditBox::FinishMove(int OldPos, bool Extend) {
    if (!Extend) {
        SetSelection(FTextPos, 0);
    } else {
        // The anchor is the end the caret was not at.
        int Anchor = OldPos;
        if (FSelByteLength > 0)
            Anchor = OldPos == FSelByteStart ? FSelByteStart + FSelByteLength : FSelByteStart;
        SetSelection(std::min(Anchor, FTextPos), std::abs(FTextPos - Anchor));
    }
    Invalidate();
}

// ---- moves ----------------------------------------------------------------------------------

bool TgxGridEditBox::MoveLeft(bool Word, bool Extend) {
    if (FTextPos == 0) return FKeyRepeat;
    PrepareMove();
    const int Old = FTextPos;
    const int Step = Word ? PrevWordCount(FText, FTextPos) : PrevCharCount(FText, FTextPos);
    const bool Multi = IsMultiLine();
    if (Multi && FCaretOffset == 0 && FCaretRow > 0 && !Word && !LineEndsWithBreak(FCaretRow - 1)) {
        // At the start of a wrapped line: the same byte, shown at the end
        // of the line before.
        SetTextPosition(FTextPos, false);
    } else {
        SetTextPosition(FTextPos - Step, true);
    }
    MoveCaretIntoView(true, Multi ? 0 : 0.25);
    FinishMove(Old, Extend);
    return true;
}

bool TgxGridEditBox::MoveRight(bool Word, bool Extend) {
    const int Len = static_cast<int>(FText.size());
    const bool Multi = IsMultiLine();
    const int Last = FLines->Count() - 1;
    const bool AtWrappedEnd = Multi && FCaretRow < Last &&
                              FCaretOffset == LineEnd(FCaretRow) - LineStart(FCaretRow) &&
                              !LineEndsWithBreak(FCaretRow);
    if (FTextPos >= Len && !AtWrappedEnd) return FKeyRepeat;
    PrepareMove();
    const int Old = FTextPos;
    if (AtWrappedEnd) {
        // The same byte, shown at the start of the next line; a word move
        // goes on over the blanks there.
        int P = FTextPos;
        if (Word)
            while (IsSpaceChar(FText, P))
                ++P;
        SetTextPosition(P, true);
    } else {
        const int New =
            FTextPos + (Word ? NextWordCount(FText, FTextPos) : NextCharCount(FText, FTextPos));
        const bool EndsWrapped =
            Multi && FCaretRow < Last && New == LineEnd(FCaretRow) && !LineEndsWithBreak(FCaretRow);
        SetTextPosition(New, !(EndsWrapped && !Word));
    }
    MoveCaretIntoView(true, Multi ? 0 : 0.25);
    FinishMove(Old, Extend);
    return true;
}

bool TgxGridEditBox::MoveLine(bool Down, bool Extend) {
    if (LineCount() <= 1) return false;
    const int Row = FCaretRow;
    if (Down ? Row >= LineCount() - 1 : Row <= 0) return FKeyRepeat;
    PrepareMove();
    const int Old = FTextPos;
    bool AtLineStart = true;
    const int Pos = PosInRow(Row + (Down ? 1 : -1), FCaretPoint.X, AtLineStart);
    SetTextPosition(Pos, AtLineStart);
    MoveCaretIntoView(true, 0);
    FinishMove(Old, Extend);
    return true;
}

bool TgxGridEditBox::MovePage(bool Down, bool Extend) {
    if (!IsMultiLine()) return false;
    const int LH = std::max(1, LineHeight());
    const int Count = std::max(1, Height() / LH);
    const int Last = LineCount() - 1;
    const int Row = FCaretRow;
    const int Rows = Down ? std::min(Count, Last - Row) : std::min(Count, Row);
    if (Rows <= 0) return FKeyRepeat;
    PrepareMove();
    const int Old = FTextPos;
    const int X = FCaretPoint.X;
    FTopLine = Down ? std::min(FTopLine + Rows, Last) : std::max(0, FTopLine - Rows);
    bool AtLineStart = true;
    const int Pos = PosInRow(Down ? Row + Rows : Row - Rows, X, AtLineStart);
    SetTextPosition(Pos, AtLineStart);
    MoveCaretIntoView(true, 0);
    Invalidate();
    FinishMove(Old, Extend);
    return true;
}

bool TgxGridEditBox::MoveLineEdge(bool ToEnd, bool Extend) {
    if (!Extend && FSelByteLength > 0) {
        SetTextPosition(FSelByteStart, true);
        SetSelection(FSelByteStart, 0);
    }
    PrepareMove();
    const int Old = FTextPos;
    const int Row = FCaretRow;
    if (!ToEnd) {
        SetTextPosition(LineStart(Row), true);
    } else if (LineEndsWithBreak(Row)) {
        const int End = LineEnd(Row);
        SetTextPosition(End - PrevCharCount(FText, End), true);
    } else {
        SetTextPosition(LineEnd(Row), Row == LineCount() - 1);
    }
    MoveCaretIntoView(true, 0);
    FinishMove(Old, Extend);
    return true;
}

bool TgxGridEditBox::MoveTextEdge(bool ToEnd, bool Extend) {
    const int Target = ToEnd ? static_cast<int>(FText.size()) : 0;
    if (FTextPos == Target) return false;
    PrepareMove();
    const int Old = FTextPos;
    SetTextPosition(Target, true);
    MoveCaretIntoView(true, 0);
    FinishMove(Old, Extend);
    return true;
}

// ---- the key table ---------------------------------------------------------------------------

bool TgxGridEditBox::KeyTable(Word& Key, TShiftState Shift, bool& Changed, bool& Undone) {
    const TShiftState Mods = Shift * TShiftState{ssShift, ssCtrl, ssAlt};
    auto Consume = [&](bool Used) {
        if (Used) Key = 0;
    };
    auto UndoKey = [&] {
        if (!FOldTextSaved) return;
        Key = 0;
        Undone = Undo();
    };
    if (Mods.Empty()) {
        // Plain moves leave the key to the grid while the whole text is
        // selected (an empty text counts as that).
        const bool Whole = WholeSelected();
        switch (Key) {
        case VK_BACK:
            Changed = DeleteBack();
            Key = 0;
            break;
        case VK_ESCAPE:
            UndoKey();
            break;
        case VK_PRIOR:
        case VK_NEXT:
            if (!Whole) Consume(MovePage(Key == VK_NEXT, false));
            break;
        case VK_END:
        case VK_HOME:
            MoveLineEdge(Key == VK_END, false);
            Key = 0;
            break;
        case VK_LEFT:
        case VK_RIGHT:
            if (!Whole) Consume(Key == VK_LEFT ? MoveLeft(false, false) : MoveRight(false, false));
            break;
        case VK_UP:
        case VK_DOWN:
            if (!Whole) Consume(MoveLine(Key == VK_DOWN, false));
            break;
        case VK_DELETE:
            Changed = DeleteForward();
            Key = 0;
            break;
        case VK_F2:
            SetSelection(FTextPos, 0);
            Invalidate();
            Key = 0;
            break;
        default:
            break;
        }
    } else if (Mods == TShiftState{ssShift}) {
        switch (Key) {
        case VK_PRIOR:
        case VK_NEXT:
            MovePage(Key == VK_NEXT, true);
            Key = 0;
            break;
        case VK_END:
        case VK_HOME:
            MoveLineEdge(Key == VK_END, true);
            Key = 0;
            break;
        case VK_LEFT:
            MoveLeft(false, true);
            Key = 0;
            break;
        case VK_RIGHT:
            MoveRight(false, true);
            Key = 0;
            break;
        case VK_UP:
        case VK_DOWN:
            MoveLine(Key == VK_DOWN, true);
            Key = 0;
            break;
        case VK_INSERT:
            PasteFromClipboard(true);
            Key = 0;
            break;
        case VK_DELETE:
            CutToClipboard(true);
            Key = 0;
            break;
        default:
            break;
        }
    } else if (Mods == TShiftState{ssCtrl}) {
        switch (Key) {
        case VK_RETURN:
            Changed = AddCharToText("\r");
            Key = 0;
            break;
        case VK_END:
        case VK_HOME:
            Consume(MoveTextEdge(Key == VK_END, false));
            break;
        case VK_LEFT:
            Consume(MoveLeft(true, false));
            break;
        case VK_RIGHT:
            Consume(MoveRight(true, false));
            break;
        case VK_INSERT:
        case VK_C:
            CopyToClipboard();
            Key = 0;
            break;
        case VK_A:
            SelectAll();
            Key = 0;
            break;
        case VK_V:
            PasteFromClipboard(true);
            Key = 0;
            break;
        case VK_X:
            CutToClipboard(true);
            Key = 0;
            break;
        case VK_Z:
            UndoKey();
            break;
        default:
            break;
        }
    } else if (Mods == TShiftState{ssCtrl, ssShift}) {
        switch (Key) {
        case VK_END:
        case VK_HOME:
            Consume(MoveTextEdge(Key == VK_END, true));
            break;
        case VK_LEFT:
            Consume(MoveLeft(true, true));
            break;
        case VK_RIGHT:
            Consume(MoveRight(true, true));
            break;
        default:
            break;
        }
    }
    return Key == 0;
}

void TgxGridEditBox::KeyDown(Word& Key, TShiftState Shift) {
    TgxGridControl::KeyDown(Key, Shift);
    const Word Original = Key;
    bool Changed = false;
    bool Undone = false;
    if (Key != 0 && (FKeyEdit || FMouseSelect)) KeyTable(Key, Shift, Changed, Undone);
    FKeyRepeat = true;
    if (Key != 0 && OnEndKeyDown) OnEndKeyDown(this, Key, Shift);
    if ((Changed || Undone) && OnNotifyChanged) OnNotifyChanged(this, true);
    if (Changed && OnChanged) OnChanged(this, true, Original == VK_RETURN, true);
}

void TgxGridEditBox::KeyUp(Word& Key, TShiftState Shift) {
    TgxGridControl::KeyUp(Key, Shift);
    FKeyRepeat = false;
    if (Key != 0 && OnEndKeyUp) OnEndKeyUp(this, Key, Shift);
}

void TgxGridEditBox::KeyPress(char& Key) {
    TgxGridControl::KeyPress(Key);
    if (Key == 0) return;
    const auto C = static_cast<unsigned char>(Key);
    bool Inserted = false;
    if (!FLeadBytes.empty() && (C & 0xC0) == 0x80) {
        // The rest of a multibyte character: it goes in whole or not at all.
        FLeadBytes += Key;
        if (FLeadBytes.size() >= SequenceBytes(FLeadBytes[0])) {
            AnsiString Whole;
            Whole.swap(FLeadBytes);
            Inserted = AddCharToText(Whole);
        }
    } else {
        FLeadBytes.clear();
        if (IsLeadByte(Key))
            FLeadBytes = AnsiString(1, Key);
        else if (!NotInserted(C))
            Inserted = AddCharToText(AnsiString(1, Key));
    }
    if (Key != 0 && OnEndKeyPress) OnEndKeyPress(this, Key);
    if (Inserted) {
        if (OnNotifyChanged) OnNotifyChanged(this, true);
        if (OnChanged) OnChanged(this, true, true, true);
    }
}

} // namespace grid
