// The animated-moves tests again on a screen scaled twice: the board picture
// at the screen's pixels, the glides drawn into it one to one.
#include <QApplication>
#include <gtest/gtest.h>

#include "ui/pictures/pictures.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    QApplication::setApplicationName("推箱子");
    sokoban::initPictures();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
