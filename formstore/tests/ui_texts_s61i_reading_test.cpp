// The program-wide texts of the data-aware controls as a program meets them:
// the start-up instance, placed instances set in code or read from a form
// stream, and the mask-validation error.
#include "formstore/UiTexts.h"

#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/gui/Forms.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace formstore;

namespace {

class UiTextsFreshReading : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Uitexts::Finalization();
        Uitexts::Initialization();
    }
    void TearDown() override {
        Uitexts::Finalization();
        Uitexts::Initialization();
    }

    // Reads a text form whose root is a TuiIntl; the caller owns it.
    static std::unique_ptr<TuiIntl> ReadForm(const std::string& Text) {
        TMemoryStream In, Bin;
        In.Write(Text.data(), static_cast<int>(Text.size()));
        In.SetPosition(0);
        ObjectTextToBinary(&In, &Bin);
        Bin.SetPosition(0);
        return std::unique_ptr<TuiIntl>(static_cast<TuiIntl*>(ReadComponentRes(&Bin, nullptr)));
    }
};

TEST_F(UiTextsFreshReading, StartUpInstanceBelongsToApplicationWithDefaults) {
    TuiIntl* G = UiIntl();
    ASSERT_NE(G, nullptr);
    EXPECT_EQ(G->Owner(), Application);
    EXPECT_EQ(G->Navigator()->Hints()->PriorPageHint(), "Move backward %d records");
    EXPECT_EQ(G->DefaultEpochYear(), 1950);
    EXPECT_EQ(G->FilterMemoSize(), 65536);
    EXPECT_EQ(G->Navigator()->ConfirmDeleteMessage(), "Delete record?");
    EXPECT_EQ(G->RichEdit()->TabDialog()->TabDlgCaption(), "Tab");
    EXPECT_EQ(G->RichEdit()->MenuLabels()->RedoCaption(), "");
    EXPECT_TRUE(G->ADO()->UseLocateWhenFindingValue());
    EXPECT_TRUE(G->UnpublishedFlag());
    EXPECT_FALSE(G->Connected());
    EXPECT_EQ(G->CheckBoxInGridStyle(), cbStyleAuto);
    G->SetVersionQuilldown("9.99");
    EXPECT_EQ(G->VersionQuilldown(), "1.10");
}

TEST_F(UiTextsFreshReading, IniFileNameTakesTheExtensionOnlyWhenNamed) {
    struct Case {
        const char* Placed;
        const char* Global;
    };
    for (const Case& C : {Case{"app", "app.ini"}, Case{".ini", ""}, Case{"", ""}}) {
        UiIntl()->SetIniFileName("stale.ini");
        TuiIntl Placed(nullptr);
        Placed.SetIniFileName(C.Placed);
        Placed.SetConnected(true);
        EXPECT_EQ(UiIntl()->IniFileName(), C.Global) << C.Placed;
    }
}

TEST_F(UiTextsFreshReading, ConnectingCopiesEveryTextAndSettingButVersionAndConnected) {
    TuiIntl Placed(nullptr);
    Placed.Navigator()->SetConfirmDeleteMessage("Weg damit?");
    Placed.Navigator()->Hints()->SetSearchDialogHint("Suchen");
    Placed.UserMessages()->SetRecordViewExitWarning("Speichern?");
    Placed.SearchDialog()->SetSearchByHint("Sortierung");
    Placed.LocateDialog()->SetFieldNameHint("Feld");
    Placed.MonthCalendar()->SetEnterYearPrompt("Jahr");
    Placed.FilterDialog()->SetViewSummaryNotText("NICHT");
    Placed.RichEdit()->SetNUMLockCaption("NUMMER");
    Placed.RichEdit()->MenuLabels()->SetHelpCaption("Hilfe");
    Placed.RichEdit()->PopupMenuLabels()->SetSpellCheckCaption("Rechtschreibung");
    Placed.RichEdit()->ParagraphDialog()->SetSpacingMultiple("Mehrfach");
    Placed.RichEdit()->ParagraphDialog()->SetHelpContext(41);
    Placed.RichEdit()->TabDialog()->SetClearAllButtonHint("Alle weg");
    Placed.RichEdit()->TabDialog()->SetHelpContext(42);
    Placed.ADO()->SetUseLocateWhenFindingValue(false);
    Placed.SetOKCancelBitmapped(false);
    Placed.SetBtnOKCaption("&Ja");
    Placed.SetBtnCancelCaption("Abbruch");
    Placed.SetCheckBoxInGridStyle(cbStyleXmark);
    Placed.SetFilterMemoSize(100);
    Placed.SetUseLocateMethodForSearch(false);
    Placed.SetDialogFontStyle(TFontStyles{fsBold});
    Placed.SetDefaultEpochYear(1970);
    Placed.SetUnpublishedFlag(false);
    int Calls = 0;
    Placed.OnValidationErrorUsingMask = [&](TObject*, TField*, const AnsiString&, bool& DoDefault) {
        ++Calls;
        DoDefault = false;
    };

    // Not connected: the program-wide instance keeps its defaults.
    EXPECT_EQ(UiIntl()->CheckBoxInGridStyle(), cbStyleAuto);
    EXPECT_EQ(UiIntl()->Navigator()->ConfirmDeleteMessage(), "Delete record?");

    Placed.SetConnected(true);
    TuiIntl* G = UiIntl();
    EXPECT_EQ(G->Navigator()->ConfirmDeleteMessage(), "Weg damit?");
    EXPECT_EQ(G->Navigator()->Hints()->SearchDialogHint(), "Suchen");
    EXPECT_EQ(G->Navigator()->Hints()->FirstHint(), "Move to first record");
    EXPECT_EQ(G->UserMessages()->RecordViewExitWarning(), "Speichern?");
    EXPECT_EQ(G->SearchDialog()->SearchByHint(), "Sortierung");
    EXPECT_EQ(G->LocateDialog()->FieldNameHint(), "Feld");
    EXPECT_EQ(G->MonthCalendar()->EnterYearPrompt(), "Jahr");
    EXPECT_EQ(G->FilterDialog()->ViewSummaryNotText(), "NICHT");
    EXPECT_EQ(G->RichEdit()->NUMLockCaption(), "NUMMER");
    EXPECT_EQ(G->RichEdit()->MenuLabels()->HelpCaption(), "Hilfe");
    EXPECT_EQ(G->RichEdit()->PopupMenuLabels()->SpellCheckCaption(), "Rechtschreibung");
    EXPECT_EQ(G->RichEdit()->ParagraphDialog()->SpacingMultiple(), "Mehrfach");
    EXPECT_EQ(G->RichEdit()->ParagraphDialog()->HelpContext(), 41);
    EXPECT_EQ(G->RichEdit()->TabDialog()->ClearAllButtonHint(), "Alle weg");
    EXPECT_EQ(G->RichEdit()->TabDialog()->HelpContext(), 42);
    EXPECT_FALSE(G->ADO()->UseLocateWhenFindingValue());
    EXPECT_FALSE(G->OKCancelBitmapped());
    EXPECT_EQ(G->BtnOKCaption(), "&Ja");
    EXPECT_EQ(G->BtnCancelCaption(), "Abbruch");
    EXPECT_EQ(G->CheckBoxInGridStyle(), cbStyleXmark);
    EXPECT_EQ(G->FilterMemoSize(), 100);
    EXPECT_FALSE(G->UseLocateMethodForSearch());
    EXPECT_EQ(G->DialogFontStyle(), TFontStyles{fsBold});
    EXPECT_EQ(G->DefaultEpochYear(), 1970);
    EXPECT_FALSE(G->UnpublishedFlag());
    EXPECT_FALSE(G->Connected());
    EXPECT_EQ(G->VersionQuilldown(), "1.10");
    // The copied handler is the placed one's: it keeps the error away.
    EXPECT_NO_THROW(G->DoValidationErrorUsingMask(G, nullptr));
    EXPECT_EQ(Calls, 1);

    // Once connected, a new grid check-box style reaches the program at once.
    Placed.SetCheckBoxInGridStyle(cbStyleCheckmark);
    EXPECT_EQ(G->CheckBoxInGridStyle(), cbStyleCheckmark);
}

TEST_F(UiTextsFreshReading, UnconnectedPlacedInstanceLeavesTheProgramAlone) {
    {
        TuiIntl Placed(nullptr);
        Placed.SetBtnOKCaption("&Ja");
        Placed.SetCheckBoxInGridStyle(cbStyleXmark);
        Placed.Loaded();
    }
    ASSERT_NE(UiIntl(), nullptr);
    EXPECT_EQ(UiIntl()->BtnOKCaption(), "&OK");
    EXPECT_EQ(UiIntl()->CheckBoxInGridStyle(), cbStyleAuto);
}

TEST_F(UiTextsFreshReading, FreeingTheProgramInstanceEmptiesItAndLaterConnectsCopyNothing) {
    const int Before = Application->ComponentCount();
    delete UiIntl();
    EXPECT_EQ(UiIntl(), nullptr);
    EXPECT_EQ(Application->ComponentCount(), Before - 1);
    TuiIntl Placed(nullptr);
    Placed.SetBtnOKCaption("&Ja");
    EXPECT_NO_THROW(Placed.SetConnected(true));
    EXPECT_NO_THROW(Placed.SetCheckBoxInGridStyle(cbStyleXmark));
    EXPECT_NO_THROW(Placed.Loaded());
    EXPECT_EQ(UiIntl(), nullptr);
}

TEST_F(UiTextsFreshReading, ConnectedFormStreamOverwritesTheProgramTexts) {
    auto Placed = ReadForm("object Texts: TuiIntl\n"
                           "  Navigator.Hints.PriorPageHint = 'Zur%C3%BCck %d'\n"
                           "  UserMessages.LocateNoMatches = 'Nichts'\n"
                           "  RichEdit.TabDialog.HelpContext = 7\n"
                           "  BtnCancelCaption = 'Abbruch'\n"
                           "  IniFileName = 'dornwick'\n"
                           "  DefaultEpochYear = 1980\n"
                           "  CheckBoxInGridStyle = cbStyleCheckmark\n"
                           "  Connected = True\n"
                           "end\n");
    TuiIntl* G = UiIntl();
    EXPECT_EQ(G->Navigator()->Hints()->PriorPageHint(), "Zur%C3%BCck %d");
    EXPECT_EQ(G->UserMessages()->LocateNoMatches(), "Nichts");
    EXPECT_EQ(G->RichEdit()->TabDialog()->HelpContext(), 7);
    EXPECT_EQ(G->BtnCancelCaption(), "Abbruch");
    EXPECT_EQ(G->IniFileName(), "dornwick.ini");
    EXPECT_EQ(G->DefaultEpochYear(), 1980);
    EXPECT_EQ(G->CheckBoxInGridStyle(), cbStyleCheckmark);
    EXPECT_FALSE(G->Connected());
}

TEST_F(UiTextsFreshReading, TextsPlacedOnAFormCopyOnceTheFormHasLoaded) {
    // Connected comes first here: the texts after it must still arrive.
    const std::string Text = "object Form1: TForm\n"
                             "  object Texts: TuiIntl\n"
                             "    Connected = True\n"
                             "    BtnOKCaption = '&Ja'\n"
                             "    MonthCalendar.PopupYearLabel = 'Jahr'\n"
                             "  end\n"
                             "end\n";
    TMemoryStream In, Bin;
    In.Write(Text.data(), static_cast<int>(Text.size()));
    In.SetPosition(0);
    ObjectTextToBinary(&In, &Bin);
    Bin.SetPosition(0);
    auto Form = std::make_unique<TForm>(nullptr);
    ReadComponentRes(&Bin, Form.get());
    ASSERT_EQ(Form->ComponentCount(), 1);
    EXPECT_EQ(UiIntl()->BtnOKCaption(), "&Ja");
    EXPECT_EQ(UiIntl()->MonthCalendar()->PopupYearLabel(), "Jahr");
    Form.reset();
    ASSERT_NE(UiIntl(), nullptr);
    EXPECT_EQ(UiIntl()->BtnOKCaption(), "&Ja");
}

TEST_F(UiTextsFreshReading, ShutDownFreesTheProgramInstanceOnce) {
    const int Before = Application->ComponentCount();
    Uitexts::Initialization();
    EXPECT_EQ(Application->ComponentCount(), Before);
    Uitexts::Finalization();
    EXPECT_EQ(UiIntl(), nullptr);
    EXPECT_EQ(Application->ComponentCount(), Before - 1);
    EXPECT_NO_THROW(Uitexts::Finalization());
}

TEST_F(UiTextsFreshReading, StreamedWithoutConnectedChangesNothing) {
    auto Placed = ReadForm("object Texts: TuiIntl\n"
                           "  BtnCancelCaption = 'Abbruch'\n"
                           "  DefaultEpochYear = 1980\n"
                           "end\n");
    EXPECT_EQ(Placed->BtnCancelCaption(), "Abbruch");
    EXPECT_EQ(UiIntl()->BtnCancelCaption(), "Cancel");
    EXPECT_EQ(UiIntl()->DefaultEpochYear(), 1950);
}

TEST_F(UiTextsFreshReading, MaskErrorRaisesUnlessTheHandlerKeepsIt) {
    TuiIntl Texts(nullptr);
    AnsiString Seen;
    bool SeenDefault = false;
    TObject* SeenSender = nullptr;
    bool Keep = true;
    Texts.OnValidationErrorUsingMask = [&](TObject* Sender, TField*, const AnsiString& Msg,
                                           bool& DoDefault) {
        SeenSender = Sender;
        Seen = Msg;
        SeenDefault = DoDefault;
        DoDefault = Keep;
    };
    try {
        Texts.DoValidationErrorUsingMask(&Texts, nullptr);
        ADD_FAILURE() << "no error raised";
    } catch (const EInvalidOperation& E) {
        EXPECT_EQ(E.Message, "Invalid input value.  Use escape key to abandon changes");
    }
    EXPECT_EQ(Seen, "Invalid input value.  Use escape key to abandon changes");
    EXPECT_TRUE(SeenDefault);
    EXPECT_EQ(SeenSender, &Texts);

    Keep = false;
    EXPECT_NO_THROW(Texts.DoValidationErrorUsingMask(&Texts, nullptr));

    Texts.OnValidationErrorUsingMask = nullptr;
    EXPECT_THROW(Texts.DoValidationErrorUsingMask(&Texts, nullptr), EInvalidOperation);
}

} // namespace
