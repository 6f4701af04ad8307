// Editing of one data item into a field of fixed width.
#pragma once
#include <cstdint>
#include <span>
#include <string_view>

namespace orv {

// Right-justifies body in the field, or fills the field with "*" when the
// body does not fit. Every numeric field goes through here.
void write_padded(std::span<char> field, std::string_view body);

// F editing: x as a fixed-point number with d decimals in field.size() chars.
void edit_f(std::span<char> field, int d, float x);

// I editing: k as a whole number in field.size() chars.
void edit_i(std::span<char> field, int32_t k);

// A editing: the leftmost characters of s, or s after leading blanks.
void edit_a(std::span<char> field, std::string_view s);

} // namespace orv
