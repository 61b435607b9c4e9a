#include "formstore/ProgressList.h"

#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"

#include <gtest/gtest.h>

#include <vector>

using namespace formstore;

namespace {

// A progress bar that keeps its own counters under other names.
class TStepBar : public TProgressBar {
public:
    using TProgressBar::TProgressBar;
    std::vector<AnsiString> Log;
};

TProgressControlClass StepBarClass() {
    return ProgressControlClass<TStepBar>([](TStepBar& Bar, const AnsiString& Name, int Value) {
        if (Name != "Total" && Name != "Floor" && Name != "Done") return false;
        Bar.Log.push_back(Name + "=" + std::to_string(Value));
        return true;
    });
}

class ProgressList : public ::testing::Test {
protected:
    void SetUp() override { Application->Initialize(); }
    void TearDown() override { UnRegisterProgressControl(StepBarClass()); }
};

TEST_F(ProgressList, TheProgressBarIsRegisteredFromTheStart) {
    TProgressBar Bar(nullptr);
    EXPECT_TRUE(SupportsProgressControl(&Bar));
    EXPECT_TRUE(SetProgressMax(&Bar, 500));
    EXPECT_TRUE(SetProgressMin(&Bar, 100));
    EXPECT_TRUE(SetProgressValue(&Bar, 250));
    EXPECT_EQ(Bar.Max(), 500);
    EXPECT_EQ(Bar.Min(), 100);
    EXPECT_EQ(Bar.Position(), 250);

    TWinControl Other(nullptr);
    EXPECT_FALSE(SupportsProgressControl(&Other));
    EXPECT_FALSE(SetProgressValue(&Other, 1));
    EXPECT_FALSE(SetProgressValue(nullptr, 1));
}

TEST_F(ProgressList, ALaterRegistrationOfADerivedBarIsFoundFirst) {
    RegisterProgressControl(StepBarClass(), "Total", "Floor", "Done");
    TStepBar Steps(nullptr);
    TProgressBar Plain(nullptr);
    EXPECT_TRUE(SetProgressMax(&Steps, 40));
    EXPECT_TRUE(SetProgressValue(&Steps, 7));
    EXPECT_EQ(Steps.Log, (std::vector<AnsiString>{"Total=40", "Done=7"}));
    EXPECT_EQ(Steps.Position(), 0);
    EXPECT_TRUE(SetProgressValue(&Plain, 7));
    EXPECT_EQ(Plain.Position(), 7);

    // Unregistering the derived class leaves the progress bar's own entry.
    UnRegisterProgressControl(StepBarClass());
    EXPECT_TRUE(SetProgressValue(&Steps, 9));
    EXPECT_EQ(Steps.Position(), 9);
    EXPECT_EQ(Steps.Log.size(), 2u);
}

TEST_F(ProgressList, APropertyTheClassLacksIsNotSet) {
    RegisterProgressControl(StepBarClass(), "Total", "Lowest", "Done");
    TStepBar Steps(nullptr);
    EXPECT_FALSE(SetProgressMin(&Steps, 3));
    EXPECT_TRUE(Steps.Log.empty());
}

} // namespace
