#include "platform/classes/Component.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <string>

namespace {

bool IsIdentStart(char C) {
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_';
}

bool IsValidIdent(const AnsiString& Ident) {
    if (Ident.empty() || !IsIdentStart(Ident[0])) return false;
    return std::all_of(Ident.begin() + 1, Ident.end(),
                       [](char C) { return IsIdentStart(C) || (C >= '0' && C <= '9'); });
}

AnsiString Describe(const TComponent* Component) {
    return Component->Name().empty() ? Component->ClassName() : Component->Name();
}

} // namespace

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    NotifyFreeNotifies();
    DestroyComponents();
    if (FOwner != nullptr) FOwner->RemoveComponent(this);
    // Someone told of the above may have linked itself to us, or handed us
    // a component, after all: leave no pointer to this one behind.
    while (!FFreeNotifies.empty() || !FComponents.empty()) {
        NotifyFreeNotifies();
        DestroyComponents();
    }
}

TComponent* TComponent::Components(int Index) const {
    if (Index < 0 || Index >= ComponentCount())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FComponents[static_cast<std::size_t>(Index)];
}

int TComponent::ComponentIndex() const {
    if (FOwner == nullptr) return 0;
    const auto& Siblings = FOwner->FComponents;
    return static_cast<int>(std::find(Siblings.begin(), Siblings.end(), this) - Siblings.begin());
}

void TComponent::SetComponentIndex(int Value) {
    if (FOwner == nullptr) return;
    auto& Siblings = FOwner->FComponents;
    const int Current = ComponentIndex();
    const int Last = static_cast<int>(Siblings.size()) - 1;
    Value = std::clamp(Value, 0, Last);
    if (Value == Current) return;
    Siblings.erase(Siblings.begin() + Current);
    Siblings.insert(Siblings.begin() + Value, this);
}

TComponent* TComponent::FindComponent(const AnsiString& AName) const {
    if (AName.empty()) return nullptr;
    for (TComponent* Component : FComponents)
        if (SameText(Component->FName, AName)) return Component;
    return nullptr;
}

void TComponent::SetName(const AnsiString& NewName) {
    if (FName == NewName) return;
    if (!NewName.empty() && !IsValidIdent(NewName))
        throw EComponentError("Component name \"" + NewName + "\" is not valid");
    if (FOwner != nullptr)
        FOwner->ValidateRename(this, FName, NewName);
    else
        ValidateRename(nullptr, FName, NewName);
    ChangeName(NewName);
}

void TComponent::ValidateRename(TComponent* AComponent, const AnsiString& CurName,
                                const AnsiString& NewName) {
    if (AComponent != nullptr && !SameText(CurName, NewName) && AComponent->FOwner == this &&
        FindComponent(NewName) != nullptr)
        throw EComponentError("A component named " + NewName + " already exists");
    if (FComponentState.Contains(csDesigning) && FOwner != nullptr)
        FOwner->ValidateRename(AComponent, CurName, NewName);
}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (AComponent == nullptr)
        throw EComponentError("Cannot insert a nil component into " + Describe(this));
    if (AComponent->FOwner == this) return;
    for (const TComponent* Owner = this; Owner != nullptr; Owner = Owner->FOwner)
        if (Owner == AComponent)
            throw EComponentError("Component " + Describe(AComponent) +
                                  " cannot be owned by itself or by one of its own components");
    // Check the name before anything changes, so a clash leaves the
    // component where it was. (ValidateRename only guards components that
    // are already ours, so the clash is checked here.)
    if (FindComponent(AComponent->FName) != nullptr)
        throw EComponentError("A component named " + AComponent->FName + " already exists");
    ValidateRename(AComponent, "", AComponent->FName);
    if (AComponent->FOwner != nullptr) AComponent->FOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    if (AComponent == nullptr || AComponent->FOwner != this) return;
    ValidateRename(AComponent, AComponent->FName, "");
    Notification(AComponent, opRemove);
    Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) {
    auto Found = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (Found != FComponents.end()) FComponents.erase(Found);
    AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* Instance = FComponents.back();
        // Only components someone watches need their leaving announced;
        // the rest go quietly, which keeps freeing a large form cheap.
        if (Instance->FComponentState.Contains(csFreeNotification) ||
            (FComponentState.Contains(csDesigning) && FComponentState.Contains(csInline)))
            RemoveComponent(Instance);
        else
            Remove(Instance);
        delete Instance;
    }
}

void TComponent::Destroying() {
    if (FComponentState.Contains(csDestroying)) return;
    FComponentState.Include(csDestroying);
    for (TComponent* Component : FComponents)
        Component->Destroying();
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent != nullptr) RemoveFreeNotification(AComponent);
    // A component told of the change may free others of ours: walk down by
    // index and clamp to what is left.
    int I = ComponentCount() - 1;
    while (I >= 0) {
        FComponents[static_cast<std::size_t>(I)]->Notification(AComponent, Operation);
        --I;
        if (I >= ComponentCount()) I = ComponentCount() - 1;
    }
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (AComponent == nullptr) return;
    if (AComponent != this && (FOwner == nullptr || AComponent->FOwner != FOwner)) {
        if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) ==
            FFreeNotifies.end()) {
            FFreeNotifies.push_back(AComponent);
            AComponent->FreeNotification(this);
        }
    }
    FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    if (AComponent == nullptr) return;
    RemoveNotification(AComponent);
    AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
    auto Found = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
    if (Found != FFreeNotifies.end()) FFreeNotifies.erase(Found);
}

void TComponent::NotifyFreeNotifies() {
    // Unlink each one before telling it, so no one keeps a pointer to us
    // even when its Notification doesn't call the inherited one, and so a
    // component freed while being told simply drops out of the list.
    while (!FFreeNotifies.empty()) {
        TComponent* Other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        Other->RemoveNotification(this);
        Other->Notification(this, opRemove);
    }
}

void TComponent::Loaded() {
    FComponentState.Exclude(csLoading);
}

void TComponent::GetChildren(TGetChildProc, TComponent*) {}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
    if (Value)
        FComponentState.Include(csDesigning);
    else
        FComponentState.Exclude(csDesigning);
    if (SetChildren)
        for (TComponent* Component : FComponents)
            Component->SetDesigning(Value);
}

void TComponent::SetInline(bool Value) {
    if (Value)
        FComponentState.Include(csInline);
    else
        FComponentState.Exclude(csInline);
}

void TComponent::SetDesignInstance(bool Value) {
    if (Value)
        FComponentState.Include(csDesignInstance);
    else
        FComponentState.Exclude(csDesignInstance);
}

void TComponent::SetAncestor(bool Value) {
    if (Value)
        FComponentState.Include(csAncestor);
    else
        FComponentState.Exclude(csAncestor);
    for (TComponent* Component : FComponents)
        Component->SetAncestor(Value);
}
