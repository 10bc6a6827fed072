#include "shell/messages/msg_dialogs.h"

#include <memory>
#include <utility>

#include "shell/messages/session_values.h"
#include "ui/dialog_helpers.h"

namespace qv::shell {

namespace {

constexpr int kProgressText = 999;
constexpr int kCancelButton = 101;
constexpr int kChoiceText = 101;
constexpr int kPictureX = 10;
constexpr int kPictureY = 10;

gui::Font DialogFont(rt::Session& session) { return FontVar(session, "OFONTMS9"); }

// The text control is bound to EMESS: it shows the latest message.
void RefreshProgressText(gui::Dialog& dialog, rt::Session& session) {
  if (gui::Control* text = dialog.Find(kProgressText)) text->value = TextVar(session, "EMESS");
}

std::shared_ptr<gui::Dialog> NewProgressDialog(tables::Context& ctx) {
  rt::Session& session = ctx.session();
  // Registered with the routines; a caller that only uses Msg() gets it here.
  if (ctx.gui().templates().Find("MSGCONT") == nullptr) {
    RegisterProgressTemplate(ctx.gui().templates());
  }
  std::shared_ptr<gui::Dialog> dialog = ctx.gui().NewDialog("MSGCONT").value();
  dialog->font = DialogFont(session);
  dialog->centred = false;  // at the template's position
  if (gui::Control* text = dialog->Find(kProgressText)) {
    // A static text in the template, taken over as the multi-line control.
    text->kind = gui::ControlKind::kMultiEdit;
    text->font = FontVar(session, "FNTARIAL");
    text->text_color = gui::kBlack;
    text->back_color = gui::kLightGrey;
  }
  dialog->on_paint = [&session, relax = gui::RelaxPicture()](gui::Dialog& d) {
    d.DrawBitmap(kPictureX, kPictureY, relax);
    RefreshProgressText(d, session);
  };
  RefreshProgressText(*dialog, session);  // shown with its text, before any paint
  SetPublic(session, "OCONTINUE", rt::ObjectRef(dialog));
  SetPublic(session, "OCONTGET",
            rt::ObjectRef(std::make_shared<gui::ControlHandle>(dialog, kProgressText)));
  return dialog;
}

}  // namespace

void RegisterProgressTemplate(gui::TemplateRegistry& registry) {
  registry.Register(
      gui::DialogTemplate{"MSGCONT",
                          "conversion of",
                          gui::Rect{6, 15, 166, 69},
                          "MS Sans Serif",
                          8,
                          {gui::ControlTemplate{kProgressText, gui::ControlKind::kStatic,
                                                gui::Rect{12, 18, 154, 20}, "", false}}});
}

std::string RunChoiceDialog(tables::Context& ctx, const std::string& text) {
  rt::Session& session = ctx.session();
  gui::Gui& gui = ctx.gui();
  std::shared_ptr<gui::Dialog> dialog = gui.NewDialog("MSGreturn").value();
  dialog->font = DialogFont(session);
  dialog->help_icon = false;
  dialog->centred = true;
  if (gui::Control* label = dialog->Find(kChoiceText)) label->caption = text;
  // Shared with the button actions: the dialog outlives this call in ODLGMSG.
  auto result = std::make_shared<std::string>("H");
  for (auto [id, letter] : {std::pair{102, " "}, std::pair{103, "M"}, std::pair{104, "Q"}}) {
    if (gui::Control* button = dialog->Find(id)) {
      button->action = [result, choice = std::string(letter)](gui::Dialog& d) {
        *result = choice;
        d.End();
      };
    }
  }
  dialog->on_init = [&gui, &session](gui::Dialog&) { ui::HhCtrl(gui, session); };
  gui::Answer close;
  close.word = gui::Answer::Word::kClose;
  dialog->default_answer = close;
  session.Assign("ODLGMSG", rt::ObjectRef(dialog));
  gui.RunModal(*dialog);
  return *result;
}

void ShowProgressDialog(tables::Context& ctx) {
  rt::Session& session = ctx.session();
  gui::Gui& gui = ctx.gui();
  std::shared_ptr<gui::Dialog> dialog = DialogVar(session, "OCONTINUE");
  if (dialog == nullptr || dialog->template_name() != "MSGCONT") {
    gui.ShowNonModal(NewProgressDialog(ctx));
    return;
  }
  dialog->DrawBitmap(kPictureX, kPictureY, gui::RelaxPicture());
  RefreshProgressText(*dialog, session);
  gui.RefreshDialog(*dialog);
  gui.ShowNonModal(dialog);  // it may have been hidden
  gui.ProcessPendingMessages();
}

void OpenCancelDialog(tables::Context& ctx) {
  rt::Session& session = ctx.session();
  std::shared_ptr<gui::Dialog> dialog = ctx.gui().NewDialog("MSGCANCEL").value();
  dialog->font = DialogFont(session);
  dialog->help_icon = false;
  dialog->centred = true;
  if (gui::Control* button = dialog->Find(kCancelButton)) {
    // Public: the press is noticed inside whatever routine processes the
    // pending messages, and must outlive it.
    button->action = [&session](gui::Dialog&) { SetPublic(session, "XCANCEL", true); };
  }
  dialog->on_paint = [&session, relax = gui::RelaxPicture()](gui::Dialog& d) {
    d.DrawBitmap(kPictureX, kPictureY, relax);
    d.Say(1.99, 10, TextVar(session, "EMESS"), gui::kNavy, FontVar(session, "FNTARIAL"));
  };
  SetPublic(session, "OKANCEL", rt::ObjectRef(dialog));
  ctx.gui().ShowNonModal(dialog);
}

}  // namespace qv::shell
