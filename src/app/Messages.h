#pragma once
#include "app/Notice.h"

#include <QString>

#include <functional>

class QWidget;

// Every message box of the program goes through here. Warning, error and information
// boxes show OK and Annulla, confirmations Sì and No, plain boxes OK alone; the buttons
// read Italian because Qt's own catalogue is loaded at start-up. Texts are shown exactly
// as given, line breaks included.
namespace Messages {

using Kind = Notice::Kind;
enum class Answer { Ok, Cancel, Yes, No, Other };

Answer show(QWidget *parent, Kind kind, const QString &text);
// The notice a part of the program gave; an empty notice shows nothing (answers Ok).
Answer show(QWidget *parent, const Notice &notice);

inline void warning(QWidget *parent, const QString &text)
{
    show(parent, Kind::Warning, text);
}
inline void error(QWidget *parent, const QString &text)
{
    show(parent, Kind::Error, text);
}
inline void information(QWidget *parent, const QString &text)
{
    show(parent, Kind::Information, text);
}
inline void plain(QWidget *parent, const QString &text)
{
    show(parent, Kind::Plain, text);
}
// True when the user answers Sì.
inline bool confirm(QWidget *parent, const QString &text)
{
    return show(parent, Kind::Confirmation, text) == Answer::Yes;
}

// A confirmation with a third button after Sì and No, reading otherButton; Answer::Other
// when the user presses it (the handler of a test receives a confirmation).
Answer confirmOrOther(QWidget *parent, const QString &text, const QString &otherButton);

// Tests install a handler that receives every message instead of a box and returns the
// scripted answer; an empty handler brings the boxes back.
using Handler = std::function<Answer(Kind, const QString &)>;
void setHandler(Handler handler);

} // namespace Messages
