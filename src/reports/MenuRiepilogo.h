#pragma once
#include <QWidget>

#include <memory>

namespace Ui {
class TfrmMenuRiepilogo;
}

// The inventory selection: the user types a product type (or nothing, for every product)
// and opens the inventory list. A resident screen: created once, shown from the main
// menu with an empty filter every time, hidden when closed.
class TfrmMenuRiepilogo : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmMenuRiepilogo(QWidget *parent = nullptr);
    ~TfrmMenuRiepilogo() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void btnVisualizzaClick();
    void btnGraficiClick();
    void imgEsciClick();
    void imgGuidaClick();

    std::unique_ptr<Ui::TfrmMenuRiepilogo> m_ui;
};
