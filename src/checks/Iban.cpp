#include "checks/Iban.h"
#include "ui_Iban.h"

#include "app/FieldEntry.h"
#include "checks/IbanCheck.h"

namespace {

CheckDialog::Look look()
{
    CheckDialog::Look look;
    look.colour = QColor(17, 122, 139);
    look.title = QStringLiteral("IBAN");
    look.subtitle = QStringLiteral("Verifica delle cifre di controllo (ISO 13616)");
    look.emblem = QStringLiteral("IBAN");
    look.paymentCard = false;
    return look;
}

} // namespace

TfrmIban::TfrmIban(QWidget *parent)
    : CheckDialog(parent, look())
    , m_ui(std::make_unique<Ui::TfrmIban>())
{
    m_ui->setupUi(this);
    setUpFrame(m_ui->imgLogo, m_ui->txtIban, 27);

    auto *entry = new FieldEntry(this);
    // Enter leads to the check button without pressing it.
    entry->setEnterOrder({ QStringLiteral("txtIban"), QStringLiteral("btnControlla") });
    // The IBAN is trimmed and upper-cased while it is typed.
    entry->addUpperCaseFields({ QStringLiteral("txtIban") });

    connect(m_ui->btnControlla, &QPushButton::clicked, this, &TfrmIban::btnControllaClick);
    connect(m_ui->btnChiudi, &QPushButton::clicked, this, &TfrmIban::btnChiudiClick);
}

TfrmIban::~TfrmIban() = default;

void TfrmIban::check(QWidget *parent, const QString &initialText)
{
    TfrmIban dialog(parent);
    dialog.m_ui->txtIban->setText(initialText);
    dialog.exec();
}

void TfrmIban::btnControllaClick()
{
    showOutcome(IbanOutcome(m_ui->txtIban->text()));
}

void TfrmIban::btnChiudiClick()
{
    reject();
}
