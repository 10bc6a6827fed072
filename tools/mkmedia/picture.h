// Bitmaps and icons of the media, drawn from a short text description so
// that the repository holds no opaque binaries. A description is a list of
// lines, "#" starting a comment:
//   size W H                      canvas in pixels (first; 1..1024)
//   fill RRGGBB                   the whole canvas
//   rect X Y W H RRGGBB           a filled rectangle (0,0 is the top left)
//   disc X Y R RRGGBB             a filled circle around X,Y
//   vgrad Y H RRGGBB RRGGBB       rows Y..Y+H-1 shading from the first colour to the second
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/status.h"

namespace qv::media {

struct Canvas {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0xRRGGBB, row-major from the top
};

// InvalidArgument naming source and line for a bad description.
Result<Canvas> DrawPicture(std::string_view text, std::string_view source);

// A Windows bitmap file: 24 bits per pixel, rows bottom-up, padded to 4 bytes.
std::string EncodeBmp(const Canvas& canvas);
// A Windows icon file holding the canvas as one 32-bit image with its mask.
// REQUIRES: width and height at most 256.
std::string EncodeIco(const Canvas& canvas);

}  // namespace qv::media
