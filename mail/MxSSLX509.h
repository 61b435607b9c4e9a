#pragma once
// A certificate as the verification event sees it, with its subject and
// issuer names made on first request.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Object.h"

#include <cstdint>
#include <memory>
#include <openssl/types.h>

namespace mail {

class TMxX509Name : public TObject {
public:
    explicit TMxX509Name(X509_NAME* AName) : FName(AName) {}
    AnsiString ClassName() const override { return "TMxX509Name"; }

    // The name in OpenSSL's one-line form, "/C=../CN=..".
    AnsiString OneLine() const;
    // OpenSSL's hash of the name, as used for certificate directories.
    std::uint32_t Hash() const;

private:
    X509_NAME* FName; // belongs to the certificate
};

class TMxX509 : public TObject {
public:
    // Takes a reference of its own on ACertificate.
    explicit TMxX509(X509* ACertificate);
    ~TMxX509() override;
    TMxX509(const TMxX509&) = delete;
    TMxX509& operator=(const TMxX509&) = delete;
    AnsiString ClassName() const override { return "TMxX509"; }

    X509* Certificate() const { return FCertificate; }
    TMxX509Name* Subject();
    TMxX509Name* Issuer();

private:
    X509* FCertificate;
    std::unique_ptr<TMxX509Name> FSubject;
    std::unique_ptr<TMxX509Name> FIssuer;
};

} // namespace mail
