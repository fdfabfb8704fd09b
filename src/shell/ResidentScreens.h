#pragma once
#include <functional>

class QWidget;

// Creates the resident screens of the program once, in the order of start-up, and
// registers them (Screens::registerResident). The main menu enables an entry only when
// its screen exists. Called once by main() after the application object exists.
void createResidentScreens();

// The start of a run: the access password screen, the program's main window.
void showPasswordScreen();

// What a correct password leads to (the password screen's accepted(), connected by
// createResidentScreens): the main menu shown, the password screen hidden. In-process
// tests call it to begin at the main menu; nothing the user does reaches it without the
// password.
void showMainMenu();

// What must succeed before the main menu first shows (the archives at start-up, set by
// main); parent is the password screen. When it returns false the program ends instead.
// Without one the menu shows at once.
void setBeforeMainMenu(std::function<bool(QWidget *parent)> check);
