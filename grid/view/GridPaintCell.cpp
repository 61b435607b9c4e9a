// Painting one cell: its draw data (resolved attributes, rectangles,
// button), the application's paint and draw-info hooks, its value from
// the current cell's buffer, the grid's store or the application, and the
// text, check box or picture drawn in the selection or focus colours.
#include "grid/foundation/GridCommonCheckBox.h"
#include "grid/foundation/GridCommonControls.h"
#include "grid/foundation/GridCommonVariant.h"
#include "grid/foundation/ImageList.h"
#include "grid/foundation/ImageListDraw.h"
#include "grid/foundation/TextLayoutPaint.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/CellButtons.h"
#include "grid/model/CheckBox.h"
#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/InplaceControl.h"
#include "grid/model/DrawData.h"
#include "grid/view/GridResources.h"
#include "platform/gui/Blit.h"
#include "platform/gui/GdiLines.h"

#include <algorithm>

namespace grid {

namespace {

bool RectEmpty(const TRect& R) {
    return R.Right <= R.Left || R.Bottom <= R.Top;
}

// The raised inner edge a raised cell shows on its top and left.
void RaisedTopLeft(TCanvas* Canvas, TRect R) {
    DrawEdge(Canvas, R, BDR_RAISEDINNER, BF_TOPLEFT);
}

} // namespace

// ---- draw data ---------------------------------------------------------------------------------

void TgxBaseGrid::GetDrawData(int DisplayCol, int DisplayRow, TgxDrawData& Data, bool Full) {
    Data = TgxDrawData{};
    Data.DisplayCol = DisplayCol;
    Data.DisplayRow = DisplayRow;
    Data.DataCol = DisplayCol == 0 ? 0 : GetDataCol(DisplayCol);
    Data.DataRow = DisplayRow == 0 ? 0 : GetDataRow(DisplayRow);
    // The insertion row is the data row still to come: no level of its own
    // but the column's and the grid's, not the heading's looks.
    if (Data.DataRow < 0 && HoldsInsertRow(DisplayRow))
        Data.DataRow = GetGridRowCount() + 1;
    Data.EditControl = false;
    Data.Is3D = GiveCell3D(Data.DataCol, Data.DataRow);
    Data.ControlType = GiveCellControlType(Data.DataCol, Data.DataRow);
    const bool Heading = Data.DataCol == 0 || Data.DataRow == 0;
    if (Full) {
        Data.HorzAlignment = GiveCellHorzAlignment(Data.DataCol, Data.DataRow);
        Data.VertAlignment = GiveCellVertAlignment(Data.DataCol, Data.DataRow);
        Data.Color = GiveCellColor(Data.DataCol, Data.DataRow, Data.Is3D);
        Data.Font = GiveCellFont(Data.DataCol, Data.DataRow);
        Data.WordWrap = GiveCellWordWrap(Data.DataCol, Data.DataRow);
        Data.TransparentColor = clDefault;
    }
    Data.InnerRect = CellRect(DisplayCol, DisplayRow);
    if (RectEmpty(Data.InnerRect)) {
        Data.TextRect = Data.ButtonRect = Data.InnerRect;
        Data.ButtonType = GiveCellButton(Data.DataCol, Data.DataRow, Data.DropDownStyle);
        Data.HasButton = Data.ButtonType != btNone;
        return;
    }
    if (Full && !Heading && Data.DataRow <= GetGridRowCount()) FetchDrawInfo(Data);
    const int Left = Data.InnerRect.Left;
    const int Top = Data.InnerRect.Top;
    Data.InnerRect = Rect(Left, Top, Left + ColWidths(DisplayCol) - FVertLineWidth,
                          Top + RowHeights(DisplayRow) - FHorzLineWidth);
    Data.OuterRect = Rect(Left, Top, Left + ColWidths(DisplayCol), Top + RowHeights(DisplayRow));
    Data.TextRect = Data.InnerRect;
    SetDrawRect(Data);
}

void TgxBaseGrid::SetDrawRect(TgxDrawData& Data) {
    if (Data.Is3D && FVertLineWidth == 0) --Data.TextRect.Right;
    if (Data.Is3D && FHorzLineWidth == 0) --Data.TextRect.Bottom;
    if (Data.DataCol == 0 || Data.DataRow == 0) {
        Data.HasButton = false;
        Data.ButtonRect = TRect{};
        if (Data.DisplayRow == 0 && Data.DisplayCol > 0) GetHeadDrawData(Data.DisplayCol, Data);
        return;
    }
    Data.ButtonType = GiveCellButton(Data.DataCol, Data.DataRow, Data.DropDownStyle);
    Data.HasButton = Data.ButtonType != btNone;
    if (!Data.HasButton) return;
    TgxCustomButton* Button = GridCellButton(Data.DisplayCol, Data.ButtonType);
    const int Width = Button ? Button->FullWidth() : FDefaultButtonWidth + 2 * FButtonEdgeWidth;
    const int OldRight = Data.TextRect.Right;
    Data.TextRect.Right -= Width;
    Data.ButtonRect = Rect(std::max(Data.TextRect.Left + 3, OldRight - Width), Data.TextRect.Top,
                           OldRight, Data.TextRect.Bottom);
}

void TgxBaseGrid::SetDrawFont(TgxDrawData& Data) {
    if (!FDrawFont) FDrawFont = std::make_unique<TFont>();
    if (Data.Font != FDrawFont.get()) FDrawFont->Assign(Data.Font ? Data.Font : Font());
    Data.Font = FDrawFont.get();
}

void TgxBaseGrid::FetchDrawInfo(TgxDrawData& Data) {
    if (!ActivateDoGetDrawInfo()) return;
    SetDrawFont(Data);
    TgxDrawInfo Info;
    Info.Font = Data.Font;
    Info.Color = Data.Color;
    Info.HorzAlignment = Data.HorzAlignment;
    Info.VertAlignment = Data.VertAlignment;
    Info.WordWrap = Data.WordWrap;
    Info.TransparentColor = Data.TransparentColor;
    GetDrawInfo(Data.DataCol, Data.DataRow, Info);
    Data.Font = Info.Font ? Info.Font : Data.Font;
    Data.Color = Info.Color;
    Data.HorzAlignment = Info.HorzAlignment == htaDefault ? htaLeft : Info.HorzAlignment;
    Data.VertAlignment = Info.VertAlignment;
    Data.WordWrap = Info.WordWrap;
    Data.TransparentColor = Info.TransparentColor;
}

bool TgxBaseGrid::PaintCell(TgxDrawData&, const TRect&, bool) {
    return false;
}

void TgxBaseGrid::CellLoadedEvent(int, int, TgxControlType, Variant&) {}

bool TgxBaseGrid::ActivateDoGetDrawInfo() {
    return false;
}

void TgxBaseGrid::GetDrawInfo(int, int, TgxDrawInfo&) {}

void TgxBaseGrid::UsePaintFont(TFont* Value) {
    // Setting a font makes the canvas build its font anew: skip a repeat.
    // The scratch font changes between cells, so it is always set.
    if (Value == FLastPaintFont && Value != FDrawFont.get()) return;
    Canvas()->SetFont(Value);
    FLastPaintFont = Value;
}

// ---- one cell --------------------------------------------------------------------------------

void TgxBaseGrid::DoDrawCell(int DisplayCol, int DisplayRow, bool Selected, const TRect& Rect) {
    const int DataCol = DisplayCol == 0 ? 0 : GetDataCol(DisplayCol);
    const int DataRow = DisplayRow == 0 ? 0 : GetDataRow(DisplayRow);
    if (DataCol < 0 || DataCol >= FCols->Count() || !FCols->Item(DataCol)->Visible()) return;
    if (DataRow > 0 && !IsRowVisible(DataRow)) return;
    TgxDrawData Data;
    GetDrawData(DisplayCol, DisplayRow, Data, true);
    if (RectEmpty(Data.InnerRect)) return;
    // The editor covers the current cell: what the application's draw-info
    // handler gives the cell must show in it too.
    if (DisplayCol == Col() && DisplayRow == Row() && FGridControl &&
        FGridControl->GetVisible() && ActivateDoGetDrawInfo())
        UpdateControlProperties(Data);
    (void)Rect;
    const bool Fixed = DisplayCol == 0 || DisplayRow == 0;
    if (Fixed) DrawFixedCellUnselected(Data);
    const bool Cancelled = PaintCell(Data, Data.InnerRect, Selected);
    FLastPaintFont = nullptr; // the hook may have set the canvas font
    if (Fixed) {
        if (!Cancelled) DrawHeadingCell(Data);
        DrawFixedCellFrame(Data.OuterRect, FHeading3D ? clGray : clBlack);
        // The heading of a selected column and the row bar of a selected row
        // show inverted, also with a selection colour.
        if (Selected) {
            const TRect& R = Data.OuterRect;
            PatBlt(Canvas(), R.Left, R.Top, std::min(R.Right, ClientWidth()) - R.Left,
                   std::min(R.Bottom, ClientHeight()) - R.Top, DSTINVERT);
            if (DisplayCol == 0 && DisplayRow > 0 && DisplayRow == Row() &&
                (!IsInsertRow(DisplayRow) || !CanDrawInsert()))
                DrawCurrentSelected(DisplayRow);
        }
        return;
    }
    if (!Cancelled) {
        const bool InsertRow = FInsertionRowShown && DisplayRow == RowCount() - 1;
        if (Data.ControlType == ctNone || InsertRow)
            DrawEmpty(Data, Selected);
        else
            CellLoaded(Data, Selected);
    } else {
        // The application painted the text area; the button's room is still ours.
        FillButtonPart(Data, Selected);
    }
    DrawCellFocusRect(DisplayCol, DisplayRow);
    // Without a selection colour a selected cell shows inverted, lines and all.
    if (Selected && !SelectionColorEnabled()) {
        const TRect& R = Data.OuterRect;
        PatBlt(Canvas(), R.Left, R.Top, std::min(R.Right, ClientWidth()) - R.Left,
               std::min(R.Bottom, ClientHeight()) - R.Top, DSTINVERT);
    }
}

void TgxBaseGrid::CellLoaded(TgxDrawData& Data, bool Selected) {
    Variant Value;
    TgxCurrentCell* Current = FCurrentCell.get();
    if (Current && Current->ValueSet(Data.DataCol, Data.DataRow)) {
        Value = Current->BufferValue();
    } else {
        Value = GetDataValue(Data.DataCol, Data.DataRow, Data.ControlType);
        const bool OldLoading = FInCellLoaded;
        FInCellLoaded = true;
        try {
            CellLoadedEvent(Data.DataCol, Data.DataRow, Data.ControlType, Value);
        } catch (...) {
            FInCellLoaded = OldLoading;
            throw;
        }
        FInCellLoaded = OldLoading;
        // The handler may have drawn or painted elsewhere meanwhile.
        RestoreHandle();
    }
    if (Value.IsEmpty()) {
        // What an empty cell of the type shows: no text, the grayed box.
        switch (Data.ControlType) {
        case ctText:
            Value = AnsiString();
            break;
        case ctCheck:
            Value = 2;
            break;
        case ctPicture:
            Value = 0;
            break;
        default:
            DrawEmpty(Data, Selected);
            return;
        }
    }
    AssignCellValue(Value, Data, Selected);
}

void TgxBaseGrid::AssignCellValue(const Variant& Value, TgxDrawData& Data, bool Selected) {
    RestoreHandle();
    switch (Data.ControlType) {
    case ctCheck:
        DrawCheck(GetCheckBoxValue(Value), Data, Selected);
        break;
    case ctPicture: {
        if (Value.Type() != varString) {
            // Only a bitmap reference draws; any other value leaves the cell
            // empty rather than failing the paint.
            DrawPicture(VariantToBitmap(Value), Data, Selected);
            break;
        }
        // A text names a picture of the grid's image list; a name the list
        // does not know leaves the cell empty.
        TgxImageItem* Item = ImageListPicture(Value);
        if (Item && Data.TransparentColor == clDefault) {
            const TColor Own = PictureTransparentColor(nullptr, Item);
            if (Own != clNone) Data.TransparentColor = Own;
        }
        DrawPicture(Item ? Item->GetBitmap() : nullptr, Data, Selected);
        break;
    }
    default:
        DrawCellText(Value.IsNull() ? AnsiString() : Value.AsString(), Data, Selected);
        break;
    }
}

TgxImageItem* TgxBaseGrid::ImageListPicture(const Variant& Value) const {
    TgxImageListComponent* List = ImageList();
    if (!List || Value.IsEmpty() || Value.IsNull() || !List->IndexExists(Value)) return nullptr;
    return List->GetImage(Value);
}

TColor TgxBaseGrid::CellBackground(const TgxDrawData& Data, bool Selected, bool ForPicture) const {
    if (ForPicture) return Data.Color;
    if (Selected && SelectionColorEnabled()) return FSelectionColor;
    if (!Selected && FFocusColor != clNone && DisplayFocusRect(Data.DisplayCol, Data.DisplayRow))
        return FFocusColor;
    return Data.Color;
}

namespace {

void SetBrush(TCanvas* Canvas, TColor Color) {
    Canvas->Brush()->SetStyle(bsSolid);
    if (Canvas->Brush()->Color() != Color) Canvas->Brush()->SetColor(Color);
}

// Fills part of a cell in its background. A picture cell keeps its own
// colour under a selection or focus colour, which goes over it as the
// checker its picture would get, so the cell looks alike with or without one.
void FillCellRect(TgxBaseGrid& Grid, TCanvas* Canvas, const TgxDrawData& Data, const TRect& R,
                  bool Selected) {
    const TColor Back = Grid.CellBackground(Data, Selected);
    if (Data.ControlType != ctPicture) {
        SetBrush(Canvas, Back);
        Canvas->FillRect(R);
        return;
    }
    SetBrush(Canvas, Data.Color);
    Canvas->FillRect(R);
    if (Back != Data.Color) Grid.DrawPictureMask(R, Back);
}

} // namespace

void TgxBaseGrid::DrawEmpty(TgxDrawData& Data, bool Selected) {
    TCanvas* C = Canvas();
    if (Data.TextRect.Right >= Data.TextRect.Left) {
        FillCellRect(*this, C, Data, Data.TextRect, Selected);
        if (Data.Is3D) RaisedTopLeft(C, Data.TextRect);
    }
    SetBrush(C, CellBackground(Data, Selected));
    FillButtonPart(Data, Selected);
    DrawButtonInCell(Data, Selected);
}

void TgxBaseGrid::DrawCellText(const AnsiString& Text, TgxDrawData& Data, bool Selected) {
    TCanvas* C = Canvas();
    const TColor Back = CellBackground(Data, Selected);
    TColor FontColor = clNone;
    if (Selected && SelectionColorEnabled() && FSelectionFontColor != clNone)
        FontColor = FSelectionFontColor;
    else if (!Selected && FFocusFontColor != clNone &&
             DisplayFocusRect(Data.DisplayCol, Data.DisplayRow))
        FontColor = FFocusFontColor;
    if (FontColor != clNone) {
        SetDrawFont(Data);
        Data.Font->SetColor(FontColor);
    }
    SetBrush(C, Back);
    if (Data.TextRect.Left + 3 < Data.TextRect.Right) {
        UsePaintFont(Data.Font ? Data.Font : Font());
        DisplayText(C, Text, RowHeights(Data.DisplayRow) - FHorzLineWidth, Data.TextRect,
                    Data.TextRect.Left + 3, Data.TextRect.Top,
                    HorzAlignmentToAlignment(Data.HorzAlignment), Data.VertAlignment,
                    Data.WordWrap != uiOff, 0);
        if (Data.Is3D) RaisedTopLeft(C, Data.TextRect);
    } else {
        // Too narrow for text: only the strip where a range selection starts.
        C->FillRect(Rect(Data.InnerRect.Left, Data.InnerRect.Top,
                         std::min(Data.InnerRect.Left + 3, Data.InnerRect.Right),
                         Data.InnerRect.Bottom));
    }
    FillButtonPart(Data, Selected);
    if (FGridMode != gmListBox && (CanEditCell(Data.DataCol, Data.DataRow) || FAlwaysDetectButton))
        DrawButtonInCell(Data, Selected);
}

void TgxBaseGrid::DrawCheck(const Variant& Value, TgxDrawData& Data, bool Selected) {
    TCanvas* C = Canvas();
    SetBrush(C, CellBackground(Data, Selected));
    if (Data.TextRect.Left + 3 < Data.TextRect.Right) {
        C->FillRect(Data.TextRect);
        const TCheckBoxState State =
            VariantToCheckBox(Value, GiveCellCheckBoxValues(Data.DataCol, Data.DataRow));
        TgxCustomGridControl* Holder = GridCellControl(ctCheck);
        auto* Box = Holder ? dynamic_cast<TgxGridCheckBox*>(Holder->Control()) : nullptr;
        if (Box) {
            TCopyMode Mode = cmSrcCopy;
            TRect Source;
            // A box that is not being edited never shows pressed.
            TBitmap* Bitmap = Box->GetCheckBoxBitmap(State, Mode, false, Source);
            if (Bitmap) {
                BmpHandleNeeded(Bitmap);
                const TRect Cell = Data.TextRect;
                const int W = Source.Right - Source.Left;
                const int H = Source.Bottom - Source.Top;
                const int Width = Cell.Right - Cell.Left;
                const int Height = Cell.Bottom - Cell.Top;
                const int Left = std::max(Cell.Left + 3, Cell.Left + 3 + (Width - 3 - W) / 2 - 1);
                const int Top =
                    std::max(Cell.Top, Cell.Top + (Height - H) / 2 + (Data.Is3D ? 1 : 0));
                const TRect Dest =
                    Rect(Left, Top, std::min(Cell.Right, Left + W), std::min(Cell.Bottom, Top + H));
                const TRect From =
                    Rect(Source.Left, Source.Top, Source.Left + (Dest.Right - Dest.Left),
                         Source.Top + (Dest.Bottom - Dest.Top));
                C->SetCopyMode(Mode);
                C->CopyRect(Dest, Bitmap->Canvas(), From);
                C->SetCopyMode(cmSrcCopy);
            }
        }
        if (Data.Is3D) RaisedTopLeft(C, Data.TextRect);
    }
    FillButtonPart(Data, Selected);
    DrawButtonInCell(Data, Selected);
}

TColor TgxBaseGrid::PictureTransparentColor(TBitmap* Bitmap, TgxImageItem* Item) {
    if (Item) return Item->GetTransparent() ? Item->GetTransparentColor() : clNone;
    if (Bitmap && Bitmap->Transparent()) SetTransparentColor(Bitmap->TransparentColor());
    return clNone;
}

void TgxBaseGrid::DrawPicture(TBitmap* Bitmap, TgxDrawData& Data, bool Selected) {
    if (!Bitmap) {
        DrawEmpty(Data, Selected);
        return;
    }
    BmpHandleNeeded(Bitmap);
    TCanvas* C = Canvas();
    SetBrush(C, Data.Is3D ? clBtnFace : Data.Color);
    if (Data.TextRect.Left + 3 < Data.TextRect.Right) {
        auto Option = [&](int Index, bool GridValue) {
            const TgxDrawOption Own = GiveCellPicture(Data.DataCol, Data.DataRow, Index);
            return Own == dopDefault ? GridValue : Own == dopOn;
        };
        const bool Stretch = Option(1, FStretchPicture);
        const bool Shrink = Option(2, FShrinkPicture);
        const bool Center = Option(3, FCenterPicture);
        const bool KeepAspectRatio = Option(4, FKeepAspectRatio);
        TColor Transparent = Data.TransparentColor;
        if (Transparent == clDefault) Transparent = PictureTransparentColor(Bitmap, nullptr);
        if (Transparent == clNone) Transparent = FTransparentColor;
        gxStretchDraw(C, Data.TextRect, Bitmap, Transparent, Center, Stretch, Shrink,
                      KeepAspectRatio);
        if (Selected && SelectionColorEnabled())
            DrawPictureMask(Data.TextRect, FSelectionColor);
        else if (!Selected && FFocusColor != clNone &&
                 DisplayFocusRect(Data.DisplayCol, Data.DisplayRow))
            DrawPictureMask(Data.TextRect, FFocusColor);
        if (Data.Is3D) RaisedTopLeft(C, Data.TextRect);
    } else {
        FillCellRect(*this, C, Data,
                     Rect(Data.InnerRect.Left, Data.InnerRect.Top,
                          std::min(Data.InnerRect.Left + 3, Data.InnerRect.Right),
                          Data.InnerRect.Bottom),
                     Selected);
    }
    FillButtonPart(Data, Selected);
    DrawButtonInCell(Data, Selected);
}

void TgxBaseGrid::FillButtonPart(TgxDrawData& Data, bool Selected) {
    if (!Data.HasButton || RectEmpty(Data.ButtonRect)) return;
    TCanvas* C = Canvas();
    FillCellRect(*this, C, Data, Data.ButtonRect, Selected);
    SetBrush(C, CellBackground(Data, Selected));
    if (Data.Is3D && !(Data.EditControl && Data.ControlType == ctText)) {
        TRect Edge = Data.ButtonRect;
        DrawEdge(C, Edge, BDR_RAISEDINNER, BF_TOP);
    }
}

} // namespace grid
