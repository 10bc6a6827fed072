// The objects start-up keeps in session variables: the main window
// (OWNDMAIN), its brush and icon (OBRUSH, OICO), the menu BUILDMENU returns
// and a meter handed to COPYFILE. Each is a handle to something the front
// end or the shell owns; code in data only passes them around.
#pragma once

#include <optional>
#include <string_view>

#include "platform/gui/bitmap.h"
#include "platform/gui/meter.h"
#include "platform/runtime/value.h"

namespace qv::shell {

// OWNDMAIN once the main window exists. A variable holding anything else
// (false before start-up created the window) is no window.
class WindowObject : public rt::Object {
 public:
  std::string_view ClassName() const override { return "WINDOW"; }
};

// A brush or icon made from a file; empty when the file was missing or
// unreadable (neither is reported).
class PictureObject : public rt::Object {
 public:
  PictureObject(std::string_view class_name, std::optional<gui::Bitmap> picture)
      : class_name_(class_name), picture_(std::move(picture)) {}
  std::string_view ClassName() const override { return class_name_; }
  const std::optional<gui::Bitmap>& picture() const { return picture_; }

 private:
  std::string_view class_name_;  // a literal
  std::optional<gui::Bitmap> picture_;
};

// A progress meter passed to a routine. The meter belongs to the dialog
// running it; the handle must not be kept past that dialog.
class MeterObject : public rt::Object {
 public:
  explicit MeterObject(gui::Meter& meter) : meter_(&meter) {}
  std::string_view ClassName() const override { return "METER"; }
  gui::Meter& meter() const { return *meter_; }

 private:
  gui::Meter* meter_;
};

// True when value holds the main window's handle.
bool IsWindow(const rt::Value& value);
// The meter a value holds, nullptr for anything else.
gui::Meter* MeterOf(const rt::Value& value);
// A handle for meter, to pass as COPYFILE's meter argument.
rt::Value MeterValue(gui::Meter& meter);

}  // namespace qv::shell
