#pragma once
// The grid classes above the core: the custom grid, which raises the
// published events of the hooks the core leaves open, and the published
// grid component.
#include "grid/model/BaseGrid.h"
#include "grid/view/DrawData.h"
#include "grid/view/XMLExport.h"

namespace grid {

class TgxCustomGrid : public TgxBaseGrid {
public:
    using TgxBaseGrid::TgxBaseGrid;
    AnsiString ClassName() const override { return "TgxCustomGrid"; }

    // ---- painting relays (view/GridCustomRelays) ----------------------------------------------
    TgxRowLoadedEvent OnRowLoaded;
    TgxCellLoadedEvent OnCellLoaded;
    TgxGetDrawInfoEvent OnGetDrawInfo;
    TgxPaintCellEvent OnPaintCell;
    virtual void DoRowLoaded(int DataRow);
    virtual void DoCellLoaded(int DataCol, int DataRow, Variant& Value);
    virtual void DoGetDrawInfo(int DataCol, int DataRow, TgxDrawInfo& DrawInfo);
    virtual void DoPaintCell(int DataCol, int DataRow, const TRect& ARect,
                             TgxPaintCellState State, bool& Cancel);
    // Once per row per paint, then for every cell value painted or read.
    void CellLoadedEvent(int DataCol, int DataRow, TgxControlType ControlType,
                         Variant& Value) override;
    bool ActivateDoGetDrawInfo() override;
    void GetDrawInfo(int DataCol, int DataRow, TgxDrawInfo& DrawInfo) override;
    bool PaintCell(TgxDrawData& Data, const TRect& Rect, bool Selected) override;

    // ---- export (view/GridExport) ----------------------------------------------------------
    // Asks for a file and writes CSV, or XML for a name ending in "xml".
    virtual void ExportGrid();
    // Both write a temporary file beside FileName and rename it over, so a
    // failed export leaves an older file as it was.
    virtual void ExportCSV(const AnsiString& FileName);
    virtual AnsiString GetCSVRowData(int DataRow);
    virtual AnsiString GetCSVHeadingData();
    virtual void ExportXML(const AnsiString& FileName);
    virtual AnsiString GetXMLData();
    virtual AnsiString GetXMLMetaData();
    virtual AnsiString GetXMLRowData(int DataRow);
    // The text written after each CSV field, with "#9", "#10" and "#13"
    // read as one control character.
    AnsiString CSVDelimiter() const;
    // The attribute name of a data column in the XML export: a valid XML
    // name, distinct from the other columns' names.
    AnsiString XMLAttributeName(int DataCol) const;
    TgoXMLExport* XMLExport() const { return FXMLExport.get(); }
    void SetXMLExport(TgoXMLExport* Value) { FXMLExport->Assign(Value); }

protected:
    void Paint() override;

private:
    int FLastLoadedRow = -1;
    std::unique_ptr<TgoXMLExport> FXMLExport = std::make_unique<TgoXMLExport>();
};

// The grid a form holds; it publishes the grid's properties.
class TgxGrid : public TgxCustomGrid {
public:
    explicit TgxGrid(TComponent* AOwner);
    AnsiString ClassName() const override { return "TgxGrid"; }
};

} // namespace grid
