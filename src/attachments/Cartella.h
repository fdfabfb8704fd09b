#pragma once
#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class TfrmCartella;
}

// The record folder dialog: opens the folder "Cliente_<position>" of the customer shown on
// the card, creating it the first time, in the system's file browser. The card writes the
// record position into the hidden label lblMemory. Created for one opening, shown modally
// and destroyed when it closes.
class TfrmCartella : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmCartella(QWidget *parent = nullptr);
    ~TfrmCartella() override;

    // Opens the dialog modally over parent for the record at position (the trimmed text of
    // the card's lblPosizione) and destroys it when it closes.
    static void openFor(QWidget *parent, const QString &position);

public slots:
    void btnApriCartellaClick();
    void btnChiudiClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::TfrmCartella> m_ui;
};
