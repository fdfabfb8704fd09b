#include "search/ArchiveSearch.h"

#include "records/CustomerRecord.h"
#include "records/ProductRecord.h"
#include "records/SupplierRecord.h"
#include "storage/Cp1252.h"
#include "storage/Session.h"
#include "storage/StoredField.h"
#include "storage/TextForms.h"

#include <algorithm>

using ListLines::joined;
using ListLines::padded;
using ListLines::tail;

namespace ArchiveSearch {

namespace {

inline unsigned char fold(unsigned char b)
{
    return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b + ('a' - 'A')) : b;
}

// A search box over a record field, named by the field's number in the layout.
SearchField box(int field, const QString &caption, const RecordLayout &layout)
{
    return { QStringLiteral("txt") + QLatin1StringView(layout.field(field).name), caption, field };
}

Config productConfig()
{
    namespace P = ProductRecord;
    const RecordLayout &l = P::layout();
    Config c;
    c.kind = ArchiveId::Products;
    c.screenName = QStringLiteral("TfrmTrovaMagazzino");
    c.windowCaption = QStringLiteral(" Trova articoli in magazzino");
    c.archive = &P::archive();
    c.fields = {
        box(P::Codice, QStringLiteral("Codice articolo:"), l),
        box(P::Tipologia, QStringLiteral("Tipologia:"), l),
        box(P::Marca, QStringLiteral("Marca:"), l),
        box(P::Modello, QStringLiteral("Modello:"), l),
        box(P::Descrizione, QStringLiteral("Descrizione:"), l),
        box(P::Accessori, QStringLiteral("Accessori:"), l),
        box(P::Fornitore, QStringLiteral("Fornitore:"), l),
        box(P::Documento, QStringLiteral("Estremi documento di acquisto:"), l),
        box(P::Collocazione, QStringLiteral("Collocazione in magazzino:"), l),
        box(P::Note, QStringLiteral("Note:"), l),
    };
    c.columns = {
        padded(QString(), P::Codice, 30),
        joined(QStringLiteral("  "), P::Marca, P::Modello, 40),
        padded(QStringLiteral("  Costo: "), P::Costo, 12),
        padded(QStringLiteral("  Giacenza: "), P::Giacenza, 12),
        tail(QStringLiteral("  Note: "), P::Note),
    };
    c.countLead = QStringLiteral("Il presente elenco contiene ");
    c.printTitle = QStringLiteral("Riepilogo articoli in magazzino");
    c.card = CardId::Product;
    return c;
}

Config customerConfig()
{
    namespace C = CustomerRecord;
    const RecordLayout &l = C::layout();
    Config c;
    c.kind = ArchiveId::Customers;
    c.screenName = QStringLiteral("TfrmTrovaClienti");
    c.windowCaption = QStringLiteral(" Trova Clienti in archivio");
    c.archive = &C::archive();
    c.fields = {
        box(C::Cognome, QStringLiteral("Cognome:"), l),
        box(C::Nome, QStringLiteral("Nome:"), l),
        box(C::Codice, QStringLiteral("Codice Cliente:"), l),
        box(C::Categoria, QStringLiteral("Categoria:"), l),
        box(C::CodFisc, QStringLiteral("Codice fiscale:"), l),
        box(C::Iva, QStringLiteral("Partita IVA:"), l),
        box(C::Zona, QStringLiteral("Zona di appartenenza:"), l),
        box(C::Prodotti, QStringLiteral("Prodotti e servizi di interesse:"), l),
        box(C::Acquisto, QStringLiteral("Acquisto rateale effettuato:"), l),
        box(C::Note, QStringLiteral("Note:"), l),
    };
    c.columns = {
        joined(QString(), C::Cognome, C::Nome, 28),
        padded(QStringLiteral("  C.F. "), C::CodFisc, 16),
        padded(QStringLiteral("  Zona: "), C::Zona, 24),
        padded(QStringLiteral("  Tel. "), C::Recapito, 14),
        tail(QStringLiteral("  Note: "), C::Note),
    };
    c.countLead = QStringLiteral("Il presente riepilogo contiene ");
    c.printTitle = QStringLiteral("Riepilogo Clienti in archivio");
    c.card = CardId::Customer;
    return c;
}

Config supplierConfig()
{
    namespace S = SupplierRecord;
    const RecordLayout &l = S::layout();
    Config c;
    c.kind = ArchiveId::Suppliers;
    c.screenName = QStringLiteral("TfrmTrovaFornitori");
    c.windowCaption = QStringLiteral(" Trova Fornitori in archivio");
    c.archive = &S::archive();
    c.fields = {
        box(S::Ditta, QStringLiteral("Denominazione Ditta:"), l),
        box(S::Titolare, QStringLiteral("Titolare o responsabile:"), l),
        box(S::PartitaIva, QStringLiteral("Partita IVA:"), l),
        box(S::CodFisc, QStringLiteral("Codice fiscale:"), l),
        box(S::IndirizzoRes, QStringLiteral("Via / Piazza e numero civico:"), l),
        box(S::ComuneRes, QStringLiteral("Città:"), l),
        box(S::Articoli, QStringLiteral("Articoli forniti:"), l),
        box(S::Offerte, QStringLiteral("Offerte e sconti:"), l),
        box(S::Questioni, QStringLiteral("Questioni in sospeso:"), l),
        box(S::Note, QStringLiteral("Note:"), l),
    };
    c.columns = {
        padded(QString(), S::Ditta, 30),
        padded(QStringLiteral("  "), S::Titolare, 30),
        padded(QStringLiteral("  Tel. "), S::Recapito, 20),
        tail(QStringLiteral("  "), S::Note),
    };
    c.countLead = QStringLiteral("Il presente riepilogo contiene ");
    c.printTitle = QStringLiteral("Riepilogo Fornitori");
    c.card = CardId::Supplier;
    return c;
}

// The typed text in the archives' code page, or nothing when a character has no byte
// there (it would be stored as '?', so it can never be found).
bool toStoredForm(const QString &text, QByteArray &out)
{
    out.clear();
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char b = Cp1252::encodeChar(ch);
        if (b == '?' && ch != u'?')
            return false;
        out.append(char(fold(static_cast<unsigned char>(b))));
    }
    return true;
}

} // namespace

const Config &config(ArchiveId kind)
{
    static const Config products = productConfig();
    static const Config customers = customerConfig();
    static const Config suppliers = supplierConfig();
    switch (kind) {
    case ArchiveId::Customers:
        return customers;
    case ArchiveId::Suppliers:
        return suppliers;
    case ArchiveId::Products:
    // The movement registers have no search screen.
    case ArchiveId::Loads:
    case ArchiveId::Unloads:
        break;
    }
    return products;
}

QString countText(const Config &config, qsizetype count)
{
    return config.countLead + QString::number(count) + QStringLiteral(" schede.");
}

Matcher::Matcher(const Config &config, const QStringList &typed)
{
    const RecordLayout &layout = *config.archive->layout;
    const qsizetype n = std::min(typed.size(), config.fields.size());
    for (qsizetype i = 0; i < n; ++i) {
        // A box of blanks only is left out altogether: it would otherwise match every
        // record whose field holds those blanks and stand in for a box that did not.
        if (TrimControl(typed[i]).isEmpty())
            continue;
        ++m_filled;
        Key key;
        const int field = config.fields[i].recordField;
        key.offset = layout.offset(field);
        key.capacity = layout.field(field).capacity;
        key.storable = toStoredForm(typed[i], key.lowered);
        m_keys.append(key);
        m_fields.push_back(field);
    }
    // A box that can match nothing makes every record fail without a field being read.
    const bool anyUnstorable
        = std::any_of(m_keys.cbegin(), m_keys.cend(), [](const Key &key) { return !key.storable; });
    m_fields = anyUnstorable ? ListLines::Fields() : ListLines::unite(std::move(m_fields), {});
}

bool Matcher::matches(QByteArrayView recordBytes) const
{
    for (const Key &key : m_keys) {
        if (!key.storable
            || !occursIn(
                storedText(recordBytes, key.offset, key.capacity, Trim::None), key.lowered))
            return false;
    }
    return true;
}

bool occursIn(QByteArrayView fieldText, QByteArrayView lowered)
{
    const qsizetype m = lowered.size();
    const qsizetype n = fieldText.size();
    if (m == 0 || m > n)
        return false;
    const auto *t = reinterpret_cast<const unsigned char *>(fieldText.data());
    const auto *k = reinterpret_cast<const unsigned char *>(lowered.data());
    const unsigned char first = k[0];
    for (qsizetype i = 0; i + m <= n; ++i) {
        if (fold(t[i]) != first)
            continue;
        qsizetype j = 1;
        while (j < m && fold(t[i + j]) == k[j])
            ++j;
        if (j == m)
            return true;
    }
    return false;
}

ListLines::Scan search(Storage::Session &archive, const Config &config, const QStringList &typed)
{
    const Matcher matcher(config, typed);
    ListLines::Scan scan = ListLines::scanLines(
        archive, matcher.fields(),
        [&matcher](QByteArrayView bytes) {
            return matcher.matches(bytes) ? ListLines::Verdict::Add : ListLines::Verdict::Skip;
        },
        ListLines::lineBuilder(config.columns, *config.archive->layout));
    scan.lines.sort();
    return scan;
}

} // namespace ArchiveSearch
