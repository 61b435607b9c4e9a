#include "platform/sys/NamedEvent.h"

#include "platform/sys/KernelNames.h"
#include "platform/sys/SharedSegment.h"

#include <cerrno>
#include <mutex>
#include <pthread.h>

using namespace sys_detail;

struct TNamedEvent::Body {
    pthread_mutex_t Lock;
    pthread_cond_t Changed;
    std::uint32_t Signaled;
    std::uint32_t ManualReset;
};

namespace {

constexpr std::uint32_t EventKind = 1;
constexpr std::uint32_t SignalKind = 2;

// One segment per namespace that every SetEvent announces itself on, so that
// a wait on several events (each with its own lock) has one place to sleep.
struct SignalBody {
    pthread_mutex_t Lock;
    pthread_cond_t Changed;
    std::uint64_t Sequence;
};

class SignalBoard {
public:
    SignalBoard()
        : FSegment(".signals", SignalKind, sizeof(SignalBody), [](void* Raw) {
              auto* body = static_cast<SignalBody*>(Raw);
              InitRobustMutex(&body->Lock, false);
              InitSharedCondition(&body->Changed);
              body->Sequence = 0;
          }) {}

    SignalBody* Body() const { return static_cast<SignalBody*>(FSegment.Body()); }

    std::uint64_t Sequence() {
        LockRobust(&Body()->Lock);
        const auto value = Body()->Sequence;
        pthread_mutex_unlock(&Body()->Lock);
        return value;
    }

    void Announce() {
        LockRobust(&Body()->Lock);
        ++Body()->Sequence;
        pthread_cond_broadcast(&Body()->Changed);
        pthread_mutex_unlock(&Body()->Lock);
    }

    // False when the deadline passed with no announcement after Seen.
    bool WaitPast(std::uint64_t Seen, const timespec* Deadline) {
        LockRobust(&Body()->Lock);
        int rc = 0;
        while (Body()->Sequence == Seen && rc == 0)
            rc = WaitCondition(&Body()->Changed, &Body()->Lock, Deadline);
        const bool moved = Body()->Sequence != Seen;
        pthread_mutex_unlock(&Body()->Lock);
        return moved;
    }

private:
    SharedSegment FSegment;
};

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
      FSegment(std::make_unique<SharedSegment>(Name, EventKind, sizeof(Body), [&](void* Raw) {
          auto* body = static_cast<Body*>(Raw);
          InitRobustMutex(&body->Lock, false);
          InitSharedCondition(&body->Changed);
          body->Signaled = InitialState ? 1 : 0;
          body->ManualReset = ManualReset ? 1 : 0;
      })) {
    Board();
}

TNamedEvent::~TNamedEvent() = default;

TNamedEvent::Body* TNamedEvent::State() const {
    return static_cast<Body*>(FSegment->Body());
}

bool TNamedEvent::ManualReset() const {
    return State()->ManualReset != 0;
}

void TNamedEvent::SetEvent() {
    Body* body = State();
    LockRobust(&body->Lock);
    body->Signaled = 1;
    pthread_cond_broadcast(&body->Changed);
    pthread_mutex_unlock(&body->Lock);
    Board()->Announce();
}

void TNamedEvent::ResetEvent() {
    Body* body = State();
    LockRobust(&body->Lock);
    body->Signaled = 0;
    pthread_mutex_unlock(&body->Lock);
}

bool TNamedEvent::TryTake() {
    Body* body = State();
    LockRobust(&body->Lock);
    const bool taken = body->Signaled != 0;
    if (taken && !body->ManualReset) body->Signaled = 0;
    pthread_mutex_unlock(&body->Lock);
    return taken;
}

TWaitResult TNamedEvent::WaitFor(int TimeoutMs) {
    Body* body = State();
    const timespec deadline = DeadlineAfter(TimeoutMs < 0 ? 0 : TimeoutMs);
    const timespec* until = TimeoutMs < 0 ? nullptr : &deadline;
    if (const int rc = LockRobust(&body->Lock); rc != 0 && rc != EOWNERDEAD)
        return TWaitResult::wrError;
    int rc = 0;
    while (!body->Signaled && rc == 0)
        rc = WaitCondition(&body->Changed, &body->Lock, until);
    const bool taken = body->Signaled != 0;
    if (taken && !body->ManualReset) body->Signaled = 0;
    pthread_mutex_unlock(&body->Lock);
    if (taken) return TWaitResult::wrSignaled;
    return rc == ETIMEDOUT ? TWaitResult::wrTimeout : TWaitResult::wrError;
}

int WaitForEvents(TNamedEvent* A, TNamedEvent* B, int TimeoutMs) {
    if (!A && !B) return WaitFailed;
    const timespec deadline = DeadlineAfter(TimeoutMs < 0 ? 0 : TimeoutMs);
    const timespec* until = TimeoutMs < 0 ? nullptr : &deadline;
    auto board = Board();
    for (;;) {
        // Read the sequence first: a SetEvent after this moves it, so the
        // sleep below cannot miss a signal that the tries did not see.
        const auto seen = board->Sequence();
        if (A && A->TryTake()) return 0;
        if (B && B->TryTake()) return 1;
        if (!board->WaitPast(seen, until)) return WaitTimedOut;
    }
}
