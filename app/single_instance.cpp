#include "app/single_instance.h"

#include "storage/file_places.h"
#include "ui/platform/desktop_integration.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocalSocket>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace sokoban {

namespace {
// What a later start sends: this mark, then the file as bytes.
constexpr quint32 kRequestMark = 0x534b4231;
constexpr char kAnswer = 'k';
// Far more than a path; a sender that goes beyond is cut off.
constexpr qint64 kMaxRequest = 1 << 20;
// Generous: a busy machine may take a while to answer, and a start that gives up runs a
// second game.
constexpr int kWaitMs = 10000;
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_0;

// Held while a start looks for the running game and, finding none, takes its
// place, so that two starts at once come one after the other. The system
// lets go of it when the process ends, however it ends.
class StartLock {
  public:
    explicit StartLock(const std::filesystem::path& path) {
        // Never through a symbolic link: a dangling one would make a file where it points.
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd_ < 0) return;
        // A holder stuck past the wait does not stop this start.
        const QDeadlineTimer deadline(kWaitMs);
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || deadline.hasExpired()) {
                ::close(fd_);
                fd_ = -1;
                return;
            }
            QThread::msleep(5);
        }
    }
    ~StartLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    StartLock(const StartLock&) = delete;
    StartLock& operator=(const StartLock&) = delete;

  private:
    int fd_ = -1;
};
} // namespace

QString SingleInstance::serverName(const std::filesystem::path& appDir) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path dir = fs::weakly_canonical(fs::absolute(appDir, ec), ec);
    if (ec) dir = appDir;
    const QByteArray uid = QByteArray::number(static_cast<qulonglong>(::getuid()));
    QByteArray key = uid;
    for (const QByteArray& part :
         {QByteArray(userDataDir().c_str()), QByteArray(dir.c_str()),
          QGuiApplication::platformName().toUtf8(), qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY")})
        key += '\n' + part;
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString base = QString::fromLatin1(kApplicationId) + '-';
    const QString inRuntime = runtime + '/' + base + hash;
    // A socket path has room for about 100 bytes.
    if (runtime.startsWith('/') && QFileInfo(runtime).isDir() &&
        inRuntime.toLocal8Bit().size() < 100)
        return inRuntime;
    return base + QString::fromLatin1(uid) + '-' + hash;
}

std::filesystem::path SingleInstance::lockFile(const std::filesystem::path& appDir) {
    return FilePlaces(appDir).ownDir() / "game.lock";
}

SingleInstance::SingleInstance(QString serverName, std::filesystem::path lockFile, QObject* parent)
    : QObject(parent), name_(std::move(serverName)), lockFile_(std::move(lockFile)) {
    connect(&server_, &QLocalServer::newConnection, this, [this] { acceptConnections(); });
}

bool SingleInstance::handToRunningCopy(const std::string& file) {
    // Two starts at once: the second waits until the first listens, then hands over to it.
    const StartLock lock(lockFile_);

    QLocalSocket socket;
    socket.connectToServer(name_);
    if (socket.waitForConnected(kWaitMs)) {
        QByteArray request;
        QDataStream out(&request, QIODevice::WriteOnly);
        out.setVersion(kStreamVersion);
        out << kRequestMark << QByteArray::fromStdString(file);
        socket.write(request);
        while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(kWaitMs)) {
        }
        char answer = 0;
        while (socket.bytesAvailable() == 0 && socket.waitForReadyRead(kWaitMs)) {
        }
        if (socket.getChar(&answer) && answer == kAnswer) return true;
        return false; // a copy that does not answer: run beside it, without its name
    }
    const auto error = socket.error();
    if (error != QLocalSocket::ServerNotFoundError && error != QLocalSocket::ConnectionRefusedError)
        return false;
    // Nobody answers at that name: a killed copy's socket, or none.
    QLocalServer::removeServer(name_);
    // The runtime folder is the user's alone; in the temporary folder the
    // socket itself is made so.
    if (!name_.startsWith('/')) server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(name_);
    return false;
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        QPointer<QLocalSocket> guard(socket);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto read = [this, guard] {
            if (!guard) return;
            QDataStream in(guard.data());
            in.setVersion(kStreamVersion);
            in.startTransaction();
            quint32 mark = 0;
            QByteArray file;
            in >> mark >> file;
            if (!in.commitTransaction()) {
                if (guard->bytesAvailable() > kMaxRequest) guard->abort();
                return;
            }
            if (mark != kRequestMark) {
                guard->abort();
                return;
            }
            guard->putChar(kAnswer);
            guard->flush();
            // The starter may end now; the file is opened from the event loop, where the
            // messages it may bring run their own loops.
            QTimer::singleShot(0, this, [this, f = file.toStdString()] { emit handedOver(f); });
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        read();
    }
}

std::string absoluteArgument(const std::string& argument) {
    if (argument.empty()) return argument;
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::absolute(argument, ec);
    return ec ? argument : p.lexically_normal().string();
}

} // namespace sokoban
