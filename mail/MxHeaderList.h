#pragma once
// The header block of a message as a string list: one entry per line, a
// folded header's continuation lines as entries of their own that begin
// with a space or a TAB.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/StringList.h"

#include <vector>

namespace mail {

class TMxHeaderList : public TStringList {
public:
    TMxHeaderList();
    AnsiString ClassName() const override { return "TMxHeaderList"; }

    // Appends each line of AStrings with its first "=" turned into Separator.
    void AddEqualsLines(const TStrings* AStrings);
    // The line's text before the first ":" (upper-cased unless
    // CaseSensitiveNames); empty when there is none.
    AnsiString NameAt(int AIndex) const;
    // The first line whose name equals AName without regard to case, or -1.
    int FindName(const AnsiString& AName) const;
    // The value of the line at AIndex with its continuations joined; empty
    // for an index out of range.
    AnsiString ValueAt(int AIndex) const;
    AnsiString ValueOf(const AnsiString& AName) const;
    // Replaces (or appends) the header; an empty value removes it.
    void SetValueOf(const AnsiString& AName, const AnsiString& AValue);
    // Deletes the continuation lines that follow AIndex.
    void DeleteContinuations(int AIndex);
    // The pieces of ALine folded at LineLimit.
    std::vector<AnsiString> WrapLine(const AnsiString& ALine) const;
    // Folds ALine into the lines from AIndex on: the last piece replaces the
    // line at AIndex (or is appended when AIndex is Count), the earlier
    // pieces go in before it.
    void WrapAndInsert(const AnsiString& ALine, int AIndex);

    AnsiString Separator = ": ";
    bool CaseSensitiveNames = false;
    bool JoinContinuations = true;
    bool SplitLongLines = true;
    int LineLimit = 78;

private:
    bool IsContinuation(int AIndex) const;
};

} // namespace mail
