#pragma once
// The types, numbers and errors the report engine and the connections share.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Exceptions.h"

#include <cstdint>

namespace reportconn {

RTL_DECLARE_EXCEPTION(EReportPrinter, Exception);

// Column types; the ordinal travels as one byte.
enum class TRPDataType : std::uint8_t {
    dtString,
    dtInteger,
    dtBoolean,
    dtFloat,
    dtCurrency,
    dtBCD,
    dtDate,
    dtTime,
    dtDateTime,
    dtBlob,
    dtMemo,
    dtGraphic,
    dtInt64,
};
using enum TRPDataType;
inline constexpr int RPDataTypeCount = 13;

// Who may see a connection at run time; the ordinal travels in the handshake.
enum class TRuntimeVisibility : std::uint8_t { rtNone, rtDeveloper, rtEndUser };
using enum TRuntimeVisibility;

// The type's name as the column definition spells it ("dtInteger").
AnsiString RPDataTypeName(TRPDataType Type);
// Bytes a filter value of the type takes on the wire (0: none follows).
int RPFilterValueSize(TRPDataType Type);

inline constexpr std::int32_t ProtocolVersion = 30003;
inline constexpr std::size_t MainBufferSize = 65536;
// Reply length and overflow number come first; requests and replies start here.
inline constexpr std::size_t BufferDataStart = 8;

enum RPCommand : std::int32_t {
    cmdFirst = 1,
    cmdNext = 2,
    cmdEOF = 3,
    cmdGetCols = 4,
    cmdGetRow = 5,
    cmdSetFilter = 6,
    cmdGetSorts = 7,
    cmdSetSort = 8,
    cmdOpen = 9,
    cmdRestore = 10,
    cmdHandshake = 11,
    cmdReleaseOverflow = 12,
};

// Names of the shared objects.
inline constexpr const char* RDCConnect = "RDCCONNECT";
inline constexpr const char* RDCDisconnect = "RDCDISCONNECT";
inline constexpr const char* RDCCompleted = "RDCCOMPLETED";
inline constexpr const char* RDCControler = "RDCCONTROLER";
inline constexpr const char* RDCBuffer = "RDCBUFFER";
inline constexpr const char* RDCBufferAlt = "RDCBUFFERALT";

// The 80-bit extended float of the wire, to and from a double.
void DoubleToExtended(double Value, std::uint8_t (&Bytes)[10]);
double ExtendedToDouble(const std::uint8_t (&Bytes)[10]);

} // namespace reportconn
