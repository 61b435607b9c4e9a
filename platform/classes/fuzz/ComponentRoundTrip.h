#pragma once
// The component stream's round trip as a property, for the reader fuzzer
// and the replay of its corpus: what a stream loads into the fixture's
// boxes is what they load again once written, every value as it was, a
// NaN's payload and a zero's sign included.
#include "platform/classes/Filer.h"
#include "platform/classes/fuzz/StreamFixture.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Variant.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace stream_fixture {

inline std::string BitsText(double Value) {
    std::uint64_t Bits;
    std::memcpy(&Bits, &Value, 8);
    return std::to_string(Bits);
}

// A variant as the stream carries it: integers of every width are one kind
// there, and so are a single and a double.
inline std::string VariantText(const Variant& Value) {
    switch (Value.Type() & varTypeMask) {
    case varEmpty:
        return "empty";
    case varNull:
        return "null";
    case varBoolean:
        return Value.AsBoolean() ? "true" : "false";
    case varSingle:
    case varDouble:
        return "float " + BitsText(Value.AsDouble());
    case varDate:
        return "date " + BitsText(Value.AsDouble());
    case varCurrency:
        return "currency " + std::to_string(Value.AsCurrency().Val);
    case varString:
    case varOleStr:
        return "string " + Value.AsString();
    default:
        return "integer " + std::to_string(Value.AsInt64());
    }
}

// Every value of one box, a line each.
inline std::string BoxText(const TBox& Box) {
    std::string Text = Box.Name() + ": " + Box.ClassName() + " in " +
                       (Box.ParentBox() ? Box.ParentBox()->Name() : AnsiString("-")) + "\n";
    Text += "Left " + std::to_string(Box.Left()) + " Active " + std::to_string(Box.Active()) +
            " Letter " + std::to_string(static_cast<unsigned char>(Box.Letter())) + " Wide " +
            std::to_string(Box.Wide()) + "\n";
    Text += "Ratio " + BitsText(Box.Ratio()) + " Shade " +
            std::to_string(static_cast<int>(Box.Shade())) + " Shades " +
            std::to_string(Box.Shades().Bits()) + "\n";
    Text += "Caption " + Box.Caption() + "\nExtra " + VariantText(Box.Extra()) + "\n";
    Text += "Sample " + Box.Sample()->Face() + " " + std::to_string(Box.Sample()->Size()) + " " +
            std::to_string(Box.Sample()->Style().Bits()) + "\n";
    Text += "Lines " + Box.Lines()->Text() + "\n";
    for (int I = 0; I < Box.Entries()->Count(); ++I) {
        const auto* Entry = static_cast<const TEntry*>(Box.Entries()->Items(I));
        Text += "Entry " + Entry->Caption() + " " + std::to_string(Entry->Weight()) + " " +
                std::to_string(static_cast<int>(Entry->Shade())) + "\n";
    }
    Text += "Link " + (Box.Link() ? Box.Link()->Name() : AnsiString("-")) + " Checksum " +
            std::to_string(Box.Checksum) + " Blob " +
            std::string(Box.Blob.begin(), Box.Blob.end()) + "\n";
    return Text;
}

// The root and every box it owns, in their order.
inline std::string TreeText(const TBoxForm& Root) {
    std::string Text = BoxText(Root);
    for (int I = 0; I < Root.ComponentCount(); ++I)
        if (const auto* Box = dynamic_cast<const TBox*>(Root.Components(I))) Text += BoxText(*Box);
    return Text;
}

// Empty when the bytes load into a root that, written and read back into
// another, holds the same values (and when they do not load at all);
// otherwise what changed.
inline std::string ComponentRoundTripFault(const std::string& Bytes) {
    RegisterStreamFixture();
    TBoxForm Loaded(nullptr);
    try {
        TStringStream Input(Bytes);
        ReadComponentRes(&Input, &Loaded);
    } catch (const EFilerError&) {
        return {};
    } catch (const EReadError&) {
        return {};
    }
    try {
        TStringStream Written;
        WriteComponentRes(&Written, &Loaded);
        TStringStream Again(Written.DataString());
        TBoxForm Back(nullptr);
        ReadComponentRes(&Again, &Back);
        const std::string Before = TreeText(Loaded);
        const std::string After = TreeText(Back);
        if (Before != After) return "read back as\n" + After + "instead of\n" + Before;
    } catch (const Exception& E) {
        return "the loaded tree does not go through its stream again: " + E.Message;
    }
    return {};
}

} // namespace stream_fixture
