// The grid's shared cursors and pictures, drawn from small character maps:
// '#' is the mark's colour, '.' the background the painters treat as
// transparent (white; black for the sort marks), 'o' a white outline of a
// cursor.
#include "grid/view/GridResources.h"

#include "grid/foundation/GridCommonCanvas.h"
#include "platform/gui/Cursors.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"

#include <array>
#include <memory>
#include <string_view>

namespace grid {

namespace {

struct TBitmapArt {
    const char* Name;
    int Width;
    int Height;
    std::array<std::string_view, 13> Rows;
};

// In the order of TgxGridBitmap.
const TBitmapArt BitmapArts[GridBitmapCount] = {
    {"GXDOTARROWRIGHT",
     6,
     11,
     {"#.....", "##....", "###...", "####..", "#####.", "######", "#####.", "####..", "###...",
      "##....", "#....."}},
    {"GXINSERTROW",
     9,
     11,
     {".........", "....#....", ".#..#..#.", "..#.#.#..", "...###...", "#########", "...###...",
      "..#.#.#..", ".#..#..#.", "....#....", "........."}},
    {"GXCHANGEDROW",
     11,
     11,
     {"........##.", ".......#..#", "......#..#.", ".....#..#..", "....#..#...", "...#..#....",
      "..#..#.....", ".#..#......", ".###.......", ".##........", "..........."}},
    {"GXARROWCOMBO", 5, 5, {".....", "#####", ".###.", "..#..", "....."}},
    {"GXBUTDETAIL", 7, 5, {".......", ".......", "#..#..#", ".......", "......."}},
    {"GXSORTUP",
     12,
     13,
     {"............", ".....##.....", ".....##.....", "....####....", "....####....",
      "...######...", "...######...", "..########..", "..########..", ".##########.",
      ".##########.", "############", "............"}},
    {"GXSORTDOWN",
     12,
     13,
     {"............", "############", ".##########.", ".##########.", "..########..",
      "..########..", "...######...", "...######...", "....####....", "....####....",
      ".....##.....", ".....##.....", "............"}},
    {"GXSORTBULLET",
     12,
     13,
     {"............", "............", "............", "....####....", "...######...",
      "..########..", "..########..", "..########..", "..########..", "...######...",
      "....####....", "............", "............"}},
    {"GXSPINUP", 7, 4, {"...#...", "..###..", ".#####.", "#######"}},
    {"GXSPINDOWN", 7, 4, {"#######", ".#####.", "..###..", "...#..."}},
    {"GXSPINLEFT", 4, 7, {"...#", "..##", ".###", "####", ".###", "..##", "...#"}},
    {"GXSPINRIGHT", 4, 7, {"#...", "##..", "###.", "####", "###.", "##..", "#..."}},
};

// The cursors: 32 x 32, the arrow in the top-left part, hot spot at its tip.
struct TCursorArt {
    const char* Name;
    TCursor Id;
    int HotX;
    int HotY;
    std::array<std::string_view, 16> Rows;
};

const TCursorArt CursorArts[3] = {
    // An arrow pointer mirrored: it points up and to the right.
    {"GXARROWREV",
     crGxArrowRev,
     11,
     0,
     {"...........o", "..........oo", ".........o#o", "........o##o", ".......o###o",
      "......o####o", ".....o#####o", "....o######o", "...o#######o", "..o########o",
      ".o#########o", "oooooo##o##o", ".....o#oo#o.", "....o#o.o#o.", "....oo...oo.",
      "............"}},
    // The row bar's selection arrow, pointing right.
    {"GXHORARROWRIGHT",
     crGxHorArrowRight,
     15,
     7,
     {"..........o.....", "..........oo....", "..........o#o...", "..........o##o..",
      "ooooooooooo###o.", "o##############o", "o###############", "o##############o",
      "ooooooooooo###o.", "..........o##o..", "..........o#o...", "..........oo....",
      "..........o.....", "................", "................", "................"}},
    // The heading's selection arrow, pointing down.
    {"GXVERTARROWDOWN",
     crGxVertArrowDown,
     7,
     15,
     {"....ooooo.......", "....o###o.......", "....o###o.......", "....o###o.......",
      "....o###o.......", "....o###o.......", "....o###o.......", "....o###o.......",
      "....o###o.......", "oooooo###oooooo.", ".o###########o..", "..o#########o...",
      "...o#######o....", "....o#####o.....", ".....o###o......", "......o#o......."}},
};

struct TResources {
    std::array<std::unique_ptr<TBitmap>, GridBitmapCount> Bitmaps;
    std::unique_ptr<TgxMemoryCanvas> GridCanvas;
    std::unique_ptr<TgxMemoryCanvas> EditorCanvas;
    std::unique_ptr<TBitmap> Checker;
    std::unique_ptr<std::vector<TgxBaseGrid*>> Hooked;
};

int StartCount = 0;
TResources* Resources = nullptr;

// Frees what is left at process end, when nobody shut the resources down.
struct TExitGuard {
    ~TExitGuard() {
        delete Resources;
        Resources = nullptr;
    }
} ExitGuard;

// The sort marks are drawn with black as their background (the heading
// painter turns black into the heading colour), the mark in dark grey.
constexpr TColor SortMarkColor = 0x505050;

std::unique_ptr<TBitmap> MakeBitmap(const TBitmapArt& Art) {
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->SetSize(Art.Width, Art.Height);
    TCanvas* Canvas = Bitmap->Canvas();
    const bool Sort = std::string_view(Art.Name).starts_with("GXSORT");
    const TColor Mark = Sort ? SortMarkColor : clBlack;
    const TColor Back = Sort ? clBlack : clWhite;
    for (int Y = 0; Y < Art.Height; ++Y)
        for (int X = 0; X < Art.Width; ++X)
            Canvas->SetPixels(X, Y, Art.Rows[Y][X] == '#' ? Mark : Back);
    Bitmap->SetPixelFormat(pf8bit);
    return Bitmap;
}

void RegisterCursor(const TCursorArt& Art) {
    TBitmap Image;
    TBitmap Mask;
    Image.SetSize(32, 32);
    Mask.SetSize(32, 32);
    for (int Y = 0; Y < 32; ++Y)
        for (int X = 0; X < 32; ++X) {
            const char C =
                Y < 16 && X < static_cast<int>(Art.Rows[Y].size()) ? Art.Rows[Y][X] : '.';
            Image.Canvas()->SetPixels(X, Y, C == '#' ? clBlack : clWhite);
            Mask.Canvas()->SetPixels(X, Y, C == '.' ? clWhite : clBlack);
        }
    Screen->SetCursors(Art.Id, CreateCursorFromBitmaps(&Image, &Mask, Art.HotX, Art.HotY));
}

std::unique_ptr<TBitmap> MakeChecker() {
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->SetSize(8, 8);
    for (int J = 0; J < 8; ++J)
        for (int I = 0; I < 8; ++I)
            Bitmap->Canvas()->SetPixels(I, J, (I + J) % 2 ? clWhite : clBlack);
    // Two-coloured: as a brush it paints in the canvas's font and brush colours.
    Bitmap->SetMonochrome(true);
    return Bitmap;
}

TResources& Started() {
    if (!Resources) GridUnitStartup();
    return *Resources;
}

[[noreturn]] void NotFound(const AnsiString& Name) {
    throw EResNotFound("Resource " + Name + " not found");
}

} // namespace

void GridUnitStartup() {
    if (StartCount++ > 0 && Resources) return;
    auto Made = std::make_unique<TResources>();
    if (Screen)
        for (const TCursorArt& Art : CursorArts)
            RegisterCursor(Art);
    for (int I = 0; I < GridBitmapCount; ++I)
        Made->Bitmaps[static_cast<std::size_t>(I)] = MakeBitmap(BitmapArts[I]);
    Made->GridCanvas = std::make_unique<TgxMemoryCanvas>();
    Made->EditorCanvas = std::make_unique<TgxMemoryCanvas>();
    Made->Checker = MakeChecker();
    Made->Hooked = std::make_unique<std::vector<TgxBaseGrid*>>();
    delete Resources;
    Resources = Made.release();
}

void GridUnitShutdown() {
    if (StartCount == 0) return;
    if (--StartCount > 0) return;
    // The screen's cursor list keeps the cursors: they are not destroyed.
    delete Resources;
    Resources = nullptr;
}

bool GridUnitStarted() {
    return Resources != nullptr;
}

TBitmap* GridBitmap(TgxGridBitmap Which) {
    return Started().Bitmaps[static_cast<std::size_t>(Which)].get();
}

TBitmap* GridBitmapByName(const AnsiString& Name) {
    for (int I = 0; I < GridBitmapCount; ++I)
        if (Name == BitmapArts[I].Name) return GridBitmap(static_cast<TgxGridBitmap>(I));
    NotFound(Name);
}

TBitmap* GridButtonBitmap(int Index) {
    if (Index < 0 || Index > 3) NotFound("button bitmap " + std::to_string(Index));
    return GridBitmap(
        static_cast<TgxGridBitmap>(static_cast<int>(TgxGridBitmap::ButDetail) + Index));
}

TBitmap* GridSpinBitmap(int Index) {
    if (Index < 0 || Index > 3) NotFound("spin bitmap " + std::to_string(Index));
    return GridBitmap(static_cast<TgxGridBitmap>(static_cast<int>(TgxGridBitmap::SpinUp) + Index));
}

TCursor GridCursorByName(const AnsiString& Name) {
    Started();
    for (const TCursorArt& Art : CursorArts)
        if (Name == Art.Name) {
            // Resources started before the screen existed register late.
            if (Screen && !Screen->Cursors(Art.Id)) RegisterCursor(Art);
            return Art.Id;
        }
    NotFound(Name);
}

TgxMemoryCanvas* GridPaintCanvas() {
    return Started().GridCanvas.get();
}

TgxMemoryCanvas* EditorPaintCanvas() {
    return Started().EditorCanvas.get();
}

TBitmap* GridCheckerPattern() {
    return Started().Checker.get();
}

std::vector<TgxBaseGrid*>& HookedGrids() {
    return *Started().Hooked;
}

} // namespace grid
