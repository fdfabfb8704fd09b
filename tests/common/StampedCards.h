#pragma once
// Product cards that say in every part which record and which version they are, so that a
// record torn by a crash (part of one version, part of another) is seen at once; shared by
// the storage fault tests and the fault driver.
#include "records/ProductRecord.h"
#include "storage/Record.h"
#include "storage/RecordFile.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QThread>

#include <cstdio>

// The fields of a test card that carry its stamp: spread over the whole 4874 bytes, so a
// record torn at any page boundary has fields that disagree.
inline const int kStampFields[]
    = { ProductRecord::Tipologia, ProductRecord::Descrizione, ProductRecord::Documento,
          ProductRecord::Collocazione, ProductRecord::Note, ProductRecord::File02,
          ProductRecord::Desc01, ProductRecord::Desc03, ProductRecord::CartellaDesc };

// A card whose every stamped field says which record and which version it is. The
// fields are filled to their capacity so that every byte of the record changes from one
// version to the next.
inline QByteArray card(qint64 index, qint64 version)
{
    Record r(ProductRecord::layout());
    r.setValue(ProductRecord::Codice, QStringLiteral("P%1").arg(index));
    const QString stamp = QStringLiteral("%1:%2;").arg(index).arg(version);
    for (int f : kStampFields)
        r.setValue(f, stamp.repeated(250 / int(stamp.size()) + 1).left(250));
    return r.encode();
}

struct Stamp
{
    bool whole = false; // every stamped field agrees
    qint64 index = -1;
    qint64 version = -1;
};

inline Stamp stampOf(const QByteArray &bytes)
{
    Record r(ProductRecord::layout());
    r.decode(bytes);
    Stamp s;
    const QString first = r.value(kStampFields[0]);
    for (int f : kStampFields) {
        if (r.value(f) != first)
            return s;
    }
    const QStringList parts = first.section(QLatin1Char(';'), 0, 0).split(QLatin1Char(':'));
    if (parts.size() != 2 || r.value(ProductRecord::Codice) != QLatin1Char('P') + parts[0])
        return s;
    s.whole = true;
    s.index = parts[0].toLongLong();
    s.version = parts[1].toLongLong();
    return s;
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A child process's work: rewrites card index with version and crashes inside the
// overwrite, where no kill at random lands: half of the new bytes are on disk when it says
// "inside" on stdout and waits to be killed, holding the lock.
inline int crashInsideOverwrite(const QString &path, qint64 index, qint64 version)
{
    RecordFile::setLockTimeout(30000);
    RecordFile file;
    if (!file.openPath(path, ProductRecord::layout())) {
        std::fprintf(stderr, "open failed: %s\n", qPrintable(file.errorString()));
        return 2;
    }
    const QByteArray bytes = card(index, version);
    RecordFile::setFaultHook([&](RecordFile::IoStep step) {
        if (step == RecordFile::IoStep::ArchiveWrite) {
            QFile raw(path);
            if (raw.open(QIODevice::ReadWrite) && raw.seek(index * ProductRecord::kRecordSize))
                raw.write(bytes.left(bytes.size() / 2));
            raw.close();
            std::printf("inside\n");
            std::fflush(stdout);
            QThread::sleep(600);
        }
        return RecordFile::IoFault::None;
    });
    if (!file.writeAt(index, bytes))
        std::fprintf(stderr, "rewrite failed: %s\n", qPrintable(file.errorString()));
    return 3;
}
