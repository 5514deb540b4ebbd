#pragma once

#include "ui_about.h"

#include <QDialog>

// The about box: the program's picture and name, and OK.
class TAboutBox : public QDialog, public Ui::TAboutBox {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* owner = nullptr);
};
