#pragma once
// A grid's column widths kept in a storage object, and the MDI child list
// calls, which have no MDI forms to work on here.
#include "platform/rtl/AnsiString.h"

class TCustomForm;
class TCustomIniFile;
class TRegIniFile;

namespace grid {
class TCustomGrid_ts;
}

namespace formstore {

// In the grid's default section (GetDefaultSection), "Item<i>" = the width
// of column i, for every column from 0 to ColCount - 1.
void SaveGridLayout(grid::TCustomGrid_ts* Grid, TCustomIniFile* IniFile);
void SaveGridLayoutReg(grid::TCustomGrid_ts* Grid, TRegIniFile* IniFile);
// Each column's width from "Item<i>", keeping its width where there is no
// value, a malformed one, or one outside -1 (hidden) to 32767.
void RestoreGridLayout(grid::TCustomGrid_ts* Grid, TCustomIniFile* IniFile);
void RestoreGridLayoutReg(grid::TCustomGrid_ts* Grid, TRegIniFile* IniFile);

// The platform's forms host no MDI children, so no form is an MDI parent
// with children to keep: these raise EInvalidOperation "Cannot create form.
// No MDI forms are currently active" and leave the storage alone.
void SaveMDIChildren(TCustomForm* MainForm, TCustomIniFile* IniFile);
void SaveMDIChildrenReg(TCustomForm* MainForm, TRegIniFile* IniFile);
void RestoreMDIChildren(TCustomForm* MainForm, TCustomIniFile* IniFile);
void RestoreMDIChildrenReg(TCustomForm* MainForm, TRegIniFile* IniFile);

} // namespace formstore
