#include "attachments/AllegaCartella.h"

#include "app/OpenURL.h"
#include "app/Screens.h"
#include "attachments/AttachedFiles.h"
#include "attachments/FileChooser.h"
#include "cards/CardScreen.h"
#include "catalogue/Magazzino.h"
#include "common/MessageRecorder.h"
#include "common/ModalProbe.h"
#include "common/StoredRecords.h"
#include "common/TempProgramFolder.h"
#include "customers/Anagrafica.h"
#include "records/ProductRecord.h"
#include "storage/Cp1252.h"
#include "suppliers/Fornitori.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using Answer = Messages::Answer;
using Kind = Messages::Kind;

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList attachedFiles()
{
    return QDir(AttachedFiles::folderPath())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Everything the dialog reaches outside itself, replaced for one test: the program folder,
// the message boxes, the shell and the file dialog.
class Fixture
{
public:
    Fixture()
    {
        TMisc::setOpener([this](const QUrl &url) { opened.append(url); });
        FileChooser::setChooser([this](QFileDialog *dialog) {
            shownDialogs.append(dialog);
            return choices.isEmpty() ? QString() : choices.takeFirst();
        });
    }
    ~Fixture()
    {
        TMisc::setOpener({});
        FileChooser::setChooser({});
    }
    Fixture(const Fixture &) = delete;
    Fixture &operator=(const Fixture &) = delete;

    // A file of the user's, outside the program folder.
    QString source(const QString &name, const QByteArray &bytes)
    {
        const QString path = sources.filePath(name);
        return writeFile(path, bytes) ? path : QString();
    }

    TempProgramFolder folder;
    QTemporaryDir sources;
    MessageRecorder messages;
    QList<QUrl> opened;
    QStringList choices;
    QList<QFileDialog *> shownDialogs;
};

// The dialog shown on its own, as a card would show it.
struct Dialog
{
    Dialog() { dialog.show(); }
    template <typename T = QWidget> T *find(const QString &name) const
    {
        return dialog.findChild<T *>(name);
    }
    QLineEdit *edit(const QString &name) const { return find<QLineEdit>(name); }
    QString text(const QString &name) const
    {
        const QLineEdit *e = edit(name);
        return e ? e->text() : u"<missing>"_s;
    }
    bool enabled(const QString &name) const
    {
        const QWidget *w = find(name);
        return w && w->isEnabled();
    }
    void click(const QString &name) const
    {
        auto *button = find<QAbstractButton>(name);
        QVERIFY2(button, qPrintable(name));
        QTest::mouseClick(button, Qt::LeftButton);
    }
    TfrmAllegaCartella dialog;
};

const QStringList kSixValues = { u"listino.xls"_s, u"Listino 2024"_s, u"foto.jpg"_s,
    u"Foto del banco"_s, u"fattura.pdf"_s, u"Fattura d'acquisto"_s };

QString slotName(const char *prefix, int slot)
{
    return QString::fromLatin1(prefix) + u"0"_s + QString::number(slot);
}

} // namespace

class TestAllegaCartella : public QObject
{
    Q_OBJECT
private slots:
    void contract_data();
    void contract();
    void fileDialogShowsEveryFile();
    void fixedSizeAndCentred();
    void openStateFollowsTheName_data();
    void openStateFollowsTheName();
    void clearingKeepsDescriptionAndFile();
    void browseCopiesIntoTheSlot();
    void browseCancelledChangesNothing();
    void slotsAreIndependent();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void failedCopyKeepsTheSlot();
    void unstorableNamesAreMadeStorable();
    void openHandsTheQuotedPathToTheShell();
    void openRefusesNamesLeavingTheFolder_data();
    void openRefusesNamesLeavingTheFolder();
    void realFileDialogChoosesAHiddenFile();
    void cardRoundTrip_data();
    void cardRoundTrip();
    void annullaHandsNothingBack();
};

void TestAllegaCartella::contract_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");
    static const struct
    {
        const char *name;
        const char *className;
        const char *text;
        bool enabled;
    } rows[] = {
        { "imgLogo", "QLabel", nullptr, true },
        { "lblCampo01", "QLabel", "Nome 1° file allegato:", true },
        { "lblCampo03", "QLabel", "Nome 2° file allegato:", true },
        { "lblCampo05", "QLabel", "Nome 3° file allegato:", true },
        { "lblCampo02", "QLabel", "Descrizione 1° file allegato:", true },
        { "lblCampo04", "QLabel", "Descrizione 2° file allegato:", true },
        { "lblCampo06", "QLabel", "Descrizione 3° file allegato:", true },
        { "txtFile01", "QLineEdit", "", true },
        { "txtFile02", "QLineEdit", "", true },
        { "txtFile03", "QLineEdit", "", true },
        { "txtDesc01", "QLineEdit", "", true },
        { "txtDesc02", "QLineEdit", "", true },
        { "txtDesc03", "QLineEdit", "", true },
        { "imgCancella01", "QToolButton", nullptr, true },
        { "imgCancella02", "QToolButton", nullptr, true },
        { "imgCancella03", "QToolButton", nullptr, true },
        { "btnSfoglia01", "QPushButton", "Sfoglia...", true },
        { "btnSfoglia02", "QPushButton", "Sfoglia...", true },
        { "btnSfoglia03", "QPushButton", "Sfoglia...", true },
        { "btnApri01", "QPushButton", "Apri", false },
        { "btnApri02", "QPushButton", "Apri", false },
        { "btnApri03", "QPushButton", "Apri", false },
        { "btnAnnulla", "QPushButton", "Annulla", true },
        { "btnApplica", "QPushButton", "Applica e chiudi", true },
        { "lblMemory", "QLabel", "", true },
        { "dlgFile", "QFileDialog", nullptr, true },
    };
    for (const auto &r : rows) {
        QTest::newRow(r.name) << QString::fromLatin1(r.name) << QString::fromLatin1(r.className)
                              << (r.text ? QString::fromUtf8(r.text) : u"<any>"_s) << r.enabled;
    }
}

void TestAllegaCartella::contract()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, text);
    QFETCH(bool, enabled);
    Fixture fixture;
    Dialog d;
    QCOMPARE(d.dialog.objectName(), u"TfrmAllegaCartella"_s);
    QCOMPARE(d.dialog.windowTitle(), u" Allega file"_s);
    const QObject *control = d.dialog.findChild<QObject *>(name);
    QVERIFY2(control, qPrintable(name));
    QVERIFY(control->inherits(className.toLatin1().constData()));
    QCOMPARE(d.enabled(name), enabled);
    if (text != u"<any>"_s) {
        if (const auto *label = qobject_cast<const QLabel *>(control))
            QCOMPARE(label->text(), text);
        else if (const auto *button = qobject_cast<const QAbstractButton *>(control))
            QCOMPARE(button->text(), text);
        else if (const auto *edit = qobject_cast<const QLineEdit *>(control))
            QCOMPARE(edit->text(), text);
    }
    if (name.startsWith(u"txtFile"_s)) {
        QVERIFY(d.edit(name)->isReadOnly());
        QVERIFY(d.edit(name)->font().bold());
    }
    if (name.startsWith(u"txtDesc"_s)) {
        QVERIFY(!d.edit(name)->isReadOnly());
        QVERIFY(d.edit(name)->font().bold());
        QCOMPARE(d.edit(name)->font().pointSize(), 12);
        // The dialog does not limit a description: the card's Save cuts it.
        QCOMPARE(d.edit(name)->maxLength(), 32767);
    }
    if (name == u"lblMemory"_s)
        QVERIFY(!d.find(name)->isVisible());
    if (name == u"imgLogo"_s) {
        const QString banner = d.find<QLabel>(name)->text();
        QVERIFY(banner.contains(u"Selezionare i file da allegare alla scheda corrente "
                                "servendosi del pulsante Sfoglia.<br>"_s));
        QVERIFY(banner.contains(u"Quindi fare clic su Applica e chiudi e poi sul pulsante "
                                "Salva per salvare le modifiche.<br>"_s));
        QVERIFY(banner.contains(u"Per aprire un file è sufficiente premere il pulsante Apri."_s));
        QVERIFY(banner.contains(u"mail-attachment"_s));
    }
}

void TestAllegaCartella::fileDialogShowsEveryFile()
{
    Fixture fixture;
    Dialog d;
    fixture.choices = { QString() };
    d.click(u"btnSfoglia02"_s);
    QCOMPARE(fixture.shownDialogs.size(), 1);
    QFileDialog *dlgFile = fixture.shownDialogs.first();
    QCOMPARE(dlgFile, d.find<QFileDialog>(u"dlgFile"_s));
    QCOMPARE(dlgFile->windowTitle(), u"Selezionare il file da allegare:"_s);
    QCOMPARE(dlgFile->fileMode(), QFileDialog::ExistingFile);
    QCOMPARE(dlgFile->acceptMode(), QFileDialog::AcceptOpen);
    QVERIFY(dlgFile->filter().testFlag(QDir::Hidden));
    // The one filter, as the user reads it in the dialog, and the pattern behind it.
    QCOMPARE(dlgFile->nameFilters().size(), 1);
    const auto *types = dlgFile->findChild<QComboBox *>(u"fileTypeCombo"_s);
    QVERIFY(types);
    QCOMPARE(types->count(), 1);
    QCOMPARE(types->itemText(0), u"Tutti i file (*.*)"_s);
    QVERIFY(QDir::match(QStringList { u"*"_s }, u"LEGGIMI"_s));
    QVERIFY(dlgFile->nameFilters().first().endsWith(u"(*)"_s));
}

void TestAllegaCartella::fixedSizeAndCentred()
{
    Fixture fixture;
    Dialog d;
    QVERIFY(QTest::qWaitForWindowExposed(&d.dialog));
    QCOMPARE(d.dialog.minimumSize(), d.dialog.maximumSize());
    const QRect screen = d.dialog.screen()->availableGeometry();
    const QPoint offCentre = d.dialog.geometry().center() - screen.center();
    QVERIFY2(qAbs(offCentre.x()) <= 2 && qAbs(offCentre.y()) <= 2,
        qPrintable(u"%1,%2"_s.arg(offCentre.x()).arg(offCentre.y())));
    QVERIFY(!(d.dialog.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(d.dialog.windowFlags() & Qt::WindowMinMaxButtonsHint));
}

void TestAllegaCartella::openStateFollowsTheName_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QList<bool>>("enabled");
    QTest::newRow("free slots") << QStringList {} << QList<bool> { false, false, false };
    QTest::newRow("stored second name") << QStringList { QString(), u"solo descrizione"_s,
        u"foto.jpg"_s } << QList<bool> { false, true, false };
    QTest::newRow("blanks are no name")
        << QStringList { u"   "_s, {}, {}, {}, u"\t"_s } << QList<bool> { false, false, false };
    QTest::newRow("all three") << kSixValues << QList<bool> { true, true, true };
}

void TestAllegaCartella::openStateFollowsTheName()
{
    QFETCH(QStringList, values);
    QFETCH(QList<bool>, enabled);
    Fixture fixture;
    Dialog d;
    d.dialog.setValues(values);
    for (int slot = 1; slot <= 3; ++slot)
        QCOMPARE(d.enabled(slotName("btnApri", slot)), enabled[slot - 1]);
}

void TestAllegaCartella::clearingKeepsDescriptionAndFile()
{
    Fixture fixture;
    QVERIFY(AttachedFiles::ensureFolder());
    QVERIFY(writeFile(AttachedFiles::filePath(u"foto.jpg"_s), "foto"));
    Dialog d;
    d.dialog.setValues(kSixValues);
    QVERIFY(d.enabled(u"btnApri02"_s));
    d.click(u"imgCancella02"_s);
    QCOMPARE(d.text(u"txtFile02"_s), QString());
    QVERIFY(!d.enabled(u"btnApri02"_s));
    QCOMPARE(d.text(u"txtDesc02"_s), u"Foto del banco"_s);
    QCOMPARE(readFile(AttachedFiles::filePath(u"foto.jpg"_s)), QByteArray("foto"));
    QCOMPARE(d.text(u"txtFile01"_s), u"listino.xls"_s);
    QCOMPARE(d.text(u"txtFile03"_s), u"fattura.pdf"_s);
    QVERIFY(d.enabled(u"btnApri01"_s) && d.enabled(u"btnApri03"_s));
}

void TestAllegaCartella::browseCopiesIntoTheSlot()
{
    Fixture fixture;
    Dialog d;
    fixture.choices = { fixture.source(u"Listino prezzi.xls"_s, "prezzi") };
    d.click(u"btnSfoglia01"_s);
    QCOMPARE(fixture.messages.count(), 0);
    QCOMPARE(d.text(u"txtFile01"_s), u"Listino prezzi.xls"_s);
    QVERIFY(d.enabled(u"btnApri01"_s));
    QCOMPARE(attachedFiles(), QStringList { u"Listino prezzi.xls"_s });
    QCOMPARE(readFile(AttachedFiles::filePath(u"Listino prezzi.xls"_s)), QByteArray("prezzi"));
}

void TestAllegaCartella::browseCancelledChangesNothing()
{
    Fixture fixture;
    Dialog d;
    d.dialog.setValues(kSixValues);
    fixture.choices = { QString() };
    d.click(u"btnSfoglia03"_s);
    QCOMPARE(fixture.shownDialogs.size(), 1);
    QCOMPARE(d.text(u"txtFile03"_s), u"fattura.pdf"_s);
    QCOMPARE(fixture.messages.count(), 0);
    QVERIFY(!QFileInfo::exists(AttachedFiles::folderPath()));
}

void TestAllegaCartella::slotsAreIndependent()
{
    Fixture fixture;
    Dialog d;
    d.dialog.setValues(kSixValues);
    fixture.choices = { fixture.source(u"nuovo.txt"_s, "x") };
    d.click(u"btnSfoglia02"_s);
    const QStringList expected = { u"listino.xls"_s, u"Listino 2024"_s, u"nuovo.txt"_s,
        u"Foto del banco"_s, u"fattura.pdf"_s, u"Fattura d'acquisto"_s };
    QStringList shown;
    for (int slot = 1; slot <= 3; ++slot)
        shown << d.text(slotName("txtFile", slot)) << d.text(slotName("txtDesc", slot));
    QCOMPARE(shown, expected);
}

void TestAllegaCartella::overwriteQuestion_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QByteArray>("kept");
    QTest::newRow("Sì replaces the folder's file") << Answer::Yes << QByteArray("nuova");
    QTest::newRow("No keeps the folder's file") << Answer::No << QByteArray("vecchia");
}

void TestAllegaCartella::overwriteQuestion()
{
    QFETCH(Answer, answer);
    QFETCH(QByteArray, kept);
    Fixture fixture;
    QVERIFY(AttachedFiles::ensureFolder());
    QVERIFY(writeFile(AttachedFiles::filePath(u"foto.jpg"_s), "vecchia"));
    Dialog d;
    fixture.choices = { fixture.source(u"foto.jpg"_s, "nuova") };
    fixture.messages.answers = { answer };
    d.click(u"btnSfoglia03"_s);
    QCOMPARE(fixture.messages.count(), 1);
    QCOMPARE(fixture.messages.lastKind(), Kind::Confirmation);
    QCOMPARE(fixture.messages.lastText(),
        u"Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso "
        "nome.\r\n\r\nSi vuole sovrascrivere il file esistente?"_s);
    // Either way the slot names the one file of that name in the folder.
    QCOMPARE(d.text(u"txtFile03"_s), u"foto.jpg"_s);
    QCOMPARE(readFile(AttachedFiles::filePath(u"foto.jpg"_s)), kept);
    QCOMPARE(attachedFiles(), QStringList { u"foto.jpg"_s });
}

void TestAllegaCartella::failedCopyKeepsTheSlot()
{
    Fixture fixture;
    // The tests run as root: a file where the folder should be stands for a folder that
    // cannot be created.
    QVERIFY(writeFile(AttachedFiles::folderPath(), "non una cartella"));
    Dialog d;
    d.dialog.setValues(kSixValues);
    const QString vanished = fixture.sources.filePath(u"sparito.pdf"_s);
    fixture.choices = { fixture.source(u"nuovo.pdf"_s, "x"), vanished };
    d.click(u"btnSfoglia01"_s);
    QCOMPARE(fixture.messages.count(), 1);
    QCOMPARE(fixture.messages.lastKind(), Kind::Warning);
    QVERIFY(fixture.messages.lastText().contains(u"creare la cartella dei documenti allegati"_s));
    QCOMPARE(d.text(u"txtFile01"_s), u"listino.xls"_s);

    QVERIFY(QFile::remove(AttachedFiles::folderPath()));
    d.click(u"btnSfoglia02"_s);
    QCOMPARE(fixture.messages.count(), 2);
    QCOMPARE(fixture.messages.lastKind(), Kind::Warning);
    QVERIFY(fixture.messages.lastText().contains(u"leggere il file scelto"_s));
    QCOMPARE(d.text(u"txtFile02"_s), u"foto.jpg"_s);
    QVERIFY(attachedFiles().isEmpty());
}

void TestAllegaCartella::unstorableNamesAreMadeStorable()
{
    Fixture fixture;
    Dialog d;
    const QString longName = QString(251, u'n') + u".pdf"_s;
    fixture.choices
        = { fixture.source(u"Τιμολόγιο.pdf"_s, "greco"), fixture.source(longName, "lungo") };
    d.click(u"btnSfoglia01"_s);
    d.click(u"btnSfoglia02"_s);
    QCOMPARE(fixture.messages.count(), 0);
    QCOMPARE(d.text(u"txtFile01"_s), u"_________.pdf"_s);
    QCOMPARE(d.text(u"txtFile02"_s), QString(246, u'n') + u".pdf"_s);
    QCOMPARE(readFile(AttachedFiles::filePath(u"_________.pdf"_s)), QByteArray("greco"));
    QCOMPARE(readFile(AttachedFiles::filePath(d.text(u"txtFile02"_s))), QByteArray("lungo"));
}

void TestAllegaCartella::openHandsTheQuotedPathToTheShell()
{
    Fixture fixture;
    QVERIFY(AttachedFiles::ensureFolder());
    QVERIFY(writeFile(AttachedFiles::filePath(u"Fattura perché 1.pdf"_s), "pdf"));
    Dialog d;
    d.dialog.setValues({ {}, {}, u"  Fattura perché 1.pdf "_s, {}, u"mancante.pdf"_s });
    d.click(u"btnApri02"_s);
    // A file missing from the folder goes to the shell all the same, which reports it.
    d.click(u"btnApri03"_s);
    QCOMPARE(fixture.opened,
        (QList<QUrl> { QUrl::fromLocalFile(
                           fixture.folder.filePath(u"Documenti_Allegati/Fattura perché 1.pdf"_s)),
            QUrl::fromLocalFile(fixture.folder.filePath(u"Documenti_Allegati/mancante.pdf"_s)) }));
    QCOMPARE(fixture.messages.count(), 0);
    QVERIFY(d.dialog.isVisible());
}

void TestAllegaCartella::openRefusesNamesLeavingTheFolder_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("parent folder") << u"../secret.txt"_s;
    QTest::newRow("absolute path") << u"/etc/passwd"_s;
    QTest::newRow("windows parent folder") << u"..\\secret.txt"_s;
    QTest::newRow("drive letter") << u"C:\\Windows\\win.ini"_s;
    QTest::newRow("dot dot") << u".."_s;
    QTest::newRow("control character") << u"a\x01.pdf"_s;
}

void TestAllegaCartella::openRefusesNamesLeavingTheFolder()
{
    QFETCH(QString, stored);
    Fixture fixture;
    Dialog d;
    d.dialog.setValues({ stored, u"descrizione"_s });
    QVERIFY(d.enabled(u"btnApri01"_s));
    d.click(u"btnApri01"_s);
    QVERIFY(fixture.opened.isEmpty());
    QCOMPARE(fixture.messages.count(), 1);
    QCOMPARE(fixture.messages.lastKind(), Kind::Warning);
    QCOMPARE(fixture.messages.lastText(), AttachedFiles::refusedNameText());
    QVERIFY(fixture.messages.lastText().startsWith(u"Attenzione: "_s));
    QVERIFY(d.dialog.isVisible());
}

void TestAllegaCartella::realFileDialogChoosesAHiddenFile()
{
    Fixture fixture;
    FileChooser::setChooser({});
    const QString hidden = fixture.source(u".nascosto"_s, "segreto");
    Dialog d;
    bool sawDialog = false;
    onNextModal([&](QWidget *modal) {
        auto *dlgFile = qobject_cast<QFileDialog *>(modal);
        if (!dlgFile || dlgFile->objectName() != u"dlgFile"_s)
            return;
        sawDialog = true;
        auto *name = dlgFile->findChild<QLineEdit *>(u"fileNameEdit"_s);
        if (!name)
            return;
        name->setText(hidden);
        QTest::keyClick(name, Qt::Key_Return);
    });
    d.click(u"btnSfoglia01"_s);
    QVERIFY(sawDialog);
    QCOMPARE(d.text(u"txtFile01"_s), u".nascosto"_s);
    QCOMPARE(readFile(AttachedFiles::filePath(u".nascosto"_s)), QByteArray("segreto"));
}

namespace {

// A card that opens the dialog: its caller tag, how to make one, what its Save needs, and
// where its record keeps File01..File03 and Desc01..Desc03 on disk.
struct CardKind
{
    const char *tag;
    std::function<std::unique_ptr<CardScreen>()> create;
    std::function<void(CardScreen &)> fillForSave;
    int offsets[6];
};

void setEdit(CardScreen &card, const char *name, const QString &text)
{
    if (auto *edit = card.findChild<QLineEdit *>(QString::fromLatin1(name)))
        edit->setText(text);
}

const QList<CardKind> &cardKinds()
{
    static const QList<CardKind> kinds = {
        { "magazzino", [] { return std::make_unique<TfrmMagazzino>(); },
            [](CardScreen &card) { setEdit(card, "txtCodice", u"ART-1"_s); },
            { 2866, 3117, 3368, 3619, 3870, 4121 } },
        { "anagrafica", [] { return std::make_unique<TfrmAnagrafica>(); },
            [](CardScreen &card) {
                setEdit(card, "txtCognome", u"Rossi"_s);
                setEdit(card, "txtNome", u"Mario"_s);
                setEdit(card, "txtDecorrenza", u"01/03/2024"_s);
                setEdit(card, "txtScadenza", u"01/04/2024"_s);
                setEdit(card, "txtPreavviso", u"5"_s);
            },
            { 2537, 2788, 3039, 3290, 3541, 3792 } },
        { "fornitori", [] { return std::make_unique<TfrmFornitori>(); },
            [](CardScreen &card) { setEdit(card, "txtDitta", u"Forniture Rossi"_s); },
            { 2137, 2388, 2639, 2890, 3141, 3392 } },
    };
    return kinds;
}

// The text of a short-string field as it lies in the first record of a file.
QByteArray storedBytes(const QByteArray &file, int offset)
{
    if (offset >= file.size())
        return "<missing>";
    return file.mid(offset + 1, quint8(file.at(offset)));
}

} // namespace

void TestAllegaCartella::cardRoundTrip_data()
{
    QTest::addColumn<int>("kind");
    for (int i = 0; i < cardKinds().size(); ++i)
        QTest::newRow(cardKinds()[i].tag) << i;
}

void TestAllegaCartella::cardRoundTrip()
{
    QFETCH(int, kind);
    const CardKind &cardKind = cardKinds()[kind];
    const QString tag = QString::fromLatin1(cardKind.tag);
    Fixture fixture;
    const std::unique_ptr<CardScreen> card = cardKind.create();
    Screens::registerResident(card.get());
    card->show();
    QVERIFY(card->binding().problems().isEmpty());
    auto *cmdFile = card->findChild<QToolButton *>(u"cmdFile"_s);
    QVERIFY(cmdFile);
    QVERIFY(cmdFile->isEnabled());
    cardKind.fillForSave(*card);

    // A new, unsaved card attaches files; the values reach the record with its Save.
    const QString description(10000, u'd');
    fixture.choices = { fixture.source(u"scheda tecnica.pdf"_s, "pdf") };
    QString memory;
    QList<bool> openAtStart;
    onNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<TfrmAllegaCartella *>(modal);
        if (!dialog)
            return;
        memory = dialog->findChild<QLabel *>(u"lblMemory"_s)->text();
        for (int slot = 1; slot <= 3; ++slot)
            openAtStart << dialog->findChild<QPushButton *>(slotName("btnApri", slot))->isEnabled();
        QTest::mouseClick(dialog->findChild<QPushButton *>(u"btnSfoglia02"_s), Qt::LeftButton);
        dialog->findChild<QLineEdit *>(u"txtDesc02"_s)->setText(u"  "_s + description);
        dialog->findChild<QLineEdit *>(u"txtDesc03"_s)->setText(u" Terza "_s);
        QTest::mouseClick(dialog->findChild<QPushButton *>(u"btnApplica"_s), Qt::LeftButton);
    });
    QTest::mouseClick(cmdFile, Qt::LeftButton);
    QCOMPARE(memory, tag);
    QCOMPARE(openAtStart, (QList<bool> { false, false, false }));
    const auto label = [&card](const QString &name) {
        const auto *l = card->findChild<QLabel *>(name);
        return l ? l->text() : u"<missing>"_s;
    };
    QCOMPARE(label(u"lblFile02"_s), u"scheda tecnica.pdf"_s);
    QCOMPARE(label(u"lblDesc02"_s), description);
    QCOMPARE(label(u"lblDesc03"_s), u"Terza"_s);
    QCOMPARE(label(u"lblFile01"_s), QString());
    // Nothing is written before Save.
    QVERIFY(fixture.folder.readAll(card->cardArchive().archive().fileName).isEmpty());

    QTest::mouseClick(card->findChild<QToolButton *>(u"cmdSalva"_s), Qt::LeftButton);
    const QByteArray bytes = fixture.folder.readAll(card->cardArchive().archive().fileName);
    QCOMPARE(bytes.size(), card->cardArchive().archive().layout->recordSize());
    const int *at = cardKind.offsets;
    QCOMPARE(storedBytes(bytes, at[0]), QByteArray());
    QCOMPARE(storedBytes(bytes, at[1]), QByteArray("scheda tecnica.pdf"));
    QCOMPARE(storedBytes(bytes, at[2]), QByteArray());
    QCOMPARE(storedBytes(bytes, at[3]), QByteArray());
    // Save cuts the description to the field's 250 characters.
    QCOMPARE(storedBytes(bytes, at[4]), QByteArray(250, 'd'));
    QCOMPARE(storedBytes(bytes, at[5]), QByteArray("Terza"));

    // Opening again fills the slots from the card, with the open button of each name.
    QStringList shown;
    QList<bool> openEnabled;
    onNextModal([&](QWidget *modal) {
        for (int slot = 1; slot <= 3; ++slot) {
            shown << modal->findChild<QLineEdit *>(slotName("txtFile", slot))->text()
                  << modal->findChild<QLineEdit *>(slotName("txtDesc", slot))->text();
            openEnabled << modal->findChild<QPushButton *>(slotName("btnApri", slot))->isEnabled();
        }
    });
    QTest::mouseClick(cmdFile, Qt::LeftButton);
    QCOMPARE(shown,
        (QStringList {
            QString(), QString(), u"scheda tecnica.pdf"_s, description, QString(), u"Terza"_s }));
    QCOMPARE(openEnabled, (QList<bool> { false, true, false }));
    Screens::unregisterResident(card.get());
}

void TestAllegaCartella::annullaHandsNothingBack()
{
    Fixture fixture;
    TfrmMagazzino card;
    Screens::registerResident(&card);
    card.findChild<QLabel *>(u"lblFile01"_s)->setText(u"vecchio.pdf"_s);
    card.findChild<QLabel *>(u"lblDesc01"_s)->setText(u"Vecchio"_s);
    fixture.choices = { fixture.source(u"nuovo.pdf"_s, "nuovo") };
    onNextModal([&](QWidget *modal) {
        QTest::mouseClick(modal->findChild<QPushButton *>(u"btnSfoglia01"_s), Qt::LeftButton);
        modal->findChild<QLineEdit *>(u"txtDesc01"_s)->setText(u"Nuovo"_s);
        QTest::mouseClick(modal->findChild<QPushButton *>(u"btnAnnulla"_s), Qt::LeftButton);
    });
    TfrmAllegaCartella::openFor(&card);
    QCOMPARE(card.findChild<QLabel *>(u"lblFile01"_s)->text(), u"vecchio.pdf"_s);
    QCOMPARE(card.findChild<QLabel *>(u"lblDesc01"_s)->text(), u"Vecchio"_s);
    // The copy made before Annulla stays in the folder.
    QCOMPARE(readFile(AttachedFiles::filePath(u"nuovo.pdf"_s)), QByteArray("nuovo"));
    Screens::unregisterResident(&card);
}

QTEST_MAIN(TestAllegaCartella)
#include "tst_allegacartella.moc"
