// GDAL's messages collected instead of printed, under the assessment's names.
#pragma once
#include "geo/context.h"

namespace orv::assess {

using quiet_gdal = geo::messages;
using geo::register_drivers;

} // namespace orv::assess
