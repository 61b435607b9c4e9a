#pragma once
// Enumerations and event types of the grid model that columns, rows, the
// grid and its view share. Enumerations that are streamed keep their
// ordinals.
#include "grid/model/PropDefaults.h"
#include "platform/rtl/Object.h"

#include <cstdint>
#include <functional>

namespace grid {

enum class TgxColHeadingButton : std::uint8_t { cbCell, cbButton, cbGrid, cbNone };
using enum TgxColHeadingButton;
enum class TgxSortPicture : std::uint8_t { spUp, spDown, spBullet, spNone };
using enum TgxSortPicture;
enum class TgxIndexType : std::uint8_t { itRow, itCol };
using enum TgxIndexType;
enum class TgxGridStatus : std::uint8_t { grNormal, grColSelect, grRowSelect, grCellSelect };
using enum TgxGridStatus;
enum class TgxGridMode : std::uint8_t { gmListBox, gmEdit, gmEditInsert, gmBrowse };
using enum TgxGridMode;
enum class TgxDrawOverlap : std::uint8_t { doDrawColOnTop, doDrawRowOnTop };
using enum TgxDrawOverlap;
enum class TgxColSelectMode : std::uint8_t { csNone, csMulti };
using enum TgxColSelectMode;
enum class TgxRowSelectMode : std::uint8_t { rsNone, rsSingle, rsMulti };
using enum TgxRowSelectMode;
enum class TgxCellSelectMode : std::uint8_t { cmNone, cmRange };
using enum TgxCellSelectMode;
enum class TgxResizeCols : std::uint8_t { rcNone, rcSingle, rcAll };
using enum TgxResizeCols;
enum class TgxResizeRows : std::uint8_t { rrNone, rrSingle, rrAll };
using enum TgxResizeRows;
enum class TgxGridLines : std::uint8_t { glNone, glVertLines, glHorzLines, glBoth };
using enum TgxGridLines;
enum class TgxFocusBorder : std::uint8_t { fbNone, fbDot, fbSingle, fbDouble, fbDash };
using enum TgxFocusBorder;
enum class TgxHeadingButton : std::uint8_t { hbCell, hbButton, hbNone };
using enum TgxHeadingButton;
enum class TgxInactiveButtonState : std::uint8_t { ibsBackGround, ibsPicture, ibsNone };
using enum TgxInactiveButtonState;
enum class TgxPrintMode : std::uint8_t { pmPortrait, pmLandscape };
using enum TgxPrintMode;
enum class TgxRowChangedIndicator : std::uint8_t { riOn, riOff, riAutoReset };
using enum TgxRowChangedIndicator;
enum class TgxScrollSpeed : std::uint8_t { spHigh, spLow, spVariable };
using enum TgxScrollSpeed;
enum class TgxSelectionType : std::uint8_t { sltDefault, sltInvert, sltColor };
using enum TgxSelectionType;
enum class TgxCheckBoxStyle : std::uint8_t { stFlat, stCheck, stCross };
using enum TgxCheckBoxStyle;
enum class TgxColMatch : std::uint8_t { cmaNone, cmaNumber, cmaFieldName, cmaHeading };
using enum TgxColMatch;
enum class TgxSelectType : std::uint8_t { stRowSelect, stColSelect, stCellSelect };
using enum TgxSelectType;
// The parts of a column a highlight covers: the heading cell, the cells
// below it, or both.
enum class TgxInvert : std::uint8_t { ivNone, ivHead, ivData, ivBoth };
using enum TgxInvert;
// Where the content moves while the grid scrolls by itself: mdLeft shows
// columns further right, mdUp rows further down.
enum class TgxMoveDirection : std::uint8_t { mdLeft, mdRight, mdUp, mdDown };
using enum TgxMoveDirection;
// The gesture the mouse is in; the ordinals are those the mouse-status
// event reports.
enum class TgxMouseStatus : std::uint8_t {
    msNormal,
    msRowSelect,
    msColSelect,
    msCellSelect,
    msAllRowSelect,
    msRowResize,
    msColResize,
    msHeadingResize,
    msRowBarResize,
    msRowMove,
    msColMove,
    msButtonDown,
    msHeadingDown
};
using enum TgxMouseStatus;

// A horizontal alignment said two ways: the old-style pair (Alignment and
// the Align switch) and HorzAlignment. Each setter keeps the other side in
// step and answers whether anything changed.
struct TgxAlignmentState {
    TAlignment Alignment = taLeftJustify;
    bool Align = false;
    TgxHorzAlignment Horz = htaDefault;

    bool SetAlignment(TAlignment Value);
    bool SetAlign(bool Value);
    bool SetHorz(TgxHorzAlignment Value);
    bool IsDefault() const { return Alignment == taLeftJustify && !Align && Horz == htaDefault; }
};

// The events the base grid raises itself (the custom grid adds the rest).
using TgxHeadingClickEvent = std::function<void(TObject* Sender, int DataCol)>;
using TgxColMovedEvent =
    std::function<void(TObject* Sender, int ToDisplayCol, int Count, bool ByUser)>;
using TgxRowMovedEvent =
    std::function<void(TObject* Sender, int ToDisplayRow, int Count, bool ByUser)>;
using TgxColChangedEvent = std::function<void(TObject* Sender, int OldCol, int NewCol)>;
using TgxSelectChangedEvent =
    std::function<void(TObject* Sender, TgxSelectType SelectType, bool ByUser)>;
using TgxCountChangedEvent = std::function<void(TObject* Sender, int OldCount, int NewCount)>;
using TgxResizedEvent = std::function<void(TObject* Sender, int RowColnr)>;
using TgxCanStartDragEvent = std::function<void(TObject* Sender, bool& CanDrag)>;
using TgxMouseStatusChangedEvent =
    std::function<void(TObject* Sender, TgxMouseStatus OldStatus, TgxMouseStatus NewStatus)>;
using TgxGridStatusChangedEvent =
    std::function<void(TObject* Sender, TgxGridStatus OldStatus, TgxGridStatus NewStatus)>;
using TgxEditTextResizedEvent = std::function<void(TObject* Sender, bool ByUser)>;
using TgxDeleteColEvent = std::function<void(TObject* Sender, int DataCol, bool ByUser)>;
using TgxInsertColEvent = std::function<void(TObject* Sender, int DataCol, bool ByUser)>;
using TgxComboCompareValueEvent =
    std::function<void(TObject* Sender, const AnsiString& ComboString,
                       const AnsiString& CurrentCellString, int& CompareRes)>;
using TgxComboLCompareValueEvent =
    std::function<void(TObject* Sender, const AnsiString& ComboString,
                       const AnsiString& CurrentCellString, int Len, int& CompareRes)>;

} // namespace grid
