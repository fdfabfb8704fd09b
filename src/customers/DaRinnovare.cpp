#include "customers/DaRinnovare.h"

#include "ui_DaRinnovare.h"

#include "app/Messages.h"
#include "app/Palette.h"
#include "cards/CardScreen.h"
#include "customers/DueList.h"
#include "records/CustomerRecord.h"
#include "storage/Storage.h"
#include "storage/TextForms.h"

#include <QGuiApplication>
#include <QScreen>

TfrmDaRinnovare::TfrmDaRinnovare(QWidget *parent)
    : ListScreen(parent)
    , m_ui(std::make_unique<Ui::TfrmDaRinnovare>())
{
    setObjectName(QStringLiteral("TfrmDaRinnovare"));
    m_ui->setupUi(this);
    setUpScreen(this, 10, ScreenSize::List);
    // A fixed window without title-bar buttons: it closes with Chiudi.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setupList({ .fontSize = 11,
        .itemWidth = 1400,
        .enterMovesToFind = true,
        .emptyFindKind = Messages::Kind::Plain });

    QFont findFont(QStringLiteral("Verdana"));
    findFont.setPointSize(12);
    findFont.setBold(true);
    m_ui->txtTrova->setFont(findFont);
    m_ui->imgLogo->setPixmap(
        QPixmap(QStringLiteral(":/logo/banner.png")).scaledToHeight(64, Qt::SmoothTransformation));
    m_ui->imgLente->setPixmap(QPixmap(QStringLiteral(":/icons/system-search.png"))
                                  .scaled(24, 24, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    QPalette crimson = m_ui->lblRigo03->palette();
    crimson.setColor(QPalette::WindowText, QColor(Palette::kCrimson));
    m_ui->lblRigo03->setPalette(crimson);

    connect(m_ui->btnStampa, &QPushButton::clicked, this, &TfrmDaRinnovare::btnStampaClick);
    connect(m_ui->btnChiudi, &QPushButton::clicked, this, &TfrmDaRinnovare::btnChiudiClick);
}

TfrmDaRinnovare::~TfrmDaRinnovare() = default;

void TfrmDaRinnovare::showEvent(QShowEvent *event)
{
    // Centred on the screen, whatever the card's place.
    if (QScreen *screen
        = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    ListScreen::showEvent(event);
}

void TfrmDaRinnovare::fill()
{
    ListLines::Scan scan;
    // Read only: an archive one may only read is listed. One that cannot be opened is said;
    // whatever else stops the reading (a record that cannot be read, a customer whose dates
    // cannot be tested) stops it silently: the lines so far stay.
    Storage::Failure failure = Storage::Failure::None;
    const QDate today = Clock::now().date();
    const bool opened = Storage::read(
        CustomerRecord::archive(),
        [&](Storage::Session &archive) { scan = DueList::lines(archive, today); }, &failure);
    showLines(std::move(scan.lines));
    if (!opened)
        Messages::warning(this, Storage::failureText(failure));
}

void TfrmDaRinnovare::lstRecordsDblClick()
{
    reopenSelected(CustomerRecord::archive(),
        ListLines::lineBuilder(DueList::columns(), CustomerRecord::layout()),
        [](const Record &customer, qint64 position) {
            if (CardScreen *card = CardScreen::resident(CardId::Customer))
                card->loadRecord(customer, position);
        });
}

void TfrmDaRinnovare::btnStampaClick()
{
    printList(DueList::printTitle(), {});
}

void TfrmDaRinnovare::btnChiudiClick()
{
    close();
}
