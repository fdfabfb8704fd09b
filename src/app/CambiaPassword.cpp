#include "app/CambiaPassword.h"
#include "ui_CambiaPassword.h"

#include "app/AccessPassword.h"
#include "app/FieldEntry.h"
#include "app/Messages.h"
#include "app/Palette.h"
#include "app/PasswordLook.h"
#include "app/Widgets.h"

#include <QEvent>

namespace {
constexpr int kWidth = 540;
constexpr int kPictureHeight = 150;
} // namespace

TfrmCambiaPassword::TfrmCambiaPassword(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::TfrmCambiaPassword>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    Widgets::applyItalianConventions(this);

    const QString title = QStringLiteral("Cambia password");
    const QString line = QStringLiteral(
        "Per cambiare la password immetti i dati nei campi sottostanti e premi OK.");
    m_ui->imgLogo->setPixmap(
        PasswordLook::lockPicture(title, line, QString(), kWidth, kPictureHeight));
    m_ui->imgLogo->setAccessibleDescription(title + u'\n' + line);

    m_ui->panCampi->setAttribute(Qt::WA_StyledBackground, true);
    m_ui->panCampi->setStyleSheet(
        QStringLiteral("QFrame#panCampi { background-color: %1; }"
                       "QLabel { color: white; font-size: 12pt; font-weight: bold; }")
            .arg(QLatin1StringView(Palette::kPasswordBand)));
    for (QLineEdit *box : { m_ui->txtPasswordOld, m_ui->txtPasswordNew, m_ui->txtConferma }) {
        PasswordLook::styleEntry(box);
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, &TfrmCambiaPassword::updateOK);
    }
    Widgets::makeImageButton(m_ui->cmdOK, QStringLiteral("document-save.png"), 24);
    m_ui->cmdOK->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    Widgets::makeImageButton(m_ui->cmdEsci, QStringLiteral("system-log-out.png"), 24);
    m_ui->cmdEsci->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    auto *entry = new FieldEntry(this);
    entry->setEnterOrder({ QStringLiteral("txtPasswordOld"), QStringLiteral("txtPasswordNew"),
        QStringLiteral("txtConferma"), QStringLiteral("txtPasswordOld") });

    connect(m_ui->cmdOK, &QToolButton::clicked, this, &TfrmCambiaPassword::cmdOKClick);
    connect(m_ui->cmdEsci, &QToolButton::clicked, this, &TfrmCambiaPassword::cmdEsciClick);

    PasswordLook::fixAndCentre(this, kWidth);
}

TfrmCambiaPassword::~TfrmCambiaPassword() = default;

void TfrmCambiaPassword::showEvent(QShowEvent *event)
{
    m_ui->txtPasswordOld->clear();
    m_ui->txtPasswordNew->clear();
    m_ui->txtConferma->clear();
    PasswordLook::fixAndCentre(this, kWidth);
    QDialog::showEvent(event);
    m_ui->txtPasswordOld->setFocus(Qt::OtherFocusReason);
}

bool TfrmCambiaPassword::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease && qobject_cast<QLineEdit *>(watched))
        updateOK();
    return QDialog::eventFilter(watched, event);
}

void TfrmCambiaPassword::updateOK()
{
    m_ui->cmdOK->setEnabled(!AccessPassword::isBlank(m_ui->txtPasswordOld->text())
        && !AccessPassword::isBlank(m_ui->txtPasswordNew->text())
        && !AccessPassword::isBlank(m_ui->txtConferma->text()));
}

void TfrmCambiaPassword::cmdOKClick()
{
    using AccessPassword::ChangeResult;
    const ChangeResult result = AccessPassword::change(
        m_ui->txtPasswordOld->text(), m_ui->txtPasswordNew->text(), m_ui->txtConferma->text());
    Messages::plain(this, AccessPassword::messageFor(result));
    switch (result) {
    case ChangeResult::Changed:
        accept();
        break;
    case ChangeResult::WrongOld:
        m_ui->txtPasswordOld->clear();
        m_ui->txtPasswordOld->setFocus(Qt::OtherFocusReason);
        break;
    case ChangeResult::NotConfirmed:
        m_ui->txtPasswordNew->clear();
        m_ui->txtConferma->clear();
        m_ui->txtPasswordNew->setFocus(Qt::OtherFocusReason);
        break;
    case ChangeResult::TooLong:
    case ChangeResult::NotAllowed:
        // The boxes stay as typed, for correction.
        m_ui->txtPasswordNew->setFocus(Qt::OtherFocusReason);
        break;
    case ChangeResult::ReadError:
    case ChangeResult::WriteError:
        break;
    }
}

void TfrmCambiaPassword::cmdEsciClick()
{
    close();
}
