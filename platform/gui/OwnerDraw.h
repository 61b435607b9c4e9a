#pragma once
// Owner-drawn controls: the record CN_DRAWITEM carries, and the painted
// bitmap button a control derives from when it draws its whole face itself.
// Such a button paints into a backing image like any custom control; its
// Paint hands the image's device context to the control in a draw-item
// record, the way the platform asks an owner-drawn button to draw itself.
#include "platform/gui/Buttons.h"
#include "platform/gui/CustomControl.h"
#include "platform/gui/Messages.h"

// Owner-drawn control kinds.
inline constexpr unsigned ODT_BUTTON = 4;

// What to draw.
inline constexpr unsigned ODA_DRAWENTIRE = 0x0001;
inline constexpr unsigned ODA_SELECT = 0x0002;
inline constexpr unsigned ODA_FOCUS = 0x0004;

// The item's state.
inline constexpr unsigned ODS_SELECTED = 0x0001;
inline constexpr unsigned ODS_GRAYED = 0x0002;
inline constexpr unsigned ODS_DISABLED = 0x0004;
inline constexpr unsigned ODS_CHECKED = 0x0008;
inline constexpr unsigned ODS_FOCUS = 0x0010;
inline constexpr unsigned ODS_DEFAULT = 0x0020;

struct TDrawItemStruct {
    unsigned CtlType = 0;
    unsigned CtlID = 0;
    unsigned itemID = 0;
    unsigned itemAction = 0;
    unsigned itemState = 0;
    HWND hwndItem = nullptr;
    HDC hDC = nullptr;
    TRect rcItem;
    std::uintptr_t itemData = 0;
};

// CN_DRAWITEM: the draw-item record in LParam.
class TWMDrawItem : public TMessageView {
public:
    using TMessageView::TMessageView;
    TDrawItemStruct* DrawItemStruct() const {
        return reinterpret_cast<TDrawItemStruct*>(Message.LParam);
    }
};

extern template class TPaintedControl<TBitBtn>;
