#include "app/Avvio.h"
#include "ui_Avvio.h"

#include "app/Guida.h"
#include "app/Info.h"
#include "app/OpenURL.h"
#include "app/Palette.h"
#include "app/Screens.h"
#include "app/Splash.h"
#include "app/Widgets.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGraphicsDropShadowEffect>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

TfrmAvvio::TfrmAvvio(QWidget *parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::TfrmAvvio>())
{
    m_ui->setupUi(this);
    Widgets::applyItalianConventions(this);

    m_entries = {
        { m_ui->imgClienti, m_ui->btnClienti, QStringLiteral("TfrmAnagrafica") },
        { m_ui->imgFornitori, m_ui->btnFornitori, QStringLiteral("TfrmFornitori") },
        { m_ui->imgMagazzino, m_ui->btnMagazzino, QStringLiteral("TfrmMagazzino") },
        { m_ui->imgRiepilogo, m_ui->btnRiepilogo, QStringLiteral("TfrmMenuRiepilogo") },
        { m_ui->imgCarico, m_ui->btnCarico, QStringLiteral("TfrmMenuRiepilogoCarico") },
        { m_ui->imgScarico, m_ui->btnScarico, QStringLiteral("TfrmMenuRiepilogoScarico") },
    };
    const QStringList pictures {
        QStringLiteral("system-users-128.png"),
        QStringLiteral("x-office-address-book-128.png"),
        QStringLiteral("package-x-generic-128.png"),
        QStringLiteral("accessories-calculator-128.png"),
        QStringLiteral("list-add-128.png"),
        QStringLiteral("list-remove-128.png"),
    };
    QFont buttonFont = font();
    buttonFont.setPointSize(11);
    buttonFont.setBold(true);
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const Entry &entry = m_entries.at(i);
        Widgets::makeImageButton(entry.picture, pictures.at(i), 128);
        entry.button->setFont(buttonFont);
        entry.button->setCursor(Qt::PointingHandCursor);
        const QString screenClass = entry.screenClass;
        connect(entry.picture, &QToolButton::clicked, this,
            [this, screenClass] { openScreen(screenClass); });
        connect(entry.button, &QPushButton::clicked, this,
            [this, screenClass] { openScreen(screenClass); });
    }

    m_ui->imgInfo->setText(QStringLiteral("Info"));
    Widgets::makeImageButton(m_ui->imgInfo, QStringLiteral("dialog-information.png"), 32);
    m_ui->imgGuida->setText(QStringLiteral("Guida"));
    Widgets::makeImageButton(m_ui->imgGuida, QStringLiteral("help-browser.png"), 32);
    m_ui->imgEsci->setText(QStringLiteral("Esci"));
    Widgets::makeImageButton(m_ui->imgEsci, QStringLiteral("system-log-out.png"), 32);
    m_ui->btnArchivi->setFont(buttonFont);
    m_ui->btnArchivi->setCursor(Qt::PointingHandCursor);
    m_ui->btnArchivi->setIcon(Widgets::iconOnDemand(QStringLiteral(":/icons/network-server.png")));
    m_ui->btnArchivi->setIconSize(QSize(32, 32));
    m_ui->btnArchivi->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_ui->imgCrediti->setText(QStringLiteral("Crediti"));
    Widgets::makeImageButton(m_ui->imgCrediti, QString(), 32);
    m_ui->imgCrediti->setIcon(Widgets::iconOnDemand(QStringLiteral(":/logo/logo.png")));

    m_ui->icoSito->setText(
        Maker::webSiteText() + QStringLiteral("   \u2013   novità, aggiornamenti e assistenza"));
    Widgets::makeImageButton(m_ui->icoSito, QStringLiteral("internet-web-browser.png"), 24);
    m_ui->icoSito->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_ui->icoSito->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_ui->icoSito->setAutoRaise(false);
    // No address to show until the maker's site is configured; its room stays empty, so
    // that Archivi keeps its size beside Esci.
    m_ui->icoSito->setVisible(Maker::hasWebSite());
    if (!Maker::hasWebSite())
        m_ui->layPiede->insertStretch(m_ui->layPiede->indexOf(m_ui->icoSito), 1);

    // The logo is drawn when the menu first shows (the menu is created at start-up, shown
    // only after the password).
    m_ui->icoIcona->setFixedSize(72, 72);
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPointSize(30);
    titleFont.setBold(true);
    m_ui->icoTitolo->setFont(titleFont);
    QFont versionFont(QStringLiteral("Arial"));
    versionFont.setPointSize(14);
    versionFont.setBold(true);
    m_ui->icoVersione->setFont(versionFont);
    QFont subtitleFont(QStringLiteral("Arial"));
    subtitleFont.setPointSize(12);
    m_ui->icoSottotitolo->setFont(subtitleFont);

    m_ui->panContainer->setStyleSheet(
        QStringLiteral(
            "QFrame#panContainer { background-color: white; border-radius: 18px; }"
            "QLabel#icoTitolo { color: %1; }"
            "QLabel#icoVersione { color: white; background-color: %2; border-radius: 6px;"
            " padding: 2px 8px; }"
            "QLabel#icoSottotitolo { color: %3; }"
            "QToolButton#icoSito { color: %1; background-color: %4;"
            " border: 1px solid %5; border-radius: 8px; padding: 6px 12px; font-size: 11pt; }"
            "QToolButton#icoSito:hover { background-color: %6; }")
            .arg(QLatin1StringView(Palette::kTitleBlue), QLatin1StringView(Palette::kOrange),
                QLatin1StringView(Palette::kSubtitleGrey), QLatin1StringView(Palette::kSiteButton),
                QLatin1StringView(Palette::kSiteBorder), QLatin1StringView(Palette::kSiteHover)));
    auto *shadow = new QGraphicsDropShadowEffect(m_ui->panContainer);
    shadow->setBlurRadius(36);
    shadow->setOffset(0, 6);
    shadow->setColor(QColor(Palette::kShadow));
    m_ui->panContainer->setGraphicsEffect(shadow);

    connect(m_ui->imgInfo, &QToolButton::clicked, this, &TfrmAvvio::imgInfoClick);
    connect(m_ui->imgGuida, &QToolButton::clicked, this, &TfrmAvvio::imgGuidaClick);
    connect(m_ui->imgCrediti, &QToolButton::clicked, this, &TfrmAvvio::imgCreditiClick);
    connect(m_ui->icoSito, &QToolButton::clicked, this, &TfrmAvvio::icoSitoClick);
    connect(m_ui->imgEsci, &QToolButton::clicked, this, &TfrmAvvio::imgEsciClick);
    connect(m_ui->btnArchivi, &QPushButton::clicked, this, &TfrmAvvio::btnArchiviClick);
    fitPictures();
}

TfrmAvvio::~TfrmAvvio() = default;

void TfrmAvvio::fitPictures()
{
    if (const QScreen *shown = screen())
        fitPicturesTo(shown->availableGeometry().height());
}

void TfrmAvvio::fitPicturesTo(int availableHeight)
{
    // The six pictures take most of the menu's height: on a short screen (1280x720, or
    // 1366x768 at 125 %) they shrink so that every button and Esci stay on the screen.
    const int side = availableHeight >= 760 ? 128 : availableHeight >= 640 ? 96 : 64;
    for (const Entry &entry : std::as_const(m_entries))
        entry.picture->setIconSize(QSize(side, side));
}

void TfrmAvvio::refreshEntries()
{
    for (const Entry &entry : std::as_const(m_entries)) {
        const bool available = Screens::resident(entry.screenClass) != nullptr;
        entry.picture->setEnabled(available);
        entry.button->setEnabled(available);
    }
}

void TfrmAvvio::showEvent(QShowEvent *event)
{
    refreshEntries();
    fitPictures();
    if (m_ui->icoIcona->pixmap().isNull())
        m_ui->icoIcona->setPixmap(
            QPixmap(QStringLiteral(":/logo/logo.png"))
                .scaled(72, 72, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    QWidget::showEvent(event);
}

void TfrmAvvio::closeEvent(QCloseEvent *event)
{
    // Nothing to save: the cards write their records only on Salva.
    event->accept();
    QCoreApplication::quit();
}

void TfrmAvvio::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0.0, QColor(Palette::kMenuTop));
    gradient.setColorAt(0.5, QColor(Palette::kSteelBlue));
    gradient.setColorAt(1.0, QColor(Palette::kMenuBottom));
    painter.fillRect(rect(), gradient);
}

bool TfrmAvvio::eventFilter(QObject *watched, QEvent *event)
{
    // A close may be refused by the screen; only the hide that follows an accepted close
    // (not a minimise, which hides spontaneously) brings the menu back.
    if (event->type() == QEvent::Close) {
        m_closing = watched;
    } else if (event->type() == QEvent::Hide && !event->spontaneous() && m_closing == watched) {
        m_closing = nullptr;
        Widgets::showFilling(this);
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmAvvio::openScreen(const QString &screenClass)
{
    QWidget *screen = Screens::resident(screenClass);
    if (!screen) {
        refreshEntries();
        return;
    }
    screen->installEventFilter(this);
    Widgets::showFilling(screen);
    hide();
}

void TfrmAvvio::imgInfoClick()
{
    TfrmInfo window(this);
    window.exec();
}

void TfrmAvvio::imgGuidaClick()
{
    showHelpFor(this, QStringLiteral("TfrmAvvio"));
}

void TfrmAvvio::imgCreditiClick()
{
    TfrmSplash window(this);
    window.exec();
}

void TfrmAvvio::icoSitoClick()
{
    TMisc::OpenOrSay(this, QStringLiteral("\"") + Maker::webSite() + QStringLiteral("\""));
}

void TfrmAvvio::btnArchiviClick()
{
    // The screen lives in a library of its own that the program registers at start-up.
    Screens::openModal(QStringLiteral("TfrmArchivi"), this);
}

void TfrmAvvio::imgEsciClick()
{
    close();
}
