#pragma once
// The least a date-time definition must supply, for tests that need only
// its links to the grids that use it.
#include "grid/foundation/DateTimeDefs.h"

class StubDateTimeDef : public grid::TgxDateTimeDefComponent {
public:
    using grid::TgxDateTimeDefComponent::TgxDateTimeDefComponent;
    TWinControl* GetControl() const override { return nullptr; }
    void SetSelect(TNotifyEvent) override {}
    TNotifyEvent GetSelect() const override { return {}; }
    void SetCancel(TNotifyEvent) override {}
    TNotifyEvent GetCancel() const override { return {}; }
    void SetDateTime(const Variant&) override {}
    Variant GetDateTime() const override { return Variant(); }
    void SetDateTimeDisplay(grid::TgxDateTimeDisplay) override {}
    grid::TgxDateTimeDisplay GetDateTimeDisplay() const override { return grid::dtDate; }
    void SetPopupForm(bool) override {}
    bool GetPopupForm() const override { return false; }
    void SetDateTimeProps(grid::TgxDateTimeProps*) override {}
    grid::TgxDateTimeProps* GetDateTimeProps() const override { return nullptr; }
    void InitializeDisplay() override {}
    void InitializeFocus() override {}
};
