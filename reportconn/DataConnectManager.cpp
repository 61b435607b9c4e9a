#include "reportconn/DataConnectManager.h"

#include <algorithm>

namespace reportconn {

void TDataConnectManager::Add(TDcCustomConnection* Connection) {
    std::lock_guard guard(FLock);
    FList.push_back(Connection);
}

void TDataConnectManager::Remove(TDcCustomConnection* Connection) {
    std::lock_guard guard(FLock);
    FList.erase(std::remove(FList.begin(), FList.end(), Connection), FList.end());
}

int TDataConnectManager::Count() const {
    std::lock_guard guard(FLock);
    return static_cast<int>(FList.size());
}

TDcCustomConnection* TDataConnectManager::Connections(int Index) const {
    std::lock_guard guard(FLock);
    return Index >= 0 && Index < static_cast<int>(FList.size()) ? FList[Index] : nullptr;
}

std::int32_t TDataConnectManager::NextIdentity() {
    std::lock_guard guard(FLock);
    return ++FNextIdentity;
}

TDataConnectManager& DataConnectManager() {
    static TDataConnectManager manager;
    return manager;
}

} // namespace reportconn
