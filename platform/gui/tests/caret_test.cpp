// The caret: drawn into its owner's image, kept across the owner's
// painting, shown and hidden in nested pairs, blinking on the timer
// service, and gone with its owner.
#include "platform/gui/Caret.h"

#include "platform/gui/CustomControl.h"
#include "platform/gui/Forms.h"
#include "platform/gui/TimerService.h"

#include <gtest/gtest.h>

namespace {

// Paints itself white.
class WhiteControl : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect(ClientRect());
    }
};

class CaretTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 200, 100);
        Control = new WhiteControl(Form);
        Control->SetParent(Form);
        Control->SetBounds(0, 0, 50, 30);
        Form->Show();
        Control->Perform(WM_PAINT);
    }
    void TearDown() override {
        DestroyCaret();
        delete Form;
    }
    TColor At(int X, int Y) { return Control->Canvas()->Pixels(X, Y); }

    FakeTimerService Timers;
    ScopedTimerService Scope{Timers};
    TForm* Form = nullptr;
    WhiteControl* Control = nullptr;
};

TEST_F(CaretTest, ShowsOnceShownAsOftenAsHiddenAndSurvivesPainting) {
    ASSERT_TRUE(CreateCaret(Control, nullptr, 2, 5));
    EXPECT_EQ(CaretOwner(), Control);
    SetCaretPos(10, 10);
    EXPECT_EQ(At(11, 12), clWhite); // made hidden
    ShowCaret(Control);
    EXPECT_EQ(At(11, 12), clBlack);
    EXPECT_EQ(At(12, 12), clWhite); // two pixels wide
    Control->Perform(WM_PAINT);
    EXPECT_EQ(At(11, 12), clBlack);
    HideCaret(Control);
    HideCaret(Control);
    ShowCaret(Control);
    EXPECT_EQ(At(11, 12), clWhite);
    ShowCaret(Control);
    EXPECT_EQ(At(11, 12), clBlack);
    // It moves, and blinks on the timer.
    SetCaretPos(20, 10);
    EXPECT_EQ(At(11, 12), clWhite);
    EXPECT_EQ(At(20, 12), clBlack);
    Timers.Advance(GetCaretBlinkTime());
    EXPECT_EQ(At(20, 12), clWhite);
    Control->Perform(WM_PAINT);
    EXPECT_EQ(At(20, 12), clWhite);
    Timers.Advance(GetCaretBlinkTime());
    EXPECT_EQ(At(20, 12), clBlack);
    EXPECT_TRUE(DestroyCaret());
    EXPECT_EQ(At(20, 12), clWhite);
    EXPECT_FALSE(DestroyCaret());
    EXPECT_EQ(Timers.Count(), 0);
}

TEST_F(CaretTest, AnOwnerFreedWithItsCaretLeavesNoCaretBehind) {
    CreateCaret(Control, nullptr, 1, 5);
    ShowCaret(Control);
    delete Control;
    EXPECT_EQ(CaretOwner(), nullptr);
    Timers.Advance(GetCaretBlinkTime()); // the blink finds the owner gone
    EXPECT_EQ(Timers.Count(), 0);
    EXPECT_FALSE(ShowCaret(nullptr));
}

} // namespace
