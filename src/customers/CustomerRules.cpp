#include "customers/CustomerRules.h"

#include "records/CustomerRecord.h"
#include "storage/Record.h"
#include "storage/TextForms.h"

#include <QStringList>

namespace CustomerRules {

namespace {

// The line breaks of the date messages: line feed, carriage return, twice.
constexpr char16_t kDateBreak[] = u"\n\r\n\r";

bool isDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (const QChar ch : text) {
        if (ch < u'0' || ch > u'9')
            return false;
    }
    return true;
}

SaveFailure warning(const char16_t *text, const char *focus)
{
    return { { Notice::Kind::Warning, QString::fromUtf16(text) }, QString::fromLatin1(focus) };
}

QString missingDateText(const char16_t *which, const QString &typed)
{
    return QStringLiteral("Attenzione: la data di ") + QString::fromUtf16(which) + u' ' + typed
        + QStringLiteral(" non esiste.") + QString::fromUtf16(kDateBreak)
        + QStringLiteral("Per poter salvare la scheda è necessario indicare una data valida nel "
                         "formato gg/mm/aaaa.");
}

} // namespace

std::optional<QDate> instalmentDate(QStringView text)
{
    const QStringView t = TrimControlView(text);
    // The year is the four characters after the second slash.
    qsizetype second = -1;
    for (qsizetype i = 0, slashes = 0; i < t.size() && second < 0; ++i) {
        if (t[i] == u'/' && ++slashes == 2)
            second = i;
    }
    if (second < 0 || t.size() - second - 1 != 4)
        return std::nullopt;
    return DateFromText(t);
}

std::optional<int> noticeDays(QStringView text)
{
    const QStringView t = TrimControlView(text);
    if (!isDigits(t) || t.size() > 9)
        return std::nullopt;
    int days = 0;
    for (const QChar ch : t)
        days = days * 10 + (ch.unicode() - u'0');
    return days;
}

std::optional<QDate> noticeDate(QStringView scadenza, QStringView preavviso)
{
    const std::optional<QDate> due = instalmentDate(scadenza);
    if (!due)
        return std::nullopt;
    const std::optional<int> days = noticeDays(preavviso);
    if (!days)
        return std::nullopt;
    return due->addDays(-*days);
}

std::optional<bool> isDue(QStringView scadenza, QStringView preavviso, const QDate &today)
{
    const std::optional<QDate> from = noticeDate(scadenza, preavviso);
    if (!from)
        return std::nullopt;
    return *from <= today;
}

std::optional<SaveFailure> firstFailingCheck(const SaveInput &card)
{
    const QString cognome = TrimControl(card.cognome);
    const QString nome = TrimControl(card.nome);
    const QString decorrenza = TrimControl(card.decorrenza);
    const QString scadenza = TrimControl(card.scadenza);
    const QString preavviso = TrimControl(card.preavviso);

    if (cognome.isEmpty())
        return warning(u"Attenzione: per salvare la scheda è necessario indicare il cognome del "
                       u"Cliente.",
            "txtCognome");
    if (nome.isEmpty())
        return warning(u"Attenzione: per salvare la scheda è necessario indicare il nome del "
                       u"Cliente.",
            "txtNome");
    if (decorrenza.isEmpty())
        return warning(u"Attenzione: per salvare la scheda è necessario indicare la data di "
                       u"decorrenza dell'acquisto rateale effettuato.",
            "txtDecorrenza");
    if (scadenza.isEmpty())
        return warning(u"Attenzione: per salvare la scheda è necessario indicare la data di "
                       u"scadenza della prossima rata.",
            "txtScadenza");
    const std::optional<QDate> from = instalmentDate(decorrenza);
    if (!from)
        return SaveFailure { { Notice::Kind::Plain, missingDateText(u"decorrenza", decorrenza) },
            QStringLiteral("txtDecorrenza") };
    const std::optional<QDate> due = instalmentDate(scadenza);
    if (!due)
        return SaveFailure { { Notice::Kind::Plain, missingDateText(u"scadenza", scadenza) },
            QStringLiteral("txtScadenza") };
    if (*from > *due)
        return SaveFailure {
            { Notice::Kind::Plain,
                QStringLiteral("Attenzione: la data di scadenza della prossima rata (") + scadenza
                    + QStringLiteral(") non può essere anteriore a quella di decorrenza (")
                    + decorrenza + QStringLiteral(").") + QString::fromUtf16(kDateBreak)
                    + QStringLiteral(
                        "Per poter salvare la scheda è necessario indicare un intervallo "
                        "di tempo valido.") },
            QString()
        };
    if (preavviso.isEmpty())
        return warning(u"Attenzione: per salvare la scheda è necessario indicare i giorni di "
                       u"preavviso.",
            "txtPreavviso");
    return std::nullopt;
}

QString folderOnNewCardText()
{
    return QStringLiteral("Attenzione: l'abbinamento di una cartella ad un Cliente può avvenire "
                          "soltanto dopo che la scheda è stata inserita in archivio.");
}

std::optional<SaveFailure> saveCheck(const Record &customer)
{
    using namespace CustomerRecord;
    return firstFailingCheck({ customer.value(Cognome), customer.value(Nome),
        customer.value(Decorrenza), customer.value(Scadenza), customer.value(Preavviso) });
}

Record newCustomer()
{
    using namespace CustomerRecord;
    Record customer(layout());
    customer.setValue(Decorrenza, Today());
    customer.setValue(Scadenza, Today());
    customer.setValue(Preavviso, QStringLiteral("0"));
    customer.setValue(Totale, QStringLiteral("0,00"));
    customer.setValue(Rata, QStringLiteral("0,00"));
    return customer;
}

CardContent cardContent(const Record &customer, const QString &date, const QString &time)
{
    // A row's value joins trimmed field texts and literal pieces.
    struct Piece
    {
        int field; // -1 for a literal piece
        const char16_t *text;
    };
    const auto F = [](int field) { return Piece { field, nullptr }; };
    const auto T = [](const char16_t *text) { return Piece { -1, text }; };
    using namespace CustomerRecord;
    const struct
    {
        const char16_t *caption;
        std::initializer_list<Piece> pieces;
    } rows[] = {
        { u"Cognome e nome:", { F(Cognome), T(u" "), F(Nome) } },
        { u"Data di nascita:", { F(DataNasc) } },
        { u"Comune di nascita:", { F(ComuneNasc), T(u" "), F(ProvNasc) } },
        { u"Sesso:", { F(Sesso), T(u"  Stato civile: "), F(Stato) } },
        { u"Recapito preferenziale:", { F(Recapito) } },
        { u"Indirizzo di residenza:", { F(Indirizzo) } },
        { u"Comune di residenza:", { F(ComuneRes), T(u" "), F(ProvRes) } },
        { u"Professione:", { F(Professione) } },
        { u"Tel. casa:", { F(TelCasa) } },
        { u"Tel. ufficio:", { F(TelUff) } },
        { u"Tel. cellulare:", { F(TelCel) } },
        { u"Fax:", { F(Fax) } },
        { u"E-mail:", { F(Email) } },
        { u"Codice fiscale:", { F(CodFisc) } },
        { u"Partita IVA:", { F(Iva) } },
        { u"Carta di credito:", { T(u"N. "), F(Carta), T(u"  Scadenza: "), F(ScadeCarta) } },
        { u"IBAN:", { F(Iban), T(u"  -  Intestatario C/C: "), F(Intestatario) } },
        { u"Estremi documento:",
            { T(u"Tipo: "), F(TipoDoc), T(u"  N. "), F(NumDoc), T(u"  Scadenza: "), F(DataSca) } },
        { u"Codice Cliente:", { F(Codice) } },
        { u"Categoria:", { F(Categoria), T(u"  Zona: "), F(Zona) } },
        { u"Prodotti e servizi di interesse:", { F(Prodotti) } },
        // The one caption without a colon.
        { u"Acquisto rateale", { F(Acquisto), T(u"  Importo rata: € "), F(Rata) } },
        { u"Totale:",
            { T(u"Importo: € "), F(Totale), T(u"  Decorrenza: "), F(Decorrenza), T(u"  Scadenza: "),
                F(Scadenza) } },
        { u"Note:", { F(Note) } },
    };

    CardContent content;
    content.title = QStringLiteral("SCHEDA INFORMATIVA DEL CLIENTE");
    for (const auto &row : rows) {
        QString value;
        for (const Piece &piece : row.pieces) {
            if (piece.field >= 0)
                value += TrimControl(customer.value(piece.field));
            else
                value += QStringView(piece.text);
        }
        content.rows.append({ QString::fromUtf16(row.caption), value });
    }
    content.footer
        = QStringLiteral("Stampa eseguita in data ") + date + QStringLiteral(" alle ore ") + time;
    return content;
}

} // namespace CustomerRules
