#include "platform/gui/Graphics.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/Streams.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

class BitmapTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureQtApplication(); }

    // A picture with a few colours every pixel format holds exactly.
    static void Paint(TBitmap& Bitmap, int Width, int Height) {
        Bitmap.SetSize(Width, Height);
        const TColor Colours[] = {clBlack, clWhite, clRed, clBlue, clLime, clNavy, clGray};
        for (int Y = 0; Y < Height; ++Y)
            for (int X = 0; X < Width; ++X)
                Bitmap.Canvas()->SetPixels(X, Y, Colours[(X * 3 + Y) % 7]);
    }

    static std::vector<TColor> Pixels(TBitmap& Bitmap) {
        std::vector<TColor> Result;
        for (int Y = 0; Y < Bitmap.Height(); ++Y)
            for (int X = 0; X < Bitmap.Width(); ++X)
                Result.push_back(Bitmap.Canvas()->Pixels(X, Y));
        return Result;
    }

    std::filesystem::path TempFile(const char* Name) {
        return std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + "-" + Name);
    }
};

TEST_F(BitmapTest, SavedAndLoadedPixelsAndFormatSurvive) {
    // Odd widths exercise the row padding; 1- and 4-bit rows pack pixels.
    for (TPixelFormat Format : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
        TBitmap Original;
        Paint(Original, 13, 5);
        Original.SetPixelFormat(Format);
        const std::vector<TColor> Expected = Pixels(Original);

        TMemoryStream Stream;
        Original.SaveToStream(&Stream);
        Stream.SetPosition(0);
        TBitmap Loaded;
        Loaded.LoadFromStream(&Stream);
        EXPECT_EQ(Loaded.Width(), 13);
        EXPECT_EQ(Loaded.Height(), 5);
        EXPECT_EQ(Loaded.PixelFormat(), Format) << static_cast<int>(Format);
        EXPECT_EQ(Pixels(Loaded), Expected) << static_cast<int>(Format);
    }
}

TEST_F(BitmapTest, LoadingReadsOnlyTheBitmapsOwnBytes) {
    TBitmap Original;
    Paint(Original, 3, 3);
    TMemoryStream Stream;
    Original.SaveToStream(&Stream);
    const auto End = Stream.GetPosition();
    const int After = 0x5A5A1234;
    Stream.WriteBuffer(&After, sizeof After);
    Stream.SetPosition(0);

    TBitmap Loaded;
    Loaded.LoadFromStream(&Stream);
    EXPECT_EQ(Stream.GetPosition(), End);
    int Read = 0;
    Stream.ReadBuffer(&Read, sizeof Read);
    EXPECT_EQ(Read, After);
}

TEST_F(BitmapTest, DamagedFilesRaiseAndKeepThePreviousPicture) {
    TBitmap Good;
    Paint(Good, 4, 4);
    TMemoryStream Saved;
    Good.SaveToStream(&Saved);
    const auto* Bytes = static_cast<const unsigned char*>(Saved.Memory());
    const std::string Whole(reinterpret_cast<const char*>(Bytes), Saved.GetSize());

    auto WithLong = [&](std::size_t Offset, std::uint32_t Value) {
        std::string S = Whole;
        for (int I = 0; I < 4; ++I)
            S[Offset + I] = static_cast<char>(Value >> (8 * I));
        return S;
    };
    struct Case {
        const char* Name;
        std::string Bytes;
        bool ShortRead;
    };
    const Case Cases[] = {
        {"not a bitmap", "GIF89a" + Whole.substr(6), false},
        {"cut short", Whole.substr(0, Whole.size() - 5), true},
        {"header only", Whole.substr(0, 20), true},
        {"huge width", WithLong(18, 0x7FFFFFFF), false},
        {"zero height", WithLong(22, 0), false},
        {"odd bit count", WithLong(28, 0x00000007), false},
        {"unknown header", WithLong(14, 77), false},
    };
    for (const Case& C : Cases) {
        TBitmap Bitmap;
        Paint(Bitmap, 2, 2);
        TStringStream Stream(C.Bytes);
        if (C.ShortRead)
            EXPECT_THROW(Bitmap.LoadFromStream(&Stream), EReadError) << C.Name;
        else {
            try {
                Bitmap.LoadFromStream(&Stream);
                ADD_FAILURE() << C.Name << ": no exception";
            } catch (const EInvalidGraphic& E) {
                EXPECT_EQ(E.Message, "Bitmap image is not valid") << C.Name;
            }
        }
        EXPECT_EQ(Bitmap.Width(), 2) << C.Name;
        EXPECT_EQ(Bitmap.Canvas()->Pixels(1, 0), clBlue) << C.Name;
    }
}

TEST_F(BitmapTest, FilesRoundTripThroughPicture) {
    const auto Path = TempFile("picture.bmp");
    TBitmap Original;
    Paint(Original, 6, 4);
    Original.SaveToFile(Path.string());

    TPicture Picture;
    int Changes = 0;
    Picture.OnChange = [&](TObject*) { ++Changes; };
    Picture.LoadFromFile(Path.string());
    EXPECT_EQ(Changes, 1);
    ASSERT_NE(dynamic_cast<TBitmap*>(Picture.Graphic()), nullptr);
    EXPECT_EQ(Pixels(*Picture.Bitmap()), Pixels(Original));

    // Drawing on the picture's bitmap tells the picture.
    Picture.Bitmap()->Canvas()->SetPixels(0, 0, clYellow);
    EXPECT_EQ(Changes, 2);

    try {
        Picture.LoadFromFile("image.xyz");
        ADD_FAILURE() << "no exception";
    } catch (const EInvalidGraphic& E) {
        EXPECT_EQ(E.Message, "Unknown picture file extension (.xyz)");
    }
    EXPECT_THROW(Picture.LoadFromFile((Path.string() + ".missing.bmp")), EFOpenError);
    EXPECT_EQ(Picture.Width(), 6);
    std::filesystem::remove(Path);
}

TEST_F(BitmapTest, IconLoadsSavesAndDrawsByItsTransparency) {
    // An icon file as another program writes it: red square, clear border.
    QImage Image(16, 16, QImage::Format_ARGB32);
    Image.fill(Qt::transparent);
    for (int Y = 4; Y < 12; ++Y)
        for (int X = 4; X < 12; ++X)
            Image.setPixel(X, Y, qRgba(255, 0, 0, 255));
    QByteArray Ico;
    QBuffer Buffer(&Ico);
    Buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(QImageWriter(&Buffer, "ICO").write(Image));

    TStringStream Stream(std::string(Ico.constData(), Ico.size()) + "tail");
    TIcon Icon;
    Icon.LoadFromStream(&Stream);
    EXPECT_EQ(Icon.Width(), 16);
    EXPECT_EQ(Icon.Height(), 16);
    EXPECT_EQ(Stream.ReadString(4), "tail");
    EXPECT_THROW(Icon.SetWidth(10), EInvalidGraphicOperation);

    TMemoryStream Saved;
    Icon.SaveToStream(&Saved);
    Saved.SetPosition(0);
    TIcon Again;
    Again.LoadFromStream(&Saved);
    EXPECT_EQ(Again.Width(), 16);

    TBitmap Target;
    Target.SetSize(16, 16);
    Target.Canvas()->Draw(0, 0, &Again);
    EXPECT_EQ(Target.Canvas()->Pixels(8, 8), clRed);
    EXPECT_EQ(Target.Canvas()->Pixels(1, 1), clWhite);

    TStringStream Garbage(std::string("\0\0\1\0\1\0", 6) + std::string(16, '\xFF'));
    EXPECT_THROW(Again.LoadFromStream(&Garbage), Exception);
    EXPECT_EQ(Again.Width(), 16);
}

TEST_F(BitmapTest, SizingKeepsPixelsAndWhitensNewArea) {
    TBitmap Bitmap;
    Bitmap.SetSize(2, 2);
    Bitmap.Canvas()->SetPixels(1, 1, clRed);
    Bitmap.SetSize(4, 3);
    EXPECT_EQ(Bitmap.Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(Bitmap.Canvas()->Pixels(3, 2), clWhite);
    Bitmap.SetWidth(0);
    EXPECT_TRUE(Bitmap.Empty());
    EXPECT_EQ(Bitmap.TransparentColor(), clDefault);
}

TEST_F(BitmapTest, SidesSetOneAtATimeMakeTheWholeSize) {
    TBitmap Bitmap;
    Bitmap.SetWidth(16);
    EXPECT_TRUE(Bitmap.Empty());
    EXPECT_EQ(Bitmap.Width(), 16);
    EXPECT_THROW(Bitmap.ScanLine(0), EInvalidGraphicOperation);
    Bitmap.SetHeight(8);
    EXPECT_FALSE(Bitmap.Empty());
    EXPECT_EQ(Bitmap.Width(), 16);
    EXPECT_EQ(Bitmap.Height(), 8);
    EXPECT_EQ(Bitmap.Canvas()->Pixels(15, 7), clWhite);
    // Emptied by one side, it keeps the other until both are set again.
    Bitmap.SetHeight(0);
    EXPECT_EQ(Bitmap.Width(), 16);
    TBitmap Copy;
    Copy.Assign(&Bitmap);
    EXPECT_EQ(Copy.Width(), 16);
    Copy.SetHeight(2);
    EXPECT_EQ(Copy.Height(), 2);
    EXPECT_EQ(Copy.Width(), 16);
    Copy.Assign(nullptr);
    EXPECT_EQ(Copy.Width(), 0);
}

TEST_F(BitmapTest, MonochromeKeepsWhiteAndBlackensEveryOtherColour) {
    TBitmap Bitmap;
    Paint(Bitmap, 7, 1);
    Bitmap.SetMonochrome(true);
    EXPECT_EQ(Bitmap.PixelFormat(), pf1bit);
    for (int X = 0; X < 7; ++X)
        EXPECT_EQ(Bitmap.Canvas()->Pixels(X, 0), X == 5 ? clWhite : clBlack) << X;
    EXPECT_EQ(Bitmap.TransparentColor(), clWhite);
}

TEST_F(BitmapTest, TransparentColourFollowsTheBottomLeftPixelUntilSet) {
    TBitmap Bitmap;
    Bitmap.SetSize(3, 3);
    Bitmap.Canvas()->SetPixels(0, 2, clOlive);
    EXPECT_EQ(Bitmap.TransparentMode(), tmAuto);
    EXPECT_EQ(Bitmap.TransparentColor(), clOlive);
    Bitmap.SetTransparentColor(clRed);
    EXPECT_EQ(Bitmap.TransparentMode(), tmFixed);
    Bitmap.Canvas()->SetPixels(0, 2, clBlue);
    EXPECT_EQ(Bitmap.TransparentColor(), clRed);
    Bitmap.SetTransparentMode(tmAuto);
    EXPECT_EQ(Bitmap.TransparentColor(), clBlue);
}

} // namespace
