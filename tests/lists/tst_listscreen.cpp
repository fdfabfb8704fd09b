#include "lists/ListScreen.h"

#include "common/UserInput.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

// A list screen whose filling lists one line per call, so that a second filling shows.
class CountingList : public ListScreen
{
public:
    explicit CountingList(bool fillOnShow)
    {
        setObjectName(QStringLiteral("TfrmProva"));
        auto *layout = new QVBoxLayout(this);
        for (const char *name : { "txtTrova", "txtAltro" }) {
            auto *edit = new QLineEdit(this);
            edit->setObjectName(QLatin1StringView(name));
            layout->addWidget(edit);
        }
        auto *findButton = new QPushButton(QStringLiteral("Trova"), this);
        findButton->setObjectName(QStringLiteral("btnTrova"));
        layout->addWidget(findButton);
        auto *list = new QListView(this);
        list->setObjectName(QStringLiteral("lstRecords"));
        layout->addWidget(list);
        setupList({ .fillOnShow = fillOnShow });
    }

    using ListScreen::fillList;
    int fills = 0;

protected:
    void fill() override
    {
        ++fills;
        ListLines::PackedLines lines;
        for (int i = 0; i < fills; ++i) {
            const QByteArray line = QStringLiteral("riga %1").arg(i + 1).toLatin1();
            std::copy(line.begin(), line.end(), lines.appendLine(line.size()));
        }
        showLines(std::move(lines));
    }
};

class TestListScreen : public QObject
{
    Q_OBJECT
private slots:
    void filling_data();
    void filling();
};

void TestListScreen::filling_data()
{
    QTest::addColumn<bool>("fillOnShow");
    QTest::addColumn<int>("fillsOnShowing"); // after the first and a second showing
    QTest::newRow("a report list fills once, when first shown") << true << 1;
    QTest::newRow("a search fills only when asked") << false << 0;
}

void TestListScreen::filling()
{
    QFETCH(bool, fillOnShow);
    QFETCH(int, fillsOnShowing);

    CountingList screen(fillOnShow);
    auto *find = screen.findChild<QLineEdit *>(QStringLiteral("txtTrova"));
    auto *other = screen.findChild<QLineEdit *>(QStringLiteral("txtAltro"));
    find->setText(QStringLiteral("vecchia chiave"));
    screen.show();
    QVERIFY(QTest::qWaitForWindowActive(&screen));
    screen.hide();
    screen.show();
    QVERIFY(QTest::qWaitForWindowActive(&screen));
    QCOMPARE(screen.fills, fillsOnShowing);
    QCOMPARE(screen.lines().size(), fillsOnShowing);
    QCOMPARE(find->text().isEmpty(), fillOnShow);

    // Filling on demand (Cerca) empties the find box and leaves the focus in it.
    other->setFocus();
    typeText(find, QStringLiteral("riga"));
    screen.fillList();
    QCOMPARE(screen.fills, fillsOnShowing + 1);
    QCOMPARE(screen.lines().size(), fillsOnShowing + 1);
    QCOMPARE(find->text(), QString());
    QCOMPARE(screen.focusWidget(), find);
}

QTEST_MAIN(TestListScreen)
#include "tst_listscreen.moc"
