// Resetting the company grid gives it back the company's defaults, not the
// grid library's, and keeps what its cells hold.
#include "components/PellworthGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

using namespace components;

namespace {

TEST(PellworthReset, ResetKeepsTheCompanyDefaultsAndTheValues) {
    EnsureQtApplication();
    TForm Form(nullptr);
    auto* Grid = new TPellworthGrid(&Form);
    Grid->SetParent(&Form);
    Form.Show();
    Grid->SetGridColCount(3);
    Grid->SetGridRowCount(4);
    Grid->SetGridDataCell("kept", 2, 3);
    Grid->SetLineColor(clRed);
    Grid->SetEditColor(clWhite);
    Grid->Reset();
    EXPECT_EQ(Grid->LineColor(), clTeal);
    EXPECT_EQ(Grid->EditColor(), clYellow);
    EXPECT_TRUE(Grid->StoreData());
    char Text[16] = {};
    Grid->GetGridDataCell(Text, 2, 3);
    EXPECT_STREQ(Text, "kept");
}

} // namespace
