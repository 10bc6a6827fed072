#include "platform/gui/bitmap.h"

#include <gtest/gtest.h>

namespace qv::gui {
namespace {

TEST(BitmapTest, ReadsTheSizeOfAnEncodedBitmap) {
  const std::string bytes = EncodeBmp(130, 7, [](int x, int) { return x % 2 ? 0xFFFFFFu : 0u; });
  auto b = DecodeBitmap("wide.bmp", bytes);
  ASSERT_TRUE(b.ok()) << b.status().ToString();
  EXPECT_EQ(b.value().width, 130);
  EXPECT_EQ(b.value().height, 7);
  EXPECT_EQ(b.value().bytes.size(), 54u + 392u * 7u);  // rows padded to 4 bytes
}

TEST(BitmapTest, TopDownHeightsCountAsPositive) {
  std::string bytes = EncodeBmp(2, 3, [](int, int) { return 0u; });
  // height -3 at offset 22
  bytes[22] = static_cast<char>(0xFD);
  bytes[23] = bytes[24] = bytes[25] = static_cast<char>(0xFF);
  auto b = DecodeBitmap("down.bmp", bytes);
  ASSERT_TRUE(b.ok());
  EXPECT_EQ(b.value().height, 3);
}

TEST(BitmapCorruptionTest, DamagedHeadersAreCorruption) {
  const std::string good = EncodeBmp(4, 4, [](int, int) { return 0u; });
  std::string zero_width = good;
  zero_width[18] = zero_width[19] = zero_width[20] = zero_width[21] = 0;
  for (const std::string& bad :
       {std::string("GIF89a"), good.substr(0, 20), std::string("BM"), zero_width}) {
    auto b = DecodeBitmap("x.bmp", bad);
    EXPECT_TRUE(b.status().IsCorruption());
    EXPECT_NE(b.status().message().find("x.bmp"), std::string::npos);
  }
}

TEST(BitmapTest, LoadPassesTheReadersFailureOn) {
  FileReader missing = [](std::string_view path) -> Result<std::string> {
    return Status::NotFound(std::string(path));
  };
  EXPECT_TRUE(LoadBitmap(missing, "quorv.bmp").status().IsNotFound());
  FileReader relax = [](std::string_view) -> Result<std::string> { return RelaxPicture().bytes; };
  auto b = LoadBitmap(relax, "fw\\relax.bmp");
  ASSERT_TRUE(b.ok());
  EXPECT_EQ(b.value().width, 32);
  EXPECT_EQ(b.value().name, "fw\\relax.bmp");
}

}  // namespace
}  // namespace qv::gui
