// The headless front end's printer: always ready (unless there is no printer
// device), 5100 x 6600 device pixels (letter at 600 dpi). Each page and
// placed text goes to the transcript; a finished job also goes to the print
// sink when there is one (PDF files).
#pragma once

#include <memory>
#include <string>

#include "platform/gui/print_job.h"
#include "platform/gui/script/transcript.h"

namespace qv::gui {

inline constexpr int kHeadlessHorzRes = 5100;
inline constexpr int kHeadlessVertRes = 6600;

// transcript must outlive the job; sink may be nullptr (not owned).
std::shared_ptr<PrintJob> NewHeadlessPrintJob(std::string document, bool printer_present,
                                              Transcript& transcript, PrintSink* sink);

}  // namespace qv::gui
