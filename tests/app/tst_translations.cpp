#include "app/Translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>
#include <QTabWidget>
#include <QTest>
#include <QTranslator>

namespace {

// Every text a dialog shows or may show: buttons, labels, group titles, tabs, list entries
// and tool tips, of visible and hidden parts alike.
QStringList dialogTexts(const QWidget &dialog)
{
    QStringList texts;
    for (const QWidget *w : dialog.findChildren<QWidget *>()) {
        if (!w->toolTip().isEmpty())
            texts << w->toolTip();
        if (const auto *b = qobject_cast<const QAbstractButton *>(w))
            texts << b->text();
        else if (const auto *l = qobject_cast<const QLabel *>(w))
            texts << l->text();
        else if (const auto *g = qobject_cast<const QGroupBox *>(w))
            texts << g->title();
        else if (const auto *c = qobject_cast<const QComboBox *>(w))
            for (int i = 0; i < c->count(); ++i)
                texts << c->itemText(i);
        if (const auto *t = qobject_cast<const QTabWidget *>(w))
            for (int i = 0; i < t->count(); ++i)
                texts << t->tabText(i);
    }
    return texts;
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void printDialogTexts_data();
    void printDialogTexts();
    void qtCatalogueStillAnswers();
    void printDialogShowsNoEnglish();
};

void TestTranslations::initTestCase()
{
    // The order of the program's start-up: Qt's catalogue first, then the program's.
    auto *qtCatalogue = new QTranslator(qApp);
    QVERIFY(qtCatalogue->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || qtCatalogue->load(QStringLiteral(":/translations/qtbase_it.qm")));
    QCoreApplication::installTranslator(qtCatalogue);
    QVERIFY(installPrintDialogCatalogue(*qApp));
}

void TestTranslations::printDialogTexts_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("italian");

    const QString none;
    QTest::newRow("pages") << "QPrintSettingsOutput"
                           << "Pages" << none << "Pagine";
    QTest::newRow("duplex") << "QPrintSettingsOutput"
                            << "Double Sided Printing" << none << "Stampa fronte/retro";
    QTest::newRow("off") << "QPrintSettingsOutput"
                         << "Off" << none << "Disattivata";
    QTest::newRow("long side") << "QPrintSettingsOutput"
                               << "Long side binding" << none << "Rilegatura sul lato lungo";
    QTest::newRow("short side") << "QPrintSettingsOutput"
                                << "Short side binding" << none << "Rilegatura sul lato corto";
    QTest::newRow("advanced tab") << "QPrintPropertiesWidget"
                                  << "Advanced" << none << "Avanzate";
    QTest::newRow("bad pages") << "QPrintDialog"
                               << "Invalid Pages Definition" << none
                               << "Indicazione delle pagine non valida";
    QTest::newRow("folder") << "QAbstractFileIconProvider"
                            << "Folder"
                            << "All other platforms"
                            << "Cartella";
}

void TestTranslations::printDialogTexts()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, comment);
    QFETCH(QString, italian);
    const QByteArray ctx = context.toUtf8();
    const QByteArray src = source.toUtf8();
    const QByteArray dis = comment.toUtf8();
    QCOMPARE(QCoreApplication::translate(
                 ctx.constData(), src.constData(), comment.isEmpty() ? nullptr : dis.constData()),
        italian);
}

void TestTranslations::qtCatalogueStillAnswers()
{
    // Texts the program's catalogue does not hold still come from Qt's.
    QCOMPARE(
        QCoreApplication::translate("QPrintSettingsOutput", "Copies"), QStringLiteral("Copie"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Annulla"));
}

void TestTranslations::printDialogShowsNoEnglish()
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    QPrintDialog dialog(&printer);
    const QStringList texts = dialogTexts(dialog);
    QVERIFY(texts.contains(QStringLiteral("Stampa fronte/retro")));
    QVERIFY(texts.contains(QStringLiteral("Pagine")));
    const QStringList english { QStringLiteral("Pages"), QStringLiteral("Double Sided Printing"),
        QStringLiteral("Off"), QStringLiteral("Long side binding"),
        QStringLiteral("Short side binding"), QStringLiteral("Copies"), QStringLiteral("Options") };
    for (const QString &text : english)
        QVERIFY2(!texts.contains(text), qPrintable(text));
    for (const QString &text : texts)
        QVERIFY2(!text.startsWith(QStringLiteral("Specify pages")), qPrintable(text));
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
