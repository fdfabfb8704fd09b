#include "report/CardReport.h"

#include "app/Messages.h"
#include "report/ReportRenderer.h"
#include "report/SaveAndAsk.h"
#include "storage/ProgramFolder.h"

namespace CardReport {

namespace {

const QString kTemplateMissing
    = QStringLiteral("Attenzione: il modello di stampa della scheda non è disponibile.");
const QString kWhat = QStringLiteral("la scheda in PDF");

} // namespace

void print(QWidget *parent, const CardContent &content)
{
    const auto report = CardTemplate::prepare(content);
    if (!report) {
        Messages::warning(parent, kTemplateMissing);
        return;
    }
    Report::print(parent, *report);
}

void preview(QWidget *parent, const CardContent &content)
{
    const auto report = CardTemplate::prepare(content);
    if (!report) {
        Messages::warning(parent, kTemplateMissing);
        return;
    }
    Report::preview(parent, *report);
}

bool exportPdf(const CardContent &content, const QString &path, QString *error)
{
    const auto report = CardTemplate::prepare(content);
    if (!report) {
        if (error)
            *error = kTemplateMissing;
        return false;
    }
    if (Report::exportPdf(*report, path))
        return true;
    if (error)
        *error = Report::saveFailedText(kWhat, path);
    return false;
}

void exportPdfAndAsk(QWidget *parent, const CardContent &content, const QString &fileName)
{
    const auto report = CardTemplate::prepare(content);
    if (!report) {
        Messages::warning(parent, kTemplateMissing);
        return;
    }
    Report::saveAndAsk(parent, ProgramFolder::filePath(fileName), kWhat,
        QStringLiteral("L'esportazione della scheda in PDF è terminata con successo."),
        [&report](const QString &path) { return Report::exportPdf(*report, path); });
}

} // namespace CardReport
