#pragma once
#include <QObject>
#include <QString>

#include <functional>

class CardScreen;
class FieldEntry;
class QKeyEvent;
class QLabel;
class QLineEdit;

// The scan box of a card (txtBarcode): a code typed, or read by a barcode scanner that
// types it followed by Enter, shows the card's product with that code through the card's
// own record display, as the arrows would reach it. F3 anywhere on the card puts the
// focus in the box. The box is emptied after each code and keeps the focus, ready for the
// next one.
//
// While a code is being handled, and whenever a message box is open, keys that come as
// fast as a scanner types them are a scan that nobody can see: they are dropped whole and
// the card's status line says so, so a scanner never answers a question. A single key (a
// person answering) goes through a moment later.
class ScanBox : public QObject
{
    Q_OBJECT
public:
    // newCard: Sì to the question about an unknown code; makes the card a new one with the
    // code filled in and says whether it did.
    ScanBox(CardScreen *card, QLineEdit *box, QLabel *status, FieldEntry *fieldEntry,
        std::function<bool(const QString &code)> newCard);
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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class BurstGuard;

    void focusBox();
    void handle(const QString &code);

    CardScreen *m_card;
    QLineEdit *m_box;
    QLabel *m_status;
    std::function<bool(const QString &)> m_newCard;
    BurstGuard *m_guard = nullptr;
};
