// 推箱子: the program entry.
#include "app/application.h"

int main(int argc, char** argv) {
    return sokoban::runGame(argc, argv);
}
