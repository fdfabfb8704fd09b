#pragma once
#include "storage/Storage.h"

#include <QString>

#include <functional>
#include <memory>

// The archives on a PostgreSQL server, for shops where several computers work on the same
// products, customers, suppliers and movements: a storage backend behind the same calls
// as the files of the program folder, so no screen knows which one it talks to.
namespace Server {

// A backend on the server named by a libpq connection string; nullptr and *error (Italian,
// for the user) when it cannot connect or the database is not usable. The program creates
// and upgrades its tables itself.
std::shared_ptr<Storage::Backend> connect(const QString &connectionString, QString *error);

// Tries the connection and says how it went in words a shop owner understands; records is
// how many records the server holds in all (-1 when it could not tell).
struct Probe
{
    bool ok = false;
    QString message;
    qint64 records = -1;
};
Probe probe(const QString &connectionString);

// Copies every archive of the folder (Magazzino.mrv, Clienti.mrv, Fornitori.mrv,
// Carico_*.mrv, Scarico_*.mrv) to the server, replacing what it holds, in one transaction;
// progress(done, total) returns false to cancel (nothing changed then).
bool transfer(const QString &connectionString, const QString &folder,
    const std::function<bool(qint64 done, qint64 total)> &progress, QString *error);

// Writes the server's archives into the folder as .mrv files byte-identical to those the
// file backend writes.
bool copyBack(const QString &connectionString, const QString &folder, QString *error);

} // namespace Server
