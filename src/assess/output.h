// The judged layers written with OGR: each input layer with its geometry
// and attributes and the orv_ fields, through a staged directory so that
// nothing appears unless the whole file is complete.
#pragma once
#include <memory>
#include <string>

#include "assess/judge.h"
#include "style/objects_style.h"

class OGRFeature;
class OGRLayer;
class OGRSpatialReference;

namespace orv::assess {

// The OGR vector driver for path: GeoPackage without an extension, else
// the first writable vector driver that claims the extension; empty with
// a German reason when there is none.
std::string choose_driver(const std::string& path, std::string& why);

// True when the driver can hold more than one layer in a file.
bool holds_layers(const std::string& driver);

// Where the judged layers go: the file as given, its driver, and whether
// each object's worst point joins them (--worst-points) as a layer in the
// site's system site (null for none), in a file of its own beside path
// when the format holds one layer.
struct output_target {
    std::string path, driver;
    bool points = false;
    const OGRSpatialReference* site = nullptr;
};

// What is written besides the judgement: the threshold level L needs for
// the criterion.
class layer_writer {
  public:
    layer_writer();
    ~layer_writer();
    layer_writer(const layer_writer&) = delete;
    layer_writer& operator=(const layer_writer&) = delete;

    // Creates the output (and the worst points' file) in a private
    // directory; false with a German message naming the output, usage set
    // when the command line named the same file twice.
    bool open(const output_target& t, std::string& why, bool& usage);
    // Adds a layer named name shaped like in (its geometry type and fields,
    // without the input's orv_ fields of the same names), plus the orv_
    // fields, in the system srs (null for none); it becomes the current
    // layer. label_field: in's field that labels a worst point, -1 for the
    // feature id.
    bool add_layer(OGRLayer& in, const std::string& name, const OGRSpatialReference* srs,
                   int label_field, std::string& why);
    // Writes in's geometry and attributes with the judgement v to the
    // current layer, keeping in's feature id where the driver allows.
    bool write(const OGRFeature& in, const verdict& v, const levels& lv, int from,
               std::string& why);
    // Gives the file the judged objects' style l, stored by commit.
    void styled(const style::object_look& l);
    // Closes the file and moves it (and the files that belong with it) into
    // place; false with a German reason (from the output itself: naming it).
    bool commit(std::string& why);

  private:
    bool write_points(std::string& why);
    bool style(bool side, std::string& why);

    struct state;
    std::unique_ptr<state> st_;
};

} // namespace orv::assess
