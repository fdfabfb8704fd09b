#pragma once
#include "cards/CardIds.h"
#include "lists/ListLines.h"
#include "storage/ArchiveId.h"
#include "storage/RecordLayout.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace Storage {
class Session;
}

// The search of the three card archives by partial words in up to ten fields at once, as
// pure logic: the table of values of each search screen, the matching rule and the lines
// of the records found. The screens only show what these give.
namespace ArchiveSearch {

// One search box: its objectName (txt + the record field it searches), the caption shown
// above it, and the index of that record field in the archive's layout.
struct SearchField
{
    QString name;
    QString caption;
    int recordField = 0;
};

// Everything in which the three search screens differ.
struct Config
{
    ArchiveId kind = ArchiveId::Products;
    QString screenName; // TfrmTrovaMagazzino, TfrmTrovaClienti, TfrmTrovaFornitori
    QString windowCaption;
    const Archive *archive = nullptr;
    // The ten search boxes in their Enter order; Enter in the last goes back to the first,
    // and the first has the focus when the screen is shown.
    QList<SearchField> fields;
    ListLines::Columns columns;
    QString countLead; // the count text is countLead + number + " schede."
    QString printTitle;
    // The card of this archive: a double-click on a search opened with its search tag
    // loads the record into it.
    CardId card = CardId::Product;
};

// The search of a card archive (Products, Customers, Suppliers).
const Config &config(ArchiveId kind);

// "Il presente elenco contiene 12 schede." (products) or "Il presente riepilogo
// contiene 12 schede." (customers, suppliers).
QString countText(const Config &config, qsizetype count);

// The matching rule for the texts typed into the search boxes (one per box, in the order
// of config.fields). A box whose text is empty or only blanks takes no part. Every other
// box must occur, as typed (not trimmed), in its record field: letters A-Z match their
// lower-case twins, every other character only itself (È and è differ). With no box
// filled every record matches. A character that the archives' code page cannot hold can
// never occur in a stored field: a box holding one matches no record.
class Matcher
{
public:
    Matcher(const Config &config, const QStringList &typed);

    // The number of boxes whose trimmed text is not empty (shown in lblConta).
    int filledCount() const { return m_filled; }
    // True when every filled box occurs in its field of the stored record.
    bool matches(QByteArrayView recordBytes) const;
    // The fields whose texts matches() depends on (none when a box can match nothing).
    const ListLines::Fields &fields() const { return m_fields; }

private:
    struct Key
    {
        int offset = 0;
        int capacity = 0;
        QByteArray lowered; // the typed text in the code page, A-Z lowered
        bool storable = true;
    };
    QList<Key> m_keys;
    ListLines::Fields m_fields;
    int m_filled = 0;
};

// True when lowered (code-page bytes, already lowered) occurs in the stored field text
// with its letters A-Z lowered. An empty key never occurs.
bool occursIn(QByteArrayView fieldText, QByteArrayView lowered);

// The search over an open archive: the lines of every matching record from the first to
// the last, sorted as the list shows them. complete is false when a record could not be
// read (the lines found before it stay).
ListLines::Scan search(Storage::Session &archive, const Config &config, const QStringList &typed);

} // namespace ArchiveSearch
