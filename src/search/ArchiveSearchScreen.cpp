#include "search/ArchiveSearchScreen.h"

#include "app/FieldEntry.h"
#include "app/Screens.h"
#include "cards/CardScreen.h"
#include "lists/ListLooks.h"
#include "search/SupplierImport.h"
#include "storage/Storage.h"

#include "ui_ArchiveSearchScreen.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

// The search boxes stand in two columns of five, each with its caption above it.
constexpr int kRowsPerColumn = 5;

// The supplier search opened from the product card writes the supplier's data into the
// product card through its binding.
void importIntoProduct(const Record &supplier)
{
    const CardScreen *card = CardScreen::resident(CardId::Product);
    if (!card)
        return;
    for (const SupplierImport::Value &v : SupplierImport::productValues(supplier))
        card->binding().setText(v.field, v.text);
}

} // namespace

ArchiveSearchScreen::ArchiveSearchScreen(ArchiveId kind, QWidget *parent)
    : ListScreen(parent)
    , m_config(ArchiveSearch::config(kind))
    , m_ui(std::make_unique<Ui::ArchiveSearchScreen>())
{
    m_ui->setupUi(this);
    setObjectName(m_config.screenName);
    setWindowTitle(m_config.windowCaption);
    addSearchBoxes();
    setUpScreen(this, 10, ScreenSize::List);
    for (QLabel *caption : { m_ui->lblRigo04, m_ui->lblRigo05, m_ui->lblRigo06 })
        ListLooks::styleCaption(caption);
    ListLooks::styleWaitNotice(m_ui->lblAttendere);
    ListLooks::styleValue(m_ui->lblTrovate);
    m_ui->lblTrovate->setText(ArchiveSearch::countText(m_config, 0));

    setupList({ .fontSize = 11,
        .itemWidth = 1400,
        .enterMovesToFind = true,
        .emptyFindKind = Messages::Kind::Plain,
        .fillOnShow = false,
        .highlightFields = true });
    QStringList ring;
    for (const ArchiveSearch::SearchField &f : m_config.fields)
        ring.append(f.name);
    ring.append(ring.first());
    fieldEntry()->setEnterOrder(ring);

    showNoticeOnPress(m_ui->btnCerca, m_ui->lblAttendere);
    connect(m_ui->btnCerca, &QPushButton::clicked, this, &ArchiveSearchScreen::btnCercaClick);
    connect(m_ui->btnAnnulla, &QPushButton::clicked, this, &ArchiveSearchScreen::btnAnnullaClick);
    connect(m_ui->btnChiudi, &QPushButton::clicked, this, &ArchiveSearchScreen::btnChiudiClick);
    connect(m_ui->btnStampa, &QPushButton::clicked, this, &ArchiveSearchScreen::btnStampaClick);
}

ArchiveSearchScreen::~ArchiveSearchScreen() = default;

void ArchiveSearchScreen::open(QWidget *parent, ArchiveId archive, CardId caller)
{
    ArchiveSearchScreen screen(archive, parent);
    screen.setCallerTag(cardIdentity(caller).searchTag);
    screen.exec();
}

void ArchiveSearchScreen::addSearchBoxes()
{
    QWidget *previous = nullptr;
    for (int i = 0; i < m_config.fields.size(); ++i) {
        const ArchiveSearch::SearchField &f = m_config.fields[i];
        auto *caption = new QLabel(f.caption, m_ui->panAvvio);
        caption->setObjectName(QStringLiteral("tit") + f.name.mid(3));
        auto *box = new QLineEdit(m_ui->panAvvio);
        box->setObjectName(f.name);
        caption->setBuddy(box);
        auto *pair = new QVBoxLayout;
        pair->setSpacing(2);
        pair->addWidget(caption);
        pair->addWidget(box);
        m_ui->layCampi->addLayout(pair, i % kRowsPerColumn, i / kRowsPerColumn);
        if (previous)
            QWidget::setTabOrder(previous, box);
        previous = box;
        m_boxes.append(box);
    }
    QWidget::setTabOrder(previous, m_ui->btnCerca);
    QWidget::setTabOrder(m_ui->btnCerca, m_ui->btnAnnulla);
}

void ArchiveSearchScreen::setCallerTag(const QString &tag)
{
    m_ui->lblMemory->setText(tag);
}

void ArchiveSearchScreen::showEvent(QShowEvent *event)
{
    ListScreen::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void ArchiveSearchScreen::FormShow()
{
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    resetFind();
    if (m_ui->panAvvio->isVisible())
        m_boxes.first()->setFocus(Qt::OtherFocusReason);
}

void ArchiveSearchScreen::btnCercaClick()
{
    QStringList typed;
    for (const QLineEdit *box : std::as_const(m_boxes))
        typed.append(box->text());
    const ArchiveSearch::Matcher matcher(m_config, typed);
    m_ui->lblConta->setText(QString::number(matcher.filledCount()));

    ListLines::Scan scan;
    // Read only: an archive one may only read is searched all the same.
    Storage::Failure failure = Storage::Failure::None;
    const bool opened = Storage::read(
        *m_config.archive,
        [&](Storage::Session &archive) { scan = ArchiveSearch::search(archive, m_config, typed); },
        &failure);
    if (!opened || !scan.complete) {
        // The search panel stays, wait notice included, so the search can be started again.
        Messages::plain(this, Storage::failureText(failure));
        return;
    }
    m_found = std::move(scan.lines);
    fillList();
}

void ArchiveSearchScreen::fill()
{
    showLines(std::move(m_found));
    m_found.clear();
    m_ui->lblTrovate->setText(ArchiveSearch::countText(m_config, lines().size()));
    m_ui->panContainer->show();
    m_ui->panAvvio->hide();
}

void ArchiveSearchScreen::lstRecordsDblClick()
{
    const QString tag = m_ui->lblMemory->text();
    std::function<void(const Record &, qint64)> load = [](const Record &, qint64) {};
    const std::optional<CardId> caller = cardForSearchTag(tag);
    if (caller == m_config.card) {
        load = [card = m_config.card](const Record &record, qint64 position) {
            if (CardScreen *resident = CardScreen::resident(card))
                resident->loadRecord(record, position);
        };
    } else if (m_config.kind == ArchiveId::Suppliers && caller == CardId::Product) {
        load = [](const Record &supplier, qint64) { importIntoProduct(supplier); };
    }
    reopenSelected(*m_config.archive,
        ListLines::lineBuilder(m_config.columns, *m_config.archive->layout), load);
}

void ArchiveSearchScreen::btnAnnullaClick()
{
    close();
}

void ArchiveSearchScreen::btnChiudiClick()
{
    close();
}

void ArchiveSearchScreen::btnStampaClick()
{
    printList(m_config.printTitle, {});
}

void ArchiveSearchScreen::done(int result)
{
    m_ui->lblAttendere->hide();
    ListScreen::done(result);
}
