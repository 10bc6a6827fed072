// Layouts of the GUI layer's own templates. Their measures are ours: they fit
// what the program does with them (a message line above three choices, a
// cancel button under the picture and the counter, a file list with its
// action buttons).
#include "platform/gui/dialog_template.h"

namespace qv::gui {

namespace {

ControlTemplate Button(int id, int x, int y, int width, const char* caption) {
  return ControlTemplate{id, ControlKind::kButton, Rect{x, y, width, 14}, caption, id == 1};
}

}  // namespace

void RegisterLibraryTemplates(TemplateRegistry& registry) {
  registry.Register(
      DialogTemplate{"MSGreturn",
                     "Select an option",
                     Rect{0, 0, 220, 70},
                     "MS Sans Serif",
                     8,
                     {ControlTemplate{101, ControlKind::kStatic, Rect{8, 8, 204, 30}, "", false},
                      Button(102, 8, 48, 64, "&Continue"), Button(103, 78, 48, 64, "&Menu"),
                      Button(104, 148, 48, 64, "&Quit")}});
  // The picture sits at (10, 10) pixels and the text from row 1.99 on, so
  // the button goes below both.
  registry.Register(DialogTemplate{"MSGCANCEL",
                                   "Working",
                                   Rect{0, 0, 200, 80},
                                   "MS Sans Serif",
                                   8,
                                   {Button(101, 75, 60, 50, "&Cancel")}});
  registry.Register(DialogTemplate{
      "DX",
      "Select Files",
      Rect{0, 0, 290, 190},
      "MS Sans Serif",
      8,
      {ControlTemplate{101, ControlKind::kMultiListBox, Rect{7, 7, 200, 176}, "", false},
       Button(1, 214, 7, 70, "&Re-index"), Button(102, 214, 27, 70, "&Print Structure"),
       Button(103, 214, 47, 70, "C&opy From"), Button(104, 214, 67, 70, "&Append From"),
       Button(105, 214, 97, 70, "&Select All"), Button(2, 214, 169, 70, "&Cancel")}});
}

}  // namespace qv::gui
