#include "PreviewForm.h"

#include "Colors.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QTimer>
#include <QWindow>

namespace {

// The gap between the main window and a preview placed beside it.
constexpr int PopupGap = 8;

Qt::WindowFlags FlagsFor(TPreviewPlacement placement)
{
    const Qt::WindowFlags caption = Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    switch (placement) {
    case TPreviewPlacement::Unmanaged:
        return Qt::Tool | Qt::X11BypassWindowManagerHint;
    case TPreviewPlacement::Popup:
        // A tooltip is the popup that takes no grab: it leaves the keyboard
        // and the menu with the main window.
        return Qt::ToolTip;
    case TPreviewPlacement::Managed:
        break;
    }
    return Qt::Tool | caption;
}

} // namespace

TPreviewPlacement PreviewPlacementFor(const QString& platform, bool waylandSession)
{
    if (platform.startsWith(QLatin1String("wayland")))
        return TPreviewPlacement::Popup;
    if (platform == QLatin1String("xcb") && waylandSession)
        return TPreviewPlacement::Unmanaged;
    return TPreviewPlacement::Managed;
}

TPreviewPlacement CurrentPreviewPlacement()
{
    return PreviewPlacementFor(QGuiApplication::platformName(), !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
}

TPreviewForm::TPreviewForm(QWidget* owner, TColor windowColor, TPreviewPlacement placement)
    : QWidget(owner, FlagsFor(placement))
    , FPlacement(placement)
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
    if (placement == TPreviewPlacement::Popup)
        QCoreApplication::instance()->installEventFilter(this);
    // No window manager keeps an unmanaged window with its program: it would
    // stand above whatever program the player turns to, so it steps aside
    // while the game is in the background.
    if (placement == TPreviewPlacement::Unmanaged)
        connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (!FShown)
                return;
            if (state == Qt::ApplicationActive)
                Reappear();
            else
                hide();
        });
}

void TPreviewForm::SetClientSize(int size)
{
    setFixedSize(size, size);
    FSurface.Blank();
}

void TPreviewForm::SetShown(bool shown)
{
    FShown = shown;
    if (shown) {
        show();
        raise();
    } else {
        close();
    }
}

TCanvas& TPreviewForm::Canvas() { return FSurface.Canvas(); }

void TPreviewForm::Present() { FSurface.Show(); }

void TPreviewForm::showEvent(QShowEvent* event)
{
    // The popup is placed when it appears, so this comes before the platform
    // shows it: left of the main window, level with its top. Its position
    // counts from where the platform has the main window, which under
    // Wayland is not where the program once asked for it.
    if (FPlacement == TPreviewPlacement::Popup && parentWidget()) {
        QWidget* main = parentWidget()->window();
        const QRect frame = main->windowHandle() ? main->windowHandle()->frameGeometry() : main->frameGeometry();
        move(frame.left() - width() - PopupGap, frame.top());
    }
    QWidget::showEvent(event);
    if (!event->spontaneous() && !FReappearing)
        FSurface.Blank();
}

bool TPreviewForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::WindowActivate || watched == this || !FShown || !isHidden())
        return false;
    QTimer::singleShot(0, this, [this] {
        if (!QApplication::activeModalWidget() && !QApplication::activePopupWidget())
            Reappear();
    });
    return false;
}

void TPreviewForm::Reappear()
{
    if (!FShown || !isHidden())
        return;
    FReappearing = true;
    show();
    FReappearing = false;
}

void TPreviewForm::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || !parentWidget())
        return;
    QWidget* main = parentWidget()->window();
    if (main->isVisible())
        main->activateWindow();
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
