// The game's own help window: the pages beside the program (help.html,
// about.html, contact.html) shown in a text browser that follows the links
// between them and keeps their style sheet. Links that lead out of the help
// (a web page, an e-mail address) go to the desktop.
#pragma once

#include "ui/platform/desktop_integration.h"

#include <QUrl>
#include <QWidget>
#include <filesystem>
#include <string>

class QPushButton;
class QTextBrowser;

namespace sokoban {

// A page of the help in the language of the moment: en/<page>.html for
// English when it is there, else <page>.html.
std::filesystem::path helpPage(const std::filesystem::path& appDir, const std::string& page);

class THelpWindow : public QWidget {
    Q_OBJECT
  public:
    THelpWindow(std::filesystem::path appDir, DesktopIntegration& desktop,
                QWidget* parent = nullptr);

    // Shows a page of the help ("help", "about", "contact") and brings the
    // window forward.
    void showPage(const std::string& page);
    // The page shown: a local file, or empty when the page is missing.
    QUrl source() const;
    QTextBrowser* browser() const { return browser_; }

    // A click on a link of the page shown.
    void followLink(const QUrl& link);

  protected:
    void changeEvent(QEvent* e) override;

  private:
    void loadStyleSheet();
    QUrl pageUrl(const std::string& page) const;
    void showMissing(const QUrl& page);
    void pageChanged();

    std::filesystem::path appDir_;
    DesktopIntegration& desktop_;
    QTextBrowser* browser_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* forward_ = nullptr;
};

} // namespace sokoban
