// The clicks through a real sound server: a private PulseAudio with a null
// sink, whose monitor is recorded and the clicks in it counted.
#include "QtServices.h"
#include "SoundPlayer.h"
#include "SoundServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include <thread>

namespace {

const QString Assets = QStringLiteral(MVK_ASSETS_DIR "/");
const QString Clicks[] = {Assets + "click.wav", Assets + "click2.wav", Assets + "click3.wav", Assets + "click4.wav"};
const QString Sideways = Clicks[1];

class SoundServer : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Server = new TSoundServer;
        // The game's own path to the server: the environment names it. The
        // client's cookie stays out of the real home.
        qputenv("PULSE_SERVER", Server->Address().toLocal8Bit());
        qputenv("PULSE_COOKIE", (Server->Folder() + "/cookie").toLocal8Bit());
    }
    static void TearDownTestSuite()
    {
        delete Server;
        Server = nullptr;
    }

    void SetUp() override { ASSERT_EQ(Server->Failure(), QString()); }

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
        return CountOnsets(Server->StopRecording(), TSoundServer::RecordingRate);
    }

    static inline TSoundServer* Server = nullptr;
    TQtServices Services;
};

TEST_F(SoundServer, EveryClickOfAFastRunSounds)
{
    LoadClicks();
    EXPECT_EQ(RecordedOnsets(Sideways, 100, 60), 100);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Services.SoundPlayer()->PlaysConfirmed() == 100; }, 5000));
    EXPECT_EQ(Services.SoundPlayer()->PlaysSent(), 100u);
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
    EXPECT_EQ(RecordedOnsets(Sideways, 1, 0), 1);
}

TEST_F(SoundServer, ClicksComeBackWithTheServer)
{
    LoadClicks();
    Server->Stop();
    const TSoundPlayer* player = Services.SoundPlayer();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player->Ready(); }, 5000));
    Services.PlaySound(Sideways);
    Server->Start();
    ASSERT_EQ(Server->Failure(), QString());
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Ready() && player->SoundsStored() == 4; }, 10000));
    EXPECT_EQ(RecordedOnsets(Sideways, 1, 0), 1);
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

// A wave file from its chunks, each given as id and body.
std::vector<std::uint8_t> Wave(std::initializer_list<std::pair<std::string, std::vector<std::uint8_t>>> chunks)
{
    std::vector<std::uint8_t> file{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const auto& [id, body] : chunks) {
        file.insert(file.end(), id.begin(), id.end());
        for (int shift = 0; shift < 32; shift += 8)
            file.push_back(std::uint8_t(body.size() >> shift));
        file.insert(file.end(), body.begin(), body.end());
        if (body.size() % 2)
            file.push_back(0);
    }
    return file;
}

// tag, channels, rate 22050, block align, bits
std::vector<std::uint8_t> Format(int tag, int channels, int align, int bits)
{
    return {std::uint8_t(tag), std::uint8_t(tag >> 8), std::uint8_t(channels), 0, 0x22, 0x56, 0, 0, 0, 0, 0, 0,
            std::uint8_t(align), 0, std::uint8_t(bits), 0};
}

TEST(WaveFile, GivesTheSamplesOfUncompressedWaves)
{
    TWave wave;
    // An odd chunk before the data is padded; a data chunk cut short keeps
    // its whole frames.
    std::vector<std::uint8_t> file = Wave({{"fmt ", Format(1, 2, 4, 16)}, {"LIST", {1, 2, 3}}, {"data", {}}});
    file.resize(file.size() - 4);
    file.insert(file.end(), {100, 0, 0, 0, 1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(DecodeWave(file, wave));
    EXPECT_EQ(wave.Format, TSampleFormat::S16LE);
    EXPECT_EQ(wave.Channels, 2);
    EXPECT_EQ(wave.Rate, 22050u);
    EXPECT_EQ(wave.Data, (std::vector<std::uint8_t>{1, 2, 3, 4}));

    ASSERT_TRUE(DecodeWave(Wave({{"fmt ", Format(3, 1, 4, 32)}, {"data", {0, 0, 0x80, 0x3F}}}), wave));
    EXPECT_EQ(wave.Format, TSampleFormat::Float32LE);
}

TEST(WaveFile, RefusesWhatItCannotPlay)
{
    const std::vector<std::uint8_t> frame{1, 2};
    const std::vector<std::uint8_t> refused[] = {
        {},
        Wave({{"data", frame}, {"fmt ", Format(1, 1, 2, 16)}}), // samples before their format
        Wave({{"fmt ", Format(2, 1, 2, 16)}, {"data", frame}}), // compressed
        Wave({{"fmt ", Format(1, 0, 0, 16)}, {"data", frame}}), // no channels
        Wave({{"fmt ", Format(1, 1, 4, 16)}, {"data", frame}}), // frame size not the format's
        Wave({{"fmt ", Format(1, 1, 2, 12)}, {"data", frame}}), // odd sample size
        Wave({{"fmt ", Format(1, 1, 2, 16)}, {"data", {}}}), // no samples
        Wave({{"fmt ", {1, 0, 1, 0}}, {"data", frame}}), // format cut short
    };
    for (const auto& file : refused) {
        TWave wave;
        EXPECT_FALSE(DecodeWave(file, wave)) << &file - refused;
    }
}

} // namespace
