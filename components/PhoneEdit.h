#pragma once
// A one-line edit that keeps a phone number in a fixed pattern such as
// "(###) ###-####": the user types only the digits ('#'), and the edit lays
// in, skips and removes the pattern's other characters itself. Text reads
// and writes the number without them. With no pattern it is a plain edit of
// up to 20 characters that takes digits, '.', blanks and "()+-".
#include "components/PhoneEditPattern.h"
#include "platform/gui/StdCtrls.h"

namespace components {

class TPWPhoneEdit : public TEdit {
public:
    explicit TPWPhoneEdit(TComponent* AOwner);
    AnsiString ClassName() const override { return "TPWPhoneEdit"; }

    AnsiString GetFormat() const { return FFormat; }
    // Sets the pattern and MaxLength to its length (20 without a pattern).
    void SetFormat(const AnsiString& Value);

    // The text without the pattern's literals (unchanged without a pattern).
    AnsiString UnformatNumber(const AnsiString& Text) const;
    // The digits of Text laid into the pattern: FormatNumber writes literals
    // only ahead of a digit, FullFormatNumber also those after the last one.
    AnsiString FormatNumber(const AnsiString& Text) const;
    AnsiString FullFormatNumber(const AnsiString& Text) const;
    int GetDigitCount(const AnsiString& Text) const;
    int GetNumFormatCharsBeforePos(const AnsiString& Text, int Pos) const;
    int GetRelativeCaretPos(const AnsiString& Text, int Pos) const;

    // Text reads the digits only, and a written value is laid into the
    // pattern; without a pattern both pass the text as it is.
    AnsiString GetText() const override;
    // The text as displayed, literals included.
    AnsiString GetFormattedText() const { return TEdit::GetText(); }

    // Bound to OnExit by the constructor: drops the literals typing left
    // after the last digit.
    void Exit(TObject* Sender);

protected:
    void SetTextValue(const AnsiString& Value) override;
    void KeyPress(char& Key) override;

private:
    void SetDisplayText(const AnsiString& Value);
    int PlaceholderCount() const;

    AnsiString FFormat;
    pattern::TCharSet FLiterals;
    pattern::TCharSet FAcceptedKeys;
};

namespace tpwphoneedit {
// Puts the unit's components on the palette page "Pellworth".
void Register();
} // namespace tpwphoneedit

} // namespace components
