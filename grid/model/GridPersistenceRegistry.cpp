// The saved state kept in the registry: as a binary value, or as a string
// value naming the file that holds it.
#include "grid/foundation/GridCommonRegistry.h"
#include "grid/model/BaseGrid.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Streams.h"

#include <filesystem>

namespace grid {

void TgxBaseGrid::SaveToRegistry(const AnsiString& Key, const AnsiString& ValueName,
                                 const AnsiString& FileName, bool SaveData) {
    SavePropToRegistry(Key, ValueName, FileName, AllPropKinds, AllProperties(), SaveData);
}

void TgxBaseGrid::SavePropToRegistry(const AnsiString& Key, const AnsiString& ValueName,
                                     const AnsiString& FileName, TgxPropKinds Kinds,
                                     TgxProperties Properties, bool SaveData) {
    const std::unique_ptr<TRegistry> Registry = OpenRegistryKey(Key, true);
    if (!Registry) throw ERegistryException(Format("Failed to create key %s", Key.c_str()));
    if (!FileName.empty()) {
        const AnsiString FullName = std::filesystem::absolute(FileName).lexically_normal().string();
        SavePropToFile(FullName, Kinds, Properties, SaveData);
        Registry->WriteString(ValueName, FullName);
        return;
    }
    TMemoryStream Stream;
    SavePropToStream(&Stream, Kinds, Properties, SaveData);
    Registry->WriteBinaryData(ValueName, Stream.Memory(), static_cast<int>(Stream.GetSize()));
}

bool TgxBaseGrid::LoadFromRegistry(const AnsiString& Key, const AnsiString& ValueName,
                                   TgxColMatch ColMatch) {
    const std::unique_ptr<TRegistry> Registry = OpenRegistryKey(Key, false);
    if (!Registry) return false;
    switch (Registry->GetDataType(ValueName)) {
    case rdString:
    case rdExpandString: {
        const AnsiString FileName = Registry->ReadString(ValueName);
        if (FileName.empty()) return false;
        LoadFromFile(FileName, ColMatch);
        return true;
    }
    case rdBinary: {
        const int Size = Registry->GetDataSize(ValueName);
        TMemoryStream Stream;
        Stream.SetSize(Size);
        if (Size > 0) Registry->ReadBinaryData(ValueName, Stream.Memory(), Size);
        Stream.SetPosition(0);
        LoadFromStream(&Stream, ColMatch);
        return true;
    }
    default:
        return false;
    }
}

} // namespace grid
