#include "app/IniFile.h"

#include "storage/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QList>

namespace IniFile {

namespace {

// One line of the text: where it starts, its length without the line ending, and the
// length of its line ending (0 on a last line without one).
struct Line
{
    qsizetype start;
    qsizetype length;
    qsizetype ending;
};

QList<Line> splitLines(const QByteArray &content)
{
    QList<Line> lines;
    qsizetype start = 0;
    while (start < content.size()) {
        const qsizetype newline = content.indexOf('\n', start);
        if (newline < 0) {
            lines.append({ start, content.size() - start, 0 });
            break;
        }
        const bool crlf = newline > start && content[newline - 1] == '\r';
        lines.append({ start, newline - start - (crlf ? 1 : 0), crlf ? 2 : 1 });
        start = newline + 1;
    }
    return lines;
}

QByteArrayView textOf(const QByteArray &content, const Line &line)
{
    QByteArrayView text(content.constData() + line.start, line.length);
    // A byte order mark before the first line is not part of it.
    if (line.start == 0 && text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    return text.trimmed();
}

// The name of a "[Name]" line, or nothing for any other line.
std::optional<QByteArrayView> sectionName(QByteArrayView text)
{
    if (!text.startsWith('['))
        return std::nullopt;
    const qsizetype close = text.indexOf(']');
    return (close < 0 ? text.sliced(1) : text.sliced(1, close - 1)).trimmed();
}

bool isComment(QByteArrayView text)
{
    return text.startsWith(';') || text.startsWith('#');
}

bool sameName(QByteArrayView a, QByteArrayView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The name and value of a "Key=Value" line.
std::optional<std::pair<QByteArrayView, QByteArrayView>> keyAndValue(QByteArrayView text)
{
    if (isComment(text))
        return std::nullopt;
    const qsizetype equals = text.indexOf('=');
    if (equals < 0)
        return std::nullopt;
    return std::pair { text.first(equals).trimmed(), text.sliced(equals + 1).trimmed() };
}

// Where the section of a name lies: the index of its header line and the index one past
// its last line; or nothing.
std::optional<std::pair<qsizetype, qsizetype>> findSection(
    const QByteArray &content, const QList<Line> &lines, QByteArrayView section)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(textOf(content, lines[i]));
        if (!name || !sameName(*name, section))
            continue;
        qsizetype end = i + 1;
        while (end < lines.size() && !sectionName(textOf(content, lines[end])))
            ++end;
        return std::pair { i, end };
    }
    return std::nullopt;
}

QByteArray lineEndingOf(const QList<Line> &lines)
{
    for (const Line &line : lines) {
        if (line.ending == 1)
            return QByteArrayLiteral("\n");
        if (line.ending == 2)
            return QByteArrayLiteral("\r\n");
    }
    return QByteArrayLiteral("\r\n");
}

} // namespace

std::optional<QByteArray> valueIn(
    const QByteArray &content, QByteArrayView section, QByteArrayView key)
{
    const QList<Line> lines = splitLines(content);
    const auto found = findSection(content, lines, section);
    if (!found)
        return std::nullopt;
    for (qsizetype i = found->first + 1; i < found->second; ++i) {
        const auto entry = keyAndValue(textOf(content, lines[i]));
        if (entry && sameName(entry->first, key))
            return entry->second.toByteArray();
    }
    return std::nullopt;
}

QByteArray withValue(
    const QByteArray &content, QByteArrayView section, QByteArrayView key, QByteArrayView value)
{
    const QList<Line> lines = splitLines(content);
    const QByteArray eol = lineEndingOf(lines);
    const QByteArray keyLine = key.toByteArray() + '=' + value.toByteArray();

    const auto found = findSection(content, lines, section);
    if (!found) {
        QByteArray result = content;
        if (!result.isEmpty() && !result.endsWith('\n'))
            result += eol;
        return result + '[' + section.toByteArray() + ']' + eol + keyLine + eol;
    }

    for (qsizetype i = found->first + 1; i < found->second; ++i) {
        const auto entry = keyAndValue(textOf(content, lines[i]));
        if (!entry || !sameName(entry->first, key))
            continue;
        const Line &line = lines[i];
        return content.first(line.start) + keyLine + content.sliced(line.start + line.length);
    }

    // After the section's last line that holds something, so that the blank lines that
    // part it from the next section stay where they are.
    qsizetype last = found->first;
    for (qsizetype i = found->first + 1; i < found->second; ++i) {
        if (!textOf(content, lines[i]).isEmpty())
            last = i;
    }
    const Line &after = lines[last];
    const qsizetype at = after.start + after.length + after.ending;
    const QByteArray before = content.first(at);
    return before + (after.ending == 0 ? eol : QByteArray()) + keyLine + eol + content.sliced(at);
}

std::optional<QString> readValue(const QString &path, QByteArrayView section, QByteArrayView key)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return QString();
    if (!info.isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return QString::fromLatin1(valueIn(content, section, key).value_or(QByteArray()));
}

bool writeValue(
    const QString &path, QByteArrayView section, QByteArrayView key, const QString &value)
{
    QByteArray content;
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink()) {
        // A file that cannot be read is not replaced: its other lines would be lost.
        QFile old(path);
        if (!info.isFile() || !old.open(QIODevice::ReadOnly))
            return false;
        content = old.readAll();
        if (old.error() != QFileDevice::NoError)
            return false;
    }

    return SafeFile::replace(path, withValue(content, section, key, value.toLatin1()));
}

} // namespace IniFile
