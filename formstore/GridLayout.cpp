#include "formstore/GridLayout.h"

#include "formstore/AppStorage.h"
#include "formstore/StorageDispatch.h"

#include "grid/foundation/CustomGrid.h"
#include "platform/registry/IniFiles.h"
#include "platform/registry/RegIniFile.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace formstore {

namespace {

void SaveLayout(grid::TCustomGrid_ts* Grid, TObject* IniFile) {
    const AnsiString Section = GetDefaultSection(Grid);
    for (int I = 0; I < Grid->ColCount(); ++I)
        IniWriteInteger(IniFile, Section, Format("Item%d", I), Grid->ColWidths(I));
}

// The widths a stored layout may give a column: -1 hides it, and none
// is wider than the largest window coordinate. The grid adds widths up
// into pixel positions, so a damaged value past these would overflow them;
// like a malformed one it counts as missing.
constexpr int MinStoredWidth = -1;
constexpr int MaxStoredWidth = 32767;

void RestoreLayout(grid::TCustomGrid_ts* Grid, TObject* IniFile) {
    const AnsiString Section = GetDefaultSection(Grid);
    for (int I = 0; I < Grid->ColCount(); ++I) {
        const int Width =
            IniReadInteger(IniFile, Section, Format("Item%d", I), Grid->ColWidths(I));
        if (Width >= MinStoredWidth && Width <= MaxStoredWidth) Grid->SetColWidths(I, Width);
    }
}

[[noreturn]] void NoMDIForms() {
    throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
}

} // namespace

void SaveGridLayout(grid::TCustomGrid_ts* Grid, TCustomIniFile* IniFile) {
    SaveLayout(Grid, IniFile);
}

void SaveGridLayoutReg(grid::TCustomGrid_ts* Grid, TRegIniFile* IniFile) {
    SaveLayout(Grid, IniFile);
}

void RestoreGridLayout(grid::TCustomGrid_ts* Grid, TCustomIniFile* IniFile) {
    RestoreLayout(Grid, IniFile);
}

void RestoreGridLayoutReg(grid::TCustomGrid_ts* Grid, TRegIniFile* IniFile) {
    RestoreLayout(Grid, IniFile);
}

void SaveMDIChildren(TCustomForm*, TCustomIniFile*) {
    NoMDIForms();
}

void SaveMDIChildrenReg(TCustomForm*, TRegIniFile*) {
    NoMDIForms();
}

void RestoreMDIChildren(TCustomForm*, TCustomIniFile*) {
    NoMDIForms();
}

void RestoreMDIChildrenReg(TCustomForm*, TRegIniFile*) {
    NoMDIForms();
}

} // namespace formstore
