#pragma once

// A PulseAudio server of the test's own with one silent output, so that the players can be
// driven against real streams on a machine without a sound card: the test counts the
// streams the players open and listens to what reaches the output. Needs the pulseaudio,
// pactl and parec programs; without them the tests that use it are skipped.

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include <sys/prctl.h>

namespace audio_test {

class SoundServer {
  public:
    // The sound that reaches the output is read at this rate, mono.
    static constexpr int kListenRate = 8000;

    // Starts the server and points this process at it (PULSE_SERVER). Call it before
    // anything in the process talks to a sound service.
    bool start() {
        const QString daemon = QStandardPaths::findExecutable("pulseaudio");
        if (daemon.isEmpty() || QStandardPaths::findExecutable("pactl").isEmpty() ||
            QStandardPaths::findExecutable("parec").isEmpty() || !dir_.isValid())
            return false;
        const QString socket = dir_.filePath("native");
        QFile script(dir_.filePath("server.pa"));
        if (!script.open(QIODevice::WriteOnly)) return false;
        script.write(QStringLiteral("load-module module-null-sink sink_name=silent\n"
                                    "set-default-sink silent\n"
                                    "load-module module-native-protocol-unix auth-anonymous=1 "
                                    "socket=%1\n")
                         .arg(socket)
                         .toUtf8());
        script.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", dir_.path());
        env.insert("XDG_RUNTIME_DIR", dir_.path());
        env.remove("PULSE_SERVER");
        // The helpers go with the test should it die; the server would also leave by
        // itself a while after its last client.
        for (QProcess* p : {&server_, &events_, &listener_})
            p->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        server_.setProcessEnvironment(env);
        server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server_.setStandardOutputFile(QProcess::nullDevice());
        server_.start(daemon, {"-n", "-F", script.fileName(), "--exit-idle-time=20",
                               "--daemonize=no", "--use-pid-file=no", "--realtime=no",
                               "--high-priority=no", "--log-level=0"});
        if (!server_.waitForStarted(10000)) return false;
        qputenv("PULSE_SERVER", ("unix:" + socket).toUtf8());
        const bool up = QTest::qWaitFor([] { return runPactl({"info"}).has_value(); }, 20000);
        if (!up) return false;

        events_.start("pactl", {"subscribe"});
        listener_.start("parec", {"-d", "silent.monitor", "--format=s16le", "--channels=1",
                                  QStringLiteral("--rate=%1").arg(kListenRate), "--raw"});
        return events_.waitForStarted(10000) && listener_.waitForStarted(10000);
    }

    ~SoundServer() {
        for (QProcess* p : {&listener_, &events_, &server_}) {
            p->terminate();
            if (!p->waitForFinished(5000)) p->kill();
            p->waitForFinished(5000);
        }
    }

    // Streams opened for playing since the server started.
    int streamsOpened() {
        events_.waitForReadyRead(50);
        eventText_ += events_.readAllStandardOutput();
        return int(eventText_.count("'new' on sink-input"));
    }

    // Streams open for playing now.
    int openStreams() const {
        const auto list = runPactl({"list", "short", "sink-inputs"});
        return list ? int(list->count('\n')) : -1;
    }

    // Waits until the output has been silent for a second; false after `limitMs`.
    bool waitForSilence(int limitMs) {
        int quietMs = 0;
        return QTest::qWaitFor(
            [&] {
                for (double level : listen()) {
                    quietMs = level < kSoundLevel ? quietMs + kWindowMs : 0;
                    if (quietMs >= 1000) return true;
                }
                return false;
            },
            limitMs);
    }

    // Waits until something is heard at the output; false after `limitMs`.
    bool waitForSound(int limitMs) {
        return QTest::qWaitFor(
            [&] {
                for (double level : listen())
                    if (level >= kSoundLevel) return true;
                return false;
            },
            limitMs);
    }

  private:
    static constexpr int kWindowMs = 20;
    static constexpr double kSoundLevel = 300; // root mean square, of 32767

    static std::optional<QByteArray> runPactl(const QStringList& args) {
        QProcess p;
        p.start("pactl", args);
        if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() != 0)
            return std::nullopt;
        return p.readAllStandardOutput();
    }

    // The levels of the 20-millisecond windows heard since the last call.
    std::vector<double> listen() {
        listener_.waitForReadyRead(50);
        heard_ += listener_.readAllStandardOutput();
        constexpr int windowBytes = kListenRate * kWindowMs / 1000 * 2;
        std::vector<double> levels;
        while (heard_.size() >= windowBytes) {
            double sum = 0;
            for (int i = 0; i < windowBytes; i += 2) {
                std::int16_t v;
                std::memcpy(&v, heard_.constData() + i, 2);
                sum += double(v) * v;
            }
            levels.push_back(std::sqrt(sum / (windowBytes / 2)));
            heard_.remove(0, windowBytes);
        }
        return levels;
    }

    QTemporaryDir dir_;
    QProcess server_;
    QProcess events_;
    QProcess listener_;
    QByteArray eventText_;
    QByteArray heard_;
};

} // namespace audio_test
