#include "main.h"

#include "Speech.h"

#include <QAccessible>

// What the main window says as the game is played. A phrase is built in the
// window's own buffer, so speaking allocates nothing on this side.

template <typename TMove, typename TDescribe>
void TMainForm::Narrate(TMove move, TDescribe describe)
{
    const TGlance before = Glance(KUBRIN1->Well(), *FGame);
    FDisturbed = {};
    move();
    describe(before, Glance(KUBRIN1->Well(), *FGame));
    Tell();
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
    Tell();
    // A screen reader that keeps what it last read of the playfield's
    // description (Orca 48 with Qt 6.8) reads "where am I" afresh only once
    // told that it changed, and then reads the whole new state aloud at
    // once: told after every key, it buries the answers. So it is told when
    // the player stops to take stock, after the word "Pause".
    if (toggle == TToggle::Pause && on) {
        QAccessibleEvent changed(KUBRIN1, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

void TMainForm::Tell()
{
    if (!FPhrase.Empty())
        Speaker().Say(FPhrase.Text());
}

QString TMainForm::SpokenState() const
{
    TPhrase state;
    Commentary::State(state, KUBRIN1->Well(), *FGame, Pause1->isChecked());
    return QString::fromUtf8(state.Text());
}
