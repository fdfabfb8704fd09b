#include "reports/Riepilogo.h"

#include "app/Guida.h"
#include "app/Messages.h"
#include "app/Widgets.h"
#include "labels/Etichette.h"
#include "lists/ListLooks.h"
#include "records/ProductRecord.h"
#include "reports/StockLists.h"
#include "storage/Storage.h"
#include "storage/TextForms.h"

#include "ui_Riepilogo.h"

#include <QLineEdit>

TfrmRiepilogo::TfrmRiepilogo(QWidget *parent)
    : ListScreen(parent)
    , m_ui(std::make_unique<Ui::TfrmRiepilogo>())
{
    setObjectName(QStringLiteral("TfrmRiepilogo"));
    m_ui->setupUi(this);
    setUpScreen(this, 10, ScreenSize::FillScreen);
    setupList({ .fontSize = 12,
        .itemWidth = 1400,
        .enterMovesToFind = false,
        .emptyFindKind = Messages::Kind::Information });

    Widgets::makeImageButton(m_ui->imgGuida, QStringLiteral("help-browser.png"));
    Widgets::makeImageButton(m_ui->cmdEtichette, QStringLiteral("document-print-preview.png"), 22);
    m_ui->cmdEtichette->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    Widgets::styleInfoBar(m_ui->panInfo);
    ListLooks::styleValue(m_ui->titTipologia);
    ListLooks::styleTotal(m_ui->infValore);
    ListLooks::styleTotal(m_ui->lblTotale);

    connect(m_ui->btnStampa, &QPushButton::clicked, this, &TfrmRiepilogo::btnStampaClick);
    connect(m_ui->btnEsci, &QPushButton::clicked, this, &TfrmRiepilogo::btnEsciClick);
    connect(m_ui->imgGuida, &QToolButton::clicked, this, &TfrmRiepilogo::imgGuidaClick);
    connect(m_ui->cmdEtichette, &QToolButton::clicked, this, &TfrmRiepilogo::cmdEtichetteClick);
}

TfrmRiepilogo::~TfrmRiepilogo() = default;

void TfrmRiepilogo::fill()
{
    m_ui->lblTotale->setText(QStringLiteral("0,00"));

    // The type typed on the selection screen that opened this list.
    QString filter;
    if (parentWidget()) {
        if (auto *box = parentWidget()->findChild<QLineEdit *>(QStringLiteral("txtTipologia")))
            filter = box->text();
    }

    StockLists::Inventory inventory;
    // Read only: an archive one may not write is listed all the same.
    Storage::Failure failure = Storage::Failure::None;
    const bool opened = Storage::read(
        ProductRecord::archive(),
        [&](Storage::Session &archive) { inventory = StockLists::inventoryLines(archive, filter); },
        &failure);
    if (!opened) {
        inventory.complete = false;
        Messages::warning(this, Storage::failureText(failure));
    }

    m_ui->titTipologia->setText(inventory.shownFilter);
    showLines(std::move(inventory.lines));
    if (inventory.complete) {
        m_ui->lblTotale->setText(StockLists::inventoryTotalText(inventory.total));
        m_ui->panInfo->setText(
            QStringLiteral("Il presente inventario contiene %1 articoli.").arg(lines().size()));
    } else if (!lines().isEmpty()) {
        // An unreadable record or file ends the filling: the running total stays in its
        // plain form and the count is not given.
        m_ui->lblTotale->setText(NumberToText(inventory.total));
    }
}

void TfrmRiepilogo::btnStampaClick()
{
    printList(
        QStringLiteral("Inventario merce - Tipologia: ") + TrimControl(m_ui->titTipologia->text()),
        StockLists::inventoryPrintExtra(m_ui->lblTotale->text()));
}

void TfrmRiepilogo::cmdEtichetteClick()
{
    // Every product listed, in list order.
    TfrmEtichette::openForList(this, lines().toStringList(),
        ListLines::lineBuilder(StockLists::inventoryColumns(), ProductRecord::layout()));
}

void TfrmRiepilogo::btnEsciClick()
{
    close();
}

void TfrmRiepilogo::imgGuidaClick()
{
    showHelpFor(this, QStringLiteral("TfrmRiepilogo"));
}
