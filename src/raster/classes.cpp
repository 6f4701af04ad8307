// The class band of a map.
#include "raster/classes.h"

#include <algorithm>

#include "raster/gdal_env.h"

namespace orv::raster {

uint8_t cell_class(int32_t st, int8_t lv) {
    if (st == 0 && lv >= 0 && lv <= 3) return static_cast<uint8_t>(lv);
    if (st == 1) return class_near;
    if (st == 2) return class_beyond;
    if (st == 5) return class_upstream;
    return class_outside;
}

class_band::~class_band() {
    if (ds_) GDALClose(ds_);
}

bool class_band::open(const raster_layout& l, std::string& why) {
    init();
    layout_ = l;
    quiet_errors q;
    GDALDriverH mem = driver_named("MEM");
    ds_ = GDALCreate(mem, "", static_cast<int>(l.nx), static_cast<int>(l.ny), 1, GDT_Byte, nullptr);
    if (!ds_) {
        why = "kein Speicher fuer das Klassenraster";
        return false;
    }
    double gt[6];
    std::copy(l.gt, l.gt + 6, gt);
    GDALSetGeoTransform(ds_, gt);
    if (!l.wkt.empty()) GDALSetProjection(ds_, l.wkt.c_str());
    GDALSetRasterNoDataValue(GDALGetRasterBand(ds_, 1), class_outside);
    return true;
}

// Rows flipped when the layout runs bottom up (the jet frame).
bool class_band::take(const map::strip& s) {
    const std::size_t nx = s.nx;
    buf_.resize(nx * s.rows);
    const bool flip = layout_.bottom_up;
    for (std::size_t r = 0; r < s.rows; ++r) {
        uint8_t* to = buf_.data() + (flip ? s.rows - 1 - r : r) * nx;
        for (std::size_t i = 0; i < nx; ++i) {
            const uint8_t c = cell_class(s.st[r * nx + i], s.level[r * nx + i]);
            to[i] = c;
            ++counts_[c];
        }
    }
    const std::size_t row0 = flip ? layout_.ny - s.j0 - s.rows : s.j0;
    quiet_errors q;
    return GDALRasterIO(GDALGetRasterBand(ds_, 1), GF_Write, 0, static_cast<int>(row0),
                        static_cast<int>(nx), static_cast<int>(s.rows), buf_.data(),
                        static_cast<int>(nx), static_cast<int>(s.rows), GDT_Byte, 0, 0) == CE_None;
}

} // namespace orv::raster
