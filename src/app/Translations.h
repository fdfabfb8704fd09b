#pragma once

class QCoreApplication;

// The program's own catalogue of the print dialog texts that Qt's Italian catalogue
// (qtbase_it) leaves in English. Install it after Qt's: the translator installed last is
// asked first, and this one holds only what Qt's lacks. The translator lives as long as
// the application. Returns false when the catalogue is missing from the resources.
bool installPrintDialogCatalogue(QCoreApplication &app);
