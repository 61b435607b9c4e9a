// Combo lists and the grid's search of them: defaults, comparisons, the two
// search modes with their fallbacks, next match, type-ahead with its reset,
// scrolling the found row into place and auto-fill from typed keys.
#include "DropDownFixture.h"

#include "platform/rtl/Clock.h"
#include "grid/model/ComboListStream.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Streams.h"

#include <vector>

using namespace grid;

namespace {

class ComboGridReading : public DropDownFixture {
protected:
    // The grid's shared list filled with Items on its value column.
    TgxComboGrid* FillList(std::initializer_list<const char*> Items, bool Sorted) {
        TgxComboGrid* List = DroppedList();
        List->SetStoreData(true);
        List->SetGridRowCount(static_cast<int>(Items.size()));
        int Row = 1;
        for (const char* Item : Items) List->SetCellValue(1, Row++, Variant(AnsiString(Item)));
        List->SetValueColSorted(Sorted);
        return List;
    }
};

TEST_F(ComboGridReading, NewListAndComboStartWithTheDocumentedSettings) {
    TgxCombo* Combo = Grid->GetCombo();
    TgxComboGrid* List = Combo->GetGrid();
    EXPECT_EQ(List->GetGrid(), List);
    EXPECT_EQ(List->GetParentGridCombo(), Combo);
    EXPECT_EQ(List->GetParentGrid(), Grid);
    EXPECT_TRUE(List->IsComboGrid());
    // A list held by a column stays hidden; only the grid's own is shown on
    // its drop-down form.
    EXPECT_FALSE(GiveColumnList(2, {"x"})->Visible());
    EXPECT_EQ(Combo->GetDropDownRows(), 4);
    EXPECT_EQ(Combo->GetDropDownCols(), 1);
    EXPECT_EQ(Combo->GetValueCol(), 1);
    EXPECT_EQ(Combo->GetComboDisplayCol(), 1);
    EXPECT_FALSE(Combo->GetValueColSorted());
    EXPECT_EQ(Combo->GetCompareType(), ctCaseInsensitive);
    EXPECT_EQ(Combo->GetAutoSearch(), asNone);
    EXPECT_FALSE(Combo->GetAutoFill());
    EXPECT_EQ(Combo->GetAutoFillConvertCase(), afcOnEdit);
    EXPECT_EQ(Combo->GetDropDownStyle(), ddDropDown);
    Combo->SetAutoLookup(true);
    EXPECT_FALSE(Combo->GetAutoLookup());

    // Every setter reaches the list.
    Combo->SetDropDownRows(7);
    Combo->SetValueCol(2);
    Combo->SetComboDisplayCol(3);
    Combo->SetCompareType(ctOwn);
    Combo->SetAutoFillConvertCase(afcNone);
    EXPECT_EQ(List->DropDownRows(), 7);
    EXPECT_EQ(List->ValueCol(), 2);
    EXPECT_EQ(List->ComboDisplayCol(), 3);
    EXPECT_EQ(List->CompareType(), ctOwn);
    EXPECT_EQ(List->AutoFillConvertCase(), afcNone);

    // Filling needs a search; a search already chosen is kept.
    Combo->SetAutoFill(true);
    EXPECT_EQ(Combo->GetAutoSearch(), asTop);
    Combo->SetAutoFill(false);
    Combo->SetAutoSearch(asCenter);
    Combo->SetAutoFill(true);
    EXPECT_EQ(Combo->GetAutoSearch(), asCenter);
}

TEST_F(ComboGridReading, ComparisonsOfEmptyAndCasedTexts) {
    FillList({"x"}, false);
    EXPECT_EQ(Grid->CompCaseSensitive("", "", 0), 0);
    EXPECT_GT(Grid->CompCaseSensitive("a", "", 0), 0);
    EXPECT_LT(Grid->CompCaseSensitive("", "a", 0), 0);
    EXPECT_GT(Grid->CompCaseSensitive("a", "b", 0), 0); // length 0: a is not empty
    EXPECT_EQ(Grid->CompCaseInsensitive("", "", 0), 0);
    EXPECT_LT(Grid->CompCaseInsensitive("", "b", 0), 0);
    EXPECT_EQ(Grid->CompCaseInsensitive("ABc", "abD", 2), 0);
    EXPECT_NE(Grid->CompCaseSensitive("ABc", "abD", 2), 0);
    EXPECT_EQ(Grid->CompOwn("one", "two", 3), 0);

    EXPECT_TRUE(Grid->ComboValueEqual("", ""));
    EXPECT_TRUE(Grid->ComboValueEqual("Abc", "aBC"));
    EXPECT_FALSE(Grid->ComboValueEqual("ab", "abc"));
    DroppedList()->SetCompareType(ctCaseSensitive);
    EXPECT_FALSE(Grid->ComboValueEqual("Abc", "aBC"));
    DroppedList()->SetCompareType(ctOwn);
    EXPECT_TRUE(Grid->ComboValueEqual("abc", "xyz"));
}

struct FindCase {
    const char* Name;
    std::vector<const char*> Items;
    bool Sorted;
    const char* Text;
    bool WholeText;
    int Row;
    bool Found;
};

TEST_F(ComboGridReading, FindComboRowTable) {
    const FindCase Cases[] = {
        {"empty text sorted", {"a", "b"}, true, "", false, 1, false},
        {"empty text unsorted", {"a", "b"}, false, "", false, 1, false},
        {"empty text empty list", {}, false, "", false, 0, false},
        {"earliest prefix match", {"ab", "abc", "abd"}, true, "ab", true, 1, true},
        {"no match after last", {"ab", "abc", "abd"}, true, "abx", false, 3, false},
        {"no match before first", {"b", "d", "f"}, true, "a", false, 1, false},
        {"no match between", {"b", "d", "f"}, true, "e", false, 2, false},
        {"no match past end", {"b", "d", "f"}, true, "z", false, 3, false},
        {"longer text, longest value", {"ab", "abc", "abcd"}, true, "abcdef", false, 3, true},
        {"case ignored sorted", {"Apple", "Banana", "Cherry"}, true, "bAN", false, 2, true},
        {"whole text first", {"ab", "abc", "abcde"}, false, "abcd", false, 3, true},
        {"longest prefix", {"ab", "abc", "xyz"}, false, "abcdx", false, 2, true},
        {"tie to earlier", {"ab", "ab"}, false, "abc", false, 1, true},
        {"unsorted miss", {"ab", "cd"}, false, "x", false, 0, false},
    };
    for (const FindCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TgxComboGrid* List = DroppedList();
        List->SetStoreData(true);
        List->SetGridRowCount(static_cast<int>(C.Items.size()));
        for (int I = 0; I < static_cast<int>(C.Items.size()); ++I)
            List->SetCellValue(1, I + 1, Variant(AnsiString(C.Items[I])));
        List->SetValueColSorted(C.Sorted);
        bool Found = true;
        const int Current = List->GetGridRowCount() > 0 ? List->GetDataRow(List->Row()) : 0;
        const int Row = Grid->FindComboRow(C.Text, C.WholeText, Found);
        EXPECT_EQ(Found, C.Found);
        // An unsorted miss keeps the current row.
        EXPECT_EQ(Row, C.Row == 0 && !C.Items.empty() ? Current : C.Row);
    }
}

TEST_F(ComboGridReading, NextMatchWrapsAndMissKeepsTheCurrentRow) {
    for (bool Sorted : {false, true}) {
        SCOPED_TRACE(Sorted ? "sorted" : "unsorted");
        if (Sorted)
            FillList({"apple", "avocado", "banana", "cherry"}, true);
        else
            FillList({"apple", "banana", "avocado", "cherry"}, false);
        const int LastA = Sorted ? 2 : 3;
        Grid->SetComboRow(LastA);
        bool Found = false;
        EXPECT_EQ(Grid->FindNextComboRow("a", Found), 1);
        EXPECT_TRUE(Found);
        Grid->SetComboRow(1);
        EXPECT_EQ(Grid->FindNextComboRow("a", Found), LastA);
        EXPECT_TRUE(Found);
    }
    FillList({"apple", "banana", "avocado", "cherry"}, false);
    Grid->SetComboRow(3);
    bool Found = true;
    EXPECT_EQ(Grid->FindNextComboRow("z", Found), 3);
    EXPECT_FALSE(Found);
}

TEST_F(ComboGridReading, SetComboRowScrollsTheRowByAutoSearch) {
    TgxComboGrid* List = DroppedList();
    List->SetStoreData(true);
    List->SetGridRowCount(40);
    for (int R = 1; R <= 40; ++R) List->SetCellValue(1, R, Variant(AnsiString("r") + IntToStr(R)));
    struct {
        TgxComboAutoSearchType Search;
        int Rows;
        int Target;
        int Top;
    } const Cases[] = {
        {asTop, 4, 20, 20}, {asBottom, 4, 20, 17}, {asCenter, 4, 20, 19}, {asCenter, 5, 20, 18},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Top);
        Grid->SetComboRow(1);
        List->SetAutoSearch(C.Search);
        List->SetDropDownRows(C.Rows);
        Grid->SetComboRow(C.Target);
        EXPECT_EQ(List->GetDataRow(List->Row()), C.Target);
        EXPECT_EQ(List->GetDataRow(List->TopRow()), C.Top);
    }
}

TEST_F(ComboGridReading, TypeAheadInSortedListExtendsCyclesAndResets) {
    ManualClock Clock(0.0, 100000);
    ScopedClock Use(Clock);
    FillList({"bear", "bee", "cat", "cow"}, true);
    bool Found = false;
    EXPECT_EQ(Grid->FindComboString('c', Found), 3);
    EXPECT_TRUE(Found);
    EXPECT_EQ(Grid->ComboSearchValue(), "c");
    Clock.Advance(1999);
    EXPECT_EQ(Grid->FindComboString('o', Found), 4);
    EXPECT_EQ(Grid->ComboSearchValue(), "co");
    Clock.Advance(2000);
    EXPECT_EQ(Grid->FindComboString('b', Found), 1);
    EXPECT_TRUE(Found);
    EXPECT_EQ(Grid->ComboSearchValue(), "b");
    // A key that extends to nothing keeps the search text.
    Found = true;
    Grid->FindComboString('x', Found);
    EXPECT_FALSE(Found);
    EXPECT_EQ(Grid->ComboSearchValue(), "b");
    EXPECT_TRUE(Grid->ResetComboSearchValue());
    EXPECT_FALSE(Grid->ResetComboSearchValue());
}

// Typing into a combo cell whose column list fills the text in.
TEST_F(ComboGridReading, AutoFillFromTypedKeys) {
    struct {
        TgxConvertCase Convert;
        const char* WhileTyping;
        const char* AfterEdit;
    } const Cases[] = {
        {afcOnEdit, "New York", "New York"},
        {afcOnExit, "new York", "New York"},
        {afcNone, "new York", "new York"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.WhileTyping);
        TgxComboGrid* List = GiveColumnList(1, {"Boston", "New York"});
        TgxCombo* Combo = Grid->GetCol(1)->GetCombo();
        Combo->SetAutoFill(true);
        Combo->SetAutoFillConvertCase(C.Convert);
        (void)List;
        Grid->SetStoreData(true);
        GoTo(1, 1);
        Grid->SetCellValue(1, 1, Variant(AnsiString()));
        Key(Qt::Key_N, Qt::NoModifier, "n");
        Key(Qt::Key_E, Qt::NoModifier, "e");
        EXPECT_EQ(CurrentText(), C.WhileTyping);
        EXPECT_EQ(Grid->CurrentCell()->SelStart(), 2);
        EXPECT_EQ(Grid->CurrentCell()->SelLength(), 6);
        Key(Qt::Key_Return);
        EXPECT_EQ(Grid->GetCellValue(1, 1).AsString(), C.AfterEdit);
    }
}

} // namespace

namespace {

// Keys typed while a sorted list is down: the same initial again cycles
// through the entries with it, the value written back into the cell between.
TEST_F(ComboGridReading, SameInitialCyclesThroughSortedList) {
    ManualClock Clock(0.0, 5000);
    ScopedClock Use(Clock);
    GiveColumnList(1, {"bear", "bee", "cat"})->SetValueColSorted(true);
    Grid->GetCol(1)->GetCombo()->SetAutoSearch(asTop);
    GoTo(1, 1);
    Grid->ComboInit(1, 1);
    const char* Expected[] = {"bear", "bee"};
    for (const char* Want : Expected) {
        SCOPED_TRACE(Want);
        Variant Value;
        Grid->PositionDropDownList('b', Value);
        ASSERT_FALSE(Value.IsEmpty());
        EXPECT_EQ(Value.AsString(), Want);
        Grid->CurrentCell()->SetValue(Value);
        Clock.Advance(100);
    }
    // An unsorted list offers only a value starting with the key.
    DroppedList()->SetValueColSorted(false);
    Variant Value;
    Grid->PositionDropDownList('q', Value);
    EXPECT_TRUE(Value.IsEmpty());
}

} // namespace

namespace {

TEST_F(ComboGridReading, OwnComparisonTakesWhatTheHandlersLeave) {
    FillList({"x"}, false);
    DroppedList()->SetCompareType(ctOwn);
    std::vector<int> SeenBySecond;
    Grid->OnComboCompareValue = [](TObject*, const AnsiString&, const AnsiString&, int& Res) {
        Res = 5;
    };
    Grid->OnComboLCompareValue = [&](TObject*, const AnsiString& A, const AnsiString& B, int Len,
                                     int& Res) {
        SeenBySecond.push_back(Res);
        Res = A == B ? 0 : -Len;
    };
    EXPECT_EQ(Grid->CompOwn("ab", "ac", 2), -2);
    EXPECT_EQ(Grid->CompOwn("ab", "ab", 2), 0);
    EXPECT_EQ(SeenBySecond, (std::vector<int>{5, 5}));
    EXPECT_TRUE(Grid->ComboValueEqual("ab", "ab"));
    EXPECT_FALSE(Grid->ComboValueEqual("ab", "ac"));
}

// First-character type-ahead of an unsorted list cycles from the entry the
// cell holds to the next with the same initial, wrapping at the end.
TEST_F(ComboGridReading, FirstCharCyclesFromTheCellValue) {
    GiveColumnList(1, {"apple", "banana", "avocado", "cherry"});
    Grid->GetCol(1)->GetCombo()->SetAutoSearch(asTop);
    GoTo(1, 1);
    Grid->ComboInit(1, 1);
    const char* Expected[] = {"apple", "avocado", "apple"};
    for (const char* Want : Expected) {
        SCOPED_TRACE(Want);
        Variant Value;
        Grid->PositionDropDownList('a', Value);
        ASSERT_FALSE(Value.IsEmpty());
        EXPECT_EQ(Value.AsString(), Want);
        Grid->CurrentCell()->SetValue(Value);
    }
    // A handler's value is taken as it stands.
    Grid->OnComboGetValue = [](TObject*, TgxComboGrid*, int, int, int ComboDataRow,
                               Variant& Value) { Value = Variant(ComboDataRow * 10); };
    Variant Value;
    Grid->PositionDropDownList('c', Value);
    EXPECT_EQ(Value.AsInteger(), 40);
}

} // namespace

namespace {

// A saved list keeps its search as saved, even one with filling on and no
// search; a reset list is a new one again; a copied list carries its rows.
TEST_F(ComboGridReading, SavedResetAndCopiedListsKeepTheirSettings) {
    TgxComboGrid* Saved = GiveColumnList(2, {"one", "two"});
    TgxCombo* SavedCombo = Grid->GetCol(2)->GetCombo();
    SavedCombo->SetAutoFill(true);
    SavedCombo->SetAutoSearch(asNone);
    SavedCombo->SetDropDownRows(6);
    TMemoryStream Stream;
    WriteComboList(*Saved, &Stream);
    Stream.Seek(0, soBeginning);
    TgxComboGrid* Read = GiveColumnList(3, {});
    ReadComboList(*Read, &Stream);
    EXPECT_TRUE(Read->AutoFill());
    EXPECT_EQ(Read->AutoSearch(), asNone);
    EXPECT_EQ(Read->DropDownRows(), 6);
    EXPECT_EQ(Read->GetGridRowCount(), 2);

    TgxCombo* Copy = Grid->GetCol(3)->GetCombo();
    Copy->Assign(SavedCombo);
    EXPECT_TRUE(Copy->GetAutoFill());
    EXPECT_EQ(Copy->GetDropDownRows(), 6);
    ASSERT_EQ(Copy->GetGrid()->GetGridRowCount(), 2);
    EXPECT_EQ(Copy->GetGrid()->GetCellValue(1, 2).AsString(), "two");

    SavedCombo->Reset();
    EXPECT_FALSE(SavedCombo->GetAutoFill());
    EXPECT_EQ(SavedCombo->GetAutoSearch(), asNone);
    EXPECT_EQ(SavedCombo->GetDropDownRows(), 4);
    EXPECT_TRUE(Saved->AutoComboExtents());
    EXPECT_TRUE(Saved->PaintEnabled());
}

} // namespace

namespace {

// The binary search of a sorted list looks at the middle row first and
// narrows from there; the rows it compares show the path it took.
TEST_F(ComboGridReading, BinarySearchVisitsOnlyTheRowsOnItsPath) {
    FillList({"ab", "abc", "abd"}, true);
    DroppedList()->SetCompareType(ctOwn);
    std::vector<AnsiString> Visited;
    Grid->OnComboLCompareValue = [&](TObject*, const AnsiString& A, const AnsiString& B, int Len,
                                     int& Res) {
        Visited.push_back(A);
        Res = A.substr(0, Len).compare(B.substr(0, Len));
    };
    struct {
        const char* Text;
        bool WholeText;
        std::vector<AnsiString> Path;
        int Row;
        bool Found;
    } const Cases[] = {
        {"ab", true, {"abc", "ab"}, 1, true},
        {"abx", false, {"abc", "abd"}, 3, false},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Text);
        Visited.clear();
        bool Found = !C.Found;
        EXPECT_EQ(Grid->FindComboRow(C.Text, C.WholeText, Found), C.Row);
        EXPECT_EQ(Found, C.Found);
        EXPECT_EQ(Visited, C.Path);
    }
}

} // namespace

namespace {

// The list opens on the row the cell text leads to, only when it searches.
TEST_F(ComboGridReading, PositionComboRowFollowsTheCellTextWhenSearching) {
    GiveColumnList(1, {"apple", "banana", "cherry"});
    GoTo(1, 1);
    Grid->ComboInit(1, 1);
    Grid->CurrentCell()->SetValue(Variant(AnsiString("Cher")));
    Grid->PositionComboRow();
    EXPECT_EQ(ListRow(), 1);
    DroppedList()->SetAutoSearch(asTop);
    Grid->PositionComboRow();
    EXPECT_EQ(ListRow(), 3);
}

} // namespace
