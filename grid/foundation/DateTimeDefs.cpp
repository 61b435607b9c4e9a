#include "grid/foundation/DateTimeDefs.h"

#include <algorithm>

namespace grid {

void TgxDateTimeLink::Add(TgxDateTimeDefComponent* Component) {
    if (Component) Component->AddLink(this);
}

void TgxDateTimeLink::Remove(TgxDateTimeDefComponent* Component) {
    if (Component) Component->RemoveLink(this, false);
}

void TgxDateTimeLink::DateTimeDefDeleted(TgxDateTimeDefComponent*) {}

TgxDateTimeLink::~TgxDateTimeLink() {
    const std::vector<TgxDateTimeDefComponent*> Listed = FComponents;
    for (TgxDateTimeDefComponent* Component : Listed)
        Component->RemoveLink(this, true);
}

namespace {

void Forget(std::vector<TgxDateTimeDefComponent*>& Components,
            const TgxDateTimeDefComponent* Component) {
    Components.erase(std::remove(Components.begin(), Components.end(), Component),
                     Components.end());
}

} // namespace

TgxDateTimeDefComponent::~TgxDateTimeDefComponent() {
    NotifyLinks();
    for (auto& Entry : FLinks)
        Forget(Entry.first->FComponents, this);
    FLinks.clear();
}

void TgxDateTimeDefComponent::AddLink(TgxDateTimeLink* Link) {
    for (auto& Entry : FLinks)
        if (Entry.first == Link) {
            ++Entry.second;
            return;
        }
    FLinks.emplace_back(Link, 1);
    Link->FComponents.push_back(this);
}

void TgxDateTimeDefComponent::RemoveLink(TgxDateTimeLink* Link, bool All) {
    const auto At = std::find_if(FLinks.begin(), FLinks.end(),
                                 [Link](const auto& Entry) { return Entry.first == Link; });
    if (At == FLinks.end()) return;
    if (All || --At->second <= 0) {
        FLinks.erase(At);
        Forget(Link->FComponents, this);
    }
}

int TgxDateTimeDefComponent::LinkCount(const TgxDateTimeLink* Link) const {
    for (const auto& Entry : FLinks)
        if (Entry.first == Link) return Entry.second;
    return 0;
}

void TgxDateTimeDefComponent::NotifyLinks() {
    // A notified grid drops its references and may remove its link (or
    // another): walk a copy, skipping links that have left meanwhile.
    std::vector<TgxDateTimeLink*> Snapshot;
    for (const auto& Entry : FLinks)
        Snapshot.push_back(Entry.first);
    for (TgxDateTimeLink* Link : Snapshot)
        if (LinkCount(Link) > 0) Link->DateTimeDefDeleted(this);
}

} // namespace grid
