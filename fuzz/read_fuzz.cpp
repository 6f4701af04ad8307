// Fuzz target: any bytes as the 64-character Entry buffer, read as one Real.
// The outcome is checked against an oracle that classifies the first token
// with regular expressions and converts plain numbers with strtof.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>

#include "consoleio/read.h"

namespace {

constexpr std::size_t entry_len = 64;

bool blank(char ch) {
    return ch == ' ' || ch == '\t';
}
bool separator(char ch) {
    return blank(ch) || ch == ',' || ch == ';' || ch == '/';
}

// What a token must read as, according to the oracle.
struct expect {
    orv::read_outcome outcome;
    enum { any, exact, pos_inf, neg_inf, pos_nan, neg_nan } value = any;
    float x = 0;
};

// Classifies a constant (the token after any repeat count).
expect constant(const std::string& c) {
    using std::regex;
    static const regex number(
        "([+-]?)([0-9]+[.]?[0-9]*|[.][0-9]*)(([edq])([+-]?[0-9]+)|([+-][0-9]+))?", regex::icase);
    static const regex infinity("([+-]?)inf(inity)?", regex::icase);
    static const regex nan("([+-]?)nan([(][^)]*[)])?", regex::icase);
    std::smatch m;
    if (std::regex_match(c, m, infinity))
        return {orv::read_outcome::value, m[1] == "-" ? expect::neg_inf : expect::pos_inf};
    if (std::regex_match(c, m, nan))
        return {orv::read_outcome::value, m[1] == "-" ? expect::neg_nan : expect::pos_nan};
    if (!std::regex_match(c, m, number)) return {orv::read_outcome::error};
    std::string mant = m[2];
    if (mant.find_first_of("0123456789") == std::string::npos) return {orv::read_outcome::error};
    // strtof under the C locale, with the exponent spelt the way it knows
    std::string text = std::string(m[1]) + mant;
    if (m[5].matched)
        text += "e" + std::string(m[5]);
    else if (m[6].matched)
        text += "e" + std::string(m[6]);
    return {orv::read_outcome::value, expect::exact, std::strtof(text.c_str(), nullptr)};
}

// Classifies the whole record: blanks only, a separator first, a repeat
// count, or a constant.
expect oracle(const std::string& rec) {
    std::size_t i = 0;
    while (i < rec.size() && blank(rec[i])) ++i;
    if (i == rec.size()) return {orv::read_outcome::eof};
    if (separator(rec[i])) return {orv::read_outcome::null_value};
    std::size_t j = i;
    while (j < rec.size() && !separator(rec[j])) ++j;
    std::string tok = rec.substr(i, j - i);
    static const std::regex repeat("([0-9]+)[*]([\\s\\S]*)");
    std::smatch m;
    if (std::regex_match(tok, m, repeat)) {
        std::string r = m[1];
        r.erase(0, std::min(r.find_first_not_of('0'), r.size()));
        if (r.empty() || r.size() > 9 || std::stol(r) > 200000000)
            return {orv::read_outcome::error};
        if (m[2].length() == 0) return {orv::read_outcome::null_value};
        return constant(m[2]);
    }
    return constant(tok);
}

uint32_t bits_of(float x) {
    uint32_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "read_internal: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // The buffer is heap-allocated at its exact size so that the address
    // sanitizer sees any read past its end.
    char* buf = new char[entry_len];
    std::size_t n = std::min(size, entry_len);
    std::memcpy(buf, data, n);
    std::memset(buf + n, ' ', entry_len - n);

    const float sentinel = 123.25f;
    float var = sentinel;
    orv::read_outcome got =
        orv::read_internal({0, 0}, {buf, entry_len}, var, orv::handles_error | orv::handles_end);
    std::string rec(buf, entry_len);
    rec.erase(rec.find_last_not_of(' ') + 1); // only the blank counts as trailing
    delete[] buf;

    switch (got) {
    case orv::read_outcome::value:
    case orv::read_outcome::null_value:
    case orv::read_outcome::error:
    case orv::read_outcome::eof: break;
    default: fail("outcome outside the four");
    }
    if (got != orv::read_outcome::value && bits_of(var) != bits_of(sentinel))
        fail("variable changed without a value");

    expect want = oracle(rec);
    if (got != want.outcome) {
        std::fprintf(stderr, "record \"%s\": outcome %d, oracle %d\n", rec.c_str(), int(got),
                     int(want.outcome));
        fail("outcome differs from the oracle");
    }
    if (got != orv::read_outcome::value) return 0;
    bool ok = true;
    switch (want.value) {
    case expect::exact: ok = bits_of(var) == bits_of(want.x); break;
    case expect::pos_inf: ok = var == INFINITY; break;
    case expect::neg_inf: ok = var == -INFINITY; break;
    case expect::pos_nan: ok = std::isnan(var) && !std::signbit(var); break;
    case expect::neg_nan: ok = std::isnan(var) && std::signbit(var); break;
    case expect::any: break;
    }
    if (!ok) {
        std::fprintf(stderr, "record \"%s\": value %08x, oracle %08x\n", rec.c_str(), bits_of(var),
                     bits_of(want.x));
        fail("value differs from the oracle");
    }
    return 0;
}
