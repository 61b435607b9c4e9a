#pragma once
// A panel with a narrow click strip along one edge: a click on the strip
// collapses the panel to the strip or opens it again to OpenSize, in one
// step. The strip lights up while the mouse is over it, and its small arrow
// points the way the panel will move.
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/PaintBox.h"

#include <cstdint>
#include <memory>

namespace components {

enum class OpenFrom_t : std::uint8_t { ofLeft, ofTop, ofRight, ofBottom };
using enum OpenFrom_t;

class TSlidingPanel : public ::TPanel {
public:
    explicit TSlidingPanel(TComponent* AOwner);
    ~TSlidingPanel() override;
    AnsiString ClassName() const override { return "TSlidingPanel"; }

    // The edge that holds the strip. Changing it takes the panel's present
    // width (strip left or right) or height (top or bottom) as OpenSize.
    OpenFrom_t OpenFrom() const { return FOpenFrom; }
    void SetOpenFrom(OpenFrom_t Value);
    // The width or height of the open panel.
    int OpenSize() const { return FOpenSize; }
    void SetOpenSize(int Value);
    TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor Value) { FHighlightColor = Value; }
    TColor HighlightArrowColor() const { return FHighlightArrowColor; }
    void SetHighlightArrowColor(TColor Value) { FHighlightArrowColor = Value; }

    // Decided from the present size each time: a panel sized to exactly
    // the collapsed size by any means counts as collapsed.
    bool Collapsed() const { return GetCollapsed(); }
    int GetCollapsedSize() const;
    bool GetCollapsed() const;
    // Both keep the edge opposite the strip where it is.
    void Collapse();
    void Expand();

    void WndProc(TMessage& Message) override;

private:
    void SlidingPanelResize(TObject* Sender);
    void ClickPanelClick(TObject* Sender);
    void ClickPanelMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void PaintBoxPaint(TObject* Sender);
    void Capture();
    void Uncapture();
    bool MouseCaptured() const;
    void SetPaintBoxSize();
    bool Horizontal() const { return FOpenFrom == ofLeft || FOpenFrom == ofRight; }
    // The panel's extent across the strip: its width or its height.
    int Extent() const { return Horizontal() ? Width() : Height(); }
    void ResizeTo(int Size);

    std::unique_ptr<TPanel> FClickPanel;
    OpenFrom_t FOpenFrom = ofLeft;
    int FOpenSize = 150;
    std::unique_ptr<TPaintBox> FPaintBox;
    TColor FHighlightColor = clHighlight;
    TColor FHighlightArrowColor = clHighlightText;
};

namespace tslidingpanel {
// Puts the unit's components on the palette page "Pellworth".
void Register();
} // namespace tslidingpanel

} // namespace components
