// The base grid's model: defaults, counts and their errors, extents, moves,
// size changes and the stored extents.
#include "BaseGridFixture.h"

#include "platform/classes/Filer.h"
#include "platform/rtl/Streams.h"

#include <functional>
#include <string>

namespace gridtest {
namespace {

using BaseGridModel = GridOnForm<>;

TEST_F(BaseGridModel, NewGridHasItsDefaults) {
    TDrawGrid_ts Fresh(nullptr);
    EXPECT_EQ(Fresh.ColCount(), 5);
    EXPECT_EQ(Fresh.RowCount(), 5);
    EXPECT_EQ(Fresh.FixedCols(), 1);
    EXPECT_EQ(Fresh.FixedRows(), 1);
    EXPECT_EQ(Fresh.Col(), 1);
    EXPECT_EQ(Fresh.Row(), 1);
    EXPECT_EQ(Fresh.LeftCol(), 1);
    EXPECT_EQ(Fresh.TopRow(), 1);
    EXPECT_EQ(Fresh.Width(), 320);
    EXPECT_EQ(Fresh.Height(), 120);
    EXPECT_EQ(Fresh.Options(), DefaultGridOptions);
    EXPECT_EQ(Fresh.Options().Bits(), 0x1Fu);
    EXPECT_EQ(Fresh.GridState(), gsNormal);
    EXPECT_EQ(Fresh.InplaceEditor(), nullptr);
}

TEST_F(BaseGridModel, CountErrorsAndCorrections) {
    struct TCase {
        const char* Name;
        std::function<void(TDrawGrid_ts&)> Act;
        const char* Message; // nullptr: no error
    };
    const TCase Cases[] = {
        {"fixed cols = count", [](TDrawGrid_ts& G) { G.SetFixedCols(5); },
         "Fixed column count must be less than column count"},
        {"fixed rows = count", [](TDrawGrid_ts& G) { G.SetFixedRows(5); },
         "Fixed row count must be less than row count"},
        {"negative fixed cols", [](TDrawGrid_ts& G) { G.SetFixedCols(-1); },
         "Grid index out of range"},
        {"width beyond count", [](TDrawGrid_ts& G) { G.SetColWidths(5, 10); },
         "Grid index out of range"},
        {"negative width read", [](TDrawGrid_ts& G) { (void)G.ColWidths(-1); },
         "Grid index out of range"},
        {"current off the grid", [](TDrawGrid_ts& G) { G.MoveCurrent(5, 1, true, true); },
         "Grid index out of range"},
    };
    for (const TCase& C : Cases) {
        TDrawGrid_ts G(nullptr);
        try {
            C.Act(G);
            ADD_FAILURE() << C.Name << ": no error";
        } catch (const EInvalidGridOperation& E) {
            EXPECT_EQ(std::string(E.Message), C.Message) << C.Name;
        }
    }
    TDrawGrid_ts G(nullptr);
    G.SetColCount(0);
    EXPECT_EQ(G.ColCount(), 1);
    EXPECT_EQ(G.FixedCols(), 0);
}

TEST_F(BaseGridModel, ExtentArraysAppearOnFirstSetAndGoWithTheDefault) {
    Grid->SetColWidths(2, 100);
    EXPECT_EQ(Grid->StoredColWidths(), (std::vector<std::int32_t>{64, 64, 100, 64, 64}));
    EXPECT_TRUE(Grid->ColWidthsStored(nullptr));
    // Reads at or past the count give the default.
    EXPECT_EQ(Grid->ColWidths(5), 64);
    Grid->SetDefaultColWidth(30);
    EXPECT_EQ(Grid->StoredColWidths(), (std::vector<std::int32_t>(5, 30)));
    EXPECT_FALSE(Grid->ColWidthsStored(nullptr));
    EXPECT_FALSE(Grid->RowHeightsStored(nullptr));

    // Against an ancestor: stored only where the arrays differ.
    TDrawGrid_ts Ancestor(nullptr);
    EXPECT_FALSE(Grid->ColWidthsStored(&Ancestor));
    Grid->SetColWidths(1, 31);
    EXPECT_TRUE(Grid->ColWidthsStored(&Ancestor));
    Ancestor.SetColWidths(1, 31);
    Ancestor.SetColWidths(0, 64);
    EXPECT_TRUE(Grid->ColWidthsStored(&Ancestor)); // 30 against 64 in the others

    // A stored list must match the column count.
    TDrawGrid_ts Copy(nullptr);
    Copy.SetDefaultColWidth(30);
    Copy.LoadColWidths(Grid->StoredColWidths());
    EXPECT_EQ(Copy.ColWidths(1), 31);
    EXPECT_THROW(Copy.LoadColWidths({1, 2, 3}), EReadError);
}

// Collects the properties a grid defines, to write and read them by hand.
class TCollectingFiler : public TFiler {
public:
    TCollectingFiler() : TFiler(nullptr) {}
    struct TDefined {
        AnsiString Name;
        TReaderProc Read;
        TWriterProc Write;
        bool HasData;
    };
    std::vector<TDefined> Defined;
    void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData,
                        const TWriterProc& WriteData, bool HasData) override {
        Defined.push_back({Name, ReadData, WriteData, HasData});
    }
    void DefineBinaryProperty(const AnsiString&, const TStreamProc&, const TStreamProc&,
                              bool) override {}
};

struct TStreamingGrid : TProbeDrawGrid {
    using TProbeDrawGrid::TProbeDrawGrid;
    using TProbeDrawGrid::DefineProperties;
};

TEST_F(BaseGridModel, ExtentsGoThroughTheStreamAsListsAndComeBack) {
    TStreamingGrid Source(nullptr), Target(nullptr);
    Source.SetRowHeights(3, 40);
    TCollectingFiler Filer;
    Source.DefineProperties(&Filer);
    ASSERT_EQ(Filer.Defined.size(), 2u);
    EXPECT_EQ(Filer.Defined[0].Name, "ColWidths");
    EXPECT_FALSE(Filer.Defined[0].HasData); // no width was ever set
    EXPECT_TRUE(Filer.Defined[1].HasData);

    TMemoryStream Stream;
    {
        TWriter Writer(&Stream);
        Filer.Defined[1].Write(&Writer);
    }
    TCollectingFiler TargetFiler;
    Target.DefineProperties(&TargetFiler);
    Stream.SetPosition(0);
    {
        TReader Reader(&Stream);
        TargetFiler.Defined[1].Read(&Reader);
    }
    EXPECT_EQ(Target.StoredRowHeights(), (std::vector<std::int32_t>{24, 24, 24, 40, 24}));

    // A list longer than the grid's rows is refused before it is all read.
    Target.SetRowCount(3);
    Stream.SetPosition(0);
    TReader Reader(&Stream);
    EXPECT_THROW(TargetFiler.Defined[1].Read(&Reader), EReadError);
}

TEST_F(BaseGridModel, WrittenAsADescendantOnlyExtentsThatDifferAreStored) {
    using TSetUp = std::function<void(TDrawGrid_ts&)>;
    const TSetUp None = [](TDrawGrid_ts&) {};
    const TSetUp Wide = [](TDrawGrid_ts& G) { G.SetColWidths(2, 100); };
    struct TCase {
        const char* Name;
        TSetUp Ancestor, Descendant;
        bool Widths, Heights; // stored
    };
    const TCase Cases[] = {
        {"neither has extents", None, None, false, false},
        {"the same width", Wide, Wide, false, false},
        {"another width", Wide, [](TDrawGrid_ts& G) { G.SetColWidths(2, 90); }, true, false},
        {"only the ancestor has widths", Wide, None, true, false},
        {"only the descendant has widths", None, Wide, true, false},
        {"a height differs", Wide,
         [&](TDrawGrid_ts& G) {
             Wide(G);
             G.SetRowHeights(4, 30);
         },
         false, true},
    };
    for (const TCase& C : Cases) {
        TDrawGrid_ts Ancestor(nullptr), Descendant(nullptr), Loaded(nullptr);
        for (TDrawGrid_ts* G : {&Ancestor, &Descendant, &Loaded})
            G->SetName("Grid");
        C.Ancestor(Ancestor);
        C.Descendant(Descendant);
        TMemoryStream Base, Delta;
        WriteComponentRes(&Base, &Ancestor);
        {
            TWriter Writer(&Delta);
            Writer.WriteSignature();
            Writer.WriteDescendent(&Descendant, &Ancestor);
        }
        const std::string Bytes(static_cast<const char*>(Delta.Memory()),
                                static_cast<std::size_t>(Delta.GetSize()));
        EXPECT_EQ(Bytes.find("ColWidths") != std::string::npos, C.Widths) << C.Name;
        EXPECT_EQ(Bytes.find("RowHeights") != std::string::npos, C.Heights) << C.Name;
        // The ancestor's stream and then the descendant's give the descendant.
        Base.SetPosition(0);
        ReadComponentRes(&Base, &Loaded);
        Delta.SetPosition(0);
        ReadComponentRes(&Delta, &Loaded);
        EXPECT_EQ(Loaded.StoredColWidths(), Descendant.StoredColWidths()) << C.Name;
        EXPECT_EQ(Loaded.StoredRowHeights(), Descendant.StoredRowHeights()) << C.Name;
    }
}

TEST_F(BaseGridModel, TabStopsDefaultToTrueAndFollowTheArray) {
    EXPECT_TRUE(Grid->TabStops(3));
    Grid->SetTabStops(3, false);
    EXPECT_FALSE(Grid->TabStops(3));
    EXPECT_TRUE(Grid->TabStops(2));
    EXPECT_THROW(Grid->SetTabStops(5, true), EInvalidGridOperation);
}

TEST_F(BaseGridModel, ShrinkingRowCountBelowTheCurrentRowMovesItToTheLastRow) {
    Grid->SetRowCount(10);
    Grid->SetRow(8);
    Grid->SetRowCount(4);
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_EQ(Grid->Anchor().Y, 3);
}

TEST_F(BaseGridModel, MovingAColumnCarriesItsWidthTabStopAndTheCoordinates) {
    Grid->SetColWidths(1, 11);
    Grid->SetTabStops(1, false);
    Grid->SetCol(2);
    std::vector<std::pair<int, int>> Moves;
    Grid->OnColumnMoved = [&](TObject*, int From, int To) { Moves.emplace_back(From, To); };
    Grid->MoveColumn(1, 3);
    EXPECT_EQ(Grid->StoredColWidths(), (std::vector<std::int32_t>{64, 64, 64, 11, 64}));
    EXPECT_FALSE(Grid->TabStops(3));
    EXPECT_TRUE(Grid->TabStops(1));
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Moves, (std::vector<std::pair<int, int>>{{1, 3}}));
    // Back the other way: the current column 1 moves up again.
    Grid->MoveColumn(3, 1);
    EXPECT_EQ(Grid->Col(), 2);
    // A move onto itself is no move and reports none.
    Grid->MoveColumn(2, 2);
    EXPECT_EQ(Moves.size(), 2u);

    Grid->SetRow(3);
    Grid->MoveRow(3, 1);
    EXPECT_EQ(Grid->Row(), 1);
    Grid->DeleteColumn(1);
    EXPECT_EQ(Grid->ColCount(), 4);
}

TEST_F(BaseGridModel, DeleteRowRemovesItsHeightAndKeepsTheOthers) {
    Grid->SetRowHeights(2, 40);
    Grid->SetRowHeights(3, 50);
    Grid->DeleteRow(2);
    EXPECT_EQ(Grid->RowCount(), 4);
    EXPECT_EQ(Grid->StoredRowHeights(), (std::vector<std::int32_t>{24, 24, 50, 24}));
}

TEST_F(BaseGridModel, InsertingAndDeletingKeepTheSizesOfTheCellsAfter) {
    Grid->SetColCount(6);
    Grid->SetColWidths(4, 44);
    Grid->SetColWidths(5, 55);
    Grid->SetCol(5);
    Grid->AdjustSize(2, 1, false); // one column in at 2
    EXPECT_EQ(Grid->ColCount(), 7);
    EXPECT_EQ(Grid->StoredColWidths(), (std::vector<std::int32_t>{64, 64, 64, 64, 64, 44, 55}));
    EXPECT_EQ(Grid->Col(), 6); // the current column moved with its cells
    Grid->AdjustSize(5, -2, false); // the last two out, the current among them
    EXPECT_EQ(Grid->StoredColWidths(), (std::vector<std::int32_t>{64, 64, 64, 64, 64}));
    EXPECT_EQ(Grid->Col(), 4); // kept on the grid
    EXPECT_THROW(Grid->AdjustSize(2, -4, false), EInvalidGridOperation);
}

TEST_F(BaseGridModel, OptionsRowSelectDropsAlwaysShowEditorAndSpansTheRow) {
    Grid->SetOptions(DefaultGridOptions + TGridOptions{goRowSelect, goAlwaysShowEditor});
    EXPECT_FALSE(Grid->Options().Contains(goAlwaysShowEditor));
    EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 4, 1}));
}

} // namespace
} // namespace gridtest
