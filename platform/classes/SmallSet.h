#pragma once
// A set of the values of an enumeration, kept as one bit per ordinal (bit
// 1 shl ordinal), the way the framework keeps its small sets: component
// state, font styles, option sets. Ordinals must be below 64.
#include <cstdint>
#include <initializer_list>
#include <type_traits>

template <class E> class SmallSet {
    static_assert(std::is_enum_v<E>, "SmallSet holds the values of an enumeration");

public:
    using TBits = std::uint64_t;

    constexpr SmallSet() = default;
    constexpr SmallSet(std::initializer_list<E> Items) {
        for (E Item : Items)
            Include(Item);
    }

    constexpr bool Contains(E Item) const { return (FBits & Mask(Item)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr void Clear() { FBits = 0; }

    constexpr SmallSet& Include(E Item) {
        FBits |= Mask(Item);
        return *this;
    }
    constexpr SmallSet& Exclude(E Item) {
        FBits &= ~Mask(Item);
        return *this;
    }
    // The framework's spelling: Set << item includes, Set >> item excludes.
    constexpr SmallSet& operator<<(E Item) { return Include(Item); }
    constexpr SmallSet& operator>>(E Item) { return Exclude(Item); }

    // Union, intersection and difference.
    friend constexpr SmallSet operator+(SmallSet A, SmallSet B) {
        return FromBits(A.FBits | B.FBits);
    }
    friend constexpr SmallSet operator*(SmallSet A, SmallSet B) {
        return FromBits(A.FBits & B.FBits);
    }
    friend constexpr SmallSet operator-(SmallSet A, SmallSet B) {
        return FromBits(A.FBits & ~B.FBits);
    }
    friend constexpr bool operator==(SmallSet A, SmallSet B) = default;

    // The bit image, for code that streams a set as an integer.
    constexpr TBits Bits() const { return FBits; }
    static constexpr SmallSet FromBits(TBits Bits) {
        SmallSet Result;
        Result.FBits = Bits;
        return Result;
    }

private:
    static constexpr TBits Mask(E Item) {
        return TBits{1} << static_cast<std::underlying_type_t<E>>(Item);
    }

    TBits FBits = 0;
};
