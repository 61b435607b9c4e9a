// The window base of the in-place controls and the grid's wrappers: the
// focus stays with the grid, double clicks made of two clicks, dialog
// codes, and what each wrapper passes on.
#include "grid/model/ControlWrappers.h"

#include "grid/foundation/TextLayoutPaint.h"

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/WindowScroll.h"
#include "platform/gui/tests/GuiTestSupport.h"
#include "platform/rtl/Clock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace grid;

namespace {

class GridControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 300, 200);
        Grid = new TEdit(Form); // stands in for the grid
        Grid->SetParent(Form);
        Form->Show();
        Edit = std::make_unique<TgxEditGridControl>(Form);
        Check = std::make_unique<TgxCheckGridControl>(Form);
        for (TgxCustomGridControl* W : {static_cast<TgxCustomGridControl*>(Edit.get()),
                                        static_cast<TgxCustomGridControl*>(Check.get())}) {
            W->SetGrid(Grid);
            W->SetParent(Form);
            W->SetLeft(10);
            W->SetTop(40);
            W->SetWidth(100);
            W->SetHeight(20);
            W->Show();
        }
    }
    void TearDown() override {
        Edit.reset();
        Check.reset();
        delete Form;
    }

    // Button-downs and double clicks as the control's events see them.
    struct Clicks {
        int Downs = 0;
        int Doubles = 0;
    };
    Clicks Watch(TgxGridControl* Control) {
        auto Seen = std::make_shared<Clicks>();
        Control->OnMouseDown = [Seen](TObject*, TMouseButton, TShiftState Shift, int, int) {
            if (!Shift.Contains(ssDouble)) ++Seen->Downs;
        };
        Control->OnDblClick = [Seen](TObject*) { ++Seen->Doubles; };
        LastWatch = Seen;
        return *Seen;
    }
    void Down(TgxGridControl* Control, unsigned Keys = MK_LBUTTON, int X = 5, int Y = 5) {
        Control->Perform(WM_LBUTTONDOWN, Keys, PointToLParam(X, Y));
        Control->Perform(WM_LBUTTONUP, 0, PointToLParam(X, Y));
    }

    ManualClock Time{0.0, 10000};
    ScopedClock TimeScope{Time};
    TForm* Form = nullptr;
    TEdit* Grid = nullptr;
    std::unique_ptr<TgxEditGridControl> Edit;
    std::unique_ptr<TgxCheckGridControl> Check;
    std::shared_ptr<Clicks> LastWatch;
};

TEST_F(GridControlTest, TwoClicksMakeADoubleClickOnTheEditBoxOnly) {
    struct Case {
        const char* Name;
        bool OnCheckBox;
        std::uint32_t Gap;
        int SecondX;
        unsigned FirstKeys;
        int Downs;
        int Doubles;
    };
    const Case Cases[] = {
        {"edit box", false, 100, 5, MK_LBUTTON, 1, 1},
        {"check box", true, 100, 5, MK_LBUTTON, 2, 0},
        {"too slow", false, GetDoubleClickTime() + 1, 5, MK_LBUTTON, 2, 0},
        {"moved", false, 100, 6, MK_LBUTTON, 2, 0},
        {"sent by the grid", false, 100, 5, 0, 2, 0},
    };
    for (const Case& C : Cases) {
        TgxGridControl* Control = C.OnCheckBox ? Check->Control() : Edit->Control();
        Control->Perform(WM_MOVE); // forget earlier clicks
        Watch(Control);
        Down(Control, C.FirstKeys);
        Time.Advance(C.Gap);
        Down(Control, MK_LBUTTON, C.SecondX);
        Time.Advance(5000);
        EXPECT_EQ(LastWatch->Downs, C.Downs) << C.Name;
        EXPECT_EQ(LastWatch->Doubles, C.Doubles) << C.Name;
    }
}

TEST_F(GridControlTest, AnUnexpectedSystemDoubleClickCountsAsAButtonDown) {
    TgxGridControl* Control = Edit->Control();
    Watch(Control);
    Control->Perform(WM_MOVE);
    Control->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, PointToLParam(5, 5));
    Control->Perform(WM_LBUTTONUP, 0, PointToLParam(5, 5));
    EXPECT_EQ(LastWatch->Downs, 1);
    EXPECT_EQ(LastWatch->Doubles, 0);
}

TEST_F(GridControlTest, FocusingAControlLeavesTheGridTheFormsFocusedControl) {
    Edit->SetFocus();
    EXPECT_TRUE(Edit->Focused());
    EXPECT_EQ(Form->ActiveControl(), Grid);
    EXPECT_TRUE(Edit->EditBox()->CaretCreated());
}

TEST_F(GridControlTest, DialogCodesGiveTabUpWhileCtrlIsHeld) {
    TgxGridControl* Control = Edit->Control();
    const int Wanted = DLGC_WANTARROWS | DLGC_WANTCHARS;
    EXPECT_EQ(Control->Perform(WM_GETDLGCODE), Wanted | DLGC_WANTTAB);
    // Ctrl held down, as the input being handled (Ctrl+F5 on the grid) shows it.
    QKeyEvent CtrlDown(QEvent::KeyPress, Qt::Key_F5, Qt::ControlModifier);
    QApplication::sendEvent(Grid->Widget(), &CtrlDown);
    EXPECT_EQ(Control->Perform(WM_GETDLGCODE), Wanted);
    QKeyEvent CtrlUp(QEvent::KeyRelease, Qt::Key_F5, Qt::NoModifier);
    QApplication::sendEvent(Grid->Widget(), &CtrlUp);
    // Escape is asked for only when the grid wants it.
    TMessage Escape{WM_KEYDOWN, VK_ESCAPE, 0, 0};
    const auto AskEscape = reinterpret_cast<LPARAM>(&Escape);
    EXPECT_EQ(Control->Perform(WM_GETDLGCODE, 0, AskEscape) & DLGC_WANTALLKEYS, 0);
    Control->OnWantKey = [](TObject*, Word Key, bool& Want) { Want = Key == VK_ESCAPE; };
    EXPECT_EQ(Control->Perform(WM_GETDLGCODE, 0, AskEscape) & DLGC_WANTALLKEYS, DLGC_WANTALLKEYS);
    Control->SetWantTabs(false);
    EXPECT_EQ(Control->Perform(WM_GETDLGCODE) & DLGC_WANTTAB, 0);
}

TEST_F(GridControlTest, TheEditBoxShowsTheTextCursorWhileItCanEdit) {
    struct Case {
        bool KeyEdit;
        bool MouseSelect;
        Qt::CursorShape Shape;
    };
    Edit->SetCursor(crHandPoint);
    for (const Case& C : {Case{true, true, Qt::IBeamCursor}, Case{false, true, Qt::IBeamCursor},
                          Case{false, false, Qt::PointingHandCursor}}) {
        Edit->SetKeyEdit(C.KeyEdit);
        Edit->SetMouseSelect(C.MouseSelect);
        Edit->Control()->Perform(WM_SETCURSOR, 0, MakeLParam(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(Edit->Control()->Widget()->cursor().shape(), C.Shape);
    }
    Check->SetCursor(crHandPoint);
    Check->Control()->Perform(WM_SETCURSOR, 0, MakeLParam(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(Check->Control()->Widget()->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(GridControlTest, InPlaceControlsPaintThroughOneSharedSurface) {
    const int Before = ControlMemoryCanvas().UseCount();
    Edit->SetColor(clWhite);
    Edit->SetValue("W");
    Edit->Control()->Perform(WM_PAINT);
    Edit->Control()->Perform(WM_PAINT);
    Check->Control()->Perform(WM_PAINT);
    EXPECT_EQ(ControlMemoryCanvas().UseCount(), Before + 2);
    EXPECT_GE(ControlMemoryCanvas().Width(), 100);
    // What was painted there reached the control's own image.
    TCanvas* Shown = static_cast<TCustomControl*>(Edit->Control())->Canvas();
    int Ink = 0;
    for (int X = 0; X < 20; ++X)
        for (int Y = 0; Y < 20; ++Y)
            Ink += ColorToRGB(Shown->Pixels(X, Y)) != ColorToRGB(clWhite);
    EXPECT_GT(Ink, 0);
    Edit.reset();
    Check.reset();
    EXPECT_EQ(ControlMemoryCanvas().UseCount(), Before);
}

TEST_F(GridControlTest, TextDrawnThroughTheEditBoxLandsWhereACellsTextGoes) {
    // The view draws an edited cell through the wrapper with the cell's
    // top and its left plus the margin, as it draws any other cell's text.
    TFont Font;
    Font.SetName("DejaVu Sans");
    Font.SetHeight(-12);
    Edit->SetFont(&Font);
    Edit->SetValue("Hello, grid");
    const TRect Cell = Rect(0, 4, 120, 24);
    auto Draw = [&](bool ThroughEditBox) {
        auto B = std::make_unique<TBitmap>();
        B->SetSize(120, 30);
        TCanvas* C = B->Canvas();
        C->SetFont(&Font);
        C->Brush()->SetColor(clWhite);
        C->FillRect(Rect(0, 0, 120, 30));
        if (ThroughEditBox)
            Edit->DrawControl(C, Cell.Height(), Cell, Cell.Top, Cell.Left + 3, false);
        else
            DisplayText(C, "Hello, grid", Cell.Height(), Cell, Cell.Left + 3, Cell.Top,
                        taLeftJustify, vtaTop, true);
        return B;
    };
    auto Edited = Draw(true);
    auto Plain = Draw(false);
    int Differences = 0;
    int Ink = 0;
    for (int X = 0; X < 120; ++X)
        for (int Y = 0; Y < 30; ++Y) {
            Differences += Edited->Canvas()->Pixels(X, Y) != Plain->Canvas()->Pixels(X, Y);
            Ink += Plain->Canvas()->Pixels(X, Y) != clWhite;
        }
    EXPECT_GT(Ink, 0);
    EXPECT_EQ(Differences, 0);
}

TEST_F(GridControlTest, WrappersPassValuesAndKeepTheDefaults) {
    TgxDefaultGridControl Default(Form);
    Default.SetColor(clRed);
    EXPECT_EQ(Default.GetColor(), clNone);
    EXPECT_TRUE(Default.GetValue().IsEmpty());
    EXPECT_FALSE(Default.IsEditControl());
    EXPECT_FALSE(Default.GetVisible());
    EXPECT_EQ(Default.GetHandle(), nullptr); // no parent, no window

    Edit->SetValue(42);
    EXPECT_EQ(Edit->GetValue(), Variant("42"));
    EXPECT_TRUE(Edit->IsEditControl());
    Edit->SetSelStart(1);
    EXPECT_EQ(Edit->EditBox()->TextPos(), 1);
    Edit->SetSelLength(1);
    EXPECT_EQ(Edit->GetSelText(), "2");
    Edit->SaveCurrentState();
    EXPECT_EQ(Edit->GetSelStart(), 1);
    EXPECT_EQ(Edit->GetSelLength(), 1);

    Check->SetEditValue(1, true);
    EXPECT_EQ(Check->GetState(), cbChecked);
    EXPECT_FALSE(Check->IsEditControl());
    EXPECT_EQ(Check->GetColor(), Check->Control()->Color());
    // A refused change leaves the value.
    Check->SetCanChange([](TObject*, bool, bool& Cancel) { Cancel = true; });
    Check->SetValue(0);
    EXPECT_EQ(Check->GetState(), cbChecked);
}

TEST_F(GridControlTest, DragEventsGoToTheWrappedControls) {
    // The edit box is dragged onto the check box beside it; each side's
    // handlers arrive through the wrappers alone.
    Check->SetLeft(150);
    std::vector<std::string> Log;
    auto Pos = [](int X, int Y) { return std::to_string(X) + "," + std::to_string(Y); };
    Edit->SetMouseDown([&](TObject*, TMouseButton, TShiftState, int, int) {
        Edit->Control()->BeginDrag(true);
    });
    Edit->SetStartDrag([&](TObject* Sender, TDragObject*&) {
        Log.push_back(Sender == Edit->Control() ? "start edit" : "start ?");
    });
    Check->SetDragOver([&](TObject*, TObject* Source, int X, int Y, TDragState, bool& Accept) {
        Log.push_back(std::string("over ") + (Source == Edit->Control() ? "edit " : "? ") + Pos(X, Y));
        Accept = true;
    });
    Check->SetDragDrop([&](TObject*, TObject*, int X, int Y) { Log.push_back("drop " + Pos(X, Y)); });
    Edit->SetEndDrag([&](TObject*, TObject* Target, int X, int Y) {
        Log.push_back(std::string("end ") + (Target == Check->Control() ? "check " : "? ") + Pos(X, Y));
    });
    // Each getter hands back the handler it was given.
    EXPECT_TRUE(Edit->GetStartDrag() && Edit->GetEndDrag());
    EXPECT_TRUE(Check->GetDragOver() && Check->GetDragDrop());
    EXPECT_FALSE(Check->GetStartDrag() || Check->GetEndDrag() || Edit->GetDragOver() ||
                 Edit->GetDragDrop());

    SendMouse(Edit->Control()->Widget(), QEvent::MouseButtonPress, QPoint(5, 5));
    SendMouse(Check->Control()->Widget(), QEvent::MouseMove, QPoint(7, 8), Qt::NoButton,
              Qt::LeftButton);
    SendMouse(Check->Control()->Widget(), QEvent::MouseButtonRelease, QPoint(9, 10));
    EXPECT_EQ(Log, (std::vector<std::string>{"start edit", "over edit 7,8", "drop 9,10",
                                             "end check 9,10"}));

    // Taking a handler away stops it.
    Check->SetDragDrop(nullptr);
    EXPECT_FALSE(Check->GetDragDrop());
}

} // namespace
