#pragma once
// The prepared statements of one connection, kept for reuse by their text.
// A query takes a statement out while it holds it and gives it back (reset,
// its values unbound) when it lets go, so running the same text again costs
// a look-up instead of a compile. The result's columns, as the fields see
// them, are worked out once per statement and kept beside it.
#include "platform/data/DBTypes.h"
#include "platform/rtl/AnsiString.h"

#include <cstddef>
#include <list>
#include <memory>
#include <unordered_map>
#include <vector>

struct sqlite3_stmt;

// One column of a result: the name its field takes (made unique within the
// result), and the field kind and size its declared type calls for
// (ftUnknown for an expression, whose kind follows its values).
struct TColumnDesc {
    AnsiString Name;
    TFieldType DataType = ftString;
    int Size = 0;
    bool operator==(const TColumnDesc&) const = default;
};
using TColumnLayout = std::vector<TColumnDesc>;

struct TPreparedStatement {
    TPreparedStatement(sqlite3_stmt* AHandle, AnsiString AText)
        : Handle(AHandle), Text(std::move(AText)) {}
    ~TPreparedStatement();
    TPreparedStatement(const TPreparedStatement&) = delete;
    TPreparedStatement& operator=(const TPreparedStatement&) = delete;

    sqlite3_stmt* Handle;
    AnsiString Text;
    // Filled on first use; SQLite compiles a statement again after a schema
    // change, and then the layout is worked out again too.
    std::shared_ptr<const TColumnLayout> Layout;
    int LayoutCompiles = -1;
    bool UntypedColumns = false;
};

class TStatementCache {
public:
    explicit TStatementCache(std::size_t Capacity = 128) : FCapacity(Capacity) {}
    TStatementCache(const TStatementCache&) = delete;
    TStatementCache& operator=(const TStatementCache&) = delete;

    // A kept statement of exactly this text, now the caller's; nullptr when
    // none is kept.
    std::unique_ptr<TPreparedStatement> Take(const AnsiString& Text);
    // Keeps Statement for the next query of its text. When the cache is
    // full the statement used longest ago is finalized.
    void Give(std::unique_ptr<TPreparedStatement> Statement);
    // Finalizes every kept statement (before the connection closes).
    void Clear();
    std::size_t Size() const { return FOrder.size(); }

private:
    using Entry = std::list<std::unique_ptr<TPreparedStatement>>::iterator;
    std::size_t FCapacity;
    // Most recently given first.
    std::list<std::unique_ptr<TPreparedStatement>> FOrder;
    std::unordered_multimap<AnsiString, Entry> FByText;
};
