#pragma once
// What a component package registers: its components on pages of the
// palette, and property editors for chosen properties. A package's Register
// function fills this in-process registry; a designer, or a test that
// loaded the package, reads it back.
#include "platform/classes/PropertyEditor.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/AnsiString.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

class TPersistent;

// Makes the editor of one property of one object.
using TPropertyEditorClass = std::function<std::unique_ptr<TPropertyEditor>(
    TPersistent* Instance, const TPropInfo* PropInfo)>;

// Puts the classes on the palette page (after those already there, each
// class once) and registers them for streaming.
void RegisterComponents(const AnsiString& Page, std::initializer_list<const TClassInfo*> Classes);
// The pages in the order they were first used, and the classes of one page
// (the name compared without case; empty for an unknown page).
std::vector<AnsiString> PalettePages();
std::vector<const TClassInfo*> PaletteComponents(const AnsiString& Page);

// The editor for properties of PropertyType: of every class, or only of
// ComponentClass and its descendants; of every name, or only PropertyName.
// A later registration wins over an earlier one of the same reach.
void RegisterPropertyEditor(const TTypeInfo* PropertyType, const TClassInfo* ComponentClass,
                            const AnsiString& PropertyName, TPropertyEditorClass EditorClass);
// The editor for the named published property of Instance: the registered
// one that fits best (a class and a name over a class, over a name, over
// the type alone), else TEnumProperty for an enumeration; nullptr when
// there is no such property or no editor.
std::unique_ptr<TPropertyEditor> CreatePropertyEditor(TPersistent* Instance,
                                                      const AnsiString& PropertyName);
