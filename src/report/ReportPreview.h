#pragma once
#include "report/PreparedReport.h"
#include "report/ReportRenderer.h"

#include <QDialog>

#include <memory>

class QAction;
class QPrintPreviewWidget;
class QPrinter;

// The preview window of a prepared report: the pages as they print, with the actions
// print (actStampa), zoom in and out (actIngrandisci, actRiduci), whole page
// (actPaginaIntera), page navigation, full screen (actSchermoIntero) and close (actChiudi).
class ReportPreviewDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ReportPreviewDialog(const Report::PreparedReport &report, QWidget *parent = nullptr);
    ~ReportPreviewDialog() override;

    QPrintPreviewWidget *previewWidget() const { return m_preview; }
    // A line shown under the tool bar (lblNota) about what the pages hold; empty hides it.
    void setNote(const QString &text);
    // Paints the pages now, before the window shows, telling progress after each page (a
    // long report); false when progress stopped it, and then the window is not to be shown.
    bool prepare(const Report::PageProgress &progress);

private:
    void printClicked();
    void fullScreenToggled(bool on);
    QAction *addAction(const QString &objectName, const QString &text, const QString &icon);

    Report::PreparedReport m_report;
    // While prepare() paints.
    Report::PageProgress m_progress;
    bool m_painted = true;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget *m_preview = nullptr;
    class QToolBar *m_toolBar = nullptr;
    class QLabel *m_note = nullptr;
};
