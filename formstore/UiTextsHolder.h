#pragma once
// The common shape of the default-text holders: a persistent object that
// belongs to its parent (for its name path) and whose text properties are
// declared from one list per class, so that each text's getter, setter,
// field and default are written once and a copy can walk the same list.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Persistent.h"

// Expands, inside a class body, to the getter Name(), the setter SetName()
// and the field FName starting as Default. Leaves the class body private.
#define FORMSTORE_UI_TEXT(Name, Default)                                                           \
public:                                                                                            \
    const AnsiString& Name() const {                                                               \
        return F##Name;                                                                            \
    }                                                                                              \
    void Set##Name(const AnsiString& Value) {                                                      \
        F##Name = Value;                                                                           \
    }                                                                                              \
                                                                                                   \
private:                                                                                           \
    AnsiString F##Name = Default;

// Copies the text Name from the holder Source of the same class.
#define FORMSTORE_UI_COPY_TEXT(Name, Default) F##Name = Source.F##Name;

namespace formstore {

class TuiHolder : public TPersistent {
public:
    explicit TuiHolder(TPersistent* AOwner) : FOwner(AOwner) {}
    AnsiString ClassName() const override { return "TuiHolder"; }
    TPersistent* GetOwner() const override { return FOwner; }

private:
    TPersistent* FOwner;
};

} // namespace formstore
