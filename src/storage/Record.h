#pragma once
#include "storage/RecordLayout.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// One record in memory: a layout and one text per field. Texts are kept as given;
// trimming, encoding and cutting happen when the record is encoded.
class Record
{
public:
    explicit Record(const RecordLayout &layout);

    const RecordLayout &layout() const { return *m_layout; }
    QString value(int field) const { return m_values[field]; }
    // The value of the named field; an unknown name is a programming error (asserts).
    QString value(QStringView name) const;
    void setValue(int field, const QString &text) { m_values[field] = text; }
    void setValue(QStringView name, const QString &text);
    void clear();

    // The record as it is written: recordSize() bytes.
    QByteArray encode() const;
    // Fills every field from recordSize() bytes (each field trimmed, length clamped).
    void decode(QByteArrayView bytes);
    static Record fromBytes(const RecordLayout &layout, QByteArrayView bytes);

private:
    const RecordLayout *m_layout;
    QStringList m_values;
};

// A single field of a stored record read straight from its bytes, without decoding the
// rest (for scans that look at a few fields of many records).
QString fieldOf(const RecordLayout &layout, QByteArrayView recordBytes, int field);
