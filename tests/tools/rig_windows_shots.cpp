// Pictures of the tune window and of the privileges window for two licence classes, for a
// reviewer: rig_windows_shots FOLDER_WITH_BANDPLAN OUTPUT_FOLDER. Runs offscreen.
#include "support/FakeDialogs.h"
#include "support/FakeRigTuning.h"
#include "ui/bandplan/PrivilegesWindow.h"
#include "ui/rig/TuneDialog.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>

#include <cstdio>

using namespace cubwave;

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s BANDPLAN_FOLDER OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString planFolder = QString::fromLocal8Bit(argv[1]);
    const QDir out(QString::fromLocal8Bit(argv[2]));
    bool ok = true;

    test::FakeRigTuning rig;
    TuneDialog tune(rig);
    tune.show();
    QTest::qWaitForWindowExposed(&tune);
    tune.findChild<QLineEdit*>(QStringLiteral("txtFreq"))->setText(QStringLiteral("7.025"));
    ok &= tune.grab().save(out.filePath(QStringLiteral("rig-tune.png")));

    test::FakeDialogs dialogs;
    PrivilegesWindow privileges(planFolder, dialogs);
    privileges.show();
    QTest::qWaitForWindowExposed(&privileges);
    const struct {
        int index;
        const char* file;
    } classes[] = {{5, "privileges-extra.png"}, {3, "privileges-general.png"}, {0, "privileges-novice.png"}};
    for (const auto& c : classes) {
        privileges.classButton_Click(c.index);
        QCoreApplication::processEvents();
        ok &= privileges.grab().save(out.filePath(QString::fromLatin1(c.file)));
    }
    return ok && dialogs.messages.empty() ? 0 : 1;
}
