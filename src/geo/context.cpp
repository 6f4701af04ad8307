// GDAL's error handler for the life of a messages object, and driver registration.
#include "geo/context.h"

#include <cpl_error.h>
#include <gdal.h>

namespace orv::geo {

namespace {

void CPL_STDCALL collect(CPLErr e, CPLErrorNum, const char* msg) {
    if (e >= CE_Failure) static_cast<messages*>(CPLGetErrorHandlerUserData())->record(msg);
}

} // namespace

messages::messages() {
    CPLPushErrorHandlerEx(&collect, this);
}

messages::~messages() {
    CPLPopErrorHandler();
}

void register_drivers() {
    static const bool done = [] {
        GDALAllRegister();
        return true;
    }();
    (void)done;
}

} // namespace orv::geo
