#include "formstore/UiTexts.h"

#include "platform/classes/Publish.h"
#include "platform/gui/Beep.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PublishedProps.h"
#include "platform/rtl/Exceptions.h"

namespace formstore {

namespace {

TuiIntl* GUiIntl = nullptr;
bool GStarted = false;

// Frees the program-wide instance at program end when Application has not
// already done so.
struct TUnitShutDown {
    TUnitShutDown() = default;
    TUnitShutDown(const TUnitShutDown&) = delete;
    TUnitShutDown& operator=(const TUnitShutDown&) = delete;
    ~TUnitShutDown() { Uitexts::Finalization(); }
} UnitShutDown;

const AnsiString ValidationErrorMessage = "Invalid input value.  Use escape key to abandon changes";

// A form may carry its own TuiIntl with its texts set in the designer, so
// the component and every holder are published and may be read from a form.
#define FORMSTORE_UI_PUBLISH_TEXT(Name, Text)                                                      \
    C.Property(#Name, &Class::Name, &Class::Set##Name).Default(Text);

// A holder class whose published properties are just its texts.
#define FORMSTORE_UI_PUBLISH_HOLDER(Var, Type, Texts)                                              \
    const TPublished<Type, TPersistent> Var(#Type, [](auto& C) {                                   \
        using Class = Type;                                                                        \
        Texts(FORMSTORE_UI_PUBLISH_TEXT)                                                           \
    });

const TTypeInfo& CheckBoxInGridStyleType() {
    static const TTypeInfo Info =
        MakeEnumType("TuiCheckBoxInGridStyle", {"cbStyleAuto", "cbStyleCheckmark", "cbStyleXmark"});
    return Info;
}

const TPublished<TuiADOIntl, TPersistent> ADOIntlClass("TuiADOIntl", [](auto& C) {
    C.Property("UseLocateWhenFindingValue", &TuiADOIntl::UseLocateWhenFindingValue,
               &TuiADOIntl::SetUseLocateWhenFindingValue)
        .Default(true);
});

FORMSTORE_UI_PUBLISH_HOLDER(NavigatorHintsClass, TuiDBNavigatorIntlHints,
                            FORMSTORE_UI_NAVIGATOR_HINTS_TEXTS)

const TPublished<TuiDBNavigatorIntl, TPersistent> NavigatorClass("TuiDBNavigatorIntl", [](auto& C) {
    C.Property("ConfirmDeleteMessage", &TuiDBNavigatorIntl::ConfirmDeleteMessage,
               &TuiDBNavigatorIntl::SetConfirmDeleteMessage)
        .Default("Delete record?");
    C.Property("Hints", &TuiDBNavigatorIntl::Hints, &TuiDBNavigatorIntl::SetHints);
});

FORMSTORE_UI_PUBLISH_HOLDER(SearchDialogClass, TuiSearchDialogIntl,
                            FORMSTORE_UI_SEARCH_DIALOG_TEXTS)

FORMSTORE_UI_PUBLISH_HOLDER(LocateDialogClass, TuiLocateDialogIntl,
                            FORMSTORE_UI_LOCATE_DIALOG_TEXTS)

FORMSTORE_UI_PUBLISH_HOLDER(MonthCalendarClass, TuiMonthCalendarIntl,
                            FORMSTORE_UI_MONTH_CALENDAR_TEXTS)

FORMSTORE_UI_PUBLISH_HOLDER(FilterDialogClass, TuiFilterDialogIntl,
                            FORMSTORE_UI_FILTER_DIALOG_TEXTS)

FORMSTORE_UI_PUBLISH_HOLDER(MenuLabelsClass, TuiRichEditMenuLabels,
                            FORMSTORE_UI_RICH_EDIT_MENU_TEXTS)

FORMSTORE_UI_PUBLISH_HOLDER(PopupMenuLabelsClass, TuiRichEditPopupMenuLabels,
                            FORMSTORE_UI_RICH_EDIT_POPUP_MENU_TEXTS)

const TPublished<TuiRichEditParagraphDlg, TPersistent>
    ParagraphDlgClass("TuiRichEditParagraphDlg", [](auto& C) {
        using Class = TuiRichEditParagraphDlg;
        FORMSTORE_UI_RICH_EDIT_PARAGRAPH_DIALOG_TEXTS(FORMSTORE_UI_PUBLISH_TEXT)
        C.Property("HelpContext", &Class::HelpContext, &Class::SetHelpContext).Default(0);
    });

const TPublished<TuiRichEditTabDlg, TPersistent> TabDlgClass("TuiRichEditTabDlg", [](auto& C) {
    using Class = TuiRichEditTabDlg;
    FORMSTORE_UI_RICH_EDIT_TAB_DIALOG_TEXTS(FORMSTORE_UI_PUBLISH_TEXT)
    C.Property("HelpContext", &Class::HelpContext, &Class::SetHelpContext).Default(0);
});

const TPublished<TuiDBRichEditIntl, TPersistent> RichEditClass("TuiDBRichEditIntl", [](auto& C) {
    using Class = TuiDBRichEditIntl;
    FORMSTORE_UI_RICH_EDIT_TEXTS(FORMSTORE_UI_PUBLISH_TEXT)
    C.Property("MenuLabels", &Class::MenuLabels, &Class::SetMenuLabels);
    C.Property("PopupMenuLabels", &Class::PopupMenuLabels, &Class::SetPopupMenuLabels);
    C.Property("ParagraphDialog", &Class::ParagraphDialog, &Class::SetParagraphDialog);
    C.Property("TabDialog", &Class::TabDialog, &Class::SetTabDialog);
});

FORMSTORE_UI_PUBLISH_HOLDER(UserMessagesClass, TuiUserMessagesIntl,
                            FORMSTORE_UI_USER_MESSAGES_TEXTS)

// The event is not published: a handler is bound in code.
const TPublished<TuiIntl, TComponent> UiIntlClass(
    "TuiIntl",
    [](auto& C) {
        using Class = TuiIntl;
        C.Property("ADO", &Class::ADO, &Class::SetADO);
        C.Property("Navigator", &Class::Navigator, &Class::SetNavigator);
        C.Property("SearchDialog", &Class::SearchDialog, &Class::SetSearchDialog);
        C.Property("LocateDialog", &Class::LocateDialog, &Class::SetLocateDialog);
        C.Property("MonthCalendar", &Class::MonthCalendar, &Class::SetMonthCalendar);
        C.Property("FilterDialog", &Class::FilterDialog, &Class::SetFilterDialog);
        C.Property("RichEdit", &Class::RichEdit, &Class::SetRichEdit);
        C.Property("UserMessages", &Class::UserMessages, &Class::SetUserMessages);
        C.Property("OKCancelBitmapped", &Class::OKCancelBitmapped, &Class::SetOKCancelBitmapped)
            .Default(true);
        C.Property("BtnOKCaption", &Class::BtnOKCaption, &Class::SetBtnOKCaption).Default("&OK");
        C.Property("BtnCancelCaption", &Class::BtnCancelCaption, &Class::SetBtnCancelCaption)
            .Default("Cancel");
        C.Property("CheckBoxInGridStyle", &Class::CheckBoxInGridStyle,
                   &Class::SetCheckBoxInGridStyle, CheckBoxInGridStyleType())
            .Default(cbStyleAuto);
        C.Property("VersionQuilldown", &Class::VersionQuilldown, &Class::SetVersionQuilldown)
            .Default("1.10");
        C.Property("FilterMemoSize", &Class::FilterMemoSize, &Class::SetFilterMemoSize)
            .Default(0x10000);
        C.Property("IniFileName", &Class::IniFileName, &Class::SetIniFileName);
        C.Property("UseLocateMethodForSearch", &Class::UseLocateMethodForSearch,
                   &Class::SetUseLocateMethodForSearch)
            .Default(true);
        C.Property("DialogFontStyle", &Class::DialogFontStyle, &Class::SetDialogFontStyle,
                   FontStylesType())
            .Default(TFontStyles{});
        C.Property("DefaultEpochYear", &Class::DefaultEpochYear, &Class::SetDefaultEpochYear)
            .Default(1950);
        C.Property("Connected", &Class::Connected, &Class::SetConnected).Default(false);
    },
    true);

#undef FORMSTORE_UI_PUBLISH_TEXT

} // namespace

TuiIntl* UiIntl() {
    if (!GStarted) Uitexts::Initialization();
    return GUiIntl;
}

namespace Uitexts {

void Initialization() {
    GStarted = true;
    if (GUiIntl == nullptr) GUiIntl = new TuiIntl(Application);
}

void Finalization() {
    delete GUiIntl; // its destructor empties GUiIntl
}

} // namespace Uitexts

TuiIntl::TuiIntl(TComponent* AOwner)
    : TComponent(AOwner), FADO(std::make_unique<TuiADOIntl>(this)),
      FNavigator(std::make_unique<TuiDBNavigatorIntl>(this)),
      FSearchDialog(std::make_unique<TuiSearchDialogIntl>(this)),
      FLocateDialog(std::make_unique<TuiLocateDialogIntl>(this)),
      FMonthCalendar(std::make_unique<TuiMonthCalendarIntl>(this)),
      FFilterDialog(std::make_unique<TuiFilterDialogIntl>(this)),
      FRichEdit(std::make_unique<TuiDBRichEditIntl>(this)),
      FUserMessages(std::make_unique<TuiUserMessagesIntl>(this)) {}

TuiIntl::~TuiIntl() {
    if (GUiIntl == this) GUiIntl = nullptr;
}

void TuiIntl::Loaded() {
    TComponent::Loaded();
    if (FConnected) CopyToGlobal();
}

void TuiIntl::SetConnected(bool Value) {
    FConnected = Value;
    if (FConnected) CopyToGlobal();
}

void TuiIntl::SetCheckBoxInGridStyle(TuiCheckBoxInGridStyle Value) {
    FCheckBoxInGridStyle = Value;
    if (FConnected && GUiIntl != nullptr && GUiIntl != this) GUiIntl->SetCheckBoxInGridStyle(Value);
}

void TuiIntl::CopyToGlobal() {
    TuiIntl* Global = UiIntl();
    if (Global == nullptr || Global == this) return;

    Global->FFilterDialog->Assign(FFilterDialog.get());
    Global->FRichEdit->Assign(FRichEdit.get());
    Global->FSearchDialog->Assign(FSearchDialog.get());
    Global->FMonthCalendar->Assign(FMonthCalendar.get());
    Global->FLocateDialog->Assign(FLocateDialog.get());
    Global->FNavigator->Assign(FNavigator.get());
    Global->FUserMessages->Assign(FUserMessages.get());

    Global->FADO->Assign(FADO.get());
    Global->FOKCancelBitmapped = FOKCancelBitmapped;
    Global->FBtnOKCaption = FBtnOKCaption;
    Global->FBtnCancelCaption = FBtnCancelCaption;

    // The placed component names the file without its extension.
    if (FIniFileName.empty() || FIniFileName == ".ini")
        Global->FIniFileName.clear();
    else
        Global->FIniFileName = FIniFileName + ".ini";

    Global->SetCheckBoxInGridStyle(FCheckBoxInGridStyle);
    Global->OnValidationErrorUsingMask = OnValidationErrorUsingMask;
    Global->FDialogFontStyle = FDialogFontStyle;
    Global->FUseLocateMethodForSearch = FUseLocateMethodForSearch;
    Global->FUnpublishedFlag = FUnpublishedFlag;
    Global->FDefaultEpochYear = FDefaultEpochYear;
    Global->FFilterMemoSize = FFilterMemoSize;
}

void TuiIntl::DoValidationErrorUsingMask(TObject* Sender, TField* Field) {
    bool DoDefault = true;
    if (OnValidationErrorUsingMask)
        OnValidationErrorUsingMask(Sender, Field, ValidationErrorMessage, DoDefault);
    if (!DoDefault) return;
    MessageBeep(0);
    throw EInvalidOperation(ValidationErrorMessage);
}

} // namespace formstore
