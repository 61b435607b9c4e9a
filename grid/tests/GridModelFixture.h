#pragma once
// A windowless grid named "Grid1" for the model tests, and a helper that
// reads the message of the grid error an action raises.
#include "grid/model/BaseGrid.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

class GridModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Grid = std::make_unique<grid::TgxBaseGrid>(nullptr);
        Grid->SetName("Grid1");
    }

    // The message of the grid error Action raises; "" when it raises none.
    static std::string GridError(const std::function<void()>& Action) {
        try {
            Action();
        } catch (const grid::EInvalidGridOperation& E) {
            return E.Message;
        }
        return "";
    }

    std::unique_ptr<grid::TgxBaseGrid> Grid;
};
