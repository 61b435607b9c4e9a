// Copying published properties between objects, Variants kept in a form
// stream, and the texts of resource string numbers.
#include "grid/foundation/GridCommonProps.h"
#include "grid/foundation/GridCommonResStr.h"
#include "grid/foundation/GridCommonStream.h"
#include "platform/classes/Filer.h"
#include "platform/classes/Publish.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/PublishedProps.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace grid;

namespace {

enum class TProbeMode : std::uint8_t { pmOff, pmSlow, pmFast };
using enum TProbeMode;
using TProbeModes = SmallSet<TProbeMode>;

// A component with a property of every kind a grid setting has.
class TPropProbe : public TComponent {
public:
    explicit TPropProbe(TComponent* AOwner) : TComponent(AOwner) {}
    AnsiString ClassName() const override { return "TPropProbe"; }

    int Count() const { return FCount; }
    void SetCount(int V) { FCount = V; }
    char Letter() const { return FLetter; }
    void SetLetter(char V) { FLetter = V; }
    TProbeMode Mode() const { return FMode; }
    void SetMode(TProbeMode V) { FMode = V; }
    TProbeModes Modes() const { return FModes; }
    void SetModes(TProbeModes V) { FModes = V; }
    double Ratio() const { return FRatio; }
    void SetRatio(double V) { FRatio = V; }
    AnsiString Caption() const { return FCaption; }
    void SetCaption(const AnsiString& V) { FCaption = V; }
    Variant Value() const { return FValue; }
    void SetValue(const Variant& V) { FValue = V; }
    TComponent* Partner() const { return FPartner; }
    void SetPartner(TComponent* V) { FPartner = V; }
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* V) { FFont->Assign(V); }
    int Serial() const { return FSerial; }

    // A value of no particular property, kept in the form as the grid keeps
    // its own values.
    Variant Kept;
    int FSerial = 0;

private:
    int FCount = 0;
    char FLetter = 'a';
    TProbeMode FMode = pmOff;
    TProbeModes FModes;
    double FRatio = 0;
    AnsiString FCaption;
    Variant FValue;
    TComponent* FPartner = nullptr;
    std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
};

const TTypeInfo& ModeType() {
    static const TTypeInfo Info = MakeEnumType("TProbeMode", {"pmOff", "pmSlow", "pmFast"});
    return Info;
}
const TTypeInfo& ModesType() {
    static const TTypeInfo Info = MakeSetType("TProbeModes", ModeType());
    return Info;
}

const TPublished<TPropProbe, TComponent> ProbeClass(
    "TPropProbe",
    [](auto& C) {
        C.Property("Count", &TPropProbe::Count, &TPropProbe::SetCount);
        C.Property("Letter", &TPropProbe::Letter, &TPropProbe::SetLetter);
        C.Property("Mode", &TPropProbe::Mode, &TPropProbe::SetMode, ModeType());
        C.Property("Modes", &TPropProbe::Modes, &TPropProbe::SetModes, ModesType());
        C.Property("Ratio", &TPropProbe::Ratio, &TPropProbe::SetRatio);
        C.Property("Caption", &TPropProbe::Caption, &TPropProbe::SetCaption);
        C.Property("Value", &TPropProbe::Value, &TPropProbe::SetValue);
        C.Property("Partner", &TPropProbe::Partner, &TPropProbe::SetPartner);
        C.Property("Font", &TPropProbe::Font, &TPropProbe::SetFont);
        C.Property("Serial", &TPropProbe::Serial, nullptr);
        C.DefineProperties([](TPropProbe& Self, TFiler* Filer) {
            Filer->DefineProperty(
                "Kept", [&Self](TReader* R) { Self.Kept = ReadVariant(R); },
                [&Self](TWriter* W) { WriteVariant(W, Self.Kept); }, true);
        });
    },
    true);

std::vector<AnsiString> Names(const TPropList& List) {
    std::vector<AnsiString> Result;
    for (const TPropInfo* P : List)
        Result.push_back(P->Name);
    return Result;
}

TEST(GridCommonProps, ListsThePropertiesOfTheKindsAsked) {
    TPropProbe Probe(nullptr);
    EXPECT_EQ(Names(GetPropertyList(&Probe, {tkInteger})),
              (std::vector<AnsiString>{"Tag", "Count", "Serial"}));
    EXPECT_EQ(Names(GetPropertyList(&Probe, {tkClass, tkVariant, tkSet})),
              (std::vector<AnsiString>{"Modes", "Value", "Partner", "Font"}));
    TPropList All = GetPropertyList(&Probe, TTypeKinds::FromBits(~0ULL));
    EXPECT_EQ(All.size(), GetPropList(&Probe).size());
    FreePropertyList(All);
    EXPECT_TRUE(All.empty());
}

TEST(GridCommonProps, AssignObjectCopiesAllButTheExcludedProperties) {
    TComponent Owner(nullptr);
    auto* Source = new TPropProbe(&Owner);
    Source->SetName("Source");
    auto* Partner = new TPropProbe(&Owner);
    Source->SetTag(5);
    Source->SetCount(12);
    Source->SetLetter('z');
    Source->SetMode(pmFast);
    Source->SetModes({pmSlow, pmFast});
    Source->SetRatio(2.5);
    Source->SetCaption("copied?");
    Source->SetValue(Variant("v"));
    Source->SetPartner(Partner);
    Source->Font()->SetSize(17);
    Source->FSerial = 9;

    TPropProbe Copy(nullptr);
    AssignObject(&Copy, Source, " caption ; Name;;");
    EXPECT_EQ(Copy.Name(), "");
    EXPECT_EQ(Copy.Caption(), "");
    EXPECT_EQ(Copy.Tag(), 5);
    EXPECT_EQ(Copy.Count(), 12);
    EXPECT_EQ(Copy.Letter(), 'z');
    EXPECT_EQ(Copy.Mode(), pmFast);
    EXPECT_EQ(Copy.Modes(), (TProbeModes{pmSlow, pmFast}));
    EXPECT_EQ(Copy.Ratio(), 2.5);
    EXPECT_EQ(Copy.Value().AsString(), "v");
    EXPECT_EQ(Copy.Partner(), Partner); // a reference stays one
    EXPECT_EQ(Copy.Font()->Size(), 17); // an owned object is copied, not shared
    EXPECT_NE(Copy.Font(), Source->Font());
    EXPECT_EQ(Copy.Serial(), 0); // read-only: passed over

    TPropProbe One(nullptr);
    AssignNameValue("RATIO", &One, Source);
    AssignNameValue("NoSuchProperty", &One, Source);
    EXPECT_EQ(One.Ratio(), 2.5);
    EXPECT_EQ(One.Count(), 0);
    // Onto an object of another class only what it has of the same name and kind.
    TComponent Plain(nullptr);
    AssignObject(&Plain, Source, "Name");
    EXPECT_EQ(Plain.Tag(), 5);
}

TEST(GridCommonStream, VariantsKeptInAFormComeBackAsTheirKind) {
    const AnsiString Long(300, 'x');
    const struct {
        const char* What;
        Variant Value;
        Variant Read;
    } Cases[] = {
        {"empty", Variant(), Variant()},
        {"null", Null(), Null()},
        {"small integer", Variant(short(-7)), Variant(-7)},
        {"integer", Variant(100000), Variant(100000)},
        {"single", Variant(1.5f), Variant(1.5)},
        {"double", Variant(-2.25), Variant(-2.25)},
        {"date", Variant(TDateTime(EncodeDate(2024, 3, 5))), Variant(EncodeDate(2024, 3, 5).Val)},
        {"string", Variant("text"), Variant("text")},
        {"long string", Variant(Long), Variant(Long)},
        {"true", Variant(true), Variant(true)},
        {"false", Variant(false), Variant(false)},
        {"int64", Variant(1LL << 40), Variant("")},
        {"byte", Variant(static_cast<unsigned char>(3)), Variant("")},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.What);
        TPropProbe Probe(nullptr);
        Probe.SetName("Probe");
        Probe.Kept = C.Value;
        TMemoryStream Stream;
        WriteComponentRes(&Stream, &Probe);
        Stream.SetPosition(0);
        TPropProbe Read(nullptr);
        ReadComponentRes(&Stream, &Read);
        EXPECT_EQ(VarType(Read.Kept), VarType(C.Read));
        if (!C.Read.IsEmpty() && !C.Read.IsNull()) {
            EXPECT_TRUE(Read.Kept == C.Read);
        }
    }
}

TEST(GridCommonStream, AValueOfAnotherKindIsLeftForTheCaller) {
    TMemoryStream Stream;
    {
        TWriter Writer(&Stream);
        Writer.WriteInteger(1LL << 40);
        Writer.WriteIdent("Other");
        Writer.WriteIdent("Null");
        Writer.WriteCurrency(12345);
    }
    Stream.SetPosition(0);
    TReader Reader(&Stream);
    EXPECT_TRUE(ReadVariant(&Reader).IsEmpty());
    EXPECT_EQ(Reader.NextValue(), vaInt64); // still there
    EXPECT_EQ(Reader.ReadInt64(), 1LL << 40);
    EXPECT_TRUE(ReadVariant(&Reader).IsEmpty()); // a word that names no value
    EXPECT_TRUE(ReadVariant(&Reader).IsNull());
    EXPECT_TRUE(ReadVariant(&Reader).IsEmpty());
    EXPECT_EQ(Reader.NextValue(), vaCurrency);
}

TEST(GridCommonResStr, NumbersNameResourceStringsAndOtherValuesAreText) {
    AddResourceString(61001, "Grid");
    AddResourceString(7, "Seven");
    const struct {
        Variant Value;
        const char* Text;
    } Cases[] = {
        {Variant(61001), "Grid"},
        {Variant(short(7)), "Seven"},
        {Variant(1LL << 40), ""},
        {Variant(61002), ""},
        {Variant("61001"), "61001"},
        {Variant(2.5), "2.5"},
        {Variant(), ""},
        {Null(), ""},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(ResourceStr(C.Value), C.Text) << VarToStr(C.Value);
}

} // namespace
