// Plain value types shared by the toolkit interface and its front ends:
// pixel rectangles, colours, fonts, keys and message-box kinds. Nothing here
// knows a window system.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/runtime/value.h"

namespace qv::gui {

// A rectangle in pixels: left/top corner and size.
struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// 8-bit red, green, blue.
struct Color {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kNavy{0, 0, 128};
inline constexpr Color kLightGrey{192, 192, 192};

// A font as the program asks for it. height < 0 selects the character height,
// > 0 the cell height (both in pixels); width 0 lets the front end choose.
struct Font {
  std::string face = "MS Sans Serif";
  int width = 0;
  int height = -11;
  bool bold = false;
  friend bool operator==(const Font&, const Font&) = default;
};

// A font held in a session variable (the program keeps its fonts there).
class FontObject : public rt::Object {
 public:
  explicit FontObject(Font font) : font_(std::move(font)) {}
  std::string_view ClassName() const override { return "FONT"; }
  const Font& font() const { return font_; }

 private:
  Font font_;
};

// The font a value holds when it is a FontObject; nullptr otherwise.
const Font* FontOf(const rt::Value& value);

// Keys whose state the program reads.
enum class Key { kEscape, kEnter };

// Message boxes with one OK button; the title is fixed by the kind.
enum class MessageKind { kInformation, kAlert, kStop };

// "Information", "Alert", "Stop".
const char* MessageTitle(MessageKind kind);

}  // namespace qv::gui
