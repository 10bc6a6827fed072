#include "platform/gui/script/headless_printer.h"

namespace qv::gui {

std::shared_ptr<PrintJob> NewHeadlessPrintJob(std::string document, bool printer_present,
                                              Transcript& transcript, PrintSink* sink) {
  transcript.Write("PRINT_BEGIN", {document, printer_present ? "ready" : "no printer"});
  RecordingPrintJob::Hooks hooks;
  hooks.on_page = [&transcript](int page) { transcript.Write("PAGE", {std::to_string(page)}); };
  hooks.on_text = [&transcript](int page, const PrintedText& t) {
    transcript.Write(
        "PRINT", {std::to_string(page), std::to_string(t.row), std::to_string(t.column), t.text});
  };
  hooks.on_end = [&transcript, sink](const PrintedDocument& d) {
    transcript.Write("PRINT_END", {d.name, std::to_string(d.pages.size())});
    if (sink == nullptr) return;
    const Status s = sink->Write(d);
    if (!s.ok()) transcript.Write("PRINT_FAILED", {d.name, s.ToString()});
  };
  return std::make_shared<RecordingPrintJob>(std::move(document), printer_present, kHeadlessHorzRes,
                                             kHeadlessVertRes, std::move(hooks));
}

}  // namespace qv::gui
