// Whether a descriptor is a terminal, for progress lines and summaries, and
// whether the locale's terminal shows UTF-8.
#pragma once

namespace orv::io {

// True when descriptor fd is a terminal.
bool is_terminal(int fd);

// True when descriptors a and b are the same terminal.
bool same_terminal(int a, int b);

// True when the locale names UTF-8 as its character set: the first of
// lc_all, lc_ctype and lang that is set and not empty decides, as the C
// library chooses the character type ("de_CH.UTF-8", "C.utf8"); null
// stands for unset.
bool utf8_locale(const char* lc_all, const char* lc_ctype, const char* lang);

// The same for this process's LC_ALL, LC_CTYPE and LANG.
bool utf8_locale();

} // namespace orv::io
