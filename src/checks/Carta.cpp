#include "checks/Carta.h"
#include "ui_Carta.h"

#include "app/FieldEntry.h"
#include "checks/CardNumber.h"

namespace {

CheckDialog::Look look()
{
    CheckDialog::Look look;
    look.colour = QColor(117, 80, 123);
    look.title = QStringLiteral("Carta di credito");
    look.subtitle = QStringLiteral("Verifica della cifra di controllo e del circuito");
    look.emblem = QString();
    look.paymentCard = true;
    return look;
}

} // namespace

TfrmCarta::TfrmCarta(QWidget *parent)
    : CheckDialog(parent, look())
    , m_ui(std::make_unique<Ui::TfrmCarta>())
{
    m_ui->setupUi(this);
    setUpFrame(m_ui->imgLogo, m_ui->txtNumero, 30);

    auto *entry = new FieldEntry(this);
    // Enter leads to the check button without pressing it.
    entry->setEnterOrder({ QStringLiteral("txtNumero"), QStringLiteral("btnControlla") });
    // Only digits can be typed, and the text is kept trimmed.
    entry->addNumberFields({ QStringLiteral("txtNumero") }, false);
    entry->addUpperCaseFields({ QStringLiteral("txtNumero") });

    connect(m_ui->btnControlla, &QPushButton::clicked, this, &TfrmCarta::btnControllaClick);
    connect(m_ui->btnChiudi, &QPushButton::clicked, this, &TfrmCarta::btnChiudiClick);
}

TfrmCarta::~TfrmCarta() = default;

void TfrmCarta::check(QWidget *parent, const QString &initialText)
{
    TfrmCarta dialog(parent);
    dialog.m_ui->txtNumero->setText(initialText);
    dialog.exec();
}

void TfrmCarta::btnControllaClick()
{
    showOutcome(CardOutcome(m_ui->txtNumero->text()));
}

void TfrmCarta::btnChiudiClick()
{
    reject();
}
