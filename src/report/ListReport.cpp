#include "report/ListReport.h"

#include "app/Messages.h"
#include "report/ListContent.h"
#include "report/ReportRenderer.h"

namespace ListReport {

void print(
    QWidget *parent, const QString &title, const QStringList &lines, const QStringList &extraLines)
{
    const auto report = ListTemplate::prepare(title, lines, extraLines);
    if (!report) {
        Messages::warning(parent,
            QStringLiteral("Attenzione: il modello di stampa del riepilogo "
                           "non è disponibile."));
        return;
    }
    Report::print(parent, *report);
}

bool exportPdf(const QString &title, const QStringList &lines, const QStringList &extraLines,
    const QString &path, QString *error)
{
    const auto report = ListTemplate::prepare(title, lines, extraLines, error);
    return report && Report::exportPdf(*report, path, error);
}

} // namespace ListReport
