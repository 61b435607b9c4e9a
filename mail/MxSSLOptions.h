#pragma once
// The settings a TLS handler hands to the context it makes for each
// connection: trust anchor, own certificate and key, protocol family, role,
// peer verification and cipher list.
#include "platform/classes/SmallSet.h"
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Persistent.h"

#include <cstdint>

namespace mail {

// Every value negotiates the highest TLS version both sides share: the
// old protocol families the names recall are no longer offered by servers.
enum class TMxSSLVersion : std::uint8_t { sslvSSLv2, sslvSSLv23, sslvSSLv3, sslvTLSv1 };
enum class TMxSSLMode : std::uint8_t { sslmUnassigned, sslmClient, sslmServer, sslmBoth };
enum class TMxSSLVerifyMode : std::uint8_t { sslvrfPeer, sslvrfFailIfNoPeerCert, sslvrfClientOnce };
using TMxSSLVerifyModeSet = SmallSet<TMxSSLVerifyMode>;

class TMxSSLOptions : public TPersistent {
public:
    AnsiString ClassName() const override { return "TMxSSLOptions"; }

    AnsiString RootCertFile; // an extra trust anchor (PEM)
    AnsiString CertFile;     // our own certificate (PEM)
    AnsiString KeyFile;      // its private key (PEM)
    TMxSSLVersion Method = TMxSSLVersion::sslvSSLv2;
    TMxSSLMode Mode = TMxSSLMode::sslmUnassigned;
    TMxSSLVerifyModeSet VerifyMode;
    std::int32_t VerifyDepth = 0;
    AnsiString VerifyDirs; // kept with the context; nothing reads it
    AnsiString CipherList; // empty: the library's default list

    // Copies all nine settings from another TMxSSLOptions.
    void Assign(TPersistent* Source) override;
};

} // namespace mail
