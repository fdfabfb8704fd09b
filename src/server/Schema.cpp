#include "server/Schema.h"

#include "records/CustomerRecord.h"
#include "records/MovementRecord.h"
#include "records/ProductRecord.h"
#include "records/SupplierRecord.h"
#include "storage/StoredField.h"

#include <QRegularExpression>
#include <QtEndian>

#include <cstring>

namespace Server {

namespace {

const std::array<Table, 5> &tables()
{
    static const std::array<Table, 5> all { {
        { Kind::Products, "products", "products", &ProductRecord::layout(), false },
        { Kind::Customers, "customers", "customers", &CustomerRecord::layout(), false },
        { Kind::Suppliers, "suppliers", "suppliers", &SupplierRecord::layout(), false },
        { Kind::Loads, "loads", "loads", &MovementRecord::layout(), true },
        { Kind::Unloads, "unloads", "unloads", &MovementRecord::layout(), true },
    } };
    return all;
}

// The key every copy of the program takes before looking at or changing the tables.
constexpr qint64 kSchemaLock = 0x4d4552564e5441; // "MERVNTA"
constexpr char kProgram[] = "Merventa";

QByteArray createStatement(const Table &t)
{
    QByteArray sql = QByteArray("CREATE TABLE ") + t.name + " (";
    if (t.yearly)
        sql += "year text NOT NULL, ";
    sql += "pos bigint NOT NULL CHECK (pos >= 0), version bigint NOT NULL DEFAULT 1, "
           "token uuid, ";
    sql += "raw bytea CHECK (raw IS NULL OR octet_length(raw) = "
        + QByteArray::number(t.layout->recordSize()) + "), ";
    for (int i = 0; i < t.layout->fieldCount(); ++i) {
        const QByteArray column = columnOf(*t.layout, i);
        sql += column + " bytea NOT NULL DEFAULT ''::bytea CHECK (octet_length(" + column
            + ") <= " + QByteArray::number(t.layout->field(i).capacity) + "), ";
    }
    sql += t.yearly ? "PRIMARY KEY (year, pos))" : "PRIMARY KEY (pos))";
    return sql;
}

bool rollBack(Connection &c)
{
    if (c.usable())
        c.exec("ROLLBACK");
    return false;
}

QString otherProgramText(const QStringList &names)
{
    return QStringLiteral("Il database contiene già tabelle di un altro programma con gli "
                          "stessi nomi (%1): indicare un database vuoto o riservato a Merventa.")
        .arg(names.join(QStringLiteral(", ")));
}

} // namespace

const Table &tableOf(Kind kind)
{
    return tables()[std::size_t(kind)];
}

bool archiveOf(const QString &fileName, Kind *kind, QString *year)
{
    static const QRegularExpression yearly(QStringLiteral("^(Carico|Scarico)_(.{1,16})\\.mrv$"));
    const QRegularExpressionMatch m = yearly.match(fileName);
    if (m.hasMatch()) {
        *kind = m.captured(1) == QLatin1StringView("Carico") ? Kind::Loads : Kind::Unloads;
        *year = m.captured(2);
        return true;
    }
    year->clear();
    if (fileName == QLatin1StringView(ProductRecord::kFileName))
        *kind = Kind::Products;
    else if (fileName == QLatin1StringView(CustomerRecord::kFileName))
        *kind = Kind::Customers;
    else if (fileName == QLatin1StringView(SupplierRecord::kFileName))
        *kind = Kind::Suppliers;
    else
        return false;
    return true;
}

QString fileNameOf(Kind kind, const QString &year)
{
    switch (kind) {
    case Kind::Products:
        return QString::fromLatin1(ProductRecord::kFileName);
    case Kind::Customers:
        return QString::fromLatin1(CustomerRecord::kFileName);
    case Kind::Suppliers:
        return QString::fromLatin1(SupplierRecord::kFileName);
    case Kind::Loads:
        return QStringLiteral("Carico_") + year + QStringLiteral(".mrv");
    case Kind::Unloads:
        return QStringLiteral("Scarico_") + year + QStringLiteral(".mrv");
    }
    return {};
}

QByteArray columnOf(const RecordLayout &layout, int field)
{
    // The names come from the program's own layouts (letters, digits, underscores), never
    // from what a user typed.
    return '"' + QByteArray(layout.field(field).name).toLower() + '"';
}

QByteArray fieldColumns(const Table &table)
{
    QByteArray out;
    for (int i = 0; i < table.layout->fieldCount(); ++i) {
        if (i)
            out += ", ";
        out += columnOf(*table.layout, i);
    }
    return out;
}

// Takes the tables from the layout stored to this program's, one step after another, and
// commits; the transaction and the lock of prepareSchema are held.
static bool upgrade(Connection &c, qint64 stored, bool create, bool *present, QString *error)
{
    auto failed = [&]() {
        *error = c.fault() == Fault::Denied
            ? QStringLiteral("Gli archivi sul server vanno aggiornati e l'utente del server non "
                             "ha il permesso di farlo: aprire il programma con un utente che "
                             "possa modificarli.")
            : c.fault() == Fault::Lost ? lostText()
                                       : c.error();
        return rollBack(c);
    };
    // Only looked at (a probe): the records are there, the upgrade waits for a connection
    // that may make it.
    if (!create) {
        rollBack(c);
        *present = true;
        return true;
    }
    // 2: the documents attached to the cards, kept with the records.
    if (stored < 2
        && (!c.exec("CREATE TABLE documents (name text PRIMARY KEY, content bytea NOT NULL, "
                    "stored timestamptz NOT NULL DEFAULT now())")
            || !c.exec("UPDATE merventa_schema SET version = 2")))
        return failed();
    if (!c.exec("COMMIT"))
        return failed();
    *present = true;
    return true;
}

bool prepareSchema(Connection &c, bool create, bool *present, QString *error)
{
    *present = false;
    auto refuse = [&](const QString &text) {
        *error = text;
        return rollBack(c);
    };
    auto failed = [&]() {
        *error = c.fault() == Fault::Denied
            ? QStringLiteral("Il database non contiene ancora gli archivi di Merventa e "
                             "l'utente del server non ha il permesso di crearli.")
            : c.error();
        return rollBack(c);
    };
    if (!c.exec("BEGIN")
        || !c.exec("SELECT pg_advisory_xact_lock($1)", { Param::number(kSchemaLock) }))
        return failed();
    QByteArray names = QByteArray("{") + kVersionTable + "," + kPositions + ",documents";
    for (const Table &t : tables())
        names += QByteArray(",") + t.name;
    names += "}";
    Result found;
    if (!c.exec("SELECT name FROM unnest($1::text[]) AS name "
                "WHERE to_regclass(quote_ident(name)) IS NOT NULL",
            { Param { names, false, false } }, &found))
        return failed();
    QStringList existing;
    for (int r = 0; r < found.rows(); ++r)
        existing << found.text(r, 0);
    if (existing.contains(QLatin1StringView(kVersionTable))) {
        Result version;
        if (!c.exec("SELECT program, version FROM merventa_schema", {}, &version)
            || version.rows() != 1 || version.text(0, 0) != QLatin1StringView(kProgram)) {
            if (c.fault() == Fault::Lost)
                return failed();
            return refuse(otherProgramText(existing));
        }
        const qint64 stored = version.integer(0, 1);
        if (stored > kSchemaVersion)
            return refuse(QStringLiteral("Gli archivi sul server sono stati creati da una "
                                         "versione più recente di Merventa (schema %1; questa "
                                         "versione conosce fino allo schema %2): aggiornare il "
                                         "programma su questo computer.")
                              .arg(stored)
                              .arg(kSchemaVersion));
        if (stored < 1)
            return refuse(otherProgramText(existing));
        return upgrade(c, stored, create, present, error);
    }
    if (!existing.isEmpty())
        return refuse(otherProgramText(existing));
    if (!create) {
        c.exec("ROLLBACK");
        return true;
    }
    // The first layout, then the steps that lead from it to this program's.
    if (!c.exec("CREATE TABLE merventa_schema (program text NOT NULL, version integer NOT NULL, "
                "created timestamptz NOT NULL DEFAULT now())")
        || !c.exec("INSERT INTO merventa_schema (program, version) VALUES ($1, 1)",
            { Param::text(QString::fromLatin1(kProgram)) })
        || !c.exec("CREATE TABLE archive_positions (kind text NOT NULL, year text NOT NULL, "
                   "records bigint NOT NULL CHECK (records >= 0), PRIMARY KEY (kind, year))"))
        return failed();
    for (const Table &t : tables()) {
        if (!c.exec(createStatement(t).constData()))
            return failed();
    }
    return upgrade(c, 1, create, present, error);
}

QByteArrayView fieldText(const RecordLayout &layout, QByteArrayView record, int field)
{
    return storedText(record, layout.offset(field), layout.field(field).capacity, Trim::None);
}

bool needsRaw(const RecordLayout &layout, QByteArrayView record)
{
    if (record.size() != layout.recordSize())
        return true;
    for (int i = 0; i < layout.fieldCount(); ++i) {
        const int offset = layout.offset(i);
        const int capacity = layout.field(i).capacity;
        const auto length = static_cast<unsigned char>(record[offset]);
        if (length > capacity)
            return true;
        for (int b = offset + 1 + length; b <= offset + capacity; ++b) {
            if (record[b] != 0)
                return true;
        }
    }
    return false;
}

void assemble(const RecordLayout &layout, const Result &row, int r, int firstField, int rawColumn,
    QByteArray &out)
{
    out.resize(layout.recordSize());
    if (rawColumn >= 0 && !row.isNull(r, rawColumn)) {
        const QByteArrayView raw = row.bytes(r, rawColumn);
        if (raw.size() == out.size()) {
            std::memcpy(out.data(), raw.data(), std::size_t(raw.size()));
            return;
        }
    }
    out.fill('\0');
    for (int i = 0; i < layout.fieldCount(); ++i) {
        const QByteArrayView text = row.bytes(r, firstField + i);
        const int length = int(std::min<qsizetype>(text.size(), layout.field(i).capacity));
        out[layout.offset(i)] = char(length);
        if (length)
            std::memcpy(out.data() + layout.offset(i) + 1, text.data(), std::size_t(length));
    }
}

// COPY's binary form: a header, then per record its values each with its length.
namespace {

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

} // namespace

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

void copyTrailer(QByteArray &out)
{
    putInt16(out, -1);
}

QByteArray copyStatement(const Table &t)
{
    return QByteArray("COPY ") + t.name + " (" + (t.yearly ? "year, " : "") + "pos, raw, "
        + fieldColumns(t) + ") FROM STDIN (FORMAT binary)";
}

} // namespace Server
