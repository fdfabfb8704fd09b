#include "catalogue/DatiPneumatici.h"

#include "ui_DatiPneumatici.h"

#include "app/FieldEntry.h"
#include "app/Palette.h"
#include "app/Widgets.h"
#include "storage/TextForms.h"

#include <QFont>
#include <QLayout>
#include <QPixmap>
#include <QShowEvent>

namespace {
// Each value is a short-string field of 30 characters in the product record.
constexpr int kValueCapacity = 30;
} // namespace

TfrmDatiPneumatici::TfrmDatiPneumatici(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::TfrmDatiPneumatici>())
{
    m_ui->setupUi(this);
    Widgets::applyItalianConventions(this);
    // Closed only through its two buttons: no close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    QFont dialogFont(QStringLiteral("Arial"));
    dialogFont.setPointSize(10);
    setFont(dialogFont);
    // Over the card's style sheet the font is not inherited: every control gets it.
    for (QWidget *control : findChildren<QWidget *>())
        control->setFont(dialogFont);

    for (QLineEdit *edit :
        { m_ui->txtConsumo, m_ui->txtAderenza, m_ui->txtRumore, m_ui->txtOnde }) {
        edit->setMaxLength(kValueCapacity);
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 16);
    }

    m_ui->panIstruzioni->setWordWrap(true);
    m_ui->panIstruzioni->setStyleSheet(
        QStringLiteral("#panIstruzioni { background-color: %1; color: white; padding: 8px 14px; }")
            .arg(QLatin1StringView(Palette::kSlateBlue)));
    m_ui->imgDati->setPixmap(QPixmap(QStringLiteral(":/icons/package-x-generic-128.png"))
                                 .scaled(88, 88, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_ui->btnApplica->setMinimumWidth(m_ui->btnApplica->sizeHint().width() + 16);
    m_ui->btnAnnulla->setMinimumWidth(m_ui->btnApplica->minimumWidth());

    m_fieldEntry = new FieldEntry(this);
    m_fieldEntry->setEnterOrder({ QStringLiteral("txtConsumo"), QStringLiteral("txtAderenza"),
        QStringLiteral("txtRumore"), QStringLiteral("txtOnde"), QStringLiteral("btnApplica") });

    connect(m_ui->btnApplica, &QPushButton::clicked, this, &TfrmDatiPneumatici::btnApplicaClick);
    connect(m_ui->btnAnnulla, &QPushButton::clicked, this, &TfrmDatiPneumatici::btnAnnullaClick);
}

TfrmDatiPneumatici::~TfrmDatiPneumatici() = default;

void TfrmDatiPneumatici::setValues(const Values &values)
{
    m_ui->txtConsumo->setText(TrimControl(values.consumo));
    m_ui->txtAderenza->setText(TrimControl(values.aderenza));
    m_ui->txtRumore->setText(TrimControl(values.rumore));
    m_ui->txtOnde->setText(TrimControl(values.onde));
}

TfrmDatiPneumatici::Values TfrmDatiPneumatici::values() const
{
    return { TrimControl(m_ui->txtConsumo->text()), TrimControl(m_ui->txtAderenza->text()),
        TrimControl(m_ui->txtRumore->text()), TrimControl(m_ui->txtOnde->text()) };
}

void TfrmDatiPneumatici::btnApplicaClick()
{
    accept();
}

void TfrmDatiPneumatici::btnAnnullaClick()
{
    reject();
}

void TfrmDatiPneumatici::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_ui->txtConsumo->setFocus(Qt::OtherFocusReason);
}
