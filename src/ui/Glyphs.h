#pragma once

#include <QCursor>
#include <QPixmap>

#include <string_view>

namespace zg {

/// The embedded PNG picture `name` (toolbar glyphs, tray and popup icons).
/// @throws ResourceError "Can't load resource: " and the name when it is
/// missing or cannot be decoded.
QPixmap loadGlyph(std::string_view name);

/// The program's own board cursor, shown while pieces are held.
/// @throws ResourceError when the embedded picture is missing.
QCursor loadBoardCursor();

} // namespace zg
