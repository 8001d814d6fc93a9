#include "platform/gui/QtDialogs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <vector>

using namespace cubwave;

namespace {

// Acts on the box the next call opens, once it is up, as an operator would.
void whenTheBoxIsUp(std::function<void(QDialog&)> act)
{
    QTimer::singleShot(0, qApp, [act = std::move(act)] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        act(*box);
    });
}

}  // namespace

// Every box follows the screen as the main window's font does: from the main window once it
// exists, before that from the window font the program gives.
TEST(QtDialogs, EveryBoxTakesTheWindowFont)
{
    QWidget mainWindow;
    QFont large = mainWindow.font();
    large.setPointSizeF(21);
    mainWindow.setFont(large);
    QTemporaryDir dir;
    const FileDialogRequest request{QStringLiteral("Open"), dir.path(), QString(), QStringLiteral("Logs | *.log")};

    for (const bool parented : {true, false}) {
        SCOPED_TRACE(parented ? "parented" : "before the main window");
        QtDialogs dialogs;
        double expected = 21;
        if (parented) {
            dialogs.setParent(&mainWindow);
        } else {
            QFont windowFont;
            windowFont.setPointSizeF(expected = 17);
            dialogs.setWindowFont(windowFont);
        }
        std::vector<double> seen;
        const auto noteAndCancel = [&seen] {
            whenTheBoxIsUp([&seen](QDialog& box) {
                seen.push_back(box.font().pointSizeF());
                box.reject();
            });
        };
        noteAndCancel();
        dialogs.message(QStringLiteral("Title"), QStringLiteral("Text"), MsgButtons::OkCancel, MsgIcon::None);
        noteAndCancel();
        EXPECT_EQ(dialogs.input(QStringLiteral("Title"), QStringLiteral("Prompt"), QStringLiteral("90")), std::nullopt);
        noteAndCancel();
        EXPECT_EQ(dialogs.openFile(request), std::nullopt);
        noteAndCancel();
        EXPECT_EQ(dialogs.saveFile(request), std::nullopt);
        noteAndCancel();
        EXPECT_EQ(dialogs.pickColour(0x0000FF), std::nullopt);
        EXPECT_THAT(seen, ::testing::ElementsAre(expected, expected, expected, expected, expected));
    }
}

// The file boxes open in the folder asked for with the suggested name chosen, and give back
// the path the operator accepts.
TEST(QtDialogs, FileBoxesStartOnTheSuggestedFileAndReturnTheAcceptedPath)
{
    QTemporaryDir dir;
    const QString existing = QDir(dir.path()).filePath(QStringLiteral("contest.log"));
    QFile f(existing);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    QtDialogs dialogs;

    const auto accept = [] { whenTheBoxIsUp([](QDialog& box) { box.accept(); }); };
    accept();
    EXPECT_EQ(dialogs.openFile({QStringLiteral("Open"), dir.path(), QStringLiteral("contest.log"),
                                QStringLiteral("Log Files (*.log) | *.log")}),
              existing);
    accept();
    EXPECT_EQ(dialogs.saveFile({QStringLiteral("Save"), dir.path(), QStringLiteral("new.adi"), QString()}),
              QDir(dir.path()).filePath(QStringLiteral("new.adi")));

    whenTheBoxIsUp([](QDialog& box) { box.accept(); });
    EXPECT_EQ(dialogs.pickColour(0x00FF00), 0x00FF00);  // accepted unchanged: the colour it opened on
}
