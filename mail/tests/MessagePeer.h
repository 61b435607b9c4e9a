#pragma once
// A loopback peer on a thread of its own for the message tests: it sends
// the bytes it was given to the one client it accepts, then keeps what the
// client sends until the client closes. Every wait is bounded.
#include "mail/MxMessage.h"
#include "mail/MxMessageClient.h"
#include "mail/MxStack.h"
#include "mail/MxTCPConnection.h"

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace mailtest {

class LoopbackPeer {
public:
    explicit LoopbackPeer(std::string AReply = std::string()) : FReply(std::move(AReply)) {
        FListener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (FListener < 0 || bind(FListener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(FListener, 1) != 0 ||
            getsockname(FListener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("cannot listen on loopback");
        FPort = ntohs(address.sin_port);
        FThread = std::thread([this] { Serve(); });
    }

    ~LoopbackPeer() {
        FStop = true;
        if (FThread.joinable()) FThread.join();
        close(FListener);
    }

    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;

    int Port() const { return FPort; }

    // What the client sent, once it has closed.
    std::string Received() {
        if (FThread.joinable()) FThread.join();
        return FReceived;
    }

private:
    bool WaitFor(int AFd, short AEvents) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!FStop && std::chrono::steady_clock::now() < deadline) {
            pollfd fd{AFd, AEvents, 0};
            if (poll(&fd, 1, 50) > 0) return true;
        }
        return false;
    }

    void Serve() {
        if (!WaitFor(FListener, POLLIN)) return;
        const int connection = accept4(FListener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) return;
        std::size_t sent = 0;
        while (sent < FReply.size() && WaitFor(connection, POLLOUT)) {
            const ssize_t count =
                send(connection, FReply.data() + sent, FReply.size() - sent, MSG_NOSIGNAL);
            if (count <= 0) break;
            sent += static_cast<std::size_t>(count);
        }
        char buffer[65536];
        while (WaitFor(connection, POLLIN)) {
            const ssize_t count = recv(connection, buffer, sizeof buffer, 0);
            if (count <= 0) break;
            FReceived.append(buffer, static_cast<std::size_t>(count));
        }
        close(connection);
    }

    std::string FReply;
    std::string FReceived;
    int FListener = -1;
    int FPort = 0;
    std::atomic<bool> FStop{false};
    std::thread FThread;
};

// A message client connected to a loopback peer that sends AReply. The peer
// comes first so that it outlives the client.
struct PeerClient {
    explicit PeerClient(std::string AReply = std::string(), int AReadTimeout = mail::MxDefaultReadTimeout,
                        int AConnectTimeout = mail::MxTimeoutDefault)
        : peer(std::move(AReply)) {
        client.SetHost("127.0.0.1");
        client.SetPort(peer.Port());
        client.ReadTimeout = AReadTimeout;
        client.Connect(AConnectTimeout);
    }

    LoopbackPeer peer;
    mail::TMxMessageClient client;
};

// Reads the header block and the body a loopback peer sends as AReply into
// AMsg, then disconnects.
inline void ReadFromPeer(mail::TMxMessage& AMsg, const std::string& AReply,
                         int AReadTimeout = mail::MxDefaultReadTimeout,
                         int AConnectTimeout = mail::MxTimeoutDefault) {
    PeerClient connection(AReply, AReadTimeout, AConnectTimeout);
    connection.client.ReadHeader(&AMsg);
    connection.client.ReadBody(&AMsg);
    connection.client.Disconnect();
}

} // namespace mailtest
