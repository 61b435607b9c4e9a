#include "mail/MxMessageCoderUUE.h"

#include "mail/MxCoder3to4.h"
#include "mail/MxExceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"

namespace mail {

namespace {

void WriteText(TStream* ADest, const AnsiString& AText) {
    ADest->WriteBuffer(AText.data(), static_cast<int>(AText.size()));
}

// Whether ALine is a whole line of data of the scheme with AAlphabet: its
// first character counts the bytes (at least one) and exactly four
// characters follow for every three of them. A block's last line is short,
// so a file under 45 bytes shows its scheme only this way; the two
// alphabets never agree on one.
bool IsWholeLineOf(const AnsiString& ALine, const AnsiString& AAlphabet) {
    const std::size_t count = AAlphabet.find(ALine[0]);
    return count != AnsiString::npos && count > 0 && ALine.size() - 1 == (count + 2) / 3 * 4;
}

} // namespace

// ---------------------------------------------------------- encoders

TMxMessageEncoderUUEBase::TMxMessageEncoderUUEBase(TCoderClass ACoderClass, char AFillChar)
    : FCoderClass(std::move(ACoderClass)), FFillChar(AFillChar) {}

void TMxMessageEncoderUUEBase::EncodeStream(TStream* ASrc, TStream* ADest) {
    WriteText(ADest, "begin " + std::to_string(ModeNumber) + " " + PartFileName + "\r\n");
    ASrc->SetPosition(0);
    const std::unique_ptr<TMxEncoder> coder = FCoderClass();
    while (true) {
        const AnsiString line = coder->Encode(ASrc, 45);
        if (line.empty()) break;
        WriteText(ADest, line + "\r\n");
    }
    WriteText(ADest, AnsiString(1, FFillChar) + "\r\nend\r\n");
}

TMxMessageEncoderUUE::TMxMessageEncoderUUE()
    : TMxMessageEncoderUUEBase([] { return std::make_unique<TMxEncoderUUE>(); }, '`') {}

TMxMessageEncoderXXE::TMxMessageEncoderXXE()
    : TMxMessageEncoderUUEBase([] { return std::make_unique<TMxEncoderXXE>(); }, '+') {}

TMxMessageEncoderInfoUUE::TMxMessageEncoderInfoUUE()
    : TMxMessageEncoderInfo([] { return std::make_unique<TMxMessageEncoderUUE>(); }) {}

TMxMessageEncoderInfoXXE::TMxMessageEncoderInfoXXE()
    : TMxMessageEncoderInfo([] { return std::make_unique<TMxMessageEncoderXXE>(); }) {}

// ---------------------------------------------------------- decoder

std::unique_ptr<TMxMessageDecoder> TMxMessageDecoderInfoUUE::StartsPart(TMxMessage* AMsg,
                                                                        const AnsiString& ALine) {
    // "begin 644 name": the mode in characters 7 to 9, a blank after it.
    if (ALine.size() < 10 || !SameText(ALine.substr(0, 6), "begin ") || ALine[9] != ' ')
        return nullptr;
    int mode = 0;
    if (!TryStrToInt(ALine.substr(6, 3), mode) || mode <= 0) return nullptr;
    auto decoder = std::make_unique<TMxMessageDecoderUUE>(AMsg);
    decoder->PartFileName = ALine.substr(10);
    decoder->PartKind = TMxPartKind::pkAttachment;
    return decoder;
}

std::unique_ptr<TMxMessageDecoder> TMxMessageDecoderUUE::DecodeBody(TStream* ADest, bool& VMsgEnd) {
    VMsgEnd = false;
    std::unique_ptr<TMxDecoder> coder;
    while (true) {
        AnsiString line = ReadLine();
        // The message's end line inside the block ends the message: the
        // block was cut short.
        if (line == ".") {
            VMsgEnd = true;
            return nullptr;
        }
        if (!line.empty() && line[0] == '.') line.erase(0, 1);
        if (!coder) {
            // A full line tells the scheme: 45 bytes are "M" in UUE, "h" in XXE.
            if (!line.empty() && (line[0] == 'M' || IsWholeLineOf(line, MxUUEAlphabet))) {
                coder = std::make_unique<TMxDecoderUUE>();
            } else if (!line.empty() && (line[0] == 'h' || IsWholeLineOf(line, MxXXEAlphabet))) {
                coder = std::make_unique<TMxDecoderXXE>();
            } else {
                throw EMxException("Unrecognized UUE encoding scheme.");
            }
        }
        const AnsiString trimmed = Trim(line);
        if (SameText(trimmed, "end")) return nullptr;
        if (!trimmed.empty()) coder->DecodeToStream(line, ADest);
    }
}

} // namespace mail
