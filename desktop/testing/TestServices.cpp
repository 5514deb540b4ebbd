#include "TestServices.h"

#include <QDir>

TTestServices::TTestServices()
    : Directory(QDir::tempPath() + QLatin1Char('/')), Data(QDir::tempPath() + QStringLiteral("/mvkubrin-data/"))
{
    InstallServices(this);
    // The program's speaker would talk to a screen reader's speech server
    // on the machine that runs the tests.
    FSpeaker = SetSpeaker(&FQuiet);
}

TTestServices::~TTestServices()
{
    SetSpeaker(FSpeaker);
    InstallServices(nullptr);
}

void TTestServices::ShowMessage(const QString& text, TMessageIcon icon, const QString& caption)
{
    Messages.push_back({text, icon, caption.isEmpty() ? ApplicationTitle : caption});
    if (WhileMessageShown)
        WhileMessageShown(text);
}

bool TTestServices::AskQuestion(const QString& text)
{
    Questions.append(text);
    if (QuestionAnswers.empty())
        return false;
    const bool answer = QuestionAnswers.front();
    QuestionAnswers.pop_front();
    return answer;
}

bool TTestServices::InputQuery(const QString& caption, const QString& prompt, QString& value,
                               const QString& description)
{
    Inputs.push_back({caption, prompt, value, description});
    if (InputAnswers.empty())
        return false;
    const std::optional<QString> answer = InputAnswers.front();
    InputAnswers.pop_front();
    if (!answer)
        return false;
    value = answer->left(255);
    return true;
}

void TTestServices::PlaySound(const QString& path) { Sounds.append(path); }

bool TTestServices::ShowHelp(const QString& helpFile, const QString& topic)
{
    HelpRequests.push_back({helpFile, topic});
    return HelpResult;
}

QStringList TTestServices::MessageTexts() const
{
    QStringList texts;
    for (const TMessage& message : Messages)
        texts.append(message.Text);
    return texts;
}

void TTestServices::Clear()
{
    Messages.clear();
    Questions.clear();
    Inputs.clear();
    Sounds.clear();
    HelpRequests.clear();
}
