#pragma once
// The grid's columns: one TgxCol per data column (column 0 is the row bar)
// with every column-level property, and the list that owns them.
#include "grid/model/ComboTypes.h"
#include "grid/model/GridTypes.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Persistent.h"

#include <memory>
#include <vector>

namespace grid {

class TgxBaseGrid;
class TgxNormalButton;
class TgxDateTimeDefComponent;

class TgxCol : public TPersistent {
public:
    TgxCol(TgxBaseGrid* Grid, int DataCol);
    ~TgxCol() override;
    AnsiString ClassName() const override { return "TgxCol"; }

    TgxBaseGrid* Grid() const { return FGrid; }
    // The data column now at DisplayCol.
    int GetDataCol() const;
    int DataColNumber() const { return FDataCol; }
    void SetDataColNumber(int Value) { FDataCol = Value; }
    int DisplayCol() const { return FDisplayCol; }
    // Moves the column to display position P (1 .. data column count).
    void SetDisplayCol(int P);
    // Stores the position without moving anything (the grid's renumbering).
    void SetDisplayColValue(int P) { FDisplayCol = P; }
    bool GetFixed() const;
    int Id() const { return FId; }
    void SetId(int Value) { FId = Value; }

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // None while the column follows the grid font (unless it creates its
    // font automatically or the grid is being read).
    TFont* GetFont();
    void SetFont(TFont* Value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    bool AutoCreateFont() const { return FAutoCreateFont; }
    // Keeps the column in the grid's list of columns with AutoCreateFont.
    void SetAutoCreateFont(bool Value);
    // A following column's own (heading) font is brought up to the grid's
    // (heading) font; RemoveFonts drops both while they follow.
    void CheckFont();
    void CheckHeadingFont();
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
    const AnsiString& Heading() const { return FHeading; }
    void SetHeading(const AnsiString& Value);
    // Heading, or FieldName when Heading is empty.
    AnsiString GetHeading() const;
    int AccelPos() const { return FAccelPos; }
    TgxControlType ControlType() const { return FControlType; }
    void SetControlType(TgxControlType Value);
    int Width() const { return FWidth; }
    // Stores the set width too (restored by a reset).
    void SetWidth(int Value);
    // The grid's interactive sizing: the width alone.
    void CopyWidth(int Value);
    int SetWidthValue() const { return FSetWidth; }
    // Width and set width without any notification (a new column).
    void CopyWidthValue(int Value) { FWidth = FSetWidth = Value; }
    // The width alone without any notification (the base control's width
    // taken over).
    void StoreWidth(int Value) { FWidth = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool Is3D() const { return FIs3D; }
    void SetIs3D(bool Value);
    TgxButtonType ButtonType() const { return FButtonType; }
    void SetButtonType(TgxButtonType Value);
    TgxNormalButton* Button() const { return FButton.get(); }
    // A custom button made from the bitmap; none removes it.
    void CreateButton(TBitmap* Bitmap, TColor TransparentColor, int Width, int Height);
    void DestroyButton();
    // A button like Value (its bitmap, transparent colour and size); none
    // removes the button.
    void SetButton(TgxNormalButton* Value);
    // The own combo's style while the column has one.
    TgxDropDownStyle DropDownStyle() const;
    void SetDropDownStyle(TgxDropDownStyle Value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value);
    TgxColHeadingButton HeadingButton() const { return FHeadingButton; }
    void SetHeadingButton(TgxColHeadingButton Value);
    TgxHorzAlignment HeadingHorzAlignment() const { return FHeadingAlignState.Horz; }
    void SetHeadingHorzAlignment(TgxHorzAlignment Value);
    TAlignment HeadingAlignment() const { return FHeadingAlignState.Alignment; }
    void SetHeadingAlignment(TAlignment Value);
    bool HeadingAlign() const { return FHeadingAlignState.Align; }
    void SetHeadingAlign(bool Value);
    TgxVertAlignment HeadingVertAlignment() const { return FHeadingVertAlignment; }
    void SetHeadingVertAlignment(TgxVertAlignment Value);
    TgxWordWrap HeadingWordWrap() const { return FHeadingWordWrap; }
    void SetHeadingWordWrap(TgxWordWrap Value);
    TColor HeadingColor() const { return FHeadingColor; }
    bool HeadingParentFont() const { return FHeadingParentFont; }
    void SetHeadingParentFont(bool Value);
    // The column's own heading font, or none while it follows the grid's.
    TFont* HeadingFontObject() const { return FHeadingFont.get(); }
    // As GetFont, against the grid's heading font.
    TFont* GetHeadingFont();
    void SetHeadingFont(TFont* Value);
    void SetHeadingColor(TColor Value);
    TgxSortPicture SortPicture() const { return FSortPicture; }
    void SetSortPicture(TgxSortPicture Value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    const AnsiString& FieldName() const { return FFieldName; }
    void SetFieldName(const AnsiString& Value) { FFieldName = Value; }
    const AnsiString& MaskName() const { return FMaskName; }
    void SetMaskName(const AnsiString& Value);
    bool ParentCombo() const { return FParentCombo; }
    // False gives the column a list of its own, true drops it.
    void SetParentCombo(bool Value);
    // The column's own combo; nullptr while it uses the grid's.
    TgxCombo* GetCombo() const { return FCombo.get(); }
    // A copy of Value becomes the column's own; nullptr drops it.
    void SetCombo(TgxCombo* Value);
    void AssignCombo();
    void ResetCombo();
    TgxDrawOption StretchPicture() const { return FPicture[0]; }
    void SetStretchPicture(TgxDrawOption Value) { SetPicture(0, Value); }
    TgxDrawOption ShrinkPicture() const { return FPicture[1]; }
    void SetShrinkPicture(TgxDrawOption Value) { SetPicture(1, Value); }
    TgxDrawOption CenterPicture() const { return FPicture[2]; }
    void SetCenterPicture(TgxDrawOption Value) { SetPicture(2, Value); }
    TgxDrawOption KeepAspectRatio() const { return FPicture[3]; }
    void SetKeepAspectRatio(TgxDrawOption Value) { SetPicture(3, Value); }
    TgxSpinOptions SpinOptions() const { return FSpinOptions; }
    void SetSpinOptions(TgxSpinOptions Value) { FSpinOptions = Value; }
    double SpinIncrement() const { return FSpinIncrement; }
    void SetSpinIncrement(double Value) { FSpinIncrement = Value; }
    TgxDateTimeDefComponent* DateTimeDef() const { return FDateTimeDef; }
    void SetDateTimeDef(TgxDateTimeDefComponent* Value);
    const AnsiString& CheckBoxValues() const { return FCheckBoxValues; }
    void SetCheckBoxValues(const AnsiString& Value);
    virtual bool UseCheckBoxValues() const { return true; }
    std::int32_t Data() const { return FData; }
    void SetData(std::int32_t Value) { FData = Value; }
    std::int32_t Tag() const { return FTag; }
    void SetTag(std::int32_t Value) { FTag = Value; }
    bool PrintTotals() const { return FPrintTotals; }
    void SetPrintTotals(bool Value) { FPrintTotals = Value; }
    // The widest text of the column's cells over the visible rows; 0 when
    // there are none.
    virtual int GetMaxTextWidth() const;
    bool GetSelected() const;
    void SetSelected(bool Value);

    // Every field at its default (the button aside); Empty: and no button.
    virtual bool DefaultProps() const;
    virtual bool Empty() const;
    virtual void AssignProperties(const TgxCol& Source);
    // Takes over the source's grid and display position, then its properties.
    virtual void Copy(const TgxCol& Source);
    void Assign(TPersistent* Source) override;
    // Returns the listed properties to their defaults.
    virtual void Reset(TgxProperties Properties);

    AnsiString HTMLCell(const AnsiString& Data) const;
    AnsiString HTMLHeader() const;
    virtual AnsiString XMLHeading() const;

private:
    void CheckWidth(int OldWidth);
    void UpdateFont(TFont* Source);
    void FontChange();
    void UpdateHeadingFont(TFont* Source);
    void HeadingFontChange();
    void HeadingFontRepaint();
    void CellLookChanged(bool Redisplay);
    void HeadingChanged();
    void SetPicture(int Index, TgxDrawOption Value);
    bool HoldsCurrentCell() const;
    bool HoldsCurrentDataCol() const;

    TgxBaseGrid* FGrid;
    int FDataCol;
    int FDisplayCol;
    TColor FColor = clNone;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    bool FAutoCreateFont = false;
    int FFontLock = 0;
    TgxAlignmentState FAlignState;
    TgxVertAlignment FVertAlignment = vtaDefault;
    TgxWordWrap FWordWrap = uiDefault;
    AnsiString FHeading;
    TgxControlType FControlType = ctDefault;
    int FWidth = 0;
    int FSetWidth = 0;
    bool FVisible = true;
    bool FReadOnly = false;
    bool FIs3D = false;
    TgxButtonType FButtonType = btDefault;
    std::unique_ptr<TgxNormalButton> FButton;
    TgxDropDownStyle FDropDownStyle = ddDropDown;
    bool FAllowGrayed = false;
    TgxColHeadingButton FHeadingButton = cbGrid;
    TgxAlignmentState FHeadingAlignState;
    TgxVertAlignment FHeadingVertAlignment = vtaDefault;
    TgxWordWrap FHeadingWordWrap = uiDefault;
    TColor FHeadingColor = clNone;
    std::unique_ptr<TFont> FHeadingFont;
    bool FHeadingParentFont = true;
    TgxSortPicture FSortPicture = spNone;
    int FMaxLength = 0;
    AnsiString FFieldName;
    int FAccelPos = 0;
    AnsiString FMaskName;
    int FId = 0;
    bool FParentCombo = true;
    TgxOwnedCombo FCombo;
    TgxDrawOption FPicture[4] = {dopDefault, dopDefault, dopDefault, dopDefault};
    TgxSpinOptions FSpinOptions{spoAutoRepeat, spoAutoIncrement, spoKeyEdit};
    double FSpinIncrement = 1.0;
    TgxDateTimeDefComponent* FDateTimeDef = nullptr;
    AnsiString FCheckBoxValues;
    std::int32_t FData = 0;
    std::int32_t FTag = 0;
    bool FPrintTotals = false;
};

class TgxGridCols : public TObject {
public:
    // Count columns, the row-bar column included.
    TgxGridCols(int Count, TgxBaseGrid* Grid);
    ~TgxGridCols() override;
    AnsiString ClassName() const override { return "TgxGridCols"; }

    int Count() const { return static_cast<int>(FCols.size()); }
    // Resizes to NewCount; new columns take the base grid's widths.
    void CreateDefaultValues(int OldCount, int NewCount);
    // Follows the base grid's column count.
    void Resize(int OldCount);
    // A text names a column by field name; anything else is a column
    // number 0 .. count-1 (checked).
    TgxCol* GetCol(const Variant& Col) const;
    TgxCol* Item(int DataCol) const { return FCols[static_cast<std::size_t>(DataCol)].get(); }
    TgxCol* FindCol(const AnsiString& Name) const;
    // Moves N column objects from Source to Target; vacated slots are empty.
    void CntMoveProperties(int Source, int Target, int N);
    // Takes the column out of its slot and puts Col there (grid renumbering).
    std::unique_ptr<TgxCol> Take(int DataCol);
    void Put(int DataCol, std::unique_ptr<TgxCol> Col);

protected:
    virtual std::unique_ptr<TgxCol> CreateCol(int DataCol);

private:
    std::vector<std::unique_ptr<TgxCol>> FCols;
    TgxBaseGrid* FGrid;
    int FNextId = 0;
};

} // namespace grid
