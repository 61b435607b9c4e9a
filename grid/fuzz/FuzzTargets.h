#pragma once
// The grid's fuzz targets as plain functions: the libFuzzer programs call
// them with the fuzzer's inputs, and the grid tests call them with every
// input of their corpus, so a fault once found stays fixed without a
// fuzzing build. A target returns 0; a broken rule aborts with a message.
#include <cstddef>
#include <cstdint>
#include <string>

namespace grid::fuzz {

// One flag byte, then picture, '\n', text, '\n', typed input for the
// edit-mask language.
int MaskInput(const std::uint8_t* Data, std::size_t Size);

// A grid data stream, loaded into a store that holds values already.
int DataStreamInput(const std::uint8_t* Data, std::size_t Size);

// A grid's saved state, loaded into a grid that holds values and a
// selection already.
int GridStateInput(const std::uint8_t* Data, std::size_t Size);

// Operations on a shown grid, a byte or a few each, checked after each
// against a plain model of its columns, rows, values and current cell.
int GridWalkInput(const std::uint8_t* Data, std::size_t Size);
// The same walk; gives the first difference found, with the step and the
// operations before it, or an empty text.
std::string WalkGrid(const std::uint8_t* Data, std::size_t Size);

} // namespace grid::fuzz
