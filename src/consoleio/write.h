// Output statements: list-directed, formatted, and into an Internal record.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

#include "consoleio/locus.h"
#include "consoleio/stream.h"

namespace orv {

// One value handed to an output statement.
struct item {
    enum kind_t { chr, real, integer } kind;
    std::string_view s{};
    float r = 0;
    int32_t i = 0;
    item(std::string_view v) : kind(chr), s(v) {}
    item(const char* v) : kind(chr), s(v) {}
    item(float v) : kind(real), r(v) {}
    item(int32_t v) : kind(integer), i(v) {}
};

using items = std::initializer_list<item>;

// Record being built for a destination: a unit, or an Internal record when
// unit is null.
struct dest {
    ounit* unit = nullptr;
    char* buf = nullptr;
    std::size_t cap = 0;
    std::size_t len = 0;
};

enum class write_status { ok, end_of_record };

// Runs a format text over the items into the destination.
write_status format_into(dest& out, std::string_view fmt, std::span<const item> its);

// Writes a list-directed record of character items to the unit.
void list_into(ounit& u, std::span<const item> its);

// The statements the dialogue uses.
void write_list(const locus& at, items its = {});
void write_formatted(const locus& at, std::string_view fmt, items its = {});
void write_internal(const locus& at, std::span<char> rec, std::string_view fmt, items its = {});

} // namespace orv
