// How a queued answer acts on a dialog: the same control changes a user's
// typing, clicking or key press would make.
#include "platform/gui/dialog.h"
#include "platform/gui/edit_text.h"
#include "platform/runtime/text.h"

namespace qv::gui {

namespace {

using Word = Answer::Word;

Status DoesNotFit(const Dialog& dialog, const Answer& answer, std::string_view why) {
  return Status::InvalidArgument("answer \"" + AnswerText(answer) + "\" does not fit dialog \"" +
                                 dialog.title + "\": " + std::string(why));
}

Status PressOrRefuse(Dialog& dialog, const Answer& answer, int id) {
  if (!dialog.Press(id)) {
    return DoesNotFit(dialog, answer, "no enabled button " + std::to_string(id));
  }
  return Status::OK();
}

}  // namespace

Status ApplyAnswer(Dialog& dialog, const Answer& answer, const rt::DateSettings& dates,
                   KeyState& keys) {
  switch (answer.word) {
    case Word::kValue:
    case Word::kFolder: {
      Control* edit = dialog.FirstOf(ControlKind::kEdit);
      if (edit == nullptr) return DoesNotFit(dialog, answer, "no entry field");
      QV_ASSIGN_OR_RETURN(edit->value,
                          ValueFromTyping(edit->value, answer.text, edit->picture, dates));
      return Status::OK();
    }
    case Word::kDrive: {
      Control* list = dialog.FirstOf(ControlKind::kListBox);
      if (list == nullptr) return DoesNotFit(dialog, answer, "no list");
      for (size_t i = 0; i < list->items.size(); ++i) {
        if (rt::EqualsNoCase(rt::AllTrim(list->items[i]), answer.text)) {
          list->selected.assign(list->items.size(), false);
          list->selected[i] = true;
          return Status::OK();
        }
      }
      return DoesNotFit(dialog, answer, "the list has no such item");
    }
    case Word::kShortcut: {
      Control* box = dialog.FirstOf(ControlKind::kCheckBox);
      if (box == nullptr || !box->enabled)
        return DoesNotFit(dialog, answer, "no enabled check box");
      box->checked = answer.on;
      return Status::OK();
    }
    case Word::kSelect: {
      Control* list = dialog.FirstOf(ControlKind::kMultiListBox);
      if (list == nullptr) return DoesNotFit(dialog, answer, "no multiple-selection list");
      std::vector<bool> chosen(list->items.size(), false);
      for (int n : answer.selections) {
        if (n < 1 || static_cast<size_t>(n) > chosen.size()) {
          return DoesNotFit(dialog, answer, "no item " + std::to_string(n));
        }
        chosen[static_cast<size_t>(n) - 1] = true;
      }
      list->selected = std::move(chosen);
      return Status::OK();
    }
    case Word::kOk:
      return PressOrRefuse(dialog, answer, 1);
    case Word::kCancel:
      return PressOrRefuse(dialog, answer, 2);
    case Word::kButton:
      return PressOrRefuse(dialog, answer, answer.button);
    case Word::kEsc:
      keys.Pulse(Key::kEscape);
      dialog.PressEscape();
      return Status::OK();
    case Word::kClose:
      dialog.PressCloseBox();
      return Status::OK();
    default:
      return DoesNotFit(dialog, answer, "a dialog takes no such answer");
  }
}

}  // namespace qv::gui
