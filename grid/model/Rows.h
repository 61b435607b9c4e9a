#pragma once
// The grid's rows. A grid may have very many rows, so a row object exists
// only while its row differs from the defaults (the heading row always has
// one); the row list also keeps each data row's display position and its
// identity.
#include "grid/model/ComboTypes.h"
#include "grid/model/GridTypes.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Persistent.h"

#include <memory>
#include <vector>

namespace grid {

class TgxBaseGrid;
class TgxDateTimeDefComponent;

class TgxRow : public TPersistent {
public:
    TgxRow(TgxBaseGrid* Grid, int DataRow);
    ~TgxRow() override;
    AnsiString ClassName() const override { return "TgxRow"; }

    TgxBaseGrid* Grid() const { return FGrid; }
    int GetDataRow() const { return FDataRow; }
    void SetDataRowNumber(int Value) { FDataRow = Value; }
    int GetDisplayRow() const;
    void SetDisplayRow(int DisplayRow);
    bool GetFixed() const;
    int GetId() const;
    // The grid's changed flag of this data row.
    bool GetChanged() const;
    void SetChanged(bool Value);

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFont* Font() const { return FFont.get(); }
    // None while the row follows the grid font (unless it creates its font
    // automatically or the grid is being read).
    TFont* GetFont();
    void SetFont(TFont* Value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    bool AutoCreateFont() const { return FAutoCreateFont; }
    // Keeps the row in the grid's list of rows with AutoCreateFont.
    void SetAutoCreateFont(bool Value);
    void CheckFont();
    void RemoveFonts();
    TAlignment Alignment() const { return FAlignState.Alignment; }
    void SetAlignment(TAlignment Value);
    bool Align() const { return FAlignState.Align; }
    void SetAlign(bool Value);
    TgxHorzAlignment HorzAlignment() const { return FAlignState.Horz; }
    void SetHorzAlignment(TgxHorzAlignment Value);
    TgxVertAlignment VertAlignment() const { return FVertAlignment; }
    void SetVertAlignment(TgxVertAlignment Value);
    TgxWordWrap WordWrap() const { return FWordWrap; }
    void SetWordWrap(TgxWordWrap Value);
    int Height() const { return FHeight; }
    // Stores the set height too (restored by a reset).
    void SetHeight(int Value);
    // The user's sizing: the height alone.
    void CopyHeight(int Value);
    int SetHeightValue() const { return FSetHeight; }
    // Height and set height without any notification (storage only).
    void StoreHeight(int Value) { FHeight = Value; }
    void StoreSetHeight(int Value) { FSetHeight = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool Is3D() const { return FIs3D; }
    void SetIs3D(bool Value);
    const AnsiString& MaskName() const { return FMaskName; }
    void SetMaskName(const AnsiString& Value);
    // The row's entry in the grid's row selection; setting goes through the
    // grid's row selection.
    bool GetSelected() const;
    void SetSelected(bool Value);
    TgxButtonType ButtonType() const { return FButtonType; }
    void SetButtonType(TgxButtonType Value);
    // The own combo's style while the row has one.
    TgxDropDownStyle DropDownStyle() const;
    void SetDropDownStyle(TgxDropDownStyle Value);
    bool ParentCombo() const { return FParentCombo; }
    // False gives the row a list of its own, true drops it.
    void SetParentCombo(bool Value);
    // The row's own combo; nullptr while it uses the grid's.
    TgxCombo* GetCombo() const { return FCombo.get(); }
    // A copy of Value becomes the row's own; nullptr drops it.
    void SetCombo(TgxCombo* Value);
    void AssignCombo();
    void ResetCombo();
    TgxDrawOption Picture(int Index) const { return FPicture[Index]; }
    void SetPicture(int Index, TgxDrawOption Value);
    TgxControlType ControlType() const { return FControlType; }
    void SetControlType(TgxControlType Value);
    TgxSpinOptions SpinOptions() const { return FSpinOptions; }
    void SetSpinOptions(TgxSpinOptions Value) { FSpinOptions = Value; }
    double SpinIncrement() const { return FSpinIncrement; }
    void SetSpinIncrement(double Value) { FSpinIncrement = Value; }
    TgxDateTimeDefComponent* DateTimeDef() const { return FDateTimeDef; }
    void SetDateTimeDef(TgxDateTimeDefComponent* Value);

    // Every field at its default, with Height the grid's default row height.
    virtual bool DefaultProps() const;
    virtual bool Empty() const { return DefaultProps(); }
    virtual void AssignProperties(const TgxRow& Source);
    // Takes over the source's grid, then its properties.
    virtual void Copy(const TgxRow& Source);
    void Assign(TPersistent* Source) override;
    virtual void Reset(TgxProperties Properties);

private:
    void CheckHeight(int OldHeight);
    void LookChanged(bool Redisplay);
    void UpdateFont(TFont* Source);
    void FontChange();

    TgxBaseGrid* FGrid;
    int FDataRow;
    TColor FColor = clNone;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    bool FAutoCreateFont = false;
    int FFontLock = 0;
    TgxAlignmentState FAlignState;
    TgxVertAlignment FVertAlignment = vtaDefault;
    TgxWordWrap FWordWrap = uiDefault;
    int FHeight;
    int FSetHeight;
    bool FVisible = true;
    bool FReadOnly = false;
    bool FIs3D = false;
    AnsiString FMaskName;
    TgxButtonType FButtonType = btDefault;
    TgxDropDownStyle FDropDownStyle = ddDropDown;
    bool FParentCombo = true;
    TgxOwnedCombo FCombo;
    TgxDrawOption FPicture[4] = {dopDefault, dopDefault, dopDefault, dopDefault};
    TgxControlType FControlType = ctDefault;
    TgxSpinOptions FSpinOptions{spoAutoRepeat, spoAutoIncrement, spoKeyEdit};
    double FSpinIncrement = 1.0;
    TgxDateTimeDefComponent* FDateTimeDef = nullptr;
};

class TgxGridRows : public TObject {
public:
    // Count rows, the heading row included.
    TgxGridRows(int Count, TgxBaseGrid* Grid);
    ~TgxGridRows() override;
    AnsiString ClassName() const override { return "TgxGridRows"; }

    int Count() const { return FCount; }
    void CreateDefaultValues(int OldCount, int NewCount);
    void Resize(int OldCount);
    // The row object (none for a row with only defaults); R is checked
    // against 0 .. count-1.
    TgxRow* GetRow(int R) const;
    TgxRow* Item(int R) const { return FRows[static_cast<std::size_t>(R)].get(); }
    TgxRow* CreateDataRow(int R);
    void RemoveDataRow(int R);
    // Frees the object of a row other than 0 that has become empty.
    void CheckRemoveDataRow(int R);
    int GetDisplayRowNumber(int R) const;
    void SetDisplayRowNumber(int R, int D);
    void CreateDisplayRowNumber();
    bool HasDisplayNumbers() const { return FDisplayMade; }
    int GetRowId(int R) const { return FIds[static_cast<std::size_t>(R)]; }
    // The data row with that identity (identities rise with the row number).
    int FindId(int Id) const;
    int GetRowHeight(int R) const;
    void SetRowHeight(int R, int Height);
    int GetOldRowHeight(int R) const;
    void SetOldRowHeight(int R, int Height);
    void CopyRowHeight(int R, int Height);
    // Moves N row objects from Source to Target; vacated slots are empty.
    void CntMoveProperties(int Source, int Target, int N);
    // Row objects in existence (the heading row's included).
    int ObjectCount() const;
    // Renumbering after a data row went: entries above R move down one,
    // the last slot takes what R held.
    void RotateDown(int R, int Last);

protected:
    virtual std::unique_ptr<TgxRow> CreateRow(int DataRow);

private:
    std::vector<std::unique_ptr<TgxRow>> FRows;
    std::vector<std::int32_t> FDisplay;
    std::vector<std::int32_t> FIds;
    TgxBaseGrid* FGrid;
    int FCount = 0;
    int FNextId = 0;
    bool FDisplayMade = false;
};

} // namespace grid
