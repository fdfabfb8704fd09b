#include "archives/ServerCalls.h"

#include "server/ServerBackend.h"

namespace ServerCalls {

ArchiveServer::Calls postgres()
{
    ArchiveServer::Calls calls;
    calls.connect = &Server::connect;
    calls.probe = [](const QString &connection) {
        const Server::Probe answer = Server::probe(connection);
        return ArchiveServer::Probe { answer.ok, answer.message, answer.records };
    };
    calls.transfer = &Server::transfer;
    calls.copyBack = &Server::copyBack;
    return calls;
}

} // namespace ServerCalls
