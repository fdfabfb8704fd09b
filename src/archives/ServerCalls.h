#pragma once
#include "archives/ArchiveServer.h"

// The calls of the archives screens bound to the PostgreSQL backend (server/), which the
// program installs at start-up with ArchiveServer::install.
namespace ServerCalls {

ArchiveServer::Calls postgres();

} // namespace ServerCalls
