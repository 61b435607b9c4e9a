#include "mail/MxAntiFreeze.h"

#include "mail/MxExceptions.h"
#include "mail/MxThreads.h"

#include <atomic>

namespace mail {

namespace {
std::atomic<TMxAntiFreezeBase*> gInstance{nullptr};
} // namespace

TMxAntiFreezeBase::TMxAntiFreezeBase(TComponent* AOwner) : TMxBaseComponent(AOwner) {
    const bool designing = AOwner && AOwner->ComponentState().Contains(csDesigning);
    if (designing) {
        if (gInstance.load() != nullptr)
            throw EMxException("Only one TMxAntiFreeze can exist per application.");
        return;
    }
    gInstance.store(this);
}

TMxAntiFreezeBase::~TMxAntiFreezeBase() {
    TMxAntiFreezeBase* self = this;
    gInstance.compare_exchange_strong(self, nullptr);
}

TMxAntiFreezeBase* TMxAntiFreezeBase::Instance() {
    return gInstance.load();
}

bool TMxAntiFreezeBase::ShouldProcess() {
    TMxAntiFreezeBase* instance = gInstance.load();
    return instance && InMainThread() && instance->Active;
}

void TMxAntiFreezeBase::ProcessIfDue(bool AIdle, bool AOverride) {
    if (!ShouldProcess()) return;
    TMxAntiFreezeBase* instance = gInstance.load();
    if (!instance->OnlyWhenIdle || AIdle || AOverride) instance->RunIdleStep();
}

} // namespace mail
