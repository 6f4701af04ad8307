// Leak reports that the sanitizer build of the orvalis command suppresses:
// fontconfig, loaded by cairo to find the pictures' font, keeps memory it
// never frees (reported as direct leaks at exit, allocated inside the
// library), and so does cairo for its static caches. Linked into the
// program and the tests only when they are built with sanitizers.

// The sanitizer runtime reads this list at start.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libcairo.so\n";
}

// Standard error stays the program's own: no table of the suppressions used.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
