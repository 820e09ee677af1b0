#include "app/jpeg_bitmap_win.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE

#include <jpeglib.h>

namespace soundboard {
namespace {

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void OnJpegError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void IgnoreJpegMessage(j_common_ptr) {}

// Kept free of C++ objects with destructors: libjpeg reports errors by
// longjmp, which would skip them.
HBITMAP Decode(jpeg_decompress_struct* info, JpegError* error, const uint8_t* data, size_t size) {
  HBITMAP volatile bitmap = nullptr;  // read after a longjmp
  if (setjmp(error->jump)) {
    jpeg_destroy_decompress(info);
    if (bitmap) DeleteObject(bitmap);
    return nullptr;
  }
  jpeg_create_decompress(info);
  jpeg_mem_src(info, data, static_cast<unsigned long>(size));
  jpeg_read_header(info, TRUE);
  info->out_color_space = JCS_EXT_BGR;  // the byte order of a 24-bit DIB
  jpeg_start_decompress(info);

  const LONG width = static_cast<LONG>(info->output_width);
  const LONG height = static_cast<LONG>(info->output_height);
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof(format.bmiHeader);
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;  // top-down: row 0 first
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 24;
  format.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  bitmap = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (!bitmap) {
    jpeg_destroy_decompress(info);
    return nullptr;
  }
  while (info->output_scanline < info->output_height) {
    JSAMPROW row = static_cast<JSAMPROW>(pixels) + stride * info->output_scanline;
    jpeg_read_scanlines(info, &row, 1);
  }
  jpeg_finish_decompress(info);
  jpeg_destroy_decompress(info);
  return bitmap;
}

}  // namespace

HBITMAP DecodeJpegBitmap(const uint8_t* data, size_t size) {
  if (!data || size == 0) return nullptr;
  jpeg_decompress_struct info = {};
  JpegError error = {};
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = OnJpegError;
  error.manager.output_message = IgnoreJpegMessage;
  return Decode(&info, &error, data, size);
}

HBITMAP LoadBannerBitmap(HINSTANCE instance) {
  HRSRC resource = FindResourceA(instance, "BANNER", RT_RCDATA);
  if (!resource) return nullptr;
  HGLOBAL loaded = LoadResource(instance, resource);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  return DecodeJpegBitmap(static_cast<const uint8_t*>(data), SizeofResource(instance, resource));
}

}  // namespace soundboard
