// A pipe where the game expects a file (an answer file, a level set's
// records) gives the general error report at once instead of blocking.
#include "test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace sokoban::testing {
namespace {

class PlainFilesTest : public GameFixture {
  protected:
    void SetUp() override {
        ::alarm(60); // blocking on a pipe fails the test instead of hanging it
        playSet({makeLevel({"#####", "#@$.#", "#####"})});
        dialogs.takeTexts();
    }
    void TearDown() override { ::alarm(0); }
    std::string pipe(const std::string& name) {
        const auto p = dir.path / name;
        EXPECT_EQ(::mkfifo(p.c_str(), 0644), 0);
        return p.string();
    }
};

TEST_F(PlainFilesTest, PipeAsAnswerFile) {
    const std::string ans = pipe("in.ans");
    dialogs.fileAnswers.push_back(ans);
    game.guarded([&] { game.mAnswerInClick(); });
    EXPECT_EQ(dialogs.takeMessages(),
              Messages{fileErrorMessage(FileError(ans, FileReason::NotPlainFile))});
}

TEST_F(PlainFilesTest, PipeAsProgressFile) {
    writeLevelSet(dir.path / "mine.box", {makeLevel({"#####", "#@$.#", "#####"})});
    const std::string sav = pipe("mine.sav");
    game.setGameFile((dir.path / "mine.box").string());
    game.guarded([&] { game.OpenGame(); });
    EXPECT_EQ(dialogs.takeMessages(),
              Messages{fileErrorMessage(FileError(sav, FileReason::NotPlainFile))});
}

} // namespace
} // namespace sokoban::testing
