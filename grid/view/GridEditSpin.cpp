// One step of a spin button on a cell with automatic increment: the number
// at the editor's caret goes up or down by the cell's spin increment, and
// the application may see and change the new value first.
#include "grid/foundation/GridCommonNumber.h"
#include "grid/foundation/ImageList.h"
#include "grid/foundation/MaskDefs.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GridLinks.h"
#include "grid/model/InplaceControl.h"

#include <algorithm>
#include <cstddef>

namespace grid {

namespace {

// The new text fitted to the cell's mask when the mask fills while typing:
// the changed number is padded to the width of the number it replaces, and
// the text is tried whole and up to the number, first as a finished value,
// then as a value still being typed. A text the mask refuses every way
// gives an empty result.
AnsiString FitToMask(TgxBaseGrid& Grid, int DataCol, int DataRow, const AnsiString& Old,
                     const AnsiString& New, int Start, int& Length) {
    AnsiString Name;
    if (!Grid.GiveCellMaskName(DataCol, DataRow, Name)) return New;
    TgxMaskItem* Mask = Grid.MaskLink()->GetMask(Name);
    if (!Mask || !Mask->GetAutoFill().Contains(mcOnEdit)) return New;
    const auto Pos = std::min(static_cast<std::size_t>(std::max(Start - 1, 0)), New.size());
    const AnsiString Part = New.substr(Pos, static_cast<std::size_t>(Length));
    // The rest of the text is as it was: the old number is as much longer
    // or shorter as the whole text.
    const std::size_t OldPos = std::min(Pos, Old.size());
    const auto OldLength = static_cast<std::ptrdiff_t>(Part.size()) +
                           static_cast<std::ptrdiff_t>(Old.size()) -
                           static_cast<std::ptrdiff_t>(New.size());
    const AnsiString Replaced =
        Old.substr(OldPos, static_cast<std::size_t>(std::max<std::ptrdiff_t>(OldLength, 0)));
    const AnsiString Padded = PadNumber(Replaced, Part);
    const AnsiString Prefix = New.substr(0, Pos) + Padded;
    const AnsiString Rest = New.substr(std::min(New.size(), Pos + Part.size()));
    const auto Fits = [&](const AnsiString& Text, bool Full) {
        AnsiString Input;
        return Mask->ValidInput(Text, Input, static_cast<int>(Text.size()) + 1, Full, false);
    };
    const auto PaddedText = [&] {
        Length = static_cast<int>(Padded.size());
        return Prefix + Rest;
    };
    const bool Whole = Pos == 0 && Part.size() == New.size();
    if (!Whole && Fits(Prefix, false)) return PaddedText();
    if (Fits(New, true)) return New;
    if (Fits(Prefix, true)) return PaddedText();
    if (Fits(New, false)) return New;
    if (Fits(Prefix, false)) return PaddedText();
    return AnsiString();
}

} // namespace

void TgxBaseGrid::DoSpinIncrement(int DataCol, int DataRow, bool Up, Variant& Value, int& Pos,
                                  int& Len, bool& Accept) {
    if (OnSpinIncrement) OnSpinIncrement(this, DataCol, DataRow, Up, Value, Pos, Len, Accept);
}

AnsiString TgxBaseGrid::IncrementPictureValue(const Variant& Current, bool Up) const {
    TgxImageListComponent* List = ImageList();
    if (!List) return AnsiString();
    // From an empty cell the first (last) picture; a value that names no
    // picture of the list has no neighbour.
    Variant From(AnsiString{});
    if (!Current.IsEmpty() && !Current.IsNull()) {
        if (Current.Type() != varString) return AnsiString();
        From = Current;
    }
    const Variant Next = Up ? List->NextIndex(From) : List->PrevIndex(From);
    if (Next.IsEmpty()) return AnsiString();
    const TgxImageItem* Item = List->GetImage(Next);
    if (!Item) return AnsiString();
    const AnsiString Set = Item->GetSetName();
    return Set.empty() ? Item->GetName() : Set + "." + Item->GetName();
}

void TgxBaseGrid::CheckSpinPicture(int DataCol, int DataRow, bool Up) {
    const Variant Current = CurrentCell()->GetValue();
    const AnsiString Next = IncrementPictureValue(Current, Up);
    if (Next.empty() || (Current.Type() == varString && Current.AsString() == Next)) return;
    Variant Value(Next);
    bool Accept = true;
    // A picture has no caret: what the handler makes of these is not used.
    int Pos = 0;
    int Len = 0;
    DoSpinIncrement(DataCol, DataRow, Up, Value, Pos, Len, Accept);
    if (!Accept || Value == Current || !StartEdit()) return;
    AssignControlValue(ctPicture, CheckStrValue(ctPicture, Value), true, true);
}

void TgxBaseGrid::CheckSpinIncrement(int DataCol, int DataRow, bool Up) {
    if (!GiveCellSpinOptions(DataCol, DataRow).Contains(spoAutoIncrement)) return;
    const TgxControlType Type = GiveCellControlType(DataCol, DataRow);
    if (Type != ctText && Type != ctPicture) return;
    if (!FEditorShown && !InternalShowEditor(gxCurrent, false)) return;
    if (Type == ctPicture) {
        CheckSpinPicture(DataCol, DataRow, Up);
        return;
    }
    if (!FGridControl) return;
    const Variant Current = CurrentCell()->GetValue();
    const AnsiString Old =
        Current.IsEmpty() || Current.IsNull() ? AnsiString() : Current.AsString();
    const double Step = GiveCellSpinIncrement(DataCol, DataRow) * (Up ? 1 : -1);
    AnsiString New;
    int Start = 0;
    int Length = 0;
    const int Caret = Old.empty() ? 0 : FGridControl->GetSelStart();
    IncStrAtPos(Old.empty() ? AnsiString("0") : Old, Caret, Step, New, Start, Length);
    if (New == Old) return;
    New = FitToMask(*this, DataCol, DataRow, Old, New, Start, Length);

    if (New.empty() || New == Old) return;
    Variant Value(New);
    bool Accept = true;
    // The caret goes behind the changed number, nothing selected, unless
    // the application says otherwise.
    int Pos = std::max(Start - 1, 0) + Length;
    int Len = 0;
    DoSpinIncrement(DataCol, DataRow, Up, Value, Pos, Len, Accept);
    if (!Accept || Value == Current || !StartEdit()) return;
    AssignControlValue(ctText, CheckStrValue(ctText, Value), true, true);
    FGridControl->SetSelStart(std::max(Pos, 0));
    FGridControl->SetSelLength(std::max(Len, 0));
}

} // namespace grid
