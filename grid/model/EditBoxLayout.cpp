// The edit box's layout: line starts, where the caret stands in pixels,
// scrolling it into view, hit testing, painting, focus and the mouse.
#include "grid/foundation/TextChars.h"
#include "grid/foundation/TextLayoutPaint.h"
#include "grid/model/EditBox.h"

#include "platform/gui/Caret.h"
#include "platform/gui/Forms.h"
#include "platform/gui/WindowScroll.h"

#include <algorithm>
#include <string_view>

namespace grid {

namespace {

// Marks the mouse moves the box posts to itself to keep scrolling (a key
// state bit no mouse sets).
constexpr WPARAM gxRepeatedMove = 0x8000;

} // namespace

void TgxEditMaskLink::MaskChanged(TgxMaskItem*) {
    FEditBox->MaskGone();
}

void TgxEditMaskLink::MaskDefsDeleted() {
    FEditBox->MaskGone();
}

TgxGridEditBox::TgxGridEditBox(TComponent* AOwner)
    : TgxGridControl(AOwner), FLines(std::make_unique<TgxIntegerList>()),
      FMaskLink(std::make_unique<TgxEditMaskLink>(this)) {
    FLines->AddItem(0);
    SetCursor(crDefault);
}

TgxGridEditBox::~TgxGridEditBox() {
    // The caret lives only with the focus; a box freed while focused takes
    // it along rather than leaving it to a window that is gone.
    if (FCaretCreated && CaretOwner() == this) DestroyCaret();
}

// ---- measuring ---------------------------------------------------------------------

TTextMetric TgxGridEditBox::Metrics() {
    Canvas()->SetFont(Font());
    return GetTextMetrics(Canvas());
}

int TgxGridEditBox::LineHeight() {
    const TTextMetric M = Metrics();
    return M.tmHeight + TextLineSpacing(M);
}

int TgxGridEditBox::LineStart(int Row) const {
    if (Row < 0 || Row >= FLines->Count()) return 0;
    return FLines->GetItem(Row);
}

int TgxGridEditBox::LineEnd(int Row) const {
    return Row + 1 < FLines->Count() ? FLines->GetItem(Row + 1) : static_cast<int>(FText.size());
}

bool TgxGridEditBox::LineEndsWithBreak(int Row) const {
    const int End = LineEnd(Row);
    return End > LineStart(Row) && LastCharIsEofLine(FText, End);
}

// The printed width of the bytes From..To as the box shows them: a
// single-line box shows line breaks as spaces.
int TgxGridEditBox::Measure(int From, int To) {
    return Measure(Metrics(), From, To);
}

int TgxGridEditBox::Measure(const TTextMetric& M, int From, int To) {
    From = std::clamp(From, 0, static_cast<int>(FText.size()));
    To = std::clamp(To, From, static_cast<int>(FText.size()));
    if (From == To) return 0;
    AnsiString Part =
        FText.substr(static_cast<std::size_t>(From), static_cast<std::size_t>(To - From));
    std::replace_if(
        Part.begin(), Part.end(), [](char C) { return C == '\r' || C == '\n'; }, ' ');
    return MeasureText(Canvas(), M, Part);
}

bool TgxGridEditBox::IsMultiLine() {
    if (FWordWrap == uiOff) return false;
    const TTextMetric M = Metrics();
    const int Spacing = TextLineSpacing(M);
    return IsMultiLineText(Height() - Spacing, M.tmHeight + Spacing);
}

void TgxGridEditBox::LayoutLines() {
    Canvas()->SetFont(Font());
    GetTextLines(Canvas(), FText, Height(), Width(), FAlignment, FWordWrap != uiOff, *FLines);
    FTopLine = std::clamp(FTopLine, 0, std::max(0, FLines->Count() - 1));
}

void TgxGridEditBox::ReDisplay() {
    LayoutLines();
    FScrollPos = FAlignment == taRightJustify ? static_cast<int>(FText.size()) : 0;
    SetTextPosition(FTextPos, FCaretAtLineStart);
    MoveCaretIntoView(true, 0.25);
    Invalidate();
}

// ---- where the caret stands ---------------------------------------------------------

int TgxGridEditBox::LineStartX(int Row) {
    if (FAlignment != taCenter) return 0;
    int To = LineEnd(Row);
    while (To > LineStart(Row) && EofLineChar(FText, To - 1))
        --To;
    const int Printed = FullTextWidth(
        Canvas(), Metrics(),
        std::string_view(FText).substr(static_cast<std::size_t>(LineStart(Row)),
                                       static_cast<std::size_t>(To - LineStart(Row))));
    return std::max(0, (Width() + FLeftMargin - Printed) / 2 - FLeftMargin);
}

int TgxGridEditBox::SingleLineOrigin() {
    const TTextMetric M = Metrics();
    switch (FAlignment) {
    case taRightJustify:
        return Width() - FRightMargin - M.tmOverhang;
    case taCenter: {
        AnsiString Shown =
            FText.substr(static_cast<std::size_t>(std::min<int>(FScrollPos, FText.size())));
        std::replace_if(
            Shown.begin(), Shown.end(), [](char C) { return C == '\r' || C == '\n'; }, ' ');
        return std::max(0, (Width() + FLeftMargin - FullTextWidth(Canvas(), M, Shown)) / 2 -
                               FLeftMargin);
    }
    case taLeftJustify:
        break;
    }
    return 0;
}

int TgxGridEditBox::SingleLineX(int Pos) {
    const int Origin = SingleLineOrigin();
    return Pos >= FScrollPos ? Origin + Measure(FScrollPos, Pos)
                             : Origin - Measure(Pos, FScrollPos);
}

int TgxGridEditBox::SingleLineY() {
    const TTextMetric M = Metrics();
    const int Spacing = TextLineSpacing(M);
    if (FVertAlignment == vtaBottom) return Height() - M.tmHeight;
    if (FVertAlignment == vtaCenter && Height() - Spacing > M.tmHeight + 1)
        return Spacing + (Height() - Spacing - M.tmHeight) / 2;
    return Spacing;
}

int TgxGridEditBox::MultiLineTop() {
    const TTextMetric M = Metrics();
    const int Spacing = TextLineSpacing(M);
    return GetVertTopOffset(Spacing, DrawRect(), FLines.get(), Spacing, FVertAlignment, M);
}

void TgxGridEditBox::SetTextPosition(int Pos, bool AtLineStart) {
    FTextPos = std::clamp(Pos, 0, static_cast<int>(FText.size()));
    FCaretAtLineStart = AtLineStart;
    const int Last = FLines->Count() - 1;
    int Row = 0;
    while (Row < Last && LineEnd(Row) < FTextPos)
        ++Row;
    if (Row < Last && FTextPos == LineEnd(Row) && (AtLineStart || LineEndsWithBreak(Row))) ++Row;
    FCaretRow = Row;
    FCaretOffset = FTextPos - LineStart(Row);
    PlaceCaret();
}

void TgxGridEditBox::PlaceCaret() {
    const TTextMetric M = Metrics();
    if (!IsMultiLine()) {
        FCaretPoint = Point(SingleLineX(FTextPos), SingleLineY());
        return;
    }
    const int Start = LineStart(FCaretRow);
    const int Y = MultiLineTop() + (FCaretRow - FTopLine) * LineHeight();
    int X = 0;
    if (FAlignment == taRightJustify) {
        // From the right edge back over what is printed after the caret;
        // a right-justified line prints without its surrounding blanks.
        int To = LineEnd(FCaretRow);
        while (To > Start && EofLineChar(FText, To - 1))
            --To;
        while (To > Start && IsSpaceChar(FText, To - 1))
            --To;
        X = Width() - FRightMargin - M.tmOverhang - Measure(std::min(FTextPos, To), To);
        int P = FTextPos;
        while (X < 0 && P < To && IsSpaceChar(FText, P)) {
            X += Measure(P, P + 1);
            ++P;
        }
    } else {
        X = LineStartX(FCaretRow) + Measure(Start, FTextPos);
        // The caret rests before blanks the line wrapped away.
        int P = FTextPos;
        while (X >= Width() && P > Start && IsSpaceChar(FText, P - 1)) {
            X -= Measure(P - 1, P);
            --P;
        }
    }
    FCaretPoint = Point(X, Y);
}

void TgxGridEditBox::UpdateSystemCaret() {
    if (FCaretCreated && CaretOwner() == this) SetCaretPos(FCaretPoint.X, FCaretPoint.Y);
}

void TgxGridEditBox::MoveCaretIntoView(bool Repaint, double Fraction) {
    bool Scrolled = false;
    if (IsMultiLine()) {
        const int LH = LineHeight();
        const int Last = FLines->Count() - 1;
        while (FCaretPoint.Y + LH > Height() && FTopLine < Last && FCaretRow > FTopLine) {
            FCaretPoint.Y -= LH;
            ++FTopLine;
            Scrolled = true;
        }
        while (FCaretPoint.Y < 0 && FTopLine > 0) {
            FCaretPoint.Y += LH;
            --FTopLine;
            Scrolled = true;
        }
    } else {
        // Characters leave or come back one at a time, the caret moving by
        // each one's width.
        const TTextMetric M = Metrics();
        const int Len = static_cast<int>(FText.size());
        const int W = Width();
        int X = FCaretPoint.X;
        if (X + M.tmOverhang >= W) {
            const int Limit = static_cast<int>((1.0 - Fraction) * W);
            while (X + M.tmOverhang >= Limit && X > 0 && FScrollPos < Len) {
                const int Step = std::max(1, NextCharCount(FText, FScrollPos));
                X -= Measure(M, FScrollPos, FScrollPos + Step);
                FScrollPos += Step;
                Scrolled = true;
            }
        } else if (X < 0) {
            const int Limit = static_cast<int>(Fraction * W);
            while (X < Limit && FScrollPos > 0) {
                const int Step = std::max(1, PrevCharCount(FText, FScrollPos));
                X += Measure(M, FScrollPos - Step, FScrollPos);
                FScrollPos -= Step;
                Scrolled = true;
            }
        }
        // Widths summed one character at a time drift from the width of the
        // whole run (and centred text moves its origin): the caret is placed
        // anew and kept inside the box.
        X = SingleLineX(FTextPos);
        while (X < 0 && FScrollPos > 0) {
            FScrollPos -= std::max(1, PrevCharCount(FText, FScrollPos));
            X = SingleLineX(FTextPos);
            Scrolled = true;
        }
        while (X + M.tmOverhang >= W && X > 0 && FScrollPos < Len) {
            FScrollPos += std::max(1, NextCharCount(FText, FScrollPos));
            X = SingleLineX(FTextPos);
            Scrolled = true;
        }
        FCaretPoint.X = X;
    }
    UpdateSystemCaret();
    if (Repaint && Scrolled) Invalidate();
}

// ---- hit testing ---------------------------------------------------------------------

// The character edge nearest to X among the positions From.. walked in
// one direction from the edge at StartX; a tie goes to the right edge.
int TgxGridEditBox::NearestEdge(const TTextMetric& M, int From, int Limit, int StartX, int X,
                                bool Forward) {
    int Best = From;
    int BestDistance = std::abs(StartX - X);
    int EdgeX = StartX;
    for (int P = From; Forward ? P < Limit : P > Limit;) {
        const int Step = std::max(1, Forward ? NextCharCount(FText, P) : PrevCharCount(FText, P));
        const int Next = Forward ? std::min(P + Step, Limit) : std::max(P - Step, Limit);
        EdgeX += Forward ? Measure(M, P, Next) : -Measure(M, Next, P);
        P = Next;
        const int Distance = std::abs(EdgeX - X);
        if (Forward ? Distance <= BestDistance : Distance < BestDistance) {
            Best = P;
            BestDistance = Distance;
        }
        if (Forward ? EdgeX > X : EdgeX < X) break;
    }
    return Best;
}

int TgxGridEditBox::PosInRow(int Row, int X, bool& AtLineStart) {
    const TTextMetric M = Metrics();
    const int Start = LineStart(Row);
    int End = LineEnd(Row);
    while (End > Start && EofLineChar(FText, End - 1))
        --End;
    int Best = Start;
    if (FAlignment == taRightJustify) {
        // Walked back from the right edge over what the line prints.
        int To = End;
        while (To > Start && IsSpaceChar(FText, To - 1))
            --To;
        Best = NearestEdge(M, To, Start, Width() - FRightMargin - M.tmOverhang, X, false);
    } else {
        Best = NearestEdge(M, Start, End, LineStartX(Row), X, true);
    }
    AtLineStart = !(Best == LineEnd(Row) && Row < FLines->Count() - 1);
    return Best;
}

void TgxGridEditBox::GetPointCaretPos(TPoint P, int& Pos, bool& AtLineStart) {
    if (!IsMultiLine()) {
        // Measured from the scroll position, both ways.
        const TTextMetric M = Metrics();
        const int Origin = SingleLineOrigin();
        const int Len = static_cast<int>(FText.size());
        const int Right = NearestEdge(M, FScrollPos, Len, Origin, P.X, true);
        const int Left = NearestEdge(M, FScrollPos, 0, Origin, P.X, false);
        const int Found =
            std::abs(SingleLineX(Left) - P.X) < std::abs(SingleLineX(Right) - P.X) ? Left : Right;
        // Widths summed a character at a time drift over a long text: the
        // edges on either side are measured whole before one is chosen.
        Pos = Found;
        int Distance = std::abs(SingleLineX(Found) - P.X);
        for (int Candidate :
             {Found - PrevCharCount(FText, Found), Found + NextCharCount(FText, Found)}) {
            const int D = std::abs(SingleLineX(Candidate) - P.X);
            if (D < Distance || (D == Distance && Candidate > Pos)) {
                Pos = Candidate;
                Distance = D;
            }
        }
        AtLineStart = true;
        return;
    }
    const int Top = MultiLineTop();
    const int LH = LineHeight();
    for (int Row = FTopLine; Row < FLines->Count(); ++Row) {
        if (Top + LH * (Row - FTopLine + 1) > P.Y) {
            Pos = PosInRow(Row, P.X, AtLineStart);
            return;
        }
    }
    Pos = static_cast<int>(FText.size());
    AtLineStart = true;
}

// ---- painting --------------------------------------------------------------------------

void TgxGridEditBox::Paint() {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->SetFont(Font());
    const TRect R = DrawRect();
    DrawControl(Canvas(), Height(), R, R.Top, 0);
}

void TgxGridEditBox::DrawControl(TCanvas* ACanvas, int AHeight, const TRect& R, int Top, int Left) {
    const int SelLength = ShowsFocus() ? FSelByteLength : 0;
    DisplayTextLines(ACanvas, FText, AHeight, R, Left, Top, FSelByteStart, SelLength, FLines.get(),
                     FTopLine, FScrollPos, clHighlightText, clHighlight, FAlignment, FVertAlignment,
                     FWordWrap != uiOff);
}

// ---- alignment and wrapping -----------------------------------------------------------

void TgxGridEditBox::SetAlignment(TAlignment Value) {
    if (FAlignment == Value) return;
    TgxGridControl::SetAlignment(Value);
    FRightMargin = Value == taRightJustify ? 1 : 0;
    ReDisplay();
}

void TgxGridEditBox::SetVertAlignment(TgxVertAlignment Value) {
    if (FVertAlignment == Value) return;
    TgxGridControl::SetVertAlignment(Value);
    ReDisplay();
}

void TgxGridEditBox::SetWordWrap(TgxWordWrap Value) {
    if (FWordWrap == Value) return;
    TgxGridControl::SetWordWrap(Value);
    ReDisplay();
}

bool TgxGridEditBox::IsEditKey(char Key) {
    const auto C = static_cast<unsigned char>(Key);
    return C == 8 || C >= 32;
}

// ---- messages, focus and the caret ------------------------------------------------------

void TgxGridEditBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_MOUSEMOVE:
        if (Message.WParam & gxRepeatedMove) FScrollMovePosted = false;
        TgxGridControl::Dispatch(Message);
        return;
    case WM_SIZE:
        ReDisplay();
        TgxGridControl::Dispatch(Message);
        return;
    case CM_FONTCHANGED:
        TgxGridControl::Dispatch(Message);
        if (HandleAllocated()) {
            LayoutLines();
            SetTextPosition(FTextPos, FCaretAtLineStart);
        }
        return;
    case WM_SETCURSOR:
        // The screen's cursor, when one is set, wins; else the text cursor
        // while the text can be edited or selected.
        if (Screen->Cursor() != crDefault) {
            TgxGridControl::Dispatch(Message);
            return;
        }
        SetWindowCursor(this, FKeyEdit || FMouseSelect ? crIBeam : Cursor());
        Message.Result = 1;
        return;
    case WM_PASTE:
        PasteFromClipboard(false);
        return;
    case WM_COPY:
        CopyToClipboard();
        return;
    case WM_CUT:
        CutToClipboard(false);
        return;
    default:
        TgxGridControl::Dispatch(Message);
    }
}

void TgxGridEditBox::MakeCaretBitmap() {
    FCaretBitmap.reset();
    const TTextMetric M = Metrics();
    if (!Font()->Style().Contains(fsItalic) || M.tmOverhang <= 0) return;
    int Width = M.tmOverhang + 1;
    if (Font()->Style().Contains(fsBold)) --Width;
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->SetSize(std::max(1, Width), M.tmHeight);
    TCanvas* C = Bitmap->Canvas();
    C->Brush()->SetColor(clBlack);
    C->FillRect(Rect(0, 0, Bitmap->Width(), Bitmap->Height()));
    C->Pen()->SetColor(clWhite);
    C->MoveTo(0, Bitmap->Height() - 1);
    C->LineTo(Bitmap->Width(), -1);
    FCaretBitmap = std::move(Bitmap);
}

void TgxGridEditBox::WMSetFocus(TMessage& Message) {
    TgxGridControl::WMSetFocus(Message);
    MakeCaretBitmap();
    CreateCaret(this, FCaretBitmap.get(), 1, Metrics().tmHeight);
    FCaretCreated = true;
    FCaretVisible = false;
    UpdateSystemCaret();
    if (FCaretOnFocus) {
        ShowCaret(this);
        FCaretVisible = true;
    } else {
        FShowCaretAfterMouseDown = true;
    }
    if (FSelByteLength > 0) Invalidate();
}

void TgxGridEditBox::WMKillFocus(TMessage& Message) {
    if (!Destroying()) {
        if (FCaretCreated && CaretOwner() == this) {
            HideCaret(this);
            DestroyCaret();
        }
        FCaretBitmap.reset();
        FCaretCreated = false;
        FCaretVisible = false;
        FKeyRepeat = false;
        FMouseSelecting = false;
        if (FSelByteLength > 0) Invalidate();
    }
    TgxGridControl::WMKillFocus(Message);
}

// ---- mouse ---------------------------------------------------------------------------------

void TgxGridEditBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const bool Double = Shift.Contains(ssDouble);
    if (!ComponentState().Contains(csDesigning) && !Double && !Focused()) {
        // The caret waits until the press has placed it.
        FCaretOnFocus = false;
        if (CanFocus()) SetFocus();
        FCaretOnFocus = true;
    }
    if (Button == mbLeft && (FKeyEdit || FMouseSelect) && !Double) {
        int Pos = 0;
        bool AtLineStart = true;
        GetPointCaretPos(Point(X, Y), Pos, AtLineStart);
        SetTextPosition(Pos, AtLineStart);
        SetSelection(Pos, 0);
        MoveCaretIntoView(true, 0);
        FMouseDownPoint = Point(X, Y);
        FSelAnchor = Pos;
        FMouseNotMoved = true;
        FMouseSelecting = MouseCapture();
        Invalidate();
    }
    if (FShowCaretAfterMouseDown || (FCaretCreated && !FCaretVisible)) {
        FShowCaretAfterMouseDown = false;
        if (FCaretCreated && !FCaretVisible) {
            ShowCaret(this);
            FCaretVisible = true;
        }
    }
    FKeyRepeat = false;
    TgxGridControl::MouseDown(Button, Shift, X, Y);
}

void TgxGridEditBox::MouseMove(TShiftState Shift, int X, int Y) {
    TgxGridControl::MouseMove(Shift, X, Y);
    if (!FMouseSelecting) return;
    if (FMouseNotMoved && Point(X, Y) == FMouseDownPoint) return;
    FMouseNotMoved = false;
    const bool Multi = IsMultiLine();
    if (Multi) {
        const int LastTop = MultiLineTop() + (FLines->Count() - 1 - FTopLine) * LineHeight();
        Y = std::min(Y, LastTop);
    }
    bool Scrolled = false;
    const int Len = static_cast<int>(FText.size());
    if (!Multi && X < 0) {
        if (FScrollPos > 0) {
            FScrollPos -= std::max(1, PrevCharCount(FText, FScrollPos));
            Scrolled = true;
        }
    } else if (!Multi && X >= Width()) {
        if (FScrollPos < Len) {
            FScrollPos += std::max(1, NextCharCount(FText, FScrollPos));
            Scrolled = true;
        }
    }
    int Pos = 0;
    bool AtLineStart = true;
    GetPointCaretPos(Point(std::clamp(X, 0, std::max(0, Width() - 1)), Y), Pos, AtLineStart);
    SetTextPosition(Pos, AtLineStart);
    SetSelection(std::min(FSelAnchor, Pos), std::abs(Pos - FSelAnchor));
    UpdateSystemCaret();
    Invalidate();
    // Keep scrolling while the mouse is held outside the box: one move of
    // our own waits in the queue at a time.
    if (Scrolled && MouseCapture() && !FScrollMovePosted) {
        FScrollMovePosted = true;
        PostMessage(this, WM_MOUSEMOVE, MK_LBUTTON | gxRepeatedMove, PointToLParam(X, Y));
    }
}

void TgxGridEditBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        if (MouseCapture()) SetMouseCapture(false);
        FMouseSelecting = false;
    }
    TgxGridControl::MouseUp(Button, Shift, X, Y);
}

void TgxGridEditBox::WMLButtonUp(TMessage& Message) {
    FClickPending = FMouseDown || Focused();
    TgxGridControl::WMLButtonUp(Message);
}

void TgxGridEditBox::DblClick() {
    SelectAll();
    TgxGridControl::DblClick();
}

} // namespace grid
