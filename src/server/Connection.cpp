#include "server/Connection.h"

#include <QtEndian>

#include <libpq-fe.h>

#include <algorithm>
#include <atomic>
#include <cerrno>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <poll.h>
#endif

namespace Server {

namespace {

std::atomic<int> g_answerTimeout { 15000 };
constexpr int kConnectTimeoutMs = 5000;
// The oldest server the program works with (PostgreSQL 12).
constexpr int kOldestServer = 120000;

int remaining(const QElapsedTimer &since, int limitMs)
{
    return int(std::max<qint64>(0, limitMs - since.elapsed()));
}

// Waits until the socket can be read (or written) or the time is up.
int pollSocket(int socket, bool read, bool write, int timeoutMs)
{
#ifdef Q_OS_WIN
    WSAPOLLFD p {};
    p.fd = SOCKET(socket);
    p.events = short((read ? POLLRDNORM : 0) | (write ? POLLWRNORM : 0));
    return WSAPoll(&p, 1, timeoutMs);
#else
    pollfd p {};
    p.fd = socket;
    p.events = short((read ? POLLIN : 0) | (write ? POLLOUT : 0));
    int n;
    do {
        n = ::poll(&p, 1, timeoutMs);
    } while (n < 0 && errno == EINTR);
    return n;
#endif
}

bool mentions(const QString &text, std::initializer_list<const char *> words)
{
    return std::any_of(words.begin(), words.end(),
        [&](const char *w) { return text.contains(QLatin1StringView(w), Qt::CaseInsensitive); });
}

// The reason a connection could not be made, in the words of a shop owner.
QString connectFailureText(pg_conn *conn, const QString &detail, bool timedOut)
{
    if (timedOut || mentions(detail, { "timeout", "timed out", "scadut" }))
        return QStringLiteral("Il server degli archivi non ha risposto entro 5 secondi: "
                              "controllare l'indirizzo, la porta, la rete e che il server sia "
                              "acceso.");
    if ((conn && PQconnectionNeedsPassword(conn))
        || mentions(detail, { "password", "authentication", "autenticazione", "role", "ruolo" }))
        return QStringLiteral("Il server ha rifiutato l'utente o la password: controllare i dati "
                              "di accesso.");
    if (mentions(detail, { "database" }) && mentions(detail, { "not exist", "non esiste" }))
        return QStringLiteral(
            "Il database indicato non esiste sul server: controllare il nome del database.");
    if (mentions(detail, { "ssl", "certificate", "certificato" }))
        return QStringLiteral("La connessione protetta (SSL) con il server non è riuscita: "
                              "controllare le impostazioni di sicurezza del server.");
    if (mentions(detail,
            { "refused", "rifiutat", "could not connect", "could not translate", "unknown host",
                "no route", "unreachable", "impossibile connettersi", "no such file" }))
        return QStringLiteral("Il server degli archivi non è raggiungibile: controllare "
                              "l'indirizzo e la porta, che il server sia acceso e che la rete "
                              "funzioni.");
    return QStringLiteral("Connessione al server degli archivi non riuscita: controllare le "
                          "impostazioni del server.");
}

} // namespace

void setAnswerTimeout(int milliseconds)
{
    g_answerTimeout = milliseconds;
}

int answerTimeout()
{
    return g_answerTimeout;
}

int connectTimeout()
{
    return kConnectTimeoutMs;
}

QString lostText()
{
    return QStringLiteral("Il server degli archivi non risponde: l'operazione non è stata "
                          "completata. Controllare la rete e che il server sia acceso, poi "
                          "riprovare.");
}

// ---- Result ----

Result::Result(pg_result *result)
    : m_result(result)
{
}

Result::~Result()
{
    if (m_result)
        PQclear(m_result);
}

Result::Result(Result &&other) noexcept
    : m_result(std::exchange(other.m_result, nullptr))
{
}

Result &Result::operator=(Result &&other) noexcept
{
    if (this != &other) {
        if (m_result)
            PQclear(m_result);
        m_result = std::exchange(other.m_result, nullptr);
    }
    return *this;
}

int Result::rows() const
{
    return m_result ? PQntuples(m_result) : 0;
}

int Result::columns() const
{
    return m_result ? PQnfields(m_result) : 0;
}

bool Result::isNull(int row, int column) const
{
    return !m_result || PQgetisnull(m_result, row, column);
}

QByteArrayView Result::bytes(int row, int column) const
{
    if (isNull(row, column))
        return {};
    return QByteArrayView(PQgetvalue(m_result, row, column), PQgetlength(m_result, row, column));
}

qint64 Result::integer(int row, int column) const
{
    const QByteArrayView b = bytes(row, column);
    switch (b.size()) {
    case 8:
        return qFromBigEndian<qint64>(b.data());
    case 4:
        return qFromBigEndian<qint32>(b.data());
    case 2:
        return qFromBigEndian<qint16>(b.data());
    default:
        return 0;
    }
}

QString Result::text(int row, int column) const
{
    const QByteArrayView b = bytes(row, column);
    return QString::fromUtf8(b.data(), b.size());
}

bool Result::boolean(int row, int column) const
{
    const QByteArrayView b = bytes(row, column);
    return b.size() == 1 && b[0] != 0;
}

// ---- Settings ----

Settings Settings::parse(const QString &connectionString)
{
    Settings s;
    char *message = nullptr;
    PQconninfoOption *options = PQconninfoParse(connectionString.toUtf8().constData(), &message);
    if (message)
        PQfreemem(message);
    if (!options)
        return s;
    bool timeout = false;
    for (PQconninfoOption *o = options; o->keyword; ++o) {
        if (!o->val)
            continue;
        const QByteArray keyword(o->keyword);
        QByteArray value(o->val);
        if (keyword == "password")
            s.password = value;
        if (keyword == "connect_timeout") {
            // Never longer than the program's own deadline.
            const int asked = value.toInt();
            timeout = true;
            if (asked <= 0 || asked > kConnectTimeoutMs / 1000)
                value = QByteArray::number(kConnectTimeoutMs / 1000);
        }
        s.keywords.push_back(keyword);
        s.values.push_back(value);
    }
    PQconninfoFree(options);
    if (!timeout) {
        s.keywords.push_back("connect_timeout");
        s.values.push_back(QByteArray::number(kConnectTimeoutMs / 1000));
    }
    s.valid = true;
    return s;
}

QString Settings::scrub(const QString &text) const
{
    if (password.isEmpty())
        return text;
    QString out = text;
    out.replace(QString::fromUtf8(password), QStringLiteral("***"));
    return out;
}

// ---- Connection ----

Connection::Connection(pg_conn *conn, const Settings &settings)
    : m_conn(conn)
    , m_settings(settings)
{
}

Connection::~Connection()
{
    if (m_conn)
        PQfinish(m_conn);
}

std::unique_ptr<Connection> Connection::open(const Settings &settings, QString *error)
{
    auto say = [&](const QString &text) {
        if (error)
            *error = text;
        return nullptr;
    };
    if (!settings.valid)
        return say(QStringLiteral("Le impostazioni del server non sono valide: controllare i "
                                  "dati inseriti."));
    std::vector<const char *> keywords;
    std::vector<const char *> values;
    for (std::size_t i = 0; i < settings.keywords.size(); ++i) {
        keywords.push_back(settings.keywords[i].constData());
        values.push_back(settings.values[i].constData());
    }
    keywords.push_back(nullptr);
    values.push_back(nullptr);
    pg_conn *conn = PQconnectStartParams(keywords.data(), values.data(), 0);
    if (!conn)
        return say(connectFailureText(nullptr, {}, false));
    std::unique_ptr<Connection> c(new Connection(conn, settings));
    if (PQstatus(conn) == CONNECTION_BAD)
        return say(connectFailureText(conn, QString::fromUtf8(PQerrorMessage(conn)), false));
    QElapsedTimer since;
    since.start();
    PostgresPollingStatusType state = PGRES_POLLING_WRITING;
    while (state != PGRES_POLLING_OK) {
        if (state == PGRES_POLLING_FAILED)
            return say(connectFailureText(conn, QString::fromUtf8(PQerrorMessage(conn)), false));
        const int left = remaining(since, kConnectTimeoutMs);
        const int socket = PQsocket(conn);
        if (left <= 0 || socket < 0)
            return say(connectFailureText(conn, {}, left <= 0));
        const int n = pollSocket(
            socket, state == PGRES_POLLING_READING, state == PGRES_POLLING_WRITING, left);
        if (n == 0)
            return say(connectFailureText(conn, {}, true));
        state = PQconnectPoll(conn);
    }
    if (PQsetnonblocking(conn, 1) != 0)
        return say(connectFailureText(conn, {}, false));
    const int version = PQserverVersion(conn);
    if (version < kOldestServer)
        return say(QStringLiteral("Il server PostgreSQL è della versione %1: Merventa richiede la "
                                  "versione 12 o successiva. Aggiornare il server.")
                       .arg(version / 10000));
    // A lock held by another computer (a change in progress, an import) is waited for as
    // long as a file's lock is, then the action says the archive is busy.
    if (!c->exec("SET lock_timeout = 5000"))
        return say(c->fault() == Fault::Lost ? lostText() : c->error());
    // A save reported done is on the server's disk, whatever the server's own setting: with
    // asynchronous commits a server that stops abruptly loses the last ones.
    if (!c->exec("SET synchronous_commit = on"))
        return say(c->fault() == Fault::Lost ? lostText() : c->error());
    return c;
}

bool Connection::usable() const
{
    return m_conn && !m_broken && PQstatus(m_conn) == CONNECTION_OK;
}

bool Connection::idle() const
{
    return usable() && PQtransactionStatus(m_conn) == PQTRANS_IDLE;
}

bool Connection::stillOpen()
{
    if (!usable())
        return false;
    if (!PQconsumeInput(m_conn) || PQstatus(m_conn) != CONNECTION_OK || PQisBusy(m_conn)) {
        m_broken = true;
        return false;
    }
    return true;
}

int Connection::backendPid() const
{
    return m_conn ? PQbackendPID(m_conn) : 0;
}

int Connection::serverVersion() const
{
    return m_conn ? PQserverVersion(m_conn) : 0;
}

bool Connection::fail(Fault fault, const QString &message)
{
    m_fault = fault;
    m_error = message;
    return false;
}

bool Connection::lost()
{
    m_broken = true;
    m_sqlState.clear();
    return fail(Fault::Lost, lostText());
}

bool Connection::waitSocket(Wait wait, const QElapsedTimer &since, int limitMs)
{
    const int socket = PQsocket(m_conn);
    const int left = remaining(since, limitMs);
    if (socket < 0 || left <= 0)
        return false;
    const int n = pollSocket(socket, wait != Wait::Write, wait != Wait::Read, left);
    return n > 0;
}

bool Connection::flushOut(const QElapsedTimer &since)
{
    for (;;) {
        const int f = PQflush(m_conn);
        if (f == 0)
            return true;
        if (f < 0)
            return lost();
        if (!waitSocket(Wait::ReadWrite, since, answerTimeout()))
            return lost();
        if (!PQconsumeInput(m_conn))
            return lost();
    }
}

bool Connection::collect(Result *result, const QElapsedTimer &since, bool copyIn)
{
    bool ok = true;
    bool gotAny = false;
    for (;;) {
        while (PQisBusy(m_conn)) {
            if (!waitSocket(Wait::Read, since, answerTimeout()))
                return lost();
            if (!PQconsumeInput(m_conn))
                return lost();
        }
        PGresult *r = PQgetResult(m_conn);
        if (!r)
            break;
        Result owned(r);
        gotAny = true;
        const ExecStatusType status = PQresultStatus(r);
        if (copyIn && status == PGRES_COPY_IN) {
            if (result)
                *result = std::move(owned);
            return true;
        }
        if (status == PGRES_FATAL_ERROR || status == PGRES_NONFATAL_ERROR
            || status == PGRES_BAD_RESPONSE) {
            if (status == PGRES_NONFATAL_ERROR)
                continue;
            ok = false;
            const char *state = PQresultErrorField(r, PG_DIAG_SQLSTATE);
            m_sqlState = state ? QByteArray(state) : QByteArray();
            const QString detail
                = m_settings.scrub(QString::fromUtf8(PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY)
                        ? PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY)
                        : PQerrorMessage(m_conn)));
            if (m_sqlState == "55P03")
                fail(Fault::Busy,
                    QStringLiteral("L'archivio è in uso da un'altra postazione. Riprovare tra "
                                   "qualche istante."));
            else if (m_sqlState == "42501")
                fail(Fault::Denied,
                    QStringLiteral("L'utente del server può solo leggere gli archivi: le "
                                   "modifiche non sono permesse."));
            else if (m_sqlState.startsWith("08") || m_sqlState == "57P01" || m_sqlState == "57P02"
                || m_sqlState == "57P03")
                lost();
            else
                fail(Fault::Other,
                    QStringLiteral("Il server ha rifiutato l'operazione: %1").arg(detail));
        } else if (ok && result) {
            *result = std::move(owned);
        }
    }
    if (PQstatus(m_conn) != CONNECTION_OK)
        return lost();
    if (!gotAny)
        return fail(Fault::Other, QStringLiteral("Il server non ha dato risposta."));
    if (ok) {
        m_fault = Fault::None;
        m_error.clear();
        m_sqlState.clear();
    }
    return ok;
}

bool Connection::exec(const char *sql, std::span<const Param> params, Result *result)
{
    if (!usable())
        return lost();
    std::vector<const char *> values;
    std::vector<int> lengths;
    std::vector<int> formats;
    for (const Param &p : params) {
        values.push_back(p.null ? nullptr : p.value.constData());
        lengths.push_back(int(p.value.size()));
        formats.push_back(p.binary ? 1 : 0);
    }
    QElapsedTimer since;
    since.start();
    if (!PQsendQueryParams(m_conn, sql, int(params.size()), nullptr, values.data(), lengths.data(),
            formats.data(), 1))
        return lost();
    if (!flushOut(since))
        return false;
    return collect(result, since);
}

bool Connection::startCopy(const char *sql, std::initializer_list<Param> params)
{
    if (!usable())
        return lost();
    std::vector<const char *> values;
    std::vector<int> lengths;
    std::vector<int> formats;
    for (const Param &p : params) {
        values.push_back(p.null ? nullptr : p.value.constData());
        lengths.push_back(int(p.value.size()));
        formats.push_back(p.binary ? 1 : 0);
    }
    QElapsedTimer since;
    since.start();
    if (!PQsendQueryParams(m_conn, sql, int(params.size()), nullptr, values.data(), lengths.data(),
            formats.data(), 0))
        return lost();
    if (!flushOut(since))
        return false;
    return collect(nullptr, since, true);
}

bool Connection::putCopyData(QByteArrayView data)
{
    QElapsedTimer since;
    since.start();
    for (;;) {
        const int r = PQputCopyData(m_conn, data.data(), int(data.size()));
        if (r == 1)
            break;
        if (r < 0)
            return lost();
        if (!waitSocket(Wait::Write, since, answerTimeout()))
            return lost();
    }
    return flushOut(since);
}

bool Connection::endCopy(bool abort)
{
    QElapsedTimer since;
    since.start();
    for (;;) {
        const int r = PQputCopyEnd(m_conn, abort ? "annullato" : nullptr);
        if (r == 1)
            break;
        if (r < 0)
            return lost();
        if (!waitSocket(Wait::Write, since, answerTimeout()))
            return lost();
    }
    if (!flushOut(since))
        return false;
    return collect(nullptr, since);
}

} // namespace Server
