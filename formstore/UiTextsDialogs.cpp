#include "formstore/UiTextsDialogs.h"

namespace formstore {

void TuiADOIntl::Assign(TPersistent* Value) {
    const auto* Source = dynamic_cast<const TuiADOIntl*>(Value);
    if (Source == nullptr) return TuiHolder::Assign(Value);
    FUseLocateWhenFindingValue = Source->FUseLocateWhenFindingValue;
}

void TuiUserMessagesIntl::Assign(TPersistent* Value) {
    const auto* Typed = dynamic_cast<const TuiUserMessagesIntl*>(Value);
    if (Typed == nullptr) return TuiHolder::Assign(Value);
    const TuiUserMessagesIntl& Source = *Typed;
    FORMSTORE_UI_USER_MESSAGES_TEXTS(FORMSTORE_UI_COPY_TEXT)
}

void TuiDBNavigatorIntlHints::Assign(TPersistent* Value) {
    const auto* Typed = dynamic_cast<const TuiDBNavigatorIntlHints*>(Value);
    if (Typed == nullptr) return TuiHolder::Assign(Value);
    const TuiDBNavigatorIntlHints& Source = *Typed;
    FORMSTORE_UI_NAVIGATOR_HINTS_TEXTS(FORMSTORE_UI_COPY_TEXT)
}

TuiDBNavigatorIntl::TuiDBNavigatorIntl(TPersistent* AOwner)
    : TuiHolder(AOwner), FHints(std::make_unique<TuiDBNavigatorIntlHints>(this)) {}

TuiDBNavigatorIntl::~TuiDBNavigatorIntl() = default;

void TuiDBNavigatorIntl::Assign(TPersistent* Value) {
    const auto* Source = dynamic_cast<const TuiDBNavigatorIntl*>(Value);
    if (Source == nullptr) return TuiHolder::Assign(Value);
    FConfirmDeleteMessage = Source->FConfirmDeleteMessage;
    FHints->Assign(Source->FHints.get());
}

void TuiSearchDialogIntl::Assign(TPersistent* Value) {
    const auto* Typed = dynamic_cast<const TuiSearchDialogIntl*>(Value);
    if (Typed == nullptr) return TuiHolder::Assign(Value);
    const TuiSearchDialogIntl& Source = *Typed;
    FORMSTORE_UI_SEARCH_DIALOG_TEXTS(FORMSTORE_UI_COPY_TEXT)
}

void TuiLocateDialogIntl::Assign(TPersistent* Value) {
    const auto* Typed = dynamic_cast<const TuiLocateDialogIntl*>(Value);
    if (Typed == nullptr) return TuiHolder::Assign(Value);
    const TuiLocateDialogIntl& Source = *Typed;
    FORMSTORE_UI_LOCATE_DIALOG_TEXTS(FORMSTORE_UI_COPY_TEXT)
}

void TuiMonthCalendarIntl::Assign(TPersistent* Value) {
    const auto* Typed = dynamic_cast<const TuiMonthCalendarIntl*>(Value);
    if (Typed == nullptr) return TuiHolder::Assign(Value);
    const TuiMonthCalendarIntl& Source = *Typed;
    FORMSTORE_UI_MONTH_CALENDAR_TEXTS(FORMSTORE_UI_COPY_TEXT)
}

void TuiFilterDialogIntl::Assign(TPersistent* Value) {
    const auto* Typed = dynamic_cast<const TuiFilterDialogIntl*>(Value);
    if (Typed == nullptr) return TuiHolder::Assign(Value);
    const TuiFilterDialogIntl& Source = *Typed;
    FORMSTORE_UI_FILTER_DIALOG_TEXTS(FORMSTORE_UI_COPY_TEXT)
}

} // namespace formstore
