// Process entry of the calculator.
#include "consoleio/process.h"
#include "dialogue/dialogue.h"

int main() {
    orv::start_process();
    orv::main_program();
}
