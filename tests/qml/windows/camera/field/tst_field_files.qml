import QtQuick 2.15
import QtTest 1.2
import "../../../../../qml/main/lib/fieldCalibration.js" as Field

// The geometry of the field calibration procedure, and the back end's
// handling of the stored grid.
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

    // A row turned by 0.5 degrees, shifted and stretched by 0.1 %: the
    // corrected points follow the end marks exactly.
    function test_correctedRow() {
        var pts = Field.rowPoints(10, 20, 25, 30, 5, 1)
        compare(pts.length, 5)
        compare(pts[4].x, 110)
        compare(pts[4].y, 50)
        var a = 0.5 * Math.PI / 180, k = 1.001
        function truth(p) {
            var dx = p.x - 10, dy = p.y - 50
            return { "x": 10.2 + k * (dx * Math.cos(a) - dy * Math.sin(a)), "y": 49.9 + k * (dx * Math.sin(a) + dy * Math.cos(a)) }
        }
        var out = Field.correctedRow(pts, truth(pts[0]), truth(pts[4]))
        for (var i = 0; i < 5; ++i) {
            var t = truth(pts[i])
            verify(Math.abs(out[i].x - t.x) < 1e-9)
            verify(Math.abs(out[i].y - t.y) < 1e-9)
        }
    }

    function test_averagesAndGrid() {
        var avg = Field.averageOffsets([{ "col": 0, "dx": 0.1, "dy": 0 }, { "col": 0, "dx": 0.3, "dy": -0.2 },
                                        { "col": 1, "dx": -0.05, "dy": 0.05 }, { "col": 7, "dx": 9, "dy": 9 }], 3)
        verify(Math.abs(avg[0].x - 0.2) < 1e-12)
        verify(Math.abs(avg[0].y + 0.1) < 1e-12)
        compare(avg[1].x, -0.05)
        compare(avg[2].x, 0)
        var list = Field.gridList([10, 30, 50], avg, 5, 400, 1, 2)
        compare(list.length, 3 * Field.gridRows())
        // First row at 10 mm before the origin, last at 320 mm after it.
        compare(list[0].rX, 14)
        compare(list[0].rY, 408)
        verify(Math.abs(list[0].nX - 14.2) < 1e-12)
        compare(list[list.length - 1].rY, 78)
        compare(list[list.length - 1].rX, 54)
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
