#pragma once
// A draw grid on a shown form, offscreen, with the timer service and the
// clock under the test's control, and helpers that drive it with window
// messages and look at what it painted.
#include "grid/foundation/DrawGrid.h"
#include "grid/foundation/InplaceEdit.h"
#include "grid/foundation/StringGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/TimerService.h"
#include "platform/gui/WindowScroll.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace gridtest {

using namespace grid;

// Keeps every cell the grid painted since the last Reset.
struct TPaintLog {
    std::vector<std::pair<int, int>> Cells;
    void Reset() { Cells.clear(); }
    int Count() const { return static_cast<int>(Cells.size()); }
    std::set<int> Rows() const {
        std::set<int> R;
        for (const auto& C : Cells)
            R.insert(C.second);
        return R;
    }
};

// Runs Call and gives the message of the grid error it raised ("" for none).
inline std::string GridErrorText(const std::function<void()>& Call) {
    try {
        Call();
    } catch (const EInvalidGridOperation& E) {
        return E.Message.c_str();
    }
    return "";
}

// Draw and string grids with their protected operations in reach.
class TProbeDrawGrid : public TDrawGrid_ts {
public:
    using TDrawGrid_ts::TDrawGrid_ts;
    using TCustomGrid_ts::AdjustSize;
    using TCustomGrid_ts::CalcSizingState;
    using TCustomGrid_ts::MouseDown;
};

class TProbeStringGrid : public TStringGrid_ts {
public:
    using TStringGrid_ts::TStringGrid_ts;
};

template <class TGrid = TProbeDrawGrid> class GridOnForm : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 600, 400);
        Grid = new TGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 400, 300);
        Grid->OnDrawCell = [this](TObject*, int ACol, int ARow, TRect, TGridDrawState) {
            Painted.Cells.emplace_back(ACol, ARow);
        };
        Form->Show();
        Grid->SetFocus();
    }

    void TearDown() override { delete Form; }

    // Paints whatever is waiting to be painted, now.
    void Flush() {
        Grid->Update();
    }

    // Paints the whole grid now and forgets what was painted.
    void PaintAll() {
        Grid->Invalidate();
        Grid->Update();
        Painted.Reset();
    }

    void MouseDown(int X, int Y, unsigned Keys = 0) {
        Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON | Keys, PointToLParam(X, Y));
    }
    void MouseMove(int X, int Y, unsigned Keys = MK_LBUTTON) {
        Grid->Perform(WM_MOUSEMOVE, Keys, PointToLParam(X, Y));
    }
    void MouseUp(int X, int Y) { Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(X, Y)); }

    void Key(Word K, TShiftState Shift = {}) { Grid->KeyDown(K, Shift); }

    TForm* Form = nullptr;
    TGrid* Grid = nullptr;
    TPaintLog Painted;
};

} // namespace gridtest
