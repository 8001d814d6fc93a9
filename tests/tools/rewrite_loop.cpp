// Rewrites a log file over and over, one more record each time, until it is killed. The
// crash test kills it at random moments and checks the log still reads whole.
#include "core/LogFile.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const cubwave::LogFile log(QString::fromLocal8Bit(argv[1]));
    std::vector<cubwave::QsoRecord> records;
    for (int i = 0;; ++i) {
        cubwave::QsoRecord r;
        r[cubwave::QsoRecord::Call] = QStringLiteral("K%1ABC").arg(i);
        r[cubwave::QsoRecord::Spc] = QStringLiteral("CT");
        r[cubwave::QsoRecord::Name] = QString(40, QLatin1Char('N'));
        records.push_back(r);
        if (records.size() > 2000)
            records.erase(records.begin(), records.begin() + 1000);
        if (!log.rewrite(records).ok)
            return 1;
        if (i == 0) {
            std::puts("started");
            std::fflush(stdout);
        }
    }
}
