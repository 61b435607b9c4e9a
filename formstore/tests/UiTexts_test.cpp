#include "formstore/UiTexts.h"

#include "platform/gui/Forms.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace formstore;

namespace {

// Each test starts with a freshly made program-wide instance.
class UiTexts : public ::testing::Test {
protected:
    void SetUp() override {
        Uitexts::Finalization();
        Uitexts::Initialization();
        ASSERT_NE(UiIntl(), nullptr);
    }
    void TearDown() override { Uitexts::Initialization(); }
};

struct LabelCase {
    const char* Label;
    std::function<AnsiString(const TuiIntl&)> Read;
    AnsiString Expected;
};

// Spot checks of every holder, with the awkward bytes (double spaces,
// placeholders, apostrophes, trailing blanks, empty texts).
const std::vector<LabelCase>& DefaultTexts() {
    static const std::vector<LabelCase> Cases = {
        {"BtnOKCaption", [](const TuiIntl& I) { return I.BtnOKCaption(); }, "&OK"},
        {"BtnCancelCaption", [](const TuiIntl& I) { return I.BtnCancelCaption(); }, "Cancel"},
        {"VersionQuilldown", [](const TuiIntl& I) { return I.VersionQuilldown(); }, "1.10"},
        {"IniFileName", [](const TuiIntl& I) { return I.IniFileName(); }, ""},
        {"Navigator.ConfirmDeleteMessage",
         [](const TuiIntl& I) { return I.Navigator()->ConfirmDeleteMessage(); }, "Delete record?"},
        {"Navigator.Hints.FirstHint",
         [](const TuiIntl& I) { return I.Navigator()->Hints()->FirstHint(); },
         "Move to first record"},
        {"Navigator.Hints.PriorPageHint",
         [](const TuiIntl& I) { return I.Navigator()->Hints()->PriorPageHint(); },
         "Move backward %d records"},
        {"Navigator.Hints.SearchDialogHint",
         [](const TuiIntl& I) { return I.Navigator()->Hints()->SearchDialogHint(); },
         "Search the dataset"},
        {"UserMessages.uiDBGridDiscardChanges",
         [](const TuiIntl& I) { return I.UserMessages()->uiDBGridDiscardChanges(); },
         "Discard changes to this record?"},
        {"UserMessages.PictureValidateError",
         [](const TuiIntl& I) { return I.UserMessages()->PictureValidateError(); },
         "Invalid characters. Field : "},
        {"UserMessages.MemoChangesWarning",
         [](const TuiIntl& I) { return I.UserMessages()->MemoChangesWarning(); },
         "Changes have been made!  Are you sure you wish to cancel?"},
        {"UserMessages.RichEditMSWordNotFound",
         [](const TuiIntl& I) { return I.UserMessages()->RichEditMSWordNotFound(); },
         "Unable to start Microsoft Word's Spell Checker."},
        {"UserMessages.RecordViewExitWarning",
         [](const TuiIntl& I) { return I.UserMessages()->RecordViewExitWarning(); },
         "Changes have been made!  Do you wish to save your changes?"},
        {"LocateDialog.MatchAnyLabel",
         [](const TuiIntl& I) { return I.LocateDialog()->MatchAnyLabel(); },
         "Partial Match &Anywhere"},
        {"LocateDialog.FieldNameHint",
         [](const TuiIntl& I) { return I.LocateDialog()->FieldNameHint(); },
         "Select the field to search on"},
        {"SearchDialog.StatusRecLabel",
         [](const TuiIntl& I) { return I.SearchDialog()->StatusRecLabel(); }, "Rec #"},
        {"SearchDialog.SearchByHint",
         [](const TuiIntl& I) { return I.SearchDialog()->SearchByHint(); },
         "Incremental searching and sorting order"},
        {"MonthCalendar.EnterYearPrompt",
         [](const TuiIntl& I) { return I.MonthCalendar()->EnterYearPrompt(); }, "Enter Valid Year"},
        {"FilterDialog.BtnViewSummary",
         [](const TuiIntl& I) { return I.FilterDialog()->BtnViewSummary(); }, "View Su&mmary"},
        {"FilterDialog.MatchAnyLabel",
         [](const TuiIntl& I) { return I.FilterDialog()->MatchAnyLabel(); },
         "Partial Match Any&where"},
        {"FilterDialog.SummaryCaption",
         [](const TuiIntl& I) { return I.FilterDialog()->SummaryCaption(); }, ""},
        {"FilterDialog.ViewSummaryNotText",
         [](const TuiIntl& I) { return I.FilterDialog()->ViewSummaryNotText(); }, "NOT"},
        {"RichEdit.UnderlineButtonHint",
         [](const TuiIntl& I) { return I.RichEdit()->UnderlineButtonHint(); },
         "Underline | Formats the selection with a continuous underline (toggle)"},
        {"RichEdit.ParagraphHint", [](const TuiIntl& I) { return I.RichEdit()->ParagraphHint(); },
         "Formats current or selected paragraph(s)"},
        {"RichEdit.NUMLockCaption", [](const TuiIntl& I) { return I.RichEdit()->NUMLockCaption(); },
         "NUM"},
        {"RichEdit.MenuLabels.InsertObjectCaption",
         [](const TuiIntl& I) { return I.RichEdit()->MenuLabels()->InsertObjectCaption(); },
         "&Object..."},
        {"RichEdit.MenuLabels.RedoCaption",
         [](const TuiIntl& I) { return I.RichEdit()->MenuLabels()->RedoCaption(); }, ""},
        {"RichEdit.MenuLabels.HelpCaption",
         [](const TuiIntl& I) { return I.RichEdit()->MenuLabels()->HelpCaption(); }, "Help"},
        {"RichEdit.PopupMenuLabels.InsertObjectCaption",
         [](const TuiIntl& I) { return I.RichEdit()->PopupMenuLabels()->InsertObjectCaption(); },
         "Insert &Object..."},
        {"RichEdit.PopupMenuLabels.FindCaption",
         [](const TuiIntl& I) { return I.RichEdit()->PopupMenuLabels()->FindCaption(); }, "Fin&d"},
        {"RichEdit.ParagraphDialog.WithinParagraphCaption",
         [](const TuiIntl& I) { return I.RichEdit()->ParagraphDialog()->WithinParagraphCaption(); },
         "Li&ne Spacing"},
        {"RichEdit.ParagraphDialog.Spacing1_5",
         [](const TuiIntl& I) { return I.RichEdit()->ParagraphDialog()->Spacing1_5(); }, ""},
        {"RichEdit.TabDialog.TabGroupBoxCaption",
         [](const TuiIntl& I) { return I.RichEdit()->TabDialog()->TabGroupBoxCaption(); },
         "&Tab Stop Position"},
        {"RichEdit.TabDialog.ClearAllButtonHint",
         [](const TuiIntl& I) { return I.RichEdit()->TabDialog()->ClearAllButtonHint(); },
         "Clear all the tabs"},
    };
    return Cases;
}

TEST_F(UiTexts, DefaultTextsOfEveryHolder) {
    TuiIntl Placed(nullptr);
    for (const TuiIntl* Intl : std::vector<const TuiIntl*>{UiIntl(), &Placed})
        for (const LabelCase& Case : DefaultTexts())
            EXPECT_EQ(Case.Read(*Intl), Case.Expected) << Case.Label;
}

TEST_F(UiTexts, DefaultSettings) {
    const TuiIntl& I = *UiIntl();
    EXPECT_TRUE(I.ADO()->UseLocateWhenFindingValue());
    EXPECT_TRUE(I.OKCancelBitmapped());
    EXPECT_EQ(I.CheckBoxInGridStyle(), cbStyleAuto);
    EXPECT_EQ(I.FilterMemoSize(), 65536);
    EXPECT_TRUE(I.UseLocateMethodForSearch());
    EXPECT_TRUE(I.DialogFontStyle().Empty());
    EXPECT_EQ(I.DefaultEpochYear(), 1950);
    EXPECT_FALSE(I.OnValidationErrorUsingMask);
    EXPECT_FALSE(I.Connected());
    EXPECT_TRUE(I.UnpublishedFlag());
    EXPECT_EQ(I.RichEdit()->ParagraphDialog()->HelpContext(), 0);
    EXPECT_EQ(I.RichEdit()->TabDialog()->HelpContext(), 0);
}

TEST_F(UiTexts, VersionCannotBeWritten) {
    TuiIntl Placed(nullptr);
    Placed.SetVersionQuilldown("2.0");
    EXPECT_EQ(Placed.VersionQuilldown(), "1.10");
}

TEST_F(UiTexts, GlobalInstanceBelongsToApplicationAndHoldersToTheirParents) {
    TuiIntl* Global = UiIntl();
    EXPECT_EQ(Global->Owner(), Application);
    EXPECT_EQ(Global->Navigator()->GetOwner(), Global);
    EXPECT_EQ(Global->Navigator()->Hints()->GetOwner(), Global->Navigator());
    EXPECT_EQ(Global->RichEdit()->TabDialog()->GetOwner(), Global->RichEdit());
}

TEST_F(UiTexts, DestroyingTheGlobalInstanceEmptiesIt) {
    TuiIntl* Global = UiIntl();
    const int Before = Application->ComponentCount();
    delete Global;
    EXPECT_EQ(UiIntl(), nullptr);
    EXPECT_EQ(Application->ComponentCount(), Before - 1);

    TuiIntl Placed(nullptr);
    Placed.Navigator()->SetConfirmDeleteMessage("Weg damit?");
    Placed.SetCheckBoxInGridStyle(cbStyleXmark);
    EXPECT_NO_THROW(Placed.SetConnected(true));
    EXPECT_NO_THROW(Placed.SetCheckBoxInGridStyle(cbStyleCheckmark));
    EXPECT_NO_THROW(Placed.Loaded());
    EXPECT_EQ(UiIntl(), nullptr);
}

TEST_F(UiTexts, HolderAssignCopiesEveryPropertyAndRefusesOtherClasses) {
    TuiIntl Source(nullptr);
    TuiDBRichEditIntl* Rich = Source.RichEdit();
    Rich->SetCAPLockCaption("MAJ");
    Rich->MenuLabels()->SetRedoCaption("&Redo");
    Rich->PopupMenuLabels()->SetBoldCaption("&Gras");
    Rich->ParagraphDialog()->SetSpacingMultiple("Multiple");
    Rich->ParagraphDialog()->SetHelpContext(17);
    Rich->TabDialog()->SetHelpContext(18);

    TuiIntl Target(nullptr);
    TuiDBRichEditIntl* Kept = Target.RichEdit();
    TuiRichEditMenuLabels* KeptMenu = Kept->MenuLabels();
    Target.SetRichEdit(Rich);
    EXPECT_EQ(Target.RichEdit(), Kept);
    EXPECT_EQ(Kept->MenuLabels(), KeptMenu);
    EXPECT_EQ(Kept->CAPLockCaption(), "MAJ");
    EXPECT_EQ(Kept->MenuLabels()->RedoCaption(), "&Redo");
    EXPECT_EQ(Kept->PopupMenuLabels()->BoldCaption(), "&Gras");
    EXPECT_EQ(Kept->ParagraphDialog()->SpacingMultiple(), "Multiple");
    EXPECT_EQ(Kept->ParagraphDialog()->HelpContext(), 17);
    EXPECT_EQ(Kept->TabDialog()->HelpContext(), 18);
    EXPECT_EQ(Kept->NUMLockCaption(), "NUM");

    try {
        Target.SearchDialog()->Assign(Source.LocateDialog());
        FAIL() << "assigning a different holder class must fail";
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message, "Cannot assign a TuiLocateDialogIntl to a TuiSearchDialogIntl");
    }
    EXPECT_THROW(Target.ADO()->Assign(nullptr), EConvertError);
}

TEST_F(UiTexts, ConnectingCopiesEverythingButVersionAndConnected) {
    TuiIntl Placed(nullptr);
    Placed.ADO()->SetUseLocateWhenFindingValue(false);
    Placed.Navigator()->SetConfirmDeleteMessage("Supprimer ?");
    Placed.Navigator()->Hints()->SetNextPageHint("Avancer de %d");
    Placed.SearchDialog()->SetStatusOfLabel("de");
    Placed.LocateDialog()->SetBtnNext("&Suivant");
    Placed.MonthCalendar()->SetPopupYearLabel("Année");
    Placed.FilterDialog()->SetSummaryCaption("Résumé");
    Placed.RichEdit()->SetTabsHint("Tabulations");
    Placed.RichEdit()->TabDialog()->SetHelpContext(5);
    Placed.UserMessages()->SetLocateNoMatches("Rien");
    Placed.SetOKCancelBitmapped(false);
    Placed.SetBtnOKCaption("&D'accord");
    Placed.SetBtnCancelCaption("Annuler");
    Placed.SetCheckBoxInGridStyle(cbStyleXmark);
    Placed.SetFilterMemoSize(1024);
    Placed.SetUseLocateMethodForSearch(false);
    Placed.SetDialogFontStyle({fsBold, fsItalic});
    Placed.SetDefaultEpochYear(1970);
    Placed.SetUnpublishedFlag(false);
    int Calls = 0;
    Placed.OnValidationErrorUsingMask = [&Calls](TObject*, TField*, const AnsiString&,
                                                 bool& DoDefault) {
        ++Calls;
        DoDefault = false;
    };

    TuiIntl* Global = UiIntl();
    EXPECT_EQ(Global->Navigator()->ConfirmDeleteMessage(), "Delete record?");
    Placed.SetConnected(true);

    EXPECT_FALSE(Global->ADO()->UseLocateWhenFindingValue());
    EXPECT_EQ(Global->Navigator()->ConfirmDeleteMessage(), "Supprimer ?");
    EXPECT_EQ(Global->Navigator()->Hints()->NextPageHint(), "Avancer de %d");
    EXPECT_EQ(Global->SearchDialog()->StatusOfLabel(), "de");
    EXPECT_EQ(Global->LocateDialog()->BtnNext(), "&Suivant");
    EXPECT_EQ(Global->MonthCalendar()->PopupYearLabel(), "Année");
    EXPECT_EQ(Global->FilterDialog()->SummaryCaption(), "Résumé");
    EXPECT_EQ(Global->RichEdit()->TabsHint(), "Tabulations");
    EXPECT_EQ(Global->RichEdit()->TabDialog()->HelpContext(), 5);
    EXPECT_EQ(Global->UserMessages()->LocateNoMatches(), "Rien");
    EXPECT_FALSE(Global->OKCancelBitmapped());
    EXPECT_EQ(Global->BtnOKCaption(), "&D'accord");
    EXPECT_EQ(Global->BtnCancelCaption(), "Annuler");
    EXPECT_EQ(Global->CheckBoxInGridStyle(), cbStyleXmark);
    EXPECT_EQ(Global->FilterMemoSize(), 1024);
    EXPECT_FALSE(Global->UseLocateMethodForSearch());
    EXPECT_EQ(Global->DialogFontStyle(), (TFontStyles{fsBold, fsItalic}));
    EXPECT_EQ(Global->DefaultEpochYear(), 1970);
    EXPECT_FALSE(Global->UnpublishedFlag());
    ASSERT_TRUE(Global->OnValidationErrorUsingMask);
    EXPECT_NO_THROW(Global->DoValidationErrorUsingMask(nullptr, nullptr));
    EXPECT_EQ(Calls, 1);

    EXPECT_EQ(Global->VersionQuilldown(), "1.10");
    EXPECT_FALSE(Global->Connected());
}

TEST_F(UiTexts, IniFileNameGainsItsExtensionInTheGlobalInstance) {
    struct Case {
        AnsiString Placed;
        AnsiString Global;
    };
    for (const Case& C : std::vector<Case>{{"app", "app.ini"}, {".ini", ""}, {"", ""}}) {
        UiIntl()->SetIniFileName("before.ini");
        TuiIntl Placed(nullptr);
        Placed.SetIniFileName(C.Placed);
        Placed.SetConnected(true);
        EXPECT_EQ(UiIntl()->IniFileName(), C.Global) << C.Placed;
        EXPECT_EQ(Placed.IniFileName(), C.Placed);
    }
}

TEST_F(UiTexts, UnconnectedInstanceLeavesTheGlobalOneAlone) {
    TuiIntl* Global = UiIntl();
    {
        auto Placed = std::make_unique<TuiIntl>(nullptr);
        Placed->UserMessages()->SetLocateNoMatches("Rien");
        Placed->SetCheckBoxInGridStyle(cbStyleCheckmark);
        Placed->SetIniFileName("app");
        Placed->Loaded();
        Placed->SetConnected(false);
    }
    EXPECT_EQ(UiIntl(), Global);
    EXPECT_EQ(Global->UserMessages()->LocateNoMatches(), "No matches found");
    EXPECT_EQ(Global->CheckBoxInGridStyle(), cbStyleAuto);
    EXPECT_EQ(Global->IniFileName(), "");
}

TEST_F(UiTexts, ConnectedInstanceCopiesAgainWhenLoadedAndPassesOnItsCheckBoxStyle) {
    TuiIntl Placed(nullptr);
    Placed.SetConnected(true);
    Placed.MonthCalendar()->SetEnterYearPrompt("Jahr eingeben");
    EXPECT_EQ(UiIntl()->MonthCalendar()->EnterYearPrompt(), "Enter Valid Year");
    Placed.Loaded();
    EXPECT_EQ(UiIntl()->MonthCalendar()->EnterYearPrompt(), "Jahr eingeben");

    Placed.SetCheckBoxInGridStyle(cbStyleCheckmark);
    EXPECT_EQ(UiIntl()->CheckBoxInGridStyle(), cbStyleCheckmark);
    // The global instance connected to itself changes only itself.
    UiIntl()->SetConnected(true);
    UiIntl()->SetCheckBoxInGridStyle(cbStyleXmark);
    EXPECT_EQ(Placed.CheckBoxInGridStyle(), cbStyleCheckmark);
    EXPECT_EQ(UiIntl()->CheckBoxInGridStyle(), cbStyleXmark);
}

TEST_F(UiTexts, MaskValidationErrorRaisesUnlessTheHandlerDeclines) {
    Application->Initialize(); // the beep goes through the GUI
    const AnsiString Message = "Invalid input value.  Use escape key to abandon changes";
    TuiIntl Intl(nullptr);
    try {
        Intl.DoValidationErrorUsingMask(&Intl, nullptr);
        FAIL() << "no handler must raise";
    } catch (const EInvalidOperation& E) {
        EXPECT_EQ(E.Message, Message);
    }

    struct Seen {
        TObject* Sender;
        TField* Field;
        AnsiString Msg;
        bool DoDefault;
    };
    std::vector<Seen> Calls;
    bool Decline = false;
    Intl.OnValidationErrorUsingMask = [&](TObject* Sender, TField* Field, const AnsiString& Msg,
                                          bool& DoDefault) {
        Calls.push_back({Sender, Field, Msg, DoDefault});
        if (Decline) DoDefault = false;
    };
    auto* FakeField = reinterpret_cast<TField*>(&Calls);
    EXPECT_THROW(Intl.DoValidationErrorUsingMask(&Intl, FakeField), EInvalidOperation);
    Decline = true;
    EXPECT_NO_THROW(Intl.DoValidationErrorUsingMask(&Intl, FakeField));
    ASSERT_EQ(Calls.size(), 2u);
    for (const Seen& S : Calls) {
        EXPECT_EQ(S.Sender, &Intl);
        EXPECT_EQ(S.Field, FakeField);
        EXPECT_EQ(S.Msg, Message);
        EXPECT_TRUE(S.DoDefault);
    }
}

} // namespace
