#include "grid/model/GridPropCollections.h"

#include "grid/foundation/DateTimeDefs.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/CellProps.h"
#include "grid/model/Combo.h"
#include "grid/model/ComboListStream.h"
#include "grid/model/Columns.h"
#include "grid/model/GridTypeInfo.h"
#include "grid/model/PropDefaults.h"
#include "grid/model/Rows.h"
#include "platform/classes/Filer.h"
#include "platform/classes/Publish.h"
#include "platform/gui/PublishedProps.h"
#include "platform/rtl/Format.h"

#include <functional>

namespace grid {

namespace {

// A number from the stream must name an existing column or row.
void CheckNumber(const char* What, int Value, int Count) {
    if (Value < 1 || Value > Count)
        throw EReadError(Format("%s %d is outside the grid's 1..%d", What, Value, Count));
}

} // namespace

// ---- collections -----------------------------------------------------------------------

TgxColCollection::TgxColCollection(TgxBaseGrid* Grid)
    : TgxPropCollection(Grid, CollectionItemClass<TgxColItem>()) {}

TgxColCollection::~TgxColCollection() {
    // The items go first: they may point into the scratch grid.
    Clear();
}

TgxCol* TgxColCollection::ScratchCol() {
    // Of the grid's own class, so it takes whatever a column of it holds.
    if (!FScratchGrid) FScratchGrid = Grid()->CreateSameGrid();
    return FScratchGrid->GridCols()->Item(1);
}

TgxCellCollection::TgxCellCollection(TgxBaseGrid* Grid)
    : TgxPropCollection(Grid, CollectionItemClass<TgxCellItem>()), FCell(CreateCell(Grid)) {}

TgxCellCollection::~TgxCellCollection() {
    Clear();
}

TgxBaseGrid* TgxCellCollection::ScratchGrid() {
    if (!FScratchGrid) FScratchGrid = Grid()->CreateSameGrid();
    return FScratchGrid.get();
}

std::unique_ptr<TgxCell> TgxCellCollection::CreateCell(TgxBaseGrid* Grid) {
    return std::make_unique<TgxCell>(Grid, 0, 0);
}

// ---- column items ----------------------------------------------------------------------

TgxColCollection* TgxColItem::Owner() const {
    return static_cast<TgxColCollection*>(Collection());
}

void TgxColItem::Bind(TgxCol* Col, int DataCol, const AnsiString& FieldName) {
    FCol = Col;
    FDataCol = DataCol;
    FFieldName = FieldName;
}

void TgxColItem::SetDataCol(int Value) {
    TgxBaseGrid* Grid = Owner()->Grid();
    FDataCol = Value;
    if (!Owner()->ReadByNumber()) {
        // Matched by field name: the number only says where the stored
        // column's values stand in the stored data.
        if (Value < 1 || Value > TgxBaseGrid::MaxStreamCols)
            throw EReadError(
                Format("DataCol %d is outside 1..%d", Value, TgxBaseGrid::MaxStreamCols));
        return;
    }
    CheckNumber("DataCol", Value, Grid->GetGridColCount());
    FCol = Grid->GridCols()->Item(Value);
}

void TgxColItem::SetFieldName(const AnsiString& Value) {
    FFieldName = Value;
    if (Owner()->ReadByNumber()) return;
    TgxBaseGrid* Grid = Owner()->Grid();
    TgxCol* Found = Value.empty() ? nullptr : Grid->GridCols()->FindCol(Value);
    if (Found) {
        Found->Reset(Grid->ColResetProperties());
        FCol = Found;
        Grid->RecordReadCol(FDataCol, Found->DataColNumber());
    } else {
        FCol = Owner()->ScratchCol();
        Grid->RecordReadCol(FDataCol, 0);
    }
}

TgxCol* TgxColItem::Col() {
    if (!FCol) {
        // By number, the item must say which column it is before its
        // properties arrive; by field name, an unnamed column's properties
        // are read and dropped.
        if (Owner()->ReadByNumber())
            throw EReadError("Column properties come before the column's DataCol");
        FCol = Owner()->ScratchCol();
    }
    return FCol;
}

// ---- row items -------------------------------------------------------------------------

TgxBaseGrid* TgxRowItem::Grid() const {
    return static_cast<TgxPropCollection*>(Collection())->Grid();
}

void TgxRowItem::NeedRow(const char* What) const {
    if (!FRow) throw EReadError(Format("%s comes before the row's DataRow", What));
}

void TgxRowItem::Bind(TgxRow* Row, int DataRow, int DisplayRow) {
    FRow = Row;
    FDataRow = DataRow;
    FDisplayRow = DisplayRow;
}

void TgxRowItem::SetDataRow(int Value) {
    TgxBaseGrid* G = Grid();
    CheckNumber("DataRow", Value, G->GetGridRowCount());
    FDataRow = Value;
    FRow = G->GridRows()->CreateDataRow(Value);
}

void TgxRowItem::SetDisplayRow(int Value) {
    NeedRow("DisplayRow");
    CheckNumber("DisplayRow", Value, Grid()->GetGridRowCount());
    FDisplayRow = Value;
    Grid()->SetDisplayRownr(FDataRow, Value);
}

bool TgxRowItem::Selected() const {
    return FDataRow > 0 && Grid()->GetRowSelected(FDataRow);
}

void TgxRowItem::SetSelected(bool Value) {
    NeedRow("Selected");
    Grid()->SetRowSelected(FDataRow, Value);
}

// ---- cell items ------------------------------------------------------------------------

TgxCellItem::TgxCellItem(TCollection* Collection) : TCollectionItem(Collection) {
    TgxCellCollection* Cells = Owner();
    if (Cells && Cells->Grid()->Reading()) FOwnCell = Cells->CreateCell(Cells->Grid());
}

TgxCellItem::~TgxCellItem() = default;

TgxCellCollection* TgxCellItem::Owner() const {
    return static_cast<TgxCellCollection*>(Collection());
}

void TgxCellItem::SetDataCol(int Value) {
    TgxBaseGrid* Grid = Owner()->Grid();
    if (Grid->ColMatch() == cmaFieldName) {
        // The stored column stands for the column its field name matched.
        if (Value < 1 || Value > TgxBaseGrid::MaxStreamCols)
            throw EReadError(
                Format("DataCol %d is outside 1..%d", Value, TgxBaseGrid::MaxStreamCols));
        FDataCol = Grid->ReadColFor(Value);
        FDropped = FDataCol == 0;
        return;
    }
    CheckNumber("DataCol", Value, Grid->GetGridColCount());
    FDataCol = Value;
}

void TgxCellItem::SetDataRow(int Value) {
    CheckNumber("DataRow", Value, Owner()->Grid()->GetGridRowCount());
    FDataRow = Value;
}

TgxCell* TgxCellItem::Cell() {
    if ((FDataCol < 1 && !FDropped) || FDataRow < 1)
        throw EReadError("Cell properties come before the cell's DataCol and DataRow");
    TgxCell* Facade = FOwnCell ? FOwnCell.get() : Owner()->SharedCell();
    if (FDropped) {
        // Read and dropped: the properties land on a scratch grid's cell.
        Facade->SetGrid(Owner()->ScratchGrid());
        Facade->SetCell(1, 1);
        return Facade;
    }
    Facade->SetCell(FDataCol, FDataRow);
    return Facade;
}

// ---- filling for writing -----------------------------------------------------------------

std::unique_ptr<TgxColCollection> CreateColCollection(TgxBaseGrid* Grid, bool Fill) {
    auto Result = std::make_unique<TgxColCollection>(Grid);
    if (!Fill) return Result;
    for (int D = 1; D <= Grid->GetGridColCount(); ++D) {
        const int DataCol = Grid->GetDataCol(D);
        TgxCol* Col = Grid->GridCols()->Item(DataCol);
        // A selected column is kept too: the selection is part of the state,
        // and so is a heading font of its own.
        if (Col->DefaultProps() && !Col->GetSelected() && Col->HeadingParentFont()) continue;
        static_cast<TgxColItem*>(Result->Add())->Bind(Col, DataCol, Col->FieldName());
    }
    return Result;
}

std::unique_ptr<TgxPropCollection> CreateRowCollection(TgxBaseGrid* Grid, bool Fill) {
    auto Result = std::make_unique<TgxPropCollection>(Grid, CollectionItemClass<TgxRowItem>());
    if (!Fill) return Result;
    for (int D = 1; D <= Grid->GetGridRowCount(); ++D) {
        const int DataRow = Grid->GetDataRow(D);
        TgxRow* Row = Grid->GridRows()->Item(DataRow);
        const bool Plain = !Row || Row->DefaultProps();
        if (DataRow == D && Plain && !Grid->GetRowSelected(DataRow)) continue;
        static_cast<TgxRowItem*>(Result->Add())->Bind(Row, DataRow, D);
    }
    return Result;
}

std::unique_ptr<TgxCellCollection> CreateCellCollection(TgxBaseGrid* Grid, bool Fill) {
    auto Result = std::make_unique<TgxCellCollection>(Grid);
    if (!Fill) return Result;
    for (TgxCellElement* Element : Grid->CellProps()->Elements()) {
        if (Element->Empty()) continue;
        auto* Item = static_cast<TgxCellItem*>(Result->Add());
        Item->SetDataCol(Element->DataCol());
        Item->SetDataRow(Element->DataRow());
    }
    return Result;
}

// ---- published classes -------------------------------------------------------------------

namespace {

const TPublished<TgxColItem> ColItemClass("TgxColItem", [](auto& C) {
    C.Property("DataCol", &TgxColItem::DataCol, &TgxColItem::SetDataCol);
    C.Property(
         "FieldName", [](const TgxColItem& I) { return I.FieldName(); },
         [](TgxColItem& I, const AnsiString& V) { I.SetFieldName(V); })
        .Stored([](const TgxColItem& I) { return !I.FieldName().empty(); });
    C.Property(
        "Col", [](const TgxColItem& I) { return const_cast<TgxColItem&>(I).Col(); }, nullptr);
});

const TPublished<TgxRowItem> RowItemClass("TgxRowItem", [](auto& C) {
    C.Property("DataRow", &TgxRowItem::DataRow, &TgxRowItem::SetDataRow);
    C.Property("DisplayRow", &TgxRowItem::DisplayRow, &TgxRowItem::SetDisplayRow);
    C.Property("Selected", &TgxRowItem::Selected, &TgxRowItem::SetSelected).Default(false);
    C.Property(
        "Row", [](const TgxRowItem& I) { return I.Row(); }, nullptr);
});

const TPublished<TgxCellItem> CellItemClass("TgxCellItem", [](auto& C) {
    C.Property("DataCol", &TgxCellItem::DataCol, &TgxCellItem::SetDataCol);
    C.Property("DataRow", &TgxCellItem::DataRow, &TgxCellItem::SetDataRow);
    C.Property(
        "Cell", [](const TgxCellItem& I) { return const_cast<TgxCellItem&>(I).Cell(); }, nullptr);
});

const TgxSpinOptions DefaultSpinOptions{spoAutoRepeat, spoAutoIncrement, spoKeyEdit};

// The look shared by columns, rows and cells, in stream order.
template <class T, class Builder> void LookProperties(Builder& C) {
    C.Property("Color", &T::Color, &T::SetColor).Default(clNone);
    C.Property("HorzAlignment", &T::HorzAlignment, &T::SetHorzAlignment, HorzAlignmentTypeInfo())
        .Default(htaDefault);
    C.Property("VertAlignment", &T::VertAlignment, &T::SetVertAlignment, VertAlignmentTypeInfo())
        .Default(vtaDefault);
    C.Property("WordWrap", &T::WordWrap, &T::SetWordWrap, WordWrapTypeInfo()).Default(uiDefault);
    C.Property("ControlType", &T::ControlType, &T::SetControlType, ControlTypeTypeInfo())
        .Default(ctDefault);
    C.Property("Is3D", &T::Is3D, &T::SetIs3D).Default(false);
    C.Property("ButtonType", &T::ButtonType, &T::SetButtonType, ButtonTypeTypeInfo())
        .Default(btDefault);
    C.Property("DropDownStyle", &T::DropDownStyle, &T::SetDropDownStyle, DropDownStyleTypeInfo())
        .Default(ddDropDown);
    C.Property(
         "MaskName", [](const T& X) { return AnsiString(X.MaskName()); },
         [](T& X, const AnsiString& V) { X.SetMaskName(V); })
        .Stored([](const T& X) { return !X.MaskName().empty(); });
    C.Property("ParentCombo", &T::ParentCombo, &T::SetParentCombo).Default(true);
    C.Property("SpinOptions", &T::SpinOptions, &T::SetSpinOptions, SpinOptionsTypeInfo())
        .Default(DefaultSpinOptions);
    C.Property("SpinIncrement", &T::SpinIncrement, &T::SetSpinIncrement).Stored([](const T& X) {
        return X.SpinIncrement() != 1.0;
    });
}

// The picture options of columns and cells, named alike.
template <class T, class Builder> void PictureProperties(Builder& C) {
    C.Property("StretchPicture", &T::StretchPicture, &T::SetStretchPicture, DrawOptionTypeInfo())
        .Default(dopDefault);
    C.Property("ShrinkPicture", &T::ShrinkPicture, &T::SetShrinkPicture, DrawOptionTypeInfo())
        .Default(dopDefault);
    C.Property("CenterPicture", &T::CenterPicture, &T::SetCenterPicture, DrawOptionTypeInfo())
        .Default(dopDefault);
    C.Property("KeepAspectRatio", &T::KeepAspectRatio, &T::SetKeepAspectRatio, DrawOptionTypeInfo())
        .Default(dopDefault);
}

// A column's, row's or cell's own list goes as its list grid's saved state,
// which holds the list's counts, columns, rows and values and is read with
// the same checks, and the list's own settings. What a list grid's columns,
// rows or cells store as a list is dropped, so nothing nests deeper.
// The old-style alignment and its switch, which HorzAlignment carries now:
// still read from older forms, where the alignment is an identifier of its
// own (one naming no alignment the grid has reads as left), never written.
void DefineOldAlignment(TFiler* Filer, const char* Alignment, const char* Align,
                        const std::function<void(TAlignment)>& SetAlignment,
                        const std::function<void(bool)>& SetAlign) {
    Filer->DefineProperty(
        Alignment,
        [&SetAlignment](TReader* R) {
            SetAlignment(static_cast<TAlignment>(ReadOldAlignment(*R)));
        },
        nullptr, false);
    Filer->DefineProperty(
        Align, [&SetAlign](TReader* R) { SetAlign(R->ReadBoolean()); }, nullptr, false);
}

template <class T> void DefineOldAlignment(T& X, TFiler* Filer) {
    DefineOldAlignment(
        Filer, "Alignment", "Align", [&X](TAlignment A) { X.SetAlignment(A); },
        [&X](bool B) { X.SetAlign(B); });
}

template <class T> void DefineOwnList(T& X, TgxBaseGrid* Grid, TFiler* Filer) {
    TgxCombo* Own = X.GetCombo();
    Filer->DefineBinaryProperty(
        "Combo",
        [&X, Grid](TStream* S) {
            if (Grid->IsComboGrid()) return;
            if (TgxCombo* Held = X.GetCombo())
                Held->Reset();
            else
                X.AssignCombo();
            TgxComboGrid* List = X.GetCombo()->GetGrid();
            ReadComboList(*List, S);
            List->SetName("");
        },
        [Own](TStream* S) { WriteComboList(*Own->GetGrid(), S); },
        Own && X.ButtonType() == btCombo);
}

const TPublished<TgxCol> ColClass("TgxCol", [](auto& C) {
    // Position first, so the properties below land on a placed column.
    C.Property("DisplayCol", &TgxCol::DisplayCol, [](TgxCol& Col, int P) {
         CheckNumber("DisplayCol", P, Col.Grid()->GetGridColCount());
         Col.SetDisplayCol(P);
     }).Stored([](const TgxCol& Col) { return Col.DisplayCol() != Col.DataColNumber(); });
    C.Property(
         "Font",
         [](const TgxCol& Col) -> TFont* {
             auto& X = const_cast<TgxCol&>(Col);
             if (X.Grid()->Reading() && X.ParentFont()) X.SetFont(X.Grid()->Font());
             return X.ParentFont() ? nullptr : X.GetFont();
         },
         nullptr)
        .Stored([](const TgxCol& Col) { return !Col.ParentFont(); });
    C.Property("ParentFont", &TgxCol::ParentFont, &TgxCol::SetParentFont).Default(true);
    C.Property("AutoCreateFont", &TgxCol::AutoCreateFont, &TgxCol::SetAutoCreateFont)
        .Default(false);
    LookProperties<TgxCol>(C);
    PictureProperties<TgxCol>(C);
    C.Property(
         "Heading", [](const TgxCol& Col) { return Col.Heading(); },
         [](TgxCol& Col, const AnsiString& V) { Col.SetHeading(V); })
        .Stored([](const TgxCol& Col) { return !Col.Heading().empty(); });
    C.Property(
         "FieldName", [](const TgxCol& Col) { return Col.FieldName(); },
         [](TgxCol& Col, const AnsiString& V) { Col.SetFieldName(V); })
        .Stored([](const TgxCol& Col) { return !Col.FieldName().empty(); });
    C.Property("Width", &TgxCol::Width, [](TgxCol& Col, int V) {
         if (V < 0 || V > TgxBaseGrid::MaxStreamExtent)
             throw EReadError(Format("Width %d is outside 0..%d", V, TgxBaseGrid::MaxStreamExtent));
         Col.SetWidth(V);
     }).Stored([](const TgxCol& Col) { return Col.Width() != Col.Grid()->DefaultColWidth(); });
    C.Property("Visible", &TgxCol::Visible, &TgxCol::SetVisible).Default(true);
    C.Property("ReadOnly", &TgxCol::ReadOnly, &TgxCol::SetReadOnly).Default(false);
    C.Property("AllowGrayed", &TgxCol::AllowGrayed, &TgxCol::SetAllowGrayed).Default(false);
    C.Property("HeadingButton", &TgxCol::HeadingButton, &TgxCol::SetHeadingButton,
               ColHeadingButtonTypeInfo())
        .Default(cbGrid);
    C.Property("HeadingHorzAlignment", &TgxCol::HeadingHorzAlignment,
               &TgxCol::SetHeadingHorzAlignment, HorzAlignmentTypeInfo())
        .Default(htaDefault);
    C.Property("HeadingVertAlignment", &TgxCol::HeadingVertAlignment,
               &TgxCol::SetHeadingVertAlignment, VertAlignmentTypeInfo())
        .Default(vtaDefault);
    C.Property("HeadingWordWrap", &TgxCol::HeadingWordWrap, &TgxCol::SetHeadingWordWrap,
               WordWrapTypeInfo())
        .Default(uiDefault);
    C.Property("HeadingColor", &TgxCol::HeadingColor, &TgxCol::SetHeadingColor).Default(clNone);
    // The heading font as the column font: read into a copy of the grid's
    // heading font, written only while the column has its own.
    C.Property(
         "HeadingFont",
         [](const TgxCol& Col) -> TFont* {
             auto& X = const_cast<TgxCol&>(Col);
             if (X.Grid()->Reading() && X.HeadingParentFont())
                 X.SetHeadingFont(X.Grid()->HeadingFont());
             return X.HeadingParentFont() ? nullptr : X.HeadingFontObject();
         },
         nullptr)
        .Stored([](const TgxCol& Col) { return !Col.HeadingParentFont(); });
    C.Property("HeadingParentFont", &TgxCol::HeadingParentFont, [](TgxCol& Col, bool Follow) {
         if (Follow)
             Col.SetHeadingFont(nullptr);
         else if (Col.HeadingParentFont())
             Col.SetHeadingFont(Col.Grid()->HeadingFont());
     }).Default(true);
    C.Property("SortPicture", &TgxCol::SortPicture, &TgxCol::SetSortPicture, SortPictureTypeInfo())
        .Default(spNone);
    C.Property("MaxLength", &TgxCol::MaxLength, &TgxCol::SetMaxLength).Default(0);
    C.Property(
         "CheckBoxValues", [](const TgxCol& Col) { return Col.CheckBoxValues(); },
         [](TgxCol& Col, const AnsiString& V) { Col.SetCheckBoxValues(V); })
        .Stored([](const TgxCol& Col) { return !Col.CheckBoxValues().empty(); });
    // A link to a definition on the form, by name; the reader sets it once
    // the whole stream is read.
    C.Property("DateTimeDef", &TgxCol::DateTimeDef, &TgxCol::SetDateTimeDef);
    C.Property("Tag", &TgxCol::Tag, &TgxCol::SetTag).Default(0);
    C.Property("PrintTotals", &TgxCol::PrintTotals, &TgxCol::SetPrintTotals).Default(false);
    C.Property("Selected", &TgxCol::GetSelected, &TgxCol::SetSelected).Default(false);
    C.DefineProperties([](TgxCol& Col, TFiler* Filer) {
        DefineOldAlignment(Col, Filer);
        DefineOldAlignment(
            Filer, "HeadingAlignment", "HeadingAlign",
            [&Col](TAlignment A) { Col.SetHeadingAlignment(A); },
            [&Col](bool B) { Col.SetHeadingAlign(B); });
        DefineOwnList(Col, Col.Grid(), Filer);
    });
});

int DataRowOf(const TgxRow& Row) {
    return Row.GetDataRow();
}

int DataRowOf(const TgxDesignRow& Row) {
    return Row.DataRow();
}

// A row's font is read into a copy of the grid font and written only while
// the row has its own; rows and design rows alike.
template <class T, class Builder> void RowFontProperties(Builder& C) {
    C.Property(
         "Font",
         [](const T& Row) -> TFont* {
             TgxBaseGrid* Grid = Row.Grid();
             if (Grid->Reading() && Row.ParentFont()) Grid->AssignRowFont(DataRowOf(Row));
             return Row.ParentFont() ? nullptr : Row.Font();
         },
         nullptr)
        .Stored([](const T& Row) { return !Row.ParentFont(); });
    C.Property("ParentFont", &T::ParentFont, &T::SetParentFont).Default(true);
}

// Height, visibility, read-only and the date-time link of a row; the
// height is checked as it is read and written when HeightStored says so.
template <class T, class Builder, class P> void RowExtentProperties(Builder& C, P HeightStored) {
    C.Property("Height", &T::Height, [](T& Row, int V) {
         if (V < 0 || V > TgxBaseGrid::MaxStreamExtent)
             throw EReadError(
                 Format("Height %d is outside 0..%d", V, TgxBaseGrid::MaxStreamExtent));
         Row.SetHeight(V);
     }).Stored(HeightStored);
    C.Property("Visible", &T::Visible, &T::SetVisible).Default(true);
    C.Property("ReadOnly", &T::ReadOnly, &T::SetReadOnly).Default(false);
    C.Property("DateTimeDef", &T::DateTimeDef, &T::SetDateTimeDef);
    C.DefineProperties([](T& Row, TFiler* Filer) {
        DefineOldAlignment(Row, Filer);
        DefineOwnList(Row, Row.Grid(), Filer);
    });
}

const TPublished<TgxRow> RowClass("TgxRow", [](auto& C) {
    RowFontProperties<TgxRow>(C);
    C.Property("AutoCreateFont", &TgxRow::AutoCreateFont, &TgxRow::SetAutoCreateFont)
        .Default(false);
    LookProperties<TgxRow>(C);
    // A row keeps its picture options by index: stretch, shrink, centre,
    // keep aspect ratio.
    static const char* const PictureNames[4] = {"StretchPicture", "ShrinkPicture", "CenterPicture",
                                                "KeepAspectRatio"};
    for (int I = 0; I < 4; ++I)
        C.Property(
             PictureNames[I], [I](const TgxRow& Row) { return Row.Picture(I); },
             [I](TgxRow& Row, TgxDrawOption V) { Row.SetPicture(I, V); }, DrawOptionTypeInfo())
            .Default(dopDefault);
    RowExtentProperties<TgxRow>(
        C, [](const TgxRow& Row) { return Row.Height() != Row.Grid()->DefaultRowHeight(); });
});

// A row through the grid's row accessors; its place and height are always
// written.
const TPublished<TgxDesignRow> DesignRowClass("TgxDesignRow", [](auto& C) {
    C.Property("DisplayRow", &TgxDesignRow::DisplayRow, &TgxDesignRow::SetDisplayRow);
    RowFontProperties<TgxDesignRow>(C);
    LookProperties<TgxDesignRow>(C);
    PictureProperties<TgxDesignRow>(C);
    RowExtentProperties<TgxDesignRow>(C, true);
});

const TPublished<TgxCell> CellClass("TgxCell", [](auto& C) {
    C.Property(
         "Font",
         [](const TgxCell& Cell) -> TFont* {
             TgxBaseGrid* Grid = Cell.GetGrid();
             if (Grid->Reading() && Cell.ParentFont())
                 Grid->AssignCellFont(Cell.DataCol(), Cell.DataRow());
             return Cell.ParentFont() ? nullptr : Cell.Font();
         },
         nullptr)
        .Stored([](const TgxCell& Cell) { return !Cell.ParentFont(); });
    C.Property("ParentFont", &TgxCell::ParentFont, &TgxCell::SetParentFont).Default(true);
    C.Property("AutoCreateFont", &TgxCell::AutoCreateFont, &TgxCell::SetAutoCreateFont)
        .Default(false);
    LookProperties<TgxCell>(C);
    PictureProperties<TgxCell>(C);
    C.Property("ReadOnly", &TgxCell::ReadOnly, &TgxCell::SetReadOnly, ReadOnlyTypeInfo())
        .Default(roDefault);
    C.Property("DateTimeDef", &TgxCell::DateTimeDef, &TgxCell::SetDateTimeDef);
    C.DefineProperties([](TgxCell& Cell, TFiler* Filer) {
        DefineOldAlignment(Cell, Filer);
        DefineOwnList(Cell, Cell.GetGrid(), Filer);
    });
});

} // namespace

} // namespace grid
