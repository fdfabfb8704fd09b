#include "reports/MovementSummaryList.h"

#include "app/Guida.h"
#include "app/Messages.h"
#include "app/Widgets.h"
#include "lists/ListLooks.h"
#include "reports/StockLists.h"
#include "reports/SummarySelection.h"
#include "storage/Storage.h"
#include "storage/TextForms.h"

#include "ui_MovementSummaryList.h"

#include <QLabel>
#include <QLineEdit>

MovementSummaryList::MovementSummaryList(MovementRecord::Kind kind, QWidget *selection)
    : ListScreen(selection)
    , m_kind(kind)
    , m_ui(std::make_unique<Ui::MovementSummaryList>())
{
    const SummarySelection::Twin &twin = SummarySelection::twin(kind);
    setObjectName(twin.listClass);
    m_ui->setupUi(this);
    setWindowTitle(twin.caption);
    setUpScreen(this, 10, ScreenSize::FillScreen);
    setupList({ .fontSize = 12,
        .itemWidth = 1600,
        .enterMovesToFind = false,
        .emptyFindKind = Messages::Kind::Plain });

    Widgets::makeImageButton(m_ui->imgGuida, QStringLiteral("help-browser.png"));
    ListLooks::styleValue(m_ui->titTipologia);
    ListLooks::styleValue(m_ui->lblIntervallo);
    ListLooks::styleTotal(m_ui->lblTotCosti);

    connect(m_ui->btnStampa, &QPushButton::clicked, this, &MovementSummaryList::btnStampaClick);
    connect(m_ui->btnEsci, &QPushButton::clicked, this, &MovementSummaryList::btnEsciClick);
    connect(m_ui->imgGuida, &QToolButton::clicked, this, &MovementSummaryList::imgGuidaClick);
}

MovementSummaryList::~MovementSummaryList() = default;

QString MovementSummaryList::selectionText(const QString &name) const
{
    if (!parentWidget())
        return QString();
    if (auto *label = parentWidget()->findChild<QLabel *>(name))
        return label->text();
    if (auto *edit = parentWidget()->findChild<QLineEdit *>(name))
        return edit->text();
    return QString();
}

void MovementSummaryList::fill()
{
    const QString startText = selectionText(QStringLiteral("lblDataInizio"));
    const QString endText = selectionText(QStringLiteral("lblDataFine"));
    const auto start = DateFromText(TrimControl(startText));
    const auto end = DateFromText(TrimControl(endText));

    // Opening creates a missing yearly file empty: a year without movements leaves its
    // empty file behind.
    StockLists::Movements movements;
    movements.shownFilter = StockLists::movementNoneRead();
    movements.complete = false;
    Storage::Failure failure = Storage::Failure::None;
    const bool opened = Storage::readFile(
        TrimControl(selectionText(QStringLiteral("lblFile"))), MovementRecord::layout(),
        [&](Storage::Session &archive) {
            if (start && end)
                movements = StockLists::movementLines(
                    archive, m_kind, selectionText(QStringLiteral("txtTipologia")), *start, *end);
        },
        &failure);
    if (!opened)
        Messages::warning(this, Storage::failureText(failure));

    m_ui->titTipologia->setText(movements.shownFilter);
    showLines(std::move(movements.lines));
    if (movements.complete) {
        m_ui->lblTotCosti->setText(QString::number(lines().size()));
        m_ui->lblIntervallo->setText(StockLists::intervalText(startText, endText));
    } else {
        // A file that cannot be read or a movement without a readable date ends the
        // filling: the lines so far stay, the count shows 0.
        m_ui->lblTotCosti->setText(QStringLiteral("0"));
    }
}

void MovementSummaryList::btnStampaClick()
{
    if (lines().isEmpty()) {
        Messages::warning(this,
            QStringLiteral("Operazione di stampa non applicabile: il "
                           "riepilogo non contiene nessuna voce."));
        return;
    }
    if (!Messages::confirm(this, QStringLiteral("Si vuole stampare il presente riepilogo?")))
        return;
    printList(SummarySelection::twin(m_kind).printTitle + TrimControl(m_ui->titTipologia->text()),
        StockLists::movementPrintExtra(m_ui->lblIntervallo->text(), m_ui->lblTotCosti->text()));
}

void MovementSummaryList::btnEsciClick()
{
    close();
}

void MovementSummaryList::imgGuidaClick()
{
    showHelpFor(this, SummarySelection::twin(m_kind).listClass);
}
