#include "CustomControl.h"

#include <QDynamicPropertyChangeEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

const char* const ObsoleteShowHints = "ShowHints";

} // namespace

TCustomControl::TCustomControl(QWidget* parent) : TControlSetItem<QWidget>(parent)
{
    // Paint covers every pixel; nothing of the parent needs to be drawn first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void TCustomControl::Invalidate() { FSurface.Invalidate(); }

void TCustomControl::PaintNow(const std::function<void(TCanvas&)>& paint)
{
    if (!FSurface.IsCurrent()) {
        Invalidate();
        return;
    }
    paint(FSurface.Canvas());
    FSurface.Show();
}

bool TCustomControl::event(QEvent* event)
{
    // Older stored windows carry "ShowHints"; the form reader hands a name
    // that is no property of ours over as a dynamic property.
    if (event->type() == QEvent::DynamicPropertyChange
        && static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName() == ObsoleteShowHints) {
        const QVariant value = property(ObsoleteShowHints);
        if (value.isValid()) {
            SetShowHint(value.toBool());
            setProperty(ObsoleteShowHints, QVariant());
        }
        return true;
    }
    return TControlSetItem<QWidget>::event(event);
}

void TCustomControl::paintEvent(QPaintEvent* event)
{
    FSurface.PaintEvent(*event, [this] { Paint(FSurface.RepaintCanvas()); });
}

// The surface itself asks for a full repaint at a new size.
void TCustomControl::resizeEvent(QResizeEvent* event)
{
    TControlSetItem<QWidget>::resizeEvent(event);
    emit OnResize(this);
}

void TCustomControl::changeEvent(QEvent* event)
{
    TControlSetItem<QWidget>::changeEvent(event);
    // A palette change comes from the parent or from the application; either
    // may change the system colours, which the kept picture has resolved.
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange)
        Invalidate();
}

void TCustomControl::focusInEvent(QFocusEvent* event)
{
    TControlSetItem<QWidget>::focusInEvent(event);
    Invalidate();
}

void TCustomControl::focusOutEvent(QFocusEvent* event)
{
    TControlSetItem<QWidget>::focusOutEvent(event);
    Invalidate();
}

void TCustomControl::mousePressEvent(QMouseEvent* event)
{
    TControlSetItem<QWidget>::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
    // Accepted, so that the control keeps the mouse until the button is
    // released and the press does not travel on to the parent.
    event->accept();
}

// Moves and the release belong to the control that holds the mouse; none of
// them travels on to the parent.
void TCustomControl::mouseMoveEvent(QMouseEvent* event)
{
    TControlSetItem<QWidget>::mouseMoveEvent(event);
    event->accept();
}

void TCustomControl::mouseReleaseEvent(QMouseEvent* event)
{
    TControlSetItem<QWidget>::mouseReleaseEvent(event);
    event->accept();
}

void TCustomControl::keyPressEvent(QKeyEvent* event)
{
    QWidget::keyPressEvent(event);
    if (!hasFocus())
        return;
    const QString key = event->text();
    if (key == QStringLiteral("+") || key == QStringLiteral("-")) {
        StepKey(key == QStringLiteral("+") ? 1 : -1);
        event->accept();
    }
}
