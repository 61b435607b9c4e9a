#pragma once
// The parsed form of an edit-mask picture and the working records of the
// matcher: the node tree, the parse stack of the backtracking search, the
// option set that steers a run and the candidate-text record.
#include "platform/classes/SmallSet.h"
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Exceptions.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace grid {

// The one exception the mask language raises.
RTL_DECLARE_EXCEPTION(EgxMaskError, Exception);

// Streamed nowhere, but the ordinals are part of the tree's description.
enum class TgxPictureNodeType : std::uint8_t {
    pntNone,
    pntGroup,
    pntLiteralChars,
    pntMaskChars,
    pntCase,
    pntRange,
};
using enum TgxPictureNodeType;

// One item of the picture. A node owns its child, the next item and the next
// alternative; freeing a node frees everything reachable from it.
class TgxPictureNode {
public:
    TgxPictureNode() = default;
    TgxPictureNode(const TgxPictureNode&) = delete;
    TgxPictureNode& operator=(const TgxPictureNode&) = delete;
    // Frees the reachable nodes without recursion, so a long picture can't
    // exhaust the stack on the way out.
    ~TgxPictureNode();

    TgxPictureNodeType NodeType = pntNone;
    std::int32_t Count = 1; // -1: no upper bound
    bool Optional = false;
    bool Negate = false;
    std::int32_t Pos = 0;       // 1-based picture position of the item
    std::int32_t RangeHigh = 0; // range only: position of the upper bound
    std::int32_t Len = 0;       // picture characters the item covers
    std::unique_ptr<TgxPictureNode> Child;
    std::unique_ptr<TgxPictureNode> Next;
    std::unique_ptr<TgxPictureNode> NextAlternative;
};

// The parsed picture: a root group (count 1, required) around the top-level items.
class TgxPictureList {
public:
    TgxPictureList();
    TgxPictureNode* Root() const { return FRoot.get(); }

private:
    std::unique_ptr<TgxPictureNode> FRoot;
};

// The path of the search: which node is being matched in which iteration,
// under which enclosing entry, and where in the text it began.
struct TgxParseEntry {
    std::int32_t Parent = 0; // entry number of the enclosing group, 0 = none
    const TgxPictureNode* Node = nullptr;
    std::int32_t Iteration = 0;
    std::int32_t TextPos = 0;
};

class TgxParseStack {
public:
    // Returns the 1-based number of the new entry.
    int Push(int Parent, const TgxPictureNode* Node, int Iteration, int TextPos);
    void Pop();
    void Reset() { FItems.clear(); }
    int Count() const { return static_cast<int>(FItems.size()); }
    // Entry K (1-based); K must be between 1 and Count.
    const TgxParseEntry& Item(int K) const { return FItems[K - 1]; }

private:
    std::vector<TgxParseEntry> FItems;
};

// Options of a matching run. As a 16-bit word each is the bit 1 shl its ordinal.
enum class TgxMaskOption : std::uint8_t {
    moNone, // never set; stands for "no case rule"
    moUpper,
    moOptUpper,
    moLower,
    moOptLower,
    moFullCompare,
    moConvertInput,
    moInsertLiteral,
    moCheckUnique,
};
using enum TgxMaskOption;
using TgxMaskOptions = SmallSet<TgxMaskOption>;

// The candidate text and what a run found in it.
struct TgxMaskInput {
    AnsiString Text;
    std::int32_t Pos = 1;
    std::int32_t InputPos = 0;
    std::int32_t InputLen = 0;
    AnsiString Literals;
    AnsiString FoundLiterals;
    AnsiString CommonLiterals;
    AnsiString FoundInput;
};

// The text-case rule of a mask definition.
enum class TgxCaseType : std::uint8_t { cstNone, cstUpper, cstLower, cstSentence, cstTitle };
using enum TgxCaseType;

} // namespace grid
