// The user's vector sources read with OGR: the layers to judge, the site's
// coordinate system, and each feature's geometry as parts in it.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "assess/sample.h"

class GDALDataset;
class OGRCoordinateTransformation;
class OGRFeature;
class OGRLayer;
class OGRSpatialReference;

namespace orv::assess {

// An object handed over by a program rather than read from a file: its
// geometry as WKT or as a GeoJSON geometry object, empty for none.
struct given_geometry {
    std::string text;
    bool json = false;
};

// Which layers of which files, and how.
struct source_request {
    std::vector<std::string> paths;  // in command-line order
    std::vector<std::string> layers; // names to take; empty for every layer with a geometry
    std::string crs;                 // "EPSG:NNNN"; empty for the first layer's
    std::string coord_e, coord_n;    // CSV columns of easting and northing; empty for none
    bool coords_option = true;       // whether --coords names them (messages say so)
    // Objects held in memory (the Python module's), one layer after the
    // files, in the site's system; each one's index is its feature id. The
    // source and layer they are named by in messages and summaries.
    std::vector<given_geometry> given;
    std::string given_source = "sources";
    std::string given_layer = "objekte";
};

// One layer to judge, with what takes its geometries to the site's system.
struct layer_in {
    std::string path;
    std::string name;
    OGRLayer* layer = nullptr;
    OGRCoordinateTransformation* ct = nullptr; // null when already in the site's system
    bool has_crs = false;                      // false: taken to be in the site's system
    std::string driver;                        // GDAL's name of the source's format
    std::string coord_e, coord_n;              // a CSV's --coords columns, empty for none
};

// One part of a geometry, in the site's system: a point, a line, or a
// polygon's closed rings (exterior first).
struct part {
    enum kind { point, line, polygon } k;
    std::vector<std::vector<xy>> rings;
};

// The open sources and their chosen layers.
class sources {
  public:
    sources();
    ~sources();
    sources(const sources&) = delete;
    sources& operator=(const sources&) = delete;

    // Opens every source, chooses the layers and the site's system; false
    // with a German message naming the source and layer in why.
    bool open(const source_request& r, std::string& why);
    const std::vector<layer_in>& layers() const { return layers_; }
    // The site's system, null when neither --crs nor the first layer has one.
    const OGRSpatialReference* site_crs() const;

  private:
    struct state;
    std::unique_ptr<state> st_;
    std::vector<layer_in> layers_;
};

// The geometry of f as parts in the site's system (Z and M dropped, curves
// linearised); false with a German reason when it cannot be transformed or
// holds a coordinate that is not a finite number. spacing bounds the size
// a feature may have.
bool read_parts(const OGRFeature& f, OGRCoordinateTransformation* ct, double spacing,
                std::vector<part>& out, std::string& why);

// Samples the parts in order.
void sample_parts(const std::vector<part>& parts, sampler& s);

} // namespace orv::assess
