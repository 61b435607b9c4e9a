#include "platform/sys/NamedEvent.h"

#include "platform/sys/Futex.h"
#include "platform/sys/KernelNames.h"
#include "platform/sys/SharedSegment.h"

#include <cerrno>
#include <mutex>
#include <new>

using namespace sys_detail;

// No lock: the state is two words changed atomically, and a waiter sleeps on
// the sequence, so nothing is held across a wait that a dying process could
// leave behind.
struct TNamedEvent::Body {
    FutexWord Signaled;
    FutexWord Sequence; // moves on every SetEvent; waiters sleep on it
    std::uint32_t ManualReset;
};

namespace sys_detail {

// One segment per namespace that every SetEvent announces itself on, so that
// a wait on several events has one word to sleep on.
class SignalBoard {
public:
    SignalBoard()
        : FSegment(".signals", SignalKind, sizeof(FutexWord),
                   [](void* Raw) { new (Raw) FutexWord(0); }) {}

    std::uint32_t Sequence() const { return Word().load(); }

    void Announce() {
        Word().fetch_add(1);
        FutexWakeAll(Word());
    }

    // 0 when there may have been an announcement after Seen, ETIMEDOUT or
    // another error number.
    int WaitPast(std::uint32_t Seen, const timespec* Deadline) {
        return FutexWait(Word(), Seen, Deadline);
    }

private:
    static constexpr std::uint32_t SignalKind = 2;

    FutexWord& Word() const { return *static_cast<FutexWord*>(FSegment.Body()); }

    SharedSegment FSegment;
};

} // namespace sys_detail

namespace {

constexpr std::uint32_t EventKind = 1;

// The board of the namespace in use; made anew when the namespace changes.
std::shared_ptr<SignalBoard> Board() {
    static std::mutex lock;
    static std::shared_ptr<SignalBoard> board;
    static AnsiString boardName;
    std::lock_guard guard(lock);
    const AnsiString name = KernelObjectName(".signals");
    if (!board || boardName != name) {
        board = std::make_shared<SignalBoard>();
        boardName = name;
    }
    return board;
}

} // namespace

TNamedEvent::TNamedEvent(const AnsiString& Name, bool ManualReset, bool InitialState)
    : FName(Name),
      FSegment(std::make_unique<SharedSegment>(Name, EventKind, sizeof(Body),
                                               [&](void* Raw) {
                                                   auto* body = new (Raw) Body{};
                                                   body->Signaled = InitialState ? 1 : 0;
                                                   body->ManualReset = ManualReset ? 1 : 0;
                                               })),
      FBoard(Board()) {}

TNamedEvent::~TNamedEvent() = default;

TNamedEvent::Body* TNamedEvent::State() const {
    return static_cast<Body*>(FSegment->Body());
}

bool TNamedEvent::ManualReset() const {
    return State()->ManualReset != 0;
}

void TNamedEvent::SetEvent() {
    Body* body = State();
    // The state first, then the sequence: a waiter that read the sequence
    // before trying the state sees it move and does not sleep.
    body->Signaled.store(1);
    body->Sequence.fetch_add(1);
    FutexWakeAll(body->Sequence);
    FBoard->Announce();
}

void TNamedEvent::ResetEvent() {
    State()->Signaled.store(0);
}

bool TNamedEvent::TryTake() {
    Body* body = State();
    if (body->ManualReset) return body->Signaled.load() != 0;
    // Of all the waiters woken, one takes the signal; the rest sleep again.
    return body->Signaled.exchange(0) != 0;
}

TWaitResult TNamedEvent::WaitFor(int TimeoutMs) {
    const timespec deadline = DeadlineAfter(TimeoutMs < 0 ? 0 : TimeoutMs);
    const timespec* until = TimeoutMs < 0 ? nullptr : &deadline;
    Body* body = State();
    for (;;) {
        // Read the sequence before trying: a SetEvent after the try moves
        // it, so the sleep below cannot miss the signal.
        const std::uint32_t seen = body->Sequence.load();
        if (TryTake()) return TWaitResult::wrSignaled;
        const int rc = FutexWait(body->Sequence, seen, until);
        if (rc == ETIMEDOUT) return TryTake() ? TWaitResult::wrSignaled : TWaitResult::wrTimeout;
        if (rc != 0) return TWaitResult::wrError;
    }
}

int WaitForEvents(TNamedEvent* A, TNamedEvent* B, int TimeoutMs) {
    if (!A && !B) return WaitFailed;
    const timespec deadline = DeadlineAfter(TimeoutMs < 0 ? 0 : TimeoutMs);
    const timespec* until = TimeoutMs < 0 ? nullptr : &deadline;
    SignalBoard& board = *(A ? A : B)->FBoard;
    for (;;) {
        // As in WaitFor: the board's sequence first, then the tries.
        const std::uint32_t seen = board.Sequence();
        if (A && A->TryTake()) return 0;
        if (B && B->TryTake()) return 1;
        const int rc = board.WaitPast(seen, until);
        if (rc == ETIMEDOUT) {
            if (A && A->TryTake()) return 0;
            if (B && B->TryTake()) return 1;
            return WaitTimedOut;
        }
        if (rc != 0) return WaitFailed;
    }
}
