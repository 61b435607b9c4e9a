// Published property storage: the value names and texts of every kind, the
// stored-item lines kept in step with the form, values that don't fit left
// alone, and a form storage that keeps a memo's lines, a check box's state
// and an edit's font in the registry and in an INI file.
#include "FormFixture.h"

#include "formstore/PropsStorage.h"

#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/classes/fuzz/StreamFixture.h"
#include "platform/gui/StdCtrls.h"
#include "platform/registry/IniFiles.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <map>

using namespace formstore;
using namespace formstore_test;
using namespace stream_fixture;

namespace {

// A storage in memory: sections of values in the order written.
struct TMemoryStore {
    std::map<AnsiString, TValues> Sections;
    std::vector<AnsiString> Erased;

    void Attach(TPropsStorage& S) {
        S.OnWriteString = [this](const AnsiString& Sec, const AnsiString& Item,
                                 const AnsiString& V) {
            for (auto& Pair : Sections[Sec])
                if (Pair.first == Item) {
                    Pair.second = V;
                    return;
                }
            Sections[Sec].emplace_back(Item, V);
        };
        S.OnReadString = [this](const AnsiString& Sec, const AnsiString& Item,
                                const AnsiString& D) {
            for (const auto& Pair : Sections[Sec])
                if (Pair.first == Item) return Pair.second;
            return D;
        };
        S.OnEraseSection = [this](const AnsiString& Sec) {
            Erased.push_back(Sec);
            Sections.erase(Sec);
        };
    }
    AnsiString Value(const AnsiString& Sec, const AnsiString& Item) const {
        auto It = Sections.find(Sec);
        if (It == Sections.end()) return "<none>";
        for (const auto& Pair : It->second)
            if (Pair.first == Item) return Pair.second;
        return "<none>";
    }
};

struct TDecimalSeparator {
    char Saved = FormatSettings().DecimalSeparator;
    explicit TDecimalSeparator(char C) { FormatSettings().DecimalSeparator = C; }
    ~TDecimalSeparator() { FormatSettings().DecimalSeparator = Saved; }
};

class PropsStorage : public FormFixture {
protected:
    // Form1 with Memo1, CheckBox1, Edit1 and Box1; Form2 with Target.
    void SetUp() override {
        FormFixture::SetUp();
        RegisterStreamFixture();
        Form1 = std::make_unique<TForm>(nullptr);
        Form1->SetName("Form1");
        Memo = new TMemo(Form1.get());
        Memo->SetName("Memo1");
        Memo->SetParent(Form1.get());
        Check = new TCheckBox(Form1.get());
        Check->SetName("CheckBox1");
        Check->SetParent(Form1.get());
        Edit = new TEdit(Form1.get());
        Edit->SetName("Edit1");
        Edit->SetParent(Form1.get());
        Box = new TBox(Form1.get());
        Box->SetName("Box1");
        Form2 = std::make_unique<TForm>(nullptr);
        Form2->SetName("Form2");
        Target = new TBox(Form2.get());
        Target->SetName("Target");
    }
    void TearDown() override {
        Form1.reset();
        Form2.reset();
        FormFixture::TearDown();
    }

    void Store(const std::vector<AnsiString>& Lines) {
        Run(Lines, &TPropsStorage::StoreObjectsProps);
    }
    void Load(const std::vector<AnsiString>& Lines) {
        Run(Lines, &TPropsStorage::LoadObjectsProps);
    }
    void Run(const std::vector<AnsiString>& Lines,
             void (TPropsStorage::*Action)(TComponent*, TStrings*)) {
        TStringList List;
        for (const AnsiString& L : Lines)
            List.Add(L);
        UpdateStoredList(Form1.get(), &List, true);
        TPropsStorage S;
        S.SetSection("Beacon Mill");
        Mem.Attach(S);
        (S.*Action)(Form1.get(), &List);
    }

    std::unique_ptr<TForm> Form1, Form2;
    TMemo* Memo = nullptr;
    TCheckBox* Check = nullptr;
    TEdit* Edit = nullptr;
    TBox* Box = nullptr;
    TBox* Target = nullptr;
    TMemoryStore Mem;
};

TEST_F(PropsStorage, ValueNamesAndTextsOfEveryKind) {
    TDecimalSeparator Comma(',');
    Memo->Lines()->Add("first line");
    Memo->Lines()->Add("  indented");
    Check->SetState(cbChecked);
    Edit->Font()->SetStyle(TFontStyles{fsBold, fsUnderline});
    Box->SetShades(TShades{shNone, shDark});
    Box->SetRatio(2.5);
    Box->SetLetter('q');
    Box->SetWide(-5000000000LL);
    Box->SetCaption("  padded  ");
    Box->SetExtra(Variant(7));
    Box->SetLink(Target);
    static_cast<TEntry*>(Box->Entries()->Add())->SetCaption("one");
    static_cast<TEntry*>(Box->Entries()->Add())->SetWeight(4);

    Store({"Memo1.Lines", "CheckBox1.State", "Edit1.Font", "Box1.Shades", "Box1.Ratio",
           "Box1.Letter", "Box1.Wide", "Box1.Caption", "Box1.Extra", "Box1.Link", "Box1.Entries",
           "Box1.Sample", "Box1.Missing"});

    const AnsiString S = "Beacon Mill";
    EXPECT_EQ(Mem.Sections[S + ".Memo1_Lines"],
              (TValues{{"Count", "2"}, {"Item0", "first line"}, {"Item1", "  indented"}}));
    const std::pair<AnsiString, AnsiString> Expected[] = {
        {"CheckBox1_State", "cbChecked"},
        {"Edit1_FontName", Edit->Font()->Name()},
        {"Edit1_FontHeight", IntToStr(Edit->Font()->Height())},
        {"Edit1_FontPitch", "fpDefault"},
        {"Edit1_FontStyle", "[fsBold,fsUnderline]"},
        {"Box1_Shades", "[shNone,shDark]"},
        {"Box1_Ratio", "2.5"},
        {"Box1_Letter", "q"},
        {"Box1_Wide", "-5000000000"},
        {"Box1_Caption", "padded"},
        {"Box1_Extra", "7"},
        {"Box1_Link", "Form2.Target"},
        {"Box1_Entries.Count", "2"},
        {"Box1_SampleFace", "Sans"},
        {"Box1_SampleSize", "8"},
        {"Box1_SampleStyle", "[]"},
    };
    for (const auto& [Name, Text] : Expected)
        EXPECT_EQ(Mem.Value(S, Name), Text) << Name;
    EXPECT_EQ(Mem.Value(S + ".Box1_Entries", "Item0_Caption"), "one");
    EXPECT_EQ(Mem.Value(S + ".Box1_Entries", "Item1_Weight"), "4");
    EXPECT_EQ(Mem.Value(S, "Box1_Missing"), "<none>");
}

TEST_F(PropsStorage, EverythingReadsBackUnderAnotherDecimalSeparator) {
    {
        TDecimalSeparator Comma(',');
        Memo->Lines()->Add("kept");
        Check->SetState(cbGrayed);
        Edit->Font()->SetName("DejaVu Serif");
        Edit->Font()->SetStyle(TFontStyles{fsItalic});
        Box->SetRatio(-0.125);
        Box->SetShades(TShades{shLight, shDeep});
        Box->SetLink(Target);
        static_cast<TEntry*>(Box->Entries()->Add())->SetShade(shDark);
        Store({"Memo1.Lines", "CheckBox1.State", "Edit1.Font", "Box1.Ratio", "Box1.Shades",
               "Box1.Link", "Box1.Entries"});
    }
    Memo->Lines()->Clear();
    Check->SetState(cbUnchecked);
    Edit->Font()->SetName("Liberation Sans");
    Edit->Font()->SetStyle(TFontStyles{});
    Box->SetRatio(0);
    Box->SetShades(TShades{});
    TBox Placeholder(nullptr);
    Box->SetLink(&Placeholder);
    Box->Entries()->Clear();

    TDecimalSeparator Dot('.');
    Load({"Memo1.Lines", "CheckBox1.State", "Edit1.Font", "Box1.Ratio", "Box1.Shades", "Box1.Link",
          "Box1.Entries"});
    EXPECT_EQ(Memo->Lines()->Count(), 1);
    EXPECT_EQ(Memo->Lines()->Strings(0), "kept");
    EXPECT_EQ(Check->State(), cbGrayed);
    EXPECT_EQ(Edit->Font()->Name(), "DejaVu Serif");
    EXPECT_EQ(Edit->Font()->Style(), TFontStyles{fsItalic});
    EXPECT_EQ(Box->Ratio(), -0.125);
    EXPECT_EQ(Box->Shades(), (TShades{shLight, shDeep}));
    EXPECT_EQ(Box->Link(), Target); // found among the open forms
    ASSERT_EQ(Box->Entries()->Count(), 1);
    EXPECT_EQ(static_cast<TEntry*>(Box->Entries()->Items(0))->Shade(), shDark);
}

TEST_F(PropsStorage, ValuesThatDoNotFitLeaveTheirProperty) {
    Memo->Lines()->Add("current");
    Box->SetShade(shLight);
    Box->SetRatio(1.5);
    Box->SetLeft(9);
    Box->SetLink(Target);
    const AnsiString S = "Beacon Mill";
    Mem.Sections[S] = {{"Box1_Shade", "shPurple"},
                       {"Box1_Ratio", "1,5x"},
                       {"Box1_Shades", "[shLight, shPink, shDeep]"},
                       {"Box1_Left", "nine"},
                       {"Box1_Link", "(NULL)"}};
    Mem.Sections[S + ".Memo1_Lines"] = {{"Count", "0"}, {"Item0", "ignored"}};
    Load({"Box1.Shade", "Box1.Ratio", "Box1.Shades", "Box1.Left", "Box1.Link", "Memo1.Lines"});
    EXPECT_EQ(Box->Shade(), shLight);
    EXPECT_EQ(Box->Ratio(), 1.5);
    EXPECT_EQ(Box->Shades(), (TShades{shLight, shDeep})); // unknown words skipped
    EXPECT_EQ(Box->Left(), 0);                            // a malformed integer reads as 0
    EXPECT_EQ(Box->Link(), nullptr);                      // "(null)" clears
    EXPECT_EQ(Memo->Lines()->Strings(0), "current");      // no stored lines: kept

    // A name that is not there empties the reference; an empty text keeps it.
    Box->SetLink(Target);
    Mem.Sections[S] = {{"Box1_Link", "Form2.Nobody"}};
    Load({"Box1.Link"});
    EXPECT_EQ(Box->Link(), nullptr);
    Box->SetLink(Target);
    Mem.Sections[S] = {{"Box1_Link", " "}};
    Load({"Box1.Link"});
    EXPECT_EQ(Box->Link(), Target);
}

TEST_F(PropsStorage, StoredItemsFollowTheForm) {
    const struct {
        const char* Line;
        bool Parses;
        const char* Comp;
        const char* Prop;
    } Cases[] = {
        {"Memo1.Lines", true, "Memo1", "Lines"},
        {" Edit1 . Font.Name ", true, "Edit1", "Font.Name"},
        {"Memo1.", false, "", ""},
        {".Lines", false, "", ""},
        {"NoDot", false, "", ""},
    };
    for (const auto& C : Cases) {
        AnsiString Comp, Prop;
        EXPECT_EQ(ParseStoredItem(C.Line, Comp, Prop), C.Parses) << C.Line;
        if (C.Parses) {
            EXPECT_EQ(Comp, C.Comp);
            EXPECT_EQ(Prop, C.Prop);
        }
    }
    EXPECT_EQ(CreateStoredItem("Memo1", "Lines"), "Memo1.Lines");
    EXPECT_EQ(CreateStoredItem("", "Lines"), "");

    TStringList List;
    for (const char* L : {"Memo1.Lines", "Gone1.Caption", "garbage", "Edit1.Text"})
        List.Add(L);
    UpdateStoredList(Form1.get(), &List, true);
    ASSERT_EQ(List.Count(), 2);
    EXPECT_EQ(List.Objects(0), Memo);
    EXPECT_EQ(List.Objects(1), Edit);
    Memo->SetName("Notes");
    List.PutObject(1, nullptr);
    std::unique_ptr<TStringList, void (*)(TStringList*)> Info(
        CreateInfoList(Form1.get(), &List), [](TStringList* L) { FreeInfoLists(L); });
    ASSERT_EQ(List.Count(), 1);
    EXPECT_EQ(List.Strings(0), "Notes.Lines");
    ASSERT_TRUE(Info);
    ASSERT_EQ(Info->Count(), 1);
    EXPECT_EQ(Info->Strings(0), "Notes");
    EXPECT_NE(static_cast<TPropInfoList*>(Info->Objects(0))->Find("lines"), nullptr);
}

TEST(PropInfoList, ContainsFindsAndIntersects) {
    RegisterStreamFixture();
    TBox Box(nullptr);
    TSample Sample;
    TPropInfoList BoxProps(&Box), SampleProps(&Sample);
    EXPECT_EQ(BoxProps.Count(), 15);
    EXPECT_EQ(BoxProps.Find("CAPTION")->Name, "Caption");
    EXPECT_EQ(BoxProps.Find("Nothing"), nullptr);
    TEntry* Entry = nullptr;
    TOwnedCollection Entries(nullptr, CollectionItemClass<TEntry>());
    Entry = static_cast<TEntry*>(Entries.Add());
    TPropInfoList EntryProps(Entry);
    // Shade is in both with the same type; Caption has the same type too.
    BoxProps.Intersect(&EntryProps);
    std::vector<AnsiString> Names;
    for (int I = 0; I < BoxProps.Count(); ++I)
        Names.push_back(BoxProps.Items(I)->Name);
    EXPECT_EQ(Names, (std::vector<AnsiString>{"Shade", "Caption"}));
    BoxProps.Delete(0);
    EXPECT_EQ(BoxProps.Count(), 1);
    EXPECT_THROW(BoxProps.Delete(5), EListError);
    EXPECT_FALSE(SampleProps.Contains(EntryProps.Find("Shade")));
}

// ---- the form storage ---------------------------------------------------------------

class StoredProps : public FormFixture {
protected:
    // A form like the main window's with a memo, a check box and an edit,
    // whose storage keeps their Lines, State and Font (and a line naming a
    // component that is gone).
    TMainFormWindow* MakeEditorForm(bool UseIni) {
        return MakeForm([this, UseIni](TMainFormWindow& Form, TFormStorage& S) {
            auto* Memo = new TMemo(&Form);
            Memo->SetName("Memo1");
            Memo->SetParent(&Form);
            Memo->Lines()->Add("default");
            auto* Check = new TCheckBox(&Form);
            Check->SetName("CheckBox1");
            Check->SetParent(&Form);
            auto* Edit = new TEdit(&Form);
            Edit->SetName("Edit1");
            Edit->SetParent(&Form);
            for (const char* Line :
                 {"Memo1.Lines", "CheckBox1.State", "Edit1.Font", "Gone1.Caption"})
                S.StoredProps()->Add(Line);
            if (UseIni) {
                S.SetUseRegistry(false);
                S.SetIniFileName(File("editor.ini"));
            }
        });
    }
    static TMemo* MemoOf(TCustomForm* F) { return dynamic_cast<TMemo*>(F->FindComponent("Memo1")); }
    static TCheckBox* CheckOf(TCustomForm* F) {
        return dynamic_cast<TCheckBox*>(F->FindComponent("CheckBox1"));
    }
    static TEdit* EditOf(TCustomForm* F) { return dynamic_cast<TEdit*>(F->FindComponent("Edit1")); }

    void RoundTrip(bool UseIni) {
        TMainFormWindow* Form = MakeEditorForm(UseIni);
        EXPECT_EQ(StorageOf(Form)->StoredProps()->Count(), 3); // the stale line is dropped
        Form->Show();
        MemoOf(Form)->Lines()->Clear();
        MemoOf(Form)->Lines()->Add("alpha");
        MemoOf(Form)->Lines()->Add("beta");
        CheckOf(Form)->SetAllowGrayed(true);
        CheckOf(Form)->SetState(cbGrayed);
        EditOf(Form)->Font()->SetName("DejaVu Sans Mono");
        EditOf(Form)->Font()->SetStyle(TFontStyles{fsBold, fsUnderline});
        EditOf(Form)->Font()->SetColor(0x0000FF);
        Form->Close();

        TMainFormWindow* Next = MakeEditorForm(UseIni);
        Next->Show();
        ASSERT_EQ(MemoOf(Next)->Lines()->Count(), 2);
        EXPECT_EQ(MemoOf(Next)->Lines()->Strings(1), "beta");
        EXPECT_EQ(CheckOf(Next)->State(), cbGrayed);
        EXPECT_EQ(EditOf(Next)->Font()->Name(), "DejaVu Sans Mono");
        EXPECT_EQ(EditOf(Next)->Font()->Style(), (TFontStyles{fsBold, fsUnderline}));
        EXPECT_EQ(EditOf(Next)->Font()->Color(), 0x0000FF);
        EXPECT_TRUE(Errors.empty());
    }
};

TEST_F(StoredProps, RegistryKeepsLinesStateAndFontBesideThePlacement) {
    RoundTrip(false);
    const TValues Main = StoredValues();
    auto Has = [&Main](const AnsiString& Name, const AnsiString& Value) {
        for (const auto& Pair : Main)
            if (Pair.first == Name) return Pair.second == Value;
        return false;
    };
    EXPECT_TRUE(Has("CheckBox1_State", "cbGrayed"));
    EXPECT_TRUE(Has("Edit1_FontStyle", "[fsBold,fsUnderline]"));
    EXPECT_TRUE(Has("Edit1_FontName", "DejaVu Sans Mono"));
    EXPECT_EQ(StoredValues(MainSection + ".Memo1_Lines"),
              (TValues{{"Count", "2"}, {"Item0", "alpha"}, {"Item1", "beta"}}));
}

TEST_F(StoredProps, IniFileKeepsLinesStateAndFont) {
    RoundTrip(true);
    TIniFile Ini(File("editor.ini"));
    EXPECT_EQ(Ini.ReadString(MainSection, "CheckBox1_State", ""), "cbGrayed");
    EXPECT_EQ(Ini.ReadString(MainSection + ".Memo1_Lines", "Item0", ""), "alpha");
}

TEST_F(StoredProps, AnEmptiedMemoErasesItsLinesAndARenamedComponentKeepsItsLine) {
    TMainFormWindow* Form = MakeEditorForm(false);
    Form->Show();
    MemoOf(Form)->Lines()->Clear();
    Form->Close();
    EXPECT_TRUE(StoredValues(MainSection + ".Memo1_Lines").empty());
    TMainFormWindow* Next = MakeEditorForm(false);
    Next->Show();
    EXPECT_EQ(MemoOf(Next)->Lines()->Strings(0), "default");

    // Removing a component drops its line; renaming rewrites it on writing.
    TFormStorage* Storage = StorageOf(Next);
    delete CheckOf(Next);
    EXPECT_EQ(Storage->StoredProps()->IndexOf("CheckBox1.State"), -1);
    EditOf(Next)->SetName("Edit2");
    UpdateStoredList(Next, Storage->StoredProps(), false);
    EXPECT_GE(Storage->StoredProps()->IndexOf("Edit2.Font"), 0);
}

TEST_F(StoredProps, AStoredValueOfTheSameNameIsWrittenAfterTheProperty) {
    TMainFormWindow* Form = MakeEditorForm(false);
    StorageOf(Form)->SetStoredValue("CheckBox1_State", Variant("from the value"));
    Form->Show();
    CheckOf(Form)->SetChecked(true);
    Form->Close();
    const TValues Main = StoredValues();
    int Seen = 0;
    for (const auto& [Name, Value] : Main)
        if (Name == "CheckBox1_State") {
            ++Seen;
            EXPECT_EQ(Value, "from the value");
        }
    EXPECT_EQ(Seen, 1);
}

TEST_F(StoredProps, AFormStreamCarriesItsStorageWithLinesRenamedAsItIsWritten) {
    TMainFormWindow* Form = MakeEditorForm(false);
    TFormStorage* Storage = StorageOf(Form);
    Storage->SetOptions(TPlacementOptions{fpState});
    Storage->SetStoredValue("LastRun", Variant("today"));
    EditOf(Form)->SetName("Edit2");

    TStringStream Stream;
    WriteComponentRes(&Stream, Form);
    EXPECT_GE(Storage->StoredProps()->IndexOf("Edit2.Font"), 0);
    TStringStream Text;
    Stream.SetPosition(0);
    ObjectBinaryToText(&Stream, &Text);
    EXPECT_NE(Text.DataString().find("    'Edit2.Font'"), AnsiString::npos) << Text.DataString();

    TMainFormWindow Copy(nullptr);
    Stream.SetPosition(0);
    ReadComponentRes(&Stream, &Copy);
    TFormStorage* Read = StorageOf(&Copy);
    ASSERT_NE(Read, nullptr);
    EXPECT_EQ(Read->IniSection(), MainSection);
    EXPECT_TRUE(Read->UseRegistry());
    EXPECT_EQ(Read->Options(), TPlacementOptions{fpState});
    EXPECT_EQ(Read->GetStoredValue("LastRun").AsString(), "today");
    const int Line = Read->StoredProps()->IndexOf("Edit2.Font");
    ASSERT_GE(Line, 0);
    EXPECT_EQ(Read->StoredProps()->Objects(Line), Copy.FindComponent("Edit2"));
}

} // namespace
