// Entry point of the window tests: the windows need an application object,
// and its event loop runs the timers and the modal windows.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // Headless by default, also when the test list is read without the test
    // environment: windows go off screen and sound to SDL's dummy driver.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
