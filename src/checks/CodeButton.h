#pragma once
#include <QString>

class QWidget;

// The tax code button of the customer and supplier cards: opens the check the trimmed
// text of the field calls for (codeCheckFor), the VAT number check for digits only and
// the tax code check otherwise, modally over parent.
void checkCodeField(QWidget *parent, const QString &trimmedText);
