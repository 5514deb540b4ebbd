#pragma once

#include "Services.h"
#include "TypingGuard.h"

#include <QHash>
#include <QPointer>

#include <memory>

class THelpWindow;
class TSoundPlayer;

// The services of the real program: Qt dialogs, the clicks through the sound
// server, a help window and the system clock.
class TQtServices final : public TServices {
public:
    TQtServices();
    ~TQtServices() override;

    void ShowMessage(const QString& text, TMessageIcon icon, const QString& caption) override;
    bool AskQuestion(const QString& text) override;
    bool InputQuery(const QString& caption, const QString& prompt, QString& value, const QString& description) override;
    void PlaySound(const QString& path) override;
    bool ShowHelp(const QString& helpFile, const QString& topic) override;
    std::uint32_t MillisecondsSinceMidnight() override;
    QString ProgramDirectory() override;
    bool ProgramDirectoryWritable() override;
    QString DataDirectory() override;

    void PreloadSound(const QString& path) override;

    // The sound player, started by the first sound asked for; null before.
    const TSoundPlayer* SoundPlayer() const { return FSoundPlayer.get(); }

private:
    int SoundNumber(const QString& path);

    std::unique_ptr<TSoundPlayer> FSoundPlayer;
    QHash<QString, int> FSoundNumbers;
    QPointer<THelpWindow> FHelpWindow;
    TTypingGuard FTypingGuard;
};
