#pragma once
// The about box: the program's name, its version and its picture.
#include "platform/gui/Forms.h"

class TBitBtn;
class TImage;
class TLabel;

class TAboutDlg : public TForm {
public:
    explicit TAboutDlg(TComponent* AOwner);
    AnsiString ClassName() const override { return "TAboutDlg"; }

    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TImage* Image1 = nullptr;
    TBitBtn* btOK = nullptr;
};
