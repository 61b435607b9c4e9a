#pragma once
// Text and value helpers of the window layer: environment, command-line
// splitting, capitalising, variants of a list of values, and the error
// helpers that turn a system error code into an exception.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Variant.h"

#include <span>

namespace formstore {

// A failed system call; ErrorCode is the system's error number.
class EWin32Error : public EOSError {
public:
    using EOSError::EOSError;
    const char* ClassName() const noexcept override { return "EWin32Error"; }
    int ErrorCode = 0;
};

// Nothing for 0; otherwise raises EWin32Error with the code and the
// system's text for it.
void RaiseWin32Error(int ErrorCode);
// False raises the last system error.
void CheckWin32(bool OK);

// Null for no value, the value itself for one, a variant array for more.
Variant MakeVariant(std::span<const Variant> Values);
// The environment variable; empty when it is not set.
AnsiString GetEnvVar(const AnsiString& Name);
// The first token of the line is the executable, the others are joined with
// single spaces into the parameters (a token holding a space is quoted).
// Tokens are separated by blanks and control characters; a double quote
// keeps blanks up to the next double quote, and "" between tokens is skipped.
void SplitCommandLine(const AnsiString& CmdLine, AnsiString& ExeName, AnsiString& Params);
// Lower case, then the first character upper case.
AnsiString AnsiUpperFirstChar(const AnsiString& S);
// S without a leading T or t, when it is longer than one character.
AnsiString DropT(const AnsiString& S);

} // namespace formstore
