// 关卡一览: every level of the open set as a small picture in a scrollable
// grid, with its number, title, whether it is solved and its best counts.
// Locked levels are greyed; a double click plays an unlocked one. Pictures
// are drawn only when they come into view, so a set of thousands of levels
// opens at once.
#pragma once

#include "storage/level_collection.h"
#include "storage/level_stats.h"
#include "storage/records.h"

#include <QAbstractListModel>
#include <QCache>
#include <QDialog>
#include <QImage>

#include <string>
#include <vector>

class QLabel;
class QListView;

namespace sokoban {

class TMainForm;

// The levels of one set as the grid shows them.
class LevelListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    explicit LevelListModel(TMainForm& mainForm, QObject* parent = nullptr);

    // Reads the set open in the main window: count, progress, best counts,
    // titles. Pictures are made later, when asked for.
    void reload();

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    const std::string& gameFile() const { return gameFile_; }
    int levelCount() const { return count_; }
    int maxLevel() const { return maxLevel_; }
    bool locked(int level) const { return level > maxLevel_; }
    const TBestData& best(int level) const;
    std::string title(int level) const;
    // The number a player knows the level by: a collection's levels go by
    // their numbers in its text.
    int shownNumber(int level) const;
    // The set's name as the caption gives it: a collection's own, else the file.
    std::string setName() const;
    // The picture of a level; drawn, and cached, at the first call.
    const QImage& picture(int level) const;
    // How many pictures have been drawn since the last reload.
    int picturesDrawn() const { return drawn_; }

  private:
    TMainForm& mainForm_;
    std::string gameFile_;
    int count_ = 0;
    int maxLevel_ = 0;
    std::vector<TBestData> bests_;
    std::vector<LevelInfo> infos_;
    std::vector<LevelStats> stats_; // a collection's attempts and time played
    mutable QCache<int, QImage> pictures_{400};
    mutable int drawn_ = 0;
};

class LevelChooser : public QDialog {
    Q_OBJECT
  public:
    explicit LevelChooser(TMainForm& mainForm, QWidget* parent = nullptr);

    // Shows the levels of the set open now.
    void showChooser();
    // Plays an unlocked level and hides the window; false for a locked one.
    bool playLevel(int level);

    QListView* view() const { return view_; }
    LevelListModel& levels() { return *model_; }

  protected:
    void changeEvent(QEvent* e) override;

  private:
    void showSummary();

    TMainForm& mainForm_;
    LevelListModel* model_ = nullptr;
    QListView* view_ = nullptr;
    QLabel* summary_ = nullptr;
};

} // namespace sokoban
