#include "checks/PartitaIVA.h"
#include "ui_PartitaIVA.h"

#include "app/FieldEntry.h"
#include "checks/VatNumber.h"

namespace {

CheckDialog::Look look()
{
    CheckDialog::Look look;
    look.colour = QColor(52, 101, 164);
    look.title = QStringLiteral("Partita IVA");
    look.subtitle = QStringLiteral("Verifica della cifra di controllo e dell'Ufficio IVA");
    look.emblem = QStringLiteral("IVA");
    look.paymentCard = false;
    return look;
}

} // namespace

TfrmPartitaIva::TfrmPartitaIva(QWidget *parent)
    : CheckDialog(parent, look())
    , m_ui(std::make_unique<Ui::TfrmPartitaIva>())
{
    m_ui->setupUi(this);
    setUpFrame(m_ui->imgLogo, m_ui->txtPartitaIva, 11);

    auto *entry = new FieldEntry(this);
    // Enter leads to the check button without pressing it.
    entry->setEnterOrder({ QStringLiteral("txtPartitaIva"), QStringLiteral("btnControlla") });
    // Only digits can be typed; the text is neither trimmed nor changed in case.
    entry->addNumberFields({ QStringLiteral("txtPartitaIva") }, false);

    connect(m_ui->btnControlla, &QPushButton::clicked, this, &TfrmPartitaIva::btnControllaClick);
    connect(m_ui->btnChiudi, &QPushButton::clicked, this, &TfrmPartitaIva::btnChiudiClick);
}

TfrmPartitaIva::~TfrmPartitaIva() = default;

void TfrmPartitaIva::check(QWidget *parent, const QString &initialText)
{
    TfrmPartitaIva dialog(parent);
    dialog.m_ui->txtPartitaIva->setText(initialText);
    dialog.exec();
}

void TfrmPartitaIva::btnControllaClick()
{
    showOutcome(VatNumberOutcome(m_ui->txtPartitaIva->text()));
}

void TfrmPartitaIva::btnChiudiClick()
{
    reject();
}
