#pragma once
// A one-line edit for a postal code in one of two patterns, chosen by the
// first character of each new entry: a letter starts a Canadian code
// "A#A #A#", a digit a US code "#####-####" ('#' a digit, 'A' a letter).
// The user types only the letters and digits; the edit lays in, skips and
// removes the pattern's other characters itself. Keys come in upper case.
#include "components/PhoneEditPattern.h"
#include "platform/gui/StdCtrls.h"

namespace components {

class TPWZipEdit : public TEdit {
public:
    explicit TPWZipEdit(TComponent* AOwner);
    AnsiString ClassName() const override { return "TPWZipEdit"; }

    AnsiString GetFormat() const { return FFormat; }
    // SwitchLength: the text length past which typing shows the literals
    // that follow the last character; 0 means the pattern's length (always).
    void SetFormat(const AnsiString& Value, int SwitchLength);
    int GetSwitchLength() const { return FSwitchLength; }

    // The text without the literals of the last pattern that had any.
    AnsiString UnformatZip(const AnsiString& Text) const;
    // As the phone edit's FormatNumber / FullFormatNumber, with 'A' as a
    // second placeholder; without a pattern only the literals are removed.
    AnsiString FormatZip(const AnsiString& Text) const;
    AnsiString FullFormatZip(const AnsiString& Text) const;
    int GetDigitCount(const AnsiString& Text) const;
    int GetNumFormatCharsBeforePos(const AnsiString& Text, int Pos) const;
    int GetRelativeCaretPos(const AnsiString& Text, int Pos) const;
    // Whether C may go in at 1-based position Pos of the pattern (or right
    // behind a literal there).
    bool ValidateKey(char C, int Pos) const;

    // Bound to OnExit by the constructor.
    void Exit(TObject* Sender);

protected:
    void KeyPress(char& Key) override;

private:
    bool Fits(char C, int Pos) const;
    bool IsPlaceholder(char C) const { return C == '#' || C == 'A'; }
    int PlaceholderCount() const;
    // Picks the pattern the first key of a new entry asks for.
    void ChooseFormat(char Key);

    int FSwitchLength = 0;
    AnsiString FFormat;
    pattern::TCharSet FLiterals;
    pattern::TCharSet FAcceptedKeys;
};

namespace tpwzipedit {
// Puts the unit's components on the palette page "Pellworth".
void Register();
} // namespace tpwzipedit

} // namespace components
