#pragma once
#include <QPixmap>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <memory>

class TfrmCambiaPassword;
namespace Ui {
class TfrmPassword;
}

// The access password screen, the program's first window and its main window: it asks
// for the password and, when it matches the stored one, shows the main menu and stays
// hidden until the program ends. From here the user changes the password (the change
// screen hides this one until it closes) or ends the program.
class TfrmPassword : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmPassword(QWidget *parent = nullptr);
    ~TfrmPassword() override;

    // Shows the screen centred with its entry emptied and holding the focus.
    void showEmpty();
    // The change screen while it is open, or nullptr.
    TfrmCambiaPassword *changeScreen() const;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The picture above the entry; it names where the initial password is written only
    // while the stored password is still that one, and never shows a password.
    void showPicture();
    void updateOK();
    void cmdOKClick();
    void cmdEsciClick();
    void btnCambiaPasswordClick();

    std::unique_ptr<Ui::TfrmPassword> m_ui;
    QPointer<TfrmCambiaPassword> m_changeScreen;
};

namespace PasswordLook {

// The picture at the top of the two password screens: a padlock beside a title, a line
// of text and, when note is not empty, a note in a box under them. The text it shows is
// also its accessible description. width and height in device-independent pixels.
QPixmap lockPicture(
    const QString &title, const QString &line, const QString &note, int width, int height);

// Bold 14-point text in a masked edit box.
void styleEntry(QWidget *edit);

// Fixes the window at its laid-out size for the width and centres it on its screen.
void fixAndCentre(QWidget *window, int width);

} // namespace PasswordLook
