#include "main.h"

#include "Speech.h"

// What the main window says as the game is played. A phrase is built in the
// window's own buffer, so speaking allocates nothing on this side.

template <typename TMove, typename TDescribe>
void TMainForm::Narrate(TMove move, TDescribe describe)
{
    const TGlance before = Glance(KUBRIN1->Well(), *FGame);
    FDisturbed = {};
    move();
    describe(before, Glance(KUBRIN1->Well(), *FGame));
    if (!FPhrase.Empty())
        Speaker().Say(FPhrase.Text(), TSpeaker::TUrgency::Replace);
}

void TMainForm::Play(TGame::TCommand command)
{
    Narrate([&] { FGame->Command(command); },
            [&](const TGlance& before, const TGlance& after) {
                Commentary::Command(FPhrase, command, before, after, FDisturbed);
            });
}

void TMainForm::Timer1Timer()
{
    Narrate([&] { FGame->Step(); },
            [&](const TGlance& before, const TGlance& after) {
                Commentary::Tick(FPhrase, before, after, FDisturbed);
            });
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
