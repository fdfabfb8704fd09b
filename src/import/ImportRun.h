#pragma once
#include "import/ImportFields.h"
#include "import/SheetRows.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

// The import as one operation over an archive: the rows of a file converted as the card
// would store them, the records already present found by their key, and the archive
// replaced only once every record is written. Before that the archive is copied into
// Backup/; a cancelled or failed import leaves it exactly as it was. The rows left out
// are written, with their reason, to Scarti_importazione.csv beside the program, in a
// form that imports again once corrected.
namespace ImportRun {

using ImportFields::Target;

enum class Duplicates { Skip, Update, Add };

// Reads every row of the chosen sheet into the sink; false with error set on failure.
using RowSource = std::function<bool(const SheetRows::RowSink &sink, QString &error)>;

struct Options
{
    Target target = Target::Products;
    QList<int> mapping; // for each field of ImportFields::fields(target): column or -1
    bool header = true; // the first row holds the column names
    Duplicates duplicates = Duplicates::Skip;
};

// What one data row will do.
enum class Action { Add, Update, Skip, Reject };

struct RowPlan
{
    Action action = Action::Add;
    ImportFields::Converted converted;
    qint64 existing = -1; // the record updated
};

// The keys of the archive's records (ImportFields::duplicateKey) and their indexes; the
// first record of a key wins.
struct ArchiveKeys
{
    QHash<QString, qint64> index;
    qint64 count = 0;
};
bool readArchiveKeys(Target target, ArchiveKeys &keys, QString &error);

// Decides what a converted row does; keys then know the records this import adds.
RowPlan planRow(const Options &options, ArchiveKeys &keys, const SheetRows::Row &row,
    const std::function<bool(qint64, Record &)> &readExisting);

struct Summary
{
    qint64 read = 0; // data rows
    qint64 toImport = 0; // added or updated
    qint64 withProblems = 0; // rows with any problem, rejected ones included
};

// Called now and then with the data rows done; false cancels.
using Progress = std::function<bool(qint64 rowsDone)>;

// The counts of the summary line over the whole file, nothing written.
bool analyse(const Options &options, const RowSource &source, Summary &summary, QString &error,
    const Progress &progress = {});
QString summaryText(const Summary &summary);

struct Outcome
{
    enum class Result { Done, Cancelled, Failed };
    Result result = Result::Done;
    qint64 added = 0;
    qint64 updated = 0;
    qint64 scrapped = 0;
    QString error; // why it failed, in the user's words
    QString backupPath;
    QString scrapPath; // empty when no row was left out
};

Outcome run(const Options &options, const RowSource &source, const Progress &progress = {});

// "Importazione completata: 1.234 schede aggiunte, 12 aggiornate, 3 righe scartate."
QString completionText(const Outcome &outcome);
QString failureText(const Outcome &outcome);

// The copy of the archive taken before an import, in Backup/ of the program folder.
QString backupFileName(Target target, const QDateTime &moment);
inline constexpr char kScrapFileName[] = "Scarti_importazione.csv";
// The title of the column that holds the reason in the scrap file.
QString scrapReasonTitle();

// A file text in CSV form: ';' between fields, double quotes around fields that need them.
QString csvLine(const QStringList &fields);

} // namespace ImportRun
