#pragma once
// The bridge between the core's byte strings and Qt's strings and colours.
// Bytes that are valid UTF-8 are shown as UTF-8; any other byte string is
// read as Windows-1252, so an old language file with "%E4" still shows "ä".

#include <QColor>
#include <QString>
#include <string>
#include <string_view>

#include "imaging/Colors.h"

namespace zelvora {

QString ToQString(std::string_view bytes);
// Text typed into the window: UTF-8 bytes.
std::string ToBytes(const QString& text);

// A colour value of the option set (red in the low byte, the Default mark
// ignored) as a QColor, and back (without the mark).
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

}  // namespace zelvora
