#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Lists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

int Values[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

void* P(int I) {
    return &Values[I];
}

// The list's items as the numbers they point at (-1 for nullptr).
std::vector<int> Items(const TList& List) {
    std::vector<int> Result;
    for (int I = 0; I < List.Count(); ++I) {
        auto* Item = static_cast<int*>(List.Get(I));
        Result.push_back(Item ? *Item : -1);
    }
    return Result;
}

TList* Filled(TList& List, std::initializer_list<int> Numbers) {
    for (int N : Numbers)
        List.Add(N < 0 ? nullptr : P(N));
    return &List;
}

TEST(TList, EditingOperationsKeepTheOrder) {
    TList List;
    Filled(List, {1, 2, 3});
    List.Insert(0, P(0));
    List.Insert(4, P(4));
    EXPECT_EQ(Items(List), (std::vector<int>{0, 1, 2, 3, 4}));

    List.Move(0, 4);
    EXPECT_EQ(Items(List), (std::vector<int>{1, 2, 3, 4, 0}));
    List.Move(3, 1);
    EXPECT_EQ(Items(List), (std::vector<int>{1, 4, 2, 3, 0}));
    List.Exchange(0, 4);
    EXPECT_EQ(Items(List), (std::vector<int>{0, 4, 2, 3, 1}));

    EXPECT_EQ(List.Remove(P(2)), 2);
    EXPECT_EQ(List.Remove(P(9)), -1);
    EXPECT_EQ(List.Extract(P(3)), P(3));
    EXPECT_EQ(List.Extract(P(9)), nullptr);
    List.Delete(0);
    EXPECT_EQ(Items(List), (std::vector<int>{4, 1}));
    EXPECT_EQ(List.First(), P(4));
    EXPECT_EQ(List.Last(), P(1));
    EXPECT_EQ(List.IndexOf(P(1)), 1);

    List.Put(0, nullptr);
    List.Add(nullptr);
    List.Add(P(7));
    List.Pack();
    EXPECT_EQ(Items(List), (std::vector<int>{1, 7}));
}

TEST(TList, RemoveTakesTheFirstOccurrenceOnly) {
    TList List;
    Filled(List, {5, 6, 5});
    EXPECT_EQ(List.Remove(P(5)), 0);
    EXPECT_EQ(Items(List), (std::vector<int>{6, 5}));
}

TEST(TList, BadIndexesRaiseAndLeaveTheListAlone) {
    struct Case {
        const char* Name;
        std::function<void(TList&)> Op;
        const char* Message;
    };
    const std::vector<Case> Cases = {
        {"Get past end", [](TList& L) { L.Get(3); }, "List index out of bounds (3)"},
        {"Get negative", [](TList& L) { L.Get(-1); }, "List index out of bounds (-1)"},
        {"Put past end", [](TList& L) { L.Put(3, nullptr); }, "List index out of bounds (3)"},
        {"Delete past end", [](TList& L) { L.Delete(3); }, "List index out of bounds (3)"},
        {"Insert beyond count", [](TList& L) { L.Insert(4, nullptr); },
         "List index out of bounds (4)"},
        {"Exchange second bad", [](TList& L) { L.Exchange(0, 5); }, "List index out of bounds (5)"},
        {"Move to bad target", [](TList& L) { L.Move(0, 3); }, "List index out of bounds (3)"},
        {"Move from bad source", [](TList& L) { L.Move(7, 0); }, "List index out of bounds (7)"},
        {"Capacity below count", [](TList& L) { L.SetCapacity(2); },
         "List capacity out of bounds (2)"},
        {"Negative capacity", [](TList& L) { L.SetCapacity(-1); },
         "List capacity out of bounds (-1)"},
        {"Negative count", [](TList& L) { L.SetCount(-4); }, "List count out of bounds (-4)"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TList List;
        Filled(List, {0, 1, 2});
        try {
            C.Op(List);
            ADD_FAILURE() << "no exception";
        } catch (const EListError& E) {
            EXPECT_EQ(E.Message, C.Message);
        }
        EXPECT_EQ(Items(List), (std::vector<int>{0, 1, 2}));
    }

    TList Empty;
    EXPECT_THROW(Empty.First(), EListError);
    EXPECT_THROW(Empty.Last(), EListError);
}

TEST(TList, CapacityGrowsInTheFrameworkSteps) {
    TList List;
    std::vector<int> Steps;
    for (int I = 0; I < 8; ++I) {
        List.SetCount(List.Capacity());
        Steps.push_back(List.Expand()->Capacity());
    }
    EXPECT_EQ(Steps, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95}));

    List.SetCount(2);
    List.Put(1, P(1));
    List.SetCount(4);
    EXPECT_EQ(Items(List), (std::vector<int>{-1, 1, -1, -1}));
    EXPECT_EQ(List.Capacity(), 95);
    List.Clear();
    EXPECT_EQ(List.Count(), 0);
    EXPECT_EQ(List.Capacity(), 0);
}

TEST(TList, SortOrdersByTheCompareFunction) {
    TList List;
    Filled(List, {5, 3, 9, 1, 3, 0, 8});
    List.Sort([](void* A, void* B) { return *static_cast<int*>(A) - *static_cast<int*>(B); });
    EXPECT_EQ(Items(List), (std::vector<int>{0, 1, 3, 3, 5, 8, 9}));
}

TEST(TList, SortWithAnInconsistentCompareStaysInsideTheList) {
    // A compare that contradicts itself must not make the sort read or write
    // outside the items (the sanitizer watches); the items stay the same set.
    for (int Answer : {-1, 1}) {
        TList List;
        Filled(List, {4, 2, 7, 1, 9, 0, 3, 8, 6, 5});
        List.Sort([Answer](void*, void*) { return Answer; });
        auto Sorted = Items(List);
        std::sort(Sorted.begin(), Sorted.end());
        EXPECT_EQ(Sorted, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    }
}

} // namespace
