#pragma once
// The debug grid's side of the generated alerts: one company-grid row per
// alert history row written, and the grid emptied on request.
#include "alert/app/GeneratedAlertsView.h"

struct ShopOptions;
namespace components {
class TPellworthGrid;
}

// The six columns, their headings and widths, and the grid's looks as the
// main window's form gives them.
void SetUpGeneratedAlertsGrid(components::TPellworthGrid& Grid);

class GeneratedAlertsGrid : public IGeneratedAlertsView {
public:
    // Both outlive the view; the options are read for each row, so a tick
    // that reloads them changes the date order of the rows after it.
    GeneratedAlertsGrid(components::TPellworthGrid& Grid, const ShopOptions& Options);

    // A row at the end: the text, alert id, time triggered, the employee
    // who triggered it, the recipient after forwarding and the priority;
    // as high as the text's lines need at its column's width.
    void AddAlert(const AlertTransaction& Alert) override;
    // Sets the row count to 0, which frees the rows and their values.
    void Clear() override;

    // The height of one text line of a row.
    static constexpr int LineHeight = 14;

private:
    components::TPellworthGrid& FGrid;
    const ShopOptions& FOptions;
};
