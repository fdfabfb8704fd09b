#include "attachments/Cartella.h"
#include "ui_Cartella.h"

#include "app/Banner.h"
#include "app/Messages.h"
#include "app/OpenURL.h"
#include "app/Palette.h"
#include "app/Widgets.h"
#include "attachments/RecordFolder.h"
#include "storage/TextForms.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace {

constexpr int kWidth = 560;
const QColor kBlue(Palette::kFolderBlue);

// The banner: the logo and the dialog's title on a blue gradient.
QPixmap banner(int width, const QFont &baseFont)
{
    Banner banner;
    banner.height = 72;
    banner.left = kBlue;
    banner.right = QColor(Palette::kFolderLight);
    banner.drawPicture = [](QPainter &painter) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(QRect(14, 8, 56, 56), QPixmap(QStringLiteral(":/logo/logo.png")));
    };
    banner.title = QStringLiteral("Gestione cartella abbinata alla scheda corrente");
    banner.titleFont = baseFont;
    banner.titleFont.setPointSize(13);
    banner.titleFont.setBold(true);
    banner.titleFlags = Qt::AlignVCenter | Qt::TextWordWrap;
    banner.textLeft = 84;
    banner.rightMargin = 10;
    return paintBanner(banner, width);
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
