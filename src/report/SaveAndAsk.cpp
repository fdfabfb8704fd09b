#include "report/SaveAndAsk.h"

#include "app/Messages.h"
#include "app/OpenURL.h"

#include <QDir>

namespace Report {

QString saveFailedText(const QString &what, const QString &path)
{
    // The system's own reason is left out: it is not in the user's language.
    return QStringLiteral("Attenzione: impossibile salvare ") + what
        + QStringLiteral(" nel file\r\n") + QDir::toNativeSeparators(path)
        + QStringLiteral("\r\n\r\nIl file potrebbe essere aperto in un altro programma oppure "
                         "la cartella potrebbe essere protetta da scrittura.\r\nChiudere il file "
                         "o verificare la cartella, quindi riprovare.");
}

bool saveAndAsk(QWidget *parent, const QString &path, const QString &what, const QString &done,
    const std::function<bool(const QString &path)> &write)
{
    if (!write(path)) {
        Messages::warning(parent, saveFailedText(what, path));
        return false;
    }
    // The question says where the file is, and a file the desktop cannot open is said.
    if (Messages::confirm(parent,
            done + QStringLiteral("\r\n\r\n") + TMisc::writtenToText(path)
                + QStringLiteral("\r\n\r\nSi vuole aprire il file?")))
        TMisc::OpenOrSay(parent, u'"' + path + u'"');
    return true;
}

} // namespace Report
