#include "platform/gui/Graphics.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(FontTest, EachChangeFiresOnChangeOnceAndAnUnchangedValueNever) {
    struct Case {
        const char* Name;
        std::function<void(TFont&)> Change;
    };
    const Case Cases[] = {
        {"name", [](TFont& F) { F.SetName("Arial"); }},
        {"size", [](TFont& F) { F.SetSize(12); }},
        {"height", [](TFont& F) { F.SetHeight(-20); }},
        {"colour", [](TFont& F) { F.SetColor(clRed); }},
        {"style",
         [](TFont& F) {
             F.SetStyle({fsBold, fsUnderline});
         }},
        {"pitch", [](TFont& F) { F.SetPitch(fpFixed); }},
        {"charset", [](TFont& F) { F.SetCharset(ANSI_CHARSET); }},
    };
    for (const Case& C : Cases) {
        TFont Font;
        int Fired = 0;
        Font.OnChange = [&](TObject* Sender) {
            EXPECT_EQ(Sender, &Font);
            ++Fired;
        };
        C.Change(Font);
        EXPECT_EQ(Fired, 1) << C.Name;
        C.Change(Font);
        EXPECT_EQ(Fired, 1) << C.Name << " set again";
    }
}

TEST(FontTest, EmptyNameIsIgnored) {
    TFont Font;
    int Fired = 0;
    Font.OnChange = [&](TObject*) { ++Fired; };
    Font.SetName("");
    EXPECT_EQ(Font.Name(), "MS Sans Serif");
    EXPECT_EQ(Fired, 0);
}

TEST(FontTest, SizeAndHeightFollowEachOtherAtTheFontsResolution) {
    struct Case {
        int Size;
        int Height;
    };
    for (const Case& C : {Case{8, -11}, Case{10, -13}, Case{12, -16}, Case{9, -12}}) {
        TFont Font;
        Font.SetSize(C.Size);
        EXPECT_EQ(Font.Height(), C.Height) << C.Size;
        Font.SetHeight(C.Height);
        EXPECT_EQ(Font.Size(), C.Size) << C.Height;
    }
}

TEST(FontTest, AssignCopiesEverythingWithOneChangeAndMakesTheFontsEqual) {
    TFont Source;
    Source.SetName("Courier New");
    Source.SetHeight(-15);
    Source.SetColor(clNavy);
    Source.SetStyle({fsItalic, fsStrikeOut});
    Source.SetPitch(fpFixed);
    Source.SetCharset(OEM_CHARSET);

    TFont Dest;
    EXPECT_FALSE(Dest == Source);
    int Fired = 0;
    Dest.OnChange = [&](TObject*) { ++Fired; };
    Dest.Assign(&Source);
    EXPECT_EQ(Fired, 1);
    EXPECT_TRUE(Dest == Source);
    EXPECT_EQ(Dest.Name(), "Courier New");
    EXPECT_EQ(Dest.Style(), (TFontStyles{fsItalic, fsStrikeOut}));

    // The name is compared as the system compares font names: without case.
    Dest.SetName("COURIER NEW");
    EXPECT_TRUE(Dest == Source);
    Dest.SetColor(clRed);
    EXPECT_FALSE(Dest == Source);
}

TEST(FontTest, AssignFromAnotherKindIsAnError) {
    TFont Font;
    TPen Pen;
    EXPECT_THROW(Font.Assign(&Pen), EConvertError);
}

TEST(BrushTest, ChoosingAColourMakesAClearBrushSolid) {
    TBrush Brush;
    Brush.SetStyle(bsClear);
    int Fired = 0;
    Brush.OnChange = [&](TObject*) { ++Fired; };
    Brush.SetColor(clWhite);
    EXPECT_EQ(Brush.Style(), bsSolid);
    EXPECT_EQ(Fired, 1);
}

} // namespace
