#pragma once
// The published properties of the GUI layer's classes (fonts, the standard
// controls, forms) for the form streaming system and the property storage
// of a form, and the registration of the standard controls for streaming.
//
// Call PublishGuiClasses() before streaming or reflecting GUI objects (it is
// cheap after the first call). It also lets a component reference name a
// component of another open form ("Form2.Button1").
#include "platform/classes/TypInfo.h"

void PublishGuiClasses();

// Identifier tables of the GUI's enumerations and sets.
const TTypeInfo& FontStylesType();
const TTypeInfo& CheckBoxStateType();
const TTypeInfo& AlignType();
