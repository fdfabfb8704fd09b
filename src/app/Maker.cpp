#include "app/Maker.h"

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

} // namespace Maker
