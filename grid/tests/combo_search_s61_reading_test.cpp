// A combo's list settings, and finding a row of the list from typed text:
// the comparisons, the sorted and unsorted searches, type-ahead with its
// two-second reset, moving the list to the found row, and auto-fill of the
// typed cell text.
#include "DropDownFixture.h"
#include "FormTextFixture.h"

#include "platform/rtl/Clock.h"

#include <vector>

using namespace grid;

namespace {

class ComboSearchTest : public DropDownFixture {
protected:
    // The grid's own list holds Items in its value column.
    TgxComboGrid* Fill(std::initializer_list<const char*> Items, bool Sorted) {
        TgxComboGrid* List = DroppedList();
        List->SetStoreData(true);
        List->SetGridRowCount(static_cast<int>(Items.size()));
        int Row = 1;
        for (const char* Item : Items) List->SetCellValue(1, Row++, Variant(AnsiString(Item)));
        Grid->GetCombo()->SetValueColSorted(Sorted);
        return List;
    }
    void SetListRow(int DataRow) {
        TgxComboGrid* List = DroppedList();
        List->SetCurrentCell(List->Col(), List->GetDisplayRow(DataRow));
    }
};

TEST_F(ComboSearchTest, ANewListHasTheDocumentedSettingsAndParents) {
    TgxCombo* Combo = Grid->GetCol(2)->GetCombo();
    if (!Combo) {
        Grid->GetCol(2)->SetParentCombo(false);
        Combo = Grid->GetCol(2)->GetCombo();
    }
    ASSERT_NE(Combo, nullptr);
    TgxComboGrid* List = Combo->GetGrid();
    EXPECT_EQ(List->GetGrid(), List);
    EXPECT_EQ(List->GetParentGrid(), Grid);
    EXPECT_EQ(List->GetParentGridCombo(), Combo);
    EXPECT_TRUE(List->IsComboGrid());
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
}

TEST_F(ComboSearchTest, SwitchingAutoFillOnTurnsAMissingSearchOn) {
    TgxCombo* Combo = Grid->GetCombo();
    Combo->SetAutoFill(true);
    EXPECT_EQ(Combo->GetAutoSearch(), asTop);
    Combo->SetAutoFill(false);
    Combo->SetAutoSearch(asCenter);
    Combo->SetAutoFill(true);
    EXPECT_EQ(Combo->GetAutoSearch(), asCenter);
}

TEST_F(ComboSearchTest, AssignCopiesAnotherCombosListAndSettings) {
    TgxComboGrid* Source = GiveColumnList(2, {"x", "y"});
    Grid->GetCol(2)->GetCombo()->SetDropDownRows(7);
    Grid->GetCol(2)->GetCombo()->SetCompareType(ctCaseSensitive);
    TgxCombo* Target = Grid->GetCombo();
    Target->Assign(Grid->GetCol(2)->GetCombo());
    EXPECT_EQ(Target->GetDropDownRows(), 7);
    EXPECT_EQ(Target->GetCompareType(), ctCaseSensitive);
    ASSERT_EQ(Target->GetGrid()->GetGridRowCount(), Source->GetGridRowCount());
    EXPECT_EQ(Target->GetGrid()->GetCellValue(1, 2).AsString(), "y");
}

TEST_F(ComboSearchTest, ComparisonsFollowTheCompareType) {
    struct Case {
        TgxComboCompareType Type;
        const char *A, *B;
        int Len;
        int Sign;
    } const Cases[] = {
        {ctCaseSensitive, "", "", 0, 0},
        {ctCaseSensitive, "a", "", 0, 1},
        {ctCaseSensitive, "", "a", 0, -1},
        {ctCaseSensitive, "abc", "abd", 0, 1},  // n 0 compares no characters
        {ctCaseSensitive, "abc", "abd", 2, 0},
        {ctCaseSensitive, "abc", "abd", 3, -1},
        {ctCaseSensitive, "ABC", "abc", 3, 1},
        {ctCaseInsensitive, "ABC", "abc", 3, 0},
        {ctCaseInsensitive, "", "x", 0, -1},
        {ctOwn, "anything", "else", 4, 0},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(std::string(C.A) + " / " + C.B + " n=" + std::to_string(C.Len));
        Grid->GetCombo()->SetCompareType(C.Type);
        const int R = Grid->ComboCompare(C.A, C.B, C.Len);
        EXPECT_EQ((R > 0) - (R < 0), C.Sign);
    }
    struct EqualCase {
        TgxComboCompareType Type;
        const char *A, *B;
        bool Equal;
    } const Equals[] = {
        {ctCaseInsensitive, "", "", true},     {ctCaseInsensitive, "ab", "abc", false},
        {ctCaseInsensitive, "AB", "ab", true}, {ctCaseSensitive, "AB", "ab", false},
        {ctOwn, "x", "y", true},               {ctOwn, "x", "yy", false},
    };
    for (const EqualCase& C : Equals) {
        SCOPED_TRACE(std::string(C.A) + " == " + C.B);
        Grid->GetCombo()->SetCompareType(C.Type);
        EXPECT_EQ(Grid->ComboValueEqual(C.A, C.B), C.Equal);
    }
}

TEST_F(ComboSearchTest, OwnComparisonTakesTheLastHandlersResult) {
    Grid->GetCombo()->SetCompareType(ctOwn);
    std::vector<int> Lengths;
    Grid->OnComboCompareValue = [](TObject*, const AnsiString&, const AnsiString&, int& Result) {
        Result = 5;
    };
    EXPECT_EQ(Grid->ComboCompare("a", "b", 1), 5);
    Grid->OnComboLCompareValue = [&](TObject*, const AnsiString&, const AnsiString&, int Len,
                                     int& Result) {
        Lengths.push_back(Len);
        Result = -Result;
    };
    EXPECT_EQ(Grid->ComboCompare("a", "b", 1), -5);
    EXPECT_EQ(Lengths, std::vector<int>{1});
}

TEST_F(ComboSearchTest, FindComboRowFindsThePrefixOrTheFallbackRow) {
    struct Case {
        const char* What;
        bool Sorted;
        const char* Text;
        bool Whole;
        int CurrentRow;
        int Row;
        bool Found;
    } const Cases[] = {
        {"sorted, empty text", true, "", false, 3, 1, false},
        {"unsorted, empty text", false, "", false, 3, 1, false},
        {"sorted, whole prefix finds the earliest", true, "ab", true, 2, 1, true},
        {"sorted, no whole match falls before the insertion point", true, "abx", false, 1, 3,
         false},
        {"sorted, longer text than every value", true, "abcz", false, 1, 2, true},
        {"sorted, before every value", true, "0", false, 2, 1, false},
        {"sorted, after every value", true, "zz", false, 1, 4, false},
        {"sorted, case-insensitive", true, "ABD", true, 1, 3, true},
        {"unsorted, first whole-text match wins", false, "ab", false, 4, 1, true},
        {"unsorted, longest common prefix", false, "abq", false, 4, 1, true},
        {"unsorted, nothing matches keeps the current row", false, "q", false, 3, 3, false},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        Fill({"ab", "abc", "abd", "b"}, C.Sorted);
        SetListRow(C.CurrentRow);
        bool Found = !C.Found;
        EXPECT_EQ(Grid->FindComboRow(C.Text, C.Whole, Found), C.Row);
        EXPECT_EQ(Found, C.Found);
    }
}

TEST_F(ComboSearchTest, AnEmptyListGivesRowZeroForAnEmptyText) {
    for (bool Sorted : {false, true}) {
        Fill({}, Sorted);
        bool Found = true;
        EXPECT_EQ(Grid->FindComboRow("", false, Found), 0);
        EXPECT_FALSE(Found);
    }
}

TEST_F(ComboSearchTest, NextMatchWrapsToTheFirstMatchingRow) {
    struct Case {
        bool Sorted;
        const char* Text;
        int From;
        int Row;
        bool Found;
    } const Cases[] = {
        {false, "b", 1, 2, true},  {false, "b", 2, 4, true}, {false, "b", 4, 2, true},
        {false, "q", 3, 3, false}, {true, "b", 2, 3, true},  {true, "b", 4, 2, true},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(std::string(C.Sorted ? "sorted " : "unsorted ") + C.Text + " from " +
                     std::to_string(C.From));
        if (C.Sorted)
            Fill({"a", "b1", "b2", "b3"}, true);
        else
            Fill({"a", "b1", "c", "b2"}, false);
        SetListRow(C.From);
        bool Found = false;
        EXPECT_EQ(Grid->FindNextComboRow(C.Text, Found), C.Row);
        EXPECT_EQ(Found, C.Found);
    }
}

TEST_F(ComboSearchTest, SetComboRowScrollsTheFoundRowByTheSearchKind) {
    struct Case {
        TgxComboAutoSearchType Kind;
        int Row;
        int TopRow;  // data row at the top, 0 = not checked
    } const Cases[] = {
        {asTop, 10, 10},
        {asBottom, 10, 7},
        {asCenter, 10, 9},
        // Near the top the list scrolls no further than its first row.
        {asBottom, 2, 1},
        {asCenter, 2, 1},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(static_cast<int>(C.Kind));
        Fill({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p",
              "q", "r", "s", "t"},
             true);
        Grid->GetCombo()->SetAutoSearch(C.Kind);
        SetListRow(1);
        DroppedList()->SetTopRow(DroppedList()->FixedRows());
        Grid->SetComboRow(C.Row);
        EXPECT_EQ(ListRow(), C.Row);
        EXPECT_EQ(DroppedList()->GetDataRow(DroppedList()->TopRow()), C.TopRow);
    }
}

// Typing into a pick-only cell whose list is down moves the list and the
// cell text.
class ComboTypeAheadTest : public ComboSearchTest {
protected:
    void SetUp() override {
        ComboSearchTest::SetUp();
        Clock = std::make_unique<ManualClock>(46000.0, 100000);
        Scoped = std::make_unique<ScopedClock>(*Clock);
    }
    void TearDown() override {
        ComboSearchTest::TearDown();
        Scoped.reset();
    }
    AnsiString ComboRowValueText(int ListDataRow) {
        const Variant V = DroppedList()->GetCellValue(1, ListDataRow);
        return V.IsEmpty() || V.IsNull() ? AnsiString() : V.AsString();
    }
    void Drop() {
        GoTo(1, 1);
        Key(Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(Grid->ComboVisible());
    }
    // Into the cell's editor, which hands the key on to the list.
    void Type(char C) {
        TypeKey(Editor()->Widget(), QChar(C).toUpper().unicode(), QString(QChar(C)));
        QApplication::processEvents();
    }
    std::unique_ptr<ManualClock> Clock;
    std::unique_ptr<ScopedClock> Scoped;
};

TEST_F(ComboTypeAheadTest, SortedListsExtendCycleAndRestartTheSearchText) {
    TgxComboGrid* List = GiveColumnList(1, {"apple", "banana", "berry", "blue", "cherry"});
    Grid->GetCol(1)->GetCombo()->SetValueColSorted(true);
    Grid->GetCol(1)->GetCombo()->SetAutoSearch(asTop);
    Grid->GetCol(1)->GetCombo()->SetDropDownStyle(ddDropDownList);
    (void)List;
    Drop();
    struct Step {
        char Key;
        int WaitMs;
        int ListRow;
        const char* Search;
    } const Steps[] = {
        {'b', 0, 2, "b"},       // first key: the first entry with that initial
        {'e', 100, 3, "be"},    // a different key within 2 s extends
        {'r', 100, 3, "ber"},
        {'c', 2000, 5, "c"},    // after 2 s a key starts a new search
        {'b', 2500, 2, "b"},
        {'b', 100, 3, "b"},     // the same initial again cycles
        {'b', 100, 4, "b"},
        {'z', 2500, 4, ""},     // nothing found: the list stays where it is
    };
    for (const Step& S : Steps) {
        SCOPED_TRACE(std::string(1, S.Key) + " after " + std::to_string(S.WaitMs));
        Clock->Advance(S.WaitMs);
        Type(S.Key);
        ASSERT_TRUE(Grid->ComboVisible());
        EXPECT_EQ(ListRow(), S.ListRow);
        EXPECT_EQ(Grid->ComboSearchValue(), S.Search);
        EXPECT_EQ(CurrentText(), ComboRowValueText(S.ListRow));
    }
}

TEST_F(ComboTypeAheadTest, TypingAheadStartsFromTheRowTheCellShows) {
    struct Case {
        const char* Cell;
        char Key;
        int ListRow;
        const char* Text;
    } const Cases[] = {
        {"bravo", 'b', 5, "bingo"},   // the next entry after the cell's
        {"bingo", 'b', 1, "beta"},    // wrapping round
        {"bravo", 'c', 4, "charlie"}, // another initial: its first entry
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(std::string(C.Cell) + " " + C.Key);
        Grid->SetStoreData(true);
        GiveColumnList(1, {"beta", "alpha", "bravo", "charlie", "bingo"});
        Grid->GetCol(1)->GetCombo()->SetAutoSearch(asTop);
        Grid->GetCol(1)->GetCombo()->SetDropDownStyle(ddDropDownList);
        Grid->SetCellValue(1, 1, Variant(AnsiString(C.Cell)));
        Drop();
        EXPECT_EQ(CurrentText(), C.Cell);
        Type(C.Key);
        EXPECT_EQ(ListRow(), C.ListRow);
        EXPECT_EQ(CurrentText(), C.Text);
        Key(Qt::Key_Escape);
    }
}

TEST_F(ComboTypeAheadTest, TheApplicationMayGiveTheValueOfATypedAheadRow) {
    GiveColumnList(1, {"apple", "banana", "cherry"});
    Grid->GetCol(1)->GetCombo()->SetAutoSearch(asTop);
    Grid->GetCol(1)->GetCombo()->SetDropDownStyle(ddDropDownList);
    Grid->OnComboGetValue = [](TObject*, TgxComboGrid*, int, int, int ComboDataRow,
                               Variant& Value) {
        if (ComboDataRow == 2) Value = Variant(AnsiString("B-2"));
    };
    Drop();
    Type('b');
    EXPECT_EQ(ListRow(), 2);
    EXPECT_EQ(CurrentText(), "B-2");
    Type('c');
    EXPECT_EQ(ListRow(), 3);
    EXPECT_EQ(CurrentText(), "cherry");
}

TEST_F(ComboTypeAheadTest, UnsortedListsCycleThroughEntriesWithTheTypedInitial) {
    GiveColumnList(1, {"beta", "alpha", "bravo", "charlie", "bingo"});
    Grid->GetCol(1)->GetCombo()->SetAutoSearch(asTop);
    Grid->GetCol(1)->GetCombo()->SetDropDownStyle(ddDropDownList);
    Drop();
    struct Step {
        char Key;
        int ListRow;
        const char* Text;
    } const Steps[] = {
        {'b', 1, "beta"}, {'b', 3, "bravo"}, {'b', 5, "bingo"}, {'b', 1, "beta"},
        {'c', 4, "charlie"}, {'a', 2, "alpha"},
        // No entry starts with the key: list and cell stay as they are.
        {'z', 2, "alpha"},
    };
    for (const Step& S : Steps) {
        SCOPED_TRACE(std::string(1, S.Key));
        Type(S.Key);
        EXPECT_EQ(ListRow(), S.ListRow);
        EXPECT_EQ(CurrentText(), S.Text);
    }
}

TEST_F(ComboTypeAheadTest, AutoFillCompletesTheTypedTextFromTheList) {
    struct Case {
        TgxConvertCase Case;
        TgxComboCompareType Compare;
        const char* Typed;
        const char* WhileTyping;
        int SelStart, SelLength;
        const char* AfterEdit;
    } const Cases[] = {
        {afcOnEdit, ctCaseInsensitive, "ne", "New York", 2, 6, "New York"},
        {afcOnExit, ctCaseInsensitive, "ne", "new York", 2, 6, "New York"},
        {afcNone, ctCaseInsensitive, "ne", "new York", 2, 6, "new York"},
        // Text of full length only changes its letter case, and only on edit.
        {afcOnEdit, ctCaseInsensitive, "new york", "New York", 8, 0, "New York"},
        {afcNone, ctCaseInsensitive, "new york", "new york", 8, 0, "new york"},
        // A case-sensitive list holds no prefix ne.
        {afcOnEdit, ctCaseSensitive, "ne", "ne", 2, 0, "ne"},
        // The first key already took the list's case; the second replaced
        // the completed tail and matches nothing.
        {afcOnEdit, ctCaseInsensitive, "nx", "Nx", 2, 0, "Nx"},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(std::string(C.Typed) + " " + std::to_string(static_cast<int>(C.Case)) + " " +
                     std::to_string(static_cast<int>(C.Compare)));
        Grid->SetStoreData(true);
        // A fresh list each round: the grid keeps its copy of the last one.
        Grid->GetCol(1)->SetParentCombo(true);
        GiveColumnList(1, {"Boston", "New York", "Paris"});
        TgxCombo* Combo = Grid->GetCol(1)->GetCombo();
        Combo->SetAutoFill(true);
        Combo->SetAutoFillConvertCase(C.Case);
        Combo->SetCompareType(C.Compare);
        Grid->SetCellValue(1, 1, Variant(AnsiString()));
        GoTo(1, 2);
        GoTo(1, 1);
        QApplication::processEvents();
        for (const char* P = C.Typed; *P; ++P) Type(*P);
        EXPECT_EQ(CurrentText(), C.WhileTyping);
        TgxCustomGridControl* Control = Grid->GridCellControl(ctText);
        EXPECT_EQ(Control->GetSelStart(), C.SelStart);
        EXPECT_EQ(Control->GetSelLength(), C.SelLength);
        Key(Qt::Key_Return);
        EXPECT_EQ(Grid->GetCellValue(1, 1).AsString(), C.AfterEdit);
    }
}

} // namespace

namespace {

TEST_F(ComboSearchTest, AListIsFlatAndTakesTheGridsLooks) {
    Grid->SetColor(clYellow);
    GiveColumnList(2, {"x"});
    TgxComboGrid* List = Grid->GetCol(2)->GetCombo()->GetGrid();
    EXPECT_FALSE(List->Ctl3D());
    EXPECT_FALSE(List->ParentCtl3D());
    EXPECT_EQ(List->Color(), clYellow);
    EXPECT_EQ(List->Font()->Name(), Grid->Font()->Name());
}

TEST_F(ComboSearchTest, AListLoadedFromAFormKeepsItsSearchAndFillAsSaved) {
    struct Case {
        bool AutoFill;
        TgxComboAutoSearchType Search;
    } const Cases[] = {{true, asNone}, {true, asBottom}, {false, asNone}, {false, asCenter}};
    for (const Case& C : Cases) {
        SCOPED_TRACE(std::to_string(C.AutoFill) + " " + std::to_string(static_cast<int>(C.Search)));
        TgxGrid From(nullptr);
        From.SetGridColCount(2);
        From.GetCol(1)->SetButtonType(btCombo);
        From.GetCol(1)->SetParentCombo(false);
        TgxCombo* Saved = From.GetCol(1)->GetCombo();
        Saved->SetAutoFill(C.AutoFill);
        Saved->SetAutoSearch(C.Search);
        TgxGrid Into(nullptr);
        CopyThroughFormFile(From, Into);
        TgxCombo* Loaded = Into.GetCol(1)->GetCombo();
        ASSERT_NE(Loaded, nullptr);
        EXPECT_EQ(Loaded->GetAutoFill(), C.AutoFill);
        EXPECT_EQ(Loaded->GetAutoSearch(), C.Search);
    }
}

TEST_F(ComboSearchTest, ThePickOnlyStyleOfAListTakesEffectOnTheShownEditorAtOnce) {
    GiveColumnList(1, {"alpha", "beta"});
    Grid->SetCellValue(1, 1, Variant(AnsiString("alpha")));
    GoTo(1, 1);
    QApplication::processEvents();
    Grid->GetCol(1)->GetCombo()->SetDropDownStyle(ddDropDownList);
    QApplication::processEvents();
    TypeKey(Editor()->Widget(), Qt::Key_X, "x");
    QApplication::processEvents();
    EXPECT_EQ(CurrentText(), "alpha");
}

TEST_F(ComboSearchTest, ANewRowCountOfAColumnsListShowsAtTheNextDropDown) {
    GiveColumnList(1, {"a", "b", "c", "d", "e", "f", "g", "h"});
    GoTo(1, 1);
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->ComboVisible());
    const int FourRows = DroppedList()->Height();
    Key(Qt::Key_Escape);
    ASSERT_FALSE(Grid->ComboVisible());
    Grid->GetCol(1)->GetCombo()->SetDropDownRows(2);
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->ComboVisible());
    EXPECT_EQ(Grid->GetCombo()->GetDropDownRows(), 2);
    EXPECT_LT(DroppedList()->Height(), FourRows);
}

} // namespace

namespace {

TEST_F(ComboSearchTest, AResetListIsTakenAsNewAtTheNextDropDown) {
    GiveColumnList(1, {"a", "b", "c"});
    TgxCombo* Own = Grid->GetCol(1)->GetCombo();
    Own->SetDropDownRows(2);
    Own->SetAutoFill(true);
    Own->SetValueColSorted(true);
    GoTo(1, 1);
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->ComboVisible());
    EXPECT_EQ(DroppedList()->GetGridRowCount(), 3);
    Key(Qt::Key_Escape);
    ASSERT_FALSE(Grid->ComboVisible());
    Own->Reset();
    EXPECT_EQ(Own->GetGrid()->GetGridRowCount(), 0);
    EXPECT_EQ(Own->GetDropDownRows(), 4);
    EXPECT_FALSE(Own->GetAutoFill());
    EXPECT_EQ(Own->GetAutoSearch(), asNone);
    EXPECT_FALSE(Own->GetValueColSorted());
    EXPECT_EQ(Own->GetGrid()->GetParentGrid(), Grid);
    EXPECT_EQ(Own->GetGrid()->GetParentGridCombo(), Own);
    Key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(DroppedList()->GetGridRowCount(), 0);
    EXPECT_EQ(Grid->GetCombo()->GetDropDownRows(), 4);
    EXPECT_FALSE(Grid->GetCombo()->GetAutoFill());
}

} // namespace

namespace {

TEST_F(ComboSearchTest, PressingTheButtonAndDraggingIntoTheListTakesTheRowLetGoOn) {
    GiveColumnList(1, {"alpha", "beta", "gamma", "delta"});
    GoTo(1, 1);
    QApplication::processEvents();
    const TRect Cell = Grid->CellRect(Grid->GetDisplayCol(1), Grid->GetDisplayRow(1));
    const QPoint OnButton(Cell.Right - 4, Cell.Top + (Cell.Bottom - Cell.Top) / 2);
    SendMouse(Grid->Widget(), QEvent::MouseButtonPress, OnButton);
    QApplication::processEvents();
    ASSERT_TRUE(Grid->ComboVisible());
    TgxComboGrid* Shown = DroppedList();
    const TRect Row3 = Shown->CellRect(Shown->GetDisplayCol(1), Shown->GetDisplayRow(3));
    // The window system keeps sending the drag to the pressed grid; over
    // the list, the list takes the mouse over.
    const QPoint ListPoint(Row3.Left + 5, Row3.Top + 3);
    const QPoint GridPoint = Grid->Widget()->mapFromGlobal(Shown->Widget()->mapToGlobal(ListPoint));
    SendMouse(Grid->Widget(), QEvent::MouseMove, GridPoint, Qt::NoButton, Qt::LeftButton);
    QApplication::processEvents();
    SendMouse(Grid->Widget(), QEvent::MouseMove, GridPoint + QPoint(1, 0), Qt::NoButton,
              Qt::LeftButton);
    QApplication::processEvents();
    SendMouse(Grid->Widget(), QEvent::MouseButtonRelease, GridPoint + QPoint(1, 0));
    QApplication::processEvents();
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(CurrentText(), "gamma");
}

} // namespace

namespace {

TEST_F(ComboSearchTest, ASortedListIsSearchedByHalvesVisitingOnlyTheRowsItNeeds) {
    struct Case {
        const char* Text;
        bool Whole;
        std::vector<std::string> Visits;
        int Row;
        bool Found;
    } const Cases[] = {
        {"ab", true, {"abc", "ab"}, 1, true},
        {"abx", false, {"abc", "abd"}, 3, false},
        {"abd", true, {"abc", "abd"}, 3, true},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Text);
        Fill({"ab", "abc", "abd"}, true);
        Grid->GetCombo()->SetCompareType(ctOwn);
        std::vector<std::string> Visits;
        // A case-sensitive comparison of its own that notes each list value.
        Grid->OnComboLCompareValue = [&](TObject*, const AnsiString& ListValue,
                                         const AnsiString& Typed, int Len, int& Result) {
            Visits.push_back(ListValue);
            Result = ListValue.compare(0, static_cast<std::size_t>(Len), Typed, 0,
                                       static_cast<std::size_t>(Len));
        };
        bool Found = !C.Found;
        EXPECT_EQ(Grid->FindComboRow(C.Text, C.Whole, Found), C.Row);
        EXPECT_EQ(Found, C.Found);
        EXPECT_EQ(Visits, C.Visits);
    }
}

} // namespace
