#pragma once
// The options of a grid's data-packet XML export: the values of the XML
// declaration and of the DATAPACKET element. One belongs to every custom
// grid and is published as its XMLExport property.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Persistent.h"

namespace grid {

class TgoXMLExport : public TPersistent {
public:
    AnsiString ClassName() const override { return "TgoXMLExport"; }

    // The declared encoding; empty declares "UTF-8", the text written.
    const AnsiString& Encoding() const { return FEncoding; }
    void SetEncoding(const AnsiString& Value) { FEncoding = Value; }
    const AnsiString& Version() const { return FVersion; }
    void SetVersion(const AnsiString& Value) { FVersion = Value; }
    // Empty leaves the DATAPACKET start tag out.
    const AnsiString& DataPacketVersion() const { return FDataPacketVersion; }
    void SetDataPacketVersion(const AnsiString& Value) { FDataPacketVersion = Value; }
    bool StandAlone() const { return FStandAlone; }
    void SetStandAlone(bool Value) { FStandAlone = Value; }

    void Assign(TPersistent* Source) override;

private:
    AnsiString FEncoding;
    AnsiString FVersion = "1.0";
    AnsiString FDataPacketVersion = "2.0";
    bool FStandAlone = true;
};

} // namespace grid
