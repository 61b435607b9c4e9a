#include "formstore/PlacementFormat.h"

#include "formstore/PersistUtils.h"
#include "formstore/StorageDispatch.h"

#include "platform/gui/Forms.h"
#include "platform/registry/IniFiles.h"
#include "platform/registry/RegIniFile.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Format.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace formstore {

namespace {

const TCharSet PositionDelims{' ', ','};

void WritePositionString(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident,
                         const AnsiString& Value) {
    IniWriteString(IniFile, Section, Ident + ScreenSizeSuffix(), Value);
    IniWriteString(IniFile, Section, Ident, Value);
}

AnsiString ReadPositionString(TObject* IniFile, const AnsiString& Section,
                              const AnsiString& Ident) {
    AnsiString Result = IniReadString(IniFile, Section, Ident + ScreenSizeSuffix(), AnsiString());
    if (Result.empty()) Result = IniReadString(IniFile, Section, Ident, AnsiString());
    return Result;
}

int PositionWord(const AnsiString& Text, int N, int Default) {
    return StrToIntDef(ExtractWord(N, Text, PositionDelims), Default);
}

// The positions a stored form accepts for its Left and Top.
constexpr std::int64_t MaxExtent = 32767;

// The size of the box around every monitor.
TSize DesktopSize() {
    TRect Box = Screen->WorkAreaRect();
    for (const TRect& M : Screen->MonitorRects())
        Box = Rect(std::min(Box.Left, M.Left), std::min(Box.Top, M.Top),
                   std::max(Box.Right, M.Right), std::max(Box.Bottom, M.Bottom));
    return {Box.Width(), Box.Height()};
}

// A damaged stored rectangle would have the window take as much memory as
// its size asks for, or leave it without width or height, and the program
// reads it at every start: a position past what a stored form accepts, or
// a size that is not positive or is past the desktop, counts as no stored
// rectangle.
std::optional<TRect> NormalRectOf(const TCustomForm* Form, const AnsiString& Text) {
    if (Text.empty()) return std::nullopt;
    const TRect R = Rect(PositionWord(Text, 1, Form->Left()), PositionWord(Text, 2, Form->Top()),
                         PositionWord(Text, 3, Form->Left() + Form->Width()),
                         PositionWord(Text, 4, Form->Top() + Form->Height()));
    // In 64 bits: the stored ends may be any two ints.
    const std::int64_t Width = std::int64_t{R.Right} - R.Left;
    const std::int64_t Height = std::int64_t{R.Bottom} - R.Top;
    const TSize Desktop = DesktopSize();
    if (std::abs(std::int64_t{R.Left}) > MaxExtent || std::abs(std::int64_t{R.Top}) > MaxExtent ||
        Width <= 0 || Height <= 0 || Width > std::max(Desktop.cx, 1) ||
        Height > std::max(Desktop.cy, 1))
        return std::nullopt;
    return R;
}

// The normal rectangle stored for this screen size, else the plain one; a
// value outside the accepted extents counts as missing.
std::optional<TRect> ReadNormalRect(const TCustomForm* Form, TObject* IniFile,
                                    const AnsiString& Section) {
    if (auto R = NormalRectOf(
            Form, IniReadString(IniFile, Section, "NormPos" + ScreenSizeSuffix(), AnsiString())))
        return R;
    return NormalRectOf(Form, IniReadString(IniFile, Section, "NormPos", AnsiString()));
}

bool IsMainOrNoMainForm(const TCustomForm* Form) {
    return Application->MainForm() == Form || Application->MainForm() == nullptr;
}

TWindowState StateOfShowCmd(int ShowCmd, TWindowState Current) {
    switch (ShowCmd) {
    case SW_SHOWNORMAL:
    case SW_SHOW:
    case SW_RESTORE:
        return wsNormal;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        return wsMinimized;
    case SW_SHOWMAXIMIZED:
        return wsMaximized;
    default:
        return Current;
    }
}

void ReadPosition(TCustomForm* Form, TObject* IniFile, const AnsiString& Section,
                  TWindowPlacement& Placement) {
    bool Found = false;
    Placement.flags = static_cast<unsigned>(
        IniReadInteger(IniFile, Section, "Flags", static_cast<int>(Placement.flags)));
    const AnsiString MinMax = ReadPositionString(IniFile, Section, "MinMaxPos");
    if (!MinMax.empty()) {
        Found = true;
        Placement.ptMinPosition = Point(PositionWord(MinMax, 1, 0), PositionWord(MinMax, 2, 0));
        Placement.ptMaxPosition = Point(PositionWord(MinMax, 3, 0), PositionWord(MinMax, 4, 0));
    }
    if (const auto Norm = ReadNormalRect(Form, IniFile, Section)) {
        Found = true;
        Placement.rcNormalPosition = *Norm;
    }
    // A placement from a screen of another pixel density would put the
    // window in the wrong place and size: drop all of it.
    const int PixelsPerInch = Screen->PixelsPerInch();
    if (IniReadInteger(IniFile, Section, "PixelsPerInch", PixelsPerInch) != PixelsPerInch)
        Found = false;
    if (!Found) return;
    TRect& R = Placement.rcNormalPosition;
    // A form that cannot be resized keeps its size and takes the position.
    if (Form->BorderStyle() != bsSizeable && Form->BorderStyle() != bsSizeToolWin)
        R = Rect(R.Left, R.Top, R.Left + Form->Width(), R.Top + Form->Height());
    if (R.Right <= R.Left) return;
    R = BringOntoWorkArea(R, Screen->WorkAreaRect(), Screen->MonitorRects());
    const bool Designing = Form->ComponentState().Contains(csDesigning);
    if ((Form->Position() == poScreenCenter || Form->Position() == poDesktopCenter) && !Designing)
        Form->SetPosition(poDesigned);
    SetWindowPlacement(Form, &Placement);
}

// False when the state part ends by minimising the application.
bool ReadState(TCustomForm* Form, TObject* IniFile, const AnsiString& Section) {
    TWindowState State = wsNormal;
    const bool MainOrNone = IsMainOrNoMainForm(Form);
    if (MainOrNone && (Form->FormStyle() == fsMDIForm ||
                       (Form->FormStyle() == fsNormal && Form->Position() == poDefault)))
        State = wsMaximized;
    State = StateOfShowCmd(IniReadInteger(IniFile, Section, "ShowCmd", SW_HIDE), State);
    if (State == wsMinimized && MainOrNone) {
        // The application, not the form, ends up minimised: the form keeps
        // the normal state to come back to.
        Form->SetWindowStateField(wsNormal);
        if (Application->MainForm() == Form)
            PostMessage(Form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        else
            Application->Minimize();
        return false;
    }
    if (Form->FormStyle() == fsMDIChild || Form->FormStyle() == fsMDIForm)
        Form->SetWindowStateField(State);
    else
        Form->SetWindowState(State);
    return true;
}

} // namespace

AnsiString ScreenSizeSuffix() {
    return Format("(%dx%d)", Screen->Width(), Screen->Height());
}

TRect BringOntoWorkArea(const TRect& R, const TRect& WorkArea, const std::vector<TRect>& Monitors) {
    if (WorkArea.Width() <= 0 || WorkArea.Height() <= 0) return R;
    const auto Overlaps = [&R](const TRect& Area) {
        return R.Left < Area.Right && R.Right > Area.Left && R.Top < Area.Bottom &&
               R.Bottom > Area.Top;
    };
    if (Overlaps(WorkArea) || std::any_of(Monitors.begin(), Monitors.end(), Overlaps)) return R;
    const int Width = std::min(R.Width(), WorkArea.Width());
    const int Height = std::min(R.Height(), WorkArea.Height());
    const int Left = std::clamp(R.Left, WorkArea.Left, WorkArea.Right - Width);
    const int Top = std::clamp(R.Top, WorkArea.Top, WorkArea.Bottom - Height);
    return Rect(Left, Top, Left + Width, Top + Height);
}

void WritePlacementValues(TCustomForm* Form, TObject* IniFile, const AnsiString& Section) {
    TWindowPlacement Placement;
    GetWindowPlacement(Form, &Placement);
    if (Application->MainForm() == Form && Application->Minimized())
        Placement.showCmd = SW_SHOWMINIMIZED;
    if (Form->FormStyle() == fsMDIChild && Form->WindowState() == wsMinimized)
        Placement.flags |= WPF_SETMINPOSITION;
    IniWriteInteger(IniFile, Section, "Flags", static_cast<int>(Placement.flags));
    IniWriteInteger(IniFile, Section, "ShowCmd", static_cast<int>(Placement.showCmd));
    IniWriteInteger(IniFile, Section, "PixelsPerInch", Screen->PixelsPerInch());
    WritePositionString(IniFile, Section, "MinMaxPos",
                        Format("%d,%d,%d,%d", Placement.ptMinPosition.X, Placement.ptMinPosition.Y,
                               Placement.ptMaxPosition.X, Placement.ptMaxPosition.Y));
    const TRect& R = Placement.rcNormalPosition;
    WritePositionString(IniFile, Section, "NormPos",
                        Format("%d,%d,%d,%d", R.Left, R.Top, R.Right, R.Bottom));
}

void ReadPlacementValues(TCustomForm* Form, TObject* IniFile, const AnsiString& Section,
                         bool LoadState, bool LoadPosition) {
    if (!LoadState && !LoadPosition) return;
    TWindowPlacement Placement;
    GetWindowPlacement(Form, &Placement);
    // Applying the placement must not show a hidden window.
    if (!IsWindowVisible(Form)) Placement.showCmd = SW_HIDE;
    if (LoadPosition) ReadPosition(Form, IniFile, Section, Placement);
    if (LoadState && !ReadState(Form, IniFile, Section)) return;
    Form->Update();
}

void WriteFormPlacement(TCustomForm* Form, TCustomIniFile* IniFile, const AnsiString& Section) {
    WritePlacementValues(Form, IniFile, Section);
}

void WriteFormPlacementReg(TCustomForm* Form, TRegIniFile* IniFile, const AnsiString& Section) {
    WritePlacementValues(Form, IniFile, Section);
}

void ReadFormPlacement(TCustomForm* Form, TCustomIniFile* IniFile, const AnsiString& Section,
                       bool LoadState, bool LoadPosition) {
    ReadPlacementValues(Form, IniFile, Section, LoadState, LoadPosition);
}

void ReadFormPlacementReg(TCustomForm* Form, TRegIniFile* IniFile, const AnsiString& Section,
                          bool LoadState, bool LoadPosition) {
    ReadPlacementValues(Form, IniFile, Section, LoadState, LoadPosition);
}

namespace fsapputils {

void SaveFormPlacement(TCustomForm* Form, const AnsiString& IniFileName, bool UseRegistry) {
    if (UseRegistry) {
        TRegIniFile IniFile(IniFileName);
        WriteFormPlacementReg(Form, &IniFile, Form->ClassName());
    } else {
        TIniFile IniFile(IniFileName);
        WriteFormPlacement(Form, &IniFile, Form->ClassName());
    }
}

void RestoreFormPlacement(TCustomForm* Form, const AnsiString& IniFileName, bool UseRegistry) {
    if (UseRegistry) {
        TRegIniFile IniFile(IniFileName, KEY_READ);
        ReadFormPlacementReg(Form, &IniFile, Form->ClassName(), true, true);
    } else {
        TIniFile IniFile(IniFileName);
        ReadFormPlacement(Form, &IniFile, Form->ClassName(), true, true);
    }
}

} // namespace fsapputils

} // namespace formstore
