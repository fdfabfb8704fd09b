#pragma once
#include "server/Connection.h"
#include "storage/RecordLayout.h"

#include <QByteArray>
#include <QString>

#include <array>

// The tables of the archives on the server: one per kind of archive (the yearly registers
// with a year column), one bytea column per field, the position, a version raised by every
// rewrite, the whole record's bytes where its fields alone would not give them back, and
// the token of the save that appended the record. A table of positions holds, per archive,
// the count of its records: positions are handed out under that row's lock, so they stay
// gap-free and unique whatever number of computers append. A version table says which
// program made the tables and in which layout.
namespace Server {

enum class Kind { Products, Customers, Suppliers, Loads, Unloads };
inline constexpr std::array kKinds { Kind::Products, Kind::Customers, Kind::Suppliers, Kind::Loads,
    Kind::Unloads };

struct Table
{
    Kind kind;
    const char *name; // the table
    const char *key; // the archive kind in the table of positions
    const RecordLayout *layout;
    bool yearly;
};
const Table &tableOf(Kind kind);

// The archive a file name stands for: its kind and year (empty for the card archives);
// false for a name that is no archive of the program.
bool archiveOf(const QString &fileName, Kind *kind, QString *year);
QString fileNameOf(Kind kind, const QString &year);

// The quoted column of a field.
QByteArray columnOf(const RecordLayout &layout, int field);
// Every field's column, comma separated, in record order.
QByteArray fieldColumns(const Table &table);

// The layout of the tables this program writes; a database with a higher one was made by a
// newer program and is not touched.
inline constexpr int kSchemaVersion = 2;
inline constexpr char kPositions[] = "archive_positions";
inline constexpr char kVersionTable[] = "merventa_schema";

// Checks that the database is the program's (or empty) and, when create is set, creates or
// upgrades its tables, all in one transaction under a lock that keeps a second computer
// doing the same meanwhile. *present tells whether the tables are there afterwards. False
// and *error (Italian, for the user) when the database holds another program's tables of
// the same names, a newer layout, or cannot be prepared. A database of an older layout is
// brought to this one (when create is set).
bool prepareSchema(Connection &connection, bool create, bool *present, QString *error);

// A record's bytes from its stored fields (and the whole bytes when stored).
void assemble(const RecordLayout &layout, const Result &row, int r, int firstField, int rawColumn,
    QByteArray &out);
// The fields' texts of a record's bytes as they are stored (the length byte clamped to
// the capacity), and the whole bytes when the fields alone would not give them back
// (null otherwise).
QByteArrayView fieldText(const RecordLayout &layout, QByteArrayView record, int field);
bool needsRaw(const RecordLayout &layout, QByteArrayView record);

// Records sent in COPY's binary form: the statement for a table, the header, one record
// at its position, the end.
QByteArray copyStatement(const Table &table);
void copyHeader(QByteArray &out);
void copyRecord(
    QByteArray &out, const Table &table, const QByteArray &year, qint64 pos, QByteArrayView record);
void copyTrailer(QByteArray &out);

} // namespace Server
