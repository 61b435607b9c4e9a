#pragma once
// The text form's round trip as a property, for the text fuzzer and the
// replay of its corpus: a text that converts to a stream gives a stream its
// own reader takes back, and the text read back from that stream converts
// to the very same stream again.
#include "platform/classes/ObjectText.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

#include <string>

namespace stream_fixture {

// Empty when the property holds for the text (a text refused with
// EParserError holds it too); otherwise what broke.
inline std::string TextRoundTripFault(const std::string& Text) {
    AnsiString Binary;
    try {
        TStringStream In(Text), Out;
        ObjectTextToBinary(&In, &Out);
        Binary = Out.DataString();
    } catch (const EParserError&) {
        return {};
    }
    AnsiString Back;
    try {
        TStringStream In(Binary), Out;
        ObjectBinaryToText(&In, &Out);
        Back = Out.DataString();
    } catch (const Exception& E) {
        return "the stream made from the text does not read back: " + E.Message;
    }
    try {
        TStringStream In(Back), Out;
        ObjectTextToBinary(&In, &Out);
        if (Out.DataString() != Binary) return "the text read back makes another stream:\n" + Back;
    } catch (const Exception& E) {
        return "the text read back is refused: " + E.Message + "\n" + Back;
    }
    return {};
}

} // namespace stream_fixture
