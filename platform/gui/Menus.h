#pragma once
// Menus: TMenuItem (a caption, a tag, OnClick and sub-items), TMainMenu
// (the menu bar of a form) and TPopupMenu (shown at a point or on a
// control's right click). The Qt menus are rebuilt from the items whenever
// the items change.
#include "platform/classes/Component.h"
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Exceptions.h"

#include <memory>
#include <vector>

class QWidget;
class QMenu;
class TMenu;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    // Leaves its parent item and frees its sub-items.
    ~TMenuItem() override;
    AnsiString ClassName() const override { return "TMenuItem"; }

    // A caption of "-" makes the item a separator line.
    const AnsiString& Caption() const { return FCaption; }
    void SetCaption(const AnsiString& Value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    const AnsiString& Hint() const { return FHint; }
    void SetHint(const AnsiString& Value) { FHint = Value; }
    bool IsLine() const { return FCaption == "-"; }

    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int Index) const;
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const;
    int IndexOf(const TMenuItem* Item) const;
    // Adds the item at the end; it leaves any item it was under before.
    void Add(TMenuItem* Item);
    // Raises EMenuError "Menu index out of range" outside 0..Count.
    void Insert(int Index, TMenuItem* Item);
    // Takes the item out without freeing it.
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    // Frees every sub-item.
    void Clear();
    // The menu the item tree belongs to, or nullptr.
    TMenu* GetParentMenu() const;

    // Fires OnClick when the item is enabled.
    virtual void Click();
    TNotifyEvent OnClick;

private:
    friend class TMenu;
    void Changed();

    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;
    std::vector<TMenuItem*> FItems;
    AnsiString FCaption;
    AnsiString FHint;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
};

RTL_DECLARE_EXCEPTION(EMenuError, Exception);

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;
    AnsiString ClassName() const override { return "TMenu"; }

    // The root item whose sub-items are the menu's items.
    TMenuItem* Items() const { return FItems; }

protected:
    friend class TMenuItem;
    // The items changed: the Qt menus are built again.
    virtual void ItemsChanged() {}
    // Fills a Qt menu with the sub-items of Item.
    static void Fill(QMenu* Menu, TMenuItem* Item);

private:
    TMenuItem* FItems;
};

class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* AOwner);
    ~TMainMenu() override;
    AnsiString ClassName() const override { return "TMainMenu"; }

    // Platform code: the menu bar widget, built on first call.
    QWidget* MenuBarWidget();

protected:
    void ItemsChanged() override;

private:
    struct TQt;
    std::unique_ptr<TQt> FQt;
};

enum class TPopupAlignment : std::uint8_t { paLeft, paRight, paCenter };
using enum TPopupAlignment;

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;
    AnsiString ClassName() const override { return "TPopupMenu"; }

    // Fires OnPopup, then shows the menu with its top left at the screen point.
    virtual void Popup(int X, int Y);
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
    // The control the menu was last shown for.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }

    TNotifyEvent OnPopup;

private:
    struct TQt;
    std::unique_ptr<TQt> FQt;
    TComponent* FPopupComponent = nullptr;
    TPopupAlignment FAlignment = paLeft;
    bool FAutoPopup = true;
};
