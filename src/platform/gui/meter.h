// The progress meter dialog's model: a text, a total and a position, and the
// cancel flag its Cancel button sets. The action run inside the meter dialog
// sets the total and moves the position; front ends show the changes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qv::gui {

class Meter {
 public:
  Meter(std::string text, std::string title) : text_(std::move(text)), title_(std::move(title)) {}

  const std::string& text() const { return text_; }
  const std::string& title() const { return title_; }
  int64_t total() const { return total_; }
  // The position as shown: never beyond the total.
  int64_t position() const { return position_ < total_ ? position_ : total_; }

  void SetTotal(int64_t total);
  void Set(int64_t position);

  // Set by the Cancel button (or a scripted press); the action polls it.
  bool& cancel_flag() { return cancelled_; }
  bool cancelled() const { return cancelled_; }
  void Cancel() { cancelled_ = true; }

  // Front ends hook this to show each change.
  std::function<void(const Meter&)> on_change;

 private:
  std::string text_;
  std::string title_;
  int64_t total_ = 0;
  int64_t position_ = 0;
  bool cancelled_ = false;
};

// What runs inside the meter dialog; the dialog closes when it returns.
using MeterAction = std::function<void(Meter& meter)>;

}  // namespace qv::gui
