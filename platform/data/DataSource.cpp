#include "platform/data/DataSource.h"

#include "platform/data/DataSet.h"

#include <algorithm>

TDataLink::~TDataLink() {
    SetDataSource(nullptr);
}

void TDataLink::SetDataSource(TDataSource* Value) {
    if (Value == FDataSource) return;
    if (FDataSource) FDataSource->RemoveLink(this);
    FDataSource = Value;
    if (FDataSource) FDataSource->AddLink(this);
    ActiveChanged();
}

TDataSet* TDataLink::DataSet() const {
    return FDataSource ? FDataSource->DataSet() : nullptr;
}

bool TDataLink::Active() const {
    return FDataSource && FDataSource->State() != dsInactive;
}

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource() {
    SetDataSet(nullptr);
    for (TDataLink* Link : std::vector<TDataLink*>(FLinks))
        Link->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* Value) {
    if (Value == FDataSet) return;
    if (FDataSet) FDataSet->DetachDataSource(this);
    FDataSet = Value;
    if (FDataSet) FDataSet->AttachDataSource(this);
    NotifyLinks(Event::ActiveChanged);
}

void TDataSource::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    NotifyLinks(Event::ActiveChanged);
}

TDataSetState TDataSource::State() const {
    return FDataSet && FEnabled ? FDataSet->State() : dsInactive;
}

void TDataSource::AddLink(TDataLink* Link) {
    FLinks.push_back(Link);
}

void TDataSource::RemoveLink(TDataLink* Link) {
    FLinks.erase(std::remove(FLinks.begin(), FLinks.end(), Link), FLinks.end());
}

void TDataSource::NotifyLinks(Event What) {
    if (!FEnabled && What != Event::ActiveChanged) return;
    // A link may leave (or another join) while it is being told.
    const std::vector<TDataLink*> Links(FLinks);
    for (TDataLink* Link : Links) {
        if (std::find(FLinks.begin(), FLinks.end(), Link) == FLinks.end()) continue;
        switch (What) {
        case Event::ActiveChanged:
            Link->ActiveChanged();
            break;
        case Event::DataSetChanged:
            Link->DataSetChanged();
            break;
        case Event::Scrolled:
            Link->DataSetScrolled();
            break;
        }
    }
}
