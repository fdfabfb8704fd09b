#include "labels/CodeLookup.h"

#include "storage/Cp1252.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include <QFile>

#include <array>
#include <cstring>

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

bool sameCode(
    QByteArrayView stored, const QByteArray &key, const std::array<unsigned char, 256> &lower)
{
    if (stored.size() != key.size())
        return false;
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (lower[static_cast<unsigned char>(stored[i])] != static_cast<unsigned char>(key[i]))
            return false;
    }
    return true;
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

Result find(const Archive &archive, QStringView code)
{
    Result result;
    RecordFile file;
    if (!file.open(archive, RecordFile::Access::ReadOnly)) {
        result.status = Result::Status::Unreadable;
        return result;
    }
    const std::optional<QByteArray> wanted = key(code);
    const RecordLayout &layout = *archive.layout;
    const int capacity = layout.field(0).capacity;
    const qint64 count = file.recordCount();
    const qint64 size = file.recordSize();
    if (!wanted || wanted->isEmpty() || count == 0)
        return result;
    const auto &lower = lowerTable();
    qint64 first = -1;
    auto test = [&](qint64 index, QByteArrayView bytes) {
        if (sameCode(storedText(bytes.first(capacity + 1), capacity), *wanted, lower)) {
            if (first < 0)
                first = index;
            ++result.matches;
        }
    };

    // The file mapped into memory: only the pages that hold the codes are touched.
    QFile mapped(file.filePath());
    uchar *data = nullptr;
    if (mapped.open(QIODevice::ReadOnly))
        data = mapped.map(0, count * size);
    if (data) {
        for (qint64 i = 0; i < count; ++i)
            test(i, QByteArrayView(reinterpret_cast<const char *>(data) + i * size, capacity + 1));
        mapped.unmap(data);
    } else {
        // Where the file cannot be mapped, one pass in large blocks.
        file.seek(0);
        for (qint64 i = 0; i < count; ++i) {
            const QByteArrayView bytes = file.nextRecord();
            if (bytes.isEmpty()) {
                result = {};
                result.status = Result::Status::Unreadable;
                return result;
            }
            test(i, bytes);
        }
    }
    if (first < 0)
        return result;
    Record record(layout);
    if (!file.readAt(first, record)) {
        result = {};
        result.status = Result::Status::Unreadable;
        return result;
    }
    result.status = Result::Status::Found;
    result.position = first + 1;
    result.record = std::move(record);
    return result;
}

} // namespace CodeLookup
