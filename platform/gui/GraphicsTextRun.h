#pragma once
// A run of text drawing on one canvas, such as a grid painting its cells:
// while a run lives, the texts drawn on that canvas share one painter
// instead of setting one up (clip, font, pen) for each text, which costs
// more than drawing a short text. What is drawn is the same either way.
//
// Only for code that draws nothing but through the canvas while the run
// lives; the run ends with its scope.
class TCanvas;

class TCanvasTextRun {
public:
    explicit TCanvasTextRun(TCanvas* Canvas);
    ~TCanvasTextRun();
    TCanvasTextRun(const TCanvasTextRun&) = delete;
    TCanvasTextRun& operator=(const TCanvasTextRun&) = delete;

private:
    bool FOwner; // false inside another run, which keeps the painter
};

// Ends the shared painter of a run, if any, before something else paints
// on a canvas's image with its own painter; the next text opens a new one.
void EndSharedTextPainter();
