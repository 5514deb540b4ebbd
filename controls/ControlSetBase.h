#pragma once

// What every class of the decorative control set shares: the About property
// and the information box behind it, the version number and its text, the
// way a refused value is reported, the appearance setter pattern and the
// design-mode flag. The set's two-colour frame, DrawBevelFrame, is the
// canvas's own (Canvas.h).
//
// A control of the set derives from TControlSetItem<its Qt base>, declares
// About as the first of its own properties and routes its appearance setters
// through SetAppearance:
//
//     class TMovedEdit : public TControlSetItem<QLineEdit> {
//         Q_OBJECT
//         Q_PROPERTY(bool About READ About WRITE SetAbout)
//         ...
//     };

#include "Appearance.h"
#include "Canvas.h"
#include "TColor.h"

#include <QEvent>
#include <QObject>
#include <QString>

// The version of the control set, shown in the information box.
constexpr double ControlSetVersion = 3.0;

// "3.00": the whole part, a full stop and the hundredths rounded to the
// nearest (ties to even), always two digits below 10.
QString VersionText(double version);

// The four paragraphs of the information box for a control of the given
// run-time class, separated by an empty line; lines break with a carriage
// return as in every message of the program.
QString AboutText(const QString& className, double version);

// Shows the information box for the control's own run-time class, so that a
// class derived from one of the set names itself.
void ShowAboutBox(const QObject& control, double version);

// Reports a value that a setter refused, in an information box with OK; the
// caller then returns without storing anything.
void RejectValue(const QString& message);

// The part of every control of the set that does not depend on its Qt base.
// TBase is the Qt widget the control extends (QLabel, QLineEdit, QWidget...).
// Not a QObject of its own: the concrete class carries Q_OBJECT and declares
// the properties, so that its own properties keep their published order.
template <class TBase>
class TControlSetItem : public TBase {
public:
    using TBase::TBase;

    // Always False: the field is never written, so a stored window never
    // carries it.
    bool About() const { return FAbout; }
    // True shows the information box; False does nothing.
    void SetAbout(bool value)
    {
        if (value)
            ShowAboutBox(*this, FVersion);
    }
    QString VersionText() const { return ::VersionText(FVersion); }

    // True while a form designer edits the control; set by the designer that
    // places it, never by a stored window.
    bool Designing() const { return FDesigning; }
    void SetDesigning(bool value) { SetAppearance(FDesigning, value); }

    // Qt's tool tip takes the place of the hint; False keeps it from showing.
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value) { FShowHint = value; }

    // Requests a full repaint from the paint cycle.
    virtual void Invalidate() { this->update(); }

protected:
    // The appearance step with the control's own full repaint. True when
    // the value changed.
    template <class TValue>
    bool SetAppearance(TValue& field, const TValue& value)
    {
        return ChangeAppearance(field, value, [this] { Invalidate(); });
    }

    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip && !FShowHint) {
            event->ignore();
            return true;
        }
        return TBase::event(event);
    }

private:
    bool FAbout = false;
    bool FDesigning = false;
    bool FShowHint = true;
    double FVersion = ControlSetVersion;
};
