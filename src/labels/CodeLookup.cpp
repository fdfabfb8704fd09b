#include "labels/CodeLookup.h"

#include "storage/Cp1252.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include <QFileInfo>
#include <QHash>

#include <array>
#include <filesystem>

namespace CodeLookup {

namespace {

// Every byte of Windows-1252 to the byte of its lower-case letter (itself when it is no
// capital letter or its lower case is not in the code page).
const std::array<unsigned char, 256> &lowerTable()
{
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t {};
        for (int b = 0; b < 256; ++b) {
            const QChar c = Cp1252::decodeByte(static_cast<unsigned char>(b));
            const QChar lower = c.toLower();
            const auto e = static_cast<unsigned char>(Cp1252::encodeChar(lower));
            t[std::size_t(b)] = Cp1252::decodeByte(e) == lower ? e : static_cast<unsigned char>(b);
        }
        return t;
    }();
    return table;
}

// The trimmed text of a stored field (characters of code 32 or less cut at both ends).
QByteArrayView storedText(QByteArrayView field, int capacity)
{
    if (field.isEmpty())
        return {};
    const qsizetype length
        = std::min<qsizetype>({ static_cast<unsigned char>(field[0]), capacity, field.size() - 1 });
    QByteArrayView text = field.sliced(1, length);
    while (!text.isEmpty() && static_cast<unsigned char>(text.front()) <= 32)
        text = text.sliced(1);
    while (!text.isEmpty() && static_cast<unsigned char>(text.back()) <= 32)
        text.chop(1);
    return text;
}

} // namespace

std::optional<QByteArray> key(QStringView code)
{
    const QStringView trimmed = TrimControlView(code);
    QByteArray bytes = Cp1252::encode(trimmed);
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        if (bytes[i] == '?' && trimmed[i] != u'?')
            return std::nullopt;
    }
    const auto &lower = lowerTable();
    for (char &b : bytes)
        b = static_cast<char>(lower[static_cast<unsigned char>(b)]);
    return bytes;
}

QByteArray storedKey(QByteArrayView field, int capacity)
{
    QByteArray bytes = storedText(field, capacity).toByteArray();
    const auto &lower = lowerTable();
    for (char &b : bytes)
        b = static_cast<char>(lower[static_cast<unsigned char>(b)]);
    return bytes;
}

namespace {

// The codes of one archive file as they were when it was last read: each code's key, the
// index of its first record and how many records have it. Valid while the file keeps its
// size and its time of last change (to the nanosecond where the system keeps it); every
// found record is read again and checked, and a record that no longer has the code makes
// the index be read afresh.
struct Index
{
    struct Entry
    {
        qint64 first = 0;
        int count = 0;
    };
    QString path;
    qint64 size = -1;
    std::filesystem::file_time_type changed;
    QHash<QByteArray, Entry> codes;

    bool matches(const QString &file, qint64 fileSize,
        const std::filesystem::file_time_type &fileChanged) const
    {
        return path == file && size == fileSize && changed == fileChanged;
    }
};

Index &cachedIndex()
{
    static Index index;
    return index;
}

std::optional<std::filesystem::file_time_type> changeTime(const QString &path)
{
    std::error_code error;
    const auto time = std::filesystem::last_write_time(path.toStdU16String(), error);
    if (error)
        return std::nullopt;
    return time;
}

// Reads every code of the open file in one pass of large blocks; false when a record
// cannot be read.
bool readIndex(RecordFile &file, int capacity, Index &index)
{
    index.codes.clear();
    index.path.clear();
    index.codes.reserve(file.recordCount());
    const auto &lower = lowerTable();
    file.seek(0);
    const qint64 count = file.recordCount();
    QByteArray key;
    for (qint64 i = 0; i < count; ++i) {
        const QByteArrayView bytes = file.nextRecord();
        if (bytes.isEmpty())
            return false;
        const QByteArrayView text = storedText(bytes.first(capacity + 1), capacity);
        key.resize(text.size());
        for (qsizetype c = 0; c < text.size(); ++c)
            key[c] = static_cast<char>(lower[static_cast<unsigned char>(text[c])]);
        Index::Entry &entry = index.codes[key];
        if (entry.count++ == 0)
            entry.first = i;
    }
    return true;
}

} // namespace

Result find(const Archive &archive, QStringView code)
{
    Result result;
    const auto unreadable = [] {
        Result r;
        r.status = Result::Status::Unreadable;
        return r;
    };
    RecordFile file;
    if (!file.open(archive, RecordFile::Access::ReadOnly))
        return unreadable();
    const std::optional<QByteArray> wanted = key(code);
    if (!wanted || wanted->isEmpty())
        return result;
    const RecordLayout &layout = *archive.layout;
    const int capacity = layout.field(0).capacity;
    const QString path = file.filePath();
    const qint64 size = QFileInfo(path).size();
    const std::optional<std::filesystem::file_time_type> changed = changeTime(path);
    Index &index = cachedIndex();
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (attempt > 0 || !changed || !index.matches(path, size, *changed)) {
            if (!readIndex(file, capacity, index))
                return unreadable();
            if (changed) {
                index.path = path;
                index.size = size;
                index.changed = *changed;
            }
        }
        const auto it = index.codes.constFind(*wanted);
        if (it == index.codes.cend())
            return result;
        Record record(layout);
        QByteArray bytes;
        if (!file.readAt(it->first, bytes))
            return unreadable();
        if (storedKey(QByteArrayView(bytes).first(capacity + 1), capacity) != *wanted)
            continue; // changed since the index was read
        record.decode(bytes);
        result.status = Result::Status::Found;
        result.position = it->first + 1;
        result.matches = it->count;
        result.record = std::move(record);
        return result;
    }
    return unreadable();
}

} // namespace CodeLookup
