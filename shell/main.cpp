#include "main.h"

#include "about.h"
#include "Colors.h"
#include "ErrorReport.h"
#include "hallFame.h"
#include "Look.h"
#include "PreviewForm.h"
#include "Random.h"
#include "Services.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLayout>
#include <QTimer>

namespace {

struct TLevelStep {
    int From;
    int Lines;
    int Interval;
    int Level;
};

// Each row is tested only while the level is the one before it, so a landing
// gains at most one level.
constexpr TLevelStep LevelTable[] = {
    {0, 8, 800, 1},    {1, 20, 650, 2},   {2, 33, 500, 3},   {3, 44, 350, 4},   {4, 55, 200, 5},
    {5, 66, 150, 6},   {6, 80, 150, 7},   {7, 100, 150, 8},  {8, 120, 150, 9},
};

constexpr int StartInterval = 1000;
constexpr int FirstDisturbedLevel = 6;
constexpr int LastScreenLevel = 5;
constexpr TColor DisturbanceGrey = RGBColor(125, 125, 125);

} // namespace

TMainForm::TMainForm(QWidget* owner)
    : QMainWindow(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      FameFile(PlayersFameFile(Services().ProgramDirectory(), Services().ProgramDirectoryWritable(),
                               Services().DataDirectory()))
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

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(StartInterval);
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);

    connect(Starten1, &QAction::triggered, this, &TMainForm::Starten1Click);
    connect(Pause1, &QAction::toggled, this, [this](bool paused) {
        if (FPlaying)
            paused ? Timer1->stop() : Timer1->start();
    });
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
    // A file that cannot be read is reported, and the start-up goes on
    // without it.
    switch (FameFile.Read(HallList)) {
    case TFameRead::Unreadable:
    case TFameRead::NotAFile:
        ShowException(EFileError::CannotOpen(FameFile.Source()));
        break;
    case TFameRead::TooLarge:
        ShowException(EFileError::TooLarge(FameFile.Source(), TFameFile::MaxSize));
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
        for (const char* sound : {"click.wav", "click2.wav", "click3.wav", "click4.wav"})
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
}

void TMainForm::Show(QLabel* label, int value)
{
    label->setText(QString::number(value));
    label->adjustSize();
}

void TMainForm::Timer1Timer()
{
    const int result = KUBRIN1->Step();
    if (result == TWell::StepLanded) {
        FScore += KUBRIN1->CountFreeLines(false);
        Show(LCP, KUBRIN1->NumberOfPieces());
        FScore += KUBRIN1->LastDeletedLine() * 4 * (FLevel + 1);
        FLines += KUBRIN1->LastDeletedLine();
        Show(LDLT, FLines);
        for (const TLevelStep& step : LevelTable)
            if (step.From == FLevel && FLines >= step.Lines) {
                ChangeLevel(step.Interval, step.Level);
                break;
            }
        if (FLevel >= FirstDisturbedLevel)
            Disturb();
    } else if (result == TWell::StepGameOver) {
        GameOver();
    }
    Show(LSCO, FScore);
}

void TMainForm::ChangeLevel(int interval, int level)
{
    Timer1->stop();
    Timer1->setInterval(interval);
    Services().ShowMessage(QStringLiteral("Changing level...\rFree lines = ")
                           + QString::number(KUBRIN1->CountFreeLines(true)));
    KUBRIN1->SetScreenNumber(level <= LastScreenLevel ? level : 0);
    Timer1->start();
    FLevel = level;
    Show(LCL, level);
}

void TMainForm::Disturb()
{
    const int odds = FLines < 80 ? 30 : FLines < 105 ? 20 : FLines < 120 ? 15 : 10;
    const int half = odds / 2;
    if (Random::Draw(odds) <= half) {
        const int column = Random::Draw(9);
        KUBRIN1->DropBlock(column, -1, DisturbanceGrey);
    }
    if (FLevel > 7 && Random::Draw(odds) == 0) {
        const int blue = 55 + Random::Draw(200);
        const int green = 55 + Random::Draw(200);
        const int red = 55 + Random::Draw(200);
        const int gap = Random::Draw(9);
        KUBRIN1->PushLine(gap, RGBColor(std::uint8_t(red), std::uint8_t(green), std::uint8_t(blue)));
    }
    if (FLevel > 8 && Random::Draw(odds) <= half) {
        const int row = 1 + Random::Draw(19);
        const int column = Random::Draw(9);
        KUBRIN1->DropBlock(column, row, DisturbanceGrey);
    }
}

void TMainForm::GameOver()
{
    Timer1->stop();
    FPlaying = false;
    Show(LSCO, FScore);
    QString name;
    if (!Services().InputQuery(QStringLiteral("Eingabe"), QStringLiteral("Bitte geben Sie Ihren Namen ein:"), name))
        return;
    const TFameSaved saved = FameFile.Add(HallList, HallEntry(FScore, name));
    if (!saved.Saved)
        Services().ShowMessage(QStringLiteral("Bestenliste konnte nicht gespeichert werden,\rentweder es ist kein "
                                              "Speicher mehr frei\roder das Laufwerk ist schreibgeschützt (z.B.: CD)"));
    ReportBackup(saved);
}

void TMainForm::Starten1Click()
{
    KUBRIN1->SetScreenNumber(0);
    FScore = 0;
    FLevel = 0;
    FLines = 0;
    KUBRIN1->NewGame();
    Timer1->setInterval(StartInterval);
    Timer1->start();
    FPlaying = true;
    for (QLabel* counter : {LCP, LCL, LDLT, LSCO})
        Show(counter, 0);
}

void TMainForm::PlayClick(const char* fileName)
{
    if (Gerusche1->isChecked())
        Services().PlaySound(ProgramFile(QString::fromLatin1(fileName)));
}

void TMainForm::FormKeyDown(int key)
{
    if (!FPlaying)
        return;
    switch (key) {
    case Qt::Key_Left:
        PlayClick("click2.wav");
        KUBRIN1->MoveLeft();
        break;
    case Qt::Key_Right:
        PlayClick("click2.wav");
        KUBRIN1->MoveRight();
        break;
    case Qt::Key_Up:
        PlayClick("click3.wav");
        KUBRIN1->RotateCounterClockwise();
        break;
    case Qt::Key_Down:
        PlayClick("click3.wav");
        KUBRIN1->RotateClockwise();
        break;
    case Qt::Key_Space:
        PlayClick("click.wav");
        Timer1Timer();
        break;
    default:
        break;
    }
}

void TMainForm::FormKeyPress(QChar key)
{
    if (key == QLatin1Char('0')) {
        if (!FPlaying)
            return;
        FScore += KUBRIN1->DropPiece();
        PlayClick("click4.wav");
    } else if (key == QLatin1Char('N') || key == QLatin1Char('n')) {
        Starten1Click();
    }
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
    static const QString Typed = QStringLiteral("0Nn");
    const bool pressed = key->text().size() == 1 && Typed.contains(key->text());
    const bool down = key->key() == Qt::Key_Left || key->key() == Qt::Key_Right || key->key() == Qt::Key_Up
                      || key->key() == Qt::Key_Down || key->key() == Qt::Key_Space;
    if (down)
        FormKeyDown(key->key());
    if (pressed)
        FormKeyPress(key->text().front());
    return down || pressed;
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
    FameFile.Refresh(HallList);
    THallofFame window(HallList, FameFile, this);
    if (HallList.Count() == 0) {
        Services().ShowMessage(QStringLiteral("Es sind noch keine Personen in der Bestenliste eingetragen"));
        return;
    }
    window.ShowEntries();
    window.exec();
}
