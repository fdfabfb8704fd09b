#pragma once
#include "storage/Record.h"

#include <QString>

class QWidget;

// Record fields reach the controls of a card by name: field Codice <-> the child named
// txtCodice, lblCodice, memCodice or chkCodice (hidden labels included). A field without
// a control is left alone. Used by every card, so no card copies fields one by one.
namespace CardBinding {

// The control of the card that holds this field, or nullptr.
QWidget *controlFor(const QWidget *card, const QString &fieldName);

// Every field of the record into its control, trimmed.
void loadRecord(QWidget *card, const Record &record);
// Every control into its field of the record (fields without a control are untouched).
void storeRecord(const QWidget *card, Record &record);

// The text of an edit box, label, plain text box or check box ("True"/"False").
QString controlText(const QWidget *control);
void setControlText(QWidget *control, const QString &text);

} // namespace CardBinding
