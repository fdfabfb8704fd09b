#include "archives/StartupArchives.h"

#include "app/ArchiveSettings.h"
#include "app/Messages.h"
#include "archives/ArchiveServer.h"
#include "archives/Archivi.h"

#include <QApplication>

namespace StartupArchives {

namespace {

QString reasonOf(const QString &error)
{
    const QString trimmed = error.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("Il server non ha risposto.");
    return trimmed.endsWith(u'.') ? trimmed : trimmed + u'.';
}

} // namespace

bool open(QWidget *parent)
{
    for (;;) {
        const ArchiveSettings::InForce inForce = ArchiveSettings::inForce();
        if (inForce.settings.mode == ArchiveSettings::Mode::Folder) {
            ArchiveServer::useFolder();
            return true;
        }
        QString error;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const bool connected = ArchiveServer::useServer(inForce.connectionString, &error);
        QApplication::restoreOverrideCursor();
        if (connected)
            return true;

        const Messages::Answer answer = Messages::confirmOrOther(parent,
            QStringLiteral("Gli archivi del server non sono disponibili. ") + reasonOf(error)
                + QStringLiteral(" Si vogliono aprire le impostazioni degli archivi per "
                                 "controllarle?"),
            QStringLiteral("Esci dal programma"));
        switch (answer) {
        case Messages::Answer::Yes: {
            TfrmArchivi screen(parent);
            screen.exec();
            // Applied there: the archives chosen are in use already.
            if (ArchiveServer::onServer())
                return true;
            break; // the settings as they are now, once more
        }
        case Messages::Answer::No:
            // The program folder's archives, this time only: the settings stay.
            ArchiveServer::useFolder();
            return true;
        default:
            return false;
        }
    }
}

} // namespace StartupArchives
