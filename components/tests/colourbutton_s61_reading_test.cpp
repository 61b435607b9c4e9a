// The colour bit button on a shown form: its face colours with and without
// the focus, the focus font following the font, the hover glyph, the kinds
// and the pressed face, checked on what it draws.
#include "components/ColorBitBtn.h"
#include "components/ColorBitBtnKinds.h"
#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/Streams.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace components;

namespace {

const TColor Face = static_cast<TColor>(0x3080C0);
const TColor Focus = static_cast<TColor>(0x20C040);

std::unique_ptr<TBitmap> Solid(TColor Color, int Width = 16, int Height = 16) {
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->SetSize(Width, Height);
    Bitmap->Canvas()->Brush()->SetColor(Color);
    Bitmap->Canvas()->FillRect(TRect{0, 0, Width, Height});
    return Bitmap;
}

class ColourButton : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 300, 200);
        Button = new TColorBitBtn(Form);
        Button->SetParent(Form);
        Button->SetBounds(10, 10, 120, 40);
        Other = new TEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(10, 80, 100, 24);
        Form->Show();
        QApplication::processEvents();
    }
    void TearDown() override { delete Form; }

    TColor Pixel(int X, int Y) {
        Button->Invalidate();
        Button->Update();
        return ColorToRGB(Button->Canvas()->Pixels(X, Y));
    }
    // A point of the face away from the frame, the caption and the glyph.
    TColor FacePixel() { return Pixel(Button->Width() - 8, Button->Height() / 2); }
    // The box around every pixel inside the frame that is not the face.
    TRect DrawnBox(TColor FaceColor) {
        Button->Invalidate();
        Button->Update();
        TRect Box{1000, 1000, -1, -1};
        for (int y = 6; y < Button->Height() - 6; ++y)
            for (int x = 6; x < Button->Width() - 6; ++x)
                if (ColorToRGB(Button->Canvas()->Pixels(x, y)) != ColorToRGB(FaceColor)) {
                    Box.Left = std::min(Box.Left, x);
                    Box.Top = std::min(Box.Top, y);
                    Box.Right = std::max(Box.Right, x);
                    Box.Bottom = std::max(Box.Bottom, y);
                }
        return Box;
    }
    void Mouse(QEvent::Type Type, Qt::MouseButtons Buttons) {
        QWidget* W = Button->Widget();
        const QPointF At(Button->Width() / 2, Button->Height() / 2);
        QMouseEvent Event(Type, At, W->mapToGlobal(At), Qt::LeftButton, Buttons, Qt::NoModifier);
        QApplication::sendEvent(W, &Event);
    }
    void Enter() {
        QWidget* W = Button->Widget();
        const QPointF At(5, 5);
        QEnterEvent Event(At, At, W->mapToGlobal(At));
        QApplication::sendEvent(W, &Event);
    }
    void Leave() {
        QEvent Event(QEvent::Leave);
        QApplication::sendEvent(Button->Widget(), &Event);
    }
    TColor GlyphPixel() { return ColorToRGB(Button->Glyph()->Canvas()->Pixels(2, 2)); }

    TForm* Form = nullptr;
    TColorBitBtn* Button = nullptr;
    TEdit* Other = nullptr;
};

TEST_F(ColourButton, StartsWithTheFrameworkDefaults) {
    EXPECT_EQ(Button->Color(), clBtnFace);
    EXPECT_EQ(Button->FocusColor(), clNone);
    EXPECT_EQ(Button->Font()->Color(), clBtnText);
    EXPECT_TRUE(FontsEqual(*Button->FocusFont(), *Button->Font()));
    EXPECT_EQ(Button->Kind(), bkCustom);
    EXPECT_EQ(Button->NumGlyphs(), 1);
    EXPECT_TRUE(Button->Glyph2()->Empty());
}

TEST_F(ColourButton, TheFaceTakesTheFocusColourOnlyWhileActive) {
    Button->SetColor(Face);
    Other->SetFocus();
    EXPECT_EQ(FacePixel(), ColorToRGB(Face));
    Button->SetFocus();
    ASSERT_TRUE(Button->IsActive());
    EXPECT_EQ(FacePixel(), ColorToRGB(Face)); // FocusColor clNone keeps Color

    Button->SetFocusColor(Focus);
    EXPECT_EQ(FacePixel(), ColorToRGB(Focus));
    Other->SetFocus();
    EXPECT_FALSE(Button->IsActive());
    EXPECT_EQ(FacePixel(), ColorToRGB(Face));
    Button->SetFocus();
    EXPECT_EQ(FacePixel(), ColorToRGB(Focus));
}

TEST_F(ColourButton, TheFocusFontFollowsTheFontWhileTheyAreEqual) {
    Button->Font()->SetSize(14);
    EXPECT_EQ(Button->FocusFont()->Size(), 14);
    Button->FocusFont()->SetStyle(TFontStyles{TFontStyle::fsBold});
    Button->Font()->SetColor(clRed);
    EXPECT_EQ(Button->FocusFont()->Color(), clBtnText);
    EXPECT_EQ(Button->FocusFont()->Size(), 14);

    // Equal again: following again.
    Button->FocusFont()->SetColor(clRed);
    Button->Font()->SetStyle(TFontStyles{TFontStyle::fsBold});
    ASSERT_TRUE(FontsEqual(*Button->FocusFont(), *Button->Font()));
    Button->Font()->SetSize(9);
    EXPECT_EQ(Button->FocusFont()->Size(), 9);

    TFont Given;
    Given.Assign(Button->Font());
    Given.SetName("DejaVu Serif");
    Button->SetFocusFont(&Given);
    EXPECT_EQ(Button->FocusFont()->Name(), "DejaVu Serif");
    EXPECT_NE(Button->FocusFont(), &Given);
}

TEST_F(ColourButton, TheHoverGlyphShowsWhileTheMouseIsOver) {
    const auto First = Solid(clRed);
    Button->SetGlyph(First.get());
    Enter();
    EXPECT_EQ(GlyphPixel(), ColorToRGB(clRed)); // no Glyph2: unchanged
    Leave();
    EXPECT_EQ(GlyphPixel(), ColorToRGB(clRed));

    const auto Second = Solid(clBlue);
    Button->SetGlyph2(Second.get());
    Enter();
    EXPECT_EQ(GlyphPixel(), ColorToRGB(clBlue));
    Leave();
    EXPECT_EQ(GlyphPixel(), ColorToRGB(clRed));

    // Pressing and releasing over the button brings the first glyph back
    // while the mouse is still over it.
    Enter();
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(GlyphPixel(), ColorToRGB(clRed));
    Leave();
    EXPECT_EQ(GlyphPixel(), ColorToRGB(clRed));
}

TEST_F(ColourButton, NumGlyphsIsHeldToOneToFour) {
    struct Case {
        int Set, Read;
    } const Cases[] = {{7, 4}, {-3, 1}, {2, 2}, {0, 2}, {3, 3}, {4, 4}, {1, 1}};
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.Set);
        Button->SetNumGlyphs(c.Set);
        EXPECT_EQ(Button->NumGlyphs(), c.Read);
    }
}

TEST_F(ColourButton, AKindSetsCaptionResultAndGlyphsUntilTheButtonIsChanged) {
    struct Case {
        TBitBtnKind Kind;
        const char* Caption;
        TModalResult Result;
    } const Cases[] = {
        {bkOK, SOKButton, 1},         {bkCancel, SCancelButton, 2}, {bkHelp, SHelpButton, 0},
        {bkYes, SYesButton, 6},       {bkNo, SNoButton, 7},         {bkClose, SCloseButton, 0},
        {bkAbort, SAbortButton, 3},   {bkRetry, SRetryButton, 4},   {bkIgnore, SIgnoreButton, 5},
        {bkAll, SAllButton, 8},
    };
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.Caption);
        TColorBitBtn B(nullptr);
        B.SetDefault(true);
        B.SetCancel(true);
        B.SetKind(c.Kind);
        EXPECT_EQ(B.Kind(), c.Kind);
        EXPECT_FALSE(B.Default());
        EXPECT_FALSE(B.Cancel());
        EXPECT_EQ(B.Caption(), c.Caption);
        EXPECT_EQ(B.ModalResult(), c.Result);
        EXPECT_EQ(B.NumGlyphs(), 2);
        EXPECT_FALSE(B.IsCustom());
    }

    struct Change {
        const char* What;
        std::function<void(TColorBitBtn&)> Do;
    } const Changes[] = {
        {"Default", [](TColorBitBtn& B) { B.SetDefault(true); }},
        {"Cancel", [](TColorBitBtn& B) { B.SetCancel(true); }},
        {"ModalResult", [](TColorBitBtn& B) { B.SetModalResult(3); }},
        {"Glyph", [](TColorBitBtn& B) { B.SetGlyph(Solid(clRed).get()); }},
    };
    for (const Change& c : Changes) {
        SCOPED_TRACE(c.What);
        TColorBitBtn B(nullptr);
        B.SetKind(bkOK);
        c.Do(B);
        EXPECT_EQ(B.Kind(), bkCustom);
        EXPECT_TRUE(B.IsCustom());
        // It stays custom when the change is taken back.
        B.SetDefault(false);
        B.SetCancel(false);
        B.SetModalResult(1);
        EXPECT_EQ(B.Kind(), bkCustom);
    }
}

TEST_F(ColourButton, AStreamedKindKeepsTheStreamedCaption) {
    Button->SetKind(bkOK);
    Button->SetCaption("Go");
    TMemoryStream Stream;
    WriteComponentRes(&Stream, Button);
    TColorBitBtn Read(nullptr);
    Stream.SetPosition(0);
    ReadComponentRes(&Stream, &Read);
    EXPECT_EQ(Read.Kind(), bkOK);
    EXPECT_EQ(Read.Caption(), "Go");
    EXPECT_EQ(Read.ModalResult(), 1);
    EXPECT_EQ(Read.NumGlyphs(), 2);
}

TEST_F(ColourButton, ADisabledButtonKeepsItsFaceAndDrawsItsCaptionApart) {
    Button->SetColor(Face);
    Button->SetCaption("Off");
    Other->SetFocus();
    const TRect Enabled = DrawnBox(Face);
    const TColor EnabledInk = Pixel((Enabled.Left + Enabled.Right) / 2, Enabled.Top);
    Button->SetEnabled(false);
    EXPECT_EQ(FacePixel(), ColorToRGB(Face));
    const TRect Disabled = DrawnBox(Face);
    ASSERT_LT(Disabled.Left, Disabled.Right);
    bool Differs = false;
    for (int y = Disabled.Top; y <= Disabled.Bottom && !Differs; ++y)
        for (int x = Disabled.Left; x <= Disabled.Right && !Differs; ++x) {
            const TColor P = ColorToRGB(Button->Canvas()->Pixels(x, y));
            Differs = P != ColorToRGB(Face) && P != ColorToRGB(Button->Font()->Color()) &&
                      P != EnabledInk;
        }
    EXPECT_TRUE(Differs);
}

TEST_F(ColourButton, TheHoverGlyphIsStreamed) {
    Button->SetGlyph2(Solid(clBlue, 12, 10).get());
    TMemoryStream Stream;
    WriteComponentRes(&Stream, Button);
    TColorBitBtn Read(nullptr);
    Stream.SetPosition(0);
    ReadComponentRes(&Stream, &Read);
    ASSERT_EQ(Read.Glyph2()->Width(), 12);
    EXPECT_EQ(Read.Glyph2()->Height(), 10);
    EXPECT_EQ(ColorToRGB(Read.Glyph2()->Canvas()->Pixels(3, 3)), ColorToRGB(clBlue));
}

TEST_F(ColourButton, APressedFaceIsDrawnOnePixelDownRightInsideAShadowBorder) {
    Button->SetColor(Face);
    Button->SetCaption("Press");
    Other->SetFocus();
    const TRect Up = DrawnBox(Face);
    ASSERT_LT(Up.Left, Up.Right);
    EXPECT_NE(Pixel(0, 0), ColorToRGB(clBtnShadow));

    Mouse(QEvent::MouseButtonPress, Qt::LeftButton);
    const TRect Down = DrawnBox(Face);
    EXPECT_EQ(Down.Left, Up.Left + 1);
    EXPECT_EQ(Down.Top, Up.Top + 1);
    // The one border inside the active button's frame is the shadow colour.
    const int Edge = Button->IsActive() ? 1 : 0;
    EXPECT_EQ(Pixel(Edge, Button->Height() / 2), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Pixel(Button->Width() / 2, Button->Height() - 1 - Edge), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Pixel(Edge + 1, Button->Height() / 2), ColorToRGB(Face));

    Mouse(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(DrawnBox(Face).Left, Up.Left);
}

// The glyph a program gave the button is never lost to the hover swap.
TEST_F(ColourButton, TheHoverSwapNeverLosesTheButtonsGlyph) {
    const auto First = Solid(clRed);
    const auto Second = Solid(clBlue);
    const auto Third = Solid(clLime);
    Button->SetGlyph(First.get());
    Button->SetGlyph2(Second.get());

    // A press and release without an enter before it (the button appeared
    // under the mouse).
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(GlyphPixel(), ColorToRGB(clRed));

    // A glyph set while the mouse is over the button is the one that stays.
    Enter();
    Button->SetGlyph(Third.get());
    Leave();
    EXPECT_EQ(GlyphPixel(), ColorToRGB(clLime));

    // A second enter before the leave (the platform repeats it, for one
    // after a modal box) does not take the hover glyph for the button's.
    Enter();
    Enter();
    Leave();
    EXPECT_EQ(GlyphPixel(), ColorToRGB(clLime));

    // So is the glyph of a kind chosen meanwhile.
    Enter();
    Button->SetKind(bkOK);
    Leave();
    TBitmap* Ok = BitBtnGlyph(bkOK);
    ASSERT_EQ(Button->Glyph()->Width(), Ok->Width());
    for (int x = 0; x < Ok->Width(); ++x)
        for (int y = 0; y < Ok->Height(); ++y)
            ASSERT_EQ(Button->Glyph()->Canvas()->Pixels(x, y), Ok->Canvas()->Pixels(x, y))
                << x << "," << y;
}

TEST_F(ColourButton, AnActiveButtonDrawsAFocusRectangleInsideItsFrame) {
    Button->SetColor(Face);
    Button->SetCaption("");
    Other->SetFocus();
    auto Marked = [&] {
        Button->Invalidate();
        Button->Update();
        int Count = 0;
        for (int y = 6; y < Button->Height() - 6; ++y)
            Count += ColorToRGB(Button->Canvas()->Pixels(4, y)) != ColorToRGB(Face);
        return Count;
    };
    EXPECT_EQ(Marked(), 0);
    Button->SetFocus();
    EXPECT_GT(Marked(), 0);
    EXPECT_EQ(Pixel(0, Button->Height() / 2), ColorToRGB(clWindowFrame));
}

TEST_F(ColourButton, OnlyACustomButtonStoresItsGlyph) {
    auto Text = [](TColorBitBtn& B) {
        TMemoryStream Binary;
        WriteComponentRes(&Binary, &B);
        Binary.SetPosition(0);
        TStringStream Out;
        ObjectBinaryToText(&Binary, &Out);
        return Out.DataString();
    };
    TColorBitBtn Custom(nullptr);
    Custom.SetGlyph(Solid(clRed).get());
    Custom.SetNumGlyphs(2);
    const AnsiString CustomText = Text(Custom);
    EXPECT_NE(CustomText.find("Glyph.Data"), AnsiString::npos) << CustomText;
    EXPECT_NE(CustomText.find("NumGlyphs"), AnsiString::npos) << CustomText;

    TColorBitBtn Ok(nullptr);
    Ok.SetKind(bkOK);
    const AnsiString OkText = Text(Ok);
    EXPECT_EQ(OkText.find("Glyph.Data"), AnsiString::npos) << OkText;
    EXPECT_EQ(OkText.find("NumGlyphs"), AnsiString::npos) << OkText;
    EXPECT_NE(OkText.find("Kind = bkOK"), AnsiString::npos) << OkText;
}

TEST_F(ColourButton, TheDefaultButtonIsActiveWhileNoOtherButtonHasTheFocus) {
    Button->SetColor(Face);
    Button->SetFocusColor(Focus);
    Button->SetDefault(true);
    Other->SetFocus();
    EXPECT_TRUE(Button->IsActive());
    EXPECT_EQ(FacePixel(), ColorToRGB(Focus));

    auto* Second = new TColorBitBtn(Form);
    Second->SetParent(Form);
    Second->SetBounds(150, 10, 80, 30);
    Second->SetFocus();
    EXPECT_FALSE(Button->IsActive());
    EXPECT_TRUE(Second->IsActive());
    EXPECT_EQ(FacePixel(), ColorToRGB(Face));

    Other->SetFocus();
    EXPECT_TRUE(Button->IsActive());
    EXPECT_FALSE(Second->IsActive());
    EXPECT_EQ(FacePixel(), ColorToRGB(Focus));
}

TEST_F(ColourButton, StreamedFontsKeepWhetherTheyFollowEachOther) {
    TColorBitBtn Apart(nullptr);
    Apart.Font()->SetSize(14);
    Apart.FocusFont()->SetStyle(TFontStyles{TFontStyle::fsBold});
    TColorBitBtn Together(nullptr);
    Together.Font()->SetSize(13);
    for (TColorBitBtn* Source : {&Apart, &Together}) {
        TMemoryStream Stream;
        WriteComponentRes(&Stream, Source);
        TColorBitBtn Read(nullptr);
        Stream.SetPosition(0);
        ReadComponentRes(&Stream, &Read);
        EXPECT_TRUE(FontsEqual(*Read.FocusFont(), *Source->FocusFont()));
        EXPECT_TRUE(FontsEqual(*Read.Font(), *Source->Font()));
        Read.Font()->SetColor(clRed);
        EXPECT_EQ(Read.FocusFont()->Color() == clRed, Source == &Together);
    }
}

TEST_F(ColourButton, SettingTheSameKindAgainChangesNothing) {
    Button->SetKind(bkOK);
    Button->SetCaption("Fine");
    Button->SetKind(bkOK);
    EXPECT_EQ(Button->Caption(), "Fine");
    Button->SetKind(bkCustom);
    EXPECT_EQ(Button->Kind(), bkCustom);
    EXPECT_EQ(Button->Caption(), "Fine");
    EXPECT_EQ(Button->ModalResult(), 1);
}

} // namespace
