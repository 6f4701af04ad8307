// One whole calculation pass written to an in-memory sink: the Menu line, the
// seven prompts with their answers, the computation and its report.
#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "consoleio/read.h"
#include "consoleio/stream.h"
#include "consoleio/write.h"
#include "dialogue/dialogue.h"

namespace {

constexpr std::size_t entry_len = 64;

// The prompts as the dialogue shows them, with the line of each answer read.
struct prompt {
    const char* fmt;
    bool whole;
    int line;
    orv::real orv::params::*field;
};

constexpr prompt prompts[] = {
    {"(' <Stauhoehe       H (',f6.2,'m)>')", false, 167, &orv::params::h},
    {"(' <Breschenbreite  B (',f6.2,'m)>')", false, 174, &orv::params::b},
    {"(' <Volumen  Vol (',i10,'m3)>')", true, 181, &orv::params::vol},
    {"(' <Sohlengefaelle  S (',f6.2,'%)>')", false, 188, &orv::params::slp},
    {"(' <Korndurchmesser D (',f6.3,'m)>')", false, 195, &orv::params::dm},
    {"(' <Breschendistanz x (',i6,'m)>')", true, 202, &orv::params::x1},
    {"(' <Mittendistanz   y (',i6,'m)>')", true, 209, &orv::params::y1},
};

using answers = std::array<std::string_view, 7>;

// One pass; the answer lines stand in for the reads of standard input.
void pass(orv::params& p, const answers& a) {
    static char entry[entry_len];
    orv::write_formatted({120, 6}, "(/,' [I]ntensitaet [H]ilfe e[X]it> ',$)");
    for (std::size_t k = 0; k < 7; ++k) {
        const prompt& pr = prompts[k];
        orv::real& value = p.*pr.field;
        if (pr.whole)
            orv::write_internal({pr.line - 2, 0}, entry, pr.fmt, {orv::round_display(value)});
        else
            orv::write_internal({pr.line - 2, 0}, entry, pr.fmt, {value});
        orv::write_formatted({pr.line - 1, 6}, "(a31,$)", {std::string_view(entry, entry_len)});
        std::memset(entry, ' ', entry_len);
        std::memcpy(entry, a[k].data(), a[k].size());
        if (a[k].find_first_not_of(' ') == std::string_view::npos) continue;
        orv::read_internal({pr.line + 2, 0}, {entry, entry_len}, value,
                           orv::handles_error | orv::handles_end);
    }
    orv::print_report(p, orv::compute_intensity(p));
}

// Parameter sets and answers of the three kinds of pass.
struct scenario {
    orv::params start;
    answers a;
};

const scenario blank_result{{}, {"", "", "", "", "", "", ""}};
const scenario typed_result{{}, {"6", "  12.5", "5000", "2,5", "1.5E-1", "120", "10"}};
const scenario warning{{}, {"", "", "", "", "", "1", ""}};

// Opens the sink: a memfd is a regular file, so standard output is buffered;
// /dev/null is a device, so every record is its own write call.
int open_sink(bool buffered) {
    return buffered ? ::memfd_create("orv_bench", 0) : ::open("/dev/null", O_WRONLY);
}

// Bytes one pass of the scenario writes.
std::size_t pass_bytes(const scenario& sc) {
    int fd = ::memfd_create("orv_bench_size", 0);
    orv::connect(orv::stdout_unit(), fd);
    orv::params p = sc.start;
    pass(p, sc.a);
    orv::flush(orv::stdout_unit());
    struct stat st;
    ::fstat(fd, &st);
    ::close(fd);
    return static_cast<std::size_t>(st.st_size);
}

void bm_pass(benchmark::State& state, const scenario& sc, bool buffered) {
    const std::size_t bytes = pass_bytes(sc);
    int fd = open_sink(buffered);
    if (fd < 0) {
        state.SkipWithError("cannot open the sink");
        return;
    }
    orv::ounit& u = orv::stdout_unit();
    orv::connect(u, fd);
    std::size_t n = 0;
    for (auto _ : state) {
        orv::params p = sc.start;
        pass(p, sc.a);
        benchmark::DoNotOptimize(p);
        // keep the memfd small: start it again every few megabytes
        if (buffered && ++n % 4096 == 0) {
            orv::flush(u);
            ::lseek(fd, 0, SEEK_SET);
        }
    }
    orv::flush(u);
    ::close(fd);
    orv::connect(u, 1);
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["bytes_per_pass"] = static_cast<double>(bytes);
}

} // namespace

BENCHMARK_CAPTURE(bm_pass, blank_memfd, blank_result, true)->Name("pass/result_blank/memfd");
BENCHMARK_CAPTURE(bm_pass, typed_memfd, typed_result, true)->Name("pass/result_typed/memfd");
BENCHMARK_CAPTURE(bm_pass, warn_memfd, warning, true)->Name("pass/warning/memfd");
BENCHMARK_CAPTURE(bm_pass, blank_null, blank_result, false)->Name("pass/result_blank/devnull");
BENCHMARK_CAPTURE(bm_pass, typed_null, typed_result, false)->Name("pass/result_typed/devnull");
BENCHMARK_CAPTURE(bm_pass, warn_null, warning, false)->Name("pass/warning/devnull");
