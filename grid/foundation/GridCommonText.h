#pragma once
// Small text and number routines the grid, its columns and its in-place
// controls share: XML escaping, byte scans over buffers, accelerator marks,
// splitting at a separator, ";"-separated name lists and a few integer and
// geometry helpers.
#include "platform/gui/Types.h"
#include "platform/rtl/AnsiString.h"

#include <memory>
#include <utility>

class TStringList;

namespace grid {

// Escapes a text for an XML attribute or element: "&", "<", ">", the
// apostrophe and the double quote become entities; everything else is
// copied unchanged.
AnsiString CheckForWhiteSpace(const AnsiString& Text);

// Text with Escape put before every occurrence of Ch.
AnsiString CheckEscapeChars(const AnsiString& Text, char Ch, char Escape);

// First / last occurrence of Ch within the first Length bytes of Buffer, or
// nullptr (always nullptr for a length of 0 or less).
const char* StrNScan(const char* Buffer, char Ch, int Length);
const char* StrRNScan(const char* Buffer, char Ch, int Length);
// As above, but a byte inside a multibyte character never matches.
const char* AnsiStrNScan(const char* Buffer, char Ch, int Length);
const char* AnsiStrRNScan(const char* Buffer, char Ch, int Length);

// Drops the accelerator marks of a caption: every "&" goes and the
// character after it stays (so "&&" leaves one "&"). AccelPos is the
// 1-based position in Result of the first character that followed a single
// "&", or 0.
void TextAccelKey(const AnsiString& Text, AnsiString& Result, int& AccelPos);

// Splits Text at its first Separator: FirstPart gets what stands before it
// and Text keeps what follows. Without a separator FirstPart is the whole
// text and Text becomes empty.
void SeparateFirstPart(AnsiString& Text, AnsiString& FirstPart, char Separator);

inline int CalcMax(int A, int B) {
    return A > B ? A : B;
}
inline int CalcMin(int A, int B) {
    return A < B ? A : B;
}
inline void SwapLongint(int& A, int& B) {
    std::swap(A, B);
}
template <class T> int Sign(T Value) {
    return Value < T{} ? -1 : (T{} < Value ? 1 : 0);
}
// Edges included: a point on the right or bottom edge is inside.
inline bool PointInRect(const TPoint& P, const TRect& R) {
    return P.X >= R.Left && P.X <= R.Right && P.Y >= R.Top && P.Y <= R.Bottom;
}
// Frees the object and clears the reference.
template <class T> void FreeNil(T*& Object) {
    T* Old = Object;
    Object = nullptr;
    delete Old;
}

// The ";"-separated parts of Text, each trimmed, empty ones left out.
std::unique_ptr<TStringList> CreateStringList(const AnsiString& Text);

// Whether Name is in List, without regard to case. An unsorted list is
// sorted first.
bool StringInList(const AnsiString& Name, TStringList* List);

// The text that names a picture in an image list: the name, then each
// number in decimal, joined by the character 1.
AnsiString AddPictureIds(const AnsiString& Name, int First, int Second);
// Takes such a text apart. Both numbers are -1 unless the name is followed
// by them; a part that is not a number raises EConvertError.
void SeparatePictureIds(const AnsiString& Text, AnsiString& Name, int& First, int& Second);

} // namespace grid
