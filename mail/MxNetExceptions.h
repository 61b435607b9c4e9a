#pragma once
// The network half of the mail exception tree: the socket stack, socket
// handles and handlers, the TCP connection and the SOCKS client. Every class
// derives from EMxException, so a caller catches the transport's failures
// in one place.
#include "mail/MxExceptions.h"

namespace mail {

// Socket stack
RTL_DECLARE_EXCEPTION(EMxStackError, EMxException);
RTL_DECLARE_EXCEPTION(EMxStackSetSizeExceeded, EMxStackError);
RTL_DECLARE_EXCEPTION(EMxInvalidIPAddress, EMxStackError);
RTL_DECLARE_EXCEPTION(EMxInvalidSocket, EMxException);
RTL_DECLARE_EXCEPTION(EMxInvalidServiceName, EMxException);

// Socket handles and handlers
RTL_DECLARE_EXCEPTION(EMxSocketHandleError, EMxException);
RTL_DECLARE_EXCEPTION(EMxCouldNotBindSocket, EMxSocketHandleError);
RTL_DECLARE_EXCEPTION(EMxInvalidPortRange, EMxSocketHandleError);
RTL_DECLARE_EXCEPTION(EMxCanNotBindPortInRange, EMxSocketHandleError);
RTL_DECLARE_EXCEPTION(EMxConnectTimeout, EMxException);
RTL_DECLARE_EXCEPTION(EMxConnectException, EMxException);
RTL_DECLARE_EXCEPTION(EMxClosedSocket, EMxException);
RTL_DECLARE_EXCEPTION(EMxInterceptCircularLink, EMxException);

// TCP connection
RTL_DECLARE_EXCEPTION(EMxAlreadyConnected, EMxException);
RTL_DECLARE_EXCEPTION(EMxReadTimeout, EMxException);
RTL_DECLARE_EXCEPTION(EMxReadLnMaxLineLengthExceeded, EMxException);
RTL_DECLARE_EXCEPTION(EMxTCPConnectionError, EMxException);
RTL_DECLARE_EXCEPTION(EMxNotConnected, EMxTCPConnectionError);
RTL_DECLARE_EXCEPTION(EMxNotEnoughDataInBuffer, EMxTCPConnectionError);
RTL_DECLARE_EXCEPTION(EMxObjectTypeNotSupported, EMxTCPConnectionError);
RTL_DECLARE_EXCEPTION(EMxNoDataToRead, EMxTCPConnectionError);
RTL_DECLARE_EXCEPTION(EMxFileNotFound, EMxTCPConnectionError);

// SOCKS client
RTL_DECLARE_EXCEPTION(EMxSocksError, EMxException);
RTL_DECLARE_EXCEPTION(EMxSocksRequestFailed, EMxSocksError);
RTL_DECLARE_EXCEPTION(EMxSocksRequestServerFailed, EMxSocksError);
RTL_DECLARE_EXCEPTION(EMxSocksRequestIdentFailed, EMxSocksError);
RTL_DECLARE_EXCEPTION(EMxSocksUnknownError, EMxSocksError);
RTL_DECLARE_EXCEPTION(EMxSocksServerRespondError, EMxSocksError);
RTL_DECLARE_EXCEPTION(EMxSocksAuthMethodError, EMxSocksError);
RTL_DECLARE_EXCEPTION(EMxSocksAuthError, EMxSocksError);
RTL_DECLARE_EXCEPTION(EMxSocksServerGeneralError, EMxSocksError);
RTL_DECLARE_EXCEPTION(EMxSocksServerPermissionError, EMxSocksError);
RTL_DECLARE_EXCEPTION(EMxSocksServerNetUnreachableError, EMxSocksError);
RTL_DECLARE_EXCEPTION(EMxSocksServerHostUnreachableError, EMxSocksError);
RTL_DECLARE_EXCEPTION(EMxSocksServerConnectionRefusedError, EMxSocksError);
RTL_DECLARE_EXCEPTION(EMxSocksServerTTLExpiredError, EMxSocksError);
RTL_DECLARE_EXCEPTION(EMxSocksServerCommandError, EMxSocksError);
RTL_DECLARE_EXCEPTION(EMxSocksServerAddressError, EMxSocksError);

} // namespace mail
