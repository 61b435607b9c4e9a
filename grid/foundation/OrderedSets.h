#pragma once
// The typed ordered sets: strings, Variants, integers, reals, and objects
// that order themselves.
#include "grid/foundation/CustomSet.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Variant.h"

#include <span>

namespace grid {

// An object kept in an object set. An element orders itself against another
// element (when it is added) and against a key (when it is looked up).
class TgxSetElement {
public:
    TgxSetElement() = default;
    TgxSetElement(const TgxSetElement&) = delete;
    TgxSetElement& operator=(const TgxSetElement&) = delete;
    virtual ~TgxSetElement() = default;

    // Frees the element; the result is always false.
    virtual bool Release(bool Dispose);
    // How Element relates to this one (gxKeySmaller/Equal/Larger).
    virtual std::uint8_t Compare(const TgxCustomSet* Set, const TgxSetElement* Element) const;
    // How the key values relate to this element. Key carries its real
    // length: an element reads no more values than it was given.
    virtual std::uint8_t CompareKey(const TgxCustomSet* Set, std::span<const TVarRec> Key) const;
    virtual AnsiString StringValue() const { return AnsiString(); }

    TgxSetElement* Copy() { return this; }
    void AssignCopy() {}
};

class TgxStringSetNode : public TgxSetNode {
public:
    explicit TgxStringSetNode(const void* KeyPointer);
    void Assign(const TgxSetNode& Source) override;
    std::uint8_t Compare(const TgxCustomSet* Set, const void* KeyPointer) const override;
    void* Value() override { return &FValue; }

private:
    AnsiString FValue;
};

class TgxVariantSetNode : public TgxSetNode {
public:
    explicit TgxVariantSetNode(const void* KeyPointer);
    std::uint8_t Compare(const TgxCustomSet* Set, const void* KeyPointer) const override;
    void* Value() override { return &FValue; }

private:
    Variant FValue;
};

class TgxIntegerSetNode : public TgxSetNode {
public:
    explicit TgxIntegerSetNode(const void* KeyPointer);
    std::uint8_t Compare(const TgxCustomSet* Set, const void* KeyPointer) const override;
    void* Value() override { return &FValue; }

private:
    std::int32_t FValue;
};

class TgxRealSetNode : public TgxSetNode {
public:
    explicit TgxRealSetNode(const void* KeyPointer);
    std::uint8_t Compare(const TgxCustomSet* Set, const void* KeyPointer) const override;
    void* Value() override { return &FValue; }

private:
    double FValue;
};

// Holds one element and owns it.
class TgxObjectSetNode : public TgxSetNode {
public:
    // KeyPointer is the element.
    explicit TgxObjectSetNode(const void* KeyPointer);
    bool Release(bool Dispose) override;
    std::uint8_t Compare(const TgxCustomSet* Set, const void* KeyPointer) const override;
    // KeyPointer points to a std::span<const TVarRec>.
    std::uint8_t CompareKey(const TgxCustomSet* Set, const void* KeyPointer) const override;
    void* Value() override { return FElement; }

    TgxSetElement* Element() const { return FElement; }
    void SetElement(TgxSetElement* Element) { FElement = Element; }

private:
    TgxSetElement* FElement;
};

class TgxStringSet : public TgxCustomSet {
public:
    AnsiString ClassName() const override { return "TgxStringSet"; }
    AnsiString* Add(const AnsiString& Key);
    AnsiString* Get(const AnsiString& Key) const;
    void Remove(const AnsiString& Key);

protected:
    TgxSetNode* NewNode(const void* KeyPointer) override;
};

class TgxVariantSet : public TgxCustomSet {
public:
    AnsiString ClassName() const override { return "TgxVariantSet"; }
    Variant* Add(const Variant& Key);
    Variant* Get(const Variant& Key) const;
    void Remove(const Variant& Key);

protected:
    TgxSetNode* NewNode(const void* KeyPointer) override;
};

class TgxIntegerSet : public TgxCustomSet {
public:
    AnsiString ClassName() const override { return "TgxIntegerSet"; }
    std::int32_t* Add(std::int32_t Key);
    std::int32_t* Get(std::int32_t Key) const;
    void Remove(std::int32_t Key);

protected:
    TgxSetNode* NewNode(const void* KeyPointer) override;
};

class TgxRealSet : public TgxCustomSet {
public:
    AnsiString ClassName() const override { return "TgxRealSet"; }
    double* Add(double Key);
    double* Get(double Key) const;
    void Remove(double Key);

protected:
    TgxSetNode* NewNode(const void* KeyPointer) override;
};

// A set of self-ordering elements; it owns every element it holds.
class TgxObjectSet : public TgxCustomSet {
public:
    AnsiString ClassName() const override { return "TgxObjectSet"; }
    // Inserts Element keyed by itself. An equal element already held is
    // released and Element takes its place.
    TgxSetElement* Add(TgxSetElement* Element);
    TgxSetElement* Get(std::span<const TVarRec> Key) const;
    TgxSetElement* Get(std::initializer_list<TVarRec> Key) const {
        return Get(std::span<const TVarRec>(Key.begin(), Key.size()));
    }
    // Releases the element with that key, if any.
    void Remove(std::span<const TVarRec> Key);
    void Remove(std::initializer_list<TVarRec> Key) {
        Remove(std::span<const TVarRec>(Key.begin(), Key.size()));
    }

protected:
    // A copy made by Assign would share the source's elements, and both sets
    // would free them; a set whose elements can be cloned overrides this.
    TgxSetNode* NewNode(const void* KeyPointer) override;
};

} // namespace grid
