// The operations model: numbering, texts, check boxes and the sequencer's
// getters and setters, always under the item-model consistency checker.
#include "backend/OpModel.h"

#include <QAbstractItemModelTester>
#include <QJSEngine>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>

#include <memory>

class TestOpModel : public QObject
{
    Q_OBJECT

private:
    QJSEngine m_js;
    std::unique_ptr<OpModel> m_model;
    std::unique_ptr<QAbstractItemModelTester> m_tester;

    QJSValue obj(const QString &source) { return m_js.evaluate("(" + source + ")"); }
    QJSValue preview(const QString &name)
    {
        return obj(QString("{ name: '%1', disabledTemp: false }").arg(name));
    }
    // A feeder row with `lines` component lines whose enabled values are given.
    void feederRow(const QVector<int> &lines, int rowEnabled = 1)
    {
        m_model->append(obj(QString("{ op: 'feeder', enabled: %1, opFunc: 'setupFeeder', p1: 0 }").arg(rowEnabled)));
        for (int i = 0; i < lines.size(); ++i) {
            QJSValue line = m_js.newObject();
            line.setProperty("op", QString("line %1").arg(i));
            line.setProperty("enabled", lines.at(i));
            line.setProperty("p1", preview(QString("p%1").arg(i)));
            line.setProperty("p2", "element");
            m_model->appendChild(line);
        }
    }
    QModelIndex rowIndex(int row) const { return m_model->index(row, 0); }
    QModelIndex lineIndex(int row, int line) const { return m_model->index(line, 0, rowIndex(row)); }
    bool tempOf(int row, int line) const
    {
        return m_model->getP1(row, line).property("disabledTemp").toBool();
    }

private slots:
    void init()
    {
        m_tester.reset();
        m_model.reset(new OpModel);
        m_tester.reset(new QAbstractItemModelTester(m_model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest));
    }

    void numbersRunOverRowsAndLines()
    {
        m_model->append(obj("{ op: 'a', enabled: 2 }"));
        m_model->append(obj("{ op: 'b', enabled: 1 }"));
        m_model->appendChild(obj("{ op: 'b1', enabled: 1 }"));
        m_model->append(obj("{ op: 'c', enabled: 1 }"));
        m_model->appendChild(obj("{ op: 'c1', enabled: 1 }"));
        QCOMPARE(m_model->lineCount(), 5);
        QCOMPARE(m_model->topRowCount(), 3);
        QCOMPARE(m_model->getLineNumber(1, -1), 2);
        QCOMPARE(m_model->getLineNumber(1, 0), 3);
        QCOMPARE(m_model->getLineNumber(2, -1), 4);
        QCOMPARE(m_model->getSubSteps(1), 1);
        QCOMPARE(m_model->data(lineIndex(2, 0), OpModel::OpRole).toString(), QString("c1"));
        QCOMPARE(m_model->getLineNumberByIndex(lineIndex(1, 0)), 3);
        QCOMPARE(m_model->data(lineIndex(2, 0), OpModel::NumberRole).toInt(), 5);
    }

    void rowClick_data()
    {
        QTest::addColumn<QVector<int>>("lines");
        QTest::addColumn<int>("rowBefore");
        QTest::addColumn<int>("rowAfter");
        QTest::newRow("partly on goes off") << QVector<int>{1, 0, 1} << 3 << 0;
        QTest::newRow("on goes off") << QVector<int>{1, 1} << 1 << 0;
        QTest::newRow("off goes on") << QVector<int>{0, 0} << 0 << 1;
    }

    void rowClick()
    {
        QFETCH(QVector<int>, lines);
        QFETCH(int, rowBefore);
        QFETCH(int, rowAfter);
        m_model->append(obj("{ op: 'nozzle', enabled: 2 }"));
        feederRow(lines, rowBefore);
        QSignalSpy changed(m_model.get(), &QAbstractItemModel::dataChanged);
        m_model->cbClicked(rowIndex(1));
        QCOMPARE(m_model->getEnabled(1, -1), rowAfter);
        for (int i = 0; i < lines.size(); ++i) {
            QCOMPARE(m_model->getEnabled(1, i), rowAfter);
            QCOMPARE(tempOf(1, i), rowAfter == 0);
        }
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.at(1).at(0).value<QModelIndex>(), lineIndex(1, 0));
        QCOMPARE(changed.at(1).at(1).value<QModelIndex>(), lineIndex(1, lines.size() - 1));
    }

    void lineClick_data()
    {
        QTest::addColumn<QVector<int>>("lines");
        QTest::addColumn<int>("clicked");
        QTest::addColumn<int>("rowAfter");
        QTest::addColumn<int>("lineAfter");
        QTest::newRow("last enabled line") << QVector<int>{0, 1, 0} << 1 << 0 << 0;
        QTest::newRow("one of a full row") << QVector<int>{1, 1, 1} << 2 << 3 << 0;
        QTest::newRow("last disabled line") << QVector<int>{1, 0} << 1 << 1 << 1;
    }

    void lineClick()
    {
        QFETCH(QVector<int>, lines);
        QFETCH(int, clicked);
        QFETCH(int, rowAfter);
        QFETCH(int, lineAfter);
        feederRow(lines);
        m_model->cbClicked(lineIndex(0, clicked));
        QCOMPARE(m_model->getEnabled(0, clicked), lineAfter);
        QCOMPARE(tempOf(0, clicked), lineAfter == 0);
        QCOMPARE(m_model->getEnabled(0, -1), rowAfter);
        for (int i = 0; i < lines.size(); ++i) {
            if (i != clicked) {
                QCOMPARE(m_model->getEnabled(0, i), lines.at(i));
                QCOMPARE(tempOf(0, i), false);
            }
        }
    }

    void fixedRowCannotBeToggled()
    {
        m_model->append(obj("{ op: 'refs', enabled: 2, opFunc: 'findRefPoints' }"));
        m_model->cbClicked(rowIndex(0));
        QCOMPARE(m_model->getEnabled(0, -1), 2);
        m_model->cbClicked(QModelIndex());
        QCOMPARE(m_model->getEnabled(0, -1), 2);
    }

    void excludeAndIncludeAll()
    {
        m_model->append(obj("{ op: 'gcode', enabled: 1 }"));
        feederRow({1, 0}, 3);
        m_model->append(obj("{ op: 'off', enabled: 0 }"));
        feederRow({1, 1}, 1);
        // Only the component rows and their lines change.
        for (int on : {0, 1}) {
            if (on)
                m_model->includeAllComponents();
            else
                m_model->excludeAllComponents();
            QCOMPARE(m_model->getEnabled(0, -1), 1);
            QCOMPARE(m_model->getEnabled(2, -1), 0);
            for (int row : {1, 3}) {
                for (int line : {-1, 0, 1})
                    QCOMPARE(m_model->getEnabled(row, line), on);
            }
        }
    }

    void setEnabledRecomputesRow_data()
    {
        QTest::addColumn<QVector<int>>("lines");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("lineAfter");
        QTest::addColumn<int>("rowAfter");
        QTest::newRow("any other value is off") << QVector<int>{1, 1} << 0 << 5 << 0 << 3;
        QTest::newRow("all on") << QVector<int>{0, 1} << 0 << 1 << 1 << 1;
        QTest::newRow("all off") << QVector<int>{0, 1} << 1 << 0 << 0 << 0;
    }

    void setEnabledRecomputesRow()
    {
        QFETCH(QVector<int>, lines);
        QFETCH(int, line);
        QFETCH(int, value);
        QFETCH(int, lineAfter);
        QFETCH(int, rowAfter);
        feederRow(lines);
        QSignalSpy changed(m_model.get(), &QAbstractItemModel::dataChanged);
        m_model->setEnabled(0, line, value);
        QCOMPARE(m_model->getEnabled(0, line), lineAfter);
        QCOMPARE(m_model->getEnabled(0, -1), rowAfter);
        QCOMPARE(changed.count(), 2);
    }

    void positionsOutOfRangeAreHarmless()
    {
        QSignalSpy changed(m_model.get(), &QAbstractItemModel::dataChanged);
        QTest::ignoreMessage(QtWarningMsg, "OpModel: a line cannot be added before its row");
        m_model->appendChild(obj("{ op: 'orphan', enabled: 1 }"));
        QCOMPARE(m_model->lineCount(), 0);
        QCOMPARE(m_model->rowCount(), 0);
        feederRow({1});
        for (int number : {-1, 1, 100}) {
            QCOMPARE(m_model->getEnabled(number, -1), 0);
            QVERIFY(m_model->getP1(number, -1).isUndefined());
            m_model->setEnabled(number, 0, 0);
        }
        for (int sub : {-2, 1, 7}) {
            QVERIFY(m_model->getP1(0, sub).isUndefined());
            m_model->setEnabled(0, sub, 0);
        }
        m_model->setEnabled(0, -1, 0);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(m_model->getEnabled(0, -1), 1);
        QCOMPARE(m_model->getEnabled(0, 0), 1);
    }

    void scriptsNeverOwnTheModel()
    {
        // The models are members of the back end: a script engine that sees one
        // must not take it over and delete it when collecting garbage.
        QJSEngine js;
        js.globalObject().setProperty("m", js.newQObject(m_model.get()));
        js.globalObject().deleteProperty("m");
        js.collectGarbage();
        QCOMPARE(QQmlEngine::objectOwnership(m_model.get()), QQmlEngine::CppOwnership);
        m_model->append(obj("{ op: 'still here', enabled: 1 }"));
        QCOMPARE(m_model->rowCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestOpModel)
#include "tst_opmodel.moc"
