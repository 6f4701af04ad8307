// The summary of an assessment as German text and as JSON.
#pragma once
#include <string>

#include "assess/run.h"
#include "model/params.h"

namespace orv::assess {

// What the summary repeats of the run.
struct report_input {
    params site;
    levels lv;
    map::georef g;
    double spacing = 1;
    int from = 1;
    // Whether the terminal shows UTF-8: names and paths from the data are
    // then written as they are, else spelt in ASCII.
    bool utf8 = false;
};

// Features the text lists per layer and kind (request::keep); JSON lists all.
inline constexpr std::size_t text_list_limit = 50;

// "Kein Objekt im Bereich der Tabellen: naechstes Objekt N m von der
// Bresche" when every object lies beyond the tables' reach (umlauts in
// UTF-8 unless ascii); empty otherwise.
std::string reach_warning(const outcome& o, bool ascii);

// The German text (the tool's words in ASCII, the data's as in.utf8 says),
// listing the features the outcome kept.
std::string report_text(const report_input& in, const outcome& o);

// The same as JSON.
std::string report_json(const report_input& in, const outcome& o);

} // namespace orv::assess
