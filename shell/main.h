#pragma once

#include "FameFile.h"
#include "HallList.h"
#include "ui_main.h"

#include <QMainWindow>

class QTimer;

// The main window: the well, four counters and the menu. It runs the game on
// its timer, scores landings, raises the level, disturbs the well from
// level 6 on, and binds keys and menu items to the playfield.
class TMainForm : public QMainWindow, public Ui::TMainForm {
    Q_OBJECT

public:
    explicit TMainForm(QWidget* owner = nullptr);
    ~TMainForm() override;

    QTimer* Timer1 = nullptr;
    // The hall of fame, loaded at start-up and saved whenever it changes.
    THallList HallList;
    TFameFile FameFile;

    // One gravity step of the game, from the timer or the space key.
    void Timer1Timer();
    void ChangeLevel(int interval, int level);
    void Disturb();

    // Key down by key code, and typed characters.
    void FormKeyDown(int key);
    void FormKeyPress(QChar key);

    // The menu items, as a click on them.
    void Starten1Click();
    void Pause1Click();
    void Beenden1Click();
    void Gerusche1Click();
    void Vorschaufenster1Click();
    void Inhalt1Click();
    void Bedienung1Click();
    void Info1Click();
    void Bestenliste1Click();

    int Score() const { return FScore; }
    int Level() const { return FLevel; }
    int Lines() const { return FLines; }
    bool Playing() const { return FPlaying; }
    QString HelpFile() const { return FHelpFile; }

signals:
    // The window has closed: the program ends, whatever else is still open.
    void Closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

    int FScore = 0;
    int FLevel = 0;
    int FLines = 0;
    // Outside a running game the playing keys do nothing and the timer stays
    // off, so an ended game cannot be stepped on and entered twice.
    bool FPlaying = false;

private:
    void FormCreate();
    void GameOver();
    void PlayClick(const char* fileName);
    void ShowHelpTopic(const QString& topic);
    void Show(QLabel* label, int value);

    QString FHelpFile;
};
