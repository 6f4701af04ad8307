#include <cfenv>

#include "consoleio/process.h"

namespace orv {

// Masks all six floating-point exceptions, the denormal operand one
// included, and clears their flags, so that arithmetic never traps.
void mask_fp_exceptions() {
    std::feclearexcept(FE_ALL_EXCEPT);
#if defined(__x86_64__) || defined(__i386__)
    unsigned mxcsr;
    __asm__ volatile("stmxcsr %0" : "=m"(mxcsr));
    mxcsr |= 0x1f80u; // the six exception masks
    mxcsr &= ~0x3fu;  // and no flag raised
    __asm__ volatile("ldmxcsr %0" : : "m"(mxcsr));
    unsigned short cw;
    __asm__ volatile("fnstcw %0" : "=m"(cw));
    cw |= 0x3f;
    __asm__ volatile("fldcw %0" : : "m"(cw));
    __asm__ volatile("fnclex");
#endif
}

} // namespace orv
