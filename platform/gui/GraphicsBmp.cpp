// The BMP file format: reading checks every header value against the bytes
// the stream holds before anything is allocated, and takes exactly the
// file's bytes, so that data stored after a picture stays in the stream.
#include "platform/gui/GraphicsQt.h"
#include "platform/rtl/Streams.h"

#include <array>
#include <bit>
#include <unordered_map>
#include <vector>

namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
// Larger pictures are refused rather than allocated.
constexpr long long MaxPixels = 1LL << 26;

[[noreturn]] void Invalid() {
    throw EInvalidGraphic("Bitmap image is not valid");
}

std::uint32_t Le32(const unsigned char* P) {
    return P[0] | (P[1] << 8) | (P[2] << 16) | (static_cast<std::uint32_t>(P[3]) << 24);
}
std::uint16_t Le16(const unsigned char* P) {
    return static_cast<std::uint16_t>(P[0] | (P[1] << 8));
}

void Put32(std::vector<unsigned char>& Out, std::uint32_t V) {
    for (int I = 0; I < 4; ++I)
        Out.push_back(static_cast<unsigned char>(V >> (8 * I)));
}
void Put16(std::vector<unsigned char>& Out, std::uint16_t V) {
    Out.push_back(static_cast<unsigned char>(V));
    Out.push_back(static_cast<unsigned char>(V >> 8));
}

// A colour channel of Bits bits widened to eight by repeating its bits.
int Expand(std::uint32_t V, int Bits) {
    if (Bits <= 0) return 0;
    if (Bits >= 8) return static_cast<int>(V >> (Bits - 8)) & 0xFF;
    int Result = 0, Filled = 0;
    while (Filled < 8) {
        Result = (Result << Bits) | static_cast<int>(V);
        Filled += Bits;
    }
    return (Result >> (Filled - 8)) & 0xFF;
}

int MaskChannel(std::uint32_t Pixel, std::uint32_t Mask) {
    if (Mask == 0) return 0;
    return Expand((Pixel & Mask) >> std::countr_zero(Mask), std::popcount(Mask));
}

constexpr std::array<QRgb, 16> VgaColors = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
    0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF,
};

QRgb Nearest(QRgb C, const std::array<QRgb, 16>& Colors) {
    QRgb Best = Colors[0];
    int BestDistance = 1 << 30;
    for (QRgb Candidate : Colors) {
        const int Dr = qRed(C) - qRed(Candidate), Dg = qGreen(C) - qGreen(Candidate),
                  Db = qBlue(C) - qBlue(Candidate);
        const int Distance = Dr * Dr + Dg * Dg + Db * Db;
        if (Distance < BestDistance) {
            BestDistance = Distance;
            Best = Candidate;
        }
    }
    return Best;
}

struct TMasks {
    std::uint32_t Red, Green, Blue;
};

TMasks MasksFor(TPixelFormat Format) {
    if (Format == pf16bit) return {0xF800, 0x07E0, 0x001F};
    return {0x7C00, 0x03E0, 0x001F};
}

} // namespace

QImage ReducedToPixelFormat(const QImage& Image, TPixelFormat Format) {
    if (Image.isNull()) return Image;
    QImage Result = Image.convertToFormat(QImage::Format_RGB32);
    auto EachPixel = [&](auto&& Map) {
        for (int Y = 0; Y < Result.height(); ++Y) {
            auto* Pixels = reinterpret_cast<QRgb*>(Result.scanLine(Y));
            for (int X = 0; X < Result.width(); ++X)
                Pixels[X] = Map(Pixels[X] | 0xFF000000u);
        }
    };
    switch (Format) {
    case pf1bit:
        EachPixel([](QRgb C) { return C == 0xFFFFFFFFu ? C : 0xFF000000u; });
        break;
    case pf4bit:
        EachPixel([](QRgb C) { return Nearest(C, VgaColors); });
        break;
    case pf8bit: {
        std::unordered_map<QRgb, int> Seen;
        for (int Y = 0; Y < Result.height() && Seen.size() <= 256; ++Y)
            for (int X = 0; X < Result.width() && Seen.size() <= 256; ++X)
                Seen.emplace(Result.pixel(X, Y), 0);
        if (Seen.size() > 256)
            Result = Result.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither)
                         .convertToFormat(QImage::Format_RGB32);
        break;
    }
    case pf15bit:
    case pf16bit: {
        const TMasks M = MasksFor(Format);
        EachPixel([&](QRgb C) {
            const int Gb = Format == pf16bit ? 6 : 5;
            const std::uint32_t V = ((qRed(C) >> 3) << std::countr_zero(M.Red)) |
                                    ((qGreen(C) >> (8 - Gb)) << std::countr_zero(M.Green)) |
                                    (qBlue(C) >> 3);
            return qRgb(MaskChannel(V, M.Red), MaskChannel(V, M.Green), MaskChannel(V, M.Blue));
        });
        break;
    }
    default:
        break;
    }
    return Result;
}

QImage ReadBmp(TStream& Stream, TPixelFormat& Format) {
    const std::int64_t Available = Stream.GetSize() - Stream.GetPosition();
    Format = pfDevice;
    if (Available <= 0) return QImage();

    std::vector<unsigned char> Bytes(FileHeaderSize + 4);
    Stream.ReadBuffer(Bytes.data(), FileHeaderSize + 4);
    if (Bytes[0] != 'B' || Bytes[1] != 'M') Invalid();
    const std::uint32_t OffBits = Le32(&Bytes[10]);
    const std::uint32_t HeaderSize = Le32(&Bytes[14]);
    if (HeaderSize != 12 && HeaderSize != 40 && HeaderSize != 52 && HeaderSize != 56 &&
        HeaderSize != 108 && HeaderSize != 124)
        Invalid();
    if (FileHeaderSize + static_cast<std::int64_t>(HeaderSize) > Available)
        throw EReadError("Stream read error");
    Bytes.resize(FileHeaderSize + HeaderSize);
    Stream.ReadBuffer(&Bytes[FileHeaderSize + 4], static_cast<int>(HeaderSize - 4));
    const unsigned char* H = &Bytes[FileHeaderSize];

    const bool Core = HeaderSize == 12;
    const std::int64_t Width = Core ? Le16(H + 4) : static_cast<std::int32_t>(Le32(H + 4));
    const std::int64_t RawHeight =
        Core ? static_cast<std::int16_t>(Le16(H + 6)) : static_cast<std::int32_t>(Le32(H + 8));
    const int BitCount = Core ? Le16(H + 10) : Le16(H + 14);
    const std::uint32_t Compression = Core ? 0 : Le32(H + 16);
    const std::uint32_t SizeImage = Core ? 0 : Le32(H + 20);
    const std::uint32_t ClrUsed = Core ? 0 : Le32(H + 32);
    const bool TopDown = RawHeight < 0;
    const std::int64_t Height = TopDown ? -RawHeight : RawHeight;

    if (Width <= 0 || Height <= 0 || Width * Height > MaxPixels) Invalid();
    if (BitCount != 1 && BitCount != 4 && BitCount != 8 && BitCount != 16 && BitCount != 24 &&
        BitCount != 32)
        Invalid();
    const bool Rle = Compression == 1 || Compression == 2;
    if (Compression > 3 || (Compression == 1 && BitCount != 8) ||
        (Compression == 2 && BitCount != 4) ||
        (Compression == 3 && BitCount != 16 && BitCount != 32) || (Rle && TopDown))
        Invalid();

    const std::int64_t Entries =
        BitCount <= 8 ? (ClrUsed ? ClrUsed : (1u << BitCount)) : std::int64_t{ClrUsed};
    if (BitCount <= 8 && Entries > (1 << BitCount)) Invalid();
    if (Entries > 256) Invalid();
    const int EntrySize = Core ? 3 : 4;
    const std::int64_t MaskBytes = (Compression == 3 && HeaderSize == 40) ? 12 : 0;
    const std::int64_t HeaderEnd = FileHeaderSize + HeaderSize + MaskBytes + Entries * EntrySize;
    const std::int64_t DataStart = OffBits == 0 ? HeaderEnd : std::int64_t{OffBits};
    if (DataStart < HeaderEnd) Invalid();
    const std::int64_t Stride = ((Width * BitCount + 31) / 32) * 4;
    const std::int64_t DataSize = Rle ? std::int64_t{SizeImage} : Stride * Height;
    if (Rle && DataSize == 0) Invalid();
    const std::int64_t Total = DataStart + DataSize;
    if (Total > Available) throw EReadError("Stream read error");
    const std::size_t Read = Bytes.size();
    Bytes.resize(static_cast<std::size_t>(Total));
    Stream.ReadBuffer(&Bytes[Read], static_cast<int>(Total - static_cast<std::int64_t>(Read)));
    H = &Bytes[FileHeaderSize];

    if (BitCount == 1)
        Format = pf1bit;
    else if (BitCount == 4)
        Format = pf4bit;
    else if (BitCount == 8)
        Format = pf8bit;
    else if (BitCount == 24)
        Format = pf24bit;
    else if (BitCount == 32)
        Format = pf32bit;

    if (Rle) {
        // Run-length coded pictures are rare; Qt's reader handles them.
        Bytes[2] = Bytes[3] = Bytes[4] = Bytes[5] = 0;
        QImage Image;
        if (!Image.loadFromData(Bytes.data(), static_cast<int>(Bytes.size()), "BMP")) Invalid();
        return Image.convertToFormat(QImage::Format_RGB32);
    }

    std::vector<QRgb> Palette(static_cast<std::size_t>(Entries), 0xFF000000u);
    const unsigned char* Colors = H + HeaderSize + MaskBytes;
    for (std::int64_t I = 0; I < Entries; ++I) {
        const unsigned char* E = Colors + I * EntrySize;
        Palette[static_cast<std::size_t>(I)] = qRgb(E[2], E[1], E[0]);
    }
    TMasks Masks{0x7C00, 0x03E0, 0x001F};
    if (BitCount == 32) Masks = {0xFF0000, 0xFF00, 0xFF};
    if (Compression == 3) {
        // Right after a plain header, or inside a longer one: the same place.
        const unsigned char* M = H + 40;
        Masks = {Le32(M), Le32(M + 4), Le32(M + 8)};
    }
    if (BitCount == 16) Format = Masks.Green == 0x07E0 ? pf16bit : pf15bit;

    QImage Image(static_cast<int>(Width), static_cast<int>(Height), QImage::Format_RGB32);
    if (Image.isNull()) throw EOutOfResources("Out of system resources");
    const unsigned char* Data = Bytes.data() + DataStart;
    for (int Y = 0; Y < Height; ++Y) {
        const unsigned char* Src = Data + (TopDown ? Y : Height - 1 - Y) * Stride;
        auto* Out = reinterpret_cast<QRgb*>(Image.scanLine(Y));
        for (int X = 0; X < Width; ++X) {
            QRgb C;
            if (BitCount <= 8) {
                const int PerByte = 8 / BitCount;
                const int Shift = 8 - BitCount * (X % PerByte + 1);
                const unsigned Index = (Src[X / PerByte] >> Shift) & ((1u << BitCount) - 1);
                C = Index < Palette.size() ? Palette[Index] : 0xFF000000u;
            } else if (BitCount == 24) {
                C = qRgb(Src[3 * X + 2], Src[3 * X + 1], Src[3 * X]);
            } else {
                const std::uint32_t V = BitCount == 16 ? Le16(Src + 2 * X) : Le32(Src + 4 * X);
                C = qRgb(MaskChannel(V, Masks.Red), MaskChannel(V, Masks.Green),
                         MaskChannel(V, Masks.Blue));
            }
            Out[X] = C;
        }
    }
    return Image;
}

void WriteBmp(TStream& Stream, const QImage& Source, TPixelFormat Format) {
    if (Source.isNull()) return;
    const QImage Image = ReducedToPixelFormat(Source, Format);
    int BitCount = 24;
    switch (Format) {
    case pf1bit:
        BitCount = 1;
        break;
    case pf4bit:
        BitCount = 4;
        break;
    case pf8bit:
        BitCount = 8;
        break;
    case pf15bit:
    case pf16bit:
        BitCount = 16;
        break;
    case pf32bit:
        BitCount = 32;
        break;
    default:
        break;
    }
    const int Width = Image.width(), Height = Image.height();

    std::vector<QRgb> Palette;
    std::unordered_map<QRgb, int> IndexOf;
    if (BitCount == 1) {
        Palette = {0xFF000000u, 0xFFFFFFFFu};
    } else if (BitCount == 4) {
        Palette.assign(VgaColors.begin(), VgaColors.end());
    } else if (BitCount == 8) {
        for (int Y = 0; Y < Height; ++Y)
            for (int X = 0; X < Width; ++X)
                if (IndexOf.emplace(Image.pixel(X, Y), static_cast<int>(Palette.size())).second)
                    Palette.push_back(Image.pixel(X, Y));
    }
    for (std::size_t I = 0; I < Palette.size(); ++I)
        IndexOf.emplace(Palette[I], static_cast<int>(I));

    const bool BitFields = Format == pf16bit;
    const TMasks Masks = MasksFor(Format);
    const std::uint32_t Stride = ((static_cast<std::uint32_t>(Width) * BitCount + 31) / 32) * 4;
    const std::uint32_t HeaderEnd = FileHeaderSize + InfoHeaderSize + (BitFields ? 12 : 0) +
                                    static_cast<std::uint32_t>(Palette.size()) * 4;
    const std::uint32_t DataSize = Stride * static_cast<std::uint32_t>(Height);

    std::vector<unsigned char> Out;
    Out.reserve(HeaderEnd + DataSize);
    Out.push_back('B');
    Out.push_back('M');
    Put32(Out, HeaderEnd + DataSize);
    Put32(Out, 0);
    Put32(Out, HeaderEnd);
    Put32(Out, InfoHeaderSize);
    Put32(Out, static_cast<std::uint32_t>(Width));
    Put32(Out, static_cast<std::uint32_t>(Height));
    Put16(Out, 1);
    Put16(Out, static_cast<std::uint16_t>(BitCount));
    Put32(Out, BitFields ? 3 : 0);
    Put32(Out, DataSize);
    Put32(Out, 3780); // 96 pixels per inch
    Put32(Out, 3780);
    Put32(Out, static_cast<std::uint32_t>(Palette.size()));
    Put32(Out, 0);
    if (BitFields) {
        Put32(Out, Masks.Red);
        Put32(Out, Masks.Green);
        Put32(Out, Masks.Blue);
    }
    for (QRgb C : Palette) {
        Out.push_back(static_cast<unsigned char>(qBlue(C)));
        Out.push_back(static_cast<unsigned char>(qGreen(C)));
        Out.push_back(static_cast<unsigned char>(qRed(C)));
        Out.push_back(0);
    }
    for (int Y = Height - 1; Y >= 0; --Y) {
        std::vector<unsigned char> Line(Stride, 0);
        const auto* Pixels = reinterpret_cast<const QRgb*>(Image.constScanLine(Y));
        for (int X = 0; X < Width; ++X) {
            const QRgb C = Pixels[X] | 0xFF000000u;
            if (BitCount <= 8) {
                const int PerByte = 8 / BitCount;
                const int Shift = 8 - BitCount * (X % PerByte + 1);
                Line[static_cast<std::size_t>(X / PerByte)] |=
                    static_cast<unsigned char>(IndexOf.at(C) << Shift);
            } else if (BitCount == 16) {
                const int Gb = std::popcount(Masks.Green);
                const std::uint32_t V =
                    ((static_cast<std::uint32_t>(qRed(C)) >> 3) << std::countr_zero(Masks.Red)) |
                    ((static_cast<std::uint32_t>(qGreen(C)) >> (8 - Gb))
                     << std::countr_zero(Masks.Green)) |
                    (static_cast<std::uint32_t>(qBlue(C)) >> 3);
                Line[2 * X] = static_cast<unsigned char>(V);
                Line[2 * X + 1] = static_cast<unsigned char>(V >> 8);
            } else {
                const int Size = BitCount / 8;
                Line[static_cast<std::size_t>(Size * X)] = static_cast<unsigned char>(qBlue(C));
                Line[static_cast<std::size_t>(Size * X + 1)] =
                    static_cast<unsigned char>(qGreen(C));
                Line[static_cast<std::size_t>(Size * X + 2)] = static_cast<unsigned char>(qRed(C));
            }
        }
        Out.insert(Out.end(), Line.begin(), Line.end());
    }
    Stream.WriteBuffer(Out.data(), static_cast<int>(Out.size()));
}
