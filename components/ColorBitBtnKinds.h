#pragma once
// What each kind of colour bit button brings: its caption, its modal result
// and its glyph bitmap. The bitmaps are made on first use and shared by all
// buttons for the rest of the process.
#include "platform/gui/Buttons.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/AnsiString.h"

namespace components {

// The framework's button captions.
inline constexpr const char* SOKButton = "OK";
inline constexpr const char* SCancelButton = "Cancel";
inline constexpr const char* SHelpButton = "&Help";
inline constexpr const char* SYesButton = "&Yes";
inline constexpr const char* SNoButton = "&No";
inline constexpr const char* SCloseButton = "&Close";
inline constexpr const char* SAbortButton = "Abort";
inline constexpr const char* SRetryButton = "&Retry";
inline constexpr const char* SIgnoreButton = "&Ignore";
inline constexpr const char* SAllButton = "&All";

// The caption of a kind other than bkCustom ("" for bkCustom).
const AnsiString& BitBtnCaption(TBitBtnKind Kind);
TModalResult BitBtnModalResult(TBitBtnKind Kind);
// The resource name of a kind's bitmap ("BBOK" .. "BBALL").
const char* BitBtnResName(TBitBtnKind Kind);
// Two glyphs side by side (up, disabled), 18 pixels square ("BBALL" 19
// high), on an olive background; nullptr for bkCustom.
TBitmap* BitBtnGlyph(TBitBtnKind Kind);

} // namespace components
