// The main program: the Banner and the menu loop.
#include "consoleio/process.h"
#include "consoleio/read.h"
#include "consoleio/write.h"
#include "dialogue/dialogue.h"

namespace orv {
namespace {

constexpr const char* rule = " ------------------------------";

// Prints the Banner: an empty line and the boxed name, version and notice.
void banner() {
    write_list({111, 6});
    write_list({112, 6}, {rule});
    write_list({113, 6}, {"|    ORVALIS 2D Version 1.1    |"});
    write_list({114, 6}, {"|  (c) 2015 Projekt ORVALIS    |"});
    write_list({115, 6}, {rule});
}

// One calculation pass: the prompts, the computation and its report.
void calculation() {
    params& p = stored_params();
    if (!enter_params(p)) return;
    print_report(p, compute_intensity(p));
}

} // namespace

void main_program() {
    clear_screen("cls");
    banner();
    for (;;) {
        write_formatted({120, 6}, "(/,' [I]ntensitaet [H]ilfe e[X]it> ',$)");
        char letter[1];
        read_formatted({122, 5}, letter);
        unsigned char c = fold_letter(static_cast<unsigned char>(letter[0]));
        if (c == 'x') stop();
        if (c == 'h')
            help_pages();
        else
            calculation();
    }
}

} // namespace orv
