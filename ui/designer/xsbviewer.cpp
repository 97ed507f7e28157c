#include "ui/designer/xsbviewer.h"

#include "session/level_text_play.h"
#include "storage/file_error.h"
#include "ui/designer/design.h"
#include "ui/designer/level_preview.h"
#include "ui/language.h"
#include "ui/main/main_form.h"
#include "ui/platform/qt_dialogs.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <filesystem>

namespace sokoban {

namespace {

// The file types on offer, as text and pattern pairs.
constexpr const char* kFilter = QT_TRANSLATE_NOOP(
    "sokoban::TFormXSBViewer",
    "XSB仓库源文件(*.xsb)|*.xsb|XSB/SOK 关卡合集(*.xsb;*.sok;*.txt)|*.xsb;*.sok;*.txt|"
    "所有文件 (*.*)|*.*");
constexpr const char* kContext = "sokoban::TFormXSBViewer";

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// Every file the type "*.*" means: on this system names need no dot.
QString listPattern(const QString& pattern) {
    return pattern == "*.*" ? "*" : pattern;
}

} // namespace

TFormXSBViewer::TFormXSBViewer(TMainForm& mainForm, TFormDesign& formDesign, Dialogs* dialogs,
                               QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      mainForm_(mainForm), formDesign_(formDesign), dialogs_(dialogs) {
    if (!dialogs_) {
        ownDialogs_ = std::make_unique<QtDialogs>(this);
        dialogs_ = ownDialogs_.get();
    }
    setObjectName("FormXSBViewer");
    setTr(this, TextRole::WindowTitle, kContext, QT_TR_NOOP("XSB文件可视化浏览器"));

    driveComboBox1_ = new QComboBox;
    driveComboBox1_->setObjectName("DriveComboBox1");

    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folders_->setReadOnly(true);
    directoryListBox1_ = new QTreeView;
    directoryListBox1_->setObjectName("DirectoryListBox1");
    directoryListBox1_->setModel(folders_);
    directoryListBox1_->setHeaderHidden(true);
    for (int c = 1; c < folders_->columnCount(); ++c)
        directoryListBox1_->hideColumn(c);

    fileListBox1_ = new QListWidget;
    fileListBox1_->setObjectName("FileListBox1");

    filterComboBox1_ = new QComboBox;
    filterComboBox1_->setObjectName("FilterComboBox1");
    fillFilters();

    auto* left = new QVBoxLayout;
    left->addWidget(driveComboBox1_);
    left->addWidget(directoryListBox1_, 3);
    left->addWidget(fileListBox1_, 2);
    left->addWidget(filterComboBox1_);

    auto* panel1 = new QGroupBox;
    setTr(panel1, TextRole::Title, kContext, QT_TR_NOOP("XSB文件可视化预览"));
    panel1->setObjectName("Panel1");
    image1_ = new PreviewImage;
    auto* panelLayout = new QVBoxLayout(panel1);
    panelLayout->addWidget(image1_);

    auto* button1 = new QPushButton;
    setTr(button1, kContext, QT_TR_NOOP("读取"));
    button1->setObjectName("Button1");
    auto* button2 = new QPushButton;
    setTr(button2, kContext, QT_TR_NOOP("关闭"));
    button2->setObjectName("Button2");
    for (QPushButton* b : {button1, button2})
        b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button1);
    buttons->addWidget(button2);

    auto* right = new QVBoxLayout;
    right->addWidget(panel1);
    right->addStretch();
    right->addLayout(buttons);

    auto* columns = new QHBoxLayout(this);
    columns->addLayout(left, 1);
    columns->addLayout(right);
    resize(620, 420);

    fillDrives();
    connect(driveComboBox1_, &QComboBox::activated, this, [this] { DriveComboBox1Change(); });
    // The user's own choice in the tree is already where the user looks:
    // the tree must not move under the pointer.
    connect(directoryListBox1_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) chooseFolder(folders_->filePath(current), false);
            });
    directoryListBox1_->viewport()->installEventFilter(this);
    directoryListBox1_->verticalScrollBar()->installEventFilter(this);
    // The tree fills in as the folders are read; keep the chosen one in view.
    auto settle = [this] { QTimer::singleShot(0, this, [this] { showCurrentFolder(); }); };
    connect(folders_, &QFileSystemModel::directoryLoaded, this, settle);
    connect(folders_, &QFileSystemModel::layoutChanged, this, settle);
    connect(folders_, &QFileSystemModel::rowsInserted, this, settle);
    connect(filterComboBox1_, &QComboBox::activated, this, [this] { FilterComboBox1Change(); });
    onEntryPicked(fileListBox1_, [this] { FileListBox1Click(); });
    connect(button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(button2, &QPushButton::clicked, this, [this] { Button2Click(); });

    // The folder of the program is where the browsing starts.
    setFolder(q(mainForm_.model().appDir().string()));
}

TFormXSBViewer::~TFormXSBViewer() = default;

void TFormXSBViewer::fillDrives() {
    // The home folder first, then the root of every mounted file system.
    QStringList roots{QDir::homePath()};
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        if (v.isValid() && v.isReady() && !roots.contains(v.rootPath())) roots << v.rootPath();
    if (!roots.contains("/")) roots.insert(1, "/");
    for (const QString& r : roots)
        driveComboBox1_->addItem(r, r);
}

QPushButton* TFormXSBViewer::button(const QString& name) const {
    return findChild<QPushButton*>(name);
}

const QImage& TFormXSBViewer::previewImage() const {
    return image1_->image();
}

void TFormXSBViewer::showFromMain() {
    viewerFromMain = true;
    show();
    raise();
    activateWindow();
}

void TFormXSBViewer::showFromDesign() {
    viewerFromMain = false;
    show();
    raise();
    activateWindow();
}

void TFormXSBViewer::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // Scrolling needs the tree laid out.
    folderChosen_.start();
    QTimer::singleShot(0, this, [this] { showCurrentFolder(); });
}

void TFormXSBViewer::DriveComboBox1Change() {
    setFolder(driveComboBox1_->currentData().toString());
}

bool TFormXSBViewer::eventFilter(QObject* watched, QEvent* e) {
    // Once the user handles the tree, it is the user's: no more bringing the
    // chosen folder back into view.
    if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::Wheel)
        folderChosen_.invalidate();
    return QDialog::eventFilter(watched, e);
}

void TFormXSBViewer::setFolder(const QString& folder) {
    chooseFolder(folder, true);
}

void TFormXSBViewer::chooseFolder(const QString& folder, bool bringIntoView) {
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    if (clean == folder_ && fileListBox1_->count() > 0) return;
    folder_ = clean;

    // The chooser shows the deepest root that holds the folder; the tree
    // starts there.
    int best = 0, bestLength = -1;
    for (int k = 0; k < driveComboBox1_->count(); ++k) {
        const QString root = driveComboBox1_->itemData(k).toString();
        const bool holds = root == "/" || folder_ == root || folder_.startsWith(root + "/");
        if (holds && root.size() > bestLength) {
            best = k;
            bestLength = static_cast<int>(root.size());
        }
    }
    driveComboBox1_->setCurrentIndex(best);
    const QString root = driveComboBox1_->itemData(best).toString();
    folders_->setRootPath(root);
    directoryListBox1_->setRootIndex(folders_->index(root));
    const QModelIndex here = folders_->index(folder_);
    if (here.isValid() && directoryListBox1_->currentIndex() != here) {
        const QSignalBlocker quiet(directoryListBox1_->selectionModel());
        directoryListBox1_->setCurrentIndex(here);
        for (QModelIndex up = here; up.isValid(); up = up.parent())
            directoryListBox1_->expand(up);
    }
    if (bringIntoView) {
        folderChosen_.start();
        showCurrentFolder();
    }
    fillFiles();
}

void TFormXSBViewer::showCurrentFolder() {
    // The folders arrive and get sorted in the background for a moment after
    // a folder is chosen; until then each change brings the choice back into
    // view. Later ones come from the user's own browsing and are left alone.
    constexpr qint64 kSettling = 1500; // ms
    if (!isVisible() || !folderChosen_.isValid() || folderChosen_.elapsed() > kSettling) return;
    const QModelIndex here = directoryListBox1_->currentIndex();
    if (here.isValid()) directoryListBox1_->scrollTo(here, QAbstractItemView::PositionAtCenter);
}

void TFormXSBViewer::FilterComboBox1Change() {
    fillFiles();
}

void TFormXSBViewer::fillFiles() {
    const QSignalBlocker quiet(fileListBox1_);
    fileListBox1_->clear();
    xsbFileName_.clear();
    const QString pattern = listPattern(filterComboBox1_->currentData().toString());
    // Types match whatever the letter case of the name, as the shell does.
    const QDir dir(folder_);
    for (const QFileInfo& f :
         dir.entryInfoList(pattern.split(';'), QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QListWidgetItem(f.fileName(), fileListBox1_);
        item->setData(Qt::UserRole, f.absoluteFilePath());
    }
}

std::string TFormXSBViewer::selectedPath() const {
    const QListWidgetItem* item = fileListBox1_->currentItem();
    if (!item) return {};
    return item->data(Qt::UserRole).toString().toStdString();
}

void TFormXSBViewer::fillFilters() {
    // The texts in the language of the moment; the choice stays.
    const QStringList parts = tr(kFilter).split('|');
    for (int k = 0; k + 1 < parts.size(); k += 2) {
        if (k / 2 < filterComboBox1_->count())
            filterComboBox1_->setItemText(k / 2, parts[k]);
        else
            filterComboBox1_->addItem(parts[k], parts[k + 1]);
    }
}

void TFormXSBViewer::changeEvent(QEvent* e) {
    QDialog::changeEvent(e);
    if (e->type() == QEvent::LanguageChange) fillFilters();
}

void TFormXSBViewer::FileListBox1Click() {
    xsbFileName_ = selectedPath();
    if (xsbFileName_.empty()) return;
    GameModel& model = mainForm_.model();
    // The reader keeps its last good level when it refuses a file; that level
    // is what the preview shows then.
    model.ReadXSB(xsbFileName_);
    preview_ = model.xsbMaze();
    if (auto* panel = findChild<QGroupBox*>("Panel1"))
        setTr(panel, TextRole::Title, kContext, QT_TR_NOOP("XSB文件可视化预览（共 %1 关）"),
              {QString::number(summariseLevelFile(xsbFileName_).levelCount)});
    DrawPreview(image1_->image(), preview_, mainForm_.painter());
    image1_->update();
}

void TFormXSBViewer::Button1Click() {
    xsbFileName_ = selectedPath();
    if (xsbFileName_.empty()) return;
    const std::string path = xsbFileName_;
    try {
        if (viewerFromMain) {
            // A collection opens as a level set.
            LevelTextCommands(mainForm_.model(), *dialogs_).openFile(path);
        } else {
            // The grid is about to be replaced; the user may keep it instead.
            if (!formDesign_.mayDropDesign()) return;
            if (formDesign_.exchangeEnabled()) {
                formDesign_.btRecordNewClick();
                // A refused file stores nothing.
                if (formDesign_.LoadXSB(path)) formDesign_.btRecordSaveClick();
            } else {
                formDesign_.LoadXSB(path);
            }
        }
        close();
    } catch (const FileError& e) {
        dialogs_->fileError(e);
    } catch (const std::filesystem::filesystem_error& e) {
        dialogs_->fileError(FileError(e.path1(), e.code().value()));
    }
}

} // namespace sokoban
