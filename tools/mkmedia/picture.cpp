#include "picture.h"

#include <algorithm>
#include <cstdlib>

#include "source_text.h"

namespace qv::media {

namespace {

void Put16(std::string* out, uint32_t v) {
  out->push_back(static_cast<char>(v & 0xFF));
  out->push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string* out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

bool ParseNumbers(std::string_view rest, std::vector<long>* nums, std::vector<uint32_t>* colours,
                  size_t want_nums, size_t want_colours) {
  std::vector<std::string_view> words;
  while (!rest.empty()) {
    auto [w, r] = FirstWord(rest);
    words.push_back(w);
    rest = r;
  }
  if (words.size() != want_nums + want_colours) return false;
  for (size_t i = 0; i < words.size(); ++i) {
    std::string w(words[i]);
    char* end = nullptr;
    if (i < want_nums) {
      long v = std::strtol(w.c_str(), &end, 10);
      if (*end != '\0' || w.empty() || v < -4096 || v > 4096) return false;
      nums->push_back(v);
    } else {
      if (w.size() != 6) return false;
      unsigned long v = std::strtoul(w.c_str(), &end, 16);
      if (*end != '\0') return false;
      colours->push_back(static_cast<uint32_t>(v));
    }
  }
  return true;
}

void FillRect(Canvas* c, long x, long y, long w, long h, uint32_t colour) {
  for (long row = std::max(0L, y); row < std::min<long>(c->height, y + h); ++row) {
    for (long col = std::max(0L, x); col < std::min<long>(c->width, x + w); ++col) {
      c->pixels[row * c->width + col] = colour;
    }
  }
}

uint32_t Blend(uint32_t a, uint32_t b, long num, long den) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    long ca = (a >> shift) & 0xFF;
    long cb = (b >> shift) & 0xFF;
    out |= static_cast<uint32_t>(ca + (cb - ca) * num / den) << shift;
  }
  return out;
}

}  // namespace

Result<Canvas> DrawPicture(std::string_view text, std::string_view source) {
  Canvas c;
  int number = 0;
  for (std::string_view raw : SplitLines(text)) {
    std::string_view line = TrimSpace(raw);
    ++number;
    if (line.empty() || line[0] == '#') continue;
    auto fail = [&](const char* what) {
      return Status::InvalidArgument(std::string(source) + ":" + std::to_string(number) + ": " +
                                     what);
    };
    auto [word, rest] = FirstWord(line);
    std::vector<long> n;
    std::vector<uint32_t> k;
    if (word == "size") {
      if (c.width != 0 || !ParseNumbers(rest, &n, &k, 2, 0) || n[0] < 1 || n[1] < 1 ||
          n[0] > 1024 || n[1] > 1024) {
        return fail("size W H, once, 1..1024");
      }
      c.width = static_cast<int>(n[0]);
      c.height = static_cast<int>(n[1]);
      c.pixels.assign(static_cast<size_t>(c.width) * c.height, 0);
      continue;
    }
    if (c.width == 0) return fail("size comes first");
    if (word == "fill" && ParseNumbers(rest, &n, &k, 0, 1)) {
      FillRect(&c, 0, 0, c.width, c.height, k[0]);
    } else if (word == "rect" && ParseNumbers(rest, &n, &k, 4, 1)) {
      FillRect(&c, n[0], n[1], n[2], n[3], k[0]);
    } else if (word == "disc" && ParseNumbers(rest, &n, &k, 3, 1)) {
      for (long y = -n[2]; y <= n[2]; ++y) {
        for (long x = -n[2]; x <= n[2]; ++x) {
          if (x * x + y * y <= n[2] * n[2]) FillRect(&c, n[0] + x, n[1] + y, 1, 1, k[0]);
        }
      }
    } else if (word == "vgrad" && ParseNumbers(rest, &n, &k, 2, 2) && n[1] > 0) {
      for (long r = 0; r < n[1]; ++r)
        FillRect(&c, 0, n[0] + r, c.width, 1, Blend(k[0], k[1], r, n[1]));
    } else {
      return fail("expected fill, rect, disc or vgrad with their numbers");
    }
  }
  if (c.width == 0) return Status::InvalidArgument(std::string(source) + ": no size");
  return c;
}

std::string EncodeBmp(const Canvas& c) {
  uint32_t row_bytes = (static_cast<uint32_t>(c.width) * 3 + 3) & ~3u;
  uint32_t data_size = row_bytes * c.height;
  std::string out = "BM";
  Put32(&out, 14 + 40 + data_size);
  Put32(&out, 0);
  Put32(&out, 14 + 40);
  Put32(&out, 40);  // BITMAPINFOHEADER
  Put32(&out, c.width);
  Put32(&out, c.height);
  Put16(&out, 1);
  Put16(&out, 24);
  Put32(&out, 0);  // no compression
  Put32(&out, data_size);
  Put32(&out, 2835);  // 72 dpi
  Put32(&out, 2835);
  Put32(&out, 0);
  Put32(&out, 0);
  for (int y = c.height - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < c.width; ++x) {
      uint32_t p = c.pixels[y * c.width + x];
      row.push_back(static_cast<char>(p & 0xFF));
      row.push_back(static_cast<char>((p >> 8) & 0xFF));
      row.push_back(static_cast<char>((p >> 16) & 0xFF));
    }
    row.resize(row_bytes, '\0');
    out += row;
  }
  return out;
}

std::string EncodeIco(const Canvas& c) {
  uint32_t mask_row = ((static_cast<uint32_t>(c.width) + 31) / 32) * 4;
  uint32_t image_size = 40 + 4u * c.width * c.height + mask_row * c.height;
  std::string out;
  Put16(&out, 0);
  Put16(&out, 1);  // icon
  Put16(&out, 1);  // one image
  out.push_back(static_cast<char>(c.width == 256 ? 0 : c.width));
  out.push_back(static_cast<char>(c.height == 256 ? 0 : c.height));
  out.push_back(0);  // no palette
  out.push_back(0);
  Put16(&out, 1);   // planes
  Put16(&out, 32);  // bits per pixel
  Put32(&out, image_size);
  Put32(&out, 6 + 16);
  Put32(&out, 40);
  Put32(&out, c.width);
  Put32(&out, 2 * c.height);  // colour rows and mask rows
  Put16(&out, 1);
  Put16(&out, 32);
  Put32(&out, 0);
  Put32(&out, 4u * c.width * c.height + mask_row * c.height);
  Put32(&out, 0);
  Put32(&out, 0);
  Put32(&out, 0);
  Put32(&out, 0);
  for (int y = c.height - 1; y >= 0; --y) {
    for (int x = 0; x < c.width; ++x) Put32(&out, c.pixels[y * c.width + x] | 0xFF000000u);
  }
  out.append(static_cast<size_t>(mask_row) * c.height, '\0');  // every pixel opaque
  return out;
}

}  // namespace qv::media
