#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class CardScreen;
class FieldEntry;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QTimer;

// The scan box of a card (txtBarcode): a code typed, or read by a barcode scanner that
// types it followed by Enter, shows the card's product with that code through the card's
// own record display, as the arrows would reach it. F3 anywhere on the card puts the
// focus in the box. The box is emptied after each code and keeps the focus, ready for the
// next one.
//
// While a code is being handled (a question or a message may be open over the card), keys
// that come as fast as a scanner types them are a scan that nobody can see: they are
// dropped whole and the status line says so, so a scanner never answers a question. A
// single key (a person answering) goes through a moment later.
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
    void focusBox();
    void handle(const QString &code);
    bool guardKey(QObject *watched, QKeyEvent *event);
    void replayHeldKey();

    CardScreen *m_card;
    QLineEdit *m_box;
    QLabel *m_status;
    std::function<bool(const QString &)> m_newCard;
    // The keys of the card while a code is being handled.
    bool m_guarding = false;
    bool m_replaying = false;
    bool m_dropped = false;
    QElapsedTimer m_lastKey;
    std::unique_ptr<QKeyEvent> m_heldKey;
    QPointer<QObject> m_heldTarget;
    QTimer *m_replayTimer = nullptr;
};
