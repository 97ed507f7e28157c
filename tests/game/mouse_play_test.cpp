#include "test_support.h"

#include <gtest/gtest.h>

#include <functional>

namespace sokoban::testing {
namespace {

class MouseTest : public GameFixture {
  protected:
    void SetUp() override { game.setLayout({10, 0, 0}); }
    // A board of rows of text at the top-left, played as a set of one
    // level and drawn with cells of 10 pixels.
    void board(const std::vector<std::string>& rows) {
        writeLevelSet(dir.path / "board.box", {makeLevel(rows)});
        game.openOtherSet((dir.path / "board.box").string());
        game.setLayout({10, 0, 0});
    }
    std::vector<std::string> walk() const {
        std::vector<std::string> out;
        for (int i = 0; i < game.walk().walkCount; ++i)
            out.push_back(game.walk().walkPath[static_cast<std::size_t>(i)].dir);
        return out;
    }
    static int at(int row, int col) { return row * kCols + col; }
};

TEST_F(MouseTest, OpenFloorWalkKeepsTheForwardPath) {
    std::vector<std::string> rows(10, "#" + std::string(10, ' ') + "#");
    rows.front() = rows.back() = std::string(12, '#');
    rows[5][5] = '@';
    board(rows);
    game.BlockClick(at(7, 7));
    EXPECT_EQ(walk(), (std::vector<std::string>{"right", "down", "right", "down"}));
    EXPECT_TRUE(view.walking);
    EXPECT_EQ(view.walkInterval, 50); // medium speed
    for (int i = 0; i < 4; ++i)
        game.Timer2Timer();
    EXPECT_EQ(game.manPos(), at(7, 7));
    EXPECT_FALSE(view.walking);
    EXPECT_EQ(game.moveCount(), 4);
}

TEST_F(MouseTest, WalledExampleTakesTheShortcut) {
    board({
        "########",
        "# #    #",
        "# ##   #",
        "#  @#  #",
        "##     #",
        "########",
    });
    ASSERT_EQ(game.manPos(), at(3, 3));
    game.BlockClick(at(1, 5));
    EXPECT_EQ(walk(), (std::vector<std::string>{"down", "right", "right", "up", "up", "up"}));
}

TEST_F(MouseTest, AShorterBackwardPathIsReversed) {
    // Forward the search wanders into the dead end on the left first.
    board({
        "#########",
        "#   #   #",
        "# # # # #",
        "#   @   #",
        "#########",
    });
    game.BlockClick(at(1, 7));
    const auto path = walk();
    int r = 3, c = 4;
    for (const auto& w : path) {
        if (w == "up") --r;
        if (w == "down") ++r;
        if (w == "left") --c;
        if (w == "right") ++c;
    }
    EXPECT_EQ(at(r, c), at(1, 7));
    EXPECT_LE(path.size(), 5u);
}

TEST_F(MouseTest, ClicksNextToTheWorker) {
    board({
        "#######",
        "#  $  #",
        "# $@$ #",
        "#  #$ #",
        "#  $  #",
        "#######",
    });
    const int man = game.manPos();
    game.BlockClick(man); // own cell: nothing
    EXPECT_TRUE(view.effects.empty());
    game.BlockClick(at(4, 3)); // box two cells away
    EXPECT_EQ(view.effects, std::vector<std::string>{"PONG"});
    EXPECT_EQ(game.manPos(), man);
    view.effects.clear();
    game.BlockClick(at(3, 3)); // wall below
    EXPECT_EQ(view.effects, std::vector<std::string>{"PONG"});
    view.effects.clear();
    game.BlockClick(at(2, 2)); // box on the left, free beyond
    EXPECT_EQ(view.effects, std::vector<std::string>{"PUSH"});
    EXPECT_EQ(game.manPos(), at(2, 2));
    view.effects.clear();
    game.BlockClick(at(2, 3)); // floor next to the worker: one step, no search
    EXPECT_EQ(view.effects, std::vector<std::string>{"MOVE"});
    EXPECT_FALSE(view.walking);
}

TEST_F(MouseTest, UnreachableCellsAreRefusedWithTheDeadCursor) {
    board({
        "#######",
        "#@ #  #",
        "#  #  #",
        "#######",
    });
    game.BlockClick(at(1, 5));
    EXPECT_EQ(view.effects, std::vector<std::string>{"PONG"});
    EXPECT_EQ(view.cursor, "dead");
    EXPECT_FALSE(view.walking);
    // Moving over the same cell keeps the cursor until another cell is reached.
    game.Image1MouseMove(55, 15);
    view.cursor = "dead";
    game.Image1MouseMove(56, 16);
    EXPECT_EQ(view.cursor, "dead");
}

TEST_F(MouseTest, PixelsMapToCellsWithTheOrigin) {
    game.setLayout({10, 2, 3});
    struct Case {
        int x, y, cell;
    } cases[] = {
        {30, 20, 0},
        {38, 28, 0},
        {39, 28, 1},
        {29, 20, 0},
        {28, 20, -1},
        {30, 19, 0}, // (x + 1) div size
        {30 + 33 * 10, 20, 33},
        {30 + 34 * 10, 20, -1},
        {30, 20 + 21 * 10, at(21, 0)},
        {30, 20 + 22 * 10, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(game.pixelToCell(c.x, c.y), c.cell) << c.x << "," << c.y;
    game.setLayout({0, 2, 3});
    EXPECT_EQ(game.pixelToCell(30, 20), -1);
    game.Image1MouseDown(false, 30, 20);
    EXPECT_TRUE(view.effects.empty());
}

TEST_F(MouseTest, CursorTable) {
    board({
        "#######",
        "#  $  #",
        "# $@$ #",
        "#  $  #",
        "# $  .#",
        "#######",
    });
    struct Case {
        int cell;
        const char* cursor;
    } cases[] = {
        {at(0, 0), "dead"}, {at(1, 1), "go"},     {at(4, 5), "go"},   {at(1, 3), "up"},
        {at(2, 2), "left"}, {at(2, 4), "right"},  {at(3, 3), "down"}, {at(4, 2), "dead"},
        {at(2, 3), "ques"}, {at(20, 30), "dead"},
    };
    for (const auto& c : cases) {
        view.cursor.clear();
        game.Image1MouseMove(c.cell % kCols * 10 + 5, c.cell / kCols * 10 + 5);
        EXPECT_EQ(view.cursor, c.cursor) << c.cell;
    }
    game.setLayout({10, 0, 0});
    game.Image1MouseMove(400, 5); // off the board
    EXPECT_EQ(view.cursor, "dead");
}

TEST_F(MouseTest, RightClicksAndDemonstrations) {
    writeLevelSet(dir.path / "game.box", {makeLevel({"######", "#@ $.#", "######"})});
    game.SelectGames(1);
    game.KeyMove("right");
    ASSERT_EQ(game.moveCount(), 1);
    game.Image1MouseDown(true, 5, 5); // right button alone: undo
    EXPECT_EQ(game.moveCount(), 0);
    // Right with Shift is a board click on the cell to the right.
    const int x =
        (game.manPos() % kCols + 1 + game.layout().originCol) * game.layout().cellSize + 2;
    const int y = (game.manPos() / kCols + game.layout().originRow) * game.layout().cellSize + 2;
    game.Image1MouseDown(false, x, y);
    EXPECT_EQ(game.moveCount(), 1);
    // During a demonstration a left click does nothing.
    TAnswerData a = emptyAnswerRecord();
    a.level = 1;
    a.moves = 2;
    a.setMove(0, 3);
    a.setMove(1, 3);
    game.files().sol.put(0, a);
    game.tbLoadAnswerClick();
    ASSERT_TRUE(game.demoMode());
    game.Image1MouseDown(false, x, y);
    EXPECT_EQ(game.moveCount(), 0);
}

TEST_F(MouseTest, EveryCommandEndsAWalk) {
    // A room with a walled-off pocket on the right.
    writeLevelSet(dir.path / "game.box", {makeLevel({
                                             "###########",
                                             "#     #   #",
                                             "#     #   #",
                                             "#@ $  # . #",
                                             "#     #   #",
                                             "###########",
                                         })});
    game.SelectGames(1);
    game.Gamesave(1);
    const auto pixel = [&](int cell) {
        const auto& l = game.layout();
        return std::pair{(cell % kCols + l.originCol) * l.cellSize + l.cellSize / 2,
                         (cell / kCols + l.originRow) * l.cellSize + l.cellSize / 2};
    };
    struct Case {
        const char* name;
        std::function<void()> command;
    } cases[] = {
        {"undo", [&] { game.tbUndoClick(); }},
        {"right click", [&] { game.Image1MouseDown(true, 1, 1); }},
        {"retry", [&] { game.tbRetryGameClick(); }},
        {"slot", [&] { game.GameLoad(1); }},
        {"chosen level",
         [&] {
             dialogs.inputAnswers.push_back("1");
             game.tbSelectRecordClick();
         }},
        {"key", [&] { game.FormKeyDown(GameKey::Other, kCtrl); }},
        {"escape", [&] { game.FormKeyDown(GameKey::Escape, 0); }},
        {"click on a wall",
         [&] {
             const auto [x, y] = pixel(at(0, 0));
             game.Image1MouseDown(false, x, y);
         }},
        {"click off the board", [&] { game.Image1MouseDown(false, 5000, 5000); }},
        {"click on an unreachable cell",
         [&] {
             const auto [x, y] = pixel(at(1, 8));
             game.Image1MouseDown(false, x, y);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        game.tbRetryGameClick();
        dialogs.takeTexts();
        game.BlockClick(at(1, 5));
        ASSERT_TRUE(view.walking);
        game.Timer2Timer();
        c.command();
        EXPECT_FALSE(view.walking);
        const int man = game.manPos();
        const int moves = game.moveCount();
        for (int i = 0; i < 8; ++i)
            game.Timer2Timer();
        EXPECT_EQ(game.manPos(), man);
        EXPECT_EQ(game.moveCount(), moves);
    }
}

TEST_F(MouseTest, AnArrowKeyDuringAWalkStopsItAndSteps) {
    writeLevelSet(dir.path / "game.box",
                  {makeLevel({"########", "#      #", "#      #", "#@ $  .#", "########"})});
    game.SelectGames(1);
    game.BlockClick(at(1, 6));
    ASSERT_TRUE(view.walking);
    game.Timer2Timer();
    const int man = game.manPos();
    game.FormKeyDown(GameKey::Left, 0); // back where the walk began
    EXPECT_FALSE(view.walking);
    EXPECT_EQ(game.manPos(), man - 1);
    EXPECT_EQ(game.moveCount(), 2);
    for (int i = 0; i < 8; ++i)
        game.Timer2Timer();
    EXPECT_EQ(game.manPos(), man - 1);
}

TEST_F(MouseTest, WalkingSpeeds) {
    std::vector<std::string> rows(6, "#" + std::string(10, ' ') + "#");
    rows.front() = rows.back() = std::string(12, '#');
    rows[2][2] = '@';
    board(rows);
    for (auto [speed, interval] : {std::pair{1, 20}, {2, 50}, {3, 100}}) {
        game.settings().moveSpeed = static_cast<std::uint8_t>(speed);
        game.BlockClick(game.manPos() == at(2, 2) ? at(4, 8) : at(2, 2));
        EXPECT_EQ(view.walkInterval, interval);
        while (view.walking)
            game.Timer2Timer();
    }
}

} // namespace
} // namespace sokoban::testing
