#include "grid/foundation/GridCommonCanvas.h"
#include "grid/foundation/GridCommonControls.h"
#include "grid/foundation/GridCommonStack.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace grid;

namespace {

TEST(GridCommonCanvas, SurfaceGrowsAndGoesWithTheLastUser) {
    TgxMemoryCanvas Surface;
    EXPECT_EQ(Surface.Dc(), nullptr);
    Surface.Prepare(nullptr, 100, 50);
    const HDC First = Surface.Dc();
    ASSERT_NE(First, nullptr);
    Surface.Prepare(nullptr, 80, 80);
    EXPECT_EQ(Surface.Width(), 100);
    EXPECT_EQ(Surface.Height(), 80);
    EXPECT_EQ(Surface.UseCount(), 2);
    EXPECT_EQ(Surface.Dc(), First); // drawers keep the context they were given

    TCanvas Canvas;
    Canvas.SetHandle(Surface.Dc());
    Canvas.Brush()->SetColor(clRed);
    Canvas.FillRect(Rect(0, 0, 100, 80));
    EXPECT_EQ(Canvas.Pixels(99, 79), clRed);

    Surface.Release();
    EXPECT_NE(Surface.Dc(), nullptr);
    Surface.Release();
    EXPECT_EQ(Surface.Dc(), nullptr);
    EXPECT_EQ(Surface.Width(), 0);
    Surface.Release(); // never below zero
    EXPECT_EQ(Surface.UseCount(), 0);
}

TEST(GridCommonCanvas, ClippingHoldsEveryCanvasOnTheContext) {
    TgxMemoryCanvas Surface;
    Surface.Prepare(nullptr, 20, 20);
    TCanvas Canvas;
    Canvas.SetHandle(Surface.Dc());
    Canvas.Brush()->SetColor(clWhite);
    Canvas.FillRect(Rect(0, 0, 20, 20));
    Surface.SetObjects(Rect(5, 5, 10, 10));
    Canvas.Brush()->SetColor(clBlue);
    Canvas.FillRect(Rect(0, 0, 20, 20));
    Surface.SetObjects(Rect(0, 0, 20, 20));
    EXPECT_EQ(Canvas.Pixels(5, 5), clBlue);
    EXPECT_EQ(Canvas.Pixels(9, 9), clBlue);
    EXPECT_EQ(Canvas.Pixels(10, 10), clWhite);
    EXPECT_EQ(Canvas.Pixels(4, 5), clWhite);

    InitCanvas(&Canvas); // draws its 1 by 1 bitmap and nothing else
    EXPECT_EQ(Canvas.Pixels(5, 5), clBlue);
}

TEST(GridCommonCanvas, LockTellsASecondDrawerOnTheSameThread) {
    TgxMemoryCanvas Surface;
    TObject GridA, GridB;
    EXPECT_FALSE(Surface.Locked(&GridA));
    Surface.Lock(&GridA);
    EXPECT_FALSE(Surface.Locked(&GridA));
    EXPECT_TRUE(Surface.Locked(&GridB));

    std::atomic<bool> OtherSawLocked{true}, OtherTriedUnlock{false}, OtherGotIn{false};
    std::thread Other([&] {
        OtherSawLocked = Surface.Locked(&GridB); // another thread's lock is not ours
        Surface.Unlock();                        // not held here: nothing happens
        OtherTriedUnlock = true;
        Surface.Lock(&GridB);
        OtherGotIn = true;
        Surface.Unlock();
    });
    while (!OtherTriedUnlock)
        std::this_thread::yield();
    // The stranger's Unlock left this thread's hold as it was.
    EXPECT_TRUE(Surface.Locked(&GridB));
    Surface.Unlock();
    Other.join();
    EXPECT_FALSE(OtherSawLocked);
    EXPECT_TRUE(OtherGotIn);
    EXPECT_FALSE(Surface.Locked(&GridB));
    Surface.Unlock(); // unlocking a free surface is harmless
}

TEST(GridCommonStack, LastInFirstOut) {
    TgxStack Stack;
    EXPECT_THROW(Stack.Pop(), EListError);
    EXPECT_THROW(Stack.CurValue(), EListError);
    int A = 0, B = 0;
    Stack.Push(&A);
    Stack.Push(&B);
    EXPECT_EQ(Stack.CurValue(), &B);
    EXPECT_EQ(Stack.Pop(), &B);
    EXPECT_EQ(Stack.Pop(), &A);
    EXPECT_THROW(Stack.Pop(), EListError);
}

TEST(GridCommonControls, Alignments) {
    EXPECT_EQ(AlignmentToHorzAlignment(taRightJustify, false), htaDefault);
    EXPECT_EQ(AlignmentToHorzAlignment(taLeftJustify, true), htaLeft);
    EXPECT_EQ(AlignmentToHorzAlignment(taRightJustify, true), htaRight);
    EXPECT_EQ(AlignmentToHorzAlignment(taCenter, true), htaCenter);
    EXPECT_EQ(HorzAlignmentToAlignment(htaRight), taRightJustify);
    EXPECT_EQ(HorzAlignmentToAlignment(htaCenter), taCenter);
    EXPECT_EQ(HorzAlignmentToAlignment(htaDefault), taLeftJustify);
    EXPECT_TRUE(HorzAlignmentToAlign(htaLeft));
    EXPECT_FALSE(HorzAlignmentToAlign(htaDefault));
    EXPECT_EQ(static_cast<int>(htaDefault), 3);
    EXPECT_EQ(static_cast<int>(vtaCenter), 2);
}

TEST(GridCommonControls, FocusVisibilityAndHandles) {
    TForm Form(nullptr);
    auto* Panel = new TPanel(&Form);
    Panel->SetParent(&Form);
    auto* Edit = new TEdit(&Form);
    Edit->SetParent(Panel);
    auto* Other = new TEdit(&Form);
    Other->SetParent(&Form);

    Form.Show();
    EXPECT_TRUE(IsControlHandle(Edit->Handle(), &Form));
    EXPECT_TRUE(IsControlHandle(Edit->Handle(), Panel));
    EXPECT_FALSE(IsControlHandle(Other->Handle(), Panel));
    EXPECT_FALSE(IsControlHandle(Panel->Handle(), Edit));

    Edit->SetFocus();
    EXPECT_TRUE(ControlFocused(Edit));
    EXPECT_TRUE(ControlFocused(Panel));
    EXPECT_TRUE(ControlFocused(&Form));
    EXPECT_FALSE(ControlFocused(Other));

    EXPECT_TRUE(ControlVisible(Edit));
    Panel->SetVisible(false);
    EXPECT_FALSE(ControlVisible(Edit));
    EXPECT_TRUE(ControlVisible(Other));
    EXPECT_FALSE(ControlVisible(nullptr));
}

} // namespace
