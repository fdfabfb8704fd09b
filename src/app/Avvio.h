#pragma once
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class QPushButton;
class QToolButton;
namespace Ui {
class TfrmAvvio;
}

// The main menu, a resident screen. Its six entries open the resident screens registered
// under their class names (app/Screens.h); an entry whose screen does not exist is
// disabled. Archivi opens the settings of where the archives live (TfrmArchivi, a modal
// window the program registers). A screen opened from here is shown maximised and the menu hides;
// when that screen closes (its own exit or the window's close box) the menu shows again. Closing
// the menu ends the program.
class TfrmAvvio : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmAvvio(QWidget *parent = nullptr);
    ~TfrmAvvio() override;

    // Enables each entry whose screen is registered; run on every showing.
    void refreshEntries();
    // Sizes the menu's pictures for a screen whose free area is availableHeight pixels
    // high (logical pixels); done on every showing for the menu's own screen.
    void fitPicturesTo(int availableHeight);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Entry
    {
        QToolButton *picture;
        QPushButton *button;
        QString screenClass;
    };

    void openScreen(const QString &screenClass);
    void fitPictures();
    void imgInfoClick();
    void imgGuidaClick();
    void imgCreditiClick();
    void icoSitoClick();
    void btnArchiviClick();
    void imgEsciClick();

    std::unique_ptr<Ui::TfrmAvvio> m_ui;
    QList<Entry> m_entries;
    // The screen being closed: its hide that follows an accepted close brings the menu back.
    QPointer<QObject> m_closing;
};
