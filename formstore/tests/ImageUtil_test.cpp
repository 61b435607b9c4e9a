#include "formstore/ImageUtil.h"

#include "grid/foundation/ImageList.h"
#include "grid/view/GridResources.h"
#include "platform/gui/Cursors.h"
#include "platform/gui/CustomControl.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/testing/ChildProcess.h"

#include "platform/gui/testing/FilledBitmap.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include <memory>
#include <string>
#include <sys/wait.h>

using namespace formstore;

namespace {

using testing_support::Filled;

void Fill(TCanvas* Canvas, const TRect& R, TColor Color) {
    Canvas->Brush()->SetColor(Color);
    Canvas->FillRect(R);
}

// Red, with a blue square in its top-left 50 x 50 pixels.
class TBackPanel : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override {
        Fill(Canvas(), ClientRect(), clRed);
        Fill(Canvas(), Rect(0, 0, 50, 50), clBlue);
    }
};

class TGreenShape : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override { Fill(Canvas(), ClientRect(), clLime); }
};

class ImageUtil : public ::testing::Test {
protected:
    void SetUp() override { Application->Initialize(); }
};

TEST_F(ImageUtil, CopyParentImagePaintsTheParentAndTheSiblingsBehind) {
    TForm Form(nullptr);
    auto* Back = new TBackPanel(&Form);
    Back->SetBounds(0, 0, 200, 100);
    Back->SetParent(&Form);
    auto* Behind = new TGreenShape(&Form);
    Behind->SetBounds(30, 30, 20, 20);
    Behind->SetParent(Back);
    auto* Control = new TGreenShape(&Form);
    Control->SetBounds(40, 20, 30, 30);
    Control->SetParent(Back);
    auto* InFront = new TGreenShape(&Form); // after the control: not behind it
    InFront->SetBounds(51, 30, 20, 20);
    InFront->SetParent(Back);

    auto Picture = Filled(30, 30, clBlack);
    CopyParentImage(Control, Picture->Canvas());
    const struct {
        int X, Y;
        TColor Expected;
    } cases[] = {
        {0, 0, clBlue},  // the parent's blue square at (40, 20)
        {15, 5, clRed},  // the parent's red at (55, 25)
        {5, 15, clLime}, // the sibling behind at (45, 35)
        {12, 15, clRed}, // the sibling in front is left out
        {29, 29, clRed},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Picture->Canvas()->Pixels(c.X, c.Y), c.Expected) << c.X << "," << c.Y;

    // A parent that does not draw itself gives its colour.
    auto* Plain = new TWinControl(&Form);
    Plain->SetBounds(0, 0, 100, 100);
    Plain->SetColor(clYellow);
    Plain->SetParent(&Form);
    Control->SetParent(Plain);
    CopyParentImage(Control, Picture->Canvas());
    EXPECT_EQ(Picture->Canvas()->Pixels(5, 15), clYellow);

    // Without a parent nothing is painted.
    auto Untouched = Filled(4, 4, clBlack);
    Control->SetParent(nullptr);
    CopyParentImage(Control, Untouched->Canvas());
    EXPECT_EQ(Untouched->Canvas()->Pixels(1, 1), clBlack);
}

// A panel draws its caption itself: what lies behind a control on it is
// the panel as the screen shows it, caption included. Compared with a grab
// of the panel's window taken with the control hidden.
TEST_F(ImageUtil, CopyParentImageGivesThePanelAsShownWithItsCaption) {
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 300, 200);
    auto* Panel = new TPanel(&Form);
    Panel->SetBounds(10, 10, 240, 80);
    Panel->SetCaption("WWWW MMMM WWWW");
    Panel->SetParent(&Form);
    auto* Control = new TGreenShape(&Form);
    Control->SetBounds(20, 15, 200, 50);
    Control->SetParent(Panel);
    Form.Show();
    Application->ProcessMessages();

    auto Picture = Filled(200, 50, clBlack);
    CopyParentImage(Control, Picture->Canvas());

    Control->SetVisible(false);
    Application->ProcessMessages();
    const QImage Grab = Panel->Widget()->grab(QRect(20, 15, 200, 50)).toImage();
    ASSERT_EQ(Grab.size(), QSize(200, 50));
    int Differ = 0, Caption = 0;
    const TColor Face = ColorToRGB(Panel->Color());
    for (int Y = 0; Y < 50; ++Y)
        for (int X = 0; X < 200; ++X) {
            const QRgb Pixel = Grab.pixel(X, Y);
            const TColor Shown = static_cast<TColor>(qRed(Pixel) | qGreen(Pixel) << 8 |
                                                     qBlue(Pixel) << 16);
            const TColor Copied = Picture->Canvas()->Pixels(X, Y);
            if (Copied != Shown) ++Differ;
            if (Copied != Face) ++Caption;
        }
    EXPECT_EQ(Differ, 0);
    EXPECT_GT(Caption, 50); // the caption's letters are in it
}

TEST_F(ImageUtil, AnIconOfABitmapIsClearWhereTheBitmapHadItsTransparentColour) {
    auto Source = Filled(16, 16, clFuchsia);
    Fill(Source->Canvas(), Rect(4, 4, 12, 12), clNavy);
    const struct {
        const char* Name;
        TColor Transparent;
        TColor Corner;
    } cases[] = {
        {"the colour given", clFuchsia, clWhite},
        {"the bitmap's own (its bottom-left pixel)", clDefault, clWhite},
        {"none", clNone, clFuchsia},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<TIcon> Icon = CreateIconFromBitmap(Source.get(), c.Transparent);
        EXPECT_EQ(Icon->Width(), 16) << c.Name;
        EXPECT_EQ(Icon->Height(), 16) << c.Name;
        auto Shown = Filled(16, 16, clWhite);
        Shown->Canvas()->Draw(0, 0, Icon.get());
        EXPECT_EQ(Shown->Canvas()->Pixels(0, 0), c.Corner) << c.Name;
        EXPECT_EQ(Shown->Canvas()->Pixels(15, 15), c.Corner) << c.Name;
        EXPECT_EQ(Shown->Canvas()->Pixels(5, 5), clNavy) << c.Name;
    }
    TBitmap Empty;
    EXPECT_THROW(CreateIconFromBitmap(&Empty, clDefault), EInvalidGraphic);
    auto Wide = Filled(300, 8, clWhite);
    EXPECT_THROW(CreateIconFromBitmap(Wide.get(), clDefault), EInvalidGraphic);
}

TEST_F(ImageUtil, AnImageListImageIsDrawnEmbossed) {
    grid::TgxImageList List(nullptr);
    auto Image = Filled(8, 8, clFuchsia);
    Fill(Image->Canvas(), Rect(2, 2, 5, 5), clNavy);
    Image->Canvas()->SetPixels(6, 6, clWhite);
    grid::TgxImage* Item = List.GetImageCollection()->Add();
    Item->SetBitmap(Image.get());
    Item->SetTransparent(true);
    Item->SetTransparentColor(clFuchsia);

    for (const bool Highlight : {true, false}) {
        auto Canvas = Filled(20, 20, clSilver);
        ImageListDrawDisabled(&List, Canvas->Canvas(), 5, 5, 0, clYellow, clGray, Highlight);
        TCanvas* C = Canvas->Canvas();
        EXPECT_EQ(C->Pixels(7, 7), clGray);                            // shape at (2, 2)
        EXPECT_EQ(C->Pixels(9, 9), clGray);                            // shape at (4, 4)
        EXPECT_EQ(C->Pixels(10, 10), Highlight ? clYellow : clSilver); // its highlight
        EXPECT_EQ(C->Pixels(5, 5), clSilver);                          // transparent
        EXPECT_EQ(C->Pixels(11, 11), clSilver);                        // white stays out
    }
    auto Canvas = Filled(20, 20, clSilver);
    ImageListDrawDisabled(&List, Canvas->Canvas(), 5, 5, 3, clYellow, clGray, true);
    EXPECT_EQ(Canvas->Canvas()->Pixels(7, 7), clSilver);
}

// Run alone in a fresh process by the test after it: nothing has asked
// for the hand cursors there, yet the screen has them from the start.
TEST(HandCursorsAtStart, DISABLED_AreInTheScreensListBeforeAnythingAsks) {
    for (const TCursor Id : {crHand, crDragHand})
        ASSERT_NE(Screen->Cursors(Id), nullptr) << Id;
    EXPECT_EQ(CursorHotSpot(Screen->Cursors(crHand)), Point(6, 2));
    EXPECT_EQ(CursorHotSpot(Screen->Cursors(crDragHand)), Point(9, 9));
}

TEST(HandCursorsAtStart, AProgramStartsWithTheHandCursorsRegistered) {
    testing_support::ChildProcess Child(
        {"/proc/self/exe",
         "--gtest_filter=HandCursorsAtStart.DISABLED_AreInTheScreensListBeforeAnythingAsks",
         "--gtest_also_run_disabled_tests"},
        "the test program");
    const int Status = Child.Finish();
    EXPECT_TRUE(WIFEXITED(Status)) << Child.Output;
    EXPECT_EQ(WEXITSTATUS(Status), 0) << Child.Output;
    // A child that ran nothing would end well too.
    EXPECT_NE(Child.Output.find("[  PASSED  ] 1 test."), std::string::npos) << Child.Output;
}

TEST_F(ImageUtil, HandCursorsAndDefinedCursorsGoToTheScreensList) {
    RegisterHandCursors();
    for (const TCursor Id : {crHand, crDragHand}) {
        HCURSOR Cursor = Screen->Cursors(Id);
        ASSERT_NE(Cursor, nullptr) << Id;
        EXPECT_EQ(CursorSize(Cursor), Point(32, 32));
        EXPECT_EQ(CursorPixel(Cursor, 0, 0), clNone);
    }
    // The pointing hand points with its finger tip, white in a black outline.
    HCURSOR Hand = Screen->Cursors(crHand);
    EXPECT_EQ(CursorHotSpot(Hand), Point(6, 2));
    EXPECT_EQ(CursorPixel(Hand, 6, 2), clWhite);
    EXPECT_EQ(CursorPixel(Hand, 6, 0), clBlack);

    const TCursor First = DefineCursor("FS_HANDCUR");
    const TCursor Second = DefineCursor("FS_DRAGCUR");
    EXPECT_GE(First, 100);
    EXPECT_GT(Second, First);
    EXPECT_EQ(CursorHotSpot(Screen->Cursors(Second)), Point(9, 9));
    try {
        DefineCursor("NOPE");
        ADD_FAILURE() << "an unknown cursor was defined";
    } catch (const grid::EResNotFound& E) {
        EXPECT_EQ(E.Message, "Resource NOPE not found");
    }

    // Every number taken: nothing more fits.
    std::vector<TCursor> Taken;
    const std::uint8_t Plane[2] = {0, 0};
    for (TCursor Id = 100; Id <= 32767; ++Id)
        if (!Screen->Cursors(Id)) {
            Screen->SetCursors(Id, CreateCursor(0, 0, 1, 1, Plane, Plane));
            Taken.push_back(Id);
        }
    EXPECT_THROW(DefineCursor("FS_HANDCUR"), EOutOfResources);
    for (const TCursor Id : Taken)
        Screen->SetCursors(Id, nullptr);
    Screen->SetCursors(First, nullptr);
    Screen->SetCursors(Second, nullptr);
}

} // namespace
