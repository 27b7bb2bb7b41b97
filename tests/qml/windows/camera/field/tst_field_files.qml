import QtQuick 2.15
import QtTest 1.2

// The back end's handling of the stored work-field grid: the file written,
// read back and refused.
TestCase {
    name: "FieldFiles"

    function lastLog() {
        var log = root.logModel
        return log.count > 0 ? probe.entry(log, log.count - 1).message : ""
    }
    function path() { return String(root.programPath).replace("file://", "") + "/fieldCalibration.ini" }

    function cleanup() {
        probe.removeFile(path())
        root.workAreaX2 = 500
        root.workAreaY2 = 500
    }

    function test_noFileNoCalibration() {
        root.fieldCalibrationAvailable = true
        var before = root.logModel.count
        root.fieldCalibrationLoad()
        compare(root.fieldCalibrationAvailable, false)
        compare(root.logModel.count, before)
    }

    function test_brokenFile() {
        probe.writeText(path(), "[General]\nversion=1\nxCount=2\nyCount=2\n[0]\nrX=1\n")
        root.fieldCalibrationAvailable = true
        root.fieldCalibrationLoad()
        compare(root.fieldCalibrationAvailable, false)
        verify(lastLog().indexOf("Не удалось открыть калибровочный файл рабочего поля аппарата!") >= 0, lastLog())
    }

    function test_storedGridAndWorkArea() {
        root.fieldCalibListInvoker.clear()
        for (var r = 0; r < 2; ++r)
            for (var c = 0; c < 2; ++c)
                probe.call(root.fieldCalibListInvoker, "append",
                           [{ "rX": 100 * c, "rY": 100 * r, "nX": 100 * c + 0.1, "nY": 100 * r }])
        root.calcFieldCalibrationSend(2, 2)
        tryCompare(root, "fieldCalibrationAvailable", true, 3000)
        compare(Number(probe.iniValue(path(), "3/nX")), 100.1)
        // A work area outside 100..1996 mm gets no table.
        root.workAreaX2 = 2500
        root.fieldCalibrationLoad()
        compare(root.fieldCalibrationAvailable, false)
        verify(lastLog().indexOf("2500") >= 0, lastLog())
    }

    function test_incompleteGridNotStored() {
        root.fieldCalibListInvoker.clear()
        probe.call(root.fieldCalibListInvoker, "append", [{ "rX": 0, "rY": 0, "nX": 0, "nY": 0 }])
        root.calcFieldCalibrationSend(2, 2)
        verify(!probe.fileExists(path()))
        verify(lastLog().indexOf("(1 ") >= 0, lastLog())
    }
}
