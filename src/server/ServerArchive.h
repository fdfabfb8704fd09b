#pragma once
#include "server/Connection.h"
#include "server/Schema.h"
#include "storage/Session.h"

#include <QHash>
#include <QString>

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace Server {

// The connections of one server: a session borrows one while it is open and gives it back
// when it closes; a broken one is dropped, so the next action connects anew.
class Pool
{
public:
    explicit Pool(Settings settings);

    std::unique_ptr<Connection> take(QString *error);
    void give(std::unique_ptr<Connection> connection);
    const Settings &settings() const { return m_settings; }

    // A save whose answer was lost and that could not be looked for on the server yet
    // (the server was gone): the next save of the same archive looks for it first, so a
    // retry of the same record never stores it twice.
    struct Pending
    {
        QByteArray token;
        QByteArray bytes;
        qint64 from = 0; // its position is at least this
        int backendPid = 0;
    };
    std::optional<Pending> takePending(const QString &archive);
    void setPending(const QString &archive, Pending pending);

private:
    Settings m_settings;
    std::mutex m_mutex;
    std::vector<std::unique_ptr<Connection>> m_idle;
    QHash<QString, Pending> m_pending;
};

// One transaction several sessions work in (a change of several archives, a working copy):
// its connection, and whether it is still going (a session that outlives it fails).
struct Transaction
{
    std::unique_ptr<Connection> connection;
    bool open = true;
};

// One archive on the server, opened for a piece of work: on a connection of its own
// borrowed from the pool, or inside a transaction.
class ArchiveSession : public Storage::Session
{
public:
    ArchiveSession(std::shared_ptr<Pool> pool, Kind kind, QString year, Storage::Access access,
        std::shared_ptr<Transaction> transaction = nullptr);
    ~ArchiveSession() override;

    // Borrows the connection; false (errorString() says why) when the server cannot be had.
    bool start();
    // Inside a transaction: no other computer writes the archive until it ends (they wait,
    // then say the archive is busy). False when the lock could not be had.
    bool lockArchive();

    qint64 recordCount() const override;
    bool readAt(qint64 index, Record &record) override;
    bool readAt(qint64 index, QByteArray &bytes) override;
    bool scan(std::span<const int> fields, const Visit &visit) override;
    bool writeAt(qint64 index, const Record &record) override;
    bool writeAt(qint64 index, const QByteArray &bytes) override;
    bool writeAtIf(qint64 index, const Record &record, const Record &asRead) override;
    bool append(const Record &record) override;
    // Inside a transaction that holds the archive: whole records after the last one, sent
    // in one stream.
    bool appendRecords(const QByteArray &records);

    Storage::Failure failure() const override { return m_failure; }
    QString errorString() const override { return m_error; }

private:
    enum class Insert { Done, NotAtEnd, Failed };
    Connection *connection() const;
    bool fail(const QString &text, Storage::Failure failure = Storage::Failure::Other) const;
    bool failFrom(const Connection &c) const;
    bool writable();
    std::vector<Param> keyParams() const;
    void addRow(std::vector<Param> &params, const QByteArray &bytes) const;
    Insert insert(std::optional<qint64> at, const QByteArray &bytes);
    bool ensurePositions(Connection &c);
    bool fetchRow(Connection &c, qint64 index, bool lock, QByteArray &bytes, bool *found);
    // After a write whose answer was lost: connects again, ends the old connection's work on
    // the server and asks stored whether the write is there.
    bool settle(int oldPid, const std::function<bool(Connection &, bool *stored)> &stored,
        const std::function<void(int pid)> &unsettled = {});
    bool resolvePending(const QByteArray &bytes, bool *alreadyStored);
    bool tokenStored(Connection &c, const QByteArray &token, qint64 from, bool *stored);
    void drop() const;
    bool inTransaction() const { return m_transaction != nullptr; }

    std::shared_ptr<Pool> m_pool;
    const Table &m_table;
    QString m_year;
    QString m_name;
    Storage::Access m_access;
    std::shared_ptr<Transaction> m_transaction;
    QByteArray m_cursor;
    mutable std::unique_ptr<Connection> m_conn;
    // While a scan reads through its cursor, other calls go through a second connection.
    mutable std::unique_ptr<Connection> m_side;
    bool m_scanning = false;
    mutable qint64 m_lastCount = 0;
    mutable Storage::Failure m_failure = Storage::Failure::None;
    mutable QString m_error;

    QByteArray m_sqlCount;
    QByteArray m_sqlRead;
    QByteArray m_sqlLock;
    QByteArray m_sqlAppend;
    QByteArray m_sqlRewrite;
    QByteArray m_sqlToken;
};

} // namespace Server
