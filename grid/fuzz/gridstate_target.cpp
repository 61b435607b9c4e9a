// Feeds arbitrary bytes to a grid's saved-state loader. The grid holds
// values, a moved column, a selected row and a cell range beforehand. A
// stream may be refused with the framework's error; then the grid must save
// exactly as before. A stream taken must leave a grid that saves and loads
// again.
#include "grid/fuzz/FuzzTargets.h"

#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Require(bool Holds, const char* Rule) {
    if (Holds) return;
    std::fprintf(stderr, "grid state stream: %s\n", Rule);
    std::abort();
}

std::string Saved(grid::TgxGrid& Grid) {
    TMemoryStream Stream;
    Grid.SaveToStream(&Stream, true);
    return std::string(static_cast<const char*>(Stream.Memory()),
                       static_cast<std::size_t>(Stream.GetSize()));
}

void Load(grid::TgxGrid& Grid, const void* Bytes, std::size_t Size) {
    TMemoryStream Stream;
    if (Size > 0) Stream.WriteBuffer(Bytes, static_cast<int>(Size));
    Stream.SetPosition(0);
    Grid.LoadFromStream(&Stream, grid::cmaNone);
}

} // namespace

namespace grid::fuzz {

int GridStateInput(const std::uint8_t* Data, std::size_t Size) {
    if (Size > 1 << 16) return 0; // the cost of a big stream is not the point here
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    EnsureQtApplication();
    TgxGrid Grid(nullptr);
    Grid.SetStoreData(true);
    Grid.SetGridColCount(3);
    Grid.SetGridRowCount(3);
    Grid.SetCellValue(1, 1, Variant("kept"));
    Grid.GridCols()->Item(1)->SetDisplayCol(3);
    Grid.SetRowSelected(2, true);
    Grid.SetSelection(TGridRect{1, 1, 2, 2});
    const std::string Before = Saved(Grid);
    try {
        Load(Grid, Data, Size);
    } catch (const Exception&) {
        Require(Saved(Grid) == Before, "a refused stream changed the grid");
        return 0;
    }
    const std::string Once = Saved(Grid);
    TgxGrid Again(nullptr);
    Load(Again, Once.data(), Once.size());
    Require(Saved(Again) == Once, "a saved state did not read back the same");
    return 0;
}

} // namespace grid::fuzz
