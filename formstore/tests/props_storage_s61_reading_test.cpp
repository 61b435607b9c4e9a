// Published properties kept by a form storage: the value names and texts
// per kind of property, and what reading them back does.
#include "FormFixture.h"

#include "formstore/PropsStorage.h"

#include "platform/classes/Collection.h"
#include "platform/classes/Publish.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/FormatSettings.h"

#include <cstdint>

using namespace formstore;
using namespace formstore_test;

namespace {

enum class TProbeMode : std::uint8_t { pmOne, pmTwo, pmThree };
using enum TProbeMode;
enum class TProbeOption : std::uint8_t { poFirst, poSecond, poThird, poFourth };
using enum TProbeOption;
using TProbeOptions = SmallSet<TProbeOption>;

const TTypeInfo& ProbeModeType() {
    static const TTypeInfo Info = MakeEnumType("TProbeMode", {"pmOne", "pmTwo", "pmThree"});
    return Info;
}
const TTypeInfo& ProbeOptionsType() {
    static const TTypeInfo Enum =
        MakeEnumType("TProbeOption", {"poFirst", "poSecond", "poThird", "poFourth"});
    static const TTypeInfo Info = MakeSetType("TProbeOptions", Enum);
    return Info;
}

class TProbeItem : public TCollectionItem {
public:
    explicit TProbeItem(TCollection* Collection) : TCollectionItem(Collection) {}
    AnsiString ClassName() const override { return "TProbeItem"; }
    int Width() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }

private:
    int FWidth = 0;
};

class TProbeItems : public TOwnedCollection {
public:
    explicit TProbeItems(TPersistent* AOwner)
        : TOwnedCollection(AOwner, CollectionItemClass<TProbeItem>()) {}
    AnsiString ClassName() const override { return "TProbeItems"; }
    TProbeItem* Item(int Index) const { return static_cast<TProbeItem*>(Items(Index)); }
};

class TProbeChild : public TPersistent {
public:
    AnsiString ClassName() const override { return "TProbeChild"; }
    int Depth() const { return FDepth; }
    void SetDepth(int Value) { FDepth = Value; }

private:
    int FDepth = 0;
};

class TProbe : public TComponent {
public:
    explicit TProbe(TComponent* AOwner) : TComponent(AOwner) {}
    AnsiString ClassName() const override { return "TProbe"; }

    int Count = 0;
    std::int64_t Big = 0;
    char Letter = 'a';
    TProbeMode Mode = pmOne;
    double Ratio = 0;
    float Scale = 0;
    AnsiString Caption;
    TProbeOptions Options;
    Variant Extra;
    TComponent* Buddy = nullptr;
    std::unique_ptr<TStringList> Lines = std::make_unique<TStringList>();
    std::unique_ptr<TProbeChild> Child = std::make_unique<TProbeChild>();
    std::unique_ptr<TProbeItems> Columns = std::make_unique<TProbeItems>(this);
};

const TPublished<TProbe, TComponent> ProbeClass("TProbe", [](auto& C) {
    C.Property("Count", [](const TProbe& P) { return P.Count; }, [](TProbe& P, int V) { P.Count = V; });
    C.Property("Big", [](const TProbe& P) { return P.Big; },
               [](TProbe& P, std::int64_t V) { P.Big = V; });
    C.Property("Letter", [](const TProbe& P) { return P.Letter; }, [](TProbe& P, char V) { P.Letter = V; });
    C.Property("Mode", [](const TProbe& P) { return P.Mode; },
               [](TProbe& P, TProbeMode V) { P.Mode = V; }, ProbeModeType());
    C.Property("Ratio", [](const TProbe& P) { return P.Ratio; }, [](TProbe& P, double V) { P.Ratio = V; });
    C.Property("Scale", [](const TProbe& P) { return P.Scale; }, [](TProbe& P, float V) { P.Scale = V; });
    C.Property("Caption", [](const TProbe& P) { return P.Caption; },
               [](TProbe& P, AnsiString V) { P.Caption = V; });
    C.Property("Options", [](const TProbe& P) { return P.Options; },
               [](TProbe& P, TProbeOptions V) { P.Options = V; }, ProbeOptionsType());
    C.Property("Extra", [](const TProbe& P) { return P.Extra; }, [](TProbe& P, Variant V) { P.Extra = V; });
    C.Property("Buddy", [](const TProbe& P) { return P.Buddy; },
               [](TProbe& P, TComponent* V) { P.Buddy = V; });
    C.Property("Lines", [](const TProbe& P) { return P.Lines.get(); },
               [](TProbe& P, TStringList* V) { P.Lines->Assign(V); });
    C.Property("Child", [](const TProbe& P) { return P.Child.get(); },
               [](TProbe& P, TProbeChild* V) { P.Child->SetDepth(V->Depth()); });
    C.Property("Columns", [](const TProbe& P) { return P.Columns.get(); },
               [](TProbe& P, TProbeItems* V) { P.Columns->Assign(V); });
});
const TPublished<TProbeChild, TPersistent> ProbeChildClass("TProbeChild", [](auto& C) {
    C.Property("Depth", &TProbeChild::Depth, &TProbeChild::SetDepth);
});
const TPublished<TProbeItem, TCollectionItem> ProbeItemClass("TProbeItem", [](auto& C) {
    C.Property("Width", &TProbeItem::Width, &TProbeItem::SetWidth);
});
const TPublished<TProbeItems, TOwnedCollection> ProbeItemsClass("TProbeItems", [](auto&) {});

const char* const AllProps[] = {"Count", "Big",   "Letter", "Mode",  "Ratio", "Scale",  "Caption",
                                "Options", "Extra", "Buddy", "Lines", "Child", "Columns"};

class PropsStorageReading : public FormFixture {
protected:
    void TearDown() override {
        ResetFormatSettings();
        FormFixture::TearDown();
    }
    // A form with a probe "Probe1" and a component "Mate", keeping the
    // named properties of the probe.
    using TProbeSetup = std::function<void(TMainFormWindow& Form, TProbe& Probe)>;
    TMainFormWindow* MakeProbeForm(const TProbeSetup& Setup = {}) {
        return MakeForm([&](TMainFormWindow& Form, TFormStorage& Storage) {
            auto* Probe = new TProbe(&Form);
            Probe->SetName("Probe1");
            auto* Mate = new TComponent(&Form);
            Mate->SetName("Mate");
            for (const char* Prop : AllProps) Storage.StoredProps()->Add(AnsiString("Probe1.") + Prop);
            if (Setup) Setup(Form, *Probe);
        });
    }
    static TProbe* ProbeOf(TCustomForm* Form) { return dynamic_cast<TProbe*>(Form->FindComponent("Probe1")); }
};

TEST_F(PropsStorageReading, EachKindIsWrittenAsItsTextAndReadBack) {
    FormatSettings().DecimalSeparator = ',';
    TMainFormWindow* F = MakeProbeForm([](TMainFormWindow& Form, TProbe& P) {
        P.Count = -5;
        P.Big = std::int64_t(1) << 40;
        P.Letter = 'Q';
        P.Mode = pmThree;
        P.Ratio = 2.5;
        P.Scale = 0.1f;
        P.Caption = "  padded  ";
        P.Options = {poFirst, poThird};
        P.Extra = 12;
        P.Buddy = Form.FindComponent("Mate");
        P.Child->SetDepth(4);
    });
    F->Show();
    F->Close();
    const TValues Values = StoredValues();
    const struct {
        const char* Name;
        const char* Text;
    } Expected[] = {
        {"Probe1_Count", "-5"},          {"Probe1_Big", "1099511627776"},
        {"Probe1_Letter", "Q"},          {"Probe1_Mode", "pmThree"},
        {"Probe1_Ratio", "2.5"},         {"Probe1_Scale", "0.1"},
        {"Probe1_Caption", "padded"},    {"Probe1_Options", "[poFirst,poThird]"},
        {"Probe1_Extra", "12"},          {"Probe1_Buddy", "Mate"},
        {"Probe1_ChildDepth", "4"},      {"Probe1_Columns.Count", "0"},
    };
    for (const auto& E : Expected) EXPECT_EQ(ValueOf(Values, E.Name), E.Text) << E.Name;
    EXPECT_EQ(ValueOf(Values, "Probe1_Lines"), "<missing>");
    EXPECT_EQ(ValueOf(Values, "Probe1_Child"), "<missing>");

    FormatSettings().DecimalSeparator = '.';
    TMainFormWindow* G = MakeProbeForm([](TMainFormWindow&, TProbe& P) {
        P.Letter = 'z';
        P.Caption = "x";
        P.Extra = "y";
        P.Ratio = 1;
        P.Scale = 1;
        P.Count = 1;
        P.Big = 1;
    });
    G->Show();
    const TProbe& P = *ProbeOf(G);
    EXPECT_EQ(P.Count, -5);
    EXPECT_EQ(P.Big, std::int64_t(1) << 40);
    EXPECT_EQ(P.Letter, 'Q');
    EXPECT_EQ(P.Mode, pmThree);
    EXPECT_DOUBLE_EQ(P.Ratio, 2.5);
    EXPECT_FLOAT_EQ(P.Scale, 0.1f);
    EXPECT_EQ(P.Caption, "padded");
    EXPECT_TRUE(P.Options == (TProbeOptions{poFirst, poThird}));
    EXPECT_EQ(P.Extra.Type(), varString);
    EXPECT_EQ(P.Extra.AsString(), "12");
    EXPECT_EQ(P.Buddy, nullptr) << "a property holding no component takes nothing";
    EXPECT_EQ(P.Child->Depth(), 4);
    EXPECT_TRUE(Errors.empty());
}

TEST_F(PropsStorageReading, EmptyTextsAreWrittenOnlyForStrings) {
    TMainFormWindow* F = MakeProbeForm([](TMainFormWindow&, TProbe& P) {
        P.Ratio = 0.1 + 0.2;
        P.Letter = '\0';
    });
    F->Show();
    F->Close();
    const TValues Values = StoredValues();
    EXPECT_EQ(ValueOf(Values, "Probe1_Caption"), "");
    EXPECT_EQ(ValueOf(Values, "Probe1_Count"), "0");
    EXPECT_EQ(ValueOf(Values, "Probe1_Ratio"), "0.3");
    // A NUL character is one character before the text is trimmed.
    EXPECT_EQ(ValueOf(Values, "Probe1_Letter"), "");
    for (const char* Absent : {"Probe1_Buddy", "Probe1_Extra"})
        EXPECT_EQ(ValueOf(Values, Absent), "<missing>") << Absent;

    Store({{"Probe1_Caption", "  spaced  "}});
    TMainFormWindow* G = MakeProbeForm([](TMainFormWindow&, TProbe& P) { P.Caption = "x"; });
    G->Show();
    EXPECT_EQ(ProbeOf(G)->Caption, "spaced");
    Store({{"Probe1_Caption", ""}});
    TMainFormWindow* H = MakeProbeForm([](TMainFormWindow&, TProbe& P) { P.Caption = "x"; });
    H->Show();
    EXPECT_EQ(ProbeOf(H)->Caption, "");
}

TEST_F(PropsStorageReading, IniFileKeepsSubsectionsAndNestedObjectsToo) {
    const AnsiString Name = File("props.ini");
    auto Setup = [&](TMainFormWindow& Form, TFormStorage& Storage) {
        Storage.SetUseRegistry(false);
        Storage.SetIniFileName(Name);
        auto* Probe = new TProbe(&Form);
        Probe->SetName("Probe1");
        auto* Edit = new TEdit(&Form);
        Edit->SetName("Edit1");
        Edit->SetParent(&Form);
        Storage.StoredProps()->Add("Probe1.Lines");
        Storage.StoredProps()->Add("Probe1.Nope");
        Storage.StoredProps()->Add("Edit1.Font");
    };
    TMainFormWindow* F = MakeForm(Setup);
    ProbeOf(F)->Lines->Add("one");
    auto* Edit = dynamic_cast<TEdit*>(F->FindComponent("Edit1"));
    Edit->Font()->SetSize(17);
    Edit->Font()->SetStyle({fsBold});
    F->Show();
    F->Close();
    const AnsiString Stored = ReadFile(Name);
    for (const char* Line : {"[Beacon Mill.Probe1_Lines]", "Count=1", "Item0=one", "Edit1_FontSize=17",
                             "Edit1_FontStyle=[fsBold]"})
        EXPECT_NE(Stored.find(Line), AnsiString::npos) << Line << " in\n" << Stored;
    EXPECT_EQ(Stored.find("Nope"), AnsiString::npos) << Stored;

    ProbeOf(F)->Lines->Clear();
    F->Show();
    ProbeOf(F)->Lines->Clear();
    F->Close();
    EXPECT_EQ(ReadFile(Name).find("Probe1_Lines"), AnsiString::npos) << ReadFile(Name);

    TMainFormWindow* G = MakeForm(Setup);
    G->Show();
    auto* Read = dynamic_cast<TEdit*>(G->FindComponent("Edit1"));
    EXPECT_EQ(Read->Font()->Size(), 17);
    EXPECT_TRUE(Read->Font()->Style() == TFontStyles{fsBold});
    EXPECT_TRUE(Errors.empty());
}

// Stored texts that are odd, read into a probe set up as the defaults.
TEST_F(PropsStorageReading, ReadingOddTextsFollowsTheKindsRules) {
    const struct {
        const char* Name;
        const char* Text;
        std::function<bool(const TProbe&)> Check;
    } Cases[] = {
        {"Probe1_Mode", "PMTWO", [](const TProbe& P) { return P.Mode == pmTwo; }},
        {"Probe1_Mode", "bogus", [](const TProbe& P) { return P.Mode == pmThree; }},
        {"Probe1_Options", "[ poSecond , bogus poFourth]",
         [](const TProbe& P) { return P.Options == TProbeOptions{poSecond, poFourth}; }},
        {"Probe1_Options", "[]", [](const TProbe& P) { return P.Options.Empty(); }},
        {"Probe1_Count", "abc", [](const TProbe& P) { return P.Count == 0; }},
        {"Probe1_Count", "  17  ", [](const TProbe& P) { return P.Count == 17; }},
        {"Probe1_Ratio", "x", [](const TProbe& P) { return P.Ratio == 7.5; }},
        {"Probe1_Letter", "", [](const TProbe& P) { return P.Letter == '\0'; }},
        {"Probe1_Letter", "xyz", [](const TProbe& P) { return P.Letter == 'x'; }},
        {"Probe1_Buddy", "(NULL)", [](const TProbe& P) { return P.Buddy == nullptr; }},
        {"Probe1_Buddy", "", [](const TProbe& P) { return P.Buddy && P.Buddy->Name() == "Mate"; }},
        {"Probe1_Buddy", "Nobody", [](const TProbe& P) { return P.Buddy == nullptr; }},
        {"Probe1_Buddy", "Probe1", [](const TProbe& P) { return P.Buddy && P.Buddy->Name() == "Probe1"; }},
    };
    int Index = 0;
    for (const auto& C : Cases) {
        const AnsiString Section = Format("Case %d", Index++);
        Store({{C.Name, C.Text}}, Section);
        TMainFormWindow* F = MakeProbeForm([&](TMainFormWindow& Form, TProbe& P) {
            StorageOf(&Form)->SetIniSection(Section);
            P.Mode = pmThree;
            P.Count = 3;
            P.Ratio = 7.5;
            P.Letter = 'k';
            P.Options = {poFirst};
            P.Buddy = Form.FindComponent("Mate");
        });
        F->Show();
        EXPECT_TRUE(C.Check(*ProbeOf(F))) << C.Name << " = '" << C.Text << "'";
    }
    EXPECT_TRUE(Errors.empty());
}

TEST_F(PropsStorageReading, StringListsAndCollectionsUseSubsections) {
    TMainFormWindow* F = MakeProbeForm([](TMainFormWindow&, TProbe& P) {
        P.Lines->Add("one");
        P.Lines->Add("two");
        for (int W : {10, 20, 30}) static_cast<TProbeItem*>(P.Columns->Add())->SetWidth(W);
    });
    F->Show();
    F->Close();
    EXPECT_TRUE(StoredValues("Beacon Mill.Probe1_Lines") ==
                (TValues{{"Count", "2"}, {"Item0", "one"}, {"Item1", "two"}}));
    EXPECT_EQ(ValueOf(StoredValues(), "Probe1_Columns.Count"), "3");
    EXPECT_TRUE(StoredValues("Beacon Mill.Probe1_Columns") ==
                (TValues{{"Item0_Width", "10"}, {"Item1_Width", "20"}, {"Item2_Width", "30"}}));

    TMainFormWindow* G = MakeProbeForm([](TMainFormWindow&, TProbe& P) {
        P.Lines->Add("old");
        P.Columns->Add();
    });
    G->Show();
    EXPECT_EQ(ProbeOf(G)->Lines->Text(), "one\r\ntwo\r\n");
    ASSERT_EQ(ProbeOf(G)->Columns->Count(), 3);
    EXPECT_EQ(ProbeOf(G)->Columns->Item(2)->Width(), 30);

    // Emptied: the subsection goes, and a reader keeps its own lines.
    ProbeOf(G)->Lines->Clear();
    G->Close();
    EXPECT_TRUE(StoredValues("Beacon Mill.Probe1_Lines").empty());
    TMainFormWindow* H = MakeProbeForm([](TMainFormWindow&, TProbe& P) { P.Lines->Add("mine"); });
    H->Show();
    EXPECT_EQ(ProbeOf(H)->Lines->Text(), "mine\r\n");
}

TEST_F(PropsStorageReading, ReferenceToAnotherFormIsKeptWithThatFormsName) {
    auto Other = std::make_unique<TForm>(nullptr);
    Other->SetName("OtherForm");
    auto* Far = new TComponent(Other.get());
    Far->SetName("Far");
    TMainFormWindow* F = MakeProbeForm([&](TMainFormWindow&, TProbe& P) { P.Buddy = Far; });
    F->Show();
    F->Close();
    EXPECT_EQ(ValueOf(StoredValues(), "Probe1_Buddy"), "OtherForm.Far");

    TMainFormWindow* G = MakeProbeForm([](TMainFormWindow& Form, TProbe& P) {
        P.Buddy = Form.FindComponent("Mate");
    });
    G->Show();
    EXPECT_EQ(ProbeOf(G)->Buddy, Far);

    // An unnamed owner is named by its class without the "T".
    Other->SetName("");
    G->Close();
    EXPECT_EQ(ValueOf(StoredValues(), "Probe1_Buddy"), "Form.Far");
    Forms.clear();
}

TEST_F(PropsStorageReading, StoredItemsAreComponentPointProperty) {
    EXPECT_EQ(CreateStoredItem("Edit1", "Text"), "Edit1.Text");
    EXPECT_EQ(CreateStoredItem("", "Text"), "");
    EXPECT_EQ(CreateStoredItem("Edit1", ""), "");
    const struct {
        const char* Line;
        bool Ok;
        const char* Comp;
        const char* Prop;
    } Cases[] = {
        {"Edit1.Text", true, "Edit1", "Text"},
        {" Edit1 . Font.Size ", true, "Edit1", "Font.Size"},
        {"Edit1.", false, "", ""},
        {".Text", false, "", ""},
        {"Edit1", false, "", ""},
    };
    for (const auto& C : Cases) {
        AnsiString Comp, Prop;
        EXPECT_EQ(ParseStoredItem(C.Line, Comp, Prop), C.Ok) << C.Line;
        if (C.Ok) {
            EXPECT_EQ(Comp, C.Comp) << C.Line;
            EXPECT_EQ(Prop, C.Prop) << C.Line;
        }
    }
}

} // namespace
