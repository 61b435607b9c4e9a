#include "platform/classes/DesignRegistry.h"

#include "platform/rtl/Persistent.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <mutex>

namespace {

struct TPage {
    AnsiString Name;
    std::vector<const TClassInfo*> Classes;
};

struct TEditorEntry {
    const TTypeInfo* Type;
    const TClassInfo* Class;
    AnsiString Name;
    TPropertyEditorClass Make;
};

struct TDesignRegistry {
    std::mutex Lock;
    std::vector<TPage> Pages;
    std::vector<TEditorEntry> Editors;
};

TDesignRegistry& Registry() {
    static TDesignRegistry R;
    return R;
}

} // namespace

void RegisterComponents(const AnsiString& Page, std::initializer_list<const TClassInfo*> Classes) {
    TDesignRegistry& R = Registry();
    {
        std::lock_guard Guard(R.Lock);
        auto It = std::find_if(R.Pages.begin(), R.Pages.end(),
                               [&Page](const TPage& P) { return SameText(P.Name, Page); });
        if (It == R.Pages.end()) It = R.Pages.insert(R.Pages.end(), TPage{Page, {}});
        for (const TClassInfo* Class : Classes)
            if (Class &&
                std::find(It->Classes.begin(), It->Classes.end(), Class) == It->Classes.end())
                It->Classes.push_back(Class);
    }
    for (const TClassInfo* Class : Classes)
        RegisterClass(Class);
}

std::vector<AnsiString> PalettePages() {
    TDesignRegistry& R = Registry();
    std::lock_guard Guard(R.Lock);
    std::vector<AnsiString> Result;
    for (const TPage& P : R.Pages)
        Result.push_back(P.Name);
    return Result;
}

std::vector<const TClassInfo*> PaletteComponents(const AnsiString& Page) {
    TDesignRegistry& R = Registry();
    std::lock_guard Guard(R.Lock);
    for (const TPage& P : R.Pages)
        if (SameText(P.Name, Page)) return P.Classes;
    return {};
}

void RegisterPropertyEditor(const TTypeInfo* PropertyType, const TClassInfo* ComponentClass,
                            const AnsiString& PropertyName, TPropertyEditorClass EditorClass) {
    if (!PropertyType || !EditorClass) return;
    TDesignRegistry& R = Registry();
    std::lock_guard Guard(R.Lock);
    R.Editors.push_back({PropertyType, ComponentClass, PropertyName, std::move(EditorClass)});
}

std::unique_ptr<TPropertyEditor> CreatePropertyEditor(TPersistent* Instance,
                                                      const AnsiString& PropertyName) {
    const TPropInfo* Prop = GetPropInfo(Instance, PropertyName);
    if (!Prop) return nullptr;
    const TClassInfo* Class = GetClassInfo(Instance);
    TPropertyEditorClass Best;
    {
        TDesignRegistry& R = Registry();
        std::lock_guard Guard(R.Lock);
        int BestRank = -1;
        for (const TEditorEntry& E : R.Editors) {
            if (E.Type != Prop->PropType) continue;
            if (E.Class && !(Class && Class->InheritsFrom(E.Class))) continue;
            if (!E.Name.empty() && !SameText(E.Name, Prop->Name)) continue;
            const int Rank = (E.Class ? 2 : 0) + (E.Name.empty() ? 0 : 1);
            if (Rank >= BestRank) {
                BestRank = Rank;
                Best = E.Make;
            }
        }
    }
    if (Best) return Best(Instance, Prop);
    if (Prop->Kind() == tkEnumeration) return std::make_unique<TEnumProperty>(Instance, Prop);
    return nullptr;
}
