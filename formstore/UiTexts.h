#pragma once
// The captions, hints, prompts and messages of the data-aware controls
// (grid, navigator, locate, search and filter dialogs, month calendar,
// rich-text editor) and a few of their behaviour settings, kept in one
// program-wide TuiIntl. A TuiIntl placed on a form with Connected set copies
// its texts and settings into the program-wide one.
//
// The object-library start-up, clipboard formats and rich-edit library
// loading that ride on the same start-up belong to a Windows rich-edit
// control and have no counterpart here.
#include "formstore/UiTextsDialogs.h"
#include "formstore/UiTextsRichEdit.h"
#include "platform/classes/Component.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/AnsiString.h"

#include <cstdint>
#include <functional>
#include <memory>

class TField;

namespace formstore {

// How a grid draws a boolean field's check box.
enum class TuiCheckBoxInGridStyle : std::uint8_t { cbStyleAuto, cbStyleCheckmark, cbStyleXmark };
using enum TuiCheckBoxInGridStyle;

// A value that fails its edit mask: the handler may clear DoDefault to keep
// the beep and the error from happening.
using TuiPictureValidationError =
    std::function<void(TObject* Sender, TField* Field, const AnsiString& Msg, bool& DoDefault)>;

class TuiIntl : public TComponent {
public:
    // Creates every holder with its default texts.
    explicit TuiIntl(TComponent* AOwner);
    // Frees the holders; the program-wide instance leaves the program empty.
    ~TuiIntl() override;
    AnsiString ClassName() const override { return "TuiIntl"; }

    // After streaming: a connected instance copies into the program-wide one.
    void Loaded() override;

    // The holders are owned here; writing one copies Value's properties into it.
    TuiADOIntl* ADO() const { return FADO.get(); }
    void SetADO(TuiADOIntl* Value) { FADO->Assign(Value); }
    TuiDBNavigatorIntl* Navigator() const { return FNavigator.get(); }
    void SetNavigator(TuiDBNavigatorIntl* Value) { FNavigator->Assign(Value); }
    TuiSearchDialogIntl* SearchDialog() const { return FSearchDialog.get(); }
    void SetSearchDialog(TuiSearchDialogIntl* Value) { FSearchDialog->Assign(Value); }
    TuiLocateDialogIntl* LocateDialog() const { return FLocateDialog.get(); }
    void SetLocateDialog(TuiLocateDialogIntl* Value) { FLocateDialog->Assign(Value); }
    TuiMonthCalendarIntl* MonthCalendar() const { return FMonthCalendar.get(); }
    void SetMonthCalendar(TuiMonthCalendarIntl* Value) { FMonthCalendar->Assign(Value); }
    TuiFilterDialogIntl* FilterDialog() const { return FFilterDialog.get(); }
    void SetFilterDialog(TuiFilterDialogIntl* Value) { FFilterDialog->Assign(Value); }
    TuiDBRichEditIntl* RichEdit() const { return FRichEdit.get(); }
    void SetRichEdit(TuiDBRichEditIntl* Value) { FRichEdit->Assign(Value); }
    TuiUserMessagesIntl* UserMessages() const { return FUserMessages.get(); }
    void SetUserMessages(TuiUserMessagesIntl* Value) { FUserMessages->Assign(Value); }

    bool OKCancelBitmapped() const { return FOKCancelBitmapped; }
    void SetOKCancelBitmapped(bool Value) { FOKCancelBitmapped = Value; }
    const AnsiString& BtnOKCaption() const { return FBtnOKCaption; }
    void SetBtnOKCaption(const AnsiString& Value) { FBtnOKCaption = Value; }
    const AnsiString& BtnCancelCaption() const { return FBtnCancelCaption; }
    void SetBtnCancelCaption(const AnsiString& Value) { FBtnCancelCaption = Value; }

    TuiCheckBoxInGridStyle CheckBoxInGridStyle() const { return FCheckBoxInGridStyle; }
    // A connected instance other than the program-wide one passes the style
    // on to the program-wide one at once.
    void SetCheckBoxInGridStyle(TuiCheckBoxInGridStyle Value);

    // The version of the texts; read-only in effect: writing it changes nothing.
    const AnsiString& VersionQuilldown() const { return FVersionQuilldown; }
    void SetVersionQuilldown(const AnsiString&) {}

    int FilterMemoSize() const { return FFilterMemoSize; }
    void SetFilterMemoSize(int Value) { FFilterMemoSize = Value; }
    const AnsiString& IniFileName() const { return FIniFileName; }
    void SetIniFileName(const AnsiString& Value) { FIniFileName = Value; }
    bool UseLocateMethodForSearch() const { return FUseLocateMethodForSearch; }
    void SetUseLocateMethodForSearch(bool Value) { FUseLocateMethodForSearch = Value; }
    TFontStyles DialogFontStyle() const { return FDialogFontStyle; }
    void SetDialogFontStyle(TFontStyles Value) { FDialogFontStyle = Value; }
    int DefaultEpochYear() const { return FDefaultEpochYear; }
    void SetDefaultEpochYear(int Value) { FDefaultEpochYear = Value; }

    TuiPictureValidationError OnValidationErrorUsingMask;

    bool Connected() const { return FConnected; }
    // Setting it to true copies into the program-wide instance at once.
    void SetConnected(bool Value);

    // Not published; copied with the other settings.
    bool UnpublishedFlag() const { return FUnpublishedFlag; }
    void SetUnpublishedFlag(bool Value) { FUnpublishedFlag = Value; }

    // A value that fails its edit mask: OnValidationErrorUsingMask (if set)
    // sees the message with DoDefault true; if it leaves DoDefault true the
    // default beep sounds and EInvalidOperation with the message is raised.
    virtual void DoValidationErrorUsingMask(TObject* Sender, TField* Field);

private:
    // Copies every text and setting except VersionQuilldown and Connected
    // into the program-wide instance; nothing when this is that instance or
    // when there is none.
    void CopyToGlobal();

    std::unique_ptr<TuiADOIntl> FADO;
    std::unique_ptr<TuiDBNavigatorIntl> FNavigator;
    std::unique_ptr<TuiSearchDialogIntl> FSearchDialog;
    std::unique_ptr<TuiLocateDialogIntl> FLocateDialog;
    std::unique_ptr<TuiMonthCalendarIntl> FMonthCalendar;
    std::unique_ptr<TuiFilterDialogIntl> FFilterDialog;
    std::unique_ptr<TuiDBRichEditIntl> FRichEdit;
    std::unique_ptr<TuiUserMessagesIntl> FUserMessages;
    bool FOKCancelBitmapped = true;
    AnsiString FBtnOKCaption = "&OK";
    AnsiString FBtnCancelCaption = "Cancel";
    TuiCheckBoxInGridStyle FCheckBoxInGridStyle = cbStyleAuto;
    AnsiString FVersionQuilldown = "1.10";
    int FFilterMemoSize = 0x10000;
    AnsiString FIniFileName;
    bool FUseLocateMethodForSearch = true;
    TFontStyles FDialogFontStyle;
    int FDefaultEpochYear = 1950;
    bool FConnected = false;
    bool FUnpublishedFlag = true;
};

// The program-wide instance, owned by Application. The unit's start-up
// makes it on the first call; nullptr once it has been freed.
TuiIntl* UiIntl();

namespace Uitexts {
// Start-up: makes the program-wide instance, owned by Application, unless
// there is one.
void Initialization();
// Shut-down: frees the program-wide instance (it leaves its owner).
void Finalization();
} // namespace Uitexts

} // namespace formstore
