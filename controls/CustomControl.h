#pragma once

#include "ControlSetBase.h"
#include "Surface.h"

#include <QWidget>

#include <functional>

// The base of the set's two window-owning, custom-drawn controls (the slider
// and the switch). It keeps the picture of the control in a retained surface,
// so that a control can draw parts of it at once, outside the paint cycle; a
// full repaint runs Paint over the whole surface.
//
// Shared behaviour: a full repaint after every resize, focus change, enabled
// change and change of the inherited colours; the keyboard focus on a mouse
// press; the "+" and "-" keys while focused; OnResize after a resize; an
// obsolete stored "ShowHints" read into ShowHint.
class TCustomControl : public TControlSetItem<QWidget> {
    Q_OBJECT
    // For the form reader: older stored windows may carry it.
    Q_CLASSINFO("ObsoleteProperties", "ShowHints")
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)

public:
    explicit TCustomControl(QWidget* parent = nullptr);

    TColor Color() const { return FColor; }
    void SetColor(TColor value) { SetAppearance(FColor, value); }
    // A control without a tab stop still takes the focus when clicked.
    bool TabStop() const { return (focusPolicy() & Qt::TabFocus) != 0; }
    void SetTabStop(bool value) { setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus); }

    void Invalidate() override;

signals:
    void OnResize(QObject* Sender);

protected:
    // Paints the whole control.
    virtual void Paint(TCanvas& canvas) = 0;
    // Draws on the shown picture at once and shows the change. While a full
    // repaint is pending there is nothing to draw on: the repaint shows the
    // new state anyway.
    void PaintNow(const std::function<void(TCanvas&)>& paint);
    // The "+" key (step 1) or the "-" key (step -1) while the control has the
    // focus; the key is taken whether or not the control moves.
    virtual void StepKey(int /*step*/) {}

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TColor FColor = clBtnFace;
    TSurface FSurface{*this, clBtnFace};
};
