#pragma once
// The resources every grid shares for the life of the process: three mouse
// cursors registered in the screen's cursor list, twelve small bitmaps
// (row-bar marks, combo arrow, detail mark, sort marks, spin arrows), two
// off-screen canvases, an 8 x 8 checker pattern and the list of grids whose
// drop-down hooks are installed. The pictures are drawn here in code.
//
// Start-up and shut-down are counted: the first start-up makes everything,
// later ones change nothing, and only the shut-down matching the first
// start-up frees it. Every accessor starts the resources on first use.
#include "platform/gui/Controls.h"
#include "platform/rtl/Exceptions.h"

#include <cstdint>
#include <vector>

class TBitmap;

namespace grid {

RTL_DECLARE_EXCEPTION(EResNotFound, Exception);

class TgxMemoryCanvas;
class TgxBaseGrid;

// The screen cursor numbers under which the grid cursors are registered.
inline constexpr TCursor crGxArrowRev = 1301;
inline constexpr TCursor crGxHorArrowRight = 1302;
inline constexpr TCursor crGxVertArrowDown = 1303;

// The twelve bitmaps, in the order they are made.
enum class TgxGridBitmap : std::uint8_t {
    DotArrowRight, // current row mark, 6 x 11
    InsertRow,     // insertion row mark, 9 x 11
    ChangedRow,    // changed row mark, 11 x 11
    ArrowCombo,    // combo button arrow, 5 x 5
    ButDetail,     // detail button mark, 7 x 5
    SortUp,        // 12 x 13
    SortDown,      // 12 x 13
    SortBullet,    // 12 x 13
    SpinUp,        // 7 x 4
    SpinDown,      // 7 x 4
    SpinLeft,      // 4 x 7
    SpinRight      // 4 x 7
};
inline constexpr int GridBitmapCount = 12;

void GridUnitStartup();
void GridUnitShutdown();
bool GridUnitStarted();

TBitmap* GridBitmap(TgxGridBitmap Which);
// By resource name ("GXSORTUP", ...); raises EResNotFound "Resource NAME
// not found" for a name that is not one of the twelve.
TBitmap* GridBitmapByName(const AnsiString& Name);
// Detail, sort up, sort down, sort bullet.
TBitmap* GridButtonBitmap(int Index);
// Up, down, left, right.
TBitmap* GridSpinBitmap(int Index);
// The screen cursor number of a cursor resource name; raises as above.
TCursor GridCursorByName(const AnsiString& Name);

// The surface the grids draw one cell into before it goes to the window.
TgxMemoryCanvas* GridPaintCanvas();
TgxMemoryCanvas* EditorPaintCanvas();
// White where column + row is odd, black where it is even.
TBitmap* GridCheckerPattern();
std::vector<TgxBaseGrid*>& HookedGrids();

} // namespace grid
