// The company grid keeps its users' column widths and order across its own
// life: saved as it goes, restored as it is loaded, and left alone while it
// is designed.
#include "components/PellworthGrid.h"
#include "grid/model/Columns.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/testing/ScratchConfig.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace components;

class PellworthLayoutLife : public ScratchConfig {
protected:
    void SetUp() override {
        ScratchConfig::SetUp();
        EnsureQtApplication();
    }
    static std::unique_ptr<TPellworthGrid> MakeGrid(bool Design) {
        auto G = std::make_unique<TPellworthGrid>(nullptr);
        G->SetGridColCount(3);
        G->SetInDesignMode(Design);
        for (TSavedColumnLayout* Saver :
             {static_cast<TSavedColumnLayout*>(G->SaveColumnWidths()),
              static_cast<TSavedColumnLayout*>(G->SaveColumnPositions())}) {
            Saver->SetRegKey("Software\\S61\\Layout");
            Saver->SetRegSection("Grid");
            Saver->SetEnabled(true);
        }
        return G;
    }
};

TEST_F(PellworthLayoutLife, WidthsAndOrderGoWithTheGridAndComeBackWhenItIsLoaded) {
    for (const bool Design : {true, false}) {
        {
            auto Old = MakeGrid(Design);
            Old->GetCol(2)->SetWidth(123);
            Old->SetDisplayColnr(1, 3);
        }
        auto New = MakeGrid(Design);
        New->Loaded();
        EXPECT_EQ(New->GetCol(2)->Width(), Design ? 64 : 123) << Design;
        EXPECT_EQ(New->GetDisplayColnr(1), Design ? 1 : 3) << Design;
    }
}

} // namespace
