// The custom grid's export of its cells to a CSV file or a data-packet XML
// document. Both are built whole in memory with painting off, then written
// to a temporary file that is renamed over the target.
#include "grid/foundation/GridCommonText.h"
#include "grid/model/Columns.h"
#include "grid/model/GridGuards.h"
#include "grid/model/GxGrid.h"
#include "platform/gui/SaveDialog.h"
#include "platform/registry/SafeFile.h"

#include <cctype>
#include <set>
#include <vector>

namespace grid {

namespace {

constexpr mode_t ExportFileMode = 0666;

AnsiString CSVField(const AnsiString& Text, const AnsiString& Delimiter) {
    AnsiString Result = "\"";
    for (char C : Text) {
        if (C == '"') Result += '"';
        Result += C;
    }
    Result += '"';
    return Result + Delimiter;
}

// An attribute value: the entities of the common helper, and line breaks and
// tabs as character references, which a reader would otherwise turn into
// blanks.
AnsiString XMLValue(const AnsiString& Text) {
    AnsiString Result;
    for (char C : CheckForWhiteSpace(Text)) {
        switch (C) {
        case '\r':
            Result += "&#13;";
            break;
        case '\n':
            Result += "&#10;";
            break;
        case '\t':
            Result += "&#9;";
            break;
        default:
            Result += C;
        }
    }
    return Result;
}

bool NameStartByte(unsigned char C) {
    return std::isalpha(C) || C == '_' || C >= 0x80;
}

bool NameByte(unsigned char C) {
    return NameStartByte(C) || std::isdigit(C) || C == '-' || C == '.';
}

// A heading as an XML name: every byte a name cannot hold (a leading digit,
// dot or hyphen included) becomes "_"; bytes of multi-byte characters stay.
AnsiString ValidXMLName(const AnsiString& Heading) {
    if (Heading.empty()) return "_";
    AnsiString Result = Heading;
    for (std::size_t I = 0; I < Result.size(); ++I) {
        const auto C = static_cast<unsigned char>(Result[I]);
        if (I == 0 ? !NameStartByte(C) : !NameByte(C)) Result[I] = '_';
    }
    return Result;
}

bool IsPictureCol(const TgxCol* Col) {
    return Col && Col->ControlType() == ctPicture;
}

// Breaks text at CR, LF or CR LF and ends every line with CR LF.
AnsiString WithCRLFLines(const AnsiString& Text) {
    AnsiString Result;
    Result.reserve(Text.size() + Text.size() / 16);
    std::size_t Start = 0;
    while (Start < Text.size()) {
        std::size_t End = Start;
        while (End < Text.size() && Text[End] != '\r' && Text[End] != '\n')
            ++End;
        Result.append(Text, Start, End - Start);
        Result += "\r\n";
        if (End < Text.size() && Text[End] == '\r' && End + 1 < Text.size() &&
            Text[End + 1] == '\n')
            ++End;
        Start = End + 1;
    }
    return Result;
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

AnsiString TgxCustomGrid::XMLAttributeName(int DataCol) const {
    // Names are made unique in data order: a later column whose name was
    // taken gets its data column number added.
    std::set<AnsiString> Taken;
    for (int C = 1; C <= GetGridColCount(); ++C) {
        const TgxCol* Col = GridCols()->Item(C);
        if (IsPictureCol(Col)) continue;
        AnsiString Name = ValidXMLName(Col ? Col->XMLHeading() : AnsiString());
        if (!Taken.insert(Name).second) {
            Name += "_" + std::to_string(C);
            Taken.insert(Name);
        }
        if (C == DataCol) return Name;
    }
    return "_";
}

namespace {

std::vector<std::pair<int, AnsiString>> XMLColumns(const TgxCustomGrid& Grid) {
    std::vector<std::pair<int, AnsiString>> Result;
    for (int C = 1; C <= Grid.GetGridColCount(); ++C)
        if (!IsPictureCol(Grid.GridCols()->Item(C)))
            Result.emplace_back(C, Grid.XMLAttributeName(C));
    return Result;
}

} // namespace

AnsiString TgxCustomGrid::GetXMLRowData(int DataRow) {
    AnsiString Row = "<ROW ";
    for (const auto& [DataCol, Name] : XMLColumns(*this)) {
        AnsiString Value;
        if (GetCellControlType(DataCol, DataRow) != ctPicture)
            Value = XMLValue(VarToStr(GetCellValue(DataCol, DataRow)));
        Row += Name + "=\"" + Value + "\" ";
    }
    return Row + "/>";
}

AnsiString TgxCustomGrid::GetXMLMetaData() {
    AnsiString Meta = "<METADATA><FIELDS>";
    for (const auto& [DataCol, Name] : XMLColumns(*this))
        Meta += "<FIELD attrname=\"" + Name + "\" fieldtype=\"string\" />";
    return Meta + "</FIELDS><PARAMS LCID=\"1033\"/></METADATA>";
}

AnsiString TgxCustomGrid::GetXMLData() {
    const TgoXMLExport& X = *FXMLExport;
    // The text is written as the grid holds it (UTF-8), so that is what an
    // empty encoding declares.
    const AnsiString Encoding = X.Encoding().empty() ? AnsiString("UTF-8") : X.Encoding();
    AnsiString Data = "<?xml version=\"" + X.Version() + "\" encoding=\"" + Encoding +
                      "\" standalone=\"" + (X.StandAlone() ? "yes" : "no") + "\"?> ";
    if (!X.DataPacketVersion().empty())
        Data += "<DATAPACKET Version=\"" + X.DataPacketVersion() + "\">";
    Data += GetXMLMetaData() + " <ROWDATA> ";
    {
        TgxPaintOff Off(*this);
        for (int Row = 1; Row <= GetGridRowCount(); ++Row)
            Data += GetXMLRowData(Row) + "\n\r";
    }
    return Data + "</ROWDATA></DATAPACKET>";
}

void TgxCustomGrid::ExportXML(const AnsiString& FileName) {
    AnsiString Text;
    {
        TgxRedrawOff Off(*this);
        Text = WithCRLFLines(GetXMLData());
    }
    ReplaceFile(FileName, Text, ExportFileMode);
}

} // namespace grid
