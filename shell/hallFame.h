#pragma once

#include "ui_hallFame.h"

#include <QDialog>

class TFameFile;
class THallList;
struct TFameSaved;

// The hall-of-fame window: the three best names on the podium, every entry
// from the best down, and a button that clears the hall of fame.
class THallofFame : public QDialog, public Ui::THallofFame {
    Q_OBJECT

public:
    // The window shows and clears hallList, and clears fameFile with it.
    THallofFame(THallList& hallList, TFameFile& fameFile, QWidget* owner = nullptr);

    // Fills the table from the best entry down and puts the three best names
    // on the podium.
    void ShowEntries();
    // Clears the table, the list and the file after the player confirms.
    void DeleteBtnClick();

private:
    THallList& FHallList;
    TFameFile& FFameFile;
};

// Tells the player where a save kept a file that had not been read whole.
void ReportBackup(const TFameSaved& saved);
