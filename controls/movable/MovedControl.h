#pragma once

#include "ControlSetBase.h"
#include "MoveLimits.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QRect>
#include <QResizeEvent>
#include <QWidget>

#include <cstdint>
#include <type_traits>

// The behaviour every movable control adds to the Qt widget it extends: the
// left mouse button drags the control across its parent, inside four move
// limits, and OnMoving is raised after every drag step that moved it.
//
// Every change of position or size runs through SetBounds, which applies the
// limits (unless the control is being designed) and only then hands the
// bounds to Qt: the Left, Top, Width and Height properties, the stored
// geometry of a window description, a drag step, and move(), resize() or
// setGeometry() by a parent or a layout. Qt's own functions are not virtual,
// so the last group is caught afterwards, in moveEvent and resizeEvent,
// and put right at once, before anything is painted. Qt sends those events
// to a hidden control only when it is shown; bounds given to a hidden
// control by Qt's own functions are therefore limited when it is shown.
//
// A concrete control derives from TMovedControl<its Qt base>, carries
// Q_OBJECT, declares the properties (Left, Top, Width, Height and geometry
// standing in for the base's, then About, BottomMoveLimit, LeftMoveLimit,
// RightMoveLimit, TopMoveLimit) and the signal OnMoving, and raises it in
// Moving().
template <class TBase>
class TMovedControl : public TControlSetItem<TBase> {
public:
    using TControlSetItem<TBase>::TControlSetItem;

    std::int32_t BottomMoveLimit() const { return FMoveLimits.Bottom(); }
    void SetBottomMoveLimit(std::int32_t value) { FMoveLimits.SetBottom(value); }
    std::int32_t LeftMoveLimit() const { return FMoveLimits.Left(); }
    void SetLeftMoveLimit(std::int32_t value) { FMoveLimits.SetLeft(value); }
    std::int32_t RightMoveLimit() const { return FMoveLimits.Right(); }
    void SetRightMoveLimit(std::int32_t value) { FMoveLimits.SetRight(value); }
    std::int32_t TopMoveLimit() const { return FMoveLimits.Top(); }
    void SetTopMoveLimit(std::int32_t value) { FMoveLimits.SetTop(value); }

    int Left() const { return this->x(); }
    void SetLeft(int value) { SetBounds(value, this->y(), this->width(), this->height()); }
    int Top() const { return this->y(); }
    void SetTop(int value) { SetBounds(this->x(), value, this->width(), this->height()); }
    int Width() const { return this->width(); }
    void SetWidth(int value) { SetBounds(this->x(), this->y(), value, this->height()); }
    int Height() const { return this->height(); }
    void SetHeight(int value) { SetBounds(this->x(), this->y(), this->width(), value); }
    void SetGeometry(const QRect& value) { SetBounds(value.x(), value.y(), value.width(), value.height()); }

    // The one way the control's bounds change: in design mode the proposal
    // as it is, otherwise limited.
    void SetBounds(std::int64_t left, std::int64_t top, int width, int height)
    {
        // Qt keeps the size within the minimum and maximum size; the limits
        // must work with the size the control is really going to have.
        width = qBound(this->minimumWidth(), width, this->maximumWidth());
        height = qBound(this->minimumHeight(), height, this->maximumHeight());
        const QRect bounds = this->Designing() ? RepresentableBounds(left, top, width, height)
                                               : FMoveLimits.Apply(left, top, width, height);
        // Recorded first, so that the move and resize events of this very
        // change recognise it as ours.
        FBounds = bounds;
        if (bounds != this->geometry())
            TBase::setGeometry(bounds);
        FBounds = this->geometry();
    }

protected:
    // Raises OnMoving with the control as Sender.
    virtual void Moving() = 0;

    // The press point, in the control's client coordinates; any button.
    void PressAt(QPoint point) { FPress = point; }
    // A move with the left button held: the point pressed follows the pointer.
    // True when the control moved.
    bool DragTo(QPoint point)
    {
        const QPoint before = this->pos();
        SetBounds(std::int64_t(this->x()) + point.x() - FPress.x(), std::int64_t(this->y()) + point.y() - FPress.y(),
                  this->width(), this->height());
        if (this->pos() == before)
            return false;
        Moving();
        return true;
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        PressAt(event->position().toPoint());
        FButtonDragged = false;
        TBase::mousePressEvent(event);
        // A label or an image would pass the press on, and a movable parent
        // would then start a drag of its own under this one.
        event->accept();
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        // Qt would press a dragged button again, as the pointer is still on it.
        if (!FButtonDragged)
            TBase::mouseMoveEvent(event);
        if (event->buttons() & Qt::LeftButton) {
            if (DragTo(event->position().toPoint()))
                ReleaseDraggedButton();
            event->accept();
        }
    }

    void moveEvent(QMoveEvent* event) override
    {
        TBase::moveEvent(event);
        TakeOutsideBounds();
    }

    void resizeEvent(QResizeEvent* event) override
    {
        TBase::resizeEvent(event);
        TakeOutsideBounds();
    }

private:
    // A press on a button that became a drag moved the button: it lets go,
    // so that the release does not click it.
    void ReleaseDraggedButton()
    {
        if constexpr (std::is_base_of_v<QAbstractButton, TBase>) {
            FButtonDragged = true;
            this->setDown(false);
        }
    }

    // Bounds that did not come through SetBounds (Qt's move, resize and
    // setGeometry) are passed through it now.
    void TakeOutsideBounds()
    {
        const QRect bounds = this->geometry();
        if (bounds != FBounds)
            SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
    }

    TMoveLimits FMoveLimits;
    QPoint FPress;
    bool FButtonDragged = false;
    QRect FBounds = this->geometry();
};
