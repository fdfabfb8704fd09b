#pragma once
#include "checks/CheckOutcome.h"

#include <QString>
#include <QStringView>

// The Luhn test of the digits among the first 20 characters of text (other characters
// are skipped): 0 when it fails or there are no digits, otherwise the first digit minus 2
// (-2 to 7; 1 to 4 are the networks of the first digits 3 to 6).
int CardCheckCode(QStringView text);

// The network that a card with this code belongs to: for code 1 it is told by the first
// two characters of the trimmed input; empty when no network is named.
QString CardNetworkName(int code, QStringView trimmedInput);

// The outcome of the payment card dialog's check of the text in its input box.
CheckOutcome CardOutcome(const QString &input);
