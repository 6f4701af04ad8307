// A CSV register read record by record, in bounded memory: the header's
// names, then each record's bytes, line end and field texts.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "csv/scan.h"

namespace orv::inventory {

// One record of the file as read.
struct record {
    std::string bytes;               // its bytes without the line end
    std::string end;                 // its line end as in the file ("" at the end of the input)
    std::vector<std::string> fields; // the fields' texts, quotes removed
    std::size_t line = 0;            // the physical line it begins on
    bool empty = false;              // an empty line
    std::string fault;               // what is wrong with its quoting, "" when nothing
    std::string mark;                // the header's UTF-8 byte-order mark, kept for the output
};

// Reads a CSV file with the batch command's tokenizer.
class csv_reader {
  public:
    csv_reader() = default;
    ~csv_reader();
    csv_reader(const csv_reader&) = delete;
    csv_reader& operator=(const csv_reader&) = delete;

    // Opens path; delim 0 takes the first of ';', ',' or tab met in the
    // header. A UTF-8 byte-order mark is not part of the first name; a file
    // in UTF-16 or UTF-32 is refused. False with a German reason.
    bool open(const std::string& path, char delim, std::string& why);
    // The next record into r; false at the end of the input or on a read
    // error (then why is set).
    bool next(record& r, std::string& why);
    // The delimiter, once the header is read.
    char delim() const { return sc_.delim() ? sc_.delim() : ','; }
    // Bytes consumed so far and the file's size (0 when unknown).
    std::uint64_t consumed() const { return consumed_; }
    std::uint64_t size() const { return size_; }

  private:
    bool fill(std::string& why);

    int fd_ = -1;
    csv::scanner sc_;
    std::string buf_;     // from the start of the current record to what was read
    std::size_t pos_ = 0; // scanning position in buf_
    bool eof_ = false, done_ = false;
    std::string mark_; // the byte-order mark, until the header takes it
    std::uint64_t consumed_ = 0, size_ = 0;
};

// The fields of a record's bytes split at delim: a field that begins with a
// quote ends at the closing quote, "" inside standing for one quote.
std::vector<std::string> split_fields(const std::string& bytes, char delim);

// Where each field of a record's bytes begins and ends, quotes included:
// the bytes between two delimiters as the file has them.
struct span {
    std::size_t from, to;
};
std::vector<span> field_spans(const std::string& bytes, char delim);

} // namespace orv::inventory
