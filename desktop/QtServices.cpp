#include "QtServices.h"

#include "HelpWindow.h"
#include "Look.h"
#include "Random.h"
#include "SoundPlayer.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString DisplayText(QString text)
{
    // A carriage return breaks the line, as in every message of the game.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    return text;
}

QMessageBox::Icon BoxIcon(TMessageIcon icon)
{
    switch (icon) {
    case TMessageIcon::Information: return QMessageBox::Information;
    case TMessageIcon::Question: return QMessageBox::Question;
    case TMessageIcon::Error: return QMessageBox::Critical;
    case TMessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

TQtServices::TQtServices() = default;

TQtServices::~TQtServices()
{
    delete FHelpWindow.data();
}

void TQtServices::ShowMessage(const QString& text, TMessageIcon icon, const QString& caption)
{
    QMessageBox box(BoxIcon(icon), caption.isEmpty() ? ApplicationTitle : caption, DisplayText(text),
                    QMessageBox::NoButton, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool TQtServices::AskQuestion(const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Bestätigen"), DisplayText(text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

bool TQtServices::InputQuery(const QString& caption, const QString& prompt, QString& value,
                             const QString& description)
{
    QDialog dialog(QApplication::activeWindow(), Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                                                      | Qt::WindowCloseButtonHint);
    dialog.setWindowTitle(caption);
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(prompt, &dialog);
    label->setTextFormat(Qt::PlainText);
    auto* edit = new QLineEdit(value, &dialog);
    label->setBuddy(edit);
    edit->setMaxLength(255);
    edit->setMinimumWidth(260);
    edit->setAccessibleDescription(description);
    edit->selectAll();
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    dialog.adjustSize();
    CentreOnScreen(dialog);
    // The box may open at a game's end, while the player's keys still fly.
    FTypingGuard.Guard(dialog);
    const int result = dialog.exec();
    FTypingGuard.Release();
    if (result != QDialog::Accepted)
        return false;
    value = edit->text();
    return true;
}

int TQtServices::SoundNumber(const QString& path)
{
    // The player starts with the first sound, after the window is up, and
    // connects on its own thread.
    if (!FSoundPlayer)
        FSoundPlayer = std::make_unique<TSoundPlayer>();
    const auto known = FSoundNumbers.constFind(path);
    if (known != FSoundNumbers.constEnd())
        return *known;
    const int number = FSoundPlayer->Add(QFile::encodeName(path).toStdString());
    FSoundNumbers.insert(path, number);
    return number;
}

void TQtServices::PreloadSound(const QString& path) { SoundNumber(path); }

void TQtServices::PlaySound(const QString& path)
{
    const int number = SoundNumber(path);
    FSoundPlayer->Play(number);
}

bool TQtServices::ShowHelp(const QString& helpFile, const QString& topic)
{
    QFile file(helpFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString html = QString::fromUtf8(file.readAll());
    const QRegularExpression anchor(QStringLiteral("(id|name)\\s*=\\s*\"%1\"").arg(QRegularExpression::escape(topic)));
    if (!html.contains(anchor))
        return false;
    if (!FHelpWindow)
        FHelpWindow = new THelpWindow;
    FHelpWindow->ShowTopic(html, topic);
    return true;
}

std::uint32_t TQtServices::MillisecondsSinceMidnight() { return Random::SystemMillisecondsSinceMidnight(); }

QString TQtServices::ProgramDirectory() { return DirectoryOfExecutable(QCoreApplication::applicationFilePath()); }

bool TQtServices::ProgramDirectoryWritable() { return QFileInfo(ProgramDirectory()).isWritable(); }

QString TQtServices::DataDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/MVKubrin/");
}
