// A Qt dialog showing a Dialog model: one widget per control at its pixel
// rectangle, the drawings painted on the surface, the model's timers run by
// Qt timers. Every user event is handed to the model, which decides what it
// means; the window closes when the model has ended.
#pragma once

#include <QDialog>
#include <QTimer>
#include <map>
#include <vector>

#include "platform/gui/answers.h"
#include "platform/gui/dialog.h"
#include "platform/runtime/date.h"

namespace qv::gui {

class DialogWindow : public QDialog {
 public:
  // model, keys and dates must outlive the window.
  DialogWindow(Dialog& model, KeyState& keys, const rt::DateSettings& dates, QWidget* parent);
  ~DialogWindow() override;

  // Reads the widgets into the model (typed text, selections, check boxes).
  void SyncToModel();
  // Shows the model's values, captions and any controls added since.
  void SyncFromModel();
  // Closes the window when the model has ended.
  void FinishIfEnded();
  Dialog& model() { return model_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  QWidget* MakeWidget(Control& control);

  Dialog& model_;
  KeyState& keys_;
  const rt::DateSettings& dates_;
  std::map<const Control*, QWidget*> widgets_;
  std::vector<QTimer*> timers_;
  bool finishing_ = false;
};

}  // namespace qv::gui
