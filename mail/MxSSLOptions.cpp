#include "mail/MxSSLOptions.h"

namespace mail {

void TMxSSLOptions::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TMxSSLOptions*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    RootCertFile = source->RootCertFile;
    CertFile = source->CertFile;
    KeyFile = source->KeyFile;
    Method = source->Method;
    Mode = source->Mode;
    VerifyMode = source->VerifyMode;
    VerifyDepth = source->VerifyDepth;
    VerifyDirs = source->VerifyDirs;
    CipherList = source->CipherList;
}

} // namespace mail
