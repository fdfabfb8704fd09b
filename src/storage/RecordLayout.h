#pragma once
#include <QString>

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

// One short-string field of a record: its name (the record field name, as the controls
// of the card are named after it) and its capacity in characters (1 to 255). On disk it
// takes capacity + 1 bytes: a length byte and the text.
struct FieldSpec
{
    const char *name;
    int capacity;
};

// The fields of a record with their offsets and the record size, all computed at compile
// time from the ordered fields (no padding between fields).
template <std::size_t N> struct FieldTable
{
    std::array<FieldSpec, N> fields;
    std::array<int, N> offsets {};
    int recordSize = 0;

    constexpr explicit FieldTable(const std::array<FieldSpec, N> &ordered)
        : fields(ordered)
    {
        int offset = 0;
        for (std::size_t i = 0; i < N; ++i) {
            offsets[i] = offset;
            offset += fields[i].capacity + 1;
        }
        recordSize = offset;
    }

    // The index of the named field; a name that is not in the table does not compile
    // where the index is needed at compile time.
    consteval int indexOf(std::string_view name) const
    {
        for (std::size_t i = 0; i < N; ++i) {
            if (std::string_view(fields[i].name) == name)
                return int(i);
        }
        throw "no field of this name in the record";
    }
    consteval int offsetOf(std::string_view name) const { return offsets[indexOf(name)]; }
};

// A layout's fields are written once, as an X-macro list of F(Name, capacity); these
// turn the list into the enum of field indexes and into the table of names.
#define MERVENTA_FIELD_INDEX(name, capacity) name,
#define MERVENTA_FIELD_SPEC(name, capacity) FieldSpec { #name, capacity },

// A record layout: the ordered fields and their offsets. It refers to a FieldTable that
// lives for the whole run (a namespace-scope constant), never to a temporary.
class RecordLayout
{
public:
    template <std::size_t N>
    constexpr explicit RecordLayout(const FieldTable<N> &table)
        : m_fields(table.fields)
        , m_offsets(table.offsets)
        , m_size(table.recordSize)
    {
    }
    template <std::size_t N> RecordLayout(const FieldTable<N> &&) = delete;

    constexpr int recordSize() const { return m_size; }
    constexpr int fieldCount() const { return int(m_fields.size()); }
    constexpr const FieldSpec &field(int i) const { return m_fields[std::size_t(i)]; }
    QString fieldName(int i) const { return QString::fromLatin1(m_fields[std::size_t(i)].name); }
    constexpr int offset(int i) const { return m_offsets[std::size_t(i)]; }
    // The index of the field with this name, or -1.
    int indexOf(QStringView name) const;

private:
    std::span<const FieldSpec> m_fields;
    std::span<const int> m_offsets;
    int m_size = 0;
};

// An archive: a file of the program folder and the layout of its records. Every opening
// of a record file goes through one, so a file name never meets the wrong record size.
struct Archive
{
    QString fileName;
    const RecordLayout *layout = nullptr;
};
