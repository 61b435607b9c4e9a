#include "platform/gui/StdCtrls.h"

#include "platform/gui/Bridge.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/Exceptions.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

namespace {

// Code changing a widget's value: the widget's change signals, which stand
// for the user's changes, are not passed on meanwhile.
class TSettingGuard {
public:
    explicit TSettingGuard(bool& Flag) : FFlag(Flag), FOld(Flag) { Flag = true; }
    ~TSettingGuard() { FFlag = FOld; }
    TSettingGuard(const TSettingGuard&) = delete;
    TSettingGuard& operator=(const TSettingGuard&) = delete;

private:
    bool& FFlag;
    bool FOld;
};

// One flag for the whole layer is enough: code runs on one thread, and a
// value set in code never waits for the user.
bool GSettingInCode = false;

AnsiString StripAccelerators(const AnsiString& S) {
    AnsiString Result;
    for (std::size_t I = 0; I < S.size(); ++I) {
        if (S[I] == '&') {
            if (I + 1 < S.size() && S[I + 1] == '&') {
                Result += '&';
                ++I;
            }
            continue;
        }
        Result += S[I];
    }
    return Result;
}

} // namespace

// ---- TCustomLabel ---------------------------------------------------------------------

TCustomLabel::TCustomLabel(TComponent* AOwner) : TControl(AOwner) {
    FWidth = 65;
    FHeight = 17;
    ControlStyle << csReplicatable;
}

QWidget* TCustomLabel::CreateWidget() {
    return new QLabel();
}

void TCustomLabel::WidgetCreated() {
    UpdateLabel();
}

void TCustomLabel::UpdateLabel() {
    if (!WidgetAllocated()) return;
    auto* L = static_cast<QLabel*>(Widget());
    L->setTextFormat(Qt::PlainText);
    L->setText(ToQString(FShowAccelChar ? StripAccelerators(FText) : FText));
    Qt::Alignment A = FAlignment == taCenter         ? Qt::AlignHCenter
                      : FAlignment == taRightJustify ? Qt::AlignRight
                                                     : Qt::AlignLeft;
    A |= FLayout == tlCenter   ? Qt::AlignVCenter
         : FLayout == tlBottom ? Qt::AlignBottom
                               : Qt::AlignTop;
    L->setAlignment(A);
    L->setWordWrap(FWordWrap);
}

void TCustomLabel::AdjustBounds() {
    if (!FAutoSize || ComponentState().Contains(csLoading)) return;
    EnsureQtApplication();
    const QFontMetrics M(ToQFont(*Font()));
    const QString Shown = ToQString(FShowAccelChar ? StripAccelerators(FText) : FText);
    int W = FWidth;
    int H;
    if (FWordWrap) {
        H = M.boundingRect(QRect(0, 0, std::max(W, 1), 100000), Qt::TextWordWrap, Shown).height();
    } else {
        W = 0;
        for (const QString& Line : Shown.split(QLatin1Char('\n')))
            W = std::max(W, M.horizontalAdvance(Line));
        H = M.height() *
            static_cast<int>(std::max<qsizetype>(Shown.count(QLatin1Char('\n')) + 1, 1));
    }
    if (H < M.height()) H = M.height();
    int X = FLeft;
    if (FAlignment == taRightJustify && !FWordWrap) X = FLeft + FWidth - W;
    SetBounds(X, FTop, W, H);
}

void TCustomLabel::SetTextValue(const AnsiString& Value) {
    FText = Value;
    UpdateLabel();
    AdjustBounds();
}

void TCustomLabel::FontChanged() {
    TControl::FontChanged();
    AdjustBounds();
}

TColor TCustomLabel::EffectiveBackground() const {
    return FTransparent ? clNone : Color();
}

void TCustomLabel::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    UpdateLabel();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
    FLayout = Value;
    UpdateLabel();
}

void TCustomLabel::SetAutoSize(bool Value) {
    FAutoSize = Value;
    AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool Value) {
    FWordWrap = Value;
    UpdateLabel();
    AdjustBounds();
}

void TCustomLabel::SetTransparent(bool Value) {
    FTransparent = Value;
    UpdateWidgetColor();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
    FShowAccelChar = Value;
    UpdateLabel();
    AdjustBounds();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
    if (FFocusControl) RemoveFreeNotification(FFocusControl);
    FFocusControl = Value;
    if (Value) FreeNotification(Value);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

// ---- buttons ---------------------------------------------------------------------------

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {
    // The widget reports its own clicks.
    ControlStyle = {csSetCaption, csDoubleClicks};
    SetTabStop(true);
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
    FWidth = 75;
    FHeight = 25;
}

QWidget* TButton::CreateWidget() {
    return new QPushButton();
}

void TButton::WidgetCreated() {
    Widget()->setFocusPolicy(TabStop() ? Qt::StrongFocus : Qt::ClickFocus);
    // An owner-drawn button shows a painted widget of its own instead.
    auto* B = qobject_cast<QPushButton*>(Widget());
    if (!B) return;
    B->setText(ToQString(FText));
    B->setAutoDefault(false);
    B->setDefault(FDefault);
    QObject::connect(B, &QPushButton::clicked, B,
                     [this](bool) { SafeCall(this, [this] { Click(); }); });
}

void TButton::SetTextValue(const AnsiString& Value) {
    FText = Value;
    if (!WidgetAllocated()) return;
    if (auto* B = qobject_cast<QPushButton*>(Widget())) B->setText(ToQString(Value));
}

void TButton::SetDefault(bool Value) {
    FDefault = Value;
    if (!WidgetAllocated()) return;
    if (auto* B = qobject_cast<QPushButton*>(Widget())) B->setDefault(Value);
}

void TButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_KEYDOWN:
        if (Message.WParam == VK_RETURN) {
            TWMKey M(Message);
            if (DoKeyDown(M)) return;
            Click();
            return;
        }
        break;
    case CM_DIALOGKEY:
        if (((Message.WParam == VK_RETURN && FDefault) ||
             (Message.WParam == VK_ESCAPE && FCancel)) &&
            CanFocus()) {
            Click();
            Message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TButtonControl::Dispatch(Message);
}

void TButton::Click() {
    if (TCustomForm* Form = GetParentForm(this)) Form->SetModalResult(FModalResult);
    TButtonControl::Click();
}

// ---- TCustomCheckBox ---------------------------------------------------------------------

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
    FWidth = 97;
    FHeight = 17;
}

QWidget* TCustomCheckBox::CreateWidget() {
    return new QCheckBox();
}

void TCustomCheckBox::WidgetCreated() {
    auto* B = static_cast<QCheckBox*>(Widget());
    B->setText(ToQString(FText));
    B->setTristate(FAllowGrayed);
    B->setLayoutDirection(FAlignment == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
    ApplyState();
    QObject::connect(B, &QCheckBox::clicked, B, [this](bool) {
        if (GSettingInCode) return;
        SafeCall(this, [this] { Toggle(); });
    });
}

void TCustomCheckBox::ApplyState() {
    if (!WidgetAllocated()) return;
    TSettingGuard Guard(GSettingInCode);
    auto* B = static_cast<QCheckBox*>(Widget());
    B->setCheckState(FState == cbChecked  ? Qt::Checked
                     : FState == cbGrayed ? Qt::PartiallyChecked
                                          : Qt::Unchecked);
}

void TCustomCheckBox::Toggle() {
    // The framework's order: unchecked, (grayed,) checked, unchecked.
    switch (FState) {
    case cbUnchecked:
        SetState(FAllowGrayed ? cbGrayed : cbChecked);
        break;
    case cbChecked:
        SetState(cbUnchecked);
        break;
    case cbGrayed:
        SetState(cbChecked);
        break;
    }
}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
    if (Value == FState) {
        ApplyState();
        return;
    }
    FState = Value;
    ApplyState();
    Click();
}

void TCustomCheckBox::SetAllowGrayed(bool Value) {
    FAllowGrayed = Value;
    if (!Value && FState == cbGrayed) FState = cbUnchecked;
    if (WidgetAllocated()) static_cast<QCheckBox*>(Widget())->setTristate(Value);
    ApplyState();
}

void TCustomCheckBox::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    if (WidgetAllocated())
        Widget()->setLayoutDirection(Value == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}

void TCustomCheckBox::SetTextValue(const AnsiString& Value) {
    FText = Value;
    if (WidgetAllocated()) static_cast<QCheckBox*>(Widget())->setText(ToQString(Value));
}

// ---- TCustomEdit --------------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 121;
    FHeight = 21;
    ControlStyle = {csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

QWidget* TCustomEdit::CreateWidget() {
    return new QLineEdit();
}

namespace {

QLineEdit* LineEdit(const TCustomEdit* Edit) {
    return static_cast<QLineEdit*>(const_cast<TCustomEdit*>(Edit)->Widget());
}

QString ApplyCase(const QString& S, TEditCharCase Case) {
    switch (Case) {
    case ecUpperCase:
        return S.toUpper();
    case ecLowerCase:
        return S.toLower();
    default:
        return S;
    }
}

} // namespace

void TCustomEdit::WidgetCreated() {
    auto* E = static_cast<QLineEdit*>(Widget());
    E->setFrame(FBorderStyle != bsNone);
    E->setText(ApplyCase(ToQString(FText), FCharCase));
    E->setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
    E->setReadOnly(FReadOnly);
    E->setFocusPolicy(TabStop() ? Qt::StrongFocus : Qt::ClickFocus);
    SetPasswordChar(FPasswordChar);
    QObject::connect(E, &QLineEdit::textEdited, E, [this, E](const QString& Text) {
        if (GSettingInCode) return;
        SafeCall(this, [&] {
            const QString Cased = ApplyCase(Text, FCharCase);
            if (Cased != Text) {
                TSettingGuard Guard(GSettingInCode);
                const int Pos = E->cursorPosition();
                E->setText(Cased);
                E->setCursorPosition(Pos);
            }
            Change();
        });
    });
}

AnsiString TCustomEdit::GetText() const {
    return FromQString(LineEdit(this)->text());
}

void TCustomEdit::SetTextValue(const AnsiString& Value) {
    TSettingGuard Guard(GSettingInCode);
    LineEdit(this)->setText(ApplyCase(ToQString(Value), FCharCase));
}

void TCustomEdit::TextChanged() {
    TWinControl::TextChanged();
    Change();
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
    // The parent hears of every change, as from a window's edit control.
    if (TWinControl* P = Parent())
        P->Perform(WM_COMMAND, MakeWParam(0, static_cast<Word>(EN_CHANGE)),
                   reinterpret_cast<LPARAM>(static_cast<TWinControl*>(this)));
}

void TCustomEdit::UpdateWidgetColor() {
    if (!WidgetAllocated()) return;
    QWidget* W = Widget();
    QPalette P = W->palette();
    P.setColor(QPalette::Base, ToQColor(Color()));
    W->setPalette(P);
}

void TCustomEdit::SetBorderStyle(TFormBorderStyle Value) {
    FBorderStyle = Value;
    if (WidgetAllocated()) LineEdit(this)->setFrame(Value != bsNone);
}

void TCustomEdit::SetMaxLength(int Value) {
    FMaxLength = Value < 0 ? 0 : Value;
    LineEdit(this)->setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
}

void TCustomEdit::SetPasswordChar(char Value) {
    FPasswordChar = Value;
    QLineEdit* E = LineEdit(this);
    if (Value == '\0') {
        E->setEchoMode(QLineEdit::Normal);
        E->setStyleSheet(QString());
        return;
    }
    E->setEchoMode(QLineEdit::Password);
    E->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: %1 }")
                         .arg(static_cast<int>(static_cast<unsigned char>(Value))));
}

void TCustomEdit::SetReadOnly(bool Value) {
    FReadOnly = Value;
    LineEdit(this)->setReadOnly(Value);
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
    if (Value == FCharCase) return;
    FCharCase = Value;
    if (Value != ecNormal) {
        const AnsiString Old = GetText();
        const AnsiString New = FromQString(ApplyCase(ToQString(Old), Value));
        if (New != Old) {
            SetTextValue(New);
            TextChanged();
        }
    }
}

bool TCustomEdit::Modified() const {
    return LineEdit(this)->isModified();
}

void TCustomEdit::SetModified(bool Value) {
    LineEdit(this)->setModified(Value);
}

int TCustomEdit::SelStart() const {
    QLineEdit* E = LineEdit(this);
    const int Pos = E->hasSelectedText() ? E->selectionStart() : E->cursorPosition();
    return QtPosToBytes(E->text(), Pos);
}

void TCustomEdit::SetSelStart(int Value) {
    QLineEdit* E = LineEdit(this);
    E->deselect();
    E->setCursorPosition(BytesToQtPos(E->text(), Value));
}

int TCustomEdit::SelLength() const {
    QLineEdit* E = LineEdit(this);
    if (!E->hasSelectedText()) return 0;
    return static_cast<int>(E->selectedText().toUtf8().size());
}

void TCustomEdit::SetSelLength(int Value) {
    QLineEdit* E = LineEdit(this);
    const QString Text = E->text();
    const int StartBytes = SelStart();
    const int Start = BytesToQtPos(Text, StartBytes);
    const int End = BytesToQtPos(Text, StartBytes + std::max(Value, 0));
    E->setSelection(Start, End - Start);
}

AnsiString TCustomEdit::SelText() const {
    return FromQString(LineEdit(this)->selectedText());
}

void TCustomEdit::SetSelText(const AnsiString& Value) {
    QLineEdit* E = LineEdit(this);
    {
        TSettingGuard Guard(GSettingInCode);
        E->insert(ApplyCase(ToQString(Value), FCharCase));
    }
    TWinControl::TextChanged();
    Change();
}

void TCustomEdit::SelectAll() {
    LineEdit(this)->selectAll();
}

void TCustomEdit::ClearSelection() {
    if (SelLength() > 0) SetSelText(AnsiString());
}

void TCustomEdit::Clear() {
    SetText(AnsiString());
}

void TCustomEdit::CutToClipboard() {
    Perform(WM_CUT);
}

void TCustomEdit::CopyToClipboard() {
    Perform(WM_COPY);
}

void TCustomEdit::PasteFromClipboard() {
    Perform(WM_PASTE);
}

void TCustomEdit::Undo() {
    Perform(WM_UNDO);
}

void TCustomEdit::DefaultHandler(TMessage& Message) {
    TWinControl::DefaultHandler(Message);
    QLineEdit* E = LineEdit(this);
    switch (Message.Msg) {
    case EM_GETSEL: {
        // Byte offsets; also written where WParam and LParam point.
        const int Start = SelStart(), End = Start + SelLength();
        if (Message.WParam) *reinterpret_cast<int*>(Message.WParam) = Start;
        if (Message.LParam) *reinterpret_cast<int*>(Message.LParam) = End;
        Message.Result = MakeLParam(static_cast<Word>(Start), static_cast<Word>(End));
        return;
    }
    case EM_SETSEL: {
        // A start of -1 only drops the selection; an end of -1 (or any
        // offset past the text) means the end of the text. The caret ends
        // at End.
        const QString Text = E->text();
        const int Length = static_cast<int>(Text.toUtf8().size());
        auto Clamp = [&](std::intptr_t V) {
            return V < 0 || V > Length ? Length : static_cast<int>(V);
        };
        const auto RawStart = static_cast<std::intptr_t>(Message.WParam);
        if (static_cast<int>(RawStart) == -1) {
            E->deselect();
            return;
        }
        const int Start = BytesToQtPos(Text, Clamp(static_cast<int>(RawStart)));
        const int End = BytesToQtPos(Text, Clamp(Message.LParam));
        if (Start == End) {
            E->deselect();
            E->setCursorPosition(End);
        } else {
            E->setSelection(Start, End - Start);
        }
        return;
    }
    case EM_SETRECT:
    case EM_SETRECTNP:
        // The formatting rectangle becomes the text margins.
        if (const auto* R = reinterpret_cast<const TRect*>(Message.LParam)) {
            const QRect G = E->rect();
            E->setTextMargins(std::max(R->Left, 0), std::max(R->Top, 0),
                              std::max(G.width() - R->Right, 0), std::max(G.height() - R->Bottom, 0));
        }
        return;
    case EM_SCROLLCARET:
        return;
    case WM_CHAR:
        // A character sent from code is typed, as into a window's edit;
        // one from the keyboard goes on to the widget.
        if (!FromNativeInput(WM_CHAR) && !FReadOnly) {
            const auto Ch = static_cast<unsigned char>(Message.WParam);
            {
                TSettingGuard Guard(GSettingInCode);
                if (Ch == 8)
                    E->backspace();
                else if (Ch >= 32 && Ch < 128)
                    E->insert(ApplyCase(QString(QChar(Ch)), FCharCase));
                else
                    return;
            }
            TWinControl::TextChanged();
            Change();
        }
        return;
    default:
        break;
    }
    const QString Before = E->text();
    {
        TSettingGuard Guard(GSettingInCode);
        switch (Message.Msg) {
        case WM_CUT:
            E->cut();
            break;
        case WM_COPY:
            E->copy();
            break;
        case WM_PASTE:
            E->paste();
            break;
        case WM_CLEAR:
            E->del();
            break;
        case WM_UNDO:
            E->undo();
            break;
        default:
            return;
        }
    }
    if (E->text() != Before) {
        TWinControl::TextChanged();
        Change();
    }
}

// ---- TCustomMemo ----------------------------------------------------------------------------

// The memo's lines, read from and written to its widget. The text's last
// line break does not start a line of its own.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo* AMemo) : Memo(AMemo) {}
    AnsiString ClassName() const override { return "TMemoStrings"; }

    AnsiString Get(int Index) const override {
        if (Index < 0 || Index >= GetCount()) IndexError(Index);
        return FromQString(Editor()->document()->findBlockByNumber(Index).text());
    }

    int GetCount() const override {
        const QTextDocument* Doc = Editor()->document();
        const int Blocks = Doc->blockCount();
        if (Doc->lastBlock().text().isEmpty()) return Blocks - 1;
        return Blocks;
    }

    void Put(int Index, const AnsiString& S) override {
        // Every line there is can be written, the empty one after a final
        // line break too (on an empty memo, that is line 0). Only that
        // line's block changes: a memo that keeps a log under a status line
        // must not pay for the whole log at every status change.
        QTextDocument* Doc = Editor()->document();
        if (Index < 0 || Index >= Doc->blockCount()) IndexError(Index);
        EditInCode([&] {
            QTextCursor Cursor(Doc->findBlockByNumber(Index));
            Cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            Cursor.insertText(ToQString(S));
        });
    }

    void Insert(int Index, const AnsiString& S) override {
        const int Count = GetCount();
        if (Index < 0 || Index > Count) IndexError(Index);
        if (Index == Count) {
            Append(S);
            return;
        }
        EditInCode([&] {
            QTextCursor Cursor(Editor()->document()->findBlockByNumber(Index));
            Cursor.insertText(ToQString(S) + QLatin1Char('\n'));
        });
    }

    void Delete(int Index) override {
        if (Index < 0 || Index >= GetCount()) IndexError(Index);
        QTextDocument* Doc = Editor()->document();
        EditInCode([&] {
            const QTextBlock Block = Doc->findBlockByNumber(Index);
            QTextCursor Cursor(Doc);
            if (Block.next().isValid()) {
                // The line and the break after it.
                Cursor.setPosition(Block.position());
                Cursor.setPosition(Block.next().position(), QTextCursor::KeepAnchor);
            } else {
                // The last line has no break after it: the one before it goes.
                Cursor.setPosition(Block.position() > 0 ? Block.position() - 1 : 0);
                Cursor.setPosition(Block.position() + Block.length() - 1, QTextCursor::KeepAnchor);
            }
            Cursor.removeSelectedText();
        });
    }

    void Clear() override {
        if (Editor()->document()->isEmpty()) return;
        {
            TSettingGuard Guard(GSettingInCode);
            Editor()->setPlainText(QString());
        }
        Memo->TextChanged();
    }

protected:
    AnsiString GetTextStr() const override { return Memo->GetText(); }
    void SetTextStr(const AnsiString& Value) override { Memo->SetText(Value); }

private:
    QPlainTextEdit* Editor() const { return static_cast<QPlainTextEdit*>(Memo->Widget()); }

    void Append(const AnsiString& S) {
        QPlainTextEdit* E = Editor();
        EditInCode([&] {
            QTextCursor Cursor(E->document());
            Cursor.movePosition(QTextCursor::End);
            const bool Empty = E->document()->isEmpty();
            const bool EndsWithBreak = !Empty && E->document()->lastBlock().text().isEmpty();
            // Into the empty line after a final break the line goes with a
            // break of its own; after a last line without one, a break
            // goes before it instead.
            if (Empty || EndsWithBreak)
                Cursor.insertText(ToQString(S) + QLatin1Char('\n'));
            else
                Cursor.insertText(QLatin1Char('\n') + ToQString(S));
        });
    }

    // One change made by the program, not by the user: no change event of
    // its own from the widget, and no undo step, so that a memo the
    // program keeps writing to does not keep a copy of every line it ever
    // held (writing the whole text clears the undo steps the same way).
    template <class Edit> void EditInCode(Edit&& Change) {
        QTextDocument* Doc = Editor()->document();
        {
            TSettingGuard Guard(GSettingInCode);
            const bool Undo = Doc->isUndoRedoEnabled();
            Doc->setUndoRedoEnabled(false);
            Change();
            Doc->setUndoRedoEnabled(Undo);
        }
        Memo->TextChanged();
    }

    TCustomMemo* Memo;
};

TCustomMemo::TCustomMemo(TComponent* AOwner)
    : TWinControl(AOwner), FLines(std::make_unique<TMemoStrings>(this)) {
    FWidth = 185;
    FHeight = 89;
    ControlStyle = {csClickEvents, csSetCaption, csDoubleClicks};
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TCustomMemo::~TCustomMemo() = default;

QWidget* TCustomMemo::CreateWidget() {
    return new QPlainTextEdit();
}

void TCustomMemo::WidgetCreated() {
    auto* E = static_cast<QPlainTextEdit*>(Widget());
    WatchWidget(this, E->viewport());
    E->setReadOnly(FReadOnly);
    E->setLineWrapMode(FWordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    SetScrollBars(FScrollBars);
    E->setFocusPolicy(TabStop() ? Qt::StrongFocus : Qt::ClickFocus);
    QObject::connect(E, &QPlainTextEdit::textChanged, E, [this] {
        if (GSettingInCode) return;
        SafeCall(this, [this] { Change(); });
    });
}

AnsiString TCustomMemo::GetText() const {
    const QString Plain =
        static_cast<QPlainTextEdit*>(const_cast<TCustomMemo*>(this)->Widget())->toPlainText();
    AnsiString Text = FromQString(Plain);
    AnsiString Result;
    Result.reserve(Text.size());
    for (char C : Text) {
        if (C == '\n')
            Result += "\r\n";
        else
            Result += C;
    }
    return Result;
}

void TCustomMemo::SetTextValue(const AnsiString& Value) {
    AnsiString Plain;
    Plain.reserve(Value.size());
    for (std::size_t I = 0; I < Value.size(); ++I) {
        if (Value[I] == '\r') {
            Plain += '\n';
            if (I + 1 < Value.size() && Value[I + 1] == '\n') ++I;
        } else {
            Plain += Value[I];
        }
    }
    TSettingGuard Guard(GSettingInCode);
    static_cast<QPlainTextEdit*>(Widget())->setPlainText(ToQString(Plain));
}

void TCustomMemo::TextChanged() {
    TWinControl::TextChanged();
    Change();
}

void TCustomMemo::Change() {
    if (OnChange) OnChange(this);
}

void TCustomMemo::SetLines(TStrings* Value) {
    FLines->Assign(Value);
}

void TCustomMemo::Clear() {
    FLines->Clear();
}

void TCustomMemo::SetReadOnly(bool Value) {
    FReadOnly = Value;
    static_cast<QPlainTextEdit*>(Widget())->setReadOnly(Value);
}

void TCustomMemo::SetWordWrap(bool Value) {
    FWordWrap = Value;
    static_cast<QPlainTextEdit*>(Widget())->setLineWrapMode(Value ? QPlainTextEdit::WidgetWidth
                                                                  : QPlainTextEdit::NoWrap);
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
    FScrollBars = Value;
    auto* E = static_cast<QPlainTextEdit*>(Widget());
    const bool H = Value == ssHorizontal || Value == ssBoth;
    const bool V = Value == ssVertical || Value == ssBoth;
    E->setHorizontalScrollBarPolicy(H ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    E->setVerticalScrollBarPolicy(V ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TCustomMemo::UpdateWidgetColor() {
    if (!WidgetAllocated()) return;
    QWidget* W = Widget();
    QPalette P = W->palette();
    P.setColor(QPalette::Base, ToQColor(Color()));
    W->setPalette(P);
}

// ---- TCustomComboBox -------------------------------------------------------------------------

// The combo box's items, kept in its widget; objects beside them here.
class TComboBoxStrings : public TStrings {
public:
    explicit TComboBoxStrings(TCustomComboBox* ACombo) : Combo(ACombo) {}
    AnsiString ClassName() const override { return "TComboBoxStrings"; }

    AnsiString Get(int Index) const override {
        if (Index < 0 || Index >= GetCount()) IndexError(Index);
        return FromQString(Box()->itemText(Index));
    }
    int GetCount() const override { return Box()->count(); }
    TObject* GetObject(int Index) const override {
        if (Index < 0 || Index >= GetCount()) IndexError(Index);
        return Objects[static_cast<std::size_t>(Index)];
    }
    void PutObject(int Index, TObject* AObject) override {
        if (Index < 0 || Index >= GetCount()) IndexError(Index);
        Objects[static_cast<std::size_t>(Index)] = AObject;
    }
    void Put(int Index, const AnsiString& S) override {
        if (Index < 0 || Index >= GetCount()) IndexError(Index);
        TSettingGuard Guard(GSettingInCode);
        Box()->setItemText(Index, ToQString(S));
    }
    void Insert(int Index, const AnsiString& S) override { InsertObject(Index, S, nullptr); }
    void InsertObject(int Index, const AnsiString& S, TObject* AObject) override {
        if (Index < 0 || Index > GetCount()) IndexError(Index);
        QComboBox* B = Box();
        TSettingGuard Guard(GSettingInCode);
        const int Current = B->currentIndex();
        const QString Text = B->currentText();
        B->insertItem(Index, ToQString(S));
        Objects.insert(Objects.begin() + Index, AObject);
        // Adding items chooses none of them.
        if (Current < 0) {
            B->setCurrentIndex(-1);
            if (B->isEditable()) B->setEditText(Text);
        }
    }
    void Delete(int Index) override {
        if (Index < 0 || Index >= GetCount()) IndexError(Index);
        TSettingGuard Guard(GSettingInCode);
        Box()->removeItem(Index);
        Objects.erase(Objects.begin() + Index);
    }
    void Clear() override {
        TSettingGuard Guard(GSettingInCode);
        Box()->clear();
        Objects.clear();
    }

    std::vector<TObject*> Objects;

private:
    QComboBox* Box() const { return static_cast<QComboBox*>(Combo->Widget()); }
    TCustomComboBox* Combo;
};

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner), FItems(std::make_unique<TComboBoxStrings>(this)) {
    FWidth = 145;
    FHeight = 21;
    ControlStyle = {csSetCaption, csDoubleClicks, csFixedHeight};
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TCustomComboBox::~TCustomComboBox() = default;

QWidget* TCustomComboBox::CreateWidget() {
    auto* B = new QComboBox();
    B->setEditable(FStyle == csDropDown || FStyle == csSimple);
    return B;
}

void TCustomComboBox::WidgetCreated() {
    auto* B = static_cast<QComboBox*>(Widget());
    B->setMaxVisibleItems(FDropDownCount);
    B->setInsertPolicy(QComboBox::NoInsert);
    B->setFocusPolicy(TabStop() ? Qt::StrongFocus : Qt::ClickFocus);
    if (B->lineEdit()) WatchWidget(this, B->lineEdit());
    QObject::connect(B, &QComboBox::activated, B, [this](int) {
        if (GSettingInCode) return;
        SafeCall(this, [this] {
            Click();
            Select();
        });
    });
    if (QLineEdit* E = B->lineEdit())
        QObject::connect(E, &QLineEdit::textEdited, E, [this](const QString&) {
            if (GSettingInCode) return;
            SafeCall(this, [this] { Change(); });
        });
}

int TCustomComboBox::ItemIndex() const {
    return static_cast<QComboBox*>(const_cast<TCustomComboBox*>(this)->Widget())->currentIndex();
}

void TCustomComboBox::SetItemIndex(int Value) {
    auto* B = static_cast<QComboBox*>(Widget());
    if (Value < -1 || Value >= B->count()) Value = -1;
    TSettingGuard Guard(GSettingInCode);
    B->setCurrentIndex(Value);
    if (Value < 0 && B->isEditable()) B->setEditText(QString());
}

void TCustomComboBox::SetItems(TStrings* Value) {
    FItems->Assign(Value);
}

AnsiString TCustomComboBox::GetText() const {
    return FromQString(
        static_cast<QComboBox*>(const_cast<TCustomComboBox*>(this)->Widget())->currentText());
}

void TCustomComboBox::SetTextValue(const AnsiString& Value) {
    auto* B = static_cast<QComboBox*>(Widget());
    TSettingGuard Guard(GSettingInCode);
    if (B->isEditable()) {
        const int Index = B->findText(ToQString(Value), Qt::MatchFixedString);
        if (Index >= 0 && B->itemText(Index) == ToQString(Value))
            B->setCurrentIndex(Index);
        else
            B->setCurrentIndex(-1);
        B->setEditText(ToQString(Value));
    } else {
        B->setCurrentIndex(B->findText(ToQString(Value), Qt::MatchFixedString));
    }
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    if (!WidgetAllocated()) return;
    auto* B = static_cast<QComboBox*>(Widget());
    TSettingGuard Guard(GSettingInCode);
    const bool Editable = Value == csDropDown || Value == csSimple;
    if (B->isEditable() != Editable) {
        B->setEditable(Editable);
        if (QLineEdit* E = B->lineEdit()) {
            WatchWidget(this, E);
            QObject::connect(E, &QLineEdit::textEdited, E, [this](const QString&) {
                if (GSettingInCode) return;
                SafeCall(this, [this] { Change(); });
            });
        }
    }
}

void TCustomComboBox::SetDropDownCount(int Value) {
    FDropDownCount = Value;
    if (WidgetAllocated()) static_cast<QComboBox*>(Widget())->setMaxVisibleItems(Value);
}

bool TCustomComboBox::DroppedDown() const {
    auto* B = static_cast<QComboBox*>(const_cast<TCustomComboBox*>(this)->Widget());
    return B->view() && B->view()->isVisible();
}

void TCustomComboBox::SetDroppedDown(bool Value) {
    auto* B = static_cast<QComboBox*>(Widget());
    if (Value) {
        if (OnDropDown) OnDropDown(this);
        B->showPopup();
    } else {
        B->hidePopup();
    }
}

void TCustomComboBox::Clear() {
    FItems->Clear();
    SetItemIndex(-1);
}

void TCustomComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TCustomComboBox::UpdateWidgetColor() {
    if (!WidgetAllocated()) return;
    QWidget* W = Widget();
    QPalette P = W->palette();
    P.setColor(QPalette::Base, ToQColor(Color()));
    W->setPalette(P);
}

// ---- TCustomGroupBox ---------------------------------------------------------------------------

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 185;
    FHeight = 105;
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
}

QWidget* TCustomGroupBox::CreateWidget() {
    auto* G = new QGroupBox();
    G->setTitle(ToQString(FText));
    return G;
}

void TCustomGroupBox::SetTextValue(const AnsiString& Value) {
    FText = Value;
    if (WidgetAllocated()) static_cast<QGroupBox*>(Widget())->setTitle(ToQString(Value));
}

void TCustomGroupBox::AdjustClientRect(TRect& R) const {
    EnsureQtApplication();
    const QFontMetrics M(ToQFont(*Font()));
    R.Top += M.height();
    R.Left += 2;
    R.Top += 2;
    R.Right -= 2;
    R.Bottom -= 2;
}

// ---- TScrollBar ------------------------------------------------------------------------------

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 121;
    FHeight = GetSystemMetrics(SM_CYHSCROLL);
    ControlStyle = {csFramed, csDoubleClicks};
    SetTabStop(true);
}

QWidget* TScrollBar::CreateWidget() {
    return new QScrollBar();
}

void TScrollBar::WidgetCreated() {
    auto* B = static_cast<QScrollBar*>(Widget());
    ApplyRange();
    QObject::connect(B, &QScrollBar::actionTriggered, B, [this, B](int Action) {
        if (FApplying) return;
        TScrollCode Code = scPosition;
        switch (Action) {
        case QAbstractSlider::SliderSingleStepAdd:
            Code = scLineDown;
            break;
        case QAbstractSlider::SliderSingleStepSub:
            Code = scLineUp;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            Code = scPageDown;
            break;
        case QAbstractSlider::SliderPageStepSub:
            Code = scPageUp;
            break;
        case QAbstractSlider::SliderToMinimum:
            Code = scTop;
            break;
        case QAbstractSlider::SliderToMaximum:
            Code = scBottom;
            break;
        case QAbstractSlider::SliderMove:
            Code = scTrack;
            break;
        default:
            return;
        }
        const int Pos = B->sliderPosition();
        SafeCall(this, [&] { UserScrolled(Code, Pos); });
    });
    QObject::connect(B, &QScrollBar::sliderReleased, B, [this, B] {
        const int Pos = B->sliderPosition();
        SafeCall(this, [&] {
            UserScrolled(scPosition, Pos);
            UserScrolled(scEndScroll, FPosition);
        });
    });
}

void TScrollBar::UserScrolled(TScrollCode Code, int Pos) {
    int ScrollPos = Pos;
    Scroll(Code, ScrollPos);
    SetPosition(ScrollPos);
    // The widget has moved its slider already; put it where the position is.
    ApplyRange();
}

void TScrollBar::ApplyRange() {
    if (!WidgetAllocated()) return;
    auto* B = static_cast<QScrollBar*>(Widget());
    FApplying = true;
    B->setOrientation(FKind == sbHorizontal ? Qt::Horizontal : Qt::Vertical);
    const int Page = FPageSize > 0 ? FPageSize : FLargeChange;
    B->setRange(FMin, std::max(FMin, FMax - std::max(FPageSize - 1, 0)));
    B->setSingleStep(FSmallChange);
    B->setPageStep(Page);
    B->setValue(FPosition);
    B->setSliderPosition(FPosition);
    FApplying = false;
}

void TScrollBar::SetKind(TScrollBarKind Value) {
    if (Value == FKind) return;
    FKind = Value;
    SetBounds(FLeft, FTop, FHeight, FWidth);
    ApplyRange();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
    if (AMax < AMin) throw EInvalidOperation("Scroll bar property out of range");
    const int Top = std::max(AMin, AMax - std::max(FPageSize - 1, 0));
    APosition = std::clamp(APosition, AMin, Top);
    const bool Changed = APosition != FPosition;
    FMin = AMin;
    FMax = AMax;
    FPosition = APosition;
    ApplyRange();
    if (Changed) Change();
}

void TScrollBar::SetSmallChange(int Value) {
    FSmallChange = Value;
    ApplyRange();
}

void TScrollBar::SetLargeChange(int Value) {
    FLargeChange = Value;
    ApplyRange();
}

void TScrollBar::SetPageSize(int Value) {
    if (Value < 0 || Value > FMax - FMin + 1)
        throw EInvalidOperation("Scroll bar property out of range");
    FPageSize = Value;
    SetParams(FPosition, FMin, FMax);
}

void TScrollBar::Change() {
    if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos) {
    if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}
