#include "platform/data/StatementCache.h"

#include <sqlite3.h>

TPreparedStatement::~TPreparedStatement() {
    sqlite3_finalize(Handle);
}

std::unique_ptr<TPreparedStatement> TStatementCache::Take(const AnsiString& Text) {
    const auto Found = FByText.find(Text);
    if (Found == FByText.end()) return nullptr;
    const Entry Where = Found->second;
    FByText.erase(Found);
    std::unique_ptr<TPreparedStatement> Statement = std::move(*Where);
    FOrder.erase(Where);
    return Statement;
}

void TStatementCache::Give(std::unique_ptr<TPreparedStatement> Statement) {
    if (!Statement) return;
    sqlite3_reset(Statement->Handle);
    sqlite3_clear_bindings(Statement->Handle);
    if (FCapacity == 0) return;
    if (FOrder.size() >= FCapacity) {
        const Entry Oldest = std::prev(FOrder.end());
        const auto Range = FByText.equal_range((*Oldest)->Text);
        for (auto It = Range.first; It != Range.second; ++It)
            if (It->second == Oldest) {
                FByText.erase(It);
                break;
            }
        FOrder.erase(Oldest);
    }
    FOrder.push_front(std::move(Statement));
    FByText.emplace(FOrder.front()->Text, FOrder.begin());
}

void TStatementCache::Clear() {
    FByText.clear();
    FOrder.clear();
}
