#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Short-string fields: a length byte followed by up to capacity text bytes in Windows-1252.

// The text as it is stored into a field of this capacity: trimmed of characters of code
// 32 or less, at most its first 255 characters encoded, cut to capacity bytes. Returns
// capacity + 1 bytes: the length byte, the text, zeros after it.
QByteArray StoreField(QStringView text, int capacity);

// The text of a stored field (capacity + 1 bytes starting at field), trimmed. A length
// byte larger than the capacity is taken as the capacity: reading never leaves the field.
QString LoadField(QByteArrayView field, int capacity);
