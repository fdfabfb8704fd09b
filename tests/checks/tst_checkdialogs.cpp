#include "app/FieldEntry.h"
#include "checks/Carta.h"
#include "checks/CodFisc.h"
#include "checks/Iban.h"
#include "checks/PartitaIVA.h"

#include "common/MessageRecorder.h"
#include "common/ModalProbe.h"
#include "common/UserInput.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <functional>
#include <memory>

Q_DECLARE_METATYPE(Messages::Kind)

namespace {

struct DialogKind
{
    const char *className;
    const char *input;
    std::function<QDialog *()> create;
    std::function<void(const QString &)> check;
};

const DialogKind &dialogKind(const QString &className)
{
    static const DialogKind kinds[] = {
        { "TfrmCodFisc", "txtCodFisc", [] { return new TfrmCodFisc; },
            [](const QString &text) { TfrmCodFisc::check(nullptr, text); } },
        { "TfrmPartitaIva", "txtPartitaIva", [] { return new TfrmPartitaIva; },
            [](const QString &text) { TfrmPartitaIva::check(nullptr, text); } },
        { "TfrmIban", "txtIban", [] { return new TfrmIban; },
            [](const QString &text) { TfrmIban::check(nullptr, text); } },
        { "TfrmCarta", "txtNumero", [] { return new TfrmCarta; },
            [](const QString &text) { TfrmCarta::check(nullptr, text); } },
    };
    for (const DialogKind &kind : kinds) {
        if (className == QLatin1String(kind.className))
            return kind;
    }
    qFatal("unknown dialog");
}

const QString kTaxLength = QStringLiteral(
    "Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.");
const QString kTaxValid = QStringLiteral("Il codice fiscale digitato è VALIDO.");
const QString kTaxWrong = QStringLiteral("Attenzione: il codice fiscale digitato è ERRATO.");
const QString kVatLength
    = QStringLiteral("Attenzione: la partita IVA deve essere composta da 11 caratteri numerici.");
const QString kVatValid = QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n"
                                         "E' stato rilasciato dall'Ufficio IVA del Comune di ");
const QString kVatWrong = QStringLiteral(
    "Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\n"
    "Non è quindi possibile fornire informazioni relative all'Ufficio IVA che lo ha rilasciato.");
const QString kIbanLength
    = QStringLiteral("Attenzione: l'IBAN deve essere composto da 27 caratteri alfanumerici.");
const QString kIbanValid = QStringLiteral("L'IBAN digitato è VALIDO.");
const QString kIbanWrong = QStringLiteral("Attenzione: l'IBAN digitato è ERRATO!");
const QString kCardEmpty = QStringLiteral("Attenzione: immettere il numero di carta di credito "
                                          "prima di premere il pulsante di controllo.");
const QString kCardValid = QStringLiteral("Il numero di carta di credito %1 risulta valido.\r\n\r\n"
                                          "La carta di credito è del tipo %2.");
const QString kCardUnknown
    = QStringLiteral("Il numero di carta di credito %1 risulta valido.\r\n\r\n"
                     "Non è però possibile stabilire il tipo di carta di credito.");
const QString kCardWrong = QStringLiteral(
    "Attenzione: il numero digitato risulta ERRATO!\r\n\r\n"
    "Non è quindi possibile fornire informazioni relative al tipo di carta di credito.");

} // namespace

class TestCheckDialogs : public QObject
{
    Q_OBJECT
private slots:
    void contract_data();
    void contract();
    void typing_data();
    void typing();
    void messageFlow_data();
    void messageFlow();
    void chiudiClosesWithoutMessage_data();
    void chiudiClosesWithoutMessage();
    void openWithInitialText_data();
    void openWithInitialText();
};

void TestCheckDialogs::contract_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("maxLength");
    QTest::newRow("tax code") << "TfrmCodFisc"
                              << " Controllo codice fiscale"
                              << "Immettere il codice fiscale e premere il pulsante di controllo."
                              << 16;
    QTest::newRow("VAT number")
        << "TfrmPartitaIva"
        << " Controllo partita IVA"
        << "Immettere il numero di partita IVA e premere il pulsante di controllo." << 11;
    QTest::newRow("IBAN") << "TfrmIban"
                          << " Controllo IBAN"
                          << "Immettere l'IBAN e premere il pulsante di controllo." << 27;
    QTest::newRow("payment card")
        << "TfrmCarta"
        << " Controllo carta di credito"
        << "Immettere il numero di carta di credito e premere il pulsante di controllo." << 30;
}

void TestCheckDialogs::contract()
{
    QFETCH(QString, className);
    QFETCH(QString, caption);
    QFETCH(QString, title);
    QFETCH(int, maxLength);
    const DialogKind &kind = dialogKind(className);
    std::unique_ptr<QDialog> dialog(kind.create());

    QCOMPARE(dialog->objectName(), className);
    QCOMPARE(dialog->windowTitle(), caption);
    const Qt::WindowFlags flags = dialog->windowFlags();
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowSystemMenuHint));

    auto *logo = dialog->findChild<QLabel *>(QStringLiteral("imgLogo"));
    QVERIFY(logo);
    QVERIFY(!logo->pixmap().isNull());
    auto *label = dialog->findChild<QLabel *>(QStringLiteral("lblTitolo"));
    QVERIFY(label);
    QCOMPARE(label->text(), title);
    auto *input = dialog->findChild<QLineEdit *>(QLatin1String(kind.input));
    QVERIFY(input);
    QCOMPARE(FieldEntry::typingLimit(input), maxLength);
    QCOMPARE(input->font().family(), QStringLiteral("Courier New"));
    QCOMPARE(input->font().pointSize(), 20);
    QVERIFY(input->font().bold());
    const QString effName = QStringLiteral("eff") + QLatin1String(kind.input).mid(3);
    QVERIFY(dialog->findChild<QWidget *>(effName));
    auto *controlla = dialog->findChild<QPushButton *>(QStringLiteral("btnControlla"));
    QVERIFY(controlla);
    QCOMPARE(controlla->text(), QStringLiteral("Controlla"));
    auto *chiudi = dialog->findChild<QPushButton *>(QStringLiteral("btnChiudi"));
    QVERIFY(chiudi);
    QCOMPARE(chiudi->text(), QStringLiteral("Chiudi"));

    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    QCOMPARE(QApplication::focusWidget(), input);
    QVERIFY(dialog->findChild<QWidget *>(effName)->isVisible());
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    // The whole longest input fits in the box.
    QVERIFY(input->fontMetrics().horizontalAdvance(QString(maxLength, u'W'))
        < input->contentsRect().width());
    const QPoint centre = dialog->screen()->availableGeometry().center();
    QVERIFY((dialog->frameGeometry().center() - centre).manhattanLength() <= 2);
}

void TestCheckDialogs::typing_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::newRow("tax code upper case, blanks vanish") << "TfrmCodFisc"
                                                        << "rss mra 85t"
                                                        << "RSSMRA85T";
    QTest::newRow("tax code accented letter kept") << "TfrmCodFisc"
                                                   << "rssmrà"
                                                   << "RSSMRà";
    QTest::newRow("tax code stops at 16") << "TfrmCodFisc"
                                          << "RSSMRA85T10A562SXYZ"
                                          << "RSSMRA85T10A562S";
    QTest::newRow("VAT number digits only") << "TfrmPartitaIva"
                                            << "12a-3.4 5,6"
                                            << "123456";
    QTest::newRow("VAT number stops at 11") << "TfrmPartitaIva"
                                            << "1234567001799"
                                            << "12345670017";
    QTest::newRow("IBAN upper case, blanks vanish") << "TfrmIban"
                                                    << "it60 x054 2811"
                                                    << "IT60X0542811";
    QTest::newRow("IBAN stops at 27") << "TfrmIban"
                                      << "IT60X0542811101000000123456789"
                                      << "IT60X0542811101000000123456";
    QTest::newRow("card digits only") << "TfrmCarta"
                                      << "4000-abc 0000 0002"
                                      << "400000000002";
    QTest::newRow("card stops at 30") << "TfrmCarta" << QString(35, u'4') << QString(30, u'4');
}

void TestCheckDialogs::typing()
{
    QFETCH(QString, className);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    const DialogKind &kind = dialogKind(className);
    std::unique_ptr<QDialog> dialog(kind.create());
    auto *input = dialog->findChild<QLineEdit *>(QLatin1String(kind.input));
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    typeText(input, keys);
    QCOMPARE(input->text(), text);
}

void TestCheckDialogs::messageFlow_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<Messages::Kind>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("closes");
    using K = Messages::Kind;

    QTest::newRow("tax code valid") << "TfrmCodFisc"
                                    << "AAABBB00A01A000I" << K::Information << kTaxValid << true;
    QTest::newRow("tax code in lower case")
        << "TfrmCodFisc"
        << "aaabbb00a01a000i" << K::Information << kTaxValid << true;
    QTest::newRow("tax code typed with a blank")
        << "TfrmCodFisc"
        << "RSSMRA85 T10A562S" << K::Information << kTaxValid << true;
    QTest::newRow("tax code wrong letter") << "TfrmCodFisc"
                                           << "AAABBB00A01A000A" << K::Warning << kTaxWrong << true;
    QTest::newRow("tax code accented letter")
        << "TfrmCodFisc"
        << "RSSMRÀ85T10A562S" << K::Warning << kTaxWrong << true;
    QTest::newRow("tax code 15 characters")
        << "TfrmCodFisc"
        << "AAABBB00A01A000" << K::Warning << kTaxLength << false;
    QTest::newRow("tax code empty") << "TfrmCodFisc"
                                    << "" << K::Warning << kTaxLength << false;

    QTest::newRow("VAT number Torino")
        << "TfrmPartitaIva"
        << "12345670017" << K::Information << kVatValid + QStringLiteral("Torino.") << true;
    QTest::newRow("VAT number office 120")
        << "TfrmPartitaIva"
        << "12345671205" << K::Information << kVatValid + QStringLiteral("Bologna 2.") << true;
    QTest::newRow("VAT number no office")
        << "TfrmPartitaIva"
        << "01234567897" << K::Warning
        << QStringLiteral("Attenzione: il numero di partita IVA digitato risulta NON VALIDO!"
                          "\r\n\r\nLe cifre dall'ottava alla decima (789) devono indicare "
                          "l'Ufficio IVA che lo ha rilasciato, ma nessun ufficio ha questo "
                          "codice.")
        << true;
    QTest::newRow("VAT number letters dropped")
        << "TfrmPartitaIva"
        << "1234a5670017" << K::Information << kVatValid + QStringLiteral("Torino.") << true;
    QTest::newRow("VAT number wrong digit") << "TfrmPartitaIva"
                                            << "12345670018" << K::Warning << kVatWrong << true;
    QTest::newRow("VAT number 10 digits") << "TfrmPartitaIva"
                                          << "1234567001" << K::Warning << kVatLength << false;
    QTest::newRow("VAT number empty") << "TfrmPartitaIva"
                                      << "" << K::Warning << kVatLength << false;

    QTest::newRow("IBAN valid") << "TfrmIban"
                                << "IT91A0123401234000000000001" << K::Information << kIbanValid
                                << true;
    QTest::newRow("IBAN Italian example in lower case")
        << "TfrmIban"
        << "it60x0542811101000000123456" << K::Information << kIbanValid << true;
    QTest::newRow("IBAN typed in groups")
        << "TfrmIban"
        << "IT60 X054 2811 1010 0000 0123 456" << K::Information << kIbanValid << true;
    QTest::newRow("IBAN of another country")
        << "TfrmIban"
        << "FR1420041010050500013M02606" << K::Information << kIbanValid << true;
    QTest::newRow("IBAN wrong") << "TfrmIban"
                                << "IT92A0123401234000000000001" << K::Warning << kIbanWrong
                                << true;
    QTest::newRow("IBAN sign inside")
        << "TfrmIban"
        << "IT60X0542811101000000-23456" << K::Warning << kIbanWrong << true;
    QTest::newRow("IBAN 26 characters")
        << "TfrmIban"
        << "IT60X054281110100000012345" << K::Warning << kIbanLength << false;
    QTest::newRow("IBAN empty") << "TfrmIban"
                                << "" << K::Warning << kIbanLength << false;

    QTest::newRow("card Visa") << "TfrmCarta"
                               << "4000000000000002" << K::Information
                               << kCardValid.arg(u"4000000000000002", u"Visa") << true;
    QTest::newRow("card typed with blanks") << "TfrmCarta"
                                            << "4111 1111 1111 1111" << K::Information
                                            << kCardValid.arg(u"4111111111111111", u"Visa") << true;
    QTest::newRow("card American Express")
        << "TfrmCarta"
        << "378282246310005" << K::Information
        << kCardValid.arg(u"378282246310005", u"American Express") << true;
    QTest::newRow("card Diners") << "TfrmCarta"
                                 << "36000000000008" << K::Information
                                 << kCardValid.arg(
                                        u"36000000000008", u"Diner's Club / Carte Blanche")
                                 << true;
    QTest::newRow("card 39, network unknown")
        << "TfrmCarta"
        << "3900000000000005" << K::Information << kCardUnknown.arg(u"3900000000000005") << true;
    QTest::newRow("card wrong digit") << "TfrmCarta"
                                      << "4000000000000001" << K::Warning << kCardWrong << true;
    QTest::newRow("card first digit 7") << "TfrmCarta"
                                        << "7000000000000005" << K::Warning << kCardWrong << true;
    QTest::newRow("card empty") << "TfrmCarta"
                                << "" << K::Warning << kCardEmpty << false;
}

void TestCheckDialogs::messageFlow()
{
    QFETCH(QString, className);
    QFETCH(QString, keys);
    QFETCH(Messages::Kind, kind);
    QFETCH(QString, message);
    QFETCH(bool, closes);
    const DialogKind &dialogType = dialogKind(className);
    std::unique_ptr<QDialog> dialog(dialogType.create());
    auto *input = dialog->findChild<QLineEdit *>(QLatin1String(dialogType.input));
    auto *controlla = dialog->findChild<QPushButton *>(QStringLiteral("btnControlla"));
    MessageRecorder recorder;
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    QCOMPARE(QApplication::focusWidget(), input);

    typeText(input, keys);
    const QString typed = input->text();
    // Enter only leads to the button: nothing is checked and nothing is typed.
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), controlla);
    QCOMPARE(recorder.count(), 0);
    QCOMPARE(input->text(), typed);
    QVERIFY(dialog->isVisible());

    // The button then needs its own press.
    QTest::keyClick(controlla, Qt::Key_Return);
    QCOMPARE(recorder.count(), 1);
    QCOMPARE(recorder.lastText(), message);
    QCOMPARE(recorder.lastKind(), kind);
    QCOMPARE(dialog->isVisible(), !closes);
    if (closes) {
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
    } else {
        QCOMPARE(QApplication::focusWidget(), input);
        QCOMPARE(input->text(), typed);
    }
}

void TestCheckDialogs::chiudiClosesWithoutMessage_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("keys");
    QTest::newRow("tax code") << "TfrmCodFisc"
                              << "AAABBB00A01A000I";
    QTest::newRow("VAT number") << "TfrmPartitaIva"
                                << "12345670017";
    QTest::newRow("IBAN") << "TfrmIban"
                          << "IT";
    QTest::newRow("payment card") << "TfrmCarta"
                                  << "";
}

void TestCheckDialogs::chiudiClosesWithoutMessage()
{
    QFETCH(QString, className);
    QFETCH(QString, keys);
    const DialogKind &kind = dialogKind(className);
    std::unique_ptr<QDialog> dialog(kind.create());
    MessageRecorder recorder;
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    typeText(dialog->findChild<QLineEdit *>(QLatin1String(kind.input)), keys);
    QTest::mouseClick(
        dialog->findChild<QPushButton *>(QStringLiteral("btnChiudi")), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(recorder.count(), 0);
}

void TestCheckDialogs::openWithInitialText_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("initialText");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("closes");
    QTest::newRow("tax code") << "TfrmCodFisc"
                              << "RSSMRA85T10A562S" << kTaxValid << true;
    QTest::newRow("tax code in lower case") << "TfrmCodFisc"
                                            << "rssmra85t10a562s" << kTaxValid << true;
    QTest::newRow("empty tax code") << "TfrmCodFisc"
                                    << "" << kTaxLength << false;
    // A card's tax code button hands a tax code of digits to the VAT number check.
    QTest::newRow("VAT number") << "TfrmPartitaIva"
                                << "07759121200" << kVatValid + QStringLiteral("Bologna 2.")
                                << true;
    QTest::newRow("IBAN") << "TfrmIban"
                          << "IT60X0542811101000000123456" << kIbanValid << true;
    QTest::newRow("empty IBAN") << "TfrmIban"
                                << "" << kIbanLength << false;
    QTest::newRow("payment card") << "TfrmCarta"
                                  << "5555555555554444"
                                  << kCardValid.arg(u"5555555555554444", u"MasterCard") << true;
}

void TestCheckDialogs::openWithInitialText()
{
    QFETCH(QString, className);
    QFETCH(QString, initialText);
    QFETCH(QString, message);
    QFETCH(bool, closes);
    const DialogKind &kind = dialogKind(className);
    MessageRecorder recorder;
    QPointer<QDialog> opened;
    QString shownText;
    bool focusOnInput = false;
    bool stayedOpen = false;

    onNextModal([&](QWidget *modal) {
        opened = qobject_cast<QDialog *>(modal);
        if (!opened)
            return;
        auto *input = opened->findChild<QLineEdit *>(QLatin1String(kind.input));
        if (opened->objectName() != className || !input || !QTest::qWaitForWindowActive(opened)) {
            opened->reject();
            return;
        }
        shownText = input->text();
        focusOnInput = QApplication::focusWidget() == input;
        QTest::mouseClick(
            opened->findChild<QPushButton *>(QStringLiteral("btnControlla")), Qt::LeftButton);
        stayedOpen = opened->isVisible();
        if (stayedOpen)
            QTest::mouseClick(
                opened->findChild<QPushButton *>(QStringLiteral("btnChiudi")), Qt::LeftButton);
    });
    kind.check(initialText);

    QCOMPARE(shownText, initialText.toUpper());
    QVERIFY(focusOnInput);
    QCOMPARE(recorder.count(), 1);
    QCOMPARE(recorder.lastText(), message);
    QCOMPARE(stayedOpen, !closes);
    // The dialog is gone once the check returns.
    QVERIFY(opened.isNull());
}

QTEST_MAIN(TestCheckDialogs)
#include "tst_checkdialogs.moc"
