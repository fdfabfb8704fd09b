#pragma once

class QWidget;

// The archives at the start of a run, before the main menu shows: when the settings in
// force (Impostazioni.ini or MERVENTA_SERVER) say server, the program connects to it (at
// most a few seconds, with the busy cursor). A server that cannot be reached is said in a
// message that offers the settings (Sì opens TfrmArchivi, then tries again), the program
// folder's archives for this run only (No), or the end of the program.
namespace StartupArchives {

// False when the user chose to leave the program.
bool open(QWidget *parent);

} // namespace StartupArchives
