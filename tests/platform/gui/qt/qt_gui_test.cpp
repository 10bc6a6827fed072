#include "platform/gui/qt/qt_gui.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "platform/gui/qt/dialog_window.h"
#include "platform/gui/qt/main_frame.h"
#include "platform/gui/qt/qt_print.h"
#include "platform/gui/script/script_gui.h"
#include "qt_test_app.h"
#include "testing/testing.h"

namespace qv::gui {
namespace {

using testing::SaveScreenshot;
using testing::TestApp;
using testing::WhenModalShown;

class QtGuiTest : public ::testing::Test {
 protected:
  QtGuiTest() : gui((TestApp(), GuiOptions{}), QtOptions{}) {}
  QtGui gui;
};

MainWindow SampleWindow(int* chosen) {
  MenuBuilder b;
  b.Begin();
  b.Add("&Install", "", nullptr);
  b.Begin();
  b.Add("&Demo data", "Install Quorvanta with demo data", [chosen] { ++*chosen; });
  b.Separator();
  b.Add("&Update", "Update an installation", nullptr);
  b.End();
  b.Add("&Exit", "Leave the program", nullptr);
  b.End();
  MainWindow w;
  w.rect = Rect{200, 96, 416, 416};
  w.title = "  Install    Quorvanta Scheduler";
  w.menu = b.Finish().value();
  w.message_bar_default = "Quorvanta Setup";
  w.brush = RelaxPicture();
  w.on_paint = [](Canvas& canvas) {
    canvas.DrawBitmap(0, 0,
                      Bitmap{"logo",
                             EncodeBmp(96, 48,
                                       [](int x, int y) {
                                         return (x / 12 + y / 12) % 2 ? 0xFFFFFFu : 0xC00000u;
                                       }),
                             96, 48});
  };
  return w;
}

TEST_F(QtGuiTest, MainWindowShowsMenuMessageBarAndPaint) {
  int chosen = 0;
  gui.OpenMainWindow(SampleWindow(&chosen));
  MainFrame* frame = gui.main_frame();
  ASSERT_NE(frame, nullptr);
  frame->show();
  EXPECT_EQ(frame->windowTitle().toStdString(), "  Install    Quorvanta Scheduler");
  EXPECT_EQ(frame->size(), QSize(416, 416));
  auto* message = frame->statusBar()->findChild<QLabel*>();
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(message->text().toStdString(), "Quorvanta Setup");
  gui.SetMessageBar(" Report 3");
  EXPECT_EQ(message->text().toStdString(), " Report 3");
  gui.SetMessageBar("");
  EXPECT_EQ(message->text().toStdString(), "Quorvanta Setup");

  // Highlighting an item shows its message; choosing it runs its action.
  QAction* demo = nullptr;
  for (QAction* a : frame->findChildren<QAction*>()) {
    if (a->text() == "&Demo data") demo = a;
  }
  ASSERT_NE(demo, nullptr);
  demo->hover();
  EXPECT_EQ(message->text().toStdString(), "Install Quorvanta with demo data");
  demo->trigger();
  EXPECT_EQ(chosen, 1);
  gui.EnableMenu(false);
  EXPECT_FALSE(frame->menuBar()->isEnabled());
  gui.EnableMenu(true);

  QApplication::processEvents();
  SaveScreenshot(frame, "main_window");
  gui.CloseMainWindow();
  EXPECT_FALSE(gui.MainWindowOpen());
}

TEST_F(QtGuiTest, RunMainWindowReturnsWhenTheWindowCloses) {
  int chosen = 0;
  gui.OpenMainWindow(SampleWindow(&chosen));
  QTimer::singleShot(20, [this] { gui.main_frame()->close(); });
  gui.RunMainWindow();
  EXPECT_FALSE(gui.MainWindowOpen());
}

TEST_F(QtGuiTest, AModalDialogIsClosedByAClickOnItsButton) {
  auto dialog = gui.NewDialog("DX").value();
  dialog->Find(101)->items = {"glm  General ledger", "ar   Receivables", "ap   Payables"};
  int result = 0;
  for (int id : {1, 2, 102, 103, 104}) {
    dialog->Find(id)->action = [&result, id](Dialog& d) {
      result = id;
      d.End();
    };
  }
  WhenModalShown([](QWidget* modal) {
    auto* list = modal->findChild<QListWidget*>();
    list->item(2)->setSelected(true);
    for (QPushButton* b : modal->findChildren<QPushButton*>()) {
      if (b->text() == "&Print Structure") QTest::mouseClick(b, Qt::LeftButton);
    }
  });
  gui.RunModal(*dialog);
  EXPECT_EQ(result, 102);
  EXPECT_EQ(dialog->Find(101)->Selections(), std::vector<int>{3});
}

TEST_F(QtGuiTest, QueuedAnswersDriveQtDialogsToo) {
  auto dialog = gui.NewDialog("DX").value();
  dialog->Find(101)->items = {"a", "b", "c"};
  dialog->default_answer = ParseAnswer("cancel").value();
  int result = 0;
  dialog->Find(1)->action = [&result](Dialog& d) {
    result = 1;
    d.End();
  };
  gui.answers().Push(ParseAnswer("select 1,3").value());
  gui.answers().Push(ParseAnswer("ok").value());
  gui.RunModal(*dialog);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(dialog->Find(101)->Selections(), (std::vector<int>{1, 3}));
  gui.answers().Push(ParseAnswer("no").value());
  EXPECT_FALSE(gui.AskYesNo("Proceed?", true));
}

TEST_F(QtGuiTest, MessageBoxesAndQuestionsCloseByKey) {
  WhenModalShown([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Return); });
  gui.ShowMessage(MessageKind::kInformation, "Done.");
  WhenModalShown([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Return); });
  EXPECT_FALSE(gui.AskYesNo("Exit ZENTHOR Now.?", false));  // Enter takes the default
  WhenModalShown([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Return); });
  EXPECT_TRUE(gui.AskYesNo("Continue with Conversion", true));
  WhenModalShown([](QWidget* modal) {
    modal->setWindowTitle(modal->windowTitle());  // shown: answer with Escape
    QTest::keyClick(modal, Qt::Key_Escape);
  });
  rt::ErrorInfo info;
  info.description = "Open error";
  info.operation = "ctl3d.dll";
  info.can_default = true;
  EXPECT_EQ(gui.Handle(info), rt::ErrorChoice::kDefault);
}

TEST_F(QtGuiTest, MeterCancelButtonSetsTheFlag) {
  int steps = 0;
  const bool cancelled = gui.RunMeter("Installing", "Copy", [&](Meter& m) {
    m.SetTotal(1000);
    for (int i = 1; i <= 1000 && !m.cancelled(); ++i) {
      m.Set(i);
      ++steps;
      if (i == 5) {
        auto* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
          QTest::mouseClick(b, Qt::LeftButton);
        }
      }
      gui.ProcessPendingMessages();
    }
  });
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(steps, 5);
}

TEST_F(QtGuiTest, NonModalDialogShowsDrawnTextAndHides) {
  auto dialog = gui.NewDialog("MSGCANCEL").value();
  bool pressed = false;
  dialog->Find(101)->action = [&pressed](Dialog&) { pressed = true; };
  dialog->DrawBitmap(10, 10, RelaxPicture());
  gui.ShowNonModal(dialog);
  dialog->Say(1.99, 10, "Re-indexing company 1", kNavy, Font{"Arial", 0, -13, false});
  dialog->Say(3, 10, "Item     5/    20             ", kNavy, Font{"Ms Sans Serif", 0, -12, true});
  DialogWindow* window = gui.WindowOf(*dialog);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  QApplication::processEvents();
  SaveScreenshot(window, "cancel_dialog");
  QTest::mouseClick(window->findChild<QPushButton*>(), Qt::LeftButton);
  EXPECT_TRUE(pressed);
  EXPECT_FALSE(dialog->ended());
  gui.HideDialog(*dialog);
  EXPECT_FALSE(window->isVisible());
  gui.CloseDialog(*dialog);
  EXPECT_EQ(gui.WindowOf(*dialog), nullptr);
  EXPECT_TRUE(dialog->ended());
}

TEST_F(QtGuiTest, PrintJobsBecomePdfFilesInTheChosenFolder) {
  qv::testing::TempDir dir;
  QtGui pdf(GuiOptions{}, QtOptions{true, dir.path()});
  auto job = pdf.BeginPrint("Conversion Protocol");
  ASSERT_TRUE(job->ready());
  EXPECT_EQ(job->horz_res(), 5100);
  EXPECT_EQ(job->vert_res(), 6600);
  job->PageBegin();
  job->Say(102, 0, "CONVERSION PROTOCOL", nullptr);
  job->PageEnd();
  job->End();
  const std::string bytes = qv::testing::ReadHostFile(dir.Sub("Conversion Protocol.pdf"));
  EXPECT_EQ(bytes.substr(0, 4), "%PDF");
  EXPECT_EQ(PdfPathFor(dir.path(), "Conversion Protocol"), dir.Sub("Conversion Protocol-2.pdf"));
  EXPECT_EQ(PdfPathFor(dir.path(), "a/b:c"), dir.Sub("a_b_c.pdf"));
}

TEST_F(QtGuiTest, WithoutAPrinterDeviceTheJobIsNotReady) {
  QtGui none(GuiOptions{}, QtOptions{false, ""});
  auto job = none.BeginPrint("Print");
  EXPECT_FALSE(job->ready());
  EXPECT_EQ(job->horz_res(), 0);
}

TEST_F(QtGuiTest, PdfSinkWritesHeadlessDocuments) {
  qv::testing::TempDir dir;
  PrintedDocument doc;
  doc.name = "Database Structure";
  doc.horz_res = 5100;
  doc.vert_res = 6600;
  doc.pages = {{PrintedText{400, 765, "STRUCTURE for database GLM", std::nullopt}},
               {PrintedText{408, 765, "** Total **", Font{"Courier New", 0, -8, false}}}};
  PdfFolderSink sink(dir.path());
  ASSERT_TRUE(sink.Write(doc).ok());
  EXPECT_EQ(qv::testing::ReadHostFile(dir.Sub("Database Structure.pdf")).substr(0, 4), "%PDF");
  EXPECT_TRUE(PdfFolderSink(dir.Sub("missing/folder")).Write(doc).IsIOError());
}

TEST_F(QtGuiTest, HeadlessJobsBecomePdfFilesThroughTheSink) {
  qv::testing::TempDir dir;
  PdfFolderSink sink(dir.path());
  std::ostringstream transcript;
  ScriptGui headless(GuiOptions{}, ScriptOptions{&transcript, true, &sink});
  auto job = headless.BeginPrint("Conversion Protocol");
  job->PageBegin();
  job->Say(102, 0, "line 1", nullptr);
  job->End();
  EXPECT_EQ(qv::testing::ReadHostFile(dir.Sub("Conversion Protocol.pdf")).substr(0, 4), "%PDF");
  EXPECT_NE(transcript.str().find("PRINT\t1\t102\t0\tline 1\n"), std::string::npos);
}

}  // namespace
}  // namespace qv::gui
