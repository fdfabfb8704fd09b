#include "search/WebSearch.h"

#include "storage/TextForms.h"

namespace WebSearch {

namespace {

// Blanks stay as typed (the shell open encodes them); these four would otherwise end
// the query (& #), turn into a blank (+) or start an escape (%).
QString queryText(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar ch : text) {
        switch (ch.unicode()) {
        case u'%':
            out += QStringLiteral("%25");
            break;
        case u'&':
            out += QStringLiteral("%26");
            break;
        case u'#':
            out += QStringLiteral("%23");
            break;
        case u'+':
            out += QStringLiteral("%2B");
            break;
        default:
            out += ch;
        }
    }
    return out;
}

} // namespace

QString address(const QString &brand, const QString &model)
{
    return QStringLiteral("https://www.google.com/search?q=")
        + queryText(TrimControl(brand) + u' ' + TrimControl(model));
}

QString emptyBrandText()
{
    return QStringLiteral("Attenzione: per poter effettuare una ricerca sul Web è necessario "
                          "compilare il campo relativo alla marca dell'articolo.");
}

QString shellFailureText()
{
    return QStringLiteral("Attenzione: il sistema non permette di collegarsi al motore di "
                          "ricerca di Google.\n\r\n\rAccertarsi che la propria connessione a "
                          "Internet funzioni correttamente.");
}

} // namespace WebSearch
