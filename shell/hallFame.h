#pragma once

#include "ui_hallFame.h"

#include <QDialog>

class THallList;

// The hall-of-fame window: the three best names on the podium, every entry
// from the best down, and a button that clears the hall of fame.
class THallofFame : public QDialog, public Ui::THallofFame {
    Q_OBJECT

public:
    // The window reads and clears hallList, and saves it to fameFile.
    THallofFame(THallList& hallList, const QString& fameFile, QWidget* owner = nullptr);

    // Fills the table from the best entry down and puts the three best names
    // on the podium.
    void ShowEntries();
    // Clears the table, the list and the file after the player confirms.
    void DeleteBtnClick();

private:
    THallList& FHallList;
    QString FFameFile;
};
