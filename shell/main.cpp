#include "main.h"

#include "about.h"
#include "Colors.h"
#include "ErrorReport.h"
#include "hallFame.h"
#include "Look.h"
#include "PreviewForm.h"
#include "Services.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLayout>
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

// The click of each kind of command, in the order of the game's sounds.
constexpr const char* SoundFiles[] = {"click.wav", "click2.wav", "click3.wav", "click4.wav"};

const TGameKey* PressedKey(int key)
{
    for (const TGameKey& bound : GameKeys)
        if (bound.Key != 0 && bound.Key == key)
            return &bound;
    return nullptr;
}

const TGameKey* TypedKey(QChar character)
{
    for (const TGameKey& bound : GameKeys)
        if (bound.Character != 0 && QLatin1Char(bound.Character) == character)
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

    FGame = std::make_unique<TGame>(*KUBRIN1, static_cast<TGameEvents&>(*this));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(FGame->Interval());
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);

    connect(Starten1, &QAction::triggered, this, &TMainForm::Starten1Click);
    connect(Pause1, &QAction::toggled, this, [this](bool paused) { FGame->SetPaused(paused); });
    connect(Bestenliste1, &QAction::triggered, this, &TMainForm::Bestenliste1Click);
    connect(Beenden1, &QAction::triggered, this, &TMainForm::Beenden1Click);
    connect(Vorschaufenster1, &QAction::toggled, this, [this](bool shown) { KUBRIN1->SetShowNextpiece(shown); });
    connect(Inhalt1, &QAction::triggered, this, &TMainForm::Inhalt1Click);
    connect(Bedienung1, &QAction::triggered, this, &TMainForm::Bedienung1Click);
    connect(Info1, &QAction::triggered, this, &TMainForm::Info1Click);

    qApp->installEventFilter(this);
    FormCreate();
}

TMainForm::~TMainForm() { qApp->removeEventFilter(this); }

void TMainForm::FormCreate()
{
    KUBRIN1->SetPreviewPosition(50, 50);
    const auto [fame, shared] = TFameStore::PlayersPaths(Services().ProgramDirectory(),
                                                         Services().ProgramDirectoryWritable(), Services().DataDirectory());
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
        for (const char* sound : SoundFiles)
            Services().PreloadSound(ProgramFile(QString::fromLatin1(sound)));
    });
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit Closed();
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
    QLabel* const labels[] = {LCP, LCL, LDLT, LSCO};
    QLabel* label = labels[int(counter)];
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

void TMainForm::LevelMessage(const std::string& text) { Services().ShowMessage(QString::fromStdString(text)); }

void TMainForm::NameRequested(int score)
{
    QString name;
    if (!Services().InputQuery(QStringLiteral("Eingabe"), QStringLiteral("Bitte geben Sie Ihren Namen ein:"), name))
        return;
    ReportSaved(FHallOfFame->Add(HallEntry(score, name)), FHallOfFame->Path());
}

void TMainForm::SoundRequested(TSound sound)
{
    if (Gerusche1->isChecked())
        Services().PlaySound(ProgramFile(QString::fromLatin1(SoundFiles[int(sound)])));
}

void TMainForm::FormKeyDown(int key)
{
    if (const TGameKey* bound = PressedKey(key))
        FGame->Command(bound->Command);
}

void TMainForm::FormKeyPress(QChar key)
{
    if (const TGameKey* bound = TypedKey(key))
        FGame->Command(bound->Command);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    // Key preview: the window sees every key meant for it before its
    // controls, but not the keys of a dialog or menu above it.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    // The preview window passes its keys on, so that showing it never takes
    // the game out of the player's hands.
    const QWidget* target = static_cast<QWidget*>(watched)->window();
    if ((target != this && target != KUBRIN1->PreviewForm()) || QApplication::activeModalWidget()
        || QApplication::activePopupWidget())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool down = PressedKey(key->key()) != nullptr;
    const bool typed = key->text().size() == 1 && TypedKey(key->text().front()) != nullptr;
    if (down)
        FormKeyDown(key->key());
    if (typed)
        FormKeyPress(key->text().front());
    return down || typed;
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
