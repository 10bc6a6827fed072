// The environment variables the GUI layer answers to, read once by whoever
// builds a front end: QUORVANTA_WINDIR (the Windows folder reported),
// QUORVANTA_PRINTER=none (no printer device) and QUORVANTA_PRINT_PDF (a
// folder that receives every print job as a PDF file).
#pragma once

#include <functional>
#include <string>

namespace qv::gui {

struct GuiEnvironment {
  std::string windows_folder = "C:\\WINDOWS";
  bool printer_present = true;
  std::string pdf_folder;  // "" : no PDF files
};

// lookup returns a variable's value or nullptr when unset (std::getenv, or a
// table in tests). Empty values count as unset; "none" is matched ignoring case.
GuiEnvironment ReadGuiEnvironment(const std::function<const char*(const char*)>& lookup);

}  // namespace qv::gui
