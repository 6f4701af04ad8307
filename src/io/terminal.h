// Whether a descriptor is a terminal, for progress lines and summaries.
#pragma once

namespace orv::io {

// True when descriptor fd is a terminal.
bool is_terminal(int fd);

// True when descriptors a and b are the same terminal.
bool same_terminal(int a, int b);

} // namespace orv::io
