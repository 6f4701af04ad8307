// --crs texts to spatial references: EPSG codes through PROJ's database,
// definitions and files holding one through PROJ's reader.
#include "geo/crs.h"

#include <cstdio>
#include <memory>

#include <sys/stat.h>

#include <cpl_string.h>
#include <ogr_spatialref.h>

#include "geo/context.h"
#include "geo/epsg_code.h"

namespace orv::geo {

namespace {

// A definition file larger than this is no coordinate system.
constexpr std::size_t max_file = 1 << 20;

// def as PROJ reads a definition, never opening a file or the network. A
// definition without an area of use (WKT1, a PROJ string) becomes the
// system of PROJ's database it surely is, when there is one, so that its
// area of use is checked as an EPSG code's is.
bool from_definition(const std::string& def, OGRSpatialReference& srs) {
    messages q;
    const char* const limits[] = {"ALLOW_NETWORK_ACCESS=NO", "ALLOW_FILE_ACCESS=NO", nullptr};
    if (def.empty() || srs.SetFromUserInput(def.c_str(), limits) != OGRERR_NONE) return false;
    double w, s, e, n;
    if (srs.GetAreaOfUse(&w, &s, &e, &n, nullptr)) return true;
    if (OGRSpatialReference* match = srs.FindBestMatch(90)) {
        srs = *match;
        match->Release();
    }
    return true;
}

// "EPSG:NNNN" into srs; false with why.
bool from_epsg_text(const std::string& text, OGRSpatialReference& srs, std::string& why) {
    int code = 0;
    if (!epsg_code(text, code)) {
        why = "Option --crs: EPSG:NNNN erwartet: " + text;
        return false;
    }
    if (!crs_from_epsg(code, srs)) {
        why = "Option --crs: unbekanntes Koordinatensystem: " + text;
        return false;
    }
    return true;
}

// The text of the regular file at path, blanks around it trimmed; false
// when path is no regular file or it cannot be read whole.
bool file_text(const std::string& path, std::string& text, std::string& why) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"),
                                                            std::fclose);
    std::string t(max_file + 1, '\0');
    const std::size_t n = f ? std::fread(t.data(), 1, t.size(), f.get()) : 0;
    if (!f || std::ferror(f.get()) || n > max_file) {
        why = "Option --crs: Datei " + path + (f && n > max_file ? " zu gross" : " nicht lesbar");
        return true;
    }
    t.resize(n);
    const std::size_t b = t.find_first_not_of(" \t\r\n");
    const std::size_t e = t.find_last_not_of(" \t\r\n");
    text = b == std::string::npos ? "" : t.substr(b, e - b + 1);
    return true;
}

} // namespace

bool crs_from_epsg(int code, OGRSpatialReference& srs) {
    messages q;
    return code > 0 && srs.importFromEPSG(code) == OGRERR_NONE;
}

bool read_crs(const std::string& text, OGRSpatialReference& srs, std::string& why) {
    if (has_epsg_prefix(text)) return from_epsg_text(text, srs, why);
    std::string def;
    why.clear();
    if (file_text(text, def, why)) {
        if (!why.empty()) return false;
        if (has_epsg_prefix(def)) return from_epsg_text(def, srs, why);
        if (from_definition(def, srs)) return true;
        why = "Option --crs: Datei " + text + " haelt kein lesbares Koordinatensystem";
        return false;
    }
    if (from_definition(text, srs)) return true;
    why = "Option --crs: EPSG:NNNN, WKT, PROJ-Zeichenkette oder Datei erwartet: " + text;
    return false;
}

std::string crs_name(const OGRSpatialReference& srs) {
    const char* name = srs.GetName();
    std::string s = name ? name : "?";
    const char* auth = srs.GetAuthorityName(nullptr);
    const char* code = srs.GetAuthorityCode(nullptr);
    if (auth && code && EQUAL(auth, "EPSG")) s += std::string(" (EPSG:") + code + ")";
    return s;
}

} // namespace orv::geo
