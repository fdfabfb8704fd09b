#pragma once

class QApplication;

// For the start-up benchmark and the test of the portable folder: with the environment
// variable MERVENTA_STARTUP_PROBE set to 1, the program writes the objectName of its first
// window to standard output as soon as that window is on the screen, and ends at once with
// exit code 0, without writing any file. The window is whichever the start-up order shows
// first (the password screen when there is one), so nothing is skipped: the program only
// stops. Without the variable this does nothing.
void installStartupProbe(QApplication &app);
