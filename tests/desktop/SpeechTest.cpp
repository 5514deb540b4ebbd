#include "ReaderVoice.h"
#include "ScreenReaderWatch.h"
#include "SessionBus.h"
#include "SpeechDispatcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A variable of the environment for as long as it lives.
class TVariable {
public:
    TVariable(const char* name, const QByteArray& value)
        : FName(name), FWasSet(qEnvironmentVariableIsSet(name)), FSaved(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~TVariable()
    {
        if (FWasSet)
            qputenv(FName, FSaved);
        else
            qunsetenv(FName);
    }

private:
    const char* FName;
    bool FWasSet;
    QByteArray FSaved;
};

void Write(const QString& path, const QByteArray& contents)
{
    QDir().mkpath(path.section(QLatin1Char('/'), 0, -2));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

TEST(ScreenReaderWatch, FindsOnlyAnOrcaOfThisUserAndSession)
{
    QTemporaryDir processes;
    const TVariable session("AT_SPI_BUS_ADDRESS", "unix:path=/run/ours");
    const TScreenReaderWatch watch(processes.path().toLocal8Bit().constData());
    const auto process = [&processes](const char* pid, const QByteArray& name, const QByteArray& environment) {
        Write(processes.filePath(QLatin1String(pid)) + QStringLiteral("/comm"), name + '\n');
        Write(processes.filePath(QLatin1String(pid)) + QStringLiteral("/environ"), environment);
    };
    // Another tool that switched accessibility on, an Orca of another
    // desktop, and an Orca whose variable only starts like ours.
    process("17", "magnifier", QByteArray("AT_SPI_BUS_ADDRESS=unix:path=/run/ours\0", 39));
    process("230", "orca", QByteArray("HOME=/h\0AT_SPI_BUS_ADDRESS=unix:path=/run/other\0", 48));
    process("231", "orca", QByteArray("AT_SPI_BUS_ADDRESS=unix:path=/run/ours2\0", 40));
    Write(processes.filePath(QStringLiteral("self/comm")), "orca\n");
    EXPECT_EQ(watch.Find(), 0);

    // Ours, its variable behind a long environment that is read in pieces.
    const QByteArray padding = "PAD=" + QByteArray(5000, 'x') + '\0' + "X=" + QByteArray(4093, 'y') + '\0';
    process("4242", "orca", padding + "AT_SPI_BUS_ADDRESS=unix:path=/run/ours" + '\0' + "LANG=de_DE.UTF-8" + '\0');
    EXPECT_EQ(watch.Find(), 4242);
}

TEST(ReaderVoice, IsTheVoiceOrcasOwnClientSends)
{
    // The profile's own values replace the general ones, as in Orca.
    const TReaderVoice voice = TReaderVoice::FromSettings(R"({
        "general": {"startingProfile": ["Spiel", "spiel"], "voices": {"default": {"rate": 10}}},
        "profiles": {"spiel": {"speechServerInfo": ["eSpeak NG", "espeak-ng"],
                               "voices": {"default": {"rate": 75, "average-pitch": 6.5, "gain": 7,
                                                      "family": {"lang": "de", "dialect": "AT", "name": "Anna"}}}}}})");
    EXPECT_EQ(voice.Commands(), QByteArray("SET self OUTPUT_MODULE espeak-ng\r\nSET self LANGUAGE de-AT\r\n"
                                           "SET self SYNTHESIS_VOICE Anna\r\nSET self RATE 52\r\n"
                                           "SET self PITCH 40\r\nSET self VOLUME 70\r\n"));

    // Orca's defaults where nothing is set; a voice of another language is
    // not taken for German phrases, nor a value that would be a second command.
    const TReaderVoice plain = TReaderVoice::FromSettings(R"({"general": {"speechServerInfo": ["x", "default"],
        "voices": {"default": {"family": {"lang": "en", "name": "Kate\nQUIT"}}}}, "profiles": {}})");
    EXPECT_EQ(plain.Commands(), QByteArray("SET self RATE 2\r\nSET self PITCH 10\r\nSET self VOLUME 100\r\n"));
    EXPECT_TRUE(TReaderVoice::FromSettings("not json").Commands().isEmpty());
}

// A speech server of the test's own that keeps what it was sent, and a
// process called orca of this session, as a screen reader started by hand.
class SpeechDispatcher : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Folder.isValid());
        Socket = Folder.filePath(QStringLiteral("speechd.sock")).toLocal8Bit();
        const QByteArray orca = Folder.filePath(QStringLiteral("bin/orca")).toLocal8Bit();
        ASSERT_TRUE(QDir(Folder.path()).mkdir(QStringLiteral("bin")));
        ASSERT_EQ(symlink("/bin/sleep", orca.constData()), 0);
        Reader = fork();
        if (Reader == 0) {
            char* const arguments[] = {const_cast<char*>("orca"), const_cast<char*>("60"), nullptr};
            char* const environment[] = {const_cast<char*>(Session.constData()), nullptr};
            execve(orca.constData(), arguments, environment);
            _exit(1);
        }
        // The child is named once it runs its program.
        for (int wait = 0; wait < 400 && TScreenReaderWatch().Find() != Reader; ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

    void TearDown() override
    {
        kill(Reader, SIGKILL);
        waitpid(Reader, nullptr, 0);
    }

    void Listen()
    {
        Server = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, Socket.constData(), size_t(Socket.size()));
        ASSERT_EQ(bind(Server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(listen(Server, 4), 0);
    }

    // What the server got on its next connection, once the client is quiet.
    std::string Received()
    {
        pollfd waiting{.fd = Server, .events = POLLIN, .revents = 0};
        if (poll(&waiting, 1, 0) != 1)
            return "(no connection)";
        const int client = accept(Server, nullptr, nullptr);
        std::string got;
        char buffer[4096];
        for (;;) {
            pollfd readable{.fd = client, .events = POLLIN, .revents = 0};
            if (poll(&readable, 1, 100) != 1)
                break;
            const ssize_t length = read(client, buffer, sizeof buffer);
            if (length <= 0)
                break;
            got.append(buffer, size_t(length));
        }
        close(client);
        return got;
    }

    QTemporaryDir Folder;
    const QByteArray Session = "AT_SPI_BUS_ADDRESS=unix:path=/test/" + QByteArray::number(getpid());
    const TVariable Bus{"AT_SPI_BUS_ADDRESS", Session.mid(19)};
    const TVariable Data{"XDG_DATA_HOME", Folder.path().toLocal8Bit()};
    const TVariable Address{"SPEECHD_ADDRESS", "unix_socket:" + Folder.filePath(QStringLiteral("speechd.sock")).toLocal8Bit()};
    QByteArray Socket;
    int Server = -1;
    pid_t Reader = 0;
};

TEST_F(SpeechDispatcher, SpeaksInTheReadersVoiceAndTakesAChangedVoiceOnANewConnection)
{
    ASSERT_EQ(TScreenReaderWatch().Find(), Reader);
    Listen();
    const QString settings = Folder.filePath(QStringLiteral("orca/user-settings.conf"));
    Write(settings, R"({"general": {"voices": {"default": {"rate": 75}}}, "profiles": {}})");
    TSpeechDispatcher speaker;
    speaker.Say("Spalte 4");
    speaker.Say("Spalte 5");
    // The newest move cuts only the game's phrase before it, at the screen
    // reader's own priority, so that its key echo neither cuts nor is cut.
    EXPECT_EQ(Received(), "SET self CLIENT_NAME user:MVKubrin:game\r\nSET self LANGUAGE de\r\nSET self PRIORITY message\r\n"
                          "SET self RATE 52\r\nSET self PITCH 10\r\nSET self VOLUME 100\r\n"
                          "CANCEL self\r\nSPEAK\r\nSpalte 4\r\n.\r\n"
                          "CANCEL self\r\nSPEAK\r\nSpalte 5\r\n.\r\n");

    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    Write(settings, R"({"general": {"voices": {"default": {"rate": 99}}}, "profiles": {}})");
    speaker.Say("Pause");
    EXPECT_NE(Received().find("SET self RATE 100\r\n"), std::string::npos);
    close(Server);
}

TEST_F(SpeechDispatcher, WithoutAServerSaysSoOnceAndConnectsWhenOneListens)
{
    TSpeechDispatcher speaker;
    testing::internal::CaptureStderr();
    speaker.Say("Spalte 4");
    speaker.Say("Spalte 5");
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("kein Sprachserver"), std::string::npos) << told;
    EXPECT_EQ(told.find("kein Sprachserver"), told.rfind("kein Sprachserver")) << told;
    EXPECT_FALSE(speaker.Connected());

    Listen();
    speaker.Say("Spalte 6");
    EXPECT_TRUE(speaker.Connected());
    EXPECT_NE(Received().find("SPEAK\r\nSpalte 6\r\n"), std::string::npos);
    close(Server);
}

TEST(SessionBus, ASilentBusIsPutOutOfReachAndAnAnsweringOneKept)
{
    EXPECT_EQ(SessionBusSocket("unix:path=/run/user/7/bus,guid=ab;tcp:host=x", nullptr), "/run/user/7/bus");
    EXPECT_EQ(SessionBusSocket("unix:guid=1,abstract=/tmp/dbus-x", nullptr), std::string("\0/tmp/dbus-x", 12));
    EXPECT_EQ(SessionBusSocket("autolaunch:", nullptr), "");

    QTemporaryDir folder;
    const QByteArray path = folder.filePath(QStringLiteral("bus")).toLocal8Bit();
    const int bus = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    ASSERT_EQ(bind(bus, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(bus, 4), 0);
    const TVariable session("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + path);
    const TVariable direct("AT_SPI_BUS_ADDRESS", "");
    qunsetenv("AT_SPI_BUS_ADDRESS");

    // A bus that takes the connection and never answers.
    testing::internal::CaptureStderr();
    EXPECT_FALSE(TSessionBusProbe(0.2).Settle());
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(qgetenv("DBUS_SESSION_BUS_ADDRESS"), "unix:path=/dev/null/no-session-bus");

    // One that answers, however it answers, is left as it is.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + path);
    // The silent probe's connection still waits in the queue, closed.
    std::thread server([bus] {
        for (bool answered = false; !answered;) {
            const int client = accept(bus, nullptr, nullptr);
            char request[256];
            answered = read(client, request, sizeof request) > 0 && send(client, "REJECTED\r\n", 10, MSG_NOSIGNAL) == 10;
            close(client);
        }
    });
    EXPECT_TRUE(TSessionBusProbe(5).Settle());
    server.join();
    EXPECT_EQ(qgetenv("DBUS_SESSION_BUS_ADDRESS"), "unix:path=" + path);
    close(bus);
}

} // namespace
