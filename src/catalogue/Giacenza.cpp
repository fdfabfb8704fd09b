#include "catalogue/Giacenza.h"

#include "ui_Giacenza.h"

#include "app/FieldEntry.h"
#include "app/Messages.h"
#include "app/Palette.h"
#include "app/Widgets.h"
#include "catalogue/StockMovement.h"
#include "records/ProductRecord.h"
#include "storage/Session.h"
#include "storage/TextForms.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include <algorithm>

TfrmGiacenza::TfrmGiacenza(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_ui(std::make_unique<Ui::TfrmGiacenza>())
    , m_product(ProductRecord::layout())
{
    m_ui->setupUi(this);
    Widgets::applyItalianConventions(this);
    Widgets::styleSection(m_ui->shpCalcolo);
    Widgets::styleSection(m_ui->shpMovimento);

    m_ui->txtOperazione->setAutoFillBackground(true);
    m_ui->txtOperazione->setStyleSheet(
        QStringLiteral("QLabel#txtOperazione { background-color: %1; color: white; padding: 6px; }")
            .arg(QLatin1StringView(Palette::kDialogBlue)));
    QFont bold = m_ui->txtOperazione->font();
    bold.setBold(true);
    m_ui->txtOperazione->setFont(bold);
    m_ui->txtTotale->setFont(bold);

    // The same width for both operations, so a load and an unload look alike.
    const QFontMetrics metrics(m_ui->lblAggiunta->font());
    m_ui->lblAggiunta->setMinimumWidth(
        std::max(metrics.horizontalAdvance(Movement::quantityCaption(MovementRecord::Kind::Load)),
            metrics.horizontalAdvance(Movement::quantityCaption(MovementRecord::Kind::Unload))));
    m_ui->txtGiacenza->setMaximumWidth(110);
    m_ui->txtAggiunta->setMaximumWidth(110);
    m_ui->txtTotale->setMaximumWidth(110);
    m_ui->txtImporto->setMaximumWidth(140);
    m_ui->txtCodice->setMinimumWidth(320);

    m_fieldEntry = new FieldEntry(this);
    m_fieldEntry->addNumberFields({ QStringLiteral("txtAggiunta"), QStringLiteral("txtGiacenza") });
    m_fieldEntry->setEnterTarget(QStringLiteral("txtAggiunta"), QStringLiteral("btnTotale"));
    m_fieldEntry->setEnterTarget(QStringLiteral("txtGiacenza"), QStringLiteral("txtAggiunta"));
    m_fieldEntry->setKeyHook(QStringLiteral("txtAggiunta"),
        [this](QKeyEvent *event) { return txtAggiuntaKeyDown(event); });

    connect(m_ui->btnTotale, &QPushButton::clicked, this, &TfrmGiacenza::btnTotaleClick);
    connect(m_ui->btnAggiorna, &QPushButton::clicked, this, &TfrmGiacenza::btnAggiornaClick);
    connect(m_ui->btnChiudi, &QPushButton::clicked, this, &TfrmGiacenza::btnChiudiClick);

    m_ui->txtAggiunta->setFocus();
}

TfrmGiacenza::~TfrmGiacenza() = default;

bool TfrmGiacenza::run(
    QWidget *parent, MovementRecord::Kind kind, const MovementInput &input, Record *product)
{
    TfrmGiacenza dialog(parent);
    dialog.fill(kind, input);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (product)
        *product = dialog.product();
    return true;
}

QString TfrmGiacenza::cardChangedText()
{
    return QStringLiteral("Attenzione: la scheda in archivio non corrisponde più a quella "
                          "mostrata (è stata modificata da un'altra postazione).\n\nIl "
                          "movimento non è stato registrato.");
}

void TfrmGiacenza::fill(MovementRecord::Kind kind, const MovementInput &input)
{
    const bool load = kind == MovementRecord::Kind::Load;
    m_index = input.index;
    m_ui->lblAggiunta->setText(Movement::quantityCaption(kind));
    m_ui->txtOperazione->setText(
        load ? QStringLiteral("OPERAZIONE DI CARICO") : QStringLiteral("OPERAZIONE DI SCARICO"));
    m_ui->titImporto->setText(
        load ? QStringLiteral("Costo unitario:") : QStringLiteral("Prezzo unitario:"));
    m_ui->txtImporto->setText(TrimControl(input.importo));
    m_ui->txtGiacenza->setText(TrimControl(input.giacenza));
    m_ui->txtTotale->setText(TrimControl(input.giacenza));
    m_ui->txtAggiunta->setText(QStringLiteral("0"));
    m_ui->txtAggiunta->selectAll();
    m_ui->txtData->setText(Today());
    m_ui->txtOra->setText(Now());
    m_ui->txtCodice->setText(TrimControl(input.codice));
    m_ui->txtTipologia->setText(TrimControl(input.tipologia));
    m_ui->txtMarca->setText(TrimControl(input.marca));
    m_ui->txtModello->setText(TrimControl(input.modello));
    // Long texts show their beginning, as the movement will record it.
    for (QLineEdit *edit :
        { m_ui->txtCodice, m_ui->txtTipologia, m_ui->txtMarca, m_ui->txtModello })
        edit->setCursorPosition(0);
    centreOnScreen();
}

void TfrmGiacenza::centreOnScreen()
{
    adjustSize();
    const QScreen *screen
        = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
}

bool TfrmGiacenza::txtAggiuntaKeyDown(QKeyEvent *)
{
    // Whatever the key, the new stock shown no longer matches the quantity.
    m_ui->txtTotale->clear();
    return false;
}

void TfrmGiacenza::btnTotaleClick()
{
    const auto kind = Movement::kindFromCaption(m_ui->lblAggiunta->text());
    if (!kind)
        return;
    const Movement::StockTotal total
        = Movement::computeTotal(*kind, m_ui->txtGiacenza->text(), m_ui->txtAggiunta->text());
    m_ui->txtGiacenza->setText(total.giacenza);
    m_ui->txtAggiunta->setText(total.aggiunta);
    m_ui->txtTotale->setText(total.totale);
}

void TfrmGiacenza::btnAggiornaClick()
{
    const auto kind = Movement::kindFromCaption(m_ui->lblAggiunta->text());
    if (!kind)
        return;
    btnTotaleClick();
    if (TrimControl(m_ui->txtAggiunta->text()).isEmpty())
        m_ui->txtAggiunta->setText(QStringLiteral("0"));
    if (TrimControl(m_ui->txtImporto->text()).isEmpty())
        m_ui->txtImporto->setText(QStringLiteral("0,00"));

    const Record record = Movement::buildRecord({
        m_ui->txtData->text(),
        m_ui->txtOra->text(),
        m_ui->txtCodice->text(),
        m_ui->txtTipologia->text(),
        m_ui->txtMarca->text(),
        m_ui->txtModello->text(),
        m_ui->txtImporto->text(),
        m_ui->txtAggiunta->text(),
        m_ui->txtNote->text(),
    });
    const QString question = Movement::negativeStockQuestion(*kind, m_ui->txtTotale->text());
    if (!question.isEmpty() && !Messages::confirm(this, question))
        return;
    // The movement and the stored stock change together or not at all: a stock change
    // without its movement, or the reverse, would break the history the summaries read.
    const StockMovement::Outcome outcome = StockMovement::apply(*kind, record, m_index);
    switch (outcome.result) {
    case StockMovement::Outcome::Result::Applied:
        m_product = outcome.product;
        done(QDialog::Accepted);
        break;
    case StockMovement::Outcome::Result::AccessError:
        Messages::warning(this, outcome.busy ? archiveBusyText() : accessErrorText());
        break;
    case StockMovement::Outcome::Result::CardChanged:
        Messages::warning(this, cardChangedText());
        done(QDialog::Rejected);
        break;
    }
}

void TfrmGiacenza::btnChiudiClick()
{
    done(QDialog::Rejected);
}

void TfrmGiacenza::reject() { }
