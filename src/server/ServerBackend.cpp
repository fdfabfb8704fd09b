#include "server/ServerBackend.h"

#include "server/Connection.h"
#include "server/Schema.h"
#include "server/ServerArchive.h"
#include "storage/RecordFile.h"
#include "storage/SafeFile.h"

#include <QDir>
#include <QLocale>
#include <QtEndian>

#include <algorithm>

namespace Server {

namespace {

// The archives as tables of the server.
class ServerStorage final : public Storage::Backend
{
public:
    explicit ServerStorage(std::shared_ptr<Pool> pool)
        : m_pool(std::move(pool))
    {
    }

    std::unique_ptr<Storage::Session> open(const Archive &archive, Storage::Access access,
        QString *error, Storage::Failure *failure) override
    {
        auto refuse = [&](const QString &text) -> std::unique_ptr<Storage::Session> {
            if (error)
                *error = text;
            if (failure)
                *failure = Storage::Failure::Other;
            return nullptr;
        };
        Kind kind;
        QString year;
        if (!archiveOf(archive.fileName, &kind, &year)
            || (archive.layout
                && archive.layout->recordSize() != tableOf(kind).layout->recordSize()))
            return refuse(QStringLiteral("L'archivio %1 non è tra quelli che il server conserva.")
                              .arg(archive.fileName));
        auto session = std::make_unique<ArchiveSession>(m_pool, kind, year, access);
        if (!session->start())
            return refuse(session->errorString());
        return session;
    }

private:
    std::shared_ptr<Pool> m_pool;
};

// A connection whose database holds the program's tables (created when asked).
std::unique_ptr<Connection> openPrepared(
    const Settings &settings, bool create, bool *present, QString *error)
{
    std::unique_ptr<Connection> c = Connection::open(settings, error);
    if (!c)
        return nullptr;
    if (!prepareSchema(*c, create, present, error))
        return nullptr;
    return c;
}

// One archive file of the folder to transfer.
struct Source
{
    Kind kind;
    QString year;
    QString path;
    qint64 records = 0;
};

// The folder's archives, card archives first and then the registers by name.
std::vector<Source> sourcesIn(const QString &folder)
{
    std::vector<Source> out;
    const QDir dir(folder);
    QStringList names = dir.entryList({ QStringLiteral("*.mrv") }, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        Source s;
        if (!archiveOf(name, &s.kind, &s.year))
            continue;
        s.path = dir.filePath(name);
        s.records = QFileInfo(s.path).size() / tableOf(s.kind).layout->recordSize();
        out.push_back(s);
    }
    std::stable_sort(out.begin(), out.end(),
        [](const Source &a, const Source &b) { return int(a.kind) < int(b.kind); });
    return out;
}

// COPY's binary form: a header, then per record its values each with its length.
void putInt16(QByteArray &out, qint16 v)
{
    char b[2];
    qToBigEndian(v, b);
    out.append(b, 2);
}

void putInt32(QByteArray &out, qint32 v)
{
    char b[4];
    qToBigEndian(v, b);
    out.append(b, 4);
}

void putValue(QByteArray &out, QByteArrayView value)
{
    putInt32(out, qint32(value.size()));
    out.append(value.data(), value.size());
}

void copyHeader(QByteArray &out)
{
    out.append("PGCOPY\n\377\r\n\0", 11);
    putInt32(out, 0);
    putInt32(out, 0);
}

void copyRecord(
    QByteArray &out, const Table &t, const QByteArray &year, qint64 pos, QByteArrayView record)
{
    const RecordLayout &layout = *t.layout;
    putInt16(out, qint16((t.yearly ? 3 : 2) + layout.fieldCount()));
    if (t.yearly)
        putValue(out, year);
    char b[8];
    qToBigEndian(pos, b);
    putValue(out, QByteArrayView(b, 8));
    if (needsRaw(layout, record))
        putValue(out, record);
    else
        putInt32(out, -1);
    for (int i = 0; i < layout.fieldCount(); ++i)
        putValue(out, fieldText(layout, record, i));
}

QString cancelledText()
{
    return QStringLiteral("Trasferimento annullato: gli archivi sul server non sono stati "
                          "modificati.");
}

} // namespace

std::shared_ptr<Storage::Backend> connect(const QString &connectionString, QString *error)
{
    const Settings settings = Settings::parse(connectionString);
    bool present = false;
    QString why;
    std::unique_ptr<Connection> c = openPrepared(settings, true, &present, &why);
    if (!c) {
        if (error)
            *error = why;
        return nullptr;
    }
    auto pool = std::make_shared<Pool>(settings);
    pool->give(std::move(c));
    return std::make_shared<ServerStorage>(std::move(pool));
}

Probe probe(const QString &connectionString)
{
    Probe p;
    const Settings settings = Settings::parse(connectionString);
    bool present = false;
    std::unique_ptr<Connection> c = openPrepared(settings, false, &present, &p.message);
    if (!c)
        return p;
    p.ok = true;
    if (!present) {
        p.records = 0;
        p.message = QStringLiteral("Connessione riuscita: il server è pronto e non contiene "
                                   "ancora archivi di Merventa.");
        return p;
    }
    Result r;
    if (!c->exec("SELECT coalesce(sum(records), 0)::bigint FROM archive_positions", {}, &r)
        || r.rows() != 1) {
        p.message = QStringLiteral("Connessione riuscita, ma non è stato possibile contare gli "
                                   "archivi sul server.");
        return p;
    }
    p.records = r.integer(0, 0);
    p.message = p.records == 0
        ? QStringLiteral("Connessione riuscita: gli archivi sul server sono vuoti.")
        : QStringLiteral("Connessione riuscita: sul server ci sono %1 schede e movimenti.")
              .arg(QLocale(QLocale::Italian).toString(p.records));
    return p;
}

bool transfer(const QString &connectionString, const QString &folder,
    const std::function<bool(qint64 done, qint64 total)> &progress, QString *error)
{
    QString why;
    auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    const std::vector<Source> sources = sourcesIn(folder);
    qint64 total = 0;
    for (const Source &s : sources)
        total += s.records;
    if (progress && !progress(0, total))
        return fail(cancelledText());

    const Settings settings = Settings::parse(connectionString);
    bool present = false;
    std::unique_ptr<Connection> c = openPrepared(settings, true, &present, &why);
    if (!c)
        return fail(why);
    auto serverFailed = [&]() {
        const QString text = c->fault() == Fault::Lost ? lostText() : c->error();
        if (c->usable() && !c->idle())
            c->exec("ROLLBACK");
        return fail(text);
    };
    if (!c->exec("BEGIN")
        || !c->exec("TRUNCATE products, customers, suppliers, loads, unloads, archive_positions"))
        return serverFailed();

    qint64 done = 0;
    QByteArray buffer;
    for (const Source &s : sources) {
        const Table &t = tableOf(s.kind);
        RecordFile file;
        if (!file.openPath(s.path, *t.layout, Storage::Access::ReadOnly)) {
            c->exec("ROLLBACK");
            return fail(QStringLiteral("Il file %1 non si può leggere: %2")
                            .arg(QDir::toNativeSeparators(s.path), file.errorString()));
        }
        const QByteArray copy = QByteArray("COPY ") + t.name + " (" + (t.yearly ? "year, " : "")
            + "pos, raw, " + fieldColumns(t) + ") FROM STDIN (FORMAT binary)";
        if (!c->startCopy(copy.constData()))
            return serverFailed();
        buffer.clear();
        copyHeader(buffer);
        const QByteArray year = s.year.toUtf8();
        const qint64 count = file.recordCount();
        for (qint64 i = 0; i < count; ++i) {
            const QByteArrayView record = file.nextRecord();
            if (record.isEmpty()) {
                c->endCopy(true);
                c->exec("ROLLBACK");
                return fail(QStringLiteral("Il file %1 non si può leggere: %2")
                                .arg(QDir::toNativeSeparators(s.path), file.errorString()));
            }
            copyRecord(buffer, t, year, i, record);
            ++done;
            if (buffer.size() >= (1 << 20)) {
                if (!c->putCopyData(buffer))
                    return serverFailed();
                buffer.clear();
            }
            if (progress && done % 500 == 0 && !progress(done, total)) {
                c->endCopy(true);
                c->exec("ROLLBACK");
                return fail(cancelledText());
            }
        }
        putInt16(buffer, -1);
        if (!c->putCopyData(buffer) || !c->endCopy())
            return serverFailed();
        if (!c->exec("INSERT INTO archive_positions (kind, year, records) VALUES ($1, $2, $3)",
                { Param::text(QString::fromLatin1(t.key)), Param::text(s.year),
                    Param::number(count) }))
            return serverFailed();
    }
    if (progress && !progress(done, total)) {
        c->exec("ROLLBACK");
        return fail(cancelledText());
    }
    if (!c->exec("COMMIT"))
        return serverFailed();
    return true;
}

bool copyBack(const QString &connectionString, const QString &folder, QString *error)
{
    auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    const Settings settings = Settings::parse(connectionString);
    bool present = false;
    QString why;
    std::unique_ptr<Connection> c = openPrepared(settings, false, &present, &why);
    if (!c)
        return fail(why);
    if (!present)
        return fail(QStringLiteral("Il server non contiene ancora archivi di Merventa: non c'è "
                                   "nulla da copiare."));
    auto serverFailed = [&]() {
        const QString text = c->fault() == Fault::Lost ? lostText() : c->error();
        if (c->usable() && !c->idle())
            c->exec("ROLLBACK");
        return fail(text);
    };
    // One snapshot for every archive: the copy is the server's archives at one moment.
    Result archives;
    if (!c->exec("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY")
        || !c->exec(
            "SELECT kind, year, records FROM archive_positions ORDER BY kind, year", {}, &archives))
        return serverFailed();
    const QDir dir(folder);
    for (int a = 0; a < archives.rows(); ++a) {
        const QString key = archives.text(a, 0);
        const QString year = archives.text(a, 1);
        const qint64 records = archives.integer(a, 2);
        const auto kind = std::find_if(kKinds.begin(), kKinds.end(),
            [&](Kind k) { return key == QLatin1StringView(tableOf(k).key); });
        if (kind == kKinds.end())
            continue;
        const Table &t = tableOf(*kind);
        if (t.yearly == year.isEmpty())
            continue;
        const QString name = fileNameOf(*kind, year);
        if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
            || name.contains(QStringLiteral("..")))
            continue;
        const QByteArray declare = QByteArray("DECLARE merventa_copy NO SCROLL CURSOR FOR SELECT "
                                              "pos, raw, ")
            + fieldColumns(t) + " FROM " + t.name + (t.yearly ? " WHERE year = $1" : "")
            + " ORDER BY pos";
        std::vector<Param> params;
        if (t.yearly)
            params.push_back(Param::text(year));
        if (!c->exec(declare.constData(), params))
            return serverFailed();
        bool serverOk = true;
        bool gap = false;
        QString writeError;
        const bool written = SafeFile::replace(
            dir.filePath(name),
            [&](QIODevice &out) {
                QByteArray record;
                qint64 next = 0;
                for (;;) {
                    Result rows;
                    if (!c->exec("FETCH FORWARD 1000 FROM merventa_copy", {}, &rows)) {
                        serverOk = false;
                        return false;
                    }
                    for (int r = 0; r < rows.rows(); ++r) {
                        if (rows.integer(r, 0) != next++) {
                            gap = true;
                            return false;
                        }
                        assemble(*t.layout, rows, r, 2, 1, record);
                        if (out.write(record) != record.size())
                            return false;
                    }
                    if (rows.rows() < 1000)
                        break;
                }
                if (next != records) {
                    gap = true;
                    return false;
                }
                return true;
            },
            &writeError);
        if (!serverOk)
            return serverFailed();
        if (gap) {
            c->exec("ROLLBACK");
            return fail(QStringLiteral("L'archivio %1 sul server è incompleto: la copia non è "
                                       "stata fatta.")
                            .arg(name));
        }
        if (!written) {
            c->exec("ROLLBACK");
            return fail(QStringLiteral("Il file %1 non si può scrivere: %2")
                            .arg(QDir::toNativeSeparators(dir.filePath(name)), writeError));
        }
        if (!c->exec("CLOSE merventa_copy"))
            return serverFailed();
    }
    if (!c->exec("COMMIT"))
        return serverFailed();
    return true;
}

} // namespace Server
