#include "about.h"

#include "Look.h"

TAboutBox::TAboutBox(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowCloseButtonHint)
{
    setupUi(this);
    setFont(ClassicFont());
    QFont name = ProductName->font();
    name.setPixelSize(24);
    ProductName->setFont(name);
    CentreOnScreen(*this);
}
