#include "platform/rtl/Persistent.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

namespace {

class TShape : public TPersistent {
public:
    AnsiString ClassName() const override { return "TShape"; }
    int Sides = 0;
};

// Knows how to copy itself into a TShape, but not how to take anything in.
class TPolygon : public TPersistent {
public:
    AnsiString ClassName() const override { return "TPolygon"; }
    int Corners = 0;

protected:
    void AssignTo(TPersistent* Dest) override {
        if (auto* Shape = dynamic_cast<TShape*>(Dest)) {
            Shape->Sides = Corners;
            return;
        }
        TPersistent::AssignTo(Dest);
    }
};

class TNode : public TPersistent {
public:
    explicit TNode(AnsiString Name, TPersistent* Owner = nullptr)
        : FName(std::move(Name)), FOwner(Owner) {}
    AnsiString ClassName() const override { return FName; }
    TPersistent* GetOwner() const override { return FOwner; }

private:
    AnsiString FName;
    TPersistent* FOwner;
};

AnsiString AssignMessage(TPersistent& Dest, TPersistent* Source) {
    try {
        Dest.Assign(Source);
    } catch (const EConvertError& E) {
        return E.Message;
    }
    return "(no error)";
}

TEST(Persistent, AssignWithoutAKnownWayNamesSourceAndDestination) {
    TShape Shape;
    TPolygon Polygon;
    TPersistent Plain;
    struct Case {
        TPersistent* Dest;
        TPersistent* Source;
        const char* Message;
    };
    const Case Cases[] = {
        {&Shape, nullptr, "Cannot assign a nil to a TShape"},
        {&Shape, &Plain, "Cannot assign a TPersistent to a TShape"},
        {&Polygon, &Shape, "Cannot assign a TShape to a TPolygon"},
        {&Plain, &Polygon, "Cannot assign a TPolygon to a TPersistent"},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(AssignMessage(*C.Dest, C.Source), C.Message);
}

TEST(Persistent, AssignAsksTheSourceToCopyItself) {
    TShape Shape;
    TPolygon Polygon;
    Polygon.Corners = 5;
    Shape.Assign(&Polygon);
    EXPECT_EQ(Shape.Sides, 5);
}

TEST(Persistent, NamePathJoinsTheOwnersPaths) {
    TNode Root("Root");
    TNode Middle("Middle", &Root);
    TNode Leaf("Leaf", &Middle);
    EXPECT_EQ(Leaf.GetNamePath(), "Root.Middle.Leaf");
    EXPECT_EQ(Root.GetNamePath(), "Root");
    TNode Unnamed("", nullptr);
    TNode UnderUnnamed("Child", &Unnamed);
    EXPECT_EQ(UnderUnnamed.GetNamePath(), "Child");
}

} // namespace
