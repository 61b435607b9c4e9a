#include "FormFixture.h"

#include "formstore/PersistUtils.h"

#include <gtest/gtest.h>

using namespace formstore;
using namespace formstore_test;

namespace {

class FormStorage : public FormFixture {};

TEST_F(FormStorage, StoredValuesFollowThePlacementInItsSection) {
    TMainFormWindow* Form = MakeForm([](TMainFormWindow&, TFormStorage& S) {
        S.SetStoredValue("LastRun", 42);
        TStoredValue* Secret = S.StoredValues()->Add();
        Secret->SetName("Password");
        Secret->SetKeyString("k3y");
        Secret->SetValue(Variant("open sesame"));
    });
    Form->Show();
    Form->Close();
    const TValues Saved = StoredValues();
    ASSERT_GE(Saved.size(), 2u);
    EXPECT_EQ(Saved[Saved.size() - 2], (std::pair<AnsiString, AnsiString>{"LastRun", "42"}));
    EXPECT_EQ(Saved.back(),
              (std::pair<AnsiString, AnsiString>{"Password", XorEncode("k3y", "open sesame")}));

    TMainFormWindow* Next = MakeForm([](TMainFormWindow&, TFormStorage& S) {
        S.SetStoredValue("LastRun", 0);
        TStoredValue* Secret = S.StoredValues()->Add();
        Secret->SetName("Password");
        Secret->SetKeyString("k3y");
        Secret->OnRestore = [](TStoredValue*, Variant& Value) {
            Value = Variant(Value.AsString() + "!");
        };
    });
    Next->Show();
    TFormStorage* Storage = StorageOf(Next);
    EXPECT_EQ(Storage->GetStoredValue("lastrun").Type(), varString);
    EXPECT_EQ(Storage->GetStoredValue("LastRun").AsString(), "42");
    EXPECT_EQ(Storage->GetStoredValue("Password").AsString(), "open sesame!");
    EXPECT_TRUE(Storage->GetStoredValue("Unknown").IsNull());
}

TEST_F(FormStorage, AValueWithoutAStoredEntryKeepsItsOwnValueAsText) {
    TMainFormWindow* Form = MakeForm([](TMainFormWindow&, TFormStorage& S) {
        for (const char* Key : {"", "key"}) {
            TStoredValue* Value = S.StoredValues()->Add();
            Value->SetName(AnsiString("Plain") + Key);
            Value->SetKeyString(Key);
            Value->SetValue(Variant(7));
        }
    });
    Form->Show();
    TFormStorage* Storage = StorageOf(Form);
    EXPECT_EQ(Storage->GetStoredValue("Plain").AsString(), "7");
    EXPECT_EQ(Storage->GetStoredValue("Plainkey").AsString(), "7");
    EXPECT_EQ(Storage->GetStoredValue("Plainkey").Type(), varString);
}

TEST_F(FormStorage, ValueNamesAreUniqueWithoutRegardToCase) {
    TMainFormWindow* Form = MakeForm();
    TStoredValues* Values = StorageOf(Form)->StoredValues();
    Values->SetStoredValue("Width", 1);
    TStoredValue* Other = Values->Add();
    EXPECT_THROW(
        try { Other->SetName("WIDTH"); } catch (const Exception& E) {
            EXPECT_EQ(E.Message, "String list does not allow duplicates");
            throw;
        },
        EStringListError);
    EXPECT_EQ(Other->Name(), "");
    Values->Items(0)->SetName("width");
    EXPECT_EQ(Values->IndexOf("WIDTH"), 0);

    // Assigning copies the name, key and value; an empty value clears.
    TStoredValue* Copy = Values->Add();
    Other->SetName("Height");
    Other->SetKeyString("k");
    Copy->SetValue(Variant(5));
    Copy->Assign(Other);
    EXPECT_EQ(Copy->Name(), "Height");
    EXPECT_EQ(Copy->KeyString(), "k");
    EXPECT_TRUE(Copy->Value().IsEmpty());
}

TEST_F(FormStorage, AStoredPropertyLineGoesWithItsComponent) {
    TMainFormWindow* Form = MakeForm();
    auto* Edit = new TWinControl(Form);
    Edit->SetName("Edit1");
    TStringList Lines;
    Lines.AddObject("Edit1.Text", Edit);
    Lines.Add("Other.Caption");
    TFormStorage* Storage = StorageOf(Form);
    Storage->SetStoredProps(&Lines);
    EXPECT_EQ(Storage->StoredProps()->Count(), 2);
    delete Edit;
    EXPECT_EQ(Storage->StoredProps()->Count(), 1);
    EXPECT_EQ((*Storage->StoredProps())[0], "Other.Caption");
}

} // namespace
