#include "reports/MovementSummaryMenu.h"

#include "app/FieldEntry.h"
#include "app/Messages.h"
#include "app/Palette.h"
#include "app/Widgets.h"
#include "export/ExportScreen.h"
#include "lists/ListLooks.h"
#include "lists/ListScreen.h"
#include "reports/SummarySelection.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include "ui_MovementSummaryMenu.h"

#include <QKeyEvent>
#include <QShowEvent>

MovementSummaryMenu::MovementSummaryMenu(
    MovementRecord::Kind kind, std::function<void(QWidget *)> openList, QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
    , m_openList(std::move(openList))
    , m_ui(std::make_unique<Ui::MovementSummaryMenu>())
{
    const SummarySelection::Twin &twin = SummarySelection::twin(kind);
    setObjectName(twin.menuClass);
    m_ui->setupUi(this);
    setWindowTitle(twin.caption);
    ListScreen::setUpScreen(this, 12, ListScreen::ScreenSize::FillScreen);
    m_ui->lblCampo02->setText(twin.codeCaption);
    m_ui->titRiepilogo->setText(kind == MovementRecord::Kind::Load
            ? QStringLiteral("Riepilogo movimenti di carico merce")
            : QStringLiteral("Riepilogo movimenti di scarico merce"));

    m_ui->lblAttendere->hide();
    for (QLabel *hidden : { m_ui->lblDataInizio, m_ui->lblDataFine, m_ui->lblFile })
        hidden->hide();
    Widgets::makeImageButton(m_ui->cmdEsporta, QStringLiteral("x-office-spreadsheet.png"), 48);
    m_ui->lnkEsporta->addPicture(m_ui->cmdEsporta);
    // Fonts and colours when the screen is first shown: it is created at start-up.
    Widgets::onFirstPolish(this, [this] { setupLooks(); });

    m_boxes
        = { m_ui->txtGiornoInizio, m_ui->txtMeseInizio, m_ui->txtGiornoFine, m_ui->txtMeseFine };
    for (QComboBox *box : { m_ui->txtGiornoInizio, m_ui->txtGiornoFine })
        box->addItems(SummarySelection::dayTexts());
    for (QComboBox *box : { m_ui->txtMeseInizio, m_ui->txtMeseFine })
        box->addItems(SummarySelection::monthNames());
    for (QComboBox *box : std::as_const(m_boxes)) {
        box->setEditable(false);
        box->setMaxVisibleItems(12);
    }
    setupFieldEntry();

    ListScreen::showNoticeOnPress(m_ui->btnVisualizza, m_ui->lblAttendere);
    connect(
        m_ui->btnVisualizza, &QPushButton::clicked, this, &MovementSummaryMenu::btnVisualizzaClick);
    connect(m_ui->btnEsci, &QPushButton::clicked, this, &MovementSummaryMenu::btnEsciClick);
    // The icon and the link are one control: LinkLabel reports a click on either.
    connect(m_ui->lnkEsporta, &LinkLabel::clicked, this, &MovementSummaryMenu::lnkEsportaClick);
    connect(m_ui->txtAnno, &QLineEdit::textChanged, this, &MovementSummaryMenu::copyYear);
}

MovementSummaryMenu::~MovementSummaryMenu() = default;

void MovementSummaryMenu::setupLooks()
{
    ListLooks::styleSelectionScreen(this);
    ListLooks::styleSelectionPanel(m_ui->shpSelezione);
    ListLooks::styleScreenTitle(m_ui->titRiepilogo);
    for (QLabel *caption : { m_ui->lblCampo01, m_ui->lblCampo02, m_ui->lblCampo03 })
        ListLooks::styleCaption(caption);
    ListLooks::styleWaitNotice(m_ui->lblAttendere);
    for (QLabel *year : { m_ui->lblAnnoInizio, m_ui->lblAnnoFine }) {
        QFont font(QStringLiteral("Verdana"), 14);
        font.setBold(true);
        year->setFont(font);
    }
    QFont linkFont(QStringLiteral("Tahoma"), 12);
    linkFont.setUnderline(true);
    m_ui->lnkEsporta->setFont(linkFont);
    m_ui->lnkEsporta->setRestColour(QColor(Palette::kExportLink));
}

void MovementSummaryMenu::setupFieldEntry()
{
    m_fieldEntry = new FieldEntry(this);
    m_fieldEntry->setEnterOrder({ QStringLiteral("txtAnno"), QStringLiteral("txtTipologia"),
        QStringLiteral("txtGiornoInizio"), QStringLiteral("txtMeseInizio"),
        QStringLiteral("txtGiornoFine"), QStringLiteral("txtMeseFine"),
        QStringLiteral("btnVisualizza") });
    m_fieldEntry->addNumberFields({ QStringLiteral("txtAnno") }, false);
    m_fieldEntry->setLeavingRule(QStringLiteral("txtAnno"), [this](QLineEdit *) { copyYear(); });
    // A day or month is only chosen from the list: every key but Enter is dropped.
    for (QComboBox *box : std::as_const(m_boxes))
        m_fieldEntry->setKeyHook(
            box->objectName(), [](QKeyEvent *key) { return !FieldEntry::isEnter(key); });
}

void MovementSummaryMenu::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void MovementSummaryMenu::FormShow()
{
    for (QComboBox *box : std::as_const(m_boxes))
        box->setCurrentIndex(-1);
    m_ui->txtTipologia->clear();
    m_ui->txtAnno->setText(YearOf(Today()));
    copyYear();
    m_ui->lblAttendere->hide();
    m_ui->txtTipologia->setFocus(Qt::OtherFocusReason);
}

void MovementSummaryMenu::copyYear()
{
    const QString year = TrimControl(m_ui->txtAnno->text());
    m_ui->lblAnnoInizio->setText(year);
    m_ui->lblAnnoFine->setText(year);
}

void MovementSummaryMenu::focusControl(SummarySelection::Focus focus)
{
    using SummarySelection::Focus;
    QWidget *target = nullptr;
    switch (focus) {
    case Focus::Anno:
        target = m_ui->txtAnno;
        break;
    case Focus::GiornoInizio:
        target = m_ui->txtGiornoInizio;
        break;
    case Focus::MeseInizio:
        target = m_ui->txtMeseInizio;
        break;
    case Focus::GiornoFine:
        target = m_ui->txtGiornoFine;
        break;
    case Focus::MeseFine:
        target = m_ui->txtMeseFine;
        break;
    case Focus::None:
    case Focus::Keep:
        break;
    }
    if (target)
        target->setFocus(Qt::OtherFocusReason);
}

void MovementSummaryMenu::btnVisualizzaClick()
{
    m_ui->lblDataInizio->clear();
    m_ui->lblDataFine->clear();

    SummarySelection::Choice choice;
    choice.year = m_ui->txtAnno->text();
    choice.startYear = m_ui->lblAnnoInizio->text();
    choice.endYear = m_ui->lblAnnoFine->text();
    choice.startDay = m_ui->txtGiornoInizio->currentText();
    choice.startMonth = m_ui->txtMeseInizio->currentText();
    choice.endDay = m_ui->txtGiornoFine->currentText();
    choice.endMonth = m_ui->txtMeseFine->currentText();
    const SummarySelection::Outcome outcome = SummarySelection::check(choice);
    m_ui->lblDataInizio->setText(outcome.startDate);
    m_ui->lblDataFine->setText(outcome.endDate);
    if (!outcome.ok) {
        m_ui->lblAttendere->hide();
        Messages::show(this, outcome.notice);
        focusControl(outcome.focus);
        return;
    }

    const QString path = SummarySelection::yearlyFilePath(
        SummarySelection::twin(m_kind).filePrefix, m_ui->txtAnno->text());
    m_ui->lblFile->setText(path);
    // A yearly file that cannot be opened is told here, in the selection's words, rather
    // than shown as an empty summary. Opening creates a missing file empty, as the list
    // would do.
    RecordFile probe;
    const bool accessible
        = probe.openPath(path, MovementRecord::layout(), RecordFile::Access::ReadOnly);
    probe.close();
    if (!accessible) {
        m_ui->lblAttendere->hide();
        Messages::plain(
            this, QStringLiteral("Attenzione: il file di archivio non risulta accessibile."));
        return;
    }
    m_openList(this);
    m_ui->lblAttendere->hide();
}

void MovementSummaryMenu::cmdEsportaClick()
{
    const QString message = SummarySelection::yearMessage(m_ui->txtAnno->text());
    if (!message.isEmpty()) {
        Messages::warning(this, message);
        m_ui->txtAnno->setFocus(Qt::OtherFocusReason);
        m_ui->lblAttendere->hide();
        return;
    }
    m_ui->lblFile->setText(SummarySelection::yearlyFilePath(
        SummarySelection::twin(m_kind).filePrefix, m_ui->txtAnno->text()));
    // The export reads the yearly file from lblFile.
    ExportScreen::open(
        this, m_kind == MovementRecord::Kind::Load ? ArchiveId::Loads : ArchiveId::Unloads);
}

void MovementSummaryMenu::lnkEsportaClick()
{
    cmdEsportaClick();
}

void MovementSummaryMenu::btnEsciClick()
{
    close();
}
