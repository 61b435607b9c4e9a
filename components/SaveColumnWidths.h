#pragma once
// The two small objects a company grid keeps its user's column layout with:
// TSaveColumnWidths stores the width of every data column and
// TSaveColumnPositions the display position of every data column, both as
// comma-separated lists in one registry key (RegKey\RegSection below the
// chosen root), next to the column count they were written for. Every
// operation opens the key afresh (creating it) and closes it at its end.
#include "platform/registry/Registry.h"
#include "platform/rtl/Persistent.h"

#include <cstdint>
#include <functional>
#include <memory>

class TControl;

namespace grid {
class TgxBaseGrid;
}

namespace components {

// Streamed as its ordinal: the order is fixed.
enum TRegistryRoot : std::uint8_t {
    rrCurrentUser,
    rrLocalMachine,
    rrCurrentConfig,
    rrClassesRoot,
    rrUsers,
    rrDynData
};

// What the width and position objects share: where they store, whether the
// grid uses them, and the grid they work on.
class TSavedColumnLayout : public TPersistent {
public:
    // Control is the owning grid; it must be a grid of the grid library.
    explicit TSavedColumnLayout(TControl* Control);
    ~TSavedColumnLayout() override;

    TRegistryRoot RegRoot() const { return FRegRoot; }
    // Any byte is kept; one beyond rrDynData selects no root, so the
    // registry object keeps the root it had.
    void SetRegRoot(TRegistryRoot Value) { FRegRoot = Value; }
    const AnsiString& RegKey() const { return FRegKey; }
    void SetRegKey(const AnsiString& Value) { FRegKey = Value; }
    const AnsiString& RegSection() const { return FRegSection; }
    void SetRegSection(const AnsiString& Value) { FRegSection = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }

    // The registry object the operations use (its root after the last one).
    TRegistry& Registry() { return *FRegistry; }

protected:
    // Copies the four settings of an object of the same class.
    void AssignSettings(const TSavedColumnLayout& Source);
    grid::TgxBaseGrid& Grid() const;
    int ColumnCount() const;
    // Writes "ColumnCount" and, as Name, Number(c) for every data column c.
    void SaveList(const char* Name, const std::function<int(int)>& Number);

    // The key open for one operation, closed again however it ends.
    class TOpenLayoutKey {
    public:
        explicit TOpenLayoutKey(TSavedColumnLayout& Owner);
        ~TOpenLayoutKey();
        TOpenLayoutKey(const TOpenLayoutKey&) = delete;
        TOpenLayoutKey& operator=(const TOpenLayoutKey&) = delete;

    private:
        TRegistry& FRegistry;
    };

private:
    std::unique_ptr<TRegistry> FRegistry;
    TRegistryRoot FRegRoot = rrCurrentUser;
    AnsiString FRegKey;
    AnsiString FRegSection;
    bool FEnabled = false;
    grid::TgxBaseGrid* FGrid = nullptr;
};

class TSaveColumnWidths : public TSavedColumnLayout {
public:
    using TSavedColumnLayout::TSavedColumnLayout;
    AnsiString ClassName() const override { return "TSaveColumnWidths"; }
    void Assign(TPersistent* Source) override;

    // "ColumnCount" and "ColumnWidths" from the grid's data columns.
    void Save();
    // Widths of the data columns that both the grid and the stored count
    // have; a missing or bad number gives 0.
    void Restore();
};

class TSaveColumnPositions : public TSavedColumnLayout {
public:
    using TSavedColumnLayout::TSavedColumnLayout;
    AnsiString ClassName() const override { return "TSaveColumnPositions"; }
    void Assign(TPersistent* Source) override;

    // "ColumnCount" and "ColumnPositions": each data column's display position.
    void Save();
    // Drops stored positions beyond the grid's columns and stores the grid's
    // column count with them.
    void Normalize();
    // Normalize, then shows each data column at its stored position.
    void Restore();
    // Every column back at its own place; the registry is not touched.
    void Reset();
};

} // namespace components
