// TAboutBox, and the help menu's commands: the help page, the contact page
// and the game's home page, all pages of the game's own help beside the
// program.
#pragma once

#include "platform/desktop_integration.h"

#include <QDialog>
#include <filesystem>
#include <string>

class QColor;
class QFrame;
class QLabel;

namespace sokoban {

// The help menu. Each asks the desktop to open one page of the help in the
// program directory; what the desktop makes of it is not examined. Every
// section opened on its own is a page of its own: openers hand a file to the
// browser as a plain path and drop any "#section".
class HelpCommands {
  public:
    HelpCommands(std::filesystem::path appDir, DesktopIntegration& desktop)
        : appDir_(std::move(appDir)), desktop_(desktop) {}

    void mHelpContentClick() const { open("help"); } // 内容(&C)
    void mEmailClick() const { open("contact"); }    // 联系作者(&E)
    void mMyWebClick() const { open("about"); }      // 作者主页(&W)

    // file:///.../page.html
    std::string url(const std::string& page) const;

  private:
    void open(const std::string& page) const { desktop_.openUrl(url(page)); }

    std::filesystem::path appDir_;
    DesktopIntegration& desktop_;
};

class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutBox(const HelpCommands& help);

    // Shows the box, or brings it forward when it is already up.
    void showBox();
    void OKButtonClick() { hide(); }

    // Link highlighting: the link under the pointer red and plain, the other
    // blue and underlined; away from both, both blue and underlined.
    void Label1MouseMove();
    void Label2MouseMove(); // also when a button is pressed on it
    void PanelMouseMove();

    QLabel* label(const QString& name) const;

  protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    static void setLink(QLabel* link, const QColor& colour, bool underline);

    const HelpCommands& help_;
    QFrame* panel1_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
};

} // namespace sokoban
