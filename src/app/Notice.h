#pragma once
#include <QString>

// A message for the user as the pure logic gives it: its kind and its text, shown by the
// screen through Messages::show(parent, notice). An empty text means nothing to say.
struct Notice
{
    enum class Kind { Warning, Error, Information, Confirmation, Plain };

    Kind kind = Kind::Plain;
    QString text;

    bool isEmpty() const { return text.isEmpty(); }
    friend bool operator==(const Notice &, const Notice &) = default;
};
