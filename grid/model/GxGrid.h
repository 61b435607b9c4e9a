#pragma once
// The grid classes above the core: the custom grid, which raises the
// published events of the hooks the core leaves open, and the published
// grid component.
#include "grid/model/BaseGrid.h"
#include "grid/model/DrawData.h"
#include "grid/model/ExportText.h"
#include "grid/model/XMLExport.h"

#include <utility>
#include <vector>

class TPopupMenu;

namespace grid {

class TgoCustomGridReport;

// The data columns an XML export writes, with their attribute names.
using TgxXMLColumns = std::vector<std::pair<int, AnsiString>>;

// The report component's questions while it prints: Cancel leaves the grid,
// the row or the cell out.
using TgxPrintGridEvent = std::function<void(TObject* Sender, bool& Cancel)>;
using TgxPrintRowEvent = std::function<void(TObject* Sender, int DataRow, bool& Cancel)>;
using TgxPrintCellEvent =
    std::function<void(TObject* Sender, int DataCol, int DataRow, bool& Cancel)>;
using TgxTopLeftChangedEvent = std::function<void(TObject* Sender, int OldCol, int OldRow,
                                                  int NewCol, int NewRow, bool ByUser)>;
// Cancel keeps DataRow out of the selection; AnchorRow is the data row the
// selection started from (-1 for none).
using TgxCanSelectRowEvent =
    std::function<void(TObject* Sender, int AnchorRow, int DataRow, bool& Cancel)>;
class TgxComboGrid;
using TgxComboCellLoadedEvent = std::function<void(TObject* Sender, TgxComboGrid* Combo,
                                                   int DataCol, int DataRow, Variant& Value)>;

class TgxCustomGrid : public TgxBaseGrid {
public:
    using TgxBaseGrid::TgxBaseGrid;
    AnsiString ClassName() const override { return "TgxCustomGrid"; }

    // ---- the top-left cell and the lists' cells (view/GridCustomRelays) ------------------------
    // Gated; only on a real change.
    TgxTopLeftChangedEvent OnTopLeftChanged;
    virtual void DoTopLeftChanged(int OldCol, int OldRow, int NewCol, int NewRow, bool ByUser);
    void TopLeftChangedEvent(int OldLeftCol, int OldTopRow, bool ByUser, int NewTopRow,
                             int NewLeftCol) override;
    // Before a row joins the selection; Cancel starts false.
    TgxCanSelectRowEvent OnCanSelectRow;
    void DoCanSelectRow(int AnchorRow, const Variant& DataRow, bool& Cancel) override;
    // A cell of this grid's drop-down list was loaded (Combo is the list).
    TgxComboCellLoadedEvent OnComboCellLoaded;
    virtual void DoComboCellLoaded(TgxComboGrid* Combo, int DataCol, int DataRow, Variant& Value);

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

    // ---- drop-down lists (view/ComboDisplay) --------------------------------------------------
    // A combo of this grid, and a list grid on the grid's drop-down form.
    TgxCombo* CreateCombo() override;
    TgxComboGrid* CreateComboGrid() override;

    // ---- cell button and click relays (view/GridCellButtonsRelays) ---------------------------
    TgxButtonEvent OnButtonClick;
    TgxButtonEvent OnButtonDown;
    TgxButtonEvent OnButtonUp;
    TgxSpinButtonEvent OnSpinButtonClick;
    TgxSpinButtonEvent OnSpinButtonDown;
    TgxSpinButtonEvent OnSpinButtonUp;
    TgxSpinRepeatEvent OnSpinRepeat;
    TgxClickCellEvent OnClickCell;
    TgxDblClickCellEvent OnDblClickCell;
    void DoButtonClick(int DataCol, const Variant& DataRow) override;
    void DoButtonDown(int DataCol, const Variant& DataRow) override;
    void DoButtonUp(int DataCol, const Variant& DataRow) override;
    void DoSpinButtonClick(int DataCol, const Variant& DataRow, TgxSpinButton SpinButton) override;
    void DoSpinButtonDown(int DataCol, const Variant& DataRow, TgxSpinButton SpinButton) override;
    void DoSpinButtonUp(int DataCol, const Variant& DataRow, TgxSpinButton SpinButton) override;
    void DoSpinRepeat(int DataCol, const Variant& DataRow, int Count,
                      TgxSpinButton SpinButton) override;
    bool DoClickCell(int DataColDown, const Variant& DataRowDown, int DataColUp,
                     const Variant& DataRowUp, TgxClickPosition DownPos,
                     TgxClickPosition UpPos) override;
    void DoDblClickCell(int DataCol, const Variant& DataRow, TgxClickPosition Pos) override;

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
    // What the declared encoding writes; an encoding the export cannot
    // write raises, naming it.
    TgxXMLCharset XMLCharset() const;
    TgoXMLExport* XMLExport() const { return FXMLExport.get(); }
    void SetXMLExport(TgoXMLExport* Value) { FXMLExport->Assign(Value); }

    // ---- print settings and the report's questions (view/GridMenu) ---------------------------
    const AnsiString& PrintTitle() const { return FPrintTitle; }
    void SetPrintTitle(const AnsiString& Value) { FPrintTitle = Value; }
    int PrintCols() const { return FPrintCols; }
    void SetPrintCols(int Value) { FPrintCols = Value; }
    TgxPrintGridEvent OnPrintGrid;
    TgxPrintRowEvent OnPrintRow;
    TgxPrintCellEvent OnPrintCell;
    // Gated; Cancel is left as the report set it when no handler answers.
    virtual void DoPrintGrid(bool& Cancel);
    virtual void DoPrintRow(int DataRow, bool& Cancel);
    virtual void DoPrintCell(int DataCol, int DataRow, bool& Cancel);

    // ---- print hooks and the grid menu (view/GridMenu) ---------------------------------------
    // The report component printing and previewing are handed to; a link,
    // cleared when the report goes.
    TgoCustomGridReport* GridReport() const { return FGridReport; }
    void SetGridReport(TgoCustomGridReport* Value);
    // Raise without a report.
    virtual void Print();
    virtual void PrintPreview();
    // Adds preview, print and export (tagged GridMenuTag) to Menu once.
    void AddGridMenuItems(TPopupMenu* Menu);
    void ConfigureGridMenu();
    // At a client point: the PopupMenu with the items, else the grid's own.
    void ShowGridMenu(int X, int Y);
    TPopupMenu* GridMenu() const { return FGridMenu; }
    static constexpr int GridMenuTag = 999;
    // Painting off and on again, for code that changes much at once.
    void BeginUpdate();
    void EndUpdate();
    // Paints the whole grid once onto Canvas (a bitmap's, for a printout)
    // instead of the screen; the grid keeps no hold of Canvas afterwards.
    void PaintToMetaFileCanvas(TCanvas* Canvas);

protected:
    void Paint() override;
    void DoContextPopup(const TPoint& MousePos, bool& Handled) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    const TgxXMLColumns& XMLColumns();

    int FLastLoadedRow = -1;
    AnsiString FPrintTitle;
    int FPrintCols = 0;
    TgxXMLColumns FXMLColumns;
    int FXMLColumnsHeld = 0;
    TgxXMLCharset FXMLHeldCharset = TgxXMLCharset::Utf8;
    std::unique_ptr<TgoXMLExport> FXMLExport = std::make_unique<TgoXMLExport>();
    TgoCustomGridReport* FGridReport = nullptr;
    TPopupMenu* FGridMenu = nullptr; // owned by the grid as a component
};

// The grid a form holds; it publishes the grid's properties.
class TgxGrid : public TgxCustomGrid {
public:
    explicit TgxGrid(TComponent* AOwner);
    AnsiString ClassName() const override { return "TgxGrid"; }
};

} // namespace grid
