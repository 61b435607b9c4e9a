#include "grid/model/GridLinks.h"

#include "grid/model/BaseGrid.h"

namespace grid {

void TgxGridImageLink::ImageChanged(TgxImageItem* Image) {
    TgxImageLink::ImageChanged(Image);
    FGrid->InvalidateGridNow();
}

void TgxGridImageLink::ImageListDeleted() {
    TgxImageLink::ImageListDeleted();
    FGrid->InvalidateGridNow();
}

void TgxGridDateTimeLink::DateTimeDefDeleted(TgxDateTimeDefComponent* Component) {
    TgxDateTimeLink::DateTimeDefDeleted(Component);
    FGrid->DateTimeDefDeleted(Component);
}

void ComboNotAvailableYet(const TgxBaseGrid* Grid) {
    Grid->InvalidOp("Combo cells are not available yet");
}

} // namespace grid
