#pragma once
// The registry of progress control classes through which long operations
// (a file copy) report their progress on whatever control the caller gives
// them: each entry names the class's maximum, minimum and position
// properties. Later registrations are found first. The list starts with
// the framework's progress bar (TProgressBar: Max, Min, Position).
#include "platform/rtl/AnsiString.h"

#include <functional>
#include <type_traits>

class TComponent;

namespace formstore {

// A control class as the registry sees it: which controls are of it (or of
// a class derived from it), whether it derives from another class, and how
// a numeric published property of its controls is written by name (false
// when the class has no numeric property of that name).
struct TProgressControlClass {
    std::function<bool(const TComponent* Control)> Includes;
    std::function<bool(TComponent* Control, const AnsiString& Name, int Value)> SetProperty;
    // Inheritance between classes: Throw raises a null pointer of the class,
    // Catches says whether a handler for this class takes such a throw; a
    // handler for a base class takes a pointer to any class derived from it.
    std::function<void()> Throw;
    std::function<bool(const std::function<void()>& Throw)> Catches;

    // Whether this class is Base or derives from it.
    bool InheritsFrom(const TProgressControlClass& Base) const { return Base.Catches(Throw); }
};

// The class descriptor of T; WriteProperty writes T's numeric properties.
template <class T>
TProgressControlClass ProgressControlClass(
    std::function<bool(T& Control, const AnsiString& Name, int Value)> WriteProperty) {
    static_assert(std::is_base_of_v<TComponent, T>, "progress controls are components");
    TProgressControlClass Class;
    Class.Includes = [](const TComponent* Control) {
        return dynamic_cast<const T*>(Control) != nullptr;
    };
    Class.SetProperty = [WriteProperty](TComponent* Control, const AnsiString& Name, int Value) {
        T* Typed = dynamic_cast<T*>(Control);
        return Typed != nullptr && WriteProperty(*Typed, Name, Value);
    };
    Class.Throw = [] { throw static_cast<T*>(nullptr); };
    Class.Catches = [](const std::function<void()>& Throw) {
        try {
            Throw();
        } catch (T*) {
            return true;
        } catch (...) {
        }
        return false;
    };
    return Class;
}

// Whether the control's class (or a class it derives from) is registered.
bool SupportsProgressControl(const TComponent* Control);
// Appends an entry; each name is at most 63 characters (EConvertError).
void RegisterProgressControl(const TProgressControlClass& AClass, const AnsiString& MaxPropName,
                             const AnsiString& MinPropName, const AnsiString& ProgressPropName);
// Removes every entry whose class is AClass or derives from it.
void UnRegisterProgressControl(const TProgressControlClass& AClass);

// Write the registered maximum, minimum or position property of the control;
// false for no control, an unregistered class or a property that is not
// numeric.
bool SetProgressMax(TComponent* Control, int MaxValue);
bool SetProgressMin(TComponent* Control, int MinValue);
bool SetProgressValue(TComponent* Control, int ProgressValue);

} // namespace formstore
