// Stored values and stored properties of a form storage: what goes into the
// placement's section, in which order and text, and what comes back.
#include "FormFixture.h"

#include "formstore/PersistUtils.h"

#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Streams.h"

using namespace formstore;
using namespace formstore_test;

namespace {

class FormStorageReading : public FormFixture {
protected:
    // A form with an edit "Edit1" whose Text is "typed", keeping Edit1.Text
    // and two values.
    TMainFormWindow* MakeStoringForm(const TSetup& More = {}) {
        return MakeForm([&](TMainFormWindow& Form, TFormStorage& Storage) {
            auto* Edit = new TEdit(&Form);
            Edit->SetName("Edit1");
            Edit->SetParent(&Form);
            Edit->SetText("typed");
            Storage.StoredProps()->Add("Edit1.Text");
            Storage.StoredProps()->Add("Gone.Text");
            Storage.SetStoredValue("Count", 42);
            TStoredValue* Secret = Storage.StoredValues()->Add();
            Secret->SetName("Secret");
            Secret->SetKeyString("key");
            Secret->SetValue("abc");
            if (More) More(Form, Storage);
        });
    }
    static TEdit* EditOf(TCustomForm* Form) { return dynamic_cast<TEdit*>(Form->FindComponent("Edit1")); }
};

TEST_F(FormStorageReading, PropertiesAndValuesFollowThePlacementInOneSection) {
    TMainFormWindow* F = MakeStoringForm();
    EXPECT_EQ(StorageOf(F)->StoredProps()->Count(), 1) << "a line naming no component is dropped";
    F->Show();
    F->Close();
    const TValues Values = StoredValues();
    ASSERT_GE(Values.size(), 4u);
    std::vector<AnsiString> Tail;
    for (size_t I = Values.size() - 4; I < Values.size(); ++I) Tail.push_back(Values[I].first);
    EXPECT_EQ(Tail, (std::vector<AnsiString>{"Visible", "Edit1_Text", "Count", "Secret"}));
    EXPECT_EQ(ValueOf(Values, "Edit1_Text"), "typed");
    EXPECT_EQ(ValueOf(Values, "Count"), "42");
    EXPECT_EQ(ValueOf(Values, "Secret"), XorEncode("key", "abc"));
    EXPECT_NE(ValueOf(Values, "Secret"), "abc");
    for (char C : ValueOf(Values, "Secret"))
        EXPECT_TRUE((C >= '0' && C <= '9') || (C >= 'a' && C <= 'f')) << ValueOf(Values, "Secret");

    TMainFormWindow* G = MakeStoringForm([](TMainFormWindow& Form, TFormStorage& Storage) {
        dynamic_cast<TEdit*>(Form.FindComponent("Edit1"))->SetText("other");
        Storage.SetStoredValue("Count", 7);
        Storage.SetStoredValue("Secret", "zzz");
    });
    G->Show();
    EXPECT_EQ(EditOf(G)->Text(), "typed");
    const Variant Count = StorageOf(G)->GetStoredValue("Count");
    EXPECT_EQ(Count.Type(), varString);
    EXPECT_EQ(Count.AsString(), "42");
    EXPECT_EQ(StorageOf(G)->GetStoredValue("Secret").AsString(), "abc");
}

TEST_F(FormStorageReading, MissingEntriesGiveBackTheCurrentValueAsText) {
    TMainFormWindow* F = MakeStoringForm();
    F->Show();
    TFormStorage* S = StorageOf(F);
    EXPECT_EQ(S->GetStoredValue("Count").Type(), varString);
    EXPECT_EQ(S->GetStoredValue("Count").AsString(), "42");
    EXPECT_EQ(S->GetStoredValue("Secret").AsString(), "abc");
    EXPECT_EQ(EditOf(F)->Text(), "typed");
    EXPECT_TRUE(S->GetStoredValue("Nothing").IsNull());
}

TEST_F(FormStorageReading, HandlersSeeAndChangeTheValueOnItsWay) {
    std::vector<AnsiString> Seen;
    auto Setup = [&](TMainFormWindow&, TFormStorage& Storage) {
        TStoredValue* V = Storage.StoredValues()->Add();
        V->SetName("Size");
        V->SetValue(3);
        V->OnSave = [&](TStoredValue* Sender, Variant& Value) {
            Seen.push_back("save " + Sender->Name() + " " + Value.AsString());
            Value = Value.AsInteger() * 10;
        };
        V->OnRestore = [&](TStoredValue*, Variant& Value) {
            Seen.push_back("restore " + Value.AsString());
            Value = Value.AsInteger() + 1;
        };
    };
    TMainFormWindow* F = MakeForm(Setup);
    F->Show();
    F->Close();
    EXPECT_EQ(ValueOf(StoredValues(), "Size"), "40");
    EXPECT_EQ(StorageOf(F)->GetStoredValue("Size").AsInteger(), 3 + 1)
        << "the first restore found nothing stored";
    TMainFormWindow* G = MakeForm(Setup);
    G->Show();
    EXPECT_EQ(StorageOf(G)->GetStoredValue("Size").Type(), varInteger);
    EXPECT_EQ(StorageOf(G)->GetStoredValue("Size").AsInteger(), 41);
    EXPECT_EQ(Seen, (std::vector<AnsiString>{"restore 3", "save Size 4", "restore 40"}));
    Forms.clear();
    EXPECT_EQ(Seen.back(), "save Size 41");
}

TEST_F(FormStorageReading, StoredValueNamedLikeAPropertyWinsAtSave) {
    TMainFormWindow* F = MakeStoringForm([](TMainFormWindow&, TFormStorage& Storage) {
        Storage.SetStoredValue("Edit1_Text", "from the value");
    });
    F->Show();
    F->Close();
    EXPECT_EQ(ValueOf(StoredValues(), "Edit1_Text"), "from the value");
}

TEST_F(FormStorageReading, NamesAreUniqueWithoutRegardToCase) {
    TMainFormWindow* F = MakeForm();
    TStoredValues* Values = StorageOf(F)->StoredValues();
    TStoredValue* A = Values->Add();
    A->SetName("Width");
    TStoredValue* B = Values->Add();
    B->SetName("Height");
    try {
        B->SetName("WIDTH");
        ADD_FAILURE() << "duplicate accepted";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message, "String list does not allow duplicates");
    }
    EXPECT_EQ(B->Name(), "Height");
    A->SetName("WIDTH");
    EXPECT_EQ(A->Name(), "WIDTH");
    EXPECT_EQ(Values->IndexOf("width"), 0);
    EXPECT_EQ(Values->IndexOf("none"), -1);

    TStoredValue* Unnamed = Values->Add();
    EXPECT_EQ(Unnamed->GetDisplayName(), "TStoredValue");
    EXPECT_EQ(A->GetDisplayName(), "WIDTH");

    StorageOf(F)->SetStoredValue("Depth", 5);
    EXPECT_EQ(Values->Count(), 4);
    EXPECT_EQ(StorageOf(F)->GetStoredValue("depth").AsInteger(), 5);
}

TEST_F(FormStorageReading, AssignCopiesNameValueAndKey) {
    TMainFormWindow* F = MakeForm();
    TStoredValues* Values = StorageOf(F)->StoredValues();
    TStoredValue* Source = Values->Add();
    Source->SetName("Source");
    Source->SetValue(12);
    Source->SetKeyString("k");
    TStoredValues Other(nullptr);
    TStoredValue* Target = Other.Add();
    Target->SetValue("old");
    Target->Assign(Source);
    EXPECT_EQ(Target->Name(), "Source");
    EXPECT_EQ(Target->Value().AsInteger(), 12);
    EXPECT_EQ(Target->KeyString(), "k");
    TStoredValue* Empty = Values->Add();
    Target->Assign(Empty);
    EXPECT_TRUE(Target->Value().IsEmpty());
    Target->SetValue(1);
    TPersistent Stranger;
    Target->Assign(&Stranger);
    EXPECT_EQ(Target->Value().AsInteger(), 1);
}

TEST_F(FormStorageReading, FreeingAComponentDropsItsLines) {
    TMainFormWindow* F = MakeStoringForm();
    TFormStorage* S = StorageOf(F);
    ASSERT_EQ(S->StoredProps()->Count(), 1);
    delete EditOf(F);
    EXPECT_EQ(S->StoredProps()->Count(), 0);
    F->Show();
    F->Close();
    EXPECT_EQ(ValueOf(StoredValues(), "Edit1_Text"), "<missing>");
}

TEST_F(FormStorageReading, LinesSetFromAListFollowTheirComponentsEvenOnAnotherForm) {
    TMainFormWindow* F = MakeForm();
    TMainFormWindow Other(nullptr);
    auto* Edit = new TEdit(&Other);
    Edit->SetName("Far");
    Edit->SetText("far text");
    TStringList Lines;
    Lines.AddObject("Far.Text", Edit);
    TFormStorage* S = StorageOf(F);
    S->SetStoredProps(&Lines);
    ASSERT_EQ(S->StoredProps()->Count(), 1);
    EXPECT_EQ(S->StoredProps()->Objects(0), Edit);
    delete Edit;
    EXPECT_EQ(S->StoredProps()->Count(), 0);
    F->Show();
    F->Close();
    EXPECT_EQ(ValueOf(StoredValues(), "Far_Text"), "<missing>");
}

TEST_F(FormStorageReading, ABadStoredPropertyIsSkippedAndTheRestIsRestored) {
    Store({{"Edit1_Tag", "not a number"}, {"Edit1_Text", "kept"}, {"Count", "9"}});
    TMainFormWindow* F = MakeStoringForm([](TMainFormWindow&, TFormStorage& Storage) {
        Storage.StoredProps()->Insert(0, "Edit1.Tag");
    });
    F->Show();
    EXPECT_TRUE(Errors.empty());
    EXPECT_EQ(EditOf(F)->Text(), "kept");
    EXPECT_EQ(StorageOf(F)->GetStoredValue("Count").AsString(), "9");
}

TEST_F(FormStorageReading, FormStreamNamesRenamedComponentsAndLeavesEmptyValuesOut) {
    TMainFormWindow* F = MakeStoringForm([](TMainFormWindow&, TFormStorage& Storage) {
        Storage.StoredValues()->Add()->SetName("Blank");
    });
    EditOf(F)->SetName("Renamed");
    StorageOf(F)->StoredProps()->Add("Ghost.Text");
    TMemoryStream Binary;
    WriteComponentRes(&Binary, F);
    Binary.SetPosition(0);
    TStringStream Text;
    ObjectBinaryToText(&Binary, &Text);
    const AnsiString Form = Text.DataString();
    EXPECT_NE(Form.find("'Renamed.Text'"), AnsiString::npos) << Form;
    EXPECT_EQ(Form.find("'Edit1.Text'"), AnsiString::npos) << Form;
    const auto Blank = Form.find("'Blank'");
    ASSERT_NE(Blank, AnsiString::npos) << Form;
    const auto End = Form.find("end", Blank);
    EXPECT_EQ(Form.substr(Blank, End - Blank).find("Value"), AnsiString::npos) << Form;
    EXPECT_NE(Form.find("Value = 42"), AnsiString::npos) << Form;
    EXPECT_EQ(Form.find("Ghost"), AnsiString::npos) << Form;

    // Read back, the storage binds its lines and takes over the form's show.
    Store({{"Renamed_Text", "restored"}, {"NormPos", "10,20,300,400"}});
    auto Copy = std::make_unique<TMainFormWindow>(nullptr);
    Binary.SetPosition(0);
    ReadComponentRes(&Binary, Copy.get());
    TFormStorage* S = StorageOf(Copy.get());
    ASSERT_NE(S, nullptr);
    ASSERT_EQ(S->StoredProps()->Count(), 1);
    EXPECT_EQ(S->StoredProps()->Objects(0), Copy->FindComponent("Renamed"));
    EXPECT_EQ(S->GetStoredValue("Count").AsInteger(), 42);
    EXPECT_TRUE(S->UseRegistry());
    Copy->Show();
    EXPECT_EQ(dynamic_cast<TEdit*>(Copy->FindComponent("Renamed"))->Text(), "restored");
    EXPECT_EQ(Copy->Left(), 10);
}

} // namespace
