#include "mail/MxSSLContext.h"

#include "mail/MxSSLExceptions.h"
#include "mail/MxSSLSocket.h"
#include "mail/MxSSLX509.h"
#include "platform/rtl/Format.h"

#include <cstring>
#include <mutex>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

namespace mail {

namespace {

// OpenSSL 3 is thread-safe on its own; these keep each kind of callback
// to one at a time, so an event handler never runs twice at once.
std::mutex PasswordLock;
std::mutex StatusLock;
std::mutex VerifyLock;

bool InitialiseTlsLibrary() {
    static const bool loaded =
        OPENSSL_init_ssl(OPENSSL_INIT_LOAD_SSL_STRINGS | OPENSSL_INIT_LOAD_CRYPTO_STRINGS,
                         nullptr) == 1;
    return loaded;
}

int PasswordCallback(char* ABuffer, int ASize, int, void* AUserData) {
    std::lock_guard lock(PasswordLock);
    auto* context = static_cast<TMxSSLContext*>(AUserData);
    if (!context || !context->Parent || !ABuffer || ASize <= 0) return -1;
    AnsiString password;
    try {
        context->Parent->AskPassword(password);
    } catch (...) {
        return -1;
    }
    // A password cut to fit would be a wrong one: refuse it instead.
    if (password.size() > static_cast<std::size_t>(ASize)) return -1;
    std::memcpy(ABuffer, password.data(), password.size());
    if (password.size() < static_cast<std::size_t>(ASize)) ABuffer[password.size()] = '\0';
    return static_cast<int>(password.size());
}

void StatusCallback(const SSL* ASession, int, int) {
    std::lock_guard lock(StatusLock);
    auto* socket = static_cast<TMxSSLSocket*>(SSL_get_app_data(ASession));
    if (!socket || !socket->Owner()) return;
    try {
        socket->Owner()->NotifyStatusInfo(
            Format("SSL status: \"%s\"", AnsiString(SSL_state_string_long(ASession))));
    } catch (...) {
        // An event handler's failure must not unwind through OpenSSL.
    }
}

int VerifyCallback(int APreverify, X509_STORE_CTX* AStore) {
    std::lock_guard lock(VerifyLock);
    try {
        TMxX509 certificate(X509_STORE_CTX_get_current_cert(AStore));
        auto* session = static_cast<SSL*>(
            X509_STORE_CTX_get_ex_data(AStore, SSL_get_ex_data_X509_STORE_CTX_idx()));
        auto* socket = session ? static_cast<TMxSSLSocket*>(SSL_get_app_data(session)) : nullptr;
        if (!socket) return APreverify;
        const bool accepted = socket->Owner() ? socket->Owner()->VerifyPeer(&certificate) : true;
        // The chain-length limit applies where verification settings were
        // given; our own default verification takes OpenSSL's limit.
        bool depthOk = true;
        if (TMxSSLContext* context = socket->Context(); context && !context->VerifyMode.Empty())
            depthOk = X509_STORE_CTX_get_error_depth(AStore) <= context->VerifyDepth;
        return accepted && APreverify > 0 && depthOk ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

} // namespace

TMxSSLContext::TMxSSLContext() {
    if (!InitialiseTlsLibrary()) throw EMxOSSLCouldNotLoadSSLLibrary("Could not load SSL library.");
}

TMxSSLContext::~TMxSSLContext() {
    SSL_CTX_free(FContext);
}

void TMxSSLContext::ApplyOptions(const TMxSSLOptions& AOptions) {
    RootCertFile = AOptions.RootCertFile;
    CertFile = AOptions.CertFile;
    KeyFile = AOptions.KeyFile;
    Method = AOptions.Method;
    Mode = AOptions.Mode;
    VerifyMode = AOptions.VerifyMode;
    VerifyDepth = AOptions.VerifyDepth;
    VerifyDirs = AOptions.VerifyDirs;
    CipherList = AOptions.CipherList;
}

const SSL_METHOD* TMxSSLContext::SelectMethod() const {
    if (Mode == TMxSSLMode::sslmUnassigned) throw EMxOSSLModeNotSet("Mode has not been set.");
    switch (Method) {
    case TMxSSLVersion::sslvSSLv2:
    case TMxSSLVersion::sslvSSLv23:
    case TMxSSLVersion::sslvSSLv3:
    case TMxSSLVersion::sslvTLSv1:
        break;
    default:
        throw EMxOSSLGetMethodError("Error geting SSL method.");
    }
    switch (Mode) {
    case TMxSSLMode::sslmClient:
        return TLS_client_method();
    case TMxSSLMode::sslmServer:
        return TLS_server_method();
    default:
        return TLS_method();
    }
}

void TMxSSLContext::SetUpContext(TMxSSLContextRole ARole) {
    SSL_CTX_free(FContext);
    FContext = nullptr;
    const bool server = ARole == TMxSSLContextRole::ctxServer;
    if (Mode == TMxSSLMode::sslmUnassigned)
        Mode = server ? TMxSSLMode::sslmServer : TMxSSLMode::sslmClient;

    FContext = SSL_CTX_new(SelectMethod());
    if (!FContext) {
        ERR_clear_error();
        throw EMxOSSLCreatingContextError("Error creating SSL context.");
    }
    SSL_CTX_set_default_passwd_cb(FContext, PasswordCallback);
    SSL_CTX_set_default_passwd_cb_userdata(FContext, this);
    SSL_CTX_set_default_verify_paths(FContext);
    // Mail servers often close without a close notification after QUIT;
    // the protocol's own replies tell whether anything was cut short.
    SSL_CTX_set_options(FContext, SSL_OP_IGNORE_UNEXPECTED_EOF);

    if (!RootCertFile.empty()) LoadRootCertificate();
    if (!CertFile.empty()) LoadCertificate();
    if (!KeyFile.empty()) LoadPrivateKey();
    if (StatusInfoOn) SSL_CTX_set_info_callback(FContext, StatusCallback);
    if (!CipherList.empty() && SSL_CTX_set_cipher_list(FContext, CipherList.c_str()) <= 0) {
        ERR_clear_error();
        throw EMxOSSLSettingCipherError("SetCipher failed.");
    }
    ApplyVerifyMode(ARole);
    if (server) {
        unsigned char id[4];
        std::memcpy(id, &SessionIdContext, sizeof id);
        SSL_CTX_set_session_id_context(FContext, id, sizeof id);
    }
    if (!RootCertFile.empty()) {
        if (STACK_OF(X509_NAME)* names = SSL_load_client_CA_file(RootCertFile.c_str()))
            SSL_CTX_set_client_CA_list(FContext, names);
        ERR_clear_error();
    }
}

void TMxSSLContext::ApplyVerifyMode(TMxSSLContextRole ARole) {
    int mode = 0;
    if (VerifyMode.Contains(TMxSSLVerifyMode::sslvrfPeer)) mode |= SSL_VERIFY_PEER;
    if (VerifyMode.Contains(TMxSSLVerifyMode::sslvrfFailIfNoPeerCert))
        mode |= SSL_VERIFY_FAIL_IF_NO_PEER_CERT;
    if (VerifyMode.Contains(TMxSSLVerifyMode::sslvrfClientOnce)) mode |= SSL_VERIFY_CLIENT_ONCE;
    // A client never talks to a server it has not verified.
    if (ARole == TMxSSLContextRole::ctxClient) mode |= SSL_VERIFY_PEER;
    if (mode == 0) return;
    SSL_CTX_set_verify(FContext, mode, VerifyOn ? VerifyCallback : nullptr);
    if (!VerifyMode.Empty()) SSL_CTX_set_verify_depth(FContext, VerifyDepth);
}

void TMxSSLContext::LoadRootCertificate() {
    if (SSL_CTX_load_verify_locations(FContext, RootCertFile.c_str(), nullptr) <= 0) {
        ERR_clear_error();
        throw EMxOSSLLoadingRootCertError("Could not load root certificate.");
    }
}

void TMxSSLContext::LoadCertificate() {
    if (SSL_CTX_use_certificate_file(FContext, CertFile.c_str(), SSL_FILETYPE_PEM) <= 0) {
        ERR_clear_error();
        throw EMxOSSLLoadingCertError("Could not load certificate.");
    }
}

void TMxSSLContext::LoadPrivateKey() {
    if (SSL_CTX_use_PrivateKey_file(FContext, KeyFile.c_str(), SSL_FILETYPE_PEM) <= 0 ||
        SSL_CTX_check_private_key(FContext) <= 0) {
        ERR_clear_error();
        throw EMxOSSLLoadingKeyError("Could not load key, check password.");
    }
}

} // namespace mail
