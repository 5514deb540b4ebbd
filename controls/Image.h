#pragma once

#include <QLabel>
#include <QPixmap>

// A control that shows a picture: at its top-left corner, in its middle
// (Center), or stretched over the whole control (Stretch).
class TImage : public QLabel {
    Q_OBJECT
    Q_PROPERTY(bool Center READ Center WRITE SetCenter)
    Q_PROPERTY(QPixmap Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)

public:
    explicit TImage(QWidget* parent = nullptr);

    bool Center() const { return alignment() == Qt::AlignCenter; }
    void SetCenter(bool value) { setAlignment(value ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop); }
    QPixmap Picture() const { return pixmap(); }
    void SetPicture(const QPixmap& value) { setPixmap(value); }
    bool Stretch() const { return hasScaledContents(); }
    void SetStretch(bool value) { setScaledContents(value); }
};
