#include "platform/gui/print_job.h"

namespace qv::gui {

RecordingPrintJob::RecordingPrintJob(std::string document, bool ready, int horz_res, int vert_res,
                                     Hooks hooks)
    : ready_(ready), hooks_(std::move(hooks)) {
  document_.name = std::move(document);
  document_.horz_res = horz_res;
  document_.vert_res = vert_res;
}

void RecordingPrintJob::PageBegin() {
  if (!ready_ || ended_) return;
  document_.pages.emplace_back();
  page_open_ = true;
  if (hooks_.on_page) hooks_.on_page(static_cast<int>(document_.pages.size()));
}

void RecordingPrintJob::PageEnd() { page_open_ = false; }

void RecordingPrintJob::Say(int row, int column, std::string_view text, const Font* font) {
  if (!ready_ || ended_) return;
  if (!page_open_) PageBegin();
  document_.pages.back().push_back(PrintedText{row, column, std::string(text),
                                               font ? std::optional<Font>(*font) : std::nullopt});
  if (hooks_.on_text) {
    hooks_.on_text(static_cast<int>(document_.pages.size()), document_.pages.back().back());
  }
}

void RecordingPrintJob::End() {
  if (ended_) return;
  ended_ = true;
  page_open_ = false;
  if (ready_ && hooks_.on_end) hooks_.on_end(document_);
}

}  // namespace qv::gui
