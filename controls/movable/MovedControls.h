#pragma once

// The eleven movable controls. Each is the Qt widget it extends, with all of
// its behaviour, plus the movable behaviour of TMovedControl; they differ
// only in that widget. Every class publishes the same surface: Left, Top,
// Width, Height and geometry in place of the widget's own position and size
// (so that a stored window places it through SetBounds as well), then
// About, BottomMoveLimit, LeftMoveLimit, RightMoveLimit, TopMoveLimit, and
// the signal OnMoving.

#include "Image.h"
#include "Label.h"
#include "MovedControl.h"
#include "Panel.h"
#include "RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>

// The published surface that the eleven share, written once; moc expands it
// in each class. (It cannot hold the signal: moc reads no access section out
// of a macro.)
#define MVK_MOVED_PROPERTIES                                                                                           \
    Q_PROPERTY(QRect geometry READ geometry WRITE SetGeometry)                                                         \
    Q_PROPERTY(int Left READ Left WRITE SetLeft)                                                                       \
    Q_PROPERTY(int Top READ Top WRITE SetTop)                                                                          \
    Q_PROPERTY(int Width READ Width WRITE SetWidth)                                                                    \
    Q_PROPERTY(int Height READ Height WRITE SetHeight)                                                                 \
    Q_PROPERTY(bool About READ About WRITE SetAbout)                                                                   \
    Q_PROPERTY(qint32 BottomMoveLimit READ BottomMoveLimit WRITE SetBottomMoveLimit)                                   \
    Q_PROPERTY(qint32 LeftMoveLimit READ LeftMoveLimit WRITE SetLeftMoveLimit)                                         \
    Q_PROPERTY(qint32 RightMoveLimit READ RightMoveLimit WRITE SetRightMoveLimit)                                      \
    Q_PROPERTY(qint32 TopMoveLimit READ TopMoveLimit WRITE SetTopMoveLimit)

class TMovedLabel : public TMovedControl<TLabel> {
    Q_OBJECT
    MVK_MOVED_PROPERTIES

public:
    using TMovedControl::TMovedControl;

signals:
    void OnMoving(QObject* Sender);

protected:
    void Moving() override { emit OnMoving(this); }
};

class TMovedEdit : public TMovedControl<QLineEdit> {
    Q_OBJECT
    MVK_MOVED_PROPERTIES

public:
    using TMovedControl::TMovedControl;

signals:
    void OnMoving(QObject* Sender);

protected:
    void Moving() override { emit OnMoving(this); }
};

class TMovedMemo : public TMovedControl<QPlainTextEdit> {
    Q_OBJECT
    MVK_MOVED_PROPERTIES

public:
    // Tab moves on to the next control, as in the other fields; Ctrl+Tab
    // types a tab.
    explicit TMovedMemo(QWidget* parent = nullptr);

signals:
    void OnMoving(QObject* Sender);

protected:
    void Moving() override { emit OnMoving(this); }
    void keyPressEvent(QKeyEvent* event) override;
};

class TMovedCheckBox : public TMovedControl<QCheckBox> {
    Q_OBJECT
    MVK_MOVED_PROPERTIES

public:
    using TMovedControl::TMovedControl;

signals:
    void OnMoving(QObject* Sender);

protected:
    void Moving() override { emit OnMoving(this); }
};

class TMovedRadioButton : public TMovedControl<QRadioButton> {
    Q_OBJECT
    MVK_MOVED_PROPERTIES

public:
    using TMovedControl::TMovedControl;

signals:
    void OnMoving(QObject* Sender);

protected:
    void Moving() override { emit OnMoving(this); }
    // Another button of its group turns a radio button off, a click never
    // does; Qt would let a button with no sibling uncheck itself.
    void nextCheckState() override
    {
        if (isCheckable())
            setChecked(true);
    }
};

class TMovedListBox : public TMovedControl<QListWidget> {
    Q_OBJECT
    MVK_MOVED_PROPERTIES

public:
    using TMovedControl::TMovedControl;

signals:
    void OnMoving(QObject* Sender);

protected:
    void Moving() override { emit OnMoving(this); }
};

class TMovedComboBox : public TMovedControl<QComboBox> {
    Q_OBJECT
    MVK_MOVED_PROPERTIES

public:
    using TMovedControl::TMovedControl;

signals:
    void OnMoving(QObject* Sender);

protected:
    void Moving() override { emit OnMoving(this); }
    // The edit field of an editable combo box is a widget of its own; a drag
    // that starts on it moves the combo box just the same.
    void childEvent(QChildEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

class TMovedGroupBox : public TMovedControl<QGroupBox> {
    Q_OBJECT
    MVK_MOVED_PROPERTIES

public:
    using TMovedControl::TMovedControl;

signals:
    void OnMoving(QObject* Sender);

protected:
    void Moving() override { emit OnMoving(this); }
};

class TMovedRadioGroup : public TMovedControl<TRadioGroup> {
    Q_OBJECT
    MVK_MOVED_PROPERTIES

public:
    using TMovedControl::TMovedControl;

signals:
    void OnMoving(QObject* Sender);

protected:
    void Moving() override { emit OnMoving(this); }
};

class TMovedPanel : public TMovedControl<TPanel> {
    Q_OBJECT
    MVK_MOVED_PROPERTIES

public:
    using TMovedControl::TMovedControl;

signals:
    void OnMoving(QObject* Sender);

protected:
    void Moving() override { emit OnMoving(this); }
};

class TMovedImage : public TMovedControl<TImage> {
    Q_OBJECT
    MVK_MOVED_PROPERTIES

public:
    using TMovedControl::TMovedControl;

signals:
    void OnMoving(QObject* Sender);

protected:
    void Moving() override { emit OnMoving(this); }
};
