#include "platform/gui/qt/qt_print.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>

#include "platform/gui/qt/qt_convert.h"

namespace qv::gui {

void RenderDocument(QPagedPaintDevice& device, const PrintedDocument& document) {
  QPainter painter(&device);
  const double scale_x =
      document.horz_res > 0 ? static_cast<double>(device.width()) / document.horz_res : 1;
  const double scale_y =
      document.vert_res > 0 ? static_cast<double>(device.height()) / document.vert_res : 1;
  // The printer's default font: 10 points at the device's resolution.
  QFont default_font("Courier New");
  default_font.setPointSizeF(10);
  for (size_t p = 0; p < document.pages.size(); ++p) {
    if (p > 0) device.newPage();
    for (const PrintedText& t : document.pages[p]) {
      QFont font = default_font;
      if (t.font) {
        // Font heights are screen pixels (96 per inch); scale to the device.
        font = ToQtFont(*t.font);
        font.setPixelSize(std::max(1, font.pixelSize() * device.logicalDpiY() / 96));
      }
      painter.setFont(font);
      const QFontMetrics metrics(font, &device);
      painter.drawText(QPointF(t.column * scale_x, t.row * scale_y + metrics.ascent()),
                       ToQt(t.text));
    }
  }
}

std::string PdfPathFor(const std::string& folder, const std::string& document) {
  std::string name;
  for (char c : document) {
    const bool bad = c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' ||
                     c == '<' || c == '>' || c == '|' || static_cast<unsigned char>(c) < 32;
    name.push_back(bad ? '_' : c);
  }
  if (name.empty()) name = "print";
  std::string path = folder + "/" + name + ".pdf";
  for (int n = 2; QFileInfo::exists(QString::fromStdString(path)); ++n) {
    path = folder + "/" + name + "-" + std::to_string(n) + ".pdf";
  }
  return path;
}

Status PdfFolderSink::Write(const PrintedDocument& document) {
  const std::string path = PdfPathFor(folder_, document.name);
  QPdfWriter writer(QString::fromStdString(path));
  writer.setResolution(kPdfResolution);
  writer.setPageSize(QPageSize(QPageSize::Letter));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  writer.setTitle(ToQt(document.name));
  RenderDocument(writer, document);
  if (!QFileInfo::exists(QString::fromStdString(path))) {
    return Status::IOError("cannot write " + path);
  }
  return Status::OK();
}

}  // namespace qv::gui
