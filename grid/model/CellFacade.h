#pragma once
// One cell's own properties presented as an object, and one row's as a
// stream object: each forwards every access to the grid's accessors, so
// they hold nothing but the grid and the cell (or row) they stand for.
#include "grid/model/ComboTypes.h"
#include "grid/model/GridTypes.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Persistent.h"

namespace grid {

class TgxBaseGrid;
class TgxDateTimeDefComponent;

class TgxCell : public TPersistent {
public:
    TgxCell(TgxBaseGrid* Grid, int DataCol, int DataRow)
        : FGrid(Grid), FDataCol(DataCol), FDataRow(DataRow) {}
    AnsiString ClassName() const override { return "TgxCell"; }

    TgxBaseGrid* GetGrid() const { return FGrid; }
    void SetGrid(TgxBaseGrid* Grid) { FGrid = Grid; }
    int DataCol() const { return FDataCol; }
    int DataRow() const { return FDataRow; }
    // Points the facade at another cell.
    void SetCell(int DataCol, int DataRow) {
        FDataCol = DataCol;
        FDataRow = DataRow;
    }

    TColor Color() const;
    void SetColor(TColor Value);
    TgxControlType ControlType() const;
    void SetControlType(TgxControlType Value);
    TgxSpinOptions SpinOptions() const;
    void SetSpinOptions(TgxSpinOptions Value);
    double SpinIncrement() const;
    void SetSpinIncrement(double Value);
    TFont* Font() const;
    void SetFont(TFont* Value);
    bool ParentFont() const;
    void SetParentFont(bool Value);
    TAlignment Alignment() const;
    void SetAlignment(TAlignment Value);
    bool Align() const;
    void SetAlign(bool Value);
    TgxHorzAlignment HorzAlignment() const;
    void SetHorzAlignment(TgxHorzAlignment Value);
    TgxVertAlignment VertAlignment() const;
    void SetVertAlignment(TgxVertAlignment Value);
    bool Is3D() const;
    void SetIs3D(bool Value);
    TgxWordWrap WordWrap() const;
    void SetWordWrap(TgxWordWrap Value);
    TgxButtonType ButtonType() const;
    void SetButtonType(TgxButtonType Value);
    TgxDropDownStyle DropDownStyle() const;
    void SetDropDownStyle(TgxDropDownStyle Value);
    TgxReadOnly ReadOnly() const;
    void SetReadOnly(TgxReadOnly Value);
    AnsiString MaskName() const;
    void SetMaskName(const AnsiString& Value);
    bool AutoCreateFont() const;
    void SetAutoCreateFont(bool Value);
    bool ParentCombo() const;
    void SetParentCombo(bool Value);
    // The cell's own list, none while it uses another level's; setting
    // copies the given list into the cell's own (none drops it).
    TgxCombo* GetCombo() const;
    void SetCombo(TgxCombo* Value);
    void AssignCombo();
    TgxDrawOption StretchPicture() const { return Picture(1); }
    void SetStretchPicture(TgxDrawOption Value) { SetPicture(1, Value); }
    TgxDrawOption ShrinkPicture() const { return Picture(2); }
    void SetShrinkPicture(TgxDrawOption Value) { SetPicture(2, Value); }
    TgxDrawOption CenterPicture() const { return Picture(3); }
    void SetCenterPicture(TgxDrawOption Value) { SetPicture(3, Value); }
    TgxDrawOption KeepAspectRatio() const { return Picture(4); }
    void SetKeepAspectRatio(TgxDrawOption Value) { SetPicture(4, Value); }
    TgxDateTimeDefComponent* DateTimeDef() const;
    void SetDateTimeDef(TgxDateTimeDefComponent* Value);

    // Copies every property of another cell; the font only when that cell
    // does not follow the grid font.
    void Assign(TPersistent* Source) override;

private:
    TgxDrawOption Picture(int Index) const;
    void SetPicture(int Index, TgxDrawOption Value);

    TgxBaseGrid* FGrid;
    int FDataCol;
    int FDataRow;
};

// A row's properties as a stream object, through the grid's row accessors.
class TgxDesignRow : public TPersistent {
public:
    TgxDesignRow(TgxBaseGrid* Grid, int DataRow) : FGrid(Grid), FDataRow(DataRow) {}
    AnsiString ClassName() const override { return "TgxDesignRow"; }

    TgxBaseGrid* Grid() const { return FGrid; }
    int DataRow() const { return FDataRow; }
    void SetDataRow(int Value) { FDataRow = Value; }

    TgxButtonType ButtonType() const;
    void SetButtonType(TgxButtonType Value);
    TColor Color() const;
    void SetColor(TColor Value);
    TgxControlType ControlType() const;
    void SetControlType(TgxControlType Value);
    TgxDateTimeDefComponent* DateTimeDef() const;
    void SetDateTimeDef(TgxDateTimeDefComponent* Value);
    int DisplayRow() const;
    void SetDisplayRow(int Value);
    TgxDropDownStyle DropDownStyle() const;
    void SetDropDownStyle(TgxDropDownStyle Value);
    TFont* Font() const;
    void SetFont(TFont* Value);
    int Height() const;
    void SetHeight(int Value);
    TgxHorzAlignment HorzAlignment() const;
    void SetHorzAlignment(TgxHorzAlignment Value);
    bool Is3D() const;
    void SetIs3D(bool Value);
    AnsiString MaskName() const;
    void SetMaskName(const AnsiString& Value);
    bool ParentCombo() const;
    void SetParentCombo(bool Value);
    bool ParentFont() const;
    void SetParentFont(bool Value);
    bool ReadOnly() const;
    void SetReadOnly(bool Value);
    TgxSpinOptions SpinOptions() const;
    void SetSpinOptions(TgxSpinOptions Value);
    double SpinIncrement() const;
    void SetSpinIncrement(double Value);
    TgxDrawOption StretchPicture() const { return Picture(1); }
    void SetStretchPicture(TgxDrawOption Value) { SetPicture(1, Value); }
    TgxDrawOption ShrinkPicture() const { return Picture(2); }
    void SetShrinkPicture(TgxDrawOption Value) { SetPicture(2, Value); }
    TgxDrawOption CenterPicture() const { return Picture(3); }
    void SetCenterPicture(TgxDrawOption Value) { SetPicture(3, Value); }
    TgxDrawOption KeepAspectRatio() const { return Picture(4); }
    void SetKeepAspectRatio(TgxDrawOption Value) { SetPicture(4, Value); }
    TgxVertAlignment VertAlignment() const;
    void SetVertAlignment(TgxVertAlignment Value);
    bool Visible() const;
    void SetVisible(bool Value);
    TgxWordWrap WordWrap() const;
    void SetWordWrap(TgxWordWrap Value);
    TAlignment Alignment() const;
    void SetAlignment(TAlignment Value);
    bool Align() const;
    void SetAlign(bool Value);
    bool Changed() const;
    void SetChanged(bool Value);
    bool Selected() const;
    void SetSelected(bool Value);
    bool AutoCreateFont() const;
    void SetAutoCreateFont(bool Value);
    TgxCombo* GetCombo() const;
    void SetCombo(TgxCombo* Value);
    void AssignCombo();
    int Id() const;

    // From another design row: the other grid's row object, or all
    // properties reset when it has none.
    void Assign(TPersistent* Source) override;

private:
    TgxDrawOption Picture(int Index) const;
    void SetPicture(int Index, TgxDrawOption Value);

    TgxBaseGrid* FGrid;
    int FDataRow;
};

} // namespace grid
