#pragma once
// Where the generated alerts go when the program runs with "/DEBUG": one
// row per alert history row written. The grid that shows them plugs in
// here; without one the alerts are only counted.
#include "alert/store/AlertTransaction.h"

class IGeneratedAlertsView {
public:
    virtual ~IGeneratedAlertsView() = default;
    virtual void AddAlert(const AlertTransaction& Alert) = 0;
    // Removes every row.
    virtual void Clear() = 0;
};
