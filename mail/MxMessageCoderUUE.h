#pragma once
// The UUE and XXE message coders: an attachment as a "begin" line, lines of
// 45 coded bytes and the "end" line; the reader recognises a "begin" line
// in the body and decodes the block that follows (UUE or XXE).
#include "mail/MxCoder.h"
#include "mail/MxMessageCoder.h"

#include <functional>
#include <memory>

namespace mail {

class TMxMessageEncoderUUEBase : public TMxMessageEncoder {
public:
    using TCoderClass = std::function<std::unique_ptr<TMxEncoder>()>;
    TMxMessageEncoderUUEBase(TCoderClass ACoderClass, char AFillChar);
    AnsiString ClassName() const override { return "TMxMessageEncoderUUEBase"; }

    void EncodeStream(TStream* ASrc, TStream* ADest) override;

private:
    TCoderClass FCoderClass;
    char FFillChar; // the coder's character for a line of no bytes
};

class TMxMessageEncoderUUE : public TMxMessageEncoderUUEBase {
public:
    TMxMessageEncoderUUE();
    AnsiString ClassName() const override { return "TMxMessageEncoderUUE"; }
};

class TMxMessageEncoderXXE : public TMxMessageEncoderUUEBase {
public:
    TMxMessageEncoderXXE();
    AnsiString ClassName() const override { return "TMxMessageEncoderXXE"; }
};

class TMxMessageEncoderInfoUUE : public TMxMessageEncoderInfo {
public:
    TMxMessageEncoderInfoUUE();
    AnsiString ClassName() const override { return "TMxMessageEncoderInfoUUE"; }
};

class TMxMessageEncoderInfoXXE : public TMxMessageEncoderInfo {
public:
    TMxMessageEncoderInfoXXE();
    AnsiString ClassName() const override { return "TMxMessageEncoderInfoXXE"; }
};

class TMxMessageDecoderUUE : public TMxMessageDecoder {
public:
    using TMxMessageDecoder::TMxMessageDecoder;
    AnsiString ClassName() const override { return "TMxMessageDecoderUUE"; }

    // Up to the "end" line; the first line tells UUE ("M") from XXE ("h").
    std::unique_ptr<TMxMessageDecoder> DecodeBody(TStream* ADest, bool& VMsgEnd) override;
};

class TMxMessageDecoderInfoUUE : public TMxMessageDecoderInfo {
public:
    AnsiString ClassName() const override { return "TMxMessageDecoderInfoUUE"; }
    // "begin <mode> <file name>" with a mode above 0.
    std::unique_ptr<TMxMessageDecoder> StartsPart(TMxMessage* AMsg,
                                                  const AnsiString& ALine) override;
};

} // namespace mail
