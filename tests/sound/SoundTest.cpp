// The clicks through real sound servers: a private PulseAudio, and a private
// PipeWire with its PulseAudio service, each with a null sink whose monitor
// is recorded and the clicks in it counted.
#include "QtServices.h"
#include "SoundPlayer.h"
#include "SoundServer.h"
#include "TestRows.h"
#include "Wave.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <thread>
#include <vector>

namespace {

const QString Assets = QStringLiteral(MVK_ASSETS_DIR "/");
const QString Clicks[] = {Assets + "click.wav", Assets + "click2.wav", Assets + "click3.wav", Assets + "click4.wav"};
const QString Sideways = Clicks[1];
using TKind = TSoundServer::TKind;

// One server of each kind for the whole run, started when first needed.
class TServers : public testing::Environment {
public:
    static TSoundServer& Of(TKind kind)
    {
        std::unique_ptr<TSoundServer>& server = FServers[int(kind)];
        if (!server)
            server = std::make_unique<TSoundServer>(kind);
        return *server;
    }
    void TearDown() override
    {
        for (auto& server : FServers)
            server.reset();
    }

private:
    static inline std::unique_ptr<TSoundServer> FServers[2];
};
[[maybe_unused]] const testing::Environment* const Servers = testing::AddGlobalTestEnvironment(new TServers);

// Waits for the player to hold the given number of sounds in its server.
bool StoredInTime(const TSoundPlayer& player, int sounds)
{
    return QTest::qWaitFor([&] { return player.Ready() && player.SoundsStored() == sounds; }, 20000);
}

class SoundServer : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Server = &TServers::Of(TKind::PulseAudio);
        // The game's own path to the server: the environment names it. The
        // client's cookie stays out of the real home.
        qputenv("PULSE_SERVER", Server->Address().toLocal8Bit());
        qputenv("PULSE_COOKIE", (Server->Folder() + "/cookie").toLocal8Bit());
    }

    void SetUp() override { ASSERT_EQ(Server->Failure().toStdString(), ""); }

    // The real services with the four clicks, once the server holds them.
    void LoadClicks()
    {
        for (const QString& click : Clicks)
            Services.PreloadSound(click);
        const TSoundPlayer* player = Services.SoundPlayer();
        ASSERT_TRUE(QTest::qWaitFor([&] { return player->Ready() && player->SoundsStored() == 4; }, 10000));
    }

    // Plays the sound count times, the given time apart, and returns the
    // onsets heard until the sounds have died away.
    int RecordedOnsets(const QString& sound, int count, int apartMs)
    {
        EXPECT_TRUE(Server->StartRecording());
        for (int i = 0; i < count; ++i) {
            Services.PlaySound(sound);
            std::this_thread::sleep_for(std::chrono::milliseconds(apartMs));
        }
        return int(HeardSounds(Server->StopRecording(), TSoundServer::RecordingRate).size());
    }

    static inline TSoundServer* Server = nullptr;
    TQtServices Services;
};

TEST_F(SoundServer, EveryClickOfAFastRunSounds)
{
    LoadClicks();
    // A machine busy enough to hold the sound thread past the next key lets
    // that key join the click still waiting to be sent: one may go that way.
    EXPECT_GE(RecordedOnsets(Sideways, 100, 60), 99);
    const TSoundPlayer* player = Services.SoundPlayer();
    EXPECT_GE(player->PlaysSent(), 99u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->PlaysConfirmed() == player->PlaysSent(); }, 5000));
}

TEST_F(SoundServer, AClickStillSoundsAfterAnHourOfPlay)
{
    LoadClicks();
    // A key a second for an hour, faster: every click of the game, each
    // still sounding when the next starts.
    constexpr int HourOfKeys = 3600;
    for (int i = 0; i < HourOfKeys; ++i) {
        Services.PlaySound(Clicks[i % 4]);
        std::this_thread::sleep_for(std::chrono::microseconds(1500));
    }
    const TSoundPlayer* player = Services.SoundPlayer();
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->PlaysConfirmed() == player->PlaysSent(); }, 10000));
    EXPECT_GT(player->PlaysSent(), HourOfKeys * 9u / 10);
    // Each click lasts a fifth of a second with its silence, so the server
    // may still be mixing the run for a while.
    EXPECT_TRUE(QTest::qWaitFor([&] { return RecordedOnsets(Sideways, 1, 0) == 1; }, 20000));
}

TEST_F(SoundServer, AServerThatNeverAnswersLeavesTheWindowFree)
{
    // A socket that takes connections into its queue and never reads them.
    QTemporaryDir folder;
    const QByteArray path = QFile::encodeName(folder.path() + "/native");
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 4), 0);

    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(20);
    QElapsedTimer clock;
    clock.start();
    {
        TSoundPlayer player(("unix:" + path).toStdString());
        int sounds[4];
        for (int i = 0; i < 4; ++i)
            sounds[i] = player.Add(QFile::encodeName(Clicks[i]).toStdString());
        while (clock.elapsed() < 1000) {
            player.Play(sounds[1]);
            QTest::qWait(10);
        }
        EXPECT_FALSE(player.Ready());
        EXPECT_EQ(player.PlaysSent(), 0u);
    }
    // A frozen window would have missed almost every tick.
    EXPECT_GE(ticks, 30);
    EXPECT_LT(clock.elapsed(), 3000);
    close(listener);
}

TEST_F(SoundServer, WithoutAServerTheGameSaysSoOnce)
{
    testing::internal::CaptureStderr();
    {
        TSoundPlayer player("unix:" + QDir::tempPath().toStdString() + "/no-such-server/native");
        player.Play(player.Add(QFile::encodeName(Sideways).toStdString()));
        // Long enough for the first attempt and two more.
        QTest::qWait(3300);
        EXPECT_FALSE(player.Ready());
    }
    const QString printed = QString::fromStdString(testing::internal::GetCapturedStderr());
    EXPECT_EQ(printed.count('\n'), 1) << printed.toStdString();
    EXPECT_TRUE(printed.contains("keine Tonausgabe")) << printed.toStdString();
}

using TestRows::PrintTo;

struct TServerRow {
    const char* Name;
    TKind Kind;
    int Quantum; // forced on PipeWire; 0 lets the server choose
};

const TServerRow ServerRows[] = {
    {.Name = "PulseAudio", .Kind = TKind::PulseAudio, .Quantum = 0},
    {.Name = "PipeWireAtQuantum1024", .Kind = TKind::PipeWire, .Quantum = 1024},
    {.Name = "PipeWireAtQuantum2048", .Kind = TKind::PipeWire, .Quantum = 2048},
};

class EveryKindOfClick : public testing::TestWithParam<TServerRow> {};

// How long the click sounds in its own file, as the recording measures it.
double LengthInFile(const QString& click)
{
    QFile file(click);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    TWave wave;
    if (!DecodeWave(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), wave)
        || wave.Format != TSampleFormat::S16LE || wave.Channels != 1)
        return -1;
    std::vector<std::int16_t> samples(wave.Data.size() / 2);
    std::memcpy(samples.data(), wave.Data.data(), wave.Data.size());
    const std::vector<double> sounds = HeardSounds(samples, int(wave.Rate));
    return sounds.size() == 1 ? sounds[0] : -1;
}

// A key every 150 ms, as a player taps them: every click heard, and each as
// long as in its file, whatever period the server plays in.
TEST_P(EveryKindOfClick, SoundsWhole)
{
    TSoundServer& server = TServers::Of(GetParam().Kind);
    ASSERT_EQ(server.Failure().toStdString(), "");
    if (GetParam().Quantum) {
        ASSERT_TRUE(server.ForceQuantum(GetParam().Quantum));
    }
    TSoundPlayer player(server.Address().toStdString());
    int sounds[4];
    for (int i = 0; i < 4; ++i)
        sounds[i] = player.Add(QFile::encodeName(Clicks[i]).toStdString());
    ASSERT_TRUE(StoredInTime(player, 4));

    constexpr int Keys = 10;
    for (int i = 0; i < 4; ++i) {
        const double length = LengthInFile(Clicks[i]);
        ASSERT_GT(length, 0) << Clicks[i].toStdString();
        ASSERT_TRUE(server.StartRecording());
        // The recorder must not have lowered the period the clicks play in.
        if (GetParam().Quantum && i == 0) {
            EXPECT_EQ(server.Quantum(), GetParam().Quantum);
        }
        for (int key = 0; key < Keys; ++key) {
            player.Play(sounds[i]);
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
        }
        const std::vector<double> heard = HeardSounds(server.StopRecording(), TSoundServer::RecordingRate);
        // On a busy machine the server may start two clicks in one period,
        // heard as one; a click cut by the period is never heard at all.
        EXPECT_GE(heard.size(), std::size_t(Keys / 2)) << Clicks[i].toStdString();
        EXPECT_LE(heard.size(), std::size_t(Keys)) << Clicks[i].toStdString();
        for (double played : heard)
            EXPECT_GE(played, length - 1) << Clicks[i].toStdString();
    }
    if (GetParam().Quantum)
        server.ForceQuantum(0);
}

INSTANTIATE_TEST_SUITE_P(Servers, EveryKindOfClick, testing::ValuesIn(ServerRows), RowName);

struct TOutageRow {
    const char* Name;
    TKind Kind;
    bool Restart; // otherwise the server starts after the player
};

const TOutageRow OutageRows[] = {
    {.Name = "PulseAudioRestarts", .Kind = TKind::PulseAudio, .Restart = true},
    {.Name = "PipeWireRestarts", .Kind = TKind::PipeWire, .Restart = true},
    {.Name = "PipeWireStartsAfterTheGame", .Kind = TKind::PipeWire, .Restart = false},
};

class ClicksComeBack : public testing::TestWithParam<TOutageRow> {};

// With its next try an hour away, only the server's appearing brings the
// player back; the player says once that the clicks stop.
TEST_P(ClicksComeBack, AsSoonAsTheServerAppears)
{
    TSoundServer& server = TServers::Of(GetParam().Kind);
    ASSERT_EQ(server.Failure().toStdString(), "");
    if (!GetParam().Restart)
        server.Stop();
    testing::internal::CaptureStderr();
    std::string printed;
    {
        constexpr int Hour = 3600 * 1000;
        TSoundPlayer player(server.Address().toStdString(), Hour);
        const int sound = player.Add(QFile::encodeName(Sideways).toStdString());
        if (GetParam().Restart) {
            EXPECT_TRUE(StoredInTime(player, 1));
            server.Stop();
            EXPECT_TRUE(QTest::qWaitFor([&] { return !player.Ready(); }, 10000));
        }
        // Long enough for the first tries to fail.
        QTest::qWait(500);
        server.Start();
        ASSERT_EQ(server.Failure().toStdString(), "");
        EXPECT_TRUE(StoredInTime(player, 1));
        ASSERT_TRUE(server.StartRecording());
        player.Play(sound);
        EXPECT_EQ(HeardSounds(server.StopRecording(), TSoundServer::RecordingRate).size(), 1u);
        printed = testing::internal::GetCapturedStderr();
    }
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
}

INSTANTIATE_TEST_SUITE_P(Servers, ClicksComeBack, testing::ValuesIn(OutageRows), RowName);

} // namespace
