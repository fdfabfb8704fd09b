#include "reports/MenuRiepilogo.h"

#include "app/Guida.h"
#include "app/Screens.h"
#include "app/Widgets.h"
#include "lists/ListLooks.h"
#include "lists/ListScreen.h"
#include "reports/Riepilogo.h"

#include "ui_MenuRiepilogo.h"

#include <QShowEvent>

TfrmMenuRiepilogo::TfrmMenuRiepilogo(QWidget *parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::TfrmMenuRiepilogo>())
{
    setObjectName(QStringLiteral("TfrmMenuRiepilogo"));
    m_ui->setupUi(this);
    ListScreen::setUpScreen(this, 12, ListScreen::ScreenSize::FillScreen);

    Widgets::makeImageButton(m_ui->imgGuida, QStringLiteral("help-browser.png"));
    Widgets::makeImageButton(m_ui->imgEsci, QStringLiteral("system-log-out.png"));
    // Fonts and colours when the screen is first shown: it is created at start-up.
    Widgets::onFirstPolish(this, [this] {
        ListLooks::styleSelectionScreen(this);
        ListLooks::styleSelectionPanel(m_ui->shpSelezione);
        ListLooks::styleScreenTitle(m_ui->titInventario);
        ListLooks::styleCaption(m_ui->lblApri);
        ListLooks::styleCaption(m_ui->lblInformazioni);
        ListLooks::styleWaitNotice(m_ui->lblAttendere);
        QFont big(QStringLiteral("Verdana"), 22);
        big.setBold(true);
        m_ui->txtTipologia->setFont(big);
    });
    m_ui->lblAttendere->hide();

    ListScreen::showNoticeOnPress(m_ui->btnVisualizza, m_ui->lblAttendere);
    connect(
        m_ui->btnVisualizza, &QPushButton::clicked, this, &TfrmMenuRiepilogo::btnVisualizzaClick);
    connect(m_ui->btnGrafici, &QPushButton::clicked, this, &TfrmMenuRiepilogo::btnGraficiClick);
    connect(m_ui->imgEsci, &QToolButton::clicked, this, &TfrmMenuRiepilogo::imgEsciClick);
    connect(m_ui->imgGuida, &QToolButton::clicked, this, &TfrmMenuRiepilogo::imgGuidaClick);
}

TfrmMenuRiepilogo::~TfrmMenuRiepilogo() = default;

void TfrmMenuRiepilogo::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmMenuRiepilogo::FormShow()
{
    m_ui->txtTipologia->clear();
    m_ui->lblAttendere->hide();
    m_ui->txtTipologia->setFocus(Qt::OtherFocusReason);
}

void TfrmMenuRiepilogo::btnVisualizzaClick()
{
    {
        TfrmRiepilogo list(this);
        list.exec();
    }
    m_ui->lblAttendere->hide();
}

void TfrmMenuRiepilogo::btnGraficiClick()
{
    Screens::openModal(QStringLiteral("TfrmGrafici"), this);
}

void TfrmMenuRiepilogo::imgEsciClick()
{
    close();
}

void TfrmMenuRiepilogo::imgGuidaClick()
{
    showHelpFor(this, QStringLiteral("TfrmMenuRiepilogo"));
}
