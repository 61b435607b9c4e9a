#include "components/SaveColumnWidths.h"

#include "components/RegistryRoutines.h"
#include "components/SavedColumnHelpers.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"
#include "platform/gui/Controls.h"
#include "platform/rtl/FloatFormat.h"

#include <algorithm>
#include <map>
#include <vector>

namespace components {

namespace {

const char* const CountName = "ColumnCount";
const char* const WidthsName = "ColumnWidths";
const char* const PositionsName = "ColumnPositions";

// Every number of a stored list in order, 0 for a word that is no number.
// The list is read in one pass: a damaged value that holds a great many
// entries costs no more than its own length.
std::vector<int> ListNumbers(const AnsiString& List) {
    std::vector<int> Numbers;
    for (const AnsiString& Word : ListWords(List))
        Numbers.push_back(StrToIntDef(Word, 0));
    return Numbers;
}

// The N-th entry of a list read by ListNumbers, 0 when it is missing.
int ListNumber(int N, const std::vector<int>& Numbers) {
    return N >= 1 && static_cast<std::size_t>(N) <= Numbers.size()
               ? Numbers[static_cast<std::size_t>(N) - 1]
               : 0;
}

} // namespace

TSavedColumnLayout::TSavedColumnLayout(TControl* Control)
    : FRegistry(std::make_unique<TRegistry>()), FGrid(dynamic_cast<grid::TgxBaseGrid*>(Control)) {}

TSavedColumnLayout::~TSavedColumnLayout() = default;

void TSavedColumnLayout::AssignSettings(const TSavedColumnLayout& Source) {
    FRegRoot = Source.FRegRoot;
    FRegKey = Source.FRegKey;
    FRegSection = Source.FRegSection;
    FEnabled = Source.FEnabled;
}

grid::TgxBaseGrid& TSavedColumnLayout::Grid() const {
    // Only a grid makes these objects; one made without is a programming error
    // that must not pass as "nothing to store".
    if (!FGrid) throw EInvalidOperation("The column layout of " + ClassName() + " has no grid");
    return *FGrid;
}

int TSavedColumnLayout::ColumnCount() const {
    return Grid().GetGridColCount();
}

void TSavedColumnLayout::SaveList(const char* Name, const std::function<int(int)>& Number) {
    Grid();
    const TOpenLayoutKey Key(*this);
    const int Count = ColumnCount();
    WriteRegistryInteger(*FRegistry, CountName, Count);
    AnsiString List;
    for (int Col = 1; Col <= Count; ++Col) {
        if (Col > 1) List += ",";
        List += IntToStr(Number(Col));
    }
    WriteRegistryString(*FRegistry, Name, List);
}

TSavedColumnLayout::TOpenLayoutKey::TOpenLayoutKey(TSavedColumnLayout& Owner)
    : FRegistry(*Owner.FRegistry) {
    static constexpr HKEY Roots[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CURRENT_CONFIG,
                                     HKEY_CLASSES_ROOT, HKEY_USERS,         HKEY_DYN_DATA};
    const auto Root = static_cast<std::uint8_t>(Owner.FRegRoot);
    if (Root <= rrDynData) FRegistry.SetRootKey(Roots[Root]);
    // A key that cannot be opened leaves no key open: every write then fails
    // quietly and every read gives its default, as the routines promise.
    FRegistry.OpenKey(Owner.FRegKey + "\\" + Owner.FRegSection, true);
}

TSavedColumnLayout::TOpenLayoutKey::~TOpenLayoutKey() {
    FRegistry.CloseKey();
}

// ---- widths ------------------------------------------------------------------------------

void TSaveColumnWidths::Assign(TPersistent* Source) {
    if (auto* Other = dynamic_cast<TSaveColumnWidths*>(Source)) {
        AssignSettings(*Other);
        return;
    }
    TPersistent::Assign(Source);
}

void TSaveColumnWidths::Save() {
    grid::TgxBaseGrid& G = Grid();
    SaveList(WidthsName, [&G](int Col) { return G.GetCol(Col)->Width(); });
}

void TSaveColumnWidths::Restore() {
    grid::TgxBaseGrid& G = Grid();
    const TOpenLayoutKey Key(*this);
    const int Stored = ReadRegistryInteger(Registry(), CountName, 0, false);
    const std::vector<int> Widths =
        ListNumbers(ReadRegistryString(Registry(), WidthsName, "", false));
    for (int Col = 1; Col <= ColumnCount() && Col <= Stored; ++Col) {
        // A width no grid stream would carry is damage: the column keeps its
        // own rather than overflow the grid's pixel sums.
        const int Width = ListNumber(Col, Widths);
        if (Width < 0 || Width > grid::TgxBaseGrid::MaxStreamExtent) continue;
        G.GetCol(Col)->SetWidth(Width);
    }
}

// ---- positions ---------------------------------------------------------------------------

void TSaveColumnPositions::Assign(TPersistent* Source) {
    if (auto* Other = dynamic_cast<TSaveColumnPositions*>(Source)) {
        AssignSettings(*Other);
        return;
    }
    TPersistent::Assign(Source);
}

void TSaveColumnPositions::Save() {
    grid::TgxBaseGrid& G = Grid();
    SaveList(PositionsName, [&G](int Col) { return G.GetDisplayColnr(Col); });
}

void TSaveColumnPositions::Normalize() {
    Grid();
    const TOpenLayoutKey Key(*this);
    const int Stored = ReadRegistryInteger(Registry(), CountName, 0, false);
    const std::vector<int> Positions =
        ListNumbers(ReadRegistryString(Registry(), PositionsName, "", false));
    const int Count = ColumnCount();
    // The stored count cannot ask for more entries than the list holds: a
    // damaged count costs no more than the list itself.
    const int Last = static_cast<int>(std::min<std::size_t>(
        static_cast<std::size_t>(std::max(Stored, 0)), Positions.size()));
    AnsiString Result;
    for (int I = 1; I <= Last; ++I) {
        const int Position = ListNumber(I, Positions);
        if (Position > Count) continue;
        Result += IntToStr(Position);
        if (I != Last) Result += ",";
    }
    WriteRegistryInteger(Registry(), CountName, Count);
    WriteRegistryString(Registry(), PositionsName, Result);
}

void TSaveColumnPositions::Restore() {
    Normalize();
    grid::TgxBaseGrid& G = Grid();
    AnsiString Positions;
    {
        const TOpenLayoutKey Key(*this);
        Positions = ReadRegistryString(Registry(), PositionsName, "", false);
    }
    // Display position -> data column, a later equal entry winning; moving
    // the columns in ascending target order rebuilds the saved arrangement.
    std::map<int, int> Targets;
    const std::vector<int> List = ParseIntegerList(Positions);
    for (std::size_t K = 0; K < List.size(); ++K)
        Targets[List[K]] = static_cast<int>(K) + 1;
    for (const auto& [Display, DataCol] : Targets)
        G.SetDisplayColnr(DataCol, Display);
}

void TSaveColumnPositions::Reset() {
    grid::TgxBaseGrid& G = Grid();
    for (int Col = ColumnCount(); Col >= 1; --Col)
        G.SetDisplayColnr(Col, Col);
}

} // namespace components
