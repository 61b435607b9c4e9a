#include "grid/model/GxGrid.h"

#include "grid/foundation/DateTimeDefs.h"
#include "grid/foundation/ImageList.h"
#include "grid/foundation/MaskDefs.h"
#include "grid/model/Combo.h"
#include "grid/model/GridTypeInfo.h"
#include "platform/classes/Publish.h"
#include "platform/gui/Menus.h"
#include "platform/gui/PublishedProps.h"

#include <type_traits>

namespace grid {

// The report component's class is known to the report unit only; it adds
// the property in its place in the list.
void PublishGridReportProperty(TClassBuilder<TgxGrid>& C);

TgxGrid::TgxGrid(TComponent* AOwner) : TgxCustomGrid(AOwner) {}

namespace {

const TTypeInfo& GridModeType() {
    static const TTypeInfo Info =
        MakeEnumType("TgxGridMode", {"gmListBox", "gmEdit", "gmEditInsert", "gmBrowse"});
    return Info;
}
const TTypeInfo& DrawOverlapType() {
    static const TTypeInfo Info =
        MakeEnumType("TgxDrawOverlap", {"doDrawColOnTop", "doDrawRowOnTop"});
    return Info;
}
const TTypeInfo& ColSelectModeType() {
    static const TTypeInfo Info =
        MakeEnumType("TgxColSelectMode", {"csNone", "csMulti"});
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

#define GRID_ENUM_TYPE(Function, Name, ...)                                                        \
    const TTypeInfo& Function() {                                                                  \
        static const TTypeInfo Info = MakeEnumType(Name, {__VA_ARGS__});                           \
        return Info;                                                                               \
    }

GRID_ENUM_TYPE(GridLinesType, "TgxGridLines", "glNone", "glVertLines", "glHorzLines", "glBoth")
GRID_ENUM_TYPE(FocusBorderType, "TgxFocusBorder", "fbNone", "fbDot", "fbSingle", "fbDouble",
               "fbDash")
GRID_ENUM_TYPE(HeadingButtonType, "TgxHeadingButton", "hbCell", "hbButton", "hbNone")
GRID_ENUM_TYPE(InactiveButtonStateType, "TgxInactiveButtonState", "ibsBackGround", "ibsPicture",
               "ibsNone")
GRID_ENUM_TYPE(PrintModeType, "TgxPrintMode", "pmPortrait", "pmLandscape")
GRID_ENUM_TYPE(RowChangedIndicatorType, "TgxRowChangedIndicator", "riOn", "riOff", "riAutoReset")
GRID_ENUM_TYPE(ScrollSpeedType, "TgxScrollSpeed", "spHigh", "spLow", "spVariable")
GRID_ENUM_TYPE(CheckBoxStyleType, "TgxCheckBoxStyle", "stFlat", "stCheck", "stCross")
GRID_ENUM_TYPE(ScrollStyleType, "TScrollStyle", "ssNone", "ssHorizontal", "ssVertical", "ssBoth")
GRID_ENUM_TYPE(BorderStyleType, "TBorderStyle", "bsNone", "bsSingle")
GRID_ENUM_TYPE(DragKindType, "TDragKind", "dkDrag", "dkDock")
GRID_ENUM_TYPE(DragModeType, "TDragMode", "dmManual", "dmAutomatic")

#undef GRID_ENUM_TYPE

// The grid's settings beyond those its first classes published: looks,
// keys, buttons, pictures, links and the framework's own.
template <class GridT, class C> void PublishLooks(C& B) {
    B.Property("AlwaysShowFocus", &TgxGrid::AlwaysShowFocus, &TgxGrid::SetAlwaysShowFocus)
        .Default(false);
    B.Property("AlwaysDetectButton", &TgxGrid::AlwaysDetectButton,
               &TgxGrid::SetAlwaysDetectButton)
        .Default(false);
    B.Property("AlwaysShowScrollBar", &TgxGrid::AlwaysShowScrollBar,
               &TgxGrid::SetAlwaysShowScrollBar, ScrollStyleType())
        .Default(ssNone);
    B.Property("AutoScale", &TgxGrid::AutoScale, &TgxGrid::SetAutoScale).Default(false);
    B.Property("CenterPicture", &TgxGrid::CenterPicture, &TgxGrid::SetCenterPicture)
        .Default(true);
    B.Property("CheckBoxStyle", &TgxGrid::CheckBoxStyle, &TgxGrid::SetCheckBoxStyle,
               CheckBoxStyleType());
    B.Property(
         "CheckBoxValues", [](const GridT& G) { return G.CheckBoxValues(); },
         [](GridT& G, const AnsiString& V) { G.SetCheckBoxValues(V); })
        .Stored([](const GridT& G) { return !G.CheckBoxValues().empty(); });
    B.Property("CheckMouseFocus", &TgxGrid::CheckMouseFocus, &TgxGrid::SetCheckMouseFocus)
        .Default(true);
    B.Property("EditFontColor", &TgxGrid::EditFontColor, &TgxGrid::SetEditFontColor)
        .Default(clNone);
    B.Property("FixedLineColor", &TgxGrid::FixedLineColor, &TgxGrid::SetFixedLineColor)
        .Default(0);
    B.Property("FlatButtons", &TgxGrid::FlatButtons, &TgxGrid::SetFlatButtons).Default(true);
    B.Property("FocusBorder", &TgxGrid::FocusBorder, &TgxGrid::SetFocusBorder, FocusBorderType())
        .Default(fbDot);
    B.Property("FocusBorderColor", &TgxGrid::FocusBorderColor, &TgxGrid::SetFocusBorderColor)
        .Default(clNone);
    B.Property("FocusFontColor", &TgxGrid::FocusFontColor, &TgxGrid::SetFocusFontColor)
        .Default(clNone);
    B.Property("GridLines", &TgxGrid::GridLines, &TgxGrid::SetGridLines, GridLinesType())
        .Default(glBoth);
    B.Property("Heading3D", &TgxGrid::Heading3D, &TgxGrid::SetHeading3D).Default(true);
    B.Property("HeadingButton", &TgxGrid::HeadingButton, &TgxGrid::SetHeadingButton,
               HeadingButtonType())
        .Default(hbNone);
    B.Property("HeadingColor", &TgxGrid::HeadingColor, &TgxGrid::SetHeadingColor)
        .Default(static_cast<TColor>(0x8000000F));
    // The font before the switch: reading the font parts it from the
    // parent's, and a switch that follows puts it back.
    B.Property("HeadingFont", &TgxGrid::HeadingFont, &TgxGrid::SetHeadingFont)
        .Stored([](const GridT& G) { return !G.HeadingParentFont(); });
    B.Property("HeadingParentFont", &TgxGrid::HeadingParentFont, &TgxGrid::SetHeadingParentFont)
        .Default(true);
    B.Property("HeadingHorzAlignment", &TgxGrid::HeadingHorzAlignment,
               &TgxGrid::SetHeadingHorzAlignment, HorzAlignmentTypeInfo())
        .Default(htaDefault);
    B.Property("HeadingVertAlignment", &TgxGrid::HeadingVertAlignment,
               &TgxGrid::SetHeadingVertAlignment, VertAlignmentTypeInfo())
        .Default(vtaDefault);
    B.Property("HeadingWordWrap", &TgxGrid::HeadingWordWrap, &TgxGrid::SetHeadingWordWrap,
               WordWrapTypeInfo())
        .Default(uiDefault);
    B.Property("HorzAlignment", &TgxGrid::HorzAlignment, &TgxGrid::SetHorzAlignment,
               HorzAlignmentTypeInfo())
        .Default(htaDefault);
    B.Property("InactiveButtonState", &TgxGrid::InactiveButtonState,
               &TgxGrid::SetInactiveButtonState, InactiveButtonStateType())
        .Default(ibsBackGround);
    B.Property("Is3D", &TgxGrid::Is3D, &TgxGrid::SetIs3D).Default(false);
    B.Property("KeepAspectRatio", &TgxGrid::KeepAspectRatio, &TgxGrid::SetKeepAspectRatio)
        .Default(false);
    B.Property("ReadOnlyButton", &TgxGrid::ReadOnlyButton, &TgxGrid::SetReadOnlyButton)
        .Default(true);
    B.Property("ResizeColsInGrid", &TgxGrid::ResizeColsInGrid, &TgxGrid::SetResizeColsInGrid)
        .Default(false);
    B.Property("ResizeRowsInGrid", &TgxGrid::ResizeRowsInGrid, &TgxGrid::SetResizeRowsInGrid)
        .Default(false);
    B.Property("RowBarAlignment", &TgxGrid::RowBarAlignment, &TgxGrid::SetRowBarAlignment,
               VertAlignmentTypeInfo())
        .Default(vtaDefault);
    B.Property("RowBarIndicator", &TgxGrid::RowBarIndicator, &TgxGrid::SetRowBarIndicator)
        .Default(true);
    B.Property("RowChangedIndicator", &TgxGrid::RowChangedIndicator,
               &TgxGrid::SetRowChangedIndicator, RowChangedIndicatorType())
        .Default(riOn);
    B.Property("ScrollBars", &TgxGrid::GridScrollBars, &TgxGrid::SetGridScrollBars,
               ScrollStyleType())
        .Default(ssBoth);
    B.Property("ScrollSpeed", &TgxGrid::ScrollSpeed, &TgxGrid::SetScrollSpeed, ScrollSpeedType())
        .Default(spVariable);
    B.Property("SelectedAreaCursor", &TgxGrid::SelectedAreaCursor,
               &TgxGrid::SetSelectedAreaCursor)
        .Default(0);
    B.Property("SelectFixed", &TgxGrid::SelectFixed, &TgxGrid::SetSelectFixed).Default(true);
    B.Property("SelectionColor", &TgxGrid::SelectionColor, &TgxGrid::SetSelectionColor)
        .Default(static_cast<TColor>(0x8000000D));
    B.Property("SelectionFontColor", &TgxGrid::SelectionFontColor,
               &TgxGrid::SetSelectionFontColor)
        .Default(static_cast<TColor>(0x8000000E));
    B.Property("ShrinkPicture", &TgxGrid::ShrinkPicture, &TgxGrid::SetShrinkPicture)
        .Default(true);
    B.Property("SpinRepeatDelay", &TgxGrid::SpinRepeatDelay, &TgxGrid::SetSpinRepeatDelay)
        .Default(80);
    B.Property("SpinStartDelay", &TgxGrid::SpinStartDelay, &TgxGrid::SetSpinStartDelay)
        .Default(500);
    B.Property("StretchPicture", &TgxGrid::StretchPicture, &TgxGrid::SetStretchPicture)
        .Default(true);
    B.Property("TabRowWrap", &TgxGrid::TabRowWrap, &TgxGrid::SetTabRowWrap).Default(true);
    B.Property("TransparentColor", &TgxGrid::TransparentColor, &TgxGrid::SetTransparentColor)
        .Default(clNone);
    B.Property("VertAlignment", &TgxGrid::VertAlignment, &TgxGrid::SetVertAlignment,
               VertAlignmentTypeInfo())
        .Default(vtaDefault);
    B.Property("WantTabs", &TgxGrid::WantTabs, &TgxGrid::SetWantTabs).Default(true);
    // What a report component prints of the grid.
    B.Property(
         "PrintTitle", [](const GridT& G) { return G.PrintTitle(); },
         [](GridT& G, const AnsiString& V) { G.SetPrintTitle(V); })
        .Stored([](const GridT& G) { return !G.PrintTitle().empty(); });
    B.Property("PrintCols", &TgxGrid::PrintCols, [](GridT& G, int V) {
         if (G.Reading()) TgxBaseGrid::CheckStreamCount("PrintCols", V, TgxBaseGrid::MaxStreamCols);
         G.SetPrintCols(V);
     }).Default(0);
    B.Property("PrintTotals", &TgxGrid::PrintTotals, &TgxGrid::SetPrintTotals).Default(true);
    B.Property("PrintWithGridFormats", &TgxGrid::PrintWithGridFormats,
               &TgxGrid::SetPrintWithGridFormats)
        .Default(true);
    B.Property("PrintLinesPerPage", &TgxGrid::PrintLinesPerPage, [](GridT& G, int V) {
         if (G.Reading())
             TgxBaseGrid::CheckStreamCount("PrintLinesPerPage", V, TgxBaseGrid::MaxStreamRows);
         G.SetPrintLinesPerPage(V);
     }).Default(40);
    B.Property("PrintOrientation", &TgxGrid::PrintOrientation, &TgxGrid::SetPrintOrientation,
               PrintModeType())
        .Default(pmLandscape);
    // Links to the definitions the grid's cells use.
    B.Property("DateTimeDef", &TgxGrid::DateTimeDef, &TgxGrid::SetDateTimeDef);
    B.Property("ImageList", &TgxGrid::ImageList, &TgxGrid::SetImageList);
    B.Property("MaskDefs", &TgxGrid::GetMaskDefs, &TgxGrid::SetMaskDefs);
    // The framework's settings that the grid's control publishes.
    // A grid has the window's colour of its own, not its parent's: the
    // defaults are that colour and no parent colour. The switch after the
    // colour, so that a parent's colour read last wins.
    B.Property("Color", &TgxGrid::Color, &TgxGrid::SetColor)
        .Default(static_cast<TColor>(0x80000005));
    B.Property("ParentColor", &TgxGrid::ParentColor, &TgxGrid::SetParentColor).Default(false);
    B.Property("BorderStyle", &TgxGrid::BorderStyle, &TgxGrid::SetBorderStyle, BorderStyleType())
        .Default(bsSingle);
    B.Property("Ctl3D", &TgxGrid::Ctl3D, &TgxGrid::SetCtl3D).Default(true);
    B.Property("DragCursor", &TgxGrid::DragCursor, &TgxGrid::SetDragCursor).Default(crDrag);
    B.Property("DragKind", &TgxGrid::DragKind, &TgxGrid::SetDragKind, DragKindType())
        .Default(dkDrag);
    B.Property("DragMode", &TgxGrid::DragMode, &TgxGrid::SetDragMode, DragModeType())
        .Default(dmManual);
    B.Property("PopupMenu", &TgxGrid::PopupMenu, &TgxGrid::SetPopupMenu);
}

// The settings this grid's model carries so far; the rest come with the
// persistence of the grid. A drop-down list has them too, so that it takes
// another grid's settings by name.
template <class GridT, class Builder> void PublishGridSettings(Builder& C) {
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
    C.Property("WordWrap", &TgxGrid::WordWrap, &TgxGrid::SetWordWrap, WordWrapTypeInfo())
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
         "ExportDelimiter", [](const GridT& G) { return AnsiString(G.ExportDelimiter()); },
         [](GridT& G, const AnsiString& V) { G.SetExportDelimiter(V); })
        .Stored([](const GridT& G) { return G.ExportDelimiter() != ","; });
    C.Property("FixedColCount", &TgxGrid::FixedColCount, &TgxGrid::SetFixedColCount).Default(0);
    C.Property("FixedRowCount", &TgxGrid::FixedRowCount, &TgxGrid::SetFixedRowCount).Default(0);
    C.Property("HeadingOn", &TgxGrid::GetHeadingOn, &TgxGrid::SetHeadingOn).Default(true);
    C.Property("HeadingHeight", &TgxGrid::GetHeadingHeight, &TgxGrid::SetHeadingHeight)
        .Default(15);
    C.Property("RowBarOn", &TgxGrid::GetRowBarOn, &TgxGrid::SetRowBarOn).Default(true);
    C.Property("RowBarWidth", &TgxGrid::GetRowBarWidth, &TgxGrid::SetRowBarWidth).Default(14);
    C.Property("DefaultColWidth", &TgxGrid::DefaultColWidth, [](GridT& G, int V) {
         if (G.Reading()) TgxBaseGrid::CheckStreamSize("DefaultColWidth", V, 1);
         G.SetDefaultColWidth(V);
     }).Default(64);
    C.Property("DefaultRowHeight", &TgxGrid::DefaultRowHeight, [](GridT& G, int V) {
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
    C.Property("Cols", &TgxGrid::GetGridColCount, [](GridT& G, int V) {
        if (G.Reading()) TgxBaseGrid::CheckStreamCount("Cols", V, TgxBaseGrid::MaxStreamCols);
        // A load matching columns by field name keeps the grid's columns.
        if (G.ColMatch() != cmaFieldName) G.SetGridColCount(V);
    });
    C.Property("Rows", &TgxGrid::GetGridRowCount, [](GridT& G, int V) {
        if (G.Reading()) TgxBaseGrid::CheckStreamCount("Rows", V, TgxBaseGrid::MaxStreamRows);
        G.SetGridRowCount(V);
    });
    C.Property("XMLExport", &TgxGrid::XMLExport, &TgxGrid::SetXMLExport);
    // A drop-down list is never printed.
    if constexpr (std::is_same_v<GridT, TgxGrid>) PublishGridReportProperty(C);
    // Reads as the version of the grid; writing it has no effect.
    C.Property(
        "Version", [](const GridT&) { return TgxBaseGrid::GetVersion(); },
        [](GridT&, AnsiString) {});
    PublishLooks<GridT>(C);
}

const TPublished<TgxGrid, TWinControl> GridClass(
    "TgxGrid",
    [](auto& C) {
        PublishGridSettings<TgxGrid>(C);
        // The controls a grid holds are its in-place editors, which it
        // makes itself: a stream of the grid (a form's, or its own saved
        // state, whose root is the grid) carries none of them.
        C.Children([](TgxGrid&, const std::function<void(TComponent*)>&, TComponent*) {});
    },
    true);

// Never made from a stream: a list is made by the grid it serves, and kept
// in that grid's form stream.
const TPublished<TgxComboGrid, TWinControl>
    ComboGridClass("TgxComboGrid", [](auto& C) { PublishGridSettings<TgxComboGrid>(C); });

} // namespace

} // namespace grid
