#include "support/FakeClock.h"
#include "support/FakeWavePlayer.h"
#include "support/TestFiles.h"
#include "ui/voice/VoiceNavigationWindow.h"
#include "voice/VoiceNavigation.h"
#include "voice/WaveFixtures.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace cubwave {
namespace {

class VoiceNavigationWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* cue : {"Call", "NavEn", "NavDis"})
            test::writeFile(dir.filePath(QString::fromLatin1(cue) + ".wav"), test::wavBytes(8000, 1, 16, 8000));
    }
    void make(int level)
    {
        window.reset();
        nav = std::make_unique<VoiceNavigation>(player, clock, dir.path(), level);
        QObject::connect(nav.get(), &VoiceNavigation::cueStarted, [this](const QString& cue) { started << cue; });
        window = std::make_unique<VoiceNavigationWindow>(*nav);
    }
    QRadioButton* option(const char* name) { return window->findChild<QRadioButton*>(QString::fromLatin1(name)); }
    // On the round indicator: a radio button takes clicks on its indicator and text only.
    void choose(const char* name)
    {
        QRadioButton* o = option(name);
        QTest::mouseClick(o, Qt::LeftButton, {}, QPoint(6, o->height() / 2));
    }
    void run(qint64 ms)
    {
        for (; ms > 0; ms -= VoiceNavigation::kPollMs) {
            clock.advanceMs(VoiceNavigation::kPollMs);
            if (nav->pollActive())
                nav->poll();
        }
    }

    QTemporaryDir dir;
    test::FakeClock clock;
    test::FakeWavePlayer player{[this] { return clock.ticksMs(); }};
    std::unique_ptr<VoiceNavigation> nav;
    std::unique_ptr<VoiceNavigationWindow> window;
    QStringList started;
};

TEST_F(VoiceNavigationWindowTest, ShowsItsTextsAndTheWorkingDirectory)
{
    make(0);
    EXPECT_EQ(window->objectName(), "BlindFrm");
    EXPECT_EQ(window->windowTitle(), "Voice Navigation Settings");
    EXPECT_EQ(option("Option1")->text(), "Off");
    EXPECT_EQ(option("Option2")->text(), "Call Only");
    EXPECT_EQ(option("Option3")->text(), "All Data Fields");
    auto* frame = window->findChild<QGroupBox*>();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->title(), "Choose your preferred option:");
    QStringList labels;
    for (auto* l : window->findChildren<QLabel*>())
        labels << l->text();
    EXPECT_TRUE(labels.contains("Choose one of the options below.  Select Off to turn the navigation function off, "
                                "Call to indicate the Call field only and All Data Fields to provide verbal prompts "
                                "through all the data fields."));
    EXPECT_TRUE(labels.contains("To Enable Voice Navigation:"));
    EXPECT_TRUE(labels.contains("Put the audio wave files in this program's working directory: " +
                                QDir::toNativeSeparators(dir.path())));
    EXPECT_EQ(window->findChild<QPushButton*>("Command1")->text(), "Done");
}

TEST_F(VoiceNavigationWindowTest, SelectsTheLevelInUseWithoutACueUntilShown)
{
    for (auto [level, name] : {std::pair{0, "Option1"}, {1, "Option2"}, {2, "Option3"}}) {
        started.clear();
        make(level);
        EXPECT_TRUE(option(name)->isChecked()) << level;
        EXPECT_TRUE(started.isEmpty()) << level;
        EXPECT_EQ(window->selectedLevel(), level);
    }
    // Opening the window at level 2 announces it, once a run.
    window->show();
    EXPECT_EQ(started, QStringList{"NavEn"});
    window->hide();
    window->show();
    EXPECT_EQ(started, QStringList{"NavEn"});
}

TEST_F(VoiceNavigationWindowTest, ChoosingAnOptionPlaysItsCues)
{
    make(2);
    window->show();
    started.clear();
    choose("Option1");
    EXPECT_EQ(started, QStringList{"NavDis"});
    choose("Option2");
    EXPECT_EQ(started, (QStringList{"NavDis", "NavEn"}));
    run(1000);
    EXPECT_EQ(started, (QStringList{"NavDis", "NavEn", "Call"}));
    choose("Option3");
    ASSERT_EQ(started.size(), 4);
    EXPECT_EQ(started.last(), "NavEn");
    // Choosing is not yet using.
    EXPECT_EQ(nav->level(), 2);
}

TEST_F(VoiceNavigationWindowTest, DoneMakesTheChoiceTheLevelAndAsksToSaveIt)
{
    make(0);
    window->show();
    QList<int> saved;
    QObject::connect(window.get(), &VoiceNavigationWindow::levelSaved, [&](int level) { saved << level; });
    choose("Option2");
    QTest::mouseClick(window->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    EXPECT_EQ(nav->level(), 1);
    EXPECT_EQ(saved, QList<int>{1});
    EXPECT_FALSE(window->isVisible());

    // Esc on the window does the same.
    window->show();
    choose("Option3");
    QTest::keyClick(window->findChild<QRadioButton*>("Option3"), Qt::Key_Escape);
    EXPECT_EQ(nav->level(), 2);
    EXPECT_EQ(saved, (QList<int>{1, 2}));
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace cubwave
