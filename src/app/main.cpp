// The player: checks the display, opens the main window on the gift appended
// to this program and runs until the window closes.

#include "app/DisplayCheck.h"
#include "app/GuardedApplication.h"
#include "app/TMainForm.h"
#include "files/GiftFile.h"

int main(int argc, char** argv) {
    zg::GuardedApplication app(argc, argv);
    if (!zg::checkDisplay()) {
        return 1;
    }
    zg::TMainForm form(zg::currentExecutablePath());
    QObject::connect(&form, &zg::TMainForm::startupFailed, &app, [] { QCoreApplication::exit(1); });
    form.show();
    if (form.startFailed()) {
        return 1;
    }
    return app.exec();
}
