#include "main.h"

#include "Speech.h"

// What the main window says as the game is played. A phrase is built in the
// window's own buffer, so speaking allocates nothing on this side.

void TMainForm::Play(TGame::TCommand command)
{
    const TGlance before = Glance(KUBRIN1->Well(), *FGame);
    FDisturbed = {};
    FGame->Command(command);
    Commentary::Command(FPhrase, command, before, Glance(KUBRIN1->Well(), *FGame), FDisturbed);
    if (!FPhrase.Empty())
        Speaker().Say(FPhrase.Text(), TSpeaker::TUrgency::Replace);
}

void TMainForm::Timer1Timer()
{
    const TGlance before = Glance(KUBRIN1->Well(), *FGame);
    FDisturbed = {};
    FGame->Step();
    Commentary::Tick(FPhrase, before, Glance(KUBRIN1->Well(), *FGame), FDisturbed);
    if (!FPhrase.Empty())
        Speaker().Say(FPhrase.Text(), TSpeaker::TUrgency::Replace);
}

void TMainForm::Disturbed(TDisturbance disturbance, int removedRows) { FDisturbed.Add(disturbance, removedRows); }

void TMainForm::SayToggled(TToggle toggle, bool on)
{
    Commentary::Toggled(FPhrase, toggle, on);
    Speaker().Say(FPhrase.Text(), TSpeaker::TUrgency::Replace);
}

QString TMainForm::SpokenState() const
{
    TPhrase state;
    Commentary::State(state, KUBRIN1->Well(), *FGame, Pause1->isChecked());
    return QString::fromUtf8(state.Text());
}
