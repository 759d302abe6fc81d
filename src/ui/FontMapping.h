#pragma once

#include "host/Host.h"

#include <QFont>

namespace zg {

/// The pixel size of a font given the way the core and the gift give heights:
/// negative is the character height without internal leading, positive the
/// whole cell height, 0 the default size.
int fontPixelSize(const QString& family, int height);

/// The toolkit font for a core font description. Face names the system lacks
/// are left to fontconfig ("Arial" becomes Liberation Sans, its metric twin).
QFont toQFont(const FontSpec& wanted);

} // namespace zg
