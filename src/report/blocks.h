// A report as a sequence of blocks (headings, paragraphs, tables, the
// verdict, pictures), written once in German and laid out as PDF or HTML.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "report/document.h"

namespace orv::report {

struct block {
    enum kind { title, subtitle, heading, para, mono, pairs, table, verdict, map, profile, page };
    kind k;
    std::string text;               // title, heading, paragraph, verdict
    std::vector<std::string> lines; // verdict details
    std::vector<std::pair<std::string, std::string>> kv;
    std::vector<std::string> head; // table headings
    std::vector<double> widths;    // table columns, fractions of the width
    std::vector<std::vector<std::string>> rows;
};

// The blocks of the report c.
std::vector<block> compose(const content& c);

// A Real as the report prints it: the shortest exact digits.
std::string figure(real v);

} // namespace orv::report
