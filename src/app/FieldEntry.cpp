#include "app/FieldEntry.h"

#include "app/Palette.h"
#include "storage/TextForms.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QValidator>

#include <algorithm>

namespace {

// The focus highlight: a yellow rectangle behind its field, 4 pixels larger on every
// side, whose border fades from yellow to white.
class FocusHighlight : public QWidget
{
public:
    explicit FocusHighlight(QWidget *parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QColor yellow(Palette::kFocusYellow);
        const QColor white(Palette::kWhite);
        QRect r = rect();
        for (int i = 0; i < 4; ++i) {
            const double t = (i + 1) / 4.0;
            const QColor c(int(white.red() + (yellow.red() - white.red()) * t),
                int(white.green() + (yellow.green() - white.green()) * t),
                int(white.blue() + (yellow.blue() - white.blue()) * t));
            p.fillRect(r, c);
            r.adjust(1, 1, -1, -1);
        }
        p.fillRect(r, yellow);
    }
};

constexpr int kHighlightMargin = 4;
// QLineEdit's own maximum length: no limit.
constexpr int kNoLimit = 32767;

FieldEntry::ErrorHandler &errorHandler()
{
    static FieldEntry::ErrorHandler handler;
    return handler;
}

// A typing limit: what the user inserts (typing, pasting, dropping) is cut to the room the
// limit leaves, as QLineEdit's maxLength would cut it; text the program sets is taken
// whole. QLineEdit runs the validator after every change; the program's setText clears
// the edit history, so a change that leaves the box unmodified came from the program.
class TypingLimit : public QValidator
{
public:
    TypingLimit(QLineEdit *edit, int limit)
        : QValidator(edit)
        , m_edit(edit)
        , m_limit(limit)
        , m_last(edit->text())
    {
    }

    int limit() const { return m_limit; }

    State validate(QString &input, int &pos) const override
    {
        if (m_edit->isModified() && input.size() > m_limit) {
            // The user's change replaced the middle of the last text: what both share at
            // the start and at the end was kept, the rest was inserted.
            const qsizetype shorter = std::min(m_last.size(), input.size());
            qsizetype head = 0;
            while (head < shorter && m_last[head] == input[head])
                ++head;
            qsizetype tail = 0;
            while (tail < shorter - head
                && m_last[m_last.size() - 1 - tail] == input[input.size() - 1 - tail])
                ++tail;
            const qsizetype inserted = input.size() - head - tail;
            const qsizetype room = std::max<qsizetype>(0, m_limit - (head + tail));
            if (inserted > room) {
                input = input.left(head + room) + input.right(tail);
                pos = int(head + room);
            }
        }
        m_last = input;
        return Acceptable;
    }

private:
    QLineEdit *m_edit;
    int m_limit;
    mutable QString m_last;
};

// The inputs of a screen: edit boxes, and the drop-down boxes the user picks a value from.
bool isEditField(const QWidget *w)
{
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QPlainTextEdit *>(w)
        || qobject_cast<const QTextEdit *>(w) || qobject_cast<const QComboBox *>(w);
}

} // namespace

FieldEntry::FieldEntry(QWidget *screen, Highlights highlights)
    : QObject(screen)
    , m_screen(screen)
{
    m_background.insert(screen);
    screen->setMouseTracking(true);
    screen->installEventFilter(this);
    setupFields(highlights);
}

void FieldEntry::setConfigurationErrorHandler(ErrorHandler handler)
{
    errorHandler() = std::move(handler);
}

QWidget *FieldEntry::child(const QString &name) const
{
    return m_screen->findChild<QWidget *>(name);
}

QWidget *FieldEntry::configuredChild(const QString &name) const
{
    QWidget *w = child(name);
    if (!w) {
        const QString message = QStringLiteral("FieldEntry: %1 has no control named \"%2\"")
                                    .arg(m_screen->objectName(), name);
        if (errorHandler()) {
            errorHandler()(message);
        } else {
            qCritical("%s", qPrintable(message));
            Q_ASSERT_X(false, "FieldEntry", "a configured name is not a child of the screen");
        }
    }
    return w;
}

FieldEntry::FieldRules &FieldEntry::rulesFor(const QString &name)
{
    if (QWidget *w = configuredChild(name))
        watch(w);
    return m_rules[name];
}

bool FieldEntry::isEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

int FieldEntry::typingLimit(const QLineEdit *edit)
{
    if (const auto *limit = dynamic_cast<const TypingLimit *>(edit->validator()))
        return limit->limit();
    return edit->maxLength();
}

void FieldEntry::setTypingLimit(const QString &field, int limit)
{
    if (auto *edit = qobject_cast<QLineEdit *>(configuredChild(field)))
        limitTyping(edit, limit);
}

void FieldEntry::limitTyping(QLineEdit *edit, int limit)
{
    if (edit->validator() && !dynamic_cast<const TypingLimit *>(edit->validator()))
        return; // a field with a validator of its own keeps Qt's maxLength
    delete edit->validator();
    edit->setMaxLength(kNoLimit);
    edit->setValidator(new TypingLimit(edit, limit));
}

void FieldEntry::watch(QWidget *w)
{
    if (m_watched.contains(w))
        return;
    m_watched.insert(w);
    w->installEventFilter(this);
    connect(w, &QObject::destroyed, this, [this, w] { m_watched.remove(w); });
}

void FieldEntry::setupFields(Highlights highlights)
{
    // Every line edit of the screen, those inside drop-down boxes too.
    const auto edits = m_screen->findChildren<QLineEdit *>();
    for (QLineEdit *edit : edits) {
        if (edit->maxLength() < kNoLimit)
            limitTyping(edit, edit->maxLength());
    }

    const auto fields = m_screen->findChildren<QWidget *>();
    for (QWidget *field : fields) {
        const QString name = field->objectName();
        if (!name.startsWith(QLatin1StringView("txt")) || !isEditField(field))
            continue;
        watch(field);
        if (highlights == Highlights::None)
            continue;
        const QString effName = QStringLiteral("eff") + name.mid(3);
        QWidget *eff = m_screen->findChild<QWidget *>(effName);
        if (!eff && field->parentWidget()) {
            eff = new FocusHighlight(field->parentWidget());
            eff->setObjectName(effName);
        }
        if (eff) {
            eff->hide();
            m_highlights.insert(field, eff);
            // stackUnder() puts the highlight before its field among the children, so
            // it is destroyed first when the screen goes; the field's last focus-out
            // must not reach it then.
            connect(eff, &QObject::destroyed, this, [this, field] { m_highlights.remove(field); });
        }
    }
}

QWidget *FieldEntry::highlightFor(const QWidget *field) const
{
    return m_highlights.value(field, nullptr);
}

void FieldEntry::placeHighlight(QWidget *field)
{
    QWidget *eff = m_highlights.value(field, nullptr);
    if (!eff)
        return;
    eff->setGeometry(field->geometry().adjusted(
        -kHighlightMargin, -kHighlightMargin, kHighlightMargin, kHighlightMargin));
    eff->stackUnder(field);
}

void FieldEntry::setEnterOrder(const QStringList &names)
{
    for (qsizetype i = 0; i + 1 < names.size(); ++i)
        setEnterTarget(names[i], names[i + 1]);
}

void FieldEntry::setEnterTarget(const QString &field, const QString &target)
{
    configuredChild(target);
    rulesFor(field).enterTarget = target;
}

void FieldEntry::addAmountFields(const QStringList &names, bool formatOnLeave)
{
    for (const QString &name : names) {
        FieldRules &rules = rulesFor(name);
        rules.filter = Filter::Amount;
        if (formatOnLeave) {
            rules.leavingRule
                = [](QLineEdit *edit) { edit->setText(FormatAmountText(edit->text(), 4)); };
        }
    }
}

void FieldEntry::addNumberFields(const QStringList &names, bool formatOnLeave)
{
    for (const QString &name : names) {
        FieldRules &rules = rulesFor(name);
        rules.filter = Filter::Number;
        if (formatOnLeave)
            rules.leavingRule
                = [](QLineEdit *edit) { edit->setText(FormatCountText(edit->text())); };
    }
}

void FieldEntry::addTextRule(const QStringList &names, QString (*rule)(const QString &))
{
    for (const QString &name : names) {
        QWidget *field = configuredChild(name);
        auto *edit = qobject_cast<QLineEdit *>(field);
        if (auto *box = qobject_cast<QComboBox *>(field))
            edit = box->lineEdit();
        if (!edit)
            continue;
        connect(edit, &QLineEdit::textChanged, edit, [edit, rule](const QString &text) {
            const QString wanted = rule(text);
            if (wanted != text) {
                const int cursor = edit->cursorPosition();
                edit->setText(wanted);
                edit->setCursorPosition(std::min<int>(cursor, int(wanted.size())));
            }
        });
    }
}

void FieldEntry::addUpperCaseFields(const QStringList &names)
{
    addTextRule(names, [](const QString &text) { return TrimControl(UpperAscii(text)); });
}

void FieldEntry::addTrimmedFields(const QStringList &names)
{
    addTextRule(names, [](const QString &text) { return TrimControl(text); });
}

void FieldEntry::addKeysOnlyFields(const QStringList &names)
{
    for (const QString &name : names) {
        if (QWidget *field = configuredChild(name)) {
            field->setContextMenuPolicy(Qt::NoContextMenu);
            field->setAcceptDrops(false);
        }
    }
}

void FieldEntry::setLeavingRule(const QString &field, std::function<void(QLineEdit *)> rule)
{
    rulesFor(field).leavingRule = std::move(rule);
}

void FieldEntry::setKeyHook(const QString &field, std::function<bool(QKeyEvent *)> hook)
{
    rulesFor(field).keyHook = std::move(hook);
}

void FieldEntry::setInfoBar(QLabel *infoBar)
{
    m_infoBar = infoBar;
}

void FieldEntry::setHints(const QList<std::pair<QString, QString>> &hints)
{
    for (const auto &[name, hint] : hints) {
        if (QWidget *w = configuredChild(name)) {
            m_hints.insert(w, hint);
            w->setMouseTracking(true);
            watch(w);
        }
    }
}

void FieldEntry::addBackground(const QStringList &names)
{
    for (const QString &name : names) {
        if (QWidget *w = configuredChild(name)) {
            m_background.insert(w);
            w->setMouseTracking(true);
            watch(w);
        }
    }
}

bool FieldEntry::handleKeyPress(QWidget *field, QKeyEvent *event)
{
    const auto it = m_rules.constFind(field->objectName());
    const FieldRules *rules = it == m_rules.cend() ? nullptr : &it.value();
    if (rules && rules->keyHook && rules->keyHook(event))
        return true;

    const int key = event->key();
    if (isEnter(event)) {
        if (rules && !rules->enterTarget.isEmpty()) {
            if (QWidget *target = child(rules->enterTarget))
                target->setFocus(Qt::OtherFocusReason);
        }
        return true; // Enter is never typed and never presses a button
    }
    if (!rules || rules->filter == Filter::None)
        return false;

    if (key == Qt::Key_Backspace || key == Qt::Key_Delete || key == Qt::Key_Left
        || key == Qt::Key_Right)
        return false;
    // The keypad's decimal key types the decimal comma in an amount, whatever the keyboard
    // layout makes of it (a point on a US layout).
    if (rules->filter == Filter::Amount && (event->modifiers() & Qt::KeypadModifier)
        && (key == Qt::Key_Period || key == Qt::Key_Comma)) {
        if (auto *edit = qobject_cast<QLineEdit *>(field))
            edit->insert(QStringLiteral(","));
        return true;
    }
    const Qt::KeyboardModifiers mods
        = event->modifiers() & ~Qt::KeypadModifier & ~Qt::ShiftModifier;
    const QString text = event->text();
    if (mods == Qt::NoModifier && text.size() == 1) {
        const QChar ch = text[0];
        if (ch >= u'0' && ch <= u'9')
            return false;
        if (ch == u',' && rules->filter == Filter::Amount)
            return false;
    }
    return true;
}

bool FieldEntry::eventFilter(QObject *watched, QEvent *event)
{
    auto *w = qobject_cast<QWidget *>(watched);
    if (!w)
        return false;

    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // A filtered field keeps its keys from the screen's shortcuts; the key press
        // that follows is then dropped by the filter.
        const auto it = m_rules.constFind(w->objectName());
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = isEnter(key);
        if (m_watched.contains(w) && isEditField(w)
            && (enter || (it != m_rules.cend() && it->filter != Filter::None))) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::KeyPress:
        if (isEditField(w) || m_rules.contains(w->objectName()))
            return handleKeyPress(w, static_cast<QKeyEvent *>(event));
        break;
    case QEvent::FocusIn: {
        if (QWidget *eff = m_highlights.value(w, nullptr)) {
            placeHighlight(w);
            eff->show();
        }
        // An amount or number reached by Enter, Tab or the program's own focus move has its
        // whole text selected, so what is typed replaces "0,00"; a click places the cursor.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        const auto it = m_rules.constFind(w->objectName());
        if (it != m_rules.cend() && it->filter != Filter::None
            && (reason == Qt::OtherFocusReason || reason == Qt::TabFocusReason
                || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)) {
            if (auto *edit = qobject_cast<QLineEdit *>(w))
                edit->selectAll();
        }
        break;
    }
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // A message box or a menu taking the focus for a moment is not leaving the field.
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            break;
        if (QWidget *eff = m_highlights.value(w, nullptr))
            eff->hide();
        const auto it = m_rules.constFind(w->objectName());
        if (it != m_rules.cend() && it->leavingRule) {
            if (auto *edit = qobject_cast<QLineEdit *>(w))
                it->leavingRule(edit);
        }
        break;
    }
    case QEvent::Move:
    case QEvent::Resize:
        if (m_highlights.contains(w))
            placeHighlight(w);
        break;
    case QEvent::Enter:
    case QEvent::MouseMove:
        if (m_infoBar && m_hints.contains(w)) {
            m_infoBar->setText(m_hints.value(w));
        } else if (m_infoBar && m_background.contains(w) && event->type() == QEvent::MouseMove) {
            // A move that a label or field let through to the background changes nothing.
            const QPoint pos = static_cast<QMouseEvent *>(event)->position().toPoint();
            QWidget *under = w->childAt(pos);
            if (!under || m_background.contains(under))
                m_infoBar->setText(QString());
        }
        break;
    default:
        break;
    }
    return false;
}
