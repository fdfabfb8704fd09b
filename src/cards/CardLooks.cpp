#include "cards/CardLooks.h"

#include "app/Palette.h"
#include "app/ScreenFit.h"
#include "app/Widgets.h"

#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QWidget>

#include <algorithm>

namespace CardLooks {

void setCardFont(QWidget *card, const QFont &font)
{
    card->setFont(font);
    for (QWidget *control : card->findChildren<QWidget *>())
        control->setFont(font);
}

void styleCard(QWidget *card, const QStringList &panels, const QString &arrowStrip)
{
    QStringList panelSelectors;
    for (const QString &panel : panels)
        panelSelectors << u'#' + panel;
    // Without panels there is no panel rule: a rule with no selector would spoil the
    // rules after it.
    const QString panelRule = panelSelectors.isEmpty()
        ? QString()
        : QStringLiteral("%1 { background-color: %2; border: 1px solid %3; border-radius: 8px; }")
              .arg(panelSelectors.join(QStringLiteral(", ")), QLatin1StringView(Palette::kPanel),
                  QLatin1StringView(Palette::kPanelBorder));
    card->setAttribute(Qt::WA_StyledBackground, true);
    card->setStyleSheet(
        QStringLiteral("#%1 { background-color: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                       " stop:0 %2, stop:1 %3); }")
            .arg(card->objectName(), QLatin1StringView(Palette::kCardTop),
                QLatin1StringView(Palette::kCardBottom))
        + panelRule
        + QStringLiteral("#%1 { background-color: %2; border-radius: 4px; }"
                         "#lblPosizione { background-color: white; color: %3; border: 1px solid "
                         "%4; border-radius: 3px; padding: 2px 6px; }")
              .arg(arrowStrip, QLatin1StringView(Palette::kSlateBlue),
                  QLatin1StringView(Palette::kPositionText),
                  QLatin1StringView(Palette::kDarkSlateBlue)));
}

void styleSections(
    const QList<QWidget *> &sections, const QList<QLabel *> &titles, const QFont &font)
{
    for (QWidget *section : sections)
        Widgets::styleSection(section);
    QFont titleFont = font;
    titleFont.setBold(true);
    titleFont.setPointSize(font.pointSize() + 1);
    for (QLabel *title : titles) {
        title->setStyleSheet(
            QStringLiteral("color: %1;").arg(QLatin1StringView(Palette::kSectionTitle)));
        title->setFont(titleFont);
    }
}

void alignColumns(const QList<QWidget *> &sections, int firstColumn)
{
    QList<QGridLayout *> grids;
    int columns = 0;
    for (QWidget *section : sections) {
        if (auto *grid = qobject_cast<QGridLayout *>(section->layout())) {
            grids << grid;
            columns = std::max(columns, grid->columnCount());
        }
    }
    const auto isField = [firstColumn](int column) { return (column - firstColumn) % 2 == 1; };
    QList<int> columnWidths(columns, 0);
    for (QGridLayout *grid : grids) {
        for (int i = 0; i < grid->count(); ++i) {
            int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
            if (columnSpan != 1 || column < firstColumn)
                continue;
            // Captions keep their natural width; fields only their minimum.
            const QLayoutItem *item = grid->itemAt(i);
            const int width
                = isField(column) ? item->minimumSize().width() : item->sizeHint().width();
            columnWidths[column] = std::max(columnWidths[column], width);
        }
    }
    for (QGridLayout *grid : grids) {
        for (int column = firstColumn; column < columns; ++column) {
            grid->setColumnMinimumWidth(column, columnWidths[column]);
            if (isField(column))
                grid->setColumnStretch(column, 1);
        }
    }
}

void styleButtonColumn(const QList<ImageButton> &buttons, const QFont &font)
{
    QFont buttonFont = font;
    buttonFont.setBold(true);
    for (const ImageButton &b : buttons) {
        Widgets::makeImageButton(b.button, QString::fromLatin1(b.icon));
        // The column reads like a menu: picture on the left, word beside it.
        b.button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b.button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        b.button->setFont(buttonFont);
    }
}

void styleArrows(const QList<ImageButton> &arrows)
{
    for (const ImageButton &a : arrows)
        Widgets::makeImageButton(a.button, QString::fromLatin1(a.icon), 24);
}

void stylePositionLabel(QLabel *position, const QFont &font)
{
    QFont positionFont = font;
    positionFont.setBold(true);
    positionFont.setPointSize(12);
    position->setFont(positionFont);
    position->setAlignment(Qt::AlignCenter);
    position->setMinimumWidth(
        QFontMetrics(positionFont).horizontalAdvance(QStringLiteral("0000000")) + 16);
    position->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void fixColumnWidth(QWidget *buttonColumn, QWidget *arrowStrip)
{
    buttonColumn->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    arrowStrip->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    const int width = std::max(buttonColumn->sizeHint().width(), arrowStrip->sizeHint().width());
    buttonColumn->setFixedWidth(width);
    arrowStrip->setFixedWidth(width);
}

QScrollArea *fitToScreen(QWidget *sections, QWidget *buttonColumn, QWidget *arrowStrip)
{
    QScrollArea *area = ScreenFit::scrollWhenSmall(sections, kSectionsMaxWidth);
    if (QScrollArea *column = ScreenFit::scrollWhenSmall(buttonColumn)) {
        column->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        column->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        column->setFixedWidth(
            buttonColumn->width() + column->verticalScrollBar()->sizeHint().width());
        arrowStrip->setFixedWidth(column->width());
    }
    return area;
}

QFont startColumnCard(const ColumnCard &parts, const QList<QLabel *> &titles)
{
    QFont cardFont(QStringLiteral("Arial"));
    cardFont.setPointSize(11);
    setCardFont(parts.card, cardFont);
    styleCard(parts.card, { QStringLiteral("shpContainer"), QStringLiteral("panControlli") },
        parts.arrowStrip->objectName());
    styleSections(parts.sections, titles, cardFont);
    Widgets::styleInfoBar(parts.infoBar);
    return cardFont;
}

QScrollArea *finishColumnCard(const ColumnCard &parts, const QList<ImageButton> &buttons,
    const QList<ImageButton> &arrows, int firstColumn)
{
    alignColumns(parts.sections, firstColumn);
    const QFont cardFont = parts.card->font();
    styleButtonColumn(buttons, cardFont);
    styleArrows(arrows);
    stylePositionLabel(parts.position, cardFont);
    fixColumnWidth(parts.buttonColumn, parts.arrowStrip);
    return fitToScreen(parts.sectionsPanel, parts.buttonColumn, parts.arrowStrip);
}

void styleToolbarCard(const ToolbarCard &parts, const QList<SizedImageButton> &buttons)
{
    styleCard(parts.card, { parts.toolbar->objectName() }, parts.arrowStrip->objectName());
    QFont captionFont(QStringLiteral("Arial"));
    captionFont.setPointSize(9);
    for (QLabel *label : parts.card->findChildren<QLabel *>()) {
        if (label->objectName().startsWith(u"tit")) {
            label->setFont(captionFont);
            label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        }
    }
    styleSections(parts.sections, parts.titles, captionFont);
    QFont positionFont(QStringLiteral("Arial"));
    positionFont.setPointSize(12);
    stylePositionLabel(parts.position, positionFont);
    parts.position->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    QFont buttonFont(QStringLiteral("Arial"));
    buttonFont.setPointSize(10);
    buttonFont.setBold(true);
    for (QToolButton *button : parts.toolbar->findChildren<QToolButton *>())
        button->setFont(buttonFont);
    for (const SizedImageButton &b : buttons)
        Widgets::makeImageButton(b.button, QString::fromLatin1(b.icon), b.size);
    Widgets::styleInfoBar(parts.infoBar);
}

} // namespace CardLooks
