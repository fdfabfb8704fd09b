#include "cards/ProvinceBox.h"

#include "cards/Provinces.h"

#include <QComboBox>
#include <QEvent>
#include <QSignalBlocker>

namespace {

class FocusRule : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) {
            if (auto *box = qobject_cast<QComboBox *>(watched)) {
                const QString text = box->currentText();
                const QSignalBlocker blocker(box);
                box->setCurrentIndex(-1);
                box->setEditText(text);
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

namespace Provinces {

void setUpBox(QComboBox *box)
{
    box->addItems(codes());
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(16);
    box->installEventFilter(new FocusRule(box));
}

} // namespace Provinces
