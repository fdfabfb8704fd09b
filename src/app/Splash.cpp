#include "app/Splash.h"
#include "ui_Splash.h"

#include "app/Info.h"
#include "app/OpenURL.h"
#include "app/Palette.h"

#include <QLayout>

TfrmSplash::TfrmSplash(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::TfrmSplash>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QStringLiteral(" Merventa 2.0 - versione 2.0 - ") + Maker::name());

    m_ui->imgLogo->setPixmap(QPixmap(QStringLiteral(":/logo/logo.png"))
                                 .scaled(128, 128, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    QPalette productPalette = m_ui->lblProdotto->palette();
    productPalette.setColor(QPalette::WindowText, QColor(Palette::kTitleBlue));
    m_ui->lblProdotto->setPalette(productPalette);
    m_ui->lblCrediti->setText(creditsText());
    m_ui->imgWeb->setPixmap(QPixmap(QStringLiteral(":/icons/internet-web-browser.png")));
    m_ui->imgWeb->setToolTip(QStringLiteral("Visita il sito di %1").arg(Maker::name()));
    m_ui->lnkWeb->setText(Maker::webSiteText());
    m_ui->lnkWeb->addPicture(m_ui->imgWeb);

    constexpr int kWidth = 560;
    setFixedSize(kWidth, layout()->totalHeightForWidth(kWidth));

    connect(m_ui->lnkWeb, &LinkLabel::clicked, this, &TfrmSplash::lnkWebClick);
    connect(m_ui->btnChiudi, &QPushButton::clicked, this, &TfrmSplash::btnChiudiClick);
}

TfrmSplash::~TfrmSplash() = default;

QString TfrmSplash::creditsText()
{
    return QStringLiteral("Progettazione e sviluppo: <b>%1</b><br>"
                          "Realizzato con la libreria Qt %2 (The Qt Company Ltd.), usata "
                          "secondo la licenza GNU LGPL versione 3.<br>"
                          "Icone: Tango Desktop Project, di pubblico dominio.<br>"
                          "I testi delle licenze sono nella cartella <i>licenze</i> del "
                          "programma.")
        .arg(Maker::name(), QString::fromLatin1(qVersion()));
}

void TfrmSplash::lnkWebClick()
{
    TMisc::OpenOrSay(this, QStringLiteral("\"") + Maker::webSite() + QStringLiteral("\""));
}

void TfrmSplash::btnChiudiClick()
{
    close();
}
