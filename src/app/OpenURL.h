#pragma once
#include "storage/TextForms.h"

#include <QString>
#include <QStringView>
#include <QUrl>

#include <functional>

class QWidget;

// The shell operation of the whole program: opens a document, folder, web address or
// "mailto:" address with the desktop's associated program. The caller's enclosing double
// quotes are removed. Nothing blocks.
namespace TMisc {

// True when the desktop took the command (a program to open it was found).
bool Open(const QString &sCommand);

// Open, and when the desktop cannot open it, a warning saying so and, for a file or a
// folder, where it is.
void OpenOrSay(QWidget *parent, const QString &sCommand);
// The text of that warning for the URL Open handed to the desktop.
QString openFailureText(const QUrl &url);

// The line a message adds to say where the program wrote a file.
QString writtenToText(const QString &path);

// The command of a card's e-mail button: "mailto:" and the trimmed address, within double
// quotes. An empty address gives a new message without a recipient.
inline QString mailto(QStringView address)
{
    return QStringLiteral("\"mailto:") + TrimControl(address) + u'"';
}

// The URL that Open hands to the desktop for a command (web and mailto addresses parsed
// tolerantly, paths as local file URLs).
QUrl UrlFor(const QString &sCommand);

// Tests install a recorder that receives the URL instead of the desktop (and opens it);
// an empty function restores the desktop. A checked recorder also answers whether it
// opened.
using Opener = std::function<void(const QUrl &)>;
void setOpener(Opener opener);
using CheckedOpener = std::function<bool(const QUrl &)>;
void setCheckedOpener(CheckedOpener opener);

} // namespace TMisc
