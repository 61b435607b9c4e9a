// The grid's check box: the toggle cycle by space and mouse, value texts,
// undo, the pressed look, user bitmaps and the images as drawn.
#include "grid/model/CheckBox.h"
#include "grid/model/ControlWrappers.h"

#include "platform/gui/Forms.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace grid;

namespace {

class CheckBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 300, 200);
        Wrapper = std::make_unique<TgxCheckGridControl>(Form);
        Box = Wrapper->CheckBox();
        Box->SetParent(Form);
        Box->SetBounds(10, 10, 40, 20);
        Box->SetVisible(true);
        Box->OnEndKeyDown = [this](TObject*, Word& Key, TShiftState) { Passed.push_back(Key); };
        Box->OnClick = [this](TObject*) { ++Clicks; };
        Form->Show();
    }
    void TearDown() override {
        Wrapper.reset();
        delete Form;
    }

    void Space() { TypeKey(Box->Widget(), Qt::Key_Space, " "); }
    void Escape() { TypeKey(Box->Widget(), Qt::Key_Escape, QString(QChar(27))); }
    // The image's pixel at (X, Y) as the box draws itself on Brush.
    TColor ImagePixel(int X, int Y, TColor Brush) {
        TBitmap Target;
        Target.SetSize(40, 20);
        Target.Canvas()->Brush()->SetColor(Brush);
        Wrapper->DrawControl(Target.Canvas(), 0, Rect(0, 0, 40, 20), 0, 0, false);
        const int Left = (40 - gxCheckImageSize) / 2 - 1;
        const int Top = (20 - gxCheckImageSize) / 2;
        return ColorToRGB(Target.Canvas()->Pixels(Left + X, Top + Y));
    }

    TForm* Form = nullptr;
    std::unique_ptr<TgxCheckGridControl> Wrapper;
    TgxGridCheckBox* Box = nullptr;
    std::vector<Word> Passed;
    int Clicks = 0;
};

TEST_F(CheckBoxTest, SpaceCyclesTheStatesGrayedOnlyWhenAllowed) {
    struct Case {
        bool AllowGrayed;
        std::vector<TCheckBoxState> Cycle;
    };
    const Case Cases[] = {
        {false, {cbChecked, cbUnchecked, cbChecked}},
        {true, {cbChecked, cbGrayed, cbUnchecked, cbChecked}},
    };
    for (const Case& C : Cases) {
        Box->SetCheckBoxState(cbUnchecked);
        Box->AllowGrayed = C.AllowGrayed;
        Clicks = 0;
        for (TCheckBoxState Expected : C.Cycle) {
            Space();
            EXPECT_EQ(Box->State(), Expected) << C.AllowGrayed;
            EXPECT_EQ(Box->Value(), Variant(static_cast<int>(Expected)));
        }
        EXPECT_EQ(Clicks, static_cast<int>(C.Cycle.size()));
    }
}

TEST_F(CheckBoxTest, HeldSpaceShowsThePressedImageAndTogglesOnRelease) {
    std::vector<bool> Changes;
    Box->OnChanged = [&Changes](TObject*, bool Edit, bool, bool) { Changes.push_back(Edit); };
    QKeyEvent Press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(Box->Widget(), &Press);
    EXPECT_TRUE(Box->Pressed());
    EXPECT_EQ(Box->State(), cbUnchecked);
    TCopyMode Mode = 0;
    TRect Source;
    Box->GetCheckBoxBitmap(cbUnchecked, Mode, true, Source);
    EXPECT_EQ(Source.Top, (4 + 9) * gxCheckImageSize); // the pressed Win95 copy
    // Other keys are swallowed while the box is down.
    Passed.clear();
    TypeKey(Box->Widget(), Qt::Key_A, "a");
    EXPECT_TRUE(Passed.empty());
    QKeyEvent Release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(Box->Widget(), &Release);
    EXPECT_FALSE(Box->Pressed());
    EXPECT_EQ(Box->State(), cbChecked);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Changes, std::vector<bool>{true});
}

TEST_F(CheckBoxTest, ValueTextsFollowTheToggle) {
    Box->CheckBoxValues = "Yes|No|Maybe";
    Box->AllowGrayed = true;
    Box->SetValue("No");
    EXPECT_EQ(Box->State(), cbUnchecked);
    Space();
    EXPECT_EQ(Box->Value(), Variant("Yes"));
    Space();
    EXPECT_EQ(Box->Value(), Variant("Maybe"));
    EXPECT_EQ(Box->State(), cbGrayed);
    // An integer state set with texts stores the state's text.
    Box->SetValue(1);
    EXPECT_EQ(Box->Value(), Variant("Yes"));
    // A number that is no state reads as grayed rather than as a bad state.
    Box->CheckBoxValues.clear();
    Box->SetValue(7);
    EXPECT_EQ(Box->State(), cbGrayed);
}

TEST_F(CheckBoxTest, EscapeRestoresTheValueBeforeTheFirstToggleThenPasses) {
    Box->SetValue(0);
    Space();
    Space();
    EXPECT_EQ(Box->State(), cbUnchecked);
    Space();
    Passed.clear();
    Escape();
    EXPECT_EQ(Box->State(), cbUnchecked);
    EXPECT_TRUE(Passed.empty());
    Escape();
    EXPECT_EQ(Passed, std::vector<Word>{VK_ESCAPE});
    // Setting a value drops the undo state.
    Space();
    Box->SetValue(1);
    EXPECT_FALSE(Box->UndoSaved());
}

TEST_F(CheckBoxTest, AMousePressTogglesOnlyWhenReleasedOverTheBox) {
    QWidget* W = Box->Widget();
    const QPoint In(20, 10);
    const QPoint Out(100, 10);
    SendMouse(W, QEvent::MouseButtonPress, In);
    EXPECT_TRUE(Box->Pressed());
    SendMouse(W, QEvent::MouseMove, Out, Qt::NoButton, Qt::LeftButton);
    EXPECT_FALSE(Box->Pressed());
    SendMouse(W, QEvent::MouseButtonRelease, Out);
    EXPECT_EQ(Box->State(), cbUnchecked);

    SendMouse(W, QEvent::MouseButtonPress, In);
    SendMouse(W, QEvent::MouseMove, Out, Qt::NoButton, Qt::LeftButton);
    SendMouse(W, QEvent::MouseMove, In, Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(Box->Pressed());
    SendMouse(W, QEvent::MouseButtonRelease, In);
    EXPECT_EQ(Box->State(), cbChecked);

    // A refused press changes nothing.
    Box->OnEdit = [](TObject*, bool& Cancel) { Cancel = true; };
    ClickAt(W, In);
    EXPECT_EQ(Box->State(), cbChecked);
}

TEST_F(CheckBoxTest, TheFlatGrayedImageTakesTheCellColourThroughMergeCopy) {
    Wrapper->SetCheckBoxStyle(cbFlat);
    Box->AllowGrayed = true;
    Box->SetCheckBoxState(cbGrayed);
    TCopyMode Mode = 0;
    TRect Source;
    Box->GetCheckBoxBitmap(cbGrayed, Mode, false, Source);
    EXPECT_EQ(Mode, cmMergeCopy);
    // The image's white ring takes the brush, its black frame stays.
    EXPECT_EQ(ImagePixel(1, 1, clYellow), ColorToRGB(clYellow));
    EXPECT_EQ(ImagePixel(0, 0, clYellow), ColorToRGB(clBlack));
    // The 3D looks copy their white as it is.
    Wrapper->SetCheckBoxStyle(cbWin95);
    Box->GetCheckBoxBitmap(cbGrayed, Mode, false, Source);
    EXPECT_EQ(Mode, cmSrcCopy);
    Box->SetCheckBoxState(cbUnchecked);
    EXPECT_EQ(ImagePixel(6, 6, clYellow), ColorToRGB(clWhite));
}

TEST_F(CheckBoxTest, AUserBitmapReplacesTheCheckedImageInEveryStyleUntilRemoved) {
    TBitmap User;
    User.SetSize(10, 10);
    User.Canvas()->Brush()->SetColor(clRed);
    User.Canvas()->FillRect(Rect(0, 0, 10, 10));
    Box->SetCheckBoxBitmap(cbChecked, &User);
    for (TgxGridCheckBoxStyle Style : {cbFlat, cbWin95, cbWinNT}) {
        Wrapper->SetCheckBoxStyle(Style);
        TCopyMode Mode = 0;
        TRect Source;
        TBitmap* Shown = Box->GetCheckBoxBitmap(cbChecked, Mode, false, Source);
        EXPECT_NE(Shown, CheckBoxImageStrip());
        EXPECT_EQ(Source, Rect(0, 0, 10, 10));
        EXPECT_EQ(Mode, cmSrcCopy);
        // The unchecked image is still the style's own.
        EXPECT_EQ(Box->GetCheckBoxBitmap(cbUnchecked, Mode, false, Source), CheckBoxImageStrip());
    }
    Box->SetCheckBoxBitmap(cbChecked, nullptr);
    TCopyMode Mode = 0;
    TRect Source;
    EXPECT_EQ(Box->GetCheckBoxBitmap(cbChecked, Mode, false, Source), CheckBoxImageStrip());
    EXPECT_EQ(Source.Top, 0); // WinNT checked
}

} // namespace
