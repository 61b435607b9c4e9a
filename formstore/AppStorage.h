#pragma once
// Application-wide storage names and form helpers: the default storage key
// or INI file name and section of a component, finding and showing forms of
// a class, a free file name in a folder, and a message to every form.
#include "platform/gui/Forms.h"
#include "platform/rtl/AnsiString.h"

#include <functional>
#include <memory>

namespace formstore {

// Put in the default registry key as "Software\<company>\<program>" when
// not empty.
extern AnsiString DefCompanyName;
// The default registry key names the program by the application's title
// (when it has one) instead of the executable's name.
extern bool RegUseAppTitle;
// When set, gives the default INI file name.
extern std::function<AnsiString()> OnGetDefaultIniName;

// The section a component's values go to by default: a form's class name;
// a control's form class name (or parent's name) followed by its own name;
// another component's name, as "<form class>.<name>" when a form owns it.
AnsiString GetDefaultSection(TComponent* Component);
// OnGetDefaultIniName's answer, else the executable's file name with the
// extension ".INI" (a bare name: the INI file lives in the configuration folder).
AnsiString GetDefaultIniName();
// "Software\" + (DefCompanyName + "\") + the title or the executable's name
// without its extension.
AnsiString GetDefaultIniRegKey();
// The storage name of the first form placement component on the control's
// owner form (else the default for UseRegistry) and the control's default
// section.
void GetDefaultIniData(TControl* Control, AnsiString& IniFileName, AnsiString& Section,
                       bool UseRegistry);

// The first form of the screen's list that is a T.
template <class T> T* FindForm() {
    for (int I = 0; I < Screen->FormCount(); ++I)
        if (auto* Form = dynamic_cast<T*>(Screen->Forms(I))) return Form;
    return nullptr;
}

// The first T whose caption is Caption (any T for an empty caption), else a
// new one made by the application with that caption; with Restore a
// minimised form comes back to normal. The form is shown.
template <class T> T* ShowFormOfClass(const AnsiString& Caption, bool Restore) {
    T* Result = nullptr;
    for (int I = 0; I < Screen->FormCount() && !Result; ++I) {
        auto* Form = dynamic_cast<T*>(Screen->Forms(I));
        if (Form && (Caption.empty() || Form->Caption() == Caption)) Result = Form;
    }
    if (!Result) {
        Application->CreateForm(Result);
        if (!Caption.empty()) Result->SetCaption(Caption);
    }
    if (Restore && Result->WindowState() == wsMinimized) Result->SetWindowState(wsNormal);
    Result->Show();
    return Result;
}

template <class T> T* FindShowForm(const AnsiString& Caption) {
    return ShowFormOfClass<T>(Caption, true);
}

// Shows a new T modally and frees it; true when it closed with OK or Yes.
template <class T> bool ShowDialog() {
    std::unique_ptr<T> Dialog(new T(Application));
    const TModalResult Result = Dialog->ShowModal();
    return Result == mrOk || Result == mrYes;
}

// Makes the form through the application only when Reference is empty.
template <class T> T* InstantiateForm(T*& Reference) {
    if (!Reference) Application->CreateForm(Reference);
    return Reference;
}

// The first name FileNameMask formats from 0, 1, 2 ... that nothing in Path
// has (a dangling link holds its name); empty when every number up to the
// largest 32-bit one is taken. A mask without a number place gives its one
// name, or empty when that is taken.
AnsiString GetUniqueFileNameInDir(const AnsiString& Path, const AnsiString& FileNameMask);

// Sends the message to every form of the screen's list, in order; the last
// answer, or -1 when there is no form.
LRESULT AppBroadcast(unsigned Msg, WPARAM WParam, LPARAM LParam);

} // namespace formstore
