#include "grid/foundation/ImageListDraw.h"

#include <cmath>

namespace grid {

namespace {

// Half a difference, rounded to the nearest integer with halves to even.
int HalfToEven(int Difference) {
    return static_cast<int>(std::nearbyint(Difference / 2.0));
}

// Without keeping the ratio each direction is handled alone: the picture
// is cut to the room there is, or the room narrowed to the picture.
void FitDirection(int& SrcStart, int& SrcEnd, int& DstStart, int& DstEnd, bool Center, bool Stretch,
                  bool Shrink) {
    const int Src = SrcEnd - SrcStart;
    const int Dst = DstEnd - DstStart;
    if (Src < Dst) {
        if (Stretch) return;
        if (Center) DstStart += HalfToEven(Dst - Src);
        DstEnd = DstStart + Src;
    } else if (!Shrink) {
        SrcStart = Center ? HalfToEven(Src - Dst) : 0;
        SrcEnd = SrcStart + Dst;
    }
}

// With the ratio kept: cut the picture (unless Shrink), narrow the room
// (unless Stretch), both halving the difference toward zero when centred.
void CutAndNarrow(int& SrcStart, int& SrcEnd, int& DstStart, int& DstEnd, bool Center, bool Stretch,
                  bool Shrink) {
    if (!Shrink && SrcEnd - SrcStart > DstEnd - DstStart) {
        const int Room = DstEnd - DstStart;
        SrcStart = Center ? (SrcEnd - SrcStart - Room) / 2 : 0;
        SrcEnd = SrcStart + Room;
    }
    if (!Stretch && DstEnd - DstStart > SrcEnd - SrcStart) {
        const int Size = SrcEnd - SrcStart;
        if (Center) DstStart += (DstEnd - DstStart - Size) / 2;
        DstEnd = DstStart + Size;
    }
}

} // namespace

TgxStretchRects gxStretchRects(const TRect& Rect, int Width, int Height, bool Center, bool Stretch,
                               bool Shrink, bool KeepAspectRatio) {
    TgxStretchRects R{{0, 0, Width, Height}, Rect};
    TRect& S = R.Source;
    TRect& D = R.Dest;
    // Nothing to fit into or nothing to fit: no ratio to take.
    if (Width <= 0 || Height <= 0 || D.Width() <= 0 || D.Height() <= 0) return R;
    if (!KeepAspectRatio) {
        FitDirection(S.Left, S.Right, D.Left, D.Right, Center, Stretch, Shrink);
        FitDirection(S.Top, S.Bottom, D.Top, D.Bottom, Center, Stretch, Shrink);
        return R;
    }
    CutAndNarrow(S.Left, S.Right, D.Left, D.Right, Center, Stretch, Shrink);
    CutAndNarrow(S.Top, S.Bottom, D.Top, D.Bottom, Center, Stretch, Shrink);
    const float SourceRatio = static_cast<float>(S.Width()) / static_cast<float>(S.Height());
    const float DestRatio = static_cast<float>(D.Width()) / static_cast<float>(D.Height());
    if (SourceRatio > DestRatio) {
        const int NewHeight = static_cast<int>(std::nearbyint(D.Width() / double(SourceRatio)));
        if (Center) D.Top += (D.Height() - NewHeight) / 2;
        D.Bottom = D.Top + NewHeight;
    } else {
        const int NewWidth = static_cast<int>(std::nearbyint(D.Height() * double(SourceRatio)));
        if (Center) D.Left += (D.Width() - NewWidth) / 2;
        D.Right = D.Left + NewWidth;
    }
    return R;
}

void gxStretchDraw(TCanvas* Canvas, const TRect& Rect, TBitmap* Bitmap, TColor TransparentColor,
                   bool Center, bool Stretch, bool Shrink, bool KeepAspectRatio) {
    Canvas->FillRect(Rect);
    if (!Bitmap || Bitmap->Empty() || Rect.Width() <= 0 || Rect.Height() <= 0) return;
    const TgxStretchRects R = gxStretchRects(Rect, Bitmap->Width(), Bitmap->Height(), Center,
                                             Stretch, Shrink, KeepAspectRatio);
    if (R.Dest.Width() <= 0 || R.Dest.Height() <= 0) return;
    if (TransparentColor == clNone) {
        // A plain copy, whatever copy mode the canvas was left in.
        const TCopyMode Mode = Canvas->CopyMode();
        Canvas->SetCopyMode(cmSrcCopy);
        try {
            Canvas->CopyRect(R.Dest, Bitmap->Canvas(), R.Source);
        } catch (...) {
            Canvas->SetCopyMode(Mode);
            throw;
        }
        Canvas->SetCopyMode(Mode);
        return;
    }
    TBitmap Part;
    Part.SetSize(R.Source.Width(), R.Source.Height());
    Part.Canvas()->CopyRect({0, 0, R.Source.Width(), R.Source.Height()}, Bitmap->Canvas(),
                            R.Source);
    Part.SetTransparentColor(TransparentColor);
    Part.SetTransparent(true);
    Canvas->StretchDraw(R.Dest, &Part);
}

} // namespace grid
