#pragma once
#include "storage/RecordLayout.h"
#include "storage/Storage.h"

#include <QString>

#include <functional>

// The files attached to the product, customer and supplier cards: copies kept where the
// archives keep their documents (the one folder "Documenti_Allegati" of the program folder,
// or the archives' server), known to a record only by their plain name. Every card and record
// shares the folder, so two attachments with the same name are the same file. Nothing here deletes
// an attached file.
namespace AttachedFiles {

inline constexpr const auto &kFolderName = Storage::kDocumentsFolderName;
// The capacity of the File01..File03 fields: a longer name could not be found again.
inline constexpr int kNameCapacity = 250;

// The attachment folder, and the full path of an attached file in it (where the program
// folder's archives keep them).
QString folderPath();
QString filePath(const QString &name);

// True for a name that can only mean a file directly inside the attachment folder: not
// empty, no path separator, no drive letter or other colon, no control character, and not
// "." or ".." (nor any other name made of dots and blanks only, which Windows reads as a
// folder). Names read from a record pass this before they become a path.
bool isPlainName(const QString &name);

// The name a chosen file is copied under: its own name, trimmed, with every character the
// record files cannot store in Windows-1252 (a Greek or Chinese letter) and every character
// a Windows file name cannot hold (\ / : * ? " < > | and control characters) replaced by
// "_", and cut to 250 characters keeping its extension. A plain Western name stays as it is.
QString storableName(const QString &fileName);

// The text handed to the shell to open an attached file: the full path of its file on this
// computer (a copy made to open it, when it is kept on a server) in double quotes.
QString openCommand(const QString &name);

// The card a caller tag names ("magazzino" -> "TfrmMagazzino", "anagrafica" ->
// "TfrmAnagrafica", "fornitori" -> "TfrmFornitori"); empty for any other tag.
QString cardForTag(const QString &tag);

enum class CopyResult {
    Copied,
    NameUnusable,
    FolderNotCreated,
    SourceUnreadable,
    TargetNotWritten
};

// Creates the attachment folder with any missing parents; true when it is there.
bool ensureFolder();
// True when something of that name is already in the attachment folder.
bool existsInFolder(const QString &name);
// Copies sourcePath into the attachment folder as name, replacing a file of that name.
// The copy is written under a temporary name and renamed only when complete, so a failed
// copy leaves the folder as it was: neither a partial file nor a damaged old one.
CopyResult copyIntoFolder(const QString &sourcePath, const QString &name);

// What the user is told (in a warning) when a copy fails, and when a name read from a
// record is refused.
QString copyFailureText(CopyResult result, const QString &sourcePath);
QString refusedNameText();

// True when the two files hold the same bytes (false when either cannot be read).
bool sameContent(const QString &pathA, const QString &pathB);

// The name under which a chosen file is kept beside a different file of the same name:
// "listino (2).pdf", or (3), (4) ... the first that the folder does not hold yet, cut to
// the field's capacity keeping the number and the extension.
QString keptBothName(const QString &name);

// How many stored cards of the three archives (products, customers, suppliers) name the
// attached file in one of their slots, leaving out the record at ownIndex (0-based) of
// the archive named ownArchive (the card the file is being chosen for; -1: none left out).
int cardsUsing(const QString &name, const QString &ownArchive, qint64 ownIndex);

// The question asked before a chosen file replaces a different one of the same name in
// the folder: it names how many other cards use that file and the name "Conserva
// entrambi" keeps the new one under. The third button's text is keepBothButton().
QString overwriteQuestion(const QString &name, int otherCards, const QString &keptName);
QString keepBothButton();

// What the user chose when the name is taken by a different file.
enum class Choice {
    Overwrite, // the new file replaces the folder's one
    KeepExisting, // the folder's file stays and the slot names it
    KeepBoth // the new file is copied under keptBothName() and the slot names that
};

// The outcome of choosing a file for a slot.
struct Attach
{
    // True when the slot is to show name; false leaves the slot as it was.
    bool fillSlot = false;
    QString name;
    // A warning for the user, or empty.
    QString warning;
};

// Choosing sourcePath for a slot: its storable name, the folder made sure of, and the copy.
// When the folder holds a different file of that name, choose is asked (with the name and
// the name "Conserva entrambi" would give); a file with the same bytes is simply named.
// Any failure leaves the slot as it was and says why.
Attach attach(const QString &sourcePath,
    const std::function<Choice(const QString &name, const QString &keptName)> &choose);

} // namespace AttachedFiles
