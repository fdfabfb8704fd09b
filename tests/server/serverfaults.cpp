// Measures the server backend's promises where they take thousands of saves, killed
// programs or a restarted server, for the figures of a change's note (not run by ctest):
//   serverfaults concurrent CONNINFO LOGDIR W N  W programs of N saves each (appends and
//                                                conditional rewrites) at once
//   serverfaults kills CONNINFO LOGDIR K         K programs killed (SIGKILL) at a random
//                                                moment of their saves, two at a time
//   serverfaults restart CONNINFO LOGDIR PGDATA MODE W N R
//                                                W programs of N saves while the cluster of
//                                                PGDATA is restarted (pg_ctl -m MODE, fast or
//                                                immediate) up to R times, 0.3-1.3 s apart
// Each saving program writes to its log, before it reports a save done, the unique card it
// stored; the driver then reads the archive through the backend and counts lost cards
// (logged done, not stored), cards stored twice, gaps in the positions and torn records.
// A saving program retries a failed save as a user would (Save pressed again).
// CONNINFO names a database the run may fill (the products archive of a fresh one), e.g.:
//   c=$(scripts/pgcluster start); d=$(echo "$c" | sed 's/.*host=\([^ ]*\).*/\1/')
//   psql "$c" -c 'CREATE DATABASE prova'
//   build/tests/serverfaults restart "${c/dbname=postgres/dbname=prova}" /tmp/log "$d/data"
//       immediate 4 5000 100         (one line)
//   scripts/pgcluster stop "$d"
// (as root, psql and the restarts run as the postgres user: runuser -u postgres -- psql ...).
#include "records/ProductRecord.h"
#include "server/ServerBackend.h"
#include "storage/Storage.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kRetries = 300; // 100 ms apart: a restart takes a few seconds

QString description(const QString &id)
{
    return QStringLiteral("scheda della postazione ") + id;
}

// Child: N saves as in serverwriter, each logged (flushed to the system) once reported
// done; a failed save is logged as failed and tried again with the same card.
int writer(const QString &conninfo, const QString &id, int saves, const QString &logPath)
{
    QFile log(logPath);
    if (!log.open(QIODevice::Append | QIODevice::Unbuffered))
        return 2;
    auto note = [&](const QString &line) { log.write((line + QLatin1Char('\n')).toUtf8()); };
    QString error;
    std::shared_ptr<Storage::Backend> backend;
    for (int attempt = 0; !backend && attempt < kRetries; ++attempt) {
        backend = Server::connect(conninfo, &error);
        if (!backend)
            QThread::msleep(100);
    }
    if (!backend) {
        std::fprintf(stderr, "w%s: %s\n", qPrintable(id), qPrintable(error));
        return 1;
    }
    Storage::setBackend(backend);
    QRandomGenerator random(quint32(id.toInt() * 7919 + 17));
    for (int n = 0; n < saves; ++n) {
        const bool rewrite = n % 3 == 2;
        const QString code = QStringLiteral("w%1-%2").arg(id).arg(n);
        const QString rewritten = QStringLiteral("riscritto da w%1 (%2)").arg(id).arg(n);
        bool done = false;
        for (int attempt = 0; !done && attempt < kRetries; ++attempt) {
            if (attempt > 0)
                QThread::msleep(100);
            // A card opened for the save, closed after it.
            const auto session
                = Storage::open(ProductRecord::archive(), Storage::Access::ReadWrite, &error);
            if (!session) {
                note(QStringLiteral("F open %1").arg(error));
                continue;
            }
            const qint64 count = session->recordCount();
            if (rewrite && count > 0) {
                const qint64 at = qint64(random.bounded(quint32(count)));
                Record asRead(ProductRecord::layout());
                if (!session->readAt(at, asRead)) {
                    note(QStringLiteral("F read %1").arg(session->errorString()));
                    continue;
                }
                Record card = asRead;
                card.setValue(ProductRecord::Note, rewritten);
                note(QStringLiteral("T %1 %2").arg(at).arg(rewritten));
                if (session->writeAtIf(at, card, asRead)) {
                    note(QStringLiteral("R %1 %2").arg(at).arg(rewritten));
                    done = true;
                } else if (session->failure() == Storage::Failure::Conflict) {
                    note(QStringLiteral("C %1").arg(at));
                    done = true;
                } else {
                    note(QStringLiteral("F rewrite %1").arg(session->errorString()));
                }
                continue;
            }
            if (rewrite)
                break; // nothing to rewrite yet
            Record card(ProductRecord::layout());
            card.setValue(ProductRecord::Codice, code);
            card.setValue(ProductRecord::Descrizione, description(id));
            if (session->append(card)) {
                note(QStringLiteral("A ") + code);
                done = true;
            } else {
                note(QStringLiteral("F append %1 %2").arg(code, session->errorString()));
            }
        }
        if (!done && !rewrite) {
            std::fprintf(stderr, "w%s: %s never saved\n", qPrintable(id), qPrintable(code));
            return 1;
        }
    }
    return 0;
}

std::unique_ptr<QProcess> child(const QStringList &args)
{
    auto p = std::make_unique<QProcess>();
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(QCoreApplication::applicationFilePath(), args);
    p->waitForStarted();
    return p;
}

std::unique_ptr<QProcess> startWriter(
    const QString &conninfo, const QString &logDir, int id, int saves)
{
    return child({ QStringLiteral("--writer"), conninfo, QString::number(id),
        QString::number(saves), QDir(logDir).filePath(QStringLiteral("w%1.log").arg(id)) });
}

struct Logs
{
    QSet<QString> appended; // reported done
    QSet<QString> failedAppends; // reported failed at least once
    QHash<qint64, QSet<QString>> tried; // rewrites tried at a position
    qint64 rewrites = 0;
    qint64 conflicts = 0;
    qint64 failures = 0;
};

Logs readLogs(const QString &logDir)
{
    Logs logs;
    const QStringList files
        = QDir(logDir).entryList({ QStringLiteral("w*.log") }, QDir::Files, QDir::Name);
    for (const QString &name : files) {
        QFile f(QDir(logDir).filePath(name));
        f.open(QIODevice::ReadOnly);
        // A line cut by the kill is no report (the save was not reported done).
        const QList<QByteArray> lines = f.readAll().split('\n');
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            const QString line = QString::fromUtf8(lines[i]);
            const QString kind = line.section(QLatin1Char(' '), 0, 0);
            if (kind == QLatin1String("A")) {
                logs.appended.insert(line.section(QLatin1Char(' '), 1, 1));
            } else if (kind == QLatin1String("T")) {
                logs.tried[line.section(QLatin1Char(' '), 1, 1).toLongLong()].insert(
                    line.section(QLatin1Char(' '), 2));
            } else if (kind == QLatin1String("R")) {
                ++logs.rewrites;
            } else if (kind == QLatin1String("C")) {
                ++logs.conflicts;
            } else if (kind == QLatin1String("F")) {
                ++logs.failures;
                if (line.startsWith(QLatin1String("F append ")))
                    logs.failedAppends.insert(line.section(QLatin1Char(' '), 2, 2));
            }
        }
    }
    return logs;
}

// Reads the archive through the backend and prints the counts; 0 when nothing was lost,
// duplicated, skipped or torn.
int check(const char *run, const QString &conninfo, const QString &logDir, qint64 ms)
{
    QString error;
    const auto backend = Server::connect(conninfo, &error);
    if (!backend) {
        std::printf("%s: cannot read back: %s\n", run, qPrintable(error));
        return 1;
    }
    Storage::setBackend(backend);
    const Logs logs = readLogs(logDir);
    auto s = Storage::open(ProductRecord::archive(), Storage::Access::ReadOnly, &error);
    if (!s) {
        std::printf("%s: cannot open: %s\n", run, qPrintable(error));
        return 1;
    }
    const qint64 count = s->recordCount();
    QHash<QString, int> seen;
    qint64 next = 0;
    qint64 gaps = 0;
    qint64 torn = 0;
    qint64 strayNotes = 0;
    const bool scanned = s->scan({}, [&](qint64 index, QByteArrayView bytes) {
        if (index != next)
            ++gaps;
        next = index + 1;
        const Record r = Record::fromBytes(ProductRecord::layout(), bytes);
        const QString code = r.value(ProductRecord::Codice);
        ++seen[code];
        // Whole: the description names the writer of the code, the note is empty or a
        // rewrite tried at this very position.
        const QString id = code.section(QLatin1Char('-'), 0, 0).mid(1);
        if (!code.startsWith(QLatin1Char('w'))
            || r.value(ProductRecord::Descrizione) != description(id)
            || r.encode() != QByteArray(bytes.data(), bytes.size()))
            ++torn;
        const QString note = r.value(ProductRecord::Note);
        if (!note.isEmpty() && !logs.tried.value(index).contains(note))
            ++strayNotes;
        return true;
    });
    if (!scanned) {
        std::printf("%s: scan failed: %s\n", run, qPrintable(s->errorString()));
        return 1;
    }
    if (next != count)
        ++gaps;
    qint64 lost = 0;
    for (const QString &code : logs.appended)
        lost += seen.contains(code) ? 0 : 1;
    qint64 duplicates = 0;
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        duplicates += it.value() - 1;
    qint64 failedButStored = 0;
    for (const QString &code : logs.failedAppends)
        failedButStored += seen.contains(code) ? 1 : 0;
    std::printf("%s: %lld ms; %lld records stored, %lld appends and %lld rewrites reported "
                "done, %lld conflicts, %lld failures reported (%lld failed appends, %lld of "
                "them stored by the save or its retry); lost %lld, duplicates %lld, gaps %lld, "
                "torn %lld, notes never tried there %lld\n",
        run, static_cast<long long>(ms), static_cast<long long>(count),
        static_cast<long long>(logs.appended.size()), static_cast<long long>(logs.rewrites),
        static_cast<long long>(logs.conflicts), static_cast<long long>(logs.failures),
        static_cast<long long>(logs.failedAppends.size()), static_cast<long long>(failedButStored),
        static_cast<long long>(lost), static_cast<long long>(duplicates),
        static_cast<long long>(gaps), static_cast<long long>(torn),
        static_cast<long long>(strayNotes));
    std::fflush(stdout);
    return lost + duplicates + gaps + torn + strayNotes == 0 ? 0 : 1;
}

int waitAll(std::vector<std::unique_ptr<QProcess>> &running)
{
    int failed = 0;
    for (auto &p : running) {
        p->waitForFinished(-1);
        if (p->exitStatus() != QProcess::NormalExit || p->exitCode() != 0)
            ++failed;
    }
    return failed;
}

int concurrent(const QString &conninfo, const QString &logDir, int writers, int saves)
{
    QElapsedTimer since;
    since.start();
    std::vector<std::unique_ptr<QProcess>> running;
    for (int w = 0; w < writers; ++w)
        running.push_back(startWriter(conninfo, logDir, w, saves));
    const int failed = waitAll(running);
    std::printf(
        "concurrent: %d writers of %d saves, %d ended in failure\n", writers, saves, failed);
    return check("concurrent", conninfo, logDir, since.elapsed()) | (failed ? 1 : 0);
}

int kills(const QString &conninfo, const QString &logDir, int count)
{
    QElapsedTimer since;
    since.start();
    QRandomGenerator random(4321);
    std::vector<std::unique_ptr<QProcess>> pair(2);
    int finishedAlone = 0;
    for (int k = 0; k < count; k += 2) {
        for (int i = 0; i < 2 && k + i < count; ++i)
            pair[size_t(i)] = startWriter(conninfo, logDir, 100000 + k + i, 1000000);
        // Killed a random 50-600 ms after starting: some while connecting, most while saving.
        QThread::msleep(50 + random.bounded(550));
        for (auto &p : pair) {
            if (!p)
                continue;
            if (p->state() != QProcess::Running)
                ++finishedAlone;
            ::kill(pid_t(p->processId()), SIGKILL);
            p->waitForFinished(-1);
            p.reset();
        }
        if ((k + 2) % 100 == 0) {
            std::printf("%d killed\n", k + 2);
            std::fflush(stdout);
        }
    }
    std::printf(
        "kills: %d programs killed, %d had ended before their kill\n", count, finishedAlone);
    // The server ends the killed programs' connections on its own; their last saves are
    // either committed or undone before the archive is read (a read waits for no lock, so
    // wait for the connections to go).
    QThread::sleep(3);
    return check("kills", conninfo, logDir, since.elapsed());
}

bool restartCluster(const QString &pgdata, const QString &mode)
{
    QStringList args { QStringLiteral("/usr/lib/postgresql/15/bin/pg_ctl"), QStringLiteral("-D"),
        pgdata, QStringLiteral("-m"), mode, QStringLiteral("-w"), QStringLiteral("restart") };
    QString program = args.takeFirst();
    if (::getuid() == 0) {
        args = QStringList {
            QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), program
        } + args;
        program = QStringLiteral("runuser");
    }
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(program, args);
    return p.waitForFinished(60000) && p.exitCode() == 0;
}

int restart(const QString &conninfo, const QString &logDir, const QString &pgdata,
    const QString &mode, int writers, int saves, int restarts)
{
    QElapsedTimer since;
    since.start();
    std::vector<std::unique_ptr<QProcess>> running;
    for (int w = 0; w < writers; ++w)
        running.push_back(startWriter(conninfo, logDir, w, saves));
    QRandomGenerator random(777);
    int restarted = 0;
    for (int r = 0; r < restarts; ++r) {
        QThread::msleep(300 + random.bounded(1000));
        bool writing = false;
        for (const auto &p : running)
            writing = writing || p->state() == QProcess::Running;
        if (!writing)
            break;
        QElapsedTimer took;
        took.start();
        if (!restartCluster(pgdata, mode)) {
            std::printf("restart %d failed\n", r + 1);
            break;
        }
        ++restarted;
        std::printf("restart %d done in %lld ms\n", r + 1, static_cast<long long>(took.elapsed()));
        std::fflush(stdout);
    }
    const int failed = waitAll(running);
    std::printf("restart: %d writers of %d saves, %d restarts (%s), %d writers ended in failure\n",
        writers, saves, restarted, qPrintable(mode), failed);
    return check("restart", conninfo, logDir, since.elapsed()) | (failed ? 1 : 0);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() == 6 && a[1] == QLatin1String("--writer"))
        return writer(a[2], a[3], a[4].toInt(), a[5]);
    if (a.size() >= 4)
        QDir().mkpath(a[3]);
    if (a.size() == 6 && a[1] == QLatin1String("concurrent"))
        return concurrent(a[2], a[3], a[4].toInt(), a[5].toInt());
    if (a.size() == 5 && a[1] == QLatin1String("kills"))
        return kills(a[2], a[3], a[4].toInt());
    if (a.size() == 9 && a[1] == QLatin1String("restart"))
        return restart(a[2], a[3], a[4], a[5], a[6].toInt(), a[7].toInt(), a[8].toInt());
    std::fprintf(stderr,
        "usage: serverfaults concurrent CONNINFO LOGDIR W N | kills CONNINFO LOGDIR K | restart "
        "CONNINFO LOGDIR PGDATA fast|immediate W N R\n");
    return 2;
}
