// Conversions between the layer's plain types and Qt's: text (code page
// 1252), fonts, colours and bitmaps.
#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>
#include <string>
#include <string_view>

#include "platform/gui/bitmap.h"
#include "platform/gui/types.h"

namespace qv::gui {

QString ToQt(std::string_view cp1252);
std::string FromQt(const QString& text);
// A negative height is the character height in pixels, a positive one the
// cell height (the character height is then taken as 4/5 of it).
QFont ToQtFont(const Font& font);
QColor ToQtColor(Color color);
// A null pixmap when the bytes do not decode.
QPixmap ToQtPixmap(const Bitmap& bitmap);

}  // namespace qv::gui
