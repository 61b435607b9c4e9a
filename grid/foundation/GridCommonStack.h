#pragma once
// A last-in, first-out stack of pointers over the framework's list; the
// list is made at the first use.
#include "platform/rtl/Lists.h"

#include <memory>

namespace grid {

class TgxStack : public TObject {
public:
    AnsiString ClassName() const override { return "TgxStack"; }

    void Push(void* Item);
    // The last pointer pushed, taken off / left on the stack. On an empty
    // stack both raise the list's EListError.
    void* Pop();
    void* CurValue();

private:
    TList& List();
    std::unique_ptr<TList> FList;
};

} // namespace grid
