#pragma once
// The interface of a date-time definition component (a calendar a grid cell
// can drop down or pop up) and the counted links by which grids learn that
// a definition is going away. The calendar itself is a descendant's.
#include "platform/classes/Component.h"
#include "platform/rtl/Persistent.h"
#include "platform/rtl/TDateTime.h"
#include "platform/rtl/Variant.h"

#include <cstdint>
#include <utility>
#include <vector>

// The platform's colour value and controls, as the GUI layer declares them.
using TColor = std::int32_t;
class TFont;
class TWinControl;

namespace grid {

enum class TgxDateTimeDisplay : std::uint8_t { dtDate, dtTime, dtDateTime };
using enum TgxDateTimeDisplay;
enum class TgxFirstDayOfWeek : std::uint8_t { dowSunday, dowMonday };
using enum TgxFirstDayOfWeek;
enum class TgxShowDayNames : std::uint8_t { sdnNone, sdnFirstLetter, sdnShortDayNames };
using enum TgxShowDayNames;

class TgxDateTimeDefComponent;

// The calendar's properties, each read and written through the definition.
class TgxDateTimeProps : public TPersistent {
public:
    explicit TgxDateTimeProps(TgxDateTimeDefComponent* AOwner) : FOwner(AOwner) {}
    AnsiString ClassName() const override { return "TgxDateTimeProps"; }
    TgxDateTimeDefComponent* Owner() const { return FOwner; }

    virtual TColor GetColor() const = 0;
    virtual void SetColor(TColor Value) = 0;
    virtual std::int32_t GetCalendarRows() const = 0;
    virtual void SetCalendarRows(std::int32_t Value) = 0;
    virtual TgxDateTimeDisplay GetDateTimeDisplay() const = 0;
    virtual void SetDateTimeDisplay(TgxDateTimeDisplay Value) = 0;
    virtual TColor GetDayNameFontColor() const = 0;
    virtual void SetDayNameFontColor(TColor Value) = 0;
    virtual TColor GetDisabledFontColor() const = 0;
    virtual void SetDisabledFontColor(TColor Value) = 0;
    virtual TgxFirstDayOfWeek GetFirstDayOfWeek() const = 0;
    virtual void SetFirstDayOfWeek(TgxFirstDayOfWeek Value) = 0;
    virtual TFont* GetFont() const = 0;
    virtual void SetFont(TFont* Value) = 0;
    virtual bool GetParentFont() const = 0;
    virtual void SetParentFont(bool Value) = 0;
    virtual TColor GetLineColor() const = 0;
    virtual void SetLineColor(TColor Value) = 0;
    virtual TDateTime GetMaxDate() const = 0;
    virtual void SetMaxDate(TDateTime Value) = 0;
    virtual TDateTime GetMinDate() const = 0;
    virtual void SetMinDate(TDateTime Value) = 0;
    virtual TColor GetMonthColor() const = 0;
    virtual void SetMonthColor(TColor Value) = 0;
    virtual TColor GetMonthFontColor() const = 0;
    virtual void SetMonthFontColor(TColor Value) = 0;
    virtual AnsiString GetOkCaption() const = 0;
    virtual void SetOkCaption(const AnsiString& Value) = 0;
    virtual AnsiString GetCancelCaption() const = 0;
    virtual void SetCancelCaption(const AnsiString& Value) = 0;
    virtual AnsiString GetCaption() const = 0;
    virtual void SetCaption(const AnsiString& Value) = 0;
    virtual bool GetSelectSaturday() const = 0;
    virtual void SetSelectSaturday(bool Value) = 0;
    virtual bool GetSelectSunday() const = 0;
    virtual void SetSelectSunday(bool Value) = 0;
    virtual TgxShowDayNames GetShowDayNames() const = 0;
    virtual void SetShowDayNames(TgxShowDayNames Value) = 0;
    virtual bool GetShowSeconds() const = 0;
    virtual void SetShowSeconds(bool Value) = 0;
    virtual bool GetShowToday() const = 0;
    virtual void SetShowToday(bool Value) = 0;
    virtual bool GetShowWeekNumbers() const = 0;
    virtual void SetShowWeekNumbers(bool Value) = 0;
    virtual bool GetShowSingleMonth() const = 0;
    virtual void SetShowSingleMonth(bool Value) = 0;
    virtual TColor GetWeekFontColor() const = 0;
    virtual void SetWeekFontColor(TColor Value) = 0;
    // Empty when there is no value.
    virtual Variant GetDateTime() const = 0;
    virtual void SetDateTime(const Variant& Value) = 0;
    // The calendar is shown in a tool window of its own instead of dropped down.
    virtual bool GetPopupForm() const = 0;
    virtual void SetPopupForm(bool Value) = 0;

private:
    TgxDateTimeDefComponent* FOwner;
};

// A user's registration with definitions; told when one is destroyed.
class TgxDateTimeLink : public TPersistent {
public:
    TgxDateTimeLink() = default;
    TgxDateTimeLink(const TgxDateTimeLink&) = delete;
    TgxDateTimeLink& operator=(const TgxDateTimeLink&) = delete;
    // Leaves every definition it is still listed with, so none of them
    // tells a link that is gone.
    ~TgxDateTimeLink() override;
    AnsiString ClassName() const override { return "TgxDateTimeLink"; }
    // One more (or one less) reference to Component; nothing for nullptr.
    void Add(TgxDateTimeDefComponent* Component);
    void Remove(TgxDateTimeDefComponent* Component);
    virtual void DateTimeDefDeleted(TgxDateTimeDefComponent* Component);

private:
    friend class TgxDateTimeDefComponent;
    // The definitions that list this link, each once.
    std::vector<TgxDateTimeDefComponent*> FComponents;
};

class TgxDateTimeDefComponent : public TComponent {
public:
    explicit TgxDateTimeDefComponent(TComponent* AOwner) : TComponent(AOwner) {}
    // Tells every link, then lets them go.
    ~TgxDateTimeDefComponent() override;
    AnsiString ClassName() const override { return "TgxDateTimeDefComponent"; }

    // A link is listed once and counts how often it was added.
    void AddLink(TgxDateTimeLink* Link);
    // One reference less; the entry goes with the last one, or at once with All.
    void RemoveLink(TgxDateTimeLink* Link, bool All);
    // DateTimeDefDeleted on each link, in the order they were first added.
    void NotifyLinks();
    // How often Link was added and not yet removed (0 when not listed).
    int LinkCount(const TgxDateTimeLink* Link) const;
    int LinkEntries() const { return static_cast<int>(FLinks.size()); }

    // The control that shows the calendar; may be nullptr.
    virtual TWinControl* GetControl() const = 0;
    virtual void SetSelect(TNotifyEvent Value) = 0;
    virtual TNotifyEvent GetSelect() const = 0;
    virtual void SetCancel(TNotifyEvent Value) = 0;
    virtual TNotifyEvent GetCancel() const = 0;
    virtual void SetDateTime(const Variant& Value) = 0;
    virtual Variant GetDateTime() const = 0;
    virtual void SetDateTimeDisplay(TgxDateTimeDisplay Value) = 0;
    virtual TgxDateTimeDisplay GetDateTimeDisplay() const = 0;
    virtual void SetPopupForm(bool Value) = 0;
    virtual bool GetPopupForm() const = 0;
    virtual void SetDateTimeProps(TgxDateTimeProps* Value) = 0;
    virtual TgxDateTimeProps* GetDateTimeProps() const = 0;
    // Prepares the control for showing, and focuses it once shown.
    virtual void InitializeDisplay() = 0;
    virtual void InitializeFocus() = 0;

private:
    std::vector<std::pair<TgxDateTimeLink*, int>> FLinks;
};

} // namespace grid
