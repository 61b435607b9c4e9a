// The package's controls in the component stream: a form holding each of
// them, with settings away from their defaults, written and read back into
// an equal form; and the defaults the descriptions declare, which decide
// what is left out of a stream, checked against new controls.
#include "components/ColorBitBtn.h"
#include "components/DateEdit.h"
#include "components/MonthCalendar.h"
#include "components/PhoneEdit.h"
#include "components/PostalEdit.h"
#include "components/QuarterHourPicker.h"
#include "components/SlidingPanel.h"

#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PublishedProps.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>

using namespace components;

namespace {

AnsiString TextOf(const AnsiString& Bytes) {
    TStringStream In(Bytes), Out;
    ObjectBinaryToText(&In, &Out);
    return Out.DataString();
}

std::size_t Occurrences(const AnsiString& Text, const AnsiString& What) {
    std::size_t Count = 0;
    for (auto At = Text.find(What); At != AnsiString::npos; At = Text.find(What, At + 1))
        ++Count;
    return Count;
}

// A bitmap's picture as the bytes of its BMP image.
AnsiString ImageOf(TBitmap* Bitmap) {
    TStringStream Out;
    Bitmap->SaveToStream(&Out);
    return Out.DataString();
}

// A picture with a pixel set apart, so that its bytes say where it came from.
std::unique_ptr<TBitmap> Picture(int Width, int Height, std::uint32_t Marked) {
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->SetPixelFormat(pf24bit);
    Bitmap->SetSize(Width, Height);
    Bitmap->ScanLine(1)[2] = Marked;
    return Bitmap;
}

// The lines of one top-level object of a form's text.
AnsiString Block(const AnsiString& Text, const AnsiString& Header) {
    const auto Start = Text.find(Header);
    if (Start == AnsiString::npos) return {};
    const auto End = Text.find("\n  end\n", Start);
    return Text.substr(Start, End == AnsiString::npos ? AnsiString::npos : End + 1 - Start);
}

template <class T> T* Make(TForm& Form, TWinControl* Parent, const char* Name) {
    auto* Control = new T(&Form);
    Control->SetName(Name);
    Control->SetParent(Parent);
    return Control;
}

class PackageStreaming : public ::testing::Test {
protected:
    void SetUp() override { ResetFormatSettings(); }
    // The date edit's Format changes the process-wide date format.
    void TearDown() override { ResetFormatSettings(); }
};

TEST_F(PackageStreaming, FormWithEveryControlReadsBackEqual) {
    TForm Form(nullptr);
    Form.SetName("PackageForm");

    auto* Ok = Make<TColorBitBtn>(Form, &Form, "OkButton");
    Ok->SetKind(bkOK);
    Ok->SetCaption("&Go");
    Ok->SetColor(clYellow);
    Ok->SetFocusColor(clRed);
    Ok->FocusFont()->SetStyle(TFontStyles{fsBold});
    Ok->SetMargin(3);
    // A kind no longer matched reads bkCustom: the stream keeps Default
    // and leaves the kind out, so the copy does not re-apply the kind.
    auto* Custom = Make<TColorBitBtn>(Form, &Form, "CustomButton");
    Custom->SetKind(bkOK);
    Custom->SetDefault(true);
    // A button of its own kind keeps its glyphs' pixels.
    auto* Glyphs = Make<TColorBitBtn>(Form, &Form, "GlyphButton");
    Glyphs->SetGlyph(Picture(32, 16, 0x00FF0000).get());
    Glyphs->SetNumGlyphs(2);
    Glyphs->SetGlyph2(Picture(16, 16, 0x000000FF).get());

    auto* DateEdit = Make<TPWDateEdit>(Form, &Form, "DateEdit");
    DateEdit->SetFormat("mm/dd/yyyy");
    DateEdit->SetText("12/25/2026");

    auto* Calendar = Make<TPWCalendar>(Form, &Form, "Calendar");
    Calendar->SetStartOfWeek(DayOfWeek_t::Mon);
    Calendar->SetDateFormat("mmm yy");
    Calendar->SetMultiSelect(true);
    Calendar->SetHeadingSelect(true);
    Calendar->SetTabStop(false);

    auto* Picker = Make<TCustomDateTimePicker>(Form, &Form, "Picker");
    Picker->SetKind(dtkTime);
    const TDateTime When = EncodeDate(2026, 3, 4) + EncodeTime(10, 15, 0, 0);
    Picker->SetDateTime(When);

    auto* Sliding = Make<TSlidingPanel>(Form, &Form, "Sliding");
    Sliding->SetBounds(0, 0, 180, 120);
    Sliding->SetOpenFrom(ofRight);
    Sliding->SetOpenSize(220);
    Sliding->SetHighlightColor(clRed);
    Sliding->SetHighlightArrowColor(clLime);
    // The edits sit on the sliding panel: its own strip stays out of the
    // stream, the form's controls on it go in.
    auto* Phone = Make<TPWPhoneEdit>(Form, Sliding, "Phone");
    Phone->SetFormat("(###) ###-####");
    Phone->SetText("5551234567");
    auto* Zip = Make<TPWZipEdit>(Form, Sliding, "Zip");
    Zip->SetText("12345");

    TStringStream Stream;
    WriteComponentRes(&Stream, &Form);
    const AnsiString Text = TextOf(Stream.DataString());
    for (const char* Line :
         {"  object OkButton: TColorBitBtn\n", "    Kind = bkOK\n", "    Caption = '&Go'\n",
          "    FocusFont.Style = [fsBold]\n", "    StartOfWeek = Mon\n", "    OpenFrom = ofRight\n",
          "    OpenSize = 220\n", "    object Phone: TPWPhoneEdit\n",
          "      Format = '(###) ###-####'\n", "      Text = '5551234567'\n",
          "    object Zip: TPWZipEdit\n", "    Kind = dtkTime\n"})
        EXPECT_EQ(Occurrences(Text, Line), 1u) << Line << Text;
    // Properties a control publishes again over its base's are written
    // once, its own way.
    const AnsiString CalendarText = Block(Text, "  object Calendar: TPWCalendar\n");
    EXPECT_EQ(Occurrences(CalendarText, "TabStop ="), 1u) << CalendarText;
    EXPECT_EQ(Occurrences(CalendarText, "    TabStop = False\n"), 1u) << CalendarText;
    EXPECT_EQ(Occurrences(Text, "Text = '5551234567'"), 1u) << Text;
    // A kind brings its glyph, which is not written; the hover glyph is
    // written only when there is one.
    const AnsiString OkText = Block(Text, "  object OkButton: TColorBitBtn\n");
    EXPECT_EQ(Occurrences(OkText, "Glyph"), 0u) << OkText;
    EXPECT_EQ(Occurrences(OkText, "NumGlyphs"), 0u) << OkText;
    const AnsiString GlyphText = Block(Text, "  object GlyphButton: TColorBitBtn\n");
    EXPECT_EQ(Occurrences(GlyphText, "    Glyph.Data = {"), 1u) << GlyphText;
    EXPECT_EQ(Occurrences(GlyphText, "    Glyph2.Data = {"), 1u) << GlyphText;
    EXPECT_EQ(Occurrences(GlyphText, "    NumGlyphs = 2\n"), 1u) << GlyphText;
    EXPECT_EQ(Occurrences(Text, "Collapsed"), 0u) << "read-only: " << Text;
    EXPECT_EQ(Occurrences(Text, "object Sliding: TSlidingPanel\n"), 1u);
    EXPECT_EQ(Occurrences(Text, ": TPanel"), 0u) << "the strip is the panel's own: " << Text;

    ResetFormatSettings();
    TForm Copy(nullptr);
    Stream.SetPosition(0);
    ReadComponentRes(&Stream, &Copy);

    auto* OkB = dynamic_cast<TColorBitBtn*>(Copy.FindComponent("OkButton"));
    auto* CustomB = dynamic_cast<TColorBitBtn*>(Copy.FindComponent("CustomButton"));
    auto* GlyphsB = dynamic_cast<TColorBitBtn*>(Copy.FindComponent("GlyphButton"));
    auto* DateEditB = dynamic_cast<TPWDateEdit*>(Copy.FindComponent("DateEdit"));
    auto* CalendarB = dynamic_cast<TPWCalendar*>(Copy.FindComponent("Calendar"));
    auto* PickerB = dynamic_cast<TCustomDateTimePicker*>(Copy.FindComponent("Picker"));
    auto* SlidingB = dynamic_cast<TSlidingPanel*>(Copy.FindComponent("Sliding"));
    auto* PhoneB = dynamic_cast<TPWPhoneEdit*>(Copy.FindComponent("Phone"));
    auto* ZipB = dynamic_cast<TPWZipEdit*>(Copy.FindComponent("Zip"));
    ASSERT_TRUE(OkB && CustomB && GlyphsB && DateEditB && CalendarB && PickerB && SlidingB &&
                PhoneB && ZipB)
        << Text;

    EXPECT_EQ(OkB->Kind(), bkOK);
    EXPECT_EQ(OkB->Caption(), "&Go");
    EXPECT_EQ(OkB->ModalResult(), mrOk);
    EXPECT_EQ(OkB->NumGlyphs(), 2);
    EXPECT_EQ(OkB->Color(), clYellow);
    EXPECT_EQ(OkB->FocusColor(), clRed);
    EXPECT_TRUE(FontsEqual(*OkB->FocusFont(), *Ok->FocusFont()));
    EXPECT_EQ(OkB->Margin(), 3);
    EXPECT_EQ(CustomB->Kind(), bkCustom);
    EXPECT_TRUE(CustomB->Default());
    EXPECT_EQ(CustomB->Caption(), "OK");
    EXPECT_EQ(GlyphsB->NumGlyphs(), 2);
    EXPECT_EQ(ImageOf(GlyphsB->Glyph()), ImageOf(Glyphs->Glyph()));
    EXPECT_EQ(ImageOf(GlyphsB->Glyph2()), ImageOf(Glyphs->Glyph2()));
    EXPECT_FALSE(GlyphsB->Glyph2()->Empty());

    EXPECT_EQ(DateEditB->GetFormat(), "mm/dd/yyyy");
    EXPECT_EQ(DateEditB->Text(), "12/25/2026");
    EXPECT_EQ(FormatSettings().ShortDateFormat, "mm/dd/yyyy") << "reading Format sets it again";

    EXPECT_EQ(CalendarB->StartOfWeek(), DayOfWeek_t::Mon);
    EXPECT_EQ(CalendarB->DateFormat(), "mmm yy");
    EXPECT_TRUE(CalendarB->MultiSelect());
    EXPECT_TRUE(CalendarB->HeadingSelect());
    EXPECT_FALSE(CalendarB->GetTabStop());

    EXPECT_EQ(PickerB->Kind(), dtkTime);
    EXPECT_DOUBLE_EQ(static_cast<double>(PickerB->DateTime()), static_cast<double>(When));

    EXPECT_EQ(SlidingB->OpenFrom(), ofRight);
    EXPECT_EQ(SlidingB->OpenSize(), 220);
    EXPECT_EQ(SlidingB->Width(), 180);
    EXPECT_EQ(SlidingB->HighlightColor(), clRed);
    EXPECT_EQ(SlidingB->HighlightArrowColor(), clLime);

    EXPECT_EQ(PhoneB->Parent(), SlidingB);
    EXPECT_EQ(PhoneB->GetFormat(), "(###) ###-####");
    EXPECT_EQ(PhoneB->Text(), "5551234567");
    EXPECT_EQ(PhoneB->GetFormattedText(), "(555) 123-4567") << "laid into the stored pattern";
    EXPECT_EQ(ZipB->Parent(), SlidingB);
    EXPECT_EQ(ZipB->Text(), "12345");
}

// A glyph's stored size must fit the bytes stored: the read stops with an
// error naming both, and the form takes nothing from it. Size 0 is an
// empty glyph.
TEST_F(PackageStreaming, GlyphDataIsReadOnlyWithinItsBytes) {
    struct Case {
        const char* Data;
        const char* Error; // nullptr: read
    };
    for (const Case& C : {Case{"FFFF000042", "65535 bytes where 1 are stored"},
                          Case{"FFFFFFFF", "-1 bytes where 0 are stored"},
                          Case{"0100", "Stream read error"}, Case{"00000000", nullptr}}) {
        const AnsiString Text = AnsiString("object F: TForm\n"
                                           "  object B: TColorBitBtn\n"
                                           "    Glyph.Data = {") +
                                C.Data + "}\n  end\nend\n";
        TStringStream In(Text), Binary;
        ObjectTextToBinary(&In, &Binary);
        Binary.SetPosition(0);
        TForm Form(nullptr);
        try {
            ReadComponentRes(&Binary, &Form);
            EXPECT_EQ(C.Error, nullptr) << "accepted " << C.Data;
            auto* Button = dynamic_cast<TColorBitBtn*>(Form.FindComponent("B"));
            ASSERT_NE(Button, nullptr);
            EXPECT_TRUE(Button->Glyph()->Empty());
        } catch (const EReadError& E) {
            ASSERT_NE(C.Error, nullptr) << C.Data << ": " << E.Message;
            EXPECT_NE(E.Message.find(C.Error), AnsiString::npos) << E.Message;
            EXPECT_EQ(Form.ComponentCount(), 0);
        }
    }
}

// A declared default is left out of a stream, so it must be what a new
// control holds: otherwise a value equal to it would be lost on reading.
TEST_F(PackageStreaming, DeclaredDefaultsAreWhatANewControlHolds) {
    TForm Form(nullptr);
    const std::vector<std::function<TComponent*()>> Makers{
        [&] { return new TColorBitBtn(&Form); },  [&] { return new TPWDateEdit(&Form); },
        [&] { return new TPWCalendar(&Form); },   [&] { return new TPWPhoneEdit(&Form); },
        [&] { return new TPWZipEdit(&Form); },    [&] { return new TCustomDateTimePicker(&Form); },
        [&] { return new TSlidingPanel(&Form); },
    };
    for (const auto& MakeOne : Makers) {
        TComponent* Control = MakeOne();
        const TClassInfo* Class = GetClassInfo(Control);
        ASSERT_NE(Class, nullptr);
        EXPECT_EQ(Class->ClassName, Control->ClassName());
        EXPECT_EQ(FindClass(Class->ClassName), Class) << "made from streams";
        for (const TPropInfo& Prop : Class->OwnProps)
            if (Prop.Default != NoDefault && IsStoredProp(Control, &Prop)) {
                EXPECT_TRUE(IsDefaultPropValue(Control, &Prop))
                    << Class->ClassName << "." << Prop.Name << " = " << GetOrdProp(Control, &Prop);
            }
    }
}

} // namespace
