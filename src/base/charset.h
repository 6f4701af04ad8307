// The two forms a German text takes: ASCII for the terminal, UTF-8 for
// pictures and documents.
#pragma once

namespace orv {

// ASCII ("m2/s") for terminal texts, UTF-8 ("m²/s") for pictures and documents.
enum class charset { ascii, utf8 };

} // namespace orv
