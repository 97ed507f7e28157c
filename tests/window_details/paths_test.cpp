// File names that are not valid UTF-8 on their way through the level-set
// list: chosen in the file dialog, written to game.lst, played from the list
// and again at the next start.
#include "../game/test_support.h"
#include "../worded_dialogs.h"
#include "storage/file_places.h"
#include "storage/level_set.h"
#include "ui/dialogs/select.h"
#include "ui/main/main_form.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace sokoban::testing {
namespace {

TEST(PathsTest, ALevelSetNamedInAnotherEncodingLivesThroughTheList) {
    TempDir dir;
    writeLevelSet(dir.path / "game.box", {makeLevel({"#####", "#@$.#", "#####"})});
    const std::string set = (dir.path / "niv\xe9"
                                        "au\xff.box")
                                .string();
    writeLevelSet(set, {makeLevel({"######", "#@ $.#", "######"})});
    WordedDialogs dialogs;
    MainFormServices services;
    services.dialogs = &dialogs;
    auto form = std::make_unique<TMainForm>(dir.path, QStringList{"sokoban"}, services);
    form->FormCreate();

    TFormSelect list(*form, &dialogs);
    list.showDialog();
    dialogs.fileAnswers.push_back(set);
    QTest::mouseClick(list.button("ButtonAdd"), Qt::LeftButton);
    EXPECT_EQ(readGameList(FilePlaces(dir.path).listFile()), std::vector<std::string>{set});
    list.listBox()->setCurrentRow(0);
    QTest::mouseClick(list.button("ButtonSelect"), Qt::LeftButton);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(form->model().gameFile(), set);
    EXPECT_EQ(form->model().mazeWidth(), 6);

    // The choice is remembered: the next start opens the same bytes.
    form->close();
    form = std::make_unique<TMainForm>(dir.path, QStringList{"sokoban"}, services);
    form->FormCreate();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(form->model().gameFile(), set);
    EXPECT_EQ(form->model().mazeWidth(), 6);
}

} // namespace
} // namespace sokoban::testing
