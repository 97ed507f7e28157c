#include "ui/dialogs/help_window.h"

#include "ui/language.h"
#include "ui/pictures/pictures.h"
#include "ui/platform/qt_dialogs.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace sokoban {

namespace {
constexpr const char* kContext = "sokoban::THelpWindow";
}

std::filesystem::path helpPage(const std::filesystem::path& appDir, const std::string& page) {
    // The English pages lie in en/ under the same names, and link to each other there.
    const std::filesystem::path chinese = appDir / (page + ".html");
    if (currentLanguage() != Language::English) return chinese;
    const std::filesystem::path english = appDir / "en" / (page + ".html");
    std::error_code ec;
    return std::filesystem::is_regular_file(english, ec) ? english : chinese;
}

THelpWindow::THelpWindow(std::filesystem::path appDir, DesktopIntegration& desktop, QWidget* parent)
    : QWidget(parent, Qt::Window), appDir_(std::move(appDir)), desktop_(desktop) {
    setObjectName("HelpWindow");
    setTr(this, TextRole::WindowTitle, kContext, QT_TR_NOOP("推箱子 帮助"));
    setWindowIcon(programIcon());

    browser_ = new QTextBrowser;
    browser_->setObjectName("HelpBrowser");
    setTr(browser_, TextRole::AccessibleName, kContext, QT_TR_NOOP("帮助内容"));
    // Every link passes through followLink, which keeps the help inside the
    // window and hands the rest to the desktop.
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, &THelpWindow::followLink);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] { pageChanged(); });

    back_ = new QPushButton;
    setTr(back_, kContext, QT_TR_NOOP("后退"));
    back_->setObjectName("HelpBack");
    forward_ = new QPushButton;
    setTr(forward_, kContext, QT_TR_NOOP("前进"));
    forward_->setObjectName("HelpForward");
    auto* contents = new QPushButton;
    setTr(contents, kContext, QT_TR_NOOP("目录"));
    contents->setObjectName("HelpContents");
    auto* close = new QPushButton;
    setTr(close, kContext, QT_TR_NOOP("关闭"));
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
    return QUrl::fromLocalFile(shownPath(helpPage(appDir_, page).string()));
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
    browser_->setPlainText(tr("找不到帮助文件：%1").arg(page.toLocalFile()));
    setTr(this, TextRole::WindowTitle, kContext, QT_TR_NOOP("推箱子 帮助"));
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
    if (title.isEmpty()) {
        setTr(this, TextRole::WindowTitle, kContext, QT_TR_NOOP("推箱子 帮助"));
    } else {
        clearTr(this, TextRole::WindowTitle);
        setWindowTitle(title);
    }
}

void THelpWindow::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    // The page on show, in the new language: the same page of the other
    // folder, at the same place.
    if (e->type() != QEvent::LanguageChange || !isVisible()) return;
    const QUrl shown = browser_->source();
    if (!shown.isLocalFile()) return;
    QUrl page = pageUrl(QFileInfo(shown.toLocalFile()).completeBaseName().toStdString());
    page.setFragment(shown.fragment());
    if (page != shown && QFileInfo(page.toLocalFile()).isFile()) browser_->setSource(page);
}

} // namespace sokoban
