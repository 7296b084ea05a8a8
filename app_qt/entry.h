// The Linux program: Qt, the main window and, for the product, udev's hot-plug events.
#pragma once

int runQtProgram(int argc, char** argv, bool watchDevices);
