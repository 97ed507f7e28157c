// The real dialogs: filters written once, message boxes with only a close
// button, file dialogs wide enough to read.
#include "ui/messages.h"
#include "ui/platform/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <cerrno>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

namespace sokoban {
namespace {

TEST(QtFilter, PatternsTheTextShowsAreNotRepeated) {
    const struct {
        std::string filter;
        const char* qt;
    } cases[] = {
        {"XSB/SOK 关卡合集(*.xsb;*.sok;*.txt)|*.xsb;*.sok;*.txt",
         "XSB/SOK 关卡合集(*.xsb *.sok *.txt)"},
        {"答案文件(*.ans)|*.ans|所有文件(*.*)|*.*", "答案文件(*.ans);;所有文件(*.*)"},
        {"所有文件 (*.*)|*.*", "所有文件 (*.*)"},
        {messageText(MessageId::OpenSetFilter).toStdString(),
         "游戏数据文件(*.box);;XSB/SOK 关卡合集(*.xsb *.sok *.txt)"},
        {"推箱子游戏文件|*.box", "推箱子游戏文件 (*.box)"},
        // A text that shows only some of its patterns gets them all, for Qt.
        {"仓库文件(*.xsb)|*.xsb;*.sok", "仓库文件(*.xsb) (*.xsb *.sok)"},
        {"关卡(*.XSB; *.SOK)|*.xsb;*.sok", "关卡(*.xsb *.sok)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qtFilter(c.filter).toStdString(), c.qt) << c.filter;
}

// Runs `cause` and, while the modal dialog it opens is up, `look` at it;
// then closes it.
void whileShown(const std::function<void()>& cause, const std::function<void(QDialog&)>& look) {
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!d || !d->isVisible() || seen) return;
        seen = true;
        look(*d);
        d->reject();
    });
    poll.start();
    cause();
    poll.stop();
    EXPECT_TRUE(seen);
}

void shoot(QWidget& w, const QString& name) {
    if (const char* dir = std::getenv("SOKOBAN_SCREENSHOT"))
        w.grab().save(QString(dir) + "/" + name + ".png");
}

TEST(QtDialogsTest, MessagesAndInputBoxesHaveOnlyACloseButton) {
    QtDialogs dialogs;
    const struct {
        const char* name;
        std::function<void()> show;
    } cases[] = {
        {"information", [&] { dialogs.information("保存完毕！"); }},
        {"warning", [&] { dialogs.warning("请输入有效关卡号!"); }},
        {"error", [&] { dialogs.error("读取的文件不存在！"); }},
        {"question", [&] { dialogs.confirm("是否进行答案演示？"); }},
        {"three answers", [&] { dialogs.askYesNoCancel("关卡已修改，是否保存？"); }},
        {"file error", [&] { dialogs.fileError("/x/y.box", "没有权限"); }},
        {"input", [&] { dialogs.inputBox("指定关卡", "输入关卡号：", ""); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        whileShown(c.show, [&](QDialog& d) {
            const Qt::WindowFlags f = d.windowFlags();
            EXPECT_TRUE(f.testFlag(Qt::CustomizeWindowHint));
            EXPECT_TRUE(f.testFlag(Qt::WindowTitleHint));
            EXPECT_TRUE(f.testFlag(Qt::WindowCloseButtonHint));
            EXPECT_FALSE(f.testFlag(Qt::WindowMinimizeButtonHint));
            EXPECT_FALSE(f.testFlag(Qt::WindowMaximizeButtonHint));
            EXPECT_EQ(d.windowType(), Qt::Dialog);
            shoot(d, QString("dialog_%1").arg(c.name));
        });
    }
}

// What the start says waits for the main window: nothing shows while held,
// and each message in its order once released.
TEST(QtDialogsTest, MessagesOfTheStartWaitForTheWindow) {
    QtDialogs dialogs;
    dialogs.hold();
    bool shown = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QApplication::activeModalWidget()) shown = true;
    });
    poll.start();
    dialogs.information("已导入 3 关");
    dialogs.warning({MessageId::TooLargeLeftOut, 1, 2});
    QCoreApplication::processEvents();
    poll.stop();
    EXPECT_FALSE(shown);

    std::vector<QString> texts;
    QTimer close;
    close.setInterval(10);
    QObject::connect(&close, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        texts.push_back(box->text());
        box->reject();
    });
    close.start();
    dialogs.release();
    close.stop();
    EXPECT_EQ(texts, (std::vector<QString>{"已导入 3 关", "1 关过大未能导入：2"}));
    // Released, a message shows at once.
    whileShown([&] { dialogs.information("保存完毕！"); }, [](QDialog&) {});
}

// The model's messages reach the player as words: message boxes, the input
// box's caption and prompt, the general error report, file filters.
TEST(QtDialogsTest, TheModelsMessagesAreShownInWords) {
    QtDialogs dialogs;
    const struct {
        const char* name;
        std::function<void()> show;
        QString text;
    } cases[] = {
        {"information",
         [&] {
             dialogs.information({MessageId::GameSaved, 2, 7});
         },
         "游戏保存到进度2，当前游戏为第7关！"},
        {"question",
         [&] {
             dialogs.confirm({MessageId::SaveImportedAnswer, 3});
         },
         "读入的答案显示为第3关，是否保存到当前文件中？"},
        {"file error", [&] { dialogs.fileError(FileError("/x/y.box", ENOENT)); },
         "文件操作失败：/x/y.box\n文件不存在"},
        {"file error in the window's words",
         [&] { dialogs.fileError("/x/a.bmp", "无法读取图片文件。"); },
         "文件操作失败：/x/a.bmp\n无法读取图片文件。"},
        {"input",
         [&] {
             dialogs.inputBox(MessageId::ChooseLevelCaption, {MessageId::ChooseLevelPrompt, 12},
                              "");
         },
         "指定关卡|关卡号（1-12）："},
        {"file filter", [&] { dialogs.openFile(MessageId::AnswerFilter, {}); },
         "答案文件(*.ans);;所有文件(*.*)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        whileShown(c.show, [&](QDialog& d) {
            if (auto* box = qobject_cast<QMessageBox*>(&d))
                EXPECT_EQ(box->text(), c.text);
            else if (auto* input = qobject_cast<QInputDialog*>(&d))
                EXPECT_EQ(input->windowTitle() + "|" + input->labelText(), c.text);
            else if (auto* files = qobject_cast<QFileDialog*>(&d))
                EXPECT_EQ(files->nameFilters().join(";;"), c.text);
            else
                ADD_FAILURE() << "no dialog of a known kind";
        });
    }
}

TEST(QtDialogsTest, FileDialogsOpenWideEnoughForTheirColumns) {
    QtDialogs dialogs;
    const std::function<void()> shows[] = {
        [&] { dialogs.openFile(MessageId::OpenSetFilter, {}); },
        [&] { dialogs.saveFile("答案文件(*.ans)|*.ans|所有文件(*.*)|*.*", "game0001.ans", {}); },
    };
    for (const auto& show : shows) {
        whileShown(show, [&](QDialog& d) {
            auto* f = qobject_cast<QFileDialog*>(&d);
            ASSERT_NE(f, nullptr);
            EXPECT_GE(d.width(), 700);
            EXPECT_GE(d.height(), 450);
            for (const QString& filter : f->nameFilters())
                EXPECT_EQ(filter.count('('), 1) << filter.toStdString();
            shoot(d, "file_dialog");
        });
    }
}

} // namespace
} // namespace sokoban
