// The date edit on a shown form: the keys it lets through, the text it
// writes back when the focus leaves it, the message for a text that is no
// date, and the process-wide format it sets.
#include "components/DateEdit.h"
#include "platform/classes/Filer.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Streams.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

using namespace components;

namespace {

class DateEntry : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 300, 200);
        Edit = new TPWDateEdit(Form);
        Edit->SetParent(Form);
        Edit->SetBounds(10, 10, 120, 24);
        Other = new TEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(10, 50, 120, 24);
        Form->Show();
        Edit->OnKeyPress = [this](TObject*, char& Key) { Reached.push_back(Key); };
    }
    void TearDown() override {
        delete Form;
        ResetFormatSettings();
    }

    void Type(int QtKey, const QString& Text, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
        Edit->SetFocus();
        QWidget* W = QApplication::focusWidget() ? QApplication::focusWidget() : Edit->Widget();
        QKeyEvent Down(QEvent::KeyPress, QtKey, Modifiers, Text);
        QApplication::sendEvent(W, &Down);
        QKeyEvent Up(QEvent::KeyRelease, QtKey, Modifiers, Text);
        QApplication::sendEvent(W, &Up);
    }
    void TypeText(const char* Text) {
        for (const char* p = Text; *p; ++p)
            Type(0, QString(QChar(*p)));
    }
    // Types Text into the edit and moves the focus away.
    void EnterAndLeave(const AnsiString& Text) {
        Edit->SetFocus();
        Edit->SetText(Text);
        Other->SetFocus();
    }

    TForm* Form = nullptr;
    TPWDateEdit* Edit = nullptr;
    TEdit* Other = nullptr;
    std::vector<char> Reached;
};

TEST_F(DateEntry, WithAFormatOnlyDigitsSeparatorsAndBackspacePass) {
    Edit->SetFormat("mm/dd/yyyy");
    TypeText("1a2 -/");
    Type(Qt::Key_Return, "\r");
    Type(Qt::Key_Escape, "\x1b");
    EXPECT_EQ(Edit->Text(), "12-/");
    Type(Qt::Key_Backspace, "\b");
    EXPECT_EQ(Edit->Text(), "12-");
    EXPECT_TRUE(Reached.empty()); // typed keys never reach OnKeyPress
    EXPECT_EQ(Edit->MaxLength(), 0);
}

TEST_F(DateEntry, WithoutAFormatEveryKeyPasses) {
    TypeText("ab 1");
    EXPECT_EQ(Edit->Text(), "ab 1");
    EXPECT_TRUE(Reached.empty());
}

TEST_F(DateEntry, ClipboardKeysReachOnKeyPress) {
    for (const char* Format : {"mm/dd/yyyy", ""}) {
        SCOPED_TRACE(Format);
        Edit->SetFormat(Format);
        Reached.clear();
        Type(Qt::Key_C, "\x03", Qt::ControlModifier);
        Type(Qt::Key_V, "\x16", Qt::ControlModifier);
        Type(Qt::Key_X, "\x18", Qt::ControlModifier);
        EXPECT_EQ(Reached, (std::vector<char>{3, 22, 24}));
    }
}

TEST_F(DateEntry, LeavingTheControlRewritesTheDateInItsFormat) {
    TMessageBoxRecorder Boxes;
    struct Case {
        const char* Format;
        const char* Typed;
        const char* Shown;
    } const Cases[] = {
        {"mm/dd/yyyy", "12-31-2004", "12/31/2004"},
        {"mm/dd/yyyy", "1/ 2/2004", "01/02/2004"},
        {"mm/dd/yyyy", "", ""},
        {"dd/mm/yyyy", "31-12-2004", "31/12/2004"},
        {"dd-mm-yyyy", "5/6/2004", "05-06-2004"},
    };
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.Typed);
        Edit->SetFormat(c.Format);
        EXPECT_EQ(FormatSettings().ShortDateFormat, c.Format);
        EXPECT_EQ(FormatSettings().DateSeparator, '/');
        EnterAndLeave(c.Typed);
        EXPECT_EQ(Edit->Text(), c.Shown);
    }
    EXPECT_TRUE(Boxes.Boxes.empty());
}

// Without a format of its own the edit reads and writes the application's
// short date format: a date typed there is never lost.
TEST_F(DateEntry, WithoutAFormatADateKeepsTheApplicationsForm) {
    TMessageBoxRecorder Boxes;
    EnterAndLeave("12/31/2004");
    EXPECT_EQ(Edit->Text(), "12/31/2004");
    EnterAndLeave("1-2-2004");
    EXPECT_EQ(Edit->Text(), "1/2/2004");
    EXPECT_TRUE(Boxes.Boxes.empty());
}

TEST_F(DateEntry, NumbersTooLargeForADateAreNoDate) {
    TMessageBoxRecorder Boxes;
    Edit->SetFormat("mm/dd/yyyy");
    for (const char* Text : {"99999999999/1/1", "1/1/99999", "1/99999999999999999999/2004"}) {
        SCOPED_TRACE(Text);
        EXPECT_NO_THROW(EnterAndLeave(Text));
        EXPECT_EQ(Edit->Text(), Text);
    }
    EXPECT_EQ(Boxes.Boxes.size(), 3u);
}

TEST_F(DateEntry, ATextThatIsNoDateStaysWithAMessageAndTheFocusBack) {
    TMessageBoxRecorder Boxes;
    Edit->SetFormat("mm/dd/yyyy");
    for (int Exit = 1; Exit <= 2; ++Exit) {
        EnterAndLeave("13/45/2004");
        EXPECT_EQ(Edit->Text(), "13/45/2004");
        EXPECT_TRUE(Edit->Focused());
        ASSERT_EQ(Boxes.Boxes.size(), static_cast<std::size_t>(Exit));
        EXPECT_EQ(Boxes.Boxes.back().Text, "Invalid date.  Re-enter as mm/dd/yyyy");
        EXPECT_EQ(Boxes.Boxes.back().Caption, "Error");
        EXPECT_EQ(Boxes.Boxes.back().Flags, 0u);
    }
}

TEST_F(DateEntry, SetDateShowsOnlyDatesAfterDayZero) {
    Edit->SetFormat("mm/dd/yyyy");
    struct Case {
        double Date;
        const char* Shown;
    } const Cases[] = {
        {0.0, ""}, {-3.0, ""}, {0.75, ""}, {-0.5, ""}, {1.0, "12/31/1899"}, {38353.25, "01/01/2005"},
    };
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.Date);
        Edit->SetText("x");
        Edit->SetDate(TDateTime(c.Date));
        EXPECT_EQ(Edit->Text(), c.Shown);
    }
}

TEST_F(DateEntry, GetDateReadsTheTextQuietly) {
    TMessageBoxRecorder Boxes;
    Edit->SetFormat("mm/dd/yyyy");
    Edit->SetText("01/01/2005");
    EXPECT_DOUBLE_EQ(static_cast<double>(Edit->GetDate()), 38353.0);
    for (const char* Text : {"", "13/45/2004", "junk"}) {
        Edit->SetText(Text);
        EXPECT_DOUBLE_EQ(static_cast<double>(Edit->GetDate()), 0.0) << Text;
    }
    EXPECT_TRUE(Boxes.Boxes.empty());
}

// The message names the format as it stands, whatever characters it holds.
TEST_F(DateEntry, TheMessageQuotesTheFormatLiterally) {
    TMessageBoxRecorder Boxes;
    Edit->SetFormat("dd/mm/yyyy %s %d");
    EnterAndLeave("junk");
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_EQ(Boxes.Boxes[0].Text, "Invalid date.  Re-enter as dd/mm/yyyy %s %d");
    EXPECT_EQ(Edit->Text(), "junk");
}

TEST_F(DateEntry, TheFormatSetLastDecidesHowEveryDateEditParses) {
    TMessageBoxRecorder Boxes;
    Edit->SetFormat("mm/dd/yyyy");
    TPWDateEdit Second(nullptr);
    Second.SetFormat("dd/mm/yyyy");
    // 12/31/2004 is now read day first: no date.
    EnterAndLeave("12/31/2004");
    EXPECT_EQ(Edit->Text(), "12/31/2004");
    EXPECT_EQ(Boxes.Boxes.size(), 1u);
    EnterAndLeave("31/12/2004");
    EXPECT_EQ(Edit->Text(), "12/31/2004");
}

TEST_F(DateEntry, AStreamedFormatBecomesTheApplicationsFormat) {
    Edit->SetFormat("dd.mm.yyyy");
    TMemoryStream Stream;
    WriteComponentRes(&Stream, Edit);
    ResetFormatSettings();
    TPWDateEdit Read(nullptr);
    Stream.SetPosition(0);
    ReadComponentRes(&Stream, &Read);
    EXPECT_EQ(Read.GetFormat(), "dd.mm.yyyy");
    EXPECT_EQ(FormatSettings().ShortDateFormat, "dd.mm.yyyy");
    EXPECT_EQ(FormatSettings().DateSeparator, '/');
    EXPECT_EQ(Read.MaxLength(), 0);
}

TEST_F(DateEntry, AnOnExitHandlerOfTheFormReplacesTheRewrite) {
    Edit->SetFormat("mm/dd/yyyy");
    int Exits = 0;
    Edit->OnExit = [&](TObject*) { ++Exits; };
    EnterAndLeave("12-31-2004");
    EXPECT_EQ(Exits, 1);
    EXPECT_EQ(Edit->Text(), "12-31-2004");
}

} // namespace
