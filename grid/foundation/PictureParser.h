#pragma once
// Reads an edit-mask picture into its node tree.
#include "grid/foundation/PictureTree.h"

#include <functional>
#include <memory>

namespace grid {

// Pictures nest groups this deep at most; a deeper bracket is refused as an
// invalid character, so a hostile picture can't exhaust the stack.
inline constexpr int MaxPictureGroupDepth = 256;

// Repeat counts multiply what the matcher may have to try: an item counted
// n times inside a group counted m times can be tried n * m ways from each
// text position. A picture whose items add up to more than this is refused
// when it is set, so that matching stays bounded by the text's length.
inline constexpr long long MaxPictureRepeats = 1000;

class TgxPictureParser {
public:
    // Raise throws the finished message (the caller adds the mask's origin);
    // it must not return.
    using TRaise = std::function<void(const AnsiString& Message)>;

    TgxPictureParser(const AnsiString& Picture, const AnsiString& MaskName, TRaise Raise);

    // The whole picture; a top-level ',' ends it. Raises on a syntax error,
    // freeing what was built.
    std::unique_ptr<TgxPictureList> Parse();

    static bool IsSpecialChar(char C);
    static bool IsMaskChar(char C);

private:
    std::unique_ptr<TgxPictureNode> GetNextAlternative(int& P, char Closing);
    std::unique_ptr<TgxPictureNode> GetNextItem(int& P);
    std::unique_ptr<TgxPictureNode> GetGroup(int& P);
    int GetItemCount(int& P);
    bool IsRange(int P, int& Low, int& High, bool& Negate, int& Start, int& End) const;
    bool ReadRangeBound(int& P, int& Bound) const;
    int PictureCharCount(int P);
    char At(int P) const { return FPicture[P - 1]; }

    [[noreturn]] void ErrorUnexpectedEnd();
    [[noreturn]] void ErrorInvalidChar(int P);
    [[noreturn]] void ErrorExpected(char Closing, int P);
    [[noreturn]] void ErrorTooCostly(int P);
    [[noreturn]] void Fail(const AnsiString& Message);

    const AnsiString& FPicture;
    int FLen;
    AnsiString FMaskName;
    TRaise FRaise;
    int FDepth = 0;
    // The product of the counts of the groups around the item being read,
    // and the sum over the items read so far of their count times that.
    long long FScale = 1;
    long long FRepeats = 0;
};

} // namespace grid
