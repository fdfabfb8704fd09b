#include "app/Avvio.h"
#include "catalogue/Magazzino.h"
#include "common/TempProgramFolder.h"
#include "customers/Anagrafica.h"
#include "reports/MenuRiepilogo.h"
#include "reports/MenuRiepilogoCarico.h"
#include "reports/MenuRiepilogoScarico.h"
#include "suppliers/Fornitori.h"

#include <QLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

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
    void recordNeverScrollsSideways_data();
    void recordNeverScrollsSideways();
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

// On a small screen the cards' fields rearrange rather than run off at the right: the
// customer card's two columns of sections go one under the other, the product card's
// second field of each row goes under the first. The rightmost control of each card is
// inside the visible width, and nothing scrolls sideways.
void TestScreenSizes::recordNeverScrollsSideways_data()
{
    QTest::addColumn<Factory>("make");
    QTest::addColumn<QString>("area");
    QTest::addColumn<QString>("rightmost");
    QTest::addColumn<QSize>("window");

    const Factory customer([] { return new TfrmAnagrafica; });
    const Factory product([] { return new TfrmMagazzino; });
    const QSize scaled(1093, 584);
    const QSize small(1280, 690);
    const QSize large(1920, 1050);
    QTest::newRow("TfrmAnagrafica 1366x768 125%")
        << customer << u"scrScheda"_s << u"txtRata"_s << scaled;
    QTest::newRow("TfrmAnagrafica 1280x720") << customer << u"scrScheda"_s << u"txtRata"_s << small;
    QTest::newRow("TfrmAnagrafica 1920x1080")
        << customer << u"scrScheda"_s << u"txtRata"_s << large;
    QTest::newRow("TfrmMagazzino 1366x768 125%")
        << product << u"scrpanContainer"_s << u"btnScorpora"_s << scaled;
    QTest::newRow("TfrmMagazzino 1280x720")
        << product << u"scrpanContainer"_s << u"btnScorpora"_s << small;
}

void TestScreenSizes::recordNeverScrollsSideways()
{
    QFETCH(Factory, make);
    QFETCH(QString, area);
    QFETCH(QString, rightmost);
    QFETCH(QSize, window);
    TempProgramFolder folder;
    std::unique_ptr<QWidget> card(make());
    card->setWindowState(Qt::WindowNoState);
    card->resize(window);
    card->show();
    QVERIFY(QTest::qWaitForWindowExposed(card.get()));
    auto *scroll = card->findChild<QScrollArea *>(area);
    QVERIFY(scroll);
    auto *control = card->findChild<QWidget *>(rightmost);
    QVERIFY(control);
    QTRY_COMPARE(scroll->horizontalScrollBar()->maximum(), 0);
    const QPoint right = control->mapTo(scroll->widget(), QPoint(control->width(), 0));
    QVERIFY2(right.x() <= scroll->viewport()->width(),
        qPrintable(u"%1 ends at %2 of %3"_s.arg(rightmost).arg(right.x()).arg(
            scroll->viewport()->width())));
}

QTEST_MAIN(TestScreenSizes)
#include "tst_screensizes.moc"
