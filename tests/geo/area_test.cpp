// Areas of use: points and boxes of several systems against the box PROJ
// records, its one-degree margin, a box across the antimeridian, and a
// system that records none.
#include <string>

#include <cpl_conv.h>
#include <gtest/gtest.h>
#include <ogr_spatialref.h>

#include "geo/area.h"
#include "geo/crs.h"

namespace {

OGRSpatialReference epsg(int code) {
    OGRSpatialReference s;
    EXPECT_EQ(s.importFromEPSG(code), OGRERR_NONE) << code;
    return s;
}

TEST(AreaOfUse, PointsInsideTheBoxOrItsMarginPass) {
    const struct {
        int code;
        double e, n;
        bool in;
        const char* says; // a fragment of the reason when refused
    } cases[] = {
        {2056, 2600000, 1200000, true, ""},
        // Numbers of the older Swiss grid read as the newer one: the Atlantic.
        {2056, 600000, 200000, false,
         "Punkt 600000, 200000 liegt ausserhalb des Gebiets von EPSG:2056"},
        // About 0.7 degrees east of the box: inside the margin.
        {2056, 2880000, 1200000, true, ""},
        // About 2 degrees east of the box.
        {2056, 3000000, 1200000, false, "Laenge 12."},
        {2056, 2600000, 1000000, true, ""},
        {2056, 2600000, 700000, false, "Breite 42."},
        // A box from 98.7 degrees east across 180 to 60.6 degrees west.
        {3832, 0, 0, true, ""},
        {3832, 3000000, 0, true, ""},
        {3832, -16000000, 0, false, "EPSG:3832"},
    };
    for (const auto& c : cases) {
        std::string why;
        EXPECT_EQ(orv::geo::point_in_area(epsg(c.code), c.e, c.n, why), c.in)
            << c.code << " " << c.e << "," << c.n << ": " << why;
        // The same system given as WKT1, which carries no area of use.
        char* wkt = nullptr;
        ASSERT_EQ(epsg(c.code).exportToWkt(&wkt), OGRERR_NONE);
        OGRSpatialReference given;
        std::string read_why;
        ASSERT_TRUE(orv::geo::read_crs(wkt, given, read_why)) << read_why;
        CPLFree(wkt);
        EXPECT_EQ(orv::geo::point_in_area(given, c.e, c.n, why), c.in) << c.code << " as WKT";
        if (!c.in) EXPECT_NE(why.find(c.says), std::string::npos) << why;
    }
}

TEST(AreaOfUse, ASystemWithoutAnAreaIsNotChecked) {
    OGRSpatialReference own;
    ASSERT_EQ(own.importFromProj4("+proj=tmerc +lon_0=0 +ellps=GRS80 +units=m +no_defs"),
              OGRERR_NONE);
    std::string why;
    EXPECT_FALSE(orv::geo::area_of(own));
    EXPECT_TRUE(orv::geo::point_in_area(own, 9e6, 9e6, why));
    EXPECT_TRUE(orv::geo::box_in_area(epsg(4326), -10, 80, 10, 85, own, why));
}

TEST(AreaOfUse, BoxesAreTakenToDegreesFromTheirOwnSystem) {
    const OGRSpatialReference site = epsg(2056);
    const struct {
        int from;
        double e0, n0, e1, n1;
        bool in;
    } cases[] = {
        {2056, 2590000, 1190000, 2610000, 1210000, true},
        {2056, 590000, 190000, 610000, 210000, false},
        {4326, 7.3, 46.8, 7.5, 47.0, true},
        // Latitude and longitude swapped.
        {4326, 46.8, 7.3, 47.0, 7.5, false},
        // Reaching 3 degrees beyond the box on one side only.
        {4326, 7.3, 46.8, 13.5, 47.0, false},
        {2154, 1000000, 6500000, 1010000, 6510000, true},
    };
    for (const auto& c : cases) {
        std::string why;
        EXPECT_EQ(orv::geo::box_in_area(epsg(c.from), c.e0, c.n0, c.e1, c.n1, site, why), c.in)
            << c.from << " " << c.e0 << "," << c.n0 << ": " << why;
        if (!c.in)
            EXPECT_NE(why.find("Ausdehnung liegt ausserhalb des Gebiets von EPSG:2056"),
                      std::string::npos)
                << why;
    }
}

} // namespace
