#pragma once

#include "Commentary.h"
#include "FameStore.h"
#include "Game.h"
#include "ui_main.h"

#include <QMainWindow>

#include <memory>

class QTimer;

// The main window: the well, four counters and the menu. It is the game's
// view: its timer, keys and menu call the game, and the game's events show
// on its labels, in its messages and as its sounds.
class TMainForm : public QMainWindow, private Ui::TMainForm, private TGameEvents {
    Q_OBJECT

public:
    explicit TMainForm(QWidget* owner = nullptr);
    ~TMainForm() override;

    QTimer* Timer1 = nullptr;

    // The timer's tick: one gravity step of the game.
    void Timer1Timer();

    // Key down by key code, and typed characters.
    void FormKeyDown(int key);
    void FormKeyPress(QChar key);

    // The menu items, as a click on them.
    void Starten1Click() { Play(TGame::TCommand::NewGame); }
    void Pause1Click();
    void Beenden1Click();
    void Gerusche1Click();
    void Vorschaufenster1Click();
    void Inhalt1Click();
    void Bedienung1Click();
    void Info1Click();
    void Bestenliste1Click();

    int Score() const { return FGame->Score(); }
    int Level() const { return FGame->Level(); }
    int Lines() const { return FGame->Lines(); }
    bool Playing() const { return FGame->Playing(); }
    // The whole state in words, for the screen reader's "where am I".
    QString SpokenState() const;

signals:
    // The window has closed: the program ends, whatever else is still open.
    void Closed();

protected:
    // The game's keys, also those the preview window passes on.
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CounterChanged(TCounter counter, int value) override;
    void TimerChanged(bool running, int interval) override;
    void LevelMessage(int freeLines) override;
    void NameRequested(int score) override;
    void SoundRequested(TSound sound) override;
    void Disturbed(TDisturbance disturbance, int removedRows) override;

    // A command of the game, and what it did said aloud.
    void Play(TGame::TCommand command);
    // Makes one move of the game, has describe word what it changed from the
    // glance before and after, and says it.
    template <typename TMove, typename TDescribe>
    void Narrate(TMove move, TDescribe describe);
    void SayToggled(TToggle toggle, bool on);
    // Says the phrase built, if any.
    void Tell();

    void FormCreate();
    // Closing waits for a save that waits for the lock, and asks the player
    // before the game ends without it.
    void SaveBeforeClosing();
    void SavedBeforeClosing(const TFameSaved& saved);
    void ShowHelpTopic(const QString& topic);

    std::unique_ptr<TGame> FGame;
    QString FHelpFile;
    // Read when first needed or in the background once the window shows;
    // saved whenever it changes.
    std::unique_ptr<TFameStore> FHallOfFame;
    bool FClosing = false;
    // What the last landing brought, and the phrase being said.
    TDisturbed FDisturbed;
    TPhrase FPhrase;
};
