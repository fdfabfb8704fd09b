#pragma once
#include <QDialog>
#include <QString>
#include <QStringList>

#include <memory>

namespace Ui {
class TfrmGuida;
}

// The help window: a topic title and its paragraphs, with a link to the help document
// Guida.pdf in the program folder. Created for each opening, shown modally, destroyed
// when it closes, so it always opens scrolled to the top.
class TfrmGuida : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmGuida(QWidget *parent = nullptr);
    ~TfrmGuida() override;

    // Shows the help window modally over parent with a title and its paragraphs.
    static void ShowHelp(QWidget *parent, const QString &title, const QStringList &paragraphs);

    // Sets lblTitolo and txtGuida (the paragraphs joined by an empty line).
    void setTopic(const QString &title, const QStringList &paragraphs);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void lnkWebClick();
    void btnChiudiClick();

    std::unique_ptr<Ui::TfrmGuida> m_ui;
};

// Shows the help text of a screen, by its class name (see app/HelpTexts.h).
void showHelpFor(QWidget *parent, const QString &screenClass);
