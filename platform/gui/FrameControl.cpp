#include "platform/gui/FrameControl.h"

void DrawFrameControl(TCanvas* Canvas, TRect& R, unsigned Type, unsigned State) {
    if (Type != DFC_BUTTON || R.Width() <= 0 || R.Height() <= 0) return;
    const bool Pushed = (State & DFCS_PUSHED) != 0;
    // Outer edge, then inner edge: top-left colour and bottom-right colour.
    const TColor Edges[2][2] = {
        {Pushed ? clBtnShadow : cl3DLight, Pushed ? clBtnHighlight : cl3DDkShadow},
        {Pushed ? cl3DDkShadow : clBtnHighlight, Pushed ? cl3DLight : clBtnShadow}};
    TPen* Pen = Canvas->Pen();
    const TColor SavedPen = Pen->Color();
    TRect Edge = R;
    for (const auto& Colors : Edges) {
        if (Edge.Width() <= 0 || Edge.Height() <= 0) break;
        Pen->SetColor(Colors[0]);
        Canvas->MoveTo(Edge.Left, Edge.Bottom - 1);
        Canvas->LineTo(Edge.Left, Edge.Top);
        Canvas->LineTo(Edge.Right - 1, Edge.Top);
        Pen->SetColor(Colors[1]);
        Canvas->MoveTo(Edge.Right - 1, Edge.Top);
        Canvas->LineTo(Edge.Right - 1, Edge.Bottom - 1);
        Canvas->LineTo(Edge.Left - 1, Edge.Bottom - 1);
        Edge = Rect(Edge.Left + 1, Edge.Top + 1, Edge.Right - 1, Edge.Bottom - 1);
    }
    Pen->SetColor(SavedPen);
    if (Edge.Width() > 0 && Edge.Height() > 0) Canvas->FillRect(Edge);
    if (State & DFCS_ADJUSTRECT) R = Edge;
}
