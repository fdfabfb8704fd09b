#pragma once
#include "storage/ProgramFolder.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A fresh program folder for one test: the program reads and writes its archives here
// until the object is destroyed.
class TempProgramFolder
{
public:
    TempProgramFolder() { ProgramFolder::setPath(m_dir.path()); }
    ~TempProgramFolder() { ProgramFolder::setPath(QString()); }
    TempProgramFolder(const TempProgramFolder &) = delete;
    TempProgramFolder &operator=(const TempProgramFolder &) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    QByteArray readAll(const QString &name) const
    {
        QFile f(filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool isValid() const { return m_dir.isValid(); }

private:
    QTemporaryDir m_dir;
};
