// The colour bit button on a shown form: its face colour while active and
// not, the focus font following the font, the hover glyph, the glyph count,
// the kinds, and the pushed face, seen on the pixels it paints.
#include "components/ColorBitBtn.h"
#include "components/ColorBitBtnKinds.h"
#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/gui/Colors.h"
#include "platform/rtl/Streams.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QImage>

using namespace components;

namespace {

QRgb Rgb(TColor C) {
    const TColor V = ColorToRGB(C);
    return qRgb(V & 0xFF, (V >> 8) & 0xFF, (V >> 16) & 0xFF);
}

class ColourBitButton : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 300, 200);
        Btn = new TColorBitBtn(Form);
        Btn->SetParent(Form);
        Btn->SetBounds(10, 10, 100, 40);
        Other = new TColorBitBtn(Form);
        Other->SetParent(Form);
        Other->SetBounds(10, 60, 100, 40);
        ShowActive(*Form);
        QApplication::processEvents();
    }
    void TearDown() override { delete Form; }
    QImage Face() {
        QApplication::processEvents();
        Btn->Update();
        return Btn->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QRgb Middle() {
        const QImage I = Face();
        return I.pixel(I.width() / 2, I.height() / 2) & 0xFFFFFF;
    }
    static std::unique_ptr<TBitmap> Solid(TColor C, int W = 16, int H = 16) {
        auto B = std::make_unique<TBitmap>();
        B->SetSize(W, H);
        B->Canvas()->Brush()->SetColor(C);
        B->Canvas()->FillRect(TRect{0, 0, W, H});
        return B;
    }
    void Enter() {
        QEnterEvent E(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(Btn->Widget(), &E);
    }
    void Leave() {
        QEvent E(QEvent::Leave);
        QApplication::sendEvent(Btn->Widget(), &E);
    }

    TForm* Form = nullptr;
    TColorBitBtn* Btn = nullptr;
    TColorBitBtn* Other = nullptr;
};

TEST_F(ColourBitButton, StartsWithTheDocumentedDefaults) {
    EXPECT_EQ(Btn->Color(), clBtnFace);
    EXPECT_EQ(Btn->FocusColor(), clNone);
    EXPECT_EQ(Btn->Font()->Color(), clBtnText);
    EXPECT_TRUE(FontsEqual(*Btn->FocusFont(), *Btn->Font()));
    EXPECT_EQ(Btn->Kind(), bkCustom);
    EXPECT_EQ(Btn->NumGlyphs(), 1);
    EXPECT_TRUE(Btn->Glyph2()->Empty());
}

TEST_F(ColourBitButton, FaceTakesTheFocusColourOnlyWhileActive) {
    Btn->SetColor(clYellow);
    Other->SetFocus();
    EXPECT_EQ(Middle(), Rgb(clYellow) & 0xFFFFFF);
    // clNone keeps the face colour when the button is active.
    Btn->SetFocus();
    ASSERT_TRUE(Btn->IsActive());
    EXPECT_EQ(Middle(), Rgb(clYellow) & 0xFFFFFF);
    Btn->SetFocusColor(clLime);
    EXPECT_EQ(Middle(), Rgb(clLime) & 0xFFFFFF);
    Other->SetFocus();
    EXPECT_FALSE(Btn->IsActive());
    EXPECT_EQ(Middle(), Rgb(clYellow) & 0xFFFFFF);
    // An active button carries a window-frame border.
    Btn->SetFocus();
    EXPECT_EQ(Face().pixel(0, 20) & 0xFFFFFF, Rgb(clWindowFrame) & 0xFFFFFF);
}

TEST_F(ColourBitButton, FocusFontFollowsTheFontUntilMadeDifferent) {
    Btn->Font()->SetSize(14);
    EXPECT_EQ(Btn->FocusFont()->Size(), 14);
    Btn->FocusFont()->SetStyle(TFontStyles{fsBold});
    Btn->Font()->SetColor(clRed);
    EXPECT_NE(Btn->FocusFont()->Color(), clRed);
    EXPECT_EQ(Btn->FocusFont()->Size(), 14);
    // Made equal again, it follows again.
    TFont Same;
    Same.Assign(Btn->Font());
    Btn->SetFocusFont(&Same);
    Btn->Font()->SetSize(9);
    EXPECT_EQ(Btn->FocusFont()->Size(), 9);
}

TEST_F(ColourBitButton, HoverGlyphShowsWhileTheMouseIsOver) {
    auto Plain = Solid(clRed);
    Btn->SetGlyph(Plain.get());
    // Without a hover glyph entering keeps the glyph.
    Enter();
    EXPECT_EQ(Btn->Glyph()->Canvas()->Pixels(1, 1), clRed);
    Leave();
    auto Hover = Solid(clBlue);
    Btn->SetGlyph2(Hover.get());
    Enter();
    EXPECT_EQ(Btn->Glyph()->Canvas()->Pixels(1, 1), clBlue);
    Leave();
    EXPECT_EQ(Btn->Glyph()->Canvas()->Pixels(1, 1), clRed);
    // A click over the button puts the saved glyph back though the mouse stays.
    Enter();
    SendMouse(Btn->Widget(), QEvent::MouseButtonPress, QPoint(50, 20));
    SendMouse(Btn->Widget(), QEvent::MouseButtonRelease, QPoint(50, 20));
    EXPECT_EQ(Btn->Glyph()->Canvas()->Pixels(1, 1), clRed);
}

TEST_F(ColourBitButton, NumGlyphsIsHeldToOneToFour) {
    struct Case { int Set, Read; };
    for (const Case& C : {Case{7, 4}, Case{-3, 1}, Case{2, 2}, Case{0, 2}, Case{4, 4}}) {
        Btn->SetNumGlyphs(C.Set);
        EXPECT_EQ(Btn->NumGlyphs(), C.Read) << C.Set;
    }
}

TEST_F(ColourBitButton, KindBringsCaptionResultAndGlyphsUntilChangedAway) {
    struct Case { TBitBtnKind Kind; const char* Caption; TModalResult Result; };
    for (const Case& C : {Case{bkOK, SOKButton, 1}, Case{bkCancel, SCancelButton, 2},
                          Case{bkHelp, SHelpButton, 0}, Case{bkYes, SYesButton, 6},
                          Case{bkNo, SNoButton, 7}, Case{bkClose, SCloseButton, 0},
                          Case{bkAbort, SAbortButton, 3}, Case{bkRetry, SRetryButton, 4},
                          Case{bkIgnore, SIgnoreButton, 5}, Case{bkAll, SAllButton, 8}}) {
        Btn->SetKind(bkCustom);
        Btn->SetDefault(true);
        Btn->SetCancel(true);
        Btn->SetKind(C.Kind);
        EXPECT_FALSE(Btn->Default());
        EXPECT_FALSE(Btn->Cancel());
        EXPECT_EQ(Btn->Caption(), AnsiString(C.Caption));
        EXPECT_EQ(Btn->ModalResult(), C.Result);
        EXPECT_EQ(Btn->NumGlyphs(), 2);
        EXPECT_EQ(Btn->Kind(), C.Kind);
        EXPECT_FALSE(Btn->IsCustom());
    }
    // Each of these makes the kind read custom, and it stays so.
    using Change = void (*)(TColorBitBtn*);
    const Change Changes[] = {
        [](TColorBitBtn* B) { B->SetDefault(true); },
        [](TColorBitBtn* B) { B->SetCancel(true); },
        [](TColorBitBtn* B) { B->SetModalResult(mrNo); },
        [](TColorBitBtn* B) {
            auto G = Solid(clRed);
            B->SetGlyph(G.get());
        },
    };
    for (Change Do : Changes) {
        Btn->SetKind(bkCustom);
        Btn->SetDefault(false);
        Btn->SetCancel(false);
        Btn->SetKind(bkOK);
        ASSERT_EQ(Btn->Kind(), bkOK);
        Do(Btn);
        EXPECT_EQ(Btn->Kind(), bkCustom);
        Btn->SetDefault(false);
        Btn->SetCancel(false);
        Btn->SetModalResult(1);
        EXPECT_EQ(Btn->Kind(), bkCustom);
    }
    // Once the mouse has entered, any kind reads custom.
    Btn->SetKind(bkYes);
    Enter();
    Leave();
    EXPECT_TRUE(Btn->IsCustom());
}

TEST_F(ColourBitButton, PushedFaceHasAShadowBorderAndMovesTheGlyph) {
    // A red square on a white ground, the ground being the transparent colour.
    auto G = Solid(clWhite, 8, 8);
    G->Canvas()->Brush()->SetColor(clRed);
    G->Canvas()->FillRect(TRect{2, 2, 6, 6});
    Btn->SetGlyph(G.get());
    Btn->SetColor(clYellow);
    Other->SetFocus();
    auto FirstRed = [](const QImage& I) {
        for (int Y = 0; Y < I.height(); ++Y)
            for (int X = 0; X < I.width(); ++X)
                if ((I.pixel(X, Y) & 0xFFFFFF) == (Rgb(clRed) & 0xFFFFFF)) return QPoint(X, Y);
        return QPoint(-1, -1);
    };
    const QImage Up = Face();
    const QPoint UpGlyph = FirstRed(Up);
    ASSERT_NE(UpGlyph, QPoint(-1, -1));
    EXPECT_NE(Up.pixel(0, 20) & 0xFFFFFF, Rgb(clBtnShadow) & 0xFFFFFF);

    SendMouse(Btn->Widget(), QEvent::MouseButtonPress, QPoint(50, 20));
    const QImage Down = Face();
    EXPECT_EQ(FirstRed(Down), UpGlyph + QPoint(1, 1));
    // Pushed: one shadow line around a face-coloured inside.
    for (QPoint P : {QPoint(0, 20), QPoint(99, 20), QPoint(50, 0), QPoint(50, 39)})
        EXPECT_EQ(Down.pixel(P) & 0xFFFFFF, Rgb(clBtnShadow) & 0xFFFFFF) << P.x() << "," << P.y();
    for (QPoint P : {QPoint(1, 20), QPoint(98, 20), QPoint(50, 1), QPoint(50, 38)})
        EXPECT_EQ(Down.pixel(P) & 0xFFFFFF, Rgb(clYellow) & 0xFFFFFF) << P.x() << "," << P.y();
    SendMouse(Btn->Widget(), QEvent::MouseButtonRelease, QPoint(50, 20));
    EXPECT_EQ(FirstRed(Face()), UpGlyph);
}

TEST_F(ColourBitButton, AStreamedKindKeepsItsCaptionAndStoresNoGlyph) {
    TStringStream Text("object B: TColorBitBtn\n  Caption = 'Go'\n  Kind = bkOK\nend\n");
    TMemoryStream Binary;
    ObjectTextToBinary(&Text, &Binary);
    Binary.SetPosition(0);
    auto* B = new TColorBitBtn(Form);
    B->SetParent(Form);
    ReadComponentRes(&Binary, B);
    EXPECT_EQ(B->Caption(), AnsiString("Go"));
    EXPECT_EQ(B->Kind(), bkOK);
    EXPECT_EQ(B->ModalResult(), 1);

    TMemoryStream Out;
    WriteComponentRes(&Out, B);
    Out.SetPosition(0);
    TStringStream Written;
    ObjectBinaryToText(&Out, &Written);
    const std::string W = Written.DataString().c_str();
    EXPECT_NE(W.find("Kind = bkOK"), std::string::npos) << W;
    EXPECT_EQ(W.find("Glyph.Data"), std::string::npos) << W;
    EXPECT_EQ(W.find("NumGlyphs"), std::string::npos) << W;
}

TEST_F(ColourBitButton, FocusedFaceCarriesAFocusRectangleAndADisabledOneNoColouredGlyph) {
    Btn->SetColor(clYellow);
    auto LeftLineMarked = [&] {
        const QImage I = Face();
        int Marked = 0;
        for (int Y = 8; Y < 32; ++Y)
            Marked += (I.pixel(4, Y) & 0xFFFFFF) != (Rgb(clYellow) & 0xFFFFFF);
        return Marked;
    };
    Other->SetFocus();
    EXPECT_EQ(LeftLineMarked(), 0);
    Btn->SetFocus();
    EXPECT_GT(LeftLineMarked(), 0);

    auto G = Solid(clWhite, 8, 8);
    G->Canvas()->Brush()->SetColor(clRed);
    G->Canvas()->FillRect(TRect{2, 2, 6, 6});
    Btn->SetGlyph(G.get());
    auto HasRed = [&] {
        const QImage I = Face();
        for (int Y = 0; Y < I.height(); ++Y)
            for (int X = 0; X < I.width(); ++X)
                if ((I.pixel(X, Y) & 0xFFFFFF) == (Rgb(clRed) & 0xFFFFFF)) return true;
        return false;
    };
    EXPECT_TRUE(HasRed());
    Other->SetFocus();
    Btn->SetEnabled(false);
    EXPECT_FALSE(HasRed());
}

} // namespace
