#include "grid/foundation/GridCommonStack.h"

namespace grid {

TList& TgxStack::List() {
    if (!FList) FList = std::make_unique<TList>();
    return *FList;
}

void TgxStack::Push(void* Item) {
    List().Add(Item);
}

void* TgxStack::Pop() {
    TList& L = List();
    void* Item = L.Get(L.Count() - 1);
    L.Delete(L.Count() - 1);
    return Item;
}

void* TgxStack::CurValue() {
    TList& L = List();
    return L.Get(L.Count() - 1);
}

} // namespace grid
