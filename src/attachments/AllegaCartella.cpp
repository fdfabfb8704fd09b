#include "attachments/AllegaCartella.h"

#include "ui_AllegaCartella.h"

#include "app/Messages.h"
#include "app/OpenURL.h"
#include "app/Palette.h"
#include "app/Widgets.h"
#include "attachments/AttachedFiles.h"
#include "attachments/FileChooser.h"
#include "cards/CardScreen.h"
#include "storage/TextForms.h"

#include <QDir>
#include <QFileDialog>
#include <QFont>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QTreeView>

namespace {

// The card fields of the six values, in the dialog's slot order (the card keeps them in its
// hidden labels lblFile01..03 and lblDesc01..03).
constexpr const char *kFields[3][2] = {
    { "File01", "Desc01" },
    { "File02", "Desc02" },
    { "File03", "Desc03" },
};

int fieldIndex(const CardScreen &card, const char *field)
{
    return card.binding().layout().indexOf(QString::fromLatin1(field));
}

QString bannerHtml()
{
    return QStringLiteral(
        "<table cellspacing='0' cellpadding='0'><tr>"
        "<td valign='middle'><img src=':/icons/mail-attachment-128.png' width='56' "
        "height='56'></td>"
        "<td width='14'></td>"
        "<td valign='middle'>Selezionare i file da allegare alla scheda corrente servendosi del "
        "pulsante Sfoglia.<br>Quindi fare clic su Applica e chiudi e poi sul pulsante Salva per "
        "salvare le modifiche.<br>Per aprire un file è sufficiente premere il pulsante Apri."
        "</td></tr></table>");
}

} // namespace

TfrmAllegaCartella::TfrmAllegaCartella(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_ui(std::make_unique<Ui::TfrmAllegaCartella>())
{
    m_ui->setupUi(this);
    Widgets::applyItalianConventions(this);
    m_slots = { {
        { m_ui->txtFile01, m_ui->txtDesc01, m_ui->imgCancella01, m_ui->btnSfoglia01,
            m_ui->btnApri01 },
        { m_ui->txtFile02, m_ui->txtDesc02, m_ui->imgCancella02, m_ui->btnSfoglia02,
            m_ui->btnApri02 },
        { m_ui->txtFile03, m_ui->txtDesc03, m_ui->imgCancella03, m_ui->btnSfoglia03,
            m_ui->btnApri03 },
    } };

    // Every file can be chosen, hidden ones too: the filter's label is the one the user
    // reads, its pattern "*" matches names without a dot as well.
    m_dlgFile = new QFileDialog(this, QStringLiteral("Selezionare il file da allegare:"));
    m_dlgFile->setObjectName(QStringLiteral("dlgFile"));
    m_dlgFile->setAcceptMode(QFileDialog::AcceptOpen);
    m_dlgFile->setFileMode(QFileDialog::ExistingFile);
    m_dlgFile->setOption(QFileDialog::HideNameFilterDetails);
    m_dlgFile->setNameFilter(QStringLiteral("Tutti i file (*.*) (*)"));
    m_dlgFile->setFilter(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    m_dlgFile->setDirectory(QDir::homePath());
    // Wide enough for the size, type and date columns, which Qt's own list starts narrow.
    m_dlgFile->resize(820, 500);
    if (auto *list = m_dlgFile->findChild<QTreeView *>(QStringLiteral("treeView"))) {
        const int widths[] = { 300, 110, 130, 170 };
        for (int column = 0; column < 4; ++column)
            list->header()->resizeSection(column, widths[column]);
    }

    setupLooks();

    connect(
        m_ui->btnSfoglia01, &QPushButton::clicked, this, &TfrmAllegaCartella::btnSfoglia01Click);
    connect(
        m_ui->btnSfoglia02, &QPushButton::clicked, this, &TfrmAllegaCartella::btnSfoglia02Click);
    connect(
        m_ui->btnSfoglia03, &QPushButton::clicked, this, &TfrmAllegaCartella::btnSfoglia03Click);
    connect(m_ui->btnApri01, &QPushButton::clicked, this, &TfrmAllegaCartella::btnApri01Click);
    connect(m_ui->btnApri02, &QPushButton::clicked, this, &TfrmAllegaCartella::btnApri02Click);
    connect(m_ui->btnApri03, &QPushButton::clicked, this, &TfrmAllegaCartella::btnApri03Click);
    connect(
        m_ui->imgCancella01, &QToolButton::clicked, this, &TfrmAllegaCartella::imgCancella01Click);
    connect(
        m_ui->imgCancella02, &QToolButton::clicked, this, &TfrmAllegaCartella::imgCancella02Click);
    connect(
        m_ui->imgCancella03, &QToolButton::clicked, this, &TfrmAllegaCartella::imgCancella03Click);
    connect(m_ui->txtFile01, &QLineEdit::textChanged, this, &TfrmAllegaCartella::txtFile01Change);
    connect(m_ui->txtFile02, &QLineEdit::textChanged, this, &TfrmAllegaCartella::txtFile02Change);
    connect(m_ui->txtFile03, &QLineEdit::textChanged, this, &TfrmAllegaCartella::txtFile03Change);
    connect(m_ui->btnApplica, &QPushButton::clicked, this, &TfrmAllegaCartella::btnApplicaClick);
    connect(m_ui->btnAnnulla, &QPushButton::clicked, this, &TfrmAllegaCartella::btnAnnullaClick);
}

TfrmAllegaCartella::~TfrmAllegaCartella() = default;

void TfrmAllegaCartella::setupLooks()
{
    m_ui->imgLogo->setText(bannerHtml());
    m_ui->imgLogo->setAutoFillBackground(true);
    m_ui->imgLogo->setStyleSheet(QStringLiteral(
        "QLabel#imgLogo { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 %1, "
        "stop:1 %2); color: white; padding: 10px 16px; }")
                                     .arg(QLatin1StringView(Palette::kDialogBlue),
                                         QLatin1StringView(Palette::kAttachmentsLight)));
    QFont bannerFont(QStringLiteral("Arial"));
    bannerFont.setPointSize(10);
    m_ui->imgLogo->setFont(bannerFont);

    QFont bold(QStringLiteral("Arial"));
    bold.setPointSize(12);
    bold.setBold(true);
    for (const Slot &slot : m_slots) {
        slot.txtFile->setFont(bold);
        slot.txtDesc->setFont(bold);
        slot.txtFile->setStyleSheet(QStringLiteral("QLineEdit { color: %1; background-color: %2; }")
                                        .arg(QLatin1StringView(Palette::kReadOnlyText),
                                            QLatin1StringView(Palette::kReadOnlyBackground)));
        Widgets::makeImageButton(slot.imgCancella, QStringLiteral("edit-clear.png"), 20);
        slot.txtFile->setMinimumWidth(330);
        slot.btnSfoglia->setMinimumWidth(96);
        slot.btnApri->setMinimumWidth(80);
        slot.btnSfoglia->setAutoDefault(false);
        slot.btnApri->setAutoDefault(false);
    }
    for (QFrame *frame : { m_ui->shpAllegato01, m_ui->shpAllegato02, m_ui->shpAllegato03 })
        Widgets::styleSection(frame);

    adjustSize();
    setFixedSize(sizeHint());
    const QScreen *screen
        = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmAllegaCartella::openFor(CardScreen *card)
{
    TfrmAllegaCartella dialog(card);
    dialog.setCallerTag(cardIdentity(card->cardId()).attachmentsTag);
    QStringList values;
    for (const auto &pair : kFields) {
        for (const char *field : pair) {
            const int index = fieldIndex(*card, field);
            values.append(index < 0 ? QString() : card->binding().text(index));
        }
    }
    dialog.setValues(values);
    dialog.exec();
}

void TfrmAllegaCartella::setCallerTag(const QString &tag)
{
    m_ui->lblMemory->setText(tag);
}

void TfrmAllegaCartella::setValues(const QStringList &fileDescPairs)
{
    for (int i = 0; i < 3; ++i) {
        m_slots[i].txtFile->setText(TrimControl(fileDescPairs.value(2 * i)));
        m_slots[i].txtDesc->setText(TrimControl(fileDescPairs.value(2 * i + 1)));
        m_slots[i].txtFile->setCursorPosition(0);
        m_slots[i].txtDesc->setCursorPosition(0);
    }
}

void TfrmAllegaCartella::btnSfoglia01Click()
{
    browse(m_slots[0]);
}
void TfrmAllegaCartella::btnSfoglia02Click()
{
    browse(m_slots[1]);
}
void TfrmAllegaCartella::btnSfoglia03Click()
{
    browse(m_slots[2]);
}
void TfrmAllegaCartella::btnApri01Click()
{
    openAttached(m_slots[0]);
}
void TfrmAllegaCartella::btnApri02Click()
{
    openAttached(m_slots[1]);
}
void TfrmAllegaCartella::btnApri03Click()
{
    openAttached(m_slots[2]);
}
void TfrmAllegaCartella::imgCancella01Click()
{
    m_slots[0].txtFile->clear();
}
void TfrmAllegaCartella::imgCancella02Click()
{
    m_slots[1].txtFile->clear();
}
void TfrmAllegaCartella::imgCancella03Click()
{
    m_slots[2].txtFile->clear();
}
void TfrmAllegaCartella::txtFile01Change()
{
    updateOpenButton(m_slots[0]);
}
void TfrmAllegaCartella::txtFile02Change()
{
    updateOpenButton(m_slots[1]);
}
void TfrmAllegaCartella::txtFile03Change()
{
    updateOpenButton(m_slots[2]);
}

void TfrmAllegaCartella::browse(const Slot &slot)
{
    const QString source = FileChooser::chooseFile(m_dlgFile);
    if (source.isEmpty())
        return;
    const AttachedFiles::Attach outcome = AttachedFiles::attach(
        source, [this] { return Messages::confirm(this, AttachedFiles::overwriteQuestion()); });
    if (!outcome.warning.isEmpty())
        Messages::warning(this, outcome.warning);
    if (outcome.fillSlot) {
        slot.txtFile->setText(outcome.name);
        slot.txtFile->setCursorPosition(0);
    }
}

void TfrmAllegaCartella::openAttached(const Slot &slot)
{
    const QString name = TrimControl(slot.txtFile->text());
    // A name from a damaged or foreign archive never reaches outside the folder.
    if (!AttachedFiles::isPlainName(name)) {
        Messages::warning(this, AttachedFiles::refusedNameText());
        return;
    }
    TMisc::Open(AttachedFiles::openCommand(name));
}

void TfrmAllegaCartella::updateOpenButton(const Slot &slot)
{
    slot.btnApri->setEnabled(!TrimControl(slot.txtFile->text()).isEmpty());
}

void TfrmAllegaCartella::btnApplicaClick()
{
    const QString name = AttachedFiles::cardForTag(TrimControl(m_ui->lblMemory->text()));
    if (const CardScreen *card = name.isEmpty() ? nullptr : CardScreen::resident(name)) {
        for (int i = 0; i < 3; ++i) {
            const QLineEdit *values[2] = { m_slots[i].txtFile, m_slots[i].txtDesc };
            for (int v = 0; v < 2; ++v) {
                const int index = fieldIndex(*card, kFields[i][v]);
                if (index >= 0)
                    card->binding().setText(index, TrimControl(values[v]->text()));
            }
        }
    }
    accept();
}

void TfrmAllegaCartella::btnAnnullaClick()
{
    reject();
}
