#pragma once
#include "storage/Record.h"

#include <QString>
#include <QStringView>

#include <optional>

// The lookup of the scan box: the products whose code (Codice) is a given code, trimmed at
// both ends and with letters compared without regard to case. The codes of the archive are
// read in one pass and kept while the file does not change, so the scans at a counter,
// one after the other, find their product at once; the product found is always read
// again from the file.
namespace CodeLookup {

struct Result
{
    enum class Status {
        Found,
        NotFound,
        Unreadable // the archive could not be opened or read
    };
    Status status = Status::NotFound;
    qint64 position = 0; // 1-based position of the first product with the code
    int matches = 0; // how many products have it
    std::optional<Record> record; // the first one, read whole
};

// Looks code up in the archive's file (its layout's first field is the code).
Result find(const Archive &archive, QStringView code);

// The code as compared: trimmed, in Windows-1252 with letters in lower case; nothing when
// it holds a character the archive cannot store (no stored code can then match).
std::optional<QByteArray> key(QStringView code);

// The key of a stored code field: the length byte (clamped to capacity), the text trimmed,
// letters in lower case.
QByteArray storedKey(QByteArrayView field, int capacity);

} // namespace CodeLookup
