#include "app/GuardedApplication.h"

#include <QMessageBox>

#include <exception>

namespace zg {

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Zanthoria Gift"), QString::fromUtf8(error.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, QStringLiteral("Zanthoria Gift"), QStringLiteral("Unexpected error"));
    }
    return false;
}

} // namespace zg
