// Sparse lists and the string grid built on them: how storage grows, how
// items shift, how the grid keeps, shows and edits its cells.
#include "grid/tests/BaseGridFixture.h"
#include "platform/classes/Filer.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <memory>

using namespace grid;

namespace {

void* AsPointer(std::intptr_t N) { return reinterpret_cast<void*>(N); }

AnsiString ListError(const std::function<void()>& Action) {
    try {
        Action();
    } catch (const EListError& E) {
        return E.Message;
    }
    return "no error";
}

TEST(SparseListReading, FarItemMakesOneSectionAndNoneTakesItBack) {
    TSparseList L(SPASmall);
    L.StoreAt(1000, AsPointer(1));
    EXPECT_EQ(L.Count(), 1001);
    EXPECT_EQ(L.Array().SectionCount(), 1);
    EXPECT_EQ(L.Array().SectionSize(), 16);
    EXPECT_EQ(L.ItemAt(1000), AsPointer(1));
    EXPECT_EQ(L.ItemAt(992), nullptr);
    EXPECT_EQ(L.ItemAt(5000), nullptr);
    L.StoreAt(1000, nullptr);
    EXPECT_EQ(L.Count(), 0);
    EXPECT_EQ(L.Array().HighBound(), -1);

    // Storing none below the high bound keeps it.
    L.StoreAt(3, AsPointer(3));
    L.StoreAt(40, AsPointer(40));
    L.StoreAt(3, nullptr);
    EXPECT_EQ(L.Count(), 41);
    L.StoreAt(40, nullptr);
    EXPECT_EQ(L.Count(), 0);
    EXPECT_EQ(TSparseList(SPALarge).Array().SectionSize(), 256);
}

TEST(SparseListReading, ItemsShiftOnInsertDeleteAndMove) {
    struct Step {
        const char* What;
        std::function<void(TSparseList&)> Do;
        std::vector<std::intptr_t> Items; // 0: empty slot
    };
    const Step Steps[] = {
        {"insert inside", [](TSparseList& L) { L.InsertAt(1, AsPointer(9)); }, {1, 9, 2, 3}},
        {"insert beyond", [](TSparseList& L) { L.InsertAt(6, AsPointer(9)); }, {1, 2, 3, 0, 0, 0, 9}},
        {"delete inside", [](TSparseList& L) { L.DeleteAt(0); }, {2, 3}},
        {"delete at count", [](TSparseList& L) { L.DeleteAt(3); }, {1, 2, 3}},
        {"delete below 0", [](TSparseList& L) { L.DeleteAt(-1); }, {1, 2, 3}},
        {"swap", [](TSparseList& L) { L.SwapAt(0, 2); }, {3, 2, 1}},
        {"move down", [](TSparseList& L) { L.MoveItem(0, 2); }, {2, 3, 1}},
        {"move up", [](TSparseList& L) { L.MoveItem(2, 0); }, {3, 1, 2}},
        {"clear", [](TSparseList& L) { L.ClearItems(); }, {}},
    };
    for (const Step& S : Steps) {
        TSparseList L(SPASmall);
        for (int I = 0; I < 3; ++I)
            L.StoreAt(I, AsPointer(I + 1));
        S.Do(L);
        ASSERT_EQ(L.Count(), static_cast<int>(S.Items.size())) << S.What;
        for (int I = 0; I < L.Count(); ++I)
            EXPECT_EQ(L.ItemAt(I), AsPointer(S.Items[I])) << S.What << " at " << I;
    }
}

TEST(SparseListReading, NegativeIndexesAreRefused) {
    TSparseList L(SPASmall);
    EXPECT_EQ(ListError([&] { L.ItemAt(-1); }), AnsiString("List index out of bounds (-1)"));
    EXPECT_EQ(ListError([&] { L.StoreAt(-2, AsPointer(1)); }), AnsiString("List index out of bounds (-2)"));
    EXPECT_EQ(ListError([&] { L.InsertAt(-3, AsPointer(1)); }), AnsiString("List index out of bounds (-3)"));
    EXPECT_EQ(L.Count(), 0);
}

TEST(SparseListReading, VisitGoesInIndexOrderAndStopsOnAnswer) {
    TSparseList L(SPASmall);
    for (int I : {700, 5, 40, 6})
        L.StoreAt(I, AsPointer(I));
    std::vector<int> Seen;
    EXPECT_EQ(L.VisitItems([&](int Index, void*) {
        Seen.push_back(Index);
        return Index == 40 ? 7 : 0;
    }), 7);
    EXPECT_EQ(Seen, (std::vector<int>{5, 6, 40}));
}

TEST(StringSparseListReading, ItemsHoldTextOrObjectAndReportChanges) {
    TStringSparseList L(SPASmall);
    int Changes = 0;
    L.OnChange = [&](TObject*) { ++Changes; };
    TObject Thing;
    struct Step {
        const char* What;
        std::function<void()> Do;
        int Changes;
    };
    const Step Steps[] = {
        {"put", [&] { L.Put(4, "four"); }, 1},
        {"put object", [&] { L.PutObject(2, &Thing); }, 1},
        {"put none where nothing is", [&] { L.PutObject(7, nullptr); }, 1},
        {"insert", [&] { L.Insert(0, "zero"); }, 1},
        {"exchange", [&] { L.Exchange(0, 5); }, 0},
    };
    for (const Step& S : Steps) {
        Changes = 0;
        S.Do();
        EXPECT_EQ(Changes, S.Changes) << S.What;
    }
    // zero . . (Thing) . four -> exchanged 0 and 5
    EXPECT_EQ(L.Count(), 6);
    EXPECT_EQ(L.Get(0), AnsiString("four"));
    EXPECT_EQ(L.Get(5), AnsiString("zero"));
    EXPECT_EQ(L.GetObject(3), &Thing);
    EXPECT_EQ(L.GetObject(7), nullptr);
    EXPECT_EQ(L.Get(100), AnsiString());

    // An empty text keeps an item that has an object, and drops one that has none.
    L.Put(3, "");
    EXPECT_EQ(L.GetObject(3), &Thing);
    L.Put(5, "");
    std::vector<std::int32_t> Present;
    for (const auto& I : L.StoredItems())
        Present.push_back(I.Index);
    EXPECT_EQ(Present, (std::vector<std::int32_t>{0, 3}));

    Changes = 0;
    L.Delete(0);
    EXPECT_EQ(L.GetObject(2), &Thing);
    L.Clear();
    EXPECT_EQ(Changes, 2);
    EXPECT_EQ(L.Count(), 0);
}

TEST(StringSparseListReading, StoredItemsReadBackToTheSameList) {
    TStringSparseList L(SPASmall);
    L.Put(1, "one");
    L.Put(30, "thirty");
    L.Put(2, "two");
    TStringSparseList Back(SPASmall);
    Back.LoadStoredItems(L.StoredItems());
    EXPECT_EQ(Back.Count(), 31);
    for (int I : {0, 1, 2, 3, 29, 30})
        EXPECT_EQ(Back.Get(I), L.Get(I)) << I;

    // As a form stream writes it: "List", the count of present items, then
    // each one's index and text.
    TMemoryStream Stream;
    {
        TWriter W(&Stream);
        W.WriteProperties(&L);
    }
    Stream.SetPosition(0);
    TReader R(&Stream);
    EXPECT_EQ(R.ReadStr(), AnsiString("List"));
    ASSERT_EQ(R.ReadInteger(), 3);
    std::vector<std::pair<int, AnsiString>> Items;
    for (int I = 0; I < 3; ++I) {
        const int Index = R.ReadInteger();
        Items.emplace_back(Index, R.ReadString());
    }
    EXPECT_EQ(Items, (std::vector<std::pair<int, AnsiString>>{{1, "one"}, {2, "two"}, {30, "thirty"}}));
}

using StringGridReading = gridtest::GridOnForm<gridtest::TProbeStringGrid>;

TEST_F(StringGridReading, CellsKeepTextAndObject) {
    TObject Thing;
    EXPECT_EQ(Grid->Cells(3, 3), AnsiString());
    Grid->SetCells(2, 1, "text");
    // Writing a cell makes its row's and its column's views.
    EXPECT_NE(Grid->RowViews().ItemAt(1), nullptr);
    EXPECT_NE(Grid->ColViews().ItemAt(2), nullptr);
    EXPECT_EQ(Grid->ColViews().ItemAt(3), nullptr);
    EXPECT_EQ(static_cast<TStrings*>(static_cast<TStringGridStrings*>(Grid->RowViews().ItemAt(1))), Grid->Rows(1));
    Grid->SetObjects(2, 1, &Thing);
    EXPECT_EQ(Grid->Cells(2, 1), AnsiString("text"));
    EXPECT_EQ(Grid->Objects(2, 1), &Thing);
    Grid->SetCells(2, 1, "");
    EXPECT_EQ(Grid->Objects(2, 1), &Thing);
    EXPECT_EQ(Grid->Cells(2, 1), AnsiString());
    EXPECT_EQ(Grid->Objects(4, 4), nullptr);
    // Reads outside the grid give empty values.
    for (auto [C, R] : {std::pair{-1, 1}, std::pair{1, -1}, std::pair{-3, -3}, std::pair{9, 900}}) {
        EXPECT_EQ(Grid->Cells(C, R), AnsiString()) << C << "," << R;
        EXPECT_EQ(Grid->Objects(C, R), nullptr) << C << "," << R;
    }
    TStringGridStrings NoLine(Grid, 0);
    EXPECT_EQ(NoLine.GetCount(), 0);
    EXPECT_EQ(NoLine.Get(0), AnsiString());
}

TEST_F(StringGridReading, RowAndColumnViews) {
    TStrings* Row = Grid->Rows(1);
    TStrings* Col = Grid->Cols(2);
    EXPECT_EQ(Grid->Rows(1), Row);
    EXPECT_EQ(Row->GetCount(), Grid->ColCount());
    Grid->SetRowCount(7);
    EXPECT_EQ(Col->GetCount(), 7);
    Row->Put(2, "through row");
    EXPECT_EQ(Grid->Cells(2, 1), AnsiString("through row"));
    EXPECT_EQ(Col->Get(1), AnsiString("through row"));

    // Add fills the first empty item; an empty text is stored as one space.
    Grid->SetCells(0, 3, "a");
    EXPECT_EQ(Grid->Rows(3)->Add("b"), 1);
    EXPECT_EQ(Grid->Rows(3)->Add(""), 2);
    EXPECT_EQ(Grid->Cells(2, 3), AnsiString(" "));
    Grid->Rows(3)->Add("c");
    Grid->Rows(3)->Add("d");
    EXPECT_EQ(Grid->Rows(3)->Add("e"), -1);
    EXPECT_EQ(Grid->Cells(4, 3), AnsiString("d"));

    for (auto Action : {std::function<void()>([&] { Row->Insert(0, "x"); }),
                        std::function<void()>([&] { Col->Delete(0); })}) {
        try {
            Action();
            ADD_FAILURE() << "no error";
        } catch (const EInvalidGridOperation& E) {
            EXPECT_NE(E.Message.find("Cannot insert or delete rows from grid"), AnsiString::npos);
        }
    }

    TObject Thing;
    Grid->SetObjects(2, 5, &Thing);
    Col->Clear();
    EXPECT_EQ(Grid->Cells(2, 1), AnsiString());
    EXPECT_EQ(Grid->Cells(2, 3), AnsiString());
    EXPECT_EQ(Grid->Objects(2, 5), nullptr);
    EXPECT_EQ(Grid->Cells(1, 3), AnsiString("b"));
    Grid->Rows(3)->Clear();
    EXPECT_EQ(Grid->Cells(0, 3), AnsiString());
    EXPECT_EQ(Grid->Cells(4, 3), AnsiString());

    TStringList Source;
    Source.AddObject("x", &Thing);
    Source.Add("y");
    for (int I = 0; I < 10; ++I)
        Source.Add("more");
    Grid->SetRows(2, &Source);
    EXPECT_EQ(Grid->Cells(0, 2), AnsiString("x"));
    EXPECT_EQ(Grid->Objects(0, 2), &Thing);
    EXPECT_EQ(Grid->Cells(1, 2), AnsiString("y"));
    EXPECT_EQ(Grid->Cells(4, 2), AnsiString("more"));
    EXPECT_EQ(Grid->Cells(5, 2), AnsiString());
}

TEST_F(StringGridReading, WritingRepaintsTheCellOrOnceAfterAnUpdate) {
    PaintAll();
    Grid->SetCells(2, 2, "one");
    Flush();
    EXPECT_EQ(Painted.Cells, (std::vector<std::pair<int, int>>{{2, 2}}));

    PaintAll();
    const int All = [&] {
        Grid->Invalidate();
        Flush();
        const int N = Painted.Count();
        Painted.Reset();
        return N;
    }();
    Grid->Rows(1)->BeginUpdate();
    Grid->Rows(1)->Put(1, "a");
    Grid->Rows(1)->Put(2, "b");
    Flush();
    EXPECT_EQ(Painted.Count(), 0);
    Grid->Rows(1)->EndUpdate();
    Flush();
    EXPECT_EQ(Painted.Count(), All);
}

TEST_F(StringGridReading, QuantumIsChosenWhenTheGridIsMade) {
    Grid->SetColCount(600);
    Grid->SetCells(550, 1, "far");
    EXPECT_EQ(Grid->Cells(550, 1), AnsiString("far"));
    EXPECT_EQ(Grid->ColViews().Quantum(), SPASmall);
    EXPECT_EQ(Grid->DataList().Quantum(), SPASmall);
    EXPECT_EQ(Grid->RowViews().Quantum(), SPASmall);
}

TEST_F(StringGridReading, MovedColumnsAndRowsTakeTheirCells) {
    std::vector<std::pair<int, int>> Moves;
    Grid->OnColumnMoved = [&](TObject*, int From, int To) { Moves.emplace_back(From, To); };
    Grid->OnRowMoved = [&](TObject*, int From, int To) { Moves.emplace_back(-From, -To); };
    for (int C = 1; C < 5; ++C)
        Grid->SetCells(C, 1, AnsiString(1, static_cast<char>('a' + C)));
    Grid->SetCells(1, 2, "r2");
    Grid->SetCells(1, 3, "r3");
    Grid->MoveColumn(1, 3);
    EXPECT_EQ(Grid->Rows(1)->Get(1) + Grid->Rows(1)->Get(2) + Grid->Rows(1)->Get(3) +
                  Grid->Rows(1)->Get(4),
              AnsiString("cdbe"));
    EXPECT_EQ(Grid->Cells(3, 2), AnsiString("r2"));
    Grid->MoveRow(2, 3);
    EXPECT_EQ(Grid->Cells(3, 3), AnsiString("r2"));
    EXPECT_EQ(Grid->Cells(3, 2), AnsiString("r3"));
    EXPECT_EQ(Moves, (std::vector<std::pair<int, int>>{{1, 3}, {-2, -3}}));
}

TEST_F(StringGridReading, TypingWritesTheCellAndWritingReloadsTheEditor) {
    std::vector<AnsiString> Set;
    Grid->OnSetEditText = [&](TObject*, int, int, const AnsiString& V) { Set.push_back(V); };
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    Grid->SetCells(1, 1, "ab");
    Grid->SetCol(1);
    Grid->SetRow(1);
    Grid->SetEditorMode(true);
    ASSERT_NE(Grid->InplaceEditor(), nullptr);
    EXPECT_EQ(Grid->InplaceEditor()->Text(), AnsiString("ab"));
    Grid->InplaceEditor()->SetSelStart(2);
    Grid->InplaceEditor()->Perform(WM_CHAR, 'c', 0);
    EXPECT_EQ(Grid->Cells(1, 1), AnsiString("abc"));
    ASSERT_FALSE(Set.empty());
    EXPECT_EQ(Set.back(), AnsiString("abc"));
    EXPECT_EQ(Grid->InplaceEditor()->SelStart(), 3);

    // The same text again writes nothing but still reports.
    const std::size_t Before = Set.size();
    Grid->SetEditText(1, 1, "abc");
    EXPECT_EQ(Set.size(), Before + 1);

    Grid->SetCells(1, 1, "from program");
    EXPECT_EQ(Grid->InplaceEditor()->Text(), AnsiString("from program"));
}

TEST_F(StringGridReading, DefaultDrawingPutsTheTextInTheCell) {
    // Away from the current cell, which carries the focus frame.
    const TRect R = Grid->CellRect(3, 2);
    auto Shoot = [&] {
        auto Shot = std::make_unique<TBitmap>();
        Shot->SetSize(Grid->Width(), Grid->Height());
        Grid->PaintTo(Shot->Canvas());
        return Shot;
    };
    const auto Empty = Shoot();
    Grid->SetCells(3, 2, "WWWW");
    const auto Written = Shoot();
    int Ink = 0, InkOutsideText = 0;
    for (int Y = R.Top - 1; Y <= R.Bottom; ++Y)
        for (int X = R.Left - 1; X <= R.Right; ++X)
            if (Written->Canvas()->Pixels(X, Y) != Empty->Canvas()->Pixels(X, Y)) {
                ++Ink;
                if (X < R.Left + 2 || Y < R.Top + 2 || X >= R.Right || Y >= R.Bottom)
                    ++InkOutsideText;
            }
    EXPECT_GT(Ink, 10);
    EXPECT_EQ(InkOutsideText, 0);
}

using DrawGridReading = gridtest::GridOnForm<gridtest::TProbeDrawGrid>;

TEST_F(DrawGridReading, EventsSupplyEditTextMaskAndGuardSelection) {
    Grid->OnGetEditText = [](TObject*, int C, int R, AnsiString& S) {
        S = "text " + std::to_string(C) + std::to_string(R);
    };
    Grid->OnGetEditMask = [](TObject*, int, int, AnsiString& S) { S = "###"; };
    EXPECT_EQ(Grid->GetEditText(2, 3), AnsiString("text 23"));
    EXPECT_EQ(Grid->GetEditMask(2, 3), AnsiString("###"));

    Grid->OnSelectCell = [](TObject*, int C, int, bool& Can) { Can = C != 2; };
    Grid->SetCol(1);
    Key(VK_RIGHT);
    EXPECT_EQ(Grid->Col(), 1);
    Grid->OnSelectCell = nullptr;
    Key(VK_RIGHT);
    EXPECT_EQ(Grid->Col(), 2);

    int Scrolled = 0;
    Grid->OnTopLeftChanged = [&](TObject*) { ++Scrolled; };
    Grid->SetRowCount(100);
    Grid->SetTopRow(10);
    EXPECT_EQ(Scrolled, 1);

    const TRect R = Grid->CellRect(2, 12);
    int C = -5, Row = -5;
    Grid->MouseToCell(R.Left + 1, R.Top + 1, C, Row);
    EXPECT_EQ(C, 2);
    EXPECT_EQ(Row, 12);
}

TEST_F(DrawGridReading, RightToLeftCellsArriveWhereTheyShow) {
    Grid->SetBiDiMode(bdRightToLeft);
    TRect Corner{};
    Grid->OnDrawCell = [&](TObject*, int C, int R, TRect Rect, TGridDrawState) {
        if (C == 0 && R == 0) {
            Corner = Rect;
            Grid->Canvas()->Brush()->SetColor(clRed);
            Grid->Canvas()->FillRect(Rect);
        }
    };
    TBitmap Shot;
    Shot.SetSize(Grid->Width(), Grid->Height());
    Grid->PaintTo(Shot.Canvas());
    const int W = Grid->ClientWidth();
    EXPECT_EQ(Corner.Right, W);
    EXPECT_EQ(Corner.Left, W - Grid->ColWidths(0));
    const int Dx = (Grid->Width() - W) / 2;
    EXPECT_EQ(Shot.Canvas()->Pixels(Dx + W - 5, Dx + 5), clRed);
    EXPECT_NE(Shot.Canvas()->Pixels(Dx + 5, Dx + 5), clRed);
}

} // namespace
