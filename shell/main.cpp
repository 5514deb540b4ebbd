#include "main.h"

#include "about.h"
#include "Accessibility.h"
#include "Colors.h"
#include "ErrorReport.h"
#include "hallFame.h"
#include "Look.h"
#include "Services.h"
#include "ReplayedKeys.h"
#include "Speech.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QTimer>

namespace {

using TCommand = TGame::TCommand;

// The game's keys: a key pressed, by its code, or a character typed.
struct TGameKey {
    int Key;
    char Character;
    TCommand Command;
};

constexpr TGameKey GameKeys[] = {
    {.Key = Qt::Key_Left, .Character = 0, .Command = TCommand::MoveLeft},
    {.Key = Qt::Key_Right, .Character = 0, .Command = TCommand::MoveRight},
    {.Key = Qt::Key_Up, .Character = 0, .Command = TCommand::TurnCounterClockwise},
    {.Key = Qt::Key_Down, .Character = 0, .Command = TCommand::TurnClockwise},
    {.Key = Qt::Key_Space, .Character = 0, .Command = TCommand::Step},
    {.Key = 0, .Character = '0', .Command = TCommand::Drop},
    {.Key = 0, .Character = 'N', .Command = TCommand::NewGame},
    {.Key = 0, .Character = 'n', .Command = TCommand::NewGame},
};

// The click of each kind of command.
struct TSoundFile {
    TGameEvents::TSound Sound;
    const char* File;
};

constexpr TSoundFile SoundFiles[] = {
    {.Sound = TGameEvents::TSound::Step, .File = "click.wav"},
    {.Sound = TGameEvents::TSound::Move, .File = "click2.wav"},
    {.Sound = TGameEvents::TSound::Turn, .File = "click3.wav"},
    {.Sound = TGameEvents::TSound::Drop, .File = "click4.wav"},
};

// The binding of a key pressed by its code, or of the character it types;
// pass 0 for what is not known.
const TGameKey* BoundKey(int key, QChar character)
{
    for (const TGameKey& bound : GameKeys)
        if ((bound.Key != 0 && bound.Key == key)
            || (bound.Character != 0 && QLatin1Char(bound.Character) == character))
            return &bound;
    return nullptr;
}

} // namespace

TMainForm::TMainForm(QWidget* owner)
    : QMainWindow(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setupUi(this);
    setFont(ClassicFont());
    QPalette colors = palette();
    colors.setColor(QPalette::Window, Qt::black);
    CentralArea->setPalette(colors);
    CentralArea->setAutoFillBackground(true);
    Image1->load(QStringLiteral(":/pictures/background.svg"));
    QPalette silver = palette();
    silver.setColor(QPalette::WindowText, ToQColor(clSilver));
    for (QLabel* label : {Label3, LCP, Label8, LCL, Label9, LSCO, Label4, LDLT}) {
        label->setPalette(silver);
        label->adjustSize();
    }
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    FGame = std::make_unique<TGame>(KUBRIN1->Well(), static_cast<TGameEvents&>(*this));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(FGame->Interval());
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);

    connect(Starten1, &QAction::triggered, this, &TMainForm::Starten1Click);
    connect(Pause1, &QAction::toggled, this, [this](bool paused) {
        FGame->SetPaused(paused);
        SayToggled(TToggle::Pause, paused);
    });
    connect(Gerusche1, &QAction::toggled, this, [this](bool on) { SayToggled(TToggle::Sounds, on); });
    connect(Bestenliste1, &QAction::triggered, this, &TMainForm::Bestenliste1Click);
    connect(Beenden1, &QAction::triggered, this, &TMainForm::Beenden1Click);
    connect(Vorschaufenster1, &QAction::toggled, this, [this](bool shown) {
        KUBRIN1->SetShowNextpiece(shown);
        SayToggled(TToggle::Preview, shown);
    });
    connect(Inhalt1, &QAction::triggered, this, &TMainForm::Inhalt1Click);
    connect(Bedienung1, &QAction::triggered, this, &TMainForm::Bedienung1Click);
    connect(Info1, &QAction::triggered, this, &TMainForm::Info1Click);

    MakeMainFormAccessible(*this);
    KeepMenusOpenAgainstLateAltKeys();
    FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate()
{
    KUBRIN1->SetPreviewPosition(50, 50);
    const auto [fame, shared] = PlayersFamePaths(Services().ProgramDirectory(), Services().ProgramDirectoryWritable(),
                                                 Services().DataDirectory());
    FHallOfFame = std::make_unique<TFameStore>(fame, shared);
    // A file that cannot be read is reported, and the start-up goes on
    // without it. Only a look at the file: its entries are read later.
    switch (FHallOfFame->Probe()) {
    case TFameRead::Unreadable:
        ShowException(EFileError::CannotOpen(FHallOfFame->Source()));
        break;
    case TFameRead::NotAFile:
        ShowException(EFileError::NotAFile(FHallOfFame->Source()));
        break;
    case TFameRead::TooLarge:
        ShowException(EFileError::TooLarge(FHallOfFame->Source(), TFameStore::MaxSize));
        break;
    case TFameRead::Complete:
    case TFameRead::Missing:
    case TFameRead::CutShort:
        break;
    }
    FHelpFile = ProgramFile(QStringLiteral("MVKubrin.hlp"));
    if (!QFileInfo::exists(FHelpFile)) {
        FHelpFile.clear();
        Inhalt1->setEnabled(false);
        Bedienung1->setEnabled(false);
    }
    // Opening the sound output can take a while; the window comes first.
    QTimer::singleShot(0, this, [] {
        for (const TSoundFile& sound : SoundFiles)
            Services().PreloadSound(ProgramFile(QString::fromLatin1(sound.File)));
    });
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // A score still waiting for its save is not given up without a word: the
    // window stays and paints while the save goes on.
    if (!FHallOfFame->Unsaved().Empty()) {
        event->ignore();
        if (!FClosing)
            SaveBeforeClosing();
        return;
    }
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit Closed();
}

void TMainForm::SaveBeforeClosing()
{
    FClosing = true;
    // The game stops; only the save goes on until the window closes.
    Timer1->stop();
    menuBar()->setEnabled(false);
    FHallOfFame->SaveUnsaved([this](const TFameSaved& saved) {
        // Heard at once when the lock was free, inside the close: the window
        // closes once that has returned.
        QMetaObject::invokeMethod(this, [this, saved] { SavedBeforeClosing(saved); }, Qt::QueuedConnection);
    });
}

void TMainForm::SavedBeforeClosing(const TFameSaved& saved)
{
    if (saved.Failure == TFameFailure::Busy) {
        const TFameChanges& unsaved = FHallOfFame->Unsaved();
        const QString lost = unsaved.Added.size() > 1 ? QStringLiteral("die neuen Einträge gehen verloren")
                             : unsaved.Added.isEmpty() ? QStringLiteral("die Bestenliste bleibt ungelöscht")
                                                       : QStringLiteral("der neue Eintrag geht verloren");
        if (Services().AskQuestion(QStringLiteral("Bestenliste konnte nicht gespeichert werden,\r"
                                                  "ein anderes laufendes Spiel speichert gerade.\r"
                                                  "Noch einmal versuchen?\r"
                                                  "Mit „Nein“ endet das Spiel, und ")
                                   + lost + QLatin1Char('.'))) {
            SaveBeforeClosing();
            return;
        }
    } else {
        ReportSaved(saved, FHallOfFame->Path());
    }
    FHallOfFame->DropUnsaved();
    FClosing = false;
    close();
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        CentreOnScreen(*this);
    // The hall of fame is read while the player looks at the new window.
    QTimer::singleShot(0, this, [this] { FHallOfFame->LoadInBackground(); });
}

void TMainForm::CounterChanged(TCounter counter, int value)
{
    QLabel* label = nullptr;
    switch (counter) {
    case TCounter::Pieces: label = LCP; break;
    case TCounter::Level: label = LCL; break;
    case TCounter::Lines: label = LDLT; break;
    case TCounter::Score: label = LSCO; break;
    }
    label->setText(QString::number(value));
    label->adjustSize();
}

void TMainForm::TimerChanged(bool running, int interval)
{
    if (!running)
        Timer1->stop();
    Timer1->setInterval(interval);
    if (running)
        Timer1->start();
}

void TMainForm::LevelMessage(int freeLines)
{
    Services().ShowMessage(QStringLiteral("Changing level...\rFree lines = ") + QString::number(freeLines));
}

void TMainForm::NameRequested(int score)
{
    // The end is read with the name box rather than spoken beside it: a
    // screen reader that reads each new window at once (Orca 48) would cut
    // the one with the other, in whichever order they reached it.
    Commentary::GameOver(FPhrase, score);
    QString name;
    if (!Services().InputQuery(QStringLiteral("Eingabe"), QStringLiteral("Bitte geben Sie Ihren Namen ein:"), name,
                               QString::fromUtf8(FPhrase.Text())))
        return;
    const QString path = FHallOfFame->Path();
    FHallOfFame->Add(HallEntry(score, name), [path](const TFameSaved& saved) { ReportSaved(saved, path); });
}

void TMainForm::SoundRequested(TSound sound)
{
    if (!Gerusche1->isChecked())
        return;
    for (const TSoundFile& file : SoundFiles)
        if (file.Sound == sound)
            Services().PlaySound(ProgramFile(QString::fromLatin1(file.File)));
}

void TMainForm::FormKeyDown(int key)
{
    if (const TGameKey* bound = BoundKey(key, QChar()))
        Play(bound->Command);
}

void TMainForm::FormKeyPress(QChar key)
{
    if (const TGameKey* bound = BoundKey(0, key))
        Play(bound->Command);
}

// The playfield holds the focus for screen readers but handles no key, so
// every key meant for the window ends here; a dialog or menu above it keeps its own.
void TMainForm::keyPressEvent(QKeyEvent* event)
{
    // A closing window takes no more moves.
    if (FClosing)
        return;
    const QString text = event->text();
    if (const TGameKey* bound = BoundKey(event->key(), text.size() == 1 ? text.front() : QChar())) {
        Play(bound->Command);
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TMainForm::Pause1Click() { Pause1->trigger(); }

void TMainForm::Beenden1Click() { close(); }

void TMainForm::Gerusche1Click() { Gerusche1->trigger(); }

void TMainForm::Vorschaufenster1Click() { Vorschaufenster1->trigger(); }

void TMainForm::ShowHelpTopic(const QString& topic)
{
    if (!Services().ShowHelp(FHelpFile, topic))
        Services().ShowMessage(QStringLiteral(" Hilfeaufruf erfolglos"));
}

void TMainForm::Inhalt1Click() { ShowHelpTopic(QStringLiteral("id_Index")); }

void TMainForm::Bedienung1Click() { ShowHelpTopic(QStringLiteral("id_Interface")); }

void TMainForm::Info1Click()
{
    TAboutBox box(this);
    box.exec();
}

void TMainForm::Bestenliste1Click()
{
    // Another copy of the game may have saved since this one last looked.
    FHallOfFame->Refresh();
    THallofFame window(*FHallOfFame, this);
    if (FHallOfFame->List().Count() == 0) {
        Services().ShowMessage(QStringLiteral("Es sind noch keine Personen in der Bestenliste eingetragen"));
        return;
    }
    window.ShowEntries();
    window.exec();
}
