#pragma once
// A one-line edit for dates typed in a short numeric form. While a format
// is set it lets through only digits, '-', '/' and backspace; on leaving
// the control it parses what was typed and writes it back in its format.
// Text that is no date stays as typed, with a message naming the format.
//
// The format is process-wide in effect: setting it changes the short date
// format and date separator every date parse of the application uses.
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/TDateTime.h"

#include <bitset>

namespace components {

class TPWDateEdit : public TEdit {
public:
    explicit TPWDateEdit(TComponent* AOwner);
    AnsiString ClassName() const override { return "TPWDateEdit"; }

    AnsiString GetFormat() const { return FFormat; }
    // Also makes Value the process-wide short date format, with '/' as the
    // date separator, so that the texts this edit writes parse back.
    void SetFormat(const AnsiString& Value);

    // The text rewritten in the format; an empty text as it is. A text that
    // is no date comes back as passed, after the "Invalid date" message,
    // and the focus goes back to the control.
    AnsiString FormatDate(const AnsiString& Text);
    // Bound to OnExit by the constructor: normalises Text.
    void Exit(TObject* Sender);
    // Dates on or before 1899-12-30 (whole day 0 or less) show as empty.
    void SetDate(const TDateTime& Date);
    // The date Text holds under the process-wide format; 0 (which SetDate
    // shows as empty) for an empty text or one that is no date.
    TDateTime GetDate() const;

protected:
    void KeyPress(char& Key) override;

private:
    AnsiString FFormat;
    std::bitset<256> FAcceptedKeys;
};

namespace tpwdateedit {
// Puts the unit's components on the palette page "Pellworth".
void Register();
} // namespace tpwdateedit

} // namespace components
