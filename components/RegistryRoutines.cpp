#include "components/RegistryRoutines.h"

namespace components {

namespace {

template <typename T, typename Read, typename Write>
T ReadWithDefault(TRegistry& reg, const AnsiString& name, const T& fallback, bool writeDefault,
                  Read read, Write write) {
    if (reg.ValueExists(name)) {
        try {
            return read(name);
        } catch (...) {
            return fallback;
        }
    }
    if (writeDefault) write(name, fallback);
    return fallback;
}

template <typename Write> void WriteSwallowingErrors(Write write) {
    try {
        write();
    } catch (...) {
        // A setting that cannot be stored is not worth stopping the caller for.
    }
}

} // namespace

AnsiString ReadRegistryString(TRegistry& Reg, const AnsiString& Name, const AnsiString& Default,
                              bool WriteDefault) {
    return ReadWithDefault(
        Reg, Name, Default, WriteDefault, [&](const AnsiString& n) { return Reg.ReadString(n); },
        [&](const AnsiString& n, const AnsiString& v) { Reg.WriteString(n, v); });
}

void WriteRegistryString(TRegistry& Reg, const AnsiString& Name, const AnsiString& Value) {
    WriteSwallowingErrors([&] { Reg.WriteString(Name, Value); });
}

int ReadRegistryInteger(TRegistry& Reg, const AnsiString& Name, int Default, bool WriteDefault) {
    return ReadWithDefault(
        Reg, Name, Default, WriteDefault, [&](const AnsiString& n) { return Reg.ReadInteger(n); },
        [&](const AnsiString& n, int v) { Reg.WriteInteger(n, v); });
}

void WriteRegistryInteger(TRegistry& Reg, const AnsiString& Name, int Value) {
    WriteSwallowingErrors([&] { Reg.WriteInteger(Name, Value); });
}

} // namespace components
