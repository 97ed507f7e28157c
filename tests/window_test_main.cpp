// The entry of every window test program: a QApplication on Qt's offscreen
// platform, named as the game names itself, with the game's pictures loaded.
#include <QApplication>
#include <gtest/gtest.h>

#include "ui/pictures/pictures.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("推箱子");
    sokoban::initPictures();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
