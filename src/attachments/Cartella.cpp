#include "attachments/Cartella.h"
#include "ui_Cartella.h"

#include "app/Messages.h"
#include "app/OpenURL.h"
#include "app/Widgets.h"
#include "attachments/RecordFolder.h"
#include "storage/TextForms.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace {

constexpr int kWidth = 560;
const QColor kBlue(0x1E, 0x5A, 0xA8);

// The banner: the logo and the dialog's title on a blue gradient.
QPixmap banner(int width, const QFont &baseFont)
{
    const int height = 72;
    QPixmap pixmap(width, height);
    QPainter painter(&pixmap);
    QLinearGradient gradient(0, 0, width, 0);
    gradient.setColorAt(0, kBlue);
    gradient.setColorAt(1, QColor(0x8F, 0xB8, 0xE8));
    painter.fillRect(pixmap.rect(), gradient);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRect(14, 8, 56, 56), QPixmap(QStringLiteral(":/logo/logo.png")));
    QFont font = baseFont;
    font.setPointSize(13);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(84, 0, width - 94, height), Qt::AlignVCenter | Qt::TextWordWrap,
        QStringLiteral("Gestione cartella abbinata alla scheda corrente"));
    return pixmap;
}

} // namespace

TfrmCartella::TfrmCartella(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::TfrmCartella>())
{
    m_ui->setupUi(this);
    Widgets::applyItalianConventions(this);
    // A title bar without window buttons: the dialog closes with Chiudi.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    QFont textFont(QStringLiteral("Verdana"));
    textFont.setPointSize(10);
    for (QLabel *text : { m_ui->icoIstruzioni01, m_ui->icoIstruzioni02 })
        text->setFont(textFont);
    m_ui->imgLogo->setPixmap(banner(kWidth, font()));
    m_ui->icoCartella->setPixmap(
        QPixmap(QStringLiteral(":/icons/folder-128.png"))
            .scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    for (QFrame *bar : { m_ui->shpSepara01, m_ui->shpSepara02 }) {
        bar->setFixedHeight(4);
        bar->setAutoFillBackground(true);
        QPalette palette = bar->palette();
        palette.setColor(QPalette::Window, kBlue);
        bar->setPalette(palette);
    }
    QFont buttonFont = font();
    buttonFont.setBold(true);
    m_ui->btnApriCartella->setFont(buttonFont);
    m_ui->lblMemory->hide();

    setFixedWidth(kWidth);
    setFixedHeight(sizeHint().height());

    connect(
        m_ui->btnApriCartella, &QPushButton::clicked, this, &TfrmCartella::btnApriCartellaClick);
    connect(m_ui->btnChiudi, &QPushButton::clicked, this, &TfrmCartella::btnChiudiClick);
}

TfrmCartella::~TfrmCartella() = default;

void TfrmCartella::openFor(QWidget *parent, const QString &position)
{
    TfrmCartella dialog(parent);
    dialog.m_ui->lblMemory->setText(TrimControl(position));
    dialog.exec();
}

void TfrmCartella::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    m_ui->btnApriCartella->setFocus(Qt::OtherFocusReason);
}

void TfrmCartella::btnApriCartellaClick()
{
    const QString path = RecordFolder::pathFor(m_ui->lblMemory->text());
    // The shell would report a folder it cannot show in its own way, or not at all: the
    // user is told here instead, and nothing is handed over.
    switch (RecordFolder::prepare(path)) {
    case RecordFolder::Outcome::Ready:
        TMisc::OpenOrSay(this, u'"' + path + u'"');
        break;
    case RecordFolder::Outcome::CannotCreate:
        Messages::warning(this,
            RecordFolder::cannotCreateText(
                path.isEmpty() ? QStringLiteral("Cliente_") + m_ui->lblMemory->text() : path));
        break;
    case RecordFolder::Outcome::CannotOpen:
        Messages::warning(this, RecordFolder::cannotOpenText(path));
        break;
    }
    close();
}

void TfrmCartella::btnChiudiClick()
{
    close();
}
