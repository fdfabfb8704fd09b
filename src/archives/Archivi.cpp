#include "archives/Archivi.h"
#include "ui_Archivi.h"

#include "app/FieldEntry.h"
#include "app/Guida.h"
#include "app/Messages.h"
#include "app/Palette.h"
#include "app/Screens.h"
#include "app/Widgets.h"
#include "archives/ArchiveServer.h"
#include "attachments/FileChooser.h"
#include "storage/ProgramFolder.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QScreen>
#include <QShortcut>

#include <algorithm>

namespace {

using ArchiveSettings::Mode;

QString count(qint64 n)
{
    return QLocale(QLocale::Italian, QLocale::Italy).toString(n);
}

// A sentence of its own, however the text that explains a failure ends.
QString sentence(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.endsWith(u'.') || trimmed.endsWith(u'!')
        || trimmed.endsWith(u'?'))
        return trimmed;
    return trimmed + u'.';
}

class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace

TfrmArchivi::TfrmArchivi(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::TfrmArchivi>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("TfrmArchivi"));
    Widgets::applyItalianConventions(this);

    for (QWidget *section : { m_ui->panDove, m_ui->panDocumenti, m_ui->panOperazioni })
        Widgets::styleSection(section);
    Widgets::styleInfoBar(m_ui->panInfo);
    // A long hint is cut at the window's edge, never widens the window under the mouse.
    m_ui->panInfo->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_ui->panInfo->setMinimumWidth(1);
    QFont titleFont = font();
    titleFont.setBold(true);
    titleFont.setPointSize(titleFont.pointSize() + 1);
    for (QLabel *title : { m_ui->lblDove, m_ui->lblOperazioni }) {
        title->setFont(titleFont);
        title->setStyleSheet(
            QStringLiteral("color: %1;").arg(QLatin1StringView(Palette::kSectionTitle)));
    }
    m_ui->lblAvviso->setStyleSheet(
        QStringLiteral("QLabel { background-color: %1; border: 1px solid %2; border-radius: 6px;"
                       " padding: 6px; }")
            .arg(QLatin1StringView(Palette::kNoteBackground),
                QLatin1StringView(Palette::kNoteBorder)));
    m_ui->lblAvviso->hide();
    m_ui->imgGuida->setText(QStringLiteral("Guida"));
    Widgets::makeImageButton(m_ui->imgGuida, QStringLiteral("help-browser.png"), 24);
    m_ui->imgGuida->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    m_ui->txtPassword->setEchoMode(QLineEdit::Password);
    m_ui->txtPorta->setMaxLength(5);
    m_ui->txtPorta->setMaximumWidth(
        fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 16);
    m_ui->prgTrasferimento->setRange(0, 1);
    m_ui->prgTrasferimento->setValue(0);
    m_ui->prgTrasferimento->setFormat(QStringLiteral("%p%"));

    m_fieldEntry = new FieldEntry(this);
    m_fieldEntry->setEnterOrder({ QStringLiteral("txtServer"), QStringLiteral("txtPorta"),
        QStringLiteral("txtDatabase"), QStringLiteral("txtUtente"), QStringLiteral("txtPassword"),
        QStringLiteral("txtCartellaDocumenti"), QStringLiteral("btnApplica") });
    m_fieldEntry->addNumberFields({ QStringLiteral("txtPorta") }, false);
    m_fieldEntry->addTrimmedFields({ QStringLiteral("txtServer"), QStringLiteral("txtDatabase"),
        QStringLiteral("txtUtente") });
    m_fieldEntry->setInfoBar(m_ui->panInfo);
    QList<std::pair<QString, QString>> hints;
    for (QAbstractButton *button : { static_cast<QAbstractButton *>(m_ui->btnSfoglia),
             static_cast<QAbstractButton *>(m_ui->btnProva),
             static_cast<QAbstractButton *>(m_ui->btnTrasferisci),
             static_cast<QAbstractButton *>(m_ui->btnRiporta),
             static_cast<QAbstractButton *>(m_ui->btnAnnulla),
             static_cast<QAbstractButton *>(m_ui->btnApplica),
             static_cast<QAbstractButton *>(m_ui->btnChiudi),
             static_cast<QAbstractButton *>(m_ui->imgGuida) })
        hints.append({ button->objectName(), button->toolTip() });
    m_fieldEntry->setHints(hints);

    connect(m_ui->optCartella, &QRadioButton::clicked, this, &TfrmArchivi::optCartellaClick);
    connect(m_ui->optServer, &QRadioButton::clicked, this, &TfrmArchivi::optServerClick);
    connect(m_ui->btnSfoglia, &QPushButton::clicked, this, &TfrmArchivi::btnSfogliaClick);
    connect(m_ui->btnProva, &QPushButton::clicked, this, &TfrmArchivi::btnProvaClick);
    connect(m_ui->btnTrasferisci, &QPushButton::clicked, this, &TfrmArchivi::btnTrasferisciClick);
    connect(m_ui->btnRiporta, &QPushButton::clicked, this, &TfrmArchivi::btnRiportaClick);
    connect(m_ui->btnAnnulla, &QPushButton::clicked, this, &TfrmArchivi::btnAnnullaClick);
    connect(m_ui->btnApplica, &QPushButton::clicked, this, &TfrmArchivi::btnApplicaClick);
    connect(m_ui->btnChiudi, &QPushButton::clicked, this, &TfrmArchivi::btnChiudiClick);
    const auto help = [this] { showHelpFor(this, QStringLiteral("TfrmArchivi")); };
    connect(m_ui->imgGuida, &QToolButton::clicked, this, help);
    auto *f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, help);

    m_inForce = ArchiveSettings::inForce();
    fill(m_inForce.settings);
    QStringList notes;
    if (m_inForce.fromEnvironment) {
        notes.append(QStringLiteral(
            "Queste impostazioni vengono dalla variabile d'ambiente %1, impostata "
            "dall'amministratore del computer: valgono finché la variabile è impostata e qui "
            "si possono solo leggere. Per cambiarle, togliere la variabile e riavviare il "
            "programma.")
                         .arg(QLatin1StringView(ArchiveSettings::kEnvironment)));
        for (QLineEdit *edit : findChildren<QLineEdit *>()) {
            edit->setReadOnly(true);
            edit->setStyleSheet(QStringLiteral("QLineEdit { color: %1; }")
                                    .arg(QLatin1StringView(Palette::kReadOnlyText)));
        }
        m_ui->optCartella->setEnabled(false);
        m_ui->optServer->setEnabled(false);
        m_ui->btnSfoglia->setEnabled(false);
        m_ui->btnApplica->setEnabled(false);
    }
    if (m_inForce.damaged)
        notes.append(m_inForce.problem);
    if (!notes.isEmpty()) {
        m_ui->lblAvviso->setText(notes.join(QStringLiteral("\n")));
        m_ui->lblAvviso->show();
    }
    refreshInUse();
    setRunning(false);

    // Wide enough for a server name, a database and a folder path to be read whole; no
    // larger than the screen (1280x720, or 1366x768 at 125 %).
    m_ui->layServer->setColumnStretch(1, 1);
    const int field = fontMetrics().horizontalAdvance(QLatin1Char('x')) * 36;
    for (QLineEdit *edit : { m_ui->txtServer, m_ui->txtDatabase, m_ui->txtUtente, m_ui->txtPassword,
             m_ui->txtCartellaDocumenti })
        edit->setMinimumWidth(field);
    QSize wanted = sizeHint().expandedTo(QSize(field * 2, 0));
    if (const QScreen *shown = screen())
        wanted = wanted.boundedTo(shown->availableSize() - QSize(40, 60));
    resize(wanted);
}

TfrmArchivi::~TfrmArchivi() = default;

void TfrmArchivi::registerScreen()
{
    Screens::registerModal(QStringLiteral("TfrmArchivi"), [](QWidget *parent) {
        TfrmArchivi screen(parent);
        screen.exec();
    });
}

void TfrmArchivi::fill(const ArchiveSettings::Settings &settings)
{
    const bool server = settings.mode == Mode::Server;
    m_ui->optCartella->setChecked(!server);
    m_ui->optServer->setChecked(server);
    m_ui->txtServer->setText(settings.server);
    m_ui->txtPorta->setText(QString::number(settings.port));
    m_ui->txtDatabase->setText(settings.database);
    m_ui->txtUtente->setText(settings.user);
    m_ui->txtPassword->setText(settings.password);
    m_ui->txtCartellaDocumenti->setText(
        QDir::toNativeSeparators(ArchiveSettings::documentsFolderOf(settings)));
}

ArchiveSettings::Settings TfrmArchivi::fieldSettings() const
{
    ArchiveSettings::Settings settings;
    settings.mode = m_ui->optServer->isChecked() ? Mode::Server : Mode::Folder;
    settings.server = m_ui->txtServer->text().trimmed();
    bool ok = false;
    const int port = m_ui->txtPorta->text().trimmed().toInt(&ok);
    settings.port = ok ? port : 0;
    settings.database = m_ui->txtDatabase->text().trimmed();
    settings.user = m_ui->txtUtente->text().trimmed();
    settings.password = m_ui->txtPassword->text();
    // The program folder itself is kept as "the program folder", so that moving the
    // program with its archives keeps the documents beside them.
    const QString documents
        = QDir::fromNativeSeparators(m_ui->txtCartellaDocumenti->text().trimmed());
    if (!documents.isEmpty()
        && QDir::cleanPath(documents) != QDir::cleanPath(ProgramFolder::path()))
        settings.documentsFolder = QDir::cleanPath(documents);
    return settings;
}

void TfrmArchivi::refreshEnabled()
{
    const bool server = m_ui->optServer->isChecked();
    const bool editable = !m_inForce.fromEnvironment && !m_running;
    for (QWidget *field :
        { static_cast<QWidget *>(m_ui->txtServer), static_cast<QWidget *>(m_ui->txtPorta),
            static_cast<QWidget *>(m_ui->txtDatabase), static_cast<QWidget *>(m_ui->txtUtente),
            static_cast<QWidget *>(m_ui->txtPassword), static_cast<QWidget *>(m_ui->lblServer),
            static_cast<QWidget *>(m_ui->lblPorta), static_cast<QWidget *>(m_ui->lblDatabase),
            static_cast<QWidget *>(m_ui->lblUtente), static_cast<QWidget *>(m_ui->lblPassword) })
        field->setEnabled(server && !m_running);
    for (QWidget *action :
        { static_cast<QWidget *>(m_ui->btnProva), static_cast<QWidget *>(m_ui->btnTrasferisci),
            static_cast<QWidget *>(m_ui->btnRiporta) })
        action->setEnabled(server && !m_running);
    m_ui->optCartella->setEnabled(editable);
    m_ui->optServer->setEnabled(editable);
    m_ui->txtCartellaDocumenti->setEnabled(!m_running);
    m_ui->btnSfoglia->setEnabled(editable);
    m_ui->btnApplica->setEnabled(editable);
    m_ui->btnChiudi->setEnabled(!m_running);
    m_ui->btnAnnulla->setEnabled(m_running);
}

void TfrmArchivi::refreshInUse()
{
    QString text;
    if (!ArchiveServer::onServer()) {
        text = QStringLiteral("Archivi in uso: quelli della cartella del programma (%1).")
                   .arg(QDir::toNativeSeparators(ProgramFolder::path()));
    } else if (m_inForce.fromEnvironment) {
        text = QStringLiteral("Archivi in uso: quelli del server indicato dalla variabile "
                              "d'ambiente %1.")
                   .arg(QLatin1StringView(ArchiveSettings::kEnvironment));
    } else {
        text = QStringLiteral("Archivi in uso: quelli del database %1 sul server %2.")
                   .arg(m_inForce.settings.database, m_inForce.settings.server);
    }
    m_ui->lblInUso->setText(text);
}

QString TfrmArchivi::connection() const
{
    if (m_inForce.fromEnvironment)
        return m_inForce.connectionString;
    return ArchiveSettings::connectionString(fieldSettings());
}

bool TfrmArchivi::checkServerFields()
{
    if (m_inForce.fromEnvironment)
        return true;
    const ArchiveSettings::Settings settings = fieldSettings();
    QString problem;
    QWidget *field = nullptr;
    if (settings.server.isEmpty()) {
        problem = QStringLiteral("Indicare il nome o l'indirizzo del server.");
        field = m_ui->txtServer;
    } else if (settings.port < 1 || settings.port > 65535) {
        problem = QStringLiteral("La porta deve essere un numero da 1 a 65535 (di solito 5432).");
        field = m_ui->txtPorta;
    } else if (settings.database.isEmpty()) {
        problem = QStringLiteral("Indicare il nome del database.");
        field = m_ui->txtDatabase;
    } else if (settings.user.isEmpty()) {
        problem = QStringLiteral("Indicare l'utente con cui collegarsi al server.");
        field = m_ui->txtUtente;
    }
    if (problem.isEmpty())
        return true;
    Messages::warning(this, problem);
    field->setFocus();
    return false;
}

void TfrmArchivi::optCartellaClick()
{
    refreshEnabled();
}

void TfrmArchivi::optServerClick()
{
    refreshEnabled();
    if (m_ui->txtServer->text().isEmpty())
        m_ui->txtServer->setFocus();
}

void TfrmArchivi::btnSfogliaClick()
{
    QFileDialog dialog(this, QStringLiteral("Scegliere la cartella dei documenti dei clienti"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setDirectory(QDir::fromNativeSeparators(m_ui->txtCartellaDocumenti->text().trimmed()));
    const QString chosen = FileChooser::chooseFile(&dialog);
    if (!chosen.isEmpty())
        m_ui->txtCartellaDocumenti->setText(QDir::toNativeSeparators(chosen));
}

void TfrmArchivi::btnProvaClick()
{
    if (!checkServerFields())
        return;
    ArchiveServer::Probe answer;
    {
        BusyCursor busy;
        answer = ArchiveServer::probe(connection());
    }
    const QString text = answer.message.isEmpty()
        ? (answer.ok ? QStringLiteral("Il server risponde.")
                     : QStringLiteral("Il server non risponde."))
        : answer.message;
    if (answer.ok)
        Messages::information(this, text);
    else
        Messages::warning(this, text);
}

void TfrmArchivi::btnTrasferisciClick()
{
    if (!checkServerFields())
        return;
    const QString target = connection();
    ArchiveServer::Probe answer;
    {
        BusyCursor busy;
        answer = ArchiveServer::probe(target);
    }
    if (!answer.ok) {
        Messages::warning(this, sentence(answer.message));
        return;
    }
    if (answer.records > 0
        && !Messages::confirm(this,
            QStringLiteral("Il server contiene già degli archivi (%1 record in tutto). "
                           "Sostituirli con quelli di questa cartella?")
                .arg(count(answer.records))))
        return;

    m_cancel = false;
    setRunning(true);
    QString error;
    const bool done = ArchiveServer::transfer(
        target, ProgramFolder::path(),
        [this](qint64 doneRecords, qint64 total) { return progress(doneRecords, total); }, &error);
    const bool cancelled = m_cancel;
    setRunning(false);
    if (done) {
        Messages::information(this,
            QStringLiteral("Trasferimento completato: gli archivi di questa cartella ora sono "
                           "anche sul server."));
    } else if (cancelled) {
        Messages::information(
            this, QStringLiteral("Trasferimento annullato: sul server non è cambiato nulla."));
    } else {
        Messages::error(this,
            QStringLiteral("Trasferimento non riuscito: sul server non è cambiato nulla. ")
                + sentence(error));
    }
}

void TfrmArchivi::btnRiportaClick()
{
    if (!checkServerFields())
        return;
    if (!Messages::confirm(this,
            QStringLiteral("Gli archivi della cartella del programma (%1) saranno sostituiti "
                           "con quelli del server. Continuare?")
                .arg(QDir::toNativeSeparators(ProgramFolder::path()))))
        return;
    QString error;
    bool done = false;
    {
        BusyCursor busy;
        done = ArchiveServer::copyBack(connection(), ProgramFolder::path(), &error);
    }
    if (done)
        Messages::information(this,
            QStringLiteral("Copia completata: la cartella del programma contiene ora gli "
                           "archivi del server."));
    else
        Messages::error(this,
            QStringLiteral("Copia non riuscita: gli archivi della cartella sono rimasti "
                           "com'erano. ")
                + sentence(error));
}

void TfrmArchivi::btnAnnullaClick()
{
    m_cancel = true;
    m_ui->btnAnnulla->setEnabled(false);
}

void TfrmArchivi::btnApplicaClick()
{
    if (m_inForce.fromEnvironment)
        return;
    const ArchiveSettings::Settings settings = fieldSettings();
    if (!settings.documentsFolder.isEmpty() && !QFileInfo(settings.documentsFolder).isDir()) {
        Messages::warning(this,
            QStringLiteral("La cartella dei documenti %1 non esiste o non è raggiungibile.")
                .arg(QDir::toNativeSeparators(settings.documentsFolder)));
        m_ui->txtCartellaDocumenti->setFocus();
        return;
    }
    const bool server = settings.mode == Mode::Server;
    if (server && !checkServerFields())
        return;

    // The server is reached before anything changes: when it cannot be, the settings file
    // and the archives in use stay as they were.
    std::shared_ptr<Storage::Backend> backend;
    if (server) {
        QString why;
        {
            BusyCursor busy;
            backend = ArchiveServer::connect(ArchiveSettings::connectionString(settings), &why);
        }
        if (!backend) {
            Messages::warning(this,
                QStringLiteral("Impossibile usare gli archivi del server: le impostazioni non "
                               "sono state cambiate. ")
                    + sentence(why));
            return;
        }
    }
    QString error;
    if (!ArchiveSettings::write(settings, &error)) {
        Messages::error(
            this, QStringLiteral("Le impostazioni non sono state salvate. ") + sentence(error));
        return;
    }
    if (server)
        ArchiveServer::useBackend(std::move(backend));
    else
        ArchiveServer::useFolder();
    m_inForce = ArchiveSettings::inForce();
    refreshInUse();
    Messages::information(this,
        server ? QStringLiteral("Impostazioni salvate: da ora gli archivi sono quelli del server.")
               : QStringLiteral("Impostazioni salvate: da ora gli archivi sono quelli della "
                                "cartella del programma."));
}

void TfrmArchivi::btnChiudiClick()
{
    reject();
}

void TfrmArchivi::reject()
{
    // The window's close box and Esc during a transfer ask to cancel it; the window closes
    // only when nothing runs.
    if (m_running) {
        btnAnnullaClick();
        return;
    }
    QDialog::reject();
}

void TfrmArchivi::setRunning(bool running)
{
    m_running = running;
    // Busy until the transfer tells how much there is; empty while nothing runs.
    m_ui->prgTrasferimento->setRange(0, running ? 0 : 1);
    m_ui->prgTrasferimento->setValue(0);
    m_ui->prgTrasferimento->setFormat(QString());
    m_ui->prgTrasferimento->setTextVisible(running);
    refreshEnabled();
}

bool TfrmArchivi::progress(qint64 done, qint64 total)
{
    if (total > 0) {
        // The bar counts in thousandths, whatever the number of records.
        m_ui->prgTrasferimento->setRange(0, 1000);
        m_ui->prgTrasferimento->setValue(int(std::clamp<qint64>(done * 1000 / total, 0, 1000)));
        m_ui->prgTrasferimento->setFormat(
            QStringLiteral("%1 di %2 record").arg(count(done), count(total)));
    }
    QApplication::processEvents();
    return !m_cancel;
}
