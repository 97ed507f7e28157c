// TAboutBox, and the help menu's commands: the help page, the contact page
// and the game's home page, all pages of the game's own help beside the
// program, shown in the game's help window.
#pragma once

#include "ui/dialogs/help_window.h"
#include "ui/platform/desktop_integration.h"

#include <QDialog>
#include <filesystem>
#include <memory>
#include <string>

class QColor;
class QFrame;
class QLabel;

namespace sokoban {

// The help menu. Each shows one page of the game's own help, from the
// program directory, in the help window; the window is made the first time
// it is wanted.
class HelpCommands {
  public:
    HelpCommands(std::filesystem::path appDir, DesktopIntegration& desktop);
    ~HelpCommands();

    void mHelpContentClick() const { open("help"); } // 内容(&C)
    void mEmailClick() const { open("contact"); }    // 联系作者(&E)
    void mMyWebClick() const { open("about"); }      // 作者主页(&W)

    // file:///.../page.html
    std::string url(const std::string& page) const;
    THelpWindow& window() const;

  private:
    void open(const std::string& page) const { window().showPage(page); }

    std::filesystem::path appDir_;
    DesktopIntegration& desktop_;
    mutable std::unique_ptr<THelpWindow> window_;
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
