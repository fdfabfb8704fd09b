#pragma once
#include "common/TempProgramFolder.h"
#include "storage/Record.h"
#include "storage/RecordLayout.h"

#include <QList>
#include <QString>

// The records of a file in the program folder, read straight from its bytes; a trailing
// piece shorter than a record is left out.
inline QList<Record> recordsOf(
    const TempProgramFolder &folder, const QString &fileName, const RecordLayout &layout)
{
    const QByteArray bytes = folder.readAll(fileName);
    const qsizetype size = layout.recordSize();
    QList<Record> records;
    for (qsizetype at = 0; at + size <= bytes.size(); at += size)
        records.append(Record::fromBytes(layout, QByteArrayView(bytes).sliced(at, size)));
    return records;
}
