#include "components/DateEdit.h"
#include "components/Palette.h"
#include "platform/classes/DesignRegistry.h"
#include "platform/classes/Publish.h"
#include "platform/gui/PublishedProps.h"

#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

#include <cmath>

namespace components {

namespace {

constexpr char KeyCopy = 3;
constexpr char KeyPaste = 22;
constexpr char KeyCut = 24;
constexpr char KeyBackspace = 8;

// Blanks typed between the parts are dropped and '-' is read as the date
// separator the format sets.
AnsiString CleanDateText(const AnsiString& Text) {
    AnsiString Clean;
    for (char C : Text) {
        if (C == ' ') continue;
        Clean += C == '-' ? '/' : C;
    }
    return Clean;
}

} // namespace

TPWDateEdit::TPWDateEdit(TComponent* AOwner) : TEdit(AOwner) {
    for (char C : AnsiString("0123456789-/"))
        FAcceptedKeys.set(static_cast<unsigned char>(C));
    FAcceptedKeys.set(static_cast<unsigned char>(KeyBackspace));
    OnExit = [this](TObject* Sender) { Exit(Sender); };
    SetMaxLength(static_cast<int>(FFormat.size()));
}

void TPWDateEdit::SetFormat(const AnsiString& Value) {
    FFormat = Value;
    FormatSettings().ShortDateFormat = Value;
    FormatSettings().DateSeparator = '/';
}

void TPWDateEdit::KeyPress(char& Key) {
    // Clipboard keys go on unfiltered; what they paste is checked on exit.
    if (Key == KeyCopy || Key == KeyPaste || Key == KeyCut) {
        TEdit::KeyPress(Key);
        return;
    }
    if (FFormat.empty()) return;
    if (!FAcceptedKeys.test(static_cast<unsigned char>(Key))) Key = 0;
}

AnsiString TPWDateEdit::FormatDate(const AnsiString& Text) {
    if (Text.empty()) return Text;
    TDateTime Date;
    try {
        Date = StrToDate(CleanDateText(Text));
    } catch (const EConvertError&) {
        Application->MessageBox("Invalid date.  Re-enter as " + FFormat, "Error", 0);
        // A control that cannot take the focus (hidden, or on no form)
        // keeps the text and the message; the focus stays where it is.
        if (CanFocus() && GetParentForm(this)) SetFocus();
        return Text;
    }
    return FormatDateTime(FFormat, Date);
}

void TPWDateEdit::Exit(TObject*) {
    SetText(FormatDate(Text()));
}

void TPWDateEdit::SetDate(const TDateTime& Date) {
    if (std::trunc(Date.Val) > 0)
        SetText(FormatDateTime(FFormat, Date));
    else
        SetText(AnsiString());
}

TDateTime TPWDateEdit::GetDate() const {
    TDateTime Date;
    if (!TryStrToDate(CleanDateText(Text()), Date)) return TDateTime(0.0);
    return Date;
}

// ---- published properties and registration -----------------------------------------

namespace {

const TPublished<TPWDateEdit, TEdit> DateEditClass(
    "TPWDateEdit",
    [](auto& C) { C.Property("Format", &TPWDateEdit::GetFormat, &TPWDateEdit::SetFormat); }, true);

} // namespace

namespace tpwdateedit {

void Register() {
    RegisterComponents(PalettePage, {GetClassInfo(typeid(TPWDateEdit))});
}

} // namespace tpwdateedit

} // namespace components
