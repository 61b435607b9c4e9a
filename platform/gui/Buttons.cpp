#include "platform/gui/Buttons.h"

#include "platform/gui/Forms.h"
#include "platform/gui/GraphicsQt.h"
#include "platform/gui/QtApp.h"

#include <QIcon>
#include <QPixmap>
#include <QPushButton>

namespace {

struct TKindInfo {
    const char* Caption;
    TModalResult Result;
};

TKindInfo KindInfo(TBitBtnKind Kind) {
    switch (Kind) {
    case bkOK:
        return {"OK", mrOk};
    case bkCancel:
        return {"Cancel", mrCancel};
    case bkHelp:
        return {"&Help", mrNone};
    case bkYes:
        return {"&Yes", mrYes};
    case bkNo:
        return {"&No", mrNo};
    case bkClose:
        return {"&Close", mrNone};
    case bkAbort:
        return {"Abort", mrAbort};
    case bkRetry:
        return {"&Retry", mrRetry};
    case bkIgnore:
        return {"&Ignore", mrIgnore};
    case bkAll:
        return {"&All", mrAll};
    default:
        return {"", mrNone};
    }
}

} // namespace

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FGlyph(std::make_unique<TBitmap>()) {
    FGlyph->OnChange = [this](TObject*) { GlyphChanged(); };
}

TBitBtn::~TBitBtn() {
    FGlyph->OnChange = nullptr;
}

void TBitBtn::SetKind(TBitBtnKind Value) {
    FKind = Value;
    if (Value == bkCustom) return;
    const TKindInfo Info = KindInfo(Value);
    SetCaption(Info.Caption);
    SetModalResult(Info.Result);
    SetDefault(Value == bkOK || Value == bkYes);
    SetCancel(Value == bkCancel || Value == bkNo);
}

void TBitBtn::Click() {
    if (FKind == bkClose) {
        if (TCustomForm* Form = GetParentForm(this)) {
            Form->Close();
            return;
        }
    }
    TButton::Click();
}

void TBitBtn::SetNumGlyphs(int Value) {
    FNumGlyphs = Value < 1 ? 1 : (Value > 4 ? 4 : Value);
    GlyphChanged();
}

void TBitBtn::SetLayout(TButtonLayout Value) {
    FLayout = Value;
    if (WidgetAllocated())
        Widget()->setLayoutDirection(Value == blGlyphRight ? Qt::RightToLeft : Qt::LeftToRight);
}

void TBitBtn::WidgetCreated() {
    TButton::WidgetCreated();
    SetLayout(FLayout);
    GlyphChanged();
}

void TBitBtn::GlyphChanged() {
    if (!WidgetAllocated()) return;
    auto* B = qobject_cast<QPushButton*>(Widget());
    if (!B) return;
    if (FGlyph->Empty()) {
        B->setIcon(QIcon());
        return;
    }
    const QImage& Image = TBitmapAccess::Image(*FGlyph);
    const int W = Image.width() / FNumGlyphs;
    QImage First = Image.copy(0, 0, W, Image.height()).convertToFormat(QImage::Format_ARGB32);
    // The glyph's transparent colour is the pixel at its bottom left.
    const QRgb Clear = First.pixel(0, First.height() - 1) | 0xFF000000u;
    for (int Y = 0; Y < First.height(); ++Y)
        for (int X = 0; X < First.width(); ++X)
            if ((First.pixel(X, Y) | 0xFF000000u) == Clear) First.setPixel(X, Y, 0);
    B->setIcon(QIcon(QPixmap::fromImage(First)));
    B->setIconSize(First.size());
}
