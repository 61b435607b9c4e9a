// Icons and the picture that holds a bitmap or an icon.
#include "platform/gui/Graphics.h"
#include "platform/gui/GraphicsQt.h"
#include "platform/gui/GraphicsTextRun.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

#include <vector>

struct TIcon::TImage {
    QImage Image;
};

QImage& TIconAccess::Image(TIcon& Icon) {
    return Icon.FImage->Image;
}

namespace {

[[noreturn]] void InvalidIcon() {
    throw EInvalidGraphic("Icon image is not valid");
}

std::uint32_t Le32(const unsigned char* P) {
    return P[0] | (P[1] << 8) | (P[2] << 16) | (static_cast<std::uint32_t>(P[3]) << 24);
}

} // namespace

TIcon::TIcon() : FImage(std::make_unique<TImage>()) {}
TIcon::~TIcon() = default;

void TIcon::Assign(TPersistent* Source) {
    if (!Source) {
        FImage->Image = QImage();
        Changed(this);
        return;
    }
    if (auto* Icon = dynamic_cast<TIcon*>(Source)) {
        if (Icon != this) {
            FImage->Image = Icon->FImage->Image;
            Changed(this);
        }
        return;
    }
    TGraphic::Assign(Source);
}

bool TIcon::Empty() const {
    return FImage->Image.isNull();
}
int TIcon::Width() const {
    return FImage->Image.width();
}
int TIcon::Height() const {
    return FImage->Image.height();
}

void TIcon::SetWidth(int) {
    throw EInvalidGraphicOperation("Cannot change the size of an icon");
}
void TIcon::SetHeight(int) {
    throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::LoadFromStream(TStream* Stream) {
    const std::int64_t Available = Stream->GetSize() - Stream->GetPosition();
    std::vector<unsigned char> Bytes(6);
    Stream->ReadBuffer(Bytes.data(), 6);
    const int Count = Bytes[4] | (Bytes[5] << 8);
    if (Bytes[0] != 0 || Bytes[1] != 0 || Bytes[2] != 1 || Bytes[3] != 0 || Count == 0)
        InvalidIcon();
    const std::int64_t Directory = 6 + 16LL * Count;
    if (Directory > Available) throw EReadError("Stream read error");
    Bytes.resize(static_cast<std::size_t>(Directory));
    Stream->ReadBuffer(&Bytes[6], static_cast<int>(Directory - 6));
    // The file ends where its last image does.
    std::int64_t End = Directory;
    for (int I = 0; I < Count; ++I) {
        const unsigned char* Entry = &Bytes[6 + 16 * static_cast<std::size_t>(I)];
        const std::int64_t Size = Le32(Entry + 8), Offset = Le32(Entry + 12);
        if (Offset < Directory || Size == 0) InvalidIcon();
        End = std::max(End, Offset + Size);
    }
    if (End > Available) throw EReadError("Stream read error");
    Bytes.resize(static_cast<std::size_t>(End));
    Stream->ReadBuffer(&Bytes[static_cast<std::size_t>(Directory)],
                       static_cast<int>(End - Directory));

    QByteArray Data(reinterpret_cast<const char*>(Bytes.data()), static_cast<qsizetype>(End));
    QBuffer Buffer(&Data);
    Buffer.open(QIODevice::ReadOnly);
    QImageReader Reader(&Buffer, "ICO");
    QImage Best;
    for (int I = 0; I < std::max(1, Reader.imageCount()); ++I) {
        if (I > 0 && !Reader.jumpToImage(I)) break;
        QImage Image = Reader.read();
        if (!Image.isNull() && Image.width() * Image.height() > Best.width() * Best.height())
            Best = Image;
    }
    if (Best.isNull()) InvalidIcon();
    FImage->Image = Best.convertToFormat(QImage::Format_ARGB32);
    Changed(this);
}

void TIcon::SaveToStream(TStream* Stream) {
    if (Empty()) return;
    QByteArray Data;
    QBuffer Buffer(&Data);
    Buffer.open(QIODevice::WriteOnly);
    QImageWriter Writer(&Buffer, "ICO");
    if (!Writer.write(FImage->Image)) throw EInvalidGraphicOperation("Icon image is not valid");
    Stream->WriteBuffer(Data.constData(), static_cast<int>(Data.size()));
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) {
    ACanvas->Paint([&](TCanvasSurface& Surface) {
        EndSharedTextPainter(); // one painter at a time on an image
        QPainter Painter(&Surface.Image);
        Painter.setClipRect(Surface.Clip);
        Painter.drawImage(ToQRect(Rect), FImage->Image);
        return Rect;
    });
}

// ---- the picture -----------------------------------------------------------------

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Take(std::unique_ptr<TGraphic> Value) {
    if (Value) Value->OnChange = [this](TObject*) { Changed(this); };
    FGraphic = std::move(Value);
    Changed(this);
}

void TPicture::Changed(TObject*) {
    if (OnChange) OnChange(this);
}

void TPicture::SetGraphic(TGraphic* Value) {
    if (!Value) {
        Take(nullptr);
        return;
    }
    if (Value == FGraphic.get()) return;
    std::unique_ptr<TGraphic> Copy;
    if (dynamic_cast<TBitmap*>(Value))
        Copy = std::make_unique<TBitmap>();
    else if (dynamic_cast<TIcon*>(Value))
        Copy = std::make_unique<TIcon>();
    else
        throw EInvalidGraphic(Format("Cannot assign a %s to a TPicture", Value->ClassName()));
    Copy->Assign(Value);
    Take(std::move(Copy));
}

TBitmap* TPicture::Bitmap() {
    if (!dynamic_cast<TBitmap*>(FGraphic.get())) Take(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(FGraphic.get());
}

TIcon* TPicture::Icon() {
    if (!dynamic_cast<TIcon*>(FGraphic.get())) Take(std::make_unique<TIcon>());
    return static_cast<TIcon*>(FGraphic.get());
}

void TPicture::Assign(TPersistent* Source) {
    if (!Source) {
        SetGraphic(nullptr);
        return;
    }
    if (auto* Picture = dynamic_cast<TPicture*>(Source)) {
        SetGraphic(Picture->Graphic());
        return;
    }
    if (auto* Graphic = dynamic_cast<TGraphic*>(Source)) {
        SetGraphic(Graphic);
        return;
    }
    TPersistent::Assign(Source);
}

void TPicture::LoadFromFile(const AnsiString& FileName) {
    const auto Dot = FileName.find_last_of("./");
    const AnsiString Ext =
        Dot == AnsiString::npos || FileName[Dot] != '.' ? AnsiString() : FileName.substr(Dot + 1);
    std::unique_ptr<TGraphic> Graphic;
    if (SameText(Ext, "bmp"))
        Graphic = std::make_unique<TBitmap>();
    else if (SameText(Ext, "ico"))
        Graphic = std::make_unique<TIcon>();
    else
        throw EInvalidGraphic(Format("Unknown picture file extension (.%s)", Ext));
    Graphic->LoadFromFile(FileName);
    Take(std::move(Graphic));
}

void TPicture::SaveToFile(const AnsiString& FileName) {
    if (FGraphic) FGraphic->SaveToFile(FileName);
}
