// The prompt and wait dialogs through the windowed front end, offscreen:
// each dialog really opens and is closed by a simulated key or click.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "platform/gui/qt/qt_gui.h"
#include "platform/gui/qt/qt_test_app.h"
#include "ui/msg_get.h"
#include "ui/msg_wait.h"

namespace qv::ui {
namespace {

using gui::testing::SaveScreenshot;
using gui::testing::TestApp;
using gui::testing::WhenModalShown;

class UiQtTest : public ::testing::Test {
 protected:
  UiQtTest() : gui((TestApp(), gui::GuiOptions{}), gui::QtOptions{}) {
    RegisterEntryTemplates(gui.templates());
  }
  gui::QtGui gui;
};

QPushButton* ButtonNamed(QWidget* dialog, const char* text) {
  for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
    if (b->text() == text) return b;
  }
  return nullptr;
}

TEST_F(UiQtTest, MsgGetTypedTextConfirmedWithEnter) {
  std::string title;
  WhenModalShown([&](QWidget* modal) {
    title = modal->windowTitle().toStdString();
    auto* edit = modal->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->hasFocus() || modal->focusWidget() == edit);
    edit->selectAll();
    QTest::keyClicks(edit, "Acme Supply");
    SaveScreenshot(modal, "msgget_dialog");
    QTest::keyClick(edit, Qt::Key_Return);
  });
  rt::Value value("old company name");
  EXPECT_TRUE(MsgGet(gui, MsgGetRequest{"Company name", "Name:", "", EntryFont()}, value));
  EXPECT_EQ(title, "Company name");
  EXPECT_EQ(value.str(), "Acme Supply     ");
}

TEST_F(UiQtTest, MsgGetEscapeConfirmsTheEditedValue) {
  WhenModalShown([](QWidget* modal) {
    auto* edit = modal->findChild<QLineEdit*>();
    edit->selectAll();
    QTest::keyClicks(edit, "42");
    QTest::keyClick(edit, Qt::Key_Escape);
  });
  rt::Value value = rt::Value::Int(7);
  EXPECT_TRUE(MsgGet(gui, MsgGetRequest{"Quantity", "", "", EntryFont()}, value));
  EXPECT_DOUBLE_EQ(value.num(), 42);
}

TEST_F(UiQtTest, MsgGetCancelButtonAndCloseBoxCancel) {
  WhenModalShown([](QWidget* modal) {
    QTest::keyClicks(modal->findChild<QLineEdit*>(), "x");
    QTest::mouseClick(ButtonNamed(modal, "&Cancel"), Qt::LeftButton);
  });
  rt::Value value("keep");
  EXPECT_FALSE(MsgGet(gui, MsgGetRequest{"T", "", "", EntryFont()}, value));
  EXPECT_EQ(value.str(), "keep");

  WhenModalShown([](QWidget* modal) { modal->close(); });
  EXPECT_FALSE(MsgGet(gui, MsgGetRequest{"T", "", "", EntryFont()}, value));
  EXPECT_EQ(value.str(), "keep");
}

TEST_F(UiQtTest, MsgGetConfirmButtonKeepsAValueWithAPicture) {
  WhenModalShown([](QWidget* modal) {
    auto* edit = modal->findChild<QLineEdit*>();
    edit->selectAll();
    QTest::keyClicks(edit, "ab");
    QTest::mouseClick(ButtonNamed(modal, "A&xcept"), Qt::LeftButton);
  });
  rt::Value value("    ");
  EXPECT_TRUE(MsgGet(gui, MsgGetRequest{"Code", "", "@!", EntryFont()}, value));
  EXPECT_EQ(value.str(), "AB  ");
}

TEST_F(UiQtTest, MsgWaitClosesByItselfAndShowsItsText) {
  std::string text;
  WhenModalShown([&](QWidget* modal) {
    for (QLabel* label : modal->findChildren<QLabel*>()) {
      if (!label->text().isEmpty()) text = label->text().toStdString();
    }
    SaveScreenshot(modal, "msgwait_note");
  });
  MsgWait(gui, WaitNote{rt::Value("Lock on CUST FAILED.\r\nWaiting..."), rt::Value("Alert"),
                        rt::Value(rt::Value::Num(0.2, 4, 2)), rt::Value()});
  EXPECT_EQ(text, "Lock on CUST FAILED.\r\nWaiting...");
}

TEST_F(UiQtTest, MsgWaitExitButtonClosesItEarly) {
  WhenModalShown(
      [](QWidget* modal) { QTest::mouseClick(ButtonNamed(modal, "eXit"), Qt::LeftButton); });
  MsgWait(gui, WaitNote{rt::Value("x"), rt::Value(), rt::Value::Int(600), rt::Value()});
  SUCCEED();
}

}  // namespace
}  // namespace qv::ui
