#include "platform/gui/Menus.h"

#include "platform/gui/QtApp.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <algorithm>

// ---- TMenuItem ------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
    Destroying();
    if (FParent) FParent->Remove(this);
    Clear();
}

TMenuItem* TMenuItem::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EMenuError("Menu index out of range");
    return FItems[static_cast<std::size_t>(Index)];
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
    auto It = std::find(FItems.begin(), FItems.end(), Item);
    return It == FItems.end() ? -1 : static_cast<int>(It - FItems.begin());
}

int TMenuItem::MenuIndex() const {
    return FParent ? FParent->IndexOf(this) : -1;
}

void TMenuItem::Add(TMenuItem* Item) {
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (!Item) return;
    if (Item->FParent) throw EMenuError("Menu inserted twice");
    if (Index < 0 || Index > Count()) throw EMenuError("Menu index out of range");
    for (const TMenuItem* P = this; P; P = P->FParent)
        if (P == Item) throw EMenuError("Menu inserted twice");
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    Changed();
}

void TMenuItem::Delete(int Index) {
    TMenuItem* Item = Items(Index);
    FItems.erase(FItems.begin() + Index);
    Item->FParent = nullptr;
    Changed();
}

void TMenuItem::Remove(TMenuItem* Item) {
    const int Index = IndexOf(Item);
    if (Index < 0) throw EMenuError("Sub-menu is not in menu");
    Delete(Index);
}

void TMenuItem::Clear() {
    while (!FItems.empty())
        delete FItems.back();
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* Root = this;
    while (Root->FParent)
        Root = Root->FParent;
    return Root->FMenu;
}

void TMenuItem::SetCaption(const AnsiString& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    Changed();
}

void TMenuItem::SetChecked(bool Value) {
    if (Value == FChecked) return;
    FChecked = Value;
    Changed();
}

void TMenuItem::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    Changed();
}

void TMenuItem::SetVisible(bool Value) {
    if (Value == FVisible) return;
    FVisible = Value;
    Changed();
}

void TMenuItem::Click() {
    if (FEnabled && OnClick) OnClick(this);
}

void TMenuItem::Changed() {
    if (ComponentState().Contains(csDestroying)) return;
    if (TMenu* Menu = GetParentMenu(); Menu && !Menu->ComponentState().Contains(csDestroying))
        Menu->ItemsChanged();
}

// ---- TMenu ------------------------------------------------------------------------

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr)) {
    FItems->FMenu = this;
}

TMenu::~TMenu() {
    Destroying();
    delete FItems;
}

void TMenu::Fill(QMenu* Menu, TMenuItem* Item) {
    for (int I = 0; I < Item->Count(); ++I) {
        TMenuItem* Sub = Item->Items(I);
        if (!Sub->Visible()) continue;
        if (Sub->IsLine()) {
            Menu->addSeparator();
            continue;
        }
        if (Sub->Count() > 0) {
            QMenu* Child = Menu->addMenu(ToQString(Sub->Caption()));
            Child->setEnabled(Sub->Enabled());
            Fill(Child, Sub);
            continue;
        }
        QAction* Action = Menu->addAction(ToQString(Sub->Caption()));
        Action->setEnabled(Sub->Enabled());
        Action->setCheckable(Sub->Checked());
        Action->setChecked(Sub->Checked());
        QObject::connect(Action, &QAction::triggered, Action,
                         [Sub](bool) { SafeCall(Sub, [Sub] { Sub->Click(); }); });
    }
}

// ---- TMainMenu --------------------------------------------------------------------

struct TMainMenu::TQt {
    QPointer<QMenuBar> Bar;
};

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner), FQt(std::make_unique<TQt>()) {}

TMainMenu::~TMainMenu() {
    Destroying();
    delete FQt->Bar.data();
}

QWidget* TMainMenu::MenuBarWidget() {
    if (!FQt->Bar) {
        EnsureQtApplication();
        FQt->Bar = new QMenuBar();
        ItemsChanged();
    }
    return FQt->Bar;
}

void TMainMenu::ItemsChanged() {
    QMenuBar* Bar = FQt->Bar;
    if (!Bar) return;
    Bar->clear();
    TMenuItem* Root = Items();
    for (int I = 0; I < Root->Count(); ++I) {
        TMenuItem* Top = Root->Items(I);
        if (!Top->Visible() || Top->IsLine()) continue;
        if (Top->Count() > 0) {
            QMenu* Menu = Bar->addMenu(ToQString(Top->Caption()));
            Menu->setEnabled(Top->Enabled());
            Fill(Menu, Top);
        } else {
            QAction* Action = Bar->addAction(ToQString(Top->Caption()));
            Action->setEnabled(Top->Enabled());
            QObject::connect(Action, &QAction::triggered, Action,
                             [Top](bool) { SafeCall(Top, [Top] { Top->Click(); }); });
        }
    }
}

// ---- TPopupMenu -------------------------------------------------------------------

struct TPopupMenu::TQt {
    QPointer<QMenu> Menu;
};

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner), FQt(std::make_unique<TQt>()) {}

TPopupMenu::~TPopupMenu() {
    Destroying();
    delete FQt->Menu.data();
}

void TPopupMenu::Popup(int X, int Y) {
    if (OnPopup) OnPopup(this);
    EnsureQtApplication();
    delete FQt->Menu.data();
    FQt->Menu = new QMenu();
    Fill(FQt->Menu, Items());
    QPoint At(X, Y);
    const int W = FQt->Menu->sizeHint().width();
    if (FAlignment == paRight)
        At.rx() -= W;
    else if (FAlignment == paCenter)
        At.rx() -= W / 2;
    FQt->Menu->popup(At);
}
