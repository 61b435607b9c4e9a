#pragma once
// The component: an object with an owner that frees it, a name unique among
// its owner's components, a state (loading, designing, destroying...) and
// notifications that keep components which refer to each other from
// holding a pointer to one that has gone.
#include "platform/rtl/Persistent.h"
#include "platform/classes/SmallSet.h"
#include "platform/rtl/AnsiString.h"

#include <cstdint>
#include <functional>
#include <vector>

enum class TOperation : std::uint8_t { opInsert, opRemove };
using enum TOperation;

enum class TComponentStateItem : std::uint8_t {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,
    csInline,
    csDesignInstance,
};
using enum TComponentStateItem;
using TComponentState = SmallSet<TComponentStateItem>;

class TComponent;
using TGetChildProc = std::function<void(TComponent* Child)>;

class TComponent : public TPersistent {
public:
    // Joins AOwner's components (when given); the owner frees it.
    explicit TComponent(TComponent* AOwner);
    // Tells every component that asked to be told, frees the owned
    // components (the last created first) and leaves the owner.
    ~TComponent() override;

    AnsiString ClassName() const override { return "TComponent"; }
    AnsiString GetNamePath() const override { return FName; }
    TPersistent* GetOwner() const override { return FOwner; }

    TComponent* Owner() const { return FOwner; }

    const AnsiString& Name() const { return FName; }
    // Renames the component. The name must be empty or an identifier and
    // must not be used (ignoring case) by another component of the owner;
    // EComponentError otherwise, the old name kept.
    virtual void SetName(const AnsiString& NewName);

    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }

    TComponentState ComponentState() const { return FComponentState; }

    // The owned components, in order of insertion.
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int Index) const;
    // Position among the owner's components (0 without an owner); setting
    // it moves the component, clamped to the list.
    int ComponentIndex() const;
    void SetComponentIndex(int Value);

    // The owned component of that name, ignoring case; nullptr if none.
    TComponent* FindComponent(const AnsiString& AName) const;

    // Takes AComponent over from its present owner. Its name must be free
    // here, and a component can't be made to own itself or its own owner.
    void InsertComponent(TComponent* AComponent);
    // Lets go of an owned component without freeing it.
    void RemoveComponent(TComponent* AComponent);
    // Frees every owned component, the last inserted first.
    void DestroyComponents();

    // Asks that AComponent be told (Notification with opRemove) when this
    // component is freed. The link goes both ways: this component is told
    // when AComponent goes first. Components of one owner need no link;
    // the owner tells all its components when one of them leaves.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Marks this component and its owned components as being destroyed. A
    // descendant whose destructor does work that others may be told about
    // calls it first, so that they already see csDestroying.
    void Destroying();

    // Called when the component has been fully loaded; ends csLoading.
    virtual void Loaded();

    // For controls: whether the component has a parent that streams it.
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    // Lists the child components the writer should stream; none here.
    virtual void GetChildren(TGetChildProc Proc, TComponent* Root);
    // Writes the component's data to Writer (class, name, properties,
    // children); a class that must tidy up before it is written overrides it.
    virtual void WriteState(TWriter* Writer);

protected:
    // Told about components joining (opInsert) and leaving (opRemove): the
    // owner's components, and those linked by FreeNotification. The base
    // drops its link to a leaving component and passes the news on to its
    // own components.
    virtual void Notification(TComponent* AComponent, TOperation Operation);

    // Raises when AComponent, owned here, can't be renamed to NewName.
    virtual void ValidateRename(TComponent* AComponent, const AnsiString& CurName,
                                const AnsiString& NewName);
    // Stores the name without any check.
    virtual void ChangeName(const AnsiString& NewName) { FName = NewName; }

    void SetDesigning(bool Value, bool SetChildren = true);
    void SetInline(bool Value);
    void SetDesignInstance(bool Value);
    void SetAncestor(bool Value);
    // csUpdating while a designer or the reader changes the component.
    void Updating() { FComponentState.Include(csUpdating); }
    void Updated() { FComponentState.Exclude(csUpdating); }
    // csLoading until Loaded(), for code that builds a component from
    // stored data.
    void Loading() { FComponentState.Include(csLoading); }

private:
    friend class TReader;
    friend class TWriter;

    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void RemoveNotification(TComponent* AComponent);
    void NotifyFreeNotifies();

    TComponent* FOwner = nullptr;
    AnsiString FName;
    int FTag = 0;
    TComponentState FComponentState;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
};
