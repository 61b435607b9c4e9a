#include "grid/model/OwnFont.h"

namespace grid {

void CopyOwnFont(std::unique_ptr<TFont>& Font, int& Lock, TFont* Source, TNotifyEvent OnChange) {
    struct TLocked {
        int& Lock;
        explicit TLocked(int& L) : Lock(L) { ++Lock; }
        ~TLocked() { --Lock; }
    } Locked(Lock);
    if (!Font) {
        Font = std::make_unique<TFont>();
        Font->OnChange = std::move(OnChange);
    }
    Font->Assign(Source);
}

} // namespace grid
