#include "platform/gui/Mask.h"

#include "platform/gui/QtApp.h"
#include "platform/rtl/FormatSettings.h"

#include <QLineEdit>

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::ParseMask() {
    FChars.clear();
    FBlank = '_';
    FSaveLiterals = true;
    // The mask proper ends at the first unescaped ';'.
    AnsiString Mask;
    std::size_t I = 0;
    for (; I < FEditMask.size(); ++I) {
        if (FEditMask[I] == '\\' && I + 1 < FEditMask.size()) {
            Mask += FEditMask[I];
            Mask += FEditMask[++I];
            continue;
        }
        if (FEditMask[I] == ';') break;
        Mask += FEditMask[I];
    }
    if (I < FEditMask.size()) {
        const AnsiString Rest = FEditMask.substr(I + 1);
        const std::size_t Semi = Rest.find(';');
        const AnsiString Save = Rest.substr(0, Semi);
        FSaveLiterals = Save.empty() || Save[0] != '0';
        if (Semi != AnsiString::npos && Semi + 1 < Rest.size()) FBlank = Rest[Semi + 1];
    }
    for (std::size_t J = 0; J < Mask.size(); ++J) {
        const char C = Mask[J];
        switch (C) {
        case '\\':
            if (J + 1 < Mask.size()) FChars.push_back({0, Mask[++J]});
            break;
        case '!':
            break;
        case '>':
        case '<':
            if (C == '<' && J + 1 < Mask.size() && Mask[J + 1] == '>') {
                FChars.push_back({'!', 0});
                ++J;
            } else {
                FChars.push_back({C, 0});
            }
            break;
        case 'L':
        case 'l':
        case 'A':
        case 'a':
        case 'C':
        case 'c':
        case '0':
        case '9':
        case '#':
            FChars.push_back({C, 0});
            break;
        case ':':
            FChars.push_back({0, FormatSettings().TimeSeparator});
            break;
        case '/':
            FChars.push_back({0, FormatSettings().DateSeparator});
            break;
        case '_':
            FChars.push_back({0, ' '});
            break;
        default:
            FChars.push_back({0, C});
            break;
        }
    }
}

void TCustomMaskEdit::SetEditMask(const AnsiString& Value) {
    FEditMask = Value;
    ParseMask();
    QString QtMask;
    for (const TMaskChar& M : FChars) {
        switch (M.Kind) {
        case 0:
            QtMask += QLatin1Char('\\');
            QtMask += ToQString(AnsiString(1, M.Literal));
            break;
        case 'L':
            QtMask += QLatin1Char('A');
            break;
        case 'l':
            QtMask += QLatin1Char('a');
            break;
        case 'A':
            QtMask += QLatin1Char('N');
            break;
        case 'a':
            QtMask += QLatin1Char('n');
            break;
        case 'C':
            QtMask += QLatin1Char('X');
            break;
        case 'c':
            QtMask += QLatin1Char('x');
            break;
        case '0':
            QtMask += QLatin1Char('9');
            break;
        case '9':
            QtMask += QLatin1Char('0');
            break;
        default:
            QtMask += QLatin1Char(M.Kind);
            break;
        }
    }
    if (!QtMask.isEmpty()) {
        QtMask += QLatin1Char(';');
        QtMask += QLatin1Char(FBlank);
    }
    static_cast<QLineEdit*>(Widget())->setInputMask(QtMask);
}

AnsiString TCustomMaskEdit::EditText() const {
    auto* E = static_cast<QLineEdit*>(const_cast<TCustomMaskEdit*>(this)->Widget());
    return FromQString(IsMasked() ? E->displayText() : E->text());
}

void TCustomMaskEdit::SetEditText(const AnsiString& Value) {
    TCustomEdit::SetTextValue(Value);
}

AnsiString TCustomMaskEdit::GetText() const {
    if (!IsMasked()) return TCustomEdit::GetText();
    const AnsiString Shown = EditText();
    AnsiString Result;
    std::size_t Pos = 0;
    for (const TMaskChar& M : FChars) {
        if (M.Kind == '>' || M.Kind == '<' || M.Kind == '!') continue;
        if (Pos >= Shown.size()) break;
        const char C = Shown[Pos++];
        if (M.Kind == 0) {
            if (FSaveLiterals) Result += C;
            continue;
        }
        Result += C == FBlank ? ' ' : C;
    }
    return Result;
}

void TCustomMaskEdit::SetTextValue(const AnsiString& Value) {
    TCustomEdit::SetTextValue(Value);
}
