#include "components/package/Pellworth.h"

#include "components/ColorBitBtn.h"
#include "components/DateEdit.h"
#include "components/MonthCalendarEditor.h"
#include "components/PaletteBitmaps.h"
#include "components/PellworthGrid.h"
#include "components/PhoneEdit.h"
#include "components/PostalEdit.h"
#include "components/QuarterHourPicker.h"
#include "components/SlidingPanel.h"
#include "platform/classes/DesignRegistry.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <string>
#include <vector>

void Register() {
    // The package's unit order; the units without components (registry
    // routines, word extraction, saved-column helpers) register nothing.
    components::tcolorbitbtn::Register();
    components::tpwdateedit::Register();
    components::pwcalendar::Register();
    components::tpellworthgrid::Register();
    components::tpwphoneedit::Register();
    components::tpwzipedit::Register();
    components::tcustomdatetimepicker::Register();
    components::tslidingpanel::Register();
}

const char* PellworthDescription() {
    return components::PackageDescription;
}

const char* PellworthPaletteBitmap(const char* Name) {
    // Made once each; the texts live as long as the library.
    static const std::map<std::string, std::string> Bitmaps = [] {
        std::map<std::string, std::string> Made;
        for (const char* Resource :
             {"TCOLORBITBTN", "TPWCALENDAR", "TPWDATEEDIT", "TPWPHONEEDIT", "TPWZIPEDIT"})
            Made[Resource] = components::PaletteBitmap(Resource);
        return Made;
    }();
    if (!Name) return nullptr;
    std::string Key(Name);
    for (char& C : Key)
        C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
    const auto It = Bitmaps.find(Key);
    return It == Bitmaps.end() ? nullptr : It->second.c_str();
}

unsigned PellworthPaletteColor(int Index) {
    return components::PaletteColor(Index);
}

int PellworthPaletteComponents(const char* Page, TPellworthNameProc Proc, void* Data) {
    const std::vector<const TClassInfo*> Classes = PaletteComponents(Page ? Page : "");
    for (const TClassInfo* Class : Classes)
        if (Proc) Proc(Class->ClassName.c_str(), Data);
    return static_cast<int>(Classes.size());
}

int PellworthPropertyValues(const char* ClassName, const char* PropName, TPellworthNameProc Proc,
                            void* Data) {
    // Nothing may leave a C function as an exception: a failure to make the
    // component or its editor is reported as "no value list".
    try {
        const TClassInfo* Class = GetClass(ClassName ? ClassName : "");
        if (!Class || !Class->Create) return -1;
        const std::unique_ptr<TComponent> Instance(Class->Create(nullptr));
        const std::unique_ptr<TPropertyEditor> Editor =
            CreatePropertyEditor(Instance.get(), PropName ? PropName : "");
        if (!Editor || !Editor->GetAttributes().Contains(paValueList)) return -1;
        std::vector<AnsiString> Values;
        Editor->GetValues([&Values](const AnsiString& Value) { Values.push_back(Value); });
        // As the designer's drop-down shows them: sorted when the editor
        // asks for it (an enumeration without an editor of its own does).
        if (Editor->GetAttributes().Contains(paSortList))
            std::stable_sort(
                Values.begin(), Values.end(),
                [](const AnsiString& A, const AnsiString& B) { return AnsiCompareText(A, B) < 0; });
        for (const AnsiString& Value : Values)
            if (Proc) Proc(Value.c_str(), Data);
        return static_cast<int>(Values.size());
    } catch (...) {
        return -1;
    }
}
