#pragma once
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QWidget;

// The conventions of field entry for one screen, configured by tables and realised with
// event filters:
// - focus highlight: every edit field or drop-down box txtName gets a highlight effName
//   (created when the form has none), shown only while the field has the focus;
// - Enter moves the focus along the screen's fixed order; it is neither typed nor does it
//   press a button;
// - amount fields accept digits and comma, number fields digits; Backspace, Delete, Left
//   and Right always pass; everything else (Tab and shortcuts too) is dropped; in amount
//   fields the keypad's decimal key types the comma, whatever the keyboard layout;
// - an amount or number field reached by Enter or by the program's focus moves has its
//   whole text selected, so typing replaces it; a mouse click places the cursor;
// - upper-case fields change their text while the user types;
// - a typing limit bounds what the user types or pastes into an edit box, never what the
//   program puts there: every line edit's maxLength, as the form or the screen set it
//   before the field entry was made, becomes its typing limit;
// - leaving a field hides its highlight first, then runs its leaving rule;
// - hints: the mouse over a button writes its hint into the info bar, over the screen's
//   background it empties the bar, over fields and labels it changes nothing.
// Controls are named by objectName and looked up among the screen's children. A name that
// is not a child of the screen is a fault of the screen's tables: it is reported at once
// through the configuration error handler (by default a critical message, which the
// tests make fatal), never skipped silently.
class FieldEntry : public QObject
{
    Q_OBJECT
public:
    enum class Highlights { Create, None };
    // With Highlights::None no field gets a focus highlight (the list screens' find box).
    explicit FieldEntry(QWidget *screen, Highlights highlights = Highlights::Create);

    // Receives the description of every configured name that matches no child; an empty
    // handler restores the default (a critical message).
    using ErrorHandler = std::function<void(const QString &message)>;
    static void setConfigurationErrorHandler(ErrorHandler handler);

    // Return or the keypad's Enter (key code 13).
    static bool isEnter(const QKeyEvent *event);

    // The most characters the user may type or paste into edit (32767, Qt's own maximum,
    // when it has no limit). Text the program sets is shown whole; a record field is cut
    // to its capacity only when it is stored.
    static int typingLimit(const QLineEdit *edit);
    void setTypingLimit(const QString &field, int limit);

    // Enter in names[i] moves the focus to names[i + 1]; list the first field again at
    // the end to wrap, or end with a button's name.
    void setEnterOrder(const QStringList &names);
    void setEnterTarget(const QString &field, const QString &target);

    // Digits and comma; leaving gives FormatAmountText(text, 4) unless formatOnLeave is off.
    void addAmountFields(const QStringList &names, bool formatOnLeave = true);
    // Digits only; leaving gives FormatCountText(text) unless formatOnLeave is off.
    void addNumberFields(const QStringList &names, bool formatOnLeave = true);
    // The text becomes its trimmed upper-case form (letters a-z only) at every change.
    // An editable drop-down box changes the text of its edit part.
    void addUpperCaseFields(const QStringList &names);
    // The text becomes its trimmed form at every change (edit boxes and editable drop-down
    // boxes, as above).
    void addTrimmedFields(const QStringList &names);
    // The fields take only what their keys let through: no paste from a menu and no text
    // dropped on them.
    void addKeysOnlyFields(const QStringList &names);
    // A leaving rule of the screen's own (replaces a default one of the field).
    void setLeavingRule(const QString &field, std::function<void(QLineEdit *)> rule);
    // Called on every key press in the field before anything else; return true to drop
    // the key.
    void setKeyHook(const QString &field, std::function<bool(QKeyEvent *)> hook);

    // Hints: the info bar, each button's hint, and the background widgets whose mouse
    // moves empty the bar (the screen itself always counts as background).
    void setInfoBar(QLabel *infoBar);
    void setHints(const QList<std::pair<QString, QString>> &hints);
    void addBackground(const QStringList &names);

    // The highlight of a field (effName), or nullptr.
    QWidget *highlightFor(const QWidget *field) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Filter { None, Amount, Number };
    struct FieldRules
    {
        Filter filter = Filter::None;
        QString enterTarget;
        std::function<void(QLineEdit *)> leavingRule;
        std::function<bool(QKeyEvent *)> keyHook;
    };

    QWidget *child(const QString &name) const;
    // The child named name; reports a configuration error when there is none.
    QWidget *configuredChild(const QString &name) const;
    void limitTyping(QLineEdit *edit, int limit);
    // Rewrites the text of the named fields by rule at every change of it.
    void addTextRule(const QStringList &names, QString (*rule)(const QString &));
    FieldRules &rulesFor(const QString &name);
    void watch(QWidget *w);
    void setupFields(Highlights highlights);
    bool handleKeyPress(QWidget *field, QKeyEvent *event);
    void placeHighlight(QWidget *field);

    QWidget *m_screen;
    QPointer<QLabel> m_infoBar;
    QHash<QString, FieldRules> m_rules;
    QHash<const QWidget *, QWidget *> m_highlights;
    QHash<const QObject *, QString> m_hints;
    QSet<const QObject *> m_background;
    QSet<const QObject *> m_watched;
};
