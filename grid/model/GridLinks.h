#pragma once
// The grid's links to the shared mask definitions, image lists and
// date-time definitions, through which it hears of changes and removals.
#include "grid/foundation/DateTimeDefs.h"
#include "grid/foundation/ImageList.h"
#include "grid/foundation/MaskDefs.h"

namespace grid {

class TgxBaseGrid;

class TgxGridMaskLink : public TgxMaskLink {
public:
    explicit TgxGridMaskLink(TgxBaseGrid* Grid) : FGrid(Grid) {}
    AnsiString ClassName() const override { return "TgxGridMaskLink"; }
    TgxBaseGrid* Grid() const { return FGrid; }

private:
    TgxBaseGrid* FGrid;
};

class TgxGridImageLink : public TgxImageLink {
public:
    explicit TgxGridImageLink(TgxBaseGrid* Grid) : FGrid(Grid) {}
    AnsiString ClassName() const override { return "TgxGridImageLink"; }
    TgxBaseGrid* Grid() const { return FGrid; }
    // The grid repaints.
    void ImageChanged(TgxImageItem* Image) override;
    void ImageListDeleted() override;

private:
    TgxBaseGrid* FGrid;
};

class TgxGridDateTimeLink : public TgxDateTimeLink {
public:
    explicit TgxGridDateTimeLink(TgxBaseGrid* Grid) : FGrid(Grid) {}
    AnsiString ClassName() const override { return "TgxGridDateTimeLink"; }
    TgxBaseGrid* Grid() const { return FGrid; }
    void DateTimeDefDeleted(TgxDateTimeDefComponent* Component) override;

private:
    TgxBaseGrid* FGrid;
};

// Held takes Value, registered with the grid's date-time link in place of
// the definition it held before; false when it held Value already.
bool ReplaceDateTimeDef(TgxBaseGrid* Grid, TgxDateTimeDefComponent*& Held,
                        TgxDateTimeDefComponent* Value);

// A column or row went: the next drop-down is set up afresh, as the one set
// up last may have come from it.
void ResetDropDownInits(TgxBaseGrid* Grid);

} // namespace grid
