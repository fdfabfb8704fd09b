#pragma once
#include <QString>
#include <QStringList>

// The help texts of the program, kept in one place for the help window and for the help
// document Guida.pdf. A topic has a one-line title ending with a full stop and a body of
// paragraphs; a paragraph holds no line break (the help window joins them with an empty
// line and wraps them).
struct HelpTopic
{
    QString title;
    QStringList paragraphs;
};

// The help text of a screen, by its class name ("TfrmMagazzino"). Screens that share a
// text (the inventory selection and list, the two movement summaries and their
// selections) give the same topic. An unknown class gives an empty topic.
HelpTopic helpTopic(const QString &screenClass);

// The class names of the distinct topics, in the order of the help document.
QStringList helpDocumentOrder();
