#include "app/Avvio.h"
#include "catalogue/Magazzino.h"
#include "common/TempProgramFolder.h"
#include "customers/Anagrafica.h"
#include "reports/MenuRiepilogo.h"
#include "reports/MenuRiepilogoCarico.h"
#include "reports/MenuRiepilogoScarico.h"
#include "suppliers/Fornitori.h"

#include <QBoxLayout>
#include <QLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <functional>
#include <memory>

namespace {

using Factory = std::function<QWidget *()>;

// The smallest size a window can be given: what its layout needs, or its own minimum when
// that is larger.
QSize effectiveMinimum(QWidget &window)
{
    window.ensurePolished();
    if (QLayout *layout = window.layout())
        layout->activate();
    return window.minimumSize().expandedTo(window.minimumSizeHint());
}

} // namespace

// No card's or menu's minimum size exceeds 1280x720, and each fits the logical 1093x614 of
// a 1366x768 screen at 125 % scaling with room for the window's title bar.
class TestScreenSizes : public QObject
{
    Q_OBJECT
private slots:
    void minimumFitsSmallScreens_data();
    void minimumFitsSmallScreens();
    void customerRecordNeverScrollsSideways_data();
    void customerRecordNeverScrollsSideways();
};

void TestScreenSizes::minimumFitsSmallScreens_data()
{
    QTest::addColumn<Factory>("make");
    QTest::addColumn<QSize>("screen");

    // 1366x768 at 125 % leaves 1093x614 logical pixels; keep 30 for a title bar.
    const QSize small(1280, 720);
    const QSize scaled(1093, 614);
    // The menu sizes its pictures for its screen's free height.
    const auto menuFor = [](int height) {
        return Factory([height] {
            auto *menu = new TfrmAvvio;
            menu->fitPicturesTo(height);
            return menu;
        });
    };
    QTest::newRow("TfrmAvvio 1280x720") << menuFor(small.height() - 40) << small;
    QTest::newRow("TfrmAvvio 1366x768 125%") << menuFor(scaled.height()) << scaled;
    QTest::newRow("TfrmMagazzino") << Factory([] { return new TfrmMagazzino; }) << scaled;
    QTest::newRow("TfrmFornitori") << Factory([] { return new TfrmFornitori; }) << scaled;
    QTest::newRow("TfrmAnagrafica") << Factory([] { return new TfrmAnagrafica; }) << scaled;
    QTest::newRow("TfrmMenuRiepilogo") << Factory([] { return new TfrmMenuRiepilogo; }) << scaled;
    QTest::newRow("TfrmMenuRiepilogoCarico")
        << Factory([] { return new TfrmMenuRiepilogoCarico; }) << scaled;
    QTest::newRow("TfrmMenuRiepilogoScarico")
        << Factory([] { return new TfrmMenuRiepilogoScarico; }) << scaled;
}

void TestScreenSizes::minimumFitsSmallScreens()
{
    QFETCH(Factory, make);
    QFETCH(QSize, screen);
    TempProgramFolder folder;
    std::unique_ptr<QWidget> window(make());
    const QSize minimum = effectiveMinimum(*window);
    qInfo("%s: minimum %dx%d", QTest::currentDataTag(), minimum.width(), minimum.height());
    QVERIFY(minimum.width() <= 1280 && minimum.height() <= 720);
    QVERIFY(minimum.width() <= screen.width());
    QVERIFY(minimum.height() <= screen.height() - 30);
}

// The customer card's two columns of sections stand side by side where there is room and
// one under the other where there is not: either way nothing is cut off at the right.
void TestScreenSizes::customerRecordNeverScrollsSideways_data()
{
    QTest::addColumn<QSize>("window");
    QTest::addColumn<bool>("stacked");
    QTest::newRow("1366x768 at 125 %") << QSize(1093, 584) << true;
    QTest::newRow("1280x720") << QSize(1280, 690) << false;
    QTest::newRow("1920x1080") << QSize(1920, 1050) << false;
}

void TestScreenSizes::customerRecordNeverScrollsSideways()
{
    QFETCH(QSize, window);
    QFETCH(bool, stacked);
    TempProgramFolder folder;
    TfrmAnagrafica card;
    card.setWindowState(Qt::WindowNoState);
    card.resize(window);
    card.show();
    QVERIFY(QTest::qWaitForWindowExposed(&card));
    auto *area = card.findChild<QScrollArea *>(QStringLiteral("scrScheda"));
    QVERIFY(area);
    auto *columns = qobject_cast<QBoxLayout *>(area->widget()->layout());
    QVERIFY(columns);
    QTRY_COMPARE(columns->direction() == QBoxLayout::TopToBottom, stacked);
    QTRY_COMPARE(area->horizontalScrollBar()->maximum(), 0);
    // The last field of the right column is reachable: by scrolling when stacked.
    auto *rata = card.findChild<QWidget *>(QStringLiteral("txtRata"));
    QVERIFY(rata);
    const QPoint right = rata->mapTo(area->widget(), QPoint(rata->width(), 0));
    QVERIFY(right.x() <= area->viewport()->width());
}

QTEST_MAIN(TestScreenSizes)
#include "tst_screensizes.moc"
