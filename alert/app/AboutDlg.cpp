#include "alert/app/AboutDlg.h"

#include "platform/gui/Buttons.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

#include <memory>

namespace {

// A beacon tower with its light, drawn at the image's own 33 x 41 pixels.
void DrawBeacon(TBitmap& Bitmap) {
    Bitmap.SetSize(33, 41);
    TCanvas* C = Bitmap.Canvas();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(Rect(0, 0, 33, 41));
    C->Pen()->SetColor(clMaroon);
    C->Brush()->SetColor(clRed);
    C->Polygon({{11, 40}, {21, 40}, {19, 14}, {13, 14}});
    C->Brush()->SetColor(clWhite);
    C->Rectangle(12, 24, 21, 29);
    C->Pen()->SetColor(clOlive);
    C->Brush()->SetColor(clYellow);
    C->Ellipse(10, 4, 23, 15);
    C->Pen()->SetColor(clYellow);
    C->MoveTo(2, 6);
    C->LineTo(9, 9);
    C->MoveTo(31, 6);
    C->LineTo(24, 9);
}

TLabel* NewTitleLabel(TAboutDlg* Owner, const char* Name, const char* Caption, int Top) {
    auto* L = new TLabel(Owner);
    L->SetName(Name);
    L->SetParent(Owner);
    L->SetLeft(32);
    L->SetTop(Top);
    L->SetParentFont(false);
    L->Font()->SetName("MS Sans Serif");
    L->Font()->SetHeight(-16);
    L->Font()->SetStyle({fsBold});
    L->SetCaption(Caption);
    return L;
}

} // namespace

TAboutDlg::TAboutDlg(TComponent* AOwner) : TForm(AOwner) {
    SetName("AboutDlg");
    SetCaption("About");
    SetBorderStyle(bsDialog);
    SetPosition(poMainFormCenter);
    Font()->SetName("MS Sans Serif");
    Font()->SetHeight(-11);
    SetColor(clBtnFace);
    SetClientWidth(237);
    SetClientHeight(184);

    Label1 = NewTitleLabel(this, "Label1", "Beacon Mill", 32);
    Label2 = NewTitleLabel(this, "Label2", "Version 4.5", 59);

    Image1 = new TImage(this);
    Image1->SetName("Image1");
    Image1->SetParent(this);
    Image1->SetBounds(176, 24, 33, 41);
    Image1->SetStretch(true);
    Image1->SetTransparent(true);
    auto Picture = std::make_unique<TBitmap>();
    DrawBeacon(*Picture);
    Image1->Picture()->SetBitmap(Picture.get());

    btOK = new TBitBtn(this);
    btOK->SetName("btOK");
    btOK->SetParent(this);
    btOK->SetKind(bkOK);
    btOK->SetBounds(88, 144, 75, 25);
    btOK->SetTabOrder(0);
}
