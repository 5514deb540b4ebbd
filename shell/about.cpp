#include "about.h"

#include "Colors.h"
#include "Look.h"

TAboutBox::TAboutBox(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowCloseButtonHint)
{
    setupUi(this);
    setFont(ClassicFont());
    // Drawn for the screen's density; it keeps its place and its cut.
    ProgramIcon->setPixmap(Picture(QStringLiteral(":/pictures/about.svg"), ProgramIcon->devicePixelRatioF()));
    QFont name = ProductName->font();
    name.setPixelSize(24);
    ProductName->setFont(name);
    QPalette darkGreen = ProductName->palette();
    darkGreen.setColor(QPalette::WindowText, ToQColor(RGBColor(0, 85, 0)));
    ProductName->setPalette(darkGreen);
    // Faces wider than the classic one would cut the name off: widen the
    // label about its centre instead.
    const int needed = ProductName->fontMetrics().horizontalAdvance(ProductName->text()) + 2;
    if (needed > ProductName->width()) {
        const QRect stored = ProductName->geometry();
        ProductName->setGeometry(stored.center().x() + 1 - needed / 2, stored.y(), needed, stored.height());
    }
    CentreOnScreen(*this);
}
