#include "app/application.h"

#include "app/single_instance.h"
#include "app/start_hooks.h"
#include "session/convert_command.h"
#include "ui/designer/change.h"
#include "ui/designer/design.h"
#include "ui/designer/item.h"
#include "ui/designer/xsbviewer.h"
#include "ui/dialogs/about.h"
#include "ui/dialogs/infor.h"
#include "ui/dialogs/level_chooser.h"
#include "ui/dialogs/option.h"
#include "ui/dialogs/select.h"
#include "ui/face/selectface.h"
#include "ui/language.h"
#include "ui/main/level_text_menu.h"
#include "ui/main/main_form.h"
#include "ui/pictures/pictures.h"
#include "ui/platform/audio/deferred_audio.h"
#include "ui/platform/desktop_integration.h"
#include "ui/platform/qt_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QProxyStyle>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace sokoban {

namespace {
// Tool tips appear at once.
class GameStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* ret) const override {
        if (hint == QStyle::SH_ToolTip_WakeUpDelay) return 0;
        return QProxyStyle::styleHint(hint, option, widget, ret);
    }
};
// The program directory: the executable's own folder when the level sets lie
// beside it (the build, a portable copy), else the data folder of an
// installed game at its place relative to bin/.
std::string programDirectory() {
    namespace fs = std::filesystem;
    const fs::path exeDir = QCoreApplication::applicationDirPath().toStdString();
    std::error_code ec;
    if (fs::is_regular_file(exeDir / "game.box", ec)) return exeDir.string();
    const fs::path installed = (exeDir / SOKOBAN_APPDIR_FROM_BIN).lexically_normal();
    if (fs::is_regular_file(installed / "game.box", ec)) return installed.string();
    return exeDir.string();
}

// A window made the first time it is wanted: the first frame waits for none of them.
template <class T> class OnFirstUse {
  public:
    explicit OnFirstUse(std::function<std::unique_ptr<T>()> make) : make_(std::move(make)) {}
    T& operator()() {
        if (!made_) made_ = make_();
        return *made_;
    }

  private:
    std::function<std::unique_ptr<T>()> make_;
    std::unique_ptr<T> made_;
};

// The designer with the dialogs whose messages appear over it.
struct Designer {
    explicit Designer(TMainForm& mainForm) : form(mainForm, dialogs) { dialogs.setParent(&form); }
    QtDialogs dialogs;
    TFormDesign form;
};

std::filesystem::path audioModule() {
    const std::filesystem::path exeDir = QCoreApplication::applicationDirPath().toStdString();
    return (exeDir / SOKOBAN_AUDIO_MODULE_FROM_BIN).lexically_normal();
}
} // namespace

int runGame(int argc, char** argv) {
    QApplication app(argc, argv);
    // Docks and task bars tie the windows to the desktop entry by this name.
    QGuiApplication::setDesktopFileName(kApplicationId);
    QApplication::setApplicationName("推箱子");

    // One game per user: a later start hands its file to the running one
    // and ends before it has shown anything.
    const std::string appDir = programDirectory();
    SingleInstance instance(SingleInstance::serverName(appDir), SingleInstance::lockFile(appDir));
    if (instance.handToRunningCopy(absoluteArgument(argc > 1 ? argv[1] : ""))) return 0;

    QApplication::setStyle(new GameStyle);
    initPictures();

    // The player's choice of language, or the desktop's; Qt's own buttons
    // and dialogs follow it.
    applyLanguage(resolve(loadLanguageChoice(appDir), environment()), appDir);

    // The sound libraries are loaded once the first frame is drawn.
    QtDialogs dialogs;
    DeferredAudio audio(audioModule());
    MainFormServices services;
    services.dialogs = &dialogs;
    services.effects = &audio.effects();
    services.music = &audio.music();
    // The arguments as bytes: QApplication took its own options out of argv.
    TMainForm mainForm(appDir, std::vector<std::string>(argv, argv + argc), services);
    dialogs.setParent(&mainForm);
    QObject::connect(&instance, &SingleInstance::handedOver, &mainForm,
                     [&mainForm](const std::string& file) { mainForm.openHandedOver(file); });
    // Under X11 the window class is the application name at the time the
    // first window is made: the desktop entry's name, as docks look for it.
    // Everywhere else the game is called 推箱子.
    QApplication::setApplicationName(kApplicationId);
    mainForm.winId();
    QApplication::setApplicationName("推箱子");
    // What opening the start's files has to say appears over the window,
    // once it is up, not on an empty screen before it.
    dialogs.hold();
    mainForm.FormCreate();

    // The other windows, in their order, each made when it is first shown.
    // The level designer: shown from the main window, which it hides meanwhile.
    auto desktop = makeUserDesktop(mainForm.model().appDir());
    HelpCommands help(mainForm.model().appDir(), *desktop);
    OnFirstUse<TAboutBox> aboutBox([&help] { return std::make_unique<TAboutBox>(help); });
    OnFirstUse<TformChange> formChange(
        [&mainForm] { return std::make_unique<TformChange>(mainForm.painter()); });
    OnFirstUse<TFormItem> formItem([] { return std::make_unique<TFormItem>(); });
    std::function<void()> showViewerFromDesign; // the viewer comes later in the order
    OnFirstUse<Designer> designer([&] {
        auto d = std::make_unique<Designer>(mainForm);
        TFormDesign& formDesign = d->form;
        formDesign.onShowHelp = [&help] { help.mHelpContentClick(); };
        formDesign.onShowAbout = [&aboutBox] { aboutBox().showBox(); };
        // The designer's element palette.
        formDesign.setPalette(&formItem());
        formDesign.onShowManager = [&formChange] { formChange().showManager(); };
        formDesign.onShowXsbViewer = [&showViewerFromDesign] { showViewerFromDesign(); };
        return d;
    });
    mainForm.onShowDesign = [&designer] { designer().form.showDesign(); };

    // Options, about box, level-set list and game information.
    OnFirstUse<TPagesDlg> pagesDlg([&] { return std::make_unique<TPagesDlg>(mainForm, *desktop); });
    OnFirstUse<TFormSelect> formSelect([&] { return std::make_unique<TFormSelect>(mainForm); });
    OnFirstUse<Tforminfor> formInfor([&] { return std::make_unique<Tforminfor>(mainForm); });
    OnFirstUse<LevelChooser> levelChooser([&] { return std::make_unique<LevelChooser>(mainForm); });
    QObject::connect(levelTextAction(mainForm, "mLevelList"), &QAction::triggered, &mainForm,
                     [&levelChooser] { levelChooser().showChooser(); });
    auto onMenu = [&mainForm](const char* name, auto slot) {
        QObject::connect(mainForm.action(name), &QAction::triggered, &mainForm, slot);
    };
    onMenu("mOption", [&pagesDlg] { pagesDlg().showDialog(); });
    onMenu("mAbout", [&aboutBox] { aboutBox().showBox(); });
    onMenu("mHelp", [&help] { help.mHelpContentClick(); });
    onMenu("mMailTo", [&help] { help.mEmailClick(); });
    onMenu("mHomePage", [&help] { help.mMyWebClick(); });
    onMenu("mselectother", [&formSelect] { formSelect().showDialog(); });
    onMenu("mInfo", [&formInfor] { formInfor().showDialog(); });

    // The level manager, from the main window and from the designer.
    onMenu("M1", [&formChange] { formChange().showManager(); });

    // The custom face window (after the level manager, before the XSB viewer).
    OnFirstUse<TFormFace> formFace([&] { return std::make_unique<TFormFace>(mainForm); });
    QObject::connect(mainForm.action("mCustomFengge"), &QAction::triggered, &mainForm, [&formFace] {
        formFace().show();
        formFace().raise();
        formFace().activateWindow();
    });
    QObject::connect(mainForm.action("mConvert"), &QAction::triggered, &mainForm,
                     [&dialogs] { N1251Click(dialogs); });

    // The XSB viewer hands its file to whichever window opened it.
    OnFirstUse<TFormXSBViewer> formXSBViewer(
        [&] { return std::make_unique<TFormXSBViewer>(mainForm, designer().form); });
    onMenu("mXSBViewer", [&formXSBViewer] { formXSBViewer().showFromMain(); });
    showViewerFromDesign = [&formXSBViewer] { formXSBViewer().showFromDesign(); };

    // The program ends when the main window closes, whatever other window is
    // still open.
    mainForm.quitWhenClosed();
    const StartScript script = StartScript::fromEnvironment();
    afterFirstFrame(mainForm.boardImage(), [&] {
        audio.loadInBackground();
        dialogs.release();
        playStartScript(mainForm, script, [&audio] { return audio.ready(); });
    });
    mainForm.show();
    // A picture of the window after the first blink, for looking at it.
    const QString shot = qEnvironmentVariable("SOKOBAN_SCREENSHOT");
    if (!shot.isEmpty())
        QTimer::singleShot(400, &app, [&mainForm, shot] {
            mainForm.grab().save(shot);
            mainForm.close();
        });
    return app.exec();
}

} // namespace sokoban
