#include "SpeechDispatcher.h"

#include <QDir>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Where the speech server listens, as its own client library looks for it:
// the address it was given, else its socket in the user's runtime folder.
QByteArray ServerSocket()
{
    const QByteArray address = qgetenv("SPEECHD_ADDRESS");
    const QByteArray unixSocket("unix_socket:");
    if (address.startsWith(unixSocket))
        return address.mid(unixSocket.size());
    QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        runtime = QDir::homePath().toLocal8Bit() + "/.cache";
    return runtime + "/speech-dispatcher/speechd.sock";
}

} // namespace

TSpeechDispatcher::TSpeechDispatcher() : FServer(ServerSocket()) {}

TSpeechDispatcher::~TSpeechDispatcher() { Disconnect(); }

bool TSpeechDispatcher::Connect(pid_t reader)
{
    FReader = reader;
    FSettings.Take(reader);

    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // A local socket connects at once or not at all; one that would make us
    // wait counts as not answering.
    if (size_t(FServer.size()) >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
    } else {
        std::memcpy(address.sun_path, FServer.constData(), size_t(FServer.size()));
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            FSocket = fd;
            FOutageReported = false;
            FAnswers = new QSocketNotifier(fd, QSocketNotifier::Read, this);
            // The server's answers are not needed; reading them keeps its
            // side of the socket from filling up.
            connect(FAnswers, &QSocketNotifier::activated, this, [this] {
                char answers[1024];
                const ssize_t got = read(FSocket, answers, sizeof answers);
                if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR))
                    Disconnect();
            });
            const QByteArray hello = "SET self CLIENT_NAME user:MVKubrin:game\r\nSET self LANGUAGE de\r\n"
                                     "SET self PRIORITY message\r\n"
                                     + FSettings.Voice().Commands();
            return Write(hello.constData(), size_t(hello.size()));
        }
    }
    const int error = errno;
    close(fd);
    if (!FOutageReported)
        std::fprintf(stderr, "MVKubrin: kein Sprachserver unter %s (%s), das Spiel spricht nicht.\n",
                     FServer.constData(), std::strerror(error));
    FOutageReported = true;
    return false;
}

void TSpeechDispatcher::Disconnect()
{
    delete FAnswers;
    FAnswers = nullptr;
    if (FSocket >= 0)
        close(FSocket);
    FSocket = -1;
}

bool TSpeechDispatcher::Write(const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t sent = send(FSocket, data, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0) {
            // A server that reads nothing more is as good as gone.
            Disconnect();
            return false;
        }
        data += sent;
        size -= size_t(sent);
    }
    return true;
}

void TSpeechDispatcher::Say(const char* text)
{
    if (!*text)
        return;
    const pid_t reader = FWatch.Running();
    if (reader == 0) {
        Disconnect();
        return;
    }
    // A voice changed in the screen reader is taken on a new connection.
    if (FSocket >= 0 && (reader != FReader || FSettings.Changed()))
        Disconnect();
    if (FSocket < 0 && !Connect(reader))
        return;
    Send(text);
}

void TSpeechDispatcher::Send(const char* text)
{
    // Every phrase has the screen reader's own priority, so that its echo
    // of a key neither cancels the answer nor is cancelled by it; the
    // newest move cuts only the game's own phrase before it. The protocol
    // ends a message with a line holding a single dot; a phrase is one line
    // and never starts with one.
    static constexpr char Cancel[] = "CANCEL self\r\nSPEAK\r\n";
    if (!Write(Cancel, sizeof Cancel - 1))
        return;
    const size_t size = std::strlen(text);
    if (!Write(text, size))
        return;
    Write("\r\n.\r\n", 5);
}
