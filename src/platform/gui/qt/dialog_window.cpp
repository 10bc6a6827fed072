#include "platform/gui/qt/dialog_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>

#include "platform/gui/edit_text.h"
#include "platform/gui/qt/qt_convert.h"

namespace qv::gui {

DialogWindow::DialogWindow(Dialog& model, KeyState& keys, const rt::DateSettings& dates,
                           QWidget* parent)
    : QDialog(parent), model_(model), keys_(keys), dates_(dates) {
  setWindowTitle(ToQt(model_.title));
  setFont(ToQtFont(model_.font));
  setFixedSize(model_.rect.width, model_.rect.height);
  setWindowFlag(Qt::WindowContextHelpButtonHint, model_.help_icon);
  if (!model_.centred) move(model_.rect.x, model_.rect.y);
  for (size_t i = 0; i < model_.timers().size(); ++i) {
    auto* timer = new QTimer(this);
    timer->setInterval(model_.timers()[i].interval_ms);
    connect(timer, &QTimer::timeout, this, [this, i] {
      model_.Tick(i);
      FinishIfEnded();
    });
    timers_.push_back(timer);
  }
  model_.on_draw = [this](Dialog&, const Drawing&) { update(); };
  SyncFromModel();
}

DialogWindow::~DialogWindow() { model_.on_draw = nullptr; }

QWidget* DialogWindow::MakeWidget(Control& control) {
  Control* c = &control;
  QWidget* w = nullptr;
  switch (control.kind) {
    case ControlKind::kButton: {
      auto* button = new QPushButton(ToQt(control.caption), this);
      button->setDefault(control.default_button);
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this, [this, c] {
        SyncToModel();
        model_.Press(c->id);
        SyncFromModel();
        FinishIfEnded();
      });
      w = button;
      break;
    }
    case ControlKind::kEdit: {
      auto* edit = new QLineEdit(this);
      connect(edit, &QLineEdit::returnPressed, this, [this, c] {
        SyncToModel();
        keys_.Pulse(Key::kEnter);  // Enter is down while the field is left
        model_.LeaveField(c->id);
        keys_.ClearPulses();
        FinishIfEnded();
      });
      w = edit;
      break;
    }
    case ControlKind::kListBox:
    case ControlKind::kMultiListBox: {
      auto* list = new QListWidget(this);
      list->setSelectionMode(control.kind == ControlKind::kMultiListBox
                                 ? QAbstractItemView::MultiSelection
                                 : QAbstractItemView::SingleSelection);
      w = list;
      break;
    }
    case ControlKind::kCheckBox:
      w = new QCheckBox(ToQt(control.caption), this);
      break;
    case ControlKind::kBitmap: {
      auto* label = new QLabel(this);
      label->setScaledContents(true);
      if (control.bitmap) label->setPixmap(ToQtPixmap(*control.bitmap));
      w = label;
      break;
    }
    case ControlKind::kStatic:
    case ControlKind::kMultiEdit: {
      auto* label = new QLabel(this);
      label->setWordWrap(true);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      w = label;
      break;
    }
  }
  if (control.font) w->setFont(ToQtFont(*control.font));
  w->setToolTip(ToQt(control.message));
  w->show();
  return w;
}

void DialogWindow::SyncFromModel() {
  setWindowTitle(ToQt(model_.title));
  for (Control& c : model_.controls()) {
    QWidget*& w = widgets_[&c];
    if (w == nullptr) w = MakeWidget(c);
    w->setGeometry(c.rect.x, c.rect.y, c.rect.width, c.rect.height);
    w->setEnabled(c.enabled);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      const bool editable = c.value.IsString() || c.value.IsNumber() || c.value.IsDate();
      const QString text = editable ? ToQt(EditTextOf(c.value, c.picture)) : QString();
      if (edit->text() != text) edit->setText(text);
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
      if (list->count() != static_cast<int>(c.items.size())) {
        list->clear();
        for (const std::string& item : c.items) list->addItem(ToQt(item));
      }
      for (int i = 0; i < list->count(); ++i) {
        const bool on = static_cast<size_t>(i) < c.selected.size() && c.selected[i];
        list->item(i)->setSelected(on);
      }
    } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
      box->setChecked(c.checked);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
      if (c.kind == ControlKind::kStatic || c.kind == ControlKind::kMultiEdit) {
        label->setText(ToQt(c.value.IsString() ? c.value.str() : c.caption));
      }
      if (c.text_color || c.back_color) {
        QPalette p = label->palette();
        if (c.text_color) p.setColor(QPalette::WindowText, ToQtColor(*c.text_color));
        if (c.back_color) p.setColor(QPalette::Window, ToQtColor(*c.back_color));
        label->setAutoFillBackground(c.back_color.has_value());
        label->setPalette(p);
      }
    }
  }
  update();
}

void DialogWindow::SyncToModel() {
  for (Control& c : model_.controls()) {
    QWidget* w = widgets_[&c];
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      if (!(c.value.IsString() || c.value.IsNumber() || c.value.IsDate())) continue;
      auto typed = ValueFromTyping(c.value, FromQt(edit->text()), c.picture, dates_);
      if (typed.ok()) c.value = std::move(typed).value();  // unreadable text keeps the value
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
      c.selected.assign(c.items.size(), false);
      for (int i = 0; i < list->count() && static_cast<size_t>(i) < c.items.size(); ++i) {
        c.selected[i] = list->item(i)->isSelected();
      }
    } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
      c.checked = box->isChecked();
    }
  }
}

void DialogWindow::FinishIfEnded() {
  if (!model_.ended() || finishing_) return;
  finishing_ = true;
  for (QTimer* t : timers_) t->stop();
  done(QDialog::Accepted);
  finishing_ = false;
}

void DialogWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  model_.Shown();
  SyncFromModel();
  for (size_t i = 0; i < timers_.size(); ++i) {
    if (model_.timers()[i].active) timers_[i]->start();
  }
  const Control* focus = model_.Find(model_.focus_id);
  if (focus != nullptr && widgets_[focus] != nullptr) widgets_[focus]->setFocus();
  FinishIfEnded();
}

void DialogWindow::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  QPainter painter(this);
  for (const Drawing& d : model_.drawings()) {
    if (d.bitmap) {
      painter.drawPixmap(d.x, d.y, ToQtPixmap(*d.bitmap));
      continue;
    }
    painter.setFont(ToQtFont(d.font));
    painter.setPen(ToQtColor(d.color));
    // Blank the text's cell first, so a shorter text wipes a longer one.
    const QFontMetrics metrics(painter.font());
    const QString text = ToQt(d.text);
    painter.fillRect(QRect(d.x, d.y, metrics.horizontalAdvance(text), metrics.height()),
                     palette().window());
    painter.drawText(d.x, d.y + metrics.ascent(), text);
  }
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    SyncToModel();
    keys_.Pulse(Key::kEscape);  // still down when the dialog returns
    model_.PressEscape();
    FinishIfEnded();
    return;
  }
  QDialog::keyPressEvent(event);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
  if (!model_.ended()) {
    SyncToModel();
    model_.PressCloseBox();
  }
  if (!model_.ended()) {
    event->ignore();  // the dialog's valid refused
    return;
  }
  for (QTimer* t : timers_) t->stop();
  QDialog::closeEvent(event);
}

// Escape reaches keyPressEvent; anything else that rejects (a window-system
// close request) counts as the close box.
void DialogWindow::reject() {
  if (!model_.ended()) {
    SyncToModel();
    model_.PressCloseBox();
  }
  if (model_.ended()) QDialog::reject();
}

}  // namespace qv::gui
