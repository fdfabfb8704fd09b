#pragma once
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <memory>

class TfrmCambiaPassword;
namespace Ui {
class TfrmPassword;
}

// The access password screen, the program's first window and its main window: it asks
// for the password and, when it matches the stored one, says so by accepted() (the shell
// shows the main menu) and stays hidden until the program ends. From here the user changes the
// password (the change screen hides this one until it closes) or ends the program.
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

signals:
    // The typed password matched the stored one; the screen hides itself after this.
    void accepted();

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
