#pragma once
// The optional component that keeps a user interface answering while the
// transport waits: waits on the main thread are cut into slices of
// IdleTimeOut and RunIdleStep runs between them. At most one is in use per
// process; nothing runs while none exists.
#include "mail/MxComponent.h"

namespace mail {

class TMxAntiFreezeBase : public TMxBaseComponent {
public:
    // At design time a second instance raises EMxException; at run time
    // the newest instance is the one in use.
    explicit TMxAntiFreezeBase(TComponent* AOwner = nullptr);
    ~TMxAntiFreezeBase() override;
    AnsiString ClassName() const override { return "TMxAntiFreezeBase"; }

    bool Active = true;
    bool ApplicationHasPriority = true;
    int IdleTimeOut = 250;
    bool OnlyWhenIdle = true;

    // An instance exists, the caller is the main thread and it is Active.
    static bool ShouldProcess();
    // Runs the instance's idle step when ShouldProcess holds and
    // OnlyWhenIdle is off, AIdle or AOverride is set.
    static void ProcessIfDue(bool AIdle, bool AOverride = false);
    // The instance in use, or nullptr.
    static TMxAntiFreezeBase* Instance();

    virtual void RunIdleStep() = 0;
};

} // namespace mail
