#pragma once
// One TLS session over a connected socket, and the description of the
// cipher it negotiated. Handshakes never wait longer than their time-out;
// reads and writes follow the socket's blocking behaviour.
#include "mail/MxStack.h"
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Object.h"

#include <memory>
#include <openssl/ssl.h>

namespace mail {

class TMxSSLContext;
class TMxSSLParent;
class TMxSSLSocket;

class TMxSSLCipher : public TObject {
public:
    explicit TMxSSLCipher(TMxSSLSocket* ASocket) : FSocket(ASocket) {}
    AnsiString ClassName() const override { return "TMxSSLCipher"; }

    AnsiString CipherDescription() const;
    AnsiString CipherName() const;
    int CipherBits() const; // the algorithm's bits
    AnsiString CipherVersion() const;

private:
    const SSL_CIPHER* Current() const;

    TMxSSLSocket* FSocket;
};

class TMxSSLSocket : public TObject {
public:
    explicit TMxSSLSocket(TMxSSLParent* AOwner) : FOwner(AOwner) {}
    // Frees the session; Shutdown first to tell the peer.
    ~TMxSSLSocket() override;
    TMxSSLSocket(const TMxSSLSocket&) = delete;
    TMxSSLSocket& operator=(const TMxSSLSocket&) = delete;
    AnsiString ClassName() const override { return "TMxSSLSocket"; }

    TMxSSLParent* Owner() const { return FOwner; }
    TMxSSLContext* Context() const { return FContext; }
    SSL* Session() const { return FSession; }

    // The client handshake over ASocket, checking the server's
    // certificate against AHost (a name, also sent for SNI, or an IPv4
    // address). EMxOSSLConnectError "Error connecting with SSL." when it
    // fails or takes longer than ATimeout ms; the reason goes to the
    // owner's status notification.
    void ConnectTls(TMxSocket ASocket, TMxSSLContext* AContext, const AnsiString& AHost,
                    int ATimeout);
    // The server handshake; EMxOSSLAcceptError on failure.
    void AcceptTls(TMxSocket ASocket, TMxSSLContext* AContext, int ATimeout);
    // Byte counts as the socket calls give them; the call is repeated
    // once when OpenSSL asks for it. A failure of the session raises.
    int ReadTls(void* ABuffer, int ALength);
    int WriteTls(const void* ABuffer, int ALength);
    int TlsErrorCode(int AResult) const;
    TMxSSLCipher* CurrentCipher();

    // Whether a read would find decrypted data, the peer's close or a
    // failure at once, without waiting on the socket.
    bool ReadReady();
    // Sends the close notification without waiting for the peer's.
    void Shutdown();

private:
    // Runs SSL_connect or SSL_accept on a non-blocking socket until done.
    bool Handshake(bool AConnect, int ATimeout, AnsiString& AReason);
    [[noreturn]] void RaiseTransferError(const char* AWhat, int AError, int ASysError);
    AnsiString CipherText();

    TMxSSLParent* FOwner;
    TMxSSLContext* FContext = nullptr;
    SSL* FSession = nullptr;
    TMxSocket FSocket = MxInvalidSocket;
    bool FEstablished = false;
    bool FBroken = false; // a fatal error: no close notification may follow
    std::unique_ptr<TMxSSLCipher> FCipher;
};

// OpenSSL's text for the oldest queued error (empty when none), and the
// queue emptied.
AnsiString TakeTlsErrorText();

} // namespace mail
