#pragma once
// One OpenSSL context made from a handler's options: the protocol method
// for its role, the trust anchors, our own certificate and key, the
// verification and status callbacks and the cipher list. The library is
// linked in and initialised by the first context; it stays initialised
// until the program ends.
#include "mail/MxSSLOptions.h"
#include "platform/rtl/Object.h"

#include <cstdint>
#include <openssl/ssl.h>

namespace mail {

class TMxX509;

// What a context and its sessions ask of the component that made them.
class TMxSSLParent {
public:
    virtual ~TMxSSLParent() = default;
    virtual void NotifyStatusInfo(const AnsiString& AMsg) = 0;
    virtual void AskPassword(AnsiString& APassword) = 0;
    // Whether the certificate OpenSSL is checking may be accepted.
    virtual bool VerifyPeer(TMxX509* ACertificate) = 0;
};

enum class TMxSSLContextRole : std::uint8_t { ctxClient, ctxServer };

class TMxSSLContext : public TObject {
public:
    // Initialises the library on first use; EMxOSSLCouldNotLoadSSLLibrary
    // "Could not load SSL library." when that fails.
    TMxSSLContext();
    ~TMxSSLContext() override;
    TMxSSLContext(const TMxSSLContext&) = delete;
    TMxSSLContext& operator=(const TMxSSLContext&) = delete;
    AnsiString ClassName() const override { return "TMxSSLContext"; }

    TMxSSLParent* Parent = nullptr;
    TMxSSLVersion Method = TMxSSLVersion::sslvSSLv2;
    TMxSSLMode Mode = TMxSSLMode::sslmUnassigned;
    TMxSSLVerifyModeSet VerifyMode;
    std::int32_t VerifyDepth = 0;
    AnsiString RootCertFile;
    AnsiString CertFile;
    AnsiString KeyFile;
    AnsiString VerifyDirs;
    AnsiString CipherList;
    bool VerifyOn = false;     // the parent has a verification event
    bool StatusInfoOn = false; // the parent has a status event
    std::uint32_t SessionIdContext = 1;

    // Copies the nine settings.
    void ApplyOptions(const TMxSSLOptions& AOptions);
    SSL_CTX* Handle() const { return FContext; }

    // Builds the OpenSSL context, freeing any earlier one. A client
    // context always verifies the server's certificate against the
    // system's trust store and RootCertFile.
    void SetUpContext(TMxSSLContextRole ARole);
    const SSL_METHOD* SelectMethod() const;
    void ApplyVerifyMode(TMxSSLContextRole ARole);
    void LoadRootCertificate();
    void LoadCertificate();
    void LoadPrivateKey();

private:
    SSL_CTX* FContext = nullptr;
};

} // namespace mail
