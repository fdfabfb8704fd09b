#pragma once
#include "storage/TextForms.h"

#include <QString>
#include <QStringView>
#include <QUrl>

#include <functional>

// The shell operation of the whole program: opens a document, folder, web address or
// "mailto:" address with the desktop's associated program. The caller's enclosing double
// quotes are removed. Nothing is reported and nothing blocks, whether or not it opened.
namespace TMisc {

void Open(const QString &sCommand);

// The command of a card's e-mail button: "mailto:" and the trimmed address, within double
// quotes. An empty address gives a new message without a recipient.
inline QString mailto(QStringView address)
{
    return QStringLiteral("\"mailto:") + TrimControl(address) + u'"';
}

// The URL that Open hands to the desktop for a command (web and mailto addresses parsed
// tolerantly, paths as local file URLs).
QUrl UrlFor(const QString &sCommand);

// Tests install a recorder that receives the URL instead of the desktop; an empty
// function restores the desktop.
using Opener = std::function<void(const QUrl &)>;
void setOpener(Opener opener);

} // namespace TMisc
