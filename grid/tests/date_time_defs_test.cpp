#include "grid/foundation/DateTimeDefs.h"
#include "grid/tests/StubDateTimeDef.h"

#include <gtest/gtest.h>

using namespace grid;

namespace {

class RecordingDateTimeLink : public TgxDateTimeLink {
public:
    explicit RecordingDateTimeLink(std::vector<RecordingDateTimeLink*>* Order) : FOrder(Order) {}
    void DateTimeDefDeleted(TgxDateTimeDefComponent* Component) override {
        FOrder->push_back(this);
        // As a grid does: drop every reference, and here another's too.
        Component->RemoveLink(this, true);
        if (Also) Component->RemoveLink(Also, true);
    }
    RecordingDateTimeLink* Also = nullptr;

private:
    std::vector<RecordingDateTimeLink*>* FOrder;
};

TEST(DateTimeDefs, LinksAreCountedPerReference) {
    std::vector<RecordingDateTimeLink*> Order;
    StubDateTimeDef Def(nullptr);
    RecordingDateTimeLink Link(&Order), Stranger(&Order);
    for (int I = 0; I < 3; ++I)
        Link.Add(&Def);
    Link.Remove(&Def);
    Link.Remove(&Def);
    EXPECT_EQ(Def.LinkCount(&Link), 1);
    Link.Add(&Def);
    Def.RemoveLink(&Link, true);
    EXPECT_EQ(Def.LinkCount(&Link), 0);
    EXPECT_EQ(Def.LinkEntries(), 0);

    Stranger.Remove(&Def); // never added
    Link.Add(nullptr);
    Link.Remove(nullptr);
    EXPECT_EQ(Def.LinkEntries(), 0);
}

TEST(DateTimeDefs, DestructionTellsLinksInOrderWhileTheyLeave) {
    std::vector<RecordingDateTimeLink*> Order;
    RecordingDateTimeLink First(&Order), Second(&Order), Third(&Order);
    {
        auto Def = std::make_unique<StubDateTimeDef>(nullptr);
        Second.Add(Def.get());
        First.Add(Def.get());
        First.Add(Def.get());
        Third.Add(Def.get());
        Second.Also = &First; // the first one told takes another with it
    }
    EXPECT_EQ(Order, (std::vector<RecordingDateTimeLink*>{&Second, &Third}));
}

} // namespace
