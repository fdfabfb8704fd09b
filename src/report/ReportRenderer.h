#pragma once
#include "report/PreparedReport.h"

#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPdfWriter;
class QPainter;
class QPrinter;
class QWidget;

// Painting of prepared reports. One paintPage serves printing, preview and PDF, since
// QPrinter and QPdfWriter are both paged paint devices.
namespace Report {

// Paints one page. The painter's device must show the paper with its origin at the
// paper's top-left corner (render and setUpPrinter arrange that). Texts are cut at their
// box's edge, never wrapped.
void paintPage(const PreparedReport &report, int page, QPainter &painter);

// Told after each page painted how many of the pages to paint are done (done of total);
// false stops the painting.
using PageProgress = std::function<bool(int done, int total)>;

// Gives the device the report's paper (no margins) and paints pages first to last
// (1-based; 0, 0 means every page). False when painting cannot begin on the device, or
// when progress stopped it (the pages painted so far stay on the device: a caller that
// stops a print job aborts the printer from progress, while the painter is still active).
bool render(const PreparedReport &report, QPagedPaintDevice &device, int first = 0, int last = 0,
    const PageProgress &progress = {});

// The report's paper, orientation and document name on a printer, origin at the corner.
void setUpPrinter(QPrinter &printer, const PreparedReport &report);

// The print dialog ("Stampa") over parent for printer; prints on OK and returns true. A
// cancelled dialog prints nothing, shows nothing and returns false. A printer that cannot
// start gets a warning.
bool print(QWidget *parent, const PreparedReport &report, QPrinter &printer);
// The same dialog for any drawing of pageCount pages: on OK, with the origin at the
// paper's corner, paint draws pages first to last (1-based; 0, 0 for all) on printer and
// returns false when the printer cannot start, which gets the warning.
bool printWith(QWidget *parent, QPrinter &printer, int pageCount,
    const std::function<bool(QPrinter &printer, int first, int last)> &paint);
// The same on the system's default printer.
void print(QWidget *parent, const PreparedReport &report);

// The preview window, modal over parent, with print, zoom, full screen and close.
void preview(QWidget *parent, const PreparedReport &report);

// Writes the report as a PDF file at path, without asking anything, with the report's
// document information. The file is written beside the target under a temporary name
// and renamed into place only when complete, so a failed export never leaves a
// half-written file and never spoils an existing one. On failure returns false and, when
// error is given, the system's reason.
bool exportPdf(const PreparedReport &report, const QString &path, QString *error = nullptr);

// The same safe replace for any drawing: paint draws the pages on a writer set up with
// info's document information and returns false when it cannot; only then, or when the
// file cannot be written, the old file stays as it was and false is returned.
bool writePdf(const QString &path, const DocumentInfo &info,
    const std::function<bool(QPdfWriter &writer)> &paint, QString *error = nullptr);

} // namespace Report
