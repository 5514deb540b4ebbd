#include "Image.h"

TImage::TImage(QWidget* parent) : QLabel(parent)
{
    SetCenter(false);
    resize(105, 105);
}
