#pragma once
// The list of live report connections, and the identities they give the
// engine. One instance lives for the whole program.
#include <cstdint>
#include <mutex>
#include <vector>

namespace reportconn {

class TDcCustomConnection;

class TDataConnectManager {
public:
    void Add(TDcCustomConnection* Connection);
    void Remove(TDcCustomConnection* Connection);
    int Count() const;
    TDcCustomConnection* Connections(int Index) const;

    // A number for a new connection; never repeated while the program runs.
    std::int32_t NextIdentity();

    // The main window's handle the handshake reports; set by the program
    // once it has a main window.
    std::int32_t MainWindowHandle() const { return FMainWindowHandle; }
    void SetMainWindowHandle(std::int32_t Value) { FMainWindowHandle = Value; }

private:
    mutable std::mutex FLock;
    std::vector<TDcCustomConnection*> FList;
    std::int32_t FNextIdentity = 0;
    std::int32_t FMainWindowHandle = 0;
};

TDataConnectManager& DataConnectManager();

} // namespace reportconn
