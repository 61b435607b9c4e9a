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

// The byte count a line's first character gives in UUE and in XXE (-1 when
// it is none of that alphabet's).
int UUECount(char AChar) {
    if (AChar == ' ' || AChar == '`') return 0;
    return AChar >= '!' && AChar <= '_' ? AChar - 32 : -1;
}

int XXECount(char AChar) {
    const std::size_t at = MxXXEAlphabet.find(AChar);
    return at == AnsiString::npos ? -1 : static_cast<int>(at);
}

// The coder of the block the first body line leads. Data under 45 bytes
// (an empty file too) has no full line, so the scheme whose count fits the
// line's length is taken; a full line starts with "M" in UUE, "h" in XXE.
std::unique_ptr<TMxDecoder> CoderOfFirstLine(const AnsiString& ALine) {
    if (!ALine.empty()) {
        const std::size_t rest = ALine.size() - 1;
        const auto fits = [rest](int ACount) {
            return ACount >= 0 && rest == static_cast<std::size_t>((ACount + 2) / 3 * 4);
        };
        if (fits(UUECount(ALine[0]))) return std::make_unique<TMxDecoderUUE>();
        if (fits(XXECount(ALine[0]))) return std::make_unique<TMxDecoderXXE>();
        if (ALine[0] == 'M') return std::make_unique<TMxDecoderUUE>();
        if (ALine[0] == 'h') return std::make_unique<TMxDecoderXXE>();
    }
    throw EMxException("Unrecognized UUE encoding scheme.");
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
        if (!coder) coder = CoderOfFirstLine(line);
        const AnsiString trimmed = Trim(line);
        if (SameText(trimmed, "end")) return nullptr;
        if (!trimmed.empty()) coder->DecodeToStream(line, ADest);
    }
}

} // namespace mail
