// The main window as plain data: position, title, colours, brush and icon,
// the menu tree with a message-bar text per item, the message bar's default
// text and the paint action. Front ends show it; choosing a menu item by its
// captions runs the item's action, which is how scripts and tests click.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/status.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/types.h"

namespace qv::gui {

// Where a paint action draws.
class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void DrawBitmap(int x, int y, const Bitmap& bitmap) = 0;
};

struct MenuItem {
  std::string caption;  // "&Install"; empty for a separator
  std::string message;  // shown in the message bar while highlighted
  std::function<void()> action;
  bool separator = false;
  std::vector<MenuItem> items;  // a popup when not empty
};

// Builds a menu from begin/add/separator/end calls: a Begin() after an item
// opens that item's popup; the first Begin() opens the bar itself.
class MenuBuilder {
 public:
  void Begin();
  void Add(std::string caption, std::string message, std::function<void()> action);
  void Separator();
  void End();
  // The bar's items. InvalidArgument when begin/end do not pair up or an
  // item comes before the first Begin().
  Result<std::vector<MenuItem>> Finish();

 private:
  std::vector<MenuItem> root_;
  std::vector<std::vector<MenuItem>*> open_;  // innermost last
  bool begun_ = false;
  bool broken_ = false;
};

// A caption as compared and shown in transcripts: '&' markers dropped,
// blanks trimmed.
std::string PlainCaption(std::string_view caption);

struct MainWindow {
  Rect rect;  // pixels on the screen
  std::string title;
  std::string colors = "W+/B";  // foreground/background colour letters
  std::optional<Bitmap> brush;  // background pattern
  std::optional<Bitmap> icon;   // icon file contents
  std::vector<MenuItem> menu;
  std::string message_bar_default;
  std::function<void(Canvas&)> on_paint;
};

// The item reached through captions (compared as PlainCaption, ignoring
// case), nullptr when the path names none or ends at a popup or separator.
const MenuItem* FindMenuItem(const std::vector<MenuItem>& menu,
                             const std::vector<std::string>& captions);

// "A>B>C" split at '>' and trimmed.
std::vector<std::string> SplitMenuPath(std::string_view path);

}  // namespace qv::gui
