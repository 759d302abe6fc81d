#pragma once

namespace zg {

/// Runs before the application object exists. For a player started by a
/// portable gift's launcher it points Qt at the bundled plugins only (never
/// at the machine's, which may belong to another Qt), fontconfig at the
/// bundled configuration, and asks for the bundled xcb platform when the
/// platform named in QT_QPA_PLATFORM is not bundled. For every player it
/// turns a window system that cannot be reached into one line on stderr and
/// exit code 1, instead of Qt's abort.
void preparePlatform();

/// Runs once the application object exists: the bundled fonts are
/// registered with Qt, so text shows even on a machine without fonts.
void finishPlatformSetup();

} // namespace zg
