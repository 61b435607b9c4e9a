// Masks defined by name in a definitions component: naming, lookup,
// change notification, links, form reading and the predefined entries.
#include "grid/foundation/MaskDefs.h"
#include "grid/tests/FormTextFixture.h"
#include "platform/gui/Dialogs.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace grid;

namespace {

class LoggingMaskLink : public TgxMaskLink {
public:
    explicit LoggingMaskLink(std::vector<AnsiString>* Log, AnsiString Tag = "link")
        : FLog(Log), FTag(std::move(Tag)) {}
    void MaskChanged(TgxMaskItem* Mask) override {
        FLog->push_back(FTag + " changed " + (Mask ? Mask->GetName() : AnsiString("all")));
    }
    void MaskDefsDeleted() override {
        FLog->push_back(FTag + " deleted, linked " + (MaskDefs() ? "yes" : "no"));
    }

private:
    std::vector<AnsiString>* FLog;
    AnsiString FTag;
};

class MaskDefinitions : public ::testing::Test {
protected:
    MaskDefinitions() : Defs(std::make_unique<TgxMaskDefs>(nullptr)) { Defs->SetName("Defs"); }
    TgxMask* Add(const AnsiString& Name, const AnsiString& Picture = "") {
        TgxMask* M = Defs->Masks()->Add();
        M->SetName(Name);
        M->SetPicture(Picture);
        return M;
    }
    static AnsiString ErrorOf(const std::function<void()>& Action) {
        try {
            Action();
        } catch (const EgxMaskError& E) {
            return E.Message;
        }
        return "no error";
    }
    std::unique_ptr<TgxMaskDefs> Defs;
};

TEST_F(MaskDefinitions, NewMaskChecksAndFillsOnEditAndExit) {
    TgxMask* M = Defs->Masks()->Add();
    EXPECT_EQ(M->GetAutoFill(), (TgxMaskChecks{mcOnEdit, mcOnExit}));
    EXPECT_EQ(M->GetEvaluate(), (TgxMaskChecks{mcOnEdit, mcOnExit}));
    EXPECT_EQ(M->GetTextCase()->CaseType(), cstNone);
    EXPECT_FALSE(M->GetTextCase()->Optional());
    EXPECT_EQ(M->GetPicture(), AnsiString());
    EXPECT_EQ(M->ParentComponent(), Defs.get());
    EXPECT_EQ(M->GetDisplayName(), M->GetName());
}

TEST_F(MaskDefinitions, NewMasksAreNamedByIndexOrElseByIdentifier) {
    TgxMask* First = Defs->Masks()->Add();
    EXPECT_EQ(First->GetName(), AnsiString("Mask0"));
    EXPECT_EQ(Defs->Masks()->Add()->GetName(), AnsiString("Mask1"));
    TgxMask* Third = Defs->Masks()->Add();
    Defs->Masks()->Delete(0);
    Defs->Masks()->Delete(0);
    Third->SetName("Mask1");
    TgxMask* Fourth = Defs->Masks()->Add();
    EXPECT_EQ(Fourth->GetName(), "Mask" + std::to_string(Fourth->ID()));
    EXPECT_NE(Fourth->GetName(), AnsiString("Mask1"));
    EXPECT_EQ(Defs->Masks()->FindUniqueName(Fourth), AnsiString("Mask2"));
}

TEST_F(MaskDefinitions, NewMaskIsNamedEvenWhenIndexAndIdentifierNamesAreTaken) {
    // The second mask has index 1 and identifier 1, and Mask1 is taken.
    Defs->Masks()->Add()->SetName("Mask1");
    TgxMask* Second = nullptr;
    EXPECT_NO_THROW(Second = Defs->Masks()->Add());
    ASSERT_EQ(Defs->Masks()->Count(), 2);
    EXPECT_EQ(Defs->Masks()->Items(1)->GetName(), AnsiString("Mask2"));
    EXPECT_EQ(Second, Defs->Masks()->Items(1));
}

TEST_F(MaskDefinitions, NamesAreUniqueWithoutRegardToCase) {
    TgxMask* Phone = Add("Phone");
    TgxMask* Zip = Add("Zip");
    EXPECT_EQ(ErrorOf([&] { Zip->SetName("PHONE"); }),
              AnsiString("Defs: Mask 'PHONE' already exists. Mask names must be unique"));
    EXPECT_EQ(Zip->GetName(), AnsiString("Zip"));
    Phone->SetName("PHONE");
    EXPECT_EQ(Phone->GetName(), AnsiString("PHONE"));
    // A mask outside any definitions is not checked.
    TgxMask Loose(nullptr);
    Loose.SetName("Phone");
    EXPECT_EQ(Loose.GetName(), AnsiString("Phone"));
    // Nor does its error carry a component's name.
    EXPECT_EQ(ErrorOf([&] { Loose.SetPicture("#]"); }),
              AnsiString("Error in mask Phone, invalid character ']' at position 2"));
}

TEST_F(MaskDefinitions, MasksAreFoundByNameOrIndex) {
    TgxMask* First = Add("First", "###");
    TgxMask* Second = Add("Other");
    First->SetName("Mask1");
    EXPECT_EQ(Defs->GetMask(Variant(0)), First);
    EXPECT_EQ(Defs->GetMask(Variant(1)), Second);
    EXPECT_EQ(Defs->GetMask(Variant(AnsiString("mask1"))), First);
    EXPECT_EQ(Defs->GetMask(Variant(AnsiString("missing"))), nullptr);
    EXPECT_ANY_THROW(Defs->GetMask(Variant(2)));
    EXPECT_EQ(Defs->Masks()->NameIndex("OTHER"), 1);
    EXPECT_EQ(Defs->Masks()->NameIndex("none"), -1);

    TgxMask Source(nullptr);
    Source.SetName("Other");
    Source.SetPicture("##");
    Source.GetTextCase()->SetCaseType(cstLower);
    Defs->SetMask(Variant(AnsiString("other")), &Source);
    EXPECT_EQ(Second->GetPicture(), AnsiString("##"));
    EXPECT_EQ(Second->GetTextCase()->CaseType(), cstLower);
    Defs->SetMask(Variant(AnsiString("missing")), &Source);
    EXPECT_EQ(Defs->Masks()->Count(), 2);
}

TEST_F(MaskDefinitions, MasksAreCopiedFromAnotherDefinitions) {
    Add("Old");
    TgxMaskDefs Source(nullptr);
    TgxMask* M = Source.Masks()->Add();
    M->SetName("Phone");
    M->SetPicture("###");
    M->GetTextCase()->SetCaseType(cstUpper);
    Defs->SetMasks(Source.Masks());
    ASSERT_EQ(Defs->Masks()->Count(), 1);
    TgxMask* Copy = Defs->Masks()->Items(0);
    EXPECT_EQ(Copy->GetName(), AnsiString("Phone"));
    EXPECT_EQ(Copy->GetPicture(), AnsiString("###"));
    EXPECT_EQ(Copy->GetTextCase()->CaseType(), cstUpper);
    EXPECT_EQ(Copy->ParentComponent(), Defs.get());
    EXPECT_THROW(Copy->SetPicture("{"), EgxMaskError);
}

TEST_F(MaskDefinitions, OwnChangesAreReportedOnceEach) {
    TgxMask* M = Add("Phone");
    int Changes = 0;
    M->SetOnChange([&](TObject* Sender) {
        EXPECT_EQ(Sender, M);
        ++Changes;
    });
    struct Step {
        const char* What;
        std::function<void()> Do;
        int Expected;
    };
    TgxTextCase Upper;
    Upper.SetCaseType(cstUpper);
    Upper.SetOptional(true);
    TgxMask Other(nullptr);
    Other.SetName("Another");
    Other.SetPicture("###");
    Other.SetAutoFill({mcOnExit});
    const Step Steps[] = {
        {"auto fill", [&] { M->SetAutoFill({mcOnEdit}); }, 1},
        {"same auto fill", [&] { M->SetAutoFill({mcOnEdit}); }, 0},
        {"evaluate", [&] { M->SetEvaluate({}); }, 1},
        {"same evaluate", [&] { M->SetEvaluate({}); }, 0},
        {"name", [&] { M->SetName("Phone2"); }, 1},
        {"same name", [&] { M->SetName("Phone2"); }, 0},
        {"picture", [&] { M->SetPicture("##"); }, 1},
        {"case type", [&] { M->GetTextCase()->SetCaseType(cstTitle); }, 1},
        {"same case type", [&] { M->GetTextCase()->SetCaseType(cstTitle); }, 0},
        {"optional", [&] { M->GetTextCase()->SetOptional(true); }, 1},
        {"text case", [&] { M->SetTextCase(&Upper); }, 1},
        {"assign", [&] { M->Assign(&Other); }, 1},
    };
    for (const Step& S : Steps) {
        Changes = 0;
        S.Do();
        EXPECT_EQ(Changes, S.Expected) << S.What;
    }
    EXPECT_NE(M->GetTextCase(), &Upper);
    EXPECT_EQ(M->GetName(), AnsiString("Another"));
    EXPECT_EQ(M->GetPicture(), AnsiString("###"));
    EXPECT_EQ(M->GetAutoFill(), TgxMaskChecks{mcOnExit});
    EXPECT_EQ(M->GetTextCase()->CaseType(), cstNone);

    // Nested updates report once at the end.
    Changes = 0;
    M->BeginUpdate();
    M->SetPicture("#");
    M->SetAutoFill({});
    EXPECT_EQ(Changes, 0);
    M->EndUpdate();
    EXPECT_EQ(Changes, 1);
}

TEST_F(MaskDefinitions, AssignChecksTheNameAndParsesThePicture) {
    Add("Phone");
    TgxMask* Zip = Add("Zip");
    TgxMask Source(nullptr);
    Source.SetName("phone");
    EXPECT_EQ(ErrorOf([&] { Zip->Assign(&Source); }),
              AnsiString("Defs: Mask 'phone' already exists. Mask names must be unique"));
    Source.SetName("Code");
    Source.SetOnParseError([](TObject*, const AnsiString&, bool& Raise) { Raise = false; });
    Source.SetPicture("{#");
    EXPECT_EQ(ErrorOf([&] { Zip->Assign(&Source); }),
              AnsiString("Defs: Error in mask Code, expected '}' at position 3"));
    EXPECT_EQ(Zip->GetName(), AnsiString("Code"));
    EXPECT_EQ(Zip->GetPicture(), AnsiString("{#"));
}

TEST_F(MaskDefinitions, EmptyPictureFollowsTheTextCase) {
    TgxMask* M = Add("Caps");
    M->GetTextCase()->SetCaseType(cstUpper);
    M->GetTextCase()->SetOptional(true);
    EXPECT_TRUE(M->ValidText("lower case", true));
    AnsiString Input = "a";
    EXPECT_TRUE(M->ValidInput("", Input, 1, false, false));
    EXPECT_EQ(Input, AnsiString("A"));

    M->GetTextCase()->SetOptional(false);
    EXPECT_FALSE(M->ValidText("lower case", true));
    EXPECT_TRUE(M->ValidText("UPPER CASE", true));

    M->GetTextCase()->SetCaseType(cstNone);
    EXPECT_TRUE(M->ValidText("lower case", true));
    Input = "a";
    EXPECT_TRUE(M->ValidInput("", Input, 1, false, false));
    EXPECT_EQ(Input, AnsiString("a"));
}

TEST_F(MaskDefinitions, LinksHearOfCollectionChangesAndOfTheEnd) {
    std::vector<AnsiString> Log;
    auto First = std::make_unique<LoggingMaskLink>(&Log, "first");
    LoggingMaskLink Second(&Log, "second");
    First->SetMaskDefs(Defs.get());
    Second.SetMaskDefs(Defs.get());
    EXPECT_EQ(Defs->LinkCount(), 2);
    EXPECT_EQ(First->MaskDefs(), Defs.get());

    TgxMask* M = Add("Phone", "###");
    EXPECT_EQ(First->GetMask("PHONE"), M);
    EXPECT_EQ(First->GetMask(""), nullptr);
    ASSERT_FALSE(Log.empty());
    EXPECT_EQ(Log.front().substr(0, 14), AnsiString("first changed "));

    Log.clear();
    Defs->Changed(M);
    EXPECT_EQ(Log, (std::vector<AnsiString>{"first changed Phone", "second changed Phone"}));
    Log.clear();
    Defs->Masks()->Delete(0);
    EXPECT_FALSE(Log.empty());

    First.reset();
    EXPECT_EQ(Defs->LinkCount(), 1);
    LoggingMaskLink Third(&Log, "third");
    Third.SetMaskDefs(Defs.get());
    Log.clear();
    Defs.reset();
    EXPECT_EQ(Log, (std::vector<AnsiString>{"third deleted, linked no", "second deleted, linked no"}));
    EXPECT_EQ(Second.MaskDefs(), nullptr);
    EXPECT_EQ(Second.GetMask("Phone"), nullptr);
}

TEST_F(MaskDefinitions, LinkMovesBetweenDefinitions) {
    std::vector<AnsiString> Log;
    TgxMaskDefs Other(nullptr);
    LoggingMaskLink Link(&Log);
    Link.SetMaskDefs(Defs.get());
    Link.SetMaskDefs(&Other);
    EXPECT_EQ(Defs->LinkCount(), 0);
    EXPECT_EQ(Other.LinkCount(), 1);
    Link.SetMaskDefs(nullptr);
    EXPECT_EQ(Other.LinkCount(), 0);
    EXPECT_EQ(Link.MaskDefs(), nullptr);
}

TEST_F(MaskDefinitions, CollectionChangeReattachesTheParseErrorHandler) {
    TgxMask* M = Add("Phone");
    M->SetOnParseError([](TObject*, const AnsiString&, bool& Raise) { Raise = false; });
    M->SetPicture("#]");
    Defs->Changed(nullptr);
    EXPECT_THROW(M->SetPicture("{"), EgxMaskError);
}

const char* BadForm = R"(object Defs: TgxMaskDefs
  Masks = <
    item
      Name = 'Bad'
      Picture = '#]'
    end
    item
      Name = 'Good'
      Picture = '###'
      TextCase.CaseType = cstUpper
    end>
end
)";

TEST_F(MaskDefinitions, BadPictureInAFormIsShownOnceAndLoadingGoesOn) {
    std::vector<TMessageBoxRequest> Shown;
    ScopedMessageBoxAnswerer Answer([&](const TMessageBoxRequest& R) {
        Shown.push_back(R);
        return 1;
    });
    TgxMaskDefs Loaded(nullptr);
    ReadFormText(BadForm, Loaded);
    ASSERT_EQ(Loaded.Masks()->Count(), 2);
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_NE(Shown[0].Text.find("Error in mask Bad, invalid character ']' at position 2"),
              AnsiString::npos);
    EXPECT_EQ(Shown[0].Flags & MB_ICONINFORMATION, MB_ICONINFORMATION);
    TgxMask* Bad = Loaded.Masks()->Items(0);
    EXPECT_EQ(Bad->GetPicture(), AnsiString("#]"));
    EXPECT_TRUE(Bad->ValidText("anything", true));
    TgxMask* Good = Loaded.Masks()->Items(1);
    EXPECT_EQ(Good->GetName(), AnsiString("Good"));
    EXPECT_EQ(Good->GetTextCase()->CaseType(), cstUpper);
    EXPECT_FALSE(Good->ValidText("12a", false));
    // Once loaded, a bad picture raises again.
    EXPECT_THROW(Good->SetPicture("#]"), EgxMaskError);

    // At design time the form loads silently.
    Shown.clear();
    struct DesignedDefs : TgxMaskDefs {
        DesignedDefs() : TgxMaskDefs(nullptr) { SetDesigning(true); }
    } Designed;
    ReadFormText(BadForm, Designed);
    EXPECT_TRUE(Shown.empty());
    EXPECT_EQ(Designed.Masks()->Count(), 2);
}

TEST_F(MaskDefinitions, MasksSurviveTheFormFile) {
    TgxMask* M = Add("Phone", "(###) ###-####");
    M->SetAutoFill({mcOnExit});
    M->SetEvaluate({});
    M->GetTextCase()->SetCaseType(cstTitle);
    M->GetTextCase()->SetOptional(true);
    Add("Plain");
    TgxMaskDefs Copy(nullptr);
    CopyThroughFormFile(*Defs, Copy);
    ASSERT_EQ(Copy.Masks()->Count(), 2);
    TgxMask* C = Copy.Masks()->Items(0);
    EXPECT_EQ(C->GetName(), AnsiString("Phone"));
    EXPECT_EQ(C->GetPicture(), AnsiString("(###) ###-####"));
    EXPECT_EQ(C->GetAutoFill(), TgxMaskChecks{mcOnExit});
    EXPECT_EQ(C->GetEvaluate(), TgxMaskChecks{});
    EXPECT_EQ(C->GetTextCase()->CaseType(), cstTitle);
    EXPECT_TRUE(C->GetTextCase()->Optional());
    EXPECT_EQ(Copy.Masks()->Items(1)->GetName(), AnsiString("Plain"));
    // Defaults are not written.
    const std::string Text = FormText(*Defs);
    EXPECT_EQ(Text.find("CaseType"), Text.rfind("CaseType"));
    EXPECT_EQ(Text.find("Picture = ''"), std::string::npos);
}

TEST(MaskEntry, DisplayAndStorageTexts) {
    TgoMaskEntry E;
    E.Name = "Phone";
    E.Picture = "###";
    EXPECT_EQ(E.GetDisplayName(), AnsiString("Phone     (###)"));
    EXPECT_EQ(E.GetStorageText(), AnsiString("Phone~###\r"));
    TgoMaskEntry Back;
    Back.SetStorageText(E.GetStorageText());
    EXPECT_EQ(Back.Name, AnsiString("Phone"));
    EXPECT_EQ(Back.Picture, AnsiString("###"));
    Back.SetStorageText("Zip~#####~x");
    EXPECT_EQ(Back.Name, AnsiString("Zip"));
    EXPECT_EQ(Back.Picture, AnsiString("#####~x"));
    Back.SetStorageText("OnlyName");
    EXPECT_EQ(Back.Name, AnsiString("OnlyName"));
    EXPECT_EQ(Back.Picture, AnsiString("#####~x"));
}

} // namespace
