// Finding a row of the combo list from typed text: the comparisons, a
// binary search for lists sorted on their value column, a linear search
// otherwise, the next match, type-ahead by first character and by a
// growing search text, and filling the cell from the row found. Lengths
// count characters, so a multibyte character is never cut in two.
#include "grid/foundation/GridCommonVariant.h"
#include "grid/foundation/TextChars.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/Combo.h"
#include "grid/model/CurrentCell.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace grid {

namespace {

int CharLen(const AnsiString& S) {
    int Count = 0;
    for (int Pos = 0; Pos < static_cast<int>(S.size()); ++Count)
        Pos += std::max(NextCharCount(S, Pos), 1);
    return Count;
}

// The first N characters of S (all of S when it is shorter).
AnsiString CharPrefix(const AnsiString& S, int N) {
    int Pos = 0;
    for (int I = 0; I < N && Pos < static_cast<int>(S.size()); ++I)
        Pos += std::max(NextCharCount(S, Pos), 1);
    return S.substr(0, static_cast<std::size_t>(Pos));
}

// S without its first N characters.
AnsiString CharRest(const AnsiString& S, int N) {
    return S.substr(CharPrefix(S, N).size());
}

template <class Compare>
int CompareN(const AnsiString& A, const AnsiString& B, int Len, Compare Comp) {
    if (Len != 0) return Comp(CharPrefix(A, Len), CharPrefix(B, Len));
    if (A.empty() && B.empty()) return 0;
    return A.empty() ? -1 : 1;
}

AnsiString FirstChar(const AnsiString& S) {
    return CharPrefix(S, 1);
}

} // namespace

int TgxBaseGrid::CompCaseSensitive(const AnsiString& A, const AnsiString& B, int Len) {
    return CompareN(A, B, Len, AnsiCompareStr);
}

int TgxBaseGrid::CompCaseInsensitive(const AnsiString& A, const AnsiString& B, int Len) {
    return CompareN(A, B, Len, AnsiCompareText);
}

int TgxBaseGrid::CompOwn(const AnsiString& A, const AnsiString& B, int Len) {
    int Result = 0;
    DoComboCompareValue(A, B, Result);
    DoComboLCompareValue(A, B, Len, Result);
    return Result;
}

int TgxBaseGrid::ComboCompare(const AnsiString& A, const AnsiString& B, int Len) {
    switch (GetCombo()->GetCompareType()) {
    case ctCaseSensitive:
        return CompCaseSensitive(A, B, Len);
    case ctOwn:
        return CompOwn(A, B, Len);
    case ctCaseInsensitive:
        break;
    }
    return CompCaseInsensitive(A, B, Len);
}

bool TgxBaseGrid::ComboValueEqual(const AnsiString& A, const AnsiString& B) {
    const int Len = CharLen(A);
    if (Len != CharLen(B)) return false;
    return ComboCompare(A, B, Len) == 0;
}

AnsiString TgxBaseGrid::ComboRowValue(int ListRow) {
    TgxComboGrid* List = GetCombo()->GetGrid();
    const Variant Value = List->GetCellValue(List->ValueCol(), ListRow);
    return Value.IsEmpty() || Value.IsNull() ? AnsiString() : Value.AsString();
}

void TgxBaseGrid::SearchBinary(int Lo, int Hi, const AnsiString& Text, int& BestLength, int& Row,
                               bool& Found) {
    const int TextLen = CharLen(Text);
    while (Lo <= Hi) {
        const int Mid = (Lo + Hi) / 2;
        const AnsiString V = ComboRowValue(Mid);
        const int VLen = CharLen(V);
        const int M = std::min(VLen, TextLen);
        const int C = ComboCompare(V, Text, M);
        if (C > 0) {
            Hi = Mid - 1;
        } else if (C < 0 || M < BestLength) {
            Lo = Mid + 1;
        } else {
            Row = Mid;
            Found = true;
            BestLength = M;
            if (TextLen < VLen)
                Hi = Mid - 1; // an earlier row may start with the text too
            else if (TextLen > VLen)
                Lo = Mid + 1; // a later row may match longer
            else
                return; // exact
        }
    }
    if (!Found) Row = std::max(std::min(Lo - 1, GetCombo()->GetGrid()->GetGridRowCount()), 1);
}

void TgxBaseGrid::SearchLinear(int Lo, int Hi, const AnsiString& Text, int& Row, bool& Found) {
    Found = false;
    int Best = 0;
    const int TextLen = CharLen(Text);
    for (int R = Lo; R <= Hi; ++R) {
        const AnsiString V = ComboRowValue(R);
        const int M = std::min(TextLen, CharLen(V));
        if (M > Best && ComboCompare(Text, V, M) == 0) {
            Row = R;
            Found = true;
            Best = M;
            if (M == TextLen) return;
        }
    }
}

int TgxBaseGrid::FindComboRow(const AnsiString& Text, bool WholeText, bool& Found) {
    Found = false;
    TgxComboGrid* List = GetCombo()->GetGrid();
    const int Count = List->GetGridRowCount();
    int Row = List->GetDataRow(List->Row());
    if (Text.empty()) Row = std::min(1, Count);
    if (List->ValueColSorted()) {
        if (!Text.empty()) {
            int BestLength = WholeText ? CharLen(Text) : 1;
            SearchBinary(1, Count, Text, BestLength, Row, Found);
        }
    } else {
        SearchLinear(1, Count, Text, Row, Found);
    }
    return Row;
}

int TgxBaseGrid::FindNextComboRow(const AnsiString& Text, bool& Found) {
    Found = false;
    TgxComboGrid* List = GetCombo()->GetGrid();
    const int Count = List->GetGridRowCount();
    const int Current = List->GetDataRow(List->Row());
    if (List->ValueColSorted()) {
        if (Current >= Count) return FindComboRow(Text, false, Found);
        const AnsiString Next = ComboRowValue(Current + 1);
        if (!Next.empty() && ComboValueEqual(FirstChar(Next), Text)) {
            Found = true;
            return Current + 1;
        }
        return FindComboRow(Text, false, Found);
    }
    int Row = Current;
    SearchLinear(Current + 1, Count, Text, Row, Found);
    if (!Found) SearchLinear(1, Current, Text, Row, Found);
    return Found ? Row : Current;
}

int TgxBaseGrid::FindComboFirstChar(char Key, bool& Found) {
    Found = false;
    const AnsiString K(1, Key);
    const Variant CellValue = CurrentCell()->GetValue();
    const AnsiString T =
        CellValue.IsEmpty() || CellValue.IsNull() ? AnsiString() : CellValue.AsString();
    if (T.empty() || !ComboValueEqual(FirstChar(T), K)) return FindComboRow(K, false, Found);
    TgxComboGrid* List = GetCombo()->GetGrid();
    const int Current = List->GetDataRow(List->Row());
    const AnsiString Cur =
        Current >= 1 && Current <= List->GetGridRowCount() ? ComboRowValue(Current) : AnsiString();
    if (T == Cur) return FindNextComboRow(K, Found);
    const int R = FindComboRow(T, false, Found);
    Found = false;
    const AnsiString V = R >= 1 ? ComboRowValue(R) : AnsiString();
    if (!V.empty() && ComboValueEqual(FirstChar(V), K)) return FindNextComboRow(K, Found);
    return FindComboRow(K, false, Found);
}

int TgxBaseGrid::FindComboString(char Key, bool& Found) {
    Found = false;
    CheckResetComboSearchValue();
    const AnsiString K(1, Key);
    int Row = 0;
    if (!FComboSearchValue.empty()) {
        const AnsiString T = FComboSearchValue + K;
        Row = FindComboRow(T, true, Found);
        const AnsiString V = Found ? ComboRowValue(Row) : AnsiString();
        Found = Found && CharLen(V) >= CharLen(T) && ComboValueEqual(CharPrefix(V, CharLen(T)), T);
        if (Found) {
            FComboSearchValue = T;
        } else if (CharLen(FComboSearchValue) == 1 && ComboValueEqual(FComboSearchValue, K)) {
            Row = FindComboFirstChar(Key, Found);
            if (Found) FComboSearchValue = K;
        }
    } else {
        Row = FindComboRow(K, true, Found);
        if (Found) FComboSearchValue = K;
    }
    FComboSearchTick = GetTickCount();
    return Row;
}

bool TgxBaseGrid::ResetComboSearchValue() {
    const bool Had = !FComboSearchValue.empty();
    FComboSearchValue.clear();
    FComboSearchTick = 0;
    return Had;
}

void TgxBaseGrid::CheckResetComboSearchValue() {
    if (static_cast<std::uint32_t>(GetTickCount() - FComboSearchTick) >= 2000)
        ResetComboSearchValue();
}

void TgxBaseGrid::SetComboRow(int Row) {
    TgxComboGrid* List = GetCombo()->GetGrid();
    if (Row == List->GetDataRow(List->Row())) return;
    const int Display = List->GetDisplayRow(Row);
    List->SetEnablePaint(false);
    try {
        List->SetRow(Display);
        int Top = -1;
        switch (List->AutoSearch()) {
        case asTop:
            Top = Display;
            break;
        case asBottom:
            Top = Display - List->DropDownRows() + 1;
            break;
        case asCenter:
            Top = Display - (List->DropDownRows() - 1) / 2;
            break;
        case asNone:
            break;
        }
        // The list keeps its top row within what it can show.
        if (Top != -1) List->SetTopRow(std::max(Top, List->FixedRows()));
    } catch (...) {
        List->SetEnablePaint(true);
        throw;
    }
    List->SetEnablePaint(true);
}

void TgxBaseGrid::PositionComboRow() {
    if (GetCombo()->GetAutoSearch() == asNone) return;
    const Variant Value = CurrentCell()->GetValue();
    bool Found = false;
    const int Row = FindComboRow(
        Value.IsEmpty() || Value.IsNull() ? AnsiString() : Value.AsString(), false, Found);
    if (Row >= 1) SetComboRow(Row);
}

void TgxBaseGrid::PositionDropDownList(char Key, Variant& Value) {
    Value = Variant();
    TgxComboGrid* List = GetCombo()->GetGrid();
    if (List->AutoSearch() == asNone) return;
    bool Found = false;
    const int Row =
        List->ValueColSorted() ? FindComboString(Key, Found) : FindComboFirstChar(Key, Found);
    if (!Found || Row == 0) return;
    SetComboRow(Row);
    DoComboGetValue(CurrentCell()->GetDataCol(), CurrentCell()->GetDataRow(), Value,
                    List->GetDataRow(List->Row()));
    if (!Value.IsEmpty()) return;
    const AnsiString T = ComboRowValue(Row);
    if (T.empty()) return;
    if (List->ValueColSorted() || ComboValueEqual(FirstChar(T), AnsiString(1, Key)))
        Value = Variant(T);
}

bool TgxBaseGrid::PositionAutoFill(bool OnExit) {
    const int DataCol = CurrentCell()->GetDataCol();
    const int DataRow = CurrentCell()->GetDataRow();
    ComboInit(DataCol, DataRow);
    TgxCombo* Combo = GetCombo();
    if (!Combo->GetAutoFill()) return false;
    if (OnExit && Combo->GetAutoFillConvertCase() != afcOnExit) return false;
    if (Combo->GetAutoSearch() == asNone) return false;
    if (GiveCellControlType(DataCol, DataRow) != ctText) return false;
    const Variant Cur = CurrentCell()->GetValue();
    const AnsiString Text = Cur.IsEmpty() || Cur.IsNull() ? AnsiString() : Cur.AsString();
    if (Text.empty()) return false;
    bool Found = false;
    const int Row = FindComboRow(Text, true, Found);
    if (!Found || Row == 0) return false;
    SetComboRow(Row);
    TgxComboGrid* List = Combo->GetGrid();
    Variant Value;
    DoComboGetValue(DataCol, DataRow, Value, List->GetDataRow(List->Row()));
    if (Value.IsEmpty()) {
        const AnsiString V = ComboRowValue(Row);
        if (!V.empty()) Value = Variant(V);
    }
    SetAutoFillValue(Value, Combo->GetAutoFillConvertCase(), OnExit);
    return true;
}

void TgxBaseGrid::CheckSetAutoFillValue() {
    const int DataCol = CurrentCell()->GetDataCol();
    const int DataRow = CurrentCell()->GetDataRow();
    if (DataCol < 1 || DataRow < 1) return;
    TgxDropDownStyle Style = ddDropDown;
    if (GiveCellControlType(DataCol, DataRow) == ctText &&
        GiveCellButton(DataCol, DataRow, Style) == btCombo && Style == ddDropDown)
        PositionAutoFill(true);
}

void TgxBaseGrid::SetAutoFillValue(const Variant& Value, TgxConvertCase ConvertCase, bool OnExit) {
    if (Value.IsEmpty() || Value.IsNull()) return;
    const Variant Cur = CurrentCell()->GetValue();
    const AnsiString C = Cur.IsEmpty() || Cur.IsNull() ? AnsiString() : Cur.AsString();
    const AnsiString V = Value.AsString();
    const int CLen = CharLen(C);
    const int VLen = CharLen(V);
    if (!ComboValueEqual(C, CharPrefix(V, CLen))) return;
    if (VLen == CLen || OnExit) {
        if (VLen != CLen) return;
        if (VariantEqual(Cur, Value)) return;
        if (!OnExit && ConvertCase != afcOnEdit) return;
    }
    const int SelStart = CurrentCell()->SelStart();
    if (OnExit || ConvertCase == afcOnEdit)
        SetCurrentValue(Variant(V), true, true);
    else
        SetCurrentValue(Variant(C + CharRest(V, CLen)), true, true);
    CurrentCell()->SetSelStart(SelStart);
    if (VLen > CLen) CurrentCell()->SetSelLength(VLen - SelStart);
}

} // namespace grid
