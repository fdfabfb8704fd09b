#include "export/ExportScreen.h"

#include "app/FieldEntry.h"
#include "app/Guida.h"
#include "app/Messages.h"
#include "app/OpenURL.h"
#include "app/Widgets.h"
#include "export/ExpCarico.h"
#include "export/ExpClienti.h"
#include "export/ExpFornitori.h"
#include "export/ExpMagazzino.h"
#include "export/ExpScarico.h"
#include "export/ExportModel.h"
#include "export/SpreadsheetHtml.h"
#include "export/SpreadsheetXlsx.h"
#include "storage/ProgramFolder.h"
#include "storage/RecordFile.h"

#include "ui_ExportScreen.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QShowEvent>
#include <QStyledItemDelegate>

namespace {

const QString kAskExport = QStringLiteral(
    "L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di "
    "schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?");
const QString kAskOpen = QStringLiteral("Le schede in archivio sono state esportate con "
                                        "successo.\r\n\r\nSi vuole aprire il file di Excel?");
const QString kFailure
    = QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
                     "Accertarsi che il file di Excel non sia già aperto.");

// A cell's text reaches the grid at every keystroke, as in a grid whose cells are edited
// in place: an export started while a cell is still being edited writes what it shows.
class LiveEditDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor)) {
            connect(line, &QLineEdit::textEdited, this,
                [this, line] { emit const_cast<LiveEditDelegate *>(this)->commitData(line); });
        }
        return editor;
    }
};

} // namespace

ExportScreen::ExportScreen(ArchiveId kind, QWidget *parent)
    : QDialog(parent)
    , m_exporter(Export::exporter(kind))
    , m_ui(std::make_unique<Ui::ExportScreen>())
{
    m_ui->setupUi(this);
    setObjectName(m_exporter.screenClass.toString());
    Widgets::applyItalianConventions(this);
    setWindowTitle(m_exporter.caption.toString());
    setFixedSize(862, 560);

    QFont buttonFont(QStringLiteral("Tahoma"), 9);
    buttonFont.setBold(true);
    const struct
    {
        QToolButton *button;
        const char *icon;
    } buttons[] = {
        { m_ui->cmdEsporta, "x-office-spreadsheet.png" },
        { m_ui->cmdEsportaXlsx, "x-office-spreadsheet.png" },
        { m_ui->cmdGuida, "help-browser.png" },
        { m_ui->cmdEsci, "system-log-out.png" },
    };
    for (const auto &b : buttons) {
        Widgets::makeImageButton(b.button, QString::fromLatin1(b.icon));
        b.button->setFont(buttonFont);
    }
    Widgets::styleInfoBar(m_ui->panInfo);
    setupGrid();
    setupFieldEntry();

    connect(m_ui->cmdEsporta, &QToolButton::clicked, this, &ExportScreen::cmdEsportaClick);
    connect(m_ui->cmdEsportaXlsx, &QToolButton::clicked, this, &ExportScreen::cmdEsportaXlsxClick);
    connect(m_ui->cmdGuida, &QToolButton::clicked, this, &ExportScreen::cmdGuidaClick);
    connect(m_ui->cmdEsci, &QToolButton::clicked, this, &ExportScreen::cmdEsciClick);
}

ExportScreen::~ExportScreen() = default;

void ExportScreen::open(QWidget *parent, ArchiveId kind)
{
    std::unique_ptr<ExportScreen> screen;
    switch (kind) {
    case ArchiveId::Products:
        screen = std::make_unique<TfrmExpMagazzino>(parent);
        break;
    case ArchiveId::Loads:
        screen = std::make_unique<TfrmExpCarico>(parent);
        break;
    case ArchiveId::Unloads:
        screen = std::make_unique<TfrmExpScarico>(parent);
        break;
    case ArchiveId::Customers:
        screen = std::make_unique<TfrmExpClienti>(parent);
        break;
    case ArchiveId::Suppliers:
        screen = std::make_unique<TfrmExpFornitori>(parent);
        break;
    }
    screen->exec();
}

const ExportGrid &ExportScreen::grid() const
{
    return m_model->grid();
}

void ExportScreen::setupGrid()
{
    QTableView *grid = m_ui->grdRecords;
    m_model = new ExportModel(m_exporter, this);
    grid->setModel(m_model);
    grid->setItemDelegate(new LiveEditDelegate(grid));
    grid->setFont(QFont(QStringLiteral("Tahoma"), 10));
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);

    // Every row is as high as the next: the view never measures 100,000 rows.
    QHeaderView *rows = grid->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(21);

    QHeaderView *columns = grid->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setHighlightSections(false);
    columns->setStretchLastSection(false);
    // Display widths are given in units of 1/96 inch.
    const double unit = logicalDpiX() / 96.0;
    columns->resizeSection(0, qRound(Export::kRowNumberWidth * unit));
    for (int c = 0; c < m_exporter.columnCount(); ++c)
        columns->resizeSection(c + 1, qRound(m_exporter.columns[std::size_t(c)].gridWidth * unit));
}

void ExportScreen::setupFieldEntry()
{
    m_fieldEntry = new FieldEntry(this);
    m_fieldEntry->setInfoBar(m_ui->panInfo);
    m_fieldEntry->setHints({
        { QStringLiteral("cmdEsporta"),
            QStringLiteral("Esporta l'archivio in formato Microsoft Excel.") },
        { QStringLiteral("cmdEsportaXlsx"),
            QStringLiteral("Esporta l'archivio in formato Excel .xlsx, con importi e quantità "
                           "come numeri.") },
        { QStringLiteral("cmdGuida"),
            QStringLiteral("Visualizza la pagina della guida sensibile al contesto.") },
        { QStringLiteral("cmdEsci"), QStringLiteral("Esci da questo ambiente di lavoro.") },
    });
    m_fieldEntry->addBackground({ QStringLiteral("panPulsanti") });
}

void ExportScreen::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous() || m_filled)
        return;
    m_filled = true;
    if (QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    FormShow();
}

void ExportScreen::FormShow()
{
    RecordFile file;
    bool opened = false;
    if (m_exporter.archive) {
        opened = file.open(m_exporter.archive());
    } else {
        // The yearly file chosen on the selection screen that opened this one.
        const QLabel *lblFile = parentWidget()
            ? parentWidget()->findChild<QLabel *>(QStringLiteral("lblFile"))
            : nullptr;
        const QString path = lblFile ? lblFile->text().trimmed() : QString();
        opened = !path.isEmpty() && file.openPath(path, m_exporter.layout());
    }
    // A file that cannot be read leaves the design rows; a read failure the rows read so
    // far. Neither is reported.
    if (opened)
        m_model->fill(file);
    file.close();
}

void ExportScreen::exportFile(
    const QString &fileName, const std::function<bool(const QString &, const ExportGrid &)> &save)
{
    if (!Messages::confirm(this, kAskExport))
        return;
    const QString path = ProgramFolder::filePath(fileName);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool saved = save(path, m_model->grid());
    QApplication::restoreOverrideCursor();
    if (!saved) {
        Messages::plain(this, kFailure);
        return;
    }
    if (Messages::confirm(this, kAskOpen))
        TMisc::Open(QLatin1Char('"') + path + QLatin1Char('"'));
}

void ExportScreen::cmdEsportaClick()
{
    exportFile(m_exporter.fileName.toString(), &SpreadsheetHtml::save);
}

void ExportScreen::cmdEsportaXlsxClick()
{
    exportFile(m_exporter.xlsxFileName(), &SpreadsheetXlsx::save);
}

void ExportScreen::cmdGuidaClick()
{
    showHelpFor(this, m_exporter.screenClass.toString());
}

void ExportScreen::cmdEsciClick()
{
    close();
}
