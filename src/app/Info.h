#pragma once
// Maker is declared here for the screens that name the maker through the information window.
#include "app/Maker.h"

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class TfrmInfo;
}

// The information window opened from the main menu: the product's logo, two information
// pictures and the e-mail link to the maker. Created for each opening and shown modally.
class TfrmInfo : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmInfo(QWidget *parent = nullptr);
    ~TfrmInfo() override;

    // The text handed to the shell by the e-mail link: a new message to the maker.
    static QString mailCommand();

private:
    void lnkWebClick();
    void btnChiudiClick();

    std::unique_ptr<Ui::TfrmInfo> m_ui;
};
