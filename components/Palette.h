#pragma once
// The palette page the package's units register their components on.
namespace components {

inline constexpr const char* PalettePage = "Pellworth";

} // namespace components
