#include "PreviewForm.h"

#include "Colors.h"

#include <QPaintEvent>
#include <QPainter>

TPreviewForm::TPreviewForm(QWidget* owner, TColor windowColor)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , FWindowColor(windowColor)
    , FCanvas(&FSurface)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_QuitOnClose, false);
    // Shown from the game's menu, it must leave the keyboard with the game.
    setAttribute(Qt::WA_ShowWithoutActivating);
    QPalette colors = palette();
    colors.setColor(QPalette::Window, ToQColor(windowColor));
    setPalette(colors);
    setAutoFillBackground(false);
}

void TPreviewForm::SetClientSize(int size)
{
    setFixedSize(size, size);
    FCanvas.Release();
    FSurface = QImage(size, size, QImage::Format_RGB32);
    Blank();
}

TCanvas& TPreviewForm::Canvas() { return FCanvas; }

void TPreviewForm::Present()
{
    FCanvas.Release();
    update();
}

void TPreviewForm::Blank()
{
    FCanvas.Release();
    FSurface.fill(ToQColor(FWindowColor));
    update();
}

void TPreviewForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        Blank();
}

void TPreviewForm::paintEvent(QPaintEvent* event)
{
    FCanvas.Release();
    QPainter painter(this);
    painter.drawImage(event->rect(), FSurface, event->rect());
}
