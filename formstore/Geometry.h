#pragma once
// Rectangle and point helpers of the window layer.
#include "platform/gui/Types.h"

#include <span>

namespace formstore {

inline int WidthOf(const TRect& R) {
    return R.Right - R.Left;
}
inline int HeightOf(const TRect& R) {
    return R.Bottom - R.Top;
}
// Inclusive on all four edges: a point on the right or bottom edge is in.
inline bool PointInRect(const TPoint& P, const TRect& R) {
    return P.X >= R.Left && P.X <= R.Right && P.Y >= R.Top && P.Y <= R.Bottom;
}
// Whether the point lies inside the polygon under the alternate (even-odd)
// fill rule. Fewer than three points make no area.
bool PointInPolyRgn(const TPoint& P, std::span<const TPoint> Points);

} // namespace formstore
