#include "storage/TextForms.h"

#include <QTest>

class TestTextForms : public QObject
{
    Q_OBJECT
private slots:
    void numberToText_data();
    void numberToText();
};

void TestTextForms::numberToText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("twelve and a half") << 12.5 << QStringLiteral("12,5");
}

void TestTextForms::numberToText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(NumberToText(value), text);
}

QTEST_APPLESS_MAIN(TestTextForms)
#include "tst_textforms.moc"
