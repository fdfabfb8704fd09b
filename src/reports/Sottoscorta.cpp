#include "reports/Sottoscorta.h"

#include "app/Messages.h"
#include "app/Widgets.h"
#include "cards/CardScreen.h"
#include "lists/ListLooks.h"
#include "records/ProductRecord.h"
#include "reports/StockLists.h"
#include "storage/Storage.h"

#include "ui_Sottoscorta.h"

TfrmSottoscorta::TfrmSottoscorta(QWidget *parent)
    : ListScreen(parent)
    , m_ui(std::make_unique<Ui::TfrmSottoscorta>())
{
    setObjectName(QStringLiteral("TfrmSottoscorta"));
    m_ui->setupUi(this);
    setUpScreen(this, 10, ScreenSize::List);
    setupList({ .fontSize = 11,
        .itemWidth = 1400,
        .enterMovesToFind = true,
        .emptyFindKind = Messages::Kind::Plain });
    connect(m_ui->btnStampa, &QPushButton::clicked, this, &TfrmSottoscorta::btnStampaClick);
    connect(m_ui->btnChiudi, &QPushButton::clicked, this, &TfrmSottoscorta::btnChiudiClick);
}

TfrmSottoscorta::~TfrmSottoscorta() = default;

void TfrmSottoscorta::fill()
{
    ListLines::Scan scan;
    // The list only reads, so an archive one may not write is listed; one that cannot be
    // opened at all is said, not shown as an empty list. A damaged record ends the reading
    // with the lines before it.
    Storage::Failure failure = Storage::Failure::None;
    const bool opened = Storage::read(
        ProductRecord::archive(),
        [&](Storage::Session &archive) { scan = StockLists::underStockLines(archive); }, &failure);
    showLines(std::move(scan.lines));
    if (!opened)
        Messages::warning(this, Storage::failureText(failure));
}

void TfrmSottoscorta::lstRecordsDblClick()
{
    reopenSelected(ProductRecord::archive(),
        ListLines::lineBuilder(StockLists::underStockColumns(), ProductRecord::layout()),
        [](const Record &product, qint64 position) {
            if (auto *card = CardScreen::resident(CardId::Product))
                card->loadRecord(product, position);
        });
}

void TfrmSottoscorta::btnStampaClick()
{
    printList(QStringLiteral("Materiali in esaurimento"), {});
}

void TfrmSottoscorta::btnChiudiClick()
{
    close();
}
