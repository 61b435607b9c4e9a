#include "platform/gui/Scaling.h"

#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"

#include <cmath>

namespace {

int MulDiv(int A, int M, int D) {
    return static_cast<int>(std::lround(static_cast<double>(A) * M / D));
}

void ScaleChildren(TControl* Control, int M, int D) {
    if (auto* Win = dynamic_cast<TWinControl*>(Control))
        for (int I = 0; I < Win->ControlCount(); ++I)
            ScaleControl(Win->Controls(I), M, D);
}

} // namespace

void ScaleControl(TControl* Control, int M, int D) {
    if (!Control || M == D || D == 0) return;
    Control->SetBounds(MulDiv(Control->Left(), M, D), MulDiv(Control->Top(), M, D),
                       MulDiv(Control->Width(), M, D), MulDiv(Control->Height(), M, D));
    if (!Control->ParentFont()) Control->Font()->SetSize(MulDiv(Control->Font()->Size(), M, D));
    ScaleChildren(Control, M, D);
    Control->Perform(CM_CHANGESCALE, static_cast<WPARAM>(M), static_cast<LPARAM>(D));
}

void ScaleForm(TCustomForm* Form, int M, int D) {
    if (!Form || M == D || D == 0) return;
    Form->SetClientWidth(MulDiv(Form->ClientWidth(), M, D));
    Form->SetClientHeight(MulDiv(Form->ClientHeight(), M, D));
    Form->Font()->SetSize(MulDiv(Form->Font()->Size(), M, D));
    ScaleChildren(Form, M, D);
    Form->Perform(CM_CHANGESCALE, static_cast<WPARAM>(M), static_cast<LPARAM>(D));
}

void ScreenPixelsPerInchChanged(int OldPixelsPerInch, int NewPixelsPerInch) {
    if (!Screen || OldPixelsPerInch <= 0 || NewPixelsPerInch <= 0) return;
    for (int I = 0; I < Screen->FormCount(); ++I)
        ScaleForm(Screen->Forms(I), NewPixelsPerInch, OldPixelsPerInch);
}
