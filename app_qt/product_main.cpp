// The product: the real programming unit through hidraw, hot-plug from udev.
#include "app_qt/main_window.h"

int main(int argc, char** argv) {
    return runQtProgram(argc, argv, true);
}
