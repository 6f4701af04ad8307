// Fuzz target: F and I editing of any 32 bits against the printf reference.
// Bytes 0-3 are the float bits and the integer; bytes 4 and 5, when present,
// pick one more F descriptor of any width and number of decimals.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "consoleio/edit.h"
#include "consoleio/format.h"
#include "support/reference.h"

namespace {

// Edits into a heap field of exactly w characters, so that the address
// sanitizer sees a write past it, and compares with the reference.
void check_f(float x, int w, int d, const orv::ref::f_ref& ref) {
    char* field = new char[static_cast<std::size_t>(w)];
    std::memset(field, 0, static_cast<std::size_t>(w));
    orv::edit_f({field, static_cast<std::size_t>(w)}, d, x);
    char want[orv::ref::max_w];
    ref.field(want, x);
    if (std::memcmp(field, want, static_cast<std::size_t>(w)) != 0) {
        uint32_t bits;
        std::memcpy(&bits, &x, sizeof bits);
        std::fprintf(stderr, "F%d.%d of %08x (%.9g): \"%.*s\", reference \"%.*s\"\n", w, d, bits,
                     static_cast<double>(x), w, field, w, want);
        std::abort();
    }
    delete[] field;
}

void check_i(int32_t k, int w) {
    char* field = new char[static_cast<std::size_t>(w)];
    std::memset(field, 0, static_cast<std::size_t>(w));
    orv::edit_i({field, static_cast<std::size_t>(w)}, k);
    char want[orv::ref::max_w];
    orv::ref::i_reference(want, w, k);
    if (std::memcmp(field, want, static_cast<std::size_t>(w)) != 0) {
        std::fprintf(stderr, "I%d of %d: \"%.*s\", reference \"%.*s\"\n", w, k, w, field, w, want);
        std::abort();
    }
    delete[] field;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const orv::ref::f_ref f82(8, 2), f62(6, 2), f63(6, 3);
    uint8_t b[4] = {};
    std::memcpy(b, data, size < 4 ? size : 4);
    uint32_t bits =
        uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
    float x;
    std::memcpy(&x, &bits, sizeof x);
    int32_t k;
    std::memcpy(&k, &bits, sizeof k);

    check_f(x, 8, 2, f82);
    check_f(x, 6, 2, f62);
    check_f(x, 6, 3, f63);
    check_i(k, 10);
    check_i(k, 6);
    if (size >= 6) {
        int w = 1 + data[4] % orv::max_width;
        int d = data[5] % (orv::max_decimals + 1);
        check_f(x, w, d, orv::ref::f_ref(w, d));
        check_i(k, w);
    }
    return 0;
}
