// Dragging controls within the application, and the context-menu request.
#include "PanelForm.h"

#include "platform/gui/ControlDrag.h"
#include "platform/gui/Menus.h"

#include <QContextMenuEvent>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TBook : public TDragObject {};

class ControlDragTest : public PanelForm {
protected:
    void SetUp() override {
        PanelForm::SetUp();
        Source = AddPanel(Form, 10);
        Target = AddPanel(Form, 150);
        Refuser = AddPanel(Form, 280);
        Form->Show();
        Target->OnDragOver = [this](TObject*, TObject* From, int X, int Y, TDragState State,
                                    bool& Accept) {
            const char* Names[] = {"enter", "leave", "move"};
            Log.push_back(std::string("over ") + Names[static_cast<int>(State)] + " " + Pos(X, Y));
            LastSource = From;
            Accept = AcceptDrop;
        };
        Target->OnDragDrop = [this](TObject*, TObject* From, int X, int Y) {
            Log.push_back("drop " + Pos(X, Y));
            LastSource = From;
        };
        Source->OnEndDrag = [this](TObject*, TObject* On, int X, int Y) {
            Log.push_back(std::string("end ") +
                          (On == Target ? "target"
                           : On         ? "?"
                                        : "none") +
                          " " + Pos(X, Y));
        };
        Source->OnMouseMove = [this](TObject*, TShiftState, int, int) {
            Log.push_back("source move");
        };
        Source->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
            Log.push_back("source up");
        };
    }
    static std::string Pos(int X, int Y) { return std::to_string(X) + "," + std::to_string(Y); }

    // The mouse at a point of a control, held down.
    static void MoveOver(TControl* C, QPoint At) {
        SendMouse(C->Widget(), QEvent::MouseMove, At, Qt::NoButton, Qt::LeftButton);
    }
    static void Release(TControl* C, QPoint At) {
        SendMouse(C->Widget(), QEvent::MouseButtonRelease, At);
    }
    void PressAndBegin(bool Immediate = false) {
        Source->OnMouseDown = [this, Immediate](TObject*, TMouseButton, TShiftState, int, int) {
            Source->BeginDrag(Immediate, 5);
        };
        SendMouse(Source->Widget(), QEvent::MouseButtonPress, QPoint(20, 20));
    }

    TPanel* Source = nullptr;
    TPanel* Target = nullptr;
    TPanel* Refuser = nullptr;
    std::vector<std::string> Log;
    TObject* LastSource = nullptr;
    bool AcceptDrop = true;
};

TEST_F(ControlDragTest, ADragOverATargetThatAcceptsDrops) {
    PressAndBegin();
    EXPECT_TRUE(Source->Dragging());
    EXPECT_TRUE(IsDragging());
    EXPECT_EQ(DragSourceControl(), Source);
    // Within the threshold nothing happens, and the source gets no mouse.
    MoveOver(Source, QPoint(23, 22));
    EXPECT_TRUE(Log.empty());
    MoveOver(Target, QPoint(30, 40));
    MoveOver(Target, QPoint(31, 41));
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::DragMoveCursor);
    Release(Target, QPoint(32, 42));
    EXPECT_EQ(Log, (std::vector<std::string>{"over enter 30,40", "over move 31,41", "drop 32,42",
                                             "end target 32,42"}));
    EXPECT_EQ(LastSource, Source);
    EXPECT_FALSE(IsDragging());
    EXPECT_FALSE(Source->Dragging());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // The mouse is the controls' again.
    MoveOver(Source, QPoint(1, 1));
    EXPECT_EQ(Log.back(), "source move");
}

TEST_F(ControlDragTest, ATargetThatRefusesGetsNoDrop) {
    AcceptDrop = false;
    PressAndBegin(true);
    MoveOver(Target, QPoint(30, 40));
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ForbiddenCursor);
    // A control without OnDragOver refuses too.
    MoveOver(Refuser, QPoint(5, 5));
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ForbiddenCursor);
    Release(Refuser, QPoint(5, 5));
    EXPECT_EQ(Log,
              (std::vector<std::string>{"over enter 30,40", "over leave 135,5", "end none 0,0"}));
}

TEST_F(ControlDragTest, EscapeOrAnotherButtonCancels) {
    for (bool ByKey : {true, false}) {
        Log.clear();
        PressAndBegin();
        MoveOver(Target, QPoint(30, 40));
        if (ByKey)
            TypeKey(Form->Widget(), Qt::Key_Escape);
        else
            SendMouse(Target->Widget(), QEvent::MouseButtonPress, QPoint(30, 40), Qt::RightButton);
        EXPECT_FALSE(IsDragging());
        EXPECT_EQ(
            Log, (std::vector<std::string>{"over enter 30,40", "over leave 30,40", "end none 0,0"}))
            << ByKey;
    }
}

TEST_F(ControlDragTest, ReleasedBeforeTheThresholdNothingIsDropped) {
    PressAndBegin();
    Release(Target, QPoint(30, 40)); // a jump with no move in between
    EXPECT_FALSE(IsDragging());
    EXPECT_EQ(Log, (std::vector<std::string>{"end none 0,0"}));
}

TEST_F(ControlDragTest, AnAutomaticDragTakesThePressAndCarriesTheDragObject) {
    TBook Book;
    int Downs = 0;
    Source->SetDragMode(dmAutomatic);
    Source->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++Downs; };
    Source->OnStartDrag = [&](TObject*, TDragObject*& Object) { Object = &Book; };
    SendMouse(Source->Widget(), QEvent::MouseButtonPress, QPoint(20, 20));
    EXPECT_EQ(Downs, 0);
    EXPECT_TRUE(Source->Dragging());
    MoveOver(Target, QPoint(30, 40));
    EXPECT_EQ(LastSource, &Book);
    Source->EndDrag(true); // dropped where the mouse is
    EXPECT_EQ(Log.back(), "end target 30,40");
    EXPECT_EQ(Log[Log.size() - 2], "drop 30,40");
}

TEST_F(ControlDragTest, OneDragAtATimeAndNoForms) {
    PressAndBegin();
    Target->BeginDrag(true);
    EXPECT_EQ(DragSourceControl(), Source);
    Target->EndDrag(false); // not Target's drag
    EXPECT_TRUE(IsDragging());
    Source->EndDrag(false);
    EXPECT_FALSE(IsDragging());
    EXPECT_THROW(Form->BeginDrag(true), EInvalidOperation);
    EXPECT_FALSE(IsDragging());
}

TEST_F(ControlDragTest, ASourceFreedMeanwhileEndsTheDragWithoutIt) {
    PressAndBegin(true);
    MoveOver(Target, QPoint(30, 40));
    delete Source;
    MoveOver(Target, QPoint(31, 41));
    EXPECT_FALSE(IsDragging());
    EXPECT_EQ(Log, (std::vector<std::string>{"over enter 30,40", "over leave 31,41"}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // The mouse is the controls' again.
    int Moves = 0;
    Target->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++Moves; };
    MoveOver(Target, QPoint(1, 1));
    EXPECT_EQ(Moves, 1);
}

TEST_F(ControlDragTest, FindDragTargetSkipsDisabledControlsUnlessAsked) {
    const QPoint G = Target->Widget()->mapToGlobal(QPoint(5, 5));
    EXPECT_EQ(FindDragTarget(TPoint{G.x(), G.y()}, false), Target);
    Target->SetEnabled(false);
    EXPECT_EQ(FindDragTarget(TPoint{G.x(), G.y()}, false), nullptr);
    EXPECT_EQ(FindDragTarget(TPoint{G.x(), G.y()}, true), Target);
    EXPECT_EQ(FindDragTarget(TPoint{-5000, -5000}, true), nullptr);
}

// ---- the context-menu request ----------------------------------------------------------

void ContextMenu(TControl* C, QPoint At, bool Keyboard = false) {
    QContextMenuEvent E(Keyboard ? QContextMenuEvent::Keyboard : QContextMenuEvent::Mouse, At,
                        C->Widget()->mapToGlobal(At));
    QApplication::sendEvent(C->Widget(), &E);
}

TEST_F(ControlDragTest, TheContextPopupEventComesFirstThenTheMenuThenTheParent) {
    TPopupMenu Menu(nullptr);
    int Shown = 0;
    Menu.OnPopup = [&](TObject*) { ++Shown; };
    Target->SetPopupMenu(&Menu);
    std::vector<std::string> Asked;
    bool Handle = true;
    Target->OnContextPopup = [&](TObject*, TPoint P, bool& Handled) {
        Asked.push_back("target " + Pos(P.X, P.Y));
        Handled = Handle;
    };
    Form->OnContextPopup = [&](TObject*, TPoint P, bool&) {
        Asked.push_back("form " + Pos(P.X, P.Y));
    };

    ContextMenu(Target, QPoint(7, 8));
    EXPECT_EQ(Shown, 0);
    Handle = false;
    ContextMenu(Target, QPoint(7, 8), true);
    EXPECT_EQ(Shown, 1);
    EXPECT_EQ(Menu.PopupComponent(), Target);
    // No menu and not handled: the parent is asked, in its coordinates.
    Target->SetPopupMenu(nullptr);
    ContextMenu(Target, QPoint(7, 8));
    EXPECT_EQ(Asked, (std::vector<std::string>{"target 7,8", "target -1,-1", "target 7,8",
                                               "form 157,18"}));
}

} // namespace
