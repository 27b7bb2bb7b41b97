// The data file tests, one class per file format, run as one program.
#include <QCoreApplication>

int runPackageBaseTests(int argc, char **argv);
int runProjectFileTests(int argc, char **argv);
int runFeederFileTests(int argc, char **argv);
int runBackupsTests(int argc, char **argv);
int runChangeCheckTests(int argc, char **argv);
int runProjectStatisticsTests(int argc, char **argv);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int failed = 0;
    for (auto run : {runPackageBaseTests, runProjectFileTests, runFeederFileTests, runBackupsTests,
                     runChangeCheckTests, runProjectStatisticsTests})
        failed += run(argc, argv);
    return failed;
}
