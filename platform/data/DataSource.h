#pragma once
// TDataSource: the point where controls and detail queries attach to a data
// set. Each attached TDataLink hears when the data set opens or closes, when
// it moves and when its records change as a whole.
#include "platform/classes/Component.h"
#include "platform/data/DBTypes.h"

#include <vector>

class TDataSet;
class TDataSource;

class TDataLink {
public:
    TDataLink() = default;
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;
    // Leaves its data source.
    virtual ~TDataLink();

    TDataSource* DataSource() const { return FDataSource; }
    void SetDataSource(TDataSource* Value);
    TDataSet* DataSet() const;
    // The data source is enabled and its data set is open.
    bool Active() const;

protected:
    friend class TDataSource;
    // The data set opened or closed (or the link moved to another one).
    virtual void ActiveChanged() {}
    // The records changed as a whole: a new filter, controls enabled again.
    virtual void DataSetChanged() {}
    // The data set moved to another record.
    virtual void DataSetScrolled() { DataSetChanged(); }

private:
    TDataSource* FDataSource = nullptr;
};

class TDataSource : public TComponent {
public:
    explicit TDataSource(TComponent* AOwner);
    // Detaches its data set and its links.
    ~TDataSource() override;
    AnsiString ClassName() const override { return "TDataSource"; }

    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* Value);
    // Whether controls put the data set into edit mode when the user types.
    bool AutoEdit() const { return FAutoEdit; }
    void SetAutoEdit(bool Value) { FAutoEdit = Value; }
    // A disabled data source tells its links nothing and looks inactive.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    // The data set's state; dsInactive without one or while disabled.
    TDataSetState State() const;

    int LinkCount() const { return static_cast<int>(FLinks.size()); }

private:
    friend class TDataLink;
    friend class TDataSet;

    enum class Event { ActiveChanged, DataSetChanged, Scrolled };
    void NotifyLinks(Event What);
    void AddLink(TDataLink* Link);
    void RemoveLink(TDataLink* Link);

    TDataSet* FDataSet = nullptr;
    bool FAutoEdit = true;
    bool FEnabled = true;
    std::vector<TDataLink*> FLinks;
};
