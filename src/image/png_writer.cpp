// Our own PNG writer over libpng and zlib: A8R8G8B8 pixels, or a rectangle of a surface in a
// kept-frame format, become an 8-bit RGB PNG that replaces the target file only once it is complete.
#include "image/png_writer.h"
#include "image/image_pixels.h"

#include <png.h>

#include <csetjmp>
#include <vector>

#include "image/file_replacing.h"

namespace {

// Everything the libpng callbacks and the encoding frame share; plain data only, because
// libpng reports errors by longjmp and must not jump over destructors.
struct PngJob {
    HANDLE file;
    const BYTE* topLeftPixel;
    int pitchBytes;
    UINT width;
    UINT height;
    BYTE* rgbRow;  // width * 3 bytes
    HRESULT writeResult;
};

void OnPngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {
    // Warnings do not stop a write, and this program keeps no log.
}

void WriteToFile(png_structp png, png_bytep data, png_size_t length) {
    PngJob* job = static_cast<PngJob*>(png_get_io_ptr(png));
    job->writeResult = WriteAllToFile(job->file, data, length);
    if (FAILED(job->writeResult)) png_error(png, "write failed");
}

void FlushFile(png_structp) {
    // The file is closed, and so flushed, before it is renamed over the target.
}

// Encodes the job's pixels into its open file. No object with a destructor lives in this frame:
// a libpng error longjmps back to the setjmp below.
bool EncodePng(PngJob* job) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, job, OnPngError, OnPngWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, job, WriteToFile, FlushFile);
    png_set_IHDR(png, info, job->width, job->height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (UINT y = 0; y < job->height; ++y) {
        const BYTE* source = job->topLeftPixel + static_cast<ptrdiff_t>(y) * job->pitchBytes;
        BYTE* target = job->rgbRow;
        for (UINT x = 0; x < job->width; ++x, source += 4, target += 3) {
            // A8R8G8B8 in memory is B, G, R, A.
            target[0] = source[2];
            target[1] = source[1];
            target[2] = source[0];
        }
        png_write_row(png, job->rgbRow);
    }
    // No info here, so that nothing but IEND follows the image data.
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

HRESULT WritePngContents(HANDLE file, void* context) {
    PngJob* job = static_cast<PngJob*>(context);
    job->file = file;
    job->writeResult = S_OK;
    if (EncodePng(job)) return S_OK;
    return FAILED(job->writeResult) ? job->writeResult : E_FAIL;
}

}  // namespace

HRESULT WritePngFile(const char* path, const BYTE* topLeftPixel, int pitchBytes, UINT width,
                     UINT height) {
    if (path == nullptr || path[0] == '\0' || topLeftPixel == nullptr) return E_INVALIDARG;
    // PNG limits a side to 2^31 - 1; libpng's own default limit is a million pixels.
    if (width == 0 || height == 0 || width > 1000000u || height > 1000000u) return E_INVALIDARG;
    const long long rowBytes = static_cast<long long>(width) * 4;
    const long long pitch = pitchBytes < 0 ? -static_cast<long long>(pitchBytes) : pitchBytes;
    if (pitch < rowBytes) return E_INVALIDARG;

    std::vector<BYTE> rgbRow(static_cast<size_t>(width) * 3);
    PngJob job = {};
    job.topLeftPixel = topLeftPixel;
    job.pitchBytes = pitchBytes;
    job.width = width;
    job.height = height;
    job.rgbRow = rgbRow.data();
    return WriteFileReplacing(path, WritePngContents, &job);
}

HRESULT SaveSurfaceRectToPng(IDirect3DSurface9* surface, const RECT& rect, const char* path) {
    if (surface == nullptr) return E_INVALIDARG;
    D3DSURFACE_DESC desc = {};
    HRESULT result = surface->GetDesc(&desc);
    if (FAILED(result)) return result;
    if (!IsPicturedFormat(desc.Format)) return E_INVALIDARG;

    // A rectangle partly off the surface asks for pixels the surface does not have.
    RECT bounds = {0, 0, static_cast<LONG>(desc.Width), static_cast<LONG>(desc.Height)};
    RECT clipped = {};
    if (!IntersectRect(&clipped, &bounds, &rect)) return E_INVALIDARG;
    const UINT width = static_cast<UINT>(clipped.right - clipped.left);
    const UINT height = static_cast<UINT>(clipped.bottom - clipped.top);

    // Every format the same way: narrower or wider channels are brought to eight bits.
    std::vector<DWORD> pixels;
    result = ReadSurfaceArgb(surface, clipped, &pixels);
    if (FAILED(result)) return result;
    return WritePngFile(path, reinterpret_cast<const BYTE*>(pixels.data()), static_cast<int>(width * 4), width, height);
}
