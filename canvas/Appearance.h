#pragma once

#include <QWidget>

#include <concepts>

// The step every appearance property takes: an unchanged value does nothing;
// any other is stored and `repaint` asks for the new look. True when the
// value changed, for setters that have more to do then.
//
// A pair of switches that are stored together goes in as one value:
// ChangeAppearance(std::tie(FFirst, FSecond), std::tuple(first, second), ...).
template <class TField, class TValue, std::invocable TRepaint>
bool ChangeAppearance(TField&& field, const TValue& value, TRepaint&& repaint)
{
    if (field == value)
        return false;
    field = value;
    repaint();
    return true;
}

// The same for a widget that only needs Qt to paint it again.
template <class TField, class TValue>
bool ChangeAppearance(QWidget& widget, TField&& field, const TValue& value)
{
    return ChangeAppearance(field, value, [&widget] { widget.update(); });
}
