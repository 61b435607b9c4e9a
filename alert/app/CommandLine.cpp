#include "alert/app/CommandLine.h"

#include "platform/gui/Forms.h"
#include "platform/rtl/StrUtils.h"

bool DebugMode = false;

bool IsDebugSwitch(const AnsiString& Arg) {
    return Pos("/", Arg) == 1 && Pos("/DEBUG", UpperCase(Arg)) > 0;
}

void ScanCommandLine() {
    for (int I = 1; I <= ParamCount(); ++I)
        if (IsDebugSwitch(ParamStr(I))) DebugMode = true;
}
