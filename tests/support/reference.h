// Reference fields for F and I editing, built from the C library's printf
// conversions. Used by the unit tests, the exhaustive checks and the fuzz
// targets, so it must not share any code with the editors it checks.
#pragma once
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace orv::ref {

// Largest field width the references handle.
inline constexpr int max_w = 120;

// Fills out[0..w) with w asterisks.
inline void stars(char* out, int w) {
    std::memset(out, '*', static_cast<std::size_t>(w));
}

// Right-justifies text of length n in w positions, or stars when too long.
inline void justify(char* out, int w, const char* text, int n) {
    if (n > w) return stars(out, w);
    std::memset(out, ' ', static_cast<std::size_t>(w - n));
    std::memcpy(out + (w - n), text, static_cast<std::size_t>(n));
}

// F editing of x in w positions with d decimals (1 <= w <= max_w, 0 <= d <= 100).
// The finite case is "%#*.*f" of the value widened to double: printf already
// writes the sign bit as "-" (negative zero and values rounding to zero too)
// and a "0" before the point. F drops that "0" when it is the only integer
// digit and the field has no room for it, and writes asterisks when the text
// is still too wide. The "#" keeps the point when d is 0.
class f_ref {
  public:
    f_ref(int w, int d) : w_(w), d_(d) {
        char t[32];
        std::snprintf(t, sizeof t, "1e%d", w - d);
        big_ = w - d >= 1 && w - d <= 22 ? std::strtod(t, nullptr) : HUGE_VAL;
        std::snprintf(t, sizeof t, "1e-%d", d + 1);
        tiny_ = std::strtod(t, nullptr);
        convert(zero_[0], 0.0);
        convert(zero_[1], -0.0);
    }

    int w() const { return w_; }
    int d() const { return d_; }

    // Writes the reference field of x into out[0..w).
    void field(char* out, float x) const {
        if (std::isnan(x)) return justify(out, w_, "NaN", 3);
        if (std::isinf(x)) {
            if (x > 0)
                return w_ >= 8 ? justify(out, w_, "Infinity", 8) : justify(out, w_, "Inf", 3);
            return w_ >= 9 ? justify(out, w_, "-Infinity", 9) : justify(out, w_, "-Inf", 4);
        }
        double v = x;
        double a = std::fabs(v);
        // w - d + 1 or more integer digits never fit; neither does d >= w.
        if (d_ + 1 > w_ || a >= big_) return stars(out, w_);
        // Below a tenth of the last decimal the value always rounds to zero.
        if (a < tiny_) return std::memcpy(out, zero_[std::signbit(v) ? 1 : 0], w_), void();
        convert(out, v);
    }

  private:
    // The printf path for any finite value.
    void convert(char* out, double v) const {
        char t[512];
        int n = std::snprintf(t, sizeof t, "%#*.*f", w_, d_, v);
        if (n <= w_) return std::memcpy(out, t, static_cast<std::size_t>(w_)), void();
        int z = t[0] == '-' ? 1 : 0; // position of the first integer digit
        if (n == w_ + 1 && t[z] == '0' && t[z + 1] == '.') {
            std::memcpy(out, t, static_cast<std::size_t>(z));
            std::memcpy(out + z, t + z + 1, static_cast<std::size_t>(n - z - 1));
            return;
        }
        stars(out, w_);
    }

    int w_, d_;
    double big_, tiny_;
    char zero_[2][max_w];
};

// I editing of k in w positions: "%*d", or asterisks when wider than w.
inline void i_reference(char* out, int w, int k) {
    char t[32];
    int n = std::snprintf(t, sizeof t, "%d", k);
    justify(out, w, t, n);
}

} // namespace orv::ref
