#include "labels/CodeLookup.h"

#include "storage/Cp1252.h"
#include "storage/ProgramFolder.h"
#include "storage/Storage.h"
#include "storage/StoredField.h"
#include "storage/TextForms.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace CodeLookup {

namespace {

// Every byte of Windows-1252 to the byte of its capital letter (itself when it is no small
// letter or its capital is not in the code page).
const std::array<unsigned char, 256> &upperTable()
{
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t {};
        for (int b = 0; b < 256; ++b) {
            const QChar c = Cp1252::decodeByte(static_cast<unsigned char>(b));
            const QChar upper = c.toUpper();
            const auto e = static_cast<unsigned char>(Cp1252::encodeChar(upper));
            t[std::size_t(b)] = Cp1252::decodeByte(e) == upper ? e : static_cast<unsigned char>(b);
        }
        return t;
    }();
    return table;
}

// Folds text into out (at least text.size() bytes).
void fold(QByteArrayView text, char *out)
{
    const auto &upper = upperTable();
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = static_cast<char>(upper[static_cast<unsigned char>(text[i])]);
}

// FNV-1a: short keys, one pass.
quint32 hashOf(QByteArrayView key)
{
    quint32 h = 2166136261u;
    for (const char c : key) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    return h;
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
    fold(bytes, bytes.data());
    return bytes;
}

QByteArray storedKey(QByteArrayView field, int capacity)
{
    QByteArray bytes = storedText(field, 0, capacity, Trim::Controls).toByteArray();
    fold(bytes, bytes.data());
    return bytes;
}

void CodeIndex::clear()
{
    m_codes.clear();
    m_entries.clear();
    m_slots.clear();
}

void CodeIndex::reserve(qint64 codes)
{
    codes = std::max<qint64>(codes, 8);
    // Codes are a dozen characters as a rule (EAN-13); the buffer grows past that if need be.
    m_codes.reserve(std::size_t(codes) * 14);
    m_entries.reserve(std::size_t(codes));
    std::size_t tableSize = 16;
    while (tableSize < std::size_t(codes) * 2)
        tableSize *= 2;
    rehash(tableSize);
}

void CodeIndex::rehash(std::size_t tableSize)
{
    m_slots.assign(tableSize, 0);
    const std::size_t mask = tableSize - 1;
    for (std::size_t e = 0; e < m_entries.size(); ++e) {
        std::size_t s = m_entries[e].hash & mask;
        while (m_slots[s] != 0)
            s = (s + 1) & mask;
        m_slots[s] = quint32(e + 1);
    }
}

std::size_t CodeIndex::slotOf(QByteArrayView key, quint32 hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    std::size_t s = hash & mask;
    for (;;) {
        const quint32 taken = m_slots[s];
        if (taken == 0)
            return s;
        const Entry &e = m_entries[taken - 1];
        if (e.hash == hash && e.length == key.size()
            && std::memcmp(m_codes.data() + e.offset, key.data(), std::size_t(key.size())) == 0)
            return s;
        s = (s + 1) & mask;
    }
}

void CodeIndex::add(QByteArrayView key, qint64 index)
{
    // At most half full, so that a probe stays short and always meets an empty slot.
    if (m_slots.empty() || (m_entries.size() + 1) * 2 > m_slots.size())
        rehash(std::max<std::size_t>(16, m_slots.size() * 2));
    const quint32 hash = hashOf(key);
    const std::size_t s = slotOf(key, hash);
    if (m_slots[s] != 0) {
        ++m_entries[m_slots[s] - 1].count;
        return;
    }
    Entry e;
    e.offset = quint32(m_codes.size());
    e.hash = hash;
    e.first = index;
    e.count = 1;
    e.length = quint16(key.size());
    m_codes.insert(m_codes.end(), key.begin(), key.end());
    m_entries.push_back(e);
    m_slots[s] = quint32(m_entries.size());
}

std::optional<CodeIndex::Hit> CodeIndex::find(QByteArrayView key) const
{
    if (m_slots.empty())
        return std::nullopt;
    const quint32 taken = m_slots[slotOf(key, hashOf(key))];
    if (taken == 0)
        return std::nullopt;
    const Entry &e = m_entries[taken - 1];
    return Hit { e.first, e.count };
}

bool CodeIndex::build(Storage::Session &archive, const RecordLayout &layout, int codeField)
{
    clear();
    reserve(archive.recordCount());
    const int offset = layout.offset(codeField);
    const int capacity = layout.field(codeField).capacity;
    // A stored field holds at most 255 bytes of text.
    std::array<char, 256> folded;
    const int fields[] = { codeField };
    const bool read = archive.scan(fields, [&](qint64 index, QByteArrayView record) {
        const QByteArrayView text = storedText(record, offset, capacity, Trim::Controls);
        fold(text, folded.data());
        add(QByteArrayView(folded.data(), text.size()), index);
        return true;
    });
    if (!read)
        clear();
    return read;
}

namespace {

// The index of the archive looked up last, with what it was built from.
struct CachedIndex
{
    QString file;
    const RecordLayout *layout = nullptr;
    QByteArray stamp; // empty: not to be used again
    CodeIndex codes;
};

CachedIndex &cachedIndex()
{
    static CachedIndex cached;
    return cached;
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
    const std::unique_ptr<Storage::Session> session
        = Storage::open(archive, Storage::Access::ReadOnly);
    if (!session)
        return unreadable();
    const std::optional<QByteArray> wanted = key(code);
    if (!wanted || wanted->isEmpty())
        return result;
    const RecordLayout &layout = *archive.layout;
    constexpr int kCodeField = 0;
    const int offset = layout.offset(kCodeField);
    const int capacity = layout.field(kCodeField).capacity;
    const QString file = ProgramFolder::filePath(archive.fileName);
    CachedIndex &cached = cachedIndex();
    for (int attempt = 0; attempt < 2; ++attempt) {
        // Taken before the scan: a change during the scan makes the next stamp another.
        const QByteArray stamp = session->contentStamp();
        const bool kept = attempt == 0 && !stamp.isEmpty() && cached.stamp == stamp
            && cached.file == file && cached.layout == archive.layout;
        if (!kept) {
            cached.stamp.clear();
            if (!cached.codes.build(*session, layout, kCodeField))
                return unreadable();
            cached.file = file;
            cached.layout = archive.layout;
            cached.stamp = stamp;
        }
        const std::optional<CodeIndex::Hit> hit = cached.codes.find(*wanted);
        if (!hit)
            return result;
        Record record(layout);
        if (!session->readAt(hit->first, record))
            return unreadable();
        const QByteArray bytes = record.encode();
        if (storedKey(QByteArrayView(bytes).sliced(offset, capacity + 1), capacity) != *wanted) {
            // Changed since the codes were read: they are read again.
            cached.stamp.clear();
            continue;
        }
        result.status = Result::Status::Found;
        result.position = hit->first + 1;
        result.matches = hit->count;
        result.record = std::move(record);
        return result;
    }
    return unreadable();
}

} // namespace CodeLookup
