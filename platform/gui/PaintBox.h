#pragma once
// A plain drawing surface: whatever its OnPaint handler draws on its Canvas.
#include "platform/gui/CustomControl.h"

class TPaintBox : public TGraphicControl {
public:
    explicit TPaintBox(TComponent* AOwner);
    AnsiString ClassName() const override { return "TPaintBox"; }

    TNotifyEvent OnPaint;

protected:
    void Paint() override;
};
