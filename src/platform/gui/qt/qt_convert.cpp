#include "platform/gui/qt/qt_convert.h"

#include "platform/runtime/text.h"

namespace qv::gui {

QString ToQt(std::string_view cp1252) { return QString::fromStdString(rt::Cp1252ToUtf8(cp1252)); }

std::string FromQt(const QString& text) { return rt::Utf8ToCp1252(text.toStdString()); }

QFont ToQtFont(const Font& font) {
  QFont f(QString::fromStdString(font.face));
  const int height = font.height < 0 ? -font.height : font.height * 4 / 5;
  if (height > 0) f.setPixelSize(height);
  f.setBold(font.bold);
  return f;
}

QColor ToQtColor(Color color) { return QColor(color.r, color.g, color.b); }

QPixmap ToQtPixmap(const Bitmap& bitmap) {
  QPixmap pixmap;
  pixmap.loadFromData(reinterpret_cast<const uchar*>(bitmap.bytes.data()),
                      static_cast<uint>(bitmap.bytes.size()));
  return pixmap;
}

}  // namespace qv::gui
