#pragma once
// A loopback port nobody listens on, for the runs that must fail to connect.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// The port the system handed a socket that was bound and closed again.
inline int ClosedPort() {
    const int Fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in Address{};
    Address.sin_family = AF_INET;
    Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(Fd, reinterpret_cast<sockaddr*>(&Address), sizeof Address);
    socklen_t Length = sizeof Address;
    getsockname(Fd, reinterpret_cast<sockaddr*>(&Address), &Length);
    close(Fd);
    return ntohs(Address.sin_port);
}
