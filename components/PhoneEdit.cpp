#include "components/PhoneEdit.h"
#include "components/Palette.h"
#include "platform/classes/DesignRegistry.h"
#include "platform/classes/Publish.h"
#include "platform/gui/PublishedProps.h"

#include <algorithm>

namespace components {

namespace {

constexpr char KeyCopy = 3;
constexpr char KeyPaste = 22;
constexpr char KeyCut = 24;
constexpr char KeyBackspace = 8;
constexpr char Placeholder = '#';

pattern::TCharSet PlaceholderSet() {
    pattern::TCharSet Set;
    pattern::AddChars(Set, AnsiString(1, Placeholder));
    return Set;
}

} // namespace

TPWPhoneEdit::TPWPhoneEdit(TComponent* AOwner) : TEdit(AOwner) {
    OnExit = [this](TObject* Sender) { Exit(Sender); };
    SetFormat(FFormat);
}

void TPWPhoneEdit::SetFormat(const AnsiString& Value) {
    FFormat = Value;
    SetMaxLength(static_cast<int>(FFormat.size()));
    FAcceptedKeys.reset();
    pattern::AddChars(FAcceptedKeys, "0123456789.");
    FAcceptedKeys.set(static_cast<unsigned char>(KeyBackspace));
    if (!FFormat.empty()) {
        FLiterals.reset();
        for (char C : FFormat)
            if (C != Placeholder) FLiterals.set(static_cast<unsigned char>(C));
        FAcceptedKeys |= FLiterals;
    } else {
        SetMaxLength(20);
        pattern::AddChars(FAcceptedKeys, "() +-");
    }
}

AnsiString TPWPhoneEdit::UnformatNumber(const AnsiString& Text) const {
    if (FFormat.empty()) return Text;
    return pattern::RemoveLiterals(Text, FLiterals);
}

AnsiString TPWPhoneEdit::FormatNumber(const AnsiString& Text) const {
    if (FFormat.empty()) return Text;
    return pattern::LayIntoFormat(FFormat, PlaceholderSet(), UnformatNumber(Text), false);
}

AnsiString TPWPhoneEdit::FullFormatNumber(const AnsiString& Text) const {
    if (FFormat.empty()) return Text;
    return pattern::LayIntoFormat(FFormat, PlaceholderSet(), UnformatNumber(Text), true);
}

int TPWPhoneEdit::GetDigitCount(const AnsiString& Text) const {
    return static_cast<int>(UnformatNumber(Text).size());
}

int TPWPhoneEdit::GetNumFormatCharsBeforePos(const AnsiString& Text, int Pos) const {
    return pattern::LiteralsBefore(Text, Pos, FLiterals);
}

int TPWPhoneEdit::GetRelativeCaretPos(const AnsiString& Text, int Pos) const {
    return Pos - GetNumFormatCharsBeforePos(Text, Pos);
}

int TPWPhoneEdit::PlaceholderCount() const {
    return static_cast<int>(std::count(FFormat.begin(), FFormat.end(), Placeholder));
}

AnsiString TPWPhoneEdit::GetText() const {
    const AnsiString Shown = GetFormattedText();
    return FFormat.empty() ? Shown : UnformatNumber(Shown);
}

void TPWPhoneEdit::SetTextValue(const AnsiString& Value) {
    TEdit::SetTextValue(FFormat.empty() ? Value : FormatNumber(Value));
}

// Writes the display as it stands, past the formatting of Text: the edit
// puts literals of its own there while the user types.
void TPWPhoneEdit::SetDisplayText(const AnsiString& Value) {
    if (GetFormattedText() == Value) return;
    TEdit::SetTextValue(Value);
    TextChanged();
}

void TPWPhoneEdit::Exit(TObject*) {
    if (!FFormat.empty()) SetDisplayText(FormatNumber(GetFormattedText()));
}

void TPWPhoneEdit::KeyPress(char& Key) {
    if (Key == KeyCopy || Key == KeyPaste || Key == KeyCut) {
        TEdit::KeyPress(Key);
        return;
    }
    if (!pattern::Contains(FAcceptedKeys, Key)) {
        Key = 0;
        return;
    }
    if (FFormat.empty()) {
        TEdit::KeyPress(Key);
        return;
    }
    pattern::TKeyEditRules Rules;
    Rules.Literals = FLiterals;
    Rules.MayInsert = [this](const pattern::TEditState& State, char) {
        return GetDigitCount(State.Text) < PlaceholderCount() || GetDigitCount(State.SelText()) > 0;
    };
    Rules.AfterBackspace = [this](const AnsiString& Text) { return FormatNumber(Text); };
    Rules.AfterInsert = [this](const AnsiString& Text) { return FullFormatNumber(Text); };
    if (const auto After =
            pattern::EditByKey({GetFormattedText(), SelStart(), SelLength()}, Key, Rules)) {
        SetDisplayText(After->Text);
        SetSelStart(After->SelStart);
    }
    // The edit has changed its text itself.
    Key = 0;
}

// ---- published properties and registration -----------------------------------------

namespace {

// Text is published again after Format, so a stored number is laid into
// the stored pattern as it is read.
const TPublished<TPWPhoneEdit, TEdit> PhoneEditClass(
    "TPWPhoneEdit",
    [](auto& C) {
        C.Property("Format", &TPWPhoneEdit::GetFormat, &TPWPhoneEdit::SetFormat);
        C.Property("Text", &TControl::Text, &TControl::SetText);
    },
    true);

} // namespace

namespace tpwphoneedit {

void Register() {
    RegisterComponents(PalettePage, {GetClassInfo(typeid(TPWPhoneEdit))});
}

} // namespace tpwphoneedit

} // namespace components
