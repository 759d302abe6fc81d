#include "app/PlatformSetup.h"

#include "files/GiftPath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace zg {

namespace {

QtMessageHandler g_previousHandler = nullptr;

/// While the platform plugin starts: Qt reports an unreachable display with
/// a few warnings and then a fatal message that aborts. Say it in one line
/// and leave with code 1 instead.
void startupMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const bool platformNoise =
        context.category != nullptr && QByteArray(context.category).startsWith("qt.qpa.");
    if (type == QtFatalMsg && message.contains(QLatin1String("platform plugin"))) {
        const char* display = std::getenv("DISPLAY");
        std::fprintf(stderr,
                     "zanthoria-gift: cannot open a window: no display could be reached (DISPLAY=%s)\n",
                     display != nullptr ? display : "");
        std::_Exit(1);
    }
    if (platformNoise && type != QtFatalMsg) {
        return;
    }
    if (g_previousHandler != nullptr) {
        g_previousHandler(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    }
}

/// True when some platform named in QT_QPA_PLATFORM ("wayland;xcb") has a plugin in `plugins`.
bool platformBundled(const QString& plugins, const QByteArray& wanted) {
    const QList<QByteArray> names = wanted.split(';');
    for (QByteArray name : names) {
        if (const qsizetype colon = name.indexOf(':'); colon >= 0) {
            name.truncate(colon); // options follow a ':'
        }
        if (!name.isEmpty() &&
            QFile::exists(plugins + QStringLiteral("/platforms/libq") + QString::fromLatin1(name) + ".so")) {
            return true;
        }
    }
    return false;
}

} // namespace

void preparePlatform() {
    g_previousHandler = qInstallMessageHandler(startupMessageHandler);
    const std::string& bundle = bundleDirectory();
    if (bundle.empty()) {
        return;
    }
    const QString dir = QString::fromStdString(bundle);
    const QString plugins = dir + QStringLiteral("/plugins");
    QCoreApplication::setLibraryPaths({plugins});
    const QByteArray wanted = qgetenv("QT_QPA_PLATFORM");
    if (!wanted.isEmpty() && !platformBundled(plugins, wanted)) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    const QString fontConfig = dir + QStringLiteral("/etc/fonts/fonts.conf");
    if (QFile::exists(fontConfig)) {
        qputenv("FONTCONFIG_FILE", QFile::encodeName(fontConfig));
    }
}

void finishPlatformSetup() {
    qInstallMessageHandler(g_previousHandler);
    const std::string& bundle = bundleDirectory();
    if (bundle.empty()) {
        return;
    }
    const QDir fonts(QString::fromStdString(bundle) + QStringLiteral("/fonts"));
    const QStringList files =
        fonts.entryList({QStringLiteral("*.ttf"), QStringLiteral("*.otf")}, QDir::Files);
    for (const QString& file : files) {
        QFontDatabase::addApplicationFont(fonts.filePath(file));
    }
}

} // namespace zg
