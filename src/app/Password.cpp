#include "app/Password.h"
#include "ui_Password.h"

#include "app/AccessPassword.h"
#include "app/CambiaPassword.h"
#include "app/FieldEntry.h"
#include "app/Messages.h"
#include "app/Palette.h"
#include "app/PasswordLook.h"
#include "app/Widgets.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>

namespace {

constexpr int kWidth = 540;
constexpr int kPictureHeight = 190;

} // namespace

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
        QStringLiteral("QFrame#panBanda { background-color: %1; }"
                       "QLabel#lblRigo05 { color: white; font-size: 12pt; font-weight: bold; }"
                       "QToolButton#cmdOK { color: white; font-weight: bold; }"
                       "QToolButton#cmdOK:disabled { color: %2; }")
            .arg(QLatin1StringView(Palette::kPasswordBand),
                QLatin1StringView(Palette::kPasswordOkDisabled)));
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
        emit accepted();
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
