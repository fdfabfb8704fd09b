#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QElapsedTimer>
#include <QString>

#include <memory>
#include <span>
#include <vector>

// One connection to the PostgreSQL server of the archives, over libpq in non-blocking mode:
// connecting and every answer have a deadline, so a server that accepts and then stalls
// fails the call instead of holding the program. Every statement takes its values as
// parameters; results come in binary form (a bytea column gives its bytes unchanged).
struct pg_conn;
struct pg_result;

namespace Server {

// Why the last statement failed.
enum class Fault {
    None,
    Lost, // the connection broke or the answer did not come in time: the connection is gone
    Denied, // the server's role may not do this (insufficient privilege)
    Busy, // another computer held what the statement waits for, for the whole wait
    Other // the server refused the statement
};

// A value handed to a statement: text, bytes (bytea, sent in binary form) or null.
struct Param
{
    QByteArray value;
    bool binary = false;
    bool null = false;

    static Param text(const QString &text) { return { text.toUtf8(), false, false }; }
    static Param number(qint64 n) { return { QByteArray::number(n), false, false }; }
    static Param bytes(QByteArrayView b) { return { b.toByteArray(), true, false }; }
    static Param none() { return { {}, false, true }; }
};

// The answer of a statement (owned; freed with the object).
class Result
{
public:
    Result() = default;
    explicit Result(pg_result *result);
    ~Result();
    Result(Result &&other) noexcept;
    Result &operator=(Result &&other) noexcept;
    Result(const Result &) = delete;
    Result &operator=(const Result &) = delete;

    int rows() const;
    int columns() const;
    bool isNull(int row, int column) const;
    // The value's bytes as the server sent them (binary form), valid while the result lives.
    QByteArrayView bytes(int row, int column) const;
    // A bigint, integer or smallint column in binary form.
    qint64 integer(int row, int column) const;
    // A text column.
    QString text(int row, int column) const;
    bool boolean(int row, int column) const;

private:
    pg_result *m_result = nullptr;
};

// The settings of a connection: libpq's keywords and values, as parsed from the
// connection string (never joined back into one text, so no value is read as syntax).
struct Settings
{
    std::vector<QByteArray> keywords;
    std::vector<QByteArray> values;
    QByteArray password; // for keeping it out of every message
    bool valid = false;

    static Settings parse(const QString &connectionString);
    // Removes the password from a text that came from the server or from libpq.
    QString scrub(const QString &text) const;
};

class Connection
{
public:
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Connects within the connection deadline; nullptr and *error (Italian, for the user)
    // otherwise. Servers older than the oldest the program supports are refused.
    static std::unique_ptr<Connection> open(const Settings &settings, QString *error);

    // Runs one statement and waits for its whole answer (within the answer deadline).
    bool exec(const char *sql, std::span<const Param> params, Result *result = nullptr);
    bool exec(const char *sql, std::initializer_list<Param> params, Result *result = nullptr)
    {
        return exec(sql, std::span<const Param>(params.begin(), params.size()), result);
    }
    bool exec(const char *sql) { return exec(sql, std::span<const Param>()); }

    // COPY ... FROM STDIN: after exec() of the COPY statement has answered, the data in as
    // many pieces as wanted, then the end (or an abort, which fails the statement).
    bool startCopy(const char *sql, std::initializer_list<Param> params = {});
    bool putCopyData(QByteArrayView data);
    bool endCopy(bool abort = false);

    Fault fault() const { return m_fault; }
    QString error() const { return m_error; }
    QByteArray sqlState() const { return m_sqlState; }
    // False once the connection is lost: it must be dropped.
    bool usable() const;
    // Idle: no transaction open, nothing pending (so it can serve another session).
    bool idle() const;
    // Usable, and the server has not closed it while it was idle (a restart).
    bool stillOpen();
    int backendPid() const;
    int serverVersion() const;

private:
    explicit Connection(pg_conn *conn, const Settings &settings);
    enum class Wait { Read, Write, ReadWrite };
    bool waitSocket(Wait wait, const QElapsedTimer &since, int limitMs);
    bool flushOut(const QElapsedTimer &since);
    bool collect(Result *result, const QElapsedTimer &since, bool copyIn = false);
    bool lost();
    bool fail(Fault fault, const QString &message);

    pg_conn *m_conn = nullptr;
    Settings m_settings;
    Fault m_fault = Fault::None;
    QString m_error;
    QByteArray m_sqlState;
    bool m_broken = false;
};

// How long an answer may take (15 s unless a test sets another), and how long connecting
// may take (5 s).
void setAnswerTimeout(int milliseconds);
int answerTimeout();
int connectTimeout();

// The message of a connection lost in the middle of an action.
QString lostText();

} // namespace Server
