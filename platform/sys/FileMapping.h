#pragma once
// A named block of shared memory, mapped whole for reading and writing. Its
// Size is the real size of the mapping, which may be larger than asked for
// when another process made it larger; nothing may be read or written past
// it.
#include "platform/rtl/AnsiString.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class TFileMapping {
public:
    // Opens the mapping of that name, or creates it, and makes it at least
    // MinSize bytes (new bytes are zero). Raises EOSError on failure.
    static std::unique_ptr<TFileMapping> OpenOrCreate(const AnsiString& Name, std::size_t MinSize);
    // Opens an existing mapping; nullptr when there is none.
    static std::unique_ptr<TFileMapping> Open(const AnsiString& Name);

    ~TFileMapping();
    TFileMapping(const TFileMapping&) = delete;
    TFileMapping& operator=(const TFileMapping&) = delete;

    const AnsiString& Name() const { return FName; }
    std::uint8_t* Data() const { return FData; }
    std::size_t Size() const { return FSize; }
    // Makes the mapping at least MinSize bytes and maps it anew (Data may move).
    void Grow(std::size_t MinSize);

private:
    TFileMapping(AnsiString Name, int Fd);
    void Map();

    AnsiString FName;
    int FFd = -1;
    std::uint8_t* FData = nullptr;
    std::size_t FSize = 0;
};
