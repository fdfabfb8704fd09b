#include "app/OpenURL.h"

#include <QDesktopServices>
#include <QRegularExpression>

namespace {

TMisc::Opener &opener()
{
    static TMisc::Opener recorder;
    return recorder;
}

QString withoutEnclosingQuotes(const QString &sCommand)
{
    QString text = sCommand.trimmed();
    if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"'))
        text = text.mid(1, text.size() - 2);
    return text;
}

// A scheme of two letters or more followed by "//" is an address; "C:/..." and "C:\..." are
// Windows paths, whose one-letter drive is not a scheme.
bool isWebAddress(const QString &text)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+://"));
    return scheme.match(text).hasMatch();
}

} // namespace

namespace TMisc {

QUrl UrlFor(const QString &sCommand)
{
    const QString text = withoutEnclosingQuotes(sCommand);
    if (text.isEmpty())
        return {};
    // Addresses are handed over as typed: blanks, commas and accented letters are the
    // caller's text, and tolerant parsing keeps them (encoding only what a URL must).
    if (text.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive) || isWebAddress(text))
        return QUrl(text, QUrl::TolerantMode);
    if (text.startsWith(QStringLiteral("www."), Qt::CaseInsensitive))
        return QUrl::fromUserInput(text);
    return QUrl::fromLocalFile(text);
}

void Open(const QString &sCommand)
{
    const QUrl url = UrlFor(sCommand);
    if (opener()) {
        opener()(url);
        return;
    }
    // The desktop reports whether something opened; the program tells the user nothing
    // either way, as a missing viewer or mail program is the platform's business.
    if (url.isValid() && !url.isEmpty())
        QDesktopServices::openUrl(url);
}

void setOpener(Opener recorder)
{
    opener() = std::move(recorder);
}

} // namespace TMisc
