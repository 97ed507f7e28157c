#include "app/application.h"

#include "game/main_form.h"
#include "platform/qt_dialogs.h"
#include "resources/pictures/pictures.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace sokoban {

int runGame(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("推箱子");
    initPictures();

    // Qt's own buttons and dialogs speak Chinese too.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Chinese, QLocale::China), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslator);

    QtDialogs dialogs;
    MainFormServices services;
    services.dialogs = &dialogs;
    TMainForm mainForm(QCoreApplication::applicationDirPath().toStdString(), app.arguments(),
                       services);
    dialogs.setParent(&mainForm);
    mainForm.FormCreate();
    mainForm.show();
    return app.exec();
}

} // namespace sokoban
