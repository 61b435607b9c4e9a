#include "formstore/ImageUtil.h"

#include "formstore/ScanColors.h"

#include "grid/foundation/ImageList.h"
#include "grid/view/GridResources.h"
#include "platform/gui/ControlPicture.h"
#include "platform/gui/Cursors.h"
#include "platform/gui/CustomControl.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Streams.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace formstore {

namespace {

// ---- an icon file in memory ---------------------------------------------------------------

void Put16(std::vector<std::uint8_t>& Out, unsigned Value) {
    Out.push_back(static_cast<std::uint8_t>(Value));
    Out.push_back(static_cast<std::uint8_t>(Value >> 8));
}

void Put32(std::vector<std::uint8_t>& Out, std::uint32_t Value) {
    Put16(Out, Value & 0xFFFF);
    Put16(Out, Value >> 16);
}

// One 32-bit image with its transparency in the alpha channel and in the
// AND mask, as icon files hold it.
std::vector<std::uint8_t> IconFile(TBitmap* Bitmap, TColor Clear, bool HasClear) {
    const int Width = Bitmap->Width(), Height = Bitmap->Height();
    const std::uint32_t MaskStride = ((static_cast<std::uint32_t>(Width) + 31) / 32) * 4;
    const std::uint32_t ImageSize = 40 + 4u * Width * Height + MaskStride * Height;
    std::vector<std::uint8_t> Out;
    Put16(Out, 0); // header: reserved, type 1 (icon), one image
    Put16(Out, 1);
    Put16(Out, 1);
    Out.push_back(static_cast<std::uint8_t>(Width & 0xFF)); // 256 is written as 0
    Out.push_back(static_cast<std::uint8_t>(Height & 0xFF));
    Out.push_back(0); // colours
    Out.push_back(0);
    Put16(Out, 1);  // planes
    Put16(Out, 32); // bits per pixel
    Put32(Out, ImageSize);
    Put32(Out, 22);
    Put32(Out, 40); // the image's header: the height counts the mask too
    Put32(Out, static_cast<std::uint32_t>(Width));
    Put32(Out, static_cast<std::uint32_t>(Height) * 2);
    Put16(Out, 1);
    Put16(Out, 32);
    for (int I = 0; I < 6; ++I)
        Put32(Out, 0);
    std::vector<std::uint8_t> Mask(MaskStride * Height, 0);
    for (int Y = Height - 1; Y >= 0; --Y) { // rows bottom up
        const std::uint32_t* Line = Bitmap->ScanLine(Y);
        for (int X = 0; X < Width; ++X) {
            const bool Transparent = HasClear && ScanToColor(Line[X]) == Clear;
            Put32(Out, Transparent ? 0u : (Line[X] | 0xFF000000u));
            if (Transparent)
                Mask[(Height - 1 - Y) * MaskStride + X / 8] |=
                    static_cast<std::uint8_t>(0x80 >> (X % 8));
        }
    }
    Out.insert(Out.end(), Mask.begin(), Mask.end());
    return Out;
}

// ---- the hand cursors -----------------------------------------------------------------------

struct TCursorArt {
    const char* Name;
    TCursor Id;
    int HotX, HotY;
    // The hand ('#'), drawn white with a black outline around it.
    std::array<std::string_view, 14> Rows;
};

const TCursorArt HandCursors[] = {
    {"FS_HANDCUR",
     crHand,
     5,
     1,
     {"....##..........", "....##..........", "....##..........", "....##..........",
      "....#####.......", "....########....", "..#.#########...", "..###########...",
      "..###########...", "...##########...", "...##########...", "....########....",
      "....########....", "....########...."}},
    {"FS_DRAGCUR",
     crDragHand,
     8,
     8,
     {"................", "................", "................", "....##.##.##....",
      "...##########...", "..###########...", "..###########...", "...##########...",
      "...##########...", "....########....", "....########....", "....########....",
      "................", "................"}},
};

// The art one pixel in from the top-left of a 32 x 32 cursor, so the
// outline fits around it. Made from bit planes rather than bitmaps: the
// cursors are made at the program's start, before other units are ready.
HCURSOR MakeCursor(const TCursorArt& Art) {
    const auto Hand = [&Art](int X, int Y) {
        X -= 1;
        Y -= 1;
        return Y >= 0 && Y < static_cast<int>(Art.Rows.size()) && X >= 0 &&
               X < static_cast<int>(Art.Rows[Y].size()) && Art.Rows[Y][X] == '#';
    };
    constexpr int Size = 32, RowBytes = Size / 8;
    // AND and XOR bits: 0 0 black, 0 1 white, 1 0 the screen.
    std::array<std::uint8_t, Size * RowBytes> AndPlane{}, XorPlane{};
    for (int Y = 0; Y < Size; ++Y)
        for (int X = 0; X < Size; ++X) {
            bool Outline = false;
            for (int DY = -1; DY <= 1 && !Outline; ++DY)
                for (int DX = -1; DX <= 1 && !Outline; ++DX)
                    Outline = Hand(X + DX, Y + DY);
            const auto Bit = static_cast<std::uint8_t>(0x80 >> (X % 8));
            if (!Outline) AndPlane[static_cast<std::size_t>(Y * RowBytes + X / 8)] |= Bit;
            if (Hand(X, Y)) XorPlane[static_cast<std::size_t>(Y * RowBytes + X / 8)] |= Bit;
        }
    return CreateCursor(Art.HotX + 1, Art.HotY + 1, Size, Size, AndPlane.data(), XorPlane.data());
}

const TCursorArt& ArtNamed(const AnsiString& Name) {
    for (const TCursorArt& Art : HandCursors)
        if (Name == Art.Name) return Art;
    throw grid::EResNotFound("Resource " + Name + " not found");
}

} // namespace

void CopyParentImage(TControl* Control, TCanvas* Dest) {
    TWinControl* Parent = Control ? Control->Parent() : nullptr;
    if (!Parent || !Dest) return;
    const int Left = Control->Left(), Top = Control->Top();
    if (auto* Painted = dynamic_cast<TCustomControl*>(Parent))
        Painted->PaintTo(Dest, -Left, -Top);
    else
        PaintWindowPicture(Parent, Dest, -Left, -Top);
    const TRect Own = Control->BoundsRect();
    for (int I = 0; I < Parent->ControlCount(); ++I) {
        TControl* Sibling = Parent->Controls(I);
        if (Sibling == Control) break;
        auto* Graphic = dynamic_cast<TGraphicControl*>(Sibling);
        if (!Graphic || !Graphic->Visible()) continue;
        const TRect R = Graphic->BoundsRect();
        if (R.Right <= Own.Left || R.Left >= Own.Right || R.Bottom <= Own.Top ||
            R.Top >= Own.Bottom)
            continue;
        Graphic->PaintTo(Dest, R.Left - Left, R.Top - Top);
    }
}

std::unique_ptr<TIcon> CreateIconFromBitmap(TBitmap* Bitmap, TColor TransparentColor) {
    if (!Bitmap || Bitmap->Empty()) throw EInvalidGraphic("Cannot make an icon of an empty bitmap");
    if (Bitmap->Width() > 256 || Bitmap->Height() > 256)
        throw EInvalidGraphic(Format("A bitmap of %d x %d is too large for an icon (256 x 256)",
                                     Bitmap->Width(), Bitmap->Height()));
    if (TransparentColor == clDefault) TransparentColor = Bitmap->TransparentColor();
    const bool HasClear = TransparentColor != clNone;
    const std::vector<std::uint8_t> File =
        IconFile(Bitmap, HasClear ? ColorToRGB(TransparentColor) : clNone, HasClear);
    TMemoryStream Stream;
    Stream.WriteBuffer(File.data(), static_cast<int>(File.size()));
    Stream.SetPosition(0);
    auto Icon = std::make_unique<TIcon>();
    Icon->LoadFromStream(&Stream);
    return Icon;
}

void ImageListDrawDisabled(grid::TgxImageListComponent* Images, TCanvas* Canvas, int X, int Y,
                           int Index, TColor HighlightColor, TColor GrayColor, bool DrawHighlight) {
    if (!Images || !Canvas || !Images->IndexExists(Variant(Index))) return;
    grid::TgxImageItem* Item = Images->GetImage(Variant(Index));
    TBitmap* Bitmap = Item ? Item->GetBitmap() : nullptr;
    if (!Bitmap || Bitmap->Empty()) return;
    const TColor Clear = Item->GetTransparent() ? ColorToRGB(Item->GetTransparentColor()) : clNone;
    // The image on white in one bit per pixel: set where it is neither
    // transparent nor white.
    const int Width = Bitmap->Width(), Height = Bitmap->Height();
    std::vector<bool> Shape(static_cast<std::size_t>(Width) * Height);
    for (int J = 0; J < Height; ++J) {
        const std::uint32_t* Line = Bitmap->ScanLine(J);
        for (int I = 0; I < Width; ++I) {
            const TColor C = ScanToColor(Line[I]);
            Shape[static_cast<std::size_t>(J) * Width + I] = C != Clear && C != clWhite;
        }
    }
    const auto Paint = [&](int Offset, TColor Color) {
        for (int J = 0; J < Height; ++J)
            for (int I = 0; I < Width; ++I)
                if (Shape[static_cast<std::size_t>(J) * Width + I])
                    Canvas->SetPixels(X + I + Offset, Y + J + Offset, Color);
    };
    if (DrawHighlight) Paint(1, HighlightColor);
    Paint(0, GrayColor);
}

void RegisterHandCursors() {
    for (const TCursorArt& Art : HandCursors)
        if (!TScreen::Cursors(Art.Id)) TScreen::SetCursors(Art.Id, MakeCursor(Art));
}

namespace {

// The hand cursors are in the screen's list from the program's start, for
// anyone who sets crHand or crDragHand without asking for them first.
const bool HandCursorsAtStart = (RegisterHandCursors(), true);

} // namespace

TCursor DefineCursor(const AnsiString& Name) {
    RegisterHandCursors();
    const TCursorArt& Art = ArtNamed(Name);
    for (TCursor Id = 100; Id <= 32767; ++Id)
        if (!Screen->Cursors(Id)) {
            Screen->SetCursors(Id, MakeCursor(Art));
            return Id;
        }
    throw EOutOfResources("Out of system resources");
}

} // namespace formstore
