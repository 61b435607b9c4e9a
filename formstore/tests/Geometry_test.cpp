#include "formstore/Geometry.h"

#include <gtest/gtest.h>

#include <vector>

using namespace formstore;

namespace {

TEST(Geometry, RectanglesIncludeAllFourEdges) {
    const TRect R = Rect(10, 20, 30, 60);
    EXPECT_EQ(WidthOf(R), 20);
    EXPECT_EQ(HeightOf(R), 40);
    const struct {
        TPoint P;
        bool In;
    } cases[] = {{{10, 20}, true}, {{30, 60}, true},  {{30, 20}, true},  {{20, 40}, true},
                 {{9, 40}, false}, {{31, 40}, false}, {{20, 19}, false}, {{20, 61}, false}};
    for (const auto& c : cases)
        EXPECT_EQ(PointInRect(c.P, R), c.In) << c.P.X << "," << c.P.Y;
}

TEST(Geometry, PolygonRegionsFillAlternately) {
    // A five-pointed star drawn in one stroke: its centre is crossed twice
    // and so lies outside under the alternate rule; its points are inside.
    const std::vector<TPoint> Star{{50, 0}, {80, 100}, {0, 35}, {100, 35}, {20, 100}};
    EXPECT_FALSE(PointInPolyRgn({50, 50}, Star));
    EXPECT_TRUE(PointInPolyRgn({50, 10}, Star));
    EXPECT_TRUE(PointInPolyRgn({10, 37}, Star));
    EXPECT_FALSE(PointInPolyRgn({0, 0}, Star));

    const std::vector<TPoint> Square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_TRUE(PointInPolyRgn({0, 0}, Square));
    EXPECT_TRUE(PointInPolyRgn({9, 9}, Square));
    EXPECT_FALSE(PointInPolyRgn({10, 5}, Square));
    EXPECT_FALSE(PointInPolyRgn({5, 5}, std::vector<TPoint>{{0, 0}, {10, 10}}));
}

} // namespace
