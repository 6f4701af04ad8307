#include <cstring>

#include "consoleio/edit.h"
#include "consoleio/format.h"

namespace orv {
namespace {

__extension__ using u128 = unsigned __int128;

// Exact value of a finite, non-negative float: an integer part and a binary
// fraction of 160 bits, held as five 32-bit limbs, least significant first.
struct exact {
    u128 ip = 0;
    uint32_t frac[5] = {};
};

exact split(uint32_t bits) {
    exact e;
    uint32_t ex = (bits >> 23) & 0xff;
    uint64_t m = bits & 0x7fffff;
    int p; // value = m * 2^p
    if (ex == 0) {
        p = -149;
    } else {
        m |= 0x800000;
        p = static_cast<int>(ex) - 150;
    }
    if (p >= 0) {
        e.ip = static_cast<u128>(m) << p;
        return e;
    }
    int k = -p; // 1 .. 149 fraction bits
    e.ip = k < 64 ? m >> k : 0;
    uint64_t r = k < 64 ? m & ((uint64_t{1} << k) - 1) : m;
    // place the fraction so that its binary point sits above bit 159
    int shift = 160 - k;
    for (int bit = 0; bit < 64; ++bit) {
        if ((r >> bit) & 1) {
            int at = bit + shift;
            e.frac[at / 32] |= uint32_t{1} << (at % 32);
        }
    }
    return e;
}

// Multiplies the fraction by ten and returns the digit carried out of it.
int next_digit(uint32_t (&f)[5]) {
    uint64_t carry = 0;
    for (auto& limb : f) {
        uint64_t t = uint64_t{limb} * 10 + carry;
        limb = static_cast<uint32_t>(t);
        carry = t >> 32;
    }
    return static_cast<int>(carry);
}

bool is_zero(const uint32_t (&f)[5]) {
    for (auto limb : f)
        if (limb != 0) return false;
    return true;
}

// Writes the decimal digits of v into the end of buf; returns their count.
int int_digits(u128 v, char* end) {
    int n = 0;
    while (v != 0) {
        *--end = static_cast<char>('0' + static_cast<int>(v % 10));
        v /= 10;
        ++n;
    }
    return n;
}

} // namespace

// The magnitude is rounded from its exact binary value to d decimals, to the
// nearest and a tie to the even digit; no decimal rounding happens before.
void edit_f(std::span<char> field, int d, float x) {
    uint32_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    bool neg = (bits >> 31) != 0;
    bits &= 0x7fffffff;
    int w = static_cast<int>(field.size());
    if (bits > 0x7f800000) {
        write_padded(field, w >= 3 ? "NaN" : "****");
        return;
    }
    if (bits == 0x7f800000) {
        if (!neg)
            write_padded(field, w >= 8 ? "Infinity" : "Inf");
        else
            write_padded(field, w >= 9 ? "-Infinity" : "-Inf");
        return;
    }
    exact e = split(bits);
    char dec[max_decimals + 1];
    for (int k = 0; k < d; ++k) dec[k] = static_cast<char>('0' + next_digit(e.frac));
    int rest = next_digit(e.frac);
    bool up = rest > 5 || (rest == 5 && !is_zero(e.frac));
    if (rest == 5 && is_zero(e.frac)) {
        int last = d > 0 ? dec[d - 1] - '0' : static_cast<int>(e.ip % 10);
        up = (last & 1) != 0;
    }
    if (up) {
        int k = d - 1;
        while (k >= 0 && dec[k] == '9') dec[k--] = '0';
        if (k >= 0)
            ++dec[k];
        else
            ++e.ip;
    }
    // sign, optional "0", integer digits, ".", decimals
    char body[48 + 1 + max_decimals]; // digits, ".", decimals
    char* end = body + 48;
    int nint = int_digits(e.ip, end);
    char* start = end - nint;
    int need = nint + 1 + d + (neg ? 1 : 0);
    if (nint == 0 && need < w) {
        *--start = '0';
        ++need;
    }
    if (neg) *--start = '-';
    *end = '.';
    std::memcpy(end + 1, dec, static_cast<std::size_t>(d));
    write_padded(field, std::string_view(start, static_cast<std::size_t>(need)));
}

} // namespace orv
