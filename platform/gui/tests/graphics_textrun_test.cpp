#include "platform/gui/Graphics.h"
#include "platform/gui/GraphicsQt.h"
#include "platform/gui/GraphicsTextRun.h"
#include "platform/gui/QtApp.h"

#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::vector<TColor> Snapshot(TBitmap& Bitmap) {
    std::vector<TColor> Result;
    for (int Y = 0; Y < Bitmap.Height(); ++Y)
        for (int X = 0; X < Bitmap.Width(); ++X)
            Result.push_back(Bitmap.Canvas()->Pixels(X, Y));
    return Result;
}

// Texts in several fonts and colours, clipped, with fills over them and a
// second canvas drawn on in between: what a grid's cells do.
void DrawCells(TBitmap& Bitmap, TBitmap& Other) {
    TCanvas* C = Bitmap.Canvas();
    C->Brush()->SetColor(clWhite);
    C->FillRect(Rect(0, 0, Bitmap.Width(), Bitmap.Height()));
    C->TextRect(Rect(2, 2, 30, 16), 3, 2, "Wide cell text");
    C->Font()->SetColor(clRed);
    C->TextRect(Rect(30, 2, 80, 16), 31, 2, "R12C3");
    C->Brush()->SetColor(clYellow);
    C->FillRect(Rect(10, 4, 20, 12)); // over the first text
    Other.Canvas()->TextOut(0, 0, "elsewhere");
    C->Font()->SetStyle(TFontStyles{fsBold});
    C->Brush()->SetStyle(bsClear);
    C->TextRect(Rect(2, 18, 80, 34), 3, 18, "Bold");
    C->Font()->SetStyle({});
    C->Font()->SetColor(clBlue);
    C->TextOut(40, 18, "Out");
    Other.Canvas()->TextRect(Rect(0, 0, 20, 10), 0, 0, "x");
    C->TextRect(Rect(2, 34, 40, 48), 3, 34, "Last");
}

TEST(CanvasTextRunTest, TextsDrawnInARunLookAsTextsDrawnOneByOne) {
    EnsureQtApplication();
    TBitmap Alone, InRun, OtherAlone, OtherInRun;
    for (TBitmap* B : {&Alone, &InRun})
        B->SetSize(80, 48);
    for (TBitmap* B : {&OtherAlone, &OtherInRun})
        B->SetSize(40, 12);
    DrawCells(Alone, OtherAlone);
    {
        const TCanvasTextRun Run(InRun.Canvas());
        DrawCells(InRun, OtherInRun);
    }
    EXPECT_EQ(Snapshot(InRun), Snapshot(Alone));
    EXPECT_EQ(Snapshot(OtherInRun), Snapshot(OtherAlone));
    // Texts after the run still draw.
    InRun.Canvas()->Font()->SetColor(clBlack);
    InRun.Canvas()->TextOut(0, 0, "W");
    Alone.Canvas()->Font()->SetColor(clBlack);
    Alone.Canvas()->TextOut(0, 0, "W");
    EXPECT_EQ(Snapshot(InRun), Snapshot(Alone));
}

// Plain texts are drawn from the canvas's kept glyph advances rather than
// laid out each time, and a text that its box cuts is drawn on a copy of
// the pixels: every pixel must be what Qt's own text drawing gives in the
// same font and clip, in each face, size and style, kerned pairs and all,
// in a run and alone. Texts that need the layout (tabs, UTF-8, underlined
// fonts) are in the table too, to show they still draw the same.
TEST(CanvasTextRunTest, TextsDrawPixelForPixelAsQtDrawsThemWhereverTheirBoxCutsThem) {
    EnsureQtApplication();
    struct Face {
        const char* Name;
        int Height;
        TFontStyles Style;
    };
    const Face Faces[] = {{"MS Sans Serif", -9, {}},
                          {"MS Sans Serif", -13, {}},
                          {"MS Sans Serif", -14, TFontStyles{fsBold}},
                          {"MS Sans Serif", -17, TFontStyles{fsItalic}},
                          {"MS Sans Serif", -23, TFontStyles{fsBold, fsItalic}},
                          {"MS Sans Serif", -13, TFontStyles{fsUnderline}},
                          {"Liberation Serif", -15, TFontStyles{fsItalic}},
                          {"DejaVu Sans Mono", -12, {}}};
    std::vector<AnsiString> Texts = {"AV To Wa Ty LT", "R999999C10", "fi ff ffl Yo. P,",
                                     " lead and trail ", "x", "tab\there", "Gr\xC3\xB6\xC3\x9F" "e"};
    std::mt19937 Random(40);
    for (int I = 0; I < 24; ++I) {
        AnsiString Text(1 + Random() % 28, ' ');
        for (char& C : Text)
            C = static_cast<char>(0x20 + Random() % 95);
        Texts.push_back(Text);
    }
    const int Width = 420, Height = 40, Top = 6;
    for (const Face& F : Faces)
        for (std::size_t I = 0; I < Texts.size(); ++I) {
            const AnsiString& Text = Texts[I];
            const int X = 2 + static_cast<int>(I % 3);
            const TColor Color = I % 2 ? clNavy : clBlack;
            TFont Font;
            Font.SetName(F.Name);
            Font.SetHeight(F.Height);
            Font.SetStyle(F.Style);
            Font.SetColor(Color);
            QFont Qt = CanvasFont(Font);
            Qt.setStyleStrategy(QFont::PreferNoShaping);
            const QFontMetrics Metrics(Qt);
            const int Wide = Metrics.horizontalAdvance(
                QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size())));
            const int Ascent = Metrics.ascent();
            // Room to spare, then boxes that cut the text: around its
            // middle, on all sides of its middle, through its first glyph,
            // through its last, through its top and its end, and tight.
            const TRect Boxes[] = {Rect(0, 0, Width, Height),
                                   Rect(X + Wide / 3, 0, X + Wide * 2 / 3, Height),
                                   Rect(X + Wide / 3, Top + 2, X + Wide * 2 / 3 + 1, Top + Ascent),
                                   Rect(X + 1, 0, Width, Height),
                                   Rect(0, 0, X + Wide - 2, Height),
                                   Rect(0, Top + Ascent / 2, X + Wide - 2, Height),
                                   Rect(X, Top, X + Wide, Top + Metrics.height())};
            for (const TRect& Box : Boxes) {
                SCOPED_TRACE(std::string(F.Name) + " " + std::to_string(F.Height) + ": " + Text +
                             " in " + std::to_string(Box.Left) + "," + std::to_string(Box.Top) +
                             "," + std::to_string(Box.Right) + "," + std::to_string(Box.Bottom));
                QImage Expected(Width, Height, QImage::Format_RGB32);
                Expected.fill(Qt::white);
                {
                    QPainter Painter(&Expected);
                    Painter.setClipRect(ToQRect(Box));
                    Painter.setFont(Qt);
                    Painter.setPen(QColor::fromRgb(ColorToPixel(Color)));
                    Painter.drawText(
                        QPoint(X, Top + Ascent),
                        QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size())));
                }
                for (const bool InRun : {true, false}) {
                    TBitmap Bitmap;
                    Bitmap.SetSize(Width, Height);
                    TCanvas* C = Bitmap.Canvas();
                    C->Brush()->SetColor(clWhite);
                    C->FillRect(Rect(0, 0, Width, Height));
                    C->Font()->Assign(&Font);
                    C->Brush()->SetStyle(bsClear);
                    if (InRun) {
                        const TCanvasTextRun Run(C);
                        C->TextRect(Box, X, Top, Text);
                    } else {
                        C->TextRect(Box, X, Top, Text);
                    }
                    EXPECT_TRUE(TBitmapAccess::Image(Bitmap).convertToFormat(
                                    QImage::Format_RGB32) == Expected)
                        << (InRun ? "in a run" : "alone");
                }
            }
        }
}

TEST(CanvasLinesTest, LevelAndUprightLinesStopShortOfTheirEndInEitherDirection) {
    EnsureQtApplication();
    struct Case {
        TPoint From, To;
        TRect Drawn; // the pixels set, right and bottom exclusive
    };
    const Case Cases[] = {
        {{2, 5}, {10, 5}, Rect(2, 5, 10, 6)}, {{10, 5}, {2, 5}, Rect(3, 5, 11, 6)},
        {{4, 1}, {4, 9}, Rect(4, 1, 5, 9)},   {{4, 9}, {4, 1}, Rect(4, 2, 5, 10)},
        {{-3, 2}, {5, 2}, Rect(0, 2, 5, 3)}, // cut at the edge
    };
    for (const Case& C : Cases) {
        TBitmap Bitmap;
        Bitmap.SetSize(12, 12);
        TCanvas* Canvas = Bitmap.Canvas();
        Canvas->Brush()->SetColor(clWhite);
        Canvas->FillRect(Rect(0, 0, 12, 12));
        Canvas->Pen()->SetColor(clNavy);
        Canvas->MoveTo(C.From.X, C.From.Y);
        Canvas->LineTo(C.To.X, C.To.Y);
        for (int Y = 0; Y < 12; ++Y)
            for (int X = 0; X < 12; ++X) {
                const bool In = X >= C.Drawn.Left && X < C.Drawn.Right && Y >= C.Drawn.Top &&
                                Y < C.Drawn.Bottom;
                EXPECT_EQ(Canvas->Pixels(X, Y), In ? clNavy : clWhite)
                    << "line " << C.From.X << "," << C.From.Y << " to " << C.To.X << "," << C.To.Y
                    << " at " << X << "," << Y;
            }
    }
}

} // namespace

namespace {

// A line drawn with LineTo and the same line drawn as a two-point polyline
// set the same pixels, whatever the pen, the direction and the mirroring.
TEST(CanvasLinesTest, LineToDrawsWhatTheSameTwoPointPolylineDraws) {
    EnsureQtApplication();
    struct PenCase {
        TPenStyle Style;
        int Width;
        TPenMode Mode;
    };
    const PenCase Pens[] = {{psSolid, 1, pmCopy},       {psInsideFrame, 1, pmCopy},
                            {psSolid, 0, pmCopy},       {psDot, 1, pmCopy},
                            {psSolid, 2, pmCopy},       {psSolid, 1, pmXor},
                            {psClear, 1, pmCopy}};
    const std::pair<TPoint, TPoint> Lines[] = {
        {{2, 5}, {13, 5}}, {{13, 5}, {2, 5}},  {{4, 1}, {4, 14}}, {{4, 14}, {4, 1}},
        {{-3, 2}, {5, 2}}, {{6, -4}, {6, 30}}, {{1, 1}, {12, 9}}, {{7, 7}, {7, 7}}};
    for (const int Mirror : {0, 15})
        for (const PenCase& P : Pens)
            for (const auto& [From, To] : Lines) {
                TBitmap ByLine, ByPolyline;
                for (TBitmap* B : {&ByLine, &ByPolyline}) {
                    B->SetSize(16, 16);
                    TCanvas* C = B->Canvas();
                    C->Brush()->SetColor(clYellow);
                    C->FillRect(Rect(0, 0, 16, 16));
                    C->Pen()->SetColor(clNavy);
                    C->Pen()->SetStyle(P.Style);
                    C->Pen()->SetWidth(P.Width);
                    C->Pen()->SetMode(P.Mode);
                    C->SetMirrorWidth(Mirror);
                }
                ByLine.Canvas()->MoveTo(From.X, From.Y);
                ByLine.Canvas()->LineTo(To.X, To.Y);
                ByPolyline.Canvas()->Polyline({From, To});
                EXPECT_EQ(Snapshot(ByLine), Snapshot(ByPolyline))
                    << "mirror " << Mirror << ", pen style " << static_cast<int>(P.Style) << " width " << P.Width
                    << " mode " << static_cast<int>(P.Mode) << ", line " << From.X << "," << From.Y << " to "
                    << To.X << "," << To.Y;
                EXPECT_EQ(ByLine.Canvas()->PenPos(), To);
            }
}

} // namespace
