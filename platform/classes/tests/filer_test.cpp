// The component stream: a tree written and read back into equal objects,
// its text form against the golden file, defaults left out, and malformed
// streams refused with EReadError (or EClassNotFound for a class nobody
// registered).
#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/classes/fuzz/StreamFixture.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <vector>

using namespace stream_fixture;
using namespace std::string_literals;

namespace {

AnsiString ReadFile(const std::string& Path) {
    std::ifstream In(Path, std::ios::binary);
    std::stringstream Buffer;
    Buffer << In.rdbuf();
    return Buffer.str();
}

AnsiString Binary(TComponent* Root) {
    TStringStream Stream;
    WriteComponentRes(&Stream, Root);
    return Stream.DataString();
}

AnsiString TextOf(const AnsiString& Bytes) {
    TStringStream In(Bytes), Out;
    ObjectBinaryToText(&In, &Out);
    return Out.DataString();
}

AnsiString BinaryOf(const AnsiString& Text) {
    TStringStream In(Text), Out;
    ObjectTextToBinary(&In, &Out);
    return Out.DataString();
}

// Form1 with Panel1 inside it and Inner inside Panel1, every kind of value
// set away from its default somewhere.
std::unique_ptr<TBoxForm> MakeTree() {
    RegisterStreamFixture();
    auto Form = std::make_unique<TBoxForm>(nullptr);
    Form->SetName("Form1");
    Form->SetLeft(10);
    Form->SetActive(false);
    Form->SetCaption("It's \"here\"\tnow: \xC3\xA9t\xC3\xA9");
    Form->SetShades(TShades{shLight, shDeep});
    Form->SetRatio(2.5);
    Form->SetWide(5000000000LL);
    Form->SetLetter('z');
    Form->SetExtra(Variant(42));
    Form->Sample()->SetFace("Mono");
    Form->Sample()->SetSize(12);
    Form->Sample()->SetStyle(TShades{shDark});
    Form->Lines()->Add("one");
    Form->Lines()->Add("");
    Form->Lines()->Add("three");
    auto* First = static_cast<TEntry*>(Form->Entries()->Add());
    First->SetCaption("first");
    First->SetShade(shDark);
    auto* Second = static_cast<TEntry*>(Form->Entries()->Add());
    Second->SetWeight(-300);
    Form->Checksum = 77;
    Form->Blob = {0x01, 0x02, 0xFF};

    auto* Panel = new TBox(Form.get());
    Panel->SetName("Panel1");
    Panel->SetParentBox(Form.get());
    Panel->SetShade(shLight);
    Panel->SetLeft(-70000);
    auto* Inner = new TBox(Form.get());
    Inner->SetName("Inner");
    Inner->SetParentBox(Panel);
    Inner->SetLink(Panel);
    Inner->SetRatio(-0.125);
    return Form;
}

void ExpectSameTree(TBoxForm& A, TBoxForm& B) {
    EXPECT_EQ(A.Name(), B.Name());
    EXPECT_EQ(A.Left(), B.Left());
    EXPECT_EQ(A.Active(), B.Active());
    EXPECT_EQ(A.Caption(), B.Caption());
    EXPECT_EQ(A.Shades(), B.Shades());
    EXPECT_EQ(A.Ratio(), B.Ratio());
    EXPECT_EQ(A.Wide(), B.Wide());
    EXPECT_EQ(A.Letter(), B.Letter());
    EXPECT_EQ(A.Extra(), B.Extra());
    EXPECT_EQ(A.Sample()->Face(), B.Sample()->Face());
    EXPECT_EQ(A.Sample()->Size(), B.Sample()->Size());
    EXPECT_EQ(A.Sample()->Style(), B.Sample()->Style());
    EXPECT_TRUE(A.Lines()->Equals(B.Lines()));
    ASSERT_EQ(A.Entries()->Count(), B.Entries()->Count());
    for (int I = 0; I < A.Entries()->Count(); ++I) {
        auto* EA = static_cast<TEntry*>(A.Entries()->Items(I));
        auto* EB = static_cast<TEntry*>(B.Entries()->Items(I));
        EXPECT_EQ(EA->Caption(), EB->Caption());
        EXPECT_EQ(EA->Weight(), EB->Weight());
        EXPECT_EQ(EA->Shade(), EB->Shade());
    }
    EXPECT_EQ(A.Checksum, B.Checksum);
    EXPECT_EQ(A.Blob, B.Blob);

    auto* PanelB = dynamic_cast<TBox*>(B.FindComponent("Panel1"));
    auto* InnerB = dynamic_cast<TBox*>(B.FindComponent("Inner"));
    ASSERT_TRUE(PanelB && InnerB);
    EXPECT_EQ(PanelB->ParentBox(), &B);
    EXPECT_EQ(InnerB->ParentBox(), PanelB);
    EXPECT_EQ(InnerB->Link(), PanelB);
    EXPECT_EQ(PanelB->Shade(), shLight);
    EXPECT_EQ(PanelB->Left(), -70000);
    EXPECT_EQ(InnerB->Ratio(), -0.125);
}

} // namespace

TEST(Filer, TreeReadsBackIntoEqualObjectsAndEachIsLoadedOnce) {
    auto Form = MakeTree();
    const AnsiString Bytes = Binary(Form.get());
    ASSERT_EQ(Bytes.substr(0, 4), "TPF0");

    TBoxForm Copy(nullptr);
    TStringStream In(Bytes);
    ReadComponentRes(&In, &Copy);
    ExpectSameTree(*Form, Copy);
    EXPECT_EQ(Copy.LoadedCalls, 1);
    EXPECT_EQ(dynamic_cast<TBox*>(Copy.FindComponent("Inner"))->LoadedCalls, 1);
    EXPECT_FALSE(Copy.ComponentState().Contains(csLoading));
    EXPECT_FALSE(Copy.ComponentState().Contains(csReading));

    // A stream names its root's class, which is enough to make one.
    TStringStream Again(Bytes);
    std::unique_ptr<TComponent> Made(ReadComponentRes(&Again, nullptr));
    auto* MadeForm = dynamic_cast<TBoxForm*>(Made.get());
    ASSERT_NE(MadeForm, nullptr);
    ExpectSameTree(*Form, *MadeForm);
}

TEST(Filer, TextFormMatchesGoldenFileAndConvertsBackToTheSameBytes) {
    auto Form = MakeTree();
    const AnsiString Bytes = Binary(Form.get());
    const AnsiString Golden = ReadFile(CLASSES_GOLDEN_DIR "/box_tree.txt");
    EXPECT_EQ(TextOf(Bytes), Golden);
    EXPECT_EQ(BinaryOf(Golden), Bytes);
}

TEST(Filer, PropertiesAtTheirDefaultAreNotWritten) {
    RegisterStreamFixture();
    TBoxForm Form(nullptr);
    Form.SetName("Plain");
    // A text is written whatever it is, but for an empty one where a new
    // object has one too (Caption here).
    EXPECT_EQ(TextOf(Binary(&Form)), "object Plain: TBoxForm\n  Sample.Face = 'Sans'\nend\n");
}

TEST(Filer, TextFormKeepsValuesOfEveryNotation) {
    RegisterStreamFixture();
    const AnsiString Text = "object X: TBoxForm\n"
                            "  Extra = 1.5s\n"
                            "  Ratio = -INF\n"
                            "  Wide = $10\n"
                            "  Caption = 'a'#13#10'b' +\n"
                            "    'c'#233\n"
                            "end\n";
    TBoxForm Form(nullptr);
    TStringStream In(BinaryOf(Text));
    ReadComponentRes(&In, &Form);
    EXPECT_EQ(Form.Extra(), Variant(1.5));
    EXPECT_TRUE(std::isinf(Form.Ratio()) && Form.Ratio() < 0);
    EXPECT_EQ(Form.Wide(), 16);
    EXPECT_EQ(Form.Caption(), "a\r\nbc\xC3\xA9");

    // A wide string (UTF-16, here with a surrogate pair) reads as UTF-8.
    TBoxForm Wide(nullptr);
    TStringStream WideIn("TPF0\x08TBoxForm\x01W\x07"
                         "Caption\x12\x03\x00\x00\x00"
                         "h\x00\x3D\xD8\x00\xDE\x00\x00"s);
    ReadComponentRes(&WideIn, &Wide);
    EXPECT_EQ(Wide.Caption(), "h\xF0\x9F\x98\x80");
}

TEST(Filer, BadTextNamesTheLine) {
    const char* Cases[] = {
        "object X: TBoxForm\n  Left = \nend\n",
        "object X: TBoxForm\n  Caption = 'open\nend\n",
        "object X: TBoxForm\n  Blob = {0G}\nend\n",
        "object X TBoxForm\n",
        // A single past the largest one would be stored as an infinity.
        "object X: TBoxForm\n  Extra = 1e39s\nend\n",
        "object X: TBoxForm\n  Extra = 3.4028236e38s\nend\n",
        // A child position the reader cannot take back.
        "object X: TBoxForm\n  object A: TBox [-1]\n  end\nend\n",
        "object X: TBoxForm\n  object A: TBox [2147483648]\n  end\nend\n",
    };
    for (const char* Text : Cases) {
        try {
            BinaryOf(Text);
            ADD_FAILURE() << "accepted: " << Text;
        } catch (const EParserError& E) {
            EXPECT_EQ(E.Message.rfind("Line ", 0), 0u) << E.Message;
        }
    }
}

// A currency text is read exactly into its ten-thousandths: all 19 digits
// of the widest value survive, the fifth decimal rounds half away from
// zero, and a value the stream cannot hold is refused.
TEST(Filer, CurrencyTextKeepsEveryDigit) {
    RegisterStreamFixture();
    const std::pair<const char*, const char*> Cases[] = {
        {"12345678901234.5678c", "12345678901234.5678c"},
        {"922337203685477.5807c", "922337203685477.5807c"},
        {"-922337203685477.5808c", "-922337203685477.5808c"},
        {"0.00005c", "0.0001c"},
        {"-0.00005c", "-0.0001c"},
        {"0.00004999c", "0.0c"},
        {"1.23456e3c", "1234.56c"},
        {"123456.0e-4c", "12.3456c"},
        // An exponent that puts the digits past the fifth decimal leaves
        // nothing to round up.
        {"5e-6c", "0.0c"},
        {"9e-10c", "0.0c"},
        {"-9e-6c", "0.0c"},
        {"5e-5c", "0.0001c"},
        {"-5.0e-5c", "-0.0001c"},
        {"49999e-9c", "0.0c"},
        {"50000e-9c", "0.0001c"},
    };
    for (const auto& [Value, Expected] : Cases) {
        SCOPED_TRACE(Value);
        const AnsiString Text = AnsiString("object X: TBoxForm\n  Extra = ") + Value + "\nend\n";
        EXPECT_EQ(TextOf(BinaryOf(Text)),
                  AnsiString("object X: TBoxForm\n  Extra = ") + Expected + "\nend\n");
    }
    // The last one rounds up past the widest value.
    for (const char* Value :
         {"922337203685477.5808c", "1e20c", "-1e300c", "922337203685477.58075c"}) {
        try {
            BinaryOf(AnsiString("object X: TBoxForm\n  Extra = ") + Value + "\nend\n");
            ADD_FAILURE() << "accepted: " << Value;
        } catch (const EParserError& E) {
            EXPECT_NE(E.Message.find("currency value out of range"), AnsiString::npos) << E.Message;
        }
    }
}

// Currency is read into a component as the scaled integer the stream
// holds: through a double the last of its 19 digits would go, and the
// widest values would fall out of range.
TEST(Filer, CurrencyIsReadIntoAComponentExactly) {
    RegisterStreamFixture();
    const std::pair<const char*, std::int64_t> Cases[] = {
        {"12345678901234.5678c", 123456789012345678LL},
        {"922337203685477.5807c", std::numeric_limits<std::int64_t>::max()},
        {"-922337203685477.5808c", std::numeric_limits<std::int64_t>::min()},
        {"-0.0001c", -1},
    };
    for (const auto& [Value, Scaled] : Cases) {
        SCOPED_TRACE(Value);
        TBoxForm Form(nullptr);
        TStringStream In(BinaryOf(AnsiString("object X: TBoxForm\n  Extra = ") + Value + "\nend\n"));
        ReadComponentRes(&In, &Form);
        ASSERT_EQ(Form.Extra().Type(), varCurrency);
        EXPECT_EQ(Form.Extra().AsCurrency().Val, Scaled);
        // Written again, it is the same amount.
        EXPECT_NE(TextOf(Binary(&Form)).find(AnsiString("Extra = ") + Value), AnsiString::npos);
    }
}

// A single goes to its text and back bit for bit: the text is read as a
// single, not as a double rounded again to a single, and the largest ones
// are not refused.
TEST(Filer, EverySingleComesBackFromItsTextBitForBit) {
    RegisterStreamFixture();
    const auto Stream = [](std::uint32_t Bits) {
        AnsiString Bytes = "TPF0\x08TBoxForm\x01X\x05"s + "Extra\x0F"s;
        Bytes.append(reinterpret_cast<const char*>(&Bits), 4);
        return Bytes + "\x00\x00"s;
    };
    std::vector<std::uint32_t> Cases = {0x7F7FFFFF, 0xFF7FFFFF, 0x15AE43FD, 0x00000001,
                                        0x80000001, 0x00800000, 0x007FFFFF, 0x80000000,
                                        0x3DCCCCCD, 0x4B7FFFFF};
    // And a spread of the others; infinities and NaNs have no single's text.
    for (std::uint64_t Bits = 0; Bits <= 0xFFFFFFFFu; Bits += 0x10001u * 7)
        if ((Bits & 0x7F800000u) != 0x7F800000u) Cases.push_back(static_cast<std::uint32_t>(Bits));
    int Wrong = 0;
    for (const std::uint32_t Bits : Cases) {
        const AnsiString Text = TextOf(Stream(Bits));
        AnsiString Back;
        try {
            Back = BinaryOf(Text);
        } catch (const EParserError& E) {
            Back = E.Message;
        }
        if (Back != Stream(Bits) && ++Wrong <= 5)
            ADD_FAILURE() << std::hex << Bits << ": " << Text;
    }
    EXPECT_EQ(Wrong, 0);
}

// Written and read back, a value is what it was: a NaN keeps its sign and
// payload, a zero its sign, and an empty text stays empty where a new
// object has another.
TEST(Filer, WhatWasStoredIsWhatIsReadBack) {
    RegisterStreamFixture();
    const auto Double = [](std::uint64_t Bits) {
        double Value;
        std::memcpy(&Value, &Bits, 8);
        return Value;
    };
    const auto BitsOf = [](double Value) {
        std::uint64_t Bits;
        std::memcpy(&Bits, &Value, 8);
        return Bits;
    };
    for (const std::uint64_t Bits :
         {0x7FF8000000012345ull, 0xFFF4000000000001ull, 0x7FF0000000000001ull,
          0x8000000000000000ull, 0xFFF8000000000000ull}) {
        SCOPED_TRACE(Bits);
        TBoxForm Form(nullptr);
        Form.SetRatio(Double(Bits));
        Form.SetExtra(Variant(Double(Bits)));
        TBoxForm Copy(nullptr);
        TStringStream In(Binary(&Form));
        ReadComponentRes(&In, &Copy);
        EXPECT_EQ(BitsOf(Copy.Ratio()), Bits);
        ASSERT_EQ(Copy.Extra().Type(), varDouble);
        EXPECT_EQ(BitsOf(Copy.Extra().AsDouble()), Bits);
    }
    TBoxForm Form(nullptr);
    Form.Sample()->SetFace("");
    TBoxForm Copy(nullptr);
    TStringStream In(Binary(&Form));
    ReadComponentRes(&In, &Copy);
    EXPECT_EQ(Copy.Sample()->Face(), "");

    // An extended NaN gives a double NaN with the top of its payload, which
    // goes back to the same extended.
    const AnsiString Extended = "TPF0\x08TBoxForm\x01X\x05Ratio\x05"
                                "\x00\x88\x46\x02\x00\x00\x00\xC0\xFF\x7F\x00\x00"s;
    TBoxForm FromExtended(nullptr);
    TStringStream ExtendedIn(Extended);
    ReadComponentRes(&ExtendedIn, &FromExtended);
    EXPECT_EQ(BitsOf(FromExtended.Ratio()), 0x7FF80000000048D1ull);
    EXPECT_EQ(Binary(&FromExtended).rfind(Extended.substr(0, Extended.size() - 2), 0), 0u);
}

// The class name opens an object in the stream behind a one-byte length,
// and a length of $F0 or more there would read as flags: such a name is
// refused with the line it stands on; one of 239 characters goes through.
TEST(Filer, AClassNameTheStreamCannotCarryIsRefusedWithItsLine) {
    const AnsiString Long(240, 'T');
    for (const auto& [Text, Line] :
         {std::pair<AnsiString, const char*>{"object " + Long + "\nend\n", "Line 1: "},
          {"object X:\n\n  " + Long + "\nend\n", "Line 3: "},
          {"object X: TBoxForm\n  object Y: " + Long + "\n  end\nend\n", "Line 2: "}}) {
        try {
            BinaryOf(Text);
            ADD_FAILURE() << "accepted: " << Text;
        } catch (const EParserError& E) {
            EXPECT_EQ(E.Message.rfind(Line, 0), 0u) << E.Message;
            EXPECT_NE(E.Message.find("240 characters"), AnsiString::npos) << E.Message;
        }
    }
    const AnsiString Fits = "object " + AnsiString(239, 'T') + "\nend\n";
    EXPECT_EQ(TextOf(BinaryOf(Fits)), Fits);
}

TEST(Filer, OnlyRegisteredClassesAreMadeFromAStream) {
    RegisterStreamFixture();
    const AnsiString Text = "object Form1: TBoxForm\n"
                            "  object Evil: TSecretBox\n"
                            "  end\n"
                            "end\n";
    TBoxForm Form(nullptr);
    TStringStream In(BinaryOf(Text));
    try {
        ReadComponentRes(&In, &Form);
        FAIL() << "an unknown class was accepted";
    } catch (const EClassNotFound& E) {
        EXPECT_NE(E.Message.find("TSecretBox"), AnsiString::npos);
    }
    EXPECT_EQ(Form.ComponentCount(), 0);
    EXPECT_FALSE(Form.ComponentState().Contains(csLoading));

    // TSample is published but not registered: it may not be made either.
    TStringStream Root(BinaryOf("object S: TSample\nend\n"));
    EXPECT_THROW(ReadComponentRes(&Root, nullptr), EClassNotFound);
}

TEST(Filer, EveryTruncationOfAValidStreamRaisesReadError) {
    auto Form = MakeTree();
    const AnsiString Bytes = Binary(Form.get());
    for (std::size_t Length = 0; Length < Bytes.size(); ++Length) {
        TBoxForm Copy(nullptr);
        TStringStream In(Bytes.substr(0, Length));
        EXPECT_THROW(ReadComponentRes(&In, &Copy), EReadError) << "length " << Length;
        EXPECT_EQ(Copy.ComponentCount(), 0) << "length " << Length;
    }
}

TEST(Filer, CorruptStreamsRaiseReadErrorNamingTheFault) {
    RegisterStreamFixture();
    struct Case {
        AnsiString Text;   // a valid text form, or empty for Raw
        AnsiString Raw;    // bytes as they are
        const char* Fault; // part of the message
    };
    const AnsiString Head = "TPF0\x08TBoxForm\x01X"s;
    // Boxes inside boxes, deeper than any form has them.
    AnsiString Deep = Head + "\x00"s;
    for (int I = 0; I < 70; ++I) {
        const AnsiString Name = "N" + std::to_string(I);
        Deep += "\x04TBox"s + static_cast<char>(Name.size()) + Name + "\x00"s;
    }
    const Case Cases[] = {
        {"", "XPF0", "signature"},
        {"", Head + "\x04Left\x30"s, "unknown value type"},
        {"",
         Head + "\x07"
                "Caption\x0C\xFF\xFF\xFF\x7F"s,
         "string needs"},
        {"",
         Head + "\x07"
                "Caption\x0C\xFF\xFF\xFF\xFF"s,
         "negative"},
        {"",
         Head + "\x04"
                "Blob\x0A\x00\x00\x00\x40"s,
         "binary data needs"},
        {"",
         Head + "\x00\x04TBox\x01"
                "9"
                "\x00\x00\x00\x00"s,
         "9"},
        {"", Deep, "nesting"},
        {"object X: TBoxForm\n  Shade = shPurple\nend\n", "", "shPurple"},
        {"object X: TBoxForm\n  Shades = [shLight, shPink]\nend\n", "", "shPink"},
        {"object X: TBoxForm\n  Colour = 1\nend\n", "", "Colour does not exist"},
        {"object X: TBoxForm\n  Sample.Nope = 1\nend\n", "", "Nope does not exist"},
        {"object X: TBoxForm\n  Left = 'ten'\nend\n", "", "integer expected"},
        {"object X: TBoxForm\n  Left = 5000000000\nend\n", "", "out of range"},
        {"object X: TBoxForm\n  Active = 1\nend\n", "", "True or False"},
        {"object X: TBoxForm\n  Entries = 3\nend\n", "", "collection expected"},
        {"object X: TBoxForm\n  object A: TBox\n  end\n  object a: TBox\n  end\nend\n", "", "a"},
    };
    for (const Case& C : Cases) {
        const AnsiString Bytes = !C.Text.empty() ? BinaryOf(C.Text) : C.Raw;
        TBoxForm Form(nullptr);
        TStringStream In(Bytes);
        try {
            ReadComponentRes(&In, &Form);
            ADD_FAILURE() << "accepted: " << C.Fault;
        } catch (const EReadError& E) {
            EXPECT_NE(E.Message.find(C.Fault), AnsiString::npos) << E.Message;
        }
        EXPECT_EQ(Form.ComponentCount(), 0) << C.Fault;
    }
}

TEST(Filer, ReferencesResolveAfterLoadingAcrossRootsAndStayEmptyWhenMissing) {
    RegisterStreamFixture();
    TBoxForm Other(nullptr);
    Other.SetName("Other");
    auto* Target = new TBox(&Other);
    Target->SetName("Target");
    SetFindGlobalComponent([&Other](const AnsiString& Name) -> TComponent* {
        return Name == "Other" ? &Other : nullptr;
    });

    // The reference is read before the box it names exists.
    const AnsiString Text = "object F: TBoxForm\n"
                            "  Link = Later\n"
                            "  object A: TBox\n"
                            "    Link = Other.Target\n"
                            "  end\n"
                            "  object B: TBox\n"
                            "    Link = Gone\n"
                            "  end\n"
                            "  object Later: TBox\n"
                            "  end\n"
                            "end\n";
    TBoxForm Form(nullptr);
    TStringStream In(BinaryOf(Text));
    ReadComponentRes(&In, &Form);
    SetFindGlobalComponent(nullptr);
    EXPECT_EQ(Form.Link(), Form.FindComponent("Later"));
    EXPECT_EQ(dynamic_cast<TBox*>(Form.FindComponent("A"))->Link(), Target);
    EXPECT_EQ(dynamic_cast<TBox*>(Form.FindComponent("B"))->Link(), nullptr);

    // Written back, a reference into another root carries that root's name.
    EXPECT_NE(TextOf(Binary(&Form)).find("Link = Other.Target"), AnsiString::npos);
}
