#pragma once
#include <QDate>

class QThread;

// Starts the day's copy of the archives (storage/Backup) in a thread of its own, so that
// start-up never waits for it; when it cannot be made the user is warned once, in a box
// shown from the main thread. Returns the thread (it deletes itself when done); the
// program waits for it when it quits, so no copy is left half made by the program itself.
QThread *startDailyBackup(const QDate &today = QDate::currentDate());
