// Cairo surfaces for PNG, SVG and PDF.
#include "draw/canvas.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cctype>
#include <cerrno>

#include "io/os_error.h"

namespace orv::draw {

namespace {

// Where cairo writes, and the errno of the first write that failed.
struct target {
    std::FILE* f;
    int err = 0;
};

// Cairo's writer: appends to the stream, reports a short write.
cairo_status_t write_out(void* closure, const unsigned char* data, unsigned int length) {
    auto* t = static_cast<target*>(closure);
    if (std::fwrite(data, 1, length, t->f) == length) return CAIRO_STATUS_SUCCESS;
    if (t->err == 0) t->err = errno ? errno : EIO;
    return CAIRO_STATUS_WRITE_ERROR;
}

// The reason for a failed cairo status; err is the errno of a failed write.
std::string reason(cairo_status_t s, int err) {
    if (s == CAIRO_STATUS_WRITE_ERROR) return io::os_error(err ? err : EIO);
    if (s == CAIRO_STATUS_NO_MEMORY) return "zu wenig Speicher";
    return std::string("Zeichnen fehlgeschlagen (") + cairo_status_to_string(s) + ")";
}

} // namespace

std::optional<picture_format> format_of(const std::string& path) {
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return std::nullopt;
    std::string e = path.substr(dot + 1);
    for (char& c : e) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (e == "png") return picture_format::png;
    if (e == "svg") return picture_format::svg;
    if (e == "pdf") return picture_format::pdf;
    return std::nullopt;
}

// A screen-sized image; an A4 page across for the vector formats.
picture_size default_size(picture_format f) {
    return f == picture_format::png ? picture_size{1200, 800} : picture_size{842, 595};
}

// One drawing function for every format; the page is painted white first.
bool render(picture_format f, int width, int height, std::FILE* out,
            const std::function<void(cairo_t*)>& draw, std::string& why) {
    target to{out};
    cairo_surface_t* s = nullptr;
    switch (f) {
    case picture_format::png:
        s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
        break;
    case picture_format::svg:
        s = cairo_svg_surface_create_for_stream(write_out, &to, width, height);
        break;
    case picture_format::pdf:
        s = cairo_pdf_surface_create_for_stream(write_out, &to, width, height);
        break;
    }
    if (f == picture_format::pdf) {
        cairo_pdf_surface_set_metadata(s, CAIRO_PDF_METADATA_CREATOR, "orvalis");
    }
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    draw(cr);
    cairo_status_t st = cairo_status(cr);
    cairo_destroy(cr);
    if (st == CAIRO_STATUS_SUCCESS && f == picture_format::png)
        st = cairo_surface_write_to_png_stream(s, write_out, &to);
    cairo_surface_finish(s);
    if (st == CAIRO_STATUS_SUCCESS) st = cairo_surface_status(s);
    cairo_surface_destroy(s);
    if (st != CAIRO_STATUS_SUCCESS) {
        why = reason(st, to.err);
        return false;
    }
    return true;
}

} // namespace orv::draw
