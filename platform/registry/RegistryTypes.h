#pragma once
// The vocabulary shared by the registry classes and the store beneath them:
// root keys, access rights, value types and the registry's exception.
#include "platform/rtl/Exceptions.h"

#include <cstdint>

// A root of the registry. Each root is a store file of its own; there are no
// handles below the roots, a key is named by its path.
enum class HKEY : std::uint32_t {};
inline constexpr HKEY HKEY_CLASSES_ROOT{0x80000000u};
inline constexpr HKEY HKEY_CURRENT_USER{0x80000001u};
inline constexpr HKEY HKEY_LOCAL_MACHINE{0x80000002u};
inline constexpr HKEY HKEY_USERS{0x80000003u};
inline constexpr HKEY HKEY_PERFORMANCE_DATA{0x80000004u};
inline constexpr HKEY HKEY_CURRENT_CONFIG{0x80000005u};
inline constexpr HKEY HKEY_DYN_DATA{0x80000006u};

// Access rights a key is opened with.
using REGSAM = std::uint32_t;
inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_NOTIFY = 0x0010;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

enum class TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };
inline constexpr TRegDataType rdUnknown = TRegDataType::rdUnknown;
inline constexpr TRegDataType rdString = TRegDataType::rdString;
inline constexpr TRegDataType rdExpandString = TRegDataType::rdExpandString;
inline constexpr TRegDataType rdInteger = TRegDataType::rdInteger;
inline constexpr TRegDataType rdBinary = TRegDataType::rdBinary;

struct TRegDataInfo {
    TRegDataType RegData = rdUnknown;
    // Bytes of data; a string counts its terminating zero as the registry does.
    int DataSize = 0;
};

RTL_DECLARE_EXCEPTION(ERegistryException, Exception);
