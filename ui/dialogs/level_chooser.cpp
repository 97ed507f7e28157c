#include "ui/dialogs/level_chooser.h"

#include "storage/maze_board.h"

#include "storage/board.h"
#include "ui/language.h"
#include "ui/main/main_form.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>
#include <fstream>

namespace sokoban {

namespace {

constexpr int kPictureWidth = 136;
constexpr int kPictureHeight = 88;
constexpr int kItemWidth = 150;
constexpr int kItemHeight = 142;
constexpr int kDownFrame = 2; // the first worker frame facing down

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

std::vector<TBestData> readBests(const std::string& bstFile) {
    std::vector<TBestData> out;
    std::ifstream in(bstFile, std::ios::binary);
    std::uint8_t rec[TBestData::kSize];
    while (in.read(reinterpret_cast<char*>(rec), sizeof rec))
        out.push_back(TBestData::decode(rec));
    return out;
}

// The level's bounding rectangle in whole cells as large as the picture
// allows, centred; outside cells stay dark.
QImage drawLevel(const core::Board& level, const BoardPainter& painter) {
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    image.fill(QColor(24, 24, 24));
    if (painter.closing) return image;
    const BoundingBox box = boundingBox(level.cells, level.cols);
    const int cell =
        std::max(1, std::min(kPictureWidth / box.width(), kPictureHeight / box.height()));
    const int x0 = (kPictureWidth - cell * box.width()) / 2;
    const int y0 = (kPictureHeight - cell * box.height()) / 2;
    QPainter p(&image);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const auto rect = [&](int i) {
        return QRect(x0 + (level.colOf(i) - box.left) * cell,
                     y0 + (level.rowOf(i) - box.top) * cell, cell, cell);
    };
    for (int r = box.top; r <= box.bottom; ++r)
        for (int c = box.left; c <= box.right; ++c) {
            const int i = level.cellAt(r, c);
            const int code = level.at(i);
            if (code >= kWall && code <= kBoxOnTarget)
                p.drawImage(rect(i), painter.tiles[static_cast<std::size_t>(code)]);
        }
    if (level.contains(level.worker)) {
        const QRect r = rect(level.worker);
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        p.drawImage(r, painter.manMasks[kDownFrame]);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.drawImage(r, painter.manImages[kDownFrame]);
    }
    return image;
}

QImage greyed(const QImage& image) {
    QImage g =
        image.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
    QPainter p(&g);
    p.fillRect(g.rect(), QColor(255, 255, 255, 110));
    return g;
}

// One level in the grid: picture, number and title, solved mark and best
// counts. Only items in view are painted, and only they draw pictures.
class LevelDelegate : public QStyledItemDelegate {
  public:
    LevelDelegate(LevelListModel& model, QObject* parent)
        : QStyledItemDelegate(parent), model_(model) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {kItemWidth, kItemHeight};
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const int level = index.row() + 1;
        const bool locked = model_.locked(level);
        const QRect r = option.rect.adjusted(3, 3, -3, -3);
        p->save();
        const bool selected = option.state & QStyle::State_Selected;
        p->fillRect(r, selected ? option.palette.highlight() : option.palette.base());
        p->setPen(option.palette.mid().color());
        p->drawRect(r.adjusted(0, 0, -1, -1));

        const QImage& picture = model_.picture(level);
        const QPoint at(r.left() + (r.width() - kPictureWidth) / 2, r.top() + 4);
        p->drawImage(at, locked ? greyed(picture) : picture);

        QColor text =
            selected ? option.palette.highlightedText().color() : option.palette.text().color();
        if (locked) text = option.palette.color(QPalette::Disabled, QPalette::Text);
        p->setPen(text);
        const QFontMetrics fm(option.font);
        const int line = fm.height();
        QRect t(r.left() + 4, at.y() + kPictureHeight + 3, r.width() - 8, line);
        const std::string title = model_.title(level);
        const QString head = QString("%1  %2").arg(model_.shownNumber(level)).arg(q(title));
        p->drawText(t, Qt::AlignLeft | Qt::AlignVCenter,
                    fm.elidedText(head, Qt::ElideRight, t.width()));
        t.translate(0, line);
        const TBestData& best = model_.best(level);
        QString state;
        if (locked)
            state = QCoreApplication::translate("sokoban::LevelChooser", "未开放");
        else if (best.moves != 0 || best.pushes != 0)
            state = QCoreApplication::translate("sokoban::LevelChooser", "✔ 已解  %1 / %2")
                        .arg(best.moves)
                        .arg(best.pushes);
        else
            state = QCoreApplication::translate("sokoban::LevelChooser", "未解");
        p->drawText(t, Qt::AlignLeft | Qt::AlignVCenter,
                    fm.elidedText(state, Qt::ElideRight, t.width()));
        p->restore();
    }

  private:
    LevelListModel& model_;
};

} // namespace

LevelListModel::LevelListModel(TMainForm& mainForm, QObject* parent)
    : QAbstractListModel(parent), mainForm_(mainForm) {}

void LevelListModel::reload() {
    beginResetModel();
    const GameModel& m = mainForm_.model();
    pictures_.clear();
    drawn_ = 0;
    gameFile_ = m.gameFile();
    count_ = 0;
    maxLevel_ = 0;
    bests_.clear();
    infos_.clear();
    stats_.clear();
    if (!m.gameFile().empty() && m.levelCount() > 0) {
        const CompanionFiles f = m.files();
        std::error_code ec;
        count_ = static_cast<int>(std::filesystem::file_size(m.gameFile(), ec) / TMazeData::kSize);
        if (ec) count_ = 0;
        maxLevel_ = m.maxLevel();
        bests_ = readBests(f.bst.path().string());
        infos_ = readLevelIndex(m.gameFile());
        if (m.collection()) stats_ = readLevelStats(m.statsFile());
    }
    endResetModel();
}

int LevelListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count_;
}

QVariant LevelListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count_) return {};
    const int level = index.row() + 1;
    if (role == Qt::DisplayRole)
        return QString("%1  %2").arg(shownNumber(level)).arg(q(title(level)));
    if (role == Qt::ToolTipRole) {
        const auto n = static_cast<std::size_t>(level);
        QString tip = n <= infos_.size() && !infos_[n - 1].title.empty()
                          ? tr("第 %1 关：%2")
                                .arg(QString::number(shownNumber(level)), q(infos_[n - 1].title))
                          : tr("第 %1 关").arg(shownNumber(level));
        if (n <= infos_.size() && !infos_[n - 1].author.empty())
            tip += "\n" + tr("作者：%1").arg(q(infos_[n - 1].author));
        const TBestData& b = best(level);
        if (b.moves || b.pushes)
            tip += "\n" + tr("最佳移动：%1  最佳推动：%2").arg(b.moves).arg(b.pushes);
        if (n <= stats_.size() && stats_[n - 1].attempts > 0)
            tip += "\n" + tr("尝试 %1 次，用时 %2 分 %3 秒")
                              .arg(stats_[n - 1].attempts)
                              .arg(stats_[n - 1].seconds / 60)
                              .arg(stats_[n - 1].seconds % 60);
        if (locked(level)) tip += "\n" + tr("先过了前面的关卡再说吧！");
        return tip;
    }
    return {};
}

const TBestData& LevelListModel::best(int level) const {
    static const TBestData none;
    const auto n = static_cast<std::size_t>(level);
    return n >= 1 && n <= bests_.size() ? bests_[n - 1] : none;
}

int LevelListModel::shownNumber(int level) const {
    return mainForm_.model().shownNumber(level);
}

std::string LevelListModel::setName() const {
    const auto& collection = mainForm_.model().collection();
    return collection ? collection->name : gameFile_;
}

std::string LevelListModel::title(int level) const {
    const auto n = static_cast<std::size_t>(level);
    return n >= 1 && n <= infos_.size() ? infos_[n - 1].title : std::string();
}

const QImage& LevelListModel::picture(int level) const {
    if (const QImage* cached = pictures_.object(level)) return *cached;
    core::Board maze;
    try {
        maze = mainForm_.model().gameFile() == gameFile_
                   ? mainForm_.model().levelBoard(level)
                   : boardOf(RecordFile(gameFile_, TMazeData::kSize).get<TMazeData>(level - 1));
    } catch (const std::exception&) {
        // A set shortened meanwhile: an empty picture.
    }
    auto* image = new QImage(drawLevel(maze, mainForm_.painter()));
    ++drawn_;
    pictures_.insert(level, image);
    return *pictures_.object(level);
}

LevelChooser::LevelChooser(TMainForm& mainForm, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      mainForm_(mainForm) {
    setObjectName("FormLevelChooser");
    setTr(this, TextRole::WindowTitle, "sokoban::LevelChooser", QT_TR_NOOP("关卡一览"));
    model_ = new LevelListModel(mainForm, this);
    view_ = new QListView;
    view_->setObjectName("LevelGrid");
    view_->setViewMode(QListView::IconMode);
    view_->setResizeMode(QListView::Adjust);
    view_->setMovement(QListView::Static);
    view_->setUniformItemSizes(true);
    view_->setGridSize({kItemWidth, kItemHeight});
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setModel(model_);
    view_->setItemDelegate(new LevelDelegate(*model_, view_));
    summary_ = new QLabel;
    summary_->setObjectName("Summary");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(view_);
    resize(5 * kItemWidth + 40, 3 * kItemHeight + 60);
    connect(view_, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { playLevel(index.row() + 1); });
    connect(view_, &QListView::activated, this,
            [this](const QModelIndex& index) { playLevel(index.row() + 1); });
}

void LevelChooser::showChooser() {
    model_->reload();
    const GameModel& m = mainForm_.model();
    showSummary();
    if (!m.xsbMode() && m.curLevel() >= 1 && m.curLevel() <= model_->levelCount()) {
        const QModelIndex here = model_->index(m.curLevel() - 1);
        view_->setCurrentIndex(here);
        view_->scrollTo(here, QAbstractItemView::PositionAtCenter);
    }
    show();
    raise();
    activateWindow();
}

void LevelChooser::showSummary() {
    int solved = 0;
    for (int k = 1; k <= model_->levelCount(); ++k)
        if (model_->best(k).moves != 0 || model_->best(k).pushes != 0) ++solved;
    summary_->setText(
        model_->levelCount() == 0
            ? tr("没有打开的关卡集")
            : tr("%1  共 %2 关，已解 %3 关，已开放 %4 关")
                  .arg(q(model_->setName()), QString::number(model_->levelCount()),
                       QString::number(solved),
                       QString::number(std::min(model_->maxLevel(), model_->levelCount()))));
}

void LevelChooser::changeEvent(QEvent* e) {
    QDialog::changeEvent(e);
    if (e->type() == QEvent::LanguageChange) {
        showSummary();
        view_->viewport()->update();
    }
}

bool LevelChooser::playLevel(int level) {
    if (level < 1 || level > model_->levelCount() || model_->locked(level)) return false;
    GameModel& m = mainForm_.model();
    m.guarded([&] {
        if (m.demoMode() || m.demoPaused() || m.demoButtons() != DemoButtons::Idle) m.stopDemo();
        mainForm_.StopWalking();
        m.playLevel(level);
    });
    hide();
    return true;
}

} // namespace sokoban
