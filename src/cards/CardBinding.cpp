#include "cards/CardBinding.h"

#include "storage/TextForms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

#include <QtDebug>

CardBinding::CardBinding(const QWidget *card, const RecordLayout &layout, const Config &config)
    : m_layout(&layout)
{
    for (const QString &name : config.unbound) {
        if (layout.indexOf(name) < 0)
            m_problems << QStringLiteral("%1 is not a field of the record").arg(name);
    }
    for (auto it = config.checks.cbegin(); it != config.checks.cend(); ++it) {
        const int field = layout.indexOf(it.key());
        if (field < 0)
            m_problems << QStringLiteral("%1 is not a field of the record").arg(it.key());
        else
            m_checks.insert(field, it.value());
    }
    m_controls.resize(layout.fieldCount());
    for (int i = 0; i < layout.fieldCount(); ++i) {
        const QString name = layout.fieldName(i);
        QWidget *control = controlFor(card, name);
        const bool unbound = config.unbound.contains(name);
        if (unbound) {
            if (control)
                m_problems << QStringLiteral("%1 is unbound but has the control %2")
                                  .arg(name, control->objectName());
            continue;
        }
        if (!control) {
            m_problems << QStringLiteral("%1 has no control").arg(name);
            continue;
        }
        if (qobject_cast<QCheckBox *>(control) && !m_checks.contains(i))
            m_problems << QStringLiteral("%1 is a check box without its two texts").arg(name);
        else if (m_checks.contains(i) && !qobject_cast<QCheckBox *>(control))
            m_problems << QStringLiteral("%1 has check texts but is no check box").arg(name);
        m_controls[i] = control;
    }
    if (!m_problems.isEmpty()) {
        qCritical().noquote() << "CardBinding of" << card->objectName() << ":"
                              << m_problems.join(QStringLiteral("; "));
    }
}

QWidget *CardBinding::control(QStringView fieldName) const
{
    const int i = m_layout->indexOf(fieldName);
    return i >= 0 ? control(i) : nullptr;
}

void CardBinding::load(const Record &record) const
{
    for (int i = 0; i < m_layout->fieldCount(); ++i)
        setText(i, TrimControl(record.value(i)));
}

void CardBinding::store(Record &record) const
{
    for (int i = 0; i < m_layout->fieldCount(); ++i) {
        if (m_controls.value(i))
            record.setValue(i, text(i));
    }
}

Record CardBinding::record() const
{
    Record r(*m_layout);
    store(r);
    return r;
}

QString CardBinding::text(int field) const
{
    const QWidget *c = control(field);
    if (!c)
        return {};
    const auto check = m_checks.constFind(field);
    return check != m_checks.cend() ? checkText(c, *check) : controlText(c);
}

void CardBinding::setText(int field, const QString &text) const
{
    QWidget *c = control(field);
    if (!c)
        return;
    const auto check = m_checks.constFind(field);
    if (check != m_checks.cend())
        setCheckText(c, *check, text);
    else
        setControlText(c, text);
}

QWidget *CardBinding::controlFor(const QWidget *card, const QString &fieldName)
{
    static const char *const prefixes[] = { "txt", "lbl", "mem", "chk" };
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

QString CardBinding::controlText(const QWidget *control)
{
    if (auto *edit = qobject_cast<const QLineEdit *>(control))
        return edit->text();
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (auto *plain = qobject_cast<const QPlainTextEdit *>(control))
        return plain->toPlainText();
    if (auto *rich = qobject_cast<const QTextEdit *>(control))
        return rich->toPlainText();
    if (auto *combo = qobject_cast<const QComboBox *>(control))
        return combo->currentText();
    return {};
}

void CardBinding::setControlText(QWidget *control, const QString &text)
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
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        // An empty text clears the selection, as a new card shows it.
        const int index = text.isEmpty() ? -1 : combo->findText(text);
        combo->setCurrentIndex(index);
        if (combo->isEditable())
            combo->setEditText(text);
    }
}

QString CardBinding::checkText(const QWidget *control, const CheckTexts &texts)
{
    const auto *check = qobject_cast<const QCheckBox *>(control);
    return check && check->isChecked() ? texts.checked : texts.unchecked;
}

void CardBinding::setCheckText(QWidget *control, const CheckTexts &texts, const QString &text)
{
    auto *check = qobject_cast<QCheckBox *>(control);
    if (!check)
        return;
    if (text == texts.checked)
        check->setChecked(true);
    else if (text == texts.unchecked || texts.other == OtherText::Unchecked)
        check->setChecked(false);
}
