// Cell values kept by the grid, their types, and the grid's argument checks.
#include "grid/foundation/CellStore.h"
#include "grid/foundation/GridCommonVariant.h"
#include "grid/foundation/GridCommonText.h"
#include "grid/foundation/PictureTree.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/CellProps.h"
#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GridLinks.h"
#include "grid/model/Rows.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StringList.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>
#include <utility>

namespace grid {

// ---- checks --------------------------------------------------------------------------

void TgxBaseGrid::InvalidOp(const AnsiString& Message) const {
    if (FIsComboGrid && GetParentGrid())
        throw EInvalidGridOperation(GetParentGrid()->Name() + ".Combo: " + Message);
    throw EInvalidGridOperation(Name() + ": " + Message);
}

void TgxBaseGrid::InvalidMaskOp(const AnsiString& Message) const {
    if (FIsComboGrid && GetParentGrid())
        throw EgxMaskError(GetParentGrid()->Name() + ".Combo: " + Message);
    throw EgxMaskError(Name() + ": " + Message);
}

bool TgxBaseGrid::CheckRaise(const AnsiString& Message) const {
    if (FReportInvalidOps) InvalidOp(Message);
    return false;
}

bool TgxBaseGrid::CheckIndex(TgxIndexType IndexType, int Index, int Max, int Min) const {
    if (Index >= Min && Index <= Max) return true;
    if (FReportInvalidOps)
        InvalidOp(Format(IndexType == itRow ? "Row index %d out of range"
                                            : "Column index %d out of range",
                         Index));
    return false;
}

bool TgxBaseGrid::CheckGetCell() const {
    if (!FInCellLoaded) return true;
    if (FReportInvalidOps) InvalidOp("Cannot get Cell property value while in OnCellLoaded event");
    return false;
}

bool TgxBaseGrid::CheckVarType(TgxControlType ControlType, const Variant& Value) const {
    if (GetInDesignMode()) return true;
    const TVarType T = Value.Type();
    const char* Message = nullptr;
    switch (ControlType) {
    case ctText:
        if (T != varString && T != varOleStr)
            Message = "Invalid cell value. A text column requires a value of type string";
        break;
    case ctCheck:
        if (T != varByte && T != varInteger && T != varString && T != varOleStr && T != varNull)
            Message = "Invalid cell value. A checkbox column requires a value of type "
                      "TCheckBoxState or string";
        break;
    case ctPicture:
        if (T != varInteger && T != varString)
            Message = "Invalid cell value. A picture column requires a value of type TBitmap or "
                      "string";
        break;
    default:
        break;
    }
    if (!Message) return true;
    return CheckRaise(Message);
}

// ---- value types -------------------------------------------------------------------------

TgxValueType TgxBaseGrid::ControlDataType(TgxControlType ControlType, const Variant& Value) {
    switch (ControlType) {
    case ctText:
        return vtpString;
    case ctCheck:
        if (Value.Type() == varString) return vtpString;
        if (Value.IsNull()) return vtpNull;
        return vtpInteger;
    case ctPicture:
        return Value.Type() == varString ? vtpPictureName : vtpPicture;
    default:
        return vtpNone;
    }
}

bool TgxBaseGrid::ControlDataTypeOk(TgxControlType ControlType, TgxValueType ValueType) {
    switch (ControlType) {
    case ctText:
        return ValueType == vtpString;
    case ctCheck:
        return ValueType == vtpString || ValueType == vtpInteger || ValueType == vtpNull;
    case ctPicture:
        return ValueType == vtpPicture || ValueType == vtpPictureName;
    default:
        return false;
    }
}

namespace {

// Whether CheckStrValue gives anything but the value itself.
bool ChangesToString(TgxControlType ControlType, const Variant& Value) {
    return Value.Type() == varOleStr || (ControlType == ctText && !Value.IsEmpty() &&
                                         !Value.IsNull() && Value.Type() != varString);
}

} // namespace

Variant TgxBaseGrid::CheckStrValue(TgxControlType ControlType, const Variant& Value) {
    if (!ChangesToString(ControlType, Value)) return Value;
    // An OLE string becomes a string, and so does anything a text cell holds.
    return Value.AsString();
}

TgxImageListComponent* TgxBaseGrid::ImageList() const {
    // A drop-down list shows the pictures of the grid it drops down from.
    if (FIsComboGrid)
        if (TgxBaseGrid* Parent = GetParentGrid()) return Parent->ImageList();
    return FImageLink->ImageList();
}

void TgxBaseGrid::SetImageList(TgxImageListComponent* Value) {
    if (FIsComboGrid || Value == ImageList()) return;
    FImageLink->SetImageList(Value);
    InvalidateGridNow();
}

// ---- the store -------------------------------------------------------------------------

void TgxBaseGrid::SetStoreData(bool Value) {
    if (Value == FStoreData) return;
    FStoreData = Value;
    if (Value) {
        if (!FStore) {
            FStore = std::make_unique<Tgx2DStorage>(0, 0);
            FStore->SetDesignMode(GetInDesignMode());
            SetDataAllocSize(GetGridColCount(), GetGridRowCount());
        }
        InvalidateGridNow();
    } else {
        FreeGridData();
    }
}

void TgxBaseGrid::FreeGridData() {
    FStore.reset();
    FImageListIds->Clear();
    InvalidateGridNow();
}

void TgxBaseGrid::SetDataAllocSize(int Cols, int Rows) {
    if (!FStoreData || !FStore) return;
    FStore->SetColAllocSize(Rows > 256 ? std::min(Cols, 256) : Cols);
    FStore->SetRowAllocSize(Rows);
}

Variant TgxBaseGrid::GetDataValue(int DataCol, int DataRow, TgxControlType ControlType) {
    if (!FStoreData || !FStore) return Variant();
    const TgxValueType Type = FStore->GetValueType(DataCol, DataRow);
    Variant Value = FStore->GetValue(DataCol, DataRow);
    if (Type == vtpPictureName || (Type == vtpString && ControlType == ctPicture))
        return CheckPictureValue(DataCol, DataRow, ControlType, Value);
    return Value;
}

void TgxBaseGrid::SetDataValue(int DataCol, int DataRow, TgxControlType ControlType,
                               const Variant& Value) {
    if (!FStoreData || !FStore) return;
    const TgxValueType Type = ControlDataType(ControlType, Value);
    if (ControlType == ctPicture && Value.Type() == varString && GetInDesignMode()) {
        TgxImageListComponent* List = ImageList();
        if (List && List->NameIndex(Value.AsString()) >= 0) {
            TgxImageItem* Image = List->GetImage(Value);
            const Variant Stored(AddPictureIds(Value.AsString(), ImageListIndex(List->GetGUID()),
                                               Image ? Image->GetID() : -1));
            FStore->SetValue(DataCol, DataRow, Type, Stored);
            return;
        }
    }
    FStore->SetValue(DataCol, DataRow, Type, Value);
}

AnsiString TgxBaseGrid::CheckPictureValue(int DataCol, int DataRow, TgxControlType ControlType,
                                          const Variant& Value) {
    AnsiString Name;
    int ListIndex = -1;
    int PictureId = -1;
    SeparatePictureIds(Value.AsString(), Name, ListIndex, PictureId);
    AnsiString Result = Name;
    if (ControlType != ctPicture) return Result;
    TgxImageListComponent* List = ImageList();
    if (ListIndex >= 0 && PictureId >= 0 && List && ListIndex < FImageListIds->Count() &&
        FImageListIds->Strings(ListIndex) == List->GetGUID()) {
        const int Index = List->IdIndex(PictureId);
        if (Index >= 0) {
            TgxImageItem* Image = List->GetImage(Index);
            const AnsiString SetName = Image->GetSetName();
            const AnsiString Display =
                SetName.empty() ? Image->GetName() : SetName + "." + Image->GetName();
            if (Display != Name) SetDataValue(DataCol, DataRow, ControlType, Display);
            return Display;
        }
    }
    if (List && GetInDesignMode() && List->NameIndex(Result) >= 0)
        SetDataValue(DataCol, DataRow, ControlType, Result);
    return Result;
}

int TgxBaseGrid::ImageListIndex(const AnsiString& ImageListId) {
    const int Index = FImageListIds->IndexOf(ImageListId);
    return Index >= 0 ? Index : FImageListIds->Add(ImageListId);
}

void TgxBaseGrid::CheckGridData(int DataCol, int DataRow) {
    if (!FStoreData || !FStore || IsLoading()) return;
    const auto CheckCell = [this](int Col, int Row) {
        const TgxValueType Type = FStore->GetValueType(Col, Row);
        if (Type != vtpNone && !ControlDataTypeOk(GiveCellControlType(Col, Row), Type))
            FStore->ClearValue(Col, Row);
    };
    const auto CheckRow = [&](int Row) {
        const int Last = std::min(GetGridColCount(), FStore->MaxColValueSet(Row));
        for (int Col = 1; Col <= Last; ++Col)
            CheckCell(Col, Row);
    };
    const int LastRow = std::min(GetGridRowCount(), FStore->MaxRowSet());
    if (DataCol >= 1 && DataRow >= 1)
        CheckCell(DataCol, DataRow);
    else if (DataCol >= 1) {
        for (int Row = 1; Row <= LastRow; ++Row)
            if (DataCol <= FStore->MaxColValueSet(Row)) CheckCell(DataCol, Row);
    } else if (DataRow >= 1)
        CheckRow(DataRow);
    else
        for (int Row = 1; Row <= LastRow; ++Row)
            CheckRow(Row);
}

void TgxBaseGrid::DeleteColData(int From, int To) {
    if (FStore && From <= To) FStore->DeleteCols(From, To);
}

void TgxBaseGrid::DeleteRowData(int From, int To) {
    if (FStore && From <= To) FStore->DeleteRows(From, To);
}

// ---- the cell value as the application sees it ------------------------------------------

Variant TgxBaseGrid::GetCellValue(int DataCol, int DataRow) {
    if (DataCol < 1 || DataCol > GetGridColCount() || DataRow < 1 || DataRow > GetGridRowCount())
        return Variant();
    const TgxControlType Type = GiveCellControlType(DataCol, DataRow);
    if (Type == ctNone) return Variant();
    // A value being edited wins over the stored one and the application's.
    // A picture lives in the buffer while its cell is current; the text
    // editor's copy of a value nobody changed is no edit, and the cell is
    // read like any other.
    if ((FValueChanged || Type == ctPicture) && FCurrentCell &&
        FCurrentCell->ValueSet(DataCol, DataRow))
        return FCurrentCell->BufferValue();
    if (!CheckGetCell()) return Variant();
    // The application may supply or change the value, as for painting; it
    // may also write the cell, which then is the value read.
    const TReadCell Outer = FReadCell;
    FReadCell = TReadCell{true, DataCol, DataRow, GetDataValue(DataCol, DataRow, Type)};
    try {
        CellLoadedEvent(DataCol, DataRow, Type, FReadCell.Value);
    } catch (...) {
        FReadCell = Outer;
        throw;
    }
    Variant Value = std::move(FReadCell.Value);
    FReadCell = Outer;
    return Value;
}

void TgxBaseGrid::SetCellValue(int DataCol, int DataRow, const Variant& Value) {
    // A cell outside the grid is no cell: the value goes nowhere.
    if (DataCol < 1 || DataCol > GetGridColCount() || DataRow < 1 || DataRow > GetGridRowCount())
        return;
    const TgxControlType Type = GiveCellControlType(DataCol, DataRow);
    const bool ReadCell =
        FReadCell.Active && FReadCell.DataCol == DataCol && FReadCell.DataRow == DataRow;
    // Only a row shown at the current position can be in the editor: that
    // is asked first, as rows are mostly written away from it.
    const auto At = static_cast<std::size_t>(Row());
    const bool Editing = !ReadCell && FCurrentCell && InEditMode() && At < FDisplayRows.size() &&
                         FDisplayRows[At] == DataRow && DataRow == GetCurrentDataRow() &&
                         DataCol == GetCurrentDataCol();
    if (Type == ctText && Value.Type() == varInteger && !ReadCell && !Editing && FStoreData) {
        // A number written to a text cell is stored as its digits, without
        // first making them a Variant, unless the value is wanted as one.
        char Digits[16];
        const char* End = std::to_chars(Digits, Digits + sizeof Digits, Value.AsInteger()).ptr;
        if (FStore)
            FStore->SetText(DataCol, DataRow, vtpString,
                            std::string_view(Digits, static_cast<std::size_t>(End - Digits)));
    } else {
        // Most values go in as they are: no converted copy is made for them.
        std::optional<Variant> Changed;
        if (ChangesToString(Type, Value)) Changed.emplace(CheckStrValue(Type, Value));
        const Variant& Converted = Changed ? *Changed : Value;
        if (FStoreData) SetDataValue(DataCol, DataRow, Type, Converted);
        if (ReadCell) {
            FReadCell.Value = Converted;
            return;
        }
        // The current cell's editor shows the new value, unless it holds it.
        if (Editing && !(FCurrentCell->ValueSet(DataCol, DataRow) &&
                         VariantEqual(FCurrentCell->BufferValue(), Converted))) {
            // The value may be the buffer's own, which clearing it would empty.
            const Variant Shown = Converted;
            FCurrentCell->ClearBuffer();
            if (FGridControl) SetControlValue(Shown, false, false);
        } else if (!Editing && HandleAllocated() && !GetFastAssign() &&
                   (!FStoreData || (!FPaintingOffScreen && DataCol == GetCurrentDataCol() &&
                                    DataRow == GetCurrentDataRow()))) {
            // Nothing keeps the value for the next paint, or it is the
            // current cell's: it is shown now.
            DrawWrittenValue(DataCol, DataRow, Converted, false);
            return;
        }
    }
    // A grid without a window has nothing to repaint: the display numbers
    // are not worked out for every value written before it is shown.
    if (HandleAllocated()) CheckInvalidateCell(GetDisplayCol(DataCol), GetDisplayRow(DataRow));
}

// ---- resolution of the few attributes the model needs ---------------------------------

TgxControlType TgxBaseGrid::GiveCellControlType(int DataCol, int DataRow) {
    if (DataCol < 1 || DataRow < 1 || DataCol > GetGridColCount() || DataRow > GetGridRowCount())
        return ctNone;
    // Most cells keep no properties: their own level is skipped unread, and
    // a grid whose cells keep none is not searched at all.
    TgxControlType Type = FCellProps->Count() != 0 && GetCellElement(DataCol, DataRow, false)
                              ? GetCellControlType(DataCol, DataRow)
                              : ctDefault;
    if (Type != ctDefault) return Type;
    const TgxRow* Row = FRows->Item(DataRow);
    const TgxControlType RowType = Row ? Row->ControlType() : ctDefault;
    const TgxControlType ColType = FCols->Item(DataCol)->ControlType();
    if (FDrawOverlap == doDrawRowOnTop)
        Type = RowType != ctDefault ? RowType : ColType;
    else
        Type = ColType != ctDefault ? ColType : RowType;
    return Type == ctDefault ? ctText : Type;
}

TgxWordWrap TgxBaseGrid::GiveCellWordWrap(int DataCol, int DataRow) {
    if (DataCol == 0 || DataRow == 0) return GiveHeadingWordWrap(DataCol);
    TgxWordWrap Wrap =
        GetCellElement(DataCol, DataRow, false) ? GetCellWordWrap(DataCol, DataRow) : uiDefault;
    if (Wrap != uiDefault) return Wrap;
    const TgxRow* Row = DataRow >= 0 && DataRow < FRows->Count() ? FRows->Item(DataRow) : nullptr;
    const TgxWordWrap RowWrap = Row ? Row->WordWrap() : uiDefault;
    const TgxWordWrap ColWrap =
        DataCol >= 0 && DataCol < FCols->Count() ? FCols->Item(DataCol)->WordWrap() : uiDefault;
    if (FDrawOverlap == doDrawRowOnTop)
        Wrap = RowWrap != uiDefault ? RowWrap : ColWrap;
    else
        Wrap = ColWrap != uiDefault ? ColWrap : RowWrap;
    return Wrap == uiDefault ? FWordWrap : Wrap;
}

} // namespace grid
