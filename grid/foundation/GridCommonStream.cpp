#include "grid/foundation/GridCommonStream.h"

#include "platform/classes/Filer.h"
#include "platform/rtl/StrUtils.h"

namespace grid {

void WriteVariant(TWriter* Writer, const Variant& Value) {
    if (Value.IsEmpty()) {
        Writer->WriteIdent("Empty");
        return;
    }
    if (Value.IsNull()) {
        Writer->WriteIdent("Null");
        return;
    }
    switch (Value.IsArray() ? varArray : VarType(Value)) {
    case varSmallint:
    case varInteger:
        Writer->WriteInteger(Value.AsInteger());
        return;
    case varSingle:
    case varDouble:
    case varDate:
        Writer->WriteFloat(Value.AsDouble());
        return;
    case varOleStr:
    case varString:
        Writer->WriteString(Value.AsString());
        return;
    case varBoolean:
        Writer->WriteBoolean(Value.AsBoolean());
        return;
    default:
        Writer->WriteString(AnsiString());
        return;
    }
}

Variant ReadVariant(TReader* Reader) {
    switch (Reader->NextValue()) {
    case vaInt8:
    case vaInt16:
    case vaInt32:
        return Variant(Reader->ReadInteger());
    case vaExtended:
        return Variant(Reader->ReadFloat());
    case vaString:
    case vaLString:
        return Variant(Reader->ReadString());
    case vaFalse:
    case vaTrue:
        return Variant(Reader->ReadBoolean());
    case vaNull: // how the stream spells the identifier Null
    case vaIdent: {
        const AnsiString Ident = Reader->ReadIdent();
        if (SameText(Ident, "Null")) return Null();
        return Variant(); // "Empty", or a word that names no value
    }
    default:
        return Variant();
    }
}

} // namespace grid
