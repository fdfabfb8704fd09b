#include "app/OpenURL.h"

#include "app/Messages.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

TMisc::CheckedOpener &opener()
{
    static TMisc::CheckedOpener recorder;
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

bool Open(const QString &sCommand)
{
    const QUrl url = UrlFor(sCommand);
    if (opener())
        return opener()(url);
    return url.isValid() && !url.isEmpty() && QDesktopServices::openUrl(url);
}

void OpenOrSay(QWidget *parent, const QString &sCommand)
{
    if (!Open(sCommand))
        Messages::warning(parent, openFailureText(UrlFor(sCommand)));
}

QString openFailureText(const QUrl &url)
{
    if (url.isLocalFile()) {
        const QString path = QDir::toNativeSeparators(url.toLocalFile());
        if (QFileInfo(url.toLocalFile()).isDir())
            return QStringLiteral("Attenzione: non è stato possibile aprire la cartella con il "
                                  "gestore dei file del sistema.\r\n\r\nLa cartella si trova "
                                  "in:\r\n%1")
                .arg(path);
        return QStringLiteral("Attenzione: nessun programma del sistema ha potuto aprire il "
                              "file.\r\n\r\nIl file si trova in:\r\n%1")
            .arg(path);
    }
    if (url.scheme().compare(QLatin1String("mailto"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Attenzione: non è stato possibile avviare il programma di posta "
                              "elettronica per scrivere a:\r\n%1")
            .arg(url.path());
    return QStringLiteral("Attenzione: non è stato possibile aprire la pagina Web nel browser "
                          "del sistema:\r\n%1")
        .arg(url.toString());
}

QString writtenToText(const QString &path)
{
    return QStringLiteral("Il file è stato salvato in:\r\n") + QDir::toNativeSeparators(path);
}

void setOpener(Opener recorder)
{
    if (!recorder) {
        opener() = {};
        return;
    }
    opener() = [recorder](const QUrl &url) {
        recorder(url);
        return true;
    };
}

void setCheckedOpener(CheckedOpener recorder)
{
    opener() = std::move(recorder);
}

} // namespace TMisc
