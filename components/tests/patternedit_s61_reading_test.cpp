// The phone number and postal code edits typed into the way the operator
// types: real key events on a shown form, the displayed text and the caret
// read back after each key.
#include "components/PhoneEdit.h"
#include "components/PostalEdit.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace components {
namespace {

template <class TEditKind> class PatternEditForm {
public:
    PatternEditForm() {
        EnsureQtApplication();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 300, 120);
        Edit = new TEditKind(Form.get());
        Edit->SetParent(Form.get());
        Edit->SetBounds(10, 10, 200, 24);
        Other = new TEdit(Form.get());
        Other->SetParent(Form.get());
        Other->SetBounds(10, 50, 200, 24);
        ShowActive(*Form);
        Edit->SetFocus();
    }
    void Type(const QString& Keys) { TypeText(Edit->Widget(), Keys); }
    void Backspace() { TypeKey(Edit->Widget(), Qt::Key_Backspace, QString(QChar(8))); }
    void Leave() { Other->SetFocus(); }

    std::unique_ptr<TForm> Form;
    TEditKind* Edit;
    TEdit* Other;
};

using PhoneForm = PatternEditForm<TPWPhoneEdit>;
using ZipForm = PatternEditForm<TPWZipEdit>;

TEST(PhoneEditReading, FormatSetsTheLengthAndLaysDigitsIn) {
    PhoneForm F;
    EXPECT_EQ(F.Edit->MaxLength(), 20);
    F.Edit->SetFormat("(###) ###-####");
    EXPECT_EQ(F.Edit->MaxLength(), 14);
    struct Case {
        const char* Digits;
        const char* Short;
        const char* Full;
    } Cases[] = {
        {"", "", ""},
        {"555", "(555", "(555) "},
        {"5551", "(555) 1", "(555) 1"},
        {"5551234567", "(555) 123-4567", "(555) 123-4567"},
        {"555123456789", "(555) 123-4567", "(555) 123-4567"},
        {"(555) 12", "(555) 12", "(555) 12"},
    };
    for (const Case& C : Cases) {
        EXPECT_EQ(F.Edit->FormatNumber(C.Digits), C.Short) << C.Digits;
        EXPECT_EQ(F.Edit->FullFormatNumber(C.Digits), C.Full) << C.Digits;
    }
    EXPECT_EQ(F.Edit->GetDigitCount("(555) 12"), 5);
    EXPECT_EQ(F.Edit->GetRelativeCaretPos("(555) 12", 7), 4);

    F.Edit->SetText("5551234567");
    EXPECT_EQ(F.Edit->GetFormattedText(), "(555) 123-4567");
    EXPECT_EQ(F.Edit->Text(), "5551234567");
}

TEST(PhoneEditReading, TypingKeepsThePattern) {
    PhoneForm F;
    F.Edit->SetFormat("(###) ###-####");
    int KeyEvents = 0;
    F.Edit->OnKeyPress = [&](TObject*, char&) { ++KeyEvents; };

    F.Type("555");
    EXPECT_EQ(F.Edit->GetFormattedText(), "(555) ");
    EXPECT_EQ(F.Edit->SelStart(), 6);
    F.Type("x(");
    EXPECT_EQ(F.Edit->GetFormattedText(), "(555) ") << "letters swallowed, literals move nothing";
    F.Type("1234567");
    EXPECT_EQ(F.Edit->GetFormattedText(), "(555) 123-4567");
    EXPECT_EQ(F.Edit->Text(), "5551234567");
    F.Type("8");
    EXPECT_EQ(F.Edit->GetFormattedText(), "(555) 123-4567") << "an eleventh digit is swallowed";
    EXPECT_EQ(KeyEvents, 0) << "the edit changes its text itself";

    // A digit typed over a selected digit replaces it.
    F.Edit->SetSelStart(2);
    F.Edit->SetSelLength(1);
    F.Type("9");
    EXPECT_EQ(F.Edit->GetFormattedText(), "(595) 123-4567");
    EXPECT_EQ(F.Edit->SelStart(), 3);

    // A digit in front of a literal lands there; the caret keeps its place
    // among the digits.
    F.Edit->SetText("555123");
    ASSERT_EQ(F.Edit->GetFormattedText(), "(555) 123");
    F.Edit->SetSelStart(4);
    F.Edit->SetSelLength(0);
    F.Type("9");
    EXPECT_EQ(F.Edit->GetFormattedText(), "(555) 912-3");
    EXPECT_EQ(F.Edit->SelStart(), 7);
}

TEST(PhoneEditReading, BackspaceSkipsLiteralsAndLeavingDropsTrailingOnes) {
    PhoneForm F;
    F.Edit->SetFormat("(###) ###-####");
    F.Type("555");
    ASSERT_EQ(F.Edit->GetFormattedText(), "(555) ");
    F.Backspace();
    EXPECT_EQ(F.Edit->GetFormattedText(), "(55");
    EXPECT_EQ(F.Edit->SelStart(), 3);

    // Backspace with a selection deletes the selection.
    F.Edit->SetText("5551234567");
    F.Edit->SetSelStart(6);
    F.Edit->SetSelLength(3);
    F.Backspace();
    EXPECT_EQ(F.Edit->GetFormattedText(), "(555) 456-7");

    F.Edit->SetText("");
    F.Type("555");
    F.Leave();
    EXPECT_EQ(F.Edit->GetFormattedText(), "(555");
}

TEST(PhoneEditReading, KeysAtTheCaretTable) {
    struct Case {
        const char* Format;
        const char* Digits;
        int SelStart, SelLength;
        QString Key; // "\b" for backspace
        const char* Shown;
        int Caret;
    } Cases[] = {
        {"(###) ###-####", "555123", 6, 0, "\b", "(551) 23", 3},
        // Nothing to delete; the caret still steps over the literal after it.
        {"(###) ###-####", "555123", 0, 0, "\b", "(555) 123", 1},
        {"(###) ###-####", "555123", 9, 0, "\b", "(555) 12", 8},
        {"(###) ###-####", "555123", 1, 0, "7", "(755) 512-3", 2},
        {"(###) ###-####", "555123", 3, 0, "7", "(557) 512-3", 6},
        {"(###) ###-####", "5551234567", 4, 2, "9", "(555) 123-4567", 4},
        // A typed literal moves no digit; the full layout shows the
        // literal after the last digit.
        {"###.###.####", "555123", 3, 0, ".", "555.123.", 4},
        {"###.###.####", "555123", 3, 0, "9", "555.912.3", 5},
    };
    for (const Case& C : Cases) {
        PhoneForm F;
        F.Edit->SetFormat(C.Format);
        F.Edit->SetText(C.Digits);
        F.Edit->SetSelStart(C.SelStart);
        F.Edit->SetSelLength(C.SelLength);
        if (C.Key == "\b")
            F.Backspace();
        else
            F.Type(C.Key);
        EXPECT_EQ(F.Edit->GetFormattedText(), C.Shown)
            << C.Format << " " << C.Digits << " at " << C.SelStart << " key "
            << C.Key.toStdString();
        EXPECT_EQ(F.Edit->SelStart(), C.Caret)
            << C.Format << " " << C.Digits << " at " << C.SelStart;
    }
}

TEST(PhoneEditReading, ClipboardKeysGoToTheFramework) {
    PhoneForm F;
    F.Edit->SetFormat("(###) ###-####");
    F.Edit->SetText("5551234567");
    std::string Seen;
    F.Edit->OnKeyPress = [&](TObject*, char& Key) { Seen += std::to_string(int(Key)) + " "; };
    F.Edit->SelectAll();
    TypeKey(F.Edit->Widget(), Qt::Key_C, QString(QChar(3)), Qt::ControlModifier);
    TypeKey(F.Edit->Widget(), Qt::Key_X, QString(QChar(24)), Qt::ControlModifier);
    EXPECT_EQ(Seen, "3 24 ");
    EXPECT_EQ(F.Edit->GetFormattedText(), "");
    TypeKey(F.Edit->Widget(), Qt::Key_V, QString(QChar(22)), Qt::ControlModifier);
    EXPECT_EQ(Seen, "3 24 22 ");
    EXPECT_EQ(F.Edit->GetFormattedText(), "(555) 123-4567");
}

TEST(PhoneEditReading, WithoutAFormatItIsAPlainEdit) {
    PhoneForm F;
    int KeyEvents = 0;
    F.Edit->OnKeyPress = [&](TObject*, char&) { ++KeyEvents; };
    F.Type("+1 (555) 12a3-4.5");
    EXPECT_EQ(F.Edit->GetFormattedText(), "+1 (555) 123-4.5");
    EXPECT_EQ(F.Edit->Text(), "+1 (555) 123-4.5");
    EXPECT_EQ(KeyEvents, 16) << "every key that got through";
    F.Type("67890123456");
    EXPECT_EQ(F.Edit->Text().size(), 20u);
    F.Leave();
    EXPECT_EQ(F.Edit->Text().size(), 20u);
}

TEST(ZipEditReading, TheFirstKeyChoosesThePattern) {
    struct Case {
        const char* Typed;
        const char* Shown;
        const char* Format;
    } Cases[] = {
        {"k1a0b1", "K1A 0B1", "A#A #A#"},
        {"k1a", "K1A ", "A#A #A#"},
        {"kl1", "K1", "A#A #A#"}, // a letter where a digit goes is swallowed
        {"k1a0b1c", "K1A 0B1", "A#A #A#"},
        {"12345", "12345", "#####-####"},
        {"123456789", "12345-6789", "#####-####"},
        {"12a3", "123", "#####-####"},
        {"1234567890", "12345-6789", "#####-####"},
    };
    for (const Case& C : Cases) {
        ZipForm F;
        F.Type(C.Typed);
        EXPECT_EQ(F.Edit->Text(), C.Shown) << C.Typed;
        EXPECT_EQ(F.Edit->GetFormat(), C.Format) << C.Typed;
    }
}

TEST(ZipEditReading, ClearingAndTypingAgainSwitchesThePattern) {
    ZipForm F;
    F.Type("k1a0b1");
    ASSERT_EQ(F.Edit->Text(), "K1A 0B1");
    F.Edit->SelectAll();
    F.Backspace();
    EXPECT_EQ(F.Edit->Text(), "");
    F.Type("90210");
    EXPECT_EQ(F.Edit->Text(), "90210");
    EXPECT_EQ(F.Edit->GetFormat(), "#####-####");
    F.Type("1");
    EXPECT_EQ(F.Edit->Text(), "90210-1");
    F.Backspace();
    EXPECT_EQ(F.Edit->Text(), "90210");
    // Leaving lays what is there into the pattern without trailing literals.
    F.Edit->SetText("K1A");
    F.Leave();
    EXPECT_EQ(F.Edit->Text(), "K1A");

    // A first key that is neither letter nor digit leaves no pattern: keys
    // are typed as they come, and leaving drops only the literals of the
    // last pattern (the US code's '-').
    F.Edit->SetFocus();
    F.Edit->SelectAll();
    F.Backspace();
    F.Type(" 1-2 x");
    EXPECT_EQ(F.Edit->GetFormat(), "");
    EXPECT_EQ(F.Edit->Text(), " 1-2 X");
    F.Leave();
    EXPECT_EQ(F.Edit->Text(), " 12 X");
}

TEST(ZipEditReading, KeysAtTheCaretTable) {
    struct Case {
        const char* Typed; // typed into an empty edit first
        int SelStart, SelLength;
        QString Key; // "\b" for backspace
        const char* Shown;
        int Caret;
    } Cases[] = {
        {"k1a0b1", 7, 0, "\b", "K1A 0B", 6},
        {"k1a0", 5, 0, "\b", "K1A", 3},
        {"k1a0b1", 0, 1, "m", "M1A 0B1", 1},
        {"k1a0b1", 0, 1, "5", "K1A 0B1", 0}, // a digit does not fit the first place
        {"k1a", 3, 0, "-", "K1A ", 3},       // '-' fits no place of this pattern
        {"123456", 7, 0, "\b", "12345", 5},
        {"123456", 6, 0, "\b", "12346", 4}, // skips the '-' and deletes the 5
        {"123456", 5, 0, "\b", "12346", 4},
        {"12345", 5, 0, "-", "12345-", 6},
        {"1234", 2, 0, "9", "12934", 3},
    };
    for (const Case& C : Cases) {
        ZipForm F;
        F.Type(C.Typed);
        F.Edit->SetSelStart(C.SelStart);
        F.Edit->SetSelLength(C.SelLength);
        if (C.Key == "\b")
            F.Backspace();
        else
            F.Type(C.Key);
        EXPECT_EQ(F.Edit->Text(), C.Shown)
            << C.Typed << " at " << C.SelStart << " key " << C.Key.toStdString();
        EXPECT_EQ(F.Edit->SelStart(), C.Caret)
            << C.Typed << " at " << C.SelStart << " key " << C.Key.toStdString();
    }
}

TEST(ZipEditReading, FitTest) {
    ZipForm F;
    F.Edit->SetFormat("A#A #A#", 0);
    EXPECT_EQ(F.Edit->GetSwitchLength(), 7);
    struct Case {
        char C;
        int Pos;
        bool Fits;
    } Cases[] = {
        {'K', 1, true}, {'1', 1, false}, {'1', 2, true}, {'K', 2, false}, {' ', 4, true},
        {'0', 4, true}, {'K', 4, false}, {'1', 7, true}, {'1', 8, false}, {'-', 2, false},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(F.Edit->ValidateKey(C.C, C.Pos), C.Fits) << C.C << C.Pos;
}

} // namespace
} // namespace components
