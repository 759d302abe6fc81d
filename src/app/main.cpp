// The player: checks the display, opens the main window on its gift (appended
// to this program, or the portable gift that started it) and runs until the
// window closes.

#include "app/DisplayCheck.h"
#include "app/GuardedApplication.h"
#include "app/PlatformSetup.h"
#include "app/TMainForm.h"
#include "files/GiftPath.h"

int main(int argc, char** argv) {
    const std::string gift = zg::giftPath();
    zg::preparePlatform();
    zg::GuardedApplication app(argc, argv);
    zg::finishPlatformSetup();
    if (!zg::checkDisplay()) {
        return 1;
    }
    zg::TMainForm form(gift);
    QObject::connect(&form, &zg::TMainForm::startupFailed, &app, [] { QCoreApplication::exit(1); });
    form.show();
    if (form.startFailed()) {
        return 1;
    }
    return app.exec();
}
