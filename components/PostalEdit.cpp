#include "components/PostalEdit.h"
#include "components/Palette.h"
#include "platform/classes/DesignRegistry.h"
#include "platform/classes/Publish.h"
#include "platform/gui/PublishedProps.h"

#include <algorithm>
#include <cctype>

namespace components {

namespace {

constexpr char KeyCopy = 3;
constexpr char KeyPaste = 22;
constexpr char KeyCut = 24;
constexpr char KeyBackspace = 8;

const char* const CanadianFormat = "A#A #A#";
const char* const USFormat = "#####-####";
constexpr int USSwitchLength = 5;

bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}
bool IsLetter(char C) {
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z');
}

pattern::TCharSet PlaceholderSet() {
    pattern::TCharSet Set;
    pattern::AddChars(Set, "#A");
    return Set;
}

} // namespace

TPWZipEdit::TPWZipEdit(TComponent* AOwner) : TEdit(AOwner) {
    OnExit = [this](TObject* Sender) { Exit(Sender); };
    SetFormat(AnsiString(), 0);
}

void TPWZipEdit::SetFormat(const AnsiString& Value, int SwitchLength) {
    FFormat = Value;
    FSwitchLength = SwitchLength == 0 ? static_cast<int>(FFormat.size()) : SwitchLength;
    FAcceptedKeys.reset();
    pattern::AddChars(FAcceptedKeys, "0123456789- ABCDEFGHIJKLMNOPQRSTUVWXYZ.");
    FAcceptedKeys.set(static_cast<unsigned char>(KeyBackspace));
    if (FFormat.empty()) {
        SetMaxLength(20);
        return;
    }
    SetMaxLength(static_cast<int>(FFormat.size()));
    FLiterals.reset();
    for (char C : FFormat)
        if (!IsPlaceholder(C)) FLiterals.set(static_cast<unsigned char>(C));
    FAcceptedKeys |= FLiterals;
}

AnsiString TPWZipEdit::UnformatZip(const AnsiString& Text) const {
    return pattern::RemoveLiterals(Text, FLiterals);
}

AnsiString TPWZipEdit::FormatZip(const AnsiString& Text) const {
    if (FFormat.empty()) return UnformatZip(Text);
    return pattern::LayIntoFormat(FFormat, PlaceholderSet(), UnformatZip(Text), false);
}

AnsiString TPWZipEdit::FullFormatZip(const AnsiString& Text) const {
    if (FFormat.empty()) return UnformatZip(Text);
    return pattern::LayIntoFormat(FFormat, PlaceholderSet(), UnformatZip(Text), true);
}

int TPWZipEdit::GetDigitCount(const AnsiString& Text) const {
    return static_cast<int>(UnformatZip(Text).size());
}

int TPWZipEdit::GetNumFormatCharsBeforePos(const AnsiString& Text, int Pos) const {
    return pattern::LiteralsBefore(Text, Pos, FLiterals);
}

int TPWZipEdit::GetRelativeCaretPos(const AnsiString& Text, int Pos) const {
    return Pos - GetNumFormatCharsBeforePos(Text, Pos);
}

int TPWZipEdit::PlaceholderCount() const {
    return static_cast<int>(
        std::count_if(FFormat.begin(), FFormat.end(), [this](char C) { return IsPlaceholder(C); }));
}

bool TPWZipEdit::Fits(char C, int Pos) const {
    if (Pos < 1 || Pos > static_cast<int>(FFormat.size())) return false;
    const char F = FFormat[Pos - 1];
    if (IsDigit(C)) return F == '#';
    if (IsLetter(C)) return F == 'A';
    return C == F;
}

bool TPWZipEdit::ValidateKey(char C, int Pos) const {
    if (Fits(C, Pos)) return true;
    const bool LiteralThere =
        Pos >= 1 && Pos <= static_cast<int>(FFormat.size()) && !IsPlaceholder(FFormat[Pos - 1]);
    return LiteralThere && Fits(C, Pos + 1);
}

void TPWZipEdit::ChooseFormat(char Key) {
    if (IsLetter(Key))
        SetFormat(CanadianFormat, 0);
    else if (IsDigit(Key))
        SetFormat(USFormat, USSwitchLength);
    else
        SetFormat(AnsiString(), 0);
}

void TPWZipEdit::Exit(TObject*) {
    SetText(FormatZip(Text()));
}

void TPWZipEdit::KeyPress(char& Key) {
    Key = static_cast<char>(std::toupper(static_cast<unsigned char>(Key)));
    if (Key == KeyCopy || Key == KeyPaste || Key == KeyCut) {
        TEdit::KeyPress(Key);
        return;
    }
    if (!pattern::Contains(FAcceptedKeys, Key)) {
        Key = 0;
        return;
    }
    const AnsiString Shown = Text();
    if (Shown.empty()) ChooseFormat(Key);
    if (FFormat.empty()) {
        TEdit::KeyPress(Key);
        return;
    }
    pattern::TKeyEditRules Rules;
    Rules.Literals = FLiterals;
    Rules.MayInsert = [this](const pattern::TEditState& State, char C) {
        const bool Room =
            GetDigitCount(State.Text) < PlaceholderCount() || GetDigitCount(State.SelText()) > 0;
        return Room && ValidateKey(C, State.SelStart + 1);
    };
    Rules.AfterBackspace = [this](const AnsiString& Text) { return FormatZip(Text); };
    Rules.AfterInsert = [this](const AnsiString& Text) {
        const bool ShowTrailing = FSwitchLength == static_cast<int>(FFormat.size()) ||
                                  static_cast<int>(Text.size()) > FSwitchLength;
        return ShowTrailing ? FullFormatZip(Text) : FormatZip(Text);
    };
    if (const auto After = pattern::EditByKey({Shown, SelStart(), SelLength()}, Key, Rules)) {
        SetText(After->Text);
        SetSelStart(After->SelStart);
    }
    Key = 0;
}

// ---- published properties and registration -----------------------------------------

namespace {

// Nothing of its own: the pattern is chosen by the first key typed.
const TPublished<TPWZipEdit, TEdit> ZipEditClass(
    "TPWZipEdit", [](auto&) {}, true);

} // namespace

namespace tpwzipedit {

void Register() {
    RegisterComponents(PalettePage, {GetClassInfo(typeid(TPWZipEdit))});
}

} // namespace tpwzipedit

} // namespace components
