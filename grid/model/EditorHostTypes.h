#pragma once
// The events of cell and row editing (a handler that sets Cancel, or
// leaves Accept false, refuses the step it is asked about) and the small
// enumerations of the editor's hosting.
#include "platform/rtl/Object.h"

#include <cstdint>
#include <functional>

namespace grid {

using TgxCellEditingEvent =
    std::function<void(TObject* Sender, int DataCol, int DataRow, bool& Cancel)>;
using TgxRowEditingEvent = std::function<void(TObject* Sender, int DataRow, bool& Cancel)>;
using TgxUndoCellEditEvent =
    std::function<void(TObject* Sender, int DataCol, int DataRow, bool ByUser, bool& Cancel)>;
using TgxUndoRowEditEvent =
    std::function<void(TObject* Sender, int DataRow, bool ByUser, bool& Cancel)>;
using TgxCellEditEvent =
    std::function<void(TObject* Sender, int DataCol, int DataRow, bool ByUser)>;
using TgxInvalidCellValueEvent =
    std::function<void(TObject* Sender, int DataCol, int DataRow, bool& Accept)>;
using TgxInvalidCellKeysEvent = std::function<void(TObject* Sender, const AnsiString& Keys,
                                                   int DataCol, int DataRow, bool& Accept)>;
using TgxShowEditorEvent =
    std::function<void(TObject* Sender, int DataCol, int DataRow, bool& Cancel)>;
using TgxHideEditorEvent = std::function<void(TObject* Sender, int DataCol, int DataRow)>;
using TgxRowChangedEvent = std::function<void(TObject* Sender, int OldRow, int NewRow)>;
using TgxCellChangedEvent =
    std::function<void(TObject* Sender, int OldCol, int NewCol, int OldRow, int NewRow)>;
using TgxInsertRowEvent = std::function<void(TObject* Sender, int DataRow, bool ByUser)>;
using TgxDeleteRowEvent = std::function<void(TObject* Sender, int DataRow, bool ByUser)>;

// How the text of the in-place editor is selected when it is shown.
enum class TgxTextSelectMode : std::uint8_t { gxAll, gxCurrent, gxNone, gxDefault };
using enum TgxTextSelectMode;

// The old name of the grid mode, kept for forms that stored it.
enum class TgxEditMode : std::uint8_t { emNone, emEdit, emEditInsert, emBrowse };
using enum TgxEditMode;

// Which of the view's scroll positions a cell brought into view takes.
enum class TgxViewPosition : std::uint8_t { vpNone, vpLeft, vpRight, vpTop, vpBottom, vpBoth };
using enum TgxViewPosition;
enum class TgxChangeTopLeft : std::uint8_t { ctlNone, ctlLeft, ctlTop, ctlBoth };
using enum TgxChangeTopLeft;

} // namespace grid
