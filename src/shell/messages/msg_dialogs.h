// The dialogs MSG opens from templates: the choice dialog "MSGreturn" (mode
// "H"), the progress message "MSGCONT" (modes "D", "X"), created once and
// reused for the rest of the run, and the cancel dialog "MSGCANCEL" (mode
// "C"). The last two stay on screen after MSG returns and show the latest
// EMESS whenever they repaint.
#pragma once

#include <string>

#include "platform/gui/dialog_template.h"
#include "tables/context.h"

namespace qv::shell {

// The progress message's template, held in the program's own resources:
// 166 x 69 dialog units at (6, 15), caption "conversion of", one text control
// 999 at (12, 18), 154 x 20.
void RegisterProgressTemplate(gui::TemplateRegistry& registry);

// Mode "H": runs "MSGreturn" modal and centred with text as its label, the
// dialog stored in ODLGMSG. " ", "M" or "Q" for buttons 102, 103, 104; "H"
// when closed otherwise (also the unattended answer).
std::string RunChoiceDialog(tables::Context& ctx, const std::string& text);

// Modes "D", "X": shows the progress dialog OCONTINUE (its text control in
// OCONTGET) at its template's position, creating it the first time; a shown
// or hidden one is refreshed with EMESS and shown again, and pending
// messages are processed once.
void ShowProgressDialog(tables::Context& ctx);

// Mode "C": opens a new cancel dialog into OKANCEL, centred and non-modal.
// Its button 101 sets the public XCANCEL to true and leaves it open;
// XCANCEL is not reset here.
void OpenCancelDialog(tables::Context& ctx);

}  // namespace qv::shell
