#pragma once
// What the shop data modules share: the database name, the module names by
// which they find each other, the building blocks of their components, the
// lookup steps every scratch query follows, and the small conversions more
// than one module needs.
//
// The modules find each other through their common owner (the application):
// each one names itself after its global instance in the constructor
// ("ShipDmod", "VelmDmod", ...), and a module that needs another asks the
// owner for the component of that name with PeerDmod. The owner frees them
// all, so nothing holds a pointer that could outlive its module.
#include "platform/classes/Component.h"
#include "platform/data/DBTypes.h"
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/Exceptions.h"

#include <cstdint>
#include <initializer_list>

class TDataSet;
class TDataSource;
class TField;
class TQuery;

// The database name of the main data module's connection; every query of
// every data module uses it.
inline constexpr const char* ShopDatabaseName = "Dornwickdbms";

// The names the data modules give themselves, in the order the program
// creates them.
namespace DmodNames {
inline constexpr const char* Main = "MainDmod";
inline constexpr const char* Emp = "EmpDmod";
inline constexpr const char* Inventory = "InventoryDmod";
inline constexpr const char* JobStatus = "JobStatusDmod";
inline constexpr const char* Po = "PoDmod";
inline constexpr const char* Ship = "ShipDmod";
inline constexpr const char* JobForm = "JobFormDmod";
inline constexpr const char* Velm = "VelmDmod";
inline constexpr const char* WoType = "WoTypeDmod";
inline constexpr const char* JobType = "JobTypeDmod";
} // namespace DmodNames

// The data module of that name among Self's owner's components. A module
// that is missing (or of another class) raises Exception naming it, rather
// than leaving a calculated field to read through a null pointer.
template <class Module> Module& PeerDmod(const TComponent& Self, const char* Name) {
    TComponent* found = Self.Owner() ? Self.Owner()->FindComponent(Name) : nullptr;
    if (auto* module = dynamic_cast<Module*>(found)) return *module;
    throw Exception("The data module '" + AnsiString(Name) + "' has not been created");
}

// The quantity and cost decimal counts that the main window hands to the
// job-form, purchase-order and inventory data modules from the options.
struct TDecimalCounts {
    std::int32_t QtyDecimals = 0;
    std::int32_t CostDecimals = 0;
    void SetDecimals(int Qty, int Cost) {
        QtyDecimals = Qty;
        CostDecimals = Cost;
    }
};

// ---- Building the components ------------------------------------------------

// A query on the shop database with the statement's lines as the form holds them.
TQuery* NewQuery(TComponent* Owner, const char* Name, std::initializer_list<const char*> Lines);
TDataSource* NewDataSource(TComponent* Owner, const char* Name, TDataSet* DataSet,
                           bool AutoEdit = true);

// One persistent field of a query: the column (or calculated value) it
// shows, its kind and, for text, its size; a label and a display format
// where the form gives them.
struct FieldSpec {
    const char* Column;
    TFieldType Type;
    int Size = 0;
    const char* Label = nullptr;
    const char* DisplayFormat = nullptr;
};

// Gives Query its persistent fields in order, owned by Owner and named after
// the query and the column. With persistent fields a query shows exactly
// these, so a query with calculated fields lists its data columns too.
void AddDataFields(TComponent* Owner, TQuery* Query, std::initializer_list<FieldSpec> Fields);
void AddCalcFields(TComponent* Owner, TQuery* Query, std::initializer_list<FieldSpec> Fields);

// ---- Running the lookups ----------------------------------------------------

// Closes the query and replaces its statement with Lines, one line each.
void SetStatement(TQuery& Query, std::initializer_list<AnsiString> Lines);
// SetStatement, prepare, the integers bound by position, then open (a select)
// or run (an update). A select that finds nothing leaves the query open and empty.
void OpenLookup(TQuery& Query, std::initializer_list<AnsiString> Lines,
                std::initializer_list<int> Params);
void ExecLookup(TQuery& Query, std::initializer_list<AnsiString> Lines,
                std::initializer_list<int> Params);

// The first column of the query's first row as a double; a NULL (a sum over
// no rows) or no row gives 0.
double FirstColumnAsDouble(const TQuery& Query);

// ---- Shared conversions -----------------------------------------------------

// The value as a money amount: times 10,000 and rounded to the nearest
// integer, halves to even (1.23456 gives 1.2346). A value outside Currency's
// range raises EOverflow.
Currency CurrencyFromDouble(double Value);

// The company of the current row as the lists show it: NAME, or
// NAME + ", " + FNAME when FNAME is not NULL.
AnsiString CompanyDisplayText(const TDataSet& Row);
