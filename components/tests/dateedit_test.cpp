// The date edit: its key filter, the rewriting on exit, the message for a
// text that is no date, and the process-wide format it sets.
#include "components/DateEdit.h"

#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/tests/GuiTestSupport.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using components::TPWDateEdit;

// Reaches the key filter without going through Qt.
class ProbeDateEdit : public TPWDateEdit {
public:
    using TPWDateEdit::KeyPress;
    using TPWDateEdit::TPWDateEdit;
};

class DateEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 300, 200);
        Edit = new ProbeDateEdit(Form);
        Edit->SetParent(Form);
        Other = new TEdit(Form);
        Other->SetParent(Form);
        Other->SetTop(40);
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        ResetFormatSettings();
    }

    TForm* Form = nullptr;
    ProbeDateEdit* Edit = nullptr;
    TEdit* Other = nullptr;
};

TEST_F(DateEditTest, WithAFormatOnlyDigitsSeparatorsAndBackspacePass) {
    Edit->SetFormat("mm/dd/yyyy");
    struct Case {
        char Key;
        bool Passes;
    };
    for (const Case& C : {Case{'0', true}, Case{'9', true}, Case{'-', true}, Case{'/', true},
                          Case{'\b', true}, Case{'a', false}, Case{' ', false}, Case{'\r', false},
                          Case{'\x1b', false}, Case{'.', false}}) {
        char Key = C.Key;
        Edit->KeyPress(Key);
        EXPECT_EQ(Key, C.Passes ? C.Key : '\0') << static_cast<int>(C.Key);
    }
    TypeText(Edit->Widget(), "12a-3 1/x4");
    EXPECT_EQ(Edit->Text(), "12-31/4");
}

TEST_F(DateEditTest, WithoutAFormatEveryKeyPasses) {
    EXPECT_EQ(Edit->MaxLength(), 0);
    for (char Key : {'a', ' ', '\r', '.'}) {
        char K = Key;
        Edit->KeyPress(K);
        EXPECT_EQ(K, Key);
    }
    TypeText(Edit->Widget(), "Dec 31");
    EXPECT_EQ(Edit->Text(), "Dec 31");
}

TEST_F(DateEditTest, OnlyClipboardKeysReachOnKeyPress) {
    std::vector<int> Seen;
    Edit->OnKeyPress = [&](TObject*, char& Key) { Seen.push_back(Key); };
    Edit->SetFormat("mm/dd/yyyy");
    for (char Key : {'\x03', '1', '\x16', 'a', '\x18'}) {
        char K = Key;
        Edit->KeyPress(K);
    }
    EXPECT_EQ(Seen, (std::vector<int>{3, 22, 24}));
}

TEST_F(DateEditTest, ValidTextsAreRewrittenInTheFormat) {
    Edit->SetFormat("mm/dd/yyyy");
    TMessageBoxRecorder Boxes;
    struct Case {
        const char* Typed;
        const char* Shown;
    };
    for (const Case& C : {Case{"12-31-2004", "12/31/2004"}, Case{"1/ 2/2004", "01/02/2004"},
                          Case{"2/29/2004", "02/29/2004"}, Case{"", ""}})
        EXPECT_EQ(Edit->FormatDate(C.Typed), C.Shown) << C.Typed;
    EXPECT_TRUE(Boxes.Boxes.empty());

    // Leaving the control does the same.
    Edit->SetFocus();
    Edit->SetText("7-4-2004");
    Other->SetFocus();
    EXPECT_EQ(Edit->Text(), "07/04/2004");
    EXPECT_TRUE(Boxes.Boxes.empty());
}

TEST_F(DateEditTest, AnInvalidDateKeepsTheTextAndTheFocus) {
    Edit->SetFormat("mm/dd/yyyy");
    TMessageBoxRecorder Boxes;
    Edit->SetFocus();
    Edit->SetText("13/45/2004");
    // The focus moves the way a click or Tab moves it.
    Other->Widget()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Edit->Text(), "13/45/2004");
    EXPECT_EQ(Form->ActiveControl(), Edit);
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_EQ(Boxes.Boxes[0].Text, "Invalid date.  Re-enter as mm/dd/yyyy");
    EXPECT_EQ(Boxes.Boxes[0].Caption, "Error");
    EXPECT_EQ(Boxes.Boxes[0].Flags, 0u);

    // Each further exit with the same text tells again.
    Other->Widget()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Boxes.Boxes.size(), 2u);
}

TEST_F(DateEditTest, AnOwnOnExitHandlerReplacesTheRewriting) {
    Edit->SetFormat("mm/dd/yyyy");
    bool Called = false;
    Edit->OnExit = [&](TObject*) { Called = true; };
    Edit->SetFocus();
    Edit->SetText("7-4-2004");
    Other->SetFocus();
    EXPECT_TRUE(Called);
    EXPECT_EQ(Edit->Text(), "7-4-2004");
}

TEST(DateEditAlone, AnInvalidDateOffAnyFormShowsTheMessageAndRaisesNothing) {
    TPWDateEdit Edit(nullptr);
    Edit.SetFormat("mm/dd/yyyy");
    TMessageBoxRecorder Boxes;
    EXPECT_EQ(Edit.FormatDate("31/12/2004"), "31/12/2004");
    EXPECT_EQ(Boxes.Boxes.size(), 1u);
    ResetFormatSettings();
}

TEST_F(DateEditTest, SetDateShowsOnlyDaysAfterDayZero) {
    Edit->SetFormat("mm/dd/yyyy");
    struct Case {
        double Date;
        const char* Shown;
    };
    for (const Case& C : {Case{0.0, ""}, Case{-1.0, ""}, Case{-400.5, ""}, Case{0.75, ""},
                          Case{1.0, "12/31/1899"}, Case{38352.6, "12/31/2004"}}) {
        Edit->SetText("x");
        Edit->SetDate(TDateTime(C.Date));
        EXPECT_EQ(Edit->Text(), C.Shown) << C.Date;
    }
}

TEST_F(DateEditTest, GetDateReadsTheTextBack) {
    Edit->SetFormat("dd/mm/yyyy");
    Edit->SetDate(EncodeDate(2004, 2, 1));
    EXPECT_EQ(Edit->Text(), "01/02/2004");
    EXPECT_EQ(static_cast<double>(Edit->GetDate()), static_cast<double>(EncodeDate(2004, 2, 1)));
    Edit->SetText("");
    EXPECT_EQ(static_cast<double>(Edit->GetDate()), 0.0);
    Edit->SetText("45/45/2004");
    EXPECT_EQ(static_cast<double>(Edit->GetDate()), 0.0);
}

TEST_F(DateEditTest, TheLastFormatSetDecidesHowEveryDateEditParses) {
    auto* European = new TPWDateEdit(Form);
    European->SetFormat("dd/mm/yyyy");
    EXPECT_EQ(FormatSettings().ShortDateFormat, "dd/mm/yyyy");
    EXPECT_EQ(European->FormatDate("02/01/2004"), "02/01/2004");

    FormatSettings().DateSeparator = '.';
    Edit->SetFormat("mm/dd/yyyy");
    EXPECT_EQ(FormatSettings().DateSeparator, '/');
    // Read month first now, written back day first.
    EXPECT_EQ(European->FormatDate("02/01/2004"), "01/02/2004");
}

} // namespace
