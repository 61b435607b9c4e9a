#include "grid/foundation/MaskDefs.h"
#include "grid/tests/FormTextFixture.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

using namespace grid;

namespace {

class RecordingLink : public TgxMaskLink {
public:
    void MaskChanged(TgxMaskItem* Mask) override {
        Changes.push_back(Mask);
        if (OnChanged) OnChanged();
    }
    void MaskDefsDeleted() override {
        ++Deleted;
        SeenDefsAfterDelete = MaskDefs();
    }
    std::vector<TgxMaskItem*> Changes;
    std::function<void()> OnChanged;
    int Deleted = 0;
    TgxMaskDefsComponent* SeenDefsAfterDelete = nullptr;
};

class TestDefs : public TgxMaskDefs {
public:
    using TgxMaskDefs::TgxMaskDefs;
};

std::unique_ptr<TestDefs> MakeDefs() {
    auto Defs = std::make_unique<TestDefs>(nullptr);
    Defs->SetName("Defs");
    return Defs;
}

TEST(MaskDefs, NamesAreUniqueWithoutCase) {
    auto Defs = MakeDefs();
    TgxMask* First = Defs->Masks()->Add();
    TgxMask* Second = Defs->Masks()->Add();
    EXPECT_EQ(First->GetName(), "Mask0");
    EXPECT_EQ(Second->GetName(), "Mask1");
    try {
        Second->SetName("MASK0");
        ADD_FAILURE();
    } catch (const EgxMaskError& E) {
        EXPECT_EQ(E.Message, "Defs: Mask 'MASK0' already exists. Mask names must be unique");
    }
    EXPECT_EQ(Second->GetName(), "Mask1");
    Second->SetName("MASK1"); // its own name in other case
    EXPECT_EQ(Second->GetName(), "MASK1");

    // A new mask at index 1 while Mask1 exists takes its identifier instead.
    auto Other = MakeDefs();
    Other->Masks()->Add();
    Other->Masks()->Add();
    Other->Masks()->Delete(0); // "Mask1" is now at index 0
    TgxMask* Third = Other->Masks()->Add();
    EXPECT_EQ(Third->ID(), 2);
    EXPECT_EQ(Third->GetName(), "Mask2");
    EXPECT_EQ(Other->Masks()->FindUniqueName(Third), "Mask3"); // Mask1, Mask2 are taken
}

TEST(MaskDefs, FindsMasksByNameOrIndex) {
    auto Defs = MakeDefs();
    TgxMask* First = Defs->Masks()->Add();
    TgxMask* Second = Defs->Masks()->Add();
    EXPECT_EQ(Defs->GetMask(Variant(0)), First);
    EXPECT_EQ(Defs->GetMask(Variant("mask1")), Second);
    EXPECT_EQ(Defs->GetMask(Variant("nothing")), nullptr);
    EXPECT_THROW(Defs->GetMask(Variant(2)), EListError);

    RecordingLink Link;
    EXPECT_EQ(Link.GetMask("Mask0"), nullptr); // not linked yet
    Link.SetMaskDefs(Defs.get());
    EXPECT_EQ(Link.GetMask("MASK0"), First);
    EXPECT_EQ(Link.GetMask(""), nullptr);

    Second->SetPicture("###");
    Defs->SetMask(Variant("absent"), Second); // nothing to assign to
    EXPECT_EQ(First->GetPicture(), "");
    EXPECT_THROW(Defs->SetMask(Variant("mask0"), Second), EgxMaskError); // the name is copied too
}

TEST(MaskDefs, AssignCopiesEverySettingInOneChange) {
    auto Defs = MakeDefs();
    TgxMask* Source = Defs->Masks()->Add();
    Source->SetAutoFill({mcOnExit});
    Source->SetEvaluate({});
    Source->GetTextCase()->SetCaseType(cstLower);
    Source->SetPicture("(###)");
    auto Target = std::make_unique<TgxMaskCollection>(nullptr);
    TgxMask* Copy = Target->Add();
    int Changes = 0;
    Copy->SetOnChange([&Changes](TObject*) { ++Changes; });
    Copy->Assign(Source);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Copy->GetAutoFill(), TgxMaskChecks{mcOnExit});
    EXPECT_TRUE(Copy->GetEvaluate().Empty());
    EXPECT_EQ(Copy->GetName(), "Mask0");
    EXPECT_EQ(Copy->GetTextCase()->CaseType(), cstLower);
    EXPECT_EQ(Copy->GetPicture(), "(###)");
    EXPECT_NE(Copy->GetTextCase(), Source->GetTextCase());
}

TEST(MaskDefs, TextCaseAloneAppliesToInput) {
    auto Defs = MakeDefs();
    TgxMask* Mask = Defs->Masks()->Add();
    Mask->GetTextCase()->SetCaseType(cstUpper);
    Mask->GetTextCase()->SetOptional(true);
    EXPECT_TRUE(Mask->ValidText("lower case", true));
    AnsiString Input = "ab1";
    EXPECT_TRUE(Mask->ValidInput("X", Input, 2, false, true));
    EXPECT_EQ(Input, "AB1");

    Mask->GetTextCase()->SetOptional(false); // now binding on the whole text
    EXPECT_FALSE(Mask->ValidText("lower case", true));
    Mask->GetTextCase()->SetCaseType(cstNone);
    Input = "ab";
    EXPECT_TRUE(Mask->ValidInput("", Input, 1, true, true));
    EXPECT_EQ(Input, "ab");
}

// A form the designer has open, or one loaded by the running program.
class LoadedForm : public TForm {
public:
    explicit LoadedForm(bool Designing) : TForm(nullptr) {
        if (Designing) SetDesigning(true);
    }
};

TEST(MaskDefs, PictureErrorsFollowTheLoadingState) {
    const AnsiString Message = "Defs: Error in mask Mask0, expected '}' at position 4";
    const std::string Form = "object Form1: TForm\n"
                             "  object Defs: TgxMaskDefs\n"
                             "    Masks = <\n"
                             "      item\n        Name = 'Mask0'\n        Picture = '{##'\n"
                             "      end\n      item\n        Name = 'Mask1'\n"
                             "        Picture = '###'\n      end>\n"
                             "  end\n"
                             "end\n";

    const struct {
        bool Reading, Designing, Raises;
        size_t Shown;
    } Cases[] = {{false, false, true, 0},
                 {true, false, false, 1},
                 {true, true, false, 0},
                 {false, true, true, 0}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(testing::Message() << "reading " << C.Reading << " designing " << C.Designing);
        TMessageBoxRecorder Boxes;
        LoadedForm Owner(C.Designing);
        TgxMask* Mask = nullptr;
        if (C.Reading) {
            ReadFormText(Form, Owner); // goes on past the bad picture
            auto* Defs = dynamic_cast<TgxMaskDefs*>(Owner.FindComponent("Defs"));
            ASSERT_NE(Defs, nullptr);
            ASSERT_EQ(Defs->Masks()->Count(), 2);
            EXPECT_EQ(Defs->Masks()->Items(1)->GetPicture(), "###");
            Mask = Defs->Masks()->Items(0);
        } else {
            auto* Defs = new TgxMaskDefs(&Owner);
            Defs->SetName("Defs");
            Mask = Defs->Masks()->Add();
            try {
                Mask->SetPicture("{##");
                ADD_FAILURE();
            } catch (const EgxMaskError& E) {
                EXPECT_EQ(E.Message, Message);
            }
        }
        // At run time the framework's information dialog, one OK button.
        ASSERT_EQ(Boxes.Boxes.size(), C.Shown);
        if (C.Shown) {
            EXPECT_EQ(Boxes.Boxes[0].Text, Message);
            EXPECT_EQ(Boxes.Boxes[0].Caption, "Information");
            EXPECT_EQ(Boxes.Boxes[0].Flags & MB_ICONMASK, MB_ICONINFORMATION);
            EXPECT_EQ(Boxes.Boxes[0].Flags & MB_TYPEMASK, MB_OK);
        }
        EXPECT_EQ(Mask->GetPicture(), "{##"); // kept, and accepts anything
        EXPECT_TRUE(Mask->ValidText("abc", true));
    }
}

TEST(MaskDefs, LinksHearOfChangesAndOfTheEnd) {
    auto Defs = MakeDefs();
    RecordingLink A, B, C;
    for (RecordingLink* L : {&A, &B, &C})
        L->SetMaskDefs(Defs.get());
    EXPECT_EQ(Defs->LinkCount(), 3);

    // A link that leaves while being told, and takes another with it.
    A.OnChanged = [&] {
        A.SetMaskDefs(nullptr);
        B.SetMaskDefs(nullptr);
    };
    TgxMask* Mask = Defs->Masks()->Add();
    EXPECT_EQ(A.Changes.size(), 1u);
    EXPECT_TRUE(B.Changes.empty()); // gone before its turn
    EXPECT_EQ(C.Changes.size(), 1u);
    EXPECT_EQ(Defs->LinkCount(), 1);

    Mask->SetPicture("##"); // a mask's own change goes to its OnChange only
    EXPECT_EQ(C.Changes.size(), 1u);
    Defs->Masks()->Delete(0);
    EXPECT_EQ(C.Changes.size(), 2u);

    {
        RecordingLink Brief;
        Brief.SetMaskDefs(Defs.get());
        EXPECT_EQ(Defs->LinkCount(), 2);
    } // unregisters itself
    EXPECT_EQ(Defs->LinkCount(), 1);

    A.SetMaskDefs(Defs.get());
    Defs.reset();
    EXPECT_EQ(A.Deleted, 1);
    EXPECT_EQ(C.Deleted, 1);
    EXPECT_EQ(B.Deleted, 0);
    EXPECT_EQ(A.MaskDefs(), nullptr);
    EXPECT_EQ(C.SeenDefsAfterDelete, nullptr);
}

TEST(MaskDefs, EntryTexts) {
    TgoMaskEntry Entry;
    Entry.Name = "Phone";
    Entry.Picture = "###";
    EXPECT_EQ(Entry.GetDisplayName(), "Phone     (###)");
    EXPECT_EQ(Entry.GetStorageText(), "Phone~###\r");

    const struct {
        const char* Text;
        const char* Name;
        const char* Picture;
    } Cases[] = {{"Phone~###\r", "Phone", "###"},
                 {"Zip~#####", "Zip", "#####"},
                 {"Odd~a~b\r", "Odd", "a~b"},
                 {"JustAName", "JustAName", "kept"}};
    for (const auto& C : Cases) {
        TgoMaskEntry Back;
        Back.Picture = "kept";
        Back.SetStorageText(C.Text);
        EXPECT_EQ(Back.Name, C.Name);
        EXPECT_EQ(Back.Picture, C.Picture);
    }
}

} // namespace
