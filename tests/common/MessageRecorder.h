#pragma once
#include "app/Messages.h"

#include <QList>
#include <QString>

// Records every message the program shows instead of opening a box, and answers with the
// scripted answers in order (then with defaultAnswer). Restores the boxes on destruction.
class MessageRecorder
{
public:
    struct Shown
    {
        Messages::Kind kind;
        QString text;
    };

    explicit MessageRecorder(Messages::Answer defaultAnswer = Messages::Answer::Ok)
        : m_default(defaultAnswer)
    {
        Messages::setHandler([this](Messages::Kind kind, const QString &text) {
            shown.append({ kind, text });
            return answers.isEmpty() ? m_default : answers.takeFirst();
        });
    }
    ~MessageRecorder() { Messages::setHandler({}); }
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    QString lastText() const { return shown.isEmpty() ? QString() : shown.last().text; }
    Messages::Kind lastKind() const { return shown.last().kind; }
    int count() const { return int(shown.size()); }
    void clear() { shown.clear(); }
    // Takes the first message shown out of the list when it reads text (a question the
    // test answers on its way to what it checks); false, and nothing taken, otherwise.
    bool takeFirst(const QString &text)
    {
        if (shown.isEmpty() || shown.first().text != text)
            return false;
        shown.removeFirst();
        return true;
    }

    QList<Shown> shown;
    QList<Messages::Answer> answers;

private:
    Messages::Answer m_default;
};
