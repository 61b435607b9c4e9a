#include "platform/classes/Component.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using TLog = std::vector<std::string>;

// Logs its own freeing and every removal it is told of; forgets the
// component it watches when told that one has gone.
class TRecorder : public TComponent {
public:
    TRecorder(TComponent* AOwner, const AnsiString& AName, TLog& Log)
        : TComponent(AOwner), FLog(Log) {
        SetName(AName);
    }
    ~TRecorder() override {
        FLog.push_back("free " + Name());
        if (OnFree) OnFree();
    }
    AnsiString ClassName() const override { return "TRecorder"; }

    TComponent* Watched = nullptr;
    std::function<void()> OnFree;
    std::function<void(TComponent*)> OnRemoved;
    TComponentState StateWhenTold;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation != opRemove) return;
        FLog.push_back(Name() + " told " + AComponent->Name() + " left");
        StateWhenTold = ComponentState();
        if (AComponent == Watched) Watched = nullptr;
        if (OnRemoved) OnRemoved(AComponent);
    }

private:
    TLog& FLog;
};

// Lets a test drive the protected state changes.
class TStateful : public TComponent {
public:
    using TComponent::Loading;
    using TComponent::SetDesigning;
    using TComponent::TComponent;
};

AnsiString ComponentErrorOf(const std::function<void()>& Action) {
    try {
        Action();
    } catch (const EComponentError& E) {
        return E.Message;
    }
    return "(no error)";
}

TEST(ComponentOwnership, OwnerFreesItsComponentsLastCreatedFirst) {
    TLog Log;
    auto* Form = new TRecorder(nullptr, "Form", Log);
    new TRecorder(Form, "A", Log);
    auto* B = new TRecorder(Form, "B", Log);
    new TRecorder(B, "B1", Log);
    new TRecorder(B, "B2", Log);
    new TRecorder(Form, "C", Log);
    delete Form;
    EXPECT_EQ(Log, (TLog{"free Form", "free C", "free B", "free B2", "free B1", "free A"}));
}

TEST(ComponentOwnership, ListAndIndexFollowTheOwner) {
    TComponent Owner(nullptr);
    auto* A = new TComponent(&Owner);
    auto* B = new TComponent(&Owner);
    auto* C = new TComponent(&Owner);
    ASSERT_EQ(Owner.ComponentCount(), 3);
    EXPECT_EQ(Owner.Components(1), B);
    EXPECT_EQ(C->ComponentIndex(), 2);
    EXPECT_EQ(A->Owner(), &Owner);
    EXPECT_THROW(Owner.Components(3), EListError);
    EXPECT_THROW(Owner.Components(-1), EListError);

    C->SetComponentIndex(0);
    EXPECT_EQ(Owner.Components(0), C);
    EXPECT_EQ(Owner.Components(1), A);
    A->SetComponentIndex(99); // clamped to the end
    EXPECT_EQ(Owner.Components(2), A);

    Owner.RemoveComponent(B);
    EXPECT_EQ(Owner.ComponentCount(), 2);
    EXPECT_EQ(B->Owner(), nullptr);
    delete B;

    Owner.DestroyComponents();
    EXPECT_EQ(Owner.ComponentCount(), 0);
}

TEST(ComponentOwnership, InsertComponentTakesItOverFromTheOldOwner) {
    TComponent First(nullptr);
    TComponent Second(nullptr);
    auto* Moved = new TComponent(&First);
    Second.InsertComponent(Moved);
    EXPECT_EQ(First.ComponentCount(), 0);
    ASSERT_EQ(Second.ComponentCount(), 1);
    EXPECT_EQ(Moved->Owner(), &Second);
}

TEST(ComponentOwnership, RefusesInsertionsThatWouldBreakTheTree) {
    TComponent Root(nullptr);
    auto* Child = new TComponent(&Root);
    auto* Grandchild = new TComponent(Child);
    Child->SetName("Child");
    EXPECT_EQ(ComponentErrorOf([&] { Grandchild->InsertComponent(&Root); }),
              "Component TComponent cannot be owned by itself or by one of its own components");
    EXPECT_EQ(ComponentErrorOf([&] { Child->InsertComponent(Child); }),
              "Component Child cannot be owned by itself or by one of its own components");
    EXPECT_THROW(Root.InsertComponent(nullptr), EComponentError);

    // A name already used by the new owner keeps the component where it was.
    auto* Other = new TComponent(&Root);
    Other->SetName("Same");
    Grandchild->SetName("same");
    EXPECT_EQ(ComponentErrorOf([&] { Root.InsertComponent(Grandchild); }),
              "A component named same already exists");
    EXPECT_EQ(Grandchild->Owner(), Child);
    EXPECT_EQ(Child->ComponentCount(), 1);
}

TEST(ComponentName, OnlyEmptyOrIdentifiersAreValid) {
    struct Case {
        const char* Name;
        bool Valid;
    };
    const Case Cases[] = {
        {"", true},         {"Button1", true},
        {"_private", true}, {"x", true},
        {"1st", false},     {"two words", false},
        {"a-b", false},     {" Lead", false},
        {"Trail ", false},  {"d\xC3\xA9j\xC3\xA0", false},
        {"a.b", false},
    };
    for (const Case& C : Cases) {
        TComponent Component(nullptr);
        Component.SetName("Before");
        const AnsiString Error = ComponentErrorOf([&] { Component.SetName(C.Name); });
        if (C.Valid) {
            EXPECT_EQ(Error, "(no error)") << C.Name;
            EXPECT_EQ(Component.Name(), C.Name);
        } else {
            EXPECT_EQ(Error, AnsiString("Component name \"") + C.Name + "\" is not valid");
            EXPECT_EQ(Component.Name(), "Before") << C.Name;
        }
    }
}

TEST(ComponentName, UniqueAmongTheOwnersComponentsIgnoringCase) {
    TComponent Form(nullptr);
    TComponent OtherForm(nullptr);
    auto* Edit = new TComponent(&Form);
    auto* Button = new TComponent(&Form);
    auto* Elsewhere = new TComponent(&OtherForm);
    Edit->SetName("Edit1");

    EXPECT_EQ(ComponentErrorOf([&] { Button->SetName("EDIT1"); }),
              "A component named EDIT1 already exists");
    EXPECT_EQ(Button->Name(), "");
    // Changing the case of its own name, or reusing a name under another
    // owner, is allowed.
    Edit->SetName("EDIT1");
    EXPECT_EQ(Edit->Name(), "EDIT1");
    Elsewhere->SetName("Edit1");

    EXPECT_EQ(Form.FindComponent("edit1"), Edit);
    EXPECT_EQ(Form.FindComponent("Button1"), nullptr);
    EXPECT_EQ(Form.FindComponent(""), nullptr);
    // An empty name is never a clash.
    auto* Unnamed = new TComponent(&Form);
    EXPECT_EQ(Unnamed->Name(), "");
    EXPECT_EQ(Form.ComponentCount(), 3);
}

TEST(FreeNotification, WatcherIsToldWhenItsComponentGoesWithTheOwner) {
    TLog Log;
    auto* Form = new TRecorder(nullptr, "Form", Log);
    auto* Label = new TRecorder(Form, "Label", Log);
    TRecorder Watcher(nullptr, "Watcher", Log);
    Watcher.Watched = Label;
    Label->FreeNotification(&Watcher);
    EXPECT_TRUE(Label->ComponentState().Contains(csFreeNotification));

    delete Form;
    EXPECT_EQ(Watcher.Watched, nullptr);
    // The form's own override is gone by the time its components go; the
    // label hears of itself through the form's base class.
    EXPECT_EQ(
        Log, (TLog{"free Form", "Label told Label left", "free Label", "Watcher told Label left"}));
}

TEST(FreeNotification, TheLinkGoesBothWays) {
    TLog Log;
    auto Form = std::make_unique<TRecorder>(nullptr, "Form", Log);
    auto* Label = new TRecorder(Form.get(), "Label", Log);
    auto* Watcher = new TRecorder(nullptr, "Watcher", Log);
    Label->Watched = Watcher;
    Label->FreeNotification(Watcher);

    delete Watcher;
    EXPECT_EQ(Label->Watched, nullptr);
    EXPECT_EQ(Log, (TLog{"free Watcher", "Label told Watcher left"}));
    Form.reset(); // the label must not tell the freed watcher anything
}

TEST(FreeNotification, RemovedLinkIsNotTold) {
    TLog Log;
    auto* Watched = new TRecorder(nullptr, "Watched", Log);
    TRecorder Watcher(nullptr, "Watcher", Log);
    Watched->FreeNotification(&Watcher);
    Watched->RemoveFreeNotification(&Watcher);
    delete Watched;
    EXPECT_EQ(Log, (TLog{"free Watched"}));
}

TEST(FreeNotification, SiblingsHearThroughTheirOwner) {
    TLog Log;
    TRecorder Form(nullptr, "Form", Log);
    auto* Source = new TRecorder(&Form, "Source", Log);
    auto* Grid = new TRecorder(&Form, "Grid", Log);
    Grid->Watched = Source;
    Source->FreeNotification(Grid);
    delete Source;
    EXPECT_EQ(Grid->Watched, nullptr);
    EXPECT_EQ(Log, (TLog{"free Source", "Grid told Source left", "Form told Source left"}));
}

TEST(FreeNotification, ComponentsSeeTheOwnerIsBeingDestroyed) {
    TLog Log;
    auto* Form = new TRecorder(nullptr, "Form", Log);
    auto* Storage = new TRecorder(Form, "Storage", Log);
    auto* Edit = new TRecorder(Form, "Edit", Log);
    TComponent Outsider(nullptr);
    Edit->FreeNotification(&Outsider);
    bool Checked = false;
    Storage->OnRemoved = [&](TComponent* Gone) {
        EXPECT_EQ(Gone, Edit);
        EXPECT_TRUE(Storage->StateWhenTold.Contains(csDestroying));
        EXPECT_TRUE(Form->ComponentState().Contains(csDestroying));
        Checked = true;
    };
    delete Form;
    EXPECT_TRUE(Checked);
}

TEST(FreeNotification, ComponentFreedWhileAnotherIsBeingFreed) {
    TLog Log;
    // The last-created component frees an earlier sibling on its way out:
    // the owner must not free that one a second time.
    auto* Form = new TRecorder(nullptr, "Form", Log);
    auto* Early = new TRecorder(Form, "Early", Log);
    auto* Late = new TRecorder(Form, "Late", Log);
    Late->OnFree = [Early] { delete Early; };
    delete Form;
    EXPECT_EQ(Log, (TLog{"free Form", "free Late", "free Early"}));

    // A watcher told of one departure frees another watcher of the same
    // component before that one's turn comes.
    Log.clear();
    auto* Watched = new TRecorder(nullptr, "Watched", Log);
    auto* Second = new TRecorder(nullptr, "Second", Log);
    auto* First = new TRecorder(nullptr, "First", Log);
    Watched->FreeNotification(Second);
    Watched->FreeNotification(First); // told first
    First->OnRemoved = [&](TComponent* Gone) {
        if (Gone == Watched) delete Second;
    };
    delete Watched;
    EXPECT_EQ(Log, (TLog{"free Watched", "First told Watched left", "free Second"}));
    delete First;
}

TEST(FreeNotification, WatcherOwnedByTheSameFormGoingFirst) {
    // A component watching one on another form is freed with its own form
    // while the watched one lives on, then the watched one goes.
    TLog Log;
    auto* Main = new TRecorder(nullptr, "Main", Log);
    auto* Data = new TRecorder(nullptr, "Data", Log);
    auto* Table = new TRecorder(Data, "Table", Log);
    auto* Grid = new TRecorder(Main, "Grid", Log);
    Grid->Watched = Table;
    Table->Watched = Grid;
    Table->FreeNotification(Grid);
    delete Main;
    EXPECT_EQ(Table->Watched, nullptr);
    delete Data;
    EXPECT_EQ(Log.back(), "free Table");
}

TEST(ComponentState, DesigningLoadingAndDestroying) {
    TStateful Form(nullptr);
    auto* Early = new TStateful(&Form);
    Form.SetDesigning(true);
    auto* Late = new TStateful(&Form);
    EXPECT_TRUE(Early->ComponentState().Contains(csDesigning));
    EXPECT_TRUE(Late->ComponentState().Contains(csDesigning));
    Form.SetDesigning(false, false);
    EXPECT_FALSE(Form.ComponentState().Contains(csDesigning));
    EXPECT_TRUE(Late->ComponentState().Contains(csDesigning));

    Early->Loading();
    EXPECT_TRUE(Early->ComponentState().Contains(csLoading));
    Early->Loaded();
    EXPECT_FALSE(Early->ComponentState().Contains(csLoading));

    Form.Destroying();
    EXPECT_TRUE(Form.ComponentState().Contains(csDestroying));
    EXPECT_TRUE(Late->ComponentState().Contains(csDestroying));
}

TEST(ComponentState, SetOperations) {
    TComponentState State{csLoading, csDesigning};
    State << csReading >> csLoading;
    EXPECT_EQ(State, (TComponentState{csReading, csDesigning}));
    EXPECT_EQ(State.Bits(), (1u << 1) | (1u << 4));
    EXPECT_EQ(State * TComponentState({csDesigning, csInline}), TComponentState{csDesigning});
    EXPECT_EQ(State + TComponentState{csInline},
              (TComponentState{csReading, csDesigning, csInline}));
    EXPECT_EQ(State - TComponentState{csReading}, TComponentState{csDesigning});
    EXPECT_TRUE(TComponentState{}.Empty());
}

TEST(Component, NamePathIsTheName) {
    TComponent Form(nullptr);
    auto* Grid = new TComponent(&Form);
    Grid->SetName("Grid1");
    EXPECT_EQ(Grid->GetNamePath(), "Grid1");
    EXPECT_EQ(Grid->GetOwner(), &Form);
}

} // namespace
