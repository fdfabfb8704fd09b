#include "checks/CheckDialog.h"
#include "ui_CheckDialog.h"

#include "app/Banner.h"
#include "app/FieldEntry.h"
#include "app/Messages.h"
#include "app/Palette.h"
#include "app/Widgets.h"

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr int kBannerHeight = 84;
constexpr int kMinimumWidth = 560;

void drawTextEmblem(QPainter &p, const QRectF &card, const CheckDialog::Look &look)
{
    p.setPen(QPen(look.colour.darker(160), 1.5));
    p.setBrush(QColor(Palette::kEmblemCard));
    p.drawRoundedRect(card, 7, 7);

    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(look.emblem.size() > 3 ? 17 : 22);
    p.setFont(font);
    p.setPen(look.colour.darker(170));
    const QRectF textBox(card.left(), card.top() + 6, card.width(), card.height() * 0.55);
    p.drawText(textBox, Qt::AlignCenter, look.emblem);

    // Two ruled lines under the word, as on a printed form.
    p.setPen(QPen(QColor(Palette::kEmblemRule), 2, Qt::SolidLine, Qt::RoundCap));
    const qreal y1 = card.top() + card.height() * 0.70;
    const qreal y2 = card.top() + card.height() * 0.84;
    p.drawLine(QPointF(card.left() + 12, y1), QPointF(card.right() - 12, y1));
    p.drawLine(QPointF(card.left() + 12, y2), QPointF(card.right() - 30, y2));
}

void drawPaymentCardEmblem(QPainter &p, const QRectF &card, const CheckDialog::Look &look)
{
    QLinearGradient fill(card.topLeft(), card.bottomRight());
    fill.setColorAt(0, look.colour.lighter(130));
    fill.setColorAt(1, look.colour.darker(140));
    p.setPen(QPen(QColor(Palette::kPaymentCardEdge), 1.5));
    p.setBrush(fill);
    p.drawRoundedRect(card, 7, 7);

    // Magnetic stripe, chip and the embossed number.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(Palette::kPaymentCardStripe));
    p.drawRect(QRectF(card.left() + 1, card.top() + 9, card.width() - 2, 9));
    p.setBrush(QColor(Palette::kPaymentCardChip));
    p.drawRoundedRect(QRectF(card.left() + 10, card.top() + 25, 16, 12), 2, 2);
    p.setPen(QPen(QColor(Palette::kPaymentCardDigits), 2.5, Qt::SolidLine, Qt::RoundCap));
    for (int group = 0; group < 4; ++group) {
        const qreal x = card.left() + 10 + group * 16;
        p.drawLine(QPointF(x, card.bottom() - 10), QPointF(x + 10, card.bottom() - 10));
    }
}

CheckDialog::Look lookOf(const Checks::Check &config)
{
    CheckDialog::Look look;
    look.colour = QColor(config.colour);
    look.title = config.title.toString();
    look.subtitle = config.subtitle.toString();
    look.emblem = config.emblem.toString();
    look.paymentCard = config.paymentCard;
    return look;
}

} // namespace

CheckDialog::CheckDialog(Checks::Kind kind, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_config(Checks::check(kind))
    , m_look(lookOf(m_config))
    , m_ui(std::make_unique<Ui::CheckDialog>())
{
    m_ui->setupUi(this);
    setObjectName(m_config.objectName.toString());
    setWindowTitle(m_config.windowTitle.toString());
    m_ui->lblTitolo->setText(m_config.instructions.toString());
    QLineEdit *input = m_ui->txtInput;
    const QString inputName = m_config.input.toString();
    input->setObjectName(inputName);
    Widgets::applyItalianConventions(this);

    QFont font(QStringLiteral("Courier New"), 20, QFont::Bold);
    font.setStyleHint(QFont::TypeWriter);
    input->setFont(font);
    input->setMaxLength(m_config.maxLength);
    // The input shows its longest text whole; the banner spans the window's width.
    const QFontMetrics metrics(font);
    input->setMinimumWidth(metrics.horizontalAdvance(QString(m_config.maxLength + 1, u'0')) + 16);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    const int width = std::max(kMinimumWidth, layout()->sizeHint().width());
    m_ui->imgLogo->setPixmap(drawBanner(m_look, width));
    m_ui->imgLogo->setFixedSize(width, kBannerHeight);

    auto *entry = new FieldEntry(this);
    // Enter leads to the check button without pressing it.
    entry->setEnterOrder({ inputName, QStringLiteral("btnControlla") });
    switch (m_config.typing) {
    case Checks::Typing::UpperCase:
        entry->addUpperCaseFields({ inputName });
        break;
    case Checks::Typing::Digits:
        entry->addNumberFields({ inputName }, false);
        break;
    case Checks::Typing::TrimmedDigits:
        entry->addNumberFields({ inputName }, false);
        entry->addUpperCaseFields({ inputName });
        break;
    }

    connect(m_ui->btnControlla, &QPushButton::clicked, this, &CheckDialog::btnControllaClick);
    connect(m_ui->btnChiudi, &QPushButton::clicked, this, &CheckDialog::btnChiudiClick);
}

CheckDialog::~CheckDialog() = default;

QPixmap CheckDialog::drawBanner(const Look &look, int width)
{
    const QRectF card(18, 14, 84, 56);
    Banner banner;
    banner.height = kBannerHeight;
    banner.left = look.colour.darker(165);
    banner.right = look.colour.darker(110);
    banner.bow = QColor(Palette::kBannerBow);
    banner.antialiased = true;
    banner.drawPicture = [&look, card](QPainter &p) {
        if (look.paymentCard)
            drawPaymentCardEmblem(p, card, look);
        else
            drawTextEmblem(p, card, look);
    };
    banner.textLeft = card.right() + 20;
    banner.rightMargin = 12;
    banner.title = look.title;
    banner.titleFont = QFont(QStringLiteral("Arial"));
    banner.titleFont.setBold(true);
    banner.titleFont.setPixelSize(24);
    banner.titleTop = 12;
    banner.titleHeight = 34;
    banner.subtitle = look.subtitle;
    banner.subtitleFont = QFont(QStringLiteral("Arial"));
    banner.subtitleFont.setPixelSize(13);
    banner.subtitleColour = QColor(Palette::kBannerSubtitle);
    banner.subtitleTop = 46;
    banner.subtitleHeight = 24;
    return paintBanner(banner, width);
}

void CheckDialog::runWith(const QString &initialText)
{
    m_ui->txtInput->setText(initialText);
    exec();
}

void CheckDialog::btnControllaClick()
{
    showOutcome(m_config.outcome(m_ui->txtInput->text()));
}

void CheckDialog::btnChiudiClick()
{
    reject();
}

void CheckDialog::showOutcome(const CheckOutcome &outcome)
{
    Messages::show(this, outcome.notice);
    if (outcome.closes) {
        accept();
    } else {
        m_ui->txtInput->setFocus(Qt::OtherFocusReason);
    }
}

void CheckDialog::FormShow()
{
    if (const QScreen *where = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(where->availableGeometry().center());
        move(frame.topLeft());
    }
    m_ui->txtInput->setFocus(Qt::OtherFocusReason);
}

void CheckDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void CheckDialog::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, m_look.colour.lighter(150));
    gradient.setColorAt(1, QColor(Palette::kWhite));
    p.fillRect(rect(), gradient);
}
