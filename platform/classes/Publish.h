#pragma once
// The builder a class publishes its properties with (see TypInfo.h for the
// pattern). Include it only in .cpp files: it is all templates.
//
// Property(name, getter, setter [, type]) takes member functions or
// callables (getter: const T& -> value; setter: (T&, value), or nullptr for
// a read-only property). The value type decides the kind:
//   bool -> Boolean enumeration; char -> char; other integers -> integer
//   (64-bit -> int64); enum -> enumeration (type table required);
//   SmallSet<E> -> set (type table required); float/double -> float;
//   AnsiString -> string; Variant -> variant; pointer to a TObject
//   descendant -> class (a TComponent descendant is a reference by name,
//   anything else an object whose own properties are streamed in place).
// Then .Default(value) and .Stored(false | member predicate | callable); a
// string property's .Default("text") is the text a new object starts with.
#include "platform/classes/Component.h"
#include "platform/classes/SmallSet.h"
#include "platform/classes/TypInfo.h"

#include <concepts>
#include <functional>
#include <type_traits>
#include <utility>

namespace publish_detail {

template <class> struct IsSmallSet : std::false_type {};
template <class E> struct IsSmallSet<SmallSet<E>> : std::true_type {};

template <class V> std::int64_t ToOrd(const V& Value) {
    if constexpr (IsSmallSet<V>::value)
        return static_cast<std::int64_t>(Value.Bits());
    else if constexpr (std::is_enum_v<V>)
        return static_cast<std::int64_t>(static_cast<std::underlying_type_t<V>>(Value));
    else if constexpr (std::same_as<V, bool>)
        return Value ? 1 : 0;
    else if constexpr (std::same_as<V, char>)
        return static_cast<unsigned char>(Value);
    else
        return static_cast<std::int64_t>(Value);
}

template <class V> V FromOrd(std::int64_t Value) {
    if constexpr (IsSmallSet<V>::value)
        return V::FromBits(static_cast<typename V::TBits>(Value) & 0xFFFFFFFFu);
    else if constexpr (std::is_enum_v<V>)
        return static_cast<V>(static_cast<std::underlying_type_t<V>>(Value));
    else if constexpr (std::same_as<V, bool>)
        return Value != 0;
    else if constexpr (std::same_as<V, char>)
        return static_cast<char>(static_cast<unsigned char>(Value));
    else
        return static_cast<V>(Value);
}

template <class C> const TTypeInfo& ClassTypeInfo() {
    static const TTypeInfo Info = [] {
        TTypeInfo I;
        I.Kind = tkClass;
        I.ClassType = &typeid(C);
        I.IsComponent = std::is_base_of_v<TComponent, C>;
        return I;
    }();
    return Info;
}

// The type of a value type that needs no table; one per value type, so
// that equal types compare equal across classes.
template <class V> const TTypeInfo* DefaultType() {
    if constexpr (std::same_as<V, bool>) {
        return &BooleanType();
    } else if constexpr (std::same_as<V, char>) {
        static const TTypeInfo Info = MakeSimpleType(tkChar, "Char");
        return &Info;
    } else if constexpr (std::integral<V> && sizeof(V) > 4) {
        static const TTypeInfo Info = MakeSimpleType(tkInt64, "Int64");
        return &Info;
    } else if constexpr (std::integral<V>) {
        static const TTypeInfo Info = MakeSimpleType(tkInteger, "Integer");
        return &Info;
    } else if constexpr (std::same_as<V, float>) {
        static const TTypeInfo Info = MakeSimpleType(tkFloat, "Single", ftSingle);
        return &Info;
    } else if constexpr (std::same_as<V, double>) {
        static const TTypeInfo Info = MakeSimpleType(tkFloat, "Double");
        return &Info;
    } else if constexpr (std::same_as<V, AnsiString>) {
        static const TTypeInfo Info = MakeSimpleType(tkLString, "AnsiString");
        return &Info;
    } else if constexpr (std::same_as<V, Variant>) {
        static const TTypeInfo Info = MakeSimpleType(tkVariant, "Variant");
        return &Info;
    } else {
        static_assert(std::is_pointer_v<V> &&
                          std::is_base_of_v<TObject, std::remove_const_t<std::remove_pointer_t<V>>>,
                      "no published kind for this value type");
        return &publish_detail::ClassTypeInfo<std::remove_const_t<std::remove_pointer_t<V>>>();
    }
}

// The object a property is read from or written to, which must be of the
// class that published it.
[[noreturn]] void WrongInstance(const char* ClassName);
template <class T> const T& Self(const TObject* Instance) {
    const T* Result = dynamic_cast<const T*>(Instance);
    if (!Result) WrongInstance(typeid(T).name());
    return *Result;
}
template <class T> T& Self(TObject* Instance) {
    T* Result = dynamic_cast<T*>(Instance);
    if (!Result) WrongInstance(typeid(T).name());
    return *Result;
}

} // namespace publish_detail

template <class T> class TClassBuilder {
public:
    explicit TClassBuilder(TClassInfo& Info) : FInfo(Info) {}

    class TPropBuilder {
    public:
        explicit TPropBuilder(TPropInfo& Prop) : FProp(Prop) {}
        template <class D> TPropBuilder& Default(const D& Value) {
            FProp.Default = publish_detail::ToOrd(Value);
            return *this;
        }
        // A string property's text when the object is new.
        TPropBuilder& Default(const char* Value) {
            FProp.StrDefault = Value;
            return *this;
        }
        TPropBuilder& Stored(bool Value) {
            if (Value)
                FProp.StoredProc = nullptr;
            else
                FProp.StoredProc = [](const TObject*) { return false; };
            return *this;
        }
        template <class P>
        requires(!std::same_as<P, bool>) TPropBuilder& Stored(P Predicate) {
            FProp.StoredProc = [Predicate](const TObject* Instance) {
                return static_cast<bool>(std::invoke(Predicate, publish_detail::Self<T>(Instance)));
            };
            return *this;
        }

    private:
        TPropInfo& FProp;
    };

    // The class's base; its properties come first in the list.
    template <class Base> TClassBuilder& Inherits() {
        static_assert(std::is_base_of_v<Base, T>);
        FInfo.ParentType = &typeid(Base);
        return *this;
    }

    template <class G, class S> TPropBuilder Property(const char* Name, G Getter, S Setter) {
        using V = Value<G>;
        static_assert(!std::is_enum_v<V> && !publish_detail::IsSmallSet<V>::value,
                      "an enumeration or set property needs its type table");
        return Add(Name, Getter, Setter, publish_detail::DefaultType<V>());
    }

    template <class G, class S>
    TPropBuilder Property(const char* Name, G Getter, S Setter, const TTypeInfo& Type) {
        return Add(Name, Getter, Setter, &Type);
    }

    // Hooks for what the class keeps outside its virtual members.
    template <class F> TClassBuilder& SetParentProc(F Proc) {
        FInfo.SetParent = [Proc](TComponent* Child, TComponent* Parent) {
            Proc(publish_detail::Self<T>(Child), Parent);
        };
        return *this;
    }
    template <class F> TClassBuilder& Children(F Proc) {
        FInfo.GetChildren = [Proc](TComponent* Self, const std::function<void(TComponent*)>& Each,
                                   TComponent* Root) {
            Proc(publish_detail::Self<T>(Self), Each, Root);
        };
        return *this;
    }
    template <class F> TClassBuilder& DefineProperties(F Proc) {
        FInfo.DefineProperties = [Proc](TPersistent* Self, TFiler* Filer) {
            Proc(publish_detail::Self<T>(Self), Filer);
        };
        return *this;
    }

private:
    template <class G> using Value = std::remove_cvref_t<std::invoke_result_t<G, const T&>>;

    template <class G, class S>
    TPropBuilder Add(const char* Name, G Getter, S Setter, const TTypeInfo* Type) {
        using V = Value<G>;
        TPropInfo& P = FInfo.OwnProps.emplace_back();
        P.Name = Name;
        P.PropType = Type;
        constexpr bool ReadOnly = std::is_null_pointer_v<S>;
        auto Get = [Getter](const TObject* I) -> V {
            return std::invoke(Getter, publish_detail::Self<T>(I));
        };
        if constexpr (std::same_as<V, float> || std::same_as<V, double>) {
            P.GetFloat = [Get](const TObject* I) { return static_cast<double>(Get(I)); };
            if constexpr (!ReadOnly)
                P.SetFloat = [Setter](TObject* I, double X) {
                    std::invoke(Setter, publish_detail::Self<T>(I), static_cast<V>(X));
                };
        } else if constexpr (std::same_as<V, AnsiString>) {
            P.GetStr = Get;
            if constexpr (!ReadOnly)
                P.SetStr = [Setter](TObject* I, const AnsiString& X) {
                    std::invoke(Setter, publish_detail::Self<T>(I), X);
                };
        } else if constexpr (std::same_as<V, Variant>) {
            P.GetVar = Get;
            if constexpr (!ReadOnly)
                P.SetVar = [Setter](TObject* I, const Variant& X) {
                    std::invoke(Setter, publish_detail::Self<T>(I), X);
                };
        } else if constexpr (std::is_pointer_v<V>) {
            P.GetObj = [Get](const TObject* I) -> TObject* {
                return const_cast<std::remove_const_t<std::remove_pointer_t<V>>*>(Get(I));
            };
            if constexpr (!ReadOnly)
                P.SetObj = [Setter](TObject* I, TObject* X) {
                    using C = std::remove_const_t<std::remove_pointer_t<V>>;
                    std::invoke(Setter, publish_detail::Self<T>(I), dynamic_cast<C*>(X));
                };
        } else {
            P.GetOrd = [Get](const TObject* I) { return publish_detail::ToOrd(Get(I)); };
            if constexpr (!ReadOnly)
                P.SetOrd = [Setter](TObject* I, std::int64_t X) {
                    std::invoke(Setter, publish_detail::Self<T>(I), publish_detail::FromOrd<V>(X));
                };
        }
        return TPropBuilder(P);
    }

    TClassInfo& FInfo;
};

// Publishes T now under ClassName, its base Base (void: none, or named in
// Body with Inherits), its properties given by Body.
template <class T, class Base = void, class F>
const TClassInfo* PublishNow(const char* ClassName, F Body) {
    TClassInfo Info;
    Info.ClassName = ClassName;
    Info.Type = &typeid(T);
    if constexpr (!std::is_void_v<Base>) {
        static_assert(std::is_base_of_v<Base, T>);
        Info.ParentType = &typeid(Base);
    }
    Info.IsInstance = [](const TObject* I) { return dynamic_cast<const T*>(I) != nullptr; };
    if constexpr (std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> &&
                  std::is_constructible_v<T, TComponent*>)
        Info.Create = [](TComponent* Owner) -> TComponent* { return new T(Owner); };
    TClassBuilder<T> Builder(Info);
    Body(Builder);
    return PublishClass(std::move(Info));
}

// A static object that publishes T (derived from Base) on the first lookup
// of the registry, and with Streamable also registers it to be made from
// streams.
template <class T, class Base = void> class TPublished {
public:
    template <class F> TPublished(const char* ClassName, F Body, bool Streamable = false) {
        AddPublisher([ClassName, Body, Streamable] {
            const TClassInfo* Info = PublishNow<T, Base>(ClassName, Body);
            if (Streamable) RegisterClass(Info);
        });
    }
};
