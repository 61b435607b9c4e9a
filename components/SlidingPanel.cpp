#include "components/SlidingPanel.h"

#include "components/Palette.h"
#include "platform/classes/DesignRegistry.h"
#include "platform/classes/Publish.h"
#include "platform/gui/PublishedProps.h"

#include <vector>

namespace components {

namespace {

// The strip's thickness, and the arrow box's long and short side.
constexpr int StripSize = 8;
constexpr int ArrowLong = 9;
constexpr int ArrowShort = 6;

enum class TArrow : std::uint8_t { Left, Right, Up, Down };

std::vector<TPoint> ArrowPoints(TArrow Arrow) {
    switch (Arrow) {
    case TArrow::Left:
        return {Point(4, 1), Point(4, 7), Point(1, 4)};
    case TArrow::Right:
        return {Point(1, 1), Point(4, 4), Point(1, 7)};
    case TArrow::Up:
        return {Point(7, 4), Point(1, 4), Point(4, 1)};
    case TArrow::Down:
        break;
    }
    return {Point(1, 1), Point(7, 1), Point(4, 4)};
}

// The arrow points the way the panel moves on the next click: towards the
// strip's edge when open, away from it when collapsed.
TArrow ArrowFor(OpenFrom_t Edge, bool Collapsed) {
    switch (Edge) {
    case ofLeft:
        return Collapsed ? TArrow::Right : TArrow::Left;
    case ofTop:
        return Collapsed ? TArrow::Down : TArrow::Up;
    case ofRight:
        return Collapsed ? TArrow::Left : TArrow::Right;
    case ofBottom:
        break;
    }
    return Collapsed ? TArrow::Up : TArrow::Down;
}

TAlign AlignFor(OpenFrom_t Edge) {
    switch (Edge) {
    case ofLeft:
        return alLeft;
    case ofTop:
        return alTop;
    case ofRight:
        return alRight;
    case ofBottom:
        break;
    }
    return alBottom;
}

} // namespace

TSlidingPanel::TSlidingPanel(TComponent* AOwner) : TPanel(AOwner) {
    // Owned here rather than by the owner tree, so that the order they go
    // in is ours: the arrow before the strip that holds it.
    FClickPanel = std::make_unique<TPanel>(nullptr);
    FClickPanel->SetParent(this);
    FClickPanel->SetBevelOuter(bvNone);
    FClickPanel->Font()->SetStyle(TFontStyles{fsBold});
    FClickPanel->SetAlign(alLeft);
    FClickPanel->SetWidth(StripSize);
    FClickPanel->OnMouseMove = [this](TObject* Sender, TShiftState Shift, int X, int Y) {
        ClickPanelMouseMove(Sender, Shift, X, Y);
    };
    FClickPanel->OnClick = [this](TObject* Sender) { ClickPanelClick(Sender); };

    OnResize = [this](TObject* Sender) { SlidingPanelResize(Sender); };
    if (ComponentState().Contains(csDesigning)) SetWidth(FOpenSize);

    FPaintBox = std::make_unique<TPaintBox>(nullptr);
    FPaintBox->SetParent(FClickPanel.get());
    FPaintBox->OnPaint = [this](TObject* Sender) { PaintBoxPaint(Sender); };
    FPaintBox->OnMouseMove = [this](TObject* Sender, TShiftState Shift, int X, int Y) {
        ClickPanelMouseMove(Sender, Shift, X, Y);
    };
    FPaintBox->OnClick = [this](TObject* Sender) { ClickPanelClick(Sender); };
    SetPaintBoxSize();
    FPaintBox->Invalidate();
}

TSlidingPanel::~TSlidingPanel() {
    FPaintBox.reset();
    FClickPanel.reset();
}

void TSlidingPanel::SetOpenFrom(OpenFrom_t Value) {
    if (Value == FOpenFrom) return;
    FOpenFrom = Value;
    FClickPanel->SetAlign(AlignFor(Value));
    if (Horizontal())
        FClickPanel->SetWidth(StripSize);
    else
        FClickPanel->SetHeight(StripSize);
    FOpenSize = Extent();
    SetPaintBoxSize();
    FPaintBox->Invalidate();
}

void TSlidingPanel::SetOpenSize(int Value) {
    FOpenSize = Value;
    if (!ComponentState().Contains(csDesigning)) return;
    if (Horizontal())
        SetWidth(Value);
    else
        SetHeight(Value);
}

void TSlidingPanel::SlidingPanelResize(TObject*) {
    if (ComponentState().Contains(csDesigning)) FOpenSize = Extent();
    if (FPaintBox) FPaintBox->Invalidate();
}

int TSlidingPanel::GetCollapsedSize() const {
    int Size = Horizontal() ? FClickPanel->Width() : FClickPanel->Height();
    if (BevelInner() != bvNone) Size += 2 * BevelWidth();
    if (BevelOuter() != bvNone) Size += 2 * BevelWidth();
    return Size;
}

bool TSlidingPanel::GetCollapsed() const {
    return Extent() == GetCollapsedSize();
}

void TSlidingPanel::ResizeTo(int Size) {
    switch (FOpenFrom) {
    case ofLeft:
        SetBounds(Left(), Top(), Size, Height());
        break;
    case ofTop:
        SetBounds(Left(), Top(), Width(), Size);
        break;
    case ofRight:
        SetBounds(Left() + Width() - Size, Top(), Size, Height());
        break;
    case ofBottom:
        SetBounds(Left(), Top() + Height() - Size, Width(), Size);
        break;
    }
}

void TSlidingPanel::Collapse() {
    if (GetCollapsed()) return;
    ResizeTo(GetCollapsedSize());
}

void TSlidingPanel::Expand() {
    if (!GetCollapsed()) return;
    ResizeTo(FOpenSize);
}

void TSlidingPanel::ClickPanelClick(TObject*) {
    if (GetCollapsed())
        Expand();
    else
        Collapse();
}

void TSlidingPanel::ClickPanelMouseMove(TObject*, TShiftState, int X, int Y) {
    if (!MouseCaptured())
        Capture();
    else if (X < 0 || Y < 0 || X >= FClickPanel->Width() || Y >= FClickPanel->Height())
        Uncapture();
}

void TSlidingPanel::Capture() {
    FClickPanel->SetMouseCapture(true);
    FClickPanel->SetColor(FHighlightColor);
    FClickPanel->Font()->SetColor(FHighlightArrowColor);
    FPaintBox->Invalidate();
}

void TSlidingPanel::Uncapture() {
    SetCaptureControl(nullptr);
    FClickPanel->SetColor(Color());
    FClickPanel->Font()->SetColor(Font()->Color());
    FPaintBox->Invalidate();
}

bool TSlidingPanel::MouseCaptured() const {
    return GetCaptureControl() == FClickPanel.get();
}

void TSlidingPanel::SetPaintBoxSize() {
    const int BoxWidth = Horizontal() ? ArrowShort : ArrowLong;
    const int BoxHeight = Horizontal() ? ArrowLong : ArrowShort;
    // No anchors: the box keeps to the middle of the strip as it is sized.
    FPaintBox->SetAnchors(TAnchors{});
    FPaintBox->SetBounds((FClickPanel->Width() - BoxWidth) / 2,
                         (FClickPanel->Height() - BoxHeight) / 2, BoxWidth, BoxHeight);
}

void TSlidingPanel::PaintBoxPaint(TObject*) {
    TCanvas* Canvas = FPaintBox->Canvas();
    Canvas->Brush()->SetColor(FClickPanel->Color());
    Canvas->FillRect(FPaintBox->ClientRect());
    const TColor ArrowColor = FClickPanel->Font()->Color();
    Canvas->Brush()->SetColor(ArrowColor);
    Canvas->Pen()->SetColor(ArrowColor);
    Canvas->Polygon(ArrowPoints(ArrowFor(FOpenFrom, GetCollapsed())));
}

void TSlidingPanel::WndProc(TMessage& Message) {
    TPanel::WndProc(Message);
    if (!FClickPanel) return;
    if (Message.Msg == CM_COLORCHANGED)
        FClickPanel->SetColor(Color());
    else if (Message.Msg == CM_FONTCHANGED)
        FClickPanel->SetFont(Font());
}

// ---- published properties and registration -----------------------------------------

namespace {

const TTypeInfo& OpenFromType() {
    static const TTypeInfo Info =
        MakeEnumType("OpenFrom_t", {"ofLeft", "ofTop", "ofRight", "ofBottom"});
    return Info;
}

// OpenSize comes after OpenFrom: a new edge takes the panel's present
// extent as the open size, which the stored size then replaces.
const TPublished<TSlidingPanel, TPanel> SlidingPanelClass(
    "TSlidingPanel",
    [](auto& C) {
        C.Property("OpenFrom", &TSlidingPanel::OpenFrom, &TSlidingPanel::SetOpenFrom,
                   OpenFromType())
            .Default(ofLeft);
        C.Property("Collapsed", &TSlidingPanel::Collapsed, nullptr);
        C.Property("OpenSize", &TSlidingPanel::OpenSize, &TSlidingPanel::SetOpenSize).Default(150);
        C.Property("HighlightColor", &TSlidingPanel::HighlightColor,
                   &TSlidingPanel::SetHighlightColor);
        C.Property("HighlightArrowColor", &TSlidingPanel::HighlightArrowColor,
                   &TSlidingPanel::SetHighlightArrowColor);
    },
    true);

} // namespace

namespace tslidingpanel {

void Register() {
    RegisterComponents(PalettePage, {GetClassInfo(typeid(TSlidingPanel))});
}

} // namespace tslidingpanel

} // namespace components
