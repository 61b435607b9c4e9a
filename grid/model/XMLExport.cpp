#include "grid/model/XMLExport.h"

#include "platform/classes/Publish.h"

namespace grid {

void TgoXMLExport::Assign(TPersistent* Source) {
    if (auto* Other = dynamic_cast<TgoXMLExport*>(Source)) {
        FEncoding = Other->FEncoding;
        FVersion = Other->FVersion;
        FDataPacketVersion = Other->FDataPacketVersion;
        FStandAlone = Other->FStandAlone;
        return;
    }
    TPersistent::Assign(Source);
}

namespace {

const TPublished<TgoXMLExport> XMLExportClass("TgoXMLExport", [](auto& C) {
    C.Property(
         "Encoding", [](const TgoXMLExport& X) { return X.Encoding(); },
         [](TgoXMLExport& X, const AnsiString& V) { X.SetEncoding(V); })
        .Stored([](const TgoXMLExport& X) { return !X.Encoding().empty(); });
    C.Property(
         "Version", [](const TgoXMLExport& X) { return X.Version(); },
         [](TgoXMLExport& X, const AnsiString& V) { X.SetVersion(V); })
        .Stored([](const TgoXMLExport& X) { return X.Version() != "1.0"; });
    C.Property(
         "DataPacketVersion", [](const TgoXMLExport& X) { return X.DataPacketVersion(); },
         [](TgoXMLExport& X, const AnsiString& V) { X.SetDataPacketVersion(V); })
        .Stored([](const TgoXMLExport& X) { return X.DataPacketVersion() != "2.0"; });
    C.Property("StandAlone", &TgoXMLExport::StandAlone, &TgoXMLExport::SetStandAlone).Default(true);
});

} // namespace

} // namespace grid
