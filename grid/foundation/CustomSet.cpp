#include "grid/foundation/CustomSet.h"

#include <algorithm>
#include <functional>

namespace grid {

namespace {

TgxSetNode*& Side(TgxSetNode* Node, int Direction) {
    return Direction < 0 ? Node->Left : Node->Right;
}

// A is heavy on side D; its child B on that side takes its place.
TgxSetNode* RotateSingle(TgxSetNode* A, int D) {
    TgxSetNode* B = Side(A, D);
    Side(A, D) = Side(B, -D);
    Side(B, -D) = A;
    if (B->Balance != 0) {
        A->Balance = 0;
        B->Balance = 0;
    } else { // only during removal: the height stays
        A->Balance = static_cast<std::int8_t>(D);
        B->Balance = static_cast<std::int8_t>(-D);
    }
    return B;
}

// A is heavy on side D and its child B leans the other way: B's inner child
// G takes A's place and shares its subtrees out to A and B.
TgxSetNode* RotateDouble(TgxSetNode* A, int D) {
    TgxSetNode* B = Side(A, D);
    TgxSetNode* G = Side(B, -D);
    Side(B, -D) = Side(G, D);
    Side(G, D) = B;
    Side(A, D) = Side(G, -D);
    Side(G, -D) = A;
    if (G->Balance == D) {
        A->Balance = static_cast<std::int8_t>(-D);
        B->Balance = 0;
    } else if (G->Balance == 0) {
        A->Balance = 0;
        B->Balance = 0;
    } else {
        A->Balance = 0;
        B->Balance = static_cast<std::int8_t>(D);
    }
    G->Balance = 0;
    return G;
}

} // namespace

void TgxSetNode::Assign(const TgxSetNode& Source) {
    Left = nullptr;
    Right = nullptr;
    Balance = Source.Balance;
}

bool TgxSetNode::Release(bool /*Dispose*/) {
    delete this;
    return false;
}

int TgxNodeStack::Push(TgxSetNode* Node, std::int8_t Direction) {
    FItems.push_back({Node, Direction});
    return Top();
}

TgxNodeStack::TEntry TgxNodeStack::Pop() {
    if (FItems.empty()) return {};
    TEntry Entry = FItems.back();
    FItems.pop_back();
    return Entry;
}

TgxNodeStack::TEntry TgxNodeStack::GetItem(int Index) const {
    if (Index < 1 || Index > Top()) return {};
    return FItems[Index - 1];
}

void TgxNodeStack::Replace(int Index, TgxSetNode* Node, std::int8_t Direction) {
    if (Index < 1 || Index > Top()) return;
    FItems[Index - 1] = {Node, Direction};
}

TgxSetList::TgxSetList(int Count) : FItems(std::max(Count, 0), nullptr) {}

void* TgxSetList::GetItems(int Index) const {
    return Index >= 1 && Index <= Count() ? FItems[Index - 1] : nullptr;
}

void TgxSetList::SetItems(int Index, void* Value) {
    if (Index >= 1 && Index <= Count()) FItems[Index - 1] = Value;
}

TgxCustomSet::~TgxCustomSet() {
    Clear();
}

void TgxCustomSet::ReleaseTree(TgxSetNode* Node) {
    if (!Node) return;
    ReleaseTree(Node->Left);
    ReleaseTree(Node->Right);
    Node->Release(true);
}

void TgxCustomSet::Clear() {
    TgxSetNode* Root = FRoot;
    FRoot = nullptr;
    FCount = 0;
    FStack.Reset();
    ReleaseTree(Root);
}

TgxSetNode* TgxCustomSet::CopyNodes(TgxSetNode* Node) {
    if (!Node) return nullptr;
    TgxSetNode* Copy = NewNode(Node->Value());
    Copy->Assign(*Node);
    ++FCount;
    try {
        Copy->Left = CopyNodes(Node->Left);
        Copy->Right = CopyNodes(Node->Right);
    } catch (...) {
        // Whatever was copied below this node goes with it.
        std::function<int(TgxSetNode*)> Size = [&Size](TgxSetNode* N) {
            return N ? 1 + Size(N->Left) + Size(N->Right) : 0;
        };
        FCount -= Size(Copy);
        ReleaseTree(Copy);
        throw;
    }
    return Copy;
}

void TgxCustomSet::Assign(const TgxCustomSet& Source) {
    ++FAssigning;
    try {
        TgxSetNode* Copy = CopyNodes(Source.FRoot);
        FRoot = Copy;
    } catch (...) {
        --FAssigning;
        throw;
    }
    --FAssigning;
}

void TgxCustomSet::LinkSubtree(TgxSetNode* Parent, std::int8_t Direction, TgxSetNode* Subtree) {
    if (Parent)
        Side(Parent, Direction) = Subtree;
    else
        FRoot = Subtree;
}

TgxSetNode* TgxCustomSet::AddNode(const void* KeyPointer) {
    if (!FRoot) {
        FRoot = NewNode(KeyPointer);
        FCount = 1;
        return FRoot;
    }
    // The critical node is the deepest one on the path that leans already:
    // only there can the insertion unbalance the tree.
    TgxSetNode* Critical = FRoot;
    TgxSetNode* CriticalParent = nullptr;
    TgxSetNode* Parent = nullptr;
    TgxSetNode* P = FRoot;
    std::uint8_t C = gxKeyEqual;
    while (P) {
        C = P->Compare(this, KeyPointer);
        if (C == gxKeyEqual) return P;
        if (P->Balance != 0) {
            Critical = P;
            CriticalParent = Parent;
        }
        Parent = P;
        P = C == gxKeySmaller ? P->Left : P->Right;
    }
    TgxSetNode* Node = NewNode(KeyPointer);
    ++FCount;
    if (C == gxKeySmaller)
        Parent->Left = Node;
    else
        Parent->Right = Node;

    const int D = Critical->Compare(this, KeyPointer) == gxKeyLarger ? 1 : -1;
    for (TgxSetNode* Q = Side(Critical, D); Q != Node;) {
        if (Q->Compare(this, KeyPointer) == gxKeyLarger) {
            Q->Balance = 1;
            Q = Q->Right;
        } else {
            Q->Balance = -1;
            Q = Q->Left;
        }
    }
    if (Critical->Balance == 0) {
        Critical->Balance = static_cast<std::int8_t>(D);
    } else if (Critical->Balance == -D) {
        Critical->Balance = 0;
    } else {
        TgxSetNode* Top =
            Side(Critical, D)->Balance == D ? RotateSingle(Critical, D) : RotateDouble(Critical, D);
        if (CriticalParent)
            LinkSubtree(CriticalParent, CriticalParent->Left == Critical ? -1 : 1, Top);
        else
            FRoot = Top;
    }
    return Node;
}

TgxSetNode* TgxCustomSet::GetNode(TgxSetNode* Node, const void* KeyPointer) const {
    while (Node) {
        const std::uint8_t C = Node->CompareKey(this, KeyPointer);
        if (C == gxKeyEqual) return Node;
        Node = C == gxKeySmaller ? Node->Left : Node->Right;
    }
    return nullptr;
}

TgxSetNode* TgxCustomSet::RemoveNode(const void* KeyPointer) {
    FStack.Reset();
    TgxSetNode* Found = FRoot;
    while (Found) {
        const std::uint8_t C = Found->CompareKey(this, KeyPointer);
        if (C == gxKeyEqual) break;
        const std::int8_t Direction = C == gxKeySmaller ? -1 : 1;
        FStack.Push(Found, Direction);
        Found = Side(Found, Direction);
    }
    if (!Found) return nullptr;

    // A node with two children gives way to its in-order successor.
    TgxSetNode* Unlinked = Found;
    int FoundIndex = 0;
    if (Found->Left && Found->Right) {
        FoundIndex = FStack.Push(Found, 1);
        Unlinked = Found->Right;
        while (Unlinked->Left) {
            FStack.Push(Unlinked, -1);
            Unlinked = Unlinked->Left;
        }
    }
    TgxSetNode* Child = Unlinked->Left ? Unlinked->Left : Unlinked->Right;
    const TgxNodeStack::TEntry Above = FStack.GetItem(FStack.Top());
    LinkSubtree(Above.Node, Above.Direction, Child);
    --FCount;

    if (Unlinked != Found) {
        Unlinked->Left = Found->Left;
        Unlinked->Right = Found->Right;
        Unlinked->Balance = Found->Balance;
        const TgxNodeStack::TEntry FoundParent = FStack.GetItem(FoundIndex - 1);
        LinkSubtree(FoundParent.Node, FoundParent.Direction, Unlinked);
        FStack.Replace(FoundIndex, Unlinked, 1);
    }

    // Walk back up while the subtree just shortened changes its parent's height.
    while (FStack.Top() > 0) {
        const TgxNodeStack::TEntry Entry = FStack.Pop();
        TgxSetNode* N = Entry.Node;
        const int S = Entry.Direction;
        if (N->Balance == 0) {
            N->Balance = static_cast<std::int8_t>(-S);
            break;
        }
        if (N->Balance == S) {
            N->Balance = 0;
            continue;
        }
        const int D = -S;
        const int ChildBalance = Side(N, D)->Balance;
        TgxSetNode* Top =
            ChildBalance != 0 && ChildBalance != D ? RotateDouble(N, D) : RotateSingle(N, D);
        const TgxNodeStack::TEntry Parent = FStack.GetItem(FStack.Top());
        LinkSubtree(Parent.Node, Parent.Direction, Top);
        if (ChildBalance == 0) break;
    }
    Found->Left = nullptr;
    Found->Right = nullptr;
    return Found;
}

std::unique_ptr<TgxSetList> TgxCustomSet::List() const {
    auto Result = std::make_unique<TgxSetList>(FCount);
    int Index = 0;
    std::function<void(TgxSetNode*)> Walk = [&](TgxSetNode* Node) {
        if (!Node) return;
        Walk(Node->Left);
        Result->SetItems(++Index, Node->Value());
        Walk(Node->Right);
    };
    Walk(FRoot);
    return Result;
}

int TgxCustomSet::CheckHeight() const {
    std::function<int(const TgxSetNode*)> Height = [&](const TgxSetNode* Node) {
        return Node ? 1 + std::max(Height(Node->Left), Height(Node->Right)) : 0;
    };
    return Height(FRoot);
}

bool TgxCustomSet::CheckBalance() const {
    bool Balanced = true;
    std::function<int(const TgxSetNode*)> Height = [&](const TgxSetNode* Node) {
        if (!Node) return 0;
        const int L = Height(Node->Left);
        const int R = Height(Node->Right);
        if (R - L > 1 || L - R > 1) Balanced = false;
        return 1 + std::max(L, R);
    };
    Height(FRoot);
    return Balanced;
}

} // namespace grid
