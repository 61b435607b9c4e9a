#pragma once
// The catalogue's two constant tables, in their fixed row order.
#include "alert/AlertCatalogue.h"

#include <array>
#include <cstddef>

inline constexpr std::size_t AlertCategoryCount = 20;
inline constexpr std::size_t AlertDefinitionCount = 84;

extern const std::array<AlertCategory, AlertCategoryCount> AlertCategoryTable;
extern const std::array<AlertDefinition, AlertDefinitionCount> AlertDefinitionTable;
