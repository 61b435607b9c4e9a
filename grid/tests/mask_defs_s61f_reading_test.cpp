// Mask definitions and the links that find masks in them, driven through
// their public calls and through form text as a saved form is loaded.
#include "grid/foundation/MaskDefs.h"
#include "grid/model/BaseGrid.h"
#include "grid/tests/FormTextFixture.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StrUtils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace grid;

namespace {

// A root that can be put into design state, as the designer's form is.
class DesignRoot : public TComponent {
public:
    using TComponent::TComponent;
    void Design() { SetDesigning(true); }
};

// A link that writes down what it is told.
class LogLink : public TgxMaskLink {
public:
    LogLink(std::vector<std::string>& Log, std::string Tag) : FLog(Log), FTag(std::move(Tag)) {}
    void MaskChanged(TgxMaskItem* Mask) override {
        FLog.push_back(FTag + ":changed:" + (Mask ? Mask->GetName().c_str() : "all"));
    }
    void MaskDefsDeleted() override {
        FLog.push_back(FTag + ":deleted:" + (MaskDefs() ? "linked" : "nil"));
    }

private:
    std::vector<std::string>& FLog;
    std::string FTag;
};

struct Defs {
    TComponent Root{nullptr};
    TgxMaskDefs* D = new TgxMaskDefs(&Root);
    Defs() { D->SetName("MaskDefs1"); }
    TgxMask* Add(const char* Name, const char* Picture = "") {
        TgxMask* M = D->Masks()->Add();
        M->SetName(Name);
        if (*Picture) M->SetPicture(Picture);
        return M;
    }
};

std::string RaisedMessage(const std::function<void()>& Call) {
    try {
        Call();
    } catch (const EgxMaskError& E) {
        return E.Message;
    }
    return "<nothing raised>";
}

} // namespace

TEST(MaskDefsReading, NewMaskHasBothChecksAndNoTextCaseAndIsNamedByIndex) {
    Defs F;
    TgxMask* First = F.D->Masks()->Add();
    TgxMask* Second = F.D->Masks()->Add();
    EXPECT_EQ(First->GetAutoFill(), (TgxMaskChecks{mcOnEdit, mcOnExit}));
    EXPECT_EQ(First->GetEvaluate(), (TgxMaskChecks{mcOnEdit, mcOnExit}));
    EXPECT_EQ(First->GetTextCase()->CaseType(), cstNone);
    EXPECT_FALSE(First->GetTextCase()->Optional());
    EXPECT_EQ(First->GetName(), "Mask0");
    EXPECT_EQ(Second->GetName(), "Mask1");
    EXPECT_EQ(First->GetDisplayName(), "Mask0");
    EXPECT_EQ(First->ParentComponent(), F.D);
    TgxMask Loose(nullptr);
    EXPECT_EQ(Loose.ParentComponent(), nullptr);
}

TEST(MaskDefsReading, NewMaskLandingOnATakenIndexNameIsNamedByItsIdentifier) {
    Defs F;
    F.D->Masks()->Add();
    TgxMask* Kept = F.D->Masks()->Add();
    F.D->Masks()->Delete(0);
    Kept->SetName("Mask1");
    // Index 1, identifier 2.
    TgxMask* New = F.D->Masks()->Add();
    EXPECT_EQ(New->Index(), 1);
    EXPECT_EQ(New->GetName(), AnsiString("Mask") + IntToStr(New->ID()));
    EXPECT_EQ(New->GetName(), "Mask2");
    // The first free number from the index on, the item's own name counting
    // as taken.
    EXPECT_EQ(F.D->Masks()->FindUniqueName(New), "Mask3");
    Kept->SetName("Other");
    EXPECT_EQ(F.D->Masks()->FindUniqueName(New), "Mask1");
}

TEST(MaskDefsReading, RenamingChecksOtherMasksWithoutCase) {
    Defs F;
    TgxMask* Phone = F.Add("Phone");
    TgxMask* Zip = F.Add("Zip");
    EXPECT_EQ(RaisedMessage([&] { Zip->SetName("PHONE"); }),
              "MaskDefs1: Mask 'PHONE' already exists. Mask names must be unique");
    EXPECT_EQ(Zip->GetName(), "Zip");
    int Changes = 0;
    Phone->SetOnChange([&](TObject* Sender) {
        EXPECT_EQ(Sender, Phone);
        ++Changes;
    });
    Phone->SetName("Phone");
    EXPECT_EQ(Changes, 0);
    Phone->SetName("PHONE");
    EXPECT_EQ(Phone->GetName(), "PHONE");
    EXPECT_EQ(Changes, 1);
    // A mask outside any collection checks nothing.
    TgxMask Loose(nullptr);
    Loose.SetName("PHONE");
    EXPECT_EQ(Loose.GetName(), "PHONE");
}

TEST(MaskDefsReading, SettersReportOnlyRealChangesAndUpdatesReportOnce) {
    Defs F;
    TgxMask* M = F.Add("M");
    int Changes = 0;
    M->SetOnChange([&](TObject*) { ++Changes; });
    struct Step {
        const char* What;
        std::function<void()> Call;
        int Expected;
    };
    const Step Steps[] = {
        {"same AutoFill",
         [&] {
             M->SetAutoFill({mcOnEdit, mcOnExit});
         },
         0},
        {"new AutoFill", [&] { M->SetAutoFill({mcOnExit}); }, 1},
        {"same Evaluate",
         [&] {
             M->SetEvaluate({mcOnEdit, mcOnExit});
         },
         0},
        {"new Evaluate", [&] { M->SetEvaluate({}); }, 1},
        {"picture", [&] { M->SetPicture("###"); }, 1},
        {"case type", [&] { M->GetTextCase()->SetCaseType(cstUpper); }, 1},
        {"nested updates",
         [&] {
             M->BeginUpdate();
             M->BeginUpdate();
             M->SetAutoFill({mcOnEdit});
             M->SetPicture("##");
             M->EndUpdate();
             EXPECT_EQ(Changes, 0);
             M->EndUpdate();
         },
         1},
    };
    for (const Step& S : Steps) {
        Changes = 0;
        S.Call();
        EXPECT_EQ(Changes, S.Expected) << S.What;
    }
    EXPECT_EQ(M->GetAutoFill(), TgxMaskChecks{mcOnEdit});
    EXPECT_EQ(M->GetEvaluate(), TgxMaskChecks{});
    EXPECT_EQ(M->GetPicture(), "##");
}

TEST(MaskDefsReading, TextCaseIsCopiedIntoTheMasksOwnRule) {
    Defs F;
    TgxMask* M = F.Add("M");
    TgxTextCase* Own = M->GetTextCase();
    int Changes = 0;
    M->SetOnChange([&](TObject*) { ++Changes; });
    TgxTextCase Given;
    Given.SetCaseType(cstLower);
    Given.SetOptional(true);
    M->SetTextCase(&Given);
    EXPECT_EQ(M->GetTextCase(), Own);
    EXPECT_EQ(Own->CaseType(), cstLower);
    EXPECT_TRUE(Own->Optional());
    EXPECT_EQ(Changes, 1);
}

TEST(MaskDefsReading, AssignCopiesEveryPropertyThroughItsSetterWithOneChange) {
    Defs F;
    TgxMask* Source = F.Add("Phone", "###-####");
    Source->SetAutoFill({mcOnExit});
    Source->SetEvaluate({mcOnEdit});
    Source->GetTextCase()->SetCaseType(cstUpper);
    TgxMask* Target = F.Add("Other");
    int Changes = 0;
    Target->SetOnChange([&](TObject*) { ++Changes; });

    // The name is checked: the target may not take the source's name here.
    EXPECT_EQ(RaisedMessage([&] { Target->Assign(Source); }),
              "MaskDefs1: Mask 'Phone' already exists. Mask names must be unique");

    Defs G;
    TgxMask* Copy = G.Add("Copy");
    Copy->SetOnChange([&](TObject*) { ++Changes; });
    Changes = 0;
    Copy->Assign(Source);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Copy->GetName(), "Phone");
    EXPECT_EQ(Copy->GetPicture(), "###-####");
    EXPECT_EQ(Copy->GetAutoFill(), TgxMaskChecks{mcOnExit});
    EXPECT_EQ(Copy->GetEvaluate(), TgxMaskChecks{mcOnEdit});
    EXPECT_EQ(Copy->GetTextCase()->CaseType(), cstUpper);
    EXPECT_TRUE(Copy->ValidText("555-1234", true));
    EXPECT_FALSE(Copy->ValidText("555-12x4", true));
}

TEST(MaskDefsReading, ValidTextAndInputFollowPictureAndTextCase) {
    struct Case {
        const char* Picture;
        TgxCaseType CaseType;
        bool Optional;
        const char* Text;
        bool TextValid;
        const char* Typed;
        const char* Inserted; // nullptr: the input is refused
    };
    const Case Cases[] = {
        {"", cstNone, false, "anything 1", true, "ab", "ab"},
        {"", cstUpper, true, "lower", true, "ab", "AB"},
        {"", cstUpper, false, "lower", false, "ab", "AB"},
        {"###", cstNone, false, "12a", false, "a", nullptr},
        {"###", cstNone, false, "123", true, "1", "1"},
    };
    for (const Case& C : Cases) {
        Defs F;
        TgxMask* M = F.Add("M", C.Picture);
        M->GetTextCase()->SetCaseType(C.CaseType);
        M->GetTextCase()->SetOptional(C.Optional);
        SCOPED_TRACE(std::string(C.Picture) + " / " + C.Text);
        EXPECT_EQ(M->ValidText(C.Text, true), C.TextValid);
        AnsiString Input = C.Typed;
        bool Accepted = M->ValidInput("", Input, 1, false, true);
        EXPECT_EQ(Accepted, C.Inserted != nullptr);
        if (C.Inserted) EXPECT_EQ(Input, C.Inserted);
    }
}

TEST(MaskDefsReading, BadPictureRaisesKeepsTheTextAndThenAcceptsEverything) {
    Defs F;
    TgxMask* M = F.Add("M", "###");
    int Changes = 0;
    M->SetOnChange([&](TObject*) { ++Changes; });
    std::string Message = RaisedMessage([&] { M->SetPicture("[#"); });
    EXPECT_EQ(Message.rfind("MaskDefs1: ", 0), 0u) << Message;
    EXPECT_EQ(M->GetPicture(), "[#");
    EXPECT_EQ(Changes, 1);
    EXPECT_TRUE(M->ValidText("anything at all", true));
    M->SetPicture("#");
    EXPECT_FALSE(M->ValidText("x", true));

    // Without definitions around it the message stands alone.
    TgxMask Loose(nullptr);
    Message = RaisedMessage([&] { Loose.SetPicture("[#"); });
    EXPECT_NE(Message, "<nothing raised>");
    EXPECT_NE(Message.rfind(": ", 0), 0u) << Message;
    EXPECT_EQ(Loose.GetPicture(), "[#");
}

TEST(MaskDefsReading, ParseErrorHandlerSeesTheRaiseFlagSetAndIsReattachedOnCollectionChange) {
    Defs F;
    TgxMask* M = F.Add("M");
    bool Seen = false;
    M->SetOnParseError([&](TObject* Sender, const AnsiString&, bool& Raise) {
        EXPECT_EQ(Sender, M);
        EXPECT_TRUE(Raise);
        Raise = false;
        Seen = true;
    });
    EXPECT_NO_THROW(M->SetPicture("[#"));
    EXPECT_TRUE(Seen);
    // A change of the collection puts the component's own handler back.
    F.D->Masks()->Add();
    Seen = false;
    EXPECT_THROW(M->SetPicture("[##"), EgxMaskError);
    EXPECT_FALSE(Seen);
}

TEST(MaskDefsReading, FindingMasksByNameOrIndex) {
    Defs F;
    TgxMask* First = F.Add("Phone");
    TgxMask* Second = F.Add("Mask1");
    TgxMaskCollection* C = F.D->Masks();
    EXPECT_EQ(C->GetMask(Variant(0)), First);
    EXPECT_EQ(C->GetMask(Variant(AnsiString("mask1"))), Second);
    EXPECT_EQ(F.D->GetMask(Variant(AnsiString("PHONE"))), First);
    EXPECT_EQ(C->GetMask(Variant(AnsiString("none"))), nullptr);
    EXPECT_THROW(C->GetMask(Variant(2)), EListError);
    EXPECT_EQ(C->NameIndex("MASK1"), 1);
    EXPECT_EQ(C->NameIndex("none"), -1);

    TgxMask Source(nullptr);
    Source.SetName("Phone");
    Source.SetPicture("(###)");
    F.D->SetMask(Variant(AnsiString("phone")), &Source);
    EXPECT_EQ(First->GetPicture(), "(###)");
    F.D->SetMask(Variant(AnsiString("none")), &Source);
    EXPECT_EQ(C->Count(), 2);
}

TEST(MaskDefsReading, LinksFindMasksHearOfCollectionChangesAndOfTheEnd) {
    std::vector<std::string> Log;
    auto* Root = new TComponent(nullptr);
    auto* D = new TgxMaskDefs(Root);
    D->SetName("MaskDefs1");
    auto* Other = new TgxMaskDefs(Root);
    LogLink A(Log, "a"), B(Log, "b");
    A.SetMaskDefs(D);
    B.SetMaskDefs(D);
    EXPECT_EQ(A.MaskDefs(), D);
    EXPECT_EQ(D->LinkCount(), 2);

    TgxMask* M = D->Masks()->Add();
    M->SetName("Phone");
    EXPECT_EQ(A.GetMask("phone"), M);
    EXPECT_EQ(A.GetMask(""), nullptr);
    TgxMaskLink Unlinked;
    EXPECT_EQ(Unlinked.GetMask("Phone"), nullptr);

    Log.clear();
    D->Masks()->Add();
    D->Masks()->Delete(1);
    EXPECT_EQ(Log, (std::vector<std::string>{"a:changed:all", "b:changed:all", "a:changed:all",
                                             "b:changed:all"}));

    // Moving a link over to other definitions.
    B.SetMaskDefs(Other);
    EXPECT_EQ(D->LinkCount(), 1);
    EXPECT_EQ(Other->LinkCount(), 1);
    B.SetMaskDefs(D);

    Log.clear();
    {
        LogLink Gone(Log, "gone");
        Gone.SetMaskDefs(D);
        EXPECT_EQ(D->LinkCount(), 3);
    }
    EXPECT_EQ(D->LinkCount(), 2);

    delete Root;
    EXPECT_EQ(Log, (std::vector<std::string>{"b:deleted:nil", "a:deleted:nil"}));
    EXPECT_EQ(A.MaskDefs(), nullptr);
    EXPECT_EQ(B.MaskDefs(), nullptr);
}

TEST(MaskDefsReading, StorageAndDisplayTextsOfAnEntry) {
    TgoMaskEntry E;
    E.Name = "Phone";
    E.Picture = "###";
    EXPECT_EQ(E.GetDisplayName(), "Phone     (###)");
    EXPECT_EQ(E.GetStorageText(), "Phone~###\r");
    TgoMaskEntry Back;
    Back.SetStorageText(E.GetStorageText());
    EXPECT_EQ(Back.Name, "Phone");
    EXPECT_EQ(Back.Picture, "###");
    Back.SetStorageText("Zip~#~#");
    EXPECT_EQ(Back.Name, "Zip");
    EXPECT_EQ(Back.Picture, "#~#");
    Back.SetStorageText("Zip~#\r\r");
    EXPECT_EQ(Back.Picture, "#\r");
    Back.SetStorageText("Zip~#~#");
    Back.SetStorageText("OnlyName");
    EXPECT_EQ(Back.Name, "OnlyName");
    EXPECT_EQ(Back.Picture, "#~#");
}

TEST(MaskDefsReading, MasksTravelThroughAFormFile) {
    TComponent Source(nullptr);
    auto* D = new TgxMaskDefs(&Source);
    D->SetName("MaskDefs1");
    TgxMask* M = D->Masks()->Add();
    M->SetName("Phone");
    M->SetPicture("###-####");
    M->SetAutoFill({mcOnExit});
    M->GetTextCase()->SetCaseType(cstUpper);
    D->Masks()->Add()->SetName("Mask0");

    TComponent Loaded(nullptr);
    CopyThroughFormFile(Source, Loaded);
    auto* L = dynamic_cast<TgxMaskDefs*>(Loaded.FindComponent("MaskDefs1"));
    ASSERT_NE(L, nullptr);
    ASSERT_EQ(L->Masks()->Count(), 2);
    TgxMask* Back = L->Masks()->Items(0);
    EXPECT_EQ(Back->GetName(), "Phone");
    EXPECT_EQ(Back->GetPicture(), "###-####");
    EXPECT_EQ(Back->GetAutoFill(), TgxMaskChecks{mcOnExit});
    EXPECT_EQ(Back->GetEvaluate(), (TgxMaskChecks{mcOnEdit, mcOnExit}));
    EXPECT_EQ(Back->GetTextCase()->CaseType(), cstUpper);
    EXPECT_EQ(L->Masks()->Items(1)->GetName(), "Mask0");
    EXPECT_EQ(Back->ParentComponent(), L);
}

TEST(MaskDefsReading, BadPictureInAFormIsShownOnceAtRunTimeAndSilentAtDesignTime) {
    const std::string Form = "object Root: TComponent\n"
                             "  object MaskDefs1: TgxMaskDefs\n"
                             "    Masks = <\n"
                             "      item\n"
                             "        Name = 'Bad'\n"
                             "        Picture = '[#'\n"
                             "      end\n"
                             "      item\n"
                             "        Name = 'Good'\n"
                             "        Picture = '###'\n"
                             "      end>\n"
                             "  end\n"
                             "end\n";
    for (bool Designing : {false, true}) {
        SCOPED_TRACE(Designing ? "design time" : "run time");
        TMessageBoxRecorder Boxes;
        DesignRoot Root(nullptr);
        if (Designing) Root.Design();
        ASSERT_NO_THROW(ReadFormText(Form, Root));
        auto* D = dynamic_cast<TgxMaskDefs*>(Root.FindComponent("MaskDefs1"));
        ASSERT_NE(D, nullptr);
        ASSERT_EQ(D->Masks()->Count(), 2);
        EXPECT_EQ(D->Masks()->Items(0)->GetPicture(), "[#");
        EXPECT_TRUE(D->Masks()->Items(0)->ValidText("anything", true));
        EXPECT_EQ(D->Masks()->Items(1)->GetName(), "Good");
        EXPECT_FALSE(D->Masks()->Items(1)->ValidText("12x", true));
        if (Designing) {
            EXPECT_TRUE(Boxes.Boxes.empty());
        } else {
            ASSERT_EQ(Boxes.Boxes.size(), 1u);
            EXPECT_EQ(Boxes.Boxes[0].Caption, "Information");
            EXPECT_NE(Pos("MaskDefs1: ", Boxes.Boxes[0].Text), 0);
        }
        // Once loaded, a bad picture raises again.
        EXPECT_THROW(D->Masks()->Items(1)->SetPicture("[#"), EgxMaskError);
    }
}

TEST(MaskDefsReading, AssigningTheMasksOfOtherDefinitionsCopiesEveryName) {
    const std::vector<std::vector<const char*>> Lists = {
        {"Mask1", "Mask0"},
        {"Phone", "Mask0", "Mask1"},
        {"Mask2", "Mask1", "Mask0"},
    };
    for (const auto& Names : Lists) {
        Defs From, Into;
        for (const char* N : Names)
            From.Add(N, "#");
        Into.Add("Old");
        std::vector<std::string> Log;
        LogLink Link(Log, "l");
        Link.SetMaskDefs(Into.D);
        Into.D->SetMasks(From.D->Masks());
        ASSERT_EQ(Into.D->Masks()->Count(), static_cast<int>(Names.size()));
        for (int I = 0; I < static_cast<int>(Names.size()); ++I) {
            EXPECT_EQ(Into.D->Masks()->Items(I)->GetName(), Names[static_cast<std::size_t>(I)]);
            EXPECT_EQ(Into.D->Masks()->Items(I)->GetPicture(), "#");
        }
        EXPECT_FALSE(Log.empty());
    }
}

TEST(MaskDefsReading, LinkingTwiceListsTheLinkOnceAndOddIndexesAreChecked) {
    Defs F;
    F.Add("A");
    TgxMaskLink Link;
    Link.SetMaskDefs(F.D);
    Link.SetMaskDefs(F.D);
    EXPECT_EQ(F.D->LinkCount(), 1);
    Link.SetMaskDefs(nullptr);
    EXPECT_EQ(F.D->LinkCount(), 0);
    EXPECT_EQ(Link.MaskDefs(), nullptr);
    EXPECT_THROW(F.D->GetMask(Variant(-1)), EListError);
    EXPECT_EQ(F.D->GetMask(Variant(0.0)), F.D->Masks()->Items(0));
}

TEST(MaskDefsReading, AGridLetsGoOfDefinitionsThatGoFirstAndTheyOfAGridThatGoesFirst) {
    EnsureQtApplication();
    {
        auto* Root = new TComponent(nullptr);
        auto* D = new TgxMaskDefs(Root);
        TgxBaseGrid Grid(nullptr);
        Grid.SetMaskDefs(D);
        EXPECT_EQ(Grid.GetMaskDefs(), D);
        EXPECT_EQ(D->LinkCount(), 1);
        delete Root;
        EXPECT_EQ(Grid.GetMaskDefs(), nullptr);
    }
    {
        TComponent Root(nullptr);
        auto* D = new TgxMaskDefs(&Root);
        {
            TgxBaseGrid Grid(nullptr);
            Grid.SetMaskDefs(D);
        }
        EXPECT_EQ(D->LinkCount(), 0);
        D->Masks()->Add();
    }
}
