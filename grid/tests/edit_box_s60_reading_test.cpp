// The edit box driven as the grid drives it: keys it keeps or leaves to the
// grid, the length limit, undo, selection calls and the events each raises.
#include "grid/foundation/MaskDefs.h"
#include "grid/model/EditBox.h"

#include "platform/gui/Clipboard.h"
#include "platform/gui/Forms.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace grid;

namespace {

class EditBoxReadingTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 400, 300);
        Box = new TgxGridEditBox(Form);
        Box->SetParent(Form);
        Box->SetBounds(10, 10, 200, 20);
        Box->SetWordWrap(uiOff);
        Box->OnEndKeyDown = [this](TObject*, Word& K, TShiftState) { Passed.push_back(K); };
        Box->OnNotifyChanged = [this](TObject*, bool V) { Notified.push_back(V); };
        Box->OnChanged = [this](TObject*, bool A, bool B, bool C) {
            Changed.push_back(std::string{A ? "1" : "0"} + (B ? "1" : "0") + (C ? "1" : "0"));
        };
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        Clipboard()->Clear();
    }
    void Key(int QtKey, Qt::KeyboardModifiers Mods = Qt::NoModifier, const QString& Text = {}) {
        TypeKey(Box->Widget(), QtKey, Text, Mods);
    }
    void Reset() {
        Passed.clear();
        Notified.clear();
        Changed.clear();
    }

    TForm* Form = nullptr;
    TgxGridEditBox* Box = nullptr;
    std::vector<Word> Passed;
    std::vector<bool> Notified;
    std::vector<std::string> Changed;
};

TEST_F(EditBoxReadingTest, LengthLimitCountsALineBreakAsTwo) {
    Box->SetMaxLength(5);
    Box->SetEditText("abcd", false);
    Box->SetSelStart(4);
    Box->TextPosToSelStart();
    Key(Qt::Key_Return, Qt::ControlModifier, "\r");
    EXPECT_EQ(Box->EditText(), "abcd");
    TypeText(Box->Widget(), "ef");
    EXPECT_EQ(Box->EditText(), "abcde");
    Box->SetMaxLength(-3);
    EXPECT_EQ(Box->MaxLength(), 0);
}

TEST_F(EditBoxReadingTest, ControlCharactersTypedOrKept) {
    Box->SetEditText("xy", false);
    Box->SetSelStart(2);
    Box->TextPosToSelStart();
    Key(Qt::Key_B, Qt::ControlModifier, QString(QChar(2)));
    EXPECT_EQ(Box->EditText(), std::string("xy\x02"));
    Key(Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(Box->EditText(), std::string("xy\x02"));
    Key(Qt::Key_A, Qt::ControlModifier, QString(QChar(1)));
    EXPECT_EQ(Box->EditText(), std::string("xy\x02"));
    EXPECT_EQ(Box->GetSelLength(), 3);
    Key(Qt::Key_Return, Qt::ControlModifier, "\r");
    EXPECT_EQ(Box->EditText(), "\r\n");
}

TEST_F(EditBoxReadingTest, EscapeUndoesOnceThenPassesToTheGrid) {
    Box->SetText("old");
    Box->SetSelStart(3);
    Box->TextPosToSelStart();
    TypeText(Box->Widget(), "xy");
    EXPECT_EQ(Box->EditText(), "oldxy");
    Reset();
    Key(Qt::Key_Escape);
    EXPECT_EQ(Box->EditText(), "old");
    EXPECT_TRUE(Passed.empty());
    EXPECT_FALSE(Box->UndoSaved());
    Key(Qt::Key_Escape);
    EXPECT_EQ(Passed, std::vector<Word>{VK_ESCAPE});
}

TEST_F(EditBoxReadingTest, CancelledUndoStillKeepsTheKey) {
    Box->SetText("old");
    Box->SetSelStart(3);
    Box->TextPosToSelStart();
    TypeText(Box->Widget(), "x");
    Box->OnUndoChanged = [](TObject*, bool, bool& Cancel) { Cancel = true; };
    Reset();
    Key(Qt::Key_Z, Qt::ControlModifier, QString(QChar(26)));
    EXPECT_EQ(Box->EditText(), "oldx");
    EXPECT_TRUE(Passed.empty());
}

TEST_F(EditBoxReadingTest, KeysLeftToTheGrid) {
    struct Case {
        const char* Name;
        const char* Text;
        int SelStart, SelLength;
        int QtKey;
        Qt::KeyboardModifiers Mods;
        bool Passes;
        int CaretAfter;
    };
    const Case Cases[] = {
        {"right, all selected", "abc", 0, 3, Qt::Key_Right, Qt::NoModifier, true, 0},
        {"left in empty box", "", 0, 0, Qt::Key_Left, Qt::NoModifier, true, 0},
        {"right at the end", "abc", 3, 0, Qt::Key_Right, Qt::NoModifier, true, 3},
        {"right inside", "abc", 1, 0, Qt::Key_Right, Qt::NoModifier, false, 2},
        {"up one-line box", "abc", 1, 0, Qt::Key_Up, Qt::NoModifier, true, 1},
        {"ctrl home at start", "abc", 0, 0, Qt::Key_Home, Qt::ControlModifier, true, 0},
        {"ctrl end inside", "abc", 1, 0, Qt::Key_End, Qt::ControlModifier, false, 3},
        {"alt left", "abc", 2, 0, Qt::Key_Left, Qt::AltModifier, true, 2},
        {"backspace empty", "", 0, 0, Qt::Key_Backspace, Qt::NoModifier, false, 0},
        {"delete at end", "abc", 3, 0, Qt::Key_Delete, Qt::NoModifier, false, 3},
        {"page down one-line", "abc", 1, 0, Qt::Key_PageDown, Qt::NoModifier, true, 1},
        {"shift right at end", "abc", 3, 0, Qt::Key_Right, Qt::ShiftModifier, false, 3},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Box->SetText(C.Text);
        Box->SetSelStart(C.SelStart);
        Box->TextPosToSelStart();
        Box->SetSelLength(C.SelLength);
        Reset();
        Key(C.QtKey, C.Mods);
        EXPECT_EQ(!Passed.empty(), C.Passes);
        EXPECT_EQ(Box->TextPos(), C.CaretAfter);
    }
}

TEST_F(EditBoxReadingTest, SelectionCallsClampAndNotify) {
    Box->SetText("abcdef");
    Box->SetSelStart(2);
    Reset();
    Box->SetSelLength(10);
    EXPECT_EQ(Box->GetSelLength(), 4);
    EXPECT_EQ(Box->GetSelText(), "cdef");
    EXPECT_EQ(Notified, std::vector<bool>{false});
    Reset();
    Box->SetSelStart(9);
    Box->SetSelStart(-1);
    Box->SetSelLength(-2);
    EXPECT_TRUE(Notified.empty());
    EXPECT_EQ(Box->GetSelStart(), 2);
    Box->SetSelStart(1);
    EXPECT_EQ(Box->GetSelLength(), 0);
    EXPECT_EQ(Notified, std::vector<bool>{false});
}

TEST_F(EditBoxReadingTest, EditsReportTheirChange) {
    Box->SetText("abc");
    Box->SetSelStart(1);
    Box->SetSelLength(1);
    Reset();
    Box->SetSelText("XY");
    EXPECT_EQ(Box->EditText(), "aXYc");
    EXPECT_EQ(Changed, std::vector<std::string>{"100"});
    ASSERT_FALSE(Notified.empty());
    EXPECT_TRUE(Notified.back());
    Reset();
    Key(Qt::Key_Q, Qt::NoModifier, "q");
    EXPECT_EQ(Changed, std::vector<std::string>{"111"});
    Reset();
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Changed, std::vector<std::string>{"101"});
    Reset();
    Key(Qt::Key_Return, Qt::ControlModifier, "\r");
    EXPECT_EQ(Changed, std::vector<std::string>{"111"});
}

TEST_F(EditBoxReadingTest, RefusedEditsChangeNothing) {
    Box->SetText("abc");
    Box->SelectAll();
    Box->OnEdit = [](TObject*, bool& Cancel) { Cancel = true; };
    Reset();
    Key(Qt::Key_X, Qt::ControlModifier, QString(QChar(24)));
    Key(Qt::Key_Delete);
    Key(Qt::Key_Q, Qt::NoModifier, "q");
    Clipboard()->SetAsText("zz");
    Key(Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
    EXPECT_EQ(Box->EditText(), "abc");
    EXPECT_TRUE(Changed.empty());
    EXPECT_FALSE(Box->UndoSaved());
}

TEST_F(EditBoxReadingTest, PasteObeysTheLengthLimit) {
    Box->SetText("abc");
    Box->SetSelStart(3);
    Box->TextPosToSelStart();
    Box->SetMaxLength(5);
    Clipboard()->SetAsText("xyz");
    Key(Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
    EXPECT_EQ(Box->EditText(), "abc");
    Clipboard()->SetAsText("xy");
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Box->EditText(), "abcxy");
    Key(Qt::Key_Escape);
    EXPECT_EQ(Box->EditText(), "abc");
}

TEST_F(EditBoxReadingTest, EditKeys) {
    for (int C = 0; C < 256; ++C) {
        const bool Expected = C == 8 || C >= 32;
        EXPECT_EQ(Box->IsEditKey(static_cast<char>(C)), Expected) << C;
    }
}

TEST_F(EditBoxReadingTest, ShiftMovesFlipOverTheAnchor) {
    struct Step {
        int QtKey;
        Qt::KeyboardModifiers Mods;
        int SelStart, SelLength, Caret;
    };
    const Step Steps[] = {
        {Qt::Key_Left, Qt::ShiftModifier, 2, 1, 2},
        {Qt::Key_Left, Qt::ShiftModifier, 1, 2, 1},
        {Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier, 3, 1, 4},
        {Qt::Key_Home, Qt::ShiftModifier, 0, 3, 0},
        {Qt::Key_F2, Qt::NoModifier, 0, 0, 0},
    };
    Box->SetText("abc def");
    Box->SetSelStart(3);
    Box->TextPosToSelStart();
    for (const Step& S : Steps) {
        SCOPED_TRACE(S.QtKey);
        Key(S.QtKey, S.Mods);
        EXPECT_EQ(Box->GetSelStart(), S.SelStart);
        EXPECT_EQ(Box->GetSelLength(), S.SelLength);
        EXPECT_EQ(Box->TextPos(), S.Caret);
    }
}

TEST_F(EditBoxReadingTest, LeadAndTrailByteMakeOneCharacter) {
    Box->SetText("");
    QKeyEvent Lead(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("\xc3\xa9"));
    QApplication::sendEvent(Box->Widget(), &Lead);
    EXPECT_EQ(Box->EditText().size(), 2u);
    EXPECT_EQ(Box->TextPos(), 2);
    Key(Qt::Key_Left);
    EXPECT_EQ(Box->TextPos(), 0);
    Box->SelectAll();
    EXPECT_EQ(Box->GetSelLength(), 1);
}

TEST_F(EditBoxReadingTest, ValueAndRefusedSetText) {
    Box->SetText("abc");
    Box->SetSelStart(3);
    Box->TextPosToSelStart();
    TypeText(Box->Widget(), "d");
    ASSERT_TRUE(Box->UndoSaved());
    Reset();
    Box->SetText("new");
    EXPECT_FALSE(Box->UndoSaved());
    EXPECT_EQ(Box->TextPos(), 0);
    ASSERT_EQ(Changed.size(), 1u);
    EXPECT_EQ(Changed[0].substr(0, 2), "00");
    Box->OnCanChange = [](TObject*, bool, bool& Cancel) { Cancel = true; };
    Box->SetText("refused");
    EXPECT_EQ(Box->EditText(), "new");
}

TEST_F(EditBoxReadingTest, DoubleClickSelectsAll) {
    Box->SetText("hello");
    ClickAt(Box->Widget(), QPoint(5, 5));
    ClickAt(Box->Widget(), QPoint(5, 5));
    EXPECT_EQ(Box->GetSelLength(), 5);
}

TEST_F(EditBoxReadingTest, MultiLineUpDownAndPages) {
    Box->SetBounds(10, 10, 60, 120);
    Box->SetWordWrap(uiOn);
    Box->SetText("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\nj\r\nk\r\nl");
    ASSERT_TRUE(Box->IsMultiLine());
    ASSERT_EQ(Box->LineCount(), 12);
    Reset();
    Key(Qt::Key_Down);
    EXPECT_EQ(Box->CaretRow(), 1);
    Key(Qt::Key_Up);
    EXPECT_EQ(Box->CaretRow(), 0);
    Key(Qt::Key_Up);
    EXPECT_EQ(Passed, std::vector<Word>{VK_UP});
    Key(Qt::Key_PageDown);
    const int Paged = Box->CaretRow();
    EXPECT_GT(Paged, 1);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Box->CaretRow(), 0);
    EXPECT_EQ(Box->TopLine(), 0);
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Box->CaretRow(), 11);
    EXPECT_GT(Box->TopLine(), 0);
    Key(Qt::Key_Home);
    EXPECT_EQ(Box->TextPos(), Box->LineStart(11));
}

TEST_F(EditBoxReadingTest, DragPastTheRightEdgeKeepsScrolling) {
    Box->SetText("a fairly long line of text that runs well past the box edge");
    SendMouse(Box->Widget(), QEvent::MouseButtonPress, QPoint(5, 5));
    const int Anchor = Box->TextPos();
    SendMouse(Box->Widget(), QEvent::MouseMove, QPoint(260, 5), Qt::NoButton, Qt::LeftButton);
    const int First = Box->ScrollPos();
    EXPECT_GT(First, 0);
    for (int I = 0; I < 5; ++I)
        QApplication::processEvents();
    EXPECT_GT(Box->ScrollPos(), First);
    SendMouse(Box->Widget(), QEvent::MouseButtonRelease, QPoint(260, 5));
    QApplication::processEvents();
    const int Released = Box->ScrollPos();
    QApplication::processEvents();
    EXPECT_EQ(Box->ScrollPos(), Released);
    EXPECT_EQ(Box->GetSelStart(), Anchor);
    EXPECT_EQ(Box->GetSelStart() + Box->GetSelLength(), Box->TextPos());
}

TEST_F(EditBoxReadingTest, CutReportsAndAlignedSelectAll) {
    Box->SetText("abc");
    Box->SelectAll();
    Reset();
    Key(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(Box->EditText(), "");
    EXPECT_EQ(Clipboard()->AsText(), "abc");
    EXPECT_EQ(Changed, std::vector<std::string>{"101"});
    Box->SetAlignment(taRightJustify);
    Box->SetText("xyz");
    Box->SelectAll();
    EXPECT_EQ(Box->TextPos(), 3);
    EXPECT_EQ(Box->GetSelLength(), 3);
    Box->SetSelStart(1);
    Box->TextPosToSelStart();
    Reset();
    Box->SetSelStart(1);
    EXPECT_TRUE(Notified.empty());
}

TEST_F(EditBoxReadingTest, MaskRefusalIsOfferedToInvalidKeys) {
    auto* Defs = new TgxMaskDefs(Form);
    TgxMask* Mask = Defs->Masks()->Add();
    Mask->SetName("Digits");
    Mask->SetPicture("*#");
    Box->SetMaskDefs(Defs);
    Box->SetMaskName("Digits");
    Box->SetText("");
    std::vector<std::string> Offered;
    bool Accept = false;
    Box->OnInvalidKeys = [&](TObject*, const AnsiString& Keys, bool& A) {
        Offered.push_back(Keys);
        A = Accept;
    };
    TypeText(Box->Widget(), "1a");
    EXPECT_EQ(Box->EditText(), "1");
    EXPECT_EQ(Offered, std::vector<std::string>{"a"});
    Accept = true;
    TypeText(Box->Widget(), "b");
    EXPECT_EQ(Box->EditText(), "1b");
    Box->SetMaskName("");
    Accept = false;
    TypeText(Box->Widget(), "c");
    EXPECT_EQ(Box->EditText(), "1bc");
}

} // namespace
