#pragma once
// An anti-freeze that counts the idle steps a blocking call gives it, and
// lets a test act on a given step.
#include "mail/MxAntiFreeze.h"

#include <functional>

namespace mailtest {

class CountingAntiFreeze : public mail::TMxAntiFreezeBase {
public:
    using mail::TMxAntiFreezeBase::TMxAntiFreezeBase;
    void RunIdleStep() override {
        ++Steps;
        if (OnStep) OnStep(Steps);
    }
    int Steps = 0;
    std::function<void(int)> OnStep;
};

} // namespace mailtest
