#include "server/ServerBackend.h"

#include "server/Connection.h"
#include "server/Schema.h"
#include "server/ServerArchive.h"
#include "storage/RecordFile.h"
#include "storage/SafeFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QtEndian>

#include <QRegularExpression>

#include <algorithm>
#include <map>
#include <mutex>
#include <thread>

namespace Server {

// Writes every archive of the server into folder as the program folder's files, from one
// snapshot; copied gets the file names.
bool copyAll(Connection &connection, const QString &folder, QStringList *copied, QString *error);

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
        // Inside a change, the archives opened belong to its transaction.
        auto session
            = std::make_unique<ArchiveSession>(m_pool, kind, year, access, currentChange());
        if (!session->start())
            return refuse(session->errorString());
        return session;
    }

    bool change(const Archive &held, const std::function<bool(Storage::Session &)> &work,
        QString *error, Storage::Failure *failure) override
    {
        auto say = [&](const QString &text, Storage::Failure kind) {
            if (error)
                *error = text;
            if (failure)
                *failure = kind;
            return false;
        };
        // A change inside a change is part of it.
        if (std::shared_ptr<Transaction> outer = currentChange()) {
            std::unique_ptr<Storage::Session> s
                = open(held, Storage::Access::ReadWrite, error, failure);
            auto *session = static_cast<ArchiveSession *>(s.get());
            if (!session || !session->lockArchive())
                return session ? say(session->errorString(), session->failure()) : false;
            return work(*session);
        }
        Kind kind;
        QString year;
        if (!archiveOf(held.fileName, &kind, &year))
            return say(QStringLiteral("L'archivio %1 non è tra quelli che il server conserva.")
                           .arg(held.fileName),
                Storage::Failure::Other);
        auto transaction = std::make_shared<Transaction>();
        QString why;
        transaction->connection = m_pool->take(&why);
        Connection *c = transaction->connection.get();
        if (!c)
            return say(why, Storage::Failure::Other);
        if (!c->exec("BEGIN"))
            return say(lostText(), Storage::Failure::Other);
        ArchiveSession session(m_pool, kind, year, Storage::Access::ReadWrite, transaction);
        if (!session.lockArchive()) {
            transaction->open = false;
            if (c->usable())
                c->exec("ROLLBACK");
            return say(session.errorString(), session.failure());
        }
        setChange(transaction);
        const bool done = work(session);
        setChange(nullptr);
        bool ok = done;
        if (done && !c->exec("COMMIT")) {
            ok = say(c->fault() == Fault::Lost ? lostText() : c->error(),
                c->fault() == Fault::Busy ? Storage::Failure::Busy : Storage::Failure::Other);
        }
        if (!done && c->usable())
            c->exec("ROLLBACK");
        transaction->open = false;
        m_pool->give(std::move(transaction->connection));
        return ok;
    }

    QStringList archiveNames(const QStringList &patterns) const override
    {
        std::vector<QRegularExpression> wanted;
        for (const QString &p : patterns)
            wanted.emplace_back(QRegularExpression::wildcardToRegularExpression(p));
        QStringList names;
        std::unique_ptr<Connection> own;
        const std::shared_ptr<Transaction> inside = currentChange();
        Connection *c = inside ? inside->connection.get() : nullptr;
        if (!c) {
            QString ignored;
            own = m_pool->take(&ignored);
            c = own.get();
        }
        Result r;
        if (!c || !c->exec("SELECT kind, year FROM archive_positions", {}, &r))
            return names;
        for (int i = 0; i < r.rows(); ++i) {
            const QString key = r.text(i, 0);
            for (const Kind k : kKinds) {
                if (key != QLatin1StringView(tableOf(k).key))
                    continue;
                const QString name = fileNameOf(k, r.text(i, 1));
                if (std::any_of(wanted.begin(), wanted.end(),
                        [&](const QRegularExpression &w) { return w.match(name).hasMatch(); }))
                    names << name;
            }
        }
        if (own)
            m_pool->give(std::move(own));
        names.sort();
        return names;
    }

    bool copyArchives(const QString &folder, QStringList *copied, QString *error) override
    {
        QString why;
        std::unique_ptr<Connection> c = m_pool->take(&why);
        if (!c) {
            if (error)
                *error = why;
            return false;
        }
        const bool ok = copyAll(*c, folder, copied, error);
        m_pool->give(std::move(c));
        return ok;
    }

    std::unique_ptr<Storage::WorkingCopy> workingCopy(
        const Archive &archive, QString *error, Storage::Failure *failure) override
    {
        auto say = [&](const QString &text, Storage::Failure kind) {
            if (error)
                *error = text;
            if (failure)
                *failure = kind;
            return nullptr;
        };
        Kind kind;
        QString year;
        if (!archiveOf(archive.fileName, &kind, &year))
            return say(QStringLiteral("L'archivio %1 non è tra quelli che il server conserva.")
                           .arg(archive.fileName),
                Storage::Failure::Other);
        auto transaction = std::make_shared<Transaction>();
        QString why;
        transaction->connection = m_pool->take(&why);
        if (!transaction->connection)
            return say(why, Storage::Failure::Other);
        if (!transaction->connection->exec("BEGIN"))
            return say(lostText(), Storage::Failure::Other);
        auto copy = std::make_unique<WorkingCopy>(m_pool, kind, year, transaction);
        if (!copy->lockArchive())
            return say(copy->errorString(), copy->failure());
        return copy;
    }

    // Attached documents are kept in the database, so every computer sees them; opening
    // one gives a copy in this computer's temporary folder.
    bool prepareDocuments() override { return true; }

    bool documentExists(const QString &name) const override
    {
        Result r;
        return withConnection([&](Connection &c) {
            return c.exec("SELECT 1 FROM documents WHERE name = $1", { Param::text(name) }, &r);
        }) && r.rows() == 1;
    }

    bool storeDocument(const QString &name, const SafeFile::Writer &writer, QString *error) override
    {
        QBuffer content;
        content.open(QIODevice::WriteOnly);
        if (!writer(content)) {
            if (error)
                *error = QStringLiteral("il documento non è stato letto per intero");
            return false;
        }
        // Stored again whole when its answer was lost: the same content under the same name.
        QString why;
        const bool ok = withConnection(
            [&](Connection &c) {
                return c.exec("INSERT INTO documents (name, content) VALUES ($1, $2::bytea) "
                              "ON CONFLICT (name) DO UPDATE SET content = EXCLUDED.content, "
                              "stored = now()",
                    { Param::text(name), Param::bytes(content.data()) });
            },
            &why);
        if (!ok && error)
            *error = why;
        return ok;
    }

    QString documentFile(const QString &name, QString *error) const override
    {
        Result r;
        QString why;
        if (!withConnection(
                [&](Connection &c) {
                    return c.exec(
                        "SELECT content FROM documents WHERE name = $1", { Param::text(name) }, &r);
                },
                &why)) {
            if (error)
                *error = why;
            return {};
        }
        if (r.rows() != 1)
            return {};
        const QString folder = QDir::temp().filePath(
            QStringLiteral("merventa-documenti-%1").arg(QCoreApplication::applicationPid()));
        QDir().mkpath(folder);
        const QString path = QDir(folder).filePath(name);
        if (!SafeFile::replace(path, r.bytes(0, 0).toByteArray(), error))
            return {};
        return path;
    }

private:
    // The archive of a working copy: the archive itself inside a transaction that holds it;
    // the transaction's commit puts the changes in place, dropping it undoes them.
    class WorkingCopy final : public Storage::WorkingCopy
    {
    public:
        WorkingCopy(std::shared_ptr<Pool> pool, Kind kind, const QString &year,
            std::shared_ptr<Transaction> transaction)
            : m_pool(pool)
            , m_transaction(transaction)
            , m_session(
                  std::move(pool), kind, year, Storage::Access::ReadWrite, std::move(transaction))
        {
        }
        ~WorkingCopy() override
        {
            Connection *c = m_transaction->connection.get();
            if (m_transaction->open && c && c->usable())
                c->exec("ROLLBACK");
            m_transaction->open = false;
            m_pool->give(std::move(m_transaction->connection));
        }
        bool lockArchive() { return m_session.lockArchive(); }

        qint64 recordCount() const override { return m_session.recordCount(); }
        bool readAt(qint64 index, Record &record) override
        {
            return m_session.readAt(index, record);
        }
        bool readAt(qint64 index, QByteArray &bytes) override
        {
            return m_session.readAt(index, bytes);
        }
        bool scan(std::span<const int> fields, const Visit &visit) override
        {
            return m_session.scan(fields, visit);
        }
        bool writeAt(qint64 index, const Record &record) override
        {
            return m_session.writeAt(index, record);
        }
        bool writeAt(qint64 index, const QByteArray &bytes) override
        {
            return m_session.writeAt(index, bytes);
        }
        bool writeAtIf(qint64 index, const Record &record, const Record &asRead) override
        {
            return m_session.writeAtIf(index, record, asRead);
        }
        bool append(const Record &record) override { return m_session.append(record); }
        bool appendBlock(const QByteArray &records) override
        {
            return m_session.appendRecords(records);
        }
        Storage::Failure failure() const override
        {
            return m_error.isEmpty() ? m_session.failure() : Storage::Failure::Other;
        }
        QString errorString() const override
        {
            return m_error.isEmpty() ? m_session.errorString() : m_error;
        }
        bool commit() override
        {
            Connection *c = m_transaction->connection.get();
            if (!m_transaction->open || !c || !c->exec("COMMIT")) {
                m_error = !c || c->fault() == Fault::Lost ? lostText() : c->error();
                return false;
            }
            m_transaction->open = false;
            m_error.clear();
            return true;
        }

    private:
        std::shared_ptr<Pool> m_pool;
        std::shared_ptr<Transaction> m_transaction;
        ArchiveSession m_session;
        QString m_error;
    };

    // Runs a statement on the connection of this thread's change, or on one of the pool.
    bool withConnection(
        const std::function<bool(Connection &)> &statement, QString *error = nullptr) const
    {
        const std::shared_ptr<Transaction> inside = currentChange();
        if (inside && inside->connection && inside->open)
            return statement(*inside->connection)
                || (error && (*error = messageOf(*inside->connection), false));
        QString why;
        std::unique_ptr<Connection> c = m_pool->take(&why);
        if (!c) {
            if (error)
                *error = why;
            return false;
        }
        const bool ok = statement(*c);
        if (!ok && error)
            *error = messageOf(*c);
        m_pool->give(std::move(c));
        return ok;
    }
    static QString messageOf(const Connection &c)
    {
        return c.fault() == Fault::Lost ? lostText() : c.error();
    }

    // The change this thread is in, if any.
    std::shared_ptr<Transaction> currentChange() const
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_changes.find(std::this_thread::get_id());
        return it == m_changes.end() ? nullptr : it->second;
    }
    void setChange(std::shared_ptr<Transaction> transaction)
    {
        std::lock_guard lock(m_mutex);
        if (transaction)
            m_changes[std::this_thread::get_id()] = std::move(transaction);
        else
            m_changes.erase(std::this_thread::get_id());
    }

    std::shared_ptr<Pool> m_pool;
    mutable std::mutex m_mutex;
    std::map<std::thread::id, std::shared_ptr<Transaction>> m_changes;
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
        if (!c->startCopy(copyStatement(t).constData()))
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
        copyTrailer(buffer);
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
    const Settings settings = Settings::parse(connectionString);
    bool present = false;
    QString why;
    std::unique_ptr<Connection> c = openPrepared(settings, false, &present, &why);
    if (!c || !present) {
        if (error)
            *error = !c ? why
                        : QStringLiteral("Il server non contiene ancora archivi di Merventa: "
                                         "non c'è nulla da copiare.");
        return false;
    }
    return copyAll(*c, folder, nullptr, error);
}

bool copyAll(Connection &connection, const QString &folder, QStringList *copied, QString *error)
{
    Connection *c = &connection;
    auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
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
        if (copied)
            copied->append(name);
    }
    if (!c->exec("COMMIT"))
        return serverFailed();
    return true;
}

} // namespace Server
