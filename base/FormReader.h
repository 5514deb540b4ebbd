#pragma once

#include <QUiLoader>

class QIODevice;

// Reads a stored window description. Every class it names that is in our
// class registry is created through the registry; the stored properties are
// then written in file order through each property's write function, so that
// reading a window runs the same checks, messages and side effects as
// setting the values by hand.
class TFormReader : public QUiLoader {
public:
    explicit TFormReader(QObject* parent = nullptr);

    QWidget* createWidget(const QString& className, QWidget* parent = nullptr,
                          const QString& name = QString()) override;

    // nullptr, with the reason in errorString(), when the description is
    // unreadable.
    QWidget* Read(QIODevice& device, QWidget* parent = nullptr);
    QWidget* Read(const QString& path, QWidget* parent = nullptr);
};
