#pragma once
// TStrings: the abstract list of text lines, each with an optional object
// reference, and the text forms every list shares (Text, CommaText,
// DelimitedText, name=value lines). TStringList: the list that stores its
// lines itself, optionally kept sorted.
//
// Properties are read through a method of the property's name and written
// through the framework's setter: Strings(i)/Put, Objects(i)/PutObject,
// Text()/SetText, Sorted()/SetSorted, ...
#include "platform/rtl/Object.h"
#include "platform/rtl/Persistent.h"

#include <functional>
#include <vector>

class TStream;

class TStrings : public TPersistent {
public:
    AnsiString ClassName() const override { return "TStrings"; }

    // The storage a descendant provides.
    virtual AnsiString Get(int Index) const = 0;
    virtual int GetCount() const = 0;
    virtual TObject* GetObject(int Index) const;
    virtual void Put(int Index, const AnsiString& S);
    virtual void PutObject(int Index, TObject* AObject);
    virtual void Insert(int Index, const AnsiString& S) = 0;
    virtual void InsertObject(int Index, const AnsiString& S, TObject* AObject);
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;

    int Count() const { return GetCount(); }
    AnsiString Strings(int Index) const { return Get(Index); }
    AnsiString operator[](int Index) const { return Get(Index); }
    TObject* Objects(int Index) const { return GetObject(Index); }

    virtual int Add(const AnsiString& S);
    virtual int AddObject(const AnsiString& S, TObject* AObject);
    void Append(const AnsiString& S) { Add(S); }
    // Adds every line of Strings with its object.
    virtual void AddStrings(const TStrings* Strings);
    // Replaces the lines and objects with those of Source.
    virtual void Assign(const TStrings* Source);
    // Copies another TStrings; any other source raises the assignment error.
    void Assign(TPersistent* Source) override;
    // True when both lists hold the same lines, compared exactly.
    bool Equals(const TStrings* Strings) const;
    // Whether a form stream keeps the lines as the "Strings" property; a
    // list that stores itself under a property of its own says no.
    virtual bool StoresStrings() const { return true; }
    virtual void Exchange(int Index1, int Index2);
    virtual void Move(int CurIndex, int NewIndex);
    virtual int IndexOf(const AnsiString& S) const;
    int IndexOfName(const AnsiString& Name) const;
    int IndexOfObject(const TObject* AObject) const;

    // Lines with a line break after each; reading back splits at CR, LF or CR LF.
    AnsiString Text() const { return GetTextStr(); }
    AnsiString GetText() const { return GetTextStr(); }
    void SetText(const AnsiString& Value) { SetTextStr(Value); }

    AnsiString CommaText() const;
    void SetCommaText(const AnsiString& Value);
    AnsiString DelimitedText() const;
    void SetDelimitedText(const AnsiString& Value);
    char Delimiter() const { return FDelimiter; }
    void SetDelimiter(char Value) { FDelimiter = Value; }
    char QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(char Value) { FQuoteChar = Value; }

    // Name=value lines.
    AnsiString Names(int Index) const;
    AnsiString Values(const AnsiString& Name) const;
    // An empty value deletes the name's line.
    void SetValues(const AnsiString& Name, const AnsiString& Value);
    AnsiString ValueFromIndex(int Index) const;
    void SetValueFromIndex(int Index, const AnsiString& Value);

    // Changes between the outermost BeginUpdate and EndUpdate notify once.
    void BeginUpdate();
    void EndUpdate();

    void LoadFromFile(const AnsiString& FileName);
    void SaveToFile(const AnsiString& FileName) const;
    virtual void LoadFromStream(TStream* Stream);
    virtual void SaveToStream(TStream* Stream) const;

protected:
    virtual AnsiString GetTextStr() const;
    virtual void SetTextStr(const AnsiString& Value);
    // Called with true when the outermost update begins, false when it ends.
    virtual void SetUpdateState(bool Updating);
    // The order and equality used by IndexOf, IndexOfName and sorting.
    virtual int CompareStrings(const AnsiString& S1, const AnsiString& S2) const;
    int UpdateCount() const { return FUpdateCount; }
    // Raises EStringListError with "<Text> (<Data>)".
    [[noreturn]] void IndexError(int Data) const;

private:
    AnsiString GetDelimited(char Delim, char Quote) const;
    void SetDelimited(const AnsiString& Value, char Delim, char Quote);

    char FDelimiter = ',';
    char FQuoteChar = '"';
    int FUpdateCount = 0;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;

// Returns < 0, 0 or > 0 as the line at Index1 sorts before, with or after the
// line at Index2.
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStringList : public TStrings {
public:
    TStringList() = default;
    // With OwnsObjects the list deletes the objects of lines it deletes.
    explicit TStringList(bool OwnsObjects) : FOwnsObjects(OwnsObjects) {}
    ~TStringList() override;
    AnsiString ClassName() const override { return "TStringList"; }

    AnsiString Get(int Index) const override;
    int GetCount() const override { return static_cast<int>(FList.size()); }
    TObject* GetObject(int Index) const override;
    void Put(int Index, const AnsiString& S) override;
    void PutObject(int Index, TObject* AObject) override;
    void Insert(int Index, const AnsiString& S) override;
    void InsertObject(int Index, const AnsiString& S, TObject* AObject) override;
    void Delete(int Index) override;
    void Clear() override;
    int Add(const AnsiString& S) override;
    int AddObject(const AnsiString& S, TObject* AObject) override;
    void Exchange(int Index1, int Index2) override;
    void Move(int CurIndex, int NewIndex) override;
    int IndexOf(const AnsiString& S) const override;

    // Binary search of a sorted list: true when S is there, with Index at its
    // first occurrence; otherwise Index is where S would be inserted.
    virtual bool Find(const AnsiString& S, int& Index) const;
    // Both do nothing on a list that is kept sorted (it already is).
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare& Compare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    void SetUpdateState(bool Updating) override;
    int CompareStrings(const AnsiString& S1, const AnsiString& S2) const override;
    virtual void Changed();
    virtual void Changing();

private:
    struct TStringItem {
        AnsiString FString;
        TObject* FObject = nullptr;
    };

    void CheckIndex(int Index) const;
    void InsertItem(int Index, const AnsiString& S, TObject* AObject);
    void SortBy(const TStringListSortCompare& Compare);

    std::vector<TStringItem> FList;
    TDuplicates FDuplicates = TDuplicates::dupIgnore;
    bool FSorted = false;
    bool FCaseSensitive = false;
    bool FOwnsObjects = false;
};
