#pragma once

#include <QString>

#include <cstdint>

// The application title: caption of every message box without one of its own.
inline const QString ApplicationTitle = QStringLiteral("Morvane Kubrin");

enum class TMessageIcon { None, Information, Question, Error };

// Everything the program asks of the desktop around it: dialogs, sounds,
// help, the clock and the program's own folder. The program installs the Qt
// implementation; tests install a double that records every call and answers
// from a script, so no test ever waits in a real dialog or writes beside the
// real executable.
class TServices {
public:
    virtual ~TServices() = default;

    // A modal box with one button "OK". A carriage return breaks the line;
    // an empty caption means the application title.
    virtual void ShowMessage(const QString& text, TMessageIcon icon = TMessageIcon::None,
                             const QString& caption = QString()) = 0;
    // "&Ja" / "&Nein" under the caption "Bestätigen"; true for "&Ja".
    virtual bool AskQuestion(const QString& text) = 0;
    // A text-entry box with "OK" and "Abbrechen", at most 255 characters.
    // True with the edited text in value when closed with "OK". A screen
    // reader reads the description with the entry, after its prompt.
    virtual bool InputQuery(const QString& caption, const QString& prompt, QString& value,
                            const QString& description) = 0;
    // Starts a wave file and returns at once; a missing file plays nothing.
    virtual void PlaySound(const QString& path) = 0;
    // Loads a wave file ahead of its first use, so that it starts at once.
    virtual void PreloadSound(const QString& /*path*/) {}
    // Shows a topic of a help file; false when it cannot be shown.
    virtual bool ShowHelp(const QString& helpFile, const QString& topic) = 0;
    // Milliseconds since midnight, UTC: the seed of every reseeding.
    virtual std::uint32_t MillisecondsSinceMidnight() = 0;
    // The folder of the executable, with its trailing separator.
    virtual QString ProgramDirectory() = 0;
    // Whether the player may create and replace files in that folder; not
    // so when the game is installed for everyone.
    virtual bool ProgramDirectoryWritable() = 0;
    // The player's own folder for the game's data (in the XDG data home),
    // with its trailing separator. It need not exist yet.
    virtual QString DataDirectory() = 0;
};

// The installed services. Installing also points the random generator's
// clock at them.
TServices& Services();
void InstallServices(TServices* services);

// The full path of a file beside the executable.
QString ProgramFile(const QString& fileName);

// The folder part of an executable's full path: cut after its last "/", "\"
// or ":", the separator kept.
QString DirectoryOfExecutable(const QString& executablePath);
