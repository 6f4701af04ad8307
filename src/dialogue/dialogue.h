// The interactive dialogue: menu loop, parameter entry, help pages, reports.
#pragma once
#include "model/intensity.h"

namespace orv {

// The process-wide Parameter set, with its initial values at start.
params& stored_params();

// The main program: Banner, then the menu loop until the exit command.
[[noreturn]] void main_program();

// Asks for the seven parameters; false when an answer could not be read.
bool enter_params(params& p);

// Prints the two help pages with the pause between them.
void help_pages();

// Prints the Result report or the Warning block, correcting p for the latter.
void print_report(params& p, const intensity_outcome& o);

// The whole number shown for v: nearest, halves away from zero; NaN and
// values out of range give the most negative 32-bit integer.
int32_t round_display(real v);

// Folds a Command letter: codes up to 95 move up by 32.
inline unsigned char fold_letter(unsigned char c) {
    return c <= 95 ? c + 32 : c;
}

} // namespace orv
