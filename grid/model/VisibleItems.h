#pragma once
// The display positions of the visible columns (or rows) in ascending order
// at list positions 1 .. Count. While nothing is hidden the list holds no
// items at all and stands for the identity 1 .. size; it becomes active (and
// holds the positions explicitly) with the first hidden position.
#include "grid/foundation/IntLists.h"

#include <vector>

namespace grid {

// Final and read inline: the scroll bars walk these lists for each row
// added, and a list with nothing hidden answers K without a call.
class TgxVisibleItems final : public TgxSortIntList {
public:
    void Assign(const TgxSortIntList& Source) override;
    // The K-th visible display position; K itself while not active.
    std::int32_t GetItem(int K) const override {
        return FActive ? TgxSortIntList::GetItem(K) : K;
    }
    // Inserts in order while active; nothing while not active.
    void Add(std::int32_t P) override;
    // The list position of display position P, or where it would go. On a
    // list that is not active every P up to the size (0 and below included)
    // is found at P; a larger one answers size + 1.
    int Locate(std::int32_t P, bool& Found) const override;
    // Materialises the list first when it is not active.
    void Remove(std::int32_t P) override;

    // Room for N items; appends First, First + 1, ... up to N items and
    // turns the list active.
    void CheckSize(int N, int First);
    // The visible count after the grid's count changed.
    void SetSize(int N, int First);
    // Holds exactly these ascending positions (the list turns active).
    void SetItems(const std::vector<int>& Items);
    // The list after display position From moved to To.
    void MoveItem(int From, int To);

    int Size() const { return FSize; }
    bool Active() const { return FActive; }
    // The number of visible positions (size while not active).
    int VisibleCount() const { return FActive ? Count() : FSize; }

private:
    int FSize = 0;
    bool FActive = false;
};

} // namespace grid
