#pragma once
#include "storage/Record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace Storage {
class Session;
}

// The lookup of the scan box: the products whose code (Codice) is a given code, trimmed at
// both ends and with letters compared without regard to case. The codes of the archive are
// read in one pass and kept while the archive does not change (as its storage stamp says),
// so the scans at a counter, one after the other, find their product at once; the product
// found is always read again from the archive and checked.
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

// Looks code up in the archive (its layout's first field is the code).
Result find(const Archive &archive, QStringView code);

// The code as compared: trimmed, in Windows-1252 with letters in upper case; nothing when
// it holds a character the archive cannot store (no stored code can then match).
std::optional<QByteArray> key(QStringView code);

// The key of a stored code field: the length byte (clamped to capacity), the text trimmed,
// letters in upper case.
QByteArray storedKey(QByteArrayView field, int capacity);

// The codes of one archive: every distinct key once, packed back to back in one buffer,
// behind an open-addressing hash table of their places; for each, the index of its first
// record and how many records have it. Building it allocates a few buffers for the whole
// archive, nothing per code.
class CodeIndex
{
public:
    struct Hit
    {
        qint64 first = 0; // 0-based index of the first record with the code
        int count = 0;
    };

    // Reads the code field of every record of the archive in one scan; false (and the
    // index empty) when the archive could not be read to its end.
    bool build(Storage::Session &archive, const RecordLayout &layout, int codeField);
    // Adds one record's code, given as its key.
    void add(QByteArrayView key, qint64 index);
    void clear();
    std::optional<Hit> find(QByteArrayView key) const;
    // How many distinct codes it holds.
    qsizetype size() const { return qsizetype(m_entries.size()); }

private:
    struct Entry
    {
        quint32 offset = 0; // of the key in m_codes
        quint32 hash = 0;
        qint64 first = 0;
        qint32 count = 0;
        quint16 length = 0;
    };
    void reserve(qint64 codes);
    void rehash(std::size_t tableSize);
    // The slot holding key, or the empty slot where it goes.
    std::size_t slotOf(QByteArrayView key, quint32 hash) const;

    std::vector<char> m_codes;
    std::vector<Entry> m_entries;
    // Entry index + 1 for each slot, 0 for an empty one; a power of two in size.
    std::vector<quint32> m_slots;
};

} // namespace CodeLookup
