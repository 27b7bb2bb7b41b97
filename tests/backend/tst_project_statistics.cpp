// The day statistics and log lines stored in a project.
#include "backend/ProjectStatistics.h"

#include <QTest>

class TestProjectStatistics : public QObject
{
    Q_OBJECT

private slots:
    void dayStatParsing()
    {
        const auto days = ProjectStatistics::parseDayStat(
            "06.12.2026;2;40;80;1;1800|31.02.2026;1;1;1;1;1|05.12.2026;1;2;3;4|04.12.2026;0;0;0;0;0|");
        QCOMPARE(days.size(), 2);
        QCOMPARE(days.at(0).date, QDate(2026, 12, 6));
        QCOMPARE(days.at(1).date, QDate(2026, 12, 4));
        const QVariantMap r = ProjectStatistics::dayRecord(days.at(0));
        QCOMPARE(r.value("pcbPerHour").toString(), QString("4.0"));
        QCOMPARE(r.value("elementsPerHour").toString(), QString("80"));
        QCOMPARE(ProjectStatistics::dayRecord(days.at(1)).value("pcbPerHour").toString(), QString());
        QCOMPARE(ProjectStatistics::dayRecord(days.at(1)).value("elementsPerHour").toString(), QString());
        QCOMPARE(ProjectStatistics::formatDayStat(days), QString("06.12.2026;2;40;80;1;1800|04.12.2026;0;0;0;0;0|"));
    }

    void logLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("color");
        QTest::newRow("plain") << "Плата готова;06.12.2026 10:00:00;white" << true << "Плата готова" << "white";
        QTest::newRow("message with ;") << "Ошибка: a; b;06.12.2026 10:00:00;red" << true << "Ошибка: a; b" << "red";
        QTest::newRow("one ;") << "text;red" << false << "" << "";
        QTest::newRow("empty time") << "text;;red" << false << "" << "";
        QTest::newRow("empty colour") << "text;10:00;" << false << "" << "";
        QTest::newRow("empty message") << ";10:00;red" << false << "" << "";
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
