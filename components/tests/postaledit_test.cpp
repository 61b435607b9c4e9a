// The postal code edit: the pattern the first key picks, what fits where,
// and when the literals after the last character show.
#include "components/PostalEdit.h"

#include "platform/gui/Forms.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

namespace {

using components::TPWZipEdit;

class PostalEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 300, 200);
        Edit = new TPWZipEdit(Form);
        Edit->SetParent(Form);
        Other = new TEdit(Form);
        Other->SetParent(Form);
        Other->SetTop(40);
        Form->Show();
    }
    void TearDown() override { delete Form; }

    void Type(const char* Keys) { TypeText(Edit->Widget(), Keys); }
    void Backspace() { TypeKey(Edit->Widget(), Qt::Key_Backspace, "\b"); }

    TForm* Form = nullptr;
    TPWZipEdit* Edit = nullptr;
    TEdit* Other = nullptr;
};

TEST_F(PostalEditTest, TypedCodesFollowThePatternTheirFirstKeyPicks) {
    struct Case {
        const char* Keys;
        const char* Shown;
        const char* Format;
    };
    for (const Case& C : {
             Case{"k1a0b1", "K1A 0B1", "A#A #A#"},
             Case{"k1a", "K1A ", "A#A #A#"},        // the blank shows at once
             Case{"k1a 0b1", "K1A 0B1", "A#A #A#"}, // a typed literal changes nothing
             Case{"kb1", "K1", "A#A #A#"},          // a letter where a digit goes
             Case{"k1a0b1c", "K1A 0B1", "A#A #A#"},
             Case{"12345", "12345", "#####-####"}, // the '-' waits for a sixth digit
             Case{"123456", "12345-6", "#####-####"}, Case{"123456789", "12345-6789", "#####-####"},
             Case{"12a3", "123", "#####-####"},
             Case{"-12", "-12", ""}, // no pattern: typed as it comes
         }) {
        Edit->SetText("");
        Type(C.Keys);
        EXPECT_EQ(Edit->Text(), C.Shown) << C.Keys;
        EXPECT_EQ(Edit->GetFormat(), C.Format) << C.Keys;
    }
}

TEST_F(PostalEditTest, AnEmptiedFieldPicksThePatternAgain) {
    Type("k1a");
    EXPECT_EQ(Edit->MaxLength(), 7);
    Edit->SetText("");
    Type("9");
    EXPECT_EQ(Edit->GetFormat(), "#####-####");
    EXPECT_EQ(Edit->GetSwitchLength(), 5);
    EXPECT_EQ(Edit->MaxLength(), 10);
    EXPECT_EQ(Edit->Text(), "9");

    // Emptied by backspace too.
    Backspace();
    Type("h");
    EXPECT_EQ(Edit->GetFormat(), "A#A #A#");
}

TEST_F(PostalEditTest, KeysFitTheirPlaceOrTheOneBehindALiteral) {
    Type("k");
    struct Case {
        char Key;
        int Pos;
        bool Fits;
    };
    for (const Case& C : {Case{'0', 2, true}, Case{'B', 2, false}, Case{'B', 3, true},
                          Case{' ', 4, true}, Case{'0', 4, true}, Case{'B', 4, false},
                          Case{'1', 7, true}, Case{'1', 8, false}, Case{'.', 2, false}})
        EXPECT_EQ(Edit->ValidateKey(C.Key, C.Pos), C.Fits) << C.Key << " at " << C.Pos;
}

TEST_F(PostalEditTest, BackspaceAndLeavingDropTrailingLiterals) {
    Type("123456");
    Backspace();
    EXPECT_EQ(Edit->Text(), "12345");

    Edit->SetText("");
    Type("k1a");
    Edit->SetFocus();
    Other->SetFocus();
    EXPECT_EQ(Edit->Text(), "K1A");
}

TEST_F(PostalEditTest, LeavingWithoutAPatternRemovesTheLastPatternsLiterals) {
    Type("1234567");
    Edit->SetText("");
    Type(" 12-3");
    EXPECT_EQ(Edit->GetFormat(), "");
    Edit->SetFocus();
    Other->SetFocus();
    EXPECT_EQ(Edit->Text(), " 123");
}

} // namespace
