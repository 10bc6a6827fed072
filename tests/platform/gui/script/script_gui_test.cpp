#include "platform/gui/script/script_gui.h"

#include <gtest/gtest.h>

#include "script_fixture.h"

namespace qv::gui {
namespace {

using testing::ScriptFixture;
using Lines = std::vector<std::string>;

int ExitCodeOf(const std::function<void()>& run) {
  try {
    run();
  } catch (const rt::QuitRequest& quit) {
    return quit.exit_code;
  }
  return -1;
}

TEST(ScriptGuiTest, MainWindowWritesTitleMenuAndMessageBar) {
  ScriptFixture f;
  MenuBuilder b;
  b.Begin();
  b.Add("&Install", "", nullptr);
  b.Begin();
  int chosen = 0;
  b.Add("&Demo", "Install with demo\tdata", [&] { ++chosen; });
  b.Separator();
  b.End();
  b.End();
  MainWindow w;
  w.title = "  Install    Quorvanta Scheduler";
  w.menu = b.Finish().value();
  w.message_bar_default = "Ready";
  int paints = 0;
  w.on_paint = [&](Canvas&) { ++paints; };
  f.gui.OpenMainWindow(std::move(w));
  int steps = 0;
  f.gui.SetDriver([&] {
    EXPECT_TRUE(f.gui.Choose("Install>Demo").ok());
    EXPECT_TRUE(f.gui.Choose("Install>Nothing").IsInvalidArgument());
    f.gui.SetMessageBar("Working");
    f.gui.SetMessageBar("");
    return ++steps < 2;
  });
  f.gui.RunMainWindow();
  EXPECT_EQ(chosen, 2);
  EXPECT_EQ(paints, 1);
  EXPECT_FALSE(f.gui.MainWindowOpen());
  EXPECT_EQ(f.Lines(), (Lines{"WINDOW\t  Install    Quorvanta Scheduler", "MENU\tInstall\t",
                              "MENU\tInstall>Demo\tInstall with demo\\tdata", "MENU\tInstall>-\t",
                              "STATUS\tReady", "STATUS\tWorking", "STATUS\tReady",
                              "STATUS\tWorking", "STATUS\tReady", "WINDOW_CLOSED"}));
}

TEST(ScriptGuiTest, ADisabledMenuCannotBeChosen) {
  ScriptFixture f;
  MenuBuilder b;
  b.Begin();
  b.Add("Go", "", [] {});
  b.End();
  MainWindow w;
  w.menu = b.Finish().value();
  f.gui.OpenMainWindow(std::move(w));
  f.gui.EnableMenu(false);
  EXPECT_TRUE(f.gui.Choose("Go").IsInvalidArgument());
  f.gui.EnableMenu(true);
  EXPECT_TRUE(f.gui.Choose("Go").ok());
}

TEST(ScriptGuiTest, MessagesAndBeeps) {
  ScriptFixture f;
  f.gui.Beep();
  f.gui.ShowMessage(MessageKind::kInformation, "Drive Q not available.");
  f.gui.ShowMessage(MessageKind::kStop, "Printer not ready!");
  EXPECT_EQ(f.Lines(), (Lines{"BEEP", "MESSAGE\tinformation\tInformation\tDrive Q not available.",
                              "MESSAGE\tstop\tStop\tPrinter not ready!"}));
}

TEST(ScriptGuiTest, QuestionsTakeQueuedAnswersElseTheirDefault) {
  ScriptFixture f;
  f.Queue("yes");
  EXPECT_TRUE(f.gui.AskYesNo("Retry?", false));
  EXPECT_FALSE(f.gui.AskYesNo("Retry?", false));
  EXPECT_TRUE(f.gui.AskYesNo("Continue", true));
  EXPECT_EQ(f.Lines(), (Lines{"QUESTION\tSelect an option\tRetry?\tno\tyes",
                              "QUESTION\tSelect an option\tRetry?\tno\tno\t(default)",
                              "QUESTION\tSelect an option\tContinue\tyes\tyes\t(default)"}));
}

TEST(ScriptGuiTest, AnAnswerThatDoesNotFitStopsTheRunWithCodeTwo) {
  ScriptFixture f;
  f.Queue("value 12");
  EXPECT_EQ(ExitCodeOf([&] { f.gui.AskYesNo("Proceed?", true); }), kExitBadScript);
  const Lines lines = f.Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("STOP\t2\t", 0), 0u) << lines[0];
}

TEST(ScriptGuiTest, HundredDefaultsInARowToTheSameQuestionStopWithCodeThree) {
  ScriptFixture f;
  for (int i = 0; i < kRepeatedDefaultLimit - 1; ++i) f.gui.AskYesNo("Lock failed. Retry?", true);
  // A note or a different text in between does not matter; the title is
  // the same for every question.
  f.gui.ShowMessage(MessageKind::kInformation, "note");
  EXPECT_EQ(ExitCodeOf([&] { f.gui.AskYesNo("other text", true); }), kExitRepeatedDefaults);
}

TEST(ScriptGuiTest, AQueuedAnswerOrAnotherKindRestartsTheCount) {
  ScriptFixture f;
  for (int i = 0; i < kRepeatedDefaultLimit - 1; ++i) f.gui.AskYesNo("q", true);
  f.Queue("no");
  f.gui.AskYesNo("q", true);
  for (int i = 0; i < kRepeatedDefaultLimit - 1; ++i) f.gui.AskYesNo("q", true);
  rt::ErrorInfo info;
  info.description = "Open error";
  f.gui.Handle(info);  // another kind in between
  for (int i = 0; i < kRepeatedDefaultLimit - 1; ++i) f.gui.AskYesNo("q", true);
  SUCCEED();
}

TEST(ScriptGuiTest, ErrorDialogAnswersAndDefault) {
  ScriptFixture f;
  rt::ErrorInfo info;
  info.description = "Open error";
  info.operation = "C:\\WINDOWS\\system\\ctl3d.dll";
  f.Queue("retry");
  EXPECT_EQ(f.gui.Handle(info), rt::ErrorChoice::kRetry);
  EXPECT_EQ(f.gui.Handle(info), rt::ErrorChoice::kDefault);
  f.Queue("quit");
  EXPECT_EQ(f.gui.Handle(info), rt::ErrorChoice::kQuit);
  EXPECT_EQ(f.Lines(),
            (Lines{"ERROR\tOpen error\tC:\\\\WINDOWS\\\\system\\\\ctl3d.dll\tretry",
                   "ERROR\tOpen error\tC:\\\\WINDOWS\\\\system\\\\ctl3d.dll\tdefault\t(default)",
                   "ERROR\tOpen error\tC:\\\\WINDOWS\\\\system\\\\ctl3d.dll\tquit"}));
  f.Queue("yes");
  EXPECT_EQ(ExitCodeOf([&] { f.gui.Handle(info); }), kExitBadScript);
}

TEST(ScriptGuiTest, MeterRunsToTheEndAndShowsAtMostItsTotal) {
  ScriptFixture f;
  const bool cancelled = f.gui.RunMeter("Installing", "Copy", [](Meter& m) {
    m.SetTotal(3);
    for (int i = 1; i <= 4; ++i) m.Set(i);
  });
  EXPECT_FALSE(cancelled);
  EXPECT_EQ(f.Lines(), (Lines{"METER\tCopy\tInstalling", "METER_TOTAL\t3", "METER_POS\t0",
                              "METER_POS\t1", "METER_POS\t2", "METER_POS\t3", "METER_END\tdone"}));
}

TEST(ScriptGuiTest, PressCancelAfterNCountsMessageProcessingWhileAMeterIsShown) {
  ScriptFixture f;
  f.gui.ProcessPendingMessages();  // no meter yet: not counted
  f.gui.PressCancelAfter(3);
  f.gui.ProcessPendingMessages();  // still no meter
  int polled = 0;
  const bool cancelled = f.gui.RunMeter("Indexing", "", [&](Meter& m) {
    m.SetTotal(100);
    while (!m.cancelled() && polled < 50) {
      ++polled;
      f.gui.ProcessPendingMessages();
    }
  });
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(polled, 3);
  // One press only: the next meter runs to its end.
  EXPECT_FALSE(f.gui.RunMeter("again", "", [&](Meter&) { f.gui.ProcessPendingMessages(); }));
}

TEST(ScriptGuiTest, HeadlessPrinterIsLetterAt600DpiAndTranscribesEveryText) {
  ScriptFixture f;
  auto job = f.gui.BeginPrint("Conversion Protocol");
  ASSERT_TRUE(job->ready());
  EXPECT_EQ(job->horz_res(), 5100);
  EXPECT_EQ(job->vert_res(), 6600);
  job->PageBegin();
  job->Say(102, 0, "line\t1", nullptr);
  job->PageEnd();
  job->PageBegin();
  job->Say(408, 15, "second page", nullptr);
  job->End();
  job->End();
  EXPECT_EQ(
      f.Lines(),
      (Lines{"PRINT_BEGIN\tConversion Protocol\tready", "PAGE\t1", "PRINT\t1\t102\t0\tline\\t1",
             "PAGE\t2", "PRINT\t2\t408\t15\tsecond page", "PRINT_END\tConversion Protocol\t2"}));
}

class RecordingSink : public PrintSink {
 public:
  Status Write(const PrintedDocument& document) override {
    documents.push_back(document);
    return Status::OK();
  }
  std::vector<PrintedDocument> documents;
};

TEST(ScriptGuiTest, FinishedJobsGoToThePrintSink) {
  std::ostringstream out;
  RecordingSink sink;
  ScriptGui gui(GuiOptions{}, ScriptOptions{&out, true, &sink});
  auto job = gui.BeginPrint("Database Structure");
  job->PageBegin();
  Font courier{"Courier New", 0, -8, false};
  job->Say(10, 20, "** Total **", &courier);
  job->PageEnd();
  EXPECT_TRUE(sink.documents.empty());
  job->End();
  ASSERT_EQ(sink.documents.size(), 1u);
  ASSERT_EQ(sink.documents[0].pages.size(), 1u);
  EXPECT_EQ(sink.documents[0].pages[0][0].font, courier);
}

TEST(ScriptGuiTest, WithoutAPrinterDeviceTheJobIsNotReadyAndPrintsNothing) {
  ScriptFixture f(/*printer=*/false);
  auto job = f.gui.BeginPrint("Print");
  EXPECT_FALSE(job->ready());
  EXPECT_EQ(job->vert_res(), 0);
  job->PageBegin();
  job->Say(1, 1, "x", nullptr);
  job->End();
  EXPECT_EQ(f.Lines(), (Lines{"PRINT_BEGIN\tPrint\tno printer"}));
}

TEST(ScriptGuiTest, ScriptedKeyStateIsWhatTheProgramReads) {
  ScriptFixture f;
  EXPECT_FALSE(f.gui.KeyDown(Key::kEscape));
  f.gui.keys().Set(Key::kEscape, true);
  EXPECT_TRUE(f.gui.KeyDown(Key::kEscape));
  f.gui.ProcessPendingMessages();
  EXPECT_TRUE(f.gui.KeyDown(Key::kEscape));  // held until the script lets go
  f.gui.keys().Set(Key::kEscape, false);
  EXPECT_FALSE(f.gui.KeyDown(Key::kEscape));
}

}  // namespace
}  // namespace qv::gui
