#include "pdf/JpegEncoder.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE declared first
#include <cstdlib>

#include <jpeglib.h>

#include <string>

#include "pdf/PdfError.h"

namespace pdf {
namespace {

// libjpeg's default error handler ends the process; this one jumps back to encodeJpeg, which
// then throws. Only C objects live between setjmp and longjmp.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// Runs the encoder; returns false with the message filled on a libjpeg error.
bool compress(const RgbImage& image, int quality, unsigned char** out, unsigned long* size, ErrorManager& errors) {
    jpeg_compress_struct info;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, size);
    info.image_width = JDIMENSION(image.width);
    info.image_height = JDIMENSION(image.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.pixels + size_t(info.next_scanline) * size_t(image.stride));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

std::vector<uint8_t> encodeJpeg(const RgbImage& image, int quality) {
    if (!image.pixels || image.width <= 0 || image.height <= 0 || image.stride < image.width * 3)
        throw PdfError("JPEG: the picture is empty");
    if (quality < 1 || quality > 100) throw PdfError("JPEG: quality " + std::to_string(quality) + " is not 1-100");
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    ErrorManager errors{};
    const bool ok = compress(image, quality, &buffer, &size, errors);
    std::vector<uint8_t> bytes;
    if (ok) bytes.assign(buffer, buffer + size);
    std::free(buffer);
    if (!ok) throw PdfError(std::string("JPEG: ") + errors.message);
    return bytes;
}

}  // namespace pdf
