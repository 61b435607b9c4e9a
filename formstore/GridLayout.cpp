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

void RestoreLayout(grid::TCustomGrid_ts* Grid, TObject* IniFile) {
    const AnsiString Section = GetDefaultSection(Grid);
    for (int I = 0; I < Grid->ColCount(); ++I)
        Grid->SetColWidths(
            I, IniReadInteger(IniFile, Section, Format("Item%d", I), Grid->ColWidths(I)));
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
