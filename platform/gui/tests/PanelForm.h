#pragma once
// A form at (100, 100) with panels on it, for tests of the mouse between
// controls; the test adds the panels and shows the form.
#include "GuiTestSupport.h"

#include "platform/gui/ExtCtrls.h"

#include <gtest/gtest.h>

class PanelForm : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 400, 200);
    }
    void TearDown() override { delete Form; }

    // A panel at (X, 10) of Parent.
    static TPanel* AddPanel(TWinControl* Parent, int X, int Height = 100) {
        auto* P = new TPanel(Parent);
        P->SetParent(Parent);
        P->SetBounds(X, 10, 100, Height);
        return P;
    }

    TForm* Form = nullptr;
};
