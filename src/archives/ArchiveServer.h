#pragma once
#include <QString>

#include <functional>
#include <memory>

namespace Storage {
class Backend;
}

// The calls the screens make to the server of the archives: connecting, a test of the
// connection, the transfer of the program folder's archives to the server and their copy
// back. The program installs the PostgreSQL ones at start-up (archives/ServerCalls.h);
// tests may install their own. Without them every call answers that no server can be
// reached.
namespace ArchiveServer {

struct Probe
{
    bool ok = false;
    // The answer in words a shop owner understands.
    QString message;
    // The records on the server in all; -1 when unknown.
    qint64 records = -1;
};

// done of total; returning false cancels.
using Progress = std::function<bool(qint64 done, qint64 total)>;

struct Calls
{
    std::function<std::shared_ptr<Storage::Backend>(const QString &connection, QString *error)>
        connect;
    std::function<Probe(const QString &connection)> probe;
    std::function<bool(
        const QString &connection, const QString &folder, const Progress &progress, QString *error)>
        transfer;
    std::function<bool(const QString &connection, const QString &folder, QString *error)> copyBack;
};

// An empty Calls brings back the answers of a program without a server.
void install(Calls calls);

std::shared_ptr<Storage::Backend> connect(const QString &connection, QString *error);
Probe probe(const QString &connection);
bool transfer(
    const QString &connection, const QString &folder, const Progress &progress, QString *error);
bool copyBack(const QString &connection, const QString &folder, QString *error);

// The switch of every later opening of an archive (Storage::setBackend). useServer
// connects first: when it cannot, error says why and the archives stay where they were.
bool useServer(const QString &connection, QString *error);
// The same with a backend already connected.
void useBackend(std::shared_ptr<Storage::Backend> backend);
void useFolder();
// True while the archives are on a server.
bool onServer();

} // namespace ArchiveServer
