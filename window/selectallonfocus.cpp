#include "window/selectallonfocus.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>

namespace Mod_Functions {

void SelectAllOnFocus(QLineEdit *box)
{
    box->setSelection(0, box->text().size());
}

namespace {

// A click that gives a field the focus also places the cursor, which would
// undo the selection made on focus; so the selection is made again when
// that click is released.
class SelectAllFilter : public QObject
{
public:
    explicit SelectAllFilter(QLineEdit *box) : QObject(box) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = static_cast<QLineEdit *>(watched);
        switch (event->type()) {
        case QEvent::FocusIn:
            m_focusedByClick = static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason;
            SelectAllOnFocus(box);
            break;
        case QEvent::MouseButtonRelease:
            if (m_focusedByClick) {
                m_focusedByClick = false;
                SelectAllOnFocus(box);
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    bool m_focusedByClick = false;
};

} // namespace

void selectAllWhenFocused(QLineEdit *box)
{
    box->installEventFilter(new SelectAllFilter(box));
}

} // namespace Mod_Functions
