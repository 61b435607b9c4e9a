#include "grid/model/CellProps.h"

#include "grid/foundation/GridCommonVariant.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/GridLinks.h"
#include "grid/model/OwnFont.h"

#include <algorithm>

namespace grid {

namespace {

constexpr TgxSpinOptions AllSpinOptions{spoAutoRepeat, spoAutoIncrement, spoKeyEdit};

int SpinBits(TgxSpinOptions Options) {
    return static_cast<int>(Options.Bits());
}

bool IsDrawProp(TgxProperty Prop) {
    switch (Prop) {
    case prColor:
    case prFont:
    case prAlign:
    case prAlignment:
    case prWordWrap:
    case prParentFont:
    case prPicture:
        return true;
    default:
        return false;
    }
}

} // namespace

// ---- property element ------------------------------------------------------------------

TgxCustomPropElement::~TgxCustomPropElement() {
    if (FDateTimeDef && FGrid->DateTimeLink()) FGrid->DateTimeLink()->Remove(FDateTimeDef);
}

Variant TgxCustomPropElement::GetPropValue(TgxProperty Prop, int SubIndex) const {
    switch (Prop) {
    case prColor:
        return static_cast<int>(FColor);
    case prFont:
        return ObjectToVariant(FFont.get());
    case prParentFont:
        return FParentFont;
    case prAlignment:
        return static_cast<int>(FAlignState.Alignment);
    case prAlign:
        return FAlignState.Align;
    case prHorzAlignment:
        return static_cast<int>(FAlignState.Horz);
    case prVertAlignment:
        return static_cast<int>(FVertAlignment);
    case prIs3D:
        return FIs3D;
    case prReadOnly:
        return FReadOnlyFlag;
    case prWordWrap:
        return static_cast<int>(FWordWrap);
    case prButtonType:
        return static_cast<int>(FButtonType);
    case prDropDownStyle:
        return static_cast<int>(FDropDownStyle);
    case prCellReadOnly:
        return static_cast<int>(FReadOnly);
    case prMask:
        return FMaskName;
    case prCombo:
        return ObjectToVariant(FCombo.get());
    case prParentCombo:
        return FParentCombo;
    case prPicture:
        if (SubIndex < 1 || SubIndex > 4) return Variant();
        return static_cast<int>(FPicture[SubIndex - 1]);
    case prControlType:
        return static_cast<int>(FControlType);
    case prSpinOptions:
        return SpinBits(FSpinOptions);
    case prSpinIncrement:
        return FSpinIncrement;
    case prDateTime:
        return ObjectToVariant(FDateTimeDef);
    case prTag:
        return static_cast<int>(FTag);
    case prData:
        return ObjectToVariant(FData);
    default:
        return Variant();
    }
}

void TgxCustomPropElement::SetPropValue(const Variant& Value, TgxProperty Prop, int SubIndex) {
    switch (Prop) {
    case prColor:
        FColor = Value.AsInteger();
        break;
    case prFont:
        SetFont(static_cast<TFont*>(VariantToObject(Value)));
        break;
    case prParentFont:
        SetParentFont(Value.AsBoolean());
        break;
    case prAlignment:
        SetAlignment(static_cast<TAlignment>(Value.AsInteger()));
        break;
    case prAlign:
        SetAlign(Value.AsBoolean());
        break;
    case prHorzAlignment:
        SetHorzAlignment(static_cast<TgxHorzAlignment>(Value.AsInteger()));
        break;
    case prVertAlignment:
        FVertAlignment = static_cast<TgxVertAlignment>(Value.AsInteger());
        break;
    case prIs3D:
        FIs3D = Value.AsBoolean();
        break;
    case prReadOnly:
        FReadOnlyFlag = Value.AsBoolean();
        break;
    case prWordWrap:
        FWordWrap = static_cast<TgxWordWrap>(Value.AsInteger());
        break;
    case prButtonType:
        SetButtonType(static_cast<TgxButtonType>(Value.AsInteger()));
        break;
    case prDropDownStyle:
        SetDropDownStyle(static_cast<TgxDropDownStyle>(Value.AsInteger()));
        break;
    case prCellReadOnly:
        FReadOnly = static_cast<TgxReadOnly>(Value.AsInteger());
        break;
    case prMask:
        FMaskName = Value.AsString();
        break;
    case prCombo:
        SetCombo(dynamic_cast<TgxCombo*>(VariantToObject(Value)));
        break;
    case prParentCombo:
        SetParentCombo(Value.AsBoolean());
        break;
    case prPicture:
        if (SubIndex >= 1 && SubIndex <= 4)
            FPicture[SubIndex - 1] = static_cast<TgxDrawOption>(Value.AsInteger());
        break;
    case prControlType:
        FControlType = static_cast<TgxControlType>(Value.AsInteger());
        break;
    case prSpinOptions:
        FSpinOptions = TgxSpinOptions::FromBits(
            static_cast<TgxSpinOptions::TBits>(Value.AsInteger() & SpinBits(AllSpinOptions)));
        break;
    case prSpinIncrement:
        FSpinIncrement = Value.AsDouble();
        break;
    case prDateTime:
        SetDateTimeDef(dynamic_cast<TgxDateTimeDefComponent*>(VariantToObject(Value)));
        break;
    case prTag:
        FTag = Value.AsInteger();
        break;
    case prData:
        FData = VariantToObject(Value);
        break;
    default:
        break;
    }
}

void TgxCustomPropElement::CopyFont(TFont* Source) {
    CopyOwnFont(FFont, FFontLock, Source, [this](TObject*) { FontChange(); });
}

void TgxCustomPropElement::FontChange() {
    if (FFontLock > 0) return;
    FParentFont = false;
}

void TgxCellElement::FontChange() {
    if (FFontLock > 0) return;
    TgxCustomPropElement::FontChange();
    FGrid->CellProps()->CheckRedraw(FDataCol, FDataRow, true);
}

void TgxCustomPropElement::SetFont(TFont* Value) {
    SetOwnFont(FFont, FParentFont, Value, [this](TFont* F) { CopyFont(F); });
}

void TgxCustomPropElement::SetParentFont(bool Value) {
    SwitchParentFont(FFont, FParentFont, Value, FAutoCreateFont, FGrid->Font(),
                     [this](TFont* F) { CopyFont(F); });
}

void TgxCustomPropElement::CheckFont(TFont* Resolved) {
    if (FParentFont && FFont && Resolved && Resolved != FFont.get()) CopyFont(Resolved);
}

void TgxCustomPropElement::RemoveFonts() {
    if (FParentFont) FFont.reset();
}

void TgxCustomPropElement::SetAlignment(TAlignment Value) {
    FAlignState.SetAlignment(Value);
}

void TgxCustomPropElement::SetAlign(bool Value) {
    FAlignState.SetAlign(Value);
}

void TgxCustomPropElement::SetHorzAlignment(TgxHorzAlignment Value) {
    FAlignState.SetHorz(Value);
}

void TgxCustomPropElement::SetButtonType(TgxButtonType Value) {
    if (Value == FButtonType) return;
    FButtonType = Value;
    // The drop-down takes the new style at its next showing.
    if (Value == btDateTimeDropDown || Value == btDateTimePopup) FGrid->ResetDateTimeInit();
}

void TgxCustomPropElement::SetDropDownStyle(TgxDropDownStyle Value) {
    FDropDownStyle = Value;
    if (FCombo) FCombo->SetDropDownStyle(Value);
}

void TgxCustomPropElement::SetParentCombo(bool Value) {
    if (Value) {
        FParentCombo = true;
        if (FCombo) FGrid->CheckLastUsedCombo(FCombo.get());
        FCombo.reset();
    } else {
        AssignCombo();
    }
}

void TgxCustomPropElement::AssignCombo() {
    if (FCombo) return;
    FCombo.reset(FGrid->CreateCombo());
    FParentCombo = false;
    FCombo->SetDropDownStyle(FDropDownStyle);
}

void TgxCellElement::AssignCombo() {
    if (FCombo) return;
    TgxCustomPropElement::AssignCombo();
    if (FDataCol >= 1 && FDataCol <= FGrid->GetGridColCount())
        FCombo->GetGrid()->InitComboColWidth(FGrid->GetCol(FDataCol)->Width());
}

void TgxCustomPropElement::SetCombo(TgxCombo* Value) {
    if (Value == FCombo.get()) return;
    if (!Value) {
        SetParentCombo(true);
        return;
    }
    AssignCombo();
    FCombo->Assign(Value);
    FGrid->ResetComboInit(false);
}

void TgxCustomPropElement::SetDateTimeDef(TgxDateTimeDefComponent* Value) {
    if (Value == FDateTimeDef) return;
    FGrid->ResetDateTimeInit();
    ReplaceDateTimeDef(FGrid, FDateTimeDef, Value);
}

bool TgxCustomPropElement::Empty() const {
    return FColor == clNone && !FFont && FParentFont && FAlignState.IsDefault() &&
           FVertAlignment == vtaDefault && !FIs3D && !FReadOnlyFlag && FWordWrap == uiDefault &&
           FButtonType == btDefault && FDropDownStyle == ddDropDown && FReadOnly == roDefault &&
           FMaskName.empty() && !FAutoCreateFont && FParentCombo &&
           std::all_of(std::begin(FPicture), std::end(FPicture),
                       [](TgxDrawOption O) { return O == dopDefault; }) &&
           FControlType == ctDefault && FSpinOptions == AllSpinOptions && FSpinIncrement == 1.0 &&
           !FDateTimeDef && FTag == 0 && !FData;
}

void TgxCustomPropElement::AssignProperties(const TgxCustomElement& Source) {
    const auto* S = dynamic_cast<const TgxCustomPropElement*>(&Source);
    if (!S) return;
    FColor = S->FColor;
    if (S->FParentFont) {
        FFont.reset();
        FParentFont = true;
    } else {
        SetFont(S->FFont.get());
    }
    FAlignState.Alignment = S->FAlignState.Alignment;
    FAlignState.Align = S->FAlignState.Align;
    FAlignState.Horz = S->FAlignState.Horz;
    FVertAlignment = S->FVertAlignment;
    FIs3D = S->FIs3D;
    FReadOnlyFlag = S->FReadOnlyFlag;
    FWordWrap = S->FWordWrap;
    SetButtonType(S->FButtonType);
    FDropDownStyle = S->FDropDownStyle;
    FReadOnly = S->FReadOnly;
    FMaskName = S->FMaskName;
    FAutoCreateFont = S->FAutoCreateFont;
    if (S->FCombo)
        SetCombo(S->FCombo.get());
    else
        SetParentCombo(S->FParentCombo);
    std::copy(std::begin(S->FPicture), std::end(S->FPicture), std::begin(FPicture));
    FControlType = S->FControlType;
    FSpinOptions = S->FSpinOptions;
    FSpinIncrement = S->FSpinIncrement;
    SetDateTimeDef(S->FDateTimeDef);
    FTag = S->FTag;
    FData = S->FData;
}

void TgxCustomPropElement::Assign(const TgxCustomElement& Source) {
    AssignProperties(Source);
}

// ---- cell element ---------------------------------------------------------------------

TgxCellElement::TgxCellElement(TgxBaseGrid* Grid, int DataCol, int DataRow)
    : TgxCustomPropElement(Grid), FDataCol(DataCol), FDataRow(DataRow) {
    FGrid->ResetLastCell();
}

TgxCellElement::~TgxCellElement() {
    FGrid->ResetLastCell();
}

namespace {

std::uint8_t CompareCells(int Col, int Row, int ElementCol, int ElementRow) {
    if (Row != ElementRow) return Row < ElementRow ? gxKeySmaller : gxKeyLarger;
    if (Col != ElementCol) return Col < ElementCol ? gxKeySmaller : gxKeyLarger;
    return gxKeyEqual;
}

} // namespace

std::uint8_t TgxCellElement::Compare(const TgxCustomSet*, const TgxSetElement* Element) const {
    const auto* Other = static_cast<const TgxCellElement*>(Element);
    return CompareCells(Other->FDataCol, Other->FDataRow, FDataCol, FDataRow);
}

std::uint8_t TgxCellElement::CompareKey(const TgxCustomSet*, std::span<const TVarRec> Key) const {
    return CompareCells(Key[0].VInteger, Key[1].VInteger, FDataCol, FDataRow);
}

void TgxCellElement::Assign(const TgxCustomElement& Source) {
    TgxCustomPropElement::Assign(Source);
    if (const auto* S = dynamic_cast<const TgxCellElement*>(&Source))
        SetKey(S->FDataCol, S->FDataRow);
}

// ---- property sets ------------------------------------------------------------------------

bool TgxCustomPropSet::SetProperty(int DataCol, int DataRow, bool /*Redraw*/, int SubIndex,
                                   TgxProperty Prop, const Variant& Value,
                                   TgxCustomElement*& Element) {
    const Variant Default = PropertyDefaultValue(Prop);
    const Variant Current = Element ? Element->GetPropValue(Prop, SubIndex) : Default;
    if (EqualPropValue(Current, Value)) return false;
    if (Element) {
        Element->SetPropValue(Value, Prop, SubIndex);
        if (EqualPropValue(Value, Default) && CheckDelete(Element)) Element = nullptr;
    } else {
        TgxCustomElement* Made = CreateElement(DataCol, DataRow);
        try {
            Made->SetPropValue(Value, Prop, SubIndex);
        } catch (...) {
            delete Made;
            throw;
        }
        AddElement(Made);
        Element = Made;
    }
    return true;
}

TgxCustomElement* TgxCellPropSet::CreateElement(int DataCol, int DataRow) {
    return new TgxCellElement(FGrid, DataCol, DataRow);
}

void TgxCellPropSet::AddElement(TgxCustomElement* Element) {
    Add(Element);
    FGrid->AddToPropList(static_cast<TgxCellElement*>(Element));
    FGrid->ResetLastCell();
}

void TgxCellPropSet::DeleteElement(TgxCustomElement* Element) {
    auto* Cell = static_cast<TgxCellElement*>(Element);
    FGrid->DeleteFromPropList(Cell);
    Remove({Cell->DataCol(), Cell->DataRow()});
    FGrid->ResetLastCell();
}

bool TgxCellPropSet::CheckDelete(TgxCustomElement* Element) {
    if (!Element->Empty()) return false;
    DeleteElement(Element);
    return true;
}

bool TgxCellPropSet::SetProperty(int DataCol, int DataRow, bool Redraw, int SubIndex,
                                 TgxProperty Prop, const Variant& Value,
                                 TgxCustomElement*& Element) {
    if (Element) {
        auto* Cell = static_cast<TgxCellElement*>(Element);
        DataCol = Cell->DataCol();
        DataRow = Cell->DataRow();
    }
    if (!TgxCustomPropSet::SetProperty(DataCol, DataRow, Redraw, SubIndex, Prop, Value, Element))
        return false;
    if (Prop == prMask)
        FGrid->CheckSetMask(DataCol, DataRow);
    else if (Redraw)
        CheckRedraw(DataCol, DataRow, IsDrawProp(Prop));
    return true;
}

void TgxCellPropSet::SetAutoCreateFont(int DataCol, int DataRow, bool Redraw, bool Value,
                                       TgxCustomElement*& Element) {
    (void)Redraw;
    auto* Cell = static_cast<TgxCellElement*>(Element);
    if (!Cell && Value) {
        Cell = static_cast<TgxCellElement*>(CreateElement(DataCol, DataRow));
        AddElement(Cell);
    }
    // A repeated switch-on must not list the cell twice: a switch-off
    // removes one pair only.
    const bool WasOn = Cell && Cell->AutoCreateFont();
    if (Cell) Cell->SetAutoCreateFontValue(Value);
    if (Cell && Value) {
        if (!WasOn) FGrid->CoordList()->AddCoord(DataCol, DataRow);
    } else {
        FGrid->CoordList()->RemoveCoord(DataCol, DataRow);
        if (Cell) {
            Cell->RemoveFonts();
            if (CheckDelete(Cell)) Cell = nullptr;
        }
    }
    Element = Cell;
}

TgxCellElement* TgxCellPropSet::Find(int DataCol, int DataRow) const {
    return static_cast<TgxCellElement*>(Get({DataCol, DataRow}));
}

std::vector<TgxCellElement*> TgxCellPropSet::Elements() const {
    std::vector<TgxCellElement*> Result;
    Result.reserve(static_cast<std::size_t>(Count()));
    const auto List = this->List();
    for (int I = 1; I <= List->Count(); ++I)
        Result.push_back(static_cast<TgxCellElement*>(List->GetItems(I)));
    return Result;
}

void TgxCellPropSet::ResetProperties(TgxProperties Properties, bool Redraw) {
    if (Properties.Empty()) return;
    for (TgxCellElement* Element : Elements())
        ResetElement(Element, Properties, Redraw);
}

void TgxCellPropSet::ResetElement(TgxCellElement* Element, TgxProperties Properties, bool Redraw) {
    static constexpr TgxProperty Order[] = {
        prColor,         prFont,     prIs3D,        prAlign,      prAlignment,     prHorzAlignment,
        prVertAlignment, prReadOnly, prWordWrap,    prButtonType, prDropDownStyle, prCellReadOnly,
        prParentFont,    prCombo,    prParentCombo, prPicture,    prControlType,   prSpinOptions,
        prSpinIncrement, prDateTime, prMask,        prSelected,   prTag,           prData};
    TgxCustomElement* Current = Element;
    const int Col = Element->DataCol();
    const int Row = Element->DataRow();
    for (TgxProperty Prop : Order) {
        if (!Current) return;
        if (!Properties.Contains(Prop)) continue;
        const int Subs = Prop == prPicture ? 4 : 1;
        for (int Sub = 1; Sub <= Subs && Current; ++Sub) {
            const int SubIndex = Prop == prPicture ? Sub : 0;
            if (PropertyDefaultValue(Prop).IsEmpty()) continue;
            if (SetProperty(Col, Row, Redraw, SubIndex, Prop, PropertyDefaultValue(Prop), Current))
                Redraw = false;
        }
    }
}

void TgxCellPropSet::CheckRedraw(int DataCol, int DataRow, bool SkipWhilePainting) {
    if (FGrid->GetFastAssign() || FGrid->Destroying()) return;
    if (DataCol < 0 || DataCol >= FGrid->ColCount() || DataRow < 0 || DataRow >= FGrid->RowCount())
        return;
    const int C = FGrid->GetDisplayCol(DataCol);
    const int R = FGrid->GetDisplayRow(DataRow);
    if (SkipWhilePainting && FGrid->Painting()) return;
    if (FGrid->CheckInvalidateCell(C, R) && C == FGrid->Col() && R == FGrid->Row())
        FGrid->RedisplayControl();
}

TgxSetNode* TgxCellPropSet::NewNode(const void* KeyPointer) {
    if (!GetAssigning()) return TgxObjectSet::NewNode(KeyPointer);
    // A set assigned from another grid's set gets elements of its own.
    const auto* Source = static_cast<const TgxCellElement*>(KeyPointer);
    auto* Clone = new TgxCellElement(FGrid, Source->DataCol(), Source->DataRow());
    Clone->Assign(*Source);
    return new TgxObjectSetNode(Clone);
}

void TgxCellPropSet::Rekey(TgxCellElement* Element, int DataCol, int DataRow) {
    // Take the element out without freeing it, then insert it under the new key.
    const int Col = Element->DataCol();
    const int Row = Element->DataRow();
    const TVarRec Key[] = {Col, Row};
    std::span<const TVarRec> KeySpan(Key);
    if (TgxSetNode* Node = RemoveNode(&KeySpan)) {
        static_cast<TgxObjectSetNode*>(Node)->SetElement(nullptr);
        Node->Release(true);
    }
    Element->SetKey(DataCol, DataRow);
    Add(Element);
    FGrid->ResetLastCell();
}

// ---- coordinate list --------------------------------------------------------------------

void TgxCoordList::AddCoord(int Col, int Row) {
    AddItem(Col);
    AddItem(Row);
}

void TgxCoordList::RemoveCoord(int Col, int Row) {
    for (int I = 0; I + 1 < Count(); I += 2)
        if (GetItem(I) == Col && GetItem(I + 1) == Row) {
            Delete(I + 1);
            Delete(I);
            return;
        }
}

void TgxCoordList::UpdateCoord(int Index, int Col, int Row) {
    if (Index < 0 || Index + 1 >= Count()) return;
    SetItem(Index, Col);
    SetItem(Index + 1, Row);
}

bool TgxCoordList::NextCoord(int& Index, int& Col, int& Row) const {
    if (Index < 0 || Index + 1 >= Count()) {
        Col = Row = 0;
        return false;
    }
    Col = GetItem(Index);
    Row = GetItem(Index + 1);
    Index += 2;
    return true;
}

} // namespace grid
