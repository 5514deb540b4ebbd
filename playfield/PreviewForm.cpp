#include "PreviewForm.h"

#include "Colors.h"

#include <QCoreApplication>
#include <QPaintEvent>

TPreviewForm::TPreviewForm(QWidget* owner, TColor windowColor)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , FWindowColor(windowColor)
    , FSurface(*this, windowColor)
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
    FSurface.Blank();
}

TCanvas& TPreviewForm::Canvas() { return FSurface.Canvas(); }

void TPreviewForm::Present() { FSurface.Show(); }

void TPreviewForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FSurface.Blank();
}

// It has no full repaint: a picture made anew stays blank until the next preview.
void TPreviewForm::paintEvent(QPaintEvent* event) { FSurface.PaintEvent(*event, {}); }

void TPreviewForm::keyPressEvent(QKeyEvent* event)
{
    if (QWidget* owner = parentWidget())
        QCoreApplication::sendEvent(owner->window(), event);
    else
        QWidget::keyPressEvent(event);
}
