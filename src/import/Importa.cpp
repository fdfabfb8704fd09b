#include "import/Importa.h"

#include "app/FieldEntry.h"
#include "app/Guida.h"
#include "app/Messages.h"
#include "app/Palette.h"
#include "app/Widgets.h"
#include "attachments/FileChooser.h"
#include "import/SpreadsheetFile.h"
#include "storage/ProgramFolder.h"

#include "ui_Importa.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QScreen>
#include <QShortcut>

namespace {

const QString kNotImported = QStringLiteral("(non importare)");
const QColor kRejected(Palette::kImportRejected);
const QColor kWarned(Palette::kImportWarned);
const QColor kSkipped(Palette::kImportSkipped);

const QStringList kDuplicateChoices = {
    QStringLiteral("Salta le schede già presenti"),
    QStringLiteral("Aggiorna le schede già presenti"),
    QStringLiteral("Aggiungi comunque"),
};

QString rowsText(qint64 n)
{
    return QLocale(QLocale::Italian, QLocale::Italy).toString(n);
}

} // namespace

TfrmImporta::TfrmImporta(ImportFields::Target target, QWidget *parent)
    : QDialog(parent)
    , m_target(target)
    , m_ui(std::make_unique<Ui::TfrmImporta>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("TfrmImporta"));
    Widgets::applyItalianConventions(this);
    setWindowTitle(QStringLiteral(" Importa schede in ") + ImportFields::archiveTitle(target)
        + QStringLiteral(" da un foglio di calcolo o da un file CSV"));

    m_ui->cboDoppi->addItems(kDuplicateChoices);
    m_ui->cboFoglio->setEnabled(false);
    m_ui->chkIntestazione->setChecked(true);

    QTableWidget *map = m_ui->grdCorrispondenze;
    map->setColumnCount(2);
    map->setHorizontalHeaderLabels(
        { QStringLiteral("Campo dell'archivio"), QStringLiteral("Colonna del file") });
    map->verticalHeader()->hide();
    map->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    map->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    map->setSelectionMode(QAbstractItemView::NoSelection);
    map->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const QList<ImportFields::Field> &fields = ImportFields::fields(target);
    map->setRowCount(int(fields.size()));
    for (int f = 0; f < fields.size(); ++f) {
        map->setItem(f, 0, new QTableWidgetItem(fields[f].caption));
        auto *combo = new QComboBox(map);
        combo->setObjectName(QStringLiteral("cboColonna") + fields[f].name);
        combo->addItem(kNotImported);
        map->setCellWidget(f, 1, combo);
        connect(combo, &QComboBox::currentIndexChanged, this, [this] {
            if (!m_filling)
                refresh();
        });
    }
    map->resizeRowsToContents();

    QTableWidget *preview = m_ui->grdAnteprima;
    preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    preview->setSelectionMode(QAbstractItemView::NoSelection);
    preview->horizontalHeader()->setDefaultSectionSize(130);
    preview->verticalHeader()->setDefaultSectionSize(map->verticalHeader()->defaultSectionSize());
    // The two grids take the height the window has to spare.
    m_ui->layMain->setStretchFactor(m_ui->splCorpo, 1);
    m_ui->splCorpo->setStretchFactor(0, 2);
    m_ui->splCorpo->setStretchFactor(1, 3);

    m_ui->prgImporta->setRange(0, 1);
    m_ui->prgImporta->setValue(0);
    m_ui->lblRiepilogo->setText(ImportRun::summaryText({}));

    m_fieldEntry = new FieldEntry(this);
    m_fieldEntry->setKeyHook(QStringLiteral("txtFile"), [this](QKeyEvent *event) {
        if (!FieldEntry::isEnter(event))
            return false;
        const QString path = m_ui->txtFile->text().trimmed();
        if (!path.isEmpty())
            loadFile(path);
        return true;
    });

    connect(m_ui->btnSfoglia, &QPushButton::clicked, this, &TfrmImporta::btnSfogliaClick);
    connect(m_ui->btnImporta, &QPushButton::clicked, this, &TfrmImporta::btnImportaClick);
    connect(m_ui->btnChiudi, &QPushButton::clicked, this, &TfrmImporta::btnChiudiClick);
    connect(m_ui->cboFoglio, &QComboBox::activated, this, &TfrmImporta::cboFoglioChange);
    connect(m_ui->chkIntestazione, &QCheckBox::clicked, this, &TfrmImporta::chkIntestazioneClick);
    connect(m_ui->cboDoppi, &QComboBox::currentIndexChanged, this, &TfrmImporta::cboDoppiChange);
    auto *help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this,
        [this] { showHelpFor(this, QStringLiteral("TfrmImporta")); });

    // As large as the screen allows, up to the size of the form.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QSize room = screen->availableSize() - QSize(40, 60);
        resize(size().boundedTo(room));
    }
}

TfrmImporta::~TfrmImporta() = default;

void TfrmImporta::open(QWidget *parent, ArchiveId archive)
{
    const std::optional<ImportFields::Target> target = ImportFields::targetOf(archive);
    if (!target)
        return;
    TfrmImporta screen(*target, parent);
    screen.exec();
}

void TfrmImporta::btnSfogliaClick()
{
    QFileDialog dialog(this, QStringLiteral("Scegliere il file da importare"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(SpreadsheetFile::dialogFilter());
    dialog.setDirectory(ProgramFolder::path());
    const QString path = FileChooser::chooseFile(&dialog);
    if (path.isEmpty())
        return;
    m_ui->txtFile->setText(QDir::toNativeSeparators(path));
    loadFile(path);
}

bool TfrmImporta::loadFile(const QString &path)
{
    QString error;
    std::unique_ptr<SpreadsheetFile> file
        = SpreadsheetFile::open(QDir::fromNativeSeparators(path), error);
    if (!file) {
        Messages::warning(this,
            QStringLiteral("Attenzione: impossibile leggere il file indicato (%1).\n\n"
                           "Scegliere un file .xlsx, .xls, .ods, .csv o .txt.")
                .arg(error));
        return false;
    }
    if (QDir::fromNativeSeparators(m_ui->txtFile->text().trimmed())
        != QDir::fromNativeSeparators(path))
        m_ui->txtFile->setText(QDir::toNativeSeparators(path));
    m_file = std::move(file);
    m_ui->cboFoglio->clear();
    m_ui->cboFoglio->addItems(m_file->sheetNames());
    m_ui->cboFoglio->setEnabled(m_file->sheetNames().size() > 1);
    loadSheet(0);
    return true;
}

void TfrmImporta::loadSheet(int sheet)
{
    m_sheet = sheet;
    m_head.clear();
    QString error;
    const bool read = m_file->readRows(
        sheet,
        [this](qint64, const SheetRows::Row &row) {
            m_head.append(row);
            return m_head.size() < kPreviewRows + 1;
        },
        error);
    if (!read) {
        Messages::warning(
            this, QStringLiteral("Attenzione: impossibile leggere il foglio (%1).").arg(error));
    } else if (m_head.isEmpty()) {
        Messages::warning(this, QStringLiteral("Attenzione: il foglio scelto non contiene dati."));
    }
    m_columns = 0;
    for (const SheetRows::Row &row : m_head)
        m_columns = std::max(m_columns, int(row.size()));
    const bool header = !m_head.isEmpty()
        && ImportFields::looksLikeHeader(
            m_target, m_head.first(), m_head.size() > 1 ? &m_head[1] : nullptr);
    m_ui->chkIntestazione->setChecked(header);
    fillMapping();
}

void TfrmImporta::fillMapping()
{
    const bool header = m_ui->chkIntestazione->isChecked() && !m_head.isEmpty();
    QStringList titles;
    QStringList headers;
    for (int c = 0; c < m_columns; ++c) {
        const QString letter = SheetRows::columnLetters(c);
        const QString name = header && c < m_head.first().size()
            ? m_head.first()[c].display().simplified()
            : QString();
        headers.append(name);
        titles.append(name.isEmpty() ? QStringLiteral("Colonna ") + letter
                                     : letter + QStringLiteral(": ") + name);
    }
    const QList<int> preset = header ? ImportFields::matchHeaders(m_target, headers)
                                     : QList<int>(ImportFields::fields(m_target).size(), -1);
    m_filling = true;
    for (int f = 0; f < m_ui->grdCorrispondenze->rowCount(); ++f) {
        auto *combo = qobject_cast<QComboBox *>(m_ui->grdCorrispondenze->cellWidget(f, 1));
        combo->clear();
        combo->addItem(kNotImported);
        combo->addItems(titles);
        combo->setCurrentIndex(preset.value(f, -1) + 1);
    }
    m_filling = false;
    refresh();
}

QList<int> TfrmImporta::mapping() const
{
    QList<int> columns;
    for (int f = 0; f < m_ui->grdCorrispondenze->rowCount(); ++f) {
        const auto *combo
            = qobject_cast<const QComboBox *>(m_ui->grdCorrispondenze->cellWidget(f, 1));
        columns.append(combo->currentIndex() - 1);
    }
    return columns;
}

ImportRun::Options TfrmImporta::options() const
{
    ImportRun::Options o;
    o.target = m_target;
    o.mapping = mapping();
    o.header = m_ui->chkIntestazione->isChecked();
    o.duplicates = static_cast<ImportRun::Duplicates>(m_ui->cboDoppi->currentIndex());
    return o;
}

ImportRun::RowSource TfrmImporta::rowSource() const
{
    SpreadsheetFile *file = m_file.get();
    const int sheet = m_sheet;
    return [file, sheet](const SheetRows::RowSink &sink, QString &error) {
        return file->readRows(sheet, sink, error);
    };
}

void TfrmImporta::refresh()
{
    refreshPreview();
    refreshSummary();
}

void TfrmImporta::refreshPreview()
{
    QTableWidget *grid = m_ui->grdAnteprima;
    grid->clear();
    const QList<ImportFields::Field> &fields = ImportFields::fields(m_target);
    const ImportRun::Options o = options();
    QList<int> shown;
    QStringList captions;
    for (int f = 0; f < fields.size(); ++f) {
        if (o.mapping.value(f, -1) >= 0) {
            shown.append(f);
            captions.append(fields[f].caption);
        }
    }
    grid->setColumnCount(int(shown.size()));
    grid->setHorizontalHeaderLabels(captions);
    const qsizetype first = o.header ? 1 : 0;
    const int rows = int(std::max<qsizetype>(0, m_head.size() - first));
    grid->setRowCount(shown.isEmpty() ? 0 : rows);
    if (shown.isEmpty() || !m_file)
        return;
    ImportRun::ArchiveKeys keys;
    QString error;
    ImportRun::readArchiveKeys(m_target, keys, error);
    const RecordLayout &layout = ImportFields::layoutOf(m_target);
    for (int r = 0; r < rows; ++r) {
        const ImportRun::RowPlan plan
            = ImportRun::planRow(o, keys, m_head[first + r], [](qint64, Record &) { return true; });
        QStringList rowReasons;
        for (const ImportFields::Problem &p : plan.converted.problems) {
            if (p.field < 0)
                rowReasons.append(p.reason);
        }
        for (int c = 0; c < shown.size(); ++c) {
            const int f = shown[c];
            const QString value = plan.converted.record.value(fields[f].index);
            auto *item = new QTableWidgetItem(value.left(layout.field(fields[f].index).capacity));
            QStringList reasons;
            bool blocking = false;
            for (const ImportFields::Problem &p : plan.converted.problems) {
                if (p.field == f) {
                    reasons.append(p.reason);
                    blocking = blocking || p.blocking;
                }
            }
            if (plan.action == ImportRun::Action::Reject) {
                item->setBackground(kRejected);
                reasons = (reasons + rowReasons);
                reasons.prepend(QStringLiteral("La riga sarà scartata."));
            } else if (plan.action == ImportRun::Action::Skip) {
                item->setBackground(kSkipped);
                reasons.prepend(QStringLiteral("Scheda già presente in archivio: sarà saltata."));
            } else if (!reasons.isEmpty()) {
                item->setBackground(kWarned);
            }
            if (blocking)
                item->setBackground(kRejected.darker(115));
            item->setToolTip(reasons.join(u'\n'));
            grid->setItem(r, c, item);
        }
        auto *number = new QTableWidgetItem(QString::number(r + 1 + first));
        if (plan.action == ImportRun::Action::Reject) {
            number->setBackground(kRejected);
            number->setToolTip(plan.converted.rejection());
        } else if (plan.action == ImportRun::Action::Update) {
            number->setToolTip(QStringLiteral("Aggiorna la scheda n. %1.").arg(plan.existing + 1));
        }
        grid->setVerticalHeaderItem(r, number);
    }
}

void TfrmImporta::refreshSummary()
{
    if (!m_file) {
        m_ui->lblRiepilogo->setText(ImportRun::summaryText({}));
        return;
    }
    setRunning(true);
    m_ui->prgImporta->setRange(0, 0);
    QString error;
    ImportRun::Summary summary;
    const bool done = ImportRun::analyse(
        options(), rowSource(), summary, error, [this](qint64 rows) { return progress(rows); });
    setRunning(false);
    m_ui->prgImporta->setRange(0, 1);
    m_ui->prgImporta->setValue(0);
    if (!done && !error.isEmpty())
        Messages::warning(
            this, QStringLiteral("Attenzione: impossibile leggere il file (%1).").arg(error));
    m_summary = summary;
    m_ui->lblRiepilogo->setText(ImportRun::summaryText(summary));
}

void TfrmImporta::setRunning(bool running)
{
    m_running = running;
    m_cancel = false;
    for (QWidget *w :
        std::initializer_list<QWidget *> { m_ui->txtFile, m_ui->btnSfoglia, m_ui->cboFoglio,
            m_ui->chkIntestazione, m_ui->grdCorrispondenze, m_ui->cboDoppi, m_ui->btnImporta })
        w->setEnabled(!running);
    if (!running)
        m_ui->cboFoglio->setEnabled(m_file && m_file->sheetNames().size() > 1);
    m_ui->btnChiudi->setText(running ? QStringLiteral("Annulla") : QStringLiteral("Chiudi"));
}

bool TfrmImporta::progress(qint64 rows)
{
    if (m_ui->prgImporta->maximum() > 0)
        m_ui->prgImporta->setValue(int(std::min<qint64>(rows, m_ui->prgImporta->maximum())));
    QApplication::processEvents();
    return !m_cancel;
}

void TfrmImporta::btnImportaClick()
{
    if (!m_file) {
        Messages::warning(this, QStringLiteral("Attenzione: indicare prima il file da importare."));
        m_ui->txtFile->setFocus(Qt::OtherFocusReason);
        return;
    }
    const ImportRun::Options o = options();
    if (std::all_of(o.mapping.cbegin(), o.mapping.cend(), [](int c) { return c < 0; })) {
        Messages::warning(this,
            QStringLiteral("Attenzione: nessuna colonna del file è associata a un campo "
                           "dell'archivio."));
        return;
    }
    if (m_summary.toImport == 0) {
        Messages::warning(
            this, QStringLiteral("Attenzione: nessuna riga del file può essere importata."));
        return;
    }
    if (m_summary.withProblems > 0
        && !Messages::confirm(this,
            QStringLiteral("%1 righe presentano problemi (segnalati in rosso e in giallo "
                           "nell'anteprima): le righe in rosso saranno scartate, i testi "
                           "troppo lunghi saranno tagliati e i caratteri non registrabili "
                           "sostituiti.\n\nSi vuole importare comunque?")
                .arg(rowsText(m_summary.withProblems))))
        return;
    setRunning(true);
    m_ui->prgImporta->setRange(0, int(std::min<qint64>(m_summary.read, INT_MAX)));
    const ImportRun::Outcome outcome
        = ImportRun::run(o, rowSource(), [this](qint64 rows) { return progress(rows); });
    m_ui->prgImporta->setValue(m_ui->prgImporta->maximum());
    setRunning(false);
    m_ui->prgImporta->setRange(0, 1);
    m_ui->prgImporta->setValue(0);
    switch (outcome.result) {
    case ImportRun::Outcome::Result::Done: {
        QString text = ImportRun::completionText(outcome);
        if (!outcome.scrapPath.isEmpty())
            text += QStringLiteral("\n\nLe righe scartate, con il motivo, sono nel file %1 nella "
                                   "cartella del programma: una volta corrette si possono "
                                   "importare di nuovo.")
                        .arg(QString::fromLatin1(ImportRun::kScrapFileName));
        Messages::information(this, text);
        refresh();
        break;
    }
    case ImportRun::Outcome::Result::Cancelled:
        Messages::information(
            this, QStringLiteral("Importazione annullata: l'archivio non è stato modificato."));
        break;
    case ImportRun::Outcome::Result::Failed:
        Messages::error(this, ImportRun::failureText(outcome));
        break;
    }
}

void TfrmImporta::btnChiudiClick()
{
    if (m_running) {
        m_cancel = true;
        return;
    }
    accept();
}

void TfrmImporta::reject()
{
    if (m_running) {
        m_cancel = true;
        return;
    }
    QDialog::reject();
}

void TfrmImporta::cboFoglioChange()
{
    if (m_file && m_ui->cboFoglio->currentIndex() >= 0)
        loadSheet(m_ui->cboFoglio->currentIndex());
}

void TfrmImporta::chkIntestazioneClick()
{
    fillMapping();
}

void TfrmImporta::cboDoppiChange()
{
    if (!m_filling)
        refresh();
}
