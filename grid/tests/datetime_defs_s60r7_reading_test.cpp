// The counted links between date-time definitions and their users.
#include "StubDateTimeDef.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace grid;

namespace {

// A link that records each notice and may act on it.
class NoticeLink : public TgxDateTimeLink {
public:
    NoticeLink(std::vector<const NoticeLink*>& Log) : FLog(Log) {}
    void DateTimeDefDeleted(TgxDateTimeDefComponent* Component) override {
        FLog.push_back(this);
        if (OnNotice) OnNotice(Component);
    }
    std::function<void(TgxDateTimeDefComponent*)> OnNotice;

private:
    std::vector<const NoticeLink*>& FLog;
};

TEST(DateTimeDefsReading, LinksCountTheirReferences) {
    StubDateTimeDef Def(nullptr);
    std::vector<const NoticeLink*> Log;
    NoticeLink A(Log), B(Log);
    struct Step {
        std::function<void()> Do;
        int CountA, CountB, Entries;
    };
    const Step Steps[] = {
        {[&] { A.Add(&Def); }, 1, 0, 1},
        {[&] { A.Add(&Def); }, 2, 0, 1},
        {[&] { A.Add(&Def); }, 3, 0, 1},
        {[&] { A.Remove(&Def); }, 2, 0, 1},
        {[&] { A.Remove(&Def); }, 1, 0, 1},
        {[&] { B.Remove(&Def); }, 1, 0, 1}, // never added
        {[&] { A.Add(nullptr); }, 1, 0, 1},
        {[&] { A.Remove(nullptr); }, 1, 0, 1},
        {[&] { B.Add(&Def); }, 1, 1, 2},
        {[&] { B.Add(&Def); }, 1, 2, 2},
        {[&] { Def.RemoveLink(&B, true); }, 1, 0, 1},
        {[&] { Def.RemoveLink(&B, true); }, 1, 0, 1},
        {[&] { A.Remove(&Def); }, 0, 0, 0},
        {[&] { A.Remove(&Def); }, 0, 0, 0},
    };
    for (const Step& S : Steps) {
        S.Do();
        const int Line = static_cast<int>(&S - Steps);
        EXPECT_EQ(Def.LinkCount(&A), S.CountA) << Line;
        EXPECT_EQ(Def.LinkCount(&B), S.CountB) << Line;
        EXPECT_EQ(Def.LinkEntries(), S.Entries) << Line;
    }
    EXPECT_TRUE(Log.empty());
}

TEST(DateTimeDefsReading, DestroyingADefinitionTellsEachLinkOnceInOrder) {
    std::vector<const NoticeLink*> Log;
    NoticeLink A(Log), B(Log), C(Log);
    auto Def = std::make_unique<StubDateTimeDef>(nullptr);
    B.Add(Def.get());
    A.Add(Def.get());
    B.Add(Def.get());
    C.Add(Def.get());
    C.Remove(Def.get()); // gone again before the end
    // A grid told of the loss drops every reference it had.
    for (NoticeLink* L : {&A, &B})
        L->OnNotice = [L](TgxDateTimeDefComponent* D) { D->RemoveLink(L, true); };
    Def.reset();
    EXPECT_EQ(Log, (std::vector<const NoticeLink*>{&B, &A}));
    // The links outlive the definition and must not reach back to it.
}

TEST(DateTimeDefsReading, ALinkGoneDuringTheNoticesIsNotTold) {
    std::vector<const NoticeLink*> Log;
    NoticeLink A(Log);
    auto B = std::make_unique<NoticeLink>(Log);
    auto Def = std::make_unique<StubDateTimeDef>(nullptr);
    A.Add(Def.get());
    B->Add(Def.get());
    A.OnNotice = [&B](TgxDateTimeDefComponent*) { B.reset(); };
    Def.reset();
    EXPECT_EQ(Log, (std::vector<const NoticeLink*>{&A}));
}

TEST(DateTimeDefsReading, ALinkDestroyedFirstIsNeverTold) {
    std::vector<const NoticeLink*> Log;
    StubDateTimeDef Def(nullptr);
    {
        NoticeLink A(Log);
        A.Add(&Def);
        A.Add(&Def);
    }
    EXPECT_EQ(Def.LinkEntries(), 0);
    Def.NotifyLinks();
    EXPECT_TRUE(Log.empty());
}

} // namespace
