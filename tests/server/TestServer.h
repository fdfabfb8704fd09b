#pragma once
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include <libpq-fe.h>

#include <utility>

// The throwaway PostgreSQL cluster of the tests: scripts/test names it in
// MERVENTA_TEST_SERVER; a plain ctest run starts one through the CTest fixture, which notes
// its folder in the state file. An empty text when there is none (the tests then fail).
inline QString testServer()
{
    const QByteArray named = qgetenv("MERVENTA_TEST_SERVER");
    if (!named.isEmpty())
        return QString::fromUtf8(named);
#ifdef MERVENTA_CLUSTER_STATE
    QFile state(QStringLiteral(MERVENTA_CLUSTER_STATE));
    if (!state.open(QIODevice::ReadOnly))
        return {};
    const QString dir = QString::fromUtf8(state.readAll()).trimmed();
    QFile conninfo(dir + QStringLiteral("/conninfo"));
    if (!conninfo.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(conninfo.readAll()).trimmed();
#else
    return {};
#endif
}

// A connection string with some of its values replaced (dbname, user, password, host...),
// every value quoted as libpq reads it back.
inline QString withValues(const QString &base, const QList<std::pair<QString, QString>> &changes)
{
    QList<std::pair<QString, QString>> values;
    PQconninfoOption *options = PQconninfoParse(base.toUtf8().constData(), nullptr);
    for (PQconninfoOption *o = options; o && o->keyword; ++o) {
        if (o->val)
            values.append({ QString::fromUtf8(o->keyword), QString::fromUtf8(o->val) });
    }
    PQconninfoFree(options);
    for (const auto &change : changes) {
        bool replaced = false;
        for (auto &v : values) {
            if (v.first == change.first) {
                v.second = change.second;
                replaced = true;
            }
        }
        if (!replaced)
            values.append(change);
    }
    QStringList parts;
    for (const auto &v : values) {
        QString quoted = v.second;
        quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        quoted.replace(QLatin1Char('\''), QStringLiteral("\\'"));
        parts << v.first + QStringLiteral("='") + quoted + QLatin1Char('\'');
    }
    return parts.join(QLatin1Char(' '));
}

// The value of one key of a connection string.
inline QString valueOf(const QString &conninfo, const char *key)
{
    QString out;
    PQconninfoOption *options = PQconninfoParse(conninfo.toUtf8().constData(), nullptr);
    for (PQconninfoOption *o = options; o && o->keyword; ++o) {
        if (o->val && qstrcmp(o->keyword, key) == 0)
            out = QString::fromUtf8(o->val);
    }
    PQconninfoFree(options);
    return out;
}

// The superuser's connection to one database of the cluster, for setting up what a test
// needs (databases, roles, foreign tables) and looking at what the program stored.
class Admin
{
public:
    explicit Admin(const QString &conninfo)
        : m_conn(PQconnectdb(conninfo.toUtf8().constData()))
    {
    }
    ~Admin() { PQfinish(m_conn); }
    Admin(const Admin &) = delete;
    Admin &operator=(const Admin &) = delete;

    bool ok() const { return PQstatus(m_conn) == CONNECTION_OK; }
    QString error() const { return QString::fromUtf8(PQerrorMessage(m_conn)); }

    // Runs SQL (no parameters: the tests' own texts); false with error() on failure.
    bool run(const QString &sql)
    {
        PGresult *r = PQexec(m_conn, sql.toUtf8().constData());
        const ExecStatusType s = PQresultStatus(r);
        PQclear(r);
        return s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK;
    }
    // The first column of every row, as text (empty on failure).
    QStringList column(const QString &sql)
    {
        QStringList out;
        PGresult *r = PQexec(m_conn, sql.toUtf8().constData());
        if (PQresultStatus(r) == PGRES_TUPLES_OK) {
            for (int i = 0; i < PQntuples(r); ++i)
                out << QString::fromUtf8(PQgetvalue(r, i, 0));
        }
        PQclear(r);
        return out;
    }
    QString value(const QString &sql)
    {
        const QStringList c = column(sql);
        return c.isEmpty() ? QString() : c.first();
    }
    // An identifier or literal quoted by the server's rules.
    QString ident(const QString &name)
    {
        const QByteArray utf8 = name.toUtf8();
        char *q = PQescapeIdentifier(m_conn, utf8.constData(), size_t(utf8.size()));
        const QString out = QString::fromUtf8(q);
        PQfreemem(q);
        return out;
    }
    QString literal(const QString &text)
    {
        const QByteArray utf8 = text.toUtf8();
        char *q = PQescapeLiteral(m_conn, utf8.constData(), size_t(utf8.size()));
        const QString out = QString::fromUtf8(q);
        PQfreemem(q);
        return out;
    }

private:
    PGconn *m_conn;
};

// A new empty database of the cluster (named after the test) and its connection string.
inline QString freshDatabase(const QString &server, const QString &name)
{
    Admin admin(server);
    if (!admin.ok())
        return {};
    admin.run(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(admin.ident(name)));
    if (!admin.run(QStringLiteral("CREATE DATABASE %1").arg(admin.ident(name))))
        return {};
    return withValues(server, { { QStringLiteral("dbname"), name } });
}
