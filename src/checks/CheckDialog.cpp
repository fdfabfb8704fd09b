#include "checks/CheckDialog.h"

#include "app/Messages.h"
#include "app/Widgets.h"

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace {

constexpr int kBannerHeight = 84;
constexpr int kMinimumWidth = 560;

void drawTextEmblem(QPainter &p, const QRectF &card, const CheckDialog::Look &look)
{
    p.setPen(QPen(look.colour.darker(160), 1.5));
    p.setBrush(QColor(255, 255, 255, 240));
    p.drawRoundedRect(card, 7, 7);

    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(look.emblem.size() > 3 ? 17 : 22);
    p.setFont(font);
    p.setPen(look.colour.darker(170));
    const QRectF textBox(card.left(), card.top() + 6, card.width(), card.height() * 0.55);
    p.drawText(textBox, Qt::AlignCenter, look.emblem);

    // Two ruled lines under the word, as on a printed form.
    p.setPen(QPen(QColor(170, 170, 170), 2, Qt::SolidLine, Qt::RoundCap));
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
    p.setPen(QPen(QColor(255, 255, 255, 200), 1.5));
    p.setBrush(fill);
    p.drawRoundedRect(card, 7, 7);

    // Magnetic stripe, chip and the embossed number.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 40, 200));
    p.drawRect(QRectF(card.left() + 1, card.top() + 9, card.width() - 2, 9));
    p.setBrush(QColor(230, 190, 80));
    p.drawRoundedRect(QRectF(card.left() + 10, card.top() + 25, 16, 12), 2, 2);
    p.setPen(QPen(QColor(255, 255, 255, 220), 2.5, Qt::SolidLine, Qt::RoundCap));
    for (int group = 0; group < 4; ++group) {
        const qreal x = card.left() + 10 + group * 16;
        p.drawLine(QPointF(x, card.bottom() - 10), QPointF(x + 10, card.bottom() - 10));
    }
}

} // namespace

CheckDialog::CheckDialog(QWidget *parent, const Look &look)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_look(look)
{
    Widgets::applyItalianConventions(this);
}

QPixmap CheckDialog::drawBanner(const Look &look, int width)
{
    QPixmap banner(width, kBannerHeight);
    QPainter p(&banner);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient band(0, 0, width, 0);
    band.setColorAt(0, look.colour.darker(165));
    band.setColorAt(1, look.colour.darker(110));
    p.fillRect(banner.rect(), band);
    // A light bow across the band.
    QPainterPath bow;
    bow.moveTo(width * 0.45, kBannerHeight);
    bow.quadTo(width * 0.75, 0, width, kBannerHeight * 0.25);
    bow.lineTo(width, kBannerHeight);
    bow.closeSubpath();
    p.fillPath(bow, QColor(255, 255, 255, 28));

    const QRectF card(18, 14, 84, 56);
    if (look.paymentCard)
        drawPaymentCardEmblem(p, card, look);
    else
        drawTextEmblem(p, card, look);

    const qreal textLeft = card.right() + 20;
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setBold(true);
    titleFont.setPixelSize(24);
    p.setFont(titleFont);
    p.setPen(Qt::white);
    p.drawText(QRectF(textLeft, 12, width - textLeft - 12, 34), Qt::AlignLeft | Qt::AlignVCenter,
        look.title);

    QFont subtitleFont(QStringLiteral("Arial"));
    subtitleFont.setPixelSize(13);
    p.setFont(subtitleFont);
    p.setPen(QColor(255, 255, 255, 225));
    p.drawText(QRectF(textLeft, 46, width - textLeft - 12, 24), Qt::AlignLeft | Qt::AlignVCenter,
        look.subtitle);
    return banner;
}

void CheckDialog::setUpFrame(QLabel *imgLogo, QLineEdit *input, int maxLength)
{
    m_input = input;
    QFont font(QStringLiteral("Courier New"), 20, QFont::Bold);
    font.setStyleHint(QFont::TypeWriter);
    input->setFont(font);
    input->setMaxLength(maxLength);

    // The input shows its longest text whole; the banner spans the window's width.
    const QFontMetrics metrics(font);
    input->setMinimumWidth(metrics.horizontalAdvance(QString(maxLength + 1, u'0')) + 16);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    const int width = std::max(kMinimumWidth, layout()->sizeHint().width());
    imgLogo->setPixmap(drawBanner(m_look, width));
    imgLogo->setFixedSize(width, kBannerHeight);
}

void CheckDialog::showOutcome(const CheckOutcome &outcome)
{
    Messages::show(this, outcome.notice);
    if (outcome.closes) {
        accept();
    } else if (m_input) {
        m_input->setFocus(Qt::OtherFocusReason);
    }
}

void CheckDialog::FormShow()
{
    if (const QScreen *where = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(where->availableGeometry().center());
        move(frame.topLeft());
    }
    if (m_input)
        m_input->setFocus(Qt::OtherFocusReason);
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
    gradient.setColorAt(1, Qt::white);
    p.fillRect(rect(), gradient);
}
