#include "MovedControls.h"

#include <QChildEvent>

void TMovedComboBox::childEvent(QChildEvent* event)
{
    TMovedControl::childEvent(event);
    // A child is polished before it is first shown, by then fully built; the
    // edit field comes and goes with the editable flag.
    if (event->type() == QEvent::ChildPolished && event->child() == lineEdit())
        lineEdit()->installEventFilter(this);
}

bool TMovedComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit()
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint point = lineEdit()->mapTo(this, mouse->position().toPoint());
        if (event->type() == QEvent::MouseButtonPress)
            PressAt(point);
        else if (mouse->buttons() & Qt::LeftButton)
            DragTo(point);
    }
    return TMovedControl::eventFilter(watched, event);
}

TMovedMemo::TMovedMemo(QWidget* parent) : TMovedControl(parent) { setTabChangesFocus(true); }

void TMovedMemo::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::ControlModifier) {
        insertPlainText(QStringLiteral("\t"));
        return;
    }
    TMovedControl::keyPressEvent(event);
}
