#pragma once
// The TLS half of the mail exception tree. Loading and file errors derive
// from EMxOpenSSLLoadError, every other TLS failure from EMxOpenSSLError.
#include "mail/MxExceptions.h"

namespace mail {

RTL_DECLARE_EXCEPTION(EMxOpenSSLError, EMxException);
RTL_DECLARE_EXCEPTION(EMxOpenSSLLoadError, EMxOpenSSLError);

RTL_DECLARE_EXCEPTION(EMxOSSLCouldNotLoadSSLLibrary, EMxOpenSSLLoadError);
RTL_DECLARE_EXCEPTION(EMxOSSLLoadingRootCertError, EMxOpenSSLLoadError);
RTL_DECLARE_EXCEPTION(EMxOSSLLoadingCertError, EMxOpenSSLLoadError);
RTL_DECLARE_EXCEPTION(EMxOSSLLoadingKeyError, EMxOpenSSLLoadError);

RTL_DECLARE_EXCEPTION(EMxOSSLModeNotSet, EMxOpenSSLError);
RTL_DECLARE_EXCEPTION(EMxOSSLGetMethodError, EMxOpenSSLError);
RTL_DECLARE_EXCEPTION(EMxOSSLCreatingContextError, EMxOpenSSLError);
RTL_DECLARE_EXCEPTION(EMxOSSLSettingCipherError, EMxOpenSSLError);
RTL_DECLARE_EXCEPTION(EMxOSSLDataBindingError, EMxOpenSSLError);
RTL_DECLARE_EXCEPTION(EMxOSSLConnectError, EMxOpenSSLError);
RTL_DECLARE_EXCEPTION(EMxOSSLAcceptError, EMxOpenSSLError);

} // namespace mail
