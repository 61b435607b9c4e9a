#include "platform/rtl/StringList.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"

#include <algorithm>
#include <string>

namespace {

const char* const LineBreak = "\r\n";

[[noreturn]] void ListIndexError(int Index) {
    throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
}

[[noreturn]] void SortedListError() {
    throw EStringListError("Operation not allowed on sorted string list");
}

// Blanks and control characters separate items of a delimited text. Bytes of
// 128 and up are text (UTF-8 sequences), so compare unsigned.
bool IsBlank(char C) {
    return static_cast<unsigned char>(C) <= ' ';
}

// The name part of a name=value line; empty when the line has no '='.
AnsiString ExtractName(const AnsiString& S) {
    auto P = S.find('=');
    return P == AnsiString::npos ? AnsiString() : S.substr(0, P);
}

} // namespace

// ---------------------------------------------------------------- TStrings

TObject* TStrings::GetObject(int) const {
    return nullptr;
}

void TStrings::PutObject(int, TObject*) {}

void TStrings::Put(int Index, const AnsiString& S) {
    BeginUpdate();
    try {
        TObject* TempObject = GetObject(Index);
        Delete(Index);
        InsertObject(Index, S, TempObject);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::InsertObject(int Index, const AnsiString& S, TObject* AObject) {
    BeginUpdate();
    try {
        Insert(Index, S);
        PutObject(Index, AObject);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TStrings::Add(const AnsiString& S) {
    int Result = GetCount();
    Insert(Result, S);
    return Result;
}

int TStrings::AddObject(const AnsiString& S, TObject* AObject) {
    int Result = GetCount();
    InsertObject(Result, S, AObject);
    return Result;
}

void TStrings::AddStrings(const TStrings* Strings) {
    if (Strings == nullptr) return;
    // Read the source first: it may be this list, which grows as we add.
    const int N = Strings->GetCount();
    std::vector<std::pair<AnsiString, TObject*>> Items;
    Items.reserve(static_cast<std::size_t>(N));
    for (int I = 0; I < N; ++I)
        Items.emplace_back(Strings->Get(I), Strings->GetObject(I));
    BeginUpdate();
    try {
        for (const auto& [S, O] : Items)
            AddObject(S, O);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::Assign(TPersistent* Source) {
    if (auto* Strings = dynamic_cast<TStrings*>(Source)) {
        Assign(static_cast<const TStrings*>(Strings));
        return;
    }
    TPersistent::Assign(Source);
}

void TStrings::Assign(const TStrings* Source) {
    if (Source == nullptr) throw EConvertError("Cannot assign a nil to a " + ClassName());
    if (Source == this) return;
    BeginUpdate();
    try {
        Clear();
        AddStrings(Source);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

bool TStrings::Equals(const TStrings* Strings) const {
    if (Strings == nullptr) return false;
    const int N = GetCount();
    if (N != Strings->GetCount()) return false;
    for (int I = 0; I < N; ++I)
        if (Get(I) != Strings->Get(I)) return false;
    return true;
}

void TStrings::Exchange(int Index1, int Index2) {
    BeginUpdate();
    try {
        TObject* TempObject = GetObject(Index1);
        AnsiString TempString = Get(Index1);
        Put(Index1, Get(Index2));
        PutObject(Index1, GetObject(Index2));
        Put(Index2, TempString);
        PutObject(Index2, TempObject);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    // Check both ends before the line leaves its place, so a bad target
    // cannot lose it.
    AnsiString TempString = Get(CurIndex);
    if (NewIndex < 0 || NewIndex >= GetCount()) IndexError(NewIndex);
    BeginUpdate();
    try {
        TObject* TempObject = GetObject(CurIndex);
        Delete(CurIndex);
        InsertObject(NewIndex, TempString, TempObject);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TStrings::IndexOf(const AnsiString& S) const {
    const int N = GetCount();
    for (int I = 0; I < N; ++I)
        if (CompareStrings(Get(I), S) == 0) return I;
    return -1;
}

int TStrings::IndexOfName(const AnsiString& Name) const {
    const int N = GetCount();
    for (int I = 0; I < N; ++I) {
        AnsiString S = Get(I);
        auto P = S.find('=');
        if (P != AnsiString::npos && CompareStrings(S.substr(0, P), Name) == 0) return I;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
    const int N = GetCount();
    for (int I = 0; I < N; ++I)
        if (GetObject(I) == AObject) return I;
    return -1;
}

AnsiString TStrings::GetTextStr() const {
    AnsiString Result;
    const int N = GetCount();
    for (int I = 0; I < N; ++I) {
        Result += Get(I);
        Result += LineBreak;
    }
    return Result;
}

void TStrings::SetTextStr(const AnsiString& Value) {
    BeginUpdate();
    try {
        Clear();
        std::size_t P = 0;
        const std::size_t Len = Value.size();
        while (P < Len) {
            std::size_t Start = P;
            while (P < Len && Value[P] != '\r' && Value[P] != '\n')
                ++P;
            Add(Value.substr(Start, P - Start));
            if (P < Len && Value[P] == '\r') ++P;
            if (P < Len && Value[P] == '\n') ++P;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

AnsiString TStrings::GetDelimited(char Delim, char Quote) const {
    const int N = GetCount();
    if (N == 1 && Get(0).empty()) return AnsiString(2, Quote);
    AnsiString Result;
    for (int I = 0; I < N; ++I) {
        AnsiString S = Get(I);
        bool NeedsQuotes = false;
        for (char C : S)
            if (IsBlank(C) || C == Quote || C == Delim) {
                NeedsQuotes = true;
                break;
            }
        if (NeedsQuotes) {
            Result += Quote;
            for (char C : S) {
                if (C == Quote) Result += Quote;
                Result += C;
            }
            Result += Quote;
        } else {
            Result += S;
        }
        if (I < N - 1) Result += Delim;
    }
    return Result;
}

void TStrings::SetDelimited(const AnsiString& Value, char Delim, char Quote) {
    BeginUpdate();
    try {
        Clear();
        const std::size_t Len = Value.size();
        std::size_t P = 0;
        auto SkipBlanks = [&] {
            while (P < Len && IsBlank(Value[P]))
                ++P;
        };
        SkipBlanks();
        while (P < Len) {
            AnsiString S;
            if (Value[P] == Quote) {
                // A doubled quote stands for one; an unclosed quote runs to
                // the end of the text.
                ++P;
                while (P < Len) {
                    if (Value[P] == Quote) {
                        if (P + 1 < Len && Value[P + 1] == Quote) {
                            S += Quote;
                            P += 2;
                            continue;
                        }
                        ++P;
                        break;
                    }
                    S += Value[P++];
                }
            } else {
                std::size_t Start = P;
                while (P < Len && !IsBlank(Value[P]) && Value[P] != Delim)
                    ++P;
                S = Value.substr(Start, P - Start);
            }
            Add(S);
            SkipBlanks();
            if (P < Len && Value[P] == Delim) {
                // A delimiter at the very end still ends an (empty) item.
                if (P + 1 == Len) Add(AnsiString());
                ++P;
                SkipBlanks();
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

AnsiString TStrings::CommaText() const {
    return GetDelimited(',', '"');
}

void TStrings::SetCommaText(const AnsiString& Value) {
    SetDelimited(Value, ',', '"');
}

AnsiString TStrings::DelimitedText() const {
    return GetDelimited(FDelimiter, FQuoteChar);
}

void TStrings::SetDelimitedText(const AnsiString& Value) {
    SetDelimited(Value, FDelimiter, FQuoteChar);
}

AnsiString TStrings::Names(int Index) const {
    return ExtractName(Get(Index));
}

AnsiString TStrings::Values(const AnsiString& Name) const {
    int I = IndexOfName(Name);
    if (I < 0) return AnsiString();
    AnsiString S = Get(I);
    return S.substr(S.find('=') + 1);
}

void TStrings::SetValues(const AnsiString& Name, const AnsiString& Value) {
    int I = IndexOfName(Name);
    if (!Value.empty()) {
        // A new line is added whole: an empty placeholder first would be
        // left behind if the write were refused (as on a sorted list).
        if (I < 0)
            Add(Name + "=" + Value);
        else
            Put(I, Name + "=" + Value);
    } else if (I >= 0) {
        Delete(I);
    }
}

AnsiString TStrings::ValueFromIndex(int Index) const {
    if (Index < 0) return AnsiString();
    AnsiString S = Get(Index);
    auto P = S.find('=');
    return P == AnsiString::npos ? AnsiString() : S.substr(P + 1);
}

void TStrings::SetValueFromIndex(int Index, const AnsiString& Value) {
    if (!Value.empty()) {
        if (Index < 0)
            Add("=" + Value);
        else
            Put(Index, Names(Index) + "=" + Value);
    } else if (Index >= 0) {
        Delete(Index);
    }
}

void TStrings::BeginUpdate() {
    if (FUpdateCount == 0) SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate() {
    // An unmatched EndUpdate must not leave the count below zero, or every
    // later change would go unannounced.
    if (FUpdateCount == 0) return;
    --FUpdateCount;
    if (FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

int TStrings::CompareStrings(const AnsiString& S1, const AnsiString& S2) const {
    return AnsiCompareText(S1, S2);
}

void TStrings::IndexError(int Data) const {
    ListIndexError(Data);
}

// ------------------------------------------------------------- TStringList

TStringList::~TStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
    if (FOwnsObjects)
        for (auto& Item : FList)
            delete Item.FObject;
}

void TStringList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= GetCount()) ListIndexError(Index);
}

AnsiString TStringList::Get(int Index) const {
    CheckIndex(Index);
    return FList[static_cast<std::size_t>(Index)].FString;
}

TObject* TStringList::GetObject(int Index) const {
    CheckIndex(Index);
    return FList[static_cast<std::size_t>(Index)].FObject;
}

void TStringList::Put(int Index, const AnsiString& S) {
    if (FSorted) SortedListError();
    CheckIndex(Index);
    Changing();
    FList[static_cast<std::size_t>(Index)].FString = S;
    Changed();
}

void TStringList::PutObject(int Index, TObject* AObject) {
    CheckIndex(Index);
    Changing();
    FList[static_cast<std::size_t>(Index)].FObject = AObject;
    Changed();
}

void TStringList::InsertItem(int Index, const AnsiString& S, TObject* AObject) {
    Changing();
    FList.insert(FList.begin() + Index, TStringItem{S, AObject});
    Changed();
}

void TStringList::Insert(int Index, const AnsiString& S) {
    InsertObject(Index, S, nullptr);
}

void TStringList::InsertObject(int Index, const AnsiString& S, TObject* AObject) {
    if (FSorted) SortedListError();
    if (Index < 0 || Index > GetCount()) ListIndexError(Index);
    InsertItem(Index, S, AObject);
}

void TStringList::Delete(int Index) {
    CheckIndex(Index);
    Changing();
    TObject* Obj = FList[static_cast<std::size_t>(Index)].FObject;
    FList.erase(FList.begin() + Index);
    if (FOwnsObjects) delete Obj;
    Changed();
}

void TStringList::Clear() {
    if (FList.empty()) return;
    Changing();
    std::vector<TStringItem> Old;
    Old.swap(FList);
    if (FOwnsObjects)
        for (auto& Item : Old)
            delete Item.FObject;
    Changed();
}

int TStringList::Add(const AnsiString& S) {
    return AddObject(S, nullptr);
}

int TStringList::AddObject(const AnsiString& S, TObject* AObject) {
    int Result = GetCount();
    if (FSorted && Find(S, Result)) {
        switch (FDuplicates) {
        case TDuplicates::dupIgnore:
            return Result;
        case TDuplicates::dupError:
            throw EStringListError("String list does not allow duplicates");
        case TDuplicates::dupAccept:
            break;
        }
    }
    InsertItem(Result, S, AObject);
    return Result;
}

void TStringList::Exchange(int Index1, int Index2) {
    if (FSorted) SortedListError();
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    std::swap(FList[static_cast<std::size_t>(Index1)], FList[static_cast<std::size_t>(Index2)]);
    Changed();
}

void TStringList::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    // Moving a line would break the order a sorted list keeps.
    if (FSorted) SortedListError();
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    Changing();
    TStringItem Item = std::move(FList[static_cast<std::size_t>(CurIndex)]);
    FList.erase(FList.begin() + CurIndex);
    FList.insert(FList.begin() + NewIndex, std::move(Item));
    Changed();
}

int TStringList::IndexOf(const AnsiString& S) const {
    if (!FSorted) return TStrings::IndexOf(S);
    int Result = -1;
    return Find(S, Result) ? Result : -1;
}

bool TStringList::Find(const AnsiString& S, int& Index) const {
    bool Result = false;
    int L = 0;
    int H = GetCount() - 1;
    while (L <= H) {
        int I = L + (H - L) / 2;
        int C = CompareStrings(FList[static_cast<std::size_t>(I)].FString, S);
        if (C < 0) {
            L = I + 1;
        } else {
            H = I - 1;
            if (C == 0) Result = true;
        }
    }
    Index = L;
    return Result;
}

void TStringList::SortBy(const TStringListSortCompare& Compare) {
    if (GetCount() < 2) return;
    Changing();
    rtl_detail::QuickSortRange(
        0, GetCount() - 1, [&](int I, int J) { return Compare(this, I, J); },
        [&](int I, int J) {
            std::swap(FList[static_cast<std::size_t>(I)], FList[static_cast<std::size_t>(J)]);
        });
    Changed();
}

void TStringList::Sort() {
    CustomSort([](TStringList* List, int I, int J) {
        return List->CompareStrings(List->FList[static_cast<std::size_t>(I)].FString,
                                    List->FList[static_cast<std::size_t>(J)].FString);
    });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
    if (!FSorted) SortBy(Compare);
}

void TStringList::SetSorted(bool Value) {
    if (FSorted == Value) return;
    if (Value) Sort();
    FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
    if (FCaseSensitive == Value) return;
    FCaseSensitive = Value;
    // A sorted list must be put in the new order, or Find would search it
    // by a rule it is not sorted by.
    if (FSorted) {
        FSorted = false;
        try {
            Sort();
        } catch (...) {
            FSorted = true;
            throw;
        }
        FSorted = true;
    }
}

void TStringList::SetUpdateState(bool Updating) {
    if (Updating)
        Changing();
    else
        Changed();
}

int TStringList::CompareStrings(const AnsiString& S1, const AnsiString& S2) const {
    return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

// ------------------------------------------------------------------ Files

void TStrings::LoadFromFile(const AnsiString& FileName) {
    TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&Stream);
}

void TStrings::SaveToFile(const AnsiString& FileName) const {
    // The memory stream saves through a temporary file, so a failed save
    // leaves the previous file as it was.
    TMemoryStream Stream;
    SaveToStream(&Stream);
    Stream.SaveToFile(FileName);
}

void TStrings::LoadFromStream(TStream* Stream) {
    // Read everything before touching the lines: a failed read changes nothing.
    AnsiString S;
    const std::int64_t Position = Stream->GetPosition();
    const std::int64_t Size = Stream->GetSize();
    if (Position >= 0 && Size >= 0) {
        // A stream that knows its size must deliver all of it; a short read
        // raises rather than loading part of the text.
        std::int64_t Remaining = std::max<std::int64_t>(Size - Position, 0);
        S.resize(static_cast<std::size_t>(Remaining));
        char* Dest = S.data();
        while (Remaining > 0) {
            int N = static_cast<int>(std::min<std::int64_t>(Remaining, 1 << 30));
            Stream->ReadBuffer(Dest, N);
            Dest += N;
            Remaining -= N;
        }
    } else {
        char Buffer[65536];
        for (;;) {
            int N = Stream->Read(Buffer, static_cast<int>(sizeof Buffer));
            if (N <= 0) break;
            S.append(Buffer, static_cast<std::size_t>(N));
        }
    }
    BeginUpdate();
    try {
        SetTextStr(S);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::SaveToStream(TStream* Stream) const {
    const AnsiString S = GetTextStr();
    constexpr std::size_t Chunk = 1u << 30;
    for (std::size_t P = 0; P < S.size(); P += Chunk) {
        std::size_t N = std::min(Chunk, S.size() - P);
        Stream->WriteBuffer(S.data() + P, static_cast<int>(N));
    }
}
