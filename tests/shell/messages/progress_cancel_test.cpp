// The progress message that is created once and reused, the cancel dialog and
// its counter, the cancel test and the routines that take the dialogs off the
// screen, through the headless front end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "message_fixture.h"
#include "platform/gui/units.h"
#include "shell/messages/cancel.h"
#include "shell/messages/msg.h"
#include "shell/messages/session_values.h"
#include "shell/startup/handles.h"

namespace qv::shell {
namespace {

using testing::Line;

class ProgressCancelTest : public testing::MessageTest {
 protected:
  void Show(const char* text, const char* mode) {
    MsgArgs args;
    args.text = text;
    args.mode = mode;
    Msg(ctx(), args);
  }
};

const std::string kWipe(13, ' ');

TEST_F(ProgressCancelTest, ProgressDialogIsCreatedOnceAndShowsTheLatestMessage) {
  Show("first", "D");
  EXPECT_EQ(Take(), (std::vector<std::string>{Line({"SHOW", "MSGCONT", "conversion of"}),
                                              Line({"FIELD", "999", "first"})}));
  std::shared_ptr<gui::Dialog> dialog = DialogVar(session_, "OCONTINUE");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->rect, gui::DialogUnitsToPixels(gui::Rect{6, 15, 166, 69}));
  EXPECT_FALSE(dialog->centred);
  EXPECT_FALSE(dialog->TakesAnswers());
  const gui::Control* text = dialog->Find(999);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->kind, gui::ControlKind::kMultiEdit);
  EXPECT_EQ(text->rect, gui::DialogUnitsToPixels(gui::Rect{12, 18, 154, 20}));
  EXPECT_EQ(text->font->face, "Arial");
  EXPECT_EQ(text->text_color, gui::kBlack);
  EXPECT_EQ(text->back_color, gui::kLightGrey);
  const gui::ControlHandle* handle = gui::ControlOf(*session_.Find("OCONTGET"));
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(handle->control(), text);

  Show("second", "X");
  EXPECT_EQ(DialogVar(session_, "OCONTINUE"), dialog);
  EXPECT_EQ(Take(), (std::vector<std::string>{Line({"TEXT", "MSGCONT", "999", "second"}),
                                              Line({"SHOW", "MSGCONT", "conversion of"}),
                                              Line({"FIELD", "999", "second"})}));

  // Hidden by FCANCEL, shown again by the next progress message.
  EXPECT_TRUE(Call("FCANCEL", {}).logical());
  Show("third", "D");
  EXPECT_EQ(DialogVar(session_, "OCONTINUE"), dialog);
  EXPECT_EQ(Take(), (std::vector<std::string>{Line({"HIDE", "MSGCONT"}),
                                              Line({"SHOW", "MSGCONT", "conversion of"}),
                                              Line({"FIELD", "999", "third"})}));
}

TEST_F(ProgressCancelTest, CancelButtonSetsXcancelAndTheCounterIsWritten) {
  Show("Copying tables", "C");
  const int text_row = gui::TextRowToPixels(1.99);
  const int counter_row = gui::TextRowToPixels(3);
  const int column = gui::TextColumnToPixels(10);
  EXPECT_EQ(Take(), (std::vector<std::string>{Line({"SHOW", "MSGCANCEL", "Working"}),
                                              Line({"DRAW", "MSGCANCEL", std::to_string(text_row),
                                                    std::to_string(column), "Copying tables"})}));
  std::shared_ptr<gui::Dialog> dialog = DialogVar(session_, "OKANCEL");
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->centred);

  EXPECT_FALSE(Call("CANCEL_NOW", {rt::Value::Int(4), rt::Value::Int(20)}).logical());
  gui_.PressCancelAfter(1);
  EXPECT_TRUE(Call("CANCEL_NOW", {rt::Value::Int(5), rt::Value::Int(20)}).logical());
  EXPECT_EQ(Take(), (std::vector<std::string>{
                        Line({"DRAW", "MSGCANCEL", std::to_string(counter_row),
                              std::to_string(column), "Item     4/    20" + kWipe}),
                        Line({"CANCEL_PRESSED", "MSGCANCEL"}),
                        Line({"DRAW", "MSGCANCEL", std::to_string(counter_row),
                              std::to_string(column), "Item     5/    20" + kWipe})}));
  EXPECT_FALSE(dialog->ended()) << "the button leaves the dialog open";

  // A new cancel dialog does not reset the request.
  Show("Next step", "C");
  EXPECT_NE(DialogVar(session_, "OKANCEL"), dialog);
  EXPECT_TRUE(SwitchVar(session_, "XCANCEL"));
}

TEST_F(ProgressCancelTest, CounterTexts) {
  EXPECT_EQ(ItemCounter(5, 20), "Item     5/    20" + kWipe);
  EXPECT_EQ(ItemCounter(123456, 1), "Item123456/     1" + kWipe);
  EXPECT_EQ(RecordCounter(3, 10), "Record:     3/    10" + kWipe);

  // Without an item number: the selected table's key position and count.
  WriteTable("cust", "field NAME C 4\nrows ~\nA\nB\nC\nD\nE\n");
  Open("cust");
  ASSERT_TRUE(ws().Area()->GoTo(3).ok());
  Show("Reading", "C");
  Take();
  Call("CANCEL_NOW", {});
  const std::vector<std::string> lines = Take();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(lines[0].rfind('\t') + 1), "Record:     3/     5" + kWipe);
}

TEST_F(ProgressCancelTest, CancelNowWithoutCancelDialogWritesNothing) {
  session_.Assign("XCANCEL", true);
  EXPECT_TRUE(Call("CANCEL_NOW", {rt::Value::Int(1), rt::Value::Int(2)}).logical());
  session_.Assign("XCANCEL", false);
  EXPECT_FALSE(Call("CANCEL_NOW", {}).logical());
  EXPECT_TRUE(Take().empty());
}

TEST_F(ProgressCancelTest, CancelItTellsAndShowsCancelledUnlessAskedNotTo) {
  EXPECT_FALSE(Call("CANCELIT", {"copy"}).logical());
  session_.Assign("XCANCEL", true);
  EXPECT_TRUE(Call("CANCELIT", {"copy"}).logical());
  EXPECT_TRUE(Call("CANCELIT", {"NO MESSAGE"}).logical());
  EXPECT_TRUE(Call("CANCELIT", {}).logical());
  gui_.keys().Set(gui::Key::kEscape, true);
  EXPECT_FALSE(Call("CANCELIT", {"copy"}).logical());
  gui_.keys().Set(gui::Key::kEscape, false);
  EXPECT_EQ(Take(), (std::vector<std::string>{
                        Line({"MESSAGE", "information", "Information", "Cancelled...copy"}),
                        Line({"MESSAGE", "information", "Information", "Cancelled..."})}));
  EXPECT_TRUE(SwitchVar(session_, "XCANCEL"));
}

TEST_F(ProgressCancelTest, ClearItTakesBothDialogsOffTheScreen) {
  EXPECT_TRUE(Call("CLEARIT", {"any", rt::Value::Int(1)}).logical());
  EXPECT_TRUE(Take().empty()) << "nothing to clear";

  int repaints = 0;
  gui::MainWindow window;
  window.title = "main";
  window.on_paint = [&repaints](gui::Canvas&) { ++repaints; };
  gui_.OpenMainWindow(window);
  session_.Assign("OWNDMAIN", rt::ObjectRef(std::make_shared<WindowObject>()));
  Show("progress", "D");
  Show("cancel", "C");
  Take();
  EXPECT_TRUE(Call("CLEARIT", {}).logical());
  EXPECT_EQ(Take(),
            (std::vector<std::string>{Line({"HIDE", "MSGCONT"}), Line({"CLOSE", "MSGCANCEL"})}));
  EXPECT_EQ(repaints, 1);
  std::shared_ptr<gui::Dialog> closed = DialogVar(session_, "OKANCEL");
  ASSERT_NE(closed, nullptr) << "OKANCEL still refers to the closed dialog";
  EXPECT_TRUE(closed->ended());

  // A closed cancel dialog shows no counter, and a second FCANCEL does no harm.
  Call("CANCEL_NOW", {rt::Value::Int(1), rt::Value::Int(2)});
  EXPECT_TRUE(Call("FCANCEL", {"unused"}).logical());
  EXPECT_TRUE(Take().empty());
}

TEST_F(ProgressCancelTest, ErrMsgBeepsAndShowsAShortAlert) {
  EXPECT_TRUE(Call("ERRMSG", {"Setit ERROR"}).logical());
  EXPECT_TRUE(Call("ERRMSG", {"Longer", rt::Value::Int(1)}).logical());
  EXPECT_EQ(Take(), (std::vector<std::string>{"BEEP", Line({"NOTE", "Alert", "Setit ERROR", "0.2"}),
                                              "BEEP", Line({"NOTE", "Alert", "Longer", "1"})}));
}

}  // namespace
}  // namespace qv::shell
