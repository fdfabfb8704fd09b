#pragma once
#include <QByteArrayView>

// The text bytes of one stored short-string field straight from a record's bytes: the
// length byte at offset, then the text. A damaged length byte larger than the capacity (or
// than what is left of the record) is taken as that: reading never leaves the field.
enum class Trim {
    None, // the bytes as the length byte gives them
    Controls // without leading and trailing bytes of code 32 or less, as a field is read
};

QByteArrayView storedText(QByteArrayView record, int offset, int capacity, Trim trim);
