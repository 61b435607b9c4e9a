#include "grid/foundation/OrderedSets.h"

#include "platform/rtl/Exceptions.h"

#include <cmath>

namespace grid {

namespace {

template <class T> std::uint8_t Order(const T& Key, const T& Node) {
    if (Key == Node) return gxKeyEqual;
    return Key < Node ? gxKeySmaller : gxKeyLarger;
}

} // namespace

bool TgxSetElement::Release(bool /*Dispose*/) {
    delete this;
    return false;
}

std::uint8_t TgxSetElement::Compare(const TgxCustomSet*, const TgxSetElement*) const {
    return gxKeyEqual;
}

std::uint8_t TgxSetElement::CompareKey(const TgxCustomSet*, std::span<const TVarRec>) const {
    return gxKeyEqual;
}

TgxStringSetNode::TgxStringSetNode(const void* KeyPointer)
    : TgxSetNode(KeyPointer), FValue(*static_cast<const AnsiString*>(KeyPointer)) {}

void TgxStringSetNode::Assign(const TgxSetNode& Source) {
    TgxSetNode::Assign(Source);
    if (auto* Other = dynamic_cast<const TgxStringSetNode*>(&Source)) FValue = Other->FValue;
}

std::uint8_t TgxStringSetNode::Compare(const TgxCustomSet*, const void* KeyPointer) const {
    // std::string compares its bytes as unsigned characters.
    const int C = static_cast<const AnsiString*>(KeyPointer)->compare(FValue);
    return C == 0 ? gxKeyEqual : C < 0 ? gxKeySmaller : gxKeyLarger;
}

TgxVariantSetNode::TgxVariantSetNode(const void* KeyPointer)
    : TgxSetNode(KeyPointer), FValue(*static_cast<const Variant*>(KeyPointer)) {}

std::uint8_t TgxVariantSetNode::Compare(const TgxCustomSet*, const void* KeyPointer) const {
    return Order(*static_cast<const Variant*>(KeyPointer), FValue);
}

TgxIntegerSetNode::TgxIntegerSetNode(const void* KeyPointer)
    : TgxSetNode(KeyPointer), FValue(*static_cast<const std::int32_t*>(KeyPointer)) {}

std::uint8_t TgxIntegerSetNode::Compare(const TgxCustomSet*, const void* KeyPointer) const {
    return Order(*static_cast<const std::int32_t*>(KeyPointer), FValue);
}

TgxRealSetNode::TgxRealSetNode(const void* KeyPointer)
    : TgxSetNode(KeyPointer), FValue(*static_cast<const double*>(KeyPointer)) {}

std::uint8_t TgxRealSetNode::Compare(const TgxCustomSet*, const void* KeyPointer) const {
    // Exact comparison, no tolerance. A NaN equals a NaN and sorts above
    // every number, so it can be found again and the order stays total.
    const double Key = *static_cast<const double*>(KeyPointer);
    if (std::isnan(Key) || std::isnan(FValue)) {
        if (std::isnan(Key) && std::isnan(FValue)) return gxKeyEqual;
        return std::isnan(Key) ? gxKeyLarger : gxKeySmaller;
    }
    if (Key == FValue) return gxKeyEqual;
    return Key >= FValue ? gxKeyLarger : gxKeySmaller;
}

TgxObjectSetNode::TgxObjectSetNode(const void* KeyPointer)
    : TgxSetNode(KeyPointer),
      FElement(const_cast<TgxSetElement*>(static_cast<const TgxSetElement*>(KeyPointer))) {}

bool TgxObjectSetNode::Release(bool Dispose) {
    if (FElement) FElement->Release(Dispose);
    FElement = nullptr;
    return TgxSetNode::Release(Dispose);
}

std::uint8_t TgxObjectSetNode::Compare(const TgxCustomSet* Set, const void* KeyPointer) const {
    return FElement->Compare(Set, static_cast<const TgxSetElement*>(KeyPointer));
}

std::uint8_t TgxObjectSetNode::CompareKey(const TgxCustomSet* Set, const void* KeyPointer) const {
    return FElement->CompareKey(Set, *static_cast<const std::span<const TVarRec>*>(KeyPointer));
}

TgxSetNode* TgxStringSet::NewNode(const void* KeyPointer) {
    return new TgxStringSetNode(KeyPointer);
}

AnsiString* TgxStringSet::Add(const AnsiString& Key) {
    return static_cast<AnsiString*>(AddNode(&Key)->Value());
}

AnsiString* TgxStringSet::Get(const AnsiString& Key) const {
    TgxSetNode* Node = GetNode(Root(), &Key);
    return Node ? static_cast<AnsiString*>(Node->Value()) : nullptr;
}

void TgxStringSet::Remove(const AnsiString& Key) {
    if (TgxSetNode* Node = RemoveNode(&Key)) Node->Release(true);
}

TgxSetNode* TgxVariantSet::NewNode(const void* KeyPointer) {
    return new TgxVariantSetNode(KeyPointer);
}

Variant* TgxVariantSet::Add(const Variant& Key) {
    return static_cast<Variant*>(AddNode(&Key)->Value());
}

Variant* TgxVariantSet::Get(const Variant& Key) const {
    TgxSetNode* Node = GetNode(Root(), &Key);
    return Node ? static_cast<Variant*>(Node->Value()) : nullptr;
}

void TgxVariantSet::Remove(const Variant& Key) {
    if (TgxSetNode* Node = RemoveNode(&Key)) Node->Release(true);
}

TgxSetNode* TgxIntegerSet::NewNode(const void* KeyPointer) {
    return new TgxIntegerSetNode(KeyPointer);
}

std::int32_t* TgxIntegerSet::Add(std::int32_t Key) {
    return static_cast<std::int32_t*>(AddNode(&Key)->Value());
}

std::int32_t* TgxIntegerSet::Get(std::int32_t Key) const {
    TgxSetNode* Node = GetNode(Root(), &Key);
    return Node ? static_cast<std::int32_t*>(Node->Value()) : nullptr;
}

void TgxIntegerSet::Remove(std::int32_t Key) {
    if (TgxSetNode* Node = RemoveNode(&Key)) Node->Release(true);
}

TgxSetNode* TgxRealSet::NewNode(const void* KeyPointer) {
    return new TgxRealSetNode(KeyPointer);
}

double* TgxRealSet::Add(double Key) {
    return static_cast<double*>(AddNode(&Key)->Value());
}

double* TgxRealSet::Get(double Key) const {
    TgxSetNode* Node = GetNode(Root(), &Key);
    return Node ? static_cast<double*>(Node->Value()) : nullptr;
}

void TgxRealSet::Remove(double Key) {
    if (TgxSetNode* Node = RemoveNode(&Key)) Node->Release(true);
}

TgxSetNode* TgxObjectSet::NewNode(const void* KeyPointer) {
    if (GetAssigning())
        throw EInvalidOperation("Cannot assign a " + ClassName() +
                                ": its elements can't be copied");
    return new TgxObjectSetNode(KeyPointer);
}

TgxSetElement* TgxObjectSet::Add(TgxSetElement* Element) {
    auto* Node = static_cast<TgxObjectSetNode*>(AddNode(Element));
    if (Node->Element() != Element) {
        TgxSetElement* Old = Node->Element();
        Node->SetElement(Element);
        Old->Release(true);
    }
    return Element;
}

TgxSetElement* TgxObjectSet::Get(std::span<const TVarRec> Key) const {
    TgxSetNode* Node = GetNode(Root(), &Key);
    return Node ? static_cast<TgxObjectSetNode*>(Node)->Element() : nullptr;
}

void TgxObjectSet::Remove(std::span<const TVarRec> Key) {
    if (TgxSetNode* Node = RemoveNode(&Key)) Node->Release(true);
}

} // namespace grid
