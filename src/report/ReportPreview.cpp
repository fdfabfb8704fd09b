#include "report/ReportPreview.h"

#include "app/ScreenFit.h"
#include "report/ReportRenderer.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

ReportPreviewDialog::ReportPreviewDialog(const Report::PreparedReport &report, QWidget *parent)
    : QDialog(parent)
    , m_report(report)
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("ReportPreviewDialog"));
    setWindowTitle(QStringLiteral("Anteprima di stampa - ") + report.name);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    Report::setUpPrinter(*m_printer, m_report);

    m_toolBar = new QToolBar(this);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_preview = new QPrintPreviewWidget(m_printer.get(), this);
    m_preview->setObjectName(QStringLiteral("prvPagine"));
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) {
        m_painted = Report::render(m_report, *printer, 0, 0, m_progress);
    });

    connect(addAction(QStringLiteral("actStampa"), QStringLiteral("Stampa"),
                QStringLiteral(":/icons/document-print.png")),
        &QAction::triggered, this, &ReportPreviewDialog::printClicked);
    m_toolBar->addSeparator();
    QAction *zoomIn = addAction(QStringLiteral("actIngrandisci"), QStringLiteral("Ingrandisci"),
        QStringLiteral(":/icons/list-add.png"));
    zoomIn->setShortcut(QKeySequence::ZoomIn);
    connect(zoomIn, &QAction::triggered, this, [this] { m_preview->zoomIn(); });
    QAction *zoomOut = addAction(QStringLiteral("actRiduci"), QStringLiteral("Riduci"),
        QStringLiteral(":/icons/list-remove.png"));
    zoomOut->setShortcut(QKeySequence::ZoomOut);
    connect(zoomOut, &QAction::triggered, this, [this] { m_preview->zoomOut(); });
    connect(addAction(QStringLiteral("actPaginaIntera"), QStringLiteral("Pagina intera"),
                QStringLiteral(":/icons/document-print-preview.png")),
        &QAction::triggered, this, [this] { m_preview->fitInView(); });
    m_toolBar->addSeparator();
    connect(addAction(QStringLiteral("actPrima"), QStringLiteral("Prima"),
                QStringLiteral(":/icons/go-first.png")),
        &QAction::triggered, this, [this] { m_preview->setCurrentPage(1); });
    connect(addAction(QStringLiteral("actPrecedente"), QStringLiteral("Precedente"),
                QStringLiteral(":/icons/go-previous.png")),
        &QAction::triggered, this,
        [this] { m_preview->setCurrentPage(m_preview->currentPage() - 1); });
    connect(addAction(QStringLiteral("actSuccessiva"), QStringLiteral("Successiva"),
                QStringLiteral(":/icons/go-next.png")),
        &QAction::triggered, this,
        [this] { m_preview->setCurrentPage(m_preview->currentPage() + 1); });
    connect(addAction(QStringLiteral("actUltima"), QStringLiteral("Ultima"),
                QStringLiteral(":/icons/go-last.png")),
        &QAction::triggered, this, [this] { m_preview->setCurrentPage(m_preview->pageCount()); });
    m_toolBar->addSeparator();
    QAction *fullScreen = addAction(QStringLiteral("actSchermoIntero"),
        QStringLiteral("Schermo intero"), QStringLiteral(":/report/view-fullscreen.png"));
    fullScreen->setCheckable(true);
    fullScreen->setShortcut(QKeySequence(Qt::Key_F11));
    connect(fullScreen, &QAction::toggled, this, &ReportPreviewDialog::fullScreenToggled);
    QAction *close = addAction(QStringLiteral("actChiudi"), QStringLiteral("Chiudi"),
        QStringLiteral(":/icons/system-log-out.png"));
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lblNota"));
    m_note->setWordWrap(true);
    m_note->setContentsMargins(8, 4, 8, 4);
    m_note->hide();
    layout->addWidget(m_note);
    layout->addWidget(m_preview, 1);
    // The page fits whole on a large screen; on a small one (1280x720, or 1366x768 at
    // 125 %) the window takes the room there is and the page still shows whole.
    ScreenFit::fitOnScreen(this, QSize(900, 760));
    m_preview->fitInView();
}

ReportPreviewDialog::~ReportPreviewDialog() = default;

void ReportPreviewDialog::setNote(const QString &text)
{
    m_note->setText(text);
    m_note->setVisible(!text.isEmpty());
}

bool ReportPreviewDialog::prepare(const Report::PageProgress &progress)
{
    m_progress = progress;
    // Once painted here, showing the window paints nothing again.
    m_preview->updatePreview();
    m_progress = {};
    return m_painted;
}

QAction *ReportPreviewDialog::addAction(
    const QString &objectName, const QString &text, const QString &icon)
{
    QAction *action = m_toolBar->addAction(text);
    action->setObjectName(objectName);
    action->setToolTip(text);
    action->setIcon(QIcon(icon));
    return action;
}

void ReportPreviewDialog::printClicked()
{
    QPrinter printer(QPrinter::HighResolution);
    Report::print(this, m_report, printer);
}

void ReportPreviewDialog::fullScreenToggled(bool on)
{
    if (on)
        showFullScreen();
    else
        showNormal();
}
