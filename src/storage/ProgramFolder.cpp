#include "storage/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString g_folder;
}

namespace ProgramFolder {
QString path()
{
    if (!g_folder.isEmpty())
        return g_folder;
    return QCoreApplication::applicationDirPath();
}

QString filePath(const QString &fileName)
{
    return QDir(path()).filePath(fileName);
}

void setPath(const QString &folder)
{
    g_folder = folder;
}
} // namespace ProgramFolder
