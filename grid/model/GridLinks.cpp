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
    // The grid's own definition and what its calendar was set up from.
    if (FGrid->DateTimeDef() == Component) FGrid->SetDateTimeDef(nullptr);
    FGrid->CheckResetDateTimeInit(Component);
    FGrid->DateTimeDefDeleted(Component);
}

bool ReplaceDateTimeDef(TgxBaseGrid* Grid, TgxDateTimeDefComponent*& Held,
                        TgxDateTimeDefComponent* Value) {
    if (Value == Held) return false;
    if (TgxGridDateTimeLink* Link = Grid->DateTimeLink()) {
        Link->Remove(Held);
        Link->Add(Value);
    }
    Held = Value;
    return true;
}

void ResetDropDownInits(TgxBaseGrid* Grid) {
    if (Grid->Destroying()) return;
    Grid->ResetComboInit(false);
    Grid->ResetDateTimeInit();
}

} // namespace grid
