#pragma once
// Screen geometry: points, sizes and rectangles in pixels. A rectangle's
// right and bottom edges lie outside it, so its width is Right - Left.
struct TPoint {
    int X = 0;
    int Y = 0;

    friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;

    friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr TPoint TopLeft() const { return {Left, Top}; }
    constexpr TPoint BottomRight() const { return {Right, Bottom}; }

    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

constexpr TPoint Point(int X, int Y) {
    return {X, Y};
}
constexpr TRect Rect(int Left, int Top, int Right, int Bottom) {
    return {Left, Top, Right, Bottom};
}
