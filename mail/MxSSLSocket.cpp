#include "mail/MxSSLSocket.h"

#include "mail/MxNetExceptions.h"
#include "mail/MxSSLContext.h"
#include "mail/MxSSLExceptions.h"
#include "mail/MxStackPosix.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

namespace mail {

namespace {

// Puts a socket into non-blocking mode for the life of the scope, so an
// OpenSSL call that would wait returns instead.
class NonBlockingScope {
public:
    explicit NonBlockingScope(TMxSocket ASocket) : FSocket(ASocket) {
        Stack().SockSetNonBlocking(FSocket, true);
    }
    ~NonBlockingScope() { Stack().SockSetNonBlocking(FSocket, false); }
    NonBlockingScope(const NonBlockingScope&) = delete;
    NonBlockingScope& operator=(const NonBlockingScope&) = delete;

private:
    TMxSocket FSocket;
};

bool WantsIO(int AError) {
    return AError == SSL_ERROR_WANT_READ || AError == SSL_ERROR_WANT_WRITE;
}

} // namespace

AnsiString TakeTlsErrorText() {
    const unsigned long code = ERR_get_error();
    ERR_clear_error();
    if (code == 0) return AnsiString();
    char text[256];
    ERR_error_string_n(code, text, sizeof text);
    return text;
}

// ------------------------------------------------------------ TMxSSLCipher

const SSL_CIPHER* TMxSSLCipher::Current() const {
    return FSocket && FSocket->Session() ? SSL_get_current_cipher(FSocket->Session()) : nullptr;
}

AnsiString TMxSSLCipher::CipherDescription() const {
    const SSL_CIPHER* cipher = Current();
    if (!cipher) return AnsiString();
    char text[1024];
    return SSL_CIPHER_description(cipher, text, sizeof text) ? AnsiString(text) : AnsiString();
}

AnsiString TMxSSLCipher::CipherName() const {
    const SSL_CIPHER* cipher = Current();
    return cipher ? AnsiString(SSL_CIPHER_get_name(cipher)) : AnsiString();
}

int TMxSSLCipher::CipherBits() const {
    const SSL_CIPHER* cipher = Current();
    int algorithmBits = 0;
    if (cipher) SSL_CIPHER_get_bits(cipher, &algorithmBits);
    return algorithmBits;
}

AnsiString TMxSSLCipher::CipherVersion() const {
    const SSL_CIPHER* cipher = Current();
    return cipher ? AnsiString(SSL_CIPHER_get_version(cipher)) : AnsiString();
}

// ------------------------------------------------------------ TMxSSLSocket

TMxSSLSocket::~TMxSSLSocket() {
    FCipher.reset();
    SSL_free(FSession);
}

void TMxSSLSocket::ConnectTls(TMxSocket ASocket, TMxSSLContext* AContext, const AnsiString& AHost,
                              int ATimeout) {
    FContext = AContext;
    FSocket = ASocket;
    FSession = AContext && AContext->Handle() ? SSL_new(AContext->Handle()) : nullptr;
    if (!FSession) {
        // Without a session nothing would be encrypted: never go on as if.
        ERR_clear_error();
        throw EMxOSSLConnectError("Error connecting with SSL.");
    }
    if (SSL_set_app_data(FSession, this) < 1)
        throw EMxOSSLDataBindingError("Error binding data to SSL socket.");
    bool named = SSL_set_fd(FSession, ASocket) == 1;
    if (named && !AHost.empty()) {
        if (Stack().IsAddressText(AHost)) {
            named = X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(FSession), AHost.c_str()) == 1;
        } else {
            named = SSL_set_tlsext_host_name(FSession, AHost.c_str()) == 1 &&
                    SSL_set1_host(FSession, AHost.c_str()) == 1;
        }
    }
    AnsiString reason;
    if (!named) {
        reason = "cannot check the server's name \"" + AHost + "\"";
        ERR_clear_error();
    } else if (Handshake(true, ATimeout, reason)) {
        FEstablished = true;
        FOwner->NotifyStatusInfo(CipherText());
        return;
    }
    FBroken = true;
    FOwner->NotifyStatusInfo("SSL error: " + reason);
    throw EMxOSSLConnectError("Error connecting with SSL.");
}

void TMxSSLSocket::AcceptTls(TMxSocket ASocket, TMxSSLContext* AContext, int ATimeout) {
    FContext = AContext;
    FSocket = ASocket;
    FSession = AContext && AContext->Handle() ? SSL_new(AContext->Handle()) : nullptr;
    if (!FSession) {
        ERR_clear_error();
        throw EMxOSSLAcceptError("Error accepting connection with SSL.");
    }
    if (SSL_set_app_data(FSession, this) < 1)
        throw EMxOSSLDataBindingError("Error binding data to SSL socket.");
    AnsiString reason;
    if (SSL_set_fd(FSession, ASocket) == 1 && Handshake(false, ATimeout, reason)) {
        FEstablished = true;
        FOwner->NotifyStatusInfo(CipherText());
        return;
    }
    FBroken = true;
    FOwner->NotifyStatusInfo("SSL error: " + reason);
    throw EMxOSSLAcceptError("Error accepting connection with SSL.");
}

bool TMxSSLSocket::Handshake(bool AConnect, int ATimeout, AnsiString& AReason) {
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(std::max(ATimeout, 0));
    TMxStack& stack = Stack();
    NonBlockingScope nonBlocking(FSocket);
    while (true) {
        ERR_clear_error();
        errno = 0;
        const int result = AConnect ? SSL_connect(FSession) : SSL_accept(FSession);
        if (result == 1) return true;
        const int error = SSL_get_error(FSession, result);
        const int sysError = errno;
        if (!WantsIO(error)) {
            const long verified = SSL_get_verify_result(FSession);
            if (verified != X509_V_OK) {
                AReason = AnsiString("certificate verify failed: ") +
                          X509_verify_cert_error_string(verified);
                ERR_clear_error();
            } else if (error == SSL_ERROR_SYSCALL && sysError != 0) {
                AReason = std::strerror(sysError);
                ERR_clear_error();
            } else {
                AReason = TakeTlsErrorText();
                if (AReason.empty()) AReason = "the peer closed the connection";
            }
            return false;
        }
        int wait = MxTimeoutInfinite;
        if (ATimeout >= 0) {
            wait = static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock::now())
                    .count());
            if (wait <= 0) {
                AReason = "the handshake timed out";
                return false;
            }
        }
        std::unique_ptr<TMxSocketList> list = CreateSocketList();
        list->AddSocket(FSocket);
        const bool reading = error == SSL_ERROR_WANT_READ;
        const int ready = stack.SockSelect(reading ? list.get() : nullptr,
                                           reading ? nullptr : list.get(), nullptr, wait);
        if (ready == 0) {
            AReason = "the handshake timed out";
            return false;
        }
        if (ready < 0) {
            AReason = stack.ErrorText(stack.SockLastError());
            return false;
        }
    }
}

void TMxSSLSocket::RaiseTransferError(const char* AWhat, int AError, int ASysError) {
    FBroken = true;
    if (AError == SSL_ERROR_SYSCALL && ASysError != 0) {
        ERR_clear_error();
        Stack().RaiseLastSocketError(WinsockCodeOfErrno(ASysError));
    }
    AnsiString reason = TakeTlsErrorText();
    if (reason.empty()) reason = "error " + std::to_string(AError);
    throw EMxOpenSSLError(AnsiString("TLS ") + AWhat + " failed: " + reason);
}

namespace {

struct TTlsTransfer {
    int Result = 0;
    int Error = SSL_ERROR_NONE;
    int SysError = 0;
};

// Runs one SSL_read or SSL_write, once more when OpenSSL asks for it.
template <class TCall> TTlsTransfer TransferTls(SSL* Session, TCall Call) {
    TTlsTransfer transfer;
    for (int attempt = 0; attempt < 2; ++attempt) {
        ERR_clear_error();
        errno = 0;
        transfer.Result = Call();
        if (transfer.Result > 0) return transfer;
        transfer.Error = SSL_get_error(Session, transfer.Result);
        transfer.SysError = errno;
        if (!WantsIO(transfer.Error)) break;
    }
    return transfer;
}

} // namespace

int TMxSSLSocket::ReadTls(void* ABuffer, int ALength) {
    if (!FSession || FBroken) throw EMxClosedSocket("Disconnected.");
    const TTlsTransfer t =
        TransferTls(FSession, [&] { return SSL_read(FSession, ABuffer, ALength); });
    if (t.Result > 0) return t.Result;
    if (t.Error == SSL_ERROR_ZERO_RETURN) return 0;
    // An end of the stream without a close notification.
    if (t.Error == SSL_ERROR_SYSCALL && t.SysError == 0 && ERR_peek_error() == 0) return 0;
    RaiseTransferError("read", t.Error, t.SysError);
}

int TMxSSLSocket::WriteTls(const void* ABuffer, int ALength) {
    if (!FSession || FBroken) throw EMxClosedSocket("Disconnected.");
    const TTlsTransfer t =
        TransferTls(FSession, [&] { return SSL_write(FSession, ABuffer, ALength); });
    if (t.Result > 0) return t.Result;
    if (t.Error == SSL_ERROR_ZERO_RETURN) return 0;
    RaiseTransferError("write", t.Error, t.SysError);
}

int TMxSSLSocket::TlsErrorCode(int AResult) const {
    return FSession ? SSL_get_error(FSession, AResult) : SSL_ERROR_SSL;
}

TMxSSLCipher* TMxSSLSocket::CurrentCipher() {
    if (!FCipher && FSession) FCipher = std::make_unique<TMxSSLCipher>(this);
    return FCipher.get();
}

bool TMxSSLSocket::ReadReady() {
    if (!FSession || FBroken) return true;
    if (SSL_pending(FSession) > 0) return true;
    // Records already received may hold no application data (a session
    // ticket, say); a peek works through them without waiting.
    int result;
    int error;
    {
        NonBlockingScope nonBlocking(FSocket);
        char byte;
        ERR_clear_error();
        result = SSL_peek(FSession, &byte, 1);
        error = result > 0 ? SSL_ERROR_NONE : SSL_get_error(FSession, result);
    }
    if (result > 0) return true;
    if (WantsIO(error)) {
        ERR_clear_error();
        return false;
    }
    // The close or the failure is for the read that follows to report;
    // the error queue stays for it.
    return true;
}

void TMxSSLSocket::Shutdown() {
    if (!FSession || !FEstablished || FBroken) return;
    FEstablished = false;
    // One try: a peer that stopped reading must not hold up the close.
    NonBlockingScope nonBlocking(FSocket);
    SSL_shutdown(FSession);
    ERR_clear_error();
}

AnsiString TMxSSLSocket::CipherText() {
    TMxSSLCipher* cipher = CurrentCipher();
    if (!cipher) return AnsiString();
    return "Cipher: name = " + cipher->CipherName() + "; " +
           "description = " + cipher->CipherDescription() + "; " +
           "bits = " + std::to_string(cipher->CipherBits()) + "; " +
           "version = " + cipher->CipherVersion() + "; ";
}

} // namespace mail
