#include "reportconn/DataConnectThread.h"

#include "platform/sys/NamedEvent.h"
#include "reportconn/DcCustomConnection.h"

#include <chrono>
#include <memory>

namespace reportconn {

namespace {

// A missing kernel object leaves the handle empty: waits on it fail and
// nothing is served, but the connection itself goes on.
std::unique_ptr<TNamedEvent> TryEvent(const AnsiString& Name, bool ManualReset) {
    try {
        return std::make_unique<TNamedEvent>(Name, ManualReset, false);
    } catch (const Exception&) {
        return nullptr;
    }
}

void Signal(TNamedEvent* Event) {
    if (Event) Event->SetEvent();
}

} // namespace

TDataConnectThread::TDataConnectThread(TDcCustomConnection* Connection)
    : TThread(true), FConnection(Connection) {
    SetFreeOnTerminate(true);
}

void TDataConnectThread::Execute() {
    auto completed = TryEvent(RDCCompleted, false);
    auto disconnect = TryEvent(RDCDisconnect, true);
    auto connect = TryEvent(RDCConnect, false);
    std::unique_ptr<TNamedEvent> data, ack;
    AnsiString lastName;
    bool haveName = false;
    bool connected = false;

    // The loop leaves only when asked to: the connection waits for that.
    while (!Terminated()) {
        try {
            const AnsiString name = FConnection->ListenName();
            if (!haveName || name != lastName) {
                data.reset();
                ack.reset();
                const AnsiString side = FConnection->RunTime() ? "RDCRT" : "RDCDT";
                data = TryEvent(side + "DATA_" + name, false);
                ack = TryEvent(side + "ACK_" + name, false);
                lastName = name;
                haveName = true;
            }
            TNamedEvent* other = connected ? disconnect.get() : connect.get();
            const int which = WaitForEvents(data.get(), other, 1000);
            if (Terminated()) break;
            if (which == WaitFailed) {
                FConnection->PauseListener(1000);
                continue;
            }
            if (which == 0) {
                TRPBuffer& buffer = FConnection->Buffer();
                buffer.Rewind();
                const std::int32_t command = buffer.ReadInt32();
                if (command >= cmdFirst && command <= cmdRestore && Terminated()) {
                    buffer.WriteEmptyHeader();
                } else if (command >= cmdFirst && command <= cmdRestore) {
                    TDcCustomConnection* connection = FConnection;
                    TThread::Synchronize(
                        [connection, command] { connection->RunCommand(command); });
                } else if (command == cmdHandshake) {
                    FConnection->WriteHandshake();
                } else if (command == cmdReleaseOverflow) {
                    buffer.ReleaseOverflow();
                } else {
                    buffer.WriteEmptyHeader();
                }
                Signal(command == cmdHandshake ? ack.get() : completed.get());
            } else if (which == 1) {
                if (!connected) {
                    FConnection->WriteHandshake();
                    Signal(completed.get());
                }
                connected = !connected;
            }
        } catch (...) {
            // A failure answering one signal must not end the listener.
        }
    }
    data.reset();
    ack.reset();
    FConnection->ThreadFinished();
}

} // namespace reportconn
