// GDAL's error handler for the life of a messages object, and driver registration.
#include "geo/context.h"

#include <cerrno>

#include <cpl_error.h>
#include <gdal_priv.h>

namespace orv::geo {

namespace {

void CPL_STDCALL collect(CPLErr e, CPLErrorNum, const char* msg) {
    const int saved = errno;
    if (e >= CE_Failure) static_cast<messages*>(CPLGetErrorHandlerUserData())->record(msg, saved);
    errno = saved;
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

GDALDriver* driver(const std::string& name) {
    register_drivers();
    return GetGDALDriverManager()->GetDriverByName(name.c_str());
}

} // namespace orv::geo
