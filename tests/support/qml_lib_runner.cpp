// Qt Quick Test runner for the pure script libraries: no back end, no device
// threads, no main window. Test files import the libraries straight from
// the source tree by relative path and drive them through fakes of their own.
//
// Accepts the options of any quick test runner, -input FILE_OR_DIR among them.
// Any warning printed while the tests run (a script error in a callback, a
// bad binding, console.warn) fails the run, even when every test passed;
// warnings a test announces with ignoreWarning() do not count.
//
// While a test file runs, the test log owns the message handler and passes
// nothing on, so the warnings are read back from a copy of the log kept in a
// private file; the collector catches what is printed outside the test log.

#include "TestSupport.h"

#include <QByteArrayList>
#include <QFile>
#include <QTemporaryDir>
#include <QtQuickTest>

#include <cstdio>
#include <vector>

namespace {

// Lines of a plain-text test log that report a message of warning level or worse.
QStringList warningsInLog(const QString &path)
{
    QStringList found;
    QFile log(path);
    if (!log.open(QIODevice::ReadOnly | QIODevice::Text)) {
        found.append(QStringLiteral("the test log %1 could not be read").arg(path));
        return found;
    }
    while (!log.atEnd()) {
        const QString line = QString::fromUtf8(log.readLine()).trimmed();
        if (line.startsWith(QLatin1String("QWARN")) || line.startsWith(QLatin1String("QCRITICAL"))
            || line.startsWith(QLatin1String("QFATAL")))
            found.append(line);
    }
    return found;
}

} // namespace

int main(int argc, char **argv)
{
    TestSupport::prepareHeadlessEnvironment();
    TestSupport::installMessageCollector();

    QTemporaryDir logDir;
    if (!logDir.isValid()) {
        fprintf(stderr, "FAIL: no private folder for the test log\n");
        return 1;
    }
    const QString logPath = logDir.filePath(QStringLiteral("log.txt"));

    // The caller's options, plus a plain-text copy of the log in the private
    // file; the log on standard output stays unless the caller chose outputs.
    QByteArrayList args;
    bool outputChosen = false;
    for (int i = 0; i < argc; ++i) {
        args.append(QByteArray(argv[i]));
        if (args.last() == "-o")
            outputChosen = true;
    }
    args << "-o" << QFile::encodeName(logPath) + ",txt";
    if (!outputChosen)
        args << "-o" << "-,txt";
    std::vector<char *> newArgv;
    for (QByteArray &a : args)
        newArgv.push_back(a.data());
    newArgv.push_back(nullptr);

    const int result = quick_test_main(int(args.size()), newArgv.data(), "kestravo_lib", nullptr);

    const QStringList warnings = TestSupport::collectedWarnings() + warningsInLog(logPath);
    if (!warnings.isEmpty()) {
        fprintf(stderr, "FAIL: %d warnings while the tests ran:\n", int(warnings.size()));
        for (const QString &w : warnings)
            fprintf(stderr, "  %s\n", qPrintable(w));
        return result != 0 ? result : 1;
    }
    return result;
}
