// The log lines stored in a project.
#include "backend/ProjectStatistics.h"

#include <QTest>

class TestProjectStatistics : public QObject
{
    Q_OBJECT

private slots:
    void logLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("color");
        QTest::newRow("plain") << "Плата готова;06.12.2026 10:00:00;white" << true << "Плата готова" << "white";
        QTest::newRow("message with ;") << "Ошибка: a; b;06.12.2026 10:00:00;red" << true << "Ошибка: a; b" << "red";
        QTest::newRow("one ;") << "text;red" << false << "" << "";
    }

    void logLines()
    {
        QFETCH(QString, line);
        ProjectStatistics::LogEntry e;
        QTEST(ProjectStatistics::parseLogLine(line, &e), "ok");
        QFETCH(bool, ok);
        if (!ok)
            return;
        QTEST(e.message, "message");
        QTEST(e.color, "color");
        QCOMPARE(ProjectStatistics::formatLogLine(e), line);
    }
};

int runProjectStatisticsTests(int argc, char **argv)
{
    TestProjectStatistics test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_project_statistics.moc"
