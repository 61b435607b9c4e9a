#pragma once
// The 3-to-4 coders: three bytes become four characters of a 64-character
// alphabet. Base64 (RFC 2045) codes a whole text; UUE and XXE code one line
// at a time, led by the alphabet character of the line's byte count.
#include "mail/MxCoder.h"

#include <array>
#include <cstdint>

namespace mail {

class TMxEncoder3to4 : public TMxEncoder {
public:
    TMxEncoder3to4(TComponent* AOwner, AnsiString ACodingTable, char AFillChar);
    AnsiString ClassName() const override { return "TMxEncoder3to4"; }

    // ABytes other than MxAllBytes must be a multiple of 3.
    AnsiString Encode(TStream* ASrcStream, int ABytes = MxAllBytes) override;
    // The whole string, coded where it lies.
    AnsiString EncodeString(const AnsiString& AIn) override;

    const AnsiString& CodingTable() const { return FCodingTable; }
    char FillChar() const { return FFillChar; }

protected:
    AnsiString EncodeBytes(const std::uint8_t* AData, std::size_t ACount) const;

    AnsiString FCodingTable;
    char FFillChar;
    // The two characters of every 12 bits, for the library's own alphabets.
    const std::uint16_t* FPairs = nullptr;
};

class TMxEncoderMIME : public TMxEncoder3to4 {
public:
    explicit TMxEncoderMIME(TComponent* AOwner = nullptr);
    AnsiString ClassName() const override { return "TMxEncoderMIME"; }
};

// UUE and XXE: one line's bytes (at most 63) led by their count.
class TMxEncoderUUEBase : public TMxEncoder3to4 {
public:
    using TMxEncoder3to4::TMxEncoder3to4;
    AnsiString ClassName() const override { return "TMxEncoderUUEBase"; }

    AnsiString Encode(TStream* ASrcStream, int ABytes = MxAllBytes) override;
    // One line, through Encode.
    AnsiString EncodeString(const AnsiString& AIn) override { return TMxEncoder::EncodeString(AIn); }
};

class TMxEncoderUUE : public TMxEncoderUUEBase {
public:
    explicit TMxEncoderUUE(TComponent* AOwner = nullptr);
    AnsiString ClassName() const override { return "TMxEncoderUUE"; }
};

class TMxEncoderXXE : public TMxEncoderUUEBase {
public:
    explicit TMxEncoderXXE(TComponent* AOwner = nullptr);
    AnsiString ClassName() const override { return "TMxEncoderXXE"; }
};

// 255 marks a character outside the alphabet.
using TMxDecodeTable = std::array<std::uint8_t, 256>;

class TMxDecoder4to3 : public TMxDecoder {
public:
    TMxDecoder4to3(TComponent* AOwner, const TMxDecodeTable& ADecodeTable, char AFillChar);
    AnsiString ClassName() const override { return "TMxDecoder4to3"; }

    // AIn's length must be a multiple of 4; a character outside the
    // alphabet raises EMxException naming it.
    void DecodeToStream(const AnsiString& AIn, TStream* ADestStream) override;
    // The same, decoded straight into the result.
    AnsiString DecodeString(const AnsiString& AIn) override;

    char FillChar() const { return FFillChar; }

protected:
    std::uint8_t ValueOf(const AnsiString& AIn, std::size_t AIndex) const;
    // Decodes AIn into AOut (replacing what it held).
    void DecodeBytes(const AnsiString& AIn, AnsiString& AOut) const;

    const TMxDecodeTable& FDecodeTable;
    char FFillChar;
};

class TMxDecoderMIME : public TMxDecoder4to3 {
public:
    explicit TMxDecoderMIME(TComponent* AOwner = nullptr);
    AnsiString ClassName() const override { return "TMxDecoderMIME"; }
};

// Decodes one UUE or XXE line: the first character gives the byte count.
class TMxDecoderUUEBase : public TMxDecoder4to3 {
public:
    TMxDecoderUUEBase(TComponent* AOwner, const TMxDecodeTable& ADecodeTable, char AZeroChar);
    AnsiString ClassName() const override { return "TMxDecoderUUEBase"; }

    void DecodeToStream(const AnsiString& AIn, TStream* ADestStream) override;
    // One line, through DecodeToStream.
    AnsiString DecodeString(const AnsiString& AIn) override { return TMxDecoder::DecodeString(AIn); }

protected:
    virtual AnsiString PrepareLine(const AnsiString& AIn) const { return AIn; }

private:
    char FZeroChar; // the alphabet's character for 0, used to pad short lines
};

class TMxDecoderUUE : public TMxDecoderUUEBase {
public:
    explicit TMxDecoderUUE(TComponent* AOwner = nullptr);
    AnsiString ClassName() const override { return "TMxDecoderUUE"; }

protected:
    // Some writers use a space for 0 instead of the grave accent.
    AnsiString PrepareLine(const AnsiString& AIn) const override;
};

class TMxDecoderXXE : public TMxDecoderUUEBase {
public:
    explicit TMxDecoderXXE(TComponent* AOwner = nullptr);
    AnsiString ClassName() const override { return "TMxDecoderXXE"; }
};

// The alphabets.
extern const AnsiString MxBase64Alphabet;
extern const AnsiString MxUUEAlphabet;
extern const AnsiString MxXXEAlphabet;

} // namespace mail
