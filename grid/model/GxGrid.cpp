#include "grid/model/GxGrid.h"

#include "grid/foundation/ImageList.h"
#include "grid/foundation/MaskDefs.h"
#include "platform/classes/Publish.h"
#include "platform/gui/PublishedProps.h"

namespace grid {

// The report component's class is known to the report unit only; it adds
// the property in its place in the list.
void PublishGridReportProperty(TClassBuilder<TgxGrid>& C);

TgxGrid::TgxGrid(TComponent* AOwner) : TgxCustomGrid(AOwner) {}

namespace {

const TTypeInfo& GridModeType() {
    static const TTypeInfo Info =
        MakeEnumType("TgxGridMode", {"gmBrowse", "gmEdit", "gmEditInsert", "gmListBox"});
    return Info;
}
const TTypeInfo& WordWrapType() {
    static const TTypeInfo Info = MakeEnumType("TgxWordWrap", {"uiOn", "uiOff", "uiDefault"});
    return Info;
}
const TTypeInfo& DrawOverlapType() {
    static const TTypeInfo Info =
        MakeEnumType("TgxDrawOverlap", {"doDrawColOnTop", "doDrawRowOnTop"});
    return Info;
}
const TTypeInfo& ColSelectModeType() {
    static const TTypeInfo Info =
        MakeEnumType("TgxColSelectMode", {"csNone", "csSingle", "csMulti"});
    return Info;
}
const TTypeInfo& RowSelectModeType() {
    static const TTypeInfo Info =
        MakeEnumType("TgxRowSelectMode", {"rsNone", "rsSingle", "rsMulti"});
    return Info;
}
const TTypeInfo& CellSelectModeType() {
    static const TTypeInfo Info = MakeEnumType("TgxCellSelectMode", {"cmNone", "cmRange"});
    return Info;
}
const TTypeInfo& ResizeColsType() {
    static const TTypeInfo Info = MakeEnumType("TgxResizeCols", {"rcNone", "rcSingle", "rcAll"});
    return Info;
}
const TTypeInfo& ResizeRowsType() {
    static const TTypeInfo Info = MakeEnumType("TgxResizeRows", {"rrNone", "rrSingle", "rrAll"});
    return Info;
}
const TTypeInfo& SelectionTypeType() {
    static const TTypeInfo Info =
        MakeEnumType("TgxSelectionType", {"sltDefault", "sltInvert", "sltColor"});
    return Info;
}

// The settings this grid's model carries so far; the rest come with the
// persistence of the grid.
const TPublished<TgxGrid, TWinControl> GridClass(
    "TgxGrid",
    [](auto& C) {
        C.Property("AlwaysShowEditor", &TgxGrid::AlwaysShowEditor, &TgxGrid::SetAlwaysShowEditor)
            .Default(true);
        C.Property("ColMoving", &TgxGrid::ColMoving, &TgxGrid::SetColMoving).Default(true);
        C.Property("RowMoving", &TgxGrid::RowMoving, &TgxGrid::SetRowMoving).Default(true);
        C.Property("SkipReadOnly", &TgxGrid::SkipReadOnly, &TgxGrid::SetSkipReadOnly).Default(true);
        C.Property("ThumbTracking", &TgxGrid::ThumbTracking, &TgxGrid::SetThumbTracking)
            .Default(false);
        C.Property("ProvideGridMenu", &TgxGrid::ProvideGridMenu, &TgxGrid::SetProvideGridMenu)
            .Default(false);
        C.Property("GridMode", &TgxGrid::GridMode, &TgxGrid::SetGridMode, GridModeType())
            .Default(gmEdit);
        C.Property("WordWrap", &TgxGrid::WordWrap, &TgxGrid::SetWordWrap, WordWrapType())
            .Default(uiDefault);
        C.Property("DrawOverlap", &TgxGrid::DrawOverlap, &TgxGrid::SetDrawOverlap,
                   DrawOverlapType())
            .Default(doDrawColOnTop);
        C.Property("ColSelectMode", &TgxGrid::ColSelectMode, &TgxGrid::SetColSelectMode,
                   ColSelectModeType())
            .Default(csMulti);
        C.Property("RowSelectMode", &TgxGrid::RowSelectMode, &TgxGrid::SetRowSelectMode,
                   RowSelectModeType())
            .Default(rsMulti);
        C.Property("CellSelectMode", &TgxGrid::CellSelectMode, &TgxGrid::SetCellSelectMode,
                   CellSelectModeType())
            .Default(cmRange);
        C.Property("ResizeCols", &TgxGrid::ResizeCols, &TgxGrid::SetResizeCols, ResizeColsType())
            .Default(rcSingle);
        C.Property("ResizeRows", &TgxGrid::ResizeRows, &TgxGrid::SetResizeRows, ResizeRowsType())
            .Default(rrAll);
        C.Property("SelectionType", &TgxGrid::SelectionType, &TgxGrid::SetSelectionType,
                   SelectionTypeType())
            .Default(sltDefault);
        C.Property("LineColor", &TgxGrid::LineColor, &TgxGrid::SetLineColor).Default(0x00C0C0C0);
        C.Property("EditColor", &TgxGrid::EditColor, &TgxGrid::SetEditColor).Default(clNone);
        C.Property("FocusColor", &TgxGrid::FocusColor, &TgxGrid::SetFocusColor).Default(clNone);
        C.Property(
             "ExportDelimiter", [](const TgxGrid& G) { return AnsiString(G.ExportDelimiter()); },
             [](TgxGrid& G, const AnsiString& V) { G.SetExportDelimiter(V); })
            .Stored([](const TgxGrid& G) { return G.ExportDelimiter() != ","; });
        C.Property("FixedColCount", &TgxGrid::FixedColCount, &TgxGrid::SetFixedColCount).Default(0);
        C.Property("FixedRowCount", &TgxGrid::FixedRowCount, &TgxGrid::SetFixedRowCount).Default(0);
        C.Property("HeadingOn", &TgxGrid::GetHeadingOn, &TgxGrid::SetHeadingOn).Default(true);
        C.Property("HeadingHeight", &TgxGrid::GetHeadingHeight, &TgxGrid::SetHeadingHeight)
            .Default(15);
        C.Property("RowBarOn", &TgxGrid::GetRowBarOn, &TgxGrid::SetRowBarOn).Default(true);
        C.Property("RowBarWidth", &TgxGrid::GetRowBarWidth, &TgxGrid::SetRowBarWidth).Default(14);
        C.Property("DefaultColWidth", &TgxGrid::DefaultColWidth, [](TgxGrid& G, int V) {
             if (G.Reading()) TgxBaseGrid::CheckStreamSize("DefaultColWidth", V, 1);
             G.SetDefaultColWidth(V);
         }).Default(64);
        C.Property("DefaultRowHeight", &TgxGrid::DefaultRowHeight, [](TgxGrid& G, int V) {
             if (G.Reading()) TgxBaseGrid::CheckStreamSize("DefaultRowHeight", V, 1);
             G.SetDefaultRowHeight(V);
         }).Default(14);
        C.Property("ButtonEdgeWidth", &TgxGrid::ButtonEdgeWidth, &TgxGrid::SetButtonEdgeWidth)
            .Default(2);
        C.Property("DefaultButtonWidth", &TgxGrid::DefaultButtonWidth,
                   &TgxGrid::SetDefaultButtonWidth)
            .Default(11);
        C.Property("DefaultButtonHeight", &TgxGrid::DefaultButtonHeight,
                   &TgxGrid::SetDefaultButtonHeight)
            .Default(9);
        C.Property("SpinButtonWidth", &TgxGrid::SpinButtonWidth, &TgxGrid::SetSpinButtonWidth)
            .Default(11);
        C.Property("SpinButtonHeight", &TgxGrid::SpinButtonHeight, &TgxGrid::SetSpinButtonHeight)
            .Default(9);
        C.Property("StoreData", &TgxGrid::StoreData, &TgxGrid::SetStoreData).Default(false);
        // The counts are always written.
        // A count read from a stream is checked before anything is made for it.
        C.Property("Cols", &TgxGrid::GetGridColCount, [](TgxGrid& G, int V) {
            if (G.Reading()) TgxBaseGrid::CheckStreamCount("Cols", V, TgxBaseGrid::MaxStreamCols);
            // A load matching columns by field name keeps the grid's columns.
            if (G.ColMatch() != cmaFieldName) G.SetGridColCount(V);
        });
        C.Property("Rows", &TgxGrid::GetGridRowCount, [](TgxGrid& G, int V) {
            if (G.Reading()) TgxBaseGrid::CheckStreamCount("Rows", V, TgxBaseGrid::MaxStreamRows);
            G.SetGridRowCount(V);
        });
        C.Property("ImageList", &TgxGrid::ImageList, &TgxGrid::SetImageList);
        C.Property("MaskDefs", &TgxGrid::GetMaskDefs, &TgxGrid::SetMaskDefs);
        C.Property("XMLExport", &TgxGrid::XMLExport, &TgxGrid::SetXMLExport);
        PublishGridReportProperty(C);
        // Reads as the version of the grid; writing it has no effect.
        C.Property(
            "Version", [](const TgxGrid&) { return TgxBaseGrid::GetVersion(); },
            [](TgxGrid&, AnsiString) {});
    },
    true);

} // namespace

} // namespace grid
