// The yardstick of the start-up benchmark: a bare Qt Widgets program with one main window
// and a dozen controls, started and stopped the way the program is (with
// MERVENTA_STARTUP_PROBE=1 it prints its window's name once the window is on the screen
// and ends at once).
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSpinBox>
#include <QTextEdit>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

namespace {

class Probe : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose) {
            auto *window = qobject_cast<QWindow *>(watched);
            if (window && window->isExposed()) {
                std::printf("BareWindow\n");
                std::fflush(stdout);
                std::_Exit(0);
            }
        }
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Probe probe;
    if (qEnvironmentVariable("MERVENTA_STARTUP_PROBE") == QLatin1String("1"))
        app.installEventFilter(&probe);

    QMainWindow window;
    window.setObjectName(QStringLiteral("BareWindow"));
    auto *central = new QWidget;
    auto *form = new QFormLayout(central);
    form->addRow(QStringLiteral("Codice"), new QLineEdit);
    form->addRow(QStringLiteral("Descrizione"), new QLineEdit);
    form->addRow(QStringLiteral("Marca"), new QLineEdit);
    form->addRow(QStringLiteral("Modello"), new QLineEdit);
    form->addRow(QStringLiteral("Giacenza"), new QSpinBox);
    form->addRow(QStringLiteral("Costo"), new QLineEdit);
    auto *vat = new QComboBox;
    vat->addItems({ QStringLiteral("4"), QStringLiteral("10"), QStringLiteral("22") });
    form->addRow(QStringLiteral("IVA"), vat);
    form->addRow(new QCheckBox(QStringLiteral("Sottoscorta")));
    form->addRow(QStringLiteral("Note"), new QTextEdit);
    auto *buttons = new QHBoxLayout;
    for (const char *text : { "Nuovo", "Salva", "Esci" })
        buttons->addWidget(new QPushButton(QString::fromLatin1(text)));
    form->addRow(buttons);
    form->addRow(new QLabel(QStringLiteral("Pronto")));
    window.setCentralWidget(central);
    window.show();
    return QApplication::exec();
}
