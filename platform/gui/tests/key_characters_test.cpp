// Every character a keyboard types reaches an edit as a character, and the
// key it is typed with never reads as a navigation or command key.
#include "GuiTestSupport.h"

#include "platform/gui/Mask.h"
#include "platform/gui/StdCtrls.h"

#include <QString>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The keys a character may be typed with: letters, digits, the space bar
// and the punctuation keys. Page, arrow, Delete, Insert, F-keys are not.
bool CharacterKeyCode(Word Key) {
    return (Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z') || Key == VK_SPACE ||
           (Key >= VK_OEM_1 && Key <= VK_OEM_3) || (Key >= VK_OEM_4 && Key <= VK_OEM_7);
}

// Every printable ASCII character, then a few beyond it.
QString AllCharacters() {
    QString S;
    for (char16_t C = 0x20; C < 0x7F; ++C)
        S += QChar(C);
    return S + QString::fromUtf8("\xC3\xA9\xC3\x9F\xE2\x82\xAC\xD0\xB6"); // é ß € ж
}

class KeyCharacters : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 500, 200);
        Edit = new TEdit(Form);
        Edit->SetParent(Form);
        Edit->SetBounds(10, 10, 400, 24);
        Masked = new TMaskEdit(Form);
        Masked->SetParent(Form);
        Masked->SetBounds(10, 50, 400, 24);
        ShowActive(*Form);
    }
    void TearDown() override { delete Form; }

    // Types the text key by key, each with the key Qt gives it (the
    // character's code, upper-cased for a letter); records the keys the
    // control's OnKeyDown saw.
    std::vector<Word> TypeInto(TCustomEdit* Target, const QString& Text) {
        std::vector<Word> Seen;
        Target->OnKeyDown = [&Seen](TObject*, Word& Key, TShiftState) { Seen.push_back(Key); };
        Target->SetFocus();
        for (QChar C : Text)
            TypeKey(Target->Widget(), C.toUpper().unicode(), QString(C));
        Target->OnKeyDown = nullptr;
        return Seen;
    }

    TForm* Form = nullptr;
    TEdit* Edit = nullptr;
    TMaskEdit* Masked = nullptr;
};

} // namespace

TEST_F(KeyCharacters, EveryCharacterIsTypedIntoAnEditAndAMaskedEdit) {
    const QString All = AllCharacters();
    // The masked edit shows its blank character ('_') for a free place
    // and holds Latin-1 letters at most.
    QString ForMask = All;
    ForMask.remove(QChar('_'));
    ForMask.truncate(ForMask.size() - 2);
    // One mask place per byte of the text.
    Masked->SetEditMask(AnsiString(static_cast<std::size_t>(ForMask.toUtf8().size()), 'c') +
                        ";1;_");

    struct Case {
        const char* What;
        TCustomEdit* Target;
        QString Text;
    };
    for (const Case& C : {Case{"edit", Edit, All}, Case{"masked edit", Masked, ForMask}}) {
        const std::vector<Word> Seen = TypeInto(C.Target, C.Text);
        EXPECT_EQ(C.Target->Text(), C.Text.toUtf8().toStdString()) << C.What;
        // One key per ASCII character, none a navigation or command key;
        // the others come as characters only.
        std::size_t Ascii = 0;
        for (QChar Ch : C.Text)
            if (Ch.unicode() < 0x7F) ++Ascii;
        EXPECT_EQ(Seen.size(), Ascii) << C.What;
        for (std::size_t I = 0; I < Seen.size() && I < Ascii; ++I)
            EXPECT_TRUE(CharacterKeyCode(Seen[I]))
                << C.What << ": '" << C.Text.at(static_cast<int>(I)).toLatin1()
                << "' came as key 0x" << std::hex << Seen[I];
    }
}

TEST_F(KeyCharacters, ShiftedMarksNameTheirKeyAndKeypadKeysKeepTheirOwn) {
    struct Case {
        int QtKey;
        const char* Text;
        Qt::KeyboardModifiers Mods;
        Word Key;
    };
    const Case Cases[] = {
        {Qt::Key_Exclam, "!", Qt::ShiftModifier, '1'},
        {Qt::Key_ParenLeft, "(", Qt::ShiftModifier, '9'},
        {Qt::Key_QuoteDbl, "\"", Qt::ShiftModifier, VK_OEM_7},
        {Qt::Key_Period, ".", Qt::NoModifier, VK_OEM_PERIOD},
        {Qt::Key_Period, ".", Qt::KeypadModifier, VK_DECIMAL},
        {Qt::Key_Plus, "+", Qt::KeypadModifier, VK_ADD},
        {Qt::Key_Left, "", Qt::NoModifier, VK_LEFT},
        {Qt::Key_PageDown, "", Qt::NoModifier, VK_NEXT},
        {Qt::Key_Delete, "", Qt::NoModifier, VK_DELETE},
    };
    Edit->SetFocus();
    for (const Case& C : Cases) {
        Word Seen = 0;
        Edit->OnKeyDown = [&Seen](TObject*, Word& Key, TShiftState) { Seen = Key; };
        TypeKey(Edit->Widget(), C.QtKey, QString::fromUtf8(C.Text), C.Mods);
        EXPECT_EQ(Seen, C.Key) << "Qt key 0x" << std::hex << C.QtKey;
    }
}
