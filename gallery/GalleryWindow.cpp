#include "GalleryWindow.h"

#include "ControlSet.h"
#include "FormReader.h"
#include "MultiSwitch.h"
#include "Slider.h"

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace {

QString SwitchText(int value)
{
    switch (value) {
    case 1: return QStringLiteral("Stellung 1: oben");
    case 2: return QStringLiteral("Stellung 2: Mitte");
    default: return QStringLiteral("Stellung 3: unten");
    }
}

// Shows a control's value in a label of the form, now and after every change.
template <class TControl, class TText>
void ShowValue(QWidget& form, const char* controlName, const char* labelName, TText text)
{
    auto* control = form.findChild<TControl*>(QString::fromLatin1(controlName));
    auto* value = form.findChild<QLabel*>(QString::fromLatin1(labelName));
    if (!control || !value)
        return;
    const auto show = [control, value, text] { value->setText(text(*control)); };
    QObject::connect(control, &TControl::OnChange, value, show);
    show();
}

} // namespace

TGalleryWindow::TGalleryWindow(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("MVKubrin – Galerie der Steuerelemente"));
    QFile description(QStringLiteral(":/galerie/gallery.ui"));
    TFormReader reader;
    if (description.open(QIODevice::ReadOnly))
        FForm = reader.Read(description, this);
    if (!FForm) {
        // Only a broken build gets here; say so rather than show an empty window.
        const QString why = description.isOpen() ? reader.ErrorString() : description.errorString();
        FForm = new QLabel(QStringLiteral("Die Galerie kann nicht gelesen werden: ") + why, this);
    }
    FForm->setMinimumSize(FForm->size());
    setCentralWidget(FForm);
    ShowValue<TMultiSwitch>(*FForm, "MultiSwitch1", "SwitchValue",
                            [](const TMultiSwitch& control) { return SwitchText(control.OnValue()); });
    ShowValue<TSlider>(*FForm, "Slider1", "SliderValue",
                       [](const TSlider& control) { return QStringLiteral("Wert: %1").arg(control.Position()); });
    ConnectMovedControls();
    BuildMenus();
}

void TGalleryWindow::ConnectMovedControls()
{
    FMovedReport = FForm->findChild<QLabel*>(QStringLiteral("MovedReport"));
    for (QWidget* control : FForm->findChildren<QWidget*>())
        if (IsMovable(*control->metaObject()))
            connect(control, SIGNAL(OnMoving(QObject*)), this, SLOT(ControlMoved(QObject*)));
}

void TGalleryWindow::ControlMoved(QObject* Sender)
{
    // The control being dragged goes in front, so that it never slides
    // under another.
    static_cast<QWidget*>(Sender)->raise();
    if (!FMovedReport)
        return;
    FMovedReport->setText(QStringLiteral("%1 bewegt: Left %2, Top %3")
                              .arg(Sender->objectName())
                              .arg(Sender->property("Left").toInt())
                              .arg(Sender->property("Top").toInt()));
}

void TGalleryWindow::BuildMenus()
{
    QMenu* gallery = menuBar()->addMenu(QStringLiteral("&Galerie"));
    QAction* quit = gallery->addAction(QStringLiteral("&Beenden"), this, &QWidget::close);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    FInfoMenu = menuBar()->addMenu(QStringLiteral("&Info"));
    const QList<QWidget*> controls = FForm->findChildren<QWidget*>();
    for (const QString& className : ControlSetClassNames()) {
        for (QWidget* control : controls) {
            if (QString::fromLatin1(control->metaObject()->className()) != className)
                continue;
            FInfoMenu->addAction(QStringLiteral("%1 (%2) …").arg(className, control->objectName()), control,
                                 [control] { control->setProperty("About", true); });
        }
    }
}
