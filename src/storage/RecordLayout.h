#pragma once
#include <QString>

#include <array>
#include <cstddef>
#include <span>

// One short-string field of a record: its name (the record field name, as the controls
// of the card are named after it) and its capacity in characters (1 to 255). On disk it
// takes capacity + 1 bytes: a length byte and the text.
struct FieldSpec
{
    const char *name;
    int capacity;
};

// The size in bytes of a record made of these fields, with no padding between them.
template <std::size_t N>
constexpr int recordSizeOf(const std::array<FieldSpec, N> &fields)
{
    int size = 0;
    for (const FieldSpec &f : fields)
        size += f.capacity + 1;
    return size;
}

// A record layout: the ordered fields and the offsets computed from them.
class RecordLayout
{
public:
    template <std::size_t N>
    explicit RecordLayout(const std::array<FieldSpec, N> &fields)
        : m_fields(fields.data(), N)
    {
        init();
    }

    int recordSize() const { return m_size; }
    int fieldCount() const { return int(m_fields.size()); }
    const FieldSpec &field(int i) const { return m_fields[std::size_t(i)]; }
    QString fieldName(int i) const { return QString::fromLatin1(m_fields[std::size_t(i)].name); }
    int offset(int i) const { return m_offsets[std::size_t(i)]; }
    // The index of the field with this name, or -1.
    int indexOf(QStringView name) const;

private:
    void init();
    std::span<const FieldSpec> m_fields;
    std::array<int, 64> m_offsets{};
    int m_size = 0;
};
