#pragma once
// The buttons a cell may carry at its right edge: light descriptions
// (bitmap, face size, transparent colour) that the grid view draws and
// hit-tests. They own no window.
#include "platform/gui/Colors.h"
#include "platform/rtl/Object.h"

class TBitmap;

namespace grid {

class TgxBaseGrid;

// The process-wide default faces of the combo arrow and the detail button,
// made on first use and never freed by a button. The grid unit's start-up
// draws them.
TBitmap* SharedArrowBitmap();
TBitmap* SharedDetailBitmap();

class TgxCustomButton : public TObject {
public:
    TgxCustomButton(TgxBaseGrid* Grid, TBitmap* Bitmap, TColor TransparentColor, int Width,
                    int Height);
    AnsiString ClassName() const override { return "TgxCustomButton"; }

    TgxBaseGrid* Grid() const { return FGrid; }
    virtual TBitmap* GetBitmap() const { return FBitmap; }
    virtual int GetHeight() const { return FHeight; }
    virtual int GetWidth() const { return FWidth; }
    virtual TColor GetTransparentColor() const { return FTransparentColor; }
    // The pointer is stored as it is.
    virtual void SetBitmap(TBitmap* Value) { FBitmap = Value; }
    virtual void SetHeight(int Value) { FHeight = Value; }
    virtual void SetWidth(int Value) { FWidth = Value; }
    virtual void SetTransparentColor(TColor Value) { FTransparentColor = Value; }
    // The face and the grid's button edges on both sides.
    virtual int FullWidth() const;
    virtual int FullHeight() const;
    virtual bool IsDefault() const { return true; }

protected:
    TgxBaseGrid* FGrid;
    TBitmap* FBitmap;
    int FHeight;
    int FWidth;
    TColor FTransparentColor;
};

// A button with a face of its own: a private copy of the bitmap it is
// given, unless that is the shared default.
class TgxBitmapButton : public TgxCustomButton {
public:
    TgxBitmapButton(TgxBaseGrid* Grid, TBitmap* Bitmap, TColor TransparentColor, int Width,
                    int Height, TBitmap* SharedDefault);
    ~TgxBitmapButton() override;
    TBitmap* GetBitmap() const override;
    bool IsDefault() const override;
    bool OwnsBitmap() const { return FOwnBitmap != nullptr; }

protected:
    TBitmap* FOwnBitmap = nullptr;
    TBitmap* FDefault;
};

class TgxComboButton : public TgxBitmapButton {
public:
    TgxComboButton(TgxBaseGrid* Grid, TBitmap* Bitmap, TColor TransparentColor, int Width,
                   int Height);
    AnsiString ClassName() const override { return "TgxComboButton"; }
};

class TgxNormalButton : public TgxBitmapButton {
public:
    TgxNormalButton(TgxBaseGrid* Grid, TBitmap* Bitmap, TColor TransparentColor, int Width,
                    int Height);
    AnsiString ClassName() const override { return "TgxNormalButton"; }
};

// Two halves and a one-pixel divider, stacked: no edges in the height.
class TgxVertSpinButton : public TgxCustomButton {
public:
    using TgxCustomButton::TgxCustomButton;
    AnsiString ClassName() const override { return "TgxVertSpinButton"; }
    int FullHeight() const override { return 2 * FHeight + 1; }
};

// Two halves and a divider side by side: no edges in the width.
class TgxHorzSpinButton : public TgxCustomButton {
public:
    using TgxCustomButton::TgxCustomButton;
    AnsiString ClassName() const override { return "TgxHorzSpinButton"; }
    int FullWidth() const override { return 2 * FWidth + 1; }
};

// Opens the date-time drop-down (arrow face) or pop-up (detail face).
class TgxDateTimeButton : public TgxCustomButton {
public:
    TgxDateTimeButton(TgxBaseGrid* Grid, TBitmap* Bitmap, TColor TransparentColor, int Width,
                      int Height);
    ~TgxDateTimeButton() override;
    AnsiString ClassName() const override { return "TgxDateTimeButton"; }
    TBitmap* GetBitmap() const override;
    bool IsDefault() const override;
    bool Popup() const { return FPopup; }

private:
    TBitmap* FOwnBitmap = nullptr;
    bool FPopup = false;
};

} // namespace grid
