#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// scripts/check-layers over a small tree: one source file and the card folder's build
// list that tells its rules from its screen.
class TestCheckLayers : public QObject
{
    Q_OBJECT
private slots:
    void smallTree_data();
    void smallTree();
    void theProjectPasses();

private:
    // Runs the check over root; its exit code and what it printed.
    static int run(const QString &root, QString *output);
};

int TestCheckLayers::run(const QString &root, QString *output)
{
    QProcess process;
    QStringList arguments;
    if (!root.isEmpty())
        arguments << QStringLiteral("--root") << root;
    process.start(QStringLiteral(MERVENTA_SOURCE_DIR "/scripts/check-layers"), arguments);
    if (!process.waitForFinished(60000))
        return -1;
    *output = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void TestCheckLayers::smallTree_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    // Empty: the tree passes; otherwise the check fails naming this.
    QTest::addColumn<QString>("problem");

    QTest::newRow("include of a lower floor")
        << "lists/ListScreen.cpp" << QByteArray("#include \"app/Messages.h\"\n") << QString();
    QTest::newRow("include of a floor above")
        << "app/Messages.cpp" << QByteArray("#include \"lists/ListScreen.h\"\n")
        << "app non può includere lists";
    QTest::newRow("a list including a card")
        << "reports/Riepilogo.cpp" << QByteArray("#include \"catalogue/Magazzino.h\"\n")
        << "reports non può includere catalogue";
    QTest::newRow("a card including a list")
        << "catalogue/Magazzino.cpp" << QByteArray("#include \"reports/Riepilogo.h\"\n")
        << QString();
    QTest::newRow("a middle screen using a card's rules")
        << "charts/Grafici.cpp" << QByteArray("#include \"catalogue/Prices.h\"\n") << QString();
    QTest::newRow("a middle screen including a card's screen")
        << "charts/Grafici.cpp" << QByteArray("#include \"catalogue/Magazzino.h\"\n")
        << "charts non può includere catalogue";
    QTest::newRow("a rule including its folder's screen")
        << "catalogue/Prices.cpp" << QByteArray("#include \"catalogue/Magazzino.h\"\n")
        << "un modulo puro include la schermata catalogue/Magazzino.h";
    QTest::newRow("a folder missing from the table")
        << "extra/Extra.cpp" << QByteArray("#include \"app/Messages.h\"\n")
        << "la cartella extra non è nella tabella";
    QTest::newRow("a colour text in a screen")
        << "app/Avvio.cpp" << QByteArray("auto s = \"QLabel { color: #1F4E79; }\";\n")
        << "colore fuori da app/Palette.h (colour text: #1F4E79)";
    QTest::newRow("a colour text in the palette")
        << "app/Palette.h" << QByteArray("inline constexpr char kBlue[] = \"#1F4E79\";\n")
        << QString();
    QTest::newRow("a colour from numbers")
        << "checks/Carta.cpp" << QByteArray("const QColor c = QColor(117, 80, 123);\n")
        << "QColor from numbers";
    QTest::newRow("a colour from a hexadecimal number")
        << "checks/Carta.cpp" << QByteArray("const QColor c = QColor(0x75, 0x50, 0x7B);\n")
        << "QColor from numbers";
    QTest::newRow("a global colour")
        << "report/ReportRenderer.cpp" << QByteArray("painter.setPen(Qt::red);\n")
        << "Qt global colour: Qt::red";
    QTest::newRow("a colour named in the palette")
        << "report/ReportRenderer.cpp"
        << QByteArray("painter.setPen(QColor(Palette::kTitle)); brush = Qt::transparent;\n")
        << QString();
}

void TestCheckLayers::smallTree()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QString, problem);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QDir src(root.filePath(QStringLiteral("src")));
    QVERIFY(src.mkpath(QStringLiteral("catalogue")));
    QFile cards(src.filePath(QStringLiteral("catalogue/CMakeLists.txt")));
    QVERIFY(cards.open(QIODevice::WriteOnly));
    cards.write("# the rules, then the card\nmerventa_folder(CORE Prices UI Magazzino)\n");
    cards.close();
    const QString path = src.filePath(file);
    QVERIFY(src.mkpath(QFileInfo(path).path()));
    QFile source(path);
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write(content);
    source.close();

    QString output;
    const int code = run(root.path(), &output);
    if (problem.isEmpty()) {
        QVERIFY2(code == 0, qPrintable(output));
        QVERIFY2(output.isEmpty(), qPrintable(output));
    } else {
        QCOMPARE(code, 1);
        QVERIFY2(output.contains(QStringLiteral("src/") + file + QStringLiteral(":1: ")),
            qPrintable(output));
        QVERIFY2(output.contains(problem), qPrintable(output));
    }
}

void TestCheckLayers::theProjectPasses()
{
    QString output;
    QCOMPARE(run(QString(), &output), 0);
    QVERIFY2(output.isEmpty(), qPrintable(output));
}

QTEST_GUILESS_MAIN(TestCheckLayers)
#include "tst_checklayers.moc"
