#include "app/Maker.h"

#include <QUrl>

// The build passes the values in; these are the defaults the build also uses.
#ifndef MERVENTA_MAKER_NAME
#define MERVENTA_MAKER_NAME "Dravello Software"
#endif
#ifndef MERVENTA_MAKER_SITE
#define MERVENTA_MAKER_SITE "https://www.example.com/merventa"
#endif
#ifndef MERVENTA_MAKER_EMAIL
#define MERVENTA_MAKER_EMAIL "info@example.com"
#endif

namespace Maker {

QString name()
{
    return QStringLiteral(MERVENTA_MAKER_NAME);
}

QString webSite()
{
    return QStringLiteral(MERVENTA_MAKER_SITE);
}

QString webSiteText()
{
    QString text = webSite();
    for (const QString &scheme : { QStringLiteral("https://"), QStringLiteral("http://") }) {
        if (text.startsWith(scheme, Qt::CaseInsensitive))
            return text.mid(scheme.size());
    }
    return text;
}

QString email()
{
    return QStringLiteral(MERVENTA_MAKER_EMAIL);
}

bool isConfiguredSite(const QString &address)
{
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty())
        return false;
    const QUrl url = QUrl::fromUserInput(trimmed);
    const QString host = url.host().toLower();
    if (!url.isValid() || host.isEmpty())
        return false;
    for (const QLatin1StringView reserved : { QLatin1StringView("example.com"),
             QLatin1StringView("example.net"), QLatin1StringView("example.org") }) {
        if (host == reserved || host.endsWith(u'.' + QString(reserved)))
            return false;
    }
    return true;
}

bool hasWebSite()
{
    return isConfiguredSite(webSite());
}

} // namespace Maker
