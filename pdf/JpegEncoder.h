#pragma once
// JPEG encoding of page pictures with libjpeg: 8-bit RGB rows in, a baseline JPEG file's bytes
// out. No state; safe to call for one picture after another.
#include <cstdint>
#include <vector>

namespace pdf {

struct RgbImage {
    const uint8_t* pixels = nullptr;  // rows of width * 3 bytes, red first
    int width = 0;
    int height = 0;
    int stride = 0;  // bytes from one row to the next
};

// The picture as a JPEG of the given quality (1-100). Throws PdfError for an empty picture,
// a quality outside 1-100 or a failure of the encoder.
std::vector<uint8_t> encodeJpeg(const RgbImage& image, int quality);

}  // namespace pdf
