// The grid's edit box on its own, on an offscreen form: typing under the
// length limit and the mask, the keys it uses and those it leaves to the
// grid, multibyte characters, undo, the clipboard, the caret and the
// selection as drawn.
#include "grid/foundation/MaskDefs.h"
#include "grid/foundation/TextLayout.h"
#include "grid/model/EditBox.h"

#include "platform/gui/Caret.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/TimerService.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

using namespace grid;

namespace {

class EditBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 400, 300);
        Box = new TgxGridEditBox(Form);
        Box->SetParent(Form);
        Box->SetColor(clWhite);
        Box->Font()->SetName("DejaVu Sans");
        Box->Font()->SetHeight(-12);
        Box->Font()->SetColor(clBlack);
        Box->SetBounds(10, 10, 200, 20);
        Box->SetWordWrap(uiOff);
        Box->OnEndKeyDown = [this](TObject*, Word& Key, TShiftState) { Passed.push_back(Key); };
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        Clipboard()->Clear();
    }

    int Measure(std::string_view Text) {
        Box->Canvas()->SetFont(Box->Font());
        return MeasureText(Box->Canvas(), GetTextMetrics(Box->Canvas()), Text);
    }
    int LineHeight() {
        Box->Canvas()->SetFont(Box->Font());
        const TTextMetric M = GetTextMetrics(Box->Canvas());
        return M.tmHeight + TextLineSpacing(M);
    }
    void Key(int QtKey, Qt::KeyboardModifiers Mods = Qt::NoModifier, const QString& Text = {}) {
        TypeKey(Box->Widget(), QtKey, Text, Mods);
    }
    // A key pressed and not let go: the next press of it is a held key.
    void Press(int QtKey, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        QKeyEvent E(QEvent::KeyPress, QtKey, Mods, QString());
        QApplication::sendEvent(Box->Widget(), &E);
    }
    void Type(const QString& Text) {
        for (QChar C : Text)
            Key(0, Qt::NoModifier, QString(C));
    }
    void Start(const AnsiString& Text) {
        Box->SetText(Text);
        Passed.clear();
    }
    // Whether any pixel of the display line Row shows the colour.
    bool BandHas(int Row, TColor Color) {
        Box->Perform(WM_PAINT);
        for (int Y = Row * LineHeight(); Y < (Row + 1) * LineHeight(); ++Y)
            for (int X = 0; X < Box->Width(); ++X)
                if (ColorToRGB(Box->Canvas()->Pixels(X, Y)) == ColorToRGB(Color)) return true;
        return false;
    }
    TColor PixelAt(int X, int Y) {
        Box->Perform(WM_PAINT);
        return ColorToRGB(Box->Canvas()->Pixels(X, Y));
    }

    FakeTimerService Timers;
    ScopedTimerService TimerScope{Timers};
    TForm* Form = nullptr;
    TgxGridEditBox* Box = nullptr;
    std::vector<Word> Passed;
};

TEST_F(EditBoxTest, SelectionInCharactersOverMultibyteText) {
    Start("aé€b"); // 1 + 2 + 3 + 1 bytes
    Box->SetSelStart(2);
    EXPECT_EQ(Box->SelByteStart(), 3);
    EXPECT_EQ(Box->GetSelStart(), 2);
    Box->SetSelLength(1);
    EXPECT_EQ(Box->SelByteLength(), 3);
    EXPECT_EQ(Box->GetSelText(), "€");
    // A length past the end selects to the end; out-of-range values change nothing.
    Box->SetSelLength(50);
    EXPECT_EQ(Box->GetSelText(), "€b");
    EXPECT_EQ(Box->GetSelLength(), 2);
    Box->SetSelLength(-1);
    Box->SetSelStart(9);
    Box->SetSelStart(-1);
    EXPECT_EQ(Box->GetSelStart(), 2);
    EXPECT_EQ(Box->GetSelLength(), 2);
}

TEST_F(EditBoxTest, PlainMovesLeaveTheKeyToTheGridAtTheEdgesAndOverAWholeSelection) {
    // Whole text selected: Right passes without moving the caret.
    Start("abc");
    Box->SelectAll();
    Key(Qt::Key_Right);
    EXPECT_EQ(Passed, std::vector<Word>{VK_RIGHT});
    EXPECT_EQ(Box->TextPos(), 0);

    // An empty box counts as whole-selected.
    Start("");
    for (int K : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down})
        Key(K);
    EXPECT_EQ(Passed, (std::vector<Word>{VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}));

    // At the end, a fresh Right passes; a held one stops there.
    Start("abc");
    Key(Qt::Key_End);
    Passed.clear();
    Key(Qt::Key_Right);
    EXPECT_EQ(Passed, std::vector<Word>{VK_RIGHT});
    Passed.clear();
    Press(Qt::Key_Left);
    Press(Qt::Key_Right);
    Press(Qt::Key_Right);
    Press(Qt::Key_Right);
    EXPECT_TRUE(Passed.empty());
    EXPECT_EQ(Box->TextPos(), 3);
    Key(Qt::Key_Right);

    // Ctrl+Home passes only when the caret is at the start already.
    Passed.clear();
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_TRUE(Passed.empty());
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Passed, std::vector<Word>{VK_HOME});
}

TEST_F(EditBoxTest, TypingStopsAtMaxLengthCountingALineBreakAsTwo) {
    Box->SetMaxLength(5);
    Start("abcd");
    Key(Qt::Key_End);
    Key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(Box->EditText(), "abcd");
    Type("e");
    EXPECT_EQ(Box->EditText(), "abcde");
    Type("f");
    EXPECT_EQ(Box->EditText(), "abcde");
    // A multibyte character is one character.
    Start("abcd");
    Key(Qt::Key_End);
    Type("€");
    EXPECT_EQ(Box->EditText(), "abcd€");
    Type("x");
    EXPECT_EQ(Box->EditText(), "abcd€");
}

TEST_F(EditBoxTest, ControlKeysAndCharacters) {
    struct Case {
        const char* Name;
        int QtKey;
        Qt::KeyboardModifiers Mods;
        QString Text;
        const char* Expected;
    };
    const Case Cases[] = {
        {"Ctrl+Return", Qt::Key_Return, Qt::ControlModifier, QString("\n"), "ab\r\n"},
        {"Return", Qt::Key_Return, Qt::NoModifier, QString("\r"), "ab"},
        {"Ctrl+B", Qt::Key_B, Qt::ControlModifier, QString(QChar(2)), "ab\x02"},
        {"Tab", Qt::Key_Tab, Qt::NoModifier, QString("\t"), "ab"},
        {"Escape", Qt::Key_Escape, Qt::NoModifier, QString(QChar(27)), "ab"},
    };
    for (const Case& C : Cases) {
        Start("ab");
        Key(Qt::Key_End);
        Key(C.QtKey, C.Mods, C.Text);
        EXPECT_EQ(Box->EditText(), C.Expected) << C.Name;
    }
    // Ctrl+A selects all and inserts nothing.
    Start("ab");
    Key(Qt::Key_A, Qt::ControlModifier, QString(QChar(1)));
    EXPECT_EQ(Box->EditText(), "ab");
    EXPECT_EQ(Box->GetSelLength(), 2);
}

TEST_F(EditBoxTest, MultibyteTypingAndMovesNeverStopInsideACharacter) {
    Start("");
    Type("né");
    EXPECT_EQ(Box->EditText(), "né");
    EXPECT_EQ(Box->TextPos(), 3);
    Key(Qt::Key_Left);
    EXPECT_EQ(Box->TextPos(), 1);
    Key(Qt::Key_Right);
    EXPECT_EQ(Box->TextPos(), 3);
    Key(Qt::Key_Backspace, Qt::NoModifier, QString("\b"));
    EXPECT_EQ(Box->EditText(), "n");

    // Word moves take multibyte letters as letters.
    Start("naïve café ok");
    struct Step {
        int QtKey;
        int Pos;
    };
    const Step Steps[] = {{Qt::Key_Right, 7}, {Qt::Key_Right, 13}, {Qt::Key_Right, 15},
                          {Qt::Key_Left, 13}, {Qt::Key_Left, 7},   {Qt::Key_Left, 0}};
    for (const Step& S : Steps) {
        Key(S.QtKey, Qt::ControlModifier);
        EXPECT_EQ(Box->TextPos(), S.Pos);
    }
    // Shift+Right over a three-byte character selects all three bytes.
    Start("€x");
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(Box->GetSelText(), "€");
    // A lead byte whose sequence breaks off never reaches the text.
    Start("");
    Box->Perform(WM_CHAR, 0xE2);
    Box->Perform(WM_CHAR, 0x82);
    Box->Perform(WM_CHAR, 'a');
    Box->Perform(WM_CHAR, 0xC3);
    EXPECT_EQ(Box->EditText(), "a");
    Box->Perform(WM_CHAR, 0xA9);
    EXPECT_EQ(Box->EditText(), "aé");
}

TEST_F(EditBoxTest, EscapeUndoesOnceThenPassesToTheGrid) {
    Start("ab");
    Key(Qt::Key_End);
    Type("xy");
    Key(Qt::Key_Delete);
    Key(Qt::Key_Backspace, Qt::NoModifier, QString("\b"));
    EXPECT_EQ(Box->EditText(), "abx");
    Passed.clear();
    Key(Qt::Key_Escape, Qt::NoModifier, QString(QChar(27)));
    EXPECT_EQ(Box->EditText(), "ab");
    EXPECT_TRUE(Passed.empty());
    Key(Qt::Key_Escape, Qt::NoModifier, QString(QChar(27)));
    EXPECT_EQ(Passed, std::vector<Word>{VK_ESCAPE});

    // A cancelled undo still uses the key, and keeps the text.
    Type("z");
    Box->OnUndoChanged = [](TObject*, bool, bool& Cancel) { Cancel = true; };
    Passed.clear();
    Key(Qt::Key_Z, Qt::ControlModifier, QString(QChar(26)));
    EXPECT_EQ(Box->EditText(), "zab");
    EXPECT_TRUE(Passed.empty());
}

TEST_F(EditBoxTest, UndoNeverRestoresPastTheLengthLimit) {
    Start("abcdefgh");
    Key(Qt::Key_Delete);
    Box->SetMaxLength(7);
    EXPECT_FALSE(Box->Undo());
    EXPECT_EQ(Box->EditText(), "bcdefgh");
    Box->SetMaxLength(0);
    EXPECT_TRUE(Box->Undo());
    EXPECT_EQ(Box->EditText(), "abcdefgh");
}

TEST_F(EditBoxTest, APasteLongerThanMaxLengthIsRefusedWholeAndChangesNothing) {
    Box->SetMaxLength(5);
    Start("");
    Clipboard()->SetAsText("123456789");
    Key(Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
    EXPECT_EQ(Box->EditText(), "");
    Clipboard()->SetAsText("12345");
    Key(Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
    EXPECT_EQ(Box->EditText(), "12345");
    EXPECT_EQ(Box->TextPos(), 5);
    Key(Qt::Key_Left);
    Key(Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
    EXPECT_EQ(Box->EditText(), "12345");
    EXPECT_EQ(Box->TextPos(), 4);
    // A selection makes room; a line break takes two characters of it.
    Clipboard()->SetAsText("x\r\ny");
    Key(Qt::Key_Left, Qt::ShiftModifier);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Box->EditText(), "12345");
    Clipboard()->SetAsText("\r\n");
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Box->EditText(), "12\r\n5");
    // Cut and paste back.
    Key(Qt::Key_Home, Qt::ShiftModifier);
    Key(Qt::Key_X, Qt::ControlModifier, QString(QChar(24)));
    EXPECT_EQ(Box->EditText(), "5");
    EXPECT_EQ(Clipboard()->AsText(), "12\r\n");
    Key(Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
    EXPECT_EQ(Box->EditText(), "12\r\n5");
}

TEST_F(EditBoxTest, ClipboardMessagesSelectedTextAndEditKeys) {
    Start("hello world");
    Box->SetSelStart(6);
    Box->SetSelLength(5);
    Box->Perform(WM_COPY);
    EXPECT_EQ(Clipboard()->AsText(), "world");
    Box->Perform(WM_CUT);
    EXPECT_EQ(Box->EditText(), "hello ");
    Box->SetSelStart(0);
    Box->Perform(WM_PASTE);
    EXPECT_EQ(Box->EditText(), "worldhello ");
    Box->SetSelStart(5);
    Box->SetSelLength(6);
    Box->SetSelText(", ");
    EXPECT_EQ(Box->EditText(), "world, ");
    // Backspace and every printable byte start an edit; other control
    // characters do not.
    for (int C : {8, 32, int('a'), 0xC3, 0xFF})
        EXPECT_TRUE(Box->IsEditKey(static_cast<char>(C))) << C;
    for (int C : {0, 1, 9, 13, 27, 31})
        EXPECT_FALSE(Box->IsEditKey(static_cast<char>(C))) << C;
}

TEST_F(EditBoxTest, AMaskCheckedWhileTypingInsertsItsLiterals) {
    TgxMaskDefs Defs(nullptr);
    TgxMask* Mask = Defs.Masks()->Add();
    Mask->SetName("Code");
    Mask->SetPicture("###-#");
    Mask->SetEvaluate({mcOnEdit});
    Mask->SetAutoFill({mcOnEdit});
    Box->SetMaskDefs(&Defs);
    Box->SetMaskName("Code");
    std::vector<AnsiString> Refused;
    Box->OnInvalidKeys = [&Refused](TObject*, const AnsiString& Keys, bool&) {
        Refused.push_back(Keys);
    };
    Start("");
    Type("12a34");
    EXPECT_EQ(Box->EditText(), "123-4");
    EXPECT_EQ(Refused, std::vector<AnsiString>{"a"});
    // A literal that ends the picture has nothing typed after it to come
    // in front of: it is typed, or filled in by the check on leaving.
    Mask->SetPicture("###-");
    Start("");
    Type("1234");
    EXPECT_EQ(Box->EditText(), "123");
    Type("-");
    EXPECT_EQ(Box->EditText(), "123-");
    // A paste is held to the mask as well.
    Start("");
    Clipboard()->SetAsText("12x");
    Key(Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
    EXPECT_EQ(Box->EditText(), "");
    Box->SetMaskDefs(nullptr);
}

TEST_F(EditBoxTest, WrappedTextSelectedWithShiftArrows) {
    Box->SetWordWrap(uiOn);
    Box->SetBounds(10, 10, Measure("wwww ") + 6, LineHeight() * 4);
    Start("wwww xxxx yyyy");
    ASSERT_EQ(Box->LineCount(), 3);
    EXPECT_EQ(Box->LineStart(1), 5);
    EXPECT_EQ(Box->LineStart(2), 10);
    Box->SetFocus();
    Key(Qt::Key_Home, Qt::ControlModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Box->CaretRow(), 1);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(Box->GetSelText(), "wwww xxxx yyyy");
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Box->CaretRow(), 1);
    EXPECT_EQ(Box->GetSelText(), "wwww xxxx");
    // The middle line is drawn selected, the last one not.
    EXPECT_TRUE(BandHas(1, clHighlight));
    EXPECT_FALSE(BandHas(2, clHighlight));
    // Down with no shift from the middle line goes to the last.
    Key(Qt::Key_Down);
    EXPECT_EQ(Box->CaretRow(), 2);
    EXPECT_EQ(Box->GetSelLength(), 0);
}

TEST_F(EditBoxTest, TheCaretBlinksOnTheTimerAndTheSelectionShowsWithTheFocus) {
    Start("ab");
    Box->SetFocus();
    ASSERT_TRUE(Box->CaretCreated());
    Key(Qt::Key_End);
    const TPoint At = Box->CaretPoint();
    EXPECT_EQ(At.X, Measure("ab"));
    // Two pixels right of the text lies white background; the caret
    // column there is inverted while the caret shows.
    Box->SetText("");
    Box->SetSelStart(0);
    const TPoint Empty = Box->CaretPoint();
    const int Y = Empty.Y + 3;
    EXPECT_EQ(CaretOwner(), Box);
    EXPECT_EQ(PixelAt(Empty.X, Y), ColorToRGB(clBlack));
    Timers.Advance(GetCaretBlinkTime());
    EXPECT_EQ(PixelAt(Empty.X, Y), ColorToRGB(clWhite));
    Timers.Advance(GetCaretBlinkTime());
    EXPECT_EQ(PixelAt(Empty.X, Y), ColorToRGB(clBlack));

    // Selected text is drawn on the highlight only while focused.
    Start("mmmm");
    Box->SelectAll();
    EXPECT_TRUE(BandHas(0, clHighlight));
    auto* Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetTop(100);
    Other->SetFocus();
    EXPECT_FALSE(Box->CaretCreated());
    EXPECT_EQ(CaretOwner(), nullptr);
    EXPECT_FALSE(BandHas(0, clHighlight));
}

TEST_F(EditBoxTest, TypingPastTheRightEdgeScrollsTheCaretBackIntoView) {
    Box->SetBounds(10, 10, Measure("0123456789"), 20);
    Start("");
    Type("0123456789012345678901234567890123456789");
    EXPECT_GT(Box->ScrollPos(), 0);
    EXPECT_GT(Box->CaretPoint().X, 0);
    EXPECT_LT(Box->CaretPoint().X, Box->Width());
    Key(Qt::Key_Home);
    EXPECT_EQ(Box->ScrollPos(), 0);
    EXPECT_EQ(Box->CaretPoint().X, 0);
}

TEST_F(EditBoxTest, ALongLineScrolledToItsEndStillHitsTheRightCharacter) {
    // Widths summed one character at a time drift from the measure of the
    // whole run; the caret and the hit test must not.
    const AnsiString Text(600, 'm');
    Start(Text);
    Key(Qt::Key_End);
    EXPECT_EQ(Box->TextPos(), 600);
    EXPECT_GE(Box->CaretPoint().X, 0);
    EXPECT_LT(Box->CaretPoint().X, Box->Width());
    const int M = Measure("m");
    QWidget* W = Box->Widget();
    ClickAt(W, QPoint(Box->CaretPoint().X, 5));
    EXPECT_EQ(Box->TextPos(), 600);
    Box->Perform(WM_MOVE);
    ClickAt(W, QPoint(Box->CaretPoint().X - 3 * M, 5));
    EXPECT_EQ(Box->TextPos(), 597);
}

TEST_F(EditBoxTest, DraggingRightOfASingleLineBoxKeepsScrolling) {
    Box->SetBounds(10, 10, Measure("0123456789") / 2, 20);
    Start("0123456789");
    QWidget* W = Box->Widget();
    SendMouse(W, QEvent::MouseButtonPress, QPoint(1, 5));
    SendMouse(W, QEvent::MouseMove, QPoint(W->width() + 10, 5), Qt::NoButton, Qt::LeftButton);
    const int After = Box->ScrollPos();
    EXPECT_GT(After, 0);
    Application->ProcessMessages();
    EXPECT_GT(Box->ScrollPos(), After);
    EXPECT_EQ(Box->SelByteStart(), 0);
    EXPECT_GT(Box->SelByteLength(), 0);
    SendMouse(W, QEvent::MouseButtonRelease, QPoint(W->width() + 10, 5));
}

TEST_F(EditBoxTest, TheCaretStandsWhereTheTextIsDrawn) {
    // The text's last inked column lies just left of the caret at its end,
    // whatever the alignment.
    for (TAlignment Alignment : {taLeftJustify, taCenter, taRightJustify}) {
        Box->SetAlignment(Alignment);
        Start("xxx");
        Key(Qt::Key_End);
        const int CaretX = Box->CaretPoint().X;
        Box->Perform(WM_PAINT);
        int LastInk = -1;
        for (int X = 0; X < Box->Width(); ++X)
            for (int Y = 0; Y < Box->Height(); ++Y)
                if (ColorToRGB(Box->Canvas()->Pixels(X, Y)) != ColorToRGB(clWhite)) LastInk = X;
        EXPECT_GE(LastInk, CaretX - 3) << static_cast<int>(Alignment);
        EXPECT_LT(LastInk, CaretX + 1) << static_cast<int>(Alignment);
    }
    Box->SetAlignment(taRightJustify);
    Start("abc");
    EXPECT_EQ(Box->TextPos(), 3); // a right-justified box starts at the end
    Box->SelectAll();
    EXPECT_EQ(Box->TextPos(), 3);
}

TEST_F(EditBoxTest, WrappedLinesKeepTheCaretAtTheEndOfALineOrTheStartOfTheNext) {
    Box->SetWordWrap(uiOn);
    Box->SetBounds(10, 10, Measure("wwww ") + 6, LineHeight() * 3);
    Start("aaaa bbbb cccc dddd eeee ffff");
    ASSERT_EQ(Box->LineCount(), 6);
    // End on a wrapped line shows the caret at the end of that line; Right
    // then keeps the byte and shows it at the start of the next.
    Key(Qt::Key_End);
    EXPECT_EQ(Box->TextPos(), 5);
    EXPECT_EQ(Box->CaretRow(), 0);
    Key(Qt::Key_Right);
    EXPECT_EQ(Box->TextPos(), 5);
    EXPECT_EQ(Box->CaretRow(), 1);
    Key(Qt::Key_Left);
    EXPECT_EQ(Box->TextPos(), 5);
    EXPECT_EQ(Box->CaretRow(), 0);
    // Page moves go as many lines as the box shows and scroll with them.
    Key(Qt::Key_Home);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Box->CaretRow(), 3);
    EXPECT_EQ(Box->TopLine(), 3);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Box->CaretRow(), 5);
    EXPECT_EQ(Box->TextPos(), 25);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Box->CaretRow(), 2);
    EXPECT_LE(Box->TopLine(), 2);
    // The caret never stands below the box.
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_LE(Box->CaretPoint().Y + LineHeight(), Box->Height());
}

TEST_F(EditBoxTest, AClickPlacesTheCaretAtTheNearestEdgeAndADoubleClickSelectsAll) {
    Start("mmmm");
    QWidget* W = Box->Widget();
    const int M = Measure("m");
    struct Case {
        int X;
        int Pos;
    };
    for (const Case& C : {Case{1, 0}, Case{M - 1, 1}, Case{M + M / 2 + 1, 2}, Case{500, 4}}) {
        ClickAt(W, QPoint(C.X, 5));
        EXPECT_EQ(Box->TextPos(), C.Pos) << C.X;
        Box->Perform(WM_MOVE); // keep the clicks from pairing
    }
    // Dragging selects from where the button went down.
    SendMouse(W, QEvent::MouseButtonPress, QPoint(1, 5));
    SendMouse(W, QEvent::MouseMove, QPoint(2 * M + 1, 5), Qt::NoButton, Qt::LeftButton);
    SendMouse(W, QEvent::MouseButtonRelease, QPoint(2 * M + 1, 5));
    EXPECT_EQ(Box->GetSelText(), "mm");
    Box->Perform(WM_MOVE);
    ClickAt(W, QPoint(1, 5));
    ClickAt(W, QPoint(1, 5));
    EXPECT_EQ(Box->GetSelLength(), 4);
}

TEST_F(EditBoxTest, EditsKeepAnUndoStateAndValuesDropIt) {
    std::vector<bool> Changes;
    Box->OnChanged = [&Changes](TObject*, bool Edit, bool, bool) { Changes.push_back(Edit); };
    Start("old");
    Box->SetEditText("new", true);
    EXPECT_TRUE(Box->UndoSaved());
    Box->SetEditText("newer", true);
    EXPECT_TRUE(Box->Undo());
    EXPECT_EQ(Box->EditText(), "old");
    Box->SetEditText("new", false);
    EXPECT_FALSE(Box->UndoSaved());
    Key(Qt::Key_End);
    Type("s");
    Box->SetText("value");
    EXPECT_FALSE(Box->UndoSaved());
    // Edits the grid refuses change nothing.
    Box->OnEdit = [](TObject*, bool& Cancel) { Cancel = true; };
    Type("x");
    Box->SetEditText("refused", true);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Box->EditText(), "value");
    // set, edit, edit, undo (a value), edit, typed, set
    EXPECT_EQ(Changes, (std::vector<bool>{false, true, true, false, true, true, false}));
}

} // namespace
