#include "grid/foundation/PictureTree.h"

namespace grid {

TgxPictureNode::~TgxPictureNode() {
    std::vector<std::unique_ptr<TgxPictureNode>> Pending;
    Pending.push_back(std::move(Child));
    Pending.push_back(std::move(Next));
    Pending.push_back(std::move(NextAlternative));
    while (!Pending.empty()) {
        std::unique_ptr<TgxPictureNode> Node = std::move(Pending.back());
        Pending.pop_back();
        if (!Node) continue;
        Pending.push_back(std::move(Node->Child));
        Pending.push_back(std::move(Node->Next));
        Pending.push_back(std::move(Node->NextAlternative));
    }
}

TgxPictureList::TgxPictureList() : FRoot(std::make_unique<TgxPictureNode>()) {
    FRoot->NodeType = pntGroup;
}

int TgxParseStack::Push(int Parent, const TgxPictureNode* Node, int Iteration, int TextPos) {
    FItems.push_back({Parent, Node, Iteration, TextPos});
    return static_cast<int>(FItems.size());
}

void TgxParseStack::Pop() {
    if (!FItems.empty()) FItems.pop_back();
}

} // namespace grid
