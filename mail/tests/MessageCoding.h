#pragma once
// Driving the message-level coders of the registries the way the message
// client does: an attachment encoder over a file's bytes, and a part read by
// the decoder that the part's first line picks.
#include "mail/MxMessage.h"
#include "mail/MxMessageCoder.h"
#include "platform/rtl/Streams.h"

#include <memory>
#include <string>

namespace mailtest {

// What the registry's encoder AName writes for AData sent as the file AFile.
inline std::string EncodeAttachment(const std::string& AName, const std::string& AData,
                                    const std::string& AFile = "f.bin") {
    auto encoder = mail::TMxMessageEncoderList::FindEncoder(AName)->EncoderClass();
    encoder->PartFileName = AFile;
    TStringStream source(AData);
    source.Seek(0, soEnd); // the encoder codes from the start all the same
    TStringStream dest;
    encoder->EncodeStream(&source, &dest);
    return dest.DataString();
}

// A part as read: the decoder ALine picked (none: it is no part start), the
// bytes it decoded, whether the message ended and the decoder of the part
// that follows.
struct PartRun {
    std::unique_ptr<mail::TMxMessageDecoder> Decoder;
    std::string Data;
    bool MsgEnd = false;
    std::unique_ptr<mail::TMxMessageDecoder> Next;
};

// Asks the registry about the part's first line ALine, then lets the decoder
// read the rest, ASource, as its own source.
inline PartRun RunPart(mail::TMxMessage& AMsg, const std::string& ALine, const std::string& ASource,
                       bool AReadHeader = true) {
    PartRun run;
    run.Decoder = mail::TMxMessageDecoderList::CheckForStart(&AMsg, ALine);
    if (!run.Decoder) return run;
    run.Decoder->SetSource(new TStringStream(ASource));
    if (AReadHeader) run.Decoder->ReadPartHeader();
    TStringStream dest;
    run.Next = run.Decoder->DecodeBody(&dest, run.MsgEnd);
    run.Data = dest.DataString();
    return run;
}

} // namespace mailtest
