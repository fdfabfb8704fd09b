#include "checks/VatNumber.h"

#include "storage/TextForms.h"

#include <array>

namespace {

// Offices 001 to 102 in code order; 120 and 121 repeat 101 and 102.
constexpr std::array<const char16_t *, 102> kOffices = {
    u"Torino",
    u"Vercelli",
    u"Novara",
    u"Cuneo",
    u"Asti",
    u"Alessandria",
    u"Aosta",
    u"Imperia",
    u"Savona",
    u"Genova 1",
    u"La Spezia",
    u"Varese",
    u"Como",
    u"Sondrio",
    u"Milano 1",
    u"Bergamo",
    u"Brescia 1",
    u"Pavia",
    u"Cremona",
    u"Mantova",
    u"Bolzano",
    u"Trento",
    u"Verona",
    u"Vicenza",
    u"Belluno",
    u"Treviso",
    u"Venezia",
    u"Padova",
    u"Rovigo",
    u"Udine",
    u"Gorizia",
    u"Trieste",
    u"Piacenza",
    u"Parma",
    u"Reggio Emilia",
    u"Modena",
    u"Bologna 1",
    u"Ferrara",
    u"Ravenna",
    u"Forlì",
    u"Pesaro",
    u"Ancona",
    u"Macerata",
    u"Ascoli Piceno",
    u"Massa Carrara",
    u"Lucca",
    u"Pistoia",
    u"Firenze 1",
    u"Livorno",
    u"Pisa",
    u"Arezzo",
    u"Siena",
    u"Grosseto",
    u"Perugia",
    u"Terni",
    u"Viterbo",
    u"Rieti",
    u"Roma 1",
    u"Latina",
    u"Frosinone",
    u"Caserta",
    u"Benevento",
    u"Napoli 1",
    u"Avellino",
    u"Salerno",
    u"Aquila",
    u"Teramo",
    u"Pescara",
    u"Chieti",
    u"Campobasso",
    u"Foggia",
    u"Bari",
    u"Taranto",
    u"Brindisi",
    u"Lecce",
    u"Potenza",
    u"Matera",
    u"Cosenza",
    u"Catanzaro",
    u"Reggio Calabria",
    u"Trapani",
    u"Palermo",
    u"Messina",
    u"Agrigento",
    u"Caltanissetta",
    u"Enna",
    u"Catania",
    u"Ragusa",
    u"Siracusa",
    u"Sassari",
    u"Nuoro",
    u"Cagliari",
    u"Pordenone",
    u"Isernia",
    u"Oristano",
    u"Monza (Milano 2)",
    u"Prato (Firenze 2)",
    u"Brescia 2",
    u"Chiavari (Genova 2)",
    u"Roma 2",
    u"Bologna 2",
    u"Napoli 2",
};

bool allDigits(QStringView text)
{
    for (const QChar ch : text) {
        if (ch < u'0' || ch > u'9')
            return false;
    }
    return true;
}

} // namespace

bool CheckVatNumber(QStringView text)
{
    if (text.size() != 11 || !allDigits(text))
        return false;
    int sum = 0;
    for (qsizetype i = 0; i < 10; ++i) {
        const int d = text[i].unicode() - u'0';
        if (i % 2 == 0) {
            sum += d;
        } else {
            const int e = 2 * d;
            sum += e / 10 + e % 10;
        }
    }
    const int expected = (10 - sum % 10) % 10;
    return text[10].unicode() - u'0' == expected;
}

QString VatOfficeName(QStringView code)
{
    if (code.size() != 3 || !allDigits(code))
        return {};
    const int number = code.toInt();
    if (number >= 1 && number <= int(kOffices.size()))
        return QString::fromUtf16(kOffices[number - 1]);
    if (number == 120 || number == 121)
        return QString::fromUtf16(kOffices[number - 120 + 100]);
    return {};
}

CheckOutcome VatNumberOutcome(const QString &input)
{
    const QString number = UpperAscii(input);
    if (number.size() != 11)
        return { CheckOutcome::Kind::Warning,
            QStringLiteral("Attenzione: la partita IVA deve essere composta da 11 "
                           "caratteri numerici."),
            false };
    // A number whose office code names no office was never issued, whatever its check
    // digit says.
    const QString office = VatOfficeName(QStringView(number).mid(7, 3));
    if (CheckVatNumber(number) && office.isEmpty())
        return { CheckOutcome::Kind::Warning,
            QStringLiteral("Attenzione: il numero di partita IVA digitato risulta NON VALIDO!"
                           "\r\n\r\nLe cifre dall'ottava alla decima (%1) devono indicare "
                           "l'Ufficio IVA che lo ha rilasciato, ma nessun ufficio ha questo "
                           "codice.")
                .arg(QStringView(number).mid(7, 3)),
            true };
    if (CheckVatNumber(number))
        return { CheckOutcome::Kind::Information,
            QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n"
                           "E' stato rilasciato dall'Ufficio IVA del Comune di ")
                + office + u'.',
            true };
    return { CheckOutcome::Kind::Warning,
        QStringLiteral("Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\n"
                       "Non è quindi possibile fornire informazioni relative all'Ufficio "
                       "IVA che lo ha rilasciato."),
        true };
}
