#include "app/application.h"

#include "convert/convert_command.h"
#include "dialogs/about.h"
#include "dialogs/infor.h"
#include "dialogs/level_chooser.h"
#include "dialogs/option.h"
#include "dialogs/select.h"
#include "face/selectface.h"
#include "game/level_text_menu.h"
#include "game/main_form.h"
#include "platform/audio/effect_player.h"
#include "platform/audio/fluidsynth_music_player.h"
#include "platform/qt_dialogs.h"
#include "resources/pictures/pictures.h"
#include "tools/change.h"
#include "tools/design.h"
#include "tools/item.h"
#include "tools/xsbviewer.h"

#include <QAction>
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QProxyStyle>
#include <QTimer>
#include <QTranslator>

#include <filesystem>

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
} // namespace

int runGame(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("推箱子");
    QApplication::setStyle(new GameStyle);
    initPictures();

    // Qt's own buttons and dialogs speak Chinese too.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Chinese, QLocale::China), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslator);

    QtDialogs dialogs;
    QtEffectPlayer effects;
    FluidSynthMusicPlayer music;
    MainFormServices services;
    services.dialogs = &dialogs;
    services.effects = &effects;
    services.music = &music;
    TMainForm mainForm(programDirectory(), app.arguments(), services);
    dialogs.setParent(&mainForm);
    mainForm.FormCreate();

    // The level designer: shown from the main window, which it hides meanwhile.
    // Its messages appear over the designer.
    QtDialogs designDialogs;
    TFormDesign formDesign(mainForm, designDialogs);
    designDialogs.setParent(&formDesign);
    mainForm.onShowDesign = [&formDesign] { formDesign.showDesign(); };

    // Options, about box, level-set list and game information.
    auto desktop = makeUserDesktop(mainForm.model().appDir);
    TPagesDlg pagesDlg(mainForm, *desktop);
    HelpCommands help(mainForm.model().appDir, *desktop);
    TAboutBox aboutBox(help);
    TFormSelect formSelect(mainForm);
    Tforminfor formInfor(mainForm);
    LevelChooser levelChooser(mainForm);
    QObject::connect(levelTextAction(mainForm, "mLevelList"), &QAction::triggered, &mainForm,
                     [&levelChooser] { levelChooser.showChooser(); });
    auto onMenu = [&mainForm](const char* name, auto slot) {
        QObject::connect(mainForm.action(name), &QAction::triggered, &mainForm, slot);
    };
    onMenu("mOption", [&pagesDlg] { pagesDlg.showDialog(); });
    onMenu("mAbout", [&aboutBox] { aboutBox.showBox(); });
    onMenu("mHelp", [&help] { help.mHelpContentClick(); });
    onMenu("mMailTo", [&help] { help.mEmailClick(); });
    onMenu("mHomePage", [&help] { help.mMyWebClick(); });
    onMenu("mselectother", [&formSelect] { formSelect.showDialog(); });
    onMenu("mInfo", [&formInfor] { formInfor.showDialog(); });
    formDesign.onShowHelp = [&help] { help.mHelpContentClick(); };
    formDesign.onShowAbout = [&aboutBox] { aboutBox.showBox(); };

    // The designer's element palette.
    TFormItem formItem;
    formDesign.setPalette(&formItem);

    // The level manager, from the main window and from the designer.
    TformChange formChange(mainForm.painter());
    onMenu("M1", [&formChange] { formChange.showManager(); });
    formDesign.onShowManager = [&formChange] { formChange.showManager(); };

    // The custom face window (after the level manager, before the XSB viewer).
    TFormFace formFace(mainForm);
    QObject::connect(mainForm.action("mCustomFengge"), &QAction::triggered, &formFace,
                     [&formFace] {
                         formFace.show();
                         formFace.raise();
                         formFace.activateWindow();
                     });
    QObject::connect(mainForm.action("mConvert"), &QAction::triggered, &mainForm,
                     [&dialogs] { N1251Click(dialogs); });

    // The XSB viewer hands its file to whichever window opened it.
    TFormXSBViewer formXSBViewer(mainForm, formDesign);
    onMenu("mXSBViewer", [&formXSBViewer] { formXSBViewer.showFromMain(); });
    formDesign.onShowXsbViewer = [&formXSBViewer] { formXSBViewer.showFromDesign(); };

    // The program ends when the main window closes, whatever other window is
    // still open.
    mainForm.quitWhenClosed();
    mainForm.show();
    // For timing the start-up: leave as soon as the first level is drawn.
    // A picture of the window after the first blink, for looking at it.
    const QString shot = qEnvironmentVariable("SOKOBAN_SCREENSHOT");
    if (qEnvironmentVariableIsSet("SOKOBAN_QUIT_AFTER_START") || !shot.isEmpty())
        QTimer::singleShot(shot.isEmpty() ? 0 : 400, &app, [&mainForm, shot] {
            if (!shot.isEmpty()) mainForm.grab().save(shot);
            mainForm.close();
        });
    return app.exec();
}

} // namespace sokoban
