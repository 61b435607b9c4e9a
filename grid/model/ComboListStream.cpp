#include "grid/model/ComboListStream.h"

#include "grid/model/Combo.h"
#include "platform/classes/Filer.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Streams.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace grid {

namespace {

// Marks a list kept with its settings; an older list starts with the saved
// state's own signature.
constexpr char ListMark[4] = {'G', 'X', 'C', 'L'};

struct TListSetting {
    const char* Name;
    int Max; // values run from 0 to Max
    std::function<int(const TgxComboGrid&)> Get;
    std::function<void(TgxComboGrid&, int)> Set;
};

const std::vector<TListSetting>& ListSettings() {
    static const std::vector<TListSetting> List = {
        {"DropDownRows", TgxBaseGrid::MaxStreamRows, [](const TgxComboGrid& L) { return L.DropDownRows(); },
         [](TgxComboGrid& L, int V) { L.SetDropDownRows(V); }},
        {"DropDownCols", TgxBaseGrid::MaxStreamCols, [](const TgxComboGrid& L) { return L.DropDownCols(); },
         [](TgxComboGrid& L, int V) { L.SetDropDownCols(V); }},
        {"ValueCol", TgxBaseGrid::MaxStreamCols, [](const TgxComboGrid& L) { return L.ValueCol(); },
         [](TgxComboGrid& L, int V) { L.SetValueCol(V); }},
        {"DisplayCol", TgxBaseGrid::MaxStreamCols,
         [](const TgxComboGrid& L) { return L.ComboDisplayCol(); },
         [](TgxComboGrid& L, int V) { L.SetComboDisplayCol(V); }},
        {"ValueColSorted", 1, [](const TgxComboGrid& L) { return L.ValueColSorted() ? 1 : 0; },
         [](TgxComboGrid& L, int V) { L.SetValueColSorted(V != 0); }},
        {"CompareType", static_cast<int>(ctOwn),
         [](const TgxComboGrid& L) { return static_cast<int>(L.CompareType()); },
         [](TgxComboGrid& L, int V) { L.SetCompareType(static_cast<TgxComboCompareType>(V)); }},
        {"AutoSearch", static_cast<int>(asCenter),
         [](const TgxComboGrid& L) { return static_cast<int>(L.AutoSearch()); },
         [](TgxComboGrid& L, int V) { L.SetAutoSearch(static_cast<TgxComboAutoSearchType>(V)); }},
        {"AutoFill", 1, [](const TgxComboGrid& L) { return L.AutoFill() ? 1 : 0; },
         [](TgxComboGrid& L, int V) { L.SetAutoFill(V != 0); }},
        {"AutoFillConvertCase", static_cast<int>(afcNone),
         [](const TgxComboGrid& L) { return static_cast<int>(L.AutoFillConvertCase()); },
         [](TgxComboGrid& L, int V) { L.SetAutoFillConvertCase(static_cast<TgxConvertCase>(V)); }},
        {"DropDownStyle", static_cast<int>(ddDropDownList),
         [](const TgxComboGrid& L) { return static_cast<int>(L.DropDownStyle()); },
         [](TgxComboGrid& L, int V) { L.SetDropDownStyle(static_cast<TgxDropDownStyle>(V)); }},
    };
    return List;
}

} // namespace

void WriteComboList(TgxComboGrid& List, TStream* Stream) {
    TMemoryStream State;
    List.SavePropToStream(&State, {pkCols, pkRows, pkCells}, AllProperties(), true);
    const auto Size = static_cast<std::int32_t>(State.GetSize());
    Stream->WriteBuffer(ListMark, sizeof ListMark);
    Stream->WriteBuffer(&Size, sizeof Size);
    Stream->WriteBuffer(State.Memory(), Size);
    TWriter W(Stream);
    W.WriteListBegin();
    for (const TListSetting& S : ListSettings()) {
        W.WriteStr(S.Name);
        W.WriteInteger(S.Get(List));
    }
    W.WriteListEnd();
}

void ReadComboList(TgxComboGrid& List, TStream* Stream) {
    const std::int64_t Left = Stream->GetSize() - Stream->GetPosition();
    char Mark[sizeof ListMark] = {};
    if (Left < 8) {
        List.LoadFromStream(Stream, cmaNone);
        return;
    }
    Stream->ReadBuffer(Mark, sizeof Mark);
    if (std::memcmp(Mark, ListMark, sizeof Mark) != 0) {
        Stream->Seek(-static_cast<std::int64_t>(sizeof Mark), soCurrent);
        List.LoadFromStream(Stream, cmaNone);
        return;
    }
    std::int32_t Size = 0;
    Stream->ReadBuffer(&Size, sizeof Size);
    if (Size < 0 || Size > Left - 8)
        throw EReadError(Format("Combo holds a list of %d bytes in %d", Size,
                                static_cast<int>(Left - 8)));
    TMemoryStream State;
    if (Size > 0) State.CopyFrom(Stream, Size);
    State.SetPosition(0);
    // The settings are read in full before anything changes.
    std::vector<std::pair<const TListSetting*, int>> Read;
    {
        TReader R(Stream);
        R.ReadListBegin();
        while (!R.EndOfList()) {
            const AnsiString Name = R.ReadStr();
            const TListSetting* Found = nullptr;
            for (const TListSetting& S : ListSettings())
                if (Name == S.Name) Found = &S;
            if (!Found) throw EReadError(Format("Combo holds an unknown list setting %s", Name.c_str()));
            const std::int64_t Value = R.ReadInt64();
            if (Value < 0 || Value > Found->Max)
                throw EReadError(Format("Combo list setting %s %s is outside 0..%d", Name.c_str(),
                                        std::to_string(Value).c_str(), Found->Max));
            Read.emplace_back(Found, static_cast<int>(Value));
        }
        R.ReadListEnd();
    }
    List.LoadFromStream(&State, cmaNone);
    for (const auto& [S, Value] : Read)
        S->Set(List, Value);
    // Filling switched on picks a search for a list edited by hand; a read
    // list keeps the search it was saved with.
    for (const auto& [S, Value] : Read)
        if (AnsiString(S->Name) == "AutoSearch") S->Set(List, Value);
}

} // namespace grid
