#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// Reading and writing one value of an INI text file ("[Section]" lines, "Key=Value" lines
// under them, ";" and "#" comment lines) while every other line stays byte for byte as it
// was: comments, other sections, other keys, their order and their line endings. Section
// and key names match without regard to the case of ASCII letters; the first section and
// the first key of a name count. Blanks around names and values are not part of them.
namespace IniFile {

// The value of key in section of an INI text, or nothing when the section or the key is
// missing.
std::optional<QByteArray> valueIn(
    const QByteArray &content, QByteArrayView section, QByteArrayView key);

// The INI text with key in section set to value: the key's line rewritten in place, or
// the key added after the last line of its section, or the section added at the end. New
// lines end like the text's first line (CR LF when the text has none).
QByteArray withValue(
    const QByteArray &content, QByteArrayView section, QByteArrayView key, QByteArrayView value);

// The value of key in section of the file at path, read as Latin-1. A missing file,
// section or key gives an empty text; a file that exists but cannot be read (a folder,
// no permission, a read error) gives nothing.
std::optional<QString> readValue(const QString &path, QByteArrayView section, QByteArrayView key);

// Sets key in section of the file at path (created when missing) to value, which must be
// Latin-1 text without line breaks. The file is replaced as a whole through a temporary
// file, so a failure leaves the old file as it was. False when the old file cannot be
// read or the new one cannot be written.
bool writeValue(
    const QString &path, QByteArrayView section, QByteArrayView key, const QString &value);

} // namespace IniFile
