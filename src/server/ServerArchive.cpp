#include "server/ServerArchive.h"

#include <QThread>
#include <QUuid>

#include <algorithm>
#include <atomic>
#include <cstring>

namespace Server {

namespace {

constexpr int kFetchRows = 1000;

QString outOfRangeText()
{
    return QStringLiteral("record oltre la fine dell'archivio");
}

QString badPositionText()
{
    return QStringLiteral("posizione del record non valida");
}

// Ends on the server the work of a connection whose answer was lost (it may still be
// running, or waiting for a lock) and waits until it is gone: whatever it did is then
// either committed or undone. False only when this connection is lost too.
bool endBackend(Connection &c, int pid)
{
    if (pid <= 0)
        return true;
    c.exec("SELECT pg_terminate_backend($1)", { Param::number(pid) });
    if (c.fault() == Fault::Lost)
        return false;
    for (int round = 0; round < 60; ++round) {
        Result r;
        if (!c.exec("SELECT 1 FROM pg_stat_activity WHERE pid = $1", { Param::number(pid) }, &r))
            return c.fault() != Fault::Lost;
        if (r.rows() == 0)
            return true;
        QThread::msleep(50);
    }
    return true;
}

void rollBack(Connection &c)
{
    if (c.usable() && !c.idle())
        c.exec("ROLLBACK");
}

} // namespace

// ---- Pool ----

Pool::Pool(Settings settings)
    : m_settings(std::move(settings))
{
}

std::unique_ptr<Connection> Pool::take(QString *error)
{
    {
        std::lock_guard lock(m_mutex);
        while (!m_idle.empty()) {
            std::unique_ptr<Connection> c = std::move(m_idle.back());
            m_idle.pop_back();
            if (c->stillOpen())
                return c;
        }
    }
    return Connection::open(m_settings, error);
}

void Pool::give(std::unique_ptr<Connection> connection)
{
    if (!connection || !connection->idle())
        return;
    std::lock_guard lock(m_mutex);
    if (m_idle.size() < 4)
        m_idle.push_back(std::move(connection));
}

std::optional<Pool::Pending> Pool::takePending(const QString &archive)
{
    std::lock_guard lock(m_mutex);
    const auto it = m_pending.find(archive);
    if (it == m_pending.end())
        return std::nullopt;
    Pending p = it.value();
    m_pending.erase(it);
    return p;
}

void Pool::setPending(const QString &archive, Pending pending)
{
    std::lock_guard lock(m_mutex);
    m_pending.insert(archive, std::move(pending));
}

// ---- ArchiveSession ----

ArchiveSession::ArchiveSession(std::shared_ptr<Pool> pool, Kind kind, QString year,
    Storage::Access access, std::shared_ptr<Transaction> transaction)
    : m_pool(std::move(pool))
    , m_table(tableOf(kind))
    , m_year(std::move(year))
    , m_name(fileNameOf(kind, m_year))
    , m_access(access)
    , m_transaction(std::move(transaction))
{
    // Sessions of one transaction share its connection: each scans through a cursor of
    // its own name.
    static std::atomic<int> sessions { 0 };
    m_cursor = "merventa_scan_" + QByteArray::number(++sessions);
    const QByteArray table(m_table.name);
    const QByteArray columns = fieldColumns(m_table);
    const int base = m_table.yearly ? 1 : 0;
    const QByteArray key = m_table.yearly ? "year = $1 AND " : "";
    auto param = [](int n) { return "$" + QByteArray::number(n); };
    const int fields = m_table.layout->fieldCount();

    m_sqlCount = QByteArray("SELECT records FROM ") + kPositions + " WHERE kind = $1 AND year = $2";
    m_sqlRead = "SELECT raw, " + columns + " FROM " + table + " WHERE " + key
        + "pos = " + param(base + 1);
    m_sqlLock = m_sqlRead + " FOR UPDATE";

    // The position is the archive's count, taken and raised under the lock of its row;
    // with an expected position the record goes in only when it is the next one.
    m_sqlAppend = QByteArray("WITH c AS (UPDATE ") + kPositions
        + " SET records = records + 1 WHERE kind = $1 AND year = $2 "
          "AND ($3::bigint IS NULL OR records = $3::bigint) RETURNING records - 1 AS pos) "
          "INSERT INTO "
        + table + " (" + (m_table.yearly ? "year, " : "") + "pos, token, raw, " + columns
        + ") SELECT " + (m_table.yearly ? "$2, " : "") + "c.pos, $4::uuid, $5::bytea";
    for (int i = 0; i < fields; ++i)
        m_sqlAppend += ", " + param(6 + i) + "::bytea";
    m_sqlAppend += " FROM c RETURNING pos";

    m_sqlRewrite
        = "UPDATE " + table + " SET version = version + 1, raw = " + param(base + 1) + "::bytea";
    for (int i = 0; i < fields; ++i)
        m_sqlRewrite
            += ", " + columnOf(*m_table.layout, i) + " = " + param(base + 2 + i) + "::bytea";
    m_sqlRewrite += " WHERE " + key + "pos = " + param(base + 2 + fields) + " RETURNING pos";

    m_sqlToken = "SELECT pos FROM " + table + " WHERE " + key + "pos >= " + param(base + 1)
        + " AND token = " + param(base + 2) + "::uuid";
}

ArchiveSession::~ArchiveSession()
{
    if (m_side)
        m_pool->give(std::move(m_side));
    if (m_conn)
        m_pool->give(std::move(m_conn));
}

bool ArchiveSession::start()
{
    if (inTransaction())
        return connection() != nullptr;
    QString error;
    m_conn = m_pool->take(&error);
    if (!m_conn)
        return fail(error);
    return true;
}

bool ArchiveSession::fail(const QString &text, Storage::Failure failure) const
{
    m_error = text;
    m_failure = failure;
    return false;
}

void ArchiveSession::drop() const
{
    if (inTransaction())
        return;
    std::unique_ptr<Connection> &slot = m_scanning ? m_side : m_conn;
    if (slot && !slot->usable())
        slot.reset();
}

bool ArchiveSession::failFrom(const Connection &c) const
{
    if (c.fault() == Fault::Busy)
        return fail(archiveBusyText(), Storage::Failure::Busy);
    if (c.fault() == Fault::Lost) {
        drop();
        return fail(lostText());
    }
    return fail(c.error());
}

Connection *ArchiveSession::connection() const
{
    if (inTransaction()) {
        Connection *c = m_transaction->connection.get();
        if (!m_transaction->open || !c || !c->usable()) {
            fail(lostText());
            return nullptr;
        }
        return c;
    }
    std::unique_ptr<Connection> &slot = m_scanning ? m_side : m_conn;
    if (slot && !slot->usable())
        slot.reset();
    if (!slot) {
        QString ignored;
        slot = m_pool->take(&ignored);
        if (!slot) {
            fail(lostText());
            return nullptr;
        }
    }
    return slot.get();
}

bool ArchiveSession::writable()
{
    m_failure = Storage::Failure::None;
    if (m_access == Storage::Access::ReadOnly)
        return fail(QStringLiteral("archivio aperto in sola lettura"));
    return true;
}

std::vector<Param> ArchiveSession::keyParams() const
{
    std::vector<Param> p;
    if (m_table.yearly)
        p.push_back(Param::text(m_year));
    return p;
}

void ArchiveSession::addRow(std::vector<Param> &params, const QByteArray &bytes) const
{
    const RecordLayout &layout = *m_table.layout;
    params.push_back(needsRaw(layout, bytes) ? Param::bytes(bytes) : Param::none());
    for (int i = 0; i < layout.fieldCount(); ++i)
        params.push_back(Param::bytes(fieldText(layout, bytes, i)));
}

qint64 ArchiveSession::recordCount() const
{
    Connection *c = connection();
    if (!c)
        return m_lastCount;
    Result r;
    if (!c->exec(m_sqlCount.constData(),
            { Param::text(QString::fromLatin1(m_table.key)), Param::text(m_year) }, &r)) {
        failFrom(*c);
        return m_lastCount;
    }
    m_lastCount = r.rows() ? r.integer(0, 0) : 0;
    return m_lastCount;
}

bool ArchiveSession::fetchRow(
    Connection &c, qint64 index, bool lock, QByteArray &bytes, bool *found)
{
    std::vector<Param> p = keyParams();
    p.push_back(Param::number(index));
    Result r;
    if (!c.exec((lock ? m_sqlLock : m_sqlRead).constData(), p, &r))
        return false;
    *found = r.rows() == 1;
    if (*found)
        assemble(*m_table.layout, r, 0, 1, 0, bytes);
    return true;
}

bool ArchiveSession::readAt(qint64 index, QByteArray &bytes)
{
    m_failure = Storage::Failure::None;
    if (index < 0)
        return fail(outOfRangeText());
    Connection *c = connection();
    if (!c)
        return false;
    bool found = false;
    if (!fetchRow(*c, index, false, bytes, &found))
        return failFrom(*c);
    return found || fail(outOfRangeText());
}

bool ArchiveSession::readAt(qint64 index, Record &record)
{
    QByteArray bytes;
    if (!readAt(index, bytes))
        return false;
    record.decode(bytes);
    return true;
}

bool ArchiveSession::scan(std::span<const int> fields, const Visit &visit)
{
    m_failure = Storage::Failure::None;
    const RecordLayout &layout = *m_table.layout;
    std::vector<int> asked;
    for (const int f : fields) {
        if (f >= 0 && f < layout.fieldCount()
            && std::find(asked.begin(), asked.end(), f) == asked.end())
            asked.push_back(f);
    }
    const bool whole = asked.empty();
    QByteArray sql = "DECLARE " + m_cursor + " NO SCROLL CURSOR FOR SELECT pos";
    if (whole) {
        sql += ", raw, " + fieldColumns(m_table);
    } else {
        for (const int f : asked)
            sql += ", " + columnOf(layout, f);
    }
    sql += QByteArray(" FROM ") + m_table.name + (m_table.yearly ? " WHERE year = $1" : "")
        + " ORDER BY pos";

    Connection *c = connection();
    if (!c)
        return false;
    if ((!inTransaction() && !c->exec("BEGIN")) || !c->exec(sql.constData(), keyParams())) {
        if (c->fault() != Fault::Lost && !inTransaction())
            rollBack(*c);
        return failFrom(*c);
    }
    // The visits may call this session again: those calls go through the side connection
    // while the cursor is open on this one (inside a transaction, through the same one:
    // every fetch is read whole before the visits).
    m_scanning = !inTransaction();
    const QByteArray fetch
        = "FETCH FORWARD " + QByteArray::number(kFetchRows) + " FROM " + m_cursor;
    QByteArray record(layout.recordSize(), '\0');
    bool ok = true;
    bool stopped = false;
    while (ok && !stopped) {
        Result rows;
        if (!c->exec(fetch.constData(), {}, &rows)) {
            m_scanning = false;
            ok = failFrom(*c);
            break;
        }
        const int count = rows.rows();
        for (int r = 0; r < count; ++r) {
            if (whole) {
                assemble(layout, rows, r, 2, 1, record);
            } else {
                for (std::size_t i = 0; i < asked.size(); ++i) {
                    const int f = asked[i];
                    const int offset = layout.offset(f);
                    const int capacity = layout.field(f).capacity;
                    const QByteArrayView text = rows.bytes(r, int(i) + 1);
                    const int length = int(std::min<qsizetype>(text.size(), capacity));
                    std::memset(record.data() + offset, 0, std::size_t(capacity) + 1);
                    record[offset] = char(length);
                    if (length)
                        std::memcpy(record.data() + offset + 1, text.data(), std::size_t(length));
                }
            }
            if (!visit(rows.integer(r, 0), QByteArrayView(record))) {
                stopped = true;
                break;
            }
        }
        if (count < kFetchRows)
            break;
    }
    m_scanning = false;
    if (inTransaction()) {
        const QByteArray close = "CLOSE " + m_cursor;
        if (ok && !c->exec(close.constData()))
            ok = failFrom(*c);
        return ok;
    }
    if (m_conn && m_conn->usable()) {
        // Closes the cursor without reading what a stopped scan left.
        if (!m_conn->exec("COMMIT")) {
            rollBack(*m_conn);
            if (ok)
                ok = failFrom(*m_conn);
        }
    } else {
        m_conn.reset();
    }
    if (m_side)
        m_pool->give(std::move(m_side));
    return ok;
}

bool ArchiveSession::ensurePositions(Connection &c)
{
    if (c.exec((QByteArray("INSERT INTO ") + kPositions
                   + " (kind, year, records) VALUES ($1, $2, 0) ON CONFLICT DO NOTHING")
                   .constData(),
            { Param::text(QString::fromLatin1(m_table.key)), Param::text(m_year) }))
        return true;
    return failFrom(c);
}

bool ArchiveSession::tokenStored(Connection &c, const QByteArray &token, qint64 from, bool *stored)
{
    std::vector<Param> p = keyParams();
    p.push_back(Param::number(from));
    p.push_back(Param { token, false, false });
    Result r;
    if (!c.exec(m_sqlToken.constData(), p, &r))
        return false;
    *stored = r.rows() > 0;
    if (*stored)
        m_lastCount = std::max(m_lastCount, r.integer(0, 0) + 1);
    return true;
}

bool ArchiveSession::settle(int oldPid,
    const std::function<bool(Connection &, bool *stored)> &stored,
    const std::function<void(int pid)> &unsettled)
{
    // Inside a transaction a lost connection has undone all of it.
    if (inTransaction())
        return fail(lostText());
    drop();
    Connection *c = connection();
    bool found = false;
    if (!c || !endBackend(*c, oldPid) || !stored(*c, &found)) {
        if (c)
            drop();
        if (unsettled)
            unsettled(oldPid);
        return fail(lostText());
    }
    if (found) {
        m_failure = Storage::Failure::None;
        m_error.clear();
        return true;
    }
    return fail(lostText());
}

bool ArchiveSession::resolvePending(const QByteArray &bytes, bool *alreadyStored)
{
    *alreadyStored = false;
    const std::optional<Pool::Pending> pending = m_pool->takePending(m_name);
    if (!pending)
        return true;
    Connection *c = connection();
    bool stored = false;
    if (!c || !endBackend(*c, pending->backendPid)
        || !tokenStored(*c, pending->token, pending->from, &stored)) {
        m_pool->setPending(m_name, *pending);
        return c ? failFrom(*c) : false;
    }
    *alreadyStored = stored && pending->bytes == bytes;
    return true;
}

ArchiveSession::Insert ArchiveSession::insert(std::optional<qint64> at, const QByteArray &bytes)
{
    Connection *c = connection();
    if (!c)
        return Insert::Failed;
    const QByteArray token = QUuid::createUuid().toByteArray(QUuid::WithoutBraces);
    std::vector<Param> p { Param::text(QString::fromLatin1(m_table.key)), Param::text(m_year),
        at ? Param::number(*at) : Param::none(), Param { token, false, false } };
    addRow(p, bytes);
    const qint64 from = std::max<qint64>(0, at.value_or(m_lastCount));
    for (int attempt = 0; attempt < 2; ++attempt) {
        Result r;
        const int pid = c->backendPid();
        if (!c->exec(m_sqlAppend.constData(), p, &r)) {
            if (c->fault() != Fault::Lost) {
                failFrom(*c);
                return Insert::Failed;
            }
            const bool ok = settle(
                pid,
                [&](Connection &n, bool *stored) { return tokenStored(n, token, from, stored); },
                [&](int oldPid) {
                    m_pool->setPending(m_name, { token, bytes, from, oldPid });
                });
            return ok ? Insert::Done : Insert::Failed;
        }
        if (r.rows() == 1) {
            m_lastCount = r.integer(0, 0) + 1;
            return Insert::Done;
        }
        // No row of positions yet (the archive's first record), or not at the end.
        if (attempt == 0 && !ensurePositions(*c))
            return Insert::Failed;
    }
    if (at)
        return Insert::NotAtEnd;
    fail(QStringLiteral("il server non ha assegnato una posizione al record"));
    return Insert::Failed;
}

bool ArchiveSession::append(const Record &record)
{
    if (!writable())
        return false;
    const QByteArray bytes = record.encode();
    bool alreadyStored = false;
    if (!resolvePending(bytes, &alreadyStored))
        return false;
    if (alreadyStored)
        return true;
    return insert(std::nullopt, bytes) == Insert::Done;
}

bool ArchiveSession::writeAt(qint64 index, const Record &record)
{
    return writeAt(index, record.encode());
}

bool ArchiveSession::writeAt(qint64 index, const QByteArray &bytes)
{
    if (!writable())
        return false;
    if (bytes.size() != m_table.layout->recordSize())
        return fail(QStringLiteral("record di dimensione errata"));
    if (index < 0)
        return fail(badPositionText());
    for (int round = 0; round < 4; ++round) {
        Connection *c = connection();
        if (!c)
            return false;
        std::vector<Param> p = keyParams();
        addRow(p, bytes);
        p.push_back(Param::number(index));
        Result r;
        const int pid = c->backendPid();
        if (!c->exec(m_sqlRewrite.constData(), p, &r)) {
            if (c->fault() != Fault::Lost)
                return failFrom(*c);
            return settle(pid, [&](Connection &n, bool *stored) {
                QByteArray now;
                bool found = false;
                if (!fetchRow(n, index, false, now, &found))
                    return false;
                *stored = found && now == bytes;
                return true;
            });
        }
        if (r.rows() == 1)
            return true;
        const qint64 count = recordCount();
        if (m_failure != Storage::Failure::None)
            return false;
        if (index > count)
            return fail(badPositionText());
        if (index < count)
            continue; // appended by another computer meanwhile: a rewrite now
        switch (insert(index, bytes)) {
        case Insert::Done:
            return true;
        case Insert::Failed:
            return false;
        case Insert::NotAtEnd:
            break;
        }
    }
    return fail(badPositionText());
}

bool ArchiveSession::writeAtIf(qint64 index, const Record &record, const Record &asRead)
{
    if (!writable())
        return false;
    const RecordLayout &layout = *m_table.layout;
    const QByteArray bytes = record.encode();
    const QByteArray readBytes = asRead.encode();
    Connection *c = connection();
    if (!c)
        return false;
    const int pid = c->backendPid();
    // The answer of the rewrite or of its commit lost: the record is looked at again.
    auto settleLost = [&]() {
        return settle(pid, [&](Connection &n, bool *stored) {
            QByteArray now;
            bool found = false;
            if (!fetchRow(n, index, false, now, &found))
                return false;
            *stored = found && Record::fromBytes(layout, now).encode() == bytes;
            return true;
        });
    };
    const bool own = !inTransaction();
    auto failed = [&]() {
        if (c->fault() == Fault::Lost)
            return settleLost();
        const bool result = failFrom(*c);
        if (own)
            rollBack(*c);
        return result;
    };
    QByteArray stored;
    bool found = false;
    if ((own && !c->exec("BEGIN")) || !fetchRow(*c, index, true, stored, &found))
        return failed();
    if (!found) {
        if (own)
            rollBack(*c);
        const qint64 count = recordCount();
        if (m_failure != Storage::Failure::None)
            return false;
        if (index < 0 || index > count)
            return fail(badPositionText());
        return fail(
            QStringLiteral("la scheda non è più nell'archivio"), Storage::Failure::Conflict);
    }
    // Compared as records: bytes past a field's text (an older program's) do not make the
    // stored record another one.
    if (Record::fromBytes(layout, stored).encode() != readBytes) {
        if (own)
            rollBack(*c);
        return fail(QStringLiteral("la scheda è stata modificata da un'altra postazione"),
            Storage::Failure::Conflict);
    }
    std::vector<Param> p = keyParams();
    addRow(p, bytes);
    p.push_back(Param::number(index));
    if (!c->exec(m_sqlRewrite.constData(), p) || (own && !c->exec("COMMIT")))
        return failed();
    return true;
}

bool ArchiveSession::lockArchive()
{
    Connection *c = connection();
    if (!c || !ensurePositions(*c))
        return false;
    const QByteArray positions = QByteArray("SELECT records FROM ") + kPositions
        + " WHERE kind = $1 AND year = $2 FOR UPDATE";
    const QByteArray table
        = QByteArray("LOCK TABLE ") + m_table.name + " IN SHARE ROW EXCLUSIVE MODE";
    if (!c->exec(positions.constData(),
            { Param::text(QString::fromLatin1(m_table.key)), Param::text(m_year) })
        || !c->exec(table.constData()))
        return failFrom(*c);
    return true;
}

bool ArchiveSession::appendRecords(const QByteArray &records)
{
    if (!writable())
        return false;
    const int size = m_table.layout->recordSize();
    if (!inTransaction() || records.isEmpty() || records.size() % size != 0)
        return fail(QStringLiteral("record di dimensione errata"));
    const qint64 first = recordCount();
    if (m_failure != Storage::Failure::None)
        return false;
    Connection *c = connection();
    if (!c)
        return false;
    const qint64 count = records.size() / size;
    if (!c->startCopy(copyStatement(m_table).constData()))
        return failFrom(*c);
    QByteArray buffer;
    copyHeader(buffer);
    const QByteArray year = m_year.toUtf8();
    for (qint64 i = 0; i < count; ++i) {
        copyRecord(
            buffer, m_table, year, first + i, QByteArrayView(records).sliced(i * size, size));
        if (buffer.size() >= (1 << 20)) {
            if (!c->putCopyData(buffer))
                return failFrom(*c);
            buffer.clear();
        }
    }
    copyTrailer(buffer);
    if (!c->putCopyData(buffer) || !c->endCopy()
        || !c->exec((QByteArray("UPDATE ") + kPositions
                        + " SET records = records + $3 WHERE kind = $1 AND year = $2")
                        .constData(),
            { Param::text(QString::fromLatin1(m_table.key)), Param::text(m_year),
                Param::number(count) }))
        return failFrom(*c);
    m_lastCount = first + count;
    return true;
}

} // namespace Server
