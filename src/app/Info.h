#pragma once
#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class TfrmInfo;
}

// The maker of the program, as the information and credits windows and the main menu
// name it.
namespace Maker {
QString name();
QString webSite();        // the address opened by the site links
QString webSiteText();    // the same address as the links show it
QString email();
} // namespace Maker

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
