// A shown grid driven by a long sequence of public operations (inserting,
// deleting, moving and hiding columns and rows, count and fixed-count
// changes, scrolling, typing through real key events, selecting and
// deleting what is selected), checked after every step against a plain
// model. The model knows, per display
// position, the data column and row shown there, which data columns and
// rows are hidden, every value, and the data numbers of the current cell;
// each operation changes the model the way the grid promises to change.
#include "grid/fuzz/FuzzTargets.h"

#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"
#include "grid/model/InplaceControl.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <sstream>
#include <vector>

namespace grid::fuzz {

namespace {

// The operations' choices, taken from the bytes; 0 once they run out.
class TChoices {
public:
    TChoices(const std::uint8_t* Data, std::size_t Size) : FData(Data), FSize(Size) {}
    bool More() const { return FAt < FSize; }
    int Pick(int Low, int High) {
        const int Byte = FAt < FSize ? FData[FAt++] : 0;
        return High <= Low ? Low : Low + Byte % (High - Low + 1);
    }

private:
    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FAt = 0;
};

// One axis of the model: the data number at each display position
// (position 0 is the row bar or the heading) and which data numbers are
// shown.
struct TAxis {
    std::vector<int> Order{0};
    std::vector<bool> Shown{true};

    int Count() const { return static_cast<int>(Order.size()) - 1; }
    int Position(int Data) const {
        return static_cast<int>(std::find(Order.begin(), Order.end(), Data) - Order.begin());
    }
    bool ShownAt(int P) const { return Shown[static_cast<std::size_t>(Order[static_cast<std::size_t>(P)])]; }
    int VisibleCount() const {
        int N = 0;
        for (int P = 1; P <= Count(); ++P)
            N += ShownAt(P) ? 1 : 0;
        return N;
    }
    // The data number of the first shown one at or after position From,
    // else of the last shown one before it; 0 when none is shown.
    int Nearest(int From) const {
        for (int P = std::max(From, 1); P <= Count(); ++P)
            if (ShownAt(P)) return Order[static_cast<std::size_t>(P)];
        for (int P = std::min(From - 1, Count()); P >= 1; --P)
            if (ShownAt(P)) return Order[static_cast<std::size_t>(P)];
        return 0;
    }
    int NextShown(int Data, int Step) const {
        for (int P = Position(Data) + Step; P >= 1 && P <= Count(); P += Step)
            if (ShownAt(P)) return Order[static_cast<std::size_t>(P)];
        return 0;
    }
    void Append(int AtPosition) {
        Order.insert(Order.begin() + AtPosition, Count() + 1);
        Shown.push_back(true);
    }
    // Takes the given data numbers out; later ones close up.
    void Remove(const std::vector<int>& Gone) {
        std::erase_if(Order, [&](int D) { return D > 0 && std::ranges::count(Gone, D) > 0; });
        for (int& D : Order)
            D -= static_cast<int>(std::ranges::count_if(Gone, [D](int G) { return G < D; }));
        std::vector<bool> Kept;
        for (int D = 0; D < static_cast<int>(Shown.size()); ++D)
            if (std::ranges::count(Gone, D) == 0) Kept.push_back(Shown[static_cast<std::size_t>(D)]);
        Shown = Kept;
    }
    void Move(int Data, int To) {
        std::erase(Order, Data);
        Order.insert(Order.begin() + To, Data);
    }
};

class TWalk {
public:
    explicit TWalk(TChoices& Choices) : FChoices(Choices) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        EnsureQtApplication();
        FForm = std::make_unique<TForm>(nullptr);
        FForm->SetBounds(20, 20, 640, 420);
        FGrid = new TgxGrid(FForm.get());
        FGrid->SetParent(FForm.get());
        FGrid->SetBounds(0, 0, 400, 300);
        FGrid->SetStoreData(true);
        FGrid->SetGridColCount(5);
        FGrid->SetGridRowCount(8);
        for (int C = 1; C <= 5; ++C)
            FCols.Append(C);
        for (int R = 1; R <= 8; ++R)
            FRows.Append(R);
        FValues.assign(9, std::vector<std::string>(6));
        for (int R = 1; R <= 8; ++R)
            for (int C = 1; C <= 5; ++C)
                SetValue(C, R, Token());
        ShowActive(*FForm);
        FGrid->SetFocus();
        QApplication::processEvents();
        FCol = FGrid->GetCurrentDataCol();
        FRow = FGrid->GetCurrentDataRow();
    }

    bool More() const { return FChoices.More(); }

    void Step() {
        switch (FChoices.Pick(0, 17)) {
        case 0: InsertCol(); break;
        case 1: InsertRow(); break;
        case 2: DeleteCols(); break;
        case 3: DeleteRows(); break;
        case 4: MoveCol(); break;
        case 5: MoveRow(); break;
        case 6: HideCol(); break;
        case 7: HideRow(); break;
        case 8: ColCount(); break;
        case 9: RowCount(); break;
        case 10: FixedCount(); break;
        case 11: Scroll(); break;
        case 12:
        case 13: TypeText(); break;
        case 14: UpOrDown(); break;
        case 15: DeleteSelected(true); break;
        case 16: DeleteSelected(false); break;
        default: GoTo(); break;
        }
        FGrid->Update();
        QApplication::processEvents();
    }

    // The first difference between grid and model, empty when none.
    std::string Difference() {
        std::ostringstream Out;
        if (FGrid->GetGridColCount() != FCols.Count() || FGrid->GetGridRowCount() != FRows.Count()) {
            Out << "counts " << FGrid->GetGridColCount() << "x" << FGrid->GetGridRowCount()
                << ", model " << FCols.Count() << "x" << FRows.Count();
            return Out.str();
        }
        for (int P = 1; P <= FCols.Count(); ++P) {
            const int D = FCols.Order[static_cast<std::size_t>(P)];
            if (FGrid->GetDataCol(P) != D) return Said(Out << "data column at " << P);
            if (FGrid->GridCols()->Item(D)->Visible() != FCols.Shown[static_cast<std::size_t>(D)])
                return Said(Out << "visibility of column " << D);
        }
        for (int P = 1; P <= FRows.Count(); ++P) {
            const int D = FRows.Order[static_cast<std::size_t>(P)];
            if (FGrid->GetDataRow(P) != D) return Said(Out << "data row at " << P);
            if (FGrid->IsRowVisible(D) != FRows.Shown[static_cast<std::size_t>(D)])
                return Said(Out << "visibility of row " << D);
        }
        for (int R = 1; R <= FRows.Count(); ++R)
            for (int C = 1; C <= FCols.Count(); ++C)
                if (Stored(C, R) != FValues[static_cast<std::size_t>(R)][static_cast<std::size_t>(C)])
                    return Said(Out << "value at " << C << "," << R << ": \"" << Stored(C, R)
                                    << "\", model \""
                                    << FValues[static_cast<std::size_t>(R)][static_cast<std::size_t>(C)]
                                    << "\"");
        if (std::string Taken = Adopt(); !Taken.empty()) return Taken;
        if (FCols.VisibleCount() > 0 && FRows.VisibleCount() > 0 &&
            (FGrid->GetCurrentDataCol() != FCol || FGrid->GetCurrentDataRow() != FRow))
            return Said(Out << "current cell " << FGrid->GetCurrentDataCol() << ","
                            << FGrid->GetCurrentDataRow() << ", model " << FCol << "," << FRow);
        if (FGrid->ColCount() > FGrid->FixedCols() &&
            (FGrid->LeftCol() < FGrid->FixedCols() || FGrid->LeftCol() >= FGrid->ColCount()))
            return Said(Out << "left column " << FGrid->LeftCol());
        if (FGrid->RowCount() > FGrid->FixedRows() &&
            (FGrid->TopRow() < FGrid->FixedRows() || FGrid->TopRow() >= FGrid->RowCount()))
            return Said(Out << "top row " << FGrid->TopRow());
        if (FGrid->ColSelection().Count() == 0 && FGrid->RowSelection().Count() == 0 &&
            FGrid->GridStatus() != grNormal)
            return Said(Out << "status " << static_cast<int>(FGrid->GridStatus())
                            << " without a selection");
        return {};
    }

    std::string History() const {
        std::string All;
        for (const std::string& Line : FHistory)
            All += "  " + Line + "\n";
        return All;
    }

private:
    static std::string Said(std::ostream& Out) { return static_cast<std::ostringstream&>(Out).str(); }
    void Note(const std::string& What) {
        FHistory.push_back(What);
        if (FHistory.size() > 40) FHistory.pop_front();
    }
    std::string Token() { return "v" + std::to_string(++FNext); }
    void SetValue(int C, int R, const std::string& V) {
        FGrid->SetCellValue(C, R, Variant(AnsiString(V)));
        FValues[static_cast<std::size_t>(R)][static_cast<std::size_t>(C)] = V;
    }
    std::string Stored(int C, int R) {
        const Variant V = FGrid->GetCellValue(C, R);
        return V.IsEmpty() || V.IsNull() ? std::string() : std::string(V.AsString());
    }
    // A grid without a shown cell has no current cell; once it has one
    // again, any shown cell may take it (the model takes the grid's).
    void Settle() {
        if (FCols.VisibleCount() == 0 || FRows.VisibleCount() == 0) {
            FCol = FRow = 0;
            FAdopt = true;
        }
    }
    std::string Adopt() {
        if (!FAdopt || FCols.VisibleCount() == 0 || FRows.VisibleCount() == 0) return {};
        FAdopt = false;
        FCol = FGrid->GetCurrentDataCol();
        FRow = FGrid->GetCurrentDataRow();
        if (FCol < 1 || FCol > FCols.Count() || FRow < 1 || FRow > FRows.Count() ||
            !FCols.Shown[static_cast<std::size_t>(FCol)] || !FRows.Shown[static_cast<std::size_t>(FRow)])
            return "current cell " + std::to_string(FCol) + "," + std::to_string(FRow) +
                   " is no shown cell";
        return {};
    }

    void InsertCol() {
        const int P = FChoices.Pick(1, FCols.Count() + 1);
        Note("InsertCol(" + std::to_string(P) + ")");
        FGrid->InsertCol(P);
        FCols.Append(P);
        for (auto& Row : FValues)
            Row.emplace_back();
        Settle();
    }
    void InsertRow() {
        const int P = FChoices.Pick(1, FRows.Count() + 1);
        Note("InsertRow(" + std::to_string(P) + ")");
        FGrid->InsertRow(P);
        FRows.Append(P);
        FValues.emplace_back(static_cast<std::size_t>(FCols.Count() + 1));
        Settle();
    }

    // The current data number after the data numbers From..To went: the
    // same one renumbered, or the nearest shown one from where it was.
    static int AfterDeletion(TAxis& Axis, int Current, const std::vector<int>& Gone) {
        const bool Deleted = std::ranges::count(Gone, Current) > 0;
        const int Place = Axis.Position(Current);
        const int Left = static_cast<int>(
            std::ranges::count_if(Gone, [&](int D) { return Axis.Position(D) < Place; }));
        const int Before = static_cast<int>(std::ranges::count_if(Gone, [&](int D) { return D < Current; }));
        Axis.Remove(Gone);
        return Deleted ? Axis.Nearest(Place - Left) : Current - Before;
    }
    static std::vector<int> Span(int From, int To) {
        std::vector<int> All;
        for (int D = From; D <= To; ++D)
            All.push_back(D);
        return All;
    }

    void DeleteCols() {
        if (FCols.Count() < 1) return;
        const int From = FChoices.Pick(1, FCols.Count());
        const int To = std::min(FCols.Count(), From + FChoices.Pick(0, 2));
        Note("DeleteCols(" + std::to_string(From) + "," + std::to_string(To) + ")");
        FGrid->DeleteCols(From, To);
        DroppedCols(Span(From, To));
    }
    void DroppedCols(const std::vector<int>& Gone) {
        FCol = AfterDeletion(FCols, FCol, Gone);
        for (auto& Row : FValues)
            for (auto It = Gone.rbegin(); It != Gone.rend(); ++It)
                Row.erase(Row.begin() + *It);
        Settle();
    }
    void DeleteRows() {
        if (FRows.Count() < 1) return;
        const int From = FChoices.Pick(1, FRows.Count());
        const int To = std::min(FRows.Count(), From + FChoices.Pick(0, 2));
        Note("DeleteRows(" + std::to_string(From) + "," + std::to_string(To) + ")");
        FGrid->DeleteRows(From, To);
        DroppedRows(Span(From, To));
    }
    void DroppedRows(const std::vector<int>& Gone) {
        FRow = AfterDeletion(FRows, FRow, Gone);
        for (auto It = Gone.rbegin(); It != Gone.rend(); ++It)
            FValues.erase(FValues.begin() + *It);
        Settle();
    }

    void MoveCol() {
        if (FCols.Count() < 1) return;
        const int D = FChoices.Pick(1, FCols.Count());
        const int P = FChoices.Pick(1, FCols.Count());
        Note("SetDisplayColnr(" + std::to_string(D) + "," + std::to_string(P) + ")");
        FGrid->SetDisplayColnr(D, P);
        FCols.Move(D, P);
    }
    void MoveRow() {
        if (FRows.Count() < 1) return;
        const int D = FChoices.Pick(1, FRows.Count());
        const int P = FChoices.Pick(1, FRows.Count());
        Note("SetDisplayRownr(" + std::to_string(D) + "," + std::to_string(P) + ")");
        FGrid->SetDisplayRownr(D, P);
        FRows.Move(D, P);
    }

    // Hiding never takes the last shown one; a current one hidden moves on
    // to the nearest shown one.
    void HideCol() {
        if (FCols.Count() < 1) return;
        const int D = FChoices.Pick(1, FCols.Count());
        const bool Show = !FCols.Shown[static_cast<std::size_t>(D)];
        if (!Show && FCols.VisibleCount() < 2) return;
        Note("Col " + std::to_string(D) + (Show ? " shown" : " hidden"));
        FGrid->GridCols()->Item(D)->SetVisible(Show);
        FCols.Shown[static_cast<std::size_t>(D)] = Show;
        if (!Show && D == FCol) FCol = FCols.Nearest(FCols.Position(D));
        Settle();
    }
    void HideRow() {
        if (FRows.Count() < 1) return;
        const int D = FChoices.Pick(1, FRows.Count());
        const bool Show = !FRows.Shown[static_cast<std::size_t>(D)];
        if (!Show && FRows.VisibleCount() < 2) return;
        Note("Row " + std::to_string(D) + (Show ? " shown" : " hidden"));
        FGrid->SetRowVisible(D, Show);
        FRows.Shown[static_cast<std::size_t>(D)] = Show;
        if (!Show && D == FRow) FRow = FRows.Nearest(FRows.Position(D));
        Settle();
    }

    void ColCount() {
        const int N = FChoices.Pick(0, FCols.Count() + 2);
        Note("SetGridColCount(" + std::to_string(N) + ")");
        const int Place = FCols.Position(FCol);
        FGrid->SetGridColCount(N);
        if (N < FCols.Count()) {
            FCols.Remove(Span(N + 1, FCols.Count()));
            for (auto& Row : FValues)
                Row.resize(static_cast<std::size_t>(N + 1));
            if (FCol > N) FCol = FCols.Nearest(std::min(Place, N + 1));
        }
        while (FCols.Count() < N) {
            FCols.Append(FCols.Count() + 1);
            for (auto& Row : FValues)
                Row.emplace_back();
        }
        Settle();
    }
    void RowCount() {
        const int N = FChoices.Pick(0, FRows.Count() + 2);
        Note("SetGridRowCount(" + std::to_string(N) + ")");
        const int Place = FRows.Position(FRow);
        FGrid->SetGridRowCount(N);
        if (N < FRows.Count()) {
            FRows.Remove(Span(N + 1, FRows.Count()));
            FValues.resize(static_cast<std::size_t>(N + 1));
            if (FRow > N) FRow = FRows.Nearest(std::min(Place, N + 1));
        }
        while (FRows.Count() < N) {
            FRows.Append(FRows.Count() + 1);
            FValues.emplace_back(static_cast<std::size_t>(FCols.Count() + 1));
        }
        Settle();
    }

    // A changed fixed count puts the current cell on the first scrollable
    // cell: it must be a shown one.
    void FixedCount() {
        const bool Cols = FChoices.Pick(0, 1) == 0;
        const int K = FChoices.Pick(0, 2);
        Note(std::string(Cols ? "SetFixedColCount(" : "SetFixedRowCount(") + std::to_string(K) + ")");
        const int FixedCols = FGrid->FixedCols();
        const int FixedRows = FGrid->FixedRows();
        if (Cols)
            FGrid->SetFixedColCount(K);
        else
            FGrid->SetFixedRowCount(K);
        if (FGrid->FixedCols() != FixedCols || FGrid->FixedRows() != FixedRows) FAdopt = true;
    }

    void Scroll() {
        const int Left = FChoices.Pick(0, FCols.Count());
        const int Top = FChoices.Pick(0, FRows.Count());
        Note("scroll to " + std::to_string(Left) + "," + std::to_string(Top));
        if (FGrid->ColCount() > FGrid->FixedCols() && Left >= FGrid->FixedCols())
            FGrid->SetLeftCol(Left);
        if (FGrid->RowCount() > FGrid->FixedRows() && Top >= FGrid->FixedRows())
            FGrid->SetTopRow(Top);
    }

    QWidget* KeyTarget() {
        QWidget* W = QApplication::focusWidget();
        return W ? W : FGrid->Widget();
    }
    void Press(int Key, Qt::KeyboardModifiers Mods = Qt::NoModifier, const QString& Text = {}) {
        TypeKey(KeyTarget(), Key, Text, Mods);
        QApplication::processEvents();
    }

    // Types a new value into the current cell and leaves it with Tab (or
    // Shift+Tab from the last shown cell): the cell keeps the text.
    void TypeText() {
        if (FCol < 1 || FRow < 1) return;
        const int Next = NextCell(1).first, Prev = NextCell(-1).first;
        if (Next == 0 && Prev == 0) return;
        const std::string Text = "t" + std::to_string(++FNext);
        Note("type " + Text + " in " + std::to_string(FCol) + "," + std::to_string(FRow));
        // The first key opens the editor; the text it holds is then
        // selected, so that the rest of the keys replace it.
        Press(QChar(Text[0]).toUpper().unicode(), Qt::NoModifier, QString(QChar(Text[0])));
        Press(Qt::Key_Home);
        Press(Qt::Key_End, Qt::ShiftModifier);
        for (char C : Text)
            Press(QChar(C).toUpper().unicode(), Qt::NoModifier, QString(QChar(C)));
        FValues[static_cast<std::size_t>(FRow)][static_cast<std::size_t>(FCol)] = Text;
        const bool Back = Next == 0;
        Press(Qt::Key_Tab, Back ? Qt::ShiftModifier : Qt::NoModifier);
        const auto [C, R] = NextCell(Back ? -1 : 1);
        FCol = C;
        FRow = R;
    }
    // The next (Step 1) or previous (-1) shown cell, across rows; {0, 0}
    // when there is none.
    std::pair<int, int> NextCell(int Step) const {
        if (const int C = FCols.NextShown(FCol, Step)) return {C, FRow};
        const int R = FRows.NextShown(FRow, Step);
        if (R == 0) return {0, 0};
        return {Step > 0 ? FCols.Nearest(1) : FCols.Nearest(FCols.Count() + 1), R};
    }

    void UpOrDown() {
        if (FRow < 1) return;
        const bool Down = FChoices.Pick(0, 1) == 0;
        Note(Down ? "key Down" : "key Up");
        Press(Down ? Qt::Key_Down : Qt::Key_Up);
        if (const int R = FRows.NextShown(FRow, Down ? 1 : -1)) FRow = R;
    }

    void GoTo() {
        if (FCols.VisibleCount() == 0 || FRows.VisibleCount() == 0) return;
        const int C = FCols.Nearest(FChoices.Pick(1, FCols.Count()));
        const int R = FRows.Nearest(FChoices.Pick(1, FRows.Count()));
        Note("go to " + std::to_string(C) + "," + std::to_string(R));
        FGrid->SetCurrentCell(FCols.Position(C), FRows.Position(R));
        FCol = C;
        FRow = R;
    }

    // Selects a span of display positions and deletes what it selected:
    // hidden ones are never selected.
    void DeleteSelected(bool Cols) {
        TAxis& Axis = Cols ? FCols : FRows;
        if (Axis.Count() < 1) return;
        const int From = FChoices.Pick(1, Axis.Count());
        const int To = std::min(Axis.Count(), From + FChoices.Pick(0, 2));
        Note(std::string(Cols ? "select columns " : "select rows ") + std::to_string(From) + ".." +
             std::to_string(To) + " and delete them");
        std::vector<int> Gone;
        for (int P = From; P <= To; ++P)
            if (Axis.ShownAt(P)) Gone.push_back(Axis.Order[static_cast<std::size_t>(P)]);
        std::ranges::sort(Gone);
        if (Cols) {
            FGrid->SelectCols(From, To, true);
            FGrid->DeleteSelectedCols();
            DroppedCols(Gone);
        } else {
            FGrid->SelectRows(From, To, true);
            FGrid->DeleteSelectedRows();
            DroppedRows(Gone);
        }
    }

    TChoices& FChoices;
    std::unique_ptr<TForm> FForm;
    TgxGrid* FGrid = nullptr;
    TAxis FCols, FRows;
    std::vector<std::vector<std::string>> FValues; // [data row][data column]
    int FCol = 0, FRow = 0;
    bool FAdopt = false;
    int FNext = 0;
    std::deque<std::string> FHistory;
};

} // namespace

std::string WalkGrid(const std::uint8_t* Data, std::size_t Size) {
    TChoices Choices(Data, Size);
    TWalk Walk(Choices);
    if (std::string First = Walk.Difference(); !First.empty()) return "at the start: " + First;
    for (int Step = 1; Walk.More(); ++Step) {
        Walk.Step();
        if (std::string Found = Walk.Difference(); !Found.empty())
            return "step " + std::to_string(Step) + ": " + Found + "\nafter:\n" + Walk.History();
    }
    return {};
}

int GridWalkInput(const std::uint8_t* Data, std::size_t Size) {
    if (Size > 4096) return 0; // long walks find nothing a short one does not
    const std::string Found = WalkGrid(Data, Size);
    if (Found.empty()) return 0;
    std::fprintf(stderr, "grid walk: %s\n", Found.c_str());
    std::abort();
}

} // namespace grid::fuzz
