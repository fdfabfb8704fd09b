#include "app/Messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
Messages::Handler g_handler;
}

namespace Messages {

void setHandler(Handler handler)
{
    g_handler = std::move(handler);
}

Answer show(QWidget *parent, const Notice &notice)
{
    return notice.isEmpty() ? Answer::Ok : show(parent, notice.kind, notice.text);
}

namespace {

void prepare(QMessageBox &box, const QString &text)
{
    box.setWindowTitle(QStringLiteral("Merventa 2.0"));
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
}

} // namespace

Answer confirmOrOther(QWidget *parent, const QString &text, const QString &otherButton)
{
    if (g_handler)
        return g_handler(Kind::Confirmation, text);
    QMessageBox box(parent ? parent->window() : nullptr);
    prepare(box, text);
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    QPushButton *other = box.addButton(otherButton, QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Yes);
    box.exec();
    if (box.clickedButton() == other)
        return Answer::Other;
    return box.standardButton(box.clickedButton()) == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Answer show(QWidget *parent, Kind kind, const QString &text)
{
    if (g_handler)
        return g_handler(kind, text);

    QMessageBox box(parent ? parent->window() : nullptr);
    prepare(box, text);
    QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
    switch (kind) {
    case Kind::Warning:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Kind::Error:
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Kind::Information:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Kind::Confirmation:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        defaultButton = QMessageBox::Yes;
        break;
    case Kind::Plain:
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    box.setDefaultButton(defaultButton);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return kind == Kind::Confirmation ? Answer::No : Answer::Ok;
    }
}

} // namespace Messages
