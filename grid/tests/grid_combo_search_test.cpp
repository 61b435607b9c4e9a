// Finding a list row from typed text: sorted lists by binary search,
// unsorted ones in order, the next match, type-ahead, and filling the
// cell from the row found.
#include "DropDownFixture.h"

#include "platform/rtl/Clock.h"

#include <vector>

using namespace grid;

namespace {

class ComboSearch : public DropDownFixture {
protected:
    // The grid's own list, filled with Items.
    TgxComboGrid* Fill(std::initializer_list<const char*> Items, bool Sorted) {
        TgxComboGrid* List = Grid->GetCombo()->GetGrid();
        List->SetStoreData(true);
        List->SetGridRowCount(static_cast<int>(Items.size()));
        int Row = 1;
        for (const char* Item : Items)
            List->SetCellValue(1, Row++, Variant(AnsiString(Item)));
        List->SetValueColSorted(Sorted);
        return List;
    }
};

} // namespace

TEST_F(ComboSearch, ASortedListIsSearchedByHalves) {
    Fill({"ab", "abc", "abd"}, true);
    struct Case {
        const char* Text;
        bool Whole;
        int Row;
        bool Found;
    };
    for (const Case C :
         {Case{"ab", true, 1, true}, Case{"abx", false, 3, false}, Case{"", true, 1, false},
          Case{"", false, 1, false}, Case{"abd", true, 3, true}, Case{"AB", true, 1, true},
          Case{"a", false, 1, true}, Case{"zz", false, 3, false}, Case{"0", false, 1, false},
          Case{"abcd", true, 2, false}}) {
        bool Found = true;
        EXPECT_EQ(Grid->FindComboRow(C.Text, C.Whole, Found), C.Row) << C.Text;
        EXPECT_EQ(Found, C.Found) << C.Text;
    }
}

TEST_F(ComboSearch, ASortedSearchLooksAtFewRows) {
    Fill({"ab", "abc", "abd"}, true);
    std::vector<int> Asked;
    Grid->GetCombo()->SetCompareType(ctOwn);
    Grid->OnComboLCompareValue = [&](TObject*, const AnsiString& A, const AnsiString& B, int Len,
                                     int& Result) {
        Asked.push_back(A == "ab" ? 1 : A == "abc" ? 2 : 3);
        Result = A.substr(0, Len).compare(B.substr(0, Len));
        Result = Result < 0 ? -1 : Result > 0;
    };
    bool Found = false;
    EXPECT_EQ(Grid->FindComboRow("ab", true, Found), 1);
    EXPECT_EQ(Asked, (std::vector<int>{2, 1}));
    Asked.clear();
    EXPECT_EQ(Grid->FindComboRow("abx", false, Found), 3);
    EXPECT_FALSE(Found);
    EXPECT_EQ(Asked, (std::vector<int>{2, 3}));

    // Without handlers every text compares equal.
    Grid->OnComboLCompareValue = nullptr;
    EXPECT_EQ(Grid->CompOwn("x", "y", 1), 0);
    EXPECT_TRUE(Grid->ComboValueEqual("xy", "ab"));
    EXPECT_FALSE(Grid->ComboValueEqual("xyz", "ab"));
}

TEST_F(ComboSearch, AnUnsortedListTakesTheFirstRowStartingWithTheText) {
    Fill({"New York", "Boston", "newark", "Bonn", "Bo"}, false);
    Grid->SetComboRow(1);
    struct Case {
        const char* Text;
        TgxComboCompareType Compare;
        int Row;
        bool Found;
    };
    for (const Case C :
         {Case{"ne", ctCaseInsensitive, 1, true}, Case{"ne", ctCaseSensitive, 3, true},
          Case{"bon", ctCaseInsensitive, 4, true}, Case{"bos", ctCaseInsensitive, 2, true},
          Case{"Bonnx", ctCaseInsensitive, 4, true}, Case{"x", ctCaseInsensitive, 1, false},
          Case{"", ctCaseInsensitive, 1, false}}) {
        Grid->GetCombo()->SetCompareType(C.Compare);
        bool Found = !C.Found;
        EXPECT_EQ(Grid->FindComboRow(C.Text, false, Found), C.Row) << C.Text;
        EXPECT_EQ(Found, C.Found) << C.Text;
    }
}

TEST_F(ComboSearch, TheNextMatchWrapsAround) {
    Fill({"Bonn", "Denver", "Berlin", "Dover", "Boston"}, false);
    bool Found = false;
    Grid->SetComboRow(3);
    EXPECT_EQ(Grid->FindNextComboRow("B", Found), 5);
    Grid->SetComboRow(5);
    EXPECT_EQ(Grid->FindNextComboRow("B", Found), 1);
    EXPECT_TRUE(Found);
    EXPECT_EQ(Grid->FindNextComboRow("X", Found), 5);
    EXPECT_FALSE(Found);
}

TEST_F(ComboSearch, TypeAheadGrowsWithinTwoSecondsAndStartsAgainAfter) {
    ManualClock Clock(0.0, 100000);
    ScopedClock Use(Clock);
    Fill({"Apple", "Apricot", "Banana", "Berry", "Blue"}, true);
    bool Found = false;
    EXPECT_EQ(Grid->FindComboString('b', Found), 3);
    EXPECT_TRUE(Found);
    Clock.Advance(1999);
    EXPECT_EQ(Grid->FindComboString('l', Found), 5);
    EXPECT_EQ(Grid->ComboSearchValue(), "bl");
    Clock.Advance(2000);
    EXPECT_EQ(Grid->FindComboString('a', Found), 1);
    EXPECT_EQ(Grid->ComboSearchValue(), "a");
    Clock.Advance(10);
    EXPECT_EQ(Grid->FindComboString('p', Found), 1);
    EXPECT_EQ(Grid->FindComboString('r', Found), 2);
    EXPECT_EQ(Grid->ComboSearchValue(), "apr");
    // A key that matches nothing keeps what was typed.
    EXPECT_EQ(Grid->FindComboString('z', Found), 2);
    EXPECT_FALSE(Found);
    EXPECT_EQ(Grid->ComboSearchValue(), "apr");
    EXPECT_TRUE(Grid->ResetComboSearchValue());
    EXPECT_FALSE(Grid->ResetComboSearchValue());
}

TEST_F(ComboSearch, TheFoundRowIsScrolledWhereAutoSearchSays) {
    TgxComboGrid* List = Fill({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l"}, true);
    List->SetBounds(0, 0, 100, 4 * List->DefaultRowHeight());
    List->SetDropDownRows(4);
    struct Case {
        TgxComboAutoSearchType Search;
        int Top;
    };
    for (const Case C : {Case{asTop, 7}, Case{asBottom, 4}, Case{asCenter, 6}}) {
        List->SetAutoSearch(C.Search);
        Grid->SetComboRow(1);
        List->SetTopRow(List->GetDisplayRow(1));
        Grid->SetComboRow(7);
        EXPECT_EQ(List->GetDataRow(List->Row()), 7);
        EXPECT_EQ(List->GetDataRow(List->TopRow()), C.Top) << static_cast<int>(C.Search);
    }
}

TEST_F(ComboSearch, AutoFillNeedsASearch) {
    TgxCombo* Combo = Grid->GetCombo();
    EXPECT_EQ(Combo->GetAutoSearch(), asNone);
    Combo->SetAutoFill(true);
    EXPECT_EQ(Combo->GetAutoSearch(), asTop);
    Combo->SetAutoFill(false);
    Combo->SetAutoSearch(asCenter);
    Combo->SetAutoFill(true);
    EXPECT_EQ(Combo->GetAutoSearch(), asCenter);
}

TEST_F(ComboSearch, TypedTextIsCompletedFromTheList) {
    TgxComboGrid* List = GiveColumnList(1, {"Boston", "New York", "Newark"});
    List->SetAutoFill(true);
    GoTo(1, 1);
    struct Case {
        TgxConvertCase Convert;
        const char* WhileTyping;
        const char* OnExit;
    };
    for (const Case C :
         {Case{afcOnEdit, "New York", "New York"}, Case{afcOnExit, "new York", "New York"},
          Case{afcNone, "new York", "new York"}}) {
        List->SetAutoFillConvertCase(C.Convert);
        Grid->ResetComboInit(false);
        Grid->ResetLastUsedCombo();
        Grid->SetCurrentValue(Variant(AnsiString("ne")), false, true);
        Grid->CurrentCell()->SetSelStart(2);
        ASSERT_EQ(CurrentText(), "ne");
        EXPECT_TRUE(Grid->PositionAutoFill(false));
        EXPECT_EQ(CurrentText(), C.WhileTyping) << static_cast<int>(C.Convert);
        EXPECT_EQ(Grid->CurrentCell()->SelStart(), 2);
        EXPECT_EQ(Grid->CurrentCell()->SelLength(), 6);
        Grid->CheckSetAutoFillValue();
        EXPECT_EQ(CurrentText(), C.OnExit) << static_cast<int>(C.Convert);
    }
}

TEST_F(ComboSearch, ATypedKeyPositionsAnUnsortedListOnItsInitial) {
    TgxComboGrid* List = Fill({"Bonn", "Denver", "Berlin"}, false);
    List->SetAutoSearch(asTop);
    Variant Value;
    Grid->PositionDropDownList('d', Value);
    EXPECT_EQ(Value.AsString(), "Denver");
    EXPECT_EQ(List->GetDataRow(List->Row()), 2);
    Grid->PositionDropDownList('x', Value);
    EXPECT_TRUE(Value.IsEmpty());
    List->SetAutoSearch(asNone);
    Grid->PositionDropDownList('b', Value);
    EXPECT_TRUE(Value.IsEmpty());
}
