// Time to write the saved picture as a PNG file, for the default client area and a large one:
// the best of several runs, so that a busy machine shows through as little as possible.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "image/png_writer.h"

namespace {

// Something like the viewer's picture: repeating tiles of graded dots on a flat background,
// with a few lines of "text" noise at the top.
std::vector<DWORD> TestPicture(UINT width, UINT height) {
    std::vector<DWORD> pixels(size_t(width) * height, 0xFFFFFFFFu);
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            const UINT tx = x % 64, ty = y % 64;
            const BYTE level = BYTE(255 - ((tx * 4 + ty * 256) / 64) % 256);
            DWORD& pixel = pixels[size_t(y) * width + x];
            pixel = 0xFF000000u | (DWORD(level) << 16) | (DWORD(level) << 8) | level;
            if (y >= 20 && y < 72 && ((x * 2654435761u + y * 40503u) >> 29) == 0) {
                pixel = 0xFF0000FFu;
            }
        }
    }
    return pixels;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& rate) {
    return double(to.QuadPart - from.QuadPart) / double(rate.QuadPart);
}

void Measure(UINT width, UINT height, const std::string& folder) {
    const std::vector<DWORD> pixels = TestPicture(width, height);
    const std::string path = folder + "quillant-png-bench.png";
    LARGE_INTEGER rate, start, end;
    QueryPerformanceFrequency(&rate);
    double best = 1e9;
    HRESULT result = S_OK;
    for (int run = 0; run < 7; ++run) {
        QueryPerformanceCounter(&start);
        result = WritePngFile(path.c_str(), reinterpret_cast<const BYTE*>(pixels.data()),
                              int(width * 4), width, height);
        QueryPerformanceCounter(&end);
        if (FAILED(result)) break;
        best = std::min(best, Seconds(start, end, rate));
    }
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    DeleteFileA(path.c_str());
    if (FAILED(result)) {
        std::printf("png %ux%u: write failed 0x%08lX\n", width, height, result);
        return;
    }
    std::printf("png %ux%u: %.2f ms (best of 7), %lu bytes\n", width, height, best * 1000.0,
                data.nFileSizeLow);
}

}  // namespace

int main() {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    Measure(512, 384, folder);
    Measure(1280, 1024, folder);
    return 0;
}
