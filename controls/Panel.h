#pragma once

#include "Canvas.h"

#include <QWidget>

// A panel with an outer and an inner bevel and a border between them, as
// the game's windows frame their counters and the playfield.
class TPanel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(TBevel BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_PROPERTY(TBevel BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
    // The bevel kinds under the names stored windows use.
    enum TBevel { bvNone, bvLowered, bvRaised };
    Q_ENUM(TBevel)

    explicit TPanel(QWidget* parent = nullptr);

    TBevel BevelOuter() const { return FBevelOuter; }
    TBevel BevelInner() const { return FBevelInner; }
    int BevelWidth() const { return FBevelWidth; }
    int BorderWidth() const { return FBorderWidth; }
    TColor Color() const { return FColor; }
    QString Caption() const { return FCaption; }

    void SetBevelOuter(TBevel value);
    void SetBevelInner(TBevel value);
    void SetBevelWidth(int value);
    void SetBorderWidth(int value);
    void SetColor(TColor value);
    void SetCaption(const QString& value);

    // Paints the panel through a canvas, for the paint event and for tests.
    void PaintOn(TCanvas& canvas) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TBevel FBevelOuter = bvRaised;
    TBevel FBevelInner = bvNone;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TColor FColor = clBtnFace;
    QString FCaption;
};
