#pragma once
#include "app/ArchiveSettings.h"

#include <QDialog>

#include <memory>

class FieldEntry;
namespace Ui {
class TfrmArchivi;
}

// Where the archives live: in the program folder (the default) or on a PostgreSQL server
// shared by the shop's computers; and the folder of the customers' documents. Prova tests
// the server, Trasferisci copies the program folder's archives to it (asking first when
// the server already holds records), Riporta copies the server's archives into the program
// folder, Applica saves Impostazioni.ini and switches every later opening of an archive.
// With MERVENTA_SERVER set the settings in force are shown and cannot be changed here.
// Created when opened, shown modally, destroyed when closed (opened from the main menu's
// Archivi and from the question at start-up when the server cannot be reached).
class TfrmArchivi : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmArchivi(QWidget *parent = nullptr);
    ~TfrmArchivi() override;

    // Makes the main menu's Archivi open this screen (Screens::openModal).
    static void registerScreen();

    // The settings as the screen's fields give them.
    ArchiveSettings::Settings fieldSettings() const;

public slots:
    void optCartellaClick();
    void optServerClick();
    void btnSfogliaClick();
    void btnProvaClick();
    void btnTrasferisciClick();
    void btnRiportaClick();
    void btnAnnullaClick();
    void btnApplicaClick();
    void btnChiudiClick();

protected:
    void reject() override;

private:
    void fill(const ArchiveSettings::Settings &settings);
    void refreshEnabled();
    void refreshInUse();
    // The connection string Prova, Trasferisci and Riporta use: the override's, or the
    // fields'.
    QString connection() const;
    // False, after saying why, when the server fields cannot make a connection.
    bool checkServerFields();
    void setRunning(bool running);
    bool progress(qint64 done, qint64 total);

    std::unique_ptr<Ui::TfrmArchivi> m_ui;
    FieldEntry *m_fieldEntry = nullptr;
    ArchiveSettings::InForce m_inForce;
    bool m_running = false;
    bool m_cancel = false;
};
