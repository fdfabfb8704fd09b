#include "import/CsvReader.h"

#include "storage/Cp1252.h"

#include <QIODevice>
#include <QStringDecoder>

#include <array>
#include <map>

namespace CsvReader {

namespace {

constexpr qint64 kSampleBytes = 64 * 1024;
constexpr qint64 kBlockBytes = 1024 * 1024;

// The length of the UTF-8 sequence a lead byte starts, or 0 for a byte that cannot lead.
int sequenceLength(unsigned char byte)
{
    if (byte < 0x80)
        return 1;
    if (byte >= 0xC2 && byte <= 0xDF)
        return 2;
    if (byte >= 0xE0 && byte <= 0xEF)
        return 3;
    if (byte >= 0xF0 && byte <= 0xF4)
        return 4;
    return 0;
}

bool hasBom(QByteArrayView bytes)
{
    return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF
        && static_cast<unsigned char>(bytes[1]) == 0xBB
        && static_cast<unsigned char>(bytes[2]) == 0xBF;
}

} // namespace

Encoding detectEncoding(QByteArrayView sample, bool wholeFile)
{
    if (hasBom(sample))
        return Encoding::Utf8Bom;
    qsizetype i = 0;
    while (i < sample.size()) {
        const int length = sequenceLength(static_cast<unsigned char>(sample[i]));
        if (length == 0)
            return Encoding::Windows1252;
        if (i + length > sample.size())
            return wholeFile ? Encoding::Windows1252 : Encoding::Utf8;
        for (int k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(sample[i + k]) & 0xC0) != 0x80)
                return Encoding::Windows1252;
        }
        i += length;
    }
    return Encoding::Utf8;
}

QChar detectSeparator(QStringView text)
{
    static constexpr std::array<char16_t, 3> kCandidates = { u';', u'\t', u',' };
    // For each candidate: how many lines have each count.
    std::array<std::map<int, int>, 3> histograms;
    std::array<int, 3> counts {};
    bool quoted = false;
    auto endLine = [&] {
        for (std::size_t c = 0; c < kCandidates.size(); ++c) {
            histograms[c][counts[c]] += 1;
            counts[c] = 0;
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == u'"') {
            quoted = !quoted;
            continue;
        }
        if (quoted)
            continue;
        if (ch == u'\n' || ch == u'\r') {
            if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endLine();
            continue;
        }
        for (std::size_t c = 0; c < kCandidates.size(); ++c) {
            if (ch == kCandidates[c])
                ++counts[c];
        }
    }
    endLine();
    std::size_t best = 0;
    int bestLines = 0;
    for (std::size_t c = 0; c < kCandidates.size(); ++c) {
        // The most frequent non-zero count, and on how many lines it occurs.
        int lineCount = 0;
        for (const auto &[count, occurrences] : histograms[c]) {
            if (count > 0 && occurrences > lineCount)
                lineCount = occurrences;
        }
        if (lineCount > bestLines) {
            best = c;
            bestLines = lineCount;
        }
    }
    return QChar(kCandidates[best]);
}

Dialect detect(QByteArrayView sample, bool wholeFile)
{
    Dialect dialect;
    dialect.encoding = detectEncoding(sample, wholeFile);
    QString text;
    if (dialect.encoding == Encoding::Windows1252) {
        text = Cp1252::decode(sample);
    } else {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = decoder.decode(dialect.encoding == Encoding::Utf8Bom ? sample.sliced(3) : sample);
    }
    dialect.separator = detectSeparator(text);
    return dialect;
}

Parser::Parser(QChar separator, SheetRows::RowSink sink)
    : m_separator(separator)
    , m_sink(std::move(sink))
{
}

void Parser::endField()
{
    if (m_row.size() < SheetRows::kMaxColumns)
        m_row.append(SheetRows::Cell::fromText(m_field));
    m_field.clear();
    m_fieldStarted = false;
    m_quoted = false;
    m_quoteSeen = false;
}

bool Parser::endRow()
{
    endField();
    ++m_rowNumber;
    const bool empty = SheetRows::isEmptyRow(m_row);
    if (!empty && !m_sink(m_rowNumber, m_row))
        m_stopped = true;
    if (empty)
        --m_rowNumber; // an empty line is not a row of values
    m_row.clear();
    return !m_stopped;
}

bool Parser::feed(QStringView text)
{
    if (m_stopped)
        return false;
    for (const QChar ch : text) {
        const bool wasCr = m_lastWasCr;
        m_lastWasCr = false;
        if (m_quoted) {
            if (m_quoteSeen) {
                m_quoteSeen = false;
                if (ch == u'"') {
                    m_field.append(ch);
                    continue;
                }
                // The closing quote: what follows is outside the quotes.
                m_quoted = false;
            } else if (ch == u'"') {
                m_quoteSeen = true;
                continue;
            } else {
                if (m_field.size() < kMaxFieldLength)
                    m_field.append(ch);
                continue;
            }
        }
        if (ch == u'\n' && wasCr)
            continue;
        if (ch == u'\r' || ch == u'\n') {
            m_lastWasCr = ch == u'\r';
            if (!endRow())
                return false;
            continue;
        }
        if (ch == m_separator) {
            endField();
            continue;
        }
        if (ch == u'"' && !m_fieldStarted) {
            m_quoted = true;
            m_fieldStarted = true;
            continue;
        }
        m_fieldStarted = true;
        if (m_field.size() < kMaxFieldLength)
            m_field.append(ch);
    }
    return true;
}

bool Parser::finish()
{
    if (m_stopped)
        return false;
    if (m_fieldStarted || !m_field.isEmpty() || !m_row.isEmpty())
        return endRow();
    return true;
}

bool read(QIODevice &device, const SheetRows::RowSink &sink, QString &error, Dialect *found)
{
    QByteArray block = device.read(kSampleBytes);
    if (block.isNull() && device.bytesAvailable() < 0) {
        error = device.errorString();
        return false;
    }
    const Dialect dialect = detect(block, device.atEnd());
    if (found)
        *found = dialect;
    Parser parser(dialect.separator, sink);
    QStringDecoder utf8(QStringDecoder::Utf8);
    bool first = true;
    while (!block.isEmpty()) {
        QByteArrayView bytes(block);
        if (first && dialect.encoding == Encoding::Utf8Bom)
            bytes = bytes.sliced(3);
        first = false;
        const QString text = dialect.encoding == Encoding::Windows1252
            ? Cp1252::decode(bytes)
            : QString(utf8.decode(bytes));
        if (!parser.feed(text))
            return true;
        block = device.read(kBlockBytes);
    }
    if (device.isOpen() && !device.atEnd()) {
        error = device.errorString();
        return false;
    }
    parser.finish();
    return true;
}

} // namespace CsvReader
