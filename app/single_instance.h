// One running game per user: a later start hands its file to the running
// copy (or just brings it forward) and ends.
#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QString>

#include <filesystem>
#include <string>

namespace sokoban {

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // The running copy's socket, one per user, per-user data folder, display and program
    // directory: a game with other folders (a test's own HOME, XDG_DATA_HOME or
    // XDG_RUNTIME_DIR, a portable copy elsewhere) is another game. The socket lies in
    // XDG_RUNTIME_DIR when there is one, else in the temporary folder under a name with the
    // user id. Needs a QGuiApplication.
    static QString serverName(const std::filesystem::path& appDir);
    // The file locked while a start looks for the running game: one in the
    // game's own folder, which holds nothing else of a start that ended.
    static std::filesystem::path lockFile(const std::filesystem::path& appDir);

    SingleInstance(QString serverName, std::filesystem::path lockFile, QObject* parent = nullptr);

    // When a copy is running: hands it `file` (an absolute path as the system's bytes; empty:
    // only come forward) and returns true, and this start ends. Otherwise this copy takes the
    // name, so that later starts find it, and returns false. A copy that was killed left its
    // socket behind: it is removed. A running copy that does not answer keeps its name; this
    // one then runs on its own.
    bool handToRunningCopy(const std::string& file);

    bool listening() const { return server_.isListening(); }

  signals:
    // A later start's file (empty: none); delivered from the event loop.
    void handedOver(const std::string& file);

  private:
    void acceptConnections();

    QString name_;
    std::filesystem::path lockFile_;
    QLocalServer server_;
};

// The file argument as the running copy gets it: absolute, against this start's folder.
std::string absoluteArgument(const std::string& argument);

} // namespace sokoban
