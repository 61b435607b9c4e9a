#pragma once
// A form's window placement in a section of a storage object (a registry
// key used as an INI file, or an INI file), value by value:
//
//   Flags, ShowCmd, PixelsPerInch   decimal integers
//   MinMaxPos(WxH), MinMaxPos       "minX,minY,maxX,maxY"
//   NormPos(WxH), NormPos           "left,top,right,bottom"
//
// Each position is written twice, under the name with the screen-size
// suffix and under the plain name: the suffixed one keeps a placement per
// screen size, the plain one the last placement saved at any size. Reading
// prefers the suffixed one. A placement saved at another pixel density is
// ignored as a whole (its show state still applies). A normal rectangle
// whose left or top lies past +-32767, whose width or height is 0 or
// less, or whose size exceeds the desktop (the box around the work area
// and every monitor), is damaged: it counts as missing, so the plain one
// is tried, then the form keeps its own.
#include "platform/gui/Types.h"
#include "platform/rtl/AnsiString.h"

#include <vector>

class TCustomForm;
class TCustomIniFile;
class TObject;
class TRegIniFile;

namespace formstore {

// "(WxH)" with the primary screen's size in pixels now, e.g. "(1920x1080)".
AnsiString ScreenSizeSuffix();

// Writes Flags to NormPos of the form's placement into Section.
void WriteFormPlacement(TCustomForm* Form, TCustomIniFile* IniFile, const AnsiString& Section);
void WriteFormPlacementReg(TCustomForm* Form, TRegIniFile* IniFile, const AnsiString& Section);
// Reads them back and applies what LoadState and LoadPosition ask for.
void ReadFormPlacement(TCustomForm* Form, TCustomIniFile* IniFile, const AnsiString& Section,
                       bool LoadState, bool LoadPosition);
void ReadFormPlacementReg(TCustomForm* Form, TRegIniFile* IniFile, const AnsiString& Section,
                          bool LoadState, bool LoadPosition);

// The same on either kind of storage object.
void WritePlacementValues(TCustomForm* Form, TObject* IniFile, const AnsiString& Section);
void ReadPlacementValues(TCustomForm* Form, TObject* IniFile, const AnsiString& Section,
                         bool LoadState, bool LoadPosition);

// A rectangle that overlaps no part of the work area nor of any of Monitors
// is moved (and, when larger, shrunk) to lie inside the work area; any other
// rectangle is kept, so a window on a second monitor stays there.
TRect BringOntoWorkArea(const TRect& R, const TRect& WorkArea,
                        const std::vector<TRect>& Monitors = {});

// The free functions of the application-storage unit, beside the component
// methods of the same names.
namespace fsapputils {

// Opens the registry key (with full access) or the INI file named
// IniFileName and writes the placement under the form's class name.
void SaveFormPlacement(TCustomForm* Form, const AnsiString& IniFileName, bool UseRegistry);
// Opens it for reading and applies both state and position.
void RestoreFormPlacement(TCustomForm* Form, const AnsiString& IniFileName, bool UseRegistry);

} // namespace fsapputils

} // namespace formstore
