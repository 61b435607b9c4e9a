#pragma once
// The base components of the mail library. TMxComponent reports status and
// work progress to its owner's handlers and keeps the process-wide socket
// stack alive exactly while at least one mail component exists.
#include "platform/classes/Component.h"
#include "platform/rtl/AnsiString.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace mail {

class TMxStack; // the socket stack

class TMxBaseComponent : public TComponent {
public:
    explicit TMxBaseComponent(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
    AnsiString ClassName() const override { return "TMxBaseComponent"; }
};

enum class TWorkMode : std::uint8_t { workRead = 0, workWrite = 1 };

enum class TMxStatus : std::uint8_t {
    stResolving = 0,
    stConnecting = 1,
    stConnected = 2,
    stDisconnecting = 3,
    stDisconnected = 4,
    stStatusText = 5,
    stStatus6 = 6,
    stStatus7 = 7,
    stStatus8 = 8,
};

using TMxStatusEvent =
    std::function<void(TObject* ASender, TMxStatus AStatus, const AnsiString& AStatusText)>;
using TWorkEvent =
    std::function<void(TObject* Sender, TWorkMode AWorkMode, std::int32_t AWorkCount)>;
using TWorkBeginEvent =
    std::function<void(TObject* Sender, TWorkMode AWorkMode, std::int32_t AWorkCountMax)>;
using TWorkEndEvent = std::function<void(TObject* Sender, TWorkMode AWorkMode)>;

// Makes the socket stack; with none set (or nullptr) the POSIX stack is made.
using TMxStackClass = std::function<std::shared_ptr<TMxStack>()>;
void SetStackClass(TMxStackClass AStackClass);
// The stack while a mail component exists, else nullptr.
TMxStack* GStack();
// The number of living mail components.
int MxComponentCount();

class TMxComponent : public TMxBaseComponent {
public:
    explicit TMxComponent(TComponent* AOwner = nullptr);
    ~TMxComponent() override;
    AnsiString ClassName() const override { return "TMxComponent"; }

    // The status's text filled with AArgument (the texts with "%s" use it,
    // the others ignore it), passed to OnStatus when assigned.
    void ReportStatus(TMxStatus AStatus, const AnsiString& AArgument = AnsiString());

    virtual void StartWork(TWorkMode AWorkMode, std::int32_t ASize = 0);
    virtual void AdvanceWork(TWorkMode AWorkMode, std::int32_t ACount);
    virtual void FinishWork(TWorkMode AWorkMode);

    static AnsiString GetLocalHostName();

    TMxStatusEvent OnStatus;
    TWorkEvent OnWork;
    TWorkBeginEvent OnWorkBegin;
    TWorkEndEvent OnWorkEnd;

private:
    struct TWorkInfo {
        std::int32_t Level = 0;
        std::int32_t Max = 0;
        std::int32_t Count = 0;
    };
    std::array<TWorkInfo, 2> FWorkInfos{};
};

// The text of a status, before its argument is filled in.
AnsiString StatusFormat(TMxStatus AStatus);

} // namespace mail
