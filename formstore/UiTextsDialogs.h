#pragma once
// The holders of the default texts for the data-aware navigator, locate,
// search and filter dialogs, month calendar and the user messages, and the
// ADO setting. Each list gives the properties in their published order with
// their default texts.
#include "formstore/UiTextsHolder.h"

#include <memory>

#define FORMSTORE_UI_USER_MESSAGES_TEXTS(X)                                                        \
    X(uiDBGridDiscardChanges, "Discard changes to this record?")                                   \
    X(PictureValidateError, "Invalid characters. Field : ")                                        \
    X(LocateNoMatches, "No matches found")                                                         \
    X(LocateNoMoreMatches, "No more matches found")                                                \
    X(MemoChangesWarning, "Changes have been made!  Are you sure you wish to cancel?")             \
    X(RichEditExitWarning, "Changes have been made!  Do you wish to save your changes?")           \
    X(RichEditClearWarning, "Clear entire text?")                                                  \
    X(RichEditSpellCheckComplete, "The spell check is complete.")                                  \
    X(RichEditMSWordNotFound, "Unable to start Microsoft Word's Spell Checker.")                   \
    X(FilterDlgNoCriteria, "You have not selected any search criteria")                            \
    X(RecordViewExitWarning, "Changes have been made!  Do you wish to save your changes?")

#define FORMSTORE_UI_NAVIGATOR_HINTS_TEXTS(X)                                                      \
    X(FirstHint, "Move to first record")                                                           \
    X(PriorHint, "Move to prior record")                                                           \
    X(NextHint, "Move to next record")                                                             \
    X(LastHint, "Move to last record")                                                             \
    X(InsertHint, "Insert new record")                                                             \
    X(DeleteHint, "Delete current record")                                                         \
    X(EditHint, "Edit current record")                                                             \
    X(PostHint, "Post changes of current record")                                                  \
    X(CancelHint, "Cancel changes made to current record")                                         \
    X(RefreshHint, "Refresh the contents of the dataset")                                          \
    X(PriorPageHint, "Move backward %d records")                                                   \
    X(NextPageHint, "Move forward %d records")                                                     \
    X(SaveBookmarkHint, "Bookmark current record")                                                 \
    X(RestoreBookmarkHint, "Go back to saved bookmark")                                            \
    X(RecordViewDialogHint, "View current record")                                                 \
    X(LocateDialogHint, "Locate a specific record")                                                \
    X(FilterDialogHint, "Filter the dataset")                                                      \
    X(SearchDialogHint, "Search the dataset")

#define FORMSTORE_UI_LOCATE_DIALOG_TEXTS(X)                                                        \
    X(FieldValueLabel, "Field &Value")                                                             \
    X(SearchTypeLabel, "&Search Type")                                                             \
    X(CaseSensitiveLabel, "&Case-sensitive")                                                       \
    X(MatchExactLabel, "&Exact Match")                                                             \
    X(MatchStartLabel, "&Partial Match at Beginning")                                              \
    X(MatchAnyLabel, "Partial Match &Anywhere")                                                    \
    X(FieldsLabel, "&Fields")                                                                      \
    X(BtnFirst, "Fi&rst")                                                                          \
    X(BtnNext, "&Next")                                                                            \
    X(BtnCancel, "Cancel")                                                                         \
    X(FieldValueHint, "Enter field's search value")                                                \
    X(CaseSensitiveHint, "Searching is case-sensitive")                                            \
    X(MatchExactHint, "Match occurs only if there is an exact match")                              \
    X(MatchStartHint, "Match occurs if the start of the field's value matches")                    \
    X(MatchAnyHint, "Match occurs if any part of the field matches")                               \
    X(BtnFirstHint, "Find first match")                                                            \
    X(BtnNextHint, "Find next match from current record")                                          \
    X(FieldNameHint, "Select the field to search on")

#define FORMSTORE_UI_SEARCH_DIALOG_TEXTS(X)                                                        \
    X(SearchCharLabel, "&Search Characters")                                                       \
    X(SearchCharShortLabel, "&Search Char")                                                        \
    X(SearchByLabel, "Search &By")                                                                 \
    X(StatusRecLabel, "Rec #")                                                                     \
    X(StatusOfLabel, "of")                                                                         \
    X(SearchCharHint, "Enter characters for incremental search")                                   \
    X(SearchByHint, "Incremental searching and sorting order")

#define FORMSTORE_UI_MONTH_CALENDAR_TEXTS(X)                                                       \
    X(PopupYearLabel, "Edit Year")                                                                 \
    X(EnterYearPrompt, "Enter Valid Year")

#define FORMSTORE_UI_FILTER_DIALOG_TEXTS(X)                                                        \
    X(BtnViewSummary, "View Su&mmary")                                                             \
    X(BtnViewSummaryHint, "View summary of current search criteria")                               \
    X(BtnNewSearch, "&New Search")                                                                 \
    X(BtnNewSearchHint, "Start a new search")                                                      \
    X(FieldOrderLabel, "Field Order")                                                              \
    X(FieldOrderHint, "Sort field list alphabetically or in their natural logical order")          \
    X(AlphabeticLabel, "Alpha&betic")                                                              \
    X(LogicalLabel, "&Logical")                                                                    \
    X(AllFieldsLabel, "&All")                                                                      \
    X(SearchedFieldsLabel, "&Searched")                                                            \
    X(StartingRangeLabel, "&Starting Range")                                                       \
    X(EndingRangeLabel, "En&ding Range")                                                           \
    X(StartingRangeHint, "Enter starting range for field")                                         \
    X(EndingRangeHint, "Enter ending range for field")                                             \
    X(BtnClearMin, "&Clear")                                                                       \
    X(BtnClearMax, "Cl&ear")                                                                       \
    X(BtnClearFilterValue, "&Clear")                                                               \
    X(BtnClearMinHint, "Clear starting range for field")                                           \
    X(BtnClearMaxHint, "Clear ending range for field")                                             \
    X(BtnClearFilterValueHint, "Clear the current field's search value")                           \
    X(ByValueLabel, "By &Value")                                                                   \
    X(ByRangeLabel, "By &Range")                                                                   \
    X(FieldValueLabel, "Field &Value")                                                             \
    X(FieldValueHint, "Enter field's search value")                                                \
    X(SearchTypeLabel, "Search Type")                                                              \
    X(SearchTypeHint, "Specify how the Field Value should be compared")                            \
    X(MatchExactLabel, "&Exact Match")                                                             \
    X(MatchStartLabel, "&Partial Match at Beginning")                                              \
    X(MatchAnyLabel, "Partial Match Any&where")                                                    \
    X(CaseSensitiveLabel, "Case Sensi&tive")                                                       \
    X(CaseSensitiveHint, "Searching is case-sensitive")                                            \
    X(NonMatchingLabel, "N&on-matching records")                                                   \
    X(NonMatchingHint, "Show records that do not match the field value criteria")                  \
    X(SummaryFieldLabel, "Field")                                                                  \
    X(SummarySearchLabel, "Search Type")                                                           \
    X(SummaryValueLabel, "Value")                                                                  \
    X(SummaryCaption, "")                                                                          \
    X(FieldsLabel, "&Fields")                                                                      \
    X(ValueRangeTabHint, "Search fields by value or by range")                                     \
    X(AllSearchedTabHint, "Show all fields or only currently searched fields")                     \
    X(ViewSummaryNotText, "NOT")

namespace formstore {

class TuiADOIntl : public TuiHolder {
public:
    explicit TuiADOIntl(TPersistent* AOwner) : TuiHolder(AOwner) {}
    AnsiString ClassName() const override { return "TuiADOIntl"; }
    void Assign(TPersistent* Value) override;

    bool UseLocateWhenFindingValue() const { return FUseLocateWhenFindingValue; }
    void SetUseLocateWhenFindingValue(bool Value) { FUseLocateWhenFindingValue = Value; }

private:
    bool FUseLocateWhenFindingValue = true;
};

// Messages the data-aware controls show the user.
class TuiUserMessagesIntl : public TuiHolder {
public:
    explicit TuiUserMessagesIntl(TPersistent* AOwner) : TuiHolder(AOwner) {}
    AnsiString ClassName() const override { return "TuiUserMessagesIntl"; }
    // Copies every property of another TuiUserMessagesIntl.
    void Assign(TPersistent* Value) override;

    FORMSTORE_UI_USER_MESSAGES_TEXTS(FORMSTORE_UI_TEXT)
};

// The navigator buttons' hints; the two page hints take the record count
// for their %d.
class TuiDBNavigatorIntlHints : public TuiHolder {
public:
    explicit TuiDBNavigatorIntlHints(TPersistent* AOwner) : TuiHolder(AOwner) {}
    AnsiString ClassName() const override { return "TuiDBNavigatorIntlHints"; }
    // Copies every property of another TuiDBNavigatorIntlHints.
    void Assign(TPersistent* Value) override;

    FORMSTORE_UI_NAVIGATOR_HINTS_TEXTS(FORMSTORE_UI_TEXT)
};

// The navigator's delete confirmation and its buttons' hints.
class TuiDBNavigatorIntl : public TuiHolder {
public:
    explicit TuiDBNavigatorIntl(TPersistent* AOwner);
    ~TuiDBNavigatorIntl() override;
    AnsiString ClassName() const override { return "TuiDBNavigatorIntl"; }
    // Copies the message and every hint of another TuiDBNavigatorIntl.
    void Assign(TPersistent* Value) override;

    const AnsiString& ConfirmDeleteMessage() const { return FConfirmDeleteMessage; }
    void SetConfirmDeleteMessage(const AnsiString& Value) { FConfirmDeleteMessage = Value; }
    // Owned here; writing copies Value's hints into it.
    TuiDBNavigatorIntlHints* Hints() const { return FHints.get(); }
    void SetHints(TuiDBNavigatorIntlHints* Value) { FHints->Assign(Value); }

private:
    AnsiString FConfirmDeleteMessage = "Delete record?";
    std::unique_ptr<TuiDBNavigatorIntlHints> FHints;
};

// The incremental search dialog.
class TuiSearchDialogIntl : public TuiHolder {
public:
    explicit TuiSearchDialogIntl(TPersistent* AOwner) : TuiHolder(AOwner) {}
    AnsiString ClassName() const override { return "TuiSearchDialogIntl"; }
    // Copies every property of another TuiSearchDialogIntl.
    void Assign(TPersistent* Value) override;

    FORMSTORE_UI_SEARCH_DIALOG_TEXTS(FORMSTORE_UI_TEXT)
};

// The locate dialog.
class TuiLocateDialogIntl : public TuiHolder {
public:
    explicit TuiLocateDialogIntl(TPersistent* AOwner) : TuiHolder(AOwner) {}
    AnsiString ClassName() const override { return "TuiLocateDialogIntl"; }
    // Copies every property of another TuiLocateDialogIntl.
    void Assign(TPersistent* Value) override;

    FORMSTORE_UI_LOCATE_DIALOG_TEXTS(FORMSTORE_UI_TEXT)
};

// The month calendar's year prompt.
class TuiMonthCalendarIntl : public TuiHolder {
public:
    explicit TuiMonthCalendarIntl(TPersistent* AOwner) : TuiHolder(AOwner) {}
    AnsiString ClassName() const override { return "TuiMonthCalendarIntl"; }
    // Copies every property of another TuiMonthCalendarIntl.
    void Assign(TPersistent* Value) override;

    FORMSTORE_UI_MONTH_CALENDAR_TEXTS(FORMSTORE_UI_TEXT)
};

// The filter dialog.
class TuiFilterDialogIntl : public TuiHolder {
public:
    explicit TuiFilterDialogIntl(TPersistent* AOwner) : TuiHolder(AOwner) {}
    AnsiString ClassName() const override { return "TuiFilterDialogIntl"; }
    // Copies every property of another TuiFilterDialogIntl.
    void Assign(TPersistent* Value) override;

    FORMSTORE_UI_FILTER_DIALOG_TEXTS(FORMSTORE_UI_TEXT)
};

} // namespace formstore
