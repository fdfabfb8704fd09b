#include "app/FieldEntry.h"
#include "app/Widgets.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

// A small screen configured like a card: a text field, an amount field, a number field,
// an upper-case field, an image button, a push button, a label, a section and the info bar.
class Screen : public QDialog
{
public:
    Screen()
    {
        setObjectName(QStringLiteral("TfrmProva"));
        auto *layout = new QVBoxLayout(this);
        section = new QFrame(this);
        section->setObjectName(QStringLiteral("shpSezione01"));
        section->setMinimumSize(200, 40);
        auto *sectionLayout = new QVBoxLayout(section);
        label = new QLabel(QStringLiteral("Costo:"), section);
        label->setObjectName(QStringLiteral("lblCosto"));
        sectionLayout->addWidget(label);
        layout->addWidget(section);
        for (const char *name : {"txtNome", "txtCosto", "txtScorta", "txtSigla"}) {
            auto *edit = new QLineEdit(this);
            edit->setObjectName(QLatin1StringView(name));
            layout->addWidget(edit);
        }
        auto *mese = new QComboBox(this);
        mese->setObjectName(QStringLiteral("txtMese"));
        mese->addItems({QStringLiteral("Gennaio"), QStringLiteral("Febbraio")});
        layout->addWidget(mese);
        cmdSalva = new QToolButton(this);
        cmdSalva->setObjectName(QStringLiteral("cmdSalva"));
        cmdSalva->setText(QStringLiteral("Salva"));
        Widgets::makeImageButton(cmdSalva, QStringLiteral("document-save.png"));
        layout->addWidget(cmdSalva);
        btnCalcola = new QPushButton(QStringLiteral("Calcola"), this);
        btnCalcola->setObjectName(QStringLiteral("btnCalcola"));
        btnCalcola->setDefault(true); // Enter must not press it all the same
        layout->addWidget(btnCalcola);
        panInfo = new QLabel(QStringLiteral("Pronto"), this);
        layout->addWidget(panInfo);
        Widgets::styleInfoBar(panInfo);

        entry = new FieldEntry(this);
        entry->setEnterOrder({QStringLiteral("txtNome"), QStringLiteral("txtCosto"),
                              QStringLiteral("txtScorta"), QStringLiteral("txtSigla"),
                              QStringLiteral("btnCalcola")});
        entry->addAmountFields({QStringLiteral("txtCosto")});
        entry->addNumberFields({QStringLiteral("txtScorta")});
        entry->addUpperCaseFields({QStringLiteral("txtSigla")});
        entry->setInfoBar(panInfo);
        entry->setHints({{QStringLiteral("cmdSalva"), QStringLiteral("Salva la scheda.")},
                         {QStringLiteral("btnCalcola"), QStringLiteral("Calcola il prezzo.")}});
        entry->addBackground({QStringLiteral("shpSezione01")});
    }

    QLineEdit *edit(const char *name) { return findChild<QLineEdit *>(QLatin1StringView(name)); }

    QFrame *section;
    QLabel *label;
    QToolButton *cmdSalva;
    QPushButton *btnCalcola;
    QLabel *panInfo;
    FieldEntry *entry;
};

class TestFieldEntry : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void enterFollowsTheFixedOrder();
    void keyFilters_data();
    void keyFilters();
    void shortcutsAndTabAreDropped();
    void highlightShowsOnlyWhileFocused();
    void leavingRuleRunsWhenFieldIsLeft();
    void imageButtonKeepsFocusAndPendingRule();
    void upperCaseFieldChangesWhileTyping();
    void hintsFollowTheMouse();

private:
    Screen *m_screen = nullptr;
};

void TestFieldEntry::init()
{
    m_screen = new Screen;
    m_screen->show();
    m_screen->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_screen));
}

void TestFieldEntry::cleanup()
{
    delete m_screen;
    m_screen = nullptr;
}

void TestFieldEntry::enterFollowsTheFixedOrder()
{
    bool pressed = false;
    connect(m_screen->btnCalcola, &QPushButton::clicked, this, [&] { pressed = true; });
    QLineEdit *nome = m_screen->edit("txtNome");
    nome->setFocus();
    QTest::keyClicks(nome, QStringLiteral("ab"));
    QTest::keyClick(nome, Qt::Key_Return);
    QCOMPARE(nome->text(), QStringLiteral("ab"));
    QCOMPARE(QApplication::focusWidget(), m_screen->edit("txtCosto"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), m_screen->edit("txtScorta"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    // The last field hands the focus to the button, which still needs its own press.
    QCOMPARE(QApplication::focusWidget(), m_screen->btnCalcola);
    QVERIFY(!pressed);
    QVERIFY(m_screen->isVisible());
}

void TestFieldEntry::keyFilters_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("amount takes digits and commas") << "txtCosto" << "12,5" << "12,5";
    QTest::newRow("amount drops minus, point, letters, blanks")
        << "txtCosto" << "-1.a 2" << "12";
    QTest::newRow("amount takes several commas") << "txtCosto" << "1,2,3" << "1,2,3";
    QTest::newRow("number drops the comma") << "txtScorta" << "3,5" << "35";
    QTest::newRow("number drops letters") << "txtScorta" << "abc" << "";
    QTest::newRow("text field takes everything") << "txtNome" << "a-1.b" << "a-1.b";
}

void TestFieldEntry::keyFilters()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QLineEdit *edit = m_screen->findChild<QLineEdit *>(field);
    edit->setFocus();
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), expected);
    // Backspace and the arrows always pass.
    if (!expected.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_Left);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text().size(), expected.size() - 1);
    }
}

void TestFieldEntry::shortcutsAndTabAreDropped()
{
    QLineEdit *costo = m_screen->edit("txtCosto");
    costo->setFocus();
    QTest::keyClicks(costo, QStringLiteral("5"));
    QTest::keyClick(costo, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), costo);
    QApplication::clipboard()->setText(QStringLiteral("abc"));
    QTest::keyClick(costo, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(costo->text(), QStringLiteral("5"));
    // A text field keeps the usual keys.
    QLineEdit *nome = m_screen->edit("txtNome");
    nome->setFocus();
    QTest::keyClick(nome, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(nome->text(), QStringLiteral("abc"));
}

void TestFieldEntry::highlightShowsOnlyWhileFocused()
{
    QLineEdit *nome = m_screen->edit("txtNome");
    QWidget *eff = m_screen->findChild<QWidget *>(QStringLiteral("effNome"));
    QVERIFY(eff);
    QCOMPARE(m_screen->entry->highlightFor(nome), eff);
    m_screen->edit("txtSigla")->setFocus();
    QVERIFY(!eff->isVisible());
    nome->setFocus();
    QVERIFY(eff->isVisible());
    QCOMPARE(eff->geometry(), nome->geometry().adjusted(-4, -4, 4, 4));
    m_screen->edit("txtCosto")->setFocus();
    QVERIFY(!eff->isVisible());
    QVERIFY(m_screen->findChild<QWidget *>(QStringLiteral("effCosto"))->isVisible());
    // A drop-down box the user picks from has its highlight too.
    auto *mese = m_screen->findChild<QComboBox *>(QStringLiteral("txtMese"));
    mese->setFocus();
    QWidget *effMese = m_screen->findChild<QWidget *>(QStringLiteral("effMese"));
    QVERIFY(effMese);
    QVERIFY(effMese->isVisible());
    QVERIFY(!m_screen->findChild<QWidget *>(QStringLiteral("effCosto"))->isVisible());
}

void TestFieldEntry::leavingRuleRunsWhenFieldIsLeft()
{
    QLineEdit *costo = m_screen->edit("txtCosto");
    QLineEdit *scorta = m_screen->edit("txtScorta");
    costo->setFocus();
    QTest::keyClicks(costo, QStringLiteral("3,14159"));
    scorta->setFocus();
    QCOMPARE(costo->text(), QStringLiteral("3,1416"));
    // Text that arrives by pasting with the mouse is not filtered; leaving cleans it.
    scorta->setText(QStringLiteral("12abc"));
    costo->setFocus();
    QCOMPARE(scorta->text(), QStringLiteral("0"));
    costo->setText(QStringLiteral("dieci"));
    scorta->setFocus();
    QCOMPARE(costo->text(), QStringLiteral("0,00"));
}

void TestFieldEntry::imageButtonKeepsFocusAndPendingRule()
{
    QString seenByButton;
    connect(m_screen->cmdSalva, &QToolButton::clicked, this,
            [&] { seenByButton = m_screen->edit("txtCosto")->text(); });
    QString seenByPush;
    connect(m_screen->btnCalcola, &QPushButton::clicked, this,
            [&] { seenByPush = m_screen->edit("txtCosto")->text(); });

    QLineEdit *costo = m_screen->edit("txtCosto");
    costo->setFocus();
    QTest::keyClicks(costo, QStringLiteral("3,14159"));
    QTest::mouseClick(m_screen->cmdSalva, Qt::LeftButton);
    QCOMPARE(seenByButton, QStringLiteral("3,14159"));
    QCOMPARE(QApplication::focusWidget(), costo);
    QCOMPARE(costo->text(), QStringLiteral("3,14159"));

    // A push button takes the focus on press, so the leaving rule runs before its action.
    QTest::mouseClick(m_screen->btnCalcola, Qt::LeftButton);
    QCOMPARE(seenByPush, QStringLiteral("3,1416"));
}

void TestFieldEntry::upperCaseFieldChangesWhileTyping()
{
    QLineEdit *sigla = m_screen->edit("txtSigla");
    sigla->setFocus();
    QTest::keyClicks(sigla, QStringLiteral("mi "));
    QCOMPARE(sigla->text(), QStringLiteral("MI"));
    QTest::keyClicks(sigla, QStringLiteral("x"));
    QCOMPARE(sigla->text(), QStringLiteral("MIX"));
}

void TestFieldEntry::hintsFollowTheMouse()
{
    QLabel *info = m_screen->panInfo;
    QCOMPARE(info->text(), QStringLiteral("Pronto"));
    QTest::mouseMove(m_screen->cmdSalva, m_screen->cmdSalva->rect().center());
    QTRY_COMPARE(info->text(), QStringLiteral("Salva la scheda."));
    // Over a field or a label the last hint stays.
    QTest::mouseMove(m_screen->edit("txtNome"), QPoint(5, 5));
    QTest::mouseMove(m_screen->label, QPoint(2, 2));
    QCOMPARE(info->text(), QStringLiteral("Salva la scheda."));
    // Over a section of the background the bar empties.
    const QPoint free(m_screen->section->width() - 3, m_screen->section->height() - 3);
    QTest::mouseMove(m_screen->section, free);
    QTRY_COMPARE(info->text(), QString());
    QTest::mouseMove(m_screen->btnCalcola, m_screen->btnCalcola->rect().center());
    QTRY_COMPARE(info->text(), QStringLiteral("Calcola il prezzo."));
}

QTEST_MAIN(TestFieldEntry)
#include "tst_fieldentry.moc"
