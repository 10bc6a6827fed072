#include "platform/gui/qt/main_frame.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>

#include "platform/gui/qt/qt_convert.h"

namespace qv::gui {

namespace {

// Draws the paint action's bitmaps with a painter.
class PainterCanvas : public Canvas {
 public:
  explicit PainterCanvas(QPainter& painter) : painter_(painter) {}
  void DrawBitmap(int x, int y, const Bitmap& bitmap) override {
    painter_.drawPixmap(x, y, ToQtPixmap(bitmap));
  }

 private:
  QPainter& painter_;
};

class PaintArea : public QWidget {
 public:
  PaintArea(const MainWindow& model, QWidget* parent) : QWidget(parent), model_(model) {
    setAutoFillBackground(true);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    PainterCanvas canvas(painter);
    if (model_.on_paint) model_.on_paint(canvas);
  }

 private:
  const MainWindow& model_;
};

// The colour letters of "W+/B": the background is the letter after '/'.
QColor BackgroundOf(std::string_view colors) {
  const size_t slash = colors.find('/');
  const char bg =
      slash == std::string_view::npos || slash + 1 >= colors.size() ? 'N' : colors[slash + 1];
  switch (bg) {
    case 'B':
      return QColor(0, 0, 128);
    case 'G':
      return QColor(0, 128, 0);
    case 'R':
      return QColor(128, 0, 0);
    case 'W':
      return QColor(192, 192, 192);
    default:
      return QColor(0, 0, 0);
  }
}

}  // namespace

MainFrame::MainFrame(const MainWindow& model, std::function<void()> on_closed)
    : model_(model), on_closed_(std::move(on_closed)) {
  setWindowTitle(ToQt(model_.title));
  setGeometry(model_.rect.x, model_.rect.y, model_.rect.width, model_.rect.height);
  if (model_.icon) {
    const QPixmap icon = ToQtPixmap(*model_.icon);
    if (!icon.isNull()) setWindowIcon(QIcon(icon));
  }
  auto* area = new PaintArea(model_, this);
  QPalette palette = area->palette();
  palette.setColor(QPalette::Window, BackgroundOf(model_.colors));
  if (model_.brush) {
    const QPixmap brush = ToQtPixmap(*model_.brush);
    if (!brush.isNull()) palette.setBrush(QPalette::Window, QBrush(brush));
  }
  area->setPalette(palette);
  setCentralWidget(area);
  AddItems(menuBar(), model_.menu);
  message_ = new QLabel(this);
  message_->setAlignment(Qt::AlignCenter);
  statusBar()->addWidget(message_, 1);
  SetMessage("");
}

void MainFrame::AddItems(QWidget* menu, const std::vector<MenuItem>& items) {
  for (const MenuItem& item : items) {
    if (item.separator) {
      if (auto* m = qobject_cast<QMenu*>(menu)) m->addSeparator();
      continue;
    }
    if (!item.items.empty()) {
      auto* sub = new QMenu(ToQt(item.caption), menu);
      AddItems(sub, item.items);
      if (auto* bar = qobject_cast<QMenuBar*>(menu)) bar->addMenu(sub);
      if (auto* m = qobject_cast<QMenu*>(menu)) m->addMenu(sub);
      continue;
    }
    auto* action = new QAction(ToQt(item.caption), menu);
    const MenuItem* source = &item;
    connect(action, &QAction::hovered, this, [this, source] { SetMessage(source->message); });
    connect(action, &QAction::triggered, this, [source] {
      if (source->action) source->action();
    });
    menu->addAction(action);
  }
}

// The default bar is centred; a command's own text (STATUSLINE) reads from the left.
void MainFrame::SetMessage(std::string_view text) {
  message_->setAlignment(text.empty() ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
  message_->setText(ToQt(text.empty() ? std::string_view(model_.message_bar_default) : text));
}

void MainFrame::EnableMenu(bool enabled) { menuBar()->setEnabled(enabled); }

void MainFrame::closeEvent(QCloseEvent* event) {
  QMainWindow::closeEvent(event);
  if (on_closed_) {
    auto closed = std::move(on_closed_);
    on_closed_ = nullptr;
    closed();
  }
}

}  // namespace qv::gui
