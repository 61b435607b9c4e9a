#pragma once
// The Pellworth component package. A designer (or a test) loads the shared
// library libpellworth.so and calls its exported Register, which puts the
// package's components on the palette page "Pellworth" and installs the
// property editor of the calendar's StartOfWeek. The program links the same
// code statically and uses the classes directly, without registering them.
//
// The library carries its own copy of the framework, design registry
// included, and exports nothing but the functions below (see
// pellworth.map). A loader has to read the registry that Register filled,
// not a copy of its own (one that links the framework statically would
// otherwise see an empty palette), so the Pellworth* queries run inside the
// library. They take and give C strings only: none of the framework's C++
// types crosses the library's boundary.
#define PELLWORTH_EXPORT extern "C" __attribute__((visibility("default")))

// Calls each unit's Register in the package's unit order.
PELLWORTH_EXPORT void Register();

using TPellworthNameProc = void (*)(const char* Name, void* Data);

// Calls Proc with the class name of each component on the palette page, in
// palette order; returns how many there were (0 for an unknown page).
PELLWORTH_EXPORT int PellworthPaletteComponents(const char* Page, TPellworthNameProc Proc,
                                                void* Data);

// The package's description ("Pellworth Components").
PELLWORTH_EXPORT const char* PellworthDescription();

// The palette bitmap of a resource name ("TCOLORBITBTN", "TPWCALENDAR",
// "TPWDATEEDIT", "TPWPHONEEDIT", "TPWZIPEDIT"): 24 lines of 24 hexadecimal
// digits, one colour index of the standard 16 colours a pixel, row by row
// from the top; nullptr for a component that uses the default image. The
// text stays valid while the library is loaded.
PELLWORTH_EXPORT const char* PellworthPaletteBitmap(const char* Name);

// Colour Index (0..15) of the palette bitmaps as 0x00RRGGBB.
PELLWORTH_EXPORT unsigned PellworthPaletteColor(int Index);

// Makes a component of the registered class ClassName, asks the editor of
// its property PropName for the values it offers and calls Proc with each,
// in the order the designer's drop-down shows them (sorted when the editor
// asks for a sorted list). Returns the number of values, or -1 when the
// class is not registered, has no such property, or its editor offers no
// value list.
PELLWORTH_EXPORT int PellworthPropertyValues(const char* ClassName, const char* PropName,
                                             TPellworthNameProc Proc, void* Data);
