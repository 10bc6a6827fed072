#include "platform/gui/bitmap.h"

#include <cstdint>
#include <cstdlib>

namespace qv::gui {

namespace {

// BITMAPFILEHEADER (14 bytes) then the info header: its size at 14, width at
// 18 and height at 22 (signed; negative means top-down). The old core header
// (size 12) holds 16-bit width and height at 18 and 20.
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoSizeOffset = 14;
constexpr size_t kWidthOffset = 18;
constexpr size_t kCoreHeaderSize = 12;
constexpr int kMaxSide = 1 << 15;

uint32_t Le(std::string_view b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(b[at + i]);
  return v;
}

void PutLe(std::string& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

Result<Bitmap> DecodeBitmap(std::string name, std::string bytes) {
  if (bytes.size() < kFileHeaderSize + 4 || bytes[0] != 'B' || bytes[1] != 'M') {
    return Status::Corruption(name, 0, "a bitmap file starting with BM");
  }
  const uint32_t info_size = Le(bytes, kInfoSizeOffset, 4);
  const bool core = info_size == kCoreHeaderSize;
  const size_t need = kFileHeaderSize + (core ? kCoreHeaderSize : 16u);
  if ((!core && info_size < 16) || bytes.size() < need) {
    return Status::Corruption(name, kInfoSizeOffset, "a complete bitmap info header");
  }
  int width = 0;
  int height = 0;
  if (core) {
    width = static_cast<int>(Le(bytes, kWidthOffset, 2));
    height = static_cast<int>(Le(bytes, kWidthOffset + 2, 2));
  } else {
    width = static_cast<int32_t>(Le(bytes, kWidthOffset, 4));
    height = std::abs(static_cast<int32_t>(Le(bytes, kWidthOffset + 4, 4)));
  }
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
    return Status::Corruption(name, kWidthOffset, "a bitmap width and height from 1 to 32768");
  }
  return Bitmap{std::move(name), std::move(bytes), width, height};
}

Result<Bitmap> LoadBitmap(const FileReader& reader, std::string_view windows_path) {
  QV_ASSIGN_OR_RETURN(std::string bytes, reader(windows_path));
  return DecodeBitmap(std::string(windows_path), std::move(bytes));
}

std::string EncodeBmp(int width, int height, const std::function<uint32_t(int, int)>& pixel) {
  const uint32_t row_bytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t data_size = row_bytes * static_cast<uint32_t>(height);
  std::string out = "BM";
  PutLe(out, 54 + data_size, 4);
  PutLe(out, 0, 4);
  PutLe(out, 54, 4);
  PutLe(out, 40, 4);
  PutLe(out, static_cast<uint32_t>(width), 4);
  PutLe(out, static_cast<uint32_t>(height), 4);
  PutLe(out, 1, 2);                              // planes
  PutLe(out, 24, 2);                             // bits per pixel
  for (int i = 0; i < 6; ++i) PutLe(out, 0, 4);  // no compression, default sizes
  for (int y = height - 1; y >= 0; --y) {
    uint32_t written = 0;
    for (int x = 0; x < width; ++x, written += 3) {
      const uint32_t rgb = pixel(x, y);
      PutLe(out, rgb & 0xFF, 1);
      PutLe(out, (rgb >> 8) & 0xFF, 1);
      PutLe(out, (rgb >> 16) & 0xFF, 1);
    }
    for (; written < row_bytes; ++written) out.push_back('\0');
  }
  return out;
}

Bitmap RelaxPicture() {
  constexpr int kSide = 32;
  std::string bytes = EncodeBmp(kSide, kSide, [](int x, int y) -> uint32_t {
    const int dx = x - 22;
    const int dy = y - 9;
    if (dx * dx + dy * dy <= 25) return 0xFFD700;  // sun
    const int sag = (x - 16) * (x - 16) / 32;      // hammock curve
    if (y == 22 + 4 - sag && x >= 3 && x <= 28) return 0x8B4513;
    if ((x == 3 || x == 28) && y >= 18) return 0x5C3317;  // posts
    return y > 27 ? 0x3CB371 : 0x87CEEB;                  // grass, sky
  });
  return Bitmap{"RELAX", std::move(bytes), kSide, kSide};
}

}  // namespace qv::gui
