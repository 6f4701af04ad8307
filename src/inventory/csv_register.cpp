// Reading a CSV register: records found by the scanner, texts by a split of
// each record's own bytes.
#include "inventory/csv_register.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "csv/encoding.h"
#include "io/os_error.h"

namespace orv::inventory {

namespace {

constexpr std::size_t piece = 1 << 16;

} // namespace

csv_reader::~csv_reader() {
    if (fd_ >= 0) ::close(fd_);
}

bool csv_reader::open(const std::string& path, char delim, std::string& why) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        why = "nicht lesbar: " + io::os_error(errno, io::use::read);
        return false;
    }
    struct stat st;
    if (fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) size_ = static_cast<std::uint64_t>(st.st_size);
    sc_ = csv::scanner(delim);
    // The first bytes tell the encoding.
    while (buf_.size() < 4 && !eof_) {
        if (!fill(why)) {
            why = "nicht lesbar: " + why;
            return false;
        }
    }
    if (const char* enc = csv::foreign_encoding(buf_.data(), buf_.size())) {
        why = csv::foreign_message(enc);
        return false;
    }
    if (std::string_view(buf_).starts_with(csv::utf8_mark)) {
        mark_.assign(csv::utf8_mark);
        buf_.erase(0, mark_.size());
        consumed_ = mark_.size();
    }
    return true;
}

// Appends the next piece of the file to the buffer.
bool csv_reader::fill(std::string& why) {
    const std::size_t have = buf_.size();
    buf_.resize(have + piece);
    ssize_t n;
    do n = ::read(fd_, buf_.data() + have, piece);
    while (n < 0 && errno == EINTR);
    if (n < 0) {
        buf_.resize(have);
        why = io::os_error(errno, io::use::read);
        return false;
    }
    buf_.resize(have + static_cast<std::size_t>(n));
    eof_ = n == 0;
    return true;
}

bool csv_reader::next(record& r, std::string& why) {
    if (done_) return false;
    r = record{};
    r.line = sc_.line();
    bool unclosed = false, bad_quote = false;
    for (;;) {
        if (pos_ == buf_.size() && !eof_ && !fill(why)) return false;
        const char* b = buf_.data();
        const char* end = b + buf_.size();
        csv::event ev = csv::event::more;
        const char* p = b + pos_;
        std::size_t content = 0;
        if (p != end || !eof_) {
            p = sc_.scan(p, end, ev, eof_);
            pos_ = static_cast<std::size_t>(p - b);
        }
        if (ev == csv::event::field || ev == csv::event::record) {
            unclosed = unclosed || sc_.field().unclosed;
            bad_quote = bad_quote || sc_.field().bad_quote;
        }
        if (ev == csv::event::more) {
            if (!eof_) {
                // The bytes not consumed come again at the front of the next piece.
                if (pos_ < buf_.size()) {
                    if (!fill(why)) return false;
                    continue;
                }
                continue;
            }
            if (!sc_.finish(end)) {
                done_ = true;
                return false;
            }
            unclosed = unclosed || sc_.field().unclosed;
            bad_quote = bad_quote || sc_.field().bad_quote;
            content = buf_.size();
            pos_ = buf_.size();
            done_ = true;
        } else if (ev == csv::event::field) {
            continue;
        } else {
            content = static_cast<std::size_t>(sc_.content_end() - b);
        }
        r.bytes.assign(buf_, 0, content);
        r.end.assign(buf_, content, pos_ - content);
        r.empty = r.bytes.empty();
        r.mark = std::move(mark_);
        mark_.clear();
        consumed_ += pos_;
        buf_.erase(0, pos_);
        pos_ = 0;
        // A header without a delimiter leaves the comma for the rows.
        if (sc_.delim() == 0) sc_.set_delim(',');
        r.fields = split_fields(r.bytes, delim());
        if (unclosed)
            r.fault = "Anfuehrungszeichen nicht geschlossen";
        else if (bad_quote)
            r.fault = "fehlerhafte Anfuehrungszeichen";
        return true;
    }
}

std::vector<span> field_spans(const std::string& bytes, char delim) {
    std::vector<span> out;
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    for (;;) {
        const std::size_t from = i;
        if (i < n && bytes[i] == '"') {
            // To the closing quote; "" inside is one quote.
            for (++i; i < n; ++i) {
                if (bytes[i] != '"') continue;
                if (i + 1 < n && bytes[i + 1] == '"') {
                    ++i;
                    continue;
                }
                ++i;
                break;
            }
        }
        while (i < n && bytes[i] != delim) ++i;
        out.push_back({from, i});
        if (i >= n) break;
        ++i;
    }
    return out;
}

std::vector<std::string> split_fields(const std::string& bytes, char delim) {
    std::vector<std::string> out;
    for (const span& s : field_spans(bytes, delim)) {
        std::string f;
        std::size_t i = s.from;
        if (i < s.to && bytes[i] == '"') {
            for (++i; i < s.to; ++i) {
                if (bytes[i] != '"') {
                    f += bytes[i];
                    continue;
                }
                if (i + 1 < s.to && bytes[i + 1] == '"') {
                    f += '"';
                    ++i;
                    continue;
                }
                ++i;
                break;
            }
        }
        f.append(bytes, i, s.to - i);
        out.push_back(std::move(f));
    }
    return out;
}

} // namespace orv::inventory
