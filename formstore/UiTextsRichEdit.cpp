#include "formstore/UiTextsRichEdit.h"

namespace formstore {

void TuiRichEditMenuLabels::Assign(TPersistent* Value) {
    const auto* Typed = dynamic_cast<const TuiRichEditMenuLabels*>(Value);
    if (Typed == nullptr) return TuiHolder::Assign(Value);
    const TuiRichEditMenuLabels& Source = *Typed;
    FORMSTORE_UI_RICH_EDIT_MENU_TEXTS(FORMSTORE_UI_COPY_TEXT)
}

void TuiRichEditPopupMenuLabels::Assign(TPersistent* Value) {
    const auto* Typed = dynamic_cast<const TuiRichEditPopupMenuLabels*>(Value);
    if (Typed == nullptr) return TuiHolder::Assign(Value);
    const TuiRichEditPopupMenuLabels& Source = *Typed;
    FORMSTORE_UI_RICH_EDIT_POPUP_MENU_TEXTS(FORMSTORE_UI_COPY_TEXT)
}

void TuiRichEditParagraphDlg::Assign(TPersistent* Value) {
    const auto* Typed = dynamic_cast<const TuiRichEditParagraphDlg*>(Value);
    if (Typed == nullptr) return TuiHolder::Assign(Value);
    const TuiRichEditParagraphDlg& Source = *Typed;
    FORMSTORE_UI_RICH_EDIT_PARAGRAPH_DIALOG_TEXTS(FORMSTORE_UI_COPY_TEXT)
    FHelpContext = Source.FHelpContext;
}

void TuiRichEditTabDlg::Assign(TPersistent* Value) {
    const auto* Typed = dynamic_cast<const TuiRichEditTabDlg*>(Value);
    if (Typed == nullptr) return TuiHolder::Assign(Value);
    const TuiRichEditTabDlg& Source = *Typed;
    FORMSTORE_UI_RICH_EDIT_TAB_DIALOG_TEXTS(FORMSTORE_UI_COPY_TEXT)
    FHelpContext = Source.FHelpContext;
}

TuiDBRichEditIntl::TuiDBRichEditIntl(TPersistent* AOwner)
    : TuiHolder(AOwner), FMenuLabels(std::make_unique<TuiRichEditMenuLabels>(this)),
      FPopupMenuLabels(std::make_unique<TuiRichEditPopupMenuLabels>(this)),
      FParagraphDialog(std::make_unique<TuiRichEditParagraphDlg>(this)),
      FTabDialog(std::make_unique<TuiRichEditTabDlg>(this)) {}

TuiDBRichEditIntl::~TuiDBRichEditIntl() = default;

void TuiDBRichEditIntl::Assign(TPersistent* Value) {
    const auto* Typed = dynamic_cast<const TuiDBRichEditIntl*>(Value);
    if (Typed == nullptr) return TuiHolder::Assign(Value);
    const TuiDBRichEditIntl& Source = *Typed;
    FORMSTORE_UI_RICH_EDIT_TEXTS(FORMSTORE_UI_COPY_TEXT)
    FMenuLabels->Assign(Source.FMenuLabels.get());
    FPopupMenuLabels->Assign(Source.FPopupMenuLabels.get());
    FParagraphDialog->Assign(Source.FParagraphDialog.get());
    FTabDialog->Assign(Source.FTabDialog.get());
}

} // namespace formstore
