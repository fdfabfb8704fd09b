#include "app/Guida.h"
#include "ui_Guida.h"

#include "app/HelpTexts.h"
#include "app/OpenURL.h"
#include "app/Palette.h"
#include "storage/ProgramFolder.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>

namespace {
constexpr int kClientWidth = 670;
constexpr int kClientHeight = 572;
} // namespace

TfrmGuida::TfrmGuida(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::TfrmGuida>())
{
    m_ui->setupUi(this);
    // A title bar without the close box: the window closes with Chiudi (or Esc).
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(kClientWidth, kClientHeight);

    m_ui->imgLogo->setPixmap(QPixmap(QStringLiteral(":/logo/banner.png")));
    m_ui->imgPDF->setPixmap(QPixmap(QStringLiteral(":/icons/x-office-document.png"))
                                .scaled(24, 24, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_ui->imgPDF->setToolTip(QStringLiteral("Apri la guida in formato PDF"));
    m_ui->lnkWeb->addPicture(m_ui->imgPDF);

    m_ui->txtGuida->document()->setDocumentMargin(8);

    QPalette titlePalette = m_ui->lblTitolo->palette();
    titlePalette.setColor(QPalette::WindowText, QColor(Palette::kCrimson));
    m_ui->lblTitolo->setPalette(titlePalette);

    connect(m_ui->lnkWeb, &LinkLabel::clicked, this, &TfrmGuida::lnkWebClick);
    connect(m_ui->btnChiudi, &QPushButton::clicked, this, &TfrmGuida::btnChiudiClick);
}

TfrmGuida::~TfrmGuida() = default;

void TfrmGuida::ShowHelp(QWidget *parent, const QString &title, const QStringList &paragraphs)
{
    TfrmGuida window(parent);
    window.setTopic(title, paragraphs);
    QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame(QPoint(), window.size());
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    window.exec();
}

void TfrmGuida::setTopic(const QString &title, const QStringList &paragraphs)
{
    m_ui->lblTitolo->setText(title);
    m_ui->txtGuida->setPlainText(paragraphs.join(QStringLiteral("\r\n\r\n")));
}

void TfrmGuida::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_ui->txtGuida->moveCursor(QTextCursor::Start);
    m_ui->txtGuida->verticalScrollBar()->setValue(0);
    m_ui->btnChiudi->setFocus();
}

void TfrmGuida::lnkWebClick()
{
    TMisc::OpenOrSay(
        this, QStringLiteral("\"") + ProgramFolder::path() + QStringLiteral("/Guida.pdf\""));
}

void TfrmGuida::btnChiudiClick()
{
    close();
}

void showHelpFor(QWidget *parent, const QString &screenClass)
{
    const HelpTopic topic = helpTopic(screenClass);
    TfrmGuida::ShowHelp(parent, topic.title, topic.paragraphs);
}
