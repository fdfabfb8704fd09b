#include "archives/ArchiveServer.h"

#include "storage/Storage.h"

namespace ArchiveServer {

namespace {

Calls &installed()
{
    static Calls calls;
    return calls;
}

bool &usingServer()
{
    static bool server = false;
    return server;
}

const QString kNoServer
    = QStringLiteral("Questa copia del programma non sa collegarsi a un server di archivi.");

} // namespace

void install(Calls calls)
{
    installed() = std::move(calls);
}

std::shared_ptr<Storage::Backend> connect(const QString &connection, QString *error)
{
    if (!installed().connect) {
        if (error)
            *error = kNoServer;
        return nullptr;
    }
    QString why;
    std::shared_ptr<Storage::Backend> backend = installed().connect(connection, &why);
    if (!backend && error)
        *error = why.isEmpty() ? QStringLiteral("Il server non ha risposto.") : why;
    return backend;
}

Probe probe(const QString &connection)
{
    if (!installed().probe)
        return { false, kNoServer, -1 };
    return installed().probe(connection);
}

bool transfer(
    const QString &connection, const QString &folder, const Progress &progress, QString *error)
{
    if (!installed().transfer) {
        if (error)
            *error = kNoServer;
        return false;
    }
    return installed().transfer(connection, folder, progress, error);
}

bool copyBack(const QString &connection, const QString &folder, QString *error)
{
    if (!installed().copyBack) {
        if (error)
            *error = kNoServer;
        return false;
    }
    return installed().copyBack(connection, folder, error);
}

bool useServer(const QString &connection, QString *error)
{
    std::shared_ptr<Storage::Backend> backend = connect(connection, error);
    if (!backend)
        return false;
    useBackend(std::move(backend));
    return true;
}

void useBackend(std::shared_ptr<Storage::Backend> backend)
{
    Storage::setBackend(std::move(backend));
    usingServer() = true;
}

void useFolder()
{
    Storage::setBackend(nullptr);
    usingServer() = false;
}

bool onServer()
{
    return usingServer();
}

} // namespace ArchiveServer
