// Dialog templates: a named layout of controls in dialog units, the way the
// program's resources describe a dialog. The code that owns a template
// registers it; a dialog is later built from it by name. The templates the
// GUI layer itself provides (MSGreturn, MSGCANCEL, DX) are registered by
// RegisterLibraryTemplates().
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/types.h"

namespace qv::gui {

enum class ControlKind {
  kButton,
  kEdit,          // one-line entry field
  kMultiEdit,     // multi-line text
  kStatic,        // label
  kListBox,       // single selection
  kMultiListBox,  // multiple selection
  kCheckBox,
  kBitmap,
};

struct ControlTemplate {
  int id = 0;
  ControlKind kind = ControlKind::kStatic;
  Rect units;           // dialog units
  std::string caption;  // buttons, labels, check boxes
  bool default_button = false;
};

struct DialogTemplate {
  std::string name;     // as registered; lookups ignore case
  std::string caption;  // replaced by the dialog's title when it has one
  Rect units;           // position and size in dialog units
  std::string font_face = "MS Sans Serif";
  int font_points = 8;
  std::vector<ControlTemplate> controls;
};

// Templates by name (case-insensitive). Owned by the front-end context, not
// global, so tests can build their own.
class TemplateRegistry {
 public:
  // Adds or replaces the template of that name.
  void Register(DialogTemplate dialog_template);
  // nullptr when no template has that name. Valid until the name is
  // registered again.
  const DialogTemplate* Find(std::string_view name) const;

 private:
  std::map<std::string, DialogTemplate> templates_;  // keyed upper-case
};

// The GUI layer's own templates: "MSGreturn" (label 101 and buttons 102, 103,
// 104), "MSGCANCEL" (button 101) and "DX" (multi-selection list 101, buttons
// 1, 2, 102-105).
void RegisterLibraryTemplates(TemplateRegistry& registry);

}  // namespace qv::gui
