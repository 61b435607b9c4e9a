#pragma once
// A nesting counter held up for the life of a scope.

namespace grid {

// Counts the life of a scope in a nesting counter, however it is left.
class TCountScope {
public:
    explicit TCountScope(int& Count) : FCount(Count) { ++FCount; }
    ~TCountScope() { --FCount; }
    TCountScope(const TCountScope&) = delete;
    TCountScope& operator=(const TCountScope&) = delete;

private:
    int& FCount;
};

} // namespace grid
