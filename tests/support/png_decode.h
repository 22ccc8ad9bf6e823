// Decoding a PNG file's bytes back to 8-bit RGB with libpng, for tests of what the writer wrote.
#pragma once

#include <windows.h>
#include <png.h>

#include <vector>

namespace test_support {

struct DecodedPng {
    bool ok = false;
    UINT width = 0;
    UINT height = 0;
    std::vector<BYTE> rgb;  // width * height * 3, top row first
};

inline DecodedPng DecodeRgb(const std::vector<BYTE>& file) {
    DecodedPng decoded;
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (file.empty() || !png_image_begin_read_from_memory(&image, file.data(), file.size())) {
        return decoded;
    }
    image.format = PNG_FORMAT_RGB;
    decoded.width = image.width;
    decoded.height = image.height;
    decoded.rgb.resize(PNG_IMAGE_SIZE(image));
    decoded.ok = png_image_finish_read(&image, nullptr, decoded.rgb.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return decoded;
}

}  // namespace test_support
