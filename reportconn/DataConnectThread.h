#pragma once
// The listener of one connection: waits for the engine's signals and answers
// them, handing commands 1..10 to the main thread. It frees itself when it
// ends and tells its connection so as its last act.
#include "platform/sys/Thread.h"

namespace reportconn {

class TDcCustomConnection;

class TDataConnectThread : public TThread {
public:
    explicit TDataConnectThread(TDcCustomConnection* Connection);

protected:
    void Execute() override;

private:
    TDcCustomConnection* FConnection;
};

} // namespace reportconn
