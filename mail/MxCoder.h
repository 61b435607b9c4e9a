#pragma once
// The byte coders' common shape: an encoder turns bytes read from a stream
// into text, a decoder turns text back into bytes appended to a stream.
#include "mail/MxComponent.h"
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Streams.h"

#include <limits>

namespace mail {

// "All that remains" as a byte count.
inline constexpr int MxAllBytes = std::numeric_limits<int>::max();

class TMxEncoder : public TMxBaseComponent {
public:
    using TMxBaseComponent::TMxBaseComponent;
    AnsiString ClassName() const override { return "TMxEncoder"; }

    // Codes up to ABytes bytes from ASrcStream's position (MxAllBytes: all).
    virtual AnsiString Encode(TStream* ASrcStream, int ABytes = MxAllBytes) = 0;
    // Codes all bytes of AIn. A coder that can work on the string's bytes
    // directly does so instead of going through a stream.
    virtual AnsiString EncodeString(const AnsiString& AIn);
};

class TMxDecoder : public TMxBaseComponent {
public:
    using TMxBaseComponent::TMxBaseComponent;
    AnsiString ClassName() const override { return "TMxDecoder"; }

    // Decodes AIn and appends the bytes to ADestStream.
    virtual void DecodeToStream(const AnsiString& AIn, TStream* ADestStream) = 0;
    // The bytes of AIn; a coder may decode straight into the result.
    virtual AnsiString DecodeString(const AnsiString& AIn);
};

// The class operations: a coder of class T made, used once and freed.
template <class T> AnsiString MxEncodeString(const AnsiString& AIn) {
    T coder;
    return coder.EncodeString(AIn);
}

template <class T> AnsiString MxDecodeString(const AnsiString& AIn) {
    T coder;
    return coder.DecodeString(AIn);
}

} // namespace mail
