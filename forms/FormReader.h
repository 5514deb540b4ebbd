#pragma once

#include <QUiLoader>

class QIODevice;

// Reads a stored window description. Every class it names that is in our
// class registry is created through the registry; the stored properties are
// then written in file order through each property's write function, so that
// reading a window runs the same checks, messages and side effects as
// setting the values by hand.
//
// A description is checked before anything is created from it: an unknown
// class or property, a value of the wrong kind or out of the property's
// range, and nesting deeper than any window needs are refused with an error
// that names them, rather than skipped or turned into 0 or 1.
class TFormReader : public QUiLoader {
public:
    static constexpr int MostNestedLevels = 256;

    explicit TFormReader(QObject* parent = nullptr);

    QWidget* createWidget(const QString& className, QWidget* parent = nullptr,
                          const QString& name = QString()) override;

    // nullptr, with the reason in ErrorString(), when the description is
    // unreadable or refused.
    QWidget* Read(QIODevice& device, QWidget* parent = nullptr);
    QWidget* Read(const QString& path, QWidget* parent = nullptr);
    QString ErrorString() const;

private:
    // The reason a description is refused, or an empty text.
    QString Check(const QByteArray& description);

    QString FError;
};
