// The program-wide default texts of the data-aware controls, and a texts
// component on a form that, connected, hands its texts to the program.
#include "formstore/UiTexts.h"

#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace formstore;

namespace {

// Each test starts from a fresh program-wide instance with its defaults.
class UiTextsReading : public ::testing::Test {
protected:
    void SetUp() override {
        Uitexts::Finalization();
        Uitexts::Initialization();
    }
    void TearDown() override {
        Uitexts::Finalization();
        Uitexts::Initialization();
    }

    // Reads a form whose texts component is given as text lines.
    std::unique_ptr<TForm> LoadForm(const AnsiString& Props) {
        const AnsiString Text = "object F: TForm\n  object Texts: TuiIntl\n" + Props + "  end\nend\n";
        TStringStream In(Text), Binary;
        ObjectTextToBinary(&In, &Binary);
        Binary.SetPosition(0);
        auto Form = std::make_unique<TForm>(nullptr);
        ReadComponentRes(&Binary, Form.get());
        return Form;
    }
};

struct DefaultCase {
    const char* Name;
    std::function<AnsiString(TuiIntl*)> Get;
    const char* Default;
};

const DefaultCase Texts[] = {
    {"BtnOKCaption", [](TuiIntl* I) { return I->BtnOKCaption(); }, "&OK"},
    {"BtnCancelCaption", [](TuiIntl* I) { return I->BtnCancelCaption(); }, "Cancel"},
    {"VersionQuilldown", [](TuiIntl* I) { return I->VersionQuilldown(); }, "1.10"},
    {"ConfirmDeleteMessage", [](TuiIntl* I) { return I->Navigator()->ConfirmDeleteMessage(); },
     "Delete record?"},
    {"FirstHint", [](TuiIntl* I) { return I->Navigator()->Hints()->FirstHint(); },
     "Move to first record"},
    {"NextPageHint", [](TuiIntl* I) { return I->Navigator()->Hints()->NextPageHint(); },
     "Move forward %d records"},
    {"SearchDialogHint", [](TuiIntl* I) { return I->Navigator()->Hints()->SearchDialogHint(); },
     "Search the dataset"},
    {"StatusRecLabel", [](TuiIntl* I) { return I->SearchDialog()->StatusRecLabel(); }, "Rec #"},
    {"FieldNameHint", [](TuiIntl* I) { return I->LocateDialog()->FieldNameHint(); },
     "Select the field to search on"},
    {"EnterYearPrompt", [](TuiIntl* I) { return I->MonthCalendar()->EnterYearPrompt(); },
     "Enter Valid Year"},
    {"ViewSummaryNotText", [](TuiIntl* I) { return I->FilterDialog()->ViewSummaryNotText(); },
     "NOT"},
    {"SummaryCaption", [](TuiIntl* I) { return I->FilterDialog()->SummaryCaption(); }, ""},
    {"UnderlineButtonHint", [](TuiIntl* I) { return I->RichEdit()->UnderlineButtonHint(); },
     "Underline | Formats the selection with a continuous underline (toggle)"},
    {"NUMLockCaption", [](TuiIntl* I) { return I->RichEdit()->NUMLockCaption(); }, "NUM"},
    {"HelpCaption", [](TuiIntl* I) { return I->RichEdit()->MenuLabels()->HelpCaption(); }, "Help"},
    {"RedoCaption", [](TuiIntl* I) { return I->RichEdit()->MenuLabels()->RedoCaption(); }, ""},
    {"Popup SpellCheckCaption",
     [](TuiIntl* I) { return I->RichEdit()->PopupMenuLabels()->SpellCheckCaption(); },
     "Check &Spelling"},
    {"AlignCenter", [](TuiIntl* I) { return I->RichEdit()->ParagraphDialog()->AlignCenter(); },
     "Center"},
    {"SpacingMultiple",
     [](TuiIntl* I) { return I->RichEdit()->ParagraphDialog()->SpacingMultiple(); }, ""},
    {"ClearAllButtonHint",
     [](TuiIntl* I) { return I->RichEdit()->TabDialog()->ClearAllButtonHint(); },
     "Clear all the tabs"},
    {"uiDBGridDiscardChanges",
     [](TuiIntl* I) { return I->UserMessages()->uiDBGridDiscardChanges(); },
     "Discard changes to this record?"},
    {"RecordViewExitWarning",
     [](TuiIntl* I) { return I->UserMessages()->RecordViewExitWarning(); },
     "Changes have been made!  Do you wish to save your changes?"},
};

} // namespace

TEST_F(UiTextsReading, TheProgramWideInstanceHoldsTheDefaults) {
    TuiIntl* G = UiIntl();
    ASSERT_NE(G, nullptr);
    EXPECT_EQ(G->Owner(), Application);
    for (const DefaultCase& C : Texts)
        EXPECT_EQ(C.Get(G), C.Default) << C.Name;
    EXPECT_TRUE(G->ADO()->UseLocateWhenFindingValue());
    EXPECT_TRUE(G->OKCancelBitmapped());
    EXPECT_EQ(G->CheckBoxInGridStyle(), cbStyleAuto);
    EXPECT_EQ(G->FilterMemoSize(), 65536);
    EXPECT_EQ(G->IniFileName(), "");
    EXPECT_TRUE(G->UseLocateMethodForSearch());
    EXPECT_TRUE(G->DialogFontStyle().Empty());
    EXPECT_EQ(G->DefaultEpochYear(), 1950);
    EXPECT_FALSE(G->Connected());
    EXPECT_TRUE(G->UnpublishedFlag());
    EXPECT_EQ(G->RichEdit()->ParagraphDialog()->HelpContext(), 0);
    EXPECT_EQ(G->RichEdit()->TabDialog()->HelpContext(), 0);
    G->SetVersionQuilldown("2.0");
    EXPECT_EQ(G->VersionQuilldown(), "1.10");
}

TEST_F(UiTextsReading, AConnectedFormComponentHandsItsTextsToTheProgram) {
    auto Form = LoadForm("    Connected = True\n"
                         "    BtnOKCaption = 'Ja'\n"
                         "    BtnCancelCaption = 'Abbrechen'\n"
                         "    OKCancelBitmapped = False\n"
                         "    IniFileName = 'texts'\n"
                         "    VersionQuilldown = '9.99'\n"
                         "    CheckBoxInGridStyle = cbStyleXmark\n"
                         "    FilterMemoSize = 100\n"
                         "    UseLocateMethodForSearch = False\n"
                         "    DialogFontStyle = [fsBold]\n"
                         "    DefaultEpochYear = 1930\n"
                         "    ADO.UseLocateWhenFindingValue = False\n"
                         "    Navigator.ConfirmDeleteMessage = 'Wirklich?'\n"
                         "    Navigator.Hints.SearchDialogHint = 'Suchen'\n"
                         "    SearchDialog.StatusOfLabel = 'von'\n"
                         "    LocateDialog.BtnNext = '&Weiter'\n"
                         "    MonthCalendar.EnterYearPrompt = 'Jahr'\n"
                         "    FilterDialog.ViewSummaryNotText = 'NICHT'\n"
                         "    RichEdit.CAPLockCaption = 'GROSS'\n"
                         "    RichEdit.MenuLabels.FileCaption = '&Datei'\n"
                         "    RichEdit.PopupMenuLabels.BoldCaption = '&Fett'\n"
                         "    RichEdit.ParagraphDialog.AlignLeft = 'Links'\n"
                         "    RichEdit.ParagraphDialog.HelpContext = 7\n"
                         "    RichEdit.TabDialog.TabDlgCaption = 'Tabulator'\n"
                         "    RichEdit.TabDialog.HelpContext = 8\n"
                         "    UserMessages.LocateNoMatches = 'Nichts'\n");
    auto* Local = dynamic_cast<TuiIntl*>(Form->FindComponent("Texts"));
    ASSERT_NE(Local, nullptr);
    TuiIntl* G = UiIntl();
    ASSERT_NE(G, Local);
    EXPECT_EQ(G->BtnOKCaption(), "Ja");
    EXPECT_EQ(G->BtnCancelCaption(), "Abbrechen");
    EXPECT_FALSE(G->OKCancelBitmapped());
    EXPECT_EQ(G->IniFileName(), "texts.ini");
    EXPECT_EQ(Local->IniFileName(), "texts");
    EXPECT_EQ(G->VersionQuilldown(), "1.10");
    EXPECT_FALSE(G->Connected());
    EXPECT_EQ(G->CheckBoxInGridStyle(), cbStyleXmark);
    EXPECT_EQ(G->FilterMemoSize(), 100);
    EXPECT_FALSE(G->UseLocateMethodForSearch());
    EXPECT_TRUE(G->DialogFontStyle().Contains(fsBold));
    EXPECT_EQ(G->DefaultEpochYear(), 1930);
    EXPECT_FALSE(G->ADO()->UseLocateWhenFindingValue());
    EXPECT_EQ(G->Navigator()->ConfirmDeleteMessage(), "Wirklich?");
    EXPECT_EQ(G->Navigator()->Hints()->SearchDialogHint(), "Suchen");
    EXPECT_EQ(G->Navigator()->Hints()->FirstHint(), "Move to first record");
    EXPECT_EQ(G->SearchDialog()->StatusOfLabel(), "von");
    EXPECT_EQ(G->LocateDialog()->BtnNext(), "&Weiter");
    EXPECT_EQ(G->MonthCalendar()->EnterYearPrompt(), "Jahr");
    EXPECT_EQ(G->FilterDialog()->ViewSummaryNotText(), "NICHT");
    EXPECT_EQ(G->RichEdit()->CAPLockCaption(), "GROSS");
    EXPECT_EQ(G->RichEdit()->MenuLabels()->FileCaption(), "&Datei");
    EXPECT_EQ(G->RichEdit()->PopupMenuLabels()->BoldCaption(), "&Fett");
    EXPECT_EQ(G->RichEdit()->ParagraphDialog()->AlignLeft(), "Links");
    EXPECT_EQ(G->RichEdit()->ParagraphDialog()->HelpContext(), 7);
    EXPECT_EQ(G->RichEdit()->TabDialog()->TabDlgCaption(), "Tabulator");
    EXPECT_EQ(G->RichEdit()->TabDialog()->HelpContext(), 8);
    EXPECT_EQ(G->UserMessages()->LocateNoMatches(), "Nichts");
    // The form's own component keeps its texts when the form goes.
    Form.reset();
    EXPECT_EQ(UiIntl(), G);
    EXPECT_EQ(G->BtnOKCaption(), "Ja");
}

TEST_F(UiTextsReading, AnUnconnectedFormComponentLeavesTheProgramAlone) {
    auto Form = LoadForm("    BtnOKCaption = 'Ja'\n"
                         "    CheckBoxInGridStyle = cbStyleXmark\n");
    EXPECT_EQ(UiIntl()->BtnOKCaption(), "&OK");
    EXPECT_EQ(UiIntl()->CheckBoxInGridStyle(), cbStyleAuto);
    auto* Local = dynamic_cast<TuiIntl*>(Form->FindComponent("Texts"));
    ASSERT_NE(Local, nullptr);
    // Connecting it later copies at once.
    Local->SetConnected(true);
    EXPECT_EQ(UiIntl()->BtnOKCaption(), "Ja");
    EXPECT_EQ(UiIntl()->CheckBoxInGridStyle(), cbStyleXmark);
    // A connected component passes a new style on at once; texts wait for
    // the next copy.
    Local->SetCheckBoxInGridStyle(cbStyleCheckmark);
    Local->SetBtnOKCaption("Oui");
    EXPECT_EQ(UiIntl()->CheckBoxInGridStyle(), cbStyleCheckmark);
    EXPECT_EQ(UiIntl()->BtnOKCaption(), "Ja");
    Local->SetConnected(false);
    Local->SetCheckBoxInGridStyle(cbStyleAuto);
    EXPECT_EQ(UiIntl()->CheckBoxInGridStyle(), cbStyleCheckmark);
}

TEST_F(UiTextsReading, IniFileNameGainsItsExtensionInTheProgram) {
    struct {
        const char* Name;
        const char* Global;
    } Cases[] = {{"", ""}, {".ini", ""}, {"app", "app.ini"}, {"app.ini", "app.ini.ini"},
                 {"dir/x", "dir/x.ini"}};
    TuiIntl Local(nullptr);
    for (const auto& C : Cases) {
        UiIntl()->SetIniFileName("previous.ini");
        Local.SetIniFileName(C.Name);
        Local.SetConnected(false);
        Local.SetConnected(true);
        EXPECT_EQ(UiIntl()->IniFileName(), C.Global) << C.Name;
    }
}

TEST_F(UiTextsReading, TheProgramWideInstanceConnectedToItselfCopiesNothing) {
    TuiIntl* G = UiIntl();
    G->SetIniFileName("x");
    G->SetConnected(true);
    EXPECT_EQ(G->IniFileName(), "x");
    G->SetCheckBoxInGridStyle(cbStyleXmark);
    EXPECT_EQ(G->CheckBoxInGridStyle(), cbStyleXmark);
}

TEST_F(UiTextsReading, FreeingTheProgramWideInstanceEmptiesIt) {
    TuiIntl* G = UiIntl();
    ASSERT_NE(G, nullptr);
    {
        TuiIntl Other(nullptr);
        Other.SetConnected(true);
    }
    EXPECT_EQ(UiIntl(), G);
    delete G;
    EXPECT_EQ(UiIntl(), nullptr);
    // With no program-wide instance, connecting copies nowhere.
    TuiIntl Orphan(nullptr);
    EXPECT_NO_THROW(Orphan.SetConnected(true));
    EXPECT_NO_THROW(Orphan.SetCheckBoxInGridStyle(cbStyleXmark));
    Uitexts::Finalization();
    const int Owned = Application->ComponentCount();
    Uitexts::Initialization();
    ASSERT_NE(UiIntl(), nullptr);
    EXPECT_EQ(UiIntl()->Owner(), Application);
    EXPECT_EQ(Application->ComponentCount(), Owned + 1);
    Uitexts::Finalization();
    EXPECT_EQ(UiIntl(), nullptr);
    EXPECT_EQ(Application->ComponentCount(), Owned);
    Uitexts::Initialization();
    Uitexts::Initialization(); // a second start-up keeps the one there is
    TuiIntl* Again = UiIntl();
    Uitexts::Initialization();
    EXPECT_EQ(UiIntl(), Again);
}

TEST_F(UiTextsReading, MaskValidationErrorAsksTheHandlerFirst) {
    const AnsiString Message = "Invalid input value.  Use escape key to abandon changes";
    TuiIntl Texts(nullptr);
    try {
        Texts.DoValidationErrorUsingMask(&Texts, nullptr);
        ADD_FAILURE() << "no error";
    } catch (const EInvalidOperation& E) {
        EXPECT_EQ(E.Message, Message);
    }
    int Calls = 0;
    Texts.OnValidationErrorUsingMask = [&](TObject* Sender, TField* Field, const AnsiString& Msg,
                                           bool& DoDefault) {
        ++Calls;
        EXPECT_EQ(Sender, &Texts);
        EXPECT_EQ(Field, nullptr);
        EXPECT_EQ(Msg, Message);
        EXPECT_TRUE(DoDefault);
        DoDefault = Calls > 1;
    };
    EXPECT_NO_THROW(Texts.DoValidationErrorUsingMask(&Texts, nullptr));
    EXPECT_THROW(Texts.DoValidationErrorUsingMask(&Texts, nullptr), EInvalidOperation);
    EXPECT_EQ(Calls, 2);
    // The handler travels to the program-wide instance with the texts.
    Texts.SetConnected(true);
    EXPECT_THROW(UiIntl()->DoValidationErrorUsingMask(&Texts, nullptr), EInvalidOperation);
    EXPECT_EQ(Calls, 3);
    Texts.OnValidationErrorUsingMask = nullptr;
    Texts.SetConnected(false);
    Texts.SetConnected(true);
}

TEST_F(UiTextsReading, AFormWritesAndReadsItsTextsComponent) {
    TForm Form(nullptr);
    Form.SetName("F");
    auto* Texts = new TuiIntl(&Form);
    Texts->SetName("Texts");
    Texts->Navigator()->Hints()->SetFirstHint("Zum Anfang");
    Texts->RichEdit()->TabDialog()->SetHelpContext(12);
    Texts->SetCheckBoxInGridStyle(cbStyleCheckmark);
    TMemoryStream Binary;
    WriteComponentRes(&Binary, &Form);
    Binary.SetPosition(0);
    TStringStream Text;
    ObjectBinaryToText(&Binary, &Text);
    const AnsiString Written = Text.DataString();
    EXPECT_NE(Written.find("Navigator.Hints.FirstHint = 'Zum Anfang'"), AnsiString::npos) << Written;
    EXPECT_NE(Written.find("RichEdit.TabDialog.HelpContext = 12"), AnsiString::npos) << Written;
    EXPECT_NE(Written.find("CheckBoxInGridStyle = cbStyleCheckmark"), AnsiString::npos) << Written;
    // Settings at their defaults are not written (texts are, as every
    // non-empty text is).
    for (const char* Unchanged : {"Connected", "DefaultEpochYear", "FilterMemoSize",
                                  "OKCancelBitmapped", "ParagraphDialog.HelpContext",
                                  "UseLocateWhenFindingValue", "SummaryCaption"})
        EXPECT_EQ(Written.find(Unchanged), AnsiString::npos) << Unchanged << " in " << Written;

    Binary.SetPosition(0);
    TForm Copy(nullptr);
    ReadComponentRes(&Binary, &Copy);
    auto* Read = dynamic_cast<TuiIntl*>(Copy.FindComponent("Texts"));
    ASSERT_NE(Read, nullptr);
    EXPECT_EQ(Read->Navigator()->Hints()->FirstHint(), "Zum Anfang");
    EXPECT_EQ(Read->Navigator()->Hints()->PriorHint(), "Move to prior record");
    EXPECT_EQ(Read->RichEdit()->TabDialog()->HelpContext(), 12);
    EXPECT_EQ(Read->CheckBoxInGridStyle(), cbStyleCheckmark);
    // Not connected: the program's texts stay.
    EXPECT_EQ(UiIntl()->Navigator()->Hints()->FirstHint(), "Move to first record");
}
