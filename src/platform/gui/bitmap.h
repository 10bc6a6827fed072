// Bitmaps: the bytes of a Windows .bmp file and the size read from its
// header. Front ends that draw decode the bytes themselves; the rest of the
// layer needs only the size. Files are read through a FileReader, so the
// caller decides how a Windows path ("fw\quorvanta.ico") finds its file.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/fs/status.h"

namespace qv::gui {

// Reads a whole file named by a Windows path. NotFound when it is missing.
using FileReader = std::function<Result<std::string>(std::string_view windows_path)>;

struct Bitmap {
  std::string name;   // file name or resource name, for messages
  std::string bytes;  // the whole file
  int width = 0;      // pixels
  int height = 0;     // pixels, always positive (bottom-up files too)
};

// Reads the size from a .bmp file's header. Corruption when the bytes are not
// a bitmap (wrong signature, truncated header, sizes that do not fit).
Result<Bitmap> DecodeBitmap(std::string name, std::string bytes);

// Reads and decodes through reader; the reader's failure is returned as is.
Result<Bitmap> LoadBitmap(const FileReader& reader, std::string_view windows_path);

// The picture "RELAX" of the progress and cancel dialogs: a 32 x 32 bitmap
// drawn by the layer (a sun over a hammock line).
Bitmap RelaxPicture();

// A bottom-up 24-bit .bmp file of width x height pixels taken from
// pixel(x, y) -> 0xRRGGBB. REQUIRES: width, height > 0.
std::string EncodeBmp(int width, int height, const std::function<uint32_t(int, int)>& pixel);

}  // namespace qv::gui
