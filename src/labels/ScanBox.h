#pragma once
#include <QObject>
#include <QString>
#include <QStringList>

class CardScreen;
class FieldEntry;
class QKeyEvent;
class QLabel;
class QLineEdit;

// The scan box of a card (txtBarcode): a code typed, or read by a barcode scanner that
// types it followed by Enter, shows the card's product with that code through the card's
// own record display, as the arrows would reach it; an unknown code may start a new card
// with it. The box is emptied after each code and keeps the focus, ready for the next one.
// (F3 from every control of the card to the box is one of the card's focus keys.)
//
// While a code is being handled, and whenever a message box is open, keys that come as
// fast as a scanner types them are a scan that nobody can see: they are dropped whole and
// the card's status line says so, so a scanner never answers a question. A single key (a
// person answering) goes through a moment later.
class ScanBox : public QObject
{
    Q_OBJECT
public:
    // The scan box of the card: txtBarcode, its messages in the info bar panInfo, Enter in
    // it through the card's field entry. Answers the controls the form lacks, one line each.
    static QStringList attach(CardScreen *card, FieldEntry *fieldEntry);
    ~ScanBox() override;

    // What Enter in the box does with the text typed.
    void scan(const QString &text);

    static QString notFoundText(const QString &code);
    static QString tooLongText(int length);
    static QString notStorableText();
    static QString emptyText();
    static QString sharedText(const QString &code, int count);
    static QString foundText(const QString &code);
    static QString droppedText();

    // Keys closer together than this are a scanner's.
    static constexpr int kBurstGapMs = 40;

private:
    class BurstGuard;

    ScanBox(CardScreen *card, QLineEdit *box, QLabel *status, FieldEntry *fieldEntry);
    void handle(const QString &code);
    // Sì to the question about an unknown code: a new card with the code filled in and the
    // focus on the field after it; false when the card must stay (Nuovo refused).
    bool startNewCard(const QString &code);

    CardScreen *m_card;
    QLineEdit *m_box;
    QLabel *m_status;
    BurstGuard *m_guard = nullptr;
};
