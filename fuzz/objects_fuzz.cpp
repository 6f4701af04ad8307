// Fuzz target: random WKT and GeoJSON through the object reader and the
// sampler, as assess reads a user's layer. The first byte chooses the form
// (WKT in a CSV cell, a GeoJSON geometry in a feature, the bytes as a whole
// CSV or GeoJSON file) and the spacing; the rest is the text. Checked are:
// no crash; a feature "without geometry" only when its text is blank, null
// or an empty geometry (an unreadable one must be an error); no more
// samples than the feature's extent and length allow.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <cpl_vsi.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include "assess/judge.h"
#include "assess/read_feature.h"
#include "assess/sample.h"
#include "assess/source.h"
#include "geo/context.h"
#include "model/params.h"
#include "model/stages.h"

namespace {

[[noreturn]] void fail(const char* what, const std::string& text) {
    std::fprintf(stderr, "objects_fuzz: %s: %s\n", what, text.c_str());
    std::abort();
}

// Samples more than this are not taken: the sampler's time grows with the
// samples by design, and the bound below is what is checked.
constexpr double budget = 1e4;

// Counts samples and judges them.
struct counter : orv::assess::sample_sink {
    orv::assess::judge j;
    std::uint64_t n = 0;
    explicit counter(const orv::assess::frame& f) : j(f) {}
    void take(const orv::assess::xy* p, std::size_t k) override {
        n += k;
        j.take(p, k);
    }
};

// The most samples parts may give at spacing s: every vertex, every
// segment's points, and the lattice centres of each polygon's box.
double sample_bound(const std::vector<orv::assess::part>& parts, double s) {
    double b = 0;
    for (const auto& p : parts) {
        double e0 = INFINITY, e1 = -INFINITY, n0 = INFINITY, n1 = -INFINITY;
        for (const auto& ring : p.rings) {
            for (std::size_t k = 0; k < ring.size(); ++k) {
                e0 = std::fmin(e0, ring[k].e), e1 = std::fmax(e1, ring[k].e);
                n0 = std::fmin(n0, ring[k].n), n1 = std::fmax(n1, ring[k].n);
                b += 1;
                if (k + 1 < ring.size())
                    b += std::ceil(std::hypot(ring[k + 1].e - ring[k].e, ring[k + 1].n - ring[k].n) /
                                   s);
            }
        }
        if (p.k == orv::assess::part::polygon && e0 <= e1)
            b += (std::floor(e1 / s) - std::floor(e0 / s) + 1) *
                 (std::floor(n1 / s) - std::floor(n0 / s) + 1);
    }
    return b;
}

// True when text holds only blanks and line ends.
bool blank(const std::string& t) {
    return t.find_first_not_of(" \t\r\n") == std::string::npos;
}

// True when the geometry text, read on its own, is null or empty: the only
// texts a feature "without geometry" may have.
bool empty_text(const std::string& t, bool json) {
    if (blank(t)) return true;
    OGRGeometry* g = nullptr;
    if (json) {
        const auto a = t.find_first_not_of(" \t\r\n");
        if (t.compare(a, 4, "null") == 0 && blank(t.substr(a + 4))) return true;
        g = OGRGeometryFactory::createFromGeoJson(t.c_str());
    } else {
        OGRGeometryFactory::createFromWkt(t.c_str(), nullptr, &g);
    }
    const bool empty = g && g->IsEmpty();
    delete g;
    return empty;
}

// The file for a form: its name and content.
std::string file_of(int form, const std::string& t, std::string& name) {
    switch (form) {
    case 0: {
        name = "/vsimem/o.csv";
        std::string q;
        for (char c : t) q += c == '"' ? std::string("\"\"") : std::string(1, c);
        return "id,WKT\n1,\"" + q + "\"\n";
    }
    case 1:
        name = "/vsimem/o.geojson";
        return R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{},"geometry":)" +
               t + "}]}";
    case 2: name = "/vsimem/o.csv"; return t;
    default: name = "/vsimem/o.geojson"; return t;
    }
}

// The object path over one file: every feature read, sampled and judged.
void read_all(const std::string& name, const std::string& text, int form, double spacing) {
    orv::assess::source_request r;
    r.paths = {name};
    orv::assess::sources src;
    std::string why;
    if (!src.open(r, why)) {
        if (why.empty()) fail("refused without a reason", text);
        return;
    }
    static const orv::assess::frame f = orv::assess::make_frame(
        orv::make_site(orv::params{}), orv::levels{}, orv::map::georef{0, 0, 90});
    std::vector<orv::assess::part> parts;
    std::vector<orv::assess::xy> buf;
    for (const auto& l : src.layers()) {
        OGRFeature* feat = nullptr;
        int k = 0;
        while (orv::assess::next_feature(l, spacing, feat, parts, why)) {
            OGRFeature::DestroyFeature(feat);
            ++k;
            if (!why.empty()) continue;
            if (parts.empty() && form < 2 && k == 1 && !empty_text(text, form == 1))
                fail("unreadable geometry taken as none", text);
            const double bound = sample_bound(parts, spacing);
            if (bound > budget) continue;
            counter c(f);
            orv::assess::sampler s(spacing, c, buf);
            orv::assess::sample_parts(parts, s);
            s.flush();
            if (static_cast<double>(c.n) > bound) fail("more samples than the bound", text);
            (void)c.j.result();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Only the two formats fuzzed: identifying a file among all of GDAL's
    // drivers would cost most of each input's time.
    orv::geo::register_drivers();
    GDALDriverManager* m = GetGDALDriverManager();
    for (int k = m->GetDriverCount() - 1; k >= 0; --k) {
        GDALDriver* d = m->GetDriver(k);
        const std::string n = d->GetDescription();
        if (n == "CSV" || n == "GeoJSON") continue;
        m->DeregisterDriver(d);
        GDALDestroyDriver(d);
    }
    CPLSetConfigOption("CPL_LOG", "/dev/null");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const int form = data[0] & 3;
    static const double spacings[] = {1, 0.5, 7, 1e-3};
    const double spacing = spacings[data[0] >> 2 & 3];
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    // Inside a cell or a feature a NUL would end GDAL's text early.
    if (form < 2)
        for (char& c : text)
            if (c == '\0') c = ' ';
    std::string name;
    const std::string content = file_of(form, text, name);
    VSILFILE* fp = VSIFileFromMemBuffer(
        name.c_str(), reinterpret_cast<GByte*>(const_cast<char*>(content.data())),
        static_cast<vsi_l_offset>(content.size()), FALSE);
    if (!fp) return 0;
    VSIFCloseL(fp);
    read_all(name, text, form, spacing);
    VSIUnlink(name.c_str());
    return 0;
}
