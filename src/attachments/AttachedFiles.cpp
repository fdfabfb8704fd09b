#include "attachments/AttachedFiles.h"

#include "cards/CardIds.h"
#include "records/CustomerRecord.h"
#include "records/ProductRecord.h"
#include "records/SupplierRecord.h"
#include "storage/Cp1252.h"
#include "storage/Storage.h"
#include "storage/TextForms.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Control characters of both ranges: the C1 ones are what the five unused bytes of the
// code page decode to, so a damaged record can hold them too.
bool isControl(char16_t u)
{
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

bool isForbiddenInWindowsName(char16_t u)
{
    switch (u) {
    case u'\\':
    case u'/':
    case u':':
    case u'*':
    case u'?':
    case u'"':
    case u'<':
    case u'>':
    case u'|':
        return true;
    default:
        return isControl(u);
    }
}

bool isStorable(QChar ch)
{
    return Cp1252::encodeChar(ch) != '?';
}

// An extension is kept whole when a long name is cut, unless it is itself unusually long.
constexpr qsizetype kLongestKeptExtension = 20;

QString cutToCapacity(const QString &name)
{
    if (name.size() <= AttachedFiles::kNameCapacity)
        return name;
    const qsizetype dot = name.lastIndexOf(u'.');
    const qsizetype extensionSize = dot > 0 ? name.size() - dot : 0;
    if (extensionSize == 0 || extensionSize > kLongestKeptExtension)
        return name.left(AttachedFiles::kNameCapacity);
    return name.left(AttachedFiles::kNameCapacity - extensionSize) + name.mid(dot);
}

constexpr qint64 kCopyBlock = 1 << 20;

} // namespace

namespace AttachedFiles {

QString folderPath()
{
    return Storage::documentsFolder();
}

QString filePath(const QString &name)
{
    return QDir(folderPath()).filePath(name);
}

bool isPlainName(const QString &name)
{
    if (name.isEmpty())
        return false;
    bool onlyDotsAndBlanks = true;
    for (const QChar ch : name) {
        const char16_t u = ch.unicode();
        if (u == u'/' || u == u'\\' || u == u':' || isControl(u))
            return false;
        if (u != u'.' && u != u' ')
            onlyDotsAndBlanks = false;
    }
    return !onlyDotsAndBlanks;
}

QString storableName(const QString &fileName)
{
    // A name written in decomposed form (an accent as a separate mark) becomes the
    // composed letters the code page has.
    const QString composed = TrimControl(fileName.normalized(QString::NormalizationForm_C));
    QString name;
    name.reserve(composed.size());
    for (qsizetype i = 0; i < composed.size(); ++i) {
        const QChar ch = composed[i];
        if (ch.isHighSurrogate() && i + 1 < composed.size() && composed[i + 1].isLowSurrogate()) {
            // One character outside the Basic Multilingual Plane (an emoji): one "_".
            ++i;
            name.append(u'_');
        } else if (isForbiddenInWindowsName(ch.unicode()) || !isStorable(ch)) {
            name.append(u'_');
        } else {
            name.append(ch);
        }
    }
    return cutToCapacity(name);
}

QString openCommand(const QString &name)
{
    return u'"' + QDir::toNativeSeparators(Storage::documentFile(name)) + u'"';
}

QString cardForTag(const QString &tag)
{
    const std::optional<CardId> card = cardForAttachmentsTag(tag);
    return card ? QString(cardIdentity(*card).objectName) : QString();
}

bool ensureFolder()
{
    return Storage::prepareDocuments();
}

bool existsInFolder(const QString &name)
{
    return Storage::documentExists(name);
}

CopyResult copyIntoFolder(const QString &sourcePath, const QString &name)
{
    QFile source(sourcePath);
    if (!QFileInfo(sourcePath).isFile() || !source.open(QIODevice::ReadOnly))
        return CopyResult::SourceUnreadable;
    if (!ensureFolder())
        return CopyResult::FolderNotCreated;

    // Never written in place: the old document is replaced only by a whole copy.
    bool sourceFailed = false;
    const bool copied = Storage::storeDocument(name, [&](QIODevice &target) {
        for (;;) {
            const QByteArray block = source.read(kCopyBlock);
            if (block.isEmpty()) {
                sourceFailed = source.error() != QFileDevice::NoError || !source.atEnd();
                return !sourceFailed;
            }
            if (target.write(block) != block.size())
                return false;
        }
    });
    if (copied)
        return CopyResult::Copied;
    return sourceFailed ? CopyResult::SourceUnreadable : CopyResult::TargetNotWritten;
}

QString copyFailureText(CopyResult result, const QString &sourcePath)
{
    const QString notAttached = QStringLiteral("\r\n\r\nIl file non è stato allegato.");
    switch (result) {
    case CopyResult::Copied:
        return {};
    case CopyResult::NameUnusable:
        return QStringLiteral("Attenzione: il nome del file scelto non può essere usato per un "
                              "file allegato:\r\n%1")
                   .arg(QDir::toNativeSeparators(sourcePath))
            + notAttached;
    case CopyResult::FolderNotCreated:
        return QStringLiteral("Attenzione: non è stato possibile creare la cartella dei "
                              "documenti allegati:\r\n%1")
                   .arg(QDir::toNativeSeparators(folderPath()))
            + notAttached;
    case CopyResult::SourceUnreadable:
        return QStringLiteral("Attenzione: non è stato possibile leggere il file scelto:\r\n%1")
                   .arg(QDir::toNativeSeparators(sourcePath))
            + notAttached;
    case CopyResult::TargetNotWritten:
        return QStringLiteral("Attenzione: non è stato possibile copiare il file nella cartella "
                              "dei documenti allegati (disco pieno o cartella protetta da "
                              "scrittura).")
            + notAttached;
    }
    return {};
}

QString refusedNameText()
{
    return QStringLiteral(
        "Attenzione: il nome del file allegato non è valido. Un file allegato deve avere un "
        "nome semplice, senza cartelle, lettere di unità o caratteri di controllo.\r\n\r\n"
        "Il file non è stato aperto.");
}

bool sameContent(const QString &pathA, const QString &pathB)
{
    QFile a(pathA);
    QFile b(pathB);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.size() != b.size())
        return false;
    for (;;) {
        const QByteArray blockA = a.read(kCopyBlock);
        const QByteArray blockB = b.read(kCopyBlock);
        if (blockA != blockB)
            return false;
        if (blockA.isEmpty())
            return a.error() == QFileDevice::NoError && b.error() == QFileDevice::NoError;
    }
}

QString keptBothName(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    const bool hasExtension = dot > 0 && name.size() - dot <= kLongestKeptExtension;
    const QString base = hasExtension ? name.left(dot) : name;
    const QString extension = hasExtension ? name.mid(dot) : QString();
    for (int n = 2;; ++n) {
        const QString suffix = QStringLiteral(" (%1)").arg(n) + extension;
        const QString candidate = base.left(kNameCapacity - suffix.size()) + suffix;
        if (!existsInFolder(candidate))
            return candidate;
    }
}

int cardsUsing(const QString &name, const QString &ownArchive, qint64 ownIndex)
{
    int count = 0;
    for (const Archive *archive :
        { &ProductRecord::archive(), &CustomerRecord::archive(), &SupplierRecord::archive() }) {
        const RecordLayout &layout = *archive->layout;
        const int fileFields[] = { layout.indexOf(QStringLiteral("File01")),
            layout.indexOf(QStringLiteral("File02")), layout.indexOf(QStringLiteral("File03")) };
        if (!Storage::exists(*archive))
            continue;
        Storage::read(*archive, [&](Storage::Session &file) {
            std::vector<int> asked;
            for (int slot : fileFields) {
                if (slot >= 0)
                    asked.push_back(slot);
            }
            file.scan(asked, [&](qint64 index, QByteArrayView record) {
                if (archive->fileName == ownArchive && index == ownIndex)
                    return true;
                for (int slot : asked) {
                    if (TrimControl(fieldOf(layout, record, slot)) == name) {
                        ++count;
                        break;
                    }
                }
                return true;
            });
        });
    }
    return count;
}

QString overwriteQuestion(const QString &name, int otherCards, const QString &keptName)
{
    const QString users = otherCards == 0 ? QStringLiteral("non è allegato a nessun'altra scheda")
        : otherCards == 1                 ? QStringLiteral("è allegato a un'altra scheda")
                          : QStringLiteral("è allegato ad altre %1 schede").arg(otherCards);
    return QStringLiteral("Attenzione: nella cartella dei documenti allegati è presente un altro "
                          "file di nome \"%1\", diverso da quello scelto; il file presente %2."
                          "\r\n\r\nSi vuole sovrascrivere il file esistente? Con \"%3\" il "
                          "file scelto viene allegato come \"%4\".")
        .arg(name, users, keepBothButton(), keptName);
}

QString keepBothButton()
{
    return QStringLiteral("Conserva entrambi");
}

Attach attach(const QString &sourcePath,
    const std::function<Choice(const QString &name, const QString &keptName)> &choose)
{
    const QString name = storableName(QFileInfo(sourcePath).fileName());
    if (!isPlainName(name))
        return { false, {}, copyFailureText(CopyResult::NameUnusable, sourcePath) };
    // A file that cannot be read is reported before the user is asked about replacing.
    if (!QFileInfo(sourcePath).isFile() || !QFileInfo(sourcePath).isReadable())
        return { false, {}, copyFailureText(CopyResult::SourceUnreadable, sourcePath) };
    if (!ensureFolder())
        return { false, {}, copyFailureText(CopyResult::FolderNotCreated, sourcePath) };
    QString target = name;
    // The same file chosen again (or the folder's own copy) is simply named: nothing to ask.
    if (existsInFolder(name) && !sameContent(sourcePath, Storage::documentFile(name))) {
        const QString keptName = keptBothName(name);
        switch (choose(name, keptName)) {
        case Choice::KeepExisting:
            return { true, name, {} };
        case Choice::KeepBoth:
            target = keptName;
            break;
        case Choice::Overwrite:
            break;
        }
    } else if (existsInFolder(name)) {
        return { true, name, {} };
    }
    const CopyResult result = copyIntoFolder(sourcePath, target);
    if (result != CopyResult::Copied)
        return { false, {}, copyFailureText(result, sourcePath) };
    return { true, target, {} };
}

} // namespace AttachedFiles
