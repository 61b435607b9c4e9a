// The cell store against a plain map of cells, over random edits: texts
// that grow, shrink and change type in place, rows and columns deleted,
// rows copied to the backup row and back, far row numbers, and the copies
// an Assign and a stream round trip make.
#include "grid/foundation/CellStore.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace grid;

namespace {

struct TCell {
    TgxValueType Type;
    std::string Text; // a text cell's text
    int Number = 0;   // an integer cell's value
};

// Row, column -> cell; a cell that reads as nothing is not in the map.
using TModel = std::map<std::pair<int, int>, TCell>;

// The rows the edits touch: both sides of a page boundary, the backup row,
// and two far rows.
constexpr int NearRows = 150;
const int FarRows[] = {5000, 70001};
constexpr int MaxCol = 14;

class TStoreModel {
public:
    std::mt19937 Random;
    Tgx2DStorage Store{0, 0};
    TModel Cells;
    // Every row a cell was ever written to, moved as deletes move rows: the
    // store can hold cells nowhere else.
    std::set<int> Touched;

    explicit TStoreModel(unsigned Seed) : Random(Seed) {}

    int Pick(int Low, int High) { return std::uniform_int_distribution<int>(Low, High)(Random); }

    int AnyRow() {
        if (Pick(0, 19) == 0) return FarRows[Pick(0, 1)];
        return Pick(0, NearRows);
    }

    std::string AnyText() {
        std::string Text(static_cast<std::size_t>(Pick(0, 3) == 0 ? Pick(20, 70) : Pick(0, 18)),
                         'a');
        for (char& C : Text)
            C = static_cast<char>('a' + Pick(0, 25));
        return Text;
    }

    void SetCell(int Col, int Row) {
        Touched.insert(Row);
        const int Kind = Pick(0, 9);
        if (Kind <= 4) {
            const TgxValueType Type = Kind == 4 ? vtpPictureName : vtpString;
            const std::string Text = AnyText();
            Store.SetValue(Col, Row, Type, Variant(AnsiString(Text)));
            Cells[{Row, Col}] = {Type, Text};
        } else if (Kind <= 6) {
            const int Number = Pick(-100000, 100000);
            Store.SetValue(Col, Row, vtpInteger, Variant(Number));
            Cells[{Row, Col}] = {vtpInteger, {}, Number};
        } else if (Kind == 7) {
            Store.SetValue(Col, Row, vtpNull, Variant(1));
            Cells[{Row, Col}] = {vtpNull, {}};
        } else if (Kind == 8) {
            Store.SetValue(Col, Row, vtpString, Unassigned());
            Cells.erase({Row, Col});
        } else {
            Store.ClearValue(Col, Row);
            Cells.erase({Row, Col});
        }
    }

    // Rows (or columns) First..Last go; the later ones move down.
    void DeleteFromModel(int First, int Last, bool Rows) {
        TModel Kept;
        const int Removed = Last - First + 1;
        for (const auto& [Key, Cell] : Cells) {
            auto [Row, Col] = Key;
            int& Index = Rows ? Row : Col;
            if (Index >= First && Index <= Last) continue;
            if (Index > Last) Index -= Removed;
            Kept[{Row, Col}] = Cell;
        }
        Cells = std::move(Kept);
        if (!Rows) return;
        std::set<int> Moved;
        for (int Row : Touched)
            if (Row < First || Row > Last) Moved.insert(Row > Last ? Row - Removed : Row);
        Touched = std::move(Moved);
    }

    void ClearRowInModel(int Row) {
        for (auto Cell = Cells.lower_bound({Row, 0}); Cell != Cells.end() && Cell->first.first == Row;)
            Cell = Cells.erase(Cell);
    }

    void CopyRowInModel(int From, int To) {
        ClearRowInModel(To);
        Touched.insert(To);
        TModel Copied;
        for (auto Cell = Cells.lower_bound({From, 0});
             Cell != Cells.end() && Cell->first.first == From; ++Cell)
            Copied[{To, Cell->first.second}] = Cell->second;
        Cells.merge(Copied);
    }

    void Edit() {
        const int Kind = Pick(0, 99);
        if (Kind < 80) {
            SetCell(Pick(1, MaxCol), AnyRow());
        } else if (Kind < 84) {
            const int First = Pick(0, NearRows);
            const int Last = First + Pick(0, Pick(0, 3) == 0 ? 80 : 4);
            // Rows past the store's end are not there to delete.
            if (First < Store.AllocRows()) {
                if (First == 0) return; // the backup row is not a data row
                Store.DeleteRows(First, Last);
                DeleteFromModel(First, Last, true);
            }
        } else if (Kind < 88) {
            const int First = Pick(1, MaxCol);
            const int Last = First + Pick(0, 3);
            Store.DeleteCols(First, Last);
            DeleteFromModel(First, Last, false);
        } else if (Kind < 92) {
            const int Row = Pick(1, NearRows);
            if (Store.AllocRows() == 0) return;
            if (Pick(0, 1) == 0) {
                Store.BackupRow(Row);
                CopyRowInModel(Row, 0);
            } else if (Row < Store.AllocRows()) {
                Store.RestoreBackupRow(Row);
                CopyRowInModel(0, Row);
                ClearRowInModel(0); // the backup is used up
            }
        } else if (Kind < 95) {
            const int Row = AnyRow();
            Store.ClearRow(Row, Pick(0, 1) == 0 ? 0 : -1);
            ClearRowInModel(Row);
        } else if (Kind < 97) {
            const int Col = Pick(1, MaxCol);
            Store.ClearCol(Col);
            for (auto Cell = Cells.begin(); Cell != Cells.end();)
                Cell = Cell->first.second == Col && Cell->first.first >= 1 ? Cells.erase(Cell)
                                                                           : std::next(Cell);
        } else if (Kind < 98) {
            if (Pick(0, 3) == 0) {
                // Everything goes, and the store starts again.
                Store.Clear(0, true);
                Cells.clear();
                return;
            }
            const int First = Pick(2, NearRows);
            Store.Clear(First, false);
            Cells.erase(Cells.lower_bound({First, 0}), Cells.end());
        } else {
            // Every row on both sides of a page boundary at once.
            for (int Row = 60; Row <= 70; ++Row)
                SetCell(Pick(1, MaxCol), Row);
        }
    }
};

void ExpectSame(const Tgx2DStorage& Store, const TModel& Cells, const std::set<int>& Touched,
                bool WithBackup) {
    std::set<int> Rows = Touched;
    for (int Row = 0; Row <= NearRows + 1; ++Row)
        Rows.insert(Row);
    if (!WithBackup) Rows.erase(0);
    for (int Row : Rows) {
        int MaxSet = 0;
        for (int Col = 1; Col <= MaxCol + 1; ++Col) {
            const auto Found = Cells.find({Row, Col});
            const TgxValueType Type = Found == Cells.end() ? vtpNone : Found->second.Type;
            ASSERT_EQ(Store.GetValueType(Col, Row), Type) << "row " << Row << ", column " << Col;
            if (Type != vtpNone) MaxSet = Col;
            const Variant Value = Store.GetValue(Col, Row);
            switch (Type) {
            case vtpString:
            case vtpPictureName:
                ASSERT_EQ(Value.AsString(), Found->second.Text) << Row << "," << Col;
                break;
            case vtpInteger:
                ASSERT_EQ(Value.AsInteger(), Found->second.Number) << Row << "," << Col;
                break;
            case vtpNull:
                ASSERT_TRUE(Value.IsNull());
                break;
            default:
                ASSERT_TRUE(Value.IsEmpty());
            }
        }
        ASSERT_EQ(Store.MaxColValueSet(Row), MaxSet) << "row " << Row;
    }
}

TModel DataRows(const TModel& Cells) {
    return TModel(Cells.lower_bound({1, 0}), Cells.end());
}

// The "Data" stream keeps a null cell's type but reads it back as nothing.
TModel Streamed(const TModel& Cells) {
    TModel Kept = DataRows(Cells);
    std::erase_if(Kept, [](const auto& Cell) { return Cell.second.Type == vtpNull; });
    return Kept;
}

} // namespace

TEST(CellStoreModel, RandomEditsReadBackAsAPlainMapOfCells) {
    for (unsigned Seed = 1; Seed <= 6; ++Seed) {
        SCOPED_TRACE(Seed);
        TStoreModel M(Seed);
        for (int Step = 1; Step <= 3000; ++Step) {
            M.Edit();
            if (Step % 250 == 0) {
                ASSERT_NO_FATAL_FAILURE(ExpectSame(M.Store, M.Cells, M.Touched, true)) << "step " << Step;
            }
        }
        // A copy holds the same data rows, and so does the store read back
        // from its own stream.
        Tgx2DStorage Copy(0, 0);
        Copy.Assign(&M.Store);
        ASSERT_NO_FATAL_FAILURE(ExpectSame(Copy, DataRows(M.Cells), M.Touched, false));
        TMemoryStream Stream;
        M.Store.SaveToStream(&Stream);
        Stream.SetPosition(0);
        Tgx2DStorage Read(0, 0);
        Read.LoadFromStream(&Stream, nullptr);
        ASSERT_NO_FATAL_FAILURE(ExpectSame(Read, Streamed(M.Cells), M.Touched, false));
    }
}
