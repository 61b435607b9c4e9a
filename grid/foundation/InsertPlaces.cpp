#include "grid/foundation/InsertPlaces.h"

#include <cstddef>
#include <random>

namespace grid {

namespace {

// The places taken so far, in a tree kept balanced by random priorities,
// each node knowing how many places its subtree holds.
class TPlaceTree {
public:
    explicit TPlaceTree(std::size_t Capacity) { FNodes.reserve(Capacity + 1); FNodes.push_back({}); }

    // The Index-th place (from 0) not taken: Index plus the number of
    // taken places t at the first t where the t-th taken place (from 0)
    // lies beyond Index + t. Place - rank never decreases along the taken
    // places, so that t is found in one walk down.
    std::int64_t FreePlace(std::int64_t Index) const {
        std::int64_t Taken = Size(FRoot);
        std::int64_t Before = 0;
        for (int N = FRoot; N != 0;) {
            const Node& X = FNodes[static_cast<std::size_t>(N)];
            const std::int64_t Rank = Before + Size(X.Left);
            if (X.Place - Rank > Index) {
                Taken = Rank;
                N = X.Left;
            } else {
                Before = Rank + 1;
                N = X.Right;
            }
        }
        return Index + Taken;
    }

    void Take(std::int64_t Place) {
        FNodes.push_back({Place, static_cast<std::uint32_t>(FRandom()), 0, 0, 1});
        const int Added = static_cast<int>(FNodes.size()) - 1;
        int Low = 0, High = 0;
        Split(FRoot, Place, Low, High);
        FRoot = Merge(Merge(Low, Added), High);
    }

private:
    struct Node {
        std::int64_t Place = 0;
        std::uint32_t Priority = 0;
        int Left = 0, Right = 0; // 0: none
        std::int64_t Size = 0;
    };

    std::int64_t Size(int N) const { return FNodes[static_cast<std::size_t>(N)].Size; }
    void Update(int N) {
        Node& X = FNodes[static_cast<std::size_t>(N)];
        X.Size = 1 + Size(X.Left) + Size(X.Right);
    }
    // Low: places below Place; High: the rest. Recursion follows the
    // tree's height, which stays logarithmic.
    void Split(int N, std::int64_t Place, int& Low, int& High) {
        if (N == 0) {
            Low = High = 0;
            return;
        }
        Node& X = FNodes[static_cast<std::size_t>(N)];
        if (X.Place < Place) {
            int R = 0;
            Split(X.Right, Place, R, High);
            FNodes[static_cast<std::size_t>(N)].Right = R;
            Low = N;
        } else {
            int L = 0;
            Split(X.Left, Place, Low, L);
            FNodes[static_cast<std::size_t>(N)].Left = L;
            High = N;
        }
        Update(N);
    }
    int Merge(int A, int B) {
        if (A == 0 || B == 0) return A + B;
        if (FNodes[static_cast<std::size_t>(A)].Priority > FNodes[static_cast<std::size_t>(B)].Priority) {
            const int R = Merge(FNodes[static_cast<std::size_t>(A)].Right, B);
            FNodes[static_cast<std::size_t>(A)].Right = R;
            Update(A);
            return A;
        }
        const int L = Merge(A, FNodes[static_cast<std::size_t>(B)].Left);
        FNodes[static_cast<std::size_t>(B)].Left = L;
        Update(B);
        return B;
    }

    std::vector<Node> FNodes; // [0]: no node
    int FRoot = 0;
    std::minstd_rand FRandom{20261210};
};

} // namespace

// An insert at i maps every place x to x + 1 when x >= i. So an item's
// final place is where the later inserts carry its own index, and those
// shifts together map the places onto every place the later items do not
// end up on, keeping their order: going from the last item back, each one
// takes the free place counted by its index.
std::vector<std::int64_t> PlacesAfterInserts(const std::vector<int>& Indexes) {
    std::vector<std::int64_t> Places(Indexes.size());
    TPlaceTree Taken(Indexes.size());
    for (std::size_t K = Indexes.size(); K-- > 0;) {
        Places[K] = Taken.FreePlace(Indexes[K]);
        Taken.Take(Places[K]);
    }
    return Places;
}

} // namespace grid
