#include "app/Password.h"
#include "ui_Password.h"

#include "app/AccessPassword.h"
#include "app/CambiaPassword.h"
#include "app/FieldEntry.h"
#include "app/Messages.h"
#include "app/ResidentScreens.h"
#include "app/Widgets.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace {

constexpr int kWidth = 540;
constexpr int kPictureHeight = 190;

void paintPadlock(QPainter &p, const QRectF &area)
{
    const qreal w = area.width();
    const QRectF body(area.left(), area.top() + w * 0.55, w, w * 0.8);
    const QRectF shackle(area.left() + w * 0.18, area.top(), w * 0.64, w * 0.9);

    QPen shacklePen(QColor(0x8A, 0x93, 0x9C), w * 0.13, Qt::SolidLine, Qt::FlatCap);
    p.setPen(shacklePen);
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    arc.moveTo(shackle.left(), body.top() + 1);
    arc.lineTo(shackle.left(), shackle.top() + shackle.width() / 2);
    arc.arcTo(QRectF(shackle.left(), shackle.top(), shackle.width(), shackle.width()), 180, -180);
    arc.lineTo(shackle.right(), body.top() + 1);
    p.drawPath(arc);

    QLinearGradient gold(body.topLeft(), body.bottomRight());
    gold.setColorAt(0.0, QColor(0xFC, 0xE0, 0x6B));
    gold.setColorAt(1.0, QColor(0xD4, 0x9A, 0x12));
    p.setPen(QPen(QColor(0xA8, 0x74, 0x0A), 2));
    p.setBrush(gold);
    p.drawRoundedRect(body, w * 0.12, w * 0.12);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5C, 0x3D, 0x05));
    const QPointF hole(body.center().x(), body.top() + body.height() * 0.42);
    p.drawEllipse(hole, w * 0.1, w * 0.1);
    p.drawRect(QRectF(hole.x() - w * 0.04, hole.y(), w * 0.08, body.height() * 0.3));
}

} // namespace

namespace PasswordLook {

QPixmap lockPicture(
    const QString &title, const QString &line, const QString &note, int width, int height)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap picture(QSize(width, height) * ratio);
    picture.setDevicePixelRatio(ratio);

    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0.0, Qt::white);
    sky.setColorAt(1.0, QColor(0xDC, 0xEA, 0xF7));
    p.fillRect(QRect(0, 0, width, height), sky);

    const int lockWidth = 70;
    paintPadlock(p, QRectF(28, (height - lockWidth * 1.35) / 2, lockWidth, lockWidth * 1.35));

    const int left = 28 + lockWidth + 28;
    const int textWidth = width - left - 22;
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPixelSize(32);
    titleFont.setBold(true);
    QFont lineFont(QStringLiteral("Arial"));
    lineFont.setPixelSize(15);
    QFont noteFont(QStringLiteral("Arial"));
    noteFont.setPixelSize(14);

    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    const QRect titleRect
        = QFontMetrics(titleFont).boundingRect(QRect(0, 0, textWidth, height), flags, title);
    const QRect lineRect
        = QFontMetrics(lineFont).boundingRect(QRect(0, 0, textWidth, height), flags, line);
    const int notePadding = 8;
    const QRect noteRect = note.isEmpty()
        ? QRect()
        : QFontMetrics(noteFont).boundingRect(
            QRect(0, 0, textWidth - 2 * notePadding, height), flags, note);
    const int gap = 8;
    const int total = titleRect.height() + gap + lineRect.height()
        + (note.isEmpty() ? 0 : 2 * gap + noteRect.height() + 2 * notePadding);
    int y = std::max(8, (height - total) / 2);

    p.setPen(QColor(0x1F, 0x4E, 0x79));
    p.setFont(titleFont);
    p.drawText(QRect(left, y, textWidth, titleRect.height()), flags, title);
    y += titleRect.height() + gap;
    p.setPen(QColor(0x33, 0x40, 0x4D));
    p.setFont(lineFont);
    p.drawText(QRect(left, y, textWidth, lineRect.height()), flags, line);
    y += lineRect.height() + 2 * gap;
    if (!note.isEmpty()) {
        const QRect box(left, y, textWidth, noteRect.height() + 2 * notePadding);
        p.setPen(QColor(0xE0, 0xB0, 0x40));
        p.setBrush(QColor(0xFF, 0xF6, 0xD8));
        p.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        p.setPen(QColor(0x5C, 0x3D, 0x05));
        p.setFont(noteFont);
        p.drawText(box.adjusted(notePadding, notePadding, -notePadding, -notePadding), flags, note);
    }
    return picture;
}

void styleEntry(QWidget *edit)
{
    QFont font = edit->font();
    font.setPointSize(14);
    font.setBold(true);
    edit->setFont(font);
}

void fixAndCentre(QWidget *window, int width)
{
    const QLayout *layout = window->layout();
    window->setFixedSize(width,
        layout->hasHeightForWidth() ? layout->totalHeightForWidth(width)
                                    : layout->totalSizeHint().height());
    if (QScreen *screen = window->screen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

} // namespace PasswordLook

TfrmPassword::TfrmPassword(QWidget *parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::TfrmPassword>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    Widgets::applyItalianConventions(this);
    // The window icon is the application's (set once at start-up).

    showPicture();

    m_ui->panBanda->setAttribute(Qt::WA_StyledBackground, true);
    m_ui->panBanda->setStyleSheet(
        QStringLiteral("QFrame#panBanda { background-color: #2F5F8A; }"
                       "QLabel#lblRigo05 { color: white; font-size: 12pt; font-weight: bold; }"
                       "QToolButton#cmdOK { color: white; font-weight: bold; }"
                       "QToolButton#cmdOK:disabled { color: #9DB4C8; }"));
    PasswordLook::styleEntry(m_ui->txtPassword);
    Widgets::makeImageButton(m_ui->cmdOK, QStringLiteral("go-next.png"), 24);
    m_ui->cmdOK->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    Widgets::makeImageButton(m_ui->cmdEsci, QStringLiteral("system-log-out.png"), 24);
    m_ui->cmdEsci->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    auto *entry = new FieldEntry(this);
    // Enter does what OK does, and nothing on a blank entry; it is never typed.
    entry->setKeyHook(QStringLiteral("txtPassword"), [this](QKeyEvent *event) {
        if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
            return false;
        if (!AccessPassword::isBlank(m_ui->txtPassword->text()))
            cmdOKClick();
        return true;
    });
    m_ui->txtPassword->installEventFilter(this);

    connect(m_ui->txtPassword, &QLineEdit::textChanged, this, &TfrmPassword::updateOK);
    connect(m_ui->cmdOK, &QToolButton::clicked, this, &TfrmPassword::cmdOKClick);
    connect(m_ui->cmdEsci, &QToolButton::clicked, this, &TfrmPassword::cmdEsciClick);
    connect(m_ui->btnCambiaPassword, &QPushButton::clicked, this,
        &TfrmPassword::btnCambiaPasswordClick);

    PasswordLook::fixAndCentre(this, kWidth);
}

TfrmPassword::~TfrmPassword() = default;

void TfrmPassword::showPicture()
{
    const QString title = QStringLiteral("Password");
    const QString line
        = QStringLiteral("Proteggi l'accesso al programma con una password a tua scelta.");
    const QString note = AccessPassword::storedIsInitial()
        ? QStringLiteral("Primo accesso: la password iniziale è riportata nelle note di "
                         "installazione (file README).")
        : QString();
    m_ui->imgLogo->setPixmap(PasswordLook::lockPicture(title, line, note, kWidth, kPictureHeight));
    QString description = title + u'\n' + line;
    if (!note.isEmpty())
        description += u'\n' + note;
    m_ui->imgLogo->setAccessibleDescription(description);
}

TfrmCambiaPassword *TfrmPassword::changeScreen() const
{
    return m_changeScreen;
}

void TfrmPassword::showEmpty()
{
    m_ui->txtPassword->clear();
    // A password changed meanwhile ends the hint.
    showPicture();
    PasswordLook::fixAndCentre(this, kWidth);
    show();
    raise();
    activateWindow();
    m_ui->txtPassword->setFocus(Qt::OtherFocusReason);
}

void TfrmPassword::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_ui->txtPassword->setFocus(Qt::OtherFocusReason);
}

void TfrmPassword::closeEvent(QCloseEvent *event)
{
    event->accept();
    QCoreApplication::quit();
}

bool TfrmPassword::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui->txtPassword && event->type() == QEvent::KeyRelease)
        updateOK();
    return QWidget::eventFilter(watched, event);
}

void TfrmPassword::updateOK()
{
    m_ui->cmdOK->setEnabled(!AccessPassword::isBlank(m_ui->txtPassword->text()));
}

void TfrmPassword::cmdOKClick()
{
    const AccessPassword::CheckResult result = AccessPassword::check(m_ui->txtPassword->text());
    switch (result) {
    case AccessPassword::CheckResult::Match:
        // The screen stays hidden until the program ends; the typed password goes with it.
        m_ui->txtPassword->clear();
        showMainMenu();
        hide();
        break;
    case AccessPassword::CheckResult::Wrong:
        Messages::plain(this, AccessPassword::messageFor(result));
        m_ui->txtPassword->clear();
        m_ui->txtPassword->setFocus(Qt::OtherFocusReason);
        break;
    case AccessPassword::CheckResult::ReadError:
        Messages::plain(this, AccessPassword::messageFor(result));
        break;
    }
}

void TfrmPassword::cmdEsciClick()
{
    close();
}

void TfrmPassword::btnCambiaPasswordClick()
{
    if (m_changeScreen)
        return;
    m_changeScreen = new TfrmCambiaPassword(this);
    m_changeScreen->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_changeScreen, &QDialog::finished, this, &TfrmPassword::showEmpty);
    hide();
    m_changeScreen->open();
}
