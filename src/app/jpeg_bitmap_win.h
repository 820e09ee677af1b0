#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace soundboard {

// Decodes a colour JPEG with libjpeg into a top-down 24-bit DIB section.
// nullptr when the data is no JPEG libjpeg can decode.
HBITMAP DecodeJpegBitmap(const uint8_t* data, size_t size);

// The banner picture the program carries as the resource "BANNER".
HBITMAP LoadBannerBitmap(HINSTANCE instance);

}  // namespace soundboard
