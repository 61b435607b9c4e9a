#pragma once
// The height-balanced (AVL) search tree every keyed collection of the grid
// library is built on. A node class knows how to compare a key with itself;
// a set class knows which node class to make. Keys are unique.
#include "platform/rtl/Object.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace grid {

class TgxCustomSet;

// Results of comparing a key with a node: go left, found, go right.
inline constexpr std::uint8_t gxKeySmaller = 0;
inline constexpr std::uint8_t gxKeyEqual = 1;
inline constexpr std::uint8_t gxKeyLarger = 2;

class TgxSetNode {
public:
    explicit TgxSetNode(const void* /*KeyPointer*/) {}
    TgxSetNode(const TgxSetNode&) = delete;
    TgxSetNode& operator=(const TgxSetNode&) = delete;
    virtual ~TgxSetNode() = default;

    // Takes Source's balance; the copy's subtrees are linked by the caller.
    virtual void Assign(const TgxSetNode& Source);
    // Frees the node (and whatever it owns); the result is always false.
    virtual bool Release(bool Dispose);
    // How the key relates to this node (gxKeySmaller/Equal/Larger). Compare
    // takes the key a node was made from; CompareKey the key a lookup gives,
    // which for most node kinds is the same thing. Both must agree on order.
    virtual std::uint8_t Compare(const TgxCustomSet* Set, const void* KeyPointer) const = 0;
    virtual std::uint8_t CompareKey(const TgxCustomSet* Set, const void* KeyPointer) const {
        return Compare(Set, KeyPointer);
    }
    // The stored value, or nullptr.
    virtual void* Value() { return nullptr; }

    TgxSetNode* Left = nullptr;
    TgxSetNode* Right = nullptr;
    std::int8_t Balance = 0; // height of the right subtree minus the left one
};

// The path of a removal: each node passed and the side taken from it.
class TgxNodeStack {
public:
    struct TEntry {
        TgxSetNode* Node = nullptr;
        std::int8_t Direction = 0; // -1 went left, +1 went right
    };

    int Push(TgxSetNode* Node, std::int8_t Direction);
    TEntry Pop();
    TEntry GetItem(int Index) const; // 1-based; {nullptr, 0} outside the stack
    void Replace(int Index, TgxSetNode* Node, std::int8_t Direction);
    void Reset() { FItems.clear(); }
    int Top() const { return static_cast<int>(FItems.size()); }

private:
    std::vector<TEntry> FItems;
};

// A fixed array of Count values indexed 1..Count.
class TgxSetList {
public:
    explicit TgxSetList(int Count);
    int Count() const { return static_cast<int>(FItems.size()); }
    void* GetItems(int Index) const;       // nullptr outside 1..Count
    void SetItems(int Index, void* Value); // ignored outside 1..Count

private:
    std::vector<void*> FItems;
};

class TgxCustomSet : public TObject {
public:
    TgxCustomSet() = default;
    ~TgxCustomSet() override;
    AnsiString ClassName() const override { return "TgxCustomSet"; }

    // Copies Source node by node; meant for an empty set (new or cleared).
    virtual void Assign(const TgxCustomSet& Source);
    virtual void Clear();

    int Count() const { return FCount; }
    TgxSetNode* Root() const { return FRoot; }
    bool GetAssigning() const { return FAssigning > 0; }

    // The node holding the key, inserted when absent.
    TgxSetNode* AddNode(const void* KeyPointer);
    // Searches from Node (normally the root) by CompareKey.
    TgxSetNode* GetNode(TgxSetNode* Node, const void* KeyPointer) const;
    // Unlinks the node with that key and hands it to the caller; nullptr when absent.
    TgxSetNode* RemoveNode(const void* KeyPointer);

    // Every value in ascending key order.
    std::unique_ptr<TgxSetList> List() const;

    // Checking aids: the height (empty 0, one node 1) and whether every
    // node's subtrees differ in height by less than 2.
    int CheckHeight() const;
    bool CheckBalance() const;

protected:
    virtual TgxSetNode* NewNode(const void* KeyPointer) = 0;
    virtual TgxSetNode* CopyNodes(TgxSetNode* Node);

private:
    void LinkSubtree(TgxSetNode* Parent, std::int8_t Direction, TgxSetNode* Subtree);
    void ReleaseTree(TgxSetNode* Node);

    int FCount = 0;
    TgxSetNode* FRoot = nullptr;
    TgxNodeStack FStack;
    int FAssigning = 0;
};

} // namespace grid
