#pragma once

// Creates the resident screens of the program once, in the order of start-up, and
// registers them (Screens::registerResident). The main menu enables an entry only when
// its screen exists. Called once by main() after the application object exists.
void createResidentScreens();
