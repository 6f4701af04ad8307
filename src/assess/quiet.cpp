// GDAL's error handler for the duration of a call.
#include "assess/quiet.h"

#include <cpl_error.h>
#include <gdal.h>

namespace orv::assess {

namespace {

void CPL_STDCALL collect(CPLErr e, CPLErrorNum, const char* msg) {
    if (e >= CE_Failure) static_cast<quiet_gdal*>(CPLGetErrorHandlerUserData())->record(msg);
}

} // namespace

quiet_gdal::quiet_gdal() {
    CPLPushErrorHandlerEx(&collect, this);
}

quiet_gdal::~quiet_gdal() {
    CPLPopErrorHandler();
}

void register_drivers() {
    static const bool done = [] {
        GDALAllRegister();
        return true;
    }();
    (void)done;
}

} // namespace orv::assess
