// The windowed front end's message boxes, yes/no question, progress meter and
// the run-time error dialog (Quit, Retry, Default).
#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <iostream>

#include "platform/gui/qt/qt_convert.h"
#include "platform/gui/qt/qt_gui.h"

namespace qv::gui {

namespace {

QMessageBox::Icon IconOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::kInformation:
      return QMessageBox::Information;
    case MessageKind::kAlert:
      return QMessageBox::Warning;
    case MessageKind::kStop:
      return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

void QtGui::ShowMessage(MessageKind kind, std::string_view text) {
  keys().ClearPulses();
  QMessageBox box(IconOf(kind), MessageTitle(kind), ToQt(text), QMessageBox::Ok, Owner());
  box.exec();
}

bool QtGui::AskYesNo(std::string_view text, bool default_yes) {
  keys().ClearPulses();
  while (!answers().empty()) {
    const Answer a = answers().Pop();
    if (a.word == Answer::Word::kYes || a.word == Answer::Word::kNo) {
      return a.word == Answer::Word::kYes;
    }
    std::cerr << "dropped: answer \"" << AnswerText(a) << "\" does not fit a yes/no question\n";
  }
  QMessageBox box(QMessageBox::Question, "Select an option", ToQt(text),
                  QMessageBox::Yes | QMessageBox::No, Owner());
  box.setDefaultButton(default_yes ? QMessageBox::Yes : QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void QtGui::Beep() { QApplication::beep(); }

bool QtGui::RunMeter(std::string_view text, std::string_view title, const MeterAction& action) {
  Meter meter{std::string(text), std::string(title)};
  QProgressDialog dialog(ToQt(text), "&Cancel", 0, 1, Owner());
  dialog.setWindowTitle(ToQt(title));
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setMinimumDuration(0);
  dialog.setAutoClose(false);
  dialog.setAutoReset(false);
  QObject::connect(&dialog, &QProgressDialog::canceled, [&meter] { meter.Cancel(); });
  meter.on_change = [&dialog](const Meter& m) {
    dialog.setMaximum(static_cast<int>(m.total() > 0 ? m.total() : 1));
    dialog.setValue(static_cast<int>(m.position()));
  };
  dialog.show();
  if (action) action(meter);
  dialog.close();
  return meter.cancelled();
}

rt::ErrorChoice QtGui::Handle(const rt::ErrorInfo& info) {
  keys().ClearPulses();
  while (!answers().empty()) {
    const Answer a = answers().Pop();
    if (a.word == Answer::Word::kRetry) return rt::ErrorChoice::kRetry;
    if (a.word == Answer::Word::kDefault) return rt::ErrorChoice::kDefault;
    if (a.word == Answer::Word::kQuit) return rt::ErrorChoice::kQuit;
    std::cerr << "dropped: answer \"" << AnswerText(a) << "\" does not fit the error dialog\n";
  }
  QMessageBox box(QMessageBox::Critical, ToQt(info.description), ToQt(rt::FormatError(info)),
                  QMessageBox::NoButton, Owner());
  QPushButton* quit = box.addButton("&Quit", QMessageBox::RejectRole);
  QPushButton* retry = box.addButton("&Retry", QMessageBox::AcceptRole);
  QPushButton* fallback = box.addButton("&Default", QMessageBox::AcceptRole);
  retry->setEnabled(info.can_retry);
  fallback->setEnabled(info.can_default);
  box.setDefaultButton(info.can_default ? fallback : quit);
  box.setEscapeButton(info.can_default ? fallback : quit);
  box.exec();
  if (box.clickedButton() == retry) return rt::ErrorChoice::kRetry;
  if (box.clickedButton() == fallback) return rt::ErrorChoice::kDefault;
  return rt::ErrorChoice::kQuit;
}

}  // namespace qv::gui
