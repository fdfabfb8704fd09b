#include "checks/CodFisc.h"
#include "ui_CodFisc.h"

#include "app/FieldEntry.h"
#include "checks/TaxCode.h"

namespace {

CheckDialog::Look look()
{
    CheckDialog::Look look;
    look.colour = QColor(46, 139, 87);
    look.title = QStringLiteral("Codice fiscale");
    look.subtitle = QStringLiteral("Verifica del carattere di controllo");
    look.emblem = QStringLiteral("CF");
    look.paymentCard = false;
    return look;
}

} // namespace

TfrmCodFisc::TfrmCodFisc(QWidget *parent)
    : CheckDialog(parent, look())
    , m_ui(std::make_unique<Ui::TfrmCodFisc>())
{
    m_ui->setupUi(this);
    setUpFrame(m_ui->imgLogo, m_ui->txtCodFisc, 16);

    auto *entry = new FieldEntry(this);
    // Enter leads to the check button without pressing it.
    entry->setEnterOrder({ QStringLiteral("txtCodFisc"), QStringLiteral("btnControlla") });
    // The code is trimmed and upper-cased while it is typed.
    entry->addUpperCaseFields({ QStringLiteral("txtCodFisc") });

    connect(m_ui->btnControlla, &QPushButton::clicked, this, &TfrmCodFisc::btnControllaClick);
    connect(m_ui->btnChiudi, &QPushButton::clicked, this, &TfrmCodFisc::btnChiudiClick);
}

TfrmCodFisc::~TfrmCodFisc() = default;

void TfrmCodFisc::check(QWidget *parent, const QString &initialText)
{
    TfrmCodFisc dialog(parent);
    dialog.m_ui->txtCodFisc->setText(initialText);
    dialog.exec();
}

void TfrmCodFisc::btnControllaClick()
{
    showOutcome(TaxCodeOutcome(m_ui->txtCodFisc->text()));
}

void TfrmCodFisc::btnChiudiClick()
{
    reject();
}
