#include "app/DailyBackup.h"

#include "app/Messages.h"
#include "storage/Backup.h"
#include "storage/ProgramFolder.h"

#include <QCoreApplication>
#include <QThread>

#include <memory>

QThread *startDailyBackup(const QDate &today)
{
    auto result = std::make_shared<Backup::Result>();
    const QString folder = ProgramFolder::path();
    QThread *thread
        = QThread::create([result, folder, today] { *result = Backup::makeDaily(folder, today); });
    QObject::connect(thread, &QThread::finished, qApp, [result, thread] {
        thread->deleteLater();
        if (result->outcome == Backup::Result::Outcome::Failed) {
            qWarning("copia di sicurezza non riuscita: %s", qUtf8Printable(result->error));
            Messages::warning(nullptr, Backup::warningText());
        }
    });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, thread, [thread] { thread->wait(); });
    thread->start(QThread::LowPriority);
    return thread;
}
