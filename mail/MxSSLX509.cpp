#include "mail/MxSSLX509.h"

#include <openssl/x509.h>

namespace mail {

AnsiString TMxX509Name::OneLine() const {
    if (!FName) return AnsiString();
    char* text = X509_NAME_oneline(FName, nullptr, 0);
    if (!text) return AnsiString();
    AnsiString result(text);
    OPENSSL_free(text);
    return result;
}

std::uint32_t TMxX509Name::Hash() const {
    return FName ? static_cast<std::uint32_t>(X509_NAME_hash_ex(FName, nullptr, nullptr, nullptr))
                 : 0;
}

TMxX509::TMxX509(X509* ACertificate) : FCertificate(ACertificate) {
    if (FCertificate) X509_up_ref(FCertificate);
}

TMxX509::~TMxX509() {
    FSubject.reset();
    FIssuer.reset();
    X509_free(FCertificate);
}

TMxX509Name* TMxX509::Subject() {
    if (!FSubject && FCertificate)
        FSubject = std::make_unique<TMxX509Name>(X509_get_subject_name(FCertificate));
    return FSubject.get();
}

TMxX509Name* TMxX509::Issuer() {
    if (!FIssuer && FCertificate)
        FIssuer = std::make_unique<TMxX509Name>(X509_get_issuer_name(FCertificate));
    return FIssuer.get();
}

} // namespace mail
