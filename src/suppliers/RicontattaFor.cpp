#include "suppliers/RicontattaFor.h"

#include "ui_RicontattaFor.h"

#include "app/Banner.h"
#include "app/Messages.h"
#include "app/Palette.h"
#include "cards/CardScreen.h"
#include "records/SupplierRecord.h"
#include "storage/Storage.h"
#include "suppliers/RecontactList.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace {

// The banner across the top: the address book on a band of the supplier card's colours
// and the list's name in large capitals.
QPixmap banner(int width)
{
    Banner banner;
    banner.height = 64;
    banner.left = QColor(Palette::kDarkSlateBlue);
    banner.right = QColor(Palette::kSlateBlue);
    banner.drawPicture = [](QPainter &p) {
        p.drawPixmap(12, 6,
            QPixmap(QStringLiteral(":/icons/x-office-address-book-128.png"))
                .scaled(52, 52, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    };
    banner.title = QStringLiteral("FORNITORI DA RICONTATTARE");
    banner.titleFont = QFont(QStringLiteral("Arial"));
    banner.titleFont.setPixelSize(26);
    banner.titleFont.setBold(true);
    banner.titleFlags = Qt::AlignVCenter | Qt::AlignLeft;
    banner.textLeft = 80;
    banner.rightMargin = 12;
    return paintBanner(banner, width);
}

} // namespace

TfrmRicontattaFor::TfrmRicontattaFor(QWidget *parent)
    : ListScreen(parent)
    , m_ui(std::make_unique<Ui::TfrmRicontattaFor>())
{
    m_ui->setupUi(this);
    setUpScreen(this, 10, ScreenSize::List);
    // Fixed, centred, without the window's buttons: Chiudi closes it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setupList({ .fontSize = 11,
        .itemWidth = 1400,
        .enterMovesToFind = true,
        .emptyFindKind = Messages::Kind::Plain });

    m_ui->imgLogo->setPixmap(banner(kListSize.width() - 28));
    m_ui->imgTrova->setPixmap(QPixmap(QStringLiteral(":/icons/system-search.png"))
                                  .scaled(24, 24, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    QFont findFont = m_ui->txtTrova->font();
    findFont.setPointSize(12);
    findFont.setBold(true);
    m_ui->txtTrova->setFont(findFont);
    m_ui->lblRigo03->setStyleSheet(
        QStringLiteral("color: %1;").arg(QLatin1StringView(Palette::kCrimson)));

    connect(m_ui->btnStampa, &QPushButton::clicked, this, &TfrmRicontattaFor::btnStampaClick);
    connect(m_ui->btnChiudi, &QPushButton::clicked, this, &TfrmRicontattaFor::btnChiudiClick);
}

TfrmRicontattaFor::~TfrmRicontattaFor() = default;

void TfrmRicontattaFor::fill()
{
    // Read only: an archive one may only read is listed. A file that cannot be opened gives
    // an empty list and the access message; a record that cannot be read ends the reading
    // with the lines before it, without a message.
    ListLines::Scan scan;
    Storage::Failure failure = Storage::Failure::None;
    const bool opened = Storage::read(
        SupplierRecord::archive(),
        [&](Storage::Session &archive) { scan = RecontactList::lines(archive); }, &failure);
    showLines(std::move(scan.lines));
    if (!opened)
        Messages::warning(this, Storage::failureText(failure));
}

void TfrmRicontattaFor::lstRecordsDblClick()
{
    // Every record is compared, whatever its flag: the card shows the last equal one.
    reopenSelected(SupplierRecord::archive(), RecontactList::lineBuilder(),
        [](const Record &supplier, qint64 position) {
            if (CardScreen *card = CardScreen::resident(CardId::Supplier))
                card->loadRecord(supplier, position);
        });
}

void TfrmRicontattaFor::btnStampaClick()
{
    printList(QStringLiteral("Riepilogo Fornitori da ricontattare"), {});
}

void TfrmRicontattaFor::btnChiudiClick()
{
    close();
}
