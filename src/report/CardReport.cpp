#include "report/CardReport.h"

#include "app/Messages.h"
#include "app/OpenURL.h"
#include "report/ReportRenderer.h"
#include "storage/ProgramFolder.h"

#include <QDir>

namespace CardReport {

namespace {

const QString kTemplateMissing
    = QStringLiteral("Attenzione: il modello di stampa della scheda non è disponibile.");

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
    // The system's own reason is left out: it is not in the user's language.
    if (Report::exportPdf(*report, path))
        return true;
    if (error) {
        *error = QStringLiteral("Attenzione: impossibile salvare la scheda in PDF nel file\r\n")
            + QDir::toNativeSeparators(path)
            + QStringLiteral("\r\n\r\nIl file potrebbe essere aperto in un altro programma "
                             "oppure la cartella potrebbe essere protetta da scrittura.\r\n"
                             "Chiudere il file o verificare la cartella, quindi riprovare.");
    }
    return false;
}

QString doneText(const QString &path)
{
    return QStringLiteral("L'esportazione della scheda in PDF è terminata con successo.\r\n\r\n")
        + TMisc::writtenToText(path) + QStringLiteral("\r\n\r\nSi vuole aprire il file?");
}

void exportPdfAndAsk(QWidget *parent, const CardContent &content, const QString &fileName)
{
    const QString path = ProgramFolder::filePath(fileName);
    QString error;
    if (!exportPdf(content, path, &error)) {
        Messages::warning(parent, error);
        return;
    }
    if (Messages::confirm(parent, doneText(path)))
        TMisc::OpenOrSay(parent, u'"' + path + u'"');
}

} // namespace CardReport
