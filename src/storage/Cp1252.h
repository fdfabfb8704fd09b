#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Windows-1252, the code page of the record files, by a fixed table of our own so that
// the files read the same on every system. A character the code page lacks becomes '?'.
namespace Cp1252 {
QByteArray encode(QStringView text);
QString decode(QByteArrayView bytes);
char encodeChar(QChar ch);
QChar decodeByte(unsigned char byte);
} // namespace Cp1252
