#pragma once
#include <QDialog>

#include <memory>

namespace Ui {
class TfrmCambiaPassword;
}

// The change of the access password: the old password, the new one and its confirmation.
// Opened from the password screen, which stays hidden while it is open; it starts empty
// each time. Enter moves round the three boxes and never presses OK.
class TfrmCambiaPassword : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmCambiaPassword(QWidget *parent = nullptr);
    ~TfrmCambiaPassword() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateOK();
    void cmdOKClick();
    void cmdEsciClick();

    std::unique_ptr<Ui::TfrmCambiaPassword> m_ui;
};
