#pragma once

#include "Services.h"
#include "Speech.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

// The services of the tests: every call is recorded, every dialog is
// answered from a script at once, and the clock and the program folder are
// whatever the test says. Installing it points the random generator's clock
// at Clock.
class TTestServices final : public TServices {
public:
    struct TMessage {
        QString Text;
        TMessageIcon Icon;
        QString Caption;
    };
    struct TInput {
        QString Caption;
        QString Prompt;
        QString Initial;
        QString Description;
    };
    struct THelp {
        QString File;
        QString Topic;
    };

    TTestServices();
    ~TTestServices() override;

    void ShowMessage(const QString& text, TMessageIcon icon, const QString& caption) override;
    bool AskQuestion(const QString& text) override;
    bool InputQuery(const QString& caption, const QString& prompt, QString& value, const QString& description) override;
    void PlaySound(const QString& path) override;
    bool ShowHelp(const QString& helpFile, const QString& topic) override;
    std::uint32_t MillisecondsSinceMidnight() override { return Clock; }
    QString ProgramDirectory() override { return Directory; }
    bool ProgramDirectoryWritable() override { return Writable; }
    QString DataDirectory() override { return Data; }

    QStringList MessageTexts() const;
    void Clear();

    std::vector<TMessage> Messages;
    QStringList Questions;
    std::vector<TInput> Inputs;
    QStringList Sounds;
    std::vector<THelp> HelpRequests;

    // Scripted answers, taken from the front; when empty, questions are
    // answered "&Nein" and text boxes are cancelled.
    std::deque<bool> QuestionAnswers;
    std::deque<std::optional<QString>> InputAnswers;
    bool HelpResult = true;

    // Runs inside ShowMessage, as if while the box is open.
    std::function<void(const QString&)> WhileMessageShown;

    std::uint32_t Clock = 0;
    QString Directory;
    bool Writable = true;
    // Never the real home: a folder of the temporary area unless a test
    // chooses one.
    QString Data;

private:
    // Quiet while the services are in place, unless a test installs a
    // speaker of its own.
    TQuietSpeaker FQuiet;
    TSpeaker* FSpeaker;
};
