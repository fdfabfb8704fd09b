#pragma once
#include "storage/Record.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

// Record fields reach the controls of a card by name: field Codice <-> the child named
// txtCodice, lblCodice, memCodice or chkCodice of the card's own window (hidden labels
// included). Built once per card after its form is set up: every field is resolved to
// its control there, and a field without a control, a check box without its pair of
// texts, or a configured name that is no field of the layout is a problem reported at
// once (problems(), and a critical message in the log), never a field skipped in silence.
class CardBinding
{
public:
    // What a check box shows for a stored text that is neither of its two texts.
    enum class OtherText { Unchecked, Keep };
    // The two texts a check box stores ("Sì" checked, "No" unchecked).
    struct CheckTexts
    {
        QString checked;
        QString unchecked;
        OtherText other = OtherText::Unchecked;
    };
    struct Config
    {
        // Fields of the layout that no control of the card shows.
        QStringList unbound;
        // The texts of each field shown by a check box.
        QHash<QString, CheckTexts> checks;
    };

    CardBinding(const QWidget *card, const RecordLayout &layout, const Config &config = {});

    const RecordLayout &layout() const { return *m_layout; }
    // Every problem found at construction, one line each; empty for a sound card.
    QStringList problems() const { return m_problems; }

    // The control of a field (nullptr for an unbound field).
    QWidget *control(int field) const { return m_controls.value(field); }
    QWidget *control(QStringView fieldName) const;

    // Every field of the record into its control, trimmed.
    void load(const Record &record) const;
    // Every control into its field of the record (unbound fields are untouched).
    void store(Record &record) const;
    // A record of the layout built from the controls.
    Record record() const;
    // The text a field's control holds (as it would be stored), and the setting of one.
    QString text(int field) const;
    void setText(int field, const QString &text) const;

    // The control nearest to the card named by prefix + fieldName, or nullptr.
    static QWidget *controlFor(const QWidget *card, const QString &fieldName);
    // The text of an edit box, label, text box or drop-down box, and the setting of it:
    // a drop-down box selects the item of that text (none when no item has it) and an
    // editable one also shows a text that no item has.
    static QString controlText(const QWidget *control);
    static void setControlText(QWidget *control, const QString &text);
    // A check box through its two texts.
    static QString checkText(const QWidget *control, const CheckTexts &texts);
    static void setCheckText(QWidget *control, const CheckTexts &texts, const QString &text);

private:
    const RecordLayout *m_layout;
    QList<QWidget *> m_controls;
    QHash<int, CheckTexts> m_checks;
    QStringList m_problems;
};
