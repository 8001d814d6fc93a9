// Reads the #include lines of every source under src/ and checks them against the layering that
// ARCHITECTURE.md draws: logic rooms stay Qt Core only and never reach up into windows, the
// wiring or the Linux implementations of the platform services.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QStringList>

namespace {

const QStringList kLogicRooms = {"core", "station", "cw", "voice", "rig", "spots", "export", "bandplan"};

// Platform headers that are Linux implementations rather than interfaces: only the ui and the
// wiring may name them.
const QStringList kPlatformImplementations = {
    "platform/PosixSerialLine.h", "platform/PpdevParallelPorts.h", "platform/QtSettingsStore.h",
    "platform/SystemClock.h",     "platform/SystemEnvironment.h",  "platform/TerminationSignal.h",
    "platform/MonotonicKeyingTimer.h", "platform/KeyingRelease.h", "platform/QtOneShotTimer.h",
    "platform/QtTcpClient.h",
};

struct Include {
    QString file;  // relative to src/
    QString target;
    bool angled;
};

std::vector<Include> allIncludes()
{
    std::vector<Include> out;
    const QString root = QStringLiteral(CUBWAVE_SOURCE_DIR "/src/");
    static const QRegularExpression line(QStringLiteral(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])"),
                                         QRegularExpression::MultilineOption);
    QDirIterator it(root, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(f.readAll());
        auto matches = line.globalMatch(text);
        while (matches.hasNext()) {
            const auto m = matches.next();
            out.push_back({path.mid(root.size()), m.captured(2), m.captured(1) == "<"});
        }
    }
    return out;
}

QString roomOf(const QString& path) { return path.section('/', 0, 0); }

bool isQtHeader(const QString& target) { return target.startsWith('Q') && !target.contains('.'); }

bool isQtCoreHeader(const QString& target)
{
    static const QString core = QLibraryInfo::path(QLibraryInfo::HeadersPath) + QStringLiteral("/QtCore/");
    return QFile::exists(core + target) || target == QLatin1String("QtCore");
}

// Why the include is forbidden; empty when it is allowed.
QString violation(const Include& inc)
{
    const QString room = roomOf(inc.file);
    const bool logic = kLogicRooms.contains(room);
    if (inc.angled) {
        if (logic && isQtHeader(inc.target) && !isQtCoreHeader(inc.target))
            return QStringLiteral("a logic room uses Qt Core only");
        return {};
    }
    const QString targetRoom = roomOf(inc.target);
    if (targetRoom == QLatin1String("app") && room != QLatin1String("app"))
        return QStringLiteral("only the program's main includes the wiring");
    if (room == QLatin1String("platform")) {
        if (targetRoom != QLatin1String("platform"))
            return QStringLiteral("the platform depends on nothing above it");
        return {};
    }
    const bool platformImplementation =
        inc.target.startsWith(QLatin1String("platform/gui/")) || kPlatformImplementations.contains(inc.target);
    if (room == QLatin1String("ui"))
        return platformImplementation ? QStringLiteral("windows see platform interfaces; the wiring picks implementations")
                                      : QString();
    if (!logic)
        return {};  // the wiring uses everything
    if (targetRoom == QLatin1String("ui"))
        return QStringLiteral("a logic room never includes a window");
    if (targetRoom == QLatin1String("platform")) {
        if (platformImplementation)
            return QStringLiteral("logic sees platform interfaces, never their implementations");
        return {};
    }
    if (targetRoom == room || targetRoom == QLatin1String("core"))
        return {};
    if (room == QLatin1String("voice") && targetRoom == QLatin1String("cw"))
        return {};  // the PTT line follows the CW keying line's numbers, field rules and file format
    if (room == QLatin1String("rig") && targetRoom == QLatin1String("bandplan"))
        return {};  // a mode command takes the band plan's mode for the frequency
    if (room == QLatin1String("spots") && targetRoom == QLatin1String("station"))
        return {};  // the spot list names a spot's country; a spot's frequency reads as the station's numbers do
    return QStringLiteral("a logic room uses only itself, core and the platform interfaces");
}

}  // namespace

TEST(Architecture, EveryIncludeUnderSrcKeepsTheLayering)
{
    const std::vector<Include> includes = allIncludes();
    ASSERT_GT(includes.size(), 100u);  // the sources were found
    QStringList broken;
    for (const Include& inc : includes) {
        const QString why = violation(inc);
        if (!why.isEmpty())
            broken << inc.file + QStringLiteral(" includes ") + inc.target + QStringLiteral(": ") + why;
    }
    EXPECT_TRUE(broken.isEmpty()) << broken.join('\n').toStdString();
}

// The rule itself: each forbidden kind of include is caught, each allowed one passes.
TEST(Architecture, TheRuleCatchesWhatItForbids)
{
    const std::tuple<const char*, const char*, bool, bool> cases[] = {
        {"core/LogStore.cpp", "QWidget", true, false},
        {"rig/RigPoller.cpp", "QLabel", true, false},
        {"cw/CwSender.cpp", "ui/main/MainWindow.h", false, false},
        {"core/LogFile.cpp", "platform/SystemClock.h", false, false},
        {"export/AdifWriter.cpp", "platform/gui/QtDialogs.h", false, false},
        {"core/LogStore.cpp", "rig/RigModel.h", false, false},
        {"ui/Startup.cpp", "app/ProgramPorts.h", false, false},
        {"platform/SystemClock.cpp", "core/LogStore.h", false, false},
        {"core/LogStore.cpp", "QString", true, true},
        {"rig/RigPoller.cpp", "core/LogStore.h", false, true},
        {"cw/CwSender.cpp", "platform/Clock.h", false, true},
        {"ui/main/Startup.cpp", "platform/SystemClock.h", false, false},
        {"ui/main/MainWindow.cpp", "platform/Dialogs.h", false, true},
        {"app/main.cpp", "platform/gui/QtDialogs.h", false, true},
        {"app/main.cpp", "app/ProgramPorts.h", false, true},
        {"voice/VoiceKeyer.cpp", "cw/CwNumber.h", false, true},
        {"cw/CwSender.cpp", "voice/VoiceKeyer.h", false, false},
        {"rig/RigCommandPlan.h", "bandplan/SidebandTable.h", false, true},
        {"bandplan/SidebandTable.cpp", "rig/RigModel.h", false, false},
        {"spots/SpotListRow.cpp", "station/PrefixTable.h", false, true},
        {"station/PrefixTable.cpp", "spots/SpotStore.h", false, false},
    };
    for (const auto& [file, target, angled, allowed] : cases)
        EXPECT_EQ(violation({file, target, angled}).isEmpty(), allowed) << file << " -> " << target;
}
