#pragma once
// Copying published properties from one object to another: one property,
// one by name, or all of them but those named, as the grid's columns,
// cells and in-place controls take over each other's settings.
#include "platform/classes/SmallSet.h"
#include "platform/classes/TypInfo.h"

class TObject;

namespace grid {

using TTypeKinds = SmallSet<TTypeKind>;

// The object's published properties of the given kinds, in declaration
// order (its base's first).
TPropList GetPropertyList(const TObject* Object, TTypeKinds Kinds);
// Lets a list go; a list frees itself too, this only says where it ends.
void FreePropertyList(TPropList& List);

// Copies one property of Source to the property of that name on
// Destination, by its kind: ordinals, floats, texts and Variants by value;
// an object property hands Source's object to Destination's setter (which
// copies an object it owns, and keeps a component reference). A property
// Destination lacks or can't set is passed over.
void AssignPropertyValue(const TPropInfo* Property, TObject* Destination, const TObject* Source);
// The same for the property of that name of Source's class; nothing when
// there is none.
void AssignNameValue(const AnsiString& Name, TObject* Destination, const TObject* Source);
// Every published property of Source except those named in the
// ";"-separated Exclusions (without regard to case).
void AssignObject(TObject* Destination, const TObject* Source, const AnsiString& Exclusions);

} // namespace grid
