#include "import/ImportRun.h"

#include "storage/Backup.h"
#include "storage/ProgramFolder.h"
#include "storage/Storage.h"
#include "storage/TextForms.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

namespace ImportRun {

namespace {

// Added records are written in blocks of about this size.
constexpr qsizetype kBlockBytes = 1024 * 1024;
// Progress is reported every so many rows.
constexpr qint64 kProgressEvery = 256;

QString italianNumber(qint64 n)
{
    return QLocale(QLocale::Italian, QLocale::Italy).toString(n);
}

// The data rows of a source: the header row (when there is one) handed to onHeader.
class DataRows
{
public:
    DataRows(bool header, std::function<void(const SheetRows::Row &)> onHeader,
        std::function<bool(const SheetRows::Row &)> onRow)
        : m_header(header)
        , m_onHeader(std::move(onHeader))
        , m_onRow(std::move(onRow))
    {
    }
    SheetRows::RowSink sink()
    {
        return [this](qint64, const SheetRows::Row &row) {
            if (m_header) {
                m_header = false;
                if (m_onHeader)
                    m_onHeader(row);
                return true;
            }
            return m_onRow(row);
        };
    }

private:
    bool m_header;
    std::function<void(const SheetRows::Row &)> m_onHeader;
    std::function<bool(const SheetRows::Row &)> m_onRow;
};

QStringList displayTexts(const SheetRows::Row &row)
{
    QStringList texts;
    for (const SheetRows::Cell &cell : row)
        texts.append(cell.display());
    return texts;
}

} // namespace

namespace {

bool readKeys(Target target, Storage::Session &file, ArchiveKeys &keys, QString &error)
{
    keys = {};
    Record record(ImportFields::layoutOf(target));
    const qint64 count = file.recordCount();
    keys.index.reserve(count);
    qint64 read = 0;
    const bool whole = file.scan({}, [&](qint64 i, QByteArrayView bytes) {
        if (i >= count)
            return false;
        record.decode(bytes);
        const QString key = ImportFields::duplicateKey(target, record);
        if (!key.isEmpty() && !keys.index.contains(key))
            keys.index.insert(key, i);
        read = i + 1;
        return true;
    });
    if (!whole || read < count) {
        error = whole ? QStringLiteral("lettura dell'archivio incompleta") : file.errorString();
        return false;
    }
    keys.count = count;
    return true;
}

} // namespace

bool readArchiveKeys(Target target, ArchiveKeys &keys, QString &error)
{
    keys = {};
    const auto file
        = Storage::open(ImportFields::archiveOf(target), Storage::Access::ReadOnly, &error);
    return file && readKeys(target, *file, keys, error);
}

RowPlan planRow(const Options &options, ArchiveKeys &keys, const SheetRows::Row &row,
    const std::function<bool(qint64, Record &)> &readExisting)
{
    RowPlan plan { Action::Add,
        ImportFields::convertRow(options.target, options.mapping, row, nullptr), -1 };
    if (plan.converted.rejected()) {
        plan.action = Action::Reject;
        return plan;
    }
    const QString key = ImportFields::duplicateKey(options.target, plan.converted.record);
    const auto found = key.isEmpty() ? keys.index.constEnd() : keys.index.constFind(key);
    if (found != keys.index.constEnd()) {
        switch (options.duplicates) {
        case Duplicates::Skip:
            plan.action = Action::Skip;
            return plan;
        case Duplicates::Update: {
            Record existing(ImportFields::layoutOf(options.target));
            if (!readExisting(found.value(), existing)) {
                plan.action = Action::Reject;
                plan.converted.problems.append(
                    { -1, QStringLiteral("La scheda già presente non può essere letta."), true });
                return plan;
            }
            plan.converted
                = ImportFields::convertRow(options.target, options.mapping, row, &existing);
            plan.action = plan.converted.rejected() ? Action::Reject : Action::Update;
            plan.existing = found.value();
            return plan;
        }
        case Duplicates::Add:
            break;
        }
    } else if (!key.isEmpty()) {
        keys.index.insert(key, keys.count);
    }
    plan.action = Action::Add;
    ++keys.count;
    return plan;
}

bool analyse(const Options &options, const RowSource &source, Summary &summary, QString &error,
    const Progress &progress)
{
    summary = {};
    ArchiveKeys keys;
    if (!readArchiveKeys(options.target, keys, error))
        return false;
    const auto archive
        = Storage::open(ImportFields::archiveOf(options.target), Storage::Access::ReadOnly);
    auto readExisting = [&](qint64 index, Record &record) {
        // A record this import adds: its values are not needed to count.
        if (archive && index >= archive->recordCount())
            return true;
        return archive && archive->readAt(index, record);
    };
    bool cancelled = false;
    DataRows rows(options.header, {}, [&](const SheetRows::Row &row) {
        const RowPlan plan = planRow(options, keys, row, readExisting);
        ++summary.read;
        if (plan.action == Action::Add || plan.action == Action::Update)
            ++summary.toImport;
        if (!plan.converted.problems.isEmpty())
            ++summary.withProblems;
        if (progress && summary.read % kProgressEvery == 0 && !progress(summary.read)) {
            cancelled = true;
            return false;
        }
        return true;
    });
    if (!source(rows.sink(), error))
        return false;
    return !cancelled;
}

QString summaryText(const Summary &summary)
{
    return QStringLiteral("Righe lette: %1. Da importare: %2. Con problemi: %3.")
        .arg(italianNumber(summary.read), italianNumber(summary.toImport),
            italianNumber(summary.withProblems));
}

QString backupFileName(Target target, const QDateTime &moment)
{
    const QString archive = ImportFields::archiveOf(target).fileName;
    const QString base = QFileInfo(archive).completeBaseName();
    return base + QStringLiteral("_prima_dell_importazione_")
        + moment.toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss")) + QStringLiteral(".mrv");
}

QString scrapReasonTitle()
{
    return QStringLiteral("Motivo dello scarto");
}

QString csvLine(const QStringList &fields)
{
    QStringList quoted;
    for (const QString &field : fields) {
        if (field.contains(u';') || field.contains(u'"') || field.contains(u'\n')
            || field.contains(u'\r')) {
            QString q = field;
            q.replace(QStringLiteral("\""), QStringLiteral("\"\""));
            quoted.append(u'"' + q + u'"');
        } else {
            quoted.append(field);
        }
    }
    return quoted.join(u';') + QStringLiteral("\r\n");
}

Outcome run(const Options &options, const RowSource &source, const Progress &progress)
{
    Outcome outcome;
    const Archive &archive = ImportFields::archiveOf(options.target);
    auto failed = [&](const QString &why) {
        outcome.result = Outcome::Result::Failed;
        outcome.error = why;
        return outcome;
    };

    QString error;
    {
        // Opening the archive for writing puts back a record left by a crash, and makes
        // sure it may be written at all.
        if (!Storage::open(archive, Storage::Access::ReadWrite, &error))
            return failed(error);
    }
    const QString backups = ProgramFolder::filePath(QString::fromLatin1(Backup::kFolderName));
    if (!QDir().mkpath(backups))
        return failed(QStringLiteral("impossibile creare la cartella ") + backups);
    outcome.backupPath = QDir(backups).filePath(backupFileName(options.target, Clock::now()));
    if (!Storage::copyArchive(archive, outcome.backupPath, &error))
        return failed(QStringLiteral("copia di sicurezza non riuscita: ") + error);

    // The import is one change: the working copy takes the archive's place whole at the
    // end, or never (cancelled, failed). No other copy writes the archive meanwhile, so
    // the positions of the records found here stay theirs.
    const std::unique_ptr<Storage::WorkingCopy> staging = Storage::workingCopy(archive, &error);
    if (!staging)
        return failed(error);
    ArchiveKeys keys;
    if (!readKeys(options.target, *staging, keys, error))
        return failed(error);

    QSaveFile scrap(ProgramFolder::filePath(QString::fromLatin1(kScrapFileName)));
    const bool scrapOpen = scrap.open(QIODevice::WriteOnly);
    QStringList headers;
    bool scrapHeaderWritten = false;
    auto writeScrap = [&](const SheetRows::Row &row, const QString &reason) {
        ++outcome.scrapped;
        if (!scrapOpen)
            return;
        QStringList texts = displayTexts(row);
        if (!scrapHeaderWritten) {
            QStringList titles = headers;
            while (titles.size() < texts.size())
                titles.append(
                    QStringLiteral("Colonna ") + SheetRows::columnLetters(int(titles.size())));
            // The reason goes in the column after the file's own.
            titles.append(scrapReasonTitle());
            scrap.write("\xEF\xBB\xBF");
            scrap.write(csvLine(titles).toUtf8());
            scrapHeaderWritten = true;
        }
        while (texts.size() < headers.size())
            texts.append(QString());
        texts.append(reason);
        scrap.write(csvLine(texts).toUtf8());
    };

    // A block that could not be written fails the whole import, wherever it was written
    // from (a row that adds, or the reading of a record an update looks at): the staging
    // file was cut back, so its records are not there.
    bool writeFailed = false;
    QByteArray pending;
    auto flushPending = [&] {
        if (!pending.isEmpty()) {
            if (!staging->appendBlock(pending))
                writeFailed = true;
            pending.clear();
        }
        return !writeFailed;
    };
    auto readExisting = [&](qint64 index, Record &record) {
        return flushPending() && staging->readAt(index, record);
    };

    bool cancelled = false;
    qint64 done = 0;
    DataRows rows(
        options.header, [&](const SheetRows::Row &header) { headers = displayTexts(header); },
        [&](const SheetRows::Row &row) {
            RowPlan plan = planRow(options, keys, row, readExisting);
            switch (plan.action) {
            case Action::Add:
                pending.append(plan.converted.record.encode());
                ++outcome.added;
                if (pending.size() >= kBlockBytes && !flushPending())
                    writeFailed = true;
                break;
            case Action::Update:
                if (!flushPending() || !staging->writeAt(plan.existing, plan.converted.record))
                    writeFailed = true;
                ++outcome.updated;
                break;
            case Action::Skip:
                writeScrap(row, QStringLiteral("Scheda già presente in archivio."));
                break;
            case Action::Reject:
                writeScrap(row, plan.converted.rejection());
                break;
            }
            if (writeFailed)
                return false;
            ++done;
            if (progress && done % kProgressEvery == 0 && !progress(done)) {
                cancelled = true;
                return false;
            }
            return true;
        });
    if (!source(rows.sink(), error)) {
        scrap.cancelWriting();
        return failed(error);
    }
    if (cancelled) {
        scrap.cancelWriting();
        outcome.result = Outcome::Result::Cancelled;
        return outcome;
    }
    if (writeFailed || !flushPending() || !staging->commit()) {
        error = staging->errorString();
        scrap.cancelWriting();
        return failed(error);
    }
    if (outcome.scrapped > 0 && scrapOpen && scrap.commit())
        outcome.scrapPath = scrap.fileName();
    else
        scrap.cancelWriting();
    return outcome;
}

QString completionText(const Outcome &outcome)
{
    return QStringLiteral("Importazione completata: %1 schede aggiunte, %2 aggiornate, %3 righe "
                          "scartate.")
        .arg(italianNumber(outcome.added), italianNumber(outcome.updated),
            italianNumber(outcome.scrapped));
}

QString failureText(const Outcome &outcome)
{
    return QStringLiteral("Attenzione: l'importazione non è riuscita (%1).\n\nL'archivio non "
                          "è stato modificato.")
        .arg(outcome.error);
}

} // namespace ImportRun
