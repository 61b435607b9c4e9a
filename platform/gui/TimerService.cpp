#include "platform/gui/TimerService.h"

#include "platform/gui/QtApp.h"
#include "platform/rtl/Clock.h"

#include <QPointer>
#include <QTimer>

namespace {

// Qt's timers: one QTimer per id, on the event loop of the GUI thread.
class QtTimerService : public ITimerService {
public:
    int StartTimer(unsigned Interval, TTickProc Tick) override {
        EnsureQtApplication();
        const int Id = FNextId++;
        auto* Timer = new QTimer();
        Timer->setInterval(static_cast<int>(Interval));
        Timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(Timer, &QTimer::timeout, Timer, [Tick = std::move(Tick)] { Tick(); });
        FTimers[Id] = Timer;
        Timer->start();
        return Id;
    }

    void StopTimer(int Id) override {
        auto It = FTimers.find(Id);
        if (It == FTimers.end()) return;
        QPointer<QTimer> Timer = It->second;
        FTimers.erase(It);
        if (Timer) {
            Timer->stop();
            // A timer may be stopped from its own tick: free it later.
            Timer->deleteLater();
        }
    }

private:
    std::map<int, QPointer<QTimer>> FTimers;
    int FNextId = 1;
};

ITimerService* CurrentService() {
    static QtTimerService Real;
    return &Real;
}

ITimerService*& Installed() {
    static ITimerService* Service = nullptr;
    return Service;
}

} // namespace

ITimerService& TimerService() {
    ITimerService* Service = Installed();
    return Service ? *Service : *CurrentService();
}

ScopedTimerService::ScopedTimerService(ITimerService& Service) : FPrevious(Installed()) {
    Installed() = &Service;
}

ScopedTimerService::~ScopedTimerService() {
    Installed() = FPrevious;
}

FakeTimerService::FakeTimerService(ManualClock* Clock) : FClock(Clock) {}

int FakeTimerService::StartTimer(unsigned Interval, TTickProc Tick) {
    const int Id = FNextId++;
    // A zero interval would fire without end at one moment; the real
    // timers treat it as the shortest time, and so does this one.
    const unsigned Step = Interval == 0 ? 1 : Interval;
    FTimers[Id] = TFakeTimer{Step, FNow + Step, std::move(Tick)};
    return Id;
}

void FakeTimerService::StopTimer(int Id) {
    FTimers.erase(Id);
}

std::int64_t FakeTimerService::NextTickIn() const {
    std::int64_t Best = -1;
    for (const auto& [Id, Timer] : FTimers)
        if (Best < 0 || Timer.Due - FNow < Best) Best = Timer.Due - FNow;
    return Best;
}

void FakeTimerService::MoveTo(std::int64_t Moment) {
    if (Moment <= FNow) return;
    if (FClock) FClock->Advance(Moment - FNow);
    FNow = Moment;
}

void FakeTimerService::Advance(std::int64_t Milliseconds) {
    const std::int64_t Target = FNow + (Milliseconds > 0 ? Milliseconds : 0);
    for (;;) {
        // The earliest due timer; ids grow with starting order, so the map
        // order breaks ties between timers due at once.
        int DueId = 0;
        std::int64_t DueAt = 0;
        for (const auto& [Id, Timer] : FTimers)
            if (Timer.Due <= Target && (DueId == 0 || Timer.Due < DueAt)) {
                DueId = Id;
                DueAt = Timer.Due;
            }
        if (DueId == 0) break;
        MoveTo(DueAt);
        TFakeTimer& Timer = FTimers[DueId];
        Timer.Due = FNow + Timer.Interval;
        // Copy the handler: the tick may stop its own timer.
        TTickProc Tick = Timer.Tick;
        Tick();
    }
    MoveTo(Target);
}
