#include "formstore/Geometry.h"

namespace formstore {

bool PointInPolyRgn(const TPoint& P, std::span<const TPoint> Points) {
    if (Points.size() < 3) return false;
    // A ray to the right crosses the outline an odd number of times from
    // inside. Each edge counts as half-open in Y, so a vertex on the ray is
    // crossed once; the point's pixel is sampled at its centre, as a
    // region's pixels are.
    const double X = P.X + 0.5, Y = P.Y + 0.5;
    bool Inside = false;
    for (std::size_t I = 0, J = Points.size() - 1; I < Points.size(); J = I++) {
        const TPoint& A = Points[I];
        const TPoint& B = Points[J];
        if ((A.Y > Y) != (B.Y > Y)) {
            const double CrossX = A.X + (Y - A.Y) * (B.X - A.X) / double(B.Y - A.Y);
            if (X < CrossX) Inside = !Inside;
        }
    }
    return Inside;
}

} // namespace formstore
