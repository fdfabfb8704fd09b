#pragma once
#include <QDialog>

#include <memory>

namespace Ui {
class TfrmSplash;
}

// The credits window opened from the main menu: the product's logo, its version, its
// maker and a link to the maker's web site. Created for each opening and shown modally,
// centred on the window that opens it.
class TfrmSplash : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget *parent = nullptr);
    ~TfrmSplash() override;

    // The credits: the maker, the Qt library with its licence, the icons with theirs and
    // where the licence texts are.
    static QString creditsText();

private:
    void lnkWebClick();
    void btnChiudiClick();

    std::unique_ptr<Ui::TfrmSplash> m_ui;
};
