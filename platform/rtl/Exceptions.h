#pragma once
// The single exception tree every failure of the system belongs to. The
// message is the text a person sees; ClassName() names the class as the
// exception display shows it.
#include "platform/rtl/AnsiString.h"

#include <exception>

class Exception : public std::exception {
public:
    explicit Exception(AnsiString message) : Message(std::move(message)) {}
    ~Exception() override = default;

    const char* what() const noexcept override { return Message.c_str(); }
    virtual const char* ClassName() const noexcept { return "Exception"; }

    AnsiString Message;
};

// Declares a descendant that takes the same message constructor.
#define RTL_DECLARE_EXCEPTION(Name, Base)                                                \
    class Name : public Base {                                                           \
    public:                                                                              \
        using Base::Base;                                                                \
        const char* ClassName() const noexcept override { return #Name; }                \
    }

RTL_DECLARE_EXCEPTION(EAbort, Exception);
RTL_DECLARE_EXCEPTION(EConvertError, Exception);
RTL_DECLARE_EXCEPTION(EVariantError, Exception);
RTL_DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError);
RTL_DECLARE_EXCEPTION(EVariantOverflowError, EVariantError);
RTL_DECLARE_EXCEPTION(EVariantBadIndexError, EVariantError);
RTL_DECLARE_EXCEPTION(EVariantInvalidOpError, EVariantError);
RTL_DECLARE_EXCEPTION(EListError, Exception);
RTL_DECLARE_EXCEPTION(EStringListError, Exception);
RTL_DECLARE_EXCEPTION(EBitsError, Exception);
RTL_DECLARE_EXCEPTION(EInvalidOperation, Exception);
RTL_DECLARE_EXCEPTION(EInvalidPointer, Exception);
RTL_DECLARE_EXCEPTION(EInvalidCast, Exception);
RTL_DECLARE_EXCEPTION(EOutOfResources, Exception);
RTL_DECLARE_EXCEPTION(EOutOfMemory, Exception);
RTL_DECLARE_EXCEPTION(EIntError, Exception);
RTL_DECLARE_EXCEPTION(EDivByZero, EIntError);
RTL_DECLARE_EXCEPTION(ERangeError, EIntError);
RTL_DECLARE_EXCEPTION(EIntOverflow, EIntError);
RTL_DECLARE_EXCEPTION(EMathError, Exception);
RTL_DECLARE_EXCEPTION(EZeroDivide, EMathError);
RTL_DECLARE_EXCEPTION(EOverflow, EMathError);
RTL_DECLARE_EXCEPTION(EInvalidOp, EMathError);
RTL_DECLARE_EXCEPTION(EStreamError, Exception);
RTL_DECLARE_EXCEPTION(EReadError, EStreamError);
RTL_DECLARE_EXCEPTION(EWriteError, EStreamError);
RTL_DECLARE_EXCEPTION(EFilerError, EStreamError);
RTL_DECLARE_EXCEPTION(EClassNotFound, EFilerError);
RTL_DECLARE_EXCEPTION(EFCreateError, EStreamError);
RTL_DECLARE_EXCEPTION(EFOpenError, EStreamError);
RTL_DECLARE_EXCEPTION(EComponentError, Exception);
RTL_DECLARE_EXCEPTION(EInOutError, Exception);
RTL_DECLARE_EXCEPTION(EOSError, Exception);
RTL_DECLARE_EXCEPTION(EExternalException, Exception);
RTL_DECLARE_EXCEPTION(EAssertionFailed, Exception);
RTL_DECLARE_EXCEPTION(ENotImplemented, Exception);

// Raises the silent exception: unwinds to the event loop without a message.
[[noreturn]] void Abort();
