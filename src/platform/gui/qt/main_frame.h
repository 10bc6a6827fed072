// The Qt main window showing a MainWindow model: the menu bar built from the
// menu tree (each item's message in the status bar while highlighted), the
// message bar, the background brush, the icon and the paint action.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <functional>
#include <string_view>

#include "platform/gui/main_window.h"

namespace qv::gui {

class MainFrame : public QMainWindow {
 public:
  // model must outlive the frame; on_closed runs once when the window closes.
  MainFrame(const MainWindow& model, std::function<void()> on_closed);

  void SetMessage(std::string_view text);  // "" restores the default text
  void EnableMenu(bool enabled);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void AddItems(QWidget* menu, const std::vector<MenuItem>& items);

  const MainWindow& model_;
  std::function<void()> on_closed_;
  QLabel* message_ = nullptr;  // centred in the status bar
};

}  // namespace qv::gui
