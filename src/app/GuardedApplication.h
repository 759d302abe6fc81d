#pragma once

#include <QApplication>

namespace zg {

/// The application object of the player. Every handler of the main window
/// catches its own errors; this is the last line behind them: an exception
/// that still reaches event delivery is shown in a message box instead of
/// ending the program.
class GuardedApplication : public QApplication {
    Q_OBJECT
public:
    GuardedApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace zg
