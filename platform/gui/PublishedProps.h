#pragma once
// The published properties of the GUI layer's classes (fonts, the standard
// controls, forms) for the form streaming system and the property storage
// of a form, and the registration of the standard controls for streaming.
//
// Including this header is enough: the classes are published on the first
// lookup of the registry in any program that includes it somewhere (a class
// deriving from a control includes it in the .cpp that publishes it).
// PublishGuiClasses() does it at once. It also lets a component reference
// name a component of another open form ("Form2.Button1").
#include "platform/classes/TypInfo.h"

// Queues the publishing for the next lookup (once); true.
bool QueueGuiClasses();
void PublishGuiClasses();

inline const bool GuiClassesQueued = QueueGuiClasses();

// Identifier tables of the GUI's enumerations and sets.
const TTypeInfo& FontStylesType();
const TTypeInfo& CheckBoxStateType();
const TTypeInfo& AlignType();
