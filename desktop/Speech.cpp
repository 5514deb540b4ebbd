#include "Speech.h"

#include "Announcer.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QDir>
#include <QLocalSocket>

namespace {

TSpeaker* ReplacedSpeaker = nullptr;

const QString A11yService = QStringLiteral("org.a11y.Bus");
const QString A11yPath = QStringLiteral("/org/a11y/bus");
const QString A11yStatus = QStringLiteral("org.a11y.Status");
const QString Properties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString ScreenReaderEnabled = QStringLiteral("ScreenReaderEnabled");

// Where the speech server listens, as its own client library looks for it:
// the address it was given, else its socket in the user's runtime folder.
QString ServerSocket()
{
    const QString address = qEnvironmentVariable("SPEECHD_ADDRESS");
    const QLatin1String unixSocket("unix_socket:");
    if (address.startsWith(unixSocket))
        return address.mid(unixSocket.size());
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        runtime = QDir::homePath() + QStringLiteral("/.cache");
    return runtime + QStringLiteral("/speech-dispatcher/speechd.sock");
}

} // namespace

TSpeaker& Speaker()
{
#if MVK_ANNOUNCEMENTS
    static TAnnouncer* const Dispatcher = new TAnnouncer;
#else
    static TSpeechDispatcher* const Dispatcher = new TSpeechDispatcher;
#endif
    return ReplacedSpeaker ? *ReplacedSpeaker : *Dispatcher;
}

void SetSpeaker(TSpeaker* speaker) { ReplacedSpeaker = speaker; }

TSpeechDispatcher::TSpeechDispatcher() : FSocket(new QLocalSocket(this))
{
    // The server's answers are not needed; reading them keeps its side of the
    // socket from filling up.
    connect(FSocket, &QLocalSocket::readyRead, FSocket, [this] { FSocket->readAll(); });
    connect(FSocket, &QLocalSocket::connected, this, [this] {
        FSocket->write("SET self CLIENT_NAME user:MVKubrin:game\r\nSET self LANGUAGE de\r\n");
        if (!FWaiting.isEmpty())
            Send(FWaiting.constData(), FWaitingUrgency);
        FWaiting.clear();
    });
    connect(FSocket, &QLocalSocket::errorOccurred, this, [this] { FWaiting.clear(); });

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(A11yService, A11yPath, Properties, QStringLiteral("PropertiesChanged"), this,
                SLOT(ScreenReaderChanged(QString, QVariantMap, QStringList)));
    QDBusMessage get = QDBusMessage::createMethodCall(A11yService, A11yPath, Properties, QStringLiteral("Get"));
    get << A11yStatus << ScreenReaderEnabled;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(get), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        const QDBusPendingReply<QDBusVariant> reply = *call;
        if (reply.isValid())
            FScreenReader = reply.value().variant().toBool();
        call->deleteLater();
    });
}

TSpeechDispatcher::~TSpeechDispatcher() = default;

void TSpeechDispatcher::ScreenReaderChanged(const QString& interface, const QVariantMap& changed,
                                            const QStringList& /*invalidated*/)
{
    if (interface != A11yStatus || !changed.contains(ScreenReaderEnabled))
        return;
    FScreenReader = changed.value(ScreenReaderEnabled).toBool();
    if (!FScreenReader)
        FSocket->abort();
}

void TSpeechDispatcher::Say(const char* text, TUrgency urgency)
{
    if (!FScreenReader || !*text)
        return;
    switch (FSocket->state()) {
    case QLocalSocket::ConnectedState:
        Send(text, urgency);
        break;
    case QLocalSocket::UnconnectedState:
    case QLocalSocket::ConnectingState:
    case QLocalSocket::ClosingState:
        // Only the latest phrase is worth saying once the server answers;
        // kept first, since a local socket may connect before the call returns.
        FWaiting = text;
        FWaitingUrgency = urgency;
        if (FSocket->state() == QLocalSocket::UnconnectedState)
            FSocket->connectToServer(ServerSocket());
        break;
    }
}

void TSpeechDispatcher::Send(const char* text, TUrgency urgency)
{
    // The protocol ends a message with a line holding a single dot; a phrase
    // is one line and never starts with one.
    FSocket->write(urgency == TUrgency::Replace ? "SET self PRIORITY text\r\n" : "SET self PRIORITY message\r\n");
    FSocket->write("SPEAK\r\n");
    FSocket->write(text);
    FSocket->write("\r\n.\r\n");
    FSocket->flush();
}
