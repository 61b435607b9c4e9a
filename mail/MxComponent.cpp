#include "mail/MxComponent.h"

#include "mail/MxStackPosix.h"

#include <mutex>

namespace mail {

namespace {

// One lock for the count and the stack, so components may come and go on
// any thread without two of them making or freeing the stack at once.
struct StackState {
    std::mutex Lock;
    int Count = 0;
    TMxStackClass StackClass;
    std::shared_ptr<TMxStack> Stack;
};

StackState& State() {
    static StackState state;
    return state;
}

} // namespace

void SetStackClass(TMxStackClass AStackClass) {
    std::lock_guard guard(State().Lock);
    State().StackClass = std::move(AStackClass);
}

TMxStack* GStack() {
    std::lock_guard guard(State().Lock);
    return State().Stack.get();
}

int MxComponentCount() {
    std::lock_guard guard(State().Lock);
    return State().Count;
}

TMxComponent::TMxComponent(TComponent* AOwner) : TMxBaseComponent(AOwner) {
    StackState& state = State();
    std::lock_guard guard(state.Lock);
    // Without a class set, the POSIX stack serves.
    if (state.Count == 0) state.Stack = state.StackClass ? state.StackClass() : CreateStackPosix();
    ++state.Count;
}

TMxComponent::~TMxComponent() {
    StackState& state = State();
    std::lock_guard guard(state.Lock);
    if (--state.Count == 0) state.Stack.reset();
}

AnsiString StatusFormat(TMxStatus AStatus) {
    switch (AStatus) {
    case TMxStatus::stResolving:
        return "Resolving hostname %s.";
    case TMxStatus::stConnecting:
        return "Connecting to %s.";
    case TMxStatus::stConnected:
        return "Connected.";
    case TMxStatus::stDisconnecting:
        return "Disconnecting.";
    case TMxStatus::stDisconnected:
        return "Disconnected.";
    default:
        return "%s";
    }
}

void TMxComponent::ReportStatus(TMxStatus AStatus, const AnsiString& AArgument) {
    if (!OnStatus) return;
    AnsiString text = StatusFormat(AStatus);
    const std::size_t at = text.find("%s");
    if (at != AnsiString::npos) text.replace(at, 2, AArgument);
    OnStatus(this, AStatus, text);
}

void TMxComponent::StartWork(TWorkMode AWorkMode, std::int32_t ASize) {
    TWorkInfo& info = FWorkInfos[static_cast<int>(AWorkMode)];
    if (++info.Level == 1) {
        info.Max = ASize;
        info.Count = 0;
        if (OnWorkBegin) OnWorkBegin(this, AWorkMode, ASize);
    }
}

void TMxComponent::AdvanceWork(TWorkMode AWorkMode, std::int32_t ACount) {
    TWorkInfo& info = FWorkInfos[static_cast<int>(AWorkMode)];
    if (info.Level > 0) {
        info.Count += ACount;
        if (OnWork) OnWork(this, AWorkMode, info.Count);
    }
}

void TMxComponent::FinishWork(TWorkMode AWorkMode) {
    TWorkInfo& info = FWorkInfos[static_cast<int>(AWorkMode)];
    if (info.Level == 1 && OnWorkEnd) OnWorkEnd(this, AWorkMode);
    // An unbalanced finish must not leave the level below 0, or the next
    // StartWork would never announce its work.
    if (info.Level > 0) --info.Level;
}

} // namespace mail
