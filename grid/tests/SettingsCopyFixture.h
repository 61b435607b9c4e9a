#pragma once
// The copies a program makes of a grid's settings: its saved state, an
// assignment, a form file (binary and text) and a form's stored properties.
#include "formstore/PropsStorage.h"
#include "grid/model/GxGrid.h"
#include "grid/tests/FormTextFixture.h"
#include "platform/classes/TypInfo.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>

namespace settings_copy {

inline const TPropInfo& Prop(const grid::TgxGrid& G, const char* Name) {
    const TPropInfo* P = GetPropInfo(&G, Name);
    if (!P) throw std::runtime_error(std::string("not published: ") + Name);
    return *P;
}

// The grid's saved state, values included.
inline std::string Saved(grid::TgxGrid& G) {
    TMemoryStream S;
    G.SaveToStream(&S, true);
    return std::string(static_cast<const char*>(S.Memory()), static_cast<std::size_t>(S.GetSize()));
}

inline void Load(grid::TgxGrid& G, const std::string& Bytes) {
    TMemoryStream S;
    S.WriteBuffer(Bytes.data(), static_cast<int>(Bytes.size()));
    S.SetPosition(0);
    G.LoadFromStream(&S, grid::cmaNone);
}

// A form holding one grid named Grid1.
struct TGridForm {
    TGridForm() {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetName("SettingsForm");
        Grid = new grid::TgxGrid(Form.get());
        Grid->SetName("Grid1");
        Grid->SetParent(Form.get());
    }
    std::unique_ptr<TForm> Form;
    grid::TgxGrid* Grid;
};

// Through a form file into a new form: its grid.
inline grid::TgxGrid* ThroughFormFile(TGridForm& From, TForm& Into) {
    CopyThroughFormFile(*From.Form, Into);
    return dynamic_cast<grid::TgxGrid*>(Into.FindComponent("Grid1"));
}

// Through the form's text into a new form: its grid.
inline grid::TgxGrid* ThroughFormText(TGridForm& From, TForm& Into) {
    ReadFormText(FormText(*From.Form), Into);
    return dynamic_cast<grid::TgxGrid*>(Into.FindComponent("Grid1"));
}

// Through a form's stored properties (the form storage's path) into another
// grid.
inline void ThroughStoredProps(grid::TgxGrid& From, grid::TgxGrid& Into, const char* Name) {
    std::map<std::string, AnsiString> Values;
    formstore::TPropsStorage Storage;
    Storage.SetSection("Grids");
    Storage.SetPrefix("Grid1");
    Storage.OnWriteString = [&](const AnsiString&, const AnsiString& Item, const AnsiString& V) {
        Values[Item] = V;
    };
    Storage.OnReadString = [&](const AnsiString&, const AnsiString& Item, const AnsiString& D) {
        const auto It = Values.find(Item);
        return It == Values.end() ? D : It->second;
    };
    Storage.OnEraseSection = [](const AnsiString&) {};
    TStringList Names;
    Names.Add(Name);
    Storage.SetAObject(&From);
    Storage.StoreProperties(&Names);
    ASSERT_FALSE(Values.empty()) << Name << " was not stored";
    Storage.SetAObject(&Into);
    Storage.LoadProperties(&Names);
}

} // namespace settings_copy
