#pragma once
// Message-level coders: an encoder turns a whole attachment into the lines
// of a MIME, UUE or XXE body; a decoder reads one part of a received
// message (its header, then its body) and hands on to the next part. Two
// registries map a name to each coder's information object; "MIME", "UUE"
// and "XXE" are there from the first look-up on.
#include "mail/MxComponent.h"
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/StringList.h"

#include <cstdint>
#include <functional>
#include <memory>

class TStream;

namespace mail {

class TMxMessage;

class TMxMessageEncoder : public TMxComponent {
public:
    using TMxComponent::TMxComponent;
    AnsiString ClassName() const override { return "TMxMessageEncoder"; }

    // Codes the whole of ASrc (from its start) onto ADest as text lines
    // ending in CR LF.
    virtual void EncodeStream(TStream* ASrc, TStream* ADest) = 0;

    AnsiString PartFileName;
    int ModeNumber = 660;
};

class TMxMessageEncoderInfo : public TObject {
public:
    using TEncoderClass = std::function<std::unique_ptr<TMxMessageEncoder>()>;
    explicit TMxMessageEncoderInfo(TEncoderClass AEncoderClass)
        : EncoderClass(std::move(AEncoderClass)) {}
    AnsiString ClassName() const override { return "TMxMessageEncoderInfo"; }

    // Sets what the encoding needs in the message's headers; nothing here.
    virtual void PrepareHeaders(TMxMessage* AMsg) { (void)AMsg; }

    TEncoderClass EncoderClass;
};

enum class TMxPartKind : std::uint8_t { pkUnclassified = 0, pkText = 1, pkAttachment = 2 };

// The longest header block (of a message or of a part) a reader collects,
// in lines; a longer one is refused rather than stored without bound.
inline constexpr int MxMaxHeaderLines = 1000;

class TMxMessageDecoder : public TMxComponent {
public:
    explicit TMxMessageDecoder(TMxMessage* AMsg);
    ~TMxMessageDecoder() override;
    AnsiString ClassName() const override { return "TMxMessageDecoder"; }

    // Decodes the part's body onto ADest. VMsgEnd tells that the message's
    // end line was read. Returns the decoder of the next part, or none.
    virtual std::unique_ptr<TMxMessageDecoder> DecodeBody(TStream* ADest, bool& VMsgEnd) = 0;
    // Reads the part's header and classifies the part.
    virtual void ReadPartHeader() {}

    TStream* Source() const { return FSource; }
    // The decoder frees the source with itself when AOwnsSource.
    void SetSource(TStream* ASource, bool AOwnsSource = true);
    TMxMessage* Message() const { return FMessage; }

    AnsiString PartFileName;
    TMxPartKind PartKind = TMxPartKind::pkUnclassified;
    // Header lines as "name=value".
    TStringList PartHeaderLines;

protected:
    // The next line of Source without its line end; EMxEndOfStream when the
    // source has no more.
    AnsiString ReadLine();

private:
    TMxMessage* FMessage;
    TStream* FSource = nullptr;
    bool FOwnsSource = true;
};

class TMxMessageDecoderInfo : public TObject {
public:
    AnsiString ClassName() const override { return "TMxMessageDecoderInfo"; }
    // A decoder for the part that ALine starts, or none.
    virtual std::unique_ptr<TMxMessageDecoder> StartsPart(TMxMessage* AMsg,
                                                          const AnsiString& ALine) = 0;
};

// The registries. Names compare without regard to case.
class TMxMessageEncoderList {
public:
    static void RegisterEncoder(const AnsiString& AName,
                                std::unique_ptr<TMxMessageEncoderInfo> AInfo);
    // "Message encoder not found: <name>" (EMxException) when not registered.
    static TMxMessageEncoderInfo* FindEncoder(const AnsiString& AName);
};

class TMxMessageDecoderList {
public:
    static void RegisterDecoder(const AnsiString& AName,
                                std::unique_ptr<TMxMessageDecoderInfo> AInfo);
    // Asks each decoder information in order of registration; the first
    // decoder returned wins.
    static std::unique_ptr<TMxMessageDecoder> CheckForStart(TMxMessage* AMsg,
                                                            const AnsiString& ALine);
};

} // namespace mail
