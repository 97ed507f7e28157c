#include "file_places.h"

#include "safe_write.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

namespace sokoban {

namespace fs = std::filesystem;

namespace {

const char* const kBuiltinSets[] = {"game.box", "normal.box", "veryhard.box", "easy.box",
                                    "impossible.box"};
constexpr std::array<const char*, 3> kCompanionExtensions = {".sav", ".bst", ".sol"};

std::string withSeparator(const fs::path& dir) {
    std::string s = dir.string();
    if (!s.empty() && s.back() != '/') s += '/';
    return s;
}

// A file name less its last four characters (the ".box").
std::string cutExtension(const std::string& name) {
    return name.size() >= 4 ? name.substr(0, name.size() - 4) : std::string();
}

// Stable across runs and machines, unlike std::hash.
std::uint64_t fnv1a(const std::string& s) {
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : s) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

std::string fullPath(const std::string& file) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(file, ec), ec);
    if (ec) p = fs::absolute(file, ec).lexically_normal();
    return p.string();
}

} // namespace

FilePlaces::FilePlaces(fs::path appDir)
    : FilePlaces(std::move(appDir), userDataDir(), isWritableDir) {}

FilePlaces::FilePlaces(fs::path appDir, fs::path userDir, CanWrite canWrite)
    : appDir_(std::move(appDir)), userDir_(std::move(userDir)), canWrite_(std::move(canWrite)),
      appDirWritable_(canWrite_(appDir_)) {}

fs::path FilePlaces::ownDir() const {
    if (appDirWritable_) return appDir_;
    std::error_code ec;
    fs::create_directories(userDir_, ec);
    return userDir_;
}

fs::path FilePlaces::ownFile(const std::string& name) const {
    const fs::path here = ownDir() / name;
    if (!appDirWritable_ || !isUnwritableFile(here)) return here;
    std::error_code ec;
    fs::create_directories(userDir_, ec);
    const fs::path mine = userDir_ / name;
    // The player's copy starts from what the game read so far; anything
    // larger than these small files is no file of the game's.
    constexpr std::uint64_t kLargest = 1 << 20;
    if (!fs::exists(fs::symlink_status(mine, ec)) && isPlainFile(here) &&
        fs::file_size(here, ec) <= kLargest && !ec) {
        try {
            replaceFileContents(mine, readPlainFile(here));
        } catch (const FileError&) {
            // The copy starts from the defaults instead.
        }
    }
    return mine;
}

fs::path FilePlaces::settingsFile() const {
    return ownFile("game.var");
}

fs::path FilePlaces::listFile() const {
    return ownFile("game.lst");
}

fs::path FilePlaces::playOptionsFile() const {
    return ownFile("assist.var");
}

fs::path FilePlaces::undoFile() const {
    return ownDir() / ("game-" + std::to_string(::getpid()) + ".tmp");
}

fs::path FilePlaces::builtinSet(const std::string& name) const {
    return withSeparator(appDir_) + name;
}

bool FilePlaces::isBuiltinSet(const std::string& gameFile) const {
    const std::string dir = withSeparator(appDir_);
    for (const char* name : kBuiltinSets)
        if (gameFile == dir + name) return true;
    return false;
}

FilePlaces::CompanionPlace FilePlaces::companionPlace(const std::string& gameFile) const {
    const std::string beside = cutExtension(gameFile);
    const std::string name = fs::path(gameFile).filename().string();
    const std::string full = fullPath(gameFile);
    std::string base;
    if (isBuiltinSet(gameFile))
        base = appDirWritable_ ? beside : (ownDir() / cutExtension(name)).string();
    else if (canWrite_(fs::path(full).parent_path()))
        base = beside;
    const auto writable = [](const std::string& b) {
        return std::none_of(kCompanionExtensions.begin(), kCompanionExtensions.end(),
                            [&](const char* ext) { return isUnwritableFile(b + ext); });
    };
    if (!base.empty() && writable(base)) return {base, base == beside ? "" : beside};
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(fnv1a(full)));
    return {(ownDir() / (cutExtension(name) + "-" + hash)).string(), base.empty() ? beside : base};
}

void FilePlaces::removeStaleUndoFiles() const {
    std::error_code ec;
    for (fs::directory_iterator it(ownDir(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const long pid = std::max(undoFileOwner(name), unfinishedCopyOwner(name));
        if (pid <= 0 || pid == ::getpid()) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        std::error_code ignored;
        fs::remove(it->path(), ignored);
    }
}

fs::path userDataDir() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg == '/') return fs::path(xdg) / "sokoban";
    const char* home = std::getenv("HOME");
    fs::path h = home && *home ? fs::path(home) : fs::path();
    if (h.empty())
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) h = pw->pw_dir;
    return h / ".local" / "share" / "sokoban";
}

bool isWritableDir(const fs::path& dir) {
    const fs::path d = dir.empty() ? fs::path(".") : dir;
    std::error_code ec;
    return fs::is_directory(d, ec) &&
           ::faccessat(AT_FDCWD, d.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

long undoFileOwner(const std::string& fileName) {
    const std::string head = "game-", tail = ".tmp";
    if (fileName.size() <= head.size() + tail.size() || fileName.compare(0, 5, head) != 0 ||
        fileName.compare(fileName.size() - 4, 4, tail) != 0)
        return 0;
    const std::string digits = fileName.substr(5, fileName.size() - 9);
    if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
    return std::stol(digits);
}

} // namespace sokoban
