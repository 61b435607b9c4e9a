// The phone number edit: laying digits into its pattern, and typing,
// deleting and leaving with the caret kept among the digits.
#include "components/PhoneEdit.h"

#include "platform/gui/Forms.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

namespace {

using components::TPWPhoneEdit;

const char* const UsPhone = "(###) ###-####";

void Backspace(TWinControl* C) {
    TypeKey(C->Widget(), Qt::Key_Backspace, "\b");
}

class PhoneEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 300, 200);
        Edit = new TPWPhoneEdit(Form);
        Edit->SetParent(Form);
        Other = new TEdit(Form);
        Other->SetParent(Form);
        Other->SetTop(40);
        Form->Show();
    }
    void TearDown() override { delete Form; }

    TForm* Form = nullptr;
    TPWPhoneEdit* Edit = nullptr;
    TEdit* Other = nullptr;
};

TEST_F(PhoneEditTest, DigitsAreLaidIntoThePattern) {
    Edit->SetFormat(UsPhone);
    EXPECT_EQ(Edit->MaxLength(), 14);
    struct Case {
        const char* Text;
        const char* Plain;
        const char* Full;
    };
    for (const Case& C :
         {Case{"", "", ""}, Case{"555", "(555", "(555) "}, Case{"5551", "(555) 1", "(555) 1"},
          Case{"555123", "(555) 123", "(555) 123-"},
          Case{"5551234567", "(555) 123-4567", "(555) 123-4567"},
          Case{"555123456789", "(555) 123-4567", "(555) 123-4567"},
          Case{"(55)5-1", "(555) 1", "(555) 1"}, Case{"5.5", "(5.5", "(5.5) "}}) {
        EXPECT_EQ(Edit->FormatNumber(C.Text), C.Plain) << C.Text;
        EXPECT_EQ(Edit->FullFormatNumber(C.Text), C.Full) << C.Text;
    }
    EXPECT_EQ(Edit->UnformatNumber("(555) 123-4567"), "5551234567");
    EXPECT_EQ(Edit->GetDigitCount("(555) 12"), 5);
    // The caret counted in digits: after "(5" it stands behind one digit,
    // after "(555) " behind three.
    EXPECT_EQ(Edit->GetRelativeCaretPos("(555) 12", 2), 1);
    EXPECT_EQ(Edit->GetRelativeCaretPos("(555) 12", 6), 3);
    EXPECT_EQ(Edit->GetNumFormatCharsBeforePos("(555) 12", 99), 3);
}

TEST_F(PhoneEditTest, WithoutAPatternItIsAPlainLimitedEdit) {
    EXPECT_EQ(Edit->MaxLength(), 20);
    EXPECT_EQ(Edit->FormatNumber("5-5"), "5-5");
    TypeText(Edit->Widget(), "+1 (555) x123-45.67 8999");
    EXPECT_EQ(Edit->Text(), "+1 (555) 123-45.67 8");
    EXPECT_EQ(Edit->GetFormattedText(), Edit->Text());
}

TEST_F(PhoneEditTest, TypingFillsThePatternAndTextHasOnlyTheDigits) {
    Edit->SetFormat(UsPhone);
    TypeText(Edit->Widget(), "555");
    EXPECT_EQ(Edit->GetFormattedText(), "(555) ");
    EXPECT_EQ(Edit->SelStart(), 6);
    TypeText(Edit->Widget(), "12a34567");
    EXPECT_EQ(Edit->GetFormattedText(), "(555) 123-4567");
    EXPECT_EQ(Edit->Text(), "5551234567");
    // The pattern is full: an eleventh digit is refused.
    TypeText(Edit->Widget(), "8");
    EXPECT_EQ(Edit->GetFormattedText(), "(555) 123-4567");

    // A digit typed over a selected digit replaces it.
    Edit->SetSelStart(7);
    Edit->SetSelLength(1);
    TypeText(Edit->Widget(), "9");
    EXPECT_EQ(Edit->GetFormattedText(), "(555) 193-4567");
    EXPECT_EQ(Edit->SelStart(), 8);
}

TEST_F(PhoneEditTest, TypingInTheMiddleKeepsTheCaretAmongTheDigits) {
    Edit->SetFormat(UsPhone);
    TypeText(Edit->Widget(), "5551234");
    // A digit typed just before a literal goes in there; the digits flow
    // on through the pattern and the caret stays behind the new one.
    Edit->SetSelStart(4);
    TypeText(Edit->Widget(), "0");
    EXPECT_EQ(Edit->GetFormattedText(), "(555) 012-34");
    EXPECT_EQ(Edit->SelStart(), 7);
    // A typed literal moves nothing.
    TypeText(Edit->Widget(), "-");
    EXPECT_EQ(Edit->GetFormattedText(), "(555) 012-34");
    EXPECT_EQ(Edit->SelStart(), 7);
    // Typed at the start, the digit goes behind the opening literal.
    Edit->SetSelStart(0);
    TypeText(Edit->Widget(), "7");
    EXPECT_EQ(Edit->GetFormattedText(), "(755) 501-234");
    EXPECT_EQ(Edit->SelStart(), 2);
}

TEST_F(PhoneEditTest, BackspaceSkipsLiteralsToTheDigitBeforeThem) {
    Edit->SetFormat(UsPhone);
    TypeText(Edit->Widget(), "555");
    Backspace(Edit);
    EXPECT_EQ(Edit->GetFormattedText(), "(55");
    EXPECT_EQ(Edit->SelStart(), 3);
    Backspace(Edit);
    Backspace(Edit);
    EXPECT_EQ(Edit->GetFormattedText(), "");
    Backspace(Edit);
    EXPECT_EQ(Edit->GetFormattedText(), "");

    // With a selection only the selection goes, and the caret stays.
    TypeText(Edit->Widget(), "5551234");
    Edit->SetSelStart(2);
    Edit->SetSelLength(6);
    Backspace(Edit);
    EXPECT_EQ(Edit->GetFormattedText(), "(534");
    EXPECT_EQ(Edit->SelStart(), 2);
}

TEST_F(PhoneEditTest, LeavingDropsTheLiteralsAfterTheLastDigit) {
    Edit->SetFormat(UsPhone);
    Edit->SetFocus();
    TypeText(Edit->Widget(), "555");
    Other->SetFocus();
    EXPECT_EQ(Edit->GetFormattedText(), "(555");
}

TEST_F(PhoneEditTest, SettingTextLaysItIntoThePattern) {
    Edit->SetFormat(UsPhone);
    TControl* AsControl = Edit;
    AsControl->SetText("555-123-4567");
    EXPECT_EQ(Edit->GetFormattedText(), "(555) 123-4567");
    EXPECT_EQ(AsControl->Text(), "5551234567");
    // Writing the digits back changes nothing.
    int Changes = 0;
    Edit->OnChange = [&](TObject*) { ++Changes; };
    Edit->SetText("5551234567");
    EXPECT_EQ(Changes, 0);
}

TEST_F(PhoneEditTest, OnlyClipboardKeysReachOnKeyPressUnderAPattern) {
    Edit->SetFormat(UsPhone);
    std::vector<int> Seen;
    Edit->OnKeyPress = [&](TObject*, char& Key) { Seen.push_back(Key); };
    TypeText(Edit->Widget(), "5a");
    TypeKey(Edit->Widget(), Qt::Key_C, "\x03", Qt::ControlModifier);
    EXPECT_EQ(Seen, (std::vector<int>{3}));
}

} // namespace
