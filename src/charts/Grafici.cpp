#include "charts/Grafici.h"

#include "app/Guida.h"
#include "app/Messages.h"
#include "app/Palette.h"
#include "app/Screens.h"
#include "app/Widgets.h"
#include "charts/ChartFigures.h"
#include "lists/ListScreen.h"
#include "report/ReportRenderer.h"
#include "report/SaveAndAsk.h"
#include "storage/ProgramFolder.h"
#include "storage/TextForms.h"

#include "ui_Grafici.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QHorizontalBarSeries>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace {

using ChartTable::Plot;
using ChartTable::Series;
using ChartTable::Table;
using ChartTable::Unit;

const QString kPdfName = QStringLiteral("Grafico.pdf");
const QString kCsvName = QStringLiteral("Grafico.csv");
// The category labels' own font, kept on the axis: fitting them starts from it each time.
const char kBaseFont[] = "merventaBaseFont";

// On the screen the chart's fonts are in points. On paper they are in pixels of the
// painter's coordinates, which are points of the page: the chart measures its texts and
// the painter draws them at the same size whatever the printer's resolution.
QFont chartFont(int size, bool bold, bool paper)
{
    QFont font(QStringLiteral("Tahoma"));
    if (paper)
        font.setPixelSize(size);
    else
        font.setPointSize(size);
    font.setBold(bold);
    return font;
}

QColor seriesColour(qsizetype index)
{
    static const char *const colours[] = { Palette::kSelectionBottom, Palette::kTotal,
        Palette::kDarkSlateBlue, Palette::kWaitNotice };
    return QColor(QString::fromLatin1(colours[index % 4]));
}

QString unitTitle(Unit unit)
{
    switch (unit) {
    case Unit::Euro:
        return QStringLiteral("Euro");
    case Unit::Count:
        return QStringLiteral("Numero");
    case Unit::Pieces:
        break;
    }
    return QStringLiteral("Pezzi");
}

// A value axis whose labels are the table's own texts ("1.234 €"), one at each step.
QCategoryAxis *valueAxis(const ChartTable::Scale &scale, Unit unit, const QFont &font)
{
    auto *axis = new QCategoryAxis;
    axis->setRange(scale.min, scale.max);
    axis->setStartValue(scale.min);
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (qsizetype i = 0; i < scale.labels.size(); ++i)
        axis->append(scale.labels[i], scale.min + double(i) * scale.step);
    axis->setLabelsFont(font);
    axis->setTitleText(unitTitle(unit));
    axis->setTitleFont(font);
    return axis;
}

// The chart of a table. A horizontal chart lists its bars from the top, as they are read.
QChart *buildChart(const Table &table, bool paper)
{
    auto *chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setTitle(table.title);
    chart->setTitleFont(chartFont(paper ? 16 : 14, true, paper));
    chart->setTitleBrush(QColor(QString::fromLatin1(Palette::kSectionTitle)));
    chart->legend()->setVisible(table.series.size() > 1);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setFont(chartFont(10, false, paper));
    if (table.empty || table.series.isEmpty())
        return chart;

    const QFont labelFont = chartFont(paper ? 9 : 10, false, paper);
    QStringList labels = ChartTable::axisLabels(table);
    // An amount a damaged record makes infinite is drawn as nothing rather than break the
    // chart's geometry.
    auto order = [&table](QList<double> values) {
        for (double &value : values) {
            if (!std::isfinite(value))
                value = 0;
        }
        if (table.horizontal)
            std::reverse(values.begin(), values.end());
        return values;
    };
    if (table.horizontal)
        std::reverse(labels.begin(), labels.end());
    auto *categories = new QBarCategoryAxis;
    categories->append(labels);
    categories->setLabelsFont(labelFont);
    categories->setProperty(kBaseFont, labelFont);
    categories->setGridLineVisible(false);

    QAbstractBarSeries *bars = table.horizontal
        ? static_cast<QAbstractBarSeries *>(new QHorizontalBarSeries)
        : static_cast<QAbstractBarSeries *>(new QBarSeries);
    QList<QLineSeries *> lines;
    double barLow = 0, barHigh = 0, lineLow = 0, lineHigh = 0;
    Unit barUnit = Unit::Pieces, lineUnit = Unit::Count;
    for (qsizetype i = 0; i < table.series.size(); ++i) {
        const Series &series = table.series[i];
        const QList<double> values = order(series.values);
        const QColor colour = seriesColour(i);
        if (series.plot == Plot::Bars) {
            auto *set = new QBarSet(series.name);
            for (const double value : values) {
                set->append(value);
                barLow = std::min(barLow, value);
                barHigh = std::max(barHigh, value);
            }
            set->setColor(colour);
            set->setBorderColor(colour);
            bars->append(set);
            barUnit = series.unit;
        } else {
            auto *line = new QLineSeries;
            line->setName(series.name);
            for (qsizetype j = 0; j < values.size(); ++j) {
                line->append(double(j), values[j]);
                lineLow = std::min(lineLow, values[j]);
                lineHigh = std::max(lineHigh, values[j]);
            }
            QPen pen(colour);
            pen.setWidthF(paper ? 1.5 : 2.5);
            line->setPen(pen);
            line->setPointsVisible(true);
            lines.append(line);
            lineUnit = series.unit;
        }
    }
    bars->setBarWidth(0.7);
    chart->addSeries(bars);
    for (QLineSeries *line : std::as_const(lines))
        chart->addSeries(line);

    QCategoryAxis *values
        = valueAxis(ChartTable::scale(barLow, barHigh, barUnit), barUnit, labelFont);
    chart->addAxis(categories, table.horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    chart->addAxis(values, table.horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    bars->attachAxis(categories);
    bars->attachAxis(values);
    if (!lines.isEmpty()) {
        QCategoryAxis *right
            = valueAxis(ChartTable::scale(lineLow, lineHigh, lineUnit), lineUnit, labelFont);
        chart->addAxis(right, Qt::AlignRight);
        for (QLineSeries *line : std::as_const(lines)) {
            line->attachAxis(categories);
            line->attachAxis(right);
        }
    }
    return chart;
}

// Makes the month names smaller, or at last slants them, when the plot is too narrow for
// them side by side.
void fitLabels(QChart *chart)
{
    for (QAbstractAxis *axis : chart->axes(Qt::Horizontal)) {
        auto *categories = qobject_cast<QBarCategoryAxis *>(axis);
        if (!categories || categories->count() == 0)
            continue;
        const QFont base = categories->property(kBaseFont).value<QFont>();
        const bool pixels = base.pixelSize() > 0;
        const double size = pixels ? base.pixelSize() : base.pointSizeF();
        const QFontMetricsF metrics(base);
        double widest = 0;
        for (const QString &label : categories->categories())
            widest = std::max(widest, metrics.horizontalAdvance(label));
        const ChartTable::LabelFit fit = ChartTable::fitLabels(widest, metrics.height(),
            chart->plotArea().width() / categories->count(), size, size * 0.75);
        QFont font = base;
        if (pixels)
            font.setPixelSize(std::max(1, int(fit.size)));
        else
            font.setPointSizeF(fit.size);
        if (categories->labelsFont() != font)
            categories->setLabelsFont(font);
        if (categories->labelsAngle() != fit.angle)
            categories->setLabelsAngle(fit.angle);
    }
}

} // namespace

TfrmGrafici::TfrmGrafici(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::TfrmGrafici>())
{
    setObjectName(QStringLiteral("TfrmGrafici"));
    m_ui->setupUi(this);
    ListScreen::setUpScreen(this, 12, ListScreen::ScreenSize::FillScreen);
    Widgets::makeImageButton(m_ui->imgGuida, QStringLiteral("help-browser.png"));
    m_ui->chtGrafico->setRenderHint(QPainter::Antialiasing);
    m_ui->lblAvviso->setStyleSheet(
        QStringLiteral("color: %1;").arg(QString::fromLatin1(Palette::kWaitNotice)));
    m_ui->lblVuoto->setStyleSheet(QStringLiteral("color: %1; font-size: 16pt;")
                                      .arg(QString::fromLatin1(Palette::kTitleGrey)));

    m_ui->cboGrafico->addItems(ChartFigures::kindNames());
    m_ui->cboAnno->addItems(ChartFigures::movementYears());
    if (parent) {
        m_ui->cboGrafico->setCurrentIndex(int(ChartFigures::firstKindFor(parent->objectName())));
        // A movement summary selection hands over the year typed there.
        if (auto *year = parent->findChild<QLineEdit *>(QStringLiteral("txtAnno"))) {
            const int index = m_ui->cboAnno->findText(TrimControl(year->text()));
            if (index >= 0)
                m_ui->cboAnno->setCurrentIndex(index);
        }
    }

    connect(m_ui->cboGrafico, &QComboBox::currentIndexChanged, this, &TfrmGrafici::refresh);
    connect(m_ui->cboAnno, &QComboBox::currentIndexChanged, this, &TfrmGrafici::refresh);
    connect(m_ui->btnStampa, &QPushButton::clicked, this, &TfrmGrafici::btnStampaClick);
    connect(m_ui->btnPdf, &QPushButton::clicked, this, &TfrmGrafici::btnPdfClick);
    connect(m_ui->btnEsporta, &QPushButton::clicked, this, &TfrmGrafici::btnEsportaClick);
    connect(m_ui->btnChiudi, &QPushButton::clicked, this, &TfrmGrafici::btnChiudiClick);
    connect(m_ui->imgGuida, &QToolButton::clicked, this, &TfrmGrafici::imgGuidaClick);
    refresh();
}

TfrmGrafici::~TfrmGrafici() = default;

void TfrmGrafici::registerScreen()
{
    Screens::registerModal(QStringLiteral("TfrmGrafici"), [](QWidget *parent) {
        TfrmGrafici screen(parent);
        screen.exec();
    });
}

QChart *TfrmGrafici::chart() const
{
    return m_ui->chtGrafico->chart();
}

void TfrmGrafici::refresh()
{
    const auto kind = ChartFigures::Kind(m_ui->cboGrafico->currentIndex());
    m_ui->cboAnno->setEnabled(ChartFigures::usesYear(kind));
    m_ui->titAnno->setEnabled(ChartFigures::usesYear(kind));

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ChartFigures::Reading reading
        = ChartFigures::read(kind, m_ui->cboAnno->currentText(), Clock::now().date());
    QApplication::restoreOverrideCursor();
    if (!reading.error.isEmpty())
        Messages::warning(this, reading.error);
    m_table = reading.table;

    QChart *previous = m_ui->chtGrafico->chart();
    QChart *chart = buildChart(m_table, false);
    connect(chart, &QChart::plotAreaChanged, this, &TfrmGrafici::fitCategoryLabels);
    m_ui->chtGrafico->setChart(chart);
    delete previous;
    fitCategoryLabels();

    m_ui->chtGrafico->setVisible(!m_table.empty);
    m_ui->lblVuoto->setVisible(m_table.empty);
    m_ui->lblVuoto->setText(m_table.emptyText);
    m_ui->lblRiepilogo->setText(m_table.empty ? QString() : m_table.summary);
    m_ui->lblAvviso->setText(m_table.notice);
    m_ui->lblAvviso->setVisible(!m_table.notice.isEmpty());
    for (QPushButton *button : { m_ui->btnStampa, m_ui->btnPdf, m_ui->btnEsporta })
        button->setEnabled(!m_table.empty);
}

void TfrmGrafici::fitCategoryLabels()
{
    fitLabels(m_ui->chtGrafico->chart());
}

bool TfrmGrafici::paintPage(QPagedPaintDevice &device) const
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // Points of the page from here on.
    const double scale = device.logicalDpiX() / 72.0;
    painter.scale(scale, scale);
    const QRectF page(0, 0, device.width() / scale, device.height() / scale);
    const double margin = 36;
    const QRectF area = page.adjusted(margin, margin, -margin, -margin);

    painter.setFont(chartFont(10, false, true));
    const QString footer
        = QStringLiteral("Merventa 2.0 - ") + Today() + QStringLiteral(" ") + Now();
    const QString texts
        = m_table.notice.isEmpty() ? m_table.summary : m_table.summary + u'\n' + m_table.notice;
    const QRectF textBox = painter.boundingRect(
        QRectF(area.left(), 0, area.width(), area.height()), Qt::TextWordWrap, texts);
    const double lineHeight = QFontMetricsF(painter.font()).height();
    const QRectF chartBox(
        area.left(), area.top(), area.width(), area.height() - textBox.height() - 2 * lineHeight);

    QGraphicsScene scene;
    QChart *chart = buildChart(m_table, true);
    scene.addItem(chart);
    chart->resize(chartBox.size());
    // The chart lays itself out on posted events: the plot area is known after them.
    QCoreApplication::sendPostedEvents();
    fitLabels(chart);
    QCoreApplication::sendPostedEvents();
    scene.render(&painter, chartBox, QRectF(QPointF(0, 0), chartBox.size()));

    painter.setPen(QColor(QString::fromLatin1(Palette::kBlack)));
    painter.drawText(
        QRectF(area.left(), chartBox.bottom() + lineHeight / 2, area.width(), textBox.height()),
        Qt::TextWordWrap, texts);
    painter.setPen(QColor(QString::fromLatin1(Palette::kTitleGrey)));
    painter.drawText(QRectF(area.left(), area.bottom() - lineHeight, area.width(), lineHeight),
        Qt::AlignRight, footer);
    return painter.end();
}

void TfrmGrafici::btnStampaClick()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setFullPage(true);
    printer.setDocName(m_table.title);
    Report::printWith(
        this, printer, 1, [this](QPrinter &device, int, int) { return paintPage(device); });
}

void TfrmGrafici::btnPdfClick()
{
    Report::DocumentInfo info;
    info.title = m_table.title;
    info.creator = QStringLiteral("Merventa 2.0");
    Report::saveAndAsk(this, ProgramFolder::filePath(kPdfName), QStringLiteral("il grafico in PDF"),
        QStringLiteral("L'esportazione del grafico in PDF è terminata con successo."),
        [this, &info](const QString &path) {
            return Report::writePdf(path, info, [this](QPdfWriter &writer) {
                writer.setPageSize(QPageSize(QPageSize::A4));
                writer.setPageOrientation(QPageLayout::Landscape);
                writer.setPageMargins(QMarginsF(0, 0, 0, 0));
                return paintPage(writer);
            });
        });
}

void TfrmGrafici::btnEsportaClick()
{
    Report::saveAndAsk(this, ProgramFolder::filePath(kCsvName),
        QStringLiteral("i dati del grafico"),
        QStringLiteral("L'esportazione dei dati del grafico nel file ") + kCsvName
            + QStringLiteral(" è terminata con successo."),
        [this](const QString &path) { return ChartTable::saveCsv(path, m_table); });
}

void TfrmGrafici::btnChiudiClick()
{
    close();
}

void TfrmGrafici::imgGuidaClick()
{
    showHelpFor(this, QStringLiteral("TfrmGrafici"));
}
