#include "app/Info.h"
#include "ui_Info.h"

#include "app/Maker.h"
#include "app/OpenURL.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>

TfrmInfo::TfrmInfo(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::TfrmInfo>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    m_ui->imgLogo->setPixmap(QPixmap(QStringLiteral(":/logo/banner.png")));
    m_ui->imgInformazioni01->setText(
        QStringLiteral("<table cellspacing='0' cellpadding='0'><tr>"
                       "<td valign='middle'><img src=':/icons/dialog-information.png'></td>"
                       "<td width='10'></td><td>"
                       "<b>Merventa 2.0</b> &ndash; versione 2.0<br>"
                       "Gestione di magazzino, movimenti di merce, clienti e fornitori per "
                       "la piccola impresa."
                       "</td></tr></table>"));
    m_ui->imgInformazioni02->setText(
        QStringLiteral("<table cellspacing='0' cellpadding='0'><tr>"
                       "<td valign='middle'><img src=':/icons/system-users.png'></td>"
                       "<td width='10'></td><td>"
                       "Realizzato da <b>%1</b><br>"
                       "Sito: %2<br>"
                       "Per informazioni, suggerimenti e assistenza scrivete all'indirizzo qui "
                       "sotto."
                       "</td></tr></table>")
            .arg(Maker::name(), Maker::webSiteText()));
    m_ui->imgEmail->setPixmap(QPixmap(QStringLiteral(":/icons/internet-mail.png")));
    m_ui->imgEmail->setToolTip(QStringLiteral("Scrivi a %1").arg(Maker::name()));
    m_ui->lnkWeb->setText(Maker::email());
    m_ui->lnkWeb->addPicture(m_ui->imgEmail);

    // As wide as the banner; the information pictures wrap their text to fit.
    const int width = m_ui->imgLogo->pixmap().width();
    setFixedSize(width, layout()->totalHeightForWidth(width));
    if (QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    connect(m_ui->lnkWeb, &LinkLabel::clicked, this, &TfrmInfo::lnkWebClick);
    connect(m_ui->btnChiudi, &QPushButton::clicked, this, &TfrmInfo::btnChiudiClick);
}

TfrmInfo::~TfrmInfo() = default;

QString TfrmInfo::mailCommand()
{
    // Handed over as written: blanks, the comma and the colon are not encoded here.
    return QStringLiteral("\"mailto:") + Maker::email() + QStringLiteral("?subject=")
        + QStringLiteral("Software Merventa 2.0") + QStringLiteral("&body=")
        + QStringLiteral("Salve, desidererei avere le seguenti informazioni sul software "
                         "in oggetto:")
        + QStringLiteral("\"");
}

void TfrmInfo::lnkWebClick()
{
    TMisc::OpenOrSay(this, mailCommand());
}

void TfrmInfo::btnChiudiClick()
{
    close();
}
