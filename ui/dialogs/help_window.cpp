#include "ui/dialogs/help_window.h"

#include "ui/pictures/pictures.h"
#include "ui/platform/qt_dialogs.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace sokoban {

THelpWindow::THelpWindow(std::filesystem::path appDir, DesktopIntegration& desktop, QWidget* parent)
    : QWidget(parent, Qt::Window), appDir_(std::move(appDir)), desktop_(desktop) {
    setObjectName("HelpWindow");
    setWindowTitle("推箱子 帮助");
    setWindowIcon(programIcon());

    browser_ = new QTextBrowser;
    browser_->setObjectName("HelpBrowser");
    browser_->setAccessibleName("帮助内容");
    // Every link passes through followLink, which keeps the help inside the
    // window and hands the rest to the desktop.
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, &THelpWindow::followLink);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] { pageChanged(); });

    back_ = new QPushButton("后退");
    back_->setObjectName("HelpBack");
    forward_ = new QPushButton("前进");
    forward_->setObjectName("HelpForward");
    auto* contents = new QPushButton("目录");
    contents->setObjectName("HelpContents");
    auto* close = new QPushButton("关闭");
    close->setObjectName("HelpClose");
    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
    connect(contents, &QPushButton::clicked, this, [this] { showPage("help"); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addWidget(contents);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);

    QSize size(760, 640);
    if (const QScreen* s = screen()) size = size.boundedTo(s->availableGeometry().size() * 9 / 10);
    resize(size);
}

void THelpWindow::loadStyleSheet() {
    // The text browser does not follow the pages' <link> to the style sheet;
    // it takes the sheet as the document's default instead.
    QFile css(shownPath((appDir_ / "help.css").string()));
    if (css.open(QIODevice::ReadOnly))
        browser_->document()->setDefaultStyleSheet(QString::fromUtf8(css.readAll()));
}

QUrl THelpWindow::pageUrl(const std::string& page) const {
    return QUrl::fromLocalFile(shownPath((appDir_ / (page + ".html")).string()));
}

QUrl THelpWindow::source() const {
    return browser_->source();
}

void THelpWindow::showPage(const std::string& page) {
    const QUrl url = pageUrl(page);
    loadStyleSheet();
    if (QFileInfo(url.toLocalFile()).isFile())
        browser_->setSource(url);
    else
        showMissing(url);
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void THelpWindow::showMissing(const QUrl& page) {
    browser_->clearHistory();
    browser_->setSource(QUrl());
    browser_->setPlainText("找不到帮助文件：" + page.toLocalFile());
    setWindowTitle("推箱子 帮助");
}

void THelpWindow::followLink(const QUrl& link) {
    const QUrl target = browser_->source().resolved(link);
    if (!target.isLocalFile()) {
        desktop_.openUrl(target.toString().toStdString());
        return;
    }
    // A page of the help, or a section of one; a local file that is not
    // there is no page to show.
    if (QFileInfo(target.toLocalFile()).isFile()) browser_->setSource(target);
}

void THelpWindow::pageChanged() {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("推箱子 帮助") : title);
}

} // namespace sokoban
