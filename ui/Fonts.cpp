#include "Fonts.h"

#include <QFontDatabase>
#include <QString>
#include <initializer_list>

namespace {

// The first of "families" that is installed, else the system's font of kind "fallback".
QFont FontOrFallback(std::initializer_list<QString> families, QFontDatabase::SystemFont fallback) {
  for (const QString& family : families) {
    if (QFontDatabase::hasFamily(family)) return QFont(family);
  }
  return QFontDatabase::systemFont(fallback);
}

}  // namespace

QFont FormFont() {
  QFont font = FontOrFallback({QStringLiteral("Tahoma")}, QFontDatabase::GeneralFont);
  font.setPointSize(8);
  return font;
}

QFont ResultFont() {
  // Liberation Mono has the metrics of Courier New, so the six result lines fit either way.
  QFont font = FontOrFallback({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")},
                              QFontDatabase::FixedFont);
  font.setPixelSize(15);
  return font;
}
