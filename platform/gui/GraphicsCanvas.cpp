// The canvas: lines, shapes, text and copies drawn pixel by pixel into the
// surface's image, so that the pen modes and copy modes combine colours
// exactly as the framework's drawing layer does.
#include "platform/gui/FontKey.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/GraphicsQt.h"
#include "platform/gui/GraphicsTextRun.h"
#include "platform/gui/TextAdvances.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace {

// What a shape's pen mask holds at a pixel.
constexpr uchar NoPen = 0;
constexpr uchar PenOn = 1;
constexpr uchar PenGap = 2;

// The rows of an image's pixels through its bits, asked for once: asking
// for a row checks whether the image is shared, every time.
class TPixelRows {
public:
    explicit TPixelRows(QImage& Image)
        : FBits(reinterpret_cast<QRgb*>(Image.bits())), FStride(Image.bytesPerLine() / 4) {}
    QRgb* operator[](int Y) const { return FBits + Y * FStride; }

    // Fills Area (inside the image) with Color, eight pixels a step: the
    // rows of a cell are tens of pixels, where a store per pixel shows.
    void Fill(const QRect& Area, QRgb Color) const {
        using TEight = QRgb __attribute__((vector_size(32)));
        const TEight Eight = {Color, Color, Color, Color, Color, Color, Color, Color};
        const int Width = Area.width();
        for (int Y = Area.top(); Y <= Area.bottom(); ++Y) {
            QRgb* To = (*this)[Y] + Area.left();
            int X = 0;
            for (; X + 8 <= Width; X += 8)
                std::memcpy(To + X, &Eight, sizeof Eight);
            for (; X < Width; ++X)
                To[X] = Color;
        }
    }

private:
    QRgb* FBits;
    qsizetype FStride;
};

// The dash patterns of thin styled pens: alternating drawn and skipped runs.
std::span<const int> DashPattern(TPenStyle Style) {
    static constexpr std::array<int, 2> Dash = {18, 6};
    static constexpr std::array<int, 2> Dot = {3, 3};
    static constexpr std::array<int, 4> DashDot = {9, 6, 3, 6};
    static constexpr std::array<int, 6> DashDotDot = {9, 3, 3, 3, 3, 3};
    switch (Style) {
    case psDash:
        return Dash;
    case psDot:
        return Dot;
    case psDashDot:
        return DashDot;
    case psDashDotDot:
        return DashDotDot;
    default:
        return {};
    }
}

// How the canvas's pen draws: not at all, thin (possibly styled) or wide.
struct TPenShape {
    bool Visible = false;
    int Width = 1;
    bool InsideFrame = false;
    std::span<const int> Pattern;
    QRgb Color = 0;
    // Where a styled pen's gaps are painted (opaque background), and in what.
    bool PaintGaps = false;
    QRgb GapColor = 0;
    TPenMode Mode = pmCopy;
};

TPenShape PenShape(const TPen& Pen, const TBrush& Brush) {
    TPenShape Result;
    Result.Visible = Pen.Style() != psClear;
    Result.Width = std::max(1, Pen.Width());
    Result.InsideFrame = Pen.Style() == psInsideFrame;
    // Styles only apply to thin pens; a wide pen is always solid.
    if (Result.Width == 1) Result.Pattern = DashPattern(Pen.Style());
    Result.Color = ColorToPixel(Pen.Color());
    Result.PaintGaps = !Result.Pattern.empty() && Brush.Style() == bsSolid;
    Result.GapColor = ColorToPixel(Brush.Color());
    Result.Mode = Pen.Mode();
    return Result;
}

// A coverage mask over an area of the surface: the pen's pixels and the
// fill's pixels of one shape, combined onto the surface at the end so
// that each pixel is changed once.
class TShapeMask {
public:
    explicit TShapeMask(const QRect& Area)
        : FArea(Area), FPen(Area.size(), QImage::Format_Grayscale8),
          FFill(Area.size(), QImage::Format_Grayscale8) {
        FPen.fill(0);
        FFill.fill(0);
    }

    const QRect& Area() const { return FArea; }

    bool FillAt(int X, int Y) const {
        return FArea.contains(X, Y) && FFill.constScanLine(Y - FArea.top())[X - FArea.left()] != 0;
    }

    void SetPen(int X, int Y, uchar Value) {
        if (FArea.contains(X, Y)) FPen.scanLine(Y - FArea.top())[X - FArea.left()] = Value;
    }

    // A thin line from A to B without B itself. Phase counts pixels along
    // a styled pen's pattern and carries on into the next segment.
    void Line(QPoint A, QPoint B, std::span<const int> Pattern, int& Phase) {
        int Dx = std::abs(B.x() - A.x()), Dy = -std::abs(B.y() - A.y());
        const int Sx = A.x() < B.x() ? 1 : -1, Sy = A.y() < B.y() ? 1 : -1;
        const int Steps = std::max(Dx, -Dy);
        // A line wholly to one side of the area draws nothing here.
        if ((A.x() < FArea.left() && B.x() < FArea.left()) ||
            (A.x() > FArea.right() && B.x() > FArea.right()) ||
            (A.y() < FArea.top() && B.y() < FArea.top()) ||
            (A.y() > FArea.bottom() && B.y() > FArea.bottom())) {
            Phase += Steps;
            return;
        }
        int Err = Dx + Dy, X = A.x(), Y = A.y();
        for (int Step = 0; Step < Steps; ++Step) {
            SetPen(X, Y, PatternValue(Pattern, Phase++));
            const int E2 = 2 * Err;
            if (E2 >= Dy) {
                Err += Dy;
                X += Sx;
            }
            if (E2 <= Dx) {
                Err += Dx;
                Y += Sy;
            }
        }
    }

    // Marks what Paint draws in white as pen or as fill.
    template <class F> void PaintPen(F&& Paint) { PaintInto(FPen, PenOn, Paint); }
    template <class F> void PaintFill(F&& Paint) { PaintInto(FFill, 1, Paint); }

    void FillRect(const QRect& R) {
        const QRect Part = R.translated(-FArea.topLeft()) & FFill.rect();
        for (int Y = Part.top(); Y <= Part.bottom(); ++Y)
            std::fill_n(FFill.scanLine(Y) + Part.left(), Part.width(), uchar(1));
    }

    // Turns the outermost ring of the fill into pen: the pixels of the fill
    // with a neighbour outside it.
    void PenFromFillEdge() {
        const int W = FFill.width(), H = FFill.height();
        auto Filled = [&](int X, int Y) {
            return X >= 0 && Y >= 0 && X < W && Y < H && FFill.constScanLine(Y)[X] != 0;
        };
        for (int Y = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X)
                if (Filled(X, Y) && (!Filled(X - 1, Y) || !Filled(X + 1, Y) || !Filled(X, Y - 1) ||
                                     !Filled(X, Y + 1)))
                    FPen.scanLine(Y)[X] = PenOn;
    }

    // Pen over fill; the fill only where there is no pen.
    QRect Apply(TCanvasSurface& Surface, const TPenShape& Pen, const TBrushPixels* Brush) {
        const QRect Part = FArea & Surface.Clip;
        QRect Touched;
        const TPixelRows Rows(Surface.Image);
        for (int Y = Part.top(); Y <= Part.bottom(); ++Y) {
            QRgb* Pixels = Rows[Y];
            const uchar* PenRow = FPen.constScanLine(Y - FArea.top());
            const uchar* FillRow = FFill.constScanLine(Y - FArea.top());
            for (int X = Part.left(); X <= Part.right(); ++X) {
                const int I = X - FArea.left();
                QRgb Color;
                if (PenRow[I] == PenOn)
                    Color = Pen.Color;
                else if (PenRow[I] == PenGap && Pen.PaintGaps)
                    Color = Pen.GapColor;
                else if (PenRow[I] == NoPen && FillRow[I] && Brush && Brush->At(X, Y, Color))
                    ;
                else
                    continue;
                Pixels[X] = RasterOp2(Pen.Mode, Color, Pixels[X]);
                Touched |= QRect(X, Y, 1, 1);
            }
        }
        return Touched;
    }

private:
    static uchar PatternValue(std::span<const int> Pattern, int Phase) {
        if (Pattern.empty()) return PenOn;
        int Total = 0;
        for (int Run : Pattern)
            Total += Run;
        int Pos = Phase % Total;
        for (std::size_t I = 0; I < Pattern.size(); ++I) {
            if (Pos < Pattern[I]) return I % 2 == 0 ? PenOn : PenGap;
            Pos -= Pattern[I];
        }
        return PenOn;
    }

    template <class F> void PaintInto(QImage& Mask, int Value, F&& Paint) {
        QPainter Painter(&Mask);
        Painter.setRenderHint(QPainter::Antialiasing, false);
        Painter.translate(-FArea.left(), -FArea.top());
        Painter.setPen(Qt::NoPen);
        Painter.setBrush(QColor(Value, Value, Value));
        Paint(Painter);
    }

    QRect FArea;
    QImage FPen;
    QImage FFill;
};

QRect PointsBounds(const std::vector<TPoint>& Points) {
    int L = Points[0].X, T = Points[0].Y, R = L, B = T;
    for (const TPoint& P : Points) {
        L = std::min(L, P.X);
        T = std::min(T, P.Y);
        R = std::max(R, P.X);
        B = std::max(B, P.Y);
    }
    return QRect(QPoint(L, T), QPoint(R, B));
}

QPolygon ToQPolygon(const std::vector<TPoint>& Points) {
    QPolygon Result;
    for (const TPoint& P : Points)
        Result << QPoint(P.X, P.Y);
    return Result;
}

// A wide pen stroke along the points into the pen mask.
void StrokeWide(TShapeMask& Mask, const std::vector<TPoint>& Points, int Width, bool Closed) {
    Mask.PaintPen([&](QPainter& Painter) {
        Painter.setBrush(Qt::NoBrush);
        Painter.setPen(
            QPen(QColor(PenOn, PenOn, PenOn), Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        // Pixel centres, so that the stroke sits on the pixels named.
        QPolygonF Line;
        for (const TPoint& P : Points)
            Line << QPointF(P.X + 0.5, P.Y + 0.5);
        if (Closed)
            Painter.drawPolygon(Line);
        else
            Painter.drawPolyline(Line);
    });
}

TRect Normalized(int X1, int Y1, int X2, int Y2) {
    return TRect{std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2)};
}

} // namespace

// ---- brush pixels and stretched copies ----------------------------------------

TBrushPixels::TBrushPixels(const TBrush& Brush, TColor FontColor, bool Opaque)
    : FStyle(Brush.Style()), FColor(ColorToPixel(Brush.Color())), FBack(0xFF000000u | ~FColor),
      FFore(ColorToPixel(FontColor)), FOpaque(Opaque), FPattern(Brush.FPattern) {
    FClear = !FPattern && FStyle == bsClear && !Opaque;
}

bool TBrushPixels::At(int X, int Y, QRgb& Pixel) const {
    if (FPattern) {
        const QImage& Image = FPattern->Image;
        const int Px = ((X % Image.width()) + Image.width()) % Image.width();
        const int Py = ((Y % Image.height()) + Image.height()) % Image.height();
        const QRgb Value = Image.pixel(Px, Py) | 0xFF000000u;
        if (FPattern->Monochrome)
            Pixel = (Value & 0xFFFFFFu) == 0 ? FFore : FColor;
        else
            Pixel = Value;
        return true;
    }
    const int Fd = ((X - Y) % 8 + 8) % 8, Bd = ((X + Y) % 8 + 8) % 8;
    const bool Horz = ((Y % 8) + 8) % 8 == 0, Vert = ((X % 8) + 8) % 8 == 0;
    bool OnLine;
    switch (FStyle) {
    case bsSolid:
        Pixel = FColor;
        return true;
    case bsClear:
        if (!FOpaque) return false;
        Pixel = FColor;
        return true;
    case bsHorizontal:
        OnLine = Horz;
        break;
    case bsVertical:
        OnLine = Vert;
        break;
    case bsFDiagonal:
        OnLine = Fd == 0;
        break;
    case bsBDiagonal:
        OnLine = Bd == 0;
        break;
    case bsCross:
        OnLine = Horz || Vert;
        break;
    case bsDiagCross:
        OnLine = Fd == 0 || Bd == 0;
        break;
    default:
        OnLine = true;
        break;
    }
    if (OnLine) {
        Pixel = FColor;
        return true;
    }
    if (!FOpaque) return false;
    Pixel = FBack;
    return true;
}

QRect StretchPixels(TCanvasSurface& Surface, const TRect& Dest, const QImage& Source,
                    const TRect& Src,
                    const std::function<void(int X, int Y, QRgb S, QRgb& D)>& Op) {
    const int Dw = Dest.Width(), Dh = Dest.Height(), Sw = Src.Width(), Sh = Src.Height();
    if (Dw == 0 || Dh == 0 || Sw == 0 || Sh == 0) return {};
    const int Aw = std::abs(Dw), Ah = std::abs(Dh), As = std::abs(Sw), Ahs = std::abs(Sh);
    const QRect Area = ToQRect(Normalized(Dest.Left, Dest.Top, Dest.Right, Dest.Bottom));
    // A copy of the source part, so a copy within one image reads the
    // pixels as they were before it started.
    const QRect SrcArea = ToQRect(Normalized(Src.Left, Src.Top, Src.Right, Src.Bottom));
    const QImage Part = Source.copy(SrcArea);
    const QRect Visible = Area & Surface.Clip;
    if (Visible.isEmpty()) return {};
    const TPixelRows Rows(Surface.Image);
    for (int Y = Visible.top(); Y <= Visible.bottom(); ++Y) {
        const int I = Dh > 0 ? Y - Dest.Top : Dest.Top - 1 - Y;
        const int J = static_cast<int>(static_cast<long long>(I) * Ahs / Ah);
        const int Sy = Sh > 0 ? J : Ahs - 1 - J;
        const int SourceY = SrcArea.top() + Sy;
        if (SourceY < 0 || SourceY >= Source.height()) continue;
        const QRgb* SourceRow = reinterpret_cast<const QRgb*>(Part.constScanLine(Sy));
        QRgb* Pixels = Rows[Y];
        for (int X = Visible.left(); X <= Visible.right(); ++X) {
            const int K = Dw > 0 ? X - Dest.Left : Dest.Left - 1 - X;
            const int L = static_cast<int>(static_cast<long long>(K) * As / Aw);
            const int Sx = Sw > 0 ? L : As - 1 - L;
            const int SourceX = SrcArea.left() + Sx;
            if (SourceX < 0 || SourceX >= Source.width()) continue;
            Op(X, Y, SourceRow[Sx] | 0xFF000000u, Pixels[X]);
        }
    }
    return Visible;
}

// ---- the canvas ------------------------------------------------------------------

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()),
      FBrush(std::make_unique<TBrush>()) {}

TCanvas::~TCanvas() = default;

HDC TCanvas::Handle() {
    if (!FHandle) CreateHandle();
    if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
    return FHandle;
}

void TCanvas::SetHandle(HDC Value) {
    FHandle = Value;
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

namespace {

TCanvasSurface SurfaceOf(HDC Dc) {
    static QImage NoImage;
    QImage& Image = Dc->Image ? *Dc->Image : NoImage;
    QRect Clip = Image.rect();
    if (!Dc->Clip.isNull()) Clip &= Dc->Clip;
    if (!Image.isNull() && Image.format() != QImage::Format_RGB32)
        Image = Image.convertToFormat(QImage::Format_RGB32);
    return TCanvasSurface{Image, Clip};
}

} // namespace

void TCanvas::Paint(const std::function<TRect(TCanvasSurface&)>& Draw) {
    HDC Dc = Handle();
    Changing();
    TCanvasSurface Surface = SurfaceOf(Dc);
    const QRect Touched = ToQRect(Draw(Surface)) & Surface.Clip;
    if (!Touched.isEmpty() && Dc->OnDrawn) Dc->OnDrawn(Touched);
    Changed();
}

std::vector<TPoint> TCanvas::MapPoints(const std::vector<TPoint>& Points) const {
    if (FMirrorWidth <= 0) return Points;
    std::vector<TPoint> Result(Points);
    for (TPoint& P : Result)
        P.X = MapX(P.X);
    return Result;
}

TColor TCanvas::Pixels(int X, int Y) {
    X = MapX(X);
    TCanvasSurface Surface = SurfaceOf(Handle());
    if (!Surface.Clip.contains(X, Y)) return -1;
    return PixelToColor(Surface.Image.pixel(X, Y));
}

void TCanvas::SetPixels(int X, int Y, TColor Value) {
    X = MapX(X);
    Paint([&](TCanvasSurface& Surface) {
        if (!Surface.Clip.contains(X, Y)) return TRect{};
        TPixelRows(Surface.Image)[Y][X] = ColorToPixel(Value);
        return Rect(X, Y, X + 1, Y + 1);
    });
}

void TCanvas::MoveTo(int X, int Y) {
    FPenPos = Point(X, Y);
}


namespace {

// The pixels of a thin level or upright line from A to B without B itself,
// as the general line drawing sets them; empty for any other line.
std::optional<QRect> AxisRun(const TPoint& A, const TPoint& B) {
    if (A.Y == B.Y && A.X != B.X)
        return A.X < B.X ? QRect(A.X, A.Y, B.X - A.X, 1) : QRect(B.X + 1, A.Y, A.X - B.X, 1);
    if (A.X == B.X && A.Y != B.Y)
        return A.Y < B.Y ? QRect(A.X, A.Y, 1, B.Y - A.Y) : QRect(A.X, B.Y + 1, 1, A.Y - B.Y);
    return std::nullopt;
}

// A solid thin copy pen along level and upright lines (grid lines, frames)
// fills its runs directly; gives false, drawing nothing, for anything else.
bool FillAxisLines(TCanvasSurface& Surface, const std::vector<TPoint>& Points, const TPenShape& Pen,
                   QRect& Touched) {
    if (Pen.Width != 1 || !Pen.Pattern.empty() || Pen.Mode != pmCopy) return false;
    std::vector<QRect> Runs;
    Runs.reserve(Points.size() - 1);
    for (std::size_t I = 1; I < Points.size(); ++I) {
        const std::optional<QRect> Run = AxisRun(Points[I - 1], Points[I]);
        if (!Run) return false;
        Runs.push_back(*Run);
    }
    const QRgb Color = RasterOp2(pmCopy, Pen.Color, 0); // a copy pen ignores what is there
    const TPixelRows Rows(Surface.Image);
    for (const QRect& Run : Runs) {
        const QRect Area = Run & Surface.Clip;
        if (Area.isEmpty()) continue;
        Rows.Fill(Area, Color);
        Touched |= Area;
    }
    return true;
}

} // namespace

void TCanvas::LineTo(int X, int Y) {
    const TPoint From = FPenPos;
    FPenPos = Point(X, Y);
    // A level or upright line of a thin solid copy pen (grid lines, cell
    // frames) fills its run as a polyline would, without the point list.
    const TPenStyle Style = FPen->Style();
    if ((Style == psSolid || Style == psInsideFrame) && FPen->Width() <= 1 &&
        FPen->Mode() == pmCopy) {
        if (const std::optional<QRect> Run =
                AxisRun(Point(MapX(From.X), From.Y), Point(MapX(X), Y))) {
            const QRgb Color = RasterOp2(pmCopy, ColorToPixel(FPen->Color()), 0);
            Paint([&](TCanvasSurface& Surface) {
                const QRect Area = *Run & Surface.Clip;
                if (Area.isEmpty()) return TRect{};
                TPixelRows(Surface.Image).Fill(Area, Color);
                return FromQRect(Area);
            });
            return;
        }
    }
    Polyline({From, Point(X, Y)});
}

void TCanvas::Polyline(const std::vector<TPoint>& Logical) {
    if (Logical.size() < 2) return;
    const std::vector<TPoint> Points = MapPoints(Logical);
    Paint([&](TCanvasSurface& Surface) {
        const TPenShape Pen = PenShape(*FPen, *FBrush);
        if (!Pen.Visible) return TRect{};
        if (QRect Touched; FillAxisLines(Surface, Points, Pen, Touched)) return FromQRect(Touched);
        const QRect Area =
            PointsBounds(Points).adjusted(-Pen.Width, -Pen.Width, Pen.Width, Pen.Width) &
            Surface.Clip;
        if (Area.isEmpty()) return TRect{};
        TShapeMask Mask(Area);
        if (Pen.Width == 1) {
            int Phase = 0;
            for (std::size_t I = 1; I < Points.size(); ++I)
                Mask.Line(QPoint(Points[I - 1].X, Points[I - 1].Y),
                          QPoint(Points[I].X, Points[I].Y), Pen.Pattern, Phase);
        } else {
            StrokeWide(Mask, Points, Pen.Width, false);
        }
        return FromQRect(Mask.Apply(Surface, Pen, nullptr));
    });
}

void TCanvas::Polygon(const std::vector<TPoint>& Logical) {
    if (Logical.size() < 2) return;
    const std::vector<TPoint> Points = MapPoints(Logical);
    Paint([&](TCanvasSurface& Surface) {
        const TPenShape Pen = PenShape(*FPen, *FBrush);
        const TBrushPixels Brush(*FBrush, FFont->Color(), false);
        const QRect Area =
            PointsBounds(Points).adjusted(-Pen.Width, -Pen.Width, Pen.Width, Pen.Width) &
            Surface.Clip;
        if (Area.isEmpty()) return TRect{};
        TShapeMask Mask(Area);
        Mask.PaintFill(
            [&](QPainter& Painter) { Painter.drawPolygon(ToQPolygon(Points), Qt::OddEvenFill); });
        if (Pen.Visible && Pen.Width == 1) {
            int Phase = 0;
            for (std::size_t I = 0; I < Points.size(); ++I) {
                const TPoint& A = Points[I];
                const TPoint& B = Points[(I + 1) % Points.size()];
                Mask.Line(QPoint(A.X, A.Y), QPoint(B.X, B.Y), Pen.Pattern, Phase);
            }
        } else if (Pen.Visible) {
            StrokeWide(Mask, Points, Pen.Width, true);
        }
        return FromQRect(Mask.Apply(Surface, Pen, &Brush));
    });
}

namespace {

// The rectangle-bounded shapes: the area the pen's outer edge follows, and
// the shape drawn into a mask. A clear pen leaves a shape one pixel
// smaller to the right and bottom; a wide pen is centred on the outline
// unless it is an inside-frame pen.
TRect OuterBounds(const TRect& R, const TPenShape& Pen) {
    if (!Pen.Visible) return TRect{R.Left, R.Top, R.Right - 1, R.Bottom - 1};
    if (Pen.Width == 1 || Pen.InsideFrame) return R;
    const int Before = Pen.Width / 2, After = Pen.Width - Before - 1;
    return TRect{R.Left - Before, R.Top - Before, R.Right + After, R.Bottom + After};
}

TRect Inflated(const TRect& R, int By) {
    return TRect{R.Left - By, R.Top - By, R.Right + By, R.Bottom + By};
}

} // namespace

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
    const TRect R = MapRect(Normalized(X1, Y1, X2, Y2));
    Paint([&](TCanvasSurface& Surface) {
        const TPenShape Pen = PenShape(*FPen, *FBrush);
        const TBrushPixels Brush(*FBrush, FFont->Color(), false);
        const TRect Outer = OuterBounds(R, Pen);
        const QRect Area = ToQRect(Outer) & Surface.Clip;
        if (Area.isEmpty()) return TRect{};
        TShapeMask Mask(Area);
        Mask.FillRect(ToQRect(Outer));
        if (Pen.Visible && Pen.Width == 1) {
            // Around the edge pixels clockwise, each pixel once.
            const int L = Outer.Left, T = Outer.Top, Rt = Outer.Right - 1, B = Outer.Bottom - 1;
            int Phase = 0;
            if (Rt == L) {
                Mask.Line(QPoint(L, T), QPoint(L, B + 1), Pen.Pattern, Phase);
            } else if (B == T) {
                Mask.Line(QPoint(L, T), QPoint(Rt + 1, T), Pen.Pattern, Phase);
            } else {
                Mask.Line(QPoint(L, T), QPoint(Rt, T), Pen.Pattern, Phase);
                Mask.Line(QPoint(Rt, T), QPoint(Rt, B), Pen.Pattern, Phase);
                Mask.Line(QPoint(Rt, B), QPoint(L, B), Pen.Pattern, Phase);
                Mask.Line(QPoint(L, B), QPoint(L, T), Pen.Pattern, Phase);
            }
        } else if (Pen.Visible) {
            const QRect Inner = ToQRect(Inflated(Outer, -Pen.Width));
            for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
                for (int X = Area.left(); X <= Area.right(); ++X)
                    if (!Inner.contains(X, Y)) Mask.SetPen(X, Y, PenOn);
        }
        return FromQRect(Mask.Apply(Surface, Pen, &Brush));
    });
}

namespace {

// Ellipses and rounded rectangles: the fill of the outer shape, with the
// pen on its outermost ring (thin pen) or on the band between it and the
// same shape drawn Width pixels smaller.
template <class Shape>
TRect DrawRoundShape(TCanvasSurface& Surface, const TRect& R, const TPenShape& Pen,
                     const TBrushPixels& Brush, Shape&& AddShape) {
    const TRect Outer = OuterBounds(R, Pen);
    // One pixel more than the visible part is worked out, so that the
    // clipping edge is not taken for the shape's edge.
    const QRect Area = ToQRect(Outer) & Surface.Clip.adjusted(-1, -1, 1, 1);
    if (Area.isEmpty() || Outer.Width() <= 0 || Outer.Height() <= 0) return TRect{};
    TShapeMask Mask(Area);
    auto Fill = [&](const TRect& Box, TShapeMask& Into, bool AsPen) {
        QPainterPath Path;
        AddShape(Path, QRectF(Box.Left, Box.Top, Box.Width(), Box.Height()));
        if (AsPen)
            Into.PaintPen([&](QPainter& Painter) { Painter.drawPath(Path); });
        else
            Into.PaintFill([&](QPainter& Painter) { Painter.drawPath(Path); });
    };
    Fill(Outer, Mask, false);
    if (Pen.Visible && Pen.Width == 1) {
        Mask.PenFromFillEdge();
    } else if (Pen.Visible) {
        // Pen on all of the outer shape, then the inner shape taken back
        // out of the pen.
        Fill(Outer, Mask, true);
        TShapeMask Inner(Area);
        const TRect InnerBox = Inflated(Outer, -Pen.Width);
        if (InnerBox.Width() > 0 && InnerBox.Height() > 0) Fill(InnerBox, Inner, false);
        for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
            for (int X = Area.left(); X <= Area.right(); ++X)
                if (Inner.FillAt(X, Y)) Mask.SetPen(X, Y, NoPen);
    }
    return FromQRect(Mask.Apply(Surface, Pen, &Brush));
}

} // namespace

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
    const TRect R = MapRect(Normalized(X1, Y1, X2, Y2));
    Paint([&](TCanvasSurface& Surface) {
        const TPenShape Pen = PenShape(*FPen, *FBrush);
        const TBrushPixels Brush(*FBrush, FFont->Color(), false);
        return DrawRoundShape(Surface, R, Pen, Brush,
                              [](QPainterPath& Path, const QRectF& Box) { Path.addEllipse(Box); });
    });
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
    const TRect R = MapRect(Normalized(X1, Y1, X2, Y2));
    Paint([&](TCanvasSurface& Surface) {
        const TPenShape Pen = PenShape(*FPen, *FBrush);
        const TBrushPixels Brush(*FBrush, FFont->Color(), false);
        return DrawRoundShape(Surface, R, Pen, Brush, [&](QPainterPath& Path, const QRectF& Box) {
            Path.addRoundedRect(Box, std::abs(X3) / 2.0, std::abs(Y3) / 2.0);
        });
    });
}

void TCanvas::FillRect(const TRect& Logical) {
    const TRect R = MapRect(Logical);
    if (FBrush->Style() == bsSolid && !FBrush->Bitmap()) {
        // A solid brush fills whole runs of pixels at once.
        const QRgb Color = ColorToPixel(FBrush->Color());
        Paint([&](TCanvasSurface& Surface) {
            const QRect Area = ToQRect(R) & Surface.Clip;
            if (Area.isEmpty() || R.Width() <= 0 || R.Height() <= 0) return TRect{};
            TPixelRows(Surface.Image).Fill(Area, Color);
            return FromQRect(Area);
        });
        return;
    }
    Paint([&](TCanvasSurface& Surface) {
        const TBrushPixels Brush(*FBrush, FFont->Color(), false);
        const QRect Area = ToQRect(R) & Surface.Clip;
        if (Brush.Clear() || Area.isEmpty() || R.Width() <= 0 || R.Height() <= 0) return TRect{};
        const TPixelRows Rows(Surface.Image);
        for (int Y = Area.top(); Y <= Area.bottom(); ++Y) {
            QRgb* Pixels = Rows[Y];
            for (int X = Area.left(); X <= Area.right(); ++X) {
                QRgb Color;
                if (Brush.At(X, Y, Color)) Pixels[X] = Color;
            }
        }
        return FromQRect(Area);
    });
}

void TCanvas::FrameRect(const TRect& Logical) {
    const TRect R = MapRect(Logical);
    if (R.Width() <= 0 || R.Height() <= 0) return;
    Paint([&](TCanvasSurface& Surface) {
        const TBrushPixels Brush(*FBrush, FFont->Color(), false);
        const QRect Whole = ToQRect(R);
        const QRect Inner = Whole.adjusted(1, 1, -1, -1);
        const QRect Area = Whole & Surface.Clip;
        const TPixelRows Rows(Surface.Image);
        for (int Y = Area.top(); Y <= Area.bottom(); ++Y) {
            QRgb* Pixels = Rows[Y];
            for (int X = Area.left(); X <= Area.right(); ++X) {
                QRgb Color;
                if (!Inner.contains(X, Y) && Brush.At(X, Y, Color)) Pixels[X] = Color;
            }
        }
        return FromQRect(Area);
    });
}

void TCanvas::DrawFocusRect(const TRect& Logical) {
    const TRect R = MapRect(Logical);
    if (R.Width() <= 0 || R.Height() <= 0) return;
    Paint([&](TCanvasSurface& Surface) {
        const QRect Whole = ToQRect(R);
        const QRect Inner = Whole.adjusted(1, 1, -1, -1);
        const QRect Area = Whole & Surface.Clip;
        const TPixelRows Rows(Surface.Image);
        for (int Y = Area.top(); Y <= Area.bottom(); ++Y) {
            QRgb* Pixels = Rows[Y];
            for (int X = Area.left(); X <= Area.right(); ++X)
                if (!Inner.contains(X, Y) && ((X + Y) & 1) == 0)
                    Pixels[X] = 0xFF000000u | ~Pixels[X];
        }
        return FromQRect(Area);
    });
}

namespace {

// The glyphs of printable ASCII in a font's first face, so that a plain text
// is drawn from its kept advances instead of being laid out again. A
// character the face lacks (0) comes from a fallback face: such a text is
// laid out.
struct TGlyphTable {
    QRawFont Face;
    std::array<quint32, 0x7F - 0x20> Glyphs{};
    // The pixels each glyph may touch around its origin on the baseline,
    // with room for hinting and for the fraction of a pixel it is placed at.
    std::array<QRect, 0x7F - 0x20> Ink{};
    QGlyphRun Run; // in Face, pointing at the text being drawn
};

// The Qt fonts and metrics of the fonts last drawn with: painting draws many
// texts in one font, and making a Qt font each time costs more than the text.
// A few are kept, since a grid alternates between its cell and heading fonts
// and a font's text advances are worth keeping.
struct TFontEntry {
    explicit TFontEntry(const TFont& Source) : Key(Source) {}
    TFontKey Key;
    QFont Font;
    QFontMetrics Metrics{QFont()};
    std::optional<TTextAdvances> Advances;
    std::optional<TGlyphTable> Glyphs; // made on the first plain text drawn
    unsigned Generation = 0; // tells entries apart, whatever their address
};

TFontEntry& FontEntry(const TFont& Font) {
    constexpr std::size_t Kept = 8;
    thread_local std::vector<std::unique_ptr<TFontEntry>> Entries;
    const auto Found = std::find_if(Entries.begin(), Entries.end(),
                                    [&](const auto& Entry) { return Entry->Key.Matches(Font); });
    if (Found != Entries.end()) {
        // The most recent first, so the usual case is one comparison.
        std::rotate(Entries.begin(), Found, Found + 1);
        return *Entries.front();
    }
    auto Entry = std::make_unique<TFontEntry>(Font);
    Entry->Font = CanvasFont(Font);
    // Text that needs no shaping (Latin, digits) is drawn and measured
    // glyph by glyph, which costs a fraction of the shaping; scripts that
    // need it are still shaped. Drawing and measuring share this font, so
    // a right-aligned text still ends where its width says.
    Entry->Font.setStyleStrategy(QFont::PreferNoShaping);
    Entry->Metrics = QFontMetrics(Entry->Font);
    Entry->Advances.emplace(Entry->Font);
    thread_local unsigned Generations = 0;
    Entry->Generation = ++Generations;
    if (Entries.size() == Kept) Entries.pop_back();
    Entries.insert(Entries.begin(), std::move(Entry));
    return *Entries.front();
}

} // namespace

TSize TCanvas::TextExtent(const AnsiString& Text) {
    TFontEntry& Entry = FontEntry(*FFont);
    const QFontMetrics& Metrics = Entry.Metrics;
    if (const std::optional<int> Width = Entry.Advances->Width(Text))
        return TSize{*Width, Metrics.height()};
    const QString S = QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size()));
    return TSize{Metrics.horizontalAdvance(S), Metrics.height()};
}

std::size_t TCanvas::TextRun(std::string_view Text, TTextRun& Run) {
    return FontEntry(*FFont).Advances->MeasureRun(Text, Run);
}

namespace {

// The painter texts share while a run lives: opened on the first text drawn
// on the run's canvas, kept while that canvas draws into the same pixels.
struct TSharedPainter {
    TCanvas* Canvas = nullptr;
    int Depth = 0;
    QImage* Image = nullptr;
    const uchar* Bits = nullptr;
    QSize Size;
    std::optional<QPainter> Painter;
    unsigned FontGeneration = 0;
    std::optional<QRgb> Pen;
};
thread_local std::optional<TSharedPainter> SharedPainter;
thread_local TCanvas* DrawingCanvas = nullptr; // the canvas whose Paint runs

void EndPainter(TSharedPainter& Run) {
    Run.Painter.reset();
    Run.Image = nullptr;
    Run.Bits = nullptr;
    Run.FontGeneration = 0;
    Run.Pen.reset();
}

// The run's painter for Image, opened if need be; none outside a run or for
// another canvas (an off-screen bitmap drawn into meanwhile).
QPainter* SharedTextPainter(QImage& Image) {
    if (!SharedPainter || SharedPainter->Canvas != DrawingCanvas) return nullptr;
    TSharedPainter& Run = *SharedPainter;
    if (Run.Painter &&
        (Run.Image != &Image || Run.Bits != Image.constBits() || Run.Size != Image.size()))
        EndPainter(Run);
    if (!Run.Painter) {
        Run.Painter.emplace();
        if (!Run.Painter->begin(&Image)) {
            Run.Painter.reset();
            return nullptr;
        }
        Run.Image = &Image;
        Run.Bits = Image.constBits();
        Run.Size = Image.size();
    }
    return &*Run.Painter;
}

void MakeGlyphTable(TFontEntry& Entry, const QFont& DrawnWith) {
    TGlyphTable& Table = Entry.Glyphs.emplace();
    Table.Face = QRawFont::fromFont(DrawnWith);
    Table.Run.setRawFont(Table.Face);
    if (!Table.Face.isValid()) return;
    QString All;
    for (int C = 0x20; C < 0x7F; ++C)
        All += QChar(C);
    const QList<quint32> Found = Table.Face.glyphIndexesForString(All);
    if (Found.size() != static_cast<qsizetype>(Table.Glyphs.size())) return;
    std::copy(Found.begin(), Found.end(), Table.Glyphs.begin());
    constexpr int Margin = 2;
    for (std::size_t I = 0; I < Table.Glyphs.size(); ++I) {
        const QRectF Box = Table.Face.boundingRect(Table.Glyphs[I]);
        Table.Ink[I] = QRect(QPoint(static_cast<int>(std::floor(Box.left())) - Margin,
                                    static_cast<int>(std::floor(Box.top())) - Margin),
                             QPoint(static_cast<int>(std::ceil(Box.right())) + Margin,
                                    static_cast<int>(std::ceil(Box.bottom())) + Margin));
    }
}

// The pixels a glyph or a text may touch, all four edges inclusive.
struct TInk {
    int Left = 0, Top = 0, Right = -1, Bottom = -1;
    bool Within(const QRect& R) const {
        return Left >= R.left() && Right <= R.right() && Top >= R.top() && Bottom <= R.bottom();
    }
    bool Meets(const QRect& R) const {
        return Left <= R.right() && Right >= R.left() && Top <= R.bottom() && Bottom >= R.top();
    }
    void Add(const TInk& Other) {
        Left = std::min(Left, Other.Left);
        Top = std::min(Top, Other.Top);
        Right = std::max(Right, Other.Right);
        Bottom = std::max(Bottom, Other.Bottom);
    }
    QRect Rect() const { return QRect(QPoint(Left, Top), QPoint(Right, Bottom)); }
};

// A plain text laid out from the font's kept advances, ready to draw: the
// glyphs drawText would draw, at the places it would put them (each advance
// and kerned pair in Qt's own 1/64 pixel), without laying the text out.
// The glyphs, their places and their inks are kept per thread, for the one
// text being drawn.
struct TPlainText {
    TGlyphTable* Table = nullptr;
    QPoint Origin; // the baseline's start
    int Count = 0;
    TInk Ink; // the pixels the text may touch
};

thread_local std::vector<std::int32_t> PlainOffsets;
thread_local std::vector<quint32> PlainGlyphs;
thread_local std::vector<QPointF> PlainPositions;
thread_local std::vector<TInk> PlainInks;

// Gives false where the text needs the layout: a byte outside printable
// ASCII, a glyph from a fallback face, lines the font draws under or through
// the text, or a right-to-left painter (in which ASCII punctuation moves; an
// automatic direction finds no right-to-left letter in ASCII and stays left
// to right). Painter is the one the text's font is set on.
bool LayPlainText(const QPainter& Painter, TFontEntry& Entry, QPoint Origin, std::string_view Text,
                  TPlainText& Laid) {
    const QFont& Font = Entry.Font;
    if (Font.underline() || Font.strikeOut() || Font.overline() ||
        Painter.layoutDirection() == Qt::RightToLeft)
        return false;
    if (!Entry.Advances->GlyphOffsets(Text, PlainOffsets)) return false;
    if (!Entry.Glyphs) MakeGlyphTable(Entry, Painter.font());
    TGlyphTable& Table = *Entry.Glyphs;
    PlainGlyphs.resize(Text.size());
    PlainPositions.resize(Text.size());
    PlainInks.resize(Text.size());
    // The inks' union by hand: QRect's own is a call per glyph.
    TInk Whole{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (std::size_t K = 0; K < Text.size(); ++K) {
        const std::size_t Index = static_cast<unsigned char>(Text[K]) - 0x20u;
        const quint32 Glyph = Table.Glyphs[Index];
        if (Glyph == 0) return false;
        PlainGlyphs[K] = Glyph;
        PlainPositions[K] = QPointF(PlainOffsets[K] / 64.0, 0.0);
        const QRect& Own = Table.Ink[Index];
        const int X = Origin.x() + (PlainOffsets[K] >> 6);
        PlainInks[K] = {X + Own.left(), Origin.y() + Own.top(), X + Own.right(),
                        Origin.y() + Own.bottom()};
        Whole.Add(PlainInks[K]);
    }
    Laid.Table = &Table;
    Laid.Origin = Origin;
    Laid.Count = static_cast<int>(Text.size());
    Laid.Ink = Whole;
    return true;
}

// Draws the glyphs First..Last - 1 of a laid-out text.
void DrawPlainGlyphs(QPainter& Painter, const TPlainText& Laid, int First, int Last) {
    const auto At = static_cast<std::size_t>(First);
    Laid.Table->Run.setRawData(PlainGlyphs.data() + At, PlainPositions.data() + At, Last - First);
    Painter.drawGlyphRun(QPointF(Laid.Origin), Laid.Table->Run);
}

// Draws glyphs First..Last - 1 of a laid-out text, whose inks lie in Ink,
// as if clipped to Clip: they are drawn without a clip, and the pixels
// outside Clip that their ink covers are put back as they were. Clipping
// the painter to each cell costs more than the text once a glyph crosses
// the cell's edge; the pixels inside Clip blend as they would clipped.
void DrawPlainGlyphsCut(QPainter& Painter, QImage& Target, const TPlainText& Laid, int First,
                        int Last, const TInk& Ink, const QRect& Clip) {
    const QRect Area = Ink.Rect() & Target.rect();
    const TPixelRows Rows(Target);
    // Each run of pixels outside Clip, row by row.
    const auto Outside = [&](auto&& Visit) {
        for (int Y = Area.top(); Y <= Area.bottom(); ++Y) {
            if (Y < Clip.top() || Y > Clip.bottom()) {
                Visit(Rows[Y] + Area.left(), Area.width());
                continue;
            }
            if (Area.left() < Clip.left())
                Visit(Rows[Y] + Area.left(), std::min(Clip.left(), Area.right() + 1) - Area.left());
            if (Area.right() > Clip.right()) {
                const int From = std::max(Clip.right() + 1, Area.left());
                Visit(Rows[Y] + From, Area.right() + 1 - From);
            }
        }
    };
    thread_local std::vector<QRgb> Kept;
    Kept.clear();
    Outside([&](const QRgb* Pixels, int Count) { Kept.insert(Kept.end(), Pixels, Pixels + Count); });
    if (Painter.hasClipping()) Painter.setClipping(false);
    DrawPlainGlyphs(Painter, Laid, First, Last);
    const QRgb* Next = Kept.data();
    Outside([&](QRgb* Pixels, int Count) {
        std::copy(Next, Next + Count, Pixels);
        Next += Count;
    });
}

// Draws a plain text on a run's painter clipped to Clip. Most cells' texts
// lie wholly inside and are drawn as they are; of a text Clip cuts, the
// glyphs from the first to the last that reach into Clip are drawn, with
// what they cover outside Clip put back. False, drawing nothing, where the
// text needs the layout.
bool DrawRunPlainText(QPainter& Painter, QImage& Target, TFontEntry& Entry, QPoint Origin,
                      std::string_view Text, const QRect& Clip) {
    TPlainText Laid;
    if (!LayPlainText(Painter, Entry, Origin, Text, Laid)) return false;
    if (Laid.Ink.Within(Clip)) {
        if (Painter.hasClipping()) Painter.setClipping(false);
        DrawPlainGlyphs(Painter, Laid, 0, Laid.Count);
        return true;
    }
    if (!Laid.Ink.Meets(Clip)) return true;
    const auto Reaches = [&](int K) { return PlainInks[static_cast<std::size_t>(K)].Meets(Clip); };
    int First = 0;
    int Last = Laid.Count;
    while (First < Last && !Reaches(First))
        ++First;
    // Clip may fall in the text's ink box between two glyphs (in a run of
    // blanks): then no glyph of it is drawn.
    if (First == Last) return true;
    while (!Reaches(Last - 1))
        --Last;
    TInk Ink = PlainInks[static_cast<std::size_t>(First)];
    for (int K = First + 1; K < Last; ++K)
        Ink.Add(PlainInks[static_cast<std::size_t>(K)]);
    DrawPlainGlyphsCut(Painter, Target, Laid, First, Last, Ink, Clip);
    return true;
}

QString ToQString(std::string_view Text) {
    return QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size()));
}

// Draws the text with its cell's top-left corner at (X, Y), clipped to Clip.
// Gives the area touched, from the text's Width as measured by the caller;
// a caller that reports its own area passes no width, which spares shaping
// the text a second time only to measure it.
QRect DrawText(TCanvasSurface& Surface, const TFont& Font, int X, int Y, const AnsiString& Text,
               const QRect& Clip, std::optional<int> Width = std::nullopt) {
    if (Text.empty() || Clip.isEmpty()) return {};
    TFontEntry& Entry = FontEntry(Font);
    const QFont& QtFont = Entry.Font;
    const QFontMetrics& Metrics = Entry.Metrics;
    const QPoint Origin(X, Y + Metrics.ascent());
    const QRgb Pen = ColorToPixel(Font.Color());
    if (QPainter* Shared = SharedTextPainter(Surface.Image)) {
        TSharedPainter& Run = *SharedPainter;
        if (Run.FontGeneration != Entry.Generation) {
            Shared->setFont(QtFont);
            Run.FontGeneration = Entry.Generation;
        }
        if (!Run.Pen || *Run.Pen != Pen) {
            Shared->setPen(QColor::fromRgb(Pen));
            Run.Pen = Pen;
        }
        if (!DrawRunPlainText(*Shared, Surface.Image, Entry, Origin, Text, Clip)) {
            Shared->setClipRect(Clip);
            Shared->drawText(Origin, ToQString(Text));
        }
    } else {
        // Another canvas over the run's image: one painter at a time.
        if (SharedPainter && SharedPainter->Image == &Surface.Image) EndPainter(*SharedPainter);
        QPainter Painter(&Surface.Image);
        Painter.setClipRect(Clip);
        Painter.setFont(QtFont);
        Painter.setPen(QColor::fromRgb(Pen));
        TPlainText Laid;
        if (LayPlainText(Painter, Entry, Origin, Text, Laid))
            DrawPlainGlyphs(Painter, Laid, 0, Laid.Count);
        else
            Painter.drawText(Origin, ToQString(Text));
    }
    if (!Width) return {};
    // Italic and overhanging glyphs may reach a little past the advance.
    const QRect Cell(X, Y, *Width, Metrics.height());
    return Cell.adjusted(-Metrics.height() / 2, 0, Metrics.height() / 2, 0) & Clip;
}

void FillSolid(TCanvasSurface& Surface, const QRect& R, QRgb Color) {
    const QRect Area = R & Surface.Clip;
    if (Area.isEmpty()) return;
    TPixelRows(Surface.Image).Fill(Area, Color);
}

} // namespace

TCanvasTextRun::TCanvasTextRun(TCanvas* Canvas) : FOwner(!SharedPainter) {
    if (FOwner) SharedPainter.emplace().Canvas = Canvas;
}

TCanvasTextRun::~TCanvasTextRun() {
    if (FOwner) SharedPainter.reset();
}

void EndSharedTextPainter() {
    if (SharedPainter) EndPainter(*SharedPainter);
}

// Which canvas draws text at the moment, for the shared painter.
class TDrawingCanvas {
public:
    explicit TDrawingCanvas(TCanvas* Canvas) : FOld(DrawingCanvas) { DrawingCanvas = Canvas; }
    ~TDrawingCanvas() { DrawingCanvas = FOld; }
    TDrawingCanvas(const TDrawingCanvas&) = delete;
    TDrawingCanvas& operator=(const TDrawingCanvas&) = delete;

private:
    TCanvas* FOld;
};

void TCanvas::TextOut(int LogicalX, int Y, const AnsiString& Text) {
    const TDrawingCanvas Drawing(this);
    const int Width = TextWidth(Text);
    const int X = FMirrorWidth > 0 ? MapX(LogicalX) - Width : LogicalX;
    Paint([&](TCanvasSurface& Surface) {
        QRect Touched;
        if (FBrush->Style() == bsSolid && !Text.empty()) {
            Touched = QRect(X, Y, Width, TextHeight(Text));
            FillSolid(Surface, Touched, ColorToPixel(FBrush->Color()));
        }
        Touched |= DrawText(Surface, *FFont, X, Y, Text, Surface.Clip, Width);
        return FromQRect(Touched);
    });
    FPenPos = Point(LogicalX + Width, Y);
}

void TCanvas::TextRect(const TRect& Logical, int LogicalX, int Y, const AnsiString& Text) {
    const TDrawingCanvas Drawing(this);
    const TRect R = MapRect(Logical);
    const int X = FMirrorWidth > 0 ? MapX(LogicalX) - TextWidth(Text) : LogicalX;
    Paint([&](TCanvasSurface& Surface) {
        const QRect Box = ToQRect(R);
        if (FBrush->Style() != bsClear) FillSolid(Surface, Box, ColorToPixel(FBrush->Color()));
        DrawText(Surface, *FFont, X, Y, Text, Box & Surface.Clip);
        return FromQRect(Box);
    });
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
    if (!Graphic || Graphic->Empty()) return;
    Graphic->Draw(this, Rect(X, Y, X + Graphic->Width(), Y + Graphic->Height()));
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
    if (!Graphic || Graphic->Empty()) return;
    Graphic->Draw(this, R);
}

void TCanvas::CopyRect(const TRect& LogicalDest, TCanvas* Canvas, const TRect& Source) {
    if (!Canvas) return;
    const TRect Dest = MapRect(LogicalDest);
    // StretchPixels takes its own copy of the source area before writing,
    // so a copy within one canvas sees the pixels as they were.
    const QImage& Pixels = SurfaceOf(Canvas->Handle()).Image;
    const auto Code = static_cast<std::uint8_t>((FCopyMode >> 16) & 0xFF);
    Paint([&](TCanvasSurface& Surface) {
        const TBrushPixels Brush(*FBrush, FFont->Color(), true);
        return FromQRect(
            StretchPixels(Surface, Dest, Pixels, Source, [&](int X, int Y, QRgb S, QRgb& D) {
                QRgb P = 0;
                Brush.At(X, Y, P);
                D = RasterOp3(Code, P, S, D);
            }));
    });
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) {
    if (!Bitmap || Bitmap->Empty()) return;
    const QImage& Pixels = TBitmapAccess::Image(*Bitmap);
    const QRgb Replaced = ColorToPixel(Color);
    const QRgb By = ColorToPixel(FBrush->Color());
    Paint([&](TCanvasSurface& Surface) {
        return FromQRect(
            StretchPixels(Surface, Dest, Pixels, Source,
                          [&](int, int, QRgb S, QRgb& D) { D = (S == Replaced) ? By : S; }));
    });
}

TRect TCanvas::ClipRect() {
    return MapRect(FromQRect(SurfaceOf(Handle()).Clip));
}

void TCanvas::Lock() {
    FLock.lock();
    ++FLockCount;
}

void TCanvas::Unlock() {
    --FLockCount;
    FLock.unlock();
}

bool TCanvas::TryLock() {
    if (!FLock.try_lock()) return false;
    ++FLockCount;
    return true;
}
