// The custom grid's export of its cells to a CSV file or a data-packet XML
// document. Both are built whole in memory with painting off, then written
// to a temporary file that is renamed over the target.
#include "grid/model/Columns.h"
#include "grid/model/GridGuards.h"
#include "grid/model/GxGrid.h"
#include "grid/model/ExportText.h"
#include "platform/gui/SaveDialog.h"
#include "platform/registry/SafeFile.h"
#include "platform/rtl/LargeText.h"

#include <cctype>
#include <set>
#include <vector>

namespace grid {

namespace {

constexpr mode_t ExportFileMode = 0666;

AnsiString CSVField(const AnsiString& Text, const AnsiString& Delimiter) {
    AnsiString Result = "\"";
    for (char C : CSVText(Text)) {
        if (C == '"') Result += '"';
        Result += C;
    }
    Result += '"';
    return Result + Delimiter;
}

bool IsPictureCol(const TgxCol* Col) {
    return Col && Col->ControlType() == ctPicture;
}

// Breaks text at CR, LF or CR LF and ends every line with CR LF, in place:
// a document of many megabytes is not copied into a second one.
void MakeCRLFLines(AnsiString& Text) {
    const std::size_t Size = Text.size();
    std::size_t Grown = 0;
    for (std::size_t I = 0; I < Size; ++I) {
        if (Text[I] == '\r' && I + 1 < Size && Text[I + 1] == '\n')
            ++I;
        else if (Text[I] == '\r' || Text[I] == '\n')
            ++Grown;
    }
    const bool EndsLine = Size > 0 && (Text[Size - 1] == '\r' || Text[Size - 1] == '\n');
    const std::size_t Last = Size > 0 && !EndsLine ? 2 : 0;
    if (Grown + Last == 0) return;
    Text.resize(Size + Grown + Last);
    // From the back: every byte moves right by the growth left of it.
    std::size_t To = Text.size();
    if (Last) {
        Text[--To] = '\n';
        Text[--To] = '\r';
    }
    for (std::size_t From = Size; From-- > 0;) {
        const char C = Text[From];
        if (C == '\n' && From > 0 && Text[From - 1] == '\r') {
            Text[--To] = '\n';
            Text[--To] = '\r';
            --From;
        } else if (C == '\r' || C == '\n') {
            Text[--To] = '\n';
            Text[--To] = '\r';
        } else {
            Text[--To] = C;
        }
    }
}

} // namespace

AnsiString TgxCustomGrid::CSVDelimiter() const {
    const AnsiString& D = ExportDelimiter();
    if (D == "#9") return "\t";
    if (D == "#10") return "\n";
    if (D == "#13") return "\r";
    return D;
}

void TgxCustomGrid::ExportGrid() {
    TSaveDialog Dialog(this);
    Dialog.SetFilter("CSV File (*.csv)|*.csv|XML File (*.xml)|*.xml");
    Dialog.SetFilterIndex(0);
    Dialog.SetDefaultExt("csv");
    Dialog.SetTitle("Grid Export");
    if (!Dialog.Execute()) return;
    const AnsiString Name = Dialog.FileName();
    if (Name.size() <= 3) return;
    AnsiString Ext = Name.substr(Name.size() - 3);
    for (char& C : Ext)
        C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    if (Ext == "xml")
        ExportXML(Name);
    else
        ExportCSV(Name);
}

// ---- CSV ------------------------------------------------------------------------------

namespace {

// The data columns a CSV line holds: display order, shown, no pictures.
std::vector<int> CSVColumns(TgxBaseGrid& Grid) {
    std::vector<int> Result;
    for (int D = 1; D <= Grid.GetGridColCount(); ++D) {
        const int DataCol = Grid.GetDataCol(D);
        const TgxCol* Col = Grid.GridCols()->Item(DataCol);
        if (Col && (!Col->Visible() || IsPictureCol(Col))) continue;
        Result.push_back(DataCol);
    }
    return Result;
}

} // namespace

AnsiString TgxCustomGrid::GetCSVHeadingData() {
    const AnsiString Delimiter = CSVDelimiter();
    AnsiString Line;
    for (int DataCol : CSVColumns(*this)) {
        const TgxCol* Col = GridCols()->Item(DataCol);
        Line += CSVField(Col ? Col->GetHeading() : AnsiString(), Delimiter);
    }
    return Line;
}

AnsiString TgxCustomGrid::GetCSVRowData(int DataRow) {
    const AnsiString Delimiter = CSVDelimiter();
    AnsiString Line;
    for (int DataCol : CSVColumns(*this))
        Line += CSVField(VarToStr(GetCellValue(DataCol, DataRow)), Delimiter);
    return Line;
}

void TgxCustomGrid::ExportCSV(const AnsiString& FileName) {
    AnsiString Text;
    {
        TgxRedrawOff Off(*this);
        Text = GetCSVHeadingData() + "\r\n";
        for (int Row = 1; Row <= GetGridRowCount(); ++Row)
            Text += GetCSVRowData(Row) + "\r\n";
    }
    ReplaceFile(FileName, Text, ExportFileMode);
}

// ---- XML ------------------------------------------------------------------------------

namespace {

// The exported columns (data order, no pictures) with their attribute
// names in the charset, made unique in data order: a later column whose
// name was taken gets its data column number added.
TgxXMLColumns XMLColumnsIn(const TgxCustomGrid& Grid, TgxXMLCharset Charset) {
    TgxXMLColumns Result;
    std::set<AnsiString> Taken;
    for (int C = 1; C <= Grid.GetGridColCount(); ++C) {
        const TgxCol* Col = Grid.GridCols()->Item(C);
        if (IsPictureCol(Col)) continue;
        AnsiString Name = XMLNameIn(XMLNameText(Col ? Col->XMLHeading() : AnsiString()), Charset);
        while (!Taken.insert(Name).second)
            Name += "_" + std::to_string(C);
        Result.emplace_back(C, Name);
    }
    return Result;
}

} // namespace

AnsiString TgxCustomGrid::XMLAttributeName(int DataCol) const {
    for (const auto& [C, Name] : XMLColumnsIn(*this, TgxXMLCharset::Utf8))
        if (C == DataCol) return Name;
    return "_";
}

TgxXMLCharset TgxCustomGrid::XMLCharset() const {
    TgxXMLCharset Charset = TgxXMLCharset::Utf8;
    if (!XMLCharsetFor(FXMLExport->Encoding(), Charset))
        InvalidOp("The XML export cannot write the encoding \"" + FXMLExport->Encoding() +
                  "\"; it writes UTF-8, ISO-8859-1 and US-ASCII");
    return Charset;
}

// The columns of the export in progress, worked out once for all its rows;
// outside one, for the call.
const TgxXMLColumns& TgxCustomGrid::XMLColumns() {
    if (FXMLColumnsHeld == 0) FXMLColumns = XMLColumnsIn(*this, XMLCharset());
    return FXMLColumns;
}

AnsiString TgxCustomGrid::GetXMLRowData(int DataRow) {
    const TgxXMLCharset Charset = FXMLColumnsHeld > 0 ? FXMLHeldCharset : XMLCharset();
    AnsiString Row = "<ROW ";
    for (const auto& [DataCol, Name] : XMLColumns()) {
        AnsiString Value;
        if (GetCellControlType(DataCol, DataRow) != ctPicture)
            Value = XMLAttributeText(VarToStr(GetCellValue(DataCol, DataRow)), Charset);
        Row += Name;
        Row += "=\"";
        Row += Value;
        Row += "\" ";
    }
    return Row + "/>";
}

AnsiString TgxCustomGrid::GetXMLMetaData() {
    AnsiString Meta = "<METADATA><FIELDS>";
    for (const auto& [DataCol, Name] : XMLColumns())
        Meta += "<FIELD attrname=\"" + Name + "\" fieldtype=\"string\" />";
    return Meta + "</FIELDS><PARAMS LCID=\"1033\"/></METADATA>";
}

AnsiString TgxCustomGrid::GetXMLData() {
    const TgoXMLExport& X = *FXMLExport;
    const TgxXMLCharset Charset = XMLCharset();
    // The declaration names the charset the text is written in by the name
    // every reader knows (an empty encoding writes UTF-8, as the grid holds
    // its text), not by the spelling that chose it.
    AnsiString Data = AnsiString("<?xml version=\"") + X.Version() + "\" encoding=\"" +
                      XMLEncodingName(Charset) + "\" standalone=\"" +
                      (X.StandAlone() ? "yes" : "no") + "\"?> ";
    // The packet is closed in any case, so it is always opened: without a
    // version it has no Version attribute.
    if (X.DataPacketVersion().empty())
        Data += "<DATAPACKET>";
    else
        Data += "<DATAPACKET Version=\"" + X.DataPacketVersion() + "\">";
    // The names are worked out once; the rows use them.
    FXMLColumns = XMLColumnsIn(*this, Charset);
    FXMLHeldCharset = Charset;
    ++FXMLColumnsHeld;
    try {
        Data += GetXMLMetaData() + " <ROWDATA> ";
        TgxPaintOff Off(*this);
        const int Rows = GetGridRowCount();
        for (int Row = 1; Row <= Rows; ++Row) {
            const std::size_t Before = Data.size();
            Data += GetXMLRowData(Row);
            Data += "\n\r";
            // Room, once, for half as much again as rows like the first
            // (later rows may be longer) and the line ends the file gets:
            // the document is not copied to a new buffer each time it
            // outgrows the last one, and room never written costs nothing.
            if (Row == 1) {
                const std::size_t PerRow = Data.size() - Before + 2;
                ReserveLargeText(Data,
                                 Data.size() + PerRow * static_cast<std::size_t>(Rows) * 3 / 2 + 64);
            }
        }
    } catch (...) {
        --FXMLColumnsHeld;
        throw;
    }
    --FXMLColumnsHeld;
    Data += "</ROWDATA></DATAPACKET>";
    return Data;
}

void TgxCustomGrid::ExportXML(const AnsiString& FileName) {
    AnsiString Text;
    {
        TgxRedrawOff Off(*this);
        Text = GetXMLData();
    }
    MakeCRLFLines(Text);
    ReplaceFile(FileName, Text, ExportFileMode);
}

} // namespace grid
