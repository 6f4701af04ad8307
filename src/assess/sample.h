// The sample points of a feature's geometry: points, lines at a spacing,
// polygons by their rings and the lattice centres inside them.
#pragma once
#include <cstddef>
#include <vector>

namespace orv::assess {

// A point in the site's coordinates, easting first.
struct xy {
    double e;
    double n;
};

// Coordinates in spacings beyond which no lattice is laid (2^52): below
// it every index is an exact integer and (k + 0.5) an exact double.
inline constexpr double max_lattice_index = 4503599627370496.0;

// True when coordinate c lies within max_lattice_index spacings of 0.
bool in_lattice(double c, double spacing);

// Receives samples in order, a few thousand at a time.
class sample_sink {
  public:
    virtual ~sample_sink() = default;
    virtual void take(const xy* p, std::size_t n) = 0;
};

// Collects samples into a buffer and hands full buffers to a sink, so that
// a polygon of any size is sampled in bounded memory.
class sampler {
  public:
    // buf: where samples wait for the sink; reused from feature to feature
    // so that a feature of one point costs no allocation.
    sampler(double spacing, sample_sink& sink, std::vector<xy>& buf);

    // A point.
    void point(xy p);
    // A line through the vertices v[0..n): each vertex, and between each
    // vertex A and the next B (length L) the points A + (k s / L)(B - A)
    // for k = 1 .. ceil(L / s) - 1.
    void line(const xy* v, std::size_t n);
    // A polygon's rings, the exterior first, each closed (its last vertex
    // equal to its first): every ring sampled as a line without its closing
    // vertex, then the lattice centres ((k + 0.5) s, (m + 0.5) s) inside by
    // the even-odd rule over all rings, rows north to south, each west to east.
    void polygon(const std::vector<std::vector<xy>>& rings);
    // Hands what is buffered to the sink.
    void flush();

    // Samples handed to the sink at a time.
    static constexpr std::size_t chunk = 4096;

  private:
    void put(double e, double n);
    void segment(xy a, xy b);
    void row(double lo, double hi, double y);

    double s_;
    sample_sink& sink_;
    std::vector<xy>& buf_;
    std::vector<double> cross_;
};

} // namespace orv::assess
