#include "app/CardBinding.h"

#include "storage/TextForms.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace CardBinding {

QWidget *controlFor(const QWidget *card, const QString &fieldName)
{
    static const char *const prefixes[] = {"txt", "lbl", "mem", "chk"};
    for (const char *prefix : prefixes) {
        // A dialog opened over the card is its child and may name its own fields alike
        // (txtCodice, txtFile01): only the card's own window counts.
        const auto found = card->findChildren<QWidget *>(QLatin1StringView(prefix) + fieldName);
        for (QWidget *w : found) {
            if (w->window() == card->window())
                return w;
        }
    }
    return nullptr;
}

QString controlText(const QWidget *control)
{
    if (auto *edit = qobject_cast<const QLineEdit *>(control))
        return edit->text();
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (auto *plain = qobject_cast<const QPlainTextEdit *>(control))
        return plain->toPlainText();
    if (auto *rich = qobject_cast<const QTextEdit *>(control))
        return rich->toPlainText();
    if (auto *check = qobject_cast<const QCheckBox *>(control))
        return check->isChecked() ? QStringLiteral("True") : QStringLiteral("False");
    return {};
}

void setControlText(QWidget *control, const QString &text)
{
    if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        edit->setText(text);
        edit->setCursorPosition(0);
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        label->setText(text);
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(control)) {
        plain->setPlainText(text);
    } else if (auto *rich = qobject_cast<QTextEdit *>(control)) {
        rich->setPlainText(text);
    } else if (auto *check = qobject_cast<QCheckBox *>(control)) {
        check->setChecked(text.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0);
    }
}

void loadRecord(QWidget *card, const Record &record)
{
    const RecordLayout &layout = record.layout();
    for (int i = 0; i < layout.fieldCount(); ++i) {
        if (QWidget *control = controlFor(card, layout.fieldName(i)))
            setControlText(control, TrimControl(record.value(i)));
    }
}

void storeRecord(const QWidget *card, Record &record)
{
    const RecordLayout &layout = record.layout();
    for (int i = 0; i < layout.fieldCount(); ++i) {
        if (const QWidget *control = controlFor(card, layout.fieldName(i)))
            record.setValue(i, controlText(control));
    }
}

} // namespace CardBinding
